#include "core/settings/StreamStorage.h"

#include "core/errors/Traced.h"

#include <cstring>
#include <limits>
#include <type_traits>

namespace {

template <typename TUnsigned>
void PutLittleEndian(uint8_t* bytes, TUnsigned value)
{
    for (size_t i = 0; i < sizeof(TUnsigned); ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <typename TUnsigned>
TUnsigned GetLittleEndian(const uint8_t* bytes)
{
    TUnsigned value = 0;
    for (size_t i = 0; i < sizeof(TUnsigned); ++i)
        value |= static_cast<TUnsigned>(bytes[i]) << (8 * i);
    return value;
}

// The variable's own bytes are what a read that finds nothing leaves, so it keeps its value.
template <typename TSigned>
void ReadInteger(TStreamStorage& stream, TSigned& variable, TSigned min, TSigned max)
{
    using TUnsigned = std::make_unsigned_t<TSigned>;
    uint8_t bytes[sizeof(TSigned)];
    PutLittleEndian(bytes, static_cast<TUnsigned>(variable));
    stream.ReadObject(bytes, sizeof bytes);
    const auto value = static_cast<TSigned>(GetLittleEndian<TUnsigned>(bytes));
    if (min <= value && value <= max)
        variable = value;
}

template <typename TSigned>
void WriteInteger(TStreamStorage& stream, TSigned value)
{
    uint8_t bytes[sizeof(TSigned)];
    PutLittleEndian(bytes, static_cast<std::make_unsigned_t<TSigned>>(value));
    stream.WriteObject(bytes, sizeof bytes);
}

} // namespace

void PutLittleEndian32(uint8_t* bytes, uint32_t value)
{
    PutLittleEndian(bytes, value);
}

uint32_t GetLittleEndian32(const uint8_t* bytes)
{
    return GetLittleEndian<uint32_t>(bytes);
}

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
    ReadInteger(*this, variable, min, max);
}

void TStreamStorage::WriteInt(int32_t value)
{
    WriteInteger(*this, value);
}

void TStreamStorage::ReadInt64(int64_t& variable, int64_t min, int64_t max)
{
    ReadInteger(*this, variable, min, max);
}

void TStreamStorage::WriteInt64(int64_t value)
{
    WriteInteger(*this, value);
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
