#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// Overwrites the bytes with zeros in a way the compiler cannot leave out, as memory that
// held keys, passwords or hidden data must be before it is released.
void WipeBytes(void* data, size_t size);

// A state of the steg cipher: 16 unsigned 32-bit words. States hold key material, so
// every state is overwritten with zeros when it goes, on every path.
class TStegState
{
public:
    static constexpr size_t Words = 16;
    static constexpr size_t Bytes = Words * 4;

    TStegState() = default;
    TStegState(const TStegState&) = default;
    TStegState& operator=(const TStegState&) = default;
    ~TStegState();

    // Word j from bytes 4j to 4j + 3, little-endian; stored back the same way.
    static TStegState Load(const uint8_t* bytes);
    void Store(uint8_t* bytes) const;

    uint32_t& operator[](size_t index) { return W[index]; }
    uint32_t operator[](size_t index) const { return W[index]; }
    bool operator==(const TStegState&) const = default;

private:
    std::array<uint32_t, Words> W = {};
};

// Bytes of a steg buffer or a password: zeros when made, of a fixed size, and
// overwritten with zeros when they go.
class TStegBuffer
{
public:
    explicit TStegBuffer(size_t size = 0);
    ~TStegBuffer();
    TStegBuffer(TStegBuffer&& other) noexcept;
    TStegBuffer& operator=(TStegBuffer&& other) noexcept;
    TStegBuffer(const TStegBuffer&) = delete;
    TStegBuffer& operator=(const TStegBuffer&) = delete;

    uint8_t* Data() { return Bytes.get(); }
    const uint8_t* Data() const { return Bytes.get(); }
    size_t Size() const { return Length; }
    std::string_view Text() const { return {reinterpret_cast<const char*>(Bytes.get()), Length}; }
    // Zeros, keeping the size.
    void Wipe();

private:
    std::unique_ptr<uint8_t[]> Bytes;
    size_t Length = 0;
};
