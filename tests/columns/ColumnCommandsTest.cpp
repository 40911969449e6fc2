#include "columns/BoardsServices.h"
#include "columns/FileDialogServices.h"
#include "columns/SearchServices.h"
#include "columns/ToolServices.h"

#include "core/desktop/Clipboard.h"
#include "core/desktop/EditLink.h"
#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/LinkFile.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/ModalSeam.h"

#include "host/ClipboardPicture.h"

#include "support/DesktopFolders.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include "BoardTestSupport.h"

#include <gmock/gmock.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr TShiftState NoShift = 0;

// Stands in for the main window's check, the boards and the dialogs while it lives: it
// records what the commands ask and answers as a test sets it.
class TFakeCommandServices : public TFileDialogsStandIn,
                             public TSearchServices,
                             public TToolServices,
                             public TBoardsServices
{
public:
    explicit TFakeCommandServices(TFakeMainWindow& window) : Checks(window.Checks)
    {
        TSeam<TFileDialogServices>::Install(this);
        TSeam<TSearchServices>::Install(this);
        TSeam<TToolServices>::Install(this);
        TSeam<TBoardsServices>::Install(this);
    }
    ~TFakeCommandServices() override
    {
        TSeam<TBoardsServices>::Install(nullptr);
        TSeam<TToolServices>::Install(nullptr);
        TSeam<TSearchServices>::Install(nullptr);
        TSeam<TFileDialogServices>::Install(nullptr);
    }
    TFakeCommandServices(const TFakeCommandServices&) = delete;
    TFakeCommandServices& operator=(const TFakeCommandServices&) = delete;

    bool NewFileDialog(const std::string& folder, TNewFileKind kind, std::string& created) override
    {
        Calls.push_back("new " + std::to_string(kind) + " " + folder);
        created = folder + NewName;
        return ConfirmDialogs;
    }
    bool FileOperationDialog(const std::string& operationName, const std::string& source, int32_t focusedIndex,
                             TContainer* container, TColumn& column) override
    {
        Calls.push_back(operationName + " " + source + " " + std::to_string(focusedIndex) + " " +
                        (container != nullptr ? "container" : "directory") + " " + std::to_string(column.Index));
        return ConfirmDialogs;
    }
    bool RenameDialog(TColumn&, bool item, TContainer*) override
    {
        Calls.push_back(item ? "rename item" : "rename file");
        return ConfirmDialogs;
    }
    void ManualRunDialog(const std::string& file) override { Calls.push_back("run " + file); }
    void ResetOverwriteChoice() override { Calls.push_back("reset overwrite"); }
    bool OverwriteDialog(const std::string&, const std::string& destination, bool& overwrite) override
    {
        Calls.push_back("overwrite " + destination);
        overwrite = true;
        return ConfirmDialogs;
    }
    void SetFileStreamsEditorOptions() override { Calls.push_back("streams options"); }
    void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) override
    {
        TTraced trace;
        Calls.push_back("streams " + file + " " + std::to_string(mode));
    }
    bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder) override
    {
        extension = ".bmp";
        encoder = format;
        return HasEncoder;
    }
    void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                        const std::string& extension, const std::string& encoder, double quality, int32_t boxWidth,
                        int32_t boxHeight, bool normalizeWidth, bool normalizeHeight, bool normalizeActive, bool,
                        int32_t) override
    {
        TTraced trace;
        Calls.push_back("convert " + source + " " + destination);
        if (FailConversion)
            trace.Raise("Failed to convert picture.", destination, source);
        Conversion = {overwrite,      extension,       encoder,        quality, QSize(boxWidth, boxHeight),
                      normalizeWidth, normalizeHeight, normalizeActive};
    }
    bool SearchDialog(TColumn&, const std::string&, bool, TSearchResult& result) override
    {
        result = Search;
        return ConfirmDialogs;
    }
    void FindCommonTextDialog(TColumn&) override { Calls.push_back("common text"); }
    void LocateFileDialog(TColumn&) override { Calls.push_back("locate"); }
    void LocateNext(TColumn&) override { Calls.push_back("locate next"); }
    void LocatePrevious(TColumn&) override { Calls.push_back("locate previous"); }
    int32_t FindBoardByShortcut(char) override { return -1; }
    void ShowBoard(int32_t) override {}
    void ShowSearchBoard() override { Calls.push_back("search board"); }
    void StartColumnDrag() override {}
    void EndColumnDrag() override {}

    // The main window's directory checks.
    const int& Checks;
    std::vector<std::string> Calls;
    bool ConfirmDialogs = true;
    bool HasEncoder = true;
    bool FailConversion = false;
    struct TConversion
    {
        bool Overwrite = false;
        std::string Extension;
        std::string Encoder;
        double Quality = 0;
        QSize Box;
        bool NormalizeWidth = false;
        bool NormalizeHeight = false;
        bool NormalizeActive = true;
    } Conversion;
    std::string NewName = "new.txt";
    TSearchResult Search;
};

