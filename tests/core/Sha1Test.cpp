#include "core/text/Sha1.h"
#include "core/text/Sha1Transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

enum class TEngine
{
    Portable,
    ProcessorInstructions
};

void PrintTo(TEngine engine, std::ostream* out)
{
    *out << (engine == TEngine::Portable ? "portable" : "processor instructions");
}

std::string Hex(const TSha1Digest& digest)
{
    std::string text;
    char pair[3];
    for (const uint8_t byte : digest) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

std::string HashBuffer(const std::string& message)
{
    TSha1Digest digest;
    Sha1HashBuffer(message.data(), static_cast<uint32_t>(message.size()), digest);
    return Hex(digest);
}

std::string HashInPieces(const std::string& message, size_t pieceSize)
{
    Sha1Context context;
    Sha1Init(context);
    for (size_t at = 0; at < message.size(); at += pieceSize) {
        const size_t size = std::min(pieceSize, message.size() - at);
        Sha1Update(context, message.data() + at, static_cast<uint32_t>(size));
    }
    TSha1Digest digest;
    Sha1Final(digest, context);
    return Hex(digest);
}

struct Vector
{
    std::string Message;
    std::string Digest;
};

// The standard's test vectors, and messages whose padding ends exactly before, at and
// after the block boundaries (55 bytes take one final block, 56 to 63 take two).
const Vector StandardVectors[] = {
    {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
};
const Vector BoundaryVectors[] = {
    {std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
    {std::string(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
    {std::string(63, 'a'), "03f09f5b158a7a8cdad920bddc29b81c18a551f5"},
    {std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
    {std::string(65, 'a'), "11655326c708d70319be2610e8a57d9a5b959d3b"},
    {std::string(119, 'a'), "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56"},
    {std::string(120, 'a'), "f34c1488385346a55709ba056ddd08280dd4c6d6"},
};
const std::string MillionAsDigest = "34aa973cd4c4daa4f61eeb2bdbad27316534016f";

class Sha1 : public testing::TestWithParam<TEngine>
{
protected:
    void SetUp() override
    {
        if (GetParam() == TEngine::ProcessorInstructions && !Sha1ProcessorHasInstructions())
            GTEST_SKIP() << "this processor has no SHA instructions";
        Sha1SetPortableOnly(GetParam() == TEngine::Portable);
    }
    void TearDown() override { Sha1SetPortableOnly(false); }
};

TEST_P(Sha1, StandardVectorsInEveryForm)
{
    for (const Vector& vector : StandardVectors) {
        SCOPED_TRACE("message \"" + vector.Message + "\"");
        EXPECT_EQ(vector.Digest, HashBuffer(vector.Message));
        TSha1Digest digest;
        Sha1HashString(vector.Message.c_str(), digest);
        EXPECT_EQ(vector.Digest, Hex(digest));
        for (size_t pieceSize = 1; pieceSize <= 64; ++pieceSize)
            EXPECT_EQ(vector.Digest, HashInPieces(vector.Message, pieceSize)) << "pieces of " << pieceSize;
    }
}

TEST_P(Sha1, PaddingAroundBlockBoundaries)
{
    for (const Vector& vector : BoundaryVectors) {
        SCOPED_TRACE("length " + std::to_string(vector.Message.size()));
        EXPECT_EQ(vector.Digest, HashBuffer(vector.Message));
        for (const size_t pieceSize : {1, 7, 55, 56, 63, 64, 65})
            EXPECT_EQ(vector.Digest, HashInPieces(vector.Message, pieceSize)) << "pieces of " << pieceSize;
    }
}

TEST_P(Sha1, MillionAsWholeAndAcrossBlockBoundaries)
{
    const std::string message(1000000, 'a');
    EXPECT_EQ(MillionAsDigest, HashBuffer(message));
    for (const size_t pieceSize : {1, 63, 64, 65, 4096 + 7})
        EXPECT_EQ(MillionAsDigest, HashInPieces(message, pieceSize)) << "pieces of " << pieceSize;
}

TEST_P(Sha1, DigestOfADigestInPlace)
{
    TSha1Digest digest;
    Sha1HashString("abc", digest);
    TSha1Digest expected;
    Sha1HashBuffer(digest.data(), 20, expected);
    Sha1HashDigest(digest, digest);
    EXPECT_EQ(Hex(expected), Hex(digest));
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha1, testing::Values(TEngine::Portable, TEngine::ProcessorInstructions),
                         [](const testing::TestParamInfo<TEngine>& info) {
                             return info.param == TEngine::Portable ? "Portable" : "ProcessorInstructions";
                         });

TEST(Sha1Engines, AgreeOnEveryLengthAndAlignment)
{
    if (!Sha1ProcessorHasInstructions())
        GTEST_SKIP() << "this processor has no SHA instructions";
    std::vector<uint8_t> bytes(400);
    uint32_t seed = 12345;
    for (uint8_t& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 16);
    }
    for (uint32_t offset = 0; offset < 4; ++offset)
        for (uint32_t length = 0; length + offset <= bytes.size(); length += 13) {
            TSha1Digest portable;
            TSha1Digest instructions;
            Sha1SetPortableOnly(true);
            Sha1HashBuffer(bytes.data() + offset, length, portable);
            Sha1SetPortableOnly(false);
            Sha1HashBuffer(bytes.data() + offset, length, instructions);
            EXPECT_EQ(Hex(portable), Hex(instructions)) << "offset " << offset << ", length " << length;
        }
}

// Files over 512 MiB carry their bit count into the high half.
TEST(Sha1Count, CarriesIntoTheHighHalf)
{
    Sha1Context context;
    Sha1Init(context);
    context.BitCountLow = 0xFFFFFFF0;
    Sha1Update(context, "abcd", 4);
    EXPECT_EQ(0x10u, context.BitCountLow);
    EXPECT_EQ(1u, context.BitCountHigh);
}

} // namespace
