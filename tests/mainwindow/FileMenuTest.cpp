#include "BoardTestWindow.h"

#include "mainwindow/FileMenuStates.h"
#include "mainwindow/MenuItems.h"
#include "mainwindow/ToolFormServices.h"

#include "fileops/NewFileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/FileListData.h"
#include "columns/SearchServices.h"

#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/forms/VirtualKeys.h"
#include "core/text/AsciiCase.h"

#include "support/DesktopFolders.h"
#include "support/FakeStegServices.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// ---- The enabling table ----

struct TEnablingRow
{
    const char* Case;
    TFileMenuFacts Facts;
    std::vector<std::string> Enabled;
    std::vector<std::string> Disabled;
    std::vector<std::string> Checked;
    std::vector<std::string> Unchecked;
};

TFileMenuFacts EmptyFolder()
{
    return {};
}

TFileMenuFacts DriveList()
{
    TFileMenuFacts facts;
    facts.Empty = false;
    facts.Many = true;
    facts.Drive = true;
    return facts;
}

TFileMenuFacts FileFacts(int32_t type, bool hasExtension)
{
    TFileMenuFacts facts;
    facts.Empty = false;
    facts.Many = true;
    facts.Directory = false;
    facts.ActiveType = type;
    facts.HasExtension = hasExtension;
    return facts;
}

TFileMenuFacts ContainerColumn()
{
    TFileMenuFacts facts = FileFacts(ftGeneric, true);
    facts.Container = true;
    return facts;
}

TFileMenuFacts SortedBySize()
{
    TFileMenuFacts facts = FileFacts(ftGeneric, true);
    facts.SortMode = "Size, big-small";
    return facts;
}

TFileMenuFacts TwoSelected(bool folderFocused)
{
    TFileMenuFacts facts = FileFacts(folderFocused ? ftDirectory : ftDocument, true);
    facts.Directory = folderFocused;
    facts.Selection = true;
    facts.SelectedCount = 2;
    return facts;
}

TFileMenuFacts AudioProgram()
{
    TFileMenuFacts facts = FileFacts(ftProgram, true);
    facts.Audio = true;
    return facts;
}

const std::vector<TEnablingRow>& EnablingRows()
{
    static const std::vector<TEnablingRow> rows = {
        {"an empty folder column",
         EmptyFolder(),
         {"NewDirectoryMenu", "NewFileMenu", "PasteClipboardPictureMenu"},
         {"SelectMenu", "RecycleFileMenu", "FilePropertiesMenu", "ClipFileTitlesMenu", "LocateFileMenu",
          "SearchFileMenu", "FileSystemMenuMenu", "SendFileMenu", "AssociateExtensionMenu", "LinkAsMenu",
          "EditFileMenu", "RecycleContainerItemMenu"},
         {},
         {}},
        {"the drive list",
         DriveList(),
         {"FilePropertiesMenu", "ClipFileTitlesMenu", "SelectMenu", "FileSystemMenuMenu"},
         {"RecycleFileMenu", "DeleteFileMenu", "RenameFileMenu", "NewDirectoryMenu", "NewFileMenu",
          "AssociateExtensionMenu", "LinkAsMenu", "OpenFileWithMenu", "PrintFileMenu", "GoToReferenceMenu",
          "ReferencePropertiesMenu", "EditFileMenu", "ViewFileMenu", "FileMenu_CopyToDir", "FileMenu_MoveToDir",
          "RecycleContainerItemMenu"},
         {},
         {}},
        {"a container column",
         ContainerColumn(),
         {"ClearContainerMenu", "RemoveDuplicateContainerItemsMenu", "AddClipboardToContainerMenu",
          "GoToContainerItemTargetMenu", "RenameContainerItemMenu", "RecycleContainerItemMenu", "RenameContainerMenu",
          "ShowPathsInContainerMenu"},
         {"NewDirectoryMenu", "NewFileMenu", "PasteClipboardPictureMenu", "SortModeMenu", "MultiRenameItemMenu"},
         {"AssociateExtensionMenu_Generic", "AssociateExtensionMenu_NoViewer"},
         {"AssociateExtensionMenu_Program", "AssociateExtensionMenu_Document"}},
        {"a folder column sorted by name",
         FileFacts(ftGeneric, true),
         {"LocateFileMenu", "LocateFirstNumberedMenu", "LocateLastNumberedMenu", "SortModeMenu"},
         {"ClearContainerMenu", "AddClipboardToContainerMenu", "RenameContainerItemMenu", "RenameContainerMenu"},
         {},
         {}},
        {"many items sorted by size",
         SortedBySize(),
         {"LocateFileMenu", "LocateNextFileMenu", "LocatePreviousFileMenu"},
         {"LocateFirstNumberedMenu", "LocateLastNumberedMenu"},
         {},
         {}},
        {"two selected, a folder focused",
         TwoSelected(true),
         {"MultiRenameFileMenu"},
         {"FindCommonTextMenu", "OpenFileWithMenu"},
         {},
         {}},
        {"two selected, a file focused", TwoSelected(false), {"FindCommonTextMenu"}, {}, {}, {}},
        {"an extensionless file",
         FileFacts(ftGeneric, false),
         {"AssociateExtensionMenu_Document", "LinkAsMenu"},
         {"AssociateExtensionMenu"},
         {"AssociateExtensionMenu_Generic", "AssociateExtensionMenu_NoViewer"},
         {}},
        {"an audio program",
         AudioProgram(),
         {"AssociateExtensionMenu", "AssociateExtensionMenu_Text"},
         {"AssociateExtensionMenu_Audio", "AssociateExtensionMenu_Video"},
         {"AssociateExtensionMenu_Program", "AssociateExtensionMenu_Audio"},
         {"AssociateExtensionMenu_Generic", "AssociateExtensionMenu_NoViewer"}},
    };
    return rows;
}