class ColumnCommandsTest : public BoardTest
{
protected:
    ColumnCommandsTest()
    {
        for (const char* name : {"d/photo1.jpg", "d/photo2.jpg", "d/photo3.jpg", "d/scan.jpg"})
            MakeFile(name);
    }

    TColumn& Column() { return Board[0]; }
    std::string ClipboardText() { return CopyTextFromClipboard(); }

    TFakeCommandServices Services{Window};
};

TEST_F(ColumnCommandsTest, SelectedTitlesGoToTheClipboardOnePerLineEachEndedByCrLf)
{
    Open(Column(), Drive.Path("d\\photo2.jpg"));
    Column().Com_ClipSelectedFiles(false);
    EXPECT_EQ(Drive.Path("d\\photo2.jpg") + "\r\n", ClipboardText()) << "no selection: the active title";

    for (const int32_t i : {0, 1, 3})
        Column().SelectItem(i);
    Column().Com_ClipSelectedFiles(false);
    EXPECT_EQ(Drive.Path("d\\photo1.jpg") + "\r\n" + Drive.Path("d\\photo2.jpg") + "\r\n" + Drive.Path("d\\scan.jpg") +
                  "\r\n",
              ClipboardText());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnCommandsTest, ReferencesOfSelectedLinksAreTheirTargets)
{
    TLinkFile link;
    link.Target = Drive.Path("d\\scan.jpg");
    link.Save(Drive.Path("d\\to scan.lnk"), true);
    Open(Column(), Drive.Path("d\\to scan.lnk"));
    Column().Com_ClipSelectedFiles(true);
    EXPECT_EQ(Drive.Path("d\\scan.jpg") + "\r\n", ClipboardText());
}

TEST_F(ColumnCommandsTest, TheActiveItemsNamePathTitleAndReferenceRoundTrip)
{
    TLinkFile link;
    link.Target = Drive.Path("d\\scan.jpg");
    link.Save(Drive.Path("d\\to scan.lnk"), true);
    Open(Column(), Drive.Path("d\\to scan.lnk"));
    struct TRow
    {
        void (TColumn::*Command)();
        std::string Expected;
    };
    const TRow rows[] = {
        {&TColumn::Com_ClipActiveName, "to scan.lnk"},
        {&TColumn::Com_ClipActivePath, Drive.Path("d\\")},
        {&TColumn::Com_ClipActiveTitle, Drive.Path("d\\to scan.lnk")},
        {&TColumn::Com_ClipActiveReference, Drive.Path("d\\scan.jpg")},
    };
    for (const TRow& row : rows) {
        (Column().*row.Command)();
        EXPECT_EQ(row.Expected, ClipboardText());
    }
}

TEST_F(ColumnCommandsTest, ATrimmedClipboardPathBecomesTheActiveTitleOnlyWhenConfirmed)
{
    MakeFile("e/other.txt");
    Open(Column(), Drive.Path("d\\scan.jpg"));
    CopyTextToClipboard(" \t" + Drive.Path("e\\other.txt") + "\r\n", "", false, false);
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        Column().Com_LoadActiveTitle();
        EXPECT_EQ("Set \"" + Drive.Path("e\\other.txt") + "\" as active file ?", script.Seen().at(0).Text);
    }
    EXPECT_EQ(Drive.Path("d\\scan.jpg"), Column().ActiveTitle);
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_LoadActiveTitle();
    }
    EXPECT_EQ(Drive.Path("e\\other.txt"), Column().ActiveTitle);
    EXPECT_EQ(Drive.Path("d\\scan.jpg"), Column().PreviousTitle);
}

