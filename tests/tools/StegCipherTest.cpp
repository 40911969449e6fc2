#include "tools/StegForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

TStegState StateOf(std::initializer_list<uint32_t> words)
{
    TStegState state;
    size_t j = 0;
    for (uint32_t word : words)
        state[j++] = word;
    return state;
}

TStegState RandomState(std::mt19937& random)
{
    TStegState state;
    for (size_t j = 0; j < TStegState::Words; ++j)
        state[j] = static_cast<uint32_t>(random());
    return state;
}

TBytes RandomBytes(std::mt19937& random, size_t size)
{
    TBytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

TStegState Salt()
{
    TBytes bytes(TStegState::Bytes);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(7 * i + 3);
    return TStegState::Load(bytes.data());
}

// 37 pixel words in one row.
std::vector<uint32_t> PixelWords()
{
    std::vector<uint32_t> words;
    for (uint32_t i = 0; i < 37; ++i)
        words.push_back(0x01000193u * i * i + 0x9E3779B9u * i);
    return words;
}

TStegPixels RowOf(std::vector<uint32_t>& words)
{
    return {words.data(), static_cast<int64_t>(words.size()), static_cast<int64_t>(words.size()), 1};
}

// Key pairs to run the properties over: random ones, and all-zero keys, which point every
// step of the block cipher at word 0, so that its first step pairs a word with itself.
std::vector<std::pair<TStegState, TStegState>> KeyPairs()
{
    std::mt19937 random(22);
    std::vector<std::pair<TStegState, TStegState>> pairs = {{TStegState(), TStegState()}};
    for (int i = 0; i < 5; ++i) {
        TStegState a = RandomState(random);
        pairs.emplace_back(a, RandomState(random));
    }
    return pairs;
}

// Independently worked-out values: pictures stegged by any copy of the program must open
// in any other, so these never change.
TEST(StegCipher, KnownAnswersOfEachStage)
{
    TBytes sequence(64);
    for (size_t i = 0; i < sequence.size(); ++i)
        sequence[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(StateOf({0xF8A2125F, 0x73A1C430, 0xE5B20F81, 0x751D0C85, 0xCB7792DC, 0xBF6424C3, 0x817F0188, 0x7BD2F9AC,
                       0x7BC1009A, 0x4379570A, 0xF8C13495, 0xB8A2DC1C, 0x7654D20C, 0x9D8EDE27, 0xC8D9231E, 0x65E46F59}),
              TStegForm::HashBlock(sequence.data()));

    const TStegState passwordKey = TStegForm::MakePasswordKey("caf\xE9", Salt());
    EXPECT_EQ(StateOf({0xCB8D36D4, 0x1EC2571C, 0x8756E6F8, 0x91576FF3, 0xE2249ED8, 0x1FBDEEDA, 0x17967A28, 0x69745AF6,
                       0x64991963, 0x9427813F, 0x7A3DD407, 0x928F3FAA, 0x5D9BFEC1, 0xA5D0A978, 0x847AA598, 0x00F75395}),
              passwordKey);
    EXPECT_EQ(StateOf({0x2076F4B2, 0x0C008E64, 0x68349E35, 0xEA305B72, 0xAC954742, 0x301A2CC8, 0x04CF8642, 0xA4DE9FED,
                       0x4CE6A13D, 0xE0AADC78, 0xEDB930F5, 0x7072C702, 0xE3C6E35B, 0x63C97908, 0x6A272429, 0xC33B59C3}),
              TStegForm::MakePasswordKey("", Salt()));

    std::vector<uint32_t> words = PixelWords();
    const TStegState pictureKey = TStegForm::MakePictureKey(passwordKey, RowOf(words));
    EXPECT_EQ(StateOf({0x96CBC21A, 0x50924E47, 0xB28412A6, 0xFE2098CC, 0x9A21F78E, 0xF8E913DF, 0x4A379353, 0xD764948D,
                       0x88599F9F, 0x16609E60, 0x5ECA9EE1, 0x4F3D60F7, 0x3A2D92DE, 0xC23297D9, 0x0EC69460, 0x9A1B7072}),
              pictureKey);
    EXPECT_EQ(7297, TStegForm::GetIntegrity(RowOf(words)));

    TStegState a;
    TStegState b;
    TStegForm::MakeKeyStates(pictureKey, 3, a, b);
    EXPECT_EQ(StateOf({0x7ACE0A90, 0x77274C52, 0x2AD9A45C, 0x51DBCCC0, 0xD8F2D37C, 0x41FF6641, 0xB9F1AA27, 0x34B23B73,
                       0xCF2BD587, 0x198D5385, 0x95498B28, 0x154400FE, 0x96BEDFAD, 0x0798EC5C, 0x244C4FC8, 0xF1A75285}),
              a);
    EXPECT_EQ(StateOf({0xBE3D64D0, 0x63077F75, 0x1BDAB8FD, 0x96D4342A, 0x83D1A3E5, 0x431B672E, 0x3F7F0517, 0xE935E495,
                       0x918DC2DD, 0xF09DBC79, 0x88FDD5D8, 0xA9BEBFED, 0xFF6045D7, 0x4B4F3D41, 0xA06FD7E2, 0xF7C1467B}),
              b);

    TBytes buffer(128);
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<uint8_t>(5 * i + 1);
    TStegForm::EncryptBuffer(buffer.data(), 2, a, b);
    const char* expected = "629941b88cffa487f9347fa517ed47b49597824a3193165f8661009d4393ec1de6492d2792a967b5fd189dc0b10"
                           "771cdf272eb51f2b58d9d014978dd4a65b2123540695e2b6d15f0dd64741b8de8d8844bfa05a6113191859e71ba"
                           "74802ef695251c787607070f544ff0bbe1d5297bd955675b620c4a4ee1b76b603e4227dffe";
    std::string hex;
    for (uint8_t byte : buffer) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    EXPECT_EQ(expected, hex);
}

TEST(StegCipher, DecryptingABlockUndoesItsEncryption)
{
    std::mt19937 random(7);
    TStegState ones;
    for (size_t j = 0; j < TStegState::Words; ++j)
        ones[j] = 0xFFFFFFFF;
    for (const auto& [a, b] : KeyPairs())
        for (const TStegState& plain : {TStegState(), ones, RandomState(random), RandomState(random)}) {
            TStegState block = plain;
            TStegForm::EncryptBlock(block, a, b);
            // All-zero keys leave a uniform block as it was: the weakness that a buffer's
            // encryption refuses by its unchanged-block check.
            if (a != TStegState()) {
                EXPECT_NE(plain, block);
            }
            TStegForm::DecryptBlock(block, a, b);
            EXPECT_EQ(plain, block);
        }
}

TEST(StegCipher, TheHashOfZerosIsZeroAndMixingIsRepeatable)
{
    const TBytes zeros(64, 0);
    EXPECT_EQ(TStegState(), TStegForm::HashBlock(zeros.data()));

    std::mt19937 random(3);
    const TBytes source = RandomBytes(random, 64);
    EXPECT_EQ(TStegForm::HashBlock(source.data()), TStegForm::HashBlock(source.data()));
    EXPECT_NE(TStegState::Load(source.data()), TStegForm::HashBlock(source.data()));
}

// Blocks of a run numbered from 1, as in a steg buffer after its salt block.
TEST(StegCipher, EachBlockIsChainedToThePlaintextBeforeIt)
{
    std::mt19937 random(11);
    for (const auto& [a, b] : KeyPairs()) {
        const TBytes plain = RandomBytes(random, 6 * 64);
        const auto encrypt = [&a, &b](TBytes blocks) {
            TStegState runA = a;
            TStegState runB = b;
            TStegForm::EncryptBuffer(blocks.data(), 6, runA, runB);
            return blocks;
        };
        const TBytes cipher = encrypt(plain);
        EXPECT_EQ(cipher, encrypt(plain)) << "the same input gives the same output";

        TBytes changed = plain;
        changed[2 * 64 + 5] ^= 0x10;
        const TBytes changedCipher = encrypt(changed);
        EXPECT_TRUE(std::equal(cipher.begin(), cipher.begin() + 2 * 64, changedCipher.begin()));
        for (int block = 2; block < 6; ++block)
            EXPECT_FALSE(std::equal(cipher.begin() + block * 64, cipher.begin() + (block + 1) * 64,
                                    changedCipher.begin() + block * 64))
                << "block " << block + 1;

        TBytes decrypted = cipher;
        TStegState runA = a;
        TStegState runB = b;
        TStegForm::DecryptBuffer(decrypted.data(), 6, runA, runB);
        EXPECT_EQ(plain, decrypted);
    }
}

TEST(StegCipher, PasswordsAreWindows1252BytesWhenTheyCanBeAndEnterSignExtended)
{
    const struct
    {
        const char* Text;
        std::string Bytes;
    } cases[] = {
        {"abc", "abc"},
        {"caf\xC3\xA9", "caf\xE9"}, // é
        {"\xE2\x82\xAC"
         "5",
         "\x80"
         "5"},                                            // the euro sign
        {"\xE6\x97\xA5\xC3\xA9", "\xE6\x97\xA5\xC3\xA9"}, // 日 has no byte: all of it stays UTF-8
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Bytes, TStegForm::EncodeStegText(c.Text).Text()) << c.Text;

    EXPECT_NE(TStegForm::MakePasswordKey("caf\xE9", Salt()), TStegForm::MakePasswordKey("caf\x69", Salt()));
    EXPECT_NE(TStegForm::MakePasswordKey("\x80", Salt()),
              TStegForm::MakePasswordKey(std::string_view("\x00", 1), Salt()));
    EXPECT_NE(TStegForm::MakePasswordKey("pass", Salt()), TStegForm::MakePasswordKey("pasS", Salt()));
}

TEST(StegCipher, ThePictureKeyIgnoresBitZeroAndAlphaAndFollowsBitOne)
{
    const TStegState passwordKey = TStegForm::MakePasswordKey("secret", Salt());
    std::vector<uint32_t> words = PixelWords();
    const TStegState key = TStegForm::MakePictureKey(passwordKey, RowOf(words));
    const TStegState key2 = TStegForm::MakePictureKey(passwordKey, RowOf(words));
    EXPECT_EQ(key, key2);

    for (uint32_t change : {0x00000001u, 0x00000100u, 0x00010000u, 0x00010101u, 0xFF000000u}) {
        std::vector<uint32_t> edited = words;
        edited[17] ^= change;
        EXPECT_EQ(key, TStegForm::MakePictureKey(passwordKey, RowOf(edited))) << std::hex << change;
        EXPECT_EQ(TStegForm::GetIntegrity(RowOf(words)), TStegForm::GetIntegrity(RowOf(edited))) << std::hex << change;
    }
    for (uint32_t change : {0x00000002u, 0x00000200u, 0x00020000u}) {
        std::vector<uint32_t> edited = words;
        edited[17] ^= change;
        EXPECT_NE(key, TStegForm::MakePictureKey(passwordKey, RowOf(edited))) << std::hex << change;
    }
    EXPECT_NE(key, TStegForm::MakePictureKey(TStegForm::MakePasswordKey("secreT", Salt()), RowOf(words)));
}

TEST(StegCipher, MoreIterationsGiveOtherKeyStatesAndTheKeyStaysUnchanged)
{
    std::mt19937 random(5);
    const TStegState pictureKey = RandomState(random);
    const TStegState kept = pictureKey;
    TStegState a100, b100, a1000, b1000;
    TStegForm::MakeKeyStates(pictureKey, 100, a100, b100);
    TStegForm::MakeKeyStates(pictureKey, 1000, a1000, b1000);
    EXPECT_EQ(kept, pictureKey);
    EXPECT_NE(a100, a1000);
    EXPECT_NE(b100, b1000);
    EXPECT_NE(a100, b100);
}

} // namespace