TEST(FileMenuEnabling, FactsDecideTheEnabledAndCheckedItems)
{
    for (const TEnablingRow& row : EnablingRows()) {
        SCOPED_TRACE(row.Case);
        const auto states = GetFileMenuStates(row.Facts);
        const auto state = [&](const std::string& name) {
            const auto found = states.find(name);
            EXPECT_NE(states.end(), found) << name << " has no state";
            return found == states.end() ? TFileMenuItemState{} : found->second;
        };
        for (const std::string& name : row.Enabled)
            EXPECT_TRUE(state(name).Enabled) << name;
        for (const std::string& name : row.Disabled)
            EXPECT_FALSE(state(name).Enabled) << name;
        for (const std::string& name : row.Checked)
            EXPECT_EQ(std::optional<bool>(true), state(name).Checked) << name;
        for (const std::string& name : row.Unchecked)
            EXPECT_EQ(std::optional<bool>(false), state(name).Checked) << name;
    }
}

TEST(FileMenuAnchor, TheMenuOpensCentredUnderTheFocusedRow)
{
    const QPoint origin(400, 250);
    EXPECT_EQ(origin + QPoint(152, 92), FocusedItemAnchor(origin, 2, 300, 18, 7, 3));
    EXPECT_EQ(origin + QPoint(152, 20), FocusedItemAnchor(origin, 2, 300, 18, 3, 3));
}

// ---- The menu in the window ----

