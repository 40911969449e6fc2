#pragma once

#include <cstddef>

// The system's cryptographic random generator: the kernel's, through getrandom(2).
namespace host {

// True when the kernel's generator can be used; false with the last error set.
bool AcquireCryptoRandom();

// Fills the buffer with cryptographic random bytes. The buffer's old bytes are the
// caller's extra seed material: the kernel takes no seed from callers, so they are
// folded into its bytes with xor, which leaves the result as unpredictable as the
// kernel's own. False with the last error set and the buffer unchanged.
bool GenerateCryptoRandom(void* buffer, size_t size);

} // namespace host
