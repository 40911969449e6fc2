#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/desktop/Clipboard.h"
#include "core/drawing/Color.h"
#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileStream.h"
#include "core/files/LinkFile.h"
#include "core/files/Partitions.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/MyTime.h"

#include "viewing/ViewerPlugins.h"

#include "host/Clock.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"

#include "support/ShownFailures.h"
#include "support/ViewerPluginFixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QStandardPaths>
#include <QTimer>

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using TBoxes = std::vector<std::pair<std::string, int>>;
using TButton = void (TFileForm::*)();

ino_t InodeOf(const std::string& hostPath)
{
    struct stat info = {};
    return lstat(hostPath.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool OnOneFileSystem(const std::string& a, const std::string& b)
{
    struct stat first = {}, second = {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

std::vector<std::string> NamesIn(const std::string& hostFolder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(hostFolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A column listing folder "src" of drive T:, an empty destination folder "dst", and the
// dialog the tests drive through its own buttons.
class FileFormEngine : public ColumnTest
{
protected:
    FileFormEngine()
    {
        MakeDirectory("dst");
        OverwriteForm = &Overwrite;
    }
    ~FileFormEngine() override
    {
        OverwriteForm = nullptr;
        host::ClearFaults();
    }

    // Lists "src" and selects the named items (none: the focused first item is used).
    void List(const std::vector<std::string>& selected)
    {
        Open(Source, Drive.Path("src\\") + (selected.empty() ? std::string("zzz") : selected.front()));
        for (const std::string& name : selected)
            Source.SelectItem(Source.IndexOfName(name));
    }

    // Shows the dialog for the operation, lets `prepare` set its inputs, presses `button`
    // and answers the boxes that follow in order. The dialog's own result.
    int Run(const std::string& operation, const std::string& destination, TButton button, const TBoxes& boxes = {},
            const std::function<void()>& prepare = {})
    {
        TModalScript script;
        script.Expect(operation, mrOkay, [&](const TModalRequest&) {
            if (prepare)
                prepare();
            (Form.*button)();
        });
        for (const auto& [caption, answer] : boxes)
            script.Expect(caption, answer);
        Form.Dialog(!destination.empty(), operation, *Column, Container, Column->FileList->FocusIndex, SourceFolder,
                    destination, "", UseGivenSource, false);
        Seen = script.Seen();
        return Form.result();
    }

    void SetInclude(const std::string& filter)
    {
        Form.IncludeFilterComboBox->setEditText(QString::fromStdString(filter));
    }
    void SetPrefix(const std::string& prefix) { Form.PrefixComboBox->setEditText(QString::fromStdString(prefix)); }

    // The text of the n-th request seen (0 is the dialog itself).
    std::string SeenText(size_t index) const { return index < Seen.size() ? Seen[index].Text : std::string(); }

    std::string Destination() const { return Drive.Path("dst\\"); }

    TColumn& Source = MakeColumn();
    TColumn* Column = &Source;
    TContainer* Container = nullptr;
    std::string SourceFolder = Drive.Path("src\\");
    bool UseGivenSource = false;
    TOverwriteForm Overwrite;
    TFileForm Form;
    std::vector<TModalRequest> Seen;
};

const std::string OverwriteCaption = "Overwrite destination with source ?";

TEST_F(FileFormEngine, CopyKeepsBytesTimesPermissionsAndStreams)
{
    MakeFile("src/d/sub/a.txt", 5, 600);
    MakeFile("src/d/b.bin", 3);
    fs::permissions(Drive.HostPath("src/d/sub/a.txt"), fs::perms(0640));
    const bool streams = PartitionSupportsStreams(Drive.Path("src\\"));
    if (streams) {
        AddFileStream(Drive.Path("src\\d\\sub\\a.txt"), "Description");
        WriteFileStream(Drive.Path("src\\d\\sub\\a.txt"), "Description", "note");
    }
    List({"d"});

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayButtonClick));

    EXPECT_EQ(std::string(5, 'x'), Drive.ReadFile("dst/d/sub/a.txt"));
    EXPECT_EQ(std::string(3, 'x'), Drive.ReadFile("dst/d/b.bin"));
    EXPECT_EQ(fs::last_write_time(Drive.HostPath("src/d/sub/a.txt")),
              fs::last_write_time(Drive.HostPath("dst/d/sub/a.txt")));
    EXPECT_EQ(fs::perms(0640), fs::status(Drive.HostPath("dst/d/sub/a.txt")).permissions() & fs::perms::all);
    if (streams) {
        EXPECT_EQ("note", ReadFileStream(Drive.Path("dst\\d\\sub\\a.txt"), "Description", 0));
    }
    EXPECT_TRUE(Drive.Exists("src/d/sub/a.txt"));
    EXPECT_FALSE(Source.GetItem(Source.IndexOfName("d")).Selected) << "a processed item is deselected";
    EXPECT_EQ(2, Form.FileCount);
    EXPECT_EQ(2, Form.DirectoryCount);
    EXPECT_EQ(8, Form.SizeSeen);
    EXPECT_THAT(Form.GetStatusText(-1),
                testing::MatchesRegex("Errors 0 \\| Directories 2 \\| Files 2 \\| Size .* \\| Time 00:00:0[0-9]"));
}

// A ramfs holds no user attributes and reports no size. After "Okay" on the stream
// question every file arrives without its streams, asked nothing more and with no error.
TEST_F(FileFormEngine, AfterOkayOnTheStreamQuestionFilesGoWithoutTheirStreams)
{
    TRamFileSystem ram;
    if (!ram.SkipReason().empty())
        GTEST_SKIP() << ram.SkipReason();
    const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
    if (!reason.empty())
        GTEST_SKIP() << reason;
    TTempDrive memory('R', ram.HostPath());
    const std::string question = "There are file streams in the source files, but the destination partition\n"
                                 "doesn't support file streams. Therefore streams will not be in the\n"
                                 "destination files.\n\nClick \"Okay\" to CONTINUE.";
    for (const std::string operation : {"Copy", "Move"}) {
        SCOPED_TRACE(operation);
        MakeFile("src/download.txt", 4);
        MakeFile("src/d/noted.txt", 3);
        MakeFile("src/d/plain.txt", 2);
        ASSERT_EQ(0, setxattr(Drive.HostPath("src/download.txt").c_str(), "user.xdg.origin.url", "u", 1, 0));
        AddFileStream(Drive.Path("src\\d\\noted.txt"), "Description");
        WriteFileStream(Drive.Path("src\\d\\noted.txt"), "Description", "note");
        List({"download.txt", "d"});

        EXPECT_EQ(mrOkay, Run(operation, memory.Path(), &TFileForm::OkayButtonClick, {{"Query", IDOK}}));

        EXPECT_EQ(question, SeenText(1));
        EXPECT_EQ(0, Form.ErrorCount);
        EXPECT_EQ(std::string(4, 'x'), memory.ReadFile("download.txt"));
        EXPECT_EQ(std::string(3, 'x'), memory.ReadFile("d/noted.txt"));
        EXPECT_EQ(std::string(2, 'x'), memory.ReadFile("d/plain.txt"));
        EXPECT_EQ(operation == "Copy", Drive.Exists("src/download.txt"));
        EXPECT_EQ(operation == "Copy", Drive.Exists("src/d"));
        Remove("src");
        fs::remove_all(memory.HostPath("d"));
        fs::remove(memory.HostPath("download.txt"));
    }
}

TEST_F(FileFormEngine, AnUnfilteredMoveOfAFolderOnOneFileSystemIsOneRename)
{
    MakeFile("src/d/sub/a.txt", 5);
    const ino_t folder = InodeOf(Drive.HostPath("src/d"));
    List({"d"});

    EXPECT_EQ(mrOkay, Run("Move", Destination(), &TFileForm::OkayButtonClick));

    EXPECT_FALSE(Drive.Exists("src/d"));
    EXPECT_EQ(folder, InodeOf(Drive.HostPath("dst/d")));
    EXPECT_EQ(1, Form.DirectoryCount) << "the folder was not walked";
    EXPECT_EQ(0, Form.FileCount);
}

TEST_F(FileFormEngine, AFolderRenameRefusedAcrossMountsIsWalkedInstead)
{
    MakeFile("src/d/a.txt", 5);
    const ino_t folder = InodeOf(Drive.HostPath("src/d"));
    const ino_t file = InodeOf(Drive.HostPath("src/d/a.txt"));
    List({"d"});
    // A bind mount: one file system, yet the folder's rename fails as across devices.
    host::InjectFault(host::HostCall::Rename, host::ERROR_NOT_SAME_DEVICE);

    EXPECT_EQ(mrOkay, Run("Move", Destination(), &TFileForm::OkayButtonClick));

    EXPECT_FALSE(Drive.Exists("src/d"));
    EXPECT_NE(folder, InodeOf(Drive.HostPath("dst/d")));
    EXPECT_EQ(file, InodeOf(Drive.HostPath("dst/d/a.txt")));
    EXPECT_EQ(0, Form.ErrorCount);
}

TEST_F(FileFormEngine, AFilteredMoveTakesTheMatchesAndKeepsTheFolderOfTheRest)
{
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/d/b.log", 2);
    MakeFile("src/d/sub/c.txt", 3);
    List({"d"});

    EXPECT_EQ(mrOkay, Run("Move", Destination(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}},
                          [&] { SetInclude("*.txt"); }));

    EXPECT_EQ("There were 1 errors.", SeenText(1));
    EXPECT_EQ((std::vector<std::string>{"b.log"}), NamesIn(Drive.HostPath("src/d")));
    EXPECT_EQ((std::vector<std::string>{"a.txt", "sub"}), NamesIn(Drive.HostPath("dst/d")));
    EXPECT_TRUE(Drive.Exists("dst/d/sub/c.txt"));
    EXPECT_EQ(3, Form.FileCount) << "a filtered-out file is counted";
    EXPECT_EQ(4, Form.SizeSeen) << "but its size is not";
}

TEST_F(FileFormEngine, AMoveToAnotherFileSystemWalksAndTheSourceGoesOnlyAfterItsFileArrived)
{
    TTempDrive other('S', "/dev/shm");
    if (OnOneFileSystem(Drive.HostPath(), other.HostPath()))
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/d/b.txt", 2);
    MakeFile("src/d/c.txt", 3);
    List({"d"});
    // Each small file takes two writes (its bytes, then the end): the second file's copy fails.
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL, 2);

    EXPECT_EQ(mrOkay, Run("Move", other.Path(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}));

    // The folder that still holds the failed file cannot go either.
    EXPECT_EQ("There were 2 errors.", SeenText(1));
    ASSERT_EQ(1u, NamesIn(Drive.HostPath("src/d")).size());
    const std::string kept = NamesIn(Drive.HostPath("src/d")).front();
    std::vector<std::string> arrived = NamesIn(other.HostPath("d"));
    EXPECT_EQ(2u, arrived.size());
    EXPECT_EQ(arrived.end(), std::find(arrived.begin(), arrived.end(), kept));
    for (const std::string& name : arrived)
        EXPECT_EQ(name == "a.txt" ? 1u : name == "b.txt" ? 2u : 3u, fs::file_size(other.HostPath("d/" + name)));
}

TEST_F(FileFormEngine, AFolderIsNeverCopiedIntoItself)
{
    MakeFile("src/d/sub/a.txt", 1);
    List({"d"});
    TShownFailures failures;
    {
        TModalScript script;
        script.Expect("Copy", mrOkay, [&](const TModalRequest&) { Form.OkayButtonClick(); });
        failures.Expect(script, "Error");
        script.Expect("Warning", IDOK);
        Form.Dialog(true, "Copy", Source, nullptr, 0, SourceFolder, Drive.Path("src\\d\\sub\\"), "", false, false);
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to Copy directory content."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Can not Copy recursively."));
    EXPECT_EQ((std::vector<std::string>{"a.txt"}), NamesIn(Drive.HostPath("src/d/sub")));
}

TEST_F(FileFormEngine, CompareListsTheNewerAndTheMissingFiles)
{
    MakeFile("src/a.txt", 1, 10);
    MakeFile("dst/a.txt", 1, 20);
    MakeFile("src/b.txt", 1, 20);
    MakeFile("dst/b.txt", 1, 10);
    MakeFile("src/c.txt", 1);
    List({"a.txt", "b.txt", "c.txt"});

    EXPECT_EQ(mrOkay, Run("Compare", Destination(), &TFileForm::OkayButtonClick, {{"Message", IDOK}}));

    EXPECT_EQ(Drive.Path("src\\a.txt") + "\r\nNOT_AT_DESTINATION=" + Drive.Path("src\\c.txt") + "\r\n",
              CopyTextFromClipboard());
    EXPECT_THAT(SeenText(1), testing::StartsWith("There are 2 newer files in source (1 are common).\nErrors 0 | "));
    EXPECT_EQ(1, Form.ExistingCount);
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), NamesIn(Drive.HostPath("dst"))) << "nothing is written";
}

