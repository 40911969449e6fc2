#include "tools/StegForm.h"

#include "core/errors/Traced.h"
#include "core/text/TextCharacter.h"

#include <bit>
#include <cstring>

// Every step follows the cipher's definition word for word: any change, however small,
// makes the pictures stegged before it unreadable. Arithmetic is on unsigned 32-bit words
// (modulo 2^32); a rotation by r turns by r mod 32, and by 0 leaves the value. Where a
// step reads a word it then writes, the value before the write is meant.

namespace {

constexpr int MixPasses = 5;
constexpr int UpdateRounds = 5;
constexpr int HashMixings = 100;
constexpr uint32_t IndexMask = 15;
constexpr uint32_t ShiftBit = 16;
constexpr uint32_t MaskedPixel = 0xFEFEFE;

uint32_t Swap(uint32_t value)
{
    return __builtin_bswap32(value);
}

uint32_t Rotl(uint32_t value, uint32_t count)
{
    return std::rotl(value, static_cast<int>(count % 32));
}

uint32_t Rotr(uint32_t value, uint32_t count)
{
    return std::rotr(value, static_cast<int>(count % 32));
}

// A password byte enters as a signed 8-bit value: 0x80-0xFF give 0xFFFFFF80-0xFFFFFFFF.
uint32_t SignExtended(char byte)
{
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(byte)));
}

void MixManyTimes(TStegState& state)
{
    for (int i = 0; i < HashMixings; ++i)
        TStegForm::MixBlock(state);
}

// The two words a step of the block cipher swaps, j and the one the key states point at.
uint32_t PartnerOf(uint32_t j, const TStegState& a, const TStegState& b)
{
    const uint32_t t = Rotl(a[j] + b[j], j) & IndexMask;
    return (a[t] + b[t]) & IndexMask;
}

void EncryptStep(TStegState& d, uint32_t j, const TStegState& a, const TStegState& b)
{
    const uint32_t k = PartnerOf(j, a, b);
    const uint32_t dj = d[j];
    const uint32_t dk = d[k];
    d[j] = Rotl(dk + a[k], k) + b[k];
    d[k] = Rotl(dj + a[j], j) + b[j];
}

void DecryptStep(TStegState& d, uint32_t j, const TStegState& a, const TStegState& b)
{
    const uint32_t k = PartnerOf(j, a, b);
    const uint32_t dj = d[j];
    const uint32_t dk = d[k];
    d[j] = Rotr(dk - b[j], j) - a[j];
    d[k] = Rotr(dj - b[k], k) - a[k];
}

// True when every character of the text has a Windows-1252 byte; `length` then counts them.
bool IsWindows1252Text(std::string_view text, size_t& length)
{
    length = 0;
    for (size_t position = 0; position < text.size(); ++length) {
        const TTextCharacter character = DecodeCharacterAt(text, position);
        if (FindWindows1252Byte(character.CodePoint) < 0)
            return false;
        position += character.Length;
    }
    return true;
}

} // namespace

TStegBuffer TStegForm::EncodeStegText(std::string_view text)
{
    size_t length = 0;
    if (!IsWindows1252Text(text, length)) {
        TStegBuffer bytes(text.size());
        std::memcpy(bytes.Data(), text.data(), text.size());
        return bytes;
    }
    TStegBuffer bytes(length);
    for (size_t position = 0, i = 0; i < length; ++i) {
        const TTextCharacter character = DecodeCharacterAt(text, position);
        bytes.Data()[i] = static_cast<uint8_t>(FindWindows1252Byte(character.CodePoint));
        position += character.Length;
    }
    return bytes;
}

void TStegForm::MixBlock(TStegState& w)
{
    uint32_t a = 0;
    for (int pass = 0; pass < MixPasses; ++pass)
        for (uint32_t j = 0; j < TStegState::Words; ++j) {
            a = Rotl(a + Swap(w[j]) + w[j], a & ShiftBit);
            const uint32_t c = (w[a & IndexMask] + w[j]) & IndexMask;
            w[j] = Rotl(Rotl(w[j] + a, j) + w[c], c) + Swap(w[c]);
        }
}

TStegState TStegForm::HashBlock(const uint8_t* source)
{
    TStegState state = TStegState::Load(source);
    MixManyTimes(state);
    return state;
}

