#include "core/settings/StreamStorage.h"

#include "core/errors/Traced.h"

#include <cstring>
#include <limits>

void PutLittleEndian32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLittleEndian32(const uint8_t* bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

namespace {

void PutLittleEndian64(uint8_t* bytes, uint64_t value)
{
    PutLittleEndian32(bytes, static_cast<uint32_t>(value));
    PutLittleEndian32(bytes + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t GetLittleEndian64(const uint8_t* bytes)
{
    return GetLittleEndian32(bytes) | static_cast<uint64_t>(GetLittleEndian32(bytes + 4)) << 32;
}

} // namespace

void TStreamStorage::ReadObject(void* destination, int32_t n)
{
    if (Size <= 0) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        if (n < 0 || Position < 0 || static_cast<int64_t>(Position) + n > Size)
            return trace.Panic("Data too long.", std::to_string(n), std::to_string(Size));
        if (n > 0)
            std::memcpy(destination, Data + Position, static_cast<size_t>(n));
        Position += n;
    }
    TRACED_CATCH(trace)
}

void TStreamStorage::WriteObject(const void* data, int32_t n)
{
    TTraced trace;
    try {
        AddObject(data, n);
        if (trace.TakeOver())
            RememberWriteFailure(trace.Context);
    }
    TRACED_CATCH(trace)
}

void TStreamStorage::RememberWriteFailure(const TFunStatContext& failure)
{
    if (WriteFailure.Status <= fsWarning)
        WriteFailure = failure;
}

void TStreamStorage::ReadByte(uint8_t& destination)
{
    uint8_t value = destination;
    ReadObject(&value, 1);
    destination = value;
}

void TStreamStorage::WriteByte(uint8_t value)
{
    WriteObject(&value, 1);
}

void TStreamStorage::ReadInt(int32_t& variable, int32_t min, int32_t max)
{
    uint8_t bytes[4];
    PutLittleEndian32(bytes, static_cast<uint32_t>(variable));
    ReadObject(bytes, sizeof bytes);
    const int32_t value = static_cast<int32_t>(GetLittleEndian32(bytes));
    if (min <= value && value <= max)
        variable = value;
}

void TStreamStorage::WriteInt(int32_t value)
{
    uint8_t bytes[4];
    PutLittleEndian32(bytes, static_cast<uint32_t>(value));
    WriteObject(bytes, sizeof bytes);
}

void TStreamStorage::ReadInt64(int64_t& variable, int64_t min, int64_t max)
{
    uint8_t bytes[8];
    PutLittleEndian64(bytes, static_cast<uint64_t>(variable));
    ReadObject(bytes, sizeof bytes);
    const int64_t value = static_cast<int64_t>(GetLittleEndian64(bytes));
    if (min <= value && value <= max)
        variable = value;
}

void TStreamStorage::WriteInt64(int64_t value)
{
    uint8_t bytes[8];
    PutLittleEndian64(bytes, static_cast<uint64_t>(value));
    WriteObject(bytes, sizeof bytes);
}

void TStreamStorage::ReadText(std::string& variable, int32_t maxLength, bool setEmpty)
{
    TTraced trace;
    try {
        int32_t length = -1;
        ReadInt(length, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        if (trace.TakeOver())
            return;
        if (length == 0) {
            if (setEmpty)
                variable.clear();
            return;
        }
        if (length < 0)
            return;
        const bool present = static_cast<int64_t>(Position) + length <= Size;
        if (!present || length > maxLength) {
            // A text that is there but too long is passed over, so the values after it
            // are read from their own bytes.
            if (present)
                Position += length;
            return trace.Raise("Text too long.", std::to_string(length), std::to_string(maxLength));
        }
        std::string scratch(static_cast<size_t>(length), '\0');
        ReadObject(scratch.data(), length);
        if (trace.TakeOver())
            return;
        // A zero byte inside the stored text ends it.
        variable = scratch.c_str();
    }
    TRACED_CATCH(trace)
}

void TStreamStorage::WriteText(const std::string& text)
{
    TTraced trace;
    try {
        if (text.size() > MaxTextLength) {
            trace.Panic("Text too long.", std::to_string(text.size()));
            return RememberWriteFailure(trace.Context);
        }
        const int32_t length = static_cast<int32_t>(text.size());
        WriteInt(length);
        if (trace.TakeOver() || length == 0)
            return;
        WriteObject(text.data(), length);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}