// The item of the name that the menu shows, in it or in one of its submenus.
QAction* ShownItem(const QMenu& menu, const std::string& name)
{
    for (QAction* action : menu.actions()) {
        if (action->objectName().toStdString() == name)
            return action;
        if (action->menu() != nullptr)
            if (QAction* found = ShownItem(*action->menu(), name))
                return found;
    }
    return nullptr;
}

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileMenu : public testing::Test
{
protected:
    FileMenu() : Lists(SaveLists()) {}
    ~FileMenu() override
    {
        SetProgramRegistryText("Quillomber", "", "OptionsPath", "");
        OverwriteForm = nullptr; // the window owns it
        Window.Discard();
        RestoreLists(Lists);
    }

    TColumn& OpenColumn(const std::string& title, int32_t index = 0)
    {
        TColumn& column = ColumnAt(*Window, index);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = std::nullopt});
        Window->FocusColumn(index, true);
        return column;
    }

    QAction* Item(const std::string& name) const { return Window->findChild<QAction*>(QString::fromStdString(name)); }

    // Pops the File menu up at the mouse and records its request.
    TModalRequest ShowMenu(const std::function<void(QMenu&)>& choose = {})
    {
        TModalRequest shown;
        TModalScript script;
        script.Expect("File", 0, [&](const TModalRequest& request) {
            shown = request;
            if (choose)
                choose(*request.Menu);
        });
        Window->ShowFileMenu(10, 20, 0);
        return shown;
    }

    using TLists = std::array<std::vector<std::string>, 6>;
    static TLists SaveLists()
    {
        return {ProgramFileExtensions.Entries(), DocumentFileExtensions.Entries(), AudioFileExtensions.Entries(),
                VideoFileExtensions.Entries(),   TextFileExtensions.Entries(),     PictureFileExtensions.Entries()};
    }
    static void RestoreLists(const TLists& lists)
    {
        ProgramFileExtensions.Assign(lists[0]);
        DocumentFileExtensions.Assign(lists[1]);
        AudioFileExtensions.Assign(lists[2]);
        VideoFileExtensions.Assign(lists[3]);
        TextFileExtensions.Assign(lists[4]);
        PictureFileExtensions.Assign(lists[5]);
    }

    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
    TLists Lists;
};

// Every name the enabling decides is an item of the menu.
TEST_F(FileMenu, EveryItemTheEnablingNamesExists)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("d/b.txt", "b");
    Window.Open();
    OpenColumn(Drive.Path("d\\a.txt"));
    Window->EnableFileMenuItems(0);
    for (const auto& [name, state] : GetFileMenuStates(TFileMenuFacts{}))
        EXPECT_NE(nullptr, Item(name)) << name;
    EXPECT_TRUE(Item("Attributes1")->isEnabled()) << "it holds the special paths and the board properties";
    EXPECT_TRUE(Item("EditBoardPropertiesMenu")->isEnabled());
    const QList<QAction*> attributes = Item("Attributes1")->menu()->actions();
    ASSERT_GE(attributes.size(), 4);
    const QList<QAction*> tail = attributes.mid(attributes.size() - 4);
    EXPECT_TRUE(tail[0]->isSeparator());
    EXPECT_EQ(Item("SpecialPathsMenu"), tail[1]);
    EXPECT_TRUE(tail[2]->isSeparator()) << "between \"Special paths\" and \"Edit board properties\"";
    EXPECT_EQ(Item("EditBoardPropertiesMenu"), tail[3]);
    EXPECT_EQ("View & Edit", Item("ViewMenu")->text().replace("&&", "&").toStdString());
    EXPECT_EQ("Recycle file *\tF11", Item("RecycleFileMenu")->text().toStdString());
    EXPECT_TRUE(Item("RecycleFileMenu")->shortcut().isEmpty()) << "keys run through the key map only";
}

struct TFactsRow
{
    const char* Title;
    bool Empty;
    bool Drive;
    bool Directory;
    bool HasExtension;
};

TEST_F(FileMenu, TheFactsAreThoseOfTheActiveColumn)
{
    Drive.WriteFile("d/sub/x.txt", "x");
    Drive.WriteFile("d/README", "r");
    std::filesystem::create_directories(Drive.HostPath("e"));
    Window.Open();
    const TFactsRow rows[] = {
        {"T:", false, true, true, false},
        {"d\\README", false, false, false, false},
        {"d\\sub", false, false, true, false},
        {"e\\", true, false, false, false},
    };
    for (const TFactsRow& row : rows) {
        SCOPED_TRACE(row.Title);
        const std::string title = row.Title == std::string("T:") ? "T:" : Drive.Path(row.Title);
        const TFileMenuFacts facts = GetFileMenuFacts(&OpenColumn(title));
        EXPECT_EQ(row.Empty, facts.Empty);
        EXPECT_EQ(row.Drive, facts.Drive);
        EXPECT_EQ(row.Directory, facts.Directory);
        EXPECT_EQ(row.HasExtension, facts.HasExtension);
    }
}

TEST_F(FileMenu, ADisabledCommandDoesNothing)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    TModalScript script; // any dialog or box fails the test
    Window->EnableFileMenuItems(0);
    Item("DeleteFileMenu")->setEnabled(false);
    Window->ClickCommand("DeleteFileMenu");
    uint16_t key = 'D';
    column.FileListKeyDown(column.FileList, key, 0); // no new-item dialog is made here: nothing shows
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
    EXPECT_EQ(1, column.GetItemCount());
}