// What a comparison finds for each kind of namesake at the destination, whether the files
// lie inside a selected folder (whose destination folder is listed once), inside it while
// that listing fails (each file is then looked up), or are selected themselves (each file
// looked up): the same lines and counts every way. Names are told apart by letter case.
TEST_F(FileFormEngine, CompareFindsTheSameWhetherTheDestinationFolderIsListedOrEachFileLookedUp)
{
    const char* const names[] = {"same.txt", "newer.txt", "older.txt", "missing.txt",
                                 "case.txt", "link.txt",  "dangling.txt"};
    for (const char* name : names)
        MakeFile(std::string("src/d/") + name, 2, 10);
    MakeFile("dst/d/same.txt", 2, 10);
    MakeFile("dst/d/newer.txt", 2, 20);
    MakeFile("dst/d/older.txt", 2, 5);
    MakeFile("dst/d/CASE.TXT", 2, 20);
    // The link stands for the newer file it names, not for its own entry (no size, made now).
    MakeFile("dst/target.bin", 2, 5);
    fs::create_symlink("../target.bin", Drive.HostPath("dst/d/link.txt"));
    fs::create_symlink("nowhere", Drive.HostPath("dst/d/dangling.txt"));
    const auto line = [&](const std::string& prefix, const std::string& name) {
        return prefix + Drive.Path("src\\d\\") + name;
    };
    const std::vector<std::string> expected = {line("NOT_AT_DESTINATION=", "case.txt"),
                                               line("NOT_AT_DESTINATION=", "missing.txt"), line("", "dangling.txt"),
                                               line("", "newer.txt")};
    const auto sortedLines = [] {
        std::vector<std::string> lines;
        const std::string text = CopyTextFromClipboard();
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const auto compare = [&](const std::string& destination) {
        EXPECT_EQ(mrOkay, Run("Compare", destination, &TFileForm::OkayButtonClick, {{"Message", IDOK}}));
        EXPECT_EQ(expected, sortedLines());
        EXPECT_THAT(SeenText(1), testing::StartsWith("There are 4 newer files in source (2 are common).\nErrors 0 | "));
    };

    List({"d"});
    compare(Destination());
    // The source folder's listing goes through; the destination folder's is refused.
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED, 1);
    compare(Destination());
    EXPECT_FALSE(host::TakeFault(host::HostCall::List)) << "the refusal was met";
    host::ClearFaults();
    SourceFolder = Drive.Path("src\\d\\");
    Open(Source, SourceFolder + "same.txt");
    for (const char* name : names)
        Source.SelectItem(Source.IndexOfName(name));
    compare(Drive.Path("dst\\d\\"));
}

