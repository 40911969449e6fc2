#pragma once

#include "core/errors/Error.h"
#include "core/settings/MemoryStorage.h"

#include <cstdint>
#include <string>

// A byte buffer with a read position and typed values in a fixed little-endian encoding:
// a byte is 1 byte, an integer 4, a 64-bit integer 8 (low word first), a text its length
// as an integer followed by its bytes without a terminating zero. Values follow each
// other without gaps or type tags.
class TStreamStorage : public TMemoryStorage
{
public:
    // The longest text WriteText takes.
    static constexpr int32_t MaxTextLength = 65535;

    // Which way the data flows for the owner's payload readers and writers.
    bool Reading = true;
    int32_t Position = 0;

    // Traced. Copies n bytes from the position and moves past them.
    void ReadObject(void* destination, int32_t n);
    // Traced. Appends n bytes.
    void WriteObject(const void* data, int32_t n);

    // Each read starts from the variable's current value: when nothing can be read, or
    // the stored number lies outside [min, max], the variable keeps its value. A number
    // outside the limits is still passed over.
    void ReadByte(uint8_t& destination);
    void WriteByte(uint8_t value);
    void ReadInt(int32_t& variable, int32_t min, int32_t max);
    void WriteInt(int32_t value);
    void ReadInt64(int64_t& variable, int64_t min, int64_t max);
    void WriteInt64(int64_t value);
    // Traced. A stored empty text empties the variable only when setEmpty is true; a
    // text longer than maxLength fails ("Text too long.") and is passed over.
    void ReadText(std::string& variable, int32_t maxLength, bool setEmpty);
    // Traced.
    void WriteText(const std::string& text);

protected:
    // The first write that failed since the owner last emptied this, so that a payload
    // with a value missing in its middle is never taken for a whole one.
    TFunStatContext WriteFailure;

private:
    void RememberWriteFailure(const TFunStatContext& failure);
};

// The little-endian 32-bit encoding shared by the typed stream and the file header.
void PutLittleEndian32(uint8_t* bytes, uint32_t value);
uint32_t GetLittleEndian32(const uint8_t* bytes);
