#include "core/settings/FileStorage.h"

#include "core/errors/Error.h"

#include "support/ShownFailures.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <climits>
#include <filesystem>
#include <stdexcept>

using testing::HasSubstr;

namespace {

TEST(StorageHash, MatchesTheKnownValues)
{
    EXPECT_EQ(0x23C403C3u, TextHash("abc"));
    EXPECT_EQ(0u, TextHash(""));
    EXPECT_EQ(0x60020A24u, BlockHash("abc", 3, 0));
    EXPECT_EQ(0x4203EBD6u, BlockHash("abc", 3, 0x23C403C3));
    EXPECT_EQ(0x12345678u, BlockHash(nullptr, 0, 0x12345678));
    EXPECT_EQ(0x78563412u, ByteSwap(0x12345678));
}

// An owner of the kind the main window is: every field has its default, and the
// payload events read and write them in one order.
struct TSettings
{
    int32_t Number = 7;
    std::string Name = "default";
    int64_t Big = 70;
    int32_t VersionSeen = -1;
    int LoadFailures = 0;

    void Bind(TFileStorage& storage)
    {
        storage.OnLoad = [this](TFileStorage& stream, int32_t version) {
            VersionSeen = version;
            stream.ReadInt(Number, 0, 1000);
            stream.ReadText(Name, 20, false);
            stream.ReadInt64(Big, 0, INT64_MAX);
        };
        storage.OnSave = [this](TFileStorage& stream) {
            stream.WriteInt(Number);
            stream.WriteText(Name);
            stream.WriteInt64(Big);
        };
        storage.OnLoadFailed = [this](TFileStorage&) { ++LoadFailures; };
    }
    bool HasDefaults() const { return Number == 7 && Name == "default" && Big == 70; }
};

class FileStorageTest : public testing::Test
{
protected:
    FileStorageTest()
    {
        Storage.FileName = Drive.Path("Quillomber.qmo");
        Storage.Signature = "Quillomber Options";
        Storage.Version = 3;
        Settings.Bind(Storage);
    }

