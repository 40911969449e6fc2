#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Moves a file or folder to the recycle bin. Traced: "Failed to recycle.".
void RecycleFile(const std::string& name);

// Reads a whole file into the buffer; gives the number of bytes read. A file larger than
// the capacity is refused ("File size too big."), or, with `truncate`, read only as far
// as the capacity with a warning. Traced.
int32_t LoadFileToBuffer(const std::string& name, uint8_t* buffer, int32_t capacity, bool truncate);

// Creates or replaces the file with the buffer's bytes; a failed save leaves the old file
// as it was. Traced: "Failed to save.".
void SaveBufferToFile(const std::string& name, const uint8_t* buffer, int32_t size);

// Told the bytes hashed so far; answers true to abort.
using THashProgress = std::function<bool(uint64_t hashed)>;

// The file's SHA-1 as 40 upper-case hexadecimal digits, or "" after a failure or an
// abort. Traced.
std::string HashFile(const std::string& name, const THashProgress& progress = {});