TEST_F(FileFormEngine, AbortOnTheSecondOfThreeItemsKeepsTheRestSelectedWithoutAFinalBox)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        MakeFile(std::string("src/") + name, 2);
        MakeFile(std::string("dst/") + name, 1);
    }
    List({"a.txt", "b.txt", "c.txt"});

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayButtonClick,
                          {{OverwriteCaption, TOverwriteForm::ModalResultOf(ocOverThis)},
                           {OverwriteCaption, TOverwriteForm::ModalResultOf(ocAbort)}}));

    EXPECT_EQ(std::string(2, 'x'), Drive.ReadFile("dst/a.txt"));
    EXPECT_EQ("x", Drive.ReadFile("dst/b.txt"));
    EXPECT_EQ("x", Drive.ReadFile("dst/c.txt"));
    EXPECT_FALSE(Source.GetItem(Source.IndexOfName("a.txt")).Selected);
    EXPECT_TRUE(Source.GetItem(Source.IndexOfName("b.txt")).Selected);
    EXPECT_TRUE(Source.GetItem(Source.IndexOfName("c.txt")).Selected);
}

// The copy finds an existing target by creating it exclusively; the question then shows
// both files as before, and the files whose targets are free go without one.
TEST_F(FileFormEngine, AnExistingTargetFoundByTheCopyAsksWithBothFilesShown)
{
    struct Row
    {
        TOverwriteChoice Answer;
        std::string Target;
    };
    for (const Row& row : {Row{ocSkipThis, "x"}, Row{ocOverThis, "xxxxx"}}) {
        SCOPED_TRACE(row.Answer);
        Remove("dst/d");
        MakeFile("src/d/new.txt", 3);
        MakeFile("src/d/old.txt", 5, 10);
        MakeFile("dst/d/old.txt", 1, 20);
        TFileInfo source;
        source.Load(Drive.Path("src\\d\\old.txt"));
        TFileInfo destination;
        destination.Load(Drive.Path("dst\\d\\old.txt"));
        List({"d"});

        EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayButtonClick,
                              {{OverwriteCaption, TOverwriteForm::ModalResultOf(row.Answer)}}));

        EXPECT_EQ(2u, Seen.size()) << "one question, no other box";
        EXPECT_EQ("Source (newer)", Overwrite.SourceSide.GroupBox->title().toStdString());
        EXPECT_EQ(Drive.Path("src\\d\\"), Overwrite.SourceSide.DirectoryLabel->text().toStdString());
        EXPECT_EQ(Drive.Path("dst\\d\\"), Overwrite.DestSide.DirectoryLabel->text().toStdString());
        EXPECT_EQ("old.txt", Overwrite.DestSide.FileLabel->text().toStdString());
        EXPECT_EQ(GetSizeText(14, 0, 5), Overwrite.SourceSide.SizeLabel->text().toStdString());
        EXPECT_EQ(GetSizeText(14, 0, 1), Overwrite.DestSide.SizeLabel->text().toStdString());
        EXPECT_EQ(GetTimeDayUnitsText(source.Modified), Overwrite.SourceSide.ClockLabel->text().toStdString());
        EXPECT_EQ(GetTimeDayUnitsText(destination.Modified), Overwrite.DestSide.ClockLabel->text().toStdString());
        EXPECT_EQ(row.Target, Drive.ReadFile("dst/d/old.txt"));
        EXPECT_EQ("xxx", Drive.ReadFile("dst/d/new.txt"));
        EXPECT_EQ((std::vector<std::string>{"new.txt", "old.txt"}), NamesIn(Drive.HostPath("dst/d")));
        EXPECT_EQ(row.Answer == ocOverThis ? 1 : 0, Form.ExistingCount) << "a skipped file is not counted";
        EXPECT_EQ(0, Form.ErrorCount);
    }
}

