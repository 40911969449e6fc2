#include "core/settings/MemoryStorage.h"

#include "core/errors/Traced.h"
#include "core/text/AsciiCase.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace {

// The smallest power of two strictly greater than the size, but at least the minimum.
int32_t CapacityForSize(int64_t size, int32_t minCapacity)
{
    const int64_t powerOfTwo = int64_t{1} << std::bit_width(static_cast<uint64_t>(size));
    return static_cast<int32_t>(std::max<int64_t>(minCapacity, powerOfTwo));
}

} // namespace

TMemoryStorage::~TMemoryStorage()
{
    Clear();
}

void TMemoryStorage::Clear()
{
    delete[] Data;
    Data = nullptr;
    Capacity = 0;
    MinCapacity = 256;
    Size = 0;
}

void TMemoryStorage::Recapacitate(int32_t n)
{
    if (n == Capacity) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        if (n < 0)
            return trace.Panic("Capacity must be positive.");
        uint8_t* buffer = n == 0 ? nullptr : new uint8_t[static_cast<size_t>(n)]();
        if (Data != nullptr && buffer != nullptr)
            std::memcpy(buffer, Data, static_cast<size_t>(std::min(n, Capacity)));
        delete[] Data;
        Data = buffer;
        Capacity = n;
        // The used bytes never reach beyond the buffer.
        Size = std::min(Size, Capacity);
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::Resize(int64_t n)
{
    // Nothing to do only when the capacity already follows the size: a new buffer
    // resized to 0 still gets its 256 zero bytes.
    if (n == Size && Capacity == CapacityForSize(n, MinCapacity)) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        if (n < 0)
            return trace.Panic("Size must be positive.");
        if (n > MaxSize)
            return trace.Raise("Size too big.", std::to_string(n), std::to_string(MaxSize));
        Recapacitate(CapacityForSize(n, MinCapacity));
        if (trace.TakeOver())
            return;
        Size = static_cast<int32_t>(n);
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::AddSize(int32_t n)
{
    TTraced trace;
    try {
        Resize(int64_t{Size} + n);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

uint8_t* TMemoryStorage::Extend(int64_t n)
{
    const int32_t oldSize = Size;
    Resize(oldSize + n);
    return Data + oldSize;
}

void TMemoryStorage::AddObject(const void* data, int32_t n)
{
    TTraced trace;
    try {
        if (n < 0)
            return trace.Panic("Size must be positive.");
        uint8_t* end = Extend(n);
        if (trace.TakeOver() || n == 0)
            return;
        std::memcpy(end, data, static_cast<size_t>(n));
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::AddChar(char c)
{
    TTraced trace;
    try {
        uint8_t* end = Extend(1);
        if (trace.TakeOver())
            return;
        *end = static_cast<uint8_t>(c);
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::AddNull()
{
    AddChar('\0');
}

void TMemoryStorage::AddStrCount(std::string_view text, int32_t n)
{
    if (text.empty() || n <= 0) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        uint8_t* end = Extend(static_cast<int64_t>(text.size()) * n);
        if (trace.TakeOver())
            return;
        for (int32_t i = 0; i < n; ++i, end += text.size())
            std::memcpy(end, text.data(), text.size());
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::AddText(std::string_view text, bool withZero)
{
    if (text.empty()) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        uint8_t* end = Extend(static_cast<int64_t>(text.size()) + (withZero ? 1 : 0));
        if (trace.TakeOver())
            return;
        std::memcpy(end, text.data(), text.size());
        if (withZero)
            end[text.size()] = 0;
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::AddTextEOL(std::string_view text)
{
    if (text.empty()) {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace;
    try {
        uint8_t* end = Extend(static_cast<int64_t>(text.size()) + 2);
        if (trace.TakeOver())
            return;
        std::memcpy(end, text.data(), text.size());
        end[text.size()] = '\r';
        end[text.size() + 1] = '\n';
    }
    TRACED_CATCH(trace)
}

void TMemoryStorage::UpperCase()
{
    for (int32_t i = 0; i < Size; ++i)
        Data[i] = static_cast<uint8_t>(UpperAscii(static_cast<char>(Data[i])));
}

bool TMemoryStorage::GetObject(int32_t position, void* destination, int32_t n) const
{
    if (position < 0 || n < 0 || static_cast<int64_t>(position) + n > Size)
        return false;
    if (n > 0)
        std::memcpy(destination, Data + position, static_cast<size_t>(n));
    return true;
}
