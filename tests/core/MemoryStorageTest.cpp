#include "core/settings/MemoryStorage.h"

#include "core/errors/Error.h"

#include "support/ShownFailures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using testing::HasSubstr;

namespace {

std::string Bytes(const TMemoryStorage& storage)
{
    return std::string(reinterpret_cast<const char*>(storage.Data), static_cast<size_t>(storage.Size));
}

bool AllZero(const uint8_t* bytes, int32_t from, int32_t to)
{
    for (int32_t i = from; i < to; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

TEST(MemoryStorage, CapacityIsTheNextPowerOfTwoAboveTheSizeButAtLeast256)
{
    struct Row
    {
        int32_t Size;
        int32_t Capacity;
    };
    const Row rows[] = {{0, 256}, {1, 256}, {255, 256}, {256, 512}, {511, 512}, {512, 1024}, {1000, 1024}, {10, 256}};
    TMemoryStorage storage;
    for (const Row& row : rows) {
        storage.Resize(row.Size);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Size, storage.Size);
        EXPECT_EQ(row.Capacity, storage.Capacity) << "size " << row.Size;
    }
}

TEST(MemoryStorage, ResizeKeepsTheContentAndZeroFillsTheRest)
{
    TMemoryStorage storage;
    storage.Resize(0);
    ASSERT_NE(nullptr, storage.Data);
    EXPECT_TRUE(AllZero(storage.Data, 0, storage.Capacity));

    storage.AddText("abc", false);
    const uint8_t* before = storage.Data;
    storage.Resize(200);
    EXPECT_EQ(before, storage.Data) << "growing inside one power of two must not reallocate";

    storage.Resize(1000);
    EXPECT_EQ("abc", Bytes(storage).substr(0, 3));
    EXPECT_TRUE(AllZero(storage.Data, 3, storage.Capacity));

    storage.Resize(2);
    EXPECT_EQ(256, storage.Capacity);
    EXPECT_EQ("ab", Bytes(storage));
}

TEST(MemoryStorage, AppendersWriteExactlyTheirBytes)
{
    TMemoryStorage storage;
    storage.AddText("ab", true);
    storage.AddText("", true);
    storage.AddTextEOL("cd");
    storage.AddTextEOL("");
    storage.AddStrCount("xy", 3);
    storage.AddStrCount("", 5);
    storage.AddStrCount("z", 0);
    storage.AddChar('!');
    storage.AddNull();
    storage.AddObject("\xff\x01", 2);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(std::string("ab\0cd\r\nxyxyxy!\0\xff\x01", 17), Bytes(storage));
}

TEST(MemoryStorage, ManyAppendsCrossEachPowerOfTwoOnce)
{
    TMemoryStorage storage;
    std::string expected;
    int reallocations = 0;
    for (int i = 0; i < 5000; ++i) {
        const uint8_t* before = storage.Data;
        storage.AddText("abc", false);
        expected += "abc";
        reallocations += before != storage.Data ? 1 : 0;
    }
    EXPECT_EQ(expected, Bytes(storage));
    EXPECT_EQ(7, reallocations) << "256, 512, ... 16384";
}

TEST(MemoryStorage, UpperCaseFoldsOnlyAsciiLetters)
{
    TMemoryStorage storage;
    storage.AddText("az AZ 09 \xc3\xa9 {}", false);
    storage.UpperCase();
    EXPECT_EQ("AZ AZ 09 \xc3\xa9 {}", Bytes(storage));
}

TEST(MemoryStorage, BrokenPreconditionsPanicAndChangeNothing)
{
    TShownFailures failures;
    TModalScript script;
    failures.Expect(script, "Panic");
    failures.Expect(script, "Panic");
    failures.Expect(script, "Panic");

    TMemoryStorage storage;
    storage.AddText("keep", false);
    storage.Resize(-1);
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("Size must be positive.", FunStatContext.Description);
    storage.Recapacitate(-1);
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("Capacity must be positive.", FunStatContext.Description);
    storage.AddObject("x", -1);
    EXPECT_EQ(fsPanic, FunStatContext.Status);

    EXPECT_EQ("keep", Bytes(storage));
    EXPECT_EQ(256, storage.Capacity);
    ASSERT_EQ(3u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("PANIC: Size must be positive."));
    EXPECT_THAT(failures.Reports[1], HasSubstr("PANIC: Capacity must be positive."));
}

TEST(MemoryStorage, SizesBeyondTheLimitAreRefusedAndTheBufferKept)
{
    TMemoryStorage storage;
    storage.AddText("keep", false);
    storage.Resize(int64_t{1} << 30);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Size too big.", FunStatContext.Description);
    storage.AddStrCount(std::string(1 << 16, 'x'), 1 << 15);
    EXPECT_EQ(fsError, FunStatContext.Status);
    storage.AddSize(INT32_MAX);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("keep", Bytes(storage));
    EXPECT_EQ(256, storage.Capacity);
}

TEST(MemoryStorage, GetObjectCopiesOnlyFromTheUsedBytes)
{
    TMemoryStorage storage;
    storage.AddText("abcdef", false);
    char out[4] = {'-', '-', '-', '-'};
    EXPECT_TRUE(storage.GetObject(2, out, 3));
    EXPECT_EQ("cde-", std::string(out, 4));
    EXPECT_FALSE(storage.GetObject(4, out, 3));
    EXPECT_FALSE(storage.GetObject(-1, out, 1));
    EXPECT_EQ("cde-", std::string(out, 4));
}

} // namespace