// The event loop turns by time, also inside a file's copy: with a clock that moves on,
// "&Cancel" stops the copy there, and nothing of it is left in the destination.
TEST_F(FileFormEngine, CancelInsideAFileLeavesNoPartialTarget)
{
    const size_t size = 9 * 1024 * 1024 + 7;
    MakeFile("src/big.bin", size);
    List({"big.bin"});
    uint32_t tick = 0;
    host::SetTickCountSource([&] { return tick += 30; });
    // The copy is under way while the program holds a file of the destination open.
    const auto writingIntoDestination = [&] {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error))
            if (fs::read_symlink(entry.path(), error).string().starts_with(Drive.HostPath("dst") + "/"))
                return true;
        return false;
    };
    int cancels = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (cancels == 0 && writingIntoDestination()) {
            ++cancels;
            Form.CancelButtonClick();
        }
    });
    watch.start(0);

    Run("Copy", Destination(), &TFileForm::OkayButtonClick);
    watch.stop();
    host::SetTickCountSource({});

    EXPECT_EQ(1, cancels) << "the cancel came while the target was being written";
    EXPECT_TRUE(Form.Stop);
    EXPECT_EQ(std::vector<std::string>{}, NamesIn(Drive.HostPath("dst")));
    EXPECT_EQ(size, fs::file_size(Drive.HostPath("src/big.bin")));
    EXPECT_EQ(0, Form.ErrorCount) << "a cancel is no failure";
}

