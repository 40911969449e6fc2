#include "tools/StegSecrets.h"

#include <string.h>

#include <utility>

void WipeBytes(void* data, size_t size)
{
    if (data != nullptr)
        explicit_bzero(data, size);
}

TStegState::~TStegState()
{
    WipeBytes(W.data(), sizeof W);
}

TStegState TStegState::Load(const uint8_t* bytes)
{
    TStegState state;
    for (size_t j = 0; j < Words; ++j)
        state.W[j] = uint32_t{bytes[4 * j]} | uint32_t{bytes[4 * j + 1]} << 8 | uint32_t{bytes[4 * j + 2]} << 16 |
                     uint32_t{bytes[4 * j + 3]} << 24;
    return state;
}

void TStegState::Store(uint8_t* bytes) const
{
    for (size_t j = 0; j < Words; ++j)
        for (size_t k = 0; k < 4; ++k)
            bytes[4 * j + k] = static_cast<uint8_t>(W[j] >> (8 * k));
}

TStegBuffer::TStegBuffer(size_t size) : Bytes(size > 0 ? new uint8_t[size]() : nullptr), Length(size)
{
}

TStegBuffer::~TStegBuffer()
{
    Wipe();
}

TStegBuffer::TStegBuffer(TStegBuffer&& other) noexcept
    : Bytes(std::move(other.Bytes)), Length(std::exchange(other.Length, 0))
{
}

TStegBuffer& TStegBuffer::operator=(TStegBuffer&& other) noexcept
{
    if (this != &other) {
        Wipe();
        Bytes = std::move(other.Bytes);
        Length = std::exchange(other.Length, 0);
    }
    return *this;
}

void TStegBuffer::Wipe()
{
    WipeBytes(Bytes.get(), Length);
}