    // Saves the given values through a storage of its own, as an earlier session did.
    void SaveSession(int32_t number, const std::string& name, int64_t big, int32_t version = 3)
    {
        TFileStorage earlier;
        earlier.FileName = Storage.FileName;
        earlier.Signature = Storage.Signature;
        earlier.Version = version;
        TSettings values;
        values.Number = number;
        values.Name = name;
        values.Big = big;
        values.Bind(earlier);
        ASSERT_TRUE(earlier.Save(false));
    }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Drive.HostPath()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TTempDrive Drive;
    TShownFailures Failures;
    TFileStorage Storage;
    TSettings Settings;
};

TEST_F(FileStorageTest, SavedFileHasTheHeaderChecksumAndPayloadBytes)
{
    Drive.WriteFile("Quillomber.qmo", std::string(500, 'x'));
    Storage.Signature = "abc";
    Storage.OnSave = [](TFileStorage& stream) { stream.WriteObject("abc", 3); };

    EXPECT_TRUE(Storage.Save(false));

    const std::string expected = std::string("\xd6\xeb\x03\x42", 4) // checksum of "abc" seeded by "abc"
                                 + "abc" + std::string(29, '\0')    // signature, zero-padded to 32
                                 + std::string("\x03\0\0\0", 4)     // version
                                 + std::string(8, '\0')             // reserved
                                 + "abc";                           // payload
    EXPECT_EQ(expected, Drive.ReadFile("Quillomber.qmo"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FileStorageTest, AnEmptyPayloadIsCheckedBySignatureHashAlone)
{
    Storage.Signature = "abc";
    Storage.OnSave = nullptr;
    Storage.OnLoad = nullptr;
    EXPECT_TRUE(Storage.Save(false));
    const std::string file = Drive.ReadFile("Quillomber.qmo");
    ASSERT_EQ(48u, file.size());
    EXPECT_EQ(std::string("\xc3\x03\xc4\x23", 4), file.substr(0, 4));

    EXPECT_TRUE(Storage.Load());
}

TEST_F(FileStorageTest, LoadGivesBackTheSavedValuesAndTheStoredVersion)
{
    SaveSession(42, "columns", int64_t{1} << 40, 2);
    std::filesystem::permissions(Drive.HostPath("Quillomber.qmo"), std::filesystem::perms::owner_read);

    EXPECT_TRUE(Storage.Load());
    EXPECT_TRUE(Storage.Loaded);
    EXPECT_EQ(2, Settings.VersionSeen);
    EXPECT_EQ(42, Settings.Number);
    EXPECT_EQ("columns", Settings.Name);
    EXPECT_EQ(int64_t{1} << 40, Settings.Big);
    EXPECT_EQ(0, Storage.Size);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FileStorageTest, AMissingFileIsCreatedEmptyAndKeepsTheDefaults)
{
    EXPECT_TRUE(Storage.Load());
    EXPECT_TRUE(Drive.Exists("Quillomber.qmo"));
    EXPECT_EQ("", Drive.ReadFile("Quillomber.qmo"));
    EXPECT_EQ(3, Settings.VersionSeen);
    EXPECT_TRUE(Settings.HasDefaults());
}

TEST_F(FileStorageTest, MalformedValuesKeepTheirDefaultsAndTheRestStillLoads)
{
    SaveSession(5000, "a name far longer than twenty bytes", 123);

    EXPECT_TRUE(Storage.Load());
    EXPECT_EQ(7, Settings.Number);
    EXPECT_EQ("default", Settings.Name);
    EXPECT_EQ(123, Settings.Big);
}

TEST_F(FileStorageTest, DamagedFilesFailClearlyAndKeepTheDefaults)
{
    struct Row
    {
        const char* Case;
        std::function<std::string(std::string)> Damage;
        const char* Description;
        bool PanicsFirst;
    };
    const Row rows[] = {
        {"payload byte changed",
         [](std::string f) {
             f.back() ^= 1;
             return f;
         },
         "Invalid integrity check.", false},
        {"checksum changed",
         [](std::string f) {
             f[0] ^= 1;
             return f;
         },
         "Invalid integrity check.", false},
        {"cut inside the payload",
         [](std::string f) {
             f.pop_back();
             return f;
         },
         "Invalid integrity check.", false},
        {"signature case changed",
         [](std::string f) {
             f[4] = 'q';
             return f;
         },
         "Invalid file signature.", false},
        {"cut inside the header", [](std::string f) { return f.substr(0, 20); }, "Invalid file signature.", true},
    };
    SaveSession(42, "columns", 99);
    const std::string good = Drive.ReadFile("Quillomber.qmo");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        Drive.WriteFile("Quillomber.qmo", row.Damage(good));
        Settings = TSettings();
        Failures.Reports.clear();
        {
            TModalScript script;
            if (row.PanicsFirst)
                Failures.Expect(script, "Panic");
            Failures.Expect(script, "Error");
            bool loaded = true;
            EXPECT_NO_THROW(loaded = Storage.Load());
            EXPECT_FALSE(loaded);
        }
        EXPECT_FALSE(Storage.Loaded);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_TRUE(Settings.HasDefaults());
        EXPECT_EQ(1, Settings.LoadFailures);
        ASSERT_FALSE(Failures.Reports.empty());
        if (row.PanicsFirst) {
            EXPECT_THAT(Failures.Reports.front(), HasSubstr("PANIC: Data too long."));
            EXPECT_THAT(Failures.Reports.front(), HasSubstr("* Parameter 1: \"48\""));
            EXPECT_THAT(Failures.Reports.front(), HasSubstr("* Parameter 2: \"20\""));
        }
        const std::string& report = Failures.Reports.back();
        EXPECT_THAT(report, HasSubstr("Failed to load. Data is probably corrupted."));
        EXPECT_THAT(report, HasSubstr(std::string("* Description: \"") + row.Description + "\""));
        EXPECT_THAT(report, HasSubstr("* Parameter 1: \"" + Storage.FileName + "\""));
    }
}

TEST_F(FileStorageTest, UnreadableFilesFailToReadWithTheSystemError)
{
    struct Row
    {
        host::HostCall Call;
        uint32_t Code;
    };
    const Row rows[] = {{host::HostCall::Open, host::ERROR_ACCESS_DENIED},
                        {host::HostCall::Read, host::ERROR_IO_DEVICE}};
    SaveSession(42, "columns", 99);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Code);
        Failures.Reports.clear();
        TModalScript script;
        Failures.Expect(script, "Error");
        host::InjectFault(row.Call, row.Code);
        EXPECT_FALSE(Storage.Load());
        EXPECT_TRUE(Settings.HasDefaults());
        ASSERT_EQ(1u, Failures.Reports.size());
        EXPECT_THAT(Failures.Reports[0], HasSubstr("* Description: \"Failed to read.\""));
        EXPECT_THAT(Failures.Reports[0], HasSubstr("* System error code: " + std::to_string(row.Code)));
    }
}