TEST_F(ColumnCommandsTest, TheEndsOfANumberedRunIgnoreCaseAndNeverCompareTheFocusedItem)
{
    MakeFile("d/Photo4.JPG");
    struct TRow
    {
        std::string Focused;
        std::string First;
        std::string Last;
    };
    // Sorted by name: photo1, photo2, photo3, Photo4, scan.
    const TRow rows[] = {
        {"photo2.jpg", "photo1.jpg", "Photo4.JPG"},
        {"Photo4.JPG", "photo1.jpg", "Photo4.JPG"},
        {"scan.jpg", "scan.jpg", "scan.jpg"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Focused);
        Open(Column(), Drive.Path("d\\" + row.Focused));
        EXPECT_EQ(row.First, GetPathName(Column().GetItem(Column().FindNumberedEnd(true)).Title));
        EXPECT_EQ(row.Last, GetPathName(Column().GetItem(Column().FindNumberedEnd(false)).Title));
    }
    Column().Com_LocateNumbered(true);
    EXPECT_EQ("scan.jpg", FocusedName(Column()));
    Open(Column(), Drive.Path("d\\photo2.jpg"));
    Column().Com_LocateNumbered(true);
    EXPECT_EQ("photo1.jpg", FocusedName(Column()));

    MakeFile("single/only.txt");
    Open(Column(), Drive.Path("single\\only.txt"));
    EXPECT_EQ(-1, Column().FindNumberedEnd(true));
}

// C:\apps\editor.exe as a tool gives Tools\apps - editor.lnk with the target's folder; a
// location links the directory; a source directly in a drive root has no directory.
TEST_F(ColumnCommandsTest, LinkAsNamesTheLinkAfterTheItemAndItsDirectory)
{
    MakeFile("apps/editor.exe");
    MakeFile("run.bat");
    MakeDirectory("links");
    const std::string links = Drive.Path("links");

    Open(Column(), Drive.Path("apps\\editor.exe"));
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_LinkAs("Tool", links, "", true, false, true, false);
        EXPECT_EQ("Link active file as Tool ?", script.Seen().at(0).Text);
    }
    TLinkFile link;
    link.Load(Drive.Path("links\\apps - editor.lnk"), false);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    EXPECT_EQ(Drive.Path("apps\\editor.exe"), link.Target);
    EXPECT_EQ(Drive.Path("apps"), ExcludeEndBackslash(link.WorkingFolder));

    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_LinkAs("Send item", links, "\"%n%\"", true, true, false, false);
        EXPECT_EQ("Link parent directory as Send item ?", script.Seen().at(0).Text);
    }
    link.Load(Drive.Path("links\\T - apps.lnk"), false);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    EXPECT_EQ(Drive.Path("apps"), link.Target);
    EXPECT_EQ("\"%n%\"", link.Arguments);

    Open(Column(), Drive.Path("run.bat"));
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_LinkAs("Tool", links, "", true, false, true, false);
    }
    EXPECT_TRUE(fs::exists(Drive.HostPath("links/T - run.pif")));

    const size_t asked = Services.Calls.size();
    Column().Com_LinkAs("Location", links, "", false, true, false, false);
    EXPECT_EQ(asked, Services.Calls.size()) << "the drive T: as source ends quietly, without a question";
    EXPECT_EQ(0, Window.Busy);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnCommandsTest, TheFileOperationCommandsPassTheirNamesAndEndWithADirectoryCheck)
{
    Open(Column(), Drive.Path("d\\photo3.jpg"));
    Column().Com_Recycle();
    Column().Com_Delete();
    Services.ConfirmDialogs = false;
    Column().Com_ClipFileTitles();
    const std::string source = Drive.Path("d\\");
    EXPECT_EQ((std::vector<std::string>{"Recycle " + source + " 2 directory 0", "Delete " + source + " 2 directory 0",
                                        "Clip title of " + source + " 2 directory 0"}),
              Services.Calls);
    EXPECT_EQ(3, Services.Checks) << "every one ends with a directory check";
    EXPECT_EQ(0, Window.Busy);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "a dialog that changed nothing is no failure";

    Services.Calls.clear();
    Column().Com_rename(false);
    Services.ConfirmDialogs = true;
    Column().Com_rename(true);
    EXPECT_EQ((std::vector<std::string>{"rename file", "rename item"}), Services.Calls);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

// Recycling an item recycles the files of a directory column through the file-operation
// dialog, but only takes the entry out of a container.
TEST_F(ColumnCommandsTest, RecyclingAnItemRecyclesFilesOnlyInADirectoryColumn)
{
    Open(Column(), Drive.Path("d\\scan.jpg"));
    Column().Com_RecycleContainerItem();
    EXPECT_EQ((std::vector<std::string>{"Recycle " + Drive.Path("d\\") + " 3 directory 0"}), Services.Calls);

    Services.Calls.clear();
    for (const char* name : {"photo1.jpg", "scan.jpg"})
        Window.Containers.Find(4)->AddItem(Drive.Path("d\\") + name, 0);
    Column().ReloadContainer(4);
    Column().FocusIndex(1);
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_RecycleContainerItem();
    }
    EXPECT_TRUE(Services.Calls.empty());
    ASSERT_EQ(1, Window.Containers.Find(4)->Count());
    EXPECT_EQ(Drive.Path("d\\photo1.jpg"), Window.Containers.Find(4)->Items().at(0).Path);
    EXPECT_TRUE(fs::exists(Drive.HostPath("d/scan.jpg"))) << "the file itself stays";
}

