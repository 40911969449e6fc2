#include "core/files/FileOperations.h"
#include "core/errors/Error.h"
#include "core/files/FileInfo.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;

namespace {

class FilePrimitives : public testing::Test
{
protected:
    ~FilePrimitives() override { FileUnitLoader.OnProgress = nullptr; }

    bool IsReadOnly(const TTempDrive& drive, const std::string& relative) const
    {
        return (fs::status(drive.HostPath(relative)).permissions() & fs::perms::owner_write) == fs::perms::none;
    }

    void MakeReadOnly(const TTempDrive& drive, const std::string& relative) const
    {
        fs::permissions(drive.HostPath(relative), fs::perms(0444));
    }

    std::vector<std::string> Tree(const TTempDrive& drive) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(drive.HostPath()))
            names.push_back(entry.path().lexically_relative(drive.HostPath()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TTempDrive Drive{'T'};
};

TEST_F(FilePrimitives, CopyHonoursOverwriteAndClearsReadOnlyTargets)
{
    Drive.WriteFile("a.txt", "new");
    Drive.WriteFile("b.txt", "old");
    MakeReadOnly(Drive, "b.txt");

    MyCopyFile(Drive.Path("a.txt"), Drive.Path("b.txt"), false, false);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to copy file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_EXISTS, FunStatContext.SystemErrorCode);
    EXPECT_EQ(Drive.Path("a.txt"), FunStatContext.Parameter1);
    EXPECT_EQ(Drive.Path("b.txt"), FunStatContext.Parameter2);
    EXPECT_EQ("old", Drive.ReadFile("b.txt"));
    EXPECT_TRUE(IsReadOnly(Drive, "b.txt")) << "a refused copy leaves the target as it was";

    Drive.WriteFile("c.txt", "old");
    MakeReadOnly(Drive, "c.txt");
    MyCopyFile(Drive.Path("a.txt"), Drive.Path("c.txt"), true, false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("new", Drive.ReadFile("c.txt"));
}

TEST_F(FilePrimitives, CopyProgressAndCancel)
{
    Drive.WriteFile("big.bin", std::string(10 * 1024 * 1024, 'b'));
    Drive.WriteFile("empty.bin", "");
    std::vector<double> fractions;
    FileUnitLoader.OnProgress = [&](double fraction) {
        fractions.push_back(fraction);
        return true;
    };
    MyCopyFile(Drive.Path("empty.bin"), Drive.Path("empty-copy.bin"), false, false);
    EXPECT_TRUE(fractions.empty()) << "an empty file reports no progress";
    MyCopyFile(Drive.Path("big.bin"), Drive.Path("copy.bin"), false, false);
    ASSERT_FALSE(fractions.empty());
    EXPECT_DOUBLE_EQ(1.0, fractions.back());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));