TEST_F(FileFormEngine, RecycleTakesAnUnfilteredFolderWholeAndAFilteredOneFileByFile)
{
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/e/b.txt", 1);
    MakeFile("src/e/c.log", 1);
    const std::string trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/Trash/files/";
    fs::remove_all(trash);
    List({"d"});

    EXPECT_EQ(mrOkay, Run("Recycle", "", &TFileForm::OkayButtonClick));
    EXPECT_FALSE(Drive.Exists("src/d"));
    EXPECT_EQ((std::vector<std::string>{"d"}), NamesIn(trash));
    EXPECT_EQ(0, Form.FileCount) << "one step, no walk";

    List({"e"});
    EXPECT_EQ(mrOkay, Run("Recycle", "", &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}},
                          [&] { SetInclude("*.txt"); }));
    EXPECT_EQ((std::vector<std::string>{"b.txt", "d"}), NamesIn(trash));
    EXPECT_EQ((std::vector<std::string>{"c.log"}), NamesIn(Drive.HostPath("src/e")));
    EXPECT_EQ("There were 1 errors.", SeenText(1)) << "the folder holding c.log stays";
}

TEST_F(FileFormEngine, ConvertPictureWritesTheChosenFormatAndKeepsTheStreams)
{
    MakeDirectory("src");
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(Drive.HostPath("src/pic.bmp")), "BMP"));
    MakeFile("src/notes.txt", 4);
    const bool streams = PartitionSupportsStreams(Drive.Path("src\\"));
    if (streams) {
        AddFileStream(Drive.Path("src\\pic.bmp"), "Description");
        WriteFileStream(Drive.Path("src\\pic.bmp"), "Description", "red");
    }
    List({"pic.bmp", "notes.txt"});
    const std::vector<std::string> savedPictures = PictureFileExtensions.Entries();
    PictureFileExtensions.Assign({".bmp"});

    EXPECT_EQ(mrOkay, Run("Convert picture", Destination(), &TFileForm::OkayButtonClick, {}, [&] {
                  QComboBox& formats = *Form.ConvertPictureFormatComboBox;
                  if (formats.findText("PNG") < 0)
                      formats.addItem("PNG");
                  formats.setCurrentIndex(formats.findText("PNG"));
              }));

    PictureFileExtensions.Assign(savedPictures);
    EXPECT_EQ((std::vector<std::string>{"pic.png"}), NamesIn(Drive.HostPath("dst"))) << "text is no picture";
    const QImage converted(QString::fromStdString(Drive.HostPath("dst/pic.png")), "PNG");
    EXPECT_EQ(QSize(8, 6), converted.size());
    EXPECT_EQ(QColor(Qt::red), converted.pixelColor(3, 3));
    if (streams) {
        EXPECT_EQ("red", ReadFileStream(Drive.Path("dst\\pic.png"), "Description", 0));
    }
    EXPECT_EQ(2, Form.FileCount);
}

