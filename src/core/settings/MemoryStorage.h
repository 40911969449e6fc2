#pragma once

#include <cstdint>
#include <string_view>

// A growable byte buffer. Its capacity follows its size in powers of two (at least
// MinCapacity), so appending many small pieces reallocates only when the size crosses a
// power of two. Bytes beyond the size that were never written are zero.
class TMemoryStorage
{
public:
    // The largest size the buffer takes: its capacity must stay a 32-bit power of two.
    static constexpr int32_t MaxSize = (1 << 30) - 1;

    TMemoryStorage() = default;
    ~TMemoryStorage();
    TMemoryStorage(const TMemoryStorage&) = delete;
    TMemoryStorage& operator=(const TMemoryStorage&) = delete;

    uint8_t* Data = nullptr;
    int32_t Capacity = 0;
    int32_t MinCapacity = 256;
    int32_t Size = 0;

    // Frees the buffer.
    void Clear();
    // Traced. Allocates exactly n bytes, keeping what fits.
    void Recapacitate(int32_t n);
    // Traced. Sets the size; the capacity grows or shrinks with it.
    void Resize(int64_t n);
    // Traced. Resize (Size + n).
    void AddSize(int32_t n);
    // Traced appenders: on failure the buffer keeps what it held.
    void AddObject(const void* data, int32_t n);
    void AddChar(char c);
    void AddNull();
    // Appends the text n times.
    void AddStrCount(std::string_view text, int32_t n);
    void AddText(std::string_view text, bool withZero);
    // Appends the text and CR LF.
    void AddTextEOL(std::string_view text);
    // Upper-cases the ASCII letters of the used bytes in place.
    void UpperCase();
    // Copies n bytes from the position; false (nothing copied) when they lie outside the size.
    bool GetObject(int32_t position, void* destination, int32_t n) const;

private:
    // Grows the size by n and gives the old end, where the caller copies its n bytes;
    // the caller takes over a failure left in FunStatContext before using the answer.
    uint8_t* Extend(int64_t n);
};
