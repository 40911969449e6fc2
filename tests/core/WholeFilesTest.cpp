#include "core/files/WholeFiles.h"
#include "core/errors/Error.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class WholeFiles : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(WholeFiles, LoadReadsTheWholeFileOrRefusesAnOversizedOne)
{
    Drive.WriteFile("empty.bin", "");
    Drive.WriteFile("data.bin", std::string(1500, 'd'));
    std::vector<uint8_t> buffer(2000, 0);

    EXPECT_EQ(1500, LoadFileToBuffer(Drive.Path("data.bin"), buffer.data(), 2000, false));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ('d', buffer[1499]);
    EXPECT_EQ(0, buffer[1500]);

    std::fill(buffer.begin(), buffer.end(), 0);
    LoadFileToBuffer(Drive.Path("data.bin"), buffer.data(), 1000, false);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("File size too big.", FunStatContext.Description);
    EXPECT_EQ("1500", FunStatContext.Parameter1);
    EXPECT_EQ("1000", FunStatContext.Parameter2);
    EXPECT_EQ(0, buffer[0]) << "nothing is read";

    EXPECT_EQ(1000, LoadFileToBuffer(Drive.Path("data.bin"), buffer.data(), 1000, true));
    EXPECT_EQ(fsWarning, FunStatContext.Status);
    EXPECT_EQ('d', buffer[999]);
    EXPECT_EQ(0, buffer[1000]);

    LoadFileToBuffer(Drive.Path("empty.bin"), buffer.data(), 1000, false);
    EXPECT_EQ("Failed to load, or empty file.", FunStatContext.Description);
    LoadFileToBuffer(Drive.Path("missing.bin"), buffer.data(), 1000, false);
    EXPECT_EQ("Failed to load.", FunStatContext.Description);
    host::InjectFault(host::HostCall::Read, host::ERROR_IO_DEVICE);
    LoadFileToBuffer(Drive.Path("data.bin"), buffer.data(), 2000, false);
    EXPECT_EQ("Failed to load.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_IO_DEVICE, FunStatContext.SystemErrorCode);
}

TEST_F(WholeFiles, SaveReplacesWholeOrNotAtAll)
{
    Drive.WriteFile("out.bin", "old content");
    const std::string fresh = "fresh";
    SaveBufferToFile(Drive.Path("out.bin"), reinterpret_cast<const uint8_t*>(fresh.data()), 5);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("fresh", Drive.ReadFile("out.bin"));

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    SaveBufferToFile(Drive.Path("out.bin"), reinterpret_cast<const uint8_t*>("other"), 5);
    EXPECT_EQ("Failed to save.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_DISK_FULL, FunStatContext.SystemErrorCode);
    EXPECT_EQ("fresh", Drive.ReadFile("out.bin"));

    SaveBufferToFile(Drive.Path("missing\\out.bin"), reinterpret_cast<const uint8_t*>("x"), 1);
    EXPECT_EQ("Failed to save.", FunStatContext.Description);
}

TEST_F(WholeFiles, HashFileGivesUpperCaseDigestsBlockByBlock)
{
    Drive.WriteFile("empty.txt", "");
    Drive.WriteFile("abc.txt", "abc");
    Drive.WriteFile("million.bin", std::string(1000000, 'a'));
    EXPECT_EQ("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709", HashFile(Drive.Path("empty.txt")));
    EXPECT_EQ("A9993E364706816ABA3E25717850C26C9CD0D89D", HashFile(Drive.Path("abc.txt")));

    std::vector<uint64_t> totals;
    EXPECT_EQ("34AA973CD4C4DAA4F61EEB2BDBAD27316534016F", HashFile(Drive.Path("million.bin"), [&](uint64_t total) {
                  totals.push_back(total);
                  return false;
              }));
    EXPECT_EQ(std::vector<uint64_t>{1000000}, totals) << "one block, stopped by the size";

    EXPECT_EQ("", HashFile(Drive.Path("million.bin"), [](uint64_t) { return true; }));
    EXPECT_EQ(fsWarning, FunStatContext.Status);
    EXPECT_EQ("User abort.", FunStatContext.Description);

    EXPECT_EQ("", HashFile(Drive.Path("missing.txt")));
    EXPECT_EQ("Failed to open file.", FunStatContext.Description);
}

TEST_F(WholeFiles, RecycleSendsToTheTrashAndRefusesOverlongNames)
{
    Drive.WriteFile("old.txt", "x");
    RecycleFile(Drive.Path("old.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(Drive.Exists("old.txt"));

    RecycleFile(Drive.Path("old.txt"));
    EXPECT_EQ("Failed to recycle.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);

    TModalScript dialogs;
    TShownFailures shown;
    shown.Expect(dialogs, "Panic");
    RecycleFile("T:\\" + std::string(256, 'n'));
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    ASSERT_EQ(1u, shown.Reports.size());
    EXPECT_EQ(0u, shown.Reports[0].find("DESCRIPTION\r\nPANIC: Size too big."));
}

} // namespace