    FileUnitLoader.OnProgress = [](double) { return false; };
    MyCopyFile(Drive.Path("big.bin"), Drive.Path("cancelled.bin"), false, false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "a cancel is no failure";
    EXPECT_FALSE(Drive.Exists("cancelled.bin"));

    FileUnitLoader.OnProgress = [](double) -> bool { throw std::runtime_error("callback broke"); };
    MyCopyFile(Drive.Path("big.bin"), Drive.Path("thrown.bin"), false, false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "a throwing callback counts as go on";
    EXPECT_TRUE(Drive.Exists("thrown.bin"));
}

TEST_F(FilePrimitives, OperationsOnALinkLeaveTheReadOnlyFileItNamesAlone)
{
    TTempDrive other('U');
    Drive.WriteFile("kept/read-only.txt", "kept");
    MakeReadOnly(Drive, "kept/read-only.txt");
    struct Row
    {
        const char* Operation;
        std::function<void(const std::string& source, const std::string& link)> Run;
    };
    const Row rows[] = {
        {"copy onto", [](const auto& source, const auto& link) { MyCopyFile(source, link, true, false); }},
        {"move onto", [](const auto& source, const auto& link) { MyMoveFile(source, link, true); }},
        {"rename onto", [](const auto& source, const auto& link) { MyRenameFile(source, link, true); }},
        {"delete", [](const auto&, const auto& link) { MyDeleteFile(link); }},
        {"move to another root",
         [&other](const auto&, const auto& link) { MyMoveFile(link, other.Path("moved-link"), false); }},
    };
    for (const Row& row : rows) {
        Drive.WriteFile("source.txt", "source");
        fs::remove(Drive.HostPath("link"));
        fs::create_symlink(Drive.HostPath("kept/read-only.txt"), Drive.HostPath("link"));
        row.Run(Drive.Path("source.txt"), Drive.Path("link"));
        EXPECT_EQ(fs::perms(0444), fs::status(Drive.HostPath("kept/read-only.txt")).permissions()) << row.Operation;
        EXPECT_EQ("kept", Drive.ReadFile("kept/read-only.txt")) << row.Operation;
    }
}

TEST_F(FilePrimitives, DeleteTakesReadOnlyFilesAndReportsWhatRefusesIt)
{
    struct Row
    {
        const char* Name;
        bool ReadOnly;
        // An access-denied refusal of the first delete, as from the folder.
        bool Refused;
        bool Deleted;
        uint32_t Code;
    };
    const Row rows[] = {
        {"writable.txt", false, false, true, 0},
        {"read-only.txt", true, false, true, 0},
        {"refused.txt", false, true, false, host::ERROR_ACCESS_DENIED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Drive.WriteFile(row.Name, "data");
        if (row.ReadOnly)
            MakeReadOnly(Drive, row.Name);
        if (row.Refused)
            host::InjectFault(host::HostCall::Delete, host::ERROR_ACCESS_DENIED);
        MyDeleteFile(Drive.Path(row.Name));
        host::ClearFaults();
        EXPECT_EQ(!row.Deleted, Drive.Exists(row.Name));
        EXPECT_EQ(row.Deleted ? fsPerfect : fsError, FunStatContext.Status);
        EXPECT_EQ(row.Code, FunStatContext.SystemErrorCode);
        FunStatContext.Reset(fsPerfect);
    }

    MyDeleteFile(Drive.Path("missing.txt"));
    EXPECT_EQ("Failed to delete file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
    FunStatContext.Reset(fsPerfect);

    Drive.WriteFile("tree/inner/read-only.txt", "data");
    MakeReadOnly(Drive, "tree/inner/read-only.txt");
    DeleteDirectoryNoErrors(Drive.Path("tree"));
    EXPECT_FALSE(Drive.Exists("tree"));
}

TEST_F(FilePrimitives, FailedCopiesAndMovesKeepEveryFile)
{
    Drive.WriteFile("source.txt", "source");
    Drive.WriteFile("target.txt", "target");
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    MyCopyFile(Drive.Path("source.txt"), Drive.Path("target.txt"), true, false);
    EXPECT_EQ(host::ERROR_DISK_FULL, FunStatContext.SystemErrorCode);

    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED);
    MyMoveFile(Drive.Path("source.txt"), Drive.Path("target.txt"), true);
    EXPECT_EQ("Failed to move file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, FunStatContext.SystemErrorCode);

    host::InjectFault(host::HostCall::Open, host::ERROR_NOT_ENOUGH_MEMORY);
    MyCopyFile(Drive.Path("source.txt"), Drive.Path("new.txt"), true, false);
    EXPECT_EQ(fsError, FunStatContext.Status) << "out of memory is a failure";

    EXPECT_EQ("source", Drive.ReadFile("source.txt"));
    EXPECT_EQ("target", Drive.ReadFile("target.txt"));
    EXPECT_EQ((std::vector<std::string>{"source.txt", "target.txt"}), Tree(Drive));
}

// A read-only file moved to another file system arrives writable; moved between two
// letters on one file system it is only renamed and stays read-only.
TEST_F(FilePrimitives, MoveClearsReadOnlyOnlyAcrossFileSystems)
{
    TTempDrive otherLetter('U');
    TTempDrive memory('V', "/dev/shm");
    Drive.WriteFile("ro.txt", "ro");
    MakeReadOnly(Drive, "ro.txt");
    MyMoveFile(Drive.Path("ro.txt"), Drive.Path("moved.txt"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(IsReadOnly(Drive, "moved.txt"));

    MyMoveFile(Drive.Path("moved.txt"), otherLetter.Path("moved.txt"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(IsReadOnly(otherLetter, "moved.txt"));
    EXPECT_FALSE(Drive.Exists("moved.txt"));

    struct stat here = {}, there = {};
    stat(Drive.HostPath().c_str(), &here);
    stat(memory.HostPath().c_str(), &there);
    if (here.st_dev == there.st_dev)
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    MyMoveFile(otherLetter.Path("moved.txt"), memory.Path("moved.txt"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(IsReadOnly(memory, "moved.txt"));
    EXPECT_FALSE(otherLetter.Exists("moved.txt"));
}

TEST_F(FilePrimitives, RefusedMovesLeaveReadOnlyFilesAsTheyWere)
{
    TTempDrive other('U');
    Drive.WriteFile("ro.txt", "source");
    MakeReadOnly(Drive, "ro.txt");
    for (const TTempDrive* to : {&Drive, &other}) {
        to->WriteFile("target.txt", "target");
        MakeReadOnly(*to, "target.txt");
        MyMoveFile(Drive.Path("ro.txt"), to->Path("target.txt"), false);
        EXPECT_EQ("Failed to move file.", FunStatContext.Description);
        EXPECT_TRUE(IsReadOnly(Drive, "ro.txt"));
        EXPECT_TRUE(IsReadOnly(*to, "target.txt"));
        EXPECT_EQ("target", to->ReadFile("target.txt"));
    }
}

// A read-only target is made writable on the way to its replace; a replace that does not
// go through leaves its mode exactly as it was, group and other bits included.
TEST_F(FilePrimitives, AFailedReplaceKeepsTheTargetsMode)
{
    TTempDrive shm('U', "/dev/shm");
    Drive.WriteFile("big.bin", std::string(5 * 1024 * 1024, 's'));
    struct Row
    {
        const char* Name;
        const TTempDrive* To;
        const char* Relative;
        fs::perms Mode;
        host::HostCall Call;
        uint32_t Code;
        std::function<void(const std::string& target)> Act;
    };
    const auto copy = [&](const std::string& target) { MyCopyFile(Drive.Path("source.txt"), target, true, false); };
    const auto move = [&](const std::string& target) { MyMoveFile(Drive.Path("source.txt"), target, true); };
    const auto rename = [&](const std::string& target) { MyRenameFile(Drive.Path("source.txt"), target, true); };
    const auto cancelledCopy = [&](const std::string& target) {
        FileUnitLoader.OnProgress = [](double) { return false; };
        MyCopyFile(Drive.Path("big.bin"), target, true, false);
        FileUnitLoader.OnProgress = nullptr;
    };
    const auto tree = [&](const std::string&) {
        TModalScript noBox; // a file that could not be copied is counted, not shown
        CopyDeleteDirectory(Drive.Path("tree"), Drive.Path("copied"));
    };
    const char* target = "target.txt";
    const Row rows[] = {
        {"copy, disk full", &Drive, target, fs::perms(0444), host::HostCall::Write, host::ERROR_DISK_FULL, copy},
        {"copy, group may write", &Drive, target, fs::perms(0464), host::HostCall::Write, host::ERROR_DISK_FULL, copy},
        {"copy, cancelled", &Drive, target, fs::perms(0444), host::HostCall::Count, 0, cancelledCopy},
        {"move, refused rename", &Drive, target, fs::perms(0444), host::HostCall::Rename, host::ERROR_ACCESS_DENIED,
         move},
        {"move across file systems, disk full", &shm, target, fs::perms(0440), host::HostCall::Write,
         host::ERROR_DISK_FULL, move},
        {"rename, refused", &Drive, target, fs::perms(0444), host::HostCall::Rename, host::ERROR_ACCESS_DENIED, rename},
        {"tree copy, disk full", &Drive, "copied/target.txt", fs::perms(0444), host::HostCall::Write,
         host::ERROR_DISK_FULL, tree},
    };
    struct stat here = {}, there = {};
    stat(Drive.HostPath().c_str(), &here);
    stat(shm.HostPath().c_str(), &there);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        if (row.To == &shm && here.st_dev == there.st_dev)
            continue; // /dev/shm is not a file system of its own here
        Drive.WriteFile("source.txt", "source");
        Drive.WriteFile("tree/target.txt", "source");
        const std::string relative = row.Relative;
        row.To->WriteFile(relative, "target");
        fs::permissions(row.To->HostPath(relative), row.Mode);
        if (row.Call != host::HostCall::Count)
            host::InjectFault(row.Call, row.Code, 0, 100);
        row.Act(row.To->Path(relative));
        host::ClearFaults();
        EXPECT_EQ(row.Mode, fs::status(row.To->HostPath(relative)).permissions() & fs::perms::all);
        EXPECT_EQ("target", row.To->ReadFile(relative));
        EXPECT_TRUE(Drive.Exists("source.txt"));
        EXPECT_EQ(row.Call == host::HostCall::Count ? fsPerfect : fsError, FunStatContext.Status);
        FunStatContext.Reset(fsPerfect);
        fs::permissions(row.To->HostPath(relative), fs::perms(0644));
    }
}

TEST_F(FilePrimitives, ADeleteRefusedAfterClearingReadOnlyKeepsTheMode)
{
    Drive.WriteFile("ro.txt", "data");
    MakeReadOnly(Drive, "ro.txt");
    // The first delete meets the read-only file; the second, after clearing, is refused.
    host::InjectFault(host::HostCall::Delete, host::ERROR_SHARING_VIOLATION, 1);
    MyDeleteFile(Drive.Path("ro.txt"));
    EXPECT_EQ(host::ERROR_SHARING_VIOLATION, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(Drive.Exists("ro.txt"));
    EXPECT_EQ(fs::perms(0444), fs::status(Drive.HostPath("ro.txt")).permissions() & fs::perms::all);
}

TEST_F(FilePrimitives, CancelledMoveAcrossFileSystemsKeepsTheSource)
{
    TTempDrive other('U', "/dev/shm");
    Drive.WriteFile("a.bin", std::string(5 * 1024 * 1024, 'a'));
    FileUnitLoader.OnProgress = [](double) { return false; };
    MyMoveFile(Drive.Path("a.bin"), other.Path("a.bin"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(Drive.Exists("a.bin"));
    EXPECT_FALSE(other.Exists("a.bin"));
}

TEST_F(FilePrimitives, RenameReplacesAtomicallyAndKeepsCaseChanges)
{
    Drive.WriteFile("a.txt", "a");
    Drive.WriteFile("b.txt", "b");
    MyRenameFile(Drive.Path("a.txt"), Drive.Path("b.txt"), false);
    EXPECT_EQ("Failed to rename.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, FunStatContext.SystemErrorCode);
    EXPECT_EQ("a", Drive.ReadFile("a.txt"));

    MakeReadOnly(Drive, "b.txt");
    MyRenameFile(Drive.Path("a.txt"), Drive.Path("b.txt"), true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("a", Drive.ReadFile("b.txt"));

    MyRenameFile(Drive.Path("b.txt"), Drive.Path("B.TXT"), true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"B.TXT"}), Tree(Drive));
}

TEST_F(FilePrimitives, DeleteTakesReadOnlyFilesAndReportsMissingOnes)
{
    Drive.WriteFile("ro.txt", "");
    MakeReadOnly(Drive, "ro.txt");
    MyDeleteFile(Drive.Path("ro.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(Drive.Exists("ro.txt"));
    MyDeleteFile(Drive.Path("ro.txt"));
    EXPECT_EQ("Failed to delete file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
}

TEST_F(FilePrimitives, DeletingATreeNeverFollowsLinksOutOfIt)
{
    TTempDrive outside('U');
    outside.WriteFile("keep/precious.txt", "precious");
    Drive.WriteFile("tree/sub/ro.txt", "");
    Drive.WriteFile("tree/.hidden", "");
    MakeReadOnly(Drive, "tree/sub/ro.txt");
    MakeReadOnly(Drive, "tree/sub");
    fs::create_directory_symlink(outside.HostPath("keep"), Drive.HostPath("tree/folder-link"));
    fs::create_symlink(outside.HostPath("keep/precious.txt"), Drive.HostPath("tree/file-link"));
    fs::create_directory_symlink(outside.HostPath("keep"), Drive.HostPath("top-link"));

    DeleteDirectoryNoErrors(Drive.Path("tree"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"top-link"}), Tree(Drive));
    DeleteDirectoryNoErrors(Drive.Path("top-link"));
    EXPECT_TRUE(Tree(Drive).empty());
    EXPECT_EQ("precious", outside.ReadFile("keep/precious.txt"));

    DeleteDirectoryNoErrors(Drive.Path("missing"));
    EXPECT_EQ("Can not find directory.", FunStatContext.Description);
}

TEST_F(FilePrimitives, CopyingATreeLeavesOutHiddenAndSystemEntries)
{
    Drive.WriteFile("src/a.txt", "a");
    Drive.WriteFile("src/.hidden.txt", "h");
    Drive.WriteFile("src/.hidden-dir/x.txt", "x");
    Drive.WriteFile("src/sub/b.txt", "b");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("src/pipe").c_str(), 0600));
    fs::create_directory_symlink(Drive.HostPath("src"), Drive.HostPath("src/loop"));
    Drive.WriteFile("dst/a.txt", "old");
    MakeReadOnly(Drive, "dst/a.txt");

    CopyDeleteDirectory(Drive.Path("src"), Drive.Path("dst"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("a", Drive.ReadFile("dst/a.txt"));
    EXPECT_EQ("b", Drive.ReadFile("dst/sub/b.txt"));
    EXPECT_FALSE(Drive.Exists("dst/.hidden.txt"));
    EXPECT_FALSE(Drive.Exists("dst/.hidden-dir"));
    EXPECT_FALSE(Drive.Exists("dst/pipe"));
    EXPECT_FALSE(Drive.Exists("dst/loop"));
}

TEST_F(FilePrimitives, ATreeOfNamesWithForeignBytesCopiesMovesAndDeletesWhole)
{
    const std::string source = Drive.HostPath("src");
    fs::create_directories(source + "/dir:\n");
    std::ofstream(source + "/dir:\n/in\\side", std::ios::binary) << "inside";
    for (const std::string& name : HostNamesWithForeignBytes())
        std::ofstream(source + "/" + name, std::ios::binary) << name;
    const auto below = [&](const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(Drive.HostPath(folder)))
            names.push_back(entry.path().lexically_relative(Drive.HostPath(folder)).string());
        std::sort(names.begin(), names.end());
        return names;
    };

    CopyDeleteDirectory(Drive.Path("src"), Drive.Path("dst"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    EXPECT_EQ(below("src"), below("dst"));
    for (const std::string& name : HostNamesWithForeignBytes()) {
        std::ifstream copy(Drive.HostPath("dst") + "/" + name, std::ios::binary);
        EXPECT_EQ(name, std::string(std::istreambuf_iterator<char>(copy), std::istreambuf_iterator<char>()));
    }

    MyMoveFile(Drive.Path("dst\\x\uF07Cy"), Drive.Path("dst\\dir\uF03A\uF00A\\moved\uF03F"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(fs::exists(Drive.HostPath("dst") + "/dir:\n/moved?"));
    MyRenameFile(Drive.Path("dst\\x\uF009y"), Drive.Path("dst\\x\uF00Dy"), true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    MyDeleteFile(Drive.Path("dst\\x\uF022y"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(below("src").size() - 2, below("dst").size());

    DeleteDirectoryNoErrors(Drive.Path("dst"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(Drive.Exists("dst"));
}

TEST_F(FilePrimitives, CopyingATreeCountsWhatCouldNotBeCopied)
{
    Drive.WriteFile("src/a.txt", "a");
    Drive.WriteFile("src/sub/b.txt", "b");
    Drive.WriteFile("src/sub/c.txt", "c");
    struct Row
    {
        const char* Name;
        host::HostCall Call;
        uint32_t Code;
        int Skip;
        int Count;
        int Failures;
        size_t FilesCopied;
        size_t Boxes;
    };
    // Files that cannot be copied are only counted; the box names a folder's failure.
    const Row rows[] = {
        {"an unreadable file", host::HostCall::Open, host::ERROR_ACCESS_DENIED, 1, 1, 1, 2, 0},
        {"a full disk", host::HostCall::Write, host::ERROR_DISK_FULL, 0, 100, 3, 0, 0},
        {"a folder that cannot be made", host::HostCall::CreateDirectory, host::ERROR_ACCESS_DENIED, 1, 1, 1, 1, 1},
    };
    for (const Row& row : rows) {
        fs::remove_all(Drive.HostPath("dst"));
        TModalScript boxes;
        if (row.Boxes > 0)
            boxes.Expect("Error", IDOK);
        host::InjectFault(row.Call, row.Code, row.Skip, row.Count);
        EXPECT_EQ(row.Failures, CopyDeleteDirectory(Drive.Path("src"), Drive.Path("dst"))) << row.Name;
        host::ClearFaults();
        EXPECT_EQ(fsError, FunStatContext.Status) << row.Name;
        EXPECT_EQ("Failed to copy file.", FunStatContext.Description) << row.Name;
        EXPECT_EQ(row.Code, FunStatContext.SystemErrorCode) << row.Name;
        EXPECT_EQ(row.Boxes, boxes.Seen().size()) << row.Name << ": at most one box for the whole tree";
        size_t files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(Drive.HostPath("dst")))
            files += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(row.FilesCopied, files) << row.Name;
    }
    fs::remove_all(Drive.HostPath("dst"));
    EXPECT_EQ(0, CopyDeleteDirectory(Drive.Path("src"), Drive.Path("dst")));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FilePrimitives, StreamsTheTargetCannotHoldAreNamedUnlessTheyMayGo)
{
    TTempDrive other('U', "/dev/shm");
    const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
    if (!reason.empty())
        GTEST_SKIP() << reason;
    struct stat here = {}, there = {};
    stat(Drive.HostPath().c_str(), &here);
    stat(other.HostPath().c_str(), &there);
    if (here.st_dev == there.st_dev)
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    Drive.WriteFile("a.txt", "content");
    for (const char* name : {"user.Description", "user.Thumb"})
        ASSERT_EQ(0, setxattr(Drive.HostPath("a.txt").c_str(), name, "x", 1, 0));
    struct Row
    {
        const char* Name;
        std::function<void()> Act;
        const char* Failure;
    };
    const Row rows[] = {
        {"copy", [&] { MyCopyFile(Drive.Path("a.txt"), other.Path("a.txt"), false, false); }, "copy"},
        {"move", [&] { MyMoveFile(Drive.Path("a.txt"), other.Path("a.txt"), false); }, "move"},
        {"move dropping streams", [&] { MyMoveFile(Drive.Path("a.txt"), other.Path("a.txt"), false, true); }, nullptr},
    };
    for (const Row& row : rows) {
        // The target's file system holds no streams.
        host::InjectFault(host::HostCall::CopyStream, host::ERROR_NOT_SUPPORTED);
        row.Act();
        host::ClearFaults();
        if (row.Failure == nullptr) {
            EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.Name;
            EXPECT_FALSE(Drive.Exists("a.txt")) << row.Name;
            EXPECT_EQ("content", other.ReadFile("a.txt")) << row.Name;
            continue;
        }
        EXPECT_EQ(fsError, FunStatContext.Status) << row.Name;
        EXPECT_EQ(host::ERROR_NOT_SUPPORTED, FunStatContext.SystemErrorCode) << row.Name;
        EXPECT_NE(std::string::npos, FunStatContext.Description.find("Description")) << FunStatContext.Description;
        EXPECT_NE(std::string::npos, FunStatContext.Description.find("Thumb")) << FunStatContext.Description;
        EXPECT_EQ("content", Drive.ReadFile("a.txt")) << row.Name;
        EXPECT_FALSE(other.Exists("a.txt")) << row.Name;
    }
}

TEST_F(FilePrimitives, CopyingATreeReportsEachFailingLevel)
{
    Drive.WriteFile("src/a.txt", "a");
    TModalScript boxes;
    boxes.Expect("Error", IDOK).Expect("Error", IDOK);
    CopyDeleteDirectory(Drive.Path("src"), "");
    EXPECT_EQ("Empty destination name.", FunStatContext.Description);
    CopyDeleteDirectory(Drive.Path("src"), Drive.Path("src\\inside"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_FALSE(Drive.Exists("src/inside"));
    EXPECT_EQ("Failed to process directory.", boxes.Seen().at(0).Text);
    EXPECT_EQ(MB_ICONHAND | MB_OKCANCEL, boxes.Seen().at(0).Flags);
}

TEST_F(FilePrimitives, ATreeIsCopiedIntoAFolderWhoseNameDiffersOnlyInCase)
{
    Drive.WriteFile("Data/a.txt", "a");
    fs::create_directory(Drive.HostPath("data"));
    CopyDeleteDirectory(Drive.Path("Data"), Drive.Path("data\\copy"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("a", Drive.ReadFile("data/copy/a.txt"));
}

TEST_F(FilePrimitives, ATreeIsNeverCopiedIntoItselfThroughAFolderLink)
{
    Drive.WriteFile("src/a.txt", "a");
    fs::create_directory_symlink(Drive.HostPath("src"), Drive.HostPath("link"));
    TModalScript boxes;
    boxes.Expect("Error", IDOK);
    CopyDeleteDirectory(Drive.Path("src"), Drive.Path("link\\inside"));
    EXPECT_EQ("Can not copy a directory into itself.", FunStatContext.Description);
    EXPECT_FALSE(Drive.Exists("src/inside"));
}

} // namespace
