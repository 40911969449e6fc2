#include "core/settings/StreamStorage.h"

#include "core/errors/Error.h"

#include "support/ShownFailures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

using testing::HasSubstr;

namespace {

std::string Bytes(const TStreamStorage& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Data), static_cast<size_t>(stream.Size));
}

void Fill(TStreamStorage& stream, const std::string& bytes)
{
    stream.Clear();
    stream.AddObject(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Position = 0;
}

std::string Int(int32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
}

TEST(StreamStorage, TypedValuesHaveTheirFixedLittleEndianBytes)
{
    TStreamStorage stream;
    stream.WriteByte(0xAB);
    stream.WriteInt(-2);
    stream.WriteInt(0x01020304);
    stream.WriteInt64(0x0102030405060708);
    stream.WriteInt64(-1);
    stream.WriteText("h\xc3\xa9");
    stream.WriteText("");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    const std::string expected = std::string("\xab")                       // byte
                                 + "\xfe\xff\xff\xff" + "\x04\x03\x02\x01" // integers
                                 + "\x08\x07\x06\x05\x04\x03\x02\x01"      // 64-bit, low word first
                                 + "\xff\xff\xff\xff\xff\xff\xff\xff"      //
                                 + std::string("\x03\0\0\0h\xc3\xa9", 7)   // text: length, bytes
                                 + std::string("\0\0\0\0", 4);             // empty text
    EXPECT_EQ(expected, Bytes(stream));

    stream.Position = 0;
    uint8_t byte = 0;
    int32_t a = 0, b = 0;
    int64_t c = 0, d = 0;
    std::string text = "old", empty = "old";
    stream.ReadByte(byte);
    stream.ReadInt(a, INT32_MIN, INT32_MAX);
    stream.ReadInt(b, INT32_MIN, INT32_MAX);
    stream.ReadInt64(c, INT64_MIN, INT64_MAX);
    stream.ReadInt64(d, INT64_MIN, INT64_MAX);
    stream.ReadText(text, 100, true);
    stream.ReadText(empty, 100, true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(0xAB, byte);
    EXPECT_EQ(-2, a);
    EXPECT_EQ(0x01020304, b);
    EXPECT_EQ(0x0102030405060708, c);
    EXPECT_EQ(-1, d);
    EXPECT_EQ("h\xc3\xa9", text);
    EXPECT_EQ("", empty);
    EXPECT_EQ(stream.Size, stream.Position);
}

TEST(StreamStorage, NumbersOutsideTheirLimitsAreSkippedAndTheVariableKept)
{
    TStreamStorage stream;
    stream.WriteInt(50);
    stream.WriteInt(5);
    stream.WriteInt64(-5);
    stream.WriteInt64(int64_t{1} << 40);
    stream.Position = 0;

    int32_t tooBig = 7, inRange = 7;
    int64_t negative = 7, wide = 7;
    stream.ReadInt(tooBig, 0, 10);
    EXPECT_EQ(4, stream.Position);
    stream.ReadInt(inRange, 0, 10);
    stream.ReadInt64(negative, 0, INT64_MAX);
    stream.ReadInt64(wide, 0, INT64_MAX);
    EXPECT_EQ(7, tooBig);
    EXPECT_EQ(5, inRange);
    EXPECT_EQ(7, negative) << "the limits compare signed";
    EXPECT_EQ(int64_t{1} << 40, wide);
}

TEST(StreamStorage, AnEmptyStreamLeavesEveryVariableAtItsDefault)
{
    TStreamStorage stream;
    uint8_t byte = 9;
    int32_t number = 9;
    int64_t wide = 9;
    std::string text = "default";
    stream.ReadByte(byte);
    stream.ReadInt(number, INT32_MIN, INT32_MAX);
    stream.ReadInt64(wide, INT64_MIN, INT64_MAX);
    stream.ReadText(text, 100, true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(9, byte);
    EXPECT_EQ(9, number);
    EXPECT_EQ(9, wide);
    EXPECT_EQ("default", text);
}

TEST(StreamStorage, StoredTextsAreReadByTheirRules)
{
    struct Row
    {
        const char* Case;
        std::string Stored;
        bool SetEmpty;
        std::string Expected;
    };
    const Row rows[] = {
        {"empty, kept", Int(0), false, "old"},
        {"empty, set", Int(0), true, ""},
        {"negative length", Int(-3), true, "old"},
        {"zero byte ends it", Int(4) + std::string("ab\0c", 4), true, "ab"},
        {"at the limit", Int(5) + "abcde", true, "abcde"},
    };
    TStreamStorage stream;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        Fill(stream, row.Stored);
        std::string text = "old";
        stream.ReadText(text, 5, row.SetEmpty);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Expected, text);
        EXPECT_EQ(stream.Size, stream.Position);
    }
}

TEST(StreamStorage, ATooLongTextFailsButIsPassedOverSoTheNextValueReadsRight)
{
    TStreamStorage stream;
    stream.WriteText("abcdef");
    stream.WriteInt(42);
    stream.Position = 0;

    std::string text = "old";
    stream.ReadText(text, 5, true);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Text too long.", FunStatContext.Description);
    EXPECT_EQ("6", FunStatContext.Parameter1);
    EXPECT_EQ("5", FunStatContext.Parameter2);
    EXPECT_EQ("old", text);

    int32_t next = 0;
    stream.ReadInt(next, INT32_MIN, INT32_MAX);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(42, next);
}

TEST(StreamStorage, ATextLongerThanWhatIsLeftFailsAfterItsLength)
{
    TStreamStorage stream;
    Fill(stream, Int(10) + "abc");
    std::string text = "old";
    stream.ReadText(text, 100, true);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Text too long.", FunStatContext.Description);
    EXPECT_EQ("10", FunStatContext.Parameter1);
    EXPECT_EQ("old", text);
    EXPECT_EQ(4, stream.Position);
}

TEST(StreamStorage, ReadingPastTheEndPanicsAndReadsNothing)
{
    TShownFailures failures;
    TModalScript script;
    failures.Expect(script, "Panic");

    TStreamStorage stream;
    Fill(stream, "abc");
    stream.Position = 1;
    char out[3] = {'-', '-', '-'};
    stream.ReadObject(out, 3);
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("Data too long.", FunStatContext.Description);
    EXPECT_EQ("3", FunStatContext.Parameter1);
    EXPECT_EQ("3", FunStatContext.Parameter2);
    EXPECT_EQ(1, stream.Position);
    EXPECT_EQ("---", std::string(out, 3));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("PANIC: Data too long."));

    TStreamStorage empty;
    empty.ReadObject(out, 3);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("---", std::string(out, 3));
}

TEST(StreamStorage, WriteTextTakesAtMost65535Bytes)
{
    TShownFailures failures;
    TModalScript script;
    failures.Expect(script, "Panic");

    TStreamStorage stream;
    stream.WriteText(std::string(65535, 'x'));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(65539, stream.Size);

    stream.WriteText(std::string(65536, 'x'));
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("Text too long.", FunStatContext.Description);
    EXPECT_EQ("65536", FunStatContext.Parameter1);
    EXPECT_EQ(65539, stream.Size);
}

} // namespace
