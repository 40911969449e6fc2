#pragma once

#include <cstdint>

// Lets tests make host calls fail on purpose: tests run as root, so failures such as
// "access denied" or "disk full" cannot be provoked through the file system itself.
namespace host {

enum class HostCall
{
    Open,
    Read,
    Write,
    Truncate,
    Stat,
    List,
    // Reading each further listed entry of a folder, once its first entry is read.
    ListNext,
    CreateDirectory,
    RemoveDirectory,
    Delete,
    Rename,
    Link,
    // Setting attributes or the last-write time.
    SetAttributes,
    // Giving a rewritten file its old owner and group; ERROR_ACCESS_DENIED stands for a
    // user who may write the file but does not own it.
    SetOwner,
    Streams,
    // Writing each named stream onto a copy; ERROR_NOT_SUPPORTED stands for a target file
    // system that holds no streams.
    CopyStream,
    SetCurrentDirectory,
    Random,
    Volume,
    Notify,
    Count
};

// After `skip` successful calls of the kind, the next `count` calls fail with `code`.
void InjectFault(HostCall call, uint32_t code, int skip = 0, int count = 1);
void ClearFaults();

// Called by each host operation before it acts: true when this call is to fail, with
// the last error already set to the injected code.
bool TakeFault(HostCall call);

} // namespace host