TEST_F(FileFormEngine, NormalizingWithoutANormalizedThumbSizeRefuses)
{
    MakeFile("src/pic.bmp", 4);
    List({"pic.bmp"});
    const TProgramOptions saved = ProgramOptions;
    ProgramOptions.NormalizeThumbWidth = false;
    ProgramOptions.NormalizeThumbHeight = false;

    EXPECT_EQ(mrCancel, Run("Convert picture", Destination(), &TFileForm::OkayButtonClick, {{"Warning", IDOK}}, [&] {
                  if (Form.ConvertPictureFormatComboBox->count() == 0)
                      Form.ConvertPictureFormatComboBox->addItem("PNG");
                  Form.NormalizePictureSizeCheckBox->setChecked(true);
              }));

    ProgramOptions = saved;
    EXPECT_EQ("The size of thumb pictures is not normalized.\nFirst, change this in the options dialog.", SeenText(1));
    EXPECT_TRUE(NamesIn(Drive.HostPath("dst")).empty());
}

TEST_F(FileFormEngine, ClipTitleOfPutsThePathsOnTheClipboard)
{
    MakeFile("src/a.txt");
    MakeFile("src/b.txt");
    MakeFile("src/c.txt");
    List({"a.txt", "c.txt"});

    EXPECT_EQ(mrOkay, Run("Clip title of", "", &TFileForm::OkayButtonClick));

    EXPECT_EQ(Drive.Path("src\\a.txt") + "\r\n" + Drive.Path("src\\c.txt") + "\r\n", CopyTextFromClipboard());
}

TEST_F(FileFormEngine, CopyAsLinkMakesALinkToEachItem)
{
    MakeFile("src/a.txt");
    MakeDirectory("src/d");
    List({"a.txt", "d"});

    EXPECT_EQ(mrOkay, Run("Copy as link", Destination(), &TFileForm::OkayButtonClick));

    EXPECT_EQ((std::vector<std::string>{"a.txt.lnk", "d.lnk"}), NamesIn(Drive.HostPath("dst")));
    EXPECT_EQ(Drive.Path("src\\a.txt"), GetWhenReference(Drive.Path("dst\\a.txt.lnk")));
    EXPECT_EQ(Drive.Path("src\\d"), GetWhenReference(Drive.Path("dst\\d.lnk")));
    EXPECT_EQ(1, Form.FileCount);
    EXPECT_EQ(1, Form.DirectoryCount);
}

TEST_F(FileFormEngine, ThePrefixGoesOnTopLevelFilesOrOnEveryFileWhenRecursed)
{
    struct Row
    {
        TButton Button;
        bool Recurse;
        std::vector<std::string> Top;
        std::vector<std::string> Inside;
    };
    const Row rows[] = {
        {&TFileForm::OkayAddPrefixButtonClick, false, {"X_20050101_a.txt", "d"}, {"20050101_b.txt"}},
        {&TFileForm::OkayReplacePrefixButtonClick, false, {"X_a.txt", "d"}, {"20050101_b.txt"}},
        {&TFileForm::OkayAddPrefixButtonClick, true, {"X_20050101_a.txt", "d"}, {"X_20050101_b.txt"}},
        {&TFileForm::OkayReplacePrefixButtonClick, true, {"X_a.txt", "d"}, {"X_b.txt"}},
        {&TFileForm::OkayButtonClick, true, {"20050101_a.txt", "d"}, {"20050101_b.txt"}},
    };
    MakeFile("src/20050101_a.txt");
    MakeFile("src/d/20050101_b.txt");
    for (const Row& row : rows) {
        Remove("dst");
        MakeDirectory("dst");
        List({"20050101_a.txt", "d"});
        Run("Copy", Destination(), row.Button, {}, [&] {
            SetPrefix("X_");
            Form.RecursePrefixCheckBox->setChecked(row.Recurse);
        });
        EXPECT_EQ(row.Top, NamesIn(Drive.HostPath("dst"))) << row.Recurse;
        EXPECT_EQ(row.Inside, NamesIn(Drive.HostPath("dst/d"))) << row.Recurse;
    }
}

TEST_F(FileFormEngine, AContainerSelectionFromTwoFoldersIsPrefixedAndRenamedAfterAMove)
{
    MakeFile("p/a.txt", 1);
    MakeFile("q/b.txt", 2);
    TContainer& container = *Window.Containers.Find(0);
    container.AddItem(Drive.Path("p\\a.txt"), 0);
    container.AddItem(Drive.Path("q\\b.txt"), 0);
    TColumn& column = MakeColumn(1);
    column.ReloadContainer(0);
    ASSERT_EQ(2, column.GetItemCount());
    column.SelectItem(0);
    column.SelectItem(1);
    Column = &column;
    Container = &container;
    SourceFolder = Drive.Path("p\\");

    EXPECT_EQ(mrOkay, Run("Move", Destination(), &TFileForm::OkayAddPrefixButtonClick, {}, [&] { SetPrefix("X_"); }));

    EXPECT_EQ((std::vector<std::string>{"X_a.txt", "X_b.txt"}), NamesIn(Drive.HostPath("dst")));
    ASSERT_EQ(2, container.Count());
    EXPECT_EQ(Drive.Path("dst\\X_a.txt"), container.Items()[0].Path);
    EXPECT_EQ(Drive.Path("dst\\X_b.txt"), container.Items()[1].Path);
}