// The editor link "Edit.lnk" of the Options folder, to a script that takes the file.
class ColumnEditorTest : public ColumnCommandsTest
{
protected:
    ColumnEditorTest()
    {
        Drive.WriteFile("editor.sh", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("editor.sh"), fs::perms(0755));
        fs::create_directories(fs::path(TestRootHostPath()) / "program" / "Options");
        TLinkFile link;
        link.Target = Drive.Path("editor.sh");
        link.Arguments = "%t%";
        link.Save(GetEditLinkFileName(), true);
    }
    ~ColumnEditorTest() override { fs::remove(fs::path(TestRootHostPath()) / "program" / "Options" / "Edit.lnk"); }

    TRecordingLauncher Launcher;
};

TEST_F(ColumnEditorTest, ADirectoryIsNotEditedAndAFileIsEditedInItsFolder)
{
    MakeDirectory("d/sub");
    Open(Column(), Drive.Path("d\\sub"));
    Column().Com_Edit("");
    EXPECT_TRUE(Launcher.Starts.empty());

    Open(Column(), Drive.Path("d\\scan.jpg"));
    Column().Com_Edit("");
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("editor.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ(std::vector<std::string>{Drive.HostPath("d/scan.jpg")}, Launcher.Starts[0].Arguments);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnEditorTest, ANewFileOpensInTheEditorAndANewDirectoryDoesNot)
{
    Open(Column(), Drive.Path("d\\scan.jpg"));
    Column().Com_NewFile(nfkDirectory);
    EXPECT_TRUE(Launcher.Starts.empty());
    Column().Com_NewFile(nfkFile);
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("editor.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ(std::vector<std::string>{Drive.HostPath("d/new.txt")}, Launcher.Starts[0].Arguments);
    EXPECT_EQ(2, Services.Checks);
}

// A fresh setup: the Options folder holds no editor link until the start makes one for the
// desktop's text editor.
class FreshEditorLinkTest : public ColumnCommandsTest
{
protected:
    FreshEditorLinkTest()
    {
        fs::create_directories(OptionsFolder());
        fs::remove(OptionsFolder() / "Edit.lnk");
        for (const char* script : {"editor.sh", "own.sh"}) {
            Drive.WriteFile(script, "#!/bin/sh\n");
            fs::permissions(Drive.HostPath(script), fs::perms(0755));
        }
    }
    ~FreshEditorLinkTest() override { fs::remove(OptionsFolder() / "Edit.lnk"); }

    static fs::path OptionsFolder() { return fs::path(TestRootHostPath()) / "program" / "Options"; }

    void InstallTextEditor() const
    {
        Desktop.WriteApplication("editor.desktop", "Name=Editor\nExec=" + Drive.HostPath("editor.sh") +
                                                       " --new %U\nMimeType=text/plain;\n");
    }

    TDesktopFolders Desktop;
    TRecordingLauncher Launcher;
};

TEST_F(FreshEditorLinkTest, EditOpensTheFileInTheDesktopsTextEditor)
{
    InstallTextEditor();
    MakeEditLinkWhenMissing();
    ASSERT_TRUE(fs::exists(OptionsFolder() / "Edit.lnk"));
    MakeFile("d/two words.txt");
    Open(Column(), Drive.Path("d\\two words.txt"));
    Column().Com_Edit("");
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("editor.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ((std::vector<std::string>{"--new", Drive.HostPath("d/two words.txt")}), Launcher.Starts[0].Arguments);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FreshEditorLinkTest, AUsersOwnLinkIsKeptAndNoEditorMakesNone)
{
    MakeEditLinkWhenMissing();
    EXPECT_FALSE(fs::exists(OptionsFolder() / "Edit.lnk")) << "the desktop has no text editor";

    TLinkFile own;
    own.Target = Drive.Path("own.sh");
    own.Arguments = "-x %t%";
    own.Save(GetEditLinkFileName(), true);
    InstallTextEditor();
    MakeEditLinkWhenMissing();
    TLinkFile kept;
    kept.Load(GetEditLinkFileName(), false);
    EXPECT_EQ(Drive.Path("own.sh"), kept.Target);
    EXPECT_EQ("-x %t%", kept.Arguments);
}

// A default editor that runs only in a terminal would start unseen: the link takes the first
// editor with a window of its own, and none is made when every editor needs a terminal.
TEST_F(FreshEditorLinkTest, AnEditorRunInATerminalIsPassedOver)
{
    Desktop.WriteApplication("console.desktop", "Name=Console\nExec=" + Drive.HostPath("own.sh") +
                                                    " %F\nTerminal=true\nMimeType=text/plain;\n");
    Desktop.WriteUserMimeApps("[Default Applications]\ntext/plain=console.desktop;\n");
    MakeEditLinkWhenMissing();
    EXPECT_FALSE(fs::exists(OptionsFolder() / "Edit.lnk")) << "the only editor needs a terminal";

    InstallTextEditor();
    MakeEditLinkWhenMissing();
    TLinkFile made;
    made.Load(GetEditLinkFileName(), false);
    EXPECT_EQ(Drive.Path("editor.sh"), made.Target);
}

TEST_F(ColumnCommandsTest, GoingToAReferenceShowsTheTargetFocusedInThisColumn)
{
    MakeFile("x/y.doc");
    TLinkFile link;
    link.Target = Drive.Path("x\\y.doc");
    link.Save(Drive.Path("d\\to y.lnk"), true);
    Open(Column(), Drive.Path("d\\to y.lnk"));
    Column().Com_GoToReference();
    EXPECT_EQ(Drive.Path("x\\y.doc"), Column().ActiveTitle);
    EXPECT_EQ("y.doc", FocusedName(Column()));
    EXPECT_EQ(Drive.Path("d\\to y.lnk"), Column().PreviousTitle);

    Column().Com_GoToReference();
    EXPECT_EQ(Drive.Path("x\\y.doc"), Column().ActiveTitle) << "a plain file goes nowhere";
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnCommandsTest, StreamsOfATextFileOpenedWithItsDataAreRecordedAsStarted)
{
    const std::vector<std::string> savedTexts = TextFileExtensions.Entries();
    TextFileExtensions.Assign({".txt"});
    MakeFile("d/notes.txt");
    Open(Column(), Drive.Path("d\\notes.txt"));
    Column().Com_EditStreams(fsmEditor);
    EXPECT_EQ(0, FilesHistory.Count);
    Column().Com_EditStreams(fsmMainData);
    EXPECT_EQ(1, FilesHistory.Count);
    const std::string file = Drive.Path("d\\notes.txt");
    EXPECT_EQ((std::vector<std::string>{"streams options", "streams " + file + " 0", "streams options",
                                        "streams " + file + " 1"}),
              Services.Calls);
    EXPECT_EQ(0, Services.Checks) << "no directory check";
    EXPECT_EQ(0, Window.Busy);
    TextFileExtensions.Assign(savedTexts);
}

TEST_F(ColumnCommandsTest, TheClipboardPictureIsSavedBesideTheActiveItemAndOverwrittenOnlyWhenConfirmed)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(host::SetClipboardPicture(picture));
    Open(Column(), Drive.Path("d\\scan.jpg"));
    const std::string target = "d/-Quillomber_ClipboardPicture.bmp";

    Column().Com_PasteClipboardPicture();
    ASSERT_TRUE(fs::exists(Drive.HostPath(target)));
    EXPECT_EQ(QSize(4, 3), QImage(QString::fromStdString(Drive.HostPath(target))).size());

    Drive.WriteFile(target, "old");
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        Column().Com_PasteClipboardPicture();
        EXPECT_EQ("File already exists. OVERWRITE it?", script.Seen().at(0).Text);
    }
    EXPECT_EQ("old", Drive.ReadFile(target));
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        Column().Com_PasteClipboardPicture();
    }
    EXPECT_NE("old", Drive.ReadFile(target));
    EXPECT_EQ(3, Services.Checks);
    EXPECT_EQ(0, Window.Busy);
}

// The list of drives has no folder: the picture would otherwise land in the process's
// current directory.
TEST_F(ColumnCommandsTest, PastingAPictureIntoTheListOfDrivesIsRefused)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(host::SetClipboardPicture(picture));
    Open(Column(), "T:");
    const fs::path stray = fs::current_path() / "-Quillomber_ClipboardPicture.bmp";
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_PasteClipboardPicture();
    }
    EXPECT_FALSE(fs::exists(stray));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to paste clipboard picture."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(0, Window.Busy);
}