TStegState TStegForm::MakePasswordKey(std::string_view password, const TStegState& salt)
{
    TStegState k = salt;
    uint32_t a = 0;
    for (size_t i = 0; i < password.size(); ++i) {
        const uint32_t s = i & IndexMask;
        a = Rotl((Swap(k[s] + a) + salt[s]) ^ SignExtended(password[i]), a & ShiftBit);
        const uint32_t index = (k[a & IndexMask] + salt[s]) & IndexMask;
        k[s] = Swap(salt[index] + k[s]) + Rotl(k[index] + a, index);
    }
    MixManyTimes(k);
    return k;
}

TStegState TStegForm::MakePictureKey(const TStegState& passwordKey, const TStegPixels& picture)
{
    TStegState k = passwordKey;
    uint32_t a = 0;
    uint64_t i = 0;
    for (int64_t y = 0; y < picture.Height; ++y)
        for (int64_t x = 0; x < picture.Width; ++x, ++i) {
            const uint32_t s = i & IndexMask;
            const uint32_t p = picture.At(x, y) & MaskedPixel;
            a = Rotl(Swap(k[s] + a) ^ p, a & ShiftBit) + passwordKey[s];
            const uint32_t index = (k[a & IndexMask] + passwordKey[s]) & IndexMask;
            k[s] = Swap(k[s]) + Rotl(k[index] + a, index);
        }
    MixManyTimes(k);
    return k;
}

void TStegForm::MakeKeyStates(const TStegState& pictureKey, int64_t iterations, TStegState& a, TStegState& b)
{
    a = pictureKey;
    b = pictureKey;
    for (int64_t i = 0; i < iterations; ++i)
        UpdateKeyStates(pictureKey, a, b);
}

void TStegForm::UpdateKeyStates(const TStegState& x, TStegState& a, TStegState& b)
{
    uint32_t r = 0;
    for (int round = 0; round < UpdateRounds; ++round) {
        for (uint32_t j = 0; j < TStegState::Words; ++j) {
            r = Rotl(r + Swap(x[j] + a[j]) + b[j], r & ShiftBit);
            const uint32_t index = (a[r & IndexMask] + b[j]) & IndexMask;
            a[j] = Rotl(Rotl(a[j] + r, j) + a[index], index) + Swap(x[j]);
        }
        for (uint32_t j = 0; j < TStegState::Words; ++j) {
            r = Rotl(r - Swap(x[j] + b[j]) + a[j], r & ShiftBit);
            const uint32_t index = (b[r & IndexMask] + a[j]) & IndexMask;
            b[j] = Rotl(Rotl(Swap(r) + b[j], j) + b[index], index) + x[j];
        }
    }
}

void TStegForm::EncryptBlock(TStegState& block, const TStegState& a, const TStegState& b)
{
    for (uint32_t j = 0; j < TStegState::Words; ++j)
        EncryptStep(block, j, a, b);
    for (uint32_t j = TStegState::Words; j-- > 0;)
        EncryptStep(block, j, a, b);
}

void TStegForm::DecryptBlock(TStegState& block, const TStegState& a, const TStegState& b)
{
    for (uint32_t j = 0; j < TStegState::Words; ++j)
        DecryptStep(block, j, a, b);
    for (uint32_t j = TStegState::Words; j-- > 0;)
        DecryptStep(block, j, a, b);
}

void TStegForm::EncryptBuffer(uint8_t* blocks, int64_t count, TStegState& a, TStegState& b)
{
    TTraced trace;
    trace.Run([&] {
        TStegState x = a;
        for (int64_t i = 0; i < count; ++i) {
            uint8_t* block = blocks + i * BlockBytes;
            UpdateKeyStates(x, a, b);
            const TStegState plain = TStegState::Load(block);
            TStegState cipher = plain;
            EncryptBlock(cipher, a, b);
            cipher.Store(block);
            if (cipher == plain)
                return trace.Raise("The current data block is not encrypted. Try to steg-in again.",
                                   "Block index " + std::to_string(i));
            x = plain;
        }
    });
}

void TStegForm::DecryptBuffer(uint8_t* blocks, int64_t count, TStegState& a, TStegState& b)
{
    TStegState x = a;
    for (int64_t i = 0; i < count; ++i) {
        uint8_t* block = blocks + i * BlockBytes;
        UpdateKeyStates(x, a, b);
        TStegState data = TStegState::Load(block);
        DecryptBlock(data, a, b);
        data.Store(block);
        x = data;
    }
}