// F makes the new file and opens it in the editor; D makes a folder.
TEST_F(FileMenu, TheNewItemKeysOpenTheNewItemDialog)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    Drive.WriteFile("editor.sh", "#!/bin/sh\n");
    std::filesystem::permissions(Drive.HostPath("editor.sh"), std::filesystem::perms(0755));
    std::filesystem::create_directories(std::filesystem::path(TestRootHostPath()) / "program" / "Options");
    TLinkFile editor;
    editor.Target = Drive.Path("editor.sh");
    editor.Arguments = "%t%";
    editor.Save(GetEditLinkFileName(), true);
    TNewFileForm newFile;
    NewFileForm = &newFile;
    TRecordingLauncher launcher;
    Window->EnableFileMenuItems(0);
    {
        TModalScript script;
        for (const char* caption : {"New file", "New directory"})
            script.Expect(caption, mrOkay, [&newFile](const TModalRequest&) {
                newFile.NewFileNameEdit->setText("notes");
                newFile.NewButtonClick();
            });
        for (const uint16_t letter : {'F', 'D'}) {
            uint16_t key = letter;
            column.FileListKeyDown(column.FileList, key, 0);
        }
    }
    NewFileForm = nullptr;
    std::filesystem::remove(std::filesystem::path(TestRootHostPath()) / "program" / "Options" / "Edit.lnk");
    EXPECT_EQ("", Drive.ReadFile("d/notes.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(Drive.HostPath("d/notes")));
    ASSERT_EQ(1u, launcher.Starts.size()) << "only the file opens in the editor";
    EXPECT_THAT(launcher.Starts[0].Arguments, testing::Contains(Drive.HostPath("d/notes.txt")));
}

// A fresh setup: the start makes the editor link for the desktop's text editor, so F opens
// the new file there without an error box.
TEST_F(FileMenu, OnAFreshSetupANewFileOpensInTheTextEditor)
{
    TDesktopFolders desktop;
    Drive.WriteFile("editor.sh", "#!/bin/sh\n");
    std::filesystem::permissions(Drive.HostPath("editor.sh"), std::filesystem::perms(0755));
    desktop.WriteApplication("editor.desktop",
                             "Name=Editor\nExec=" + Drive.HostPath("editor.sh") + " %f\nMimeType=text/plain;\n");
    Drive.WriteFile("d/a.txt", "a");
    ASSERT_FALSE(std::filesystem::exists(TBoardTestWindow::OptionsHostPath("Edit.lnk")));
    Window.Open();
    EXPECT_TRUE(std::filesystem::exists(TBoardTestWindow::OptionsHostPath("Edit.lnk")));
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    TNewFileForm newFile;
    NewFileForm = &newFile;
    TRecordingLauncher launcher;
    Window->EnableFileMenuItems(0);
    {
        TModalScript script;
        script.Expect("New file", mrOkay, [&newFile](const TModalRequest&) {
            newFile.NewFileNameEdit->setText("notes");
            newFile.NewButtonClick();
        });
        uint16_t key = 'F';
        column.FileListKeyDown(column.FileList, key, 0);
    }
    NewFileForm = nullptr;
    ASSERT_EQ(1u, launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("editor.sh"), launcher.Starts[0].Program);
    EXPECT_EQ(std::vector<std::string>{Drive.HostPath("d/notes.txt")}, launcher.Starts[0].Arguments);
}

// ---- Special paths ----

TEST_F(FileMenu, MarkWritesTheFolderOfTheActiveFileAndDefaultClearsIt)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    OpenColumn(Drive.Path("d\\a.txt"));
    Window->ClickCommand("MarkSpecialPath_Options");
    EXPECT_EQ(Drive.Path("d\\"), GetProgramRegistryText("Quillomber", "", "OptionsPath"));
    Window->ClickCommand("DefaultSpecialPath_Options");
    EXPECT_EQ("", GetProgramRegistryText("Quillomber", "", "OptionsPath"));
}