TEST_F(ColumnCommandsTest, AClipboardWithoutAPictureIsAFailureShownOnce)
{
    CopyTextToClipboard("text", "", false, false);
    Open(Column(), Drive.Path("d\\scan.jpg"));
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_PasteClipboardPicture();
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_FALSE(fs::exists(Drive.HostPath("d/-Quillomber_ClipboardPicture.bmp")));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnCommandsTest, TheWallpaperIsConvertedFromAPictureAndAnythingElseOnlyWarns)
{
    const std::vector<std::string> savedPictures = PictureFileExtensions.Entries();
    PictureFileExtensions.Assign({".jpg"});
    Open(Column(), Drive.Path("d\\scan.jpg"));
    Services.HasEncoder = false;
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_SetFileAsWallpaper();
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to get filter information."));
    EXPECT_TRUE(Services.Calls.empty());

    // A failed conversion ends the command before the wallpaper is set.
    Services.HasEncoder = true;
    Services.FailConversion = true;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_SetFileAsWallpaper();
    }
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[1], testing::HasSubstr("Failed to convert picture."));
    ASSERT_EQ(1u, Services.Calls.size());
    EXPECT_THAT(Services.Calls[0], testing::EndsWith("Quillomber_Wallpaper.bmp"));
    EXPECT_TRUE(Services.Conversion.Overwrite);
    EXPECT_EQ(".bmp", Services.Conversion.Extension);
    EXPECT_EQ("BMP", Services.Conversion.Encoder);
    EXPECT_EQ(1.0, Services.Conversion.Quality);
    EXPECT_EQ(QGuiApplication::primaryScreen()->size(), Services.Conversion.Box);
    EXPECT_TRUE(Services.Conversion.NormalizeWidth && Services.Conversion.NormalizeHeight);
    EXPECT_FALSE(Services.Conversion.NormalizeActive);

    MakeFile("d/notes.txt");
    Open(Column(), Drive.Path("d\\notes.txt"));
    {
        TModalScript script;
        script.Expect("Warning", IDOK);
        Column().Com_SetFileAsWallpaper();
        EXPECT_EQ("File must be a picture.", script.Seen().at(0).Text);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    PictureFileExtensions.Assign(savedPictures);
}