TEST_F(FileFormEngine, ALinkedFolderInADeletedTreeGoesAsALink)
{
    MakeFile("target/t.txt", 1);
    MakeFile("src/d/a.txt", 1);
    fs::create_directory_symlink(Drive.HostPath("target"), Drive.HostPath("src/d/link"));
    fs::create_directory_symlink(Drive.HostPath("target"), Drive.HostPath("src/top-link"));
    List({"d", "top-link"});

    EXPECT_EQ(mrOkay, Run("Delete", "", &TFileForm::OkayButtonClick));

    EXPECT_FALSE(Drive.Exists("src/d"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drive.HostPath("src/top-link"))));
    EXPECT_EQ((std::vector<std::string>{"t.txt"}), NamesIn(Drive.HostPath("target")));
}

TEST_F(FileFormEngine, ALinkedFolderIsCopiedAsANewLinkToTheSameTarget)
{
    MakeFile("target/t.txt", 1);
    MakeDirectory("src");
    fs::create_directory_symlink("../target", Drive.HostPath("src/link"));
    List({"link"});

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayButtonClick));

    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(Drive.HostPath("dst/link"))));
    EXPECT_EQ("../target", fs::read_symlink(Drive.HostPath("dst/link")).string());
}

TEST_F(FileFormEngine, ADriveRootIsRefusedWithoutBeingWalked)
{
    MakeFile("src/a.txt", 1);
    List({});
    SourceFolder = Drive.Path();
    UseGivenSource = true;
    for (const char* operation : {"Delete", "Move"}) {
        Run(operation, std::string(operation) == "Move" ? Destination() : "", &TFileForm::OkayNoErrorsButtonClick,
            {{"Warning", IDOK}});
        EXPECT_EQ("There were 1 errors.", SeenText(1)) << operation;
        EXPECT_TRUE(Drive.Exists("src/a.txt")) << operation;
        EXPECT_EQ(0, Form.FileCount) << operation;
    }
}

TEST_F(FileFormEngine, CancelDuringTheCountChangesNothing)
{
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/d/b.txt", 1);
    List({"d"});

    // The count pass pumps the events at every file: the click arrives during it.
    EXPECT_EQ(mrCancel, Run("Delete", "", &TFileForm::OkayButtonClick, {},
                            [&] { QTimer::singleShot(0, &Form, [&] { Form.CancelButtonClick(); }); }));

    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), NamesIn(Drive.HostPath("src/d")));
    EXPECT_TRUE(Source.GetItem(Source.IndexOfName("d")).Selected);
}

TEST_F(FileFormEngine, AQuestionAnsweredNoRefuses)
{
    MakeFile("src/a.txt", 1);
    List({"a.txt"});

    EXPECT_EQ(mrCancel, Run("Delete", "", &TFileForm::OkayButtonClick, {{"Query", IDNO}},
                            [&] { Form.StopAfterCountCheckBox->setChecked(true); }));

    EXPECT_EQ("Continue with processing?", SeenText(1));
    EXPECT_TRUE(Drive.Exists("src/a.txt"));
    EXPECT_EQ(1, Form.FileCount) << "the count pass ran";
}

TEST_F(FileFormEngine, DiskFullOnTheThirdWriteSkipsOneFileAndLeavesNoPartialFile)
{
    MakeFile("src/a.txt", 1);
    MakeFile("src/b.txt", 2);
    MakeFile("src/c.txt", 3);
    List({"a.txt", "b.txt", "c.txt"});
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL, 2);

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}));

    EXPECT_EQ("There were 1 errors.", SeenText(1));
    EXPECT_EQ((std::vector<std::string>{"a.txt", "c.txt"}), NamesIn(Drive.HostPath("dst")));
    EXPECT_EQ(std::string(2, 'x'), Drive.ReadFile("src/b.txt"));
    EXPECT_FALSE(Source.GetItem(Source.IndexOfName("c.txt")).Selected) << "the walk went on";
}

TEST_F(FileFormEngine, AccessDeniedOnADeleteKeepsTheFileAndItsFolder)
{
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/d/b.txt", 1);
    List({"d"});
    host::InjectFault(host::HostCall::Delete, host::ERROR_ACCESS_DENIED);

    TShownFailures failures;
    {
        TModalScript script;
        script.Expect("Delete", mrOkay, [&](const TModalRequest&) { Form.OkayButtonClick(); });
        failures.Expect(script, "Error");
        failures.Expect(script, "Error");
        script.Expect("Warning", IDOK);
        Form.Dialog(false, "Delete", Source, nullptr, 0, SourceFolder, "", "", false, false);
        Seen = script.Seen();
    }
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to Delete file."));
    EXPECT_THAT(failures.Reports[1], HasSubstr("Failed to Delete directory content."));
    EXPECT_EQ("There were 2 errors.", SeenText(3));
    EXPECT_EQ(1u, NamesIn(Drive.HostPath("src/d")).size());
}