struct TCheckRow
{
    const char* Case;
    // "<>" stands for the drive's letter.
    std::string Stored;
    bool Mark;
    bool Default;
};

TEST_F(FileMenu, TheSpecialPathChecksFollowTheStoredFolder)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    OpenColumn(Drive.Path("d\\a.txt"));
    const TCheckRow rows[] = {
        {"unset", "", false, true},
        {"the active file's folder", "T:\\d\\", true, false},
        {"the same in other letter case", "t:\\D\\", true, false},
        {"another folder", "T:\\e\\", false, false},
    };
    for (const TCheckRow& row : rows) {
        SCOPED_TRACE(row.Case);
        SetProgramRegistryText("Quillomber", "", "OptionsPath", row.Stored);
        ShowMenu();
        EXPECT_EQ(row.Mark, Item("MarkSpecialPath_Options")->isChecked());
        EXPECT_EQ(row.Default, Item("DefaultSpecialPath_Options")->isChecked());
    }
}

struct TGoToRow
{
    const char* Case;
    std::string Stored;
    // The folder the column lists afterwards; empty: the warning, and no change.
    std::string Listed;
};

TEST_F(FileMenu, GoToEntersOnlyAnExistingFolder)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("opts/Quillomber.ini", "");
    Window.Open();
    const TGoToRow rows[] = {
        {"unset: the Options folder", "", GetOptionsPath()},
        {"a folder, with its backslash", "T:\\opts\\", "T:\\opts\\"},
        {"a missing folder", "T:\\gone\\", ""},
        {"a file", "T:\\d\\a.txt", ""},
    };
    for (const TGoToRow& row : rows) {
        SCOPED_TRACE(row.Case);
        TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
        SetProgramRegistryText("Quillomber", "", "OptionsPath", row.Stored);
        TModalScript script;
        if (row.Listed.empty())
            script.Expect("Warning", IDOK);
        Window->ClickCommand("GoToSpecialPath_Options");
        if (row.Listed.empty()) {
            ASSERT_EQ(1u, script.Seen().size());
            EXPECT_EQ("There is no such directory.", script.Seen()[0].Text);
            EXPECT_EQ(Drive.Path("d\\a.txt"), column.ActiveTitle);
        } else {
            EXPECT_TRUE(SameTextAscii(row.Listed, GetParentPath(column.ActiveTitle)) ||
                        SameTextAscii(row.Listed, column.ActiveTitle))
                << column.ActiveTitle;
        }
    }
}

// ---- Associations ----

TEST_F(FileMenu, AssociatingMovesTheExtensionInMemoryUntilSaveAndUpdate)
{
    Drive.WriteFile("d/a.xyz", "a");
    Window.Open();
    OpenColumn(Drive.Path("d\\a.xyz"));
    const std::string ini = TBoardTestWindow::OptionsHostPath("Quillomber.ini");
    std::filesystem::remove(ini);

    Window->EnableFileMenuItems(0);
    EXPECT_TRUE(Item("AssociateExtensionMenu")->isEnabled());
    Window->ClickCommand("AssociateExtensionMenu_Program");
    EXPECT_TRUE(ProgramFileExtensions.HoldsExtensionOf("a.xyz"));
    EXPECT_FALSE(DocumentFileExtensions.HoldsExtensionOf("a.xyz"));
    Window->ClickCommand("AssociateExtensionMenu_Document");
    EXPECT_FALSE(ProgramFileExtensions.HoldsExtensionOf("a.xyz"));
    EXPECT_TRUE(DocumentFileExtensions.HoldsExtensionOf("a.xyz"));
    Window->ClickCommand("AssociateExtensionMenu_Text");
    Window->ClickCommand("AssociateExtensionMenu_Audio");
    EXPECT_FALSE(TextFileExtensions.HoldsExtensionOf("a.xyz"));
    EXPECT_TRUE(AudioFileExtensions.HoldsExtensionOf("a.xyz"));
    EXPECT_FALSE(std::filesystem::exists(ini)) << "nothing is saved before \"Save and update\"";

    Window->ClickCommand("AssociateExtensionMenu_SaveUpdate");
    EXPECT_THAT(ReadHostFile(ini), testing::HasSubstr(".xyz"));
}