// A file that failed to load may hold every board the user has: the first save keeps it.
TEST_F(FileStorageTest, TheFirstSaveAfterAFailedLoadKeepsTheFileAsBak)
{
    struct Row
    {
        const char* Case;
        std::function<void(TTempDrive&)> Damage;
    };
    const Row rows[] = {
        {"one byte flipped",
         [](TTempDrive& drive) {
             std::string file = drive.ReadFile("Quillomber.qmo");
             file[60] ^= 0x10;
             drive.WriteFile("Quillomber.qmo", file);
         }},
        {"another kind of file", [](TTempDrive& drive) { drive.WriteFile("Quillomber.qmo", std::string(64, 'x')); }},
        {"cannot be opened", [](TTempDrive&) { host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        std::filesystem::remove(Drive.HostPath("Quillomber.qmo.bak"));
        Settings = TSettings();
        SaveSession(42, "columns", 99);
        row.Damage(Drive);
        const std::string before = Drive.ReadFile("Quillomber.qmo");
        {
            TModalScript script;
            Failures.Expect(script, "Error");
            EXPECT_FALSE(Storage.Load());
        }
        EXPECT_FALSE(Drive.Exists("Quillomber.qmo.bak")) << "loading changes nothing";

        EXPECT_TRUE(Storage.Save(false));
        EXPECT_EQ(before, Drive.ReadFile("Quillomber.qmo.bak"));
        EXPECT_TRUE(Storage.Load());
        EXPECT_TRUE(Settings.HasDefaults());

        Settings.Number = 8;
        EXPECT_TRUE(Storage.Save(false));
        EXPECT_EQ(before, Drive.ReadFile("Quillomber.qmo.bak")) << "only the damaged file is kept";
    }
}

TEST_F(FileStorageTest, AFileThatLoadsIsReplacedWithoutABackup)
{
    SaveSession(42, "columns", 99);
    EXPECT_TRUE(Storage.Load());
    EXPECT_TRUE(Storage.Save(false));
    EXPECT_EQ(std::vector<std::string>{"Quillomber.qmo"}, FolderEntries());
}

// Sparse files: the sizes cost no disk, and a read of them would show in the peak memory.
TEST_F(FileStorageTest, AHugeFileIsRefusedWithoutReadingIt)
{
    struct Row
    {
        const char* Case;
        bool SignedHeader;
        uint64_t Size;
        const char* Description;
    };
    const Row rows[] = {
        {"1,000 MB of another kind", false, uint64_t{1000} << 20, "Invalid file signature."},
        {"more than a store holds", true, uint64_t{TFileStorage::MaxSize} + 1, "Failed to read."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        std::filesystem::remove(Drive.HostPath("Quillomber.qmo"));
        if (row.SignedHeader)
            SaveSession(42, "columns", 99);
        else
            Drive.WriteFile("Quillomber.qmo", "");
        std::filesystem::resize_file(Drive.HostPath("Quillomber.qmo"), row.Size);
        Failures.Reports.clear();
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        {
            TModalScript script;
            Failures.Expect(script, "Error");
            EXPECT_FALSE(Storage.Load());
        }
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "peak memory grew, in KiB";
        EXPECT_TRUE(Settings.HasDefaults());
        ASSERT_EQ(1u, Failures.Reports.size());
        EXPECT_THAT(Failures.Reports[0], HasSubstr(std::string("* Description: \"") + row.Description + "\""));
    }
}

TEST_F(FileStorageTest, AFileLongerThanTheOwnersLongestPayloadIsRefused)
{
    SaveSession(42, "columns", 99);
    const int64_t payload = static_cast<int64_t>(Drive.ReadFile("Quillomber.qmo").size()) - 48;
    struct Row
    {
        int64_t MaxPayloadSize;
        bool Loads;
    };
    const Row rows[] = {{payload, true}, {payload - 1, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.MaxPayloadSize);
        Storage.MaxPayloadSize = row.MaxPayloadSize;
        Settings = TSettings();
        Failures.Reports.clear();
        TModalScript script;
        if (!row.Loads)
            Failures.Expect(script, "Error");
        EXPECT_EQ(row.Loads, Storage.Load());
        EXPECT_EQ(row.Loads, !Settings.HasDefaults());
        if (!row.Loads) {
            ASSERT_EQ(1u, Failures.Reports.size());
            EXPECT_THAT(Failures.Reports[0], HasSubstr("* Description: \"Failed to read.\""));
        }
    }
}

TEST_F(FileStorageTest, AThrowingLoadEventIsShownAndWhatItReadStays)
{
    SaveSession(42, "columns", 99);
    Storage.OnLoad = [this](TFileStorage& stream, int32_t) {
        stream.ReadInt(Settings.Number, 0, 1000);
        throw std::runtime_error("broken record");
    };
    TModalScript script;
    Failures.Expect(script, "Error");
    bool loaded = true;
    EXPECT_NO_THROW(loaded = Storage.Load());
    EXPECT_FALSE(loaded);
    EXPECT_EQ(42, Settings.Number);
    EXPECT_EQ("default", Settings.Name);
    EXPECT_THAT(Failures.Reports.at(0), HasSubstr("Unhandled exception: broken record"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FileStorageTest, AFailedWriteLeavesTheOldFileWhole)
{
    struct Row
    {
        host::HostCall Call;
        uint32_t Code;
    };
    const Row rows[] = {{host::HostCall::Write, host::ERROR_DISK_FULL},
                        {host::HostCall::Rename, host::ERROR_ACCESS_DENIED}};
    SaveSession(42, "columns", 99);
    const std::string old = Drive.ReadFile("Quillomber.qmo");
    Settings.Name = std::string(20, 'n');
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Code);
        Failures.Reports.clear();
        TModalScript script;
        Failures.Expect(script, "Error");
        host::InjectFault(row.Call, row.Code);
        EXPECT_FALSE(Storage.Save(false));
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(old, Drive.ReadFile("Quillomber.qmo"));
        EXPECT_EQ(std::vector<std::string>{"Quillomber.qmo"}, FolderEntries());
        ASSERT_EQ(1u, Failures.Reports.size());
        EXPECT_THAT(Failures.Reports[0], HasSubstr("* Description: \"Failed to save.\""));
        EXPECT_THAT(Failures.Reports[0], HasSubstr("* System error code: " + std::to_string(row.Code)));
    }
    EXPECT_TRUE(Storage.Load());
    EXPECT_EQ("columns", Settings.Name);
}

TEST_F(FileStorageTest, AValueFailingInTheMiddleOfTheSaveEventWritesNothing)
{
    SaveSession(42, "columns", 99);
    const std::string old = Drive.ReadFile("Quillomber.qmo");
    Settings.Name = std::string(65536, 'n');
    TModalScript script;
    Failures.Expect(script, "Panic");
    Failures.Expect(script, "Panic");
    EXPECT_FALSE(Storage.Save(false));
    EXPECT_EQ(old, Drive.ReadFile("Quillomber.qmo"));
    EXPECT_THAT(Failures.Reports.at(1), HasSubstr("Failed to save."));
    EXPECT_THAT(Failures.Reports.at(1), HasSubstr("* Description: \"Text too long.\""));
}

TEST_F(FileStorageTest, AskingBeforeOverwritingKeepsTheFileOnNo)
{
    SaveSession(42, "columns", 99);
    const std::string old = Drive.ReadFile("Quillomber.qmo");
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        EXPECT_FALSE(Storage.Save(true));
        EXPECT_EQ("File already exists.\nOverwrite it?", script.Seen().at(0).Text);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(old, Drive.ReadFile("Quillomber.qmo"));
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        EXPECT_TRUE(Storage.Save(true));
    }
    EXPECT_NE(old, Drive.ReadFile("Quillomber.qmo"));
    EXPECT_TRUE(Storage.Load());
    EXPECT_EQ(7, Settings.Number);
}

} // namespace