TEST_F(ColumnCommandsTest, FoundItemsInRankOrderAreAllSelectedAndTheSelectionRefusesASecondRound)
{
    Open(Column(), Drive.Path("d\\photo1.jpg"));
    Services.Search.Action = sraSelectItems;
    // Ranked results come out of the column's order; a title differing only in letter case
    // names another file.
    Services.Search.FoundItems = {{Drive.Path("d\\photo3.jpg"), 9},
                                  {Drive.Path("d\\photo2.jpg"), 5},
                                  {Drive.Path("D\\PHOTO1.JPG"), 1}};
    Column().Com_Search("", false);
    std::vector<bool> selected;
    for (int32_t i = 0; i < Column().GetItemCount(); ++i)
        selected.push_back(Column().GetItem(i).Selected);
    EXPECT_EQ((std::vector<bool>{false, true, true, false}), selected);

    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_Search("", false);
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to search."));
    EXPECT_THAT(failures.Reports[0],
                testing::HasSubstr("Can't select files because there already are selected files."));
    EXPECT_EQ(2, Column().SelectedCount);

    Column().Com_DeselectAll();
    Services.Search.FoundItems.resize(5);
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Column().Com_Search("", false);
    }
    EXPECT_THAT(failures.Reports.at(1), testing::HasSubstr("Found more files than there are in the column."));
    EXPECT_EQ(0, Column().SelectedCount);
    EXPECT_EQ(0, Window.Busy);
}