TEST_F(FileMenu, AFileWithoutExtensionChangesNoList)
{
    Drive.WriteFile("d/README", "r");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\README"));
    const TLists before = SaveLists();
    Window->EnableFileMenuItems(0);
    EXPECT_FALSE(Item("AssociateExtensionMenu")->isEnabled());
    uint16_t key = 'X'; // the key of "Document", whose item stays enabled
    column.FileListKeyDown(column.FileList, key, 0);
    Window->ClickCommand("AssociateExtensionMenu_Program");
    Window->ClickCommand("AssociateExtensionMenu_Text");
    EXPECT_EQ(before, SaveLists());
}

// ---- Search ----

class TRecordingSearch : public TSearchServices
{
public:
    TRecordingSearch() { TSeam<TSearchServices>::Install(this); }
    ~TRecordingSearch() override { TSeam<TSearchServices>::Install(nullptr); }
    TRecordingSearch(const TRecordingSearch&) = delete;
    TRecordingSearch& operator=(const TRecordingSearch&) = delete;

    bool SearchDialog(TColumn& column, const std::string& file, bool history, TSearchResult&) override
    {
        Searched.push_back(&column);
        LastFile = file;
        LastHistory = history;
        return false;
    }
    void FindCommonTextDialog(TColumn&) override {}
    void LocateFileDialog(TColumn&) override {}
    void LocateNext(TColumn&) override {}
    void LocatePrevious(TColumn&) override {}

    std::vector<TColumn*> Searched;
    std::string LastFile;
    bool LastHistory = true;
};

TEST_F(FileMenu, SearchingFromHomeShowsTheFindBoardAndFocusesItsColumn)
{
    Window.Open();
    for (int32_t i = 0; i < BoardCount; ++i)
        if (SameTextAscii(BoardAt(i).Name, "Search"))
            BoardAt(i).Name = "Elsewhere";
    const int32_t home = Boards->ActiveBoard;
    TRecordingSearch search;

    // Without a search board the active column of the current board searches.
    Window->FocusColumn(1, true);
    Window->SearchFile(0, "");
    EXPECT_EQ(home, Boards->ActiveBoard);
    ASSERT_EQ(1u, search.Searched.size());
    EXPECT_EQ(Window->Columns[1], search.Searched[0]);

    const int32_t find = 7;
    ASSERT_NE(find, home);
    BoardAt(find).Name = "Find";
    BoardAt(find).VisibleColumnCount = 3;
    Window->SearchFile(1, "a.txt");
    EXPECT_EQ(find, Boards->ActiveBoard);
    EXPECT_EQ(1, Window->ActiveColumnIndex);
    ASSERT_EQ(2u, search.Searched.size());
    EXPECT_EQ(Window->Columns[1], search.Searched[1]);
    EXPECT_EQ("a.txt", search.LastFile);
    EXPECT_FALSE(search.LastHistory);

    // No home column: the board stays, the active column searches.
    Window->FocusColumn(0, true);
    Window->SearchFile(-1, "");
    EXPECT_EQ(find, Boards->ActiveBoard);
    ASSERT_EQ(3u, search.Searched.size());
    EXPECT_EQ(Window->Columns[0], search.Searched[2]);
}

// ---- Steganography ----

// "View steg noise" opens the noise picture of the active file in the desktop's program;
// "Activate auto steg-out" opens the password dialog of automatic steg.
TEST_F(FileMenu, TheStegItemsReachTheStegDialog)
{
    PictureFileExtensions.Assign({".png"});
    Drive.WriteFile("d/pic.png", "p");
    Drive.WriteFile("d/noise.bmp", "n");
    Window.Open();
    OpenColumn(Drive.Path("d\\pic.png"));
    TFakeStegServices steg;
    steg.NoisePicture = Drive.Path("d\\noise.bmp");
    TRecordingLauncher launcher;
    Window->EnableFileMenuItems(0);
    ASSERT_TRUE(Item("ViewStegNoiseMenu")->isEnabled());
    ASSERT_TRUE(Item("ActivateAutoStegOutMenu")->isEnabled());

    Window->ClickCommand("ViewStegNoiseMenu");
    Window->ClickCommand("ActivateAutoStegOutMenu");

    EXPECT_EQ(std::vector<std::string>{Drive.Path("d\\pic.png")}, steg.NoiseOf);
    ASSERT_EQ(1u, launcher.Starts.size());
    EXPECT_THAT(launcher.Starts[0].Arguments, testing::Contains(Drive.HostPath("d/noise.bmp")));
    EXPECT_EQ(std::vector<bool>{true}, steg.PasswordDialogs);

    steg.NoisePicture.clear();
    Window->ClickCommand("ViewStegNoiseMenu");
    EXPECT_EQ(1u, launcher.Starts.size()) << "no noise picture, nothing opens";
}

