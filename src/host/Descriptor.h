#pragma once

#include "host/FileSystem.h"

#include <cstdint>

// The host layer's own handling of open descriptors, shared by its file services.
namespace host {

// Closes the descriptor when it goes.
struct Descriptor
{
    int Value = -1;
    explicit Descriptor(int value) : Value(value) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

// Copies from the descriptors' current offsets to the end of `from`, in chunks, so progress
// can be shown and the copy cancelled between them (ERROR_REQUEST_ABORTED).
bool CopyBytes(int from, int to, uint64_t total, const CopyProgress& progress);

} // namespace host