TEST_F(FileFormEngine, ACrossSystemMoveWhoseSourceStaysRemovesTheCopy)
{
    TTempDrive other('S', "/dev/shm");
    if (OnOneFileSystem(Drive.HostPath(), other.HostPath()))
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    MakeFile("src/a.txt", 4);
    List({"a.txt"});
    host::InjectFault(host::HostCall::Delete, host::ERROR_ACCESS_DENIED);

    EXPECT_EQ(mrOkay, Run("Move", other.Path(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}));

    EXPECT_EQ("There were 1 errors.", SeenText(1));
    EXPECT_EQ(std::string(4, 'x'), Drive.ReadFile("src/a.txt"));
    EXPECT_TRUE(NamesIn(other.HostPath()).empty());
}

TEST_F(FileFormEngine, SpecialFilesAreNeverReadAndAnUnreadableFolderIsCountedAndPassed)
{
    MakeFile("src/d/a.txt", 1);
    MakeFile("src/d/sub/b.txt", 1);
    ASSERT_EQ(0, mkfifo(Drive.HostPath("src/d/pipe").c_str(), 0644));
    List({"d"});
    // Both passes list d, then sub: the work pass's listing of sub is refused.
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED, 3);

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}));

    EXPECT_EQ("There were 2 errors.", SeenText(1));
    EXPECT_TRUE(Drive.Exists("dst/d/a.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drive.HostPath("dst/d/pipe"))));

    List({"d"});
    EXPECT_EQ(mrOkay, Run("Delete", "", &TFileForm::OkayButtonClick));
    EXPECT_FALSE(Drive.Exists("src/d")) << "a pipe is deleted like any file";
}

TEST_F(FileFormEngine, ANameWithoutAWindowsFormIsCountedAsAFailedFile)
{
    MakeFile("src/d/a.txt", 1);
    // The stand-in of ":" inside a host name cannot map back.
    Drive.WriteFile("src/d/stand-in \uF03A already", "o");
    List({"d"});

    EXPECT_EQ(mrOkay, Run("Copy", Destination(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}));

    EXPECT_EQ("There were 1 errors.", SeenText(1));
    EXPECT_EQ((std::vector<std::string>{"a.txt"}), NamesIn(Drive.HostPath("dst/d")));
}

// Files only a viewer plug-in reads convert through it: a drawn one, one it leaves blank
// (the background colour shows, never stale memory), and one whose absurd size is refused
// and counted while the others go on.
TEST_F(FileFormEngine, ConvertPictureDecodesPlugInFormatsThroughTheirPlugIn)
{
    host::SetProgramHostFile(Drive.HostPath("quillomber"));
    CopyViewerPlugin(Drive, SamplePluginHostPath, "Sample.so");
    const TProgramOptions saved = ProgramOptions;
    ProgramOptions.ViewerPluginName[0] = "Sample.so";
    ProgramOptions.ViewerPluginActive[0] = true;
    LoadViewerPlugins();
    Drive.WriteFile("src/green.qpt", "QPT 6 4 00ff00\n");
    Drive.WriteFile("src/blank.qpt", "QPT 5 3 none\n");
    Drive.WriteFile("src/huge.qpt", "QPT 100000 100000 102030\n");
    List({"blank.qpt", "green.qpt", "huge.qpt"});

    const int result =
        Run("Convert picture", Destination(), &TFileForm::OkayNoErrorsButtonClick, {{"Warning", IDOK}}, [&] {
            Form.ConvertPictureFormatComboBox->setCurrentIndex(Form.ConvertPictureFormatComboBox->findText("PNG"));
        });

    UnloadViewerPlugins();
    ProgramOptions = saved;
    EXPECT_EQ(mrOkay, result);
    EXPECT_EQ((std::vector<std::string>{"blank.png", "green.png"}), NamesIn(Drive.HostPath("dst")));
    const QImage green(QString::fromStdString(Drive.HostPath("dst/green.png")), "PNG");
    EXPECT_EQ(QSize(6, 4), green.size());
    EXPECT_EQ(QColor(0, 255, 0), green.pixelColor(2, 2));
    const QImage blank(QString::fromStdString(Drive.HostPath("dst/blank.png")), "PNG");
    EXPECT_EQ(QSize(5, 3), blank.size());
    EXPECT_EQ(ToQColor(SkinOptions.WindowBackColor).rgb(), blank.pixelColor(2, 1).rgb());
    EXPECT_EQ("There were 1 errors.", SeenText(1));
}

} // namespace