// Records how the window reaches the streams editor.
class TRecordingStreamsEditor : public TToolFormServicesStandIn
{
public:
    explicit TRecordingStreamsEditor(const TFakeStegServices& steg) : Steg(steg)
    {
        TSeam<TToolFormServices>::Install(this);
    }
    ~TRecordingStreamsEditor() override { TSeam<TToolFormServices>::Install(nullptr); }
    TRecordingStreamsEditor(const TRecordingStreamsEditor&) = delete;
    TRecordingStreamsEditor& operator=(const TRecordingStreamsEditor&) = delete;

    struct TOpening
    {
        std::string File;
        TFileStreamsEditMode Mode;
        // Password dialogs of automatic steg asked before it.
        size_t PasswordDialogsBefore;
        int OptionsBefore;
        bool operator==(const TOpening&) const = default;
    };
    void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) override
    {
        Openings.push_back({file, mode, Steg.PasswordDialogs.size(), Options});
    }
    void SetFileStreamsEditorOptions() override { ++Options; }

    const TFakeStegServices& Steg;
    std::vector<TOpening> Openings;
    int Options = 0;
};

TEST_F(FileMenu, TheStreamItemsOpenTheEditorAndAPictureAsksForTheAutoStegPasswordFirst)
{
    PictureFileExtensions.Assign({".png"});
    Drive.WriteFile("d/pic.PNG", "p");
    Drive.WriteFile("d/a.txt", "t");
    Window.Open();
    OpenColumn(Drive.Path("d\\pic.PNG"));
    TFakeStegServices steg;
    TRecordingStreamsEditor editor(steg);
    Window->EnableFileMenuItems(0);
    for (const char* name : {"EditFileStreamsMenu", "EditFileStreamsAutoloadMenu", "EditFileDescriptionMenu"})
        EXPECT_TRUE(Item(name)->isEnabled()) << name;

    Window->ClickCommand("EditFileStreamsMenu");
    Window->ClickCommand("EditFileStreamsAutoloadMenu");
    Window->ClickCommand("EditFileDescriptionMenu");
    OpenColumn(Drive.Path("d\\a.txt"));
    Window->ClickCommand("EditFileStreamsAutoloadMenu");

    using TOpening = TRecordingStreamsEditor::TOpening;
    const std::string picture = Drive.Path("d\\pic.PNG");
    EXPECT_EQ((std::vector<TOpening>{{picture, fsmEditor, 0, 1},
                                     {picture, fsmMainData, 1, 2},
                                     {picture, fsmDescription, 1, 3},
                                     {Drive.Path("d\\a.txt"), fsmMainData, 1, 4}}),
              editor.Openings)
        << "the editor gets its options before each opening; only a picture asks for the password";
    Window->SkinChanged();
    EXPECT_EQ(5, editor.Options);
}

// ---- Showing ----

TEST_F(FileMenu, TheContextMenuKeyPressesTheFocusedItemAndOpensTheMenuUnderIt)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("d/b.txt", "b");
    Drive.WriteFile("d/c.txt", "c");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\b.txt"), 1);
    const int32_t focused = column.FileList->FocusIndex;
    TModalRequest shown;
    {
        TModalScript script;
        script.Expect("File", 0, [&](const TModalRequest& request) {
            shown = request;
            ShownItem(*request.Menu, "SelectAllMenu")->trigger();
        });
        uint16_t key = VK_APPS;
        Window->FormKeyDown(key, ShiftOf(ssShift));
        EXPECT_EQ(0, key);
    }
    EXPECT_EQ(Window->FileMenu, shown.Menu);
    const QPoint anchor = Window->GetFocusedItemAnchor(*column.FileList);
    EXPECT_EQ(anchor, QPoint(shown.X, shown.Y));
    const TPressRecord& press = Window->Press;
    EXPECT_EQ(1, press.DragSourceColumn);
    EXPECT_EQ(ShiftOf(ssShift), press.DragShiftState);
    EXPECT_EQ(focused, press.DragItemIndex);
    EXPECT_EQ(focused, press.OperationItemIndex);
    EXPECT_EQ(Drive.Path("d\\b.txt"), press.DragItemTitle);
    EXPECT_EQ(3, column.SelectedCount) << "the item chosen in the menu ran";
}