TEST_F(ColumnCommandsTest, FoundItemsFillTheContainerInTheChosenColumn)
{
    Open(Column(), Drive.Path("d\\photo1.jpg"));
    TContainer& container = *Window.Containers.Find(4);
    container.AddItem(Drive.Path("d\\old.txt"), 1);
    Services.Search.Action = sraFillContainer;
    Services.Search.ContainerIndex = 4;
    Services.Search.FoundItems = {{Drive.Path("d\\scan.jpg"), 7}, {Drive.Path("d\\photo2.jpg"), 9}};
    Services.Search.ShowSearchBoard = true;
    Services.Search.UseColumnForContainer = 2;

    Column().Com_Search("", false);
    ASSERT_EQ(2, container.Count());
    EXPECT_EQ(Drive.Path("d\\scan.jpg"), container.Items()[0].Path);
    EXPECT_EQ(9, container.Items()[1].Data.ItemNumber);
    EXPECT_EQ((std::vector<std::string>{"search board"}), Services.Calls);
    EXPECT_EQ(4, Board[1].ContainerIndex);
    EXPECT_EQ(2, Board[1].GetItemCount());
    EXPECT_EQ(1, Board.FocusRequests.back().first);

    Services.Calls.clear();
    Services.Search.KeepItems = true;
    Services.Search.ShowSearchBoard = false;
    Services.Search.ReuseContainer = true;
    Window.ContainerColumn = 2;
    Column().Com_Search("", false);
    EXPECT_EQ(4, container.Count()) << "kept items stay";
    EXPECT_TRUE(Services.Calls.empty());
    EXPECT_EQ(2, Board.FocusRequests.back().first);
    EXPECT_EQ(4, Board[2].ContainerIndex) << "the column that already shows it";

    Services.Calls.clear();
    Services.Search.ReuseContainer = false;
    Services.Search.UseColumnForContainer = 9;
    Column().Com_Search("", false);
    EXPECT_EQ(4, Column().ContainerIndex) << "a column beyond the visible ones is not chosen";
    EXPECT_EQ(0, Board.FocusRequests.back().first);
}

TEST_F(ColumnCommandsTest, ReloadingWithCtrlReloadsOnlyTheVisibleColumns)
{
    for (int32_t i = 0; i < 4; ++i)
        Open(Board[i], Drive.Path("d\\scan.jpg"));
    MakeFile("d/late.jpg");
    Column().Com_LoadDirectory(ShiftOf(ssCtrl));
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(i < Board.VisibleCount() ? 5 : 4, Board[i].GetItemCount()) << "column " << i;
    EXPECT_EQ(Drive.Path("d\\scan.jpg"), Column().ActiveTitle);

    MakeFile("d/later.jpg");
    Board[1].Com_LoadDirectory(NoShift);
    EXPECT_EQ(6, Board[1].GetItemCount());
    EXPECT_EQ(5, Board[0].GetItemCount());
}

} // namespace