TEST_F(FileMenu, TheMenuChecksTheVisibleColumnCountAndAClickChangesIt)
{
    Window.Open();
    OpenColumn(Drive.Path());
    Window->VisibleColumnCount = 3;
    const TModalRequest shown = ShowMenu([](QMenu& menu) {
        EXPECT_TRUE(ShownItem(menu, "VisibleColumnsMenu3")->isChecked());
        ShownItem(menu, "VisibleColumnsMenu5")->trigger();
    });
    EXPECT_EQ(QPoint(10, 20), QPoint(shown.X, shown.Y)) << "a press point is kept";
    EXPECT_EQ(5, Window->VisibleColumnCount);
    EXPECT_TRUE(ColumnAt(*Window, 4).Panel->isVisibleTo(&*Window));
}

// ---- Link as ----

struct TStartupRow
{
    const char* File;
    bool Program;
    // The entry's Exec line, with "<>" for the host path of the file.
    const char* Exec;
};

// The desktop starts only its own entries from the autostart folder: a program by its path,
// anything else through the desktop's opener, in the program's folder.
TEST_F(FileMenu, AStartupLinkIsAnAutostartEntry)
{
    const std::string autostart = TestRootHostPath() + "/config/autostart";
    Window.Open();
    OverwriteForm = new TOverwriteForm(&*Window);
    const TStartupRow rows[] = {
        {"apps/tool.sh", true, "<>"},
        {"apps/notes.txt", false, "xdg-open <>"},
    };
    for (const TStartupRow& row : rows) {
        SCOPED_TRACE(row.File);
        Drive.WriteFile(row.File, "#!/bin/sh\n");
        if (row.Program)
            std::filesystem::permissions(Drive.HostPath(row.File), std::filesystem::perms::owner_exec,
                                         std::filesystem::perm_options::add);
        std::string windowsName = row.File;
        std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
        OpenColumn(Drive.Path(windowsName));
        Window->EnableFileMenuItems(0);
        {
            TModalScript script;
            script.Expect("Query", IDYES);
            Window->ClickCommand("LinkAsStartupItemMenu");
            EXPECT_EQ("Link active file as Startup item ?", script.Seen().at(0).Text);
        }
        const std::string name = ExcludeExtension(GetPathName(windowsName));
        const std::string entryPath = autostart + "/" + name + ".desktop";
        const std::string entry = ReadHostFile(entryPath);
        std::filesystem::remove(entryPath);
        std::string exec = row.Exec;
        exec.replace(exec.find("<>"), 2, Drive.HostPath(row.File));
        EXPECT_THAT(entry, testing::HasSubstr("Name=" + name + "\n"));
        EXPECT_THAT(entry, testing::HasSubstr("Exec=" + exec + "\n"));
        EXPECT_THAT(entry, testing::HasSubstr("Path=" + Drive.HostPath("apps")));
    }
}

TEST_F(FileMenu, LinkingIntoAMissingFolderFails)
{
    Drive.WriteFile("apps/tool.sh", "#!/bin/sh\n");
    Window.Open();
    OverwriteForm = new TOverwriteForm(&*Window);
    std::filesystem::remove_all(TBoardTestWindow::OptionsHostPath("Tools"));
    OpenColumn(Drive.Path("apps\\tool.sh"));
    Window->EnableFileMenuItems(0);
    TShownFailures failures;
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        failures.Expect(script, "Error");
        Window->ClickCommand("LinkAsToolMenu");
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to link as."));
    EXPECT_FALSE(std::filesystem::exists(TBoardTestWindow::OptionsHostPath("Tools")));
}

} // namespace
