#include "BoardTestWindow.h"

#include "mainwindow/FileDragRules.h"

#include "fileops/CopyAsForm.h"
#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/Containers.h"
#include "columns/FileDialogServices.h"

#include "panels/PanelDrag.h"

#include "host/FileSystem.h"

#include "core/desktop/Clipboard.h"
#include "core/desktop/SystemMenu.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileStream.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"

#include "support/FakeSearchServices.h"
#include "support/FakeStegServices.h"
#include "support/MenuActions.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using TNames = std::vector<std::string>;

// The host paths on the clipboard, sorted.
TNames ClipboardFiles()
{
    TNames paths;
    for (const QUrl& url : QGuiApplication::clipboard()->mimeData()->urls())
        paths.push_back(url.toLocalFile().toStdString());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// What a column shows: a folder of drive T: focused on an item, or a container focused on
// the entry of that name.
struct TView
{
    std::string Title;
    int32_t Container = -1;
};

// A main window over drive T: with the file-operation and overwrite dialogs made as the
// program makes them. Drive T: holds
//   d\a.txt  d\b.txt  d\c.txt  d\pic.png  d\link.lnk (to e\x.txt)  d\sub\s.txt
//   e\x.txt  D\a.txt (a folder named as d but for letter case)
// and containers 0 (d\a.txt, e\x.txt, d\b.txt) and 1 (e\x.txt).
class FileDragMenu : public testing::Test
{
protected:
    FileDragMenu()
    {
        FileForm = &Form;
        OverwriteForm = &Overwrite;
        for (const char* file : {"d/a.txt", "d/b.txt", "d/c.txt", "d/pic.png", "d/sub/s.txt", "e/x.txt", "D/a.txt"})
            Drive.WriteFile(file, file);
        CopyFileAsLink(Drive.Path("e\\x.txt"), Drive.Path("d\\link.lnk"), true, "", false, false);
        Window.Open();
        Containers({{0, {"d\\a.txt", "e\\x.txt", "d\\b.txt"}}, {1, {"e\\x.txt"}}});
        QGuiApplication::clipboard()->setText("before");
    }
    ~FileDragMenu() override
    {
        Window.Discard();
        FileForm = nullptr;
        OverwriteForm = nullptr;
    }

    void Containers(const std::vector<std::pair<int32_t, TNames>>& contents)
    {
        for (const auto& [index, paths] : contents) {
            TContainer& container = *Window->FindContainer(index);
            container.Clear();
            for (const std::string& path : paths)
                container.AddItem(Drive.Path(path), 0);
        }
    }

    TColumn& Show(int32_t slot, const TView& view)
    {
        TColumn& column = ColumnAt(*Window, slot);
        if (view.Container < 0) {
            column.LoadDirectory({.ContainerIndex = -1, .Title = Drive.Path(view.Title)});
        } else {
            column.ReloadContainer(view.Container);
            column.FocusIndex(column.IndexOfName(GetPathName(view.Title)));
        }
        return column;
    }

    void Select(TColumn& column, const TNames& names)
    {
        for (const std::string& name : names)
            column.SelectItem(column.IndexOfName(name));
    }

    // The press record of a drag of the source's item of that name, dropped on the
    // destination's item of that name; the destination becomes the active column.
    void Drag(TColumn& source, const std::string& name, TColumn& destination, const std::string& onto,
              TShiftState shift = 0)
    {
        const int32_t item = source.IndexOfName(name);
        source.FocusIndex(item);
        destination.FocusIndex(destination.IndexOfName(onto));
        Window->ActiveColumnIndex = destination.Index;
        TPressRecord& press = Window->Press;
        press = {};
        press.DragSourceColumn = source.Index;
        press.DragShiftState = shift;
        press.DragItemIndex = item;
        press.DragItemTitle = item >= 0 ? source.GetItem(item).Title : source.ActiveTitle;
        press.OperationItemIndex = destination.FileList->FocusIndex;
    }

    // The commands that the drag's facts enable, waiting ones included.
    std::set<std::string> EnabledByRules() const
    {
        const TPressRecord& press = Window->Press;
        std::set<std::string> enabled;
        for (const TFileDragItemState& state :
             GetFileDragMenuStates(GetFileDragFacts(Window->GetColumn(press.DragSourceColumn), press.DragItemIndex,
                                                    press.DragItemTitle, Window->ActiveColumn())))
            if (state.Enabled)
                enabled.insert(state.Name);
        return enabled;
    }

    QAction& Command(const std::string& name) const
    {
        QAction* action = FindMenuAction(*Window->FileDragMenu, name);
        EXPECT_NE(nullptr, action) << name;
        return *action;
    }

    // The next request is the File-drag menu, answered by choosing the command.
    void ChooseFromMenu(TModalScript& script, const std::string& name)
    {
        script.Expect("File-drag", 0, [this, name](const TModalRequest& request) {
            ASSERT_EQ(Window->FileDragMenu, request.Menu);
            QAction* action = FindMenuAction(*request.Menu, name);
            ASSERT_NE(nullptr, action) << name;
            ASSERT_TRUE(action->isEnabled()) << name;
            action->trigger();
        });
    }

    // The next request is the file-operation dialog of the caption, answered with Okay.
    void Okay(TModalScript& script, const std::string& caption)
    {
        script.Expect(caption, mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
    }

    // A real gesture: a press on the item's badge or name in the source's list, then the
    // drop on the name of the destination's item.
    void MouseDrag(TColumn& source, const std::string& name, bool onBadge, TMouseButton button, TColumn& destination,
                   const std::string& onto)
    {
        const int32_t item = source.IndexOfName(name);
        const QRect area = source.FileList->GetItemAreaRect(item);
        const QPoint press = area.topLeft() + QPoint(onBadge ? 1 : source.GetBadgeWidth(true) + 5, 1);
        const int32_t border = source.FileList->Border;
        source.FileList->MouseDown(button, 0, press.x() + border, press.y() + border);
        PanelDrag.Cancel();
        const int32_t target = destination.IndexOfName(onto);
        const QPoint drop =
            destination.FileList->GetItemAreaRect(target).topLeft() + QPoint(destination.GetBadgeWidth(true) + 5, 1);
        destination.FileListDragDrop(destination.FileList, source.FileList, drop.x(), drop.y());
    }

    TTempDrive Drive{'T'};
    TFileForm Form;
    TOverwriteForm Overwrite;
    TBoardTestWindow Window;
};

// ---- Enabling ----

struct TDragRow
{
    const char* Name;
    TView Source;
    const char* Dragged;
    TNames Selected;
    TView Destination;
    const char* Onto;
    std::vector<std::string> Enabled;
    std::vector<std::string> Disabled;
};

TEST_F(FileDragMenu, TheDragsFactsDecideTheCommands)
{
    const TDragRow rows[] = {
        {"within one folder",
         {"d\\a.txt"},
         "a.txt",
         {},
         {"d\\b.txt"},
         "b.txt",
         {"FileDragMenu_CopyAs", "FileDragMenu_ConvertPicture", "FileDragMenu_CopyAsLink", "FileDragMenu_DirectLocate"},
         {"FileDragMenu_Copy", "FileDragMenu_Move", "FileDragMenu_Compare", "FileDragMenu_InsertItem"}},
        {"a folder named alike but for letter case is another folder",
         {"d\\a.txt"},
         "a.txt",
         {},
         {"D\\a.txt"},
         "a.txt",
         {"FileDragMenu_Copy", "FileDragMenu_Move", "FileDragMenu_Compare"},
         {}},
        {"the same container on both sides",
         {"d\\a.txt", 0},
         "a.txt",
         {},
         {"e\\x.txt", 0},
         "x.txt",
         {"FileDragMenu_RelocateItem"},
         {"FileDragMenu_Copy", "FileDragMenu_Move", "FileDragMenu_Compare", "FileDragMenu_InsertItem"}},
        {"from a folder onto a container",
         {"d\\a.txt"},
         "a.txt",
         {},
         {"e\\x.txt", 1},
         "x.txt",
         {"FileDragMenu_Copy", "FileDragMenu_InsertItem"},
         {"FileDragMenu_Move", "FileDragMenu_ConvertPicture", "FileDragMenu_CopyAsLink", "FileDragMenu_Compare",
          "FileDragMenu_RelocateItem"}},
        {"from a container onto another container",
         {"d\\a.txt", 0},
         "a.txt",
         {},
         {"e\\x.txt", 1},
         "x.txt",
         {"FileDragMenu_Copy", "FileDragMenu_Move", "FileDragMenu_InsertItem", "FileDragMenu_RelocateItem"},
         {"FileDragMenu_Compare"}},
        {"onto the folder that holds the source",
         {"d\\sub\\s.txt"},
         "s.txt",
         {},
         {"d\\sub"},
         "sub",
         {"FileDragMenu_DropConvertPicture", "FileDragMenu_Copy"},
         {"FileDragMenu_DropCopy", "FileDragMenu_DropMove"}},
        {"onto another folder",
         {"d\\a.txt"},
         "a.txt",
         {},
         {"e"},
         "e",
         {"FileDragMenu_DropCopy", "FileDragMenu_DropMove", "FileDragMenu_DropConvertPicture"},
         {}},
        {"one link, no selection",
         {"d\\link.lnk"},
         "link.lnk",
         {},
         {"e\\x.txt"},
         "x.txt",
         {"FileDragMenu_Copy", "FileDragMenu_EnterThisDir"},
         {"FileDragMenu_CopyAsLink"}},
        {"one link with a selection",
         {"d\\link.lnk"},
         "link.lnk",
         {"a.txt"},
         {"e\\x.txt"},
         "x.txt",
         {"FileDragMenu_CopyAsLink"},
         {"FileDragMenu_CopyAs"}},
    };
    for (const TDragRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TColumn& source = Show(0, row.Source);
        TColumn& destination = Show(1, row.Destination);
        Select(source, row.Selected);
        Drag(source, row.Dragged, destination, row.Onto);
        const std::set<std::string> enabled = EnabledByRules();
        Window->EnableFileDragMenuItems(0);
        for (const std::string& name : row.Enabled) {
            EXPECT_TRUE(enabled.contains(name)) << name;
            EXPECT_EQ(!IsWaitingFileDragCommand(name), Command(name).isEnabled()) << name;
        }
        for (const std::string& name : row.Disabled) {
            EXPECT_FALSE(enabled.contains(name)) << name;
            EXPECT_FALSE(Command(name).isEnabled()) << name;
        }
        source.Com_DeselectAll();
    }
}

// A press record from a column or an item that is gone enables only the column commands.
TEST_F(FileDragMenu, AStaleDragRecordCountsAsAnEmptySource)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    for (const auto& [column, item] : std::vector<std::pair<int32_t, int32_t>>{{0, 99}, {42, 0}, {-1, -1}}) {
        Drag(source, "a.txt", destination, "x.txt");
        Window->Press.DragSourceColumn = column;
        Window->Press.DragItemIndex = item;
        const std::set<std::string> enabled = EnabledByRules();
        const std::set<std::string> columnCommands{"FileDragMenu_SetWithSourceColumn", "FileDragMenu_SwitchColumns"};
        EXPECT_TRUE(std::includes(columnCommands.begin(), columnCommands.end(), enabled.begin(), enabled.end()))
            << column << " " << item;
        Window->EnableFileDragMenuItems(0);
        EXPECT_FALSE(Command("FileDragMenu_Copy").isEnabled());
    }
}

// ---- End to end ----

TEST_F(FileDragMenu, ALeftDragOntoANameOffersTheMenuWhoseCopyRunsTheDialog)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Select(source, {"a.txt", "b.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_Copy");
        Okay(script, "Copy");
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ("d/a.txt", Drive.ReadFile("e/a.txt"));
    EXPECT_EQ("d/b.txt", Drive.ReadFile("e/b.txt"));
    EXPECT_FALSE(Drive.Exists("e/c.txt"));
    EXPECT_EQ(0, Window->BusyCount);
}

TEST_F(FileDragMenu, ADragFromABadgeCopiesWithTheLeftButtonAndMovesWithTheRight)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    {
        TModalScript script;
        Okay(script, "Copy");
        MouseDrag(source, "a.txt", true, mbLeft, destination, "x.txt");
    }
    EXPECT_TRUE(Drive.Exists("e/a.txt"));
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
    {
        TModalScript script;
        Okay(script, "Move");
        MouseDrag(source, "b.txt", true, mbRight, destination, "x.txt");
    }
    EXPECT_TRUE(Drive.Exists("e/b.txt"));
    EXPECT_FALSE(Drive.Exists("d/b.txt"));
}

TEST_F(FileDragMenu, DropCopyCopiesIntoTheFolderDroppedOn)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e"});
    TModalScript script;
    ChooseFromMenu(script, "FileDragMenu_DropCopy");
    Okay(script, "Copy (from drop)");
    MouseDrag(source, "a.txt", false, mbLeft, destination, "e");
    EXPECT_EQ("d/a.txt", Drive.ReadFile("e/a.txt"));
    EXPECT_FALSE(Drive.Exists("a.txt"));
}

TEST_F(FileDragMenu, CompareListsTheNewerAndTheMissingFilesOnTheClipboard)
{
    const auto now = fs::file_time_type::clock::now();
    Drive.WriteFile("e/a.txt", "older");
    fs::last_write_time(Drive.HostPath("e/a.txt"), now - std::chrono::hours(2));
    fs::last_write_time(Drive.HostPath("d/a.txt"), now - std::chrono::hours(1));
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Select(source, {"a.txt", "c.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_Compare");
        Okay(script, "Compare");
        script.Expect("Message", IDOK);
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ(Drive.Path("d\\a.txt") + "\r\nNOT_AT_DESTINATION=" + Drive.Path("d\\c.txt") + "\r\n",
              CopyTextFromClipboard());
    EXPECT_EQ("older", Drive.ReadFile("e/a.txt"));
}

TEST_F(FileDragMenu, CopyAsLinkWritesLinksThatLoad)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Select(source, {"a.txt", "sub"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_CopyAsLink");
        Okay(script, "Copy as link");
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ(Drive.Path("d\\a.txt"), GetWhenReference(Drive.Path("e\\a.txt.lnk")));
    EXPECT_EQ(Drive.Path("d\\sub"), GetWhenReference(Drive.Path("e\\sub.lnk")));
}

// ---- Containers ----

TEST_F(FileDragMenu, CopyOntoAContainerAddsReferencesAndCopiesNoFile)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt", 1});
    Select(source, {"a.txt", "b.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_Copy");
        script.Expect("Query", IDYES);
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ((TNames{Drive.Path("e\\x.txt"), Drive.Path("d\\a.txt"), Drive.Path("d\\b.txt")}),
              ListedTitles(destination));
    EXPECT_FALSE(Drive.Exists("e/a.txt"));
    EXPECT_FALSE(Drive.Exists("e/b.txt"));
}

TEST_F(FileDragMenu, AMoveBetweenContainersTakesTheEntriesOnlyWhenConfirmed)
{
    TColumn& source = Show(0, {"d\\a.txt", 0});
    TColumn& destination = Show(1, {"e\\x.txt", 1});
    const TNames sourceEntries = ListedTitles(source);
    for (const int answer : {IDNO, IDYES}) {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_Move");
        script.Expect("Query", answer);
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
        if (answer == IDNO) {
            EXPECT_EQ(sourceEntries, ListedTitles(source));
            EXPECT_EQ(TNames{Drive.Path("e\\x.txt")}, ListedTitles(destination));
        }
    }
    EXPECT_EQ((TNames{Drive.Path("e\\x.txt"), Drive.Path("d\\b.txt")}), ListedTitles(source));
    EXPECT_EQ((TNames{Drive.Path("e\\x.txt"), Drive.Path("d\\a.txt")}), ListedTitles(destination));
    EXPECT_TRUE(Drive.Exists("d/a.txt")) << "files stay where they are";
}

TEST_F(FileDragMenu, MovingContainerItemsToAFolderReloadsTheContainer)
{
    TColumn& source = Show(0, {"d\\b.txt", 0});
    TColumn& destination = Show(1, {"D\\a.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_Move");
        Okay(script, "Move");
        MouseDrag(source, "b.txt", false, mbLeft, destination, "a.txt");
    }
    EXPECT_TRUE(Drive.Exists("D/b.txt"));
    EXPECT_EQ((TNames{Drive.Path("d\\a.txt"), Drive.Path("e\\x.txt"), Drive.Path("D\\b.txt")}), ListedTitles(source));
}

// ---- Other commands ----

TEST_F(FileDragMenu, DirectLocatePrefersTheExactNameThenOneOfAnotherCase)
{
    struct TRow
    {
        TNames Files;
        std::string Focused;
    };
    const TRow rows[] = {
        {{"A.TXT", "a.txt"}, "a.txt"},
        {{"A.TXT"}, "A.TXT"},
        {{"other.txt"}, ""},
    };
    TColumn& source = Show(0, {"d\\a.txt"});
    int folder = 0;
    for (const TRow& row : rows) {
        const std::string name = "f" + std::to_string(folder++);
        for (const std::string& file : row.Files)
            Drive.WriteFile(name + "/" + file, "");
        Drive.WriteFile(name + "/zz.txt", "");
        TColumn& destination = Show(1, {name + "\\zz.txt"});
        Drag(source, "a.txt", destination, "zz.txt");
        Window->EnableFileDragMenuItems(0);
        TModalScript script;
        if (row.Focused.empty())
            script.Expect("Warning", IDOK);
        Window->ClickCommand("FileDragMenu_DirectLocate");
        EXPECT_EQ(row.Focused.empty() ? "zz.txt" : row.Focused, GetPathName(destination.ActiveTitle));
        if (row.Focused.empty()) {
            EXPECT_EQ("There is no such file name to focus.", script.Seen().at(0).Text);
        }
    }
}

TEST_F(FileDragMenu, SearchDuplicatesLooksForTheDraggedFileInTheColumnDroppedOn)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\zz.txt"});
    Drag(source, "a.txt", destination, "zz.txt");
    Window->EnableFileDragMenuItems(0);
    TFakeSearchServices search;
    Window->ClickCommand("FileDragMenu_SearchDuplicates");
    ASSERT_EQ(1u, search.Calls.size());
    EXPECT_EQ(&destination, search.Calls[0].Column);
    EXPECT_EQ(source.ActiveTitle, search.Calls[0].File);
    EXPECT_FALSE(search.Calls[0].History);
}

// Steg-in hides the dragged file in the picture dropped on; steg-out takes the file out
// of the dragged picture into the folder of the item dropped on. The window is busy while
// the dialog runs, and not after.
TEST_F(FileDragMenu, StegInAndStegOutOpenTheStegDialogBetweenTheDragAndTheDrop)
{
    const std::vector<std::string> pictures = PictureFileExtensions.Entries();
    PictureFileExtensions.Assign({".png"});
    TFakeStegServices steg;
    std::vector<bool> busy;
    steg.OnDialog = [&] { busy.push_back(Window->IsBusy()); };
    TColumn& text = Show(0, {"e\\x.txt"});
    TColumn& pictureColumn = Show(1, {"d\\pic.png"});

    Drag(text, "x.txt", pictureColumn, "pic.png");
    Window->EnableFileDragMenuItems(0);
    ASSERT_TRUE(Command("FileDragMenu_StegIn").isEnabled());
    EXPECT_FALSE(Command("FileDragMenu_StegOut").isEnabled()) << "the dragged file is no picture";
    Window->ClickCommand("FileDragMenu_StegIn");

    Drag(pictureColumn, "pic.png", text, "x.txt");
    Window->EnableFileDragMenuItems(0);
    ASSERT_TRUE(Command("FileDragMenu_StegOut").isEnabled());
    Window->ClickCommand("FileDragMenu_StegOut");

    const std::vector<TFakeStegServices::TDialog> expected = {
        {Drive.Path("e\\x.txt"), Drive.Path("d\\pic.png"), true},
        {Drive.Path("d\\pic.png"), Drive.Path("e\\"), false},
    };
    EXPECT_EQ(expected, steg.Dialogs);
    EXPECT_EQ((std::vector<bool>{true, true}), busy);
    EXPECT_FALSE(Window->IsBusy());
    PictureFileExtensions.Assign(pictures);
}

TEST_F(FileDragMenu, SendToProgramPassesTheHostPathOfTheFileOrItsReference)
{
    Drive.WriteFile("p/tool.exe", "#!/bin/sh\n");
    fs::permissions(Drive.HostPath("p/tool.exe"), fs::perms::owner_all);
    TRecordingLauncher launcher;
    TColumn& source = Show(0, {"d\\link.lnk"});
    TColumn& destination = Show(1, {"p\\tool.exe"});
    Drag(source, "link.lnk", destination, "tool.exe");
    Window->EnableFileDragMenuItems(0);
    Window->ClickCommand("FileDragMenu_SendToProgram");
    Window->ClickCommand("FileDragMenu_SendRefToProgram");
    ASSERT_EQ(2u, launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("p/tool.exe"), launcher.Starts[0].Program);
    EXPECT_EQ(TNames{Drive.HostPath("d/link.lnk")}, launcher.Starts[0].Arguments);
    EXPECT_EQ(TNames{Drive.HostPath("e/x.txt")}, launcher.Starts[1].Arguments);

    launcher.RefuseStarts = true;
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        failures.Expect(script, "Error");
        Window->ClickCommand("FileDragMenu_SendToProgram");
        Window->ClickCommand("FileDragMenu_SendRefToProgram");
    }
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to send file to program."));
    EXPECT_THAT(failures.Reports[1], HasSubstr("Failed to send reference to program."));
}

TEST_F(FileDragMenu, AttachStreamListsTheStreamsOfTheFileDroppedOn)
{
    const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
    if (!reason.empty())
        GTEST_SKIP() << reason;
    AddFileStream(Drive.Path("e\\x.txt"), "Notes");
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Drag(source, "a.txt", destination, "x.txt");
    Window->EnableFileDragMenuItems(0);
    QAction& attach = Command("FileDragMenu_AttachStream");
    if (!attach.isEnabled())
        GTEST_SKIP() << "the test drive is not a fixed one with streams";
    ASSERT_NE(nullptr, attach.menu());
    ASSERT_EQ(2, attach.menu()->actions().size());
    EXPECT_EQ("Notes", attach.menu()->actions()[1]->text().toStdString());

    Show(1, {"e"});
    Drag(source, "a.txt", destination, "e");
    Window->EnableFileDragMenuItems(0);
    EXPECT_FALSE(attach.isEnabled()) << "a folder has no streams to attach to";
    EXPECT_TRUE(attach.menu()->isEmpty());
}

TEST_F(FileDragMenu, TheColumnCommandsWorkOnTheSourceAndTheDropColumn)
{
    TColumn& source = Show(0, {"d\\sub"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Drag(source, "sub", destination, "x.txt");
    Window->EnableFileDragMenuItems(0);
    Window->ClickCommand("FileDragMenu_EnterThisDir");
    EXPECT_EQ(Drive.Path("d\\sub\\s.txt"), destination.ActiveTitle) << "the drop column itself lists the folder";

    Show(1, {"e\\x.txt"});
    Drag(source, "sub", destination, "x.txt");
    Window->EnableFileDragMenuItems(0);
    Window->ClickCommand("FileDragMenu_SwitchColumns");
    EXPECT_EQ(Drive.Path("e\\x.txt"), source.ActiveTitle);
    EXPECT_EQ(Drive.Path("d\\sub"), destination.ActiveTitle);
}

// ---- Copy as ----

// The copy-as dialog made as the program makes it.
class CopyAsDrag : public FileDragMenu
{
protected:
    CopyAsDrag() { CopyAsForm = &CopyAs; }
    ~CopyAsDrag() override { CopyAsForm = nullptr; }

    // The next request is the copy-as dialog of the caption: it must propose `proposed`,
    // and it is answered by typing `name` and clicking the copy button.
    void CopyAsAnswer(TModalScript& script, const std::string& caption, const std::string& proposed,
                      const std::string& name)
    {
        script.Expect(caption, mrOkay, [this, proposed, name](const TModalRequest&) {
            EXPECT_EQ(proposed, CopyAs.TypedName());
            CopyAs.NameComboBox->setEditText(QString::fromStdString(name));
            CopyAs.CopyButtonClick();
        });
    }

    TCopyAsForm CopyAs;
};

TEST_F(CopyAsDrag, CopyAsAndMoveAsGiveTheDraggedFileTheTypedName)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_CopyAs");
        CopyAsAnswer(script, "Copy as", "a.txt", "copied.txt");
        MouseDrag(source, "a.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ("d/a.txt", Drive.ReadFile("e/copied.txt"));
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_MoveAs");
        CopyAsAnswer(script, "Move as", "b.txt", "moved.txt");
        MouseDrag(source, "b.txt", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ("d/b.txt", Drive.ReadFile("e/moved.txt"));
    EXPECT_FALSE(Drive.Exists("d/b.txt"));
    EXPECT_EQ(0, Window->BusyCount);
}

TEST_F(CopyAsDrag, LastNumberedProposesTheNameAfterTheLastOfTheRun)
{
    for (const char* file : {"n/img_001.jpg", "n/img_002.jpg", "n/img_003.jpg", "n/zz.txt"})
        Drive.WriteFile(file, file);
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"n\\img_001.jpg"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_CopyAsLastNumbered");
        CopyAsAnswer(script, "Copy as last numbered", "img_004.jpg", "img_004.jpg");
        MouseDrag(source, "a.txt", false, mbLeft, destination, "img_002.jpg");
    }
    EXPECT_EQ("d/a.txt", Drive.ReadFile("n/img_004.jpg"));
    EXPECT_EQ(0, Window->BusyCount);
}

TEST_F(CopyAsDrag, AFolderIsCopiedIntoTheNewlyNamedFolder)
{
    TColumn& source = Show(0, {"d\\sub"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    {
        TModalScript script;
        ChooseFromMenu(script, "FileDragMenu_CopyAs");
        CopyAsAnswer(script, "Copy as", "sub", "renamed");
        Okay(script, "Copy");
        MouseDrag(source, "sub", false, mbLeft, destination, "x.txt");
    }
    EXPECT_EQ("d/sub/s.txt", Drive.ReadFile("e/renamed/s.txt"));
    EXPECT_TRUE(Drive.Exists("d/sub/s.txt"));
    EXPECT_EQ(0, Window->BusyCount);
}

TEST_F(CopyAsDrag, CopyAsHardLinkLinksTheDraggedFileIntoTheDropFolder)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& destination = Show(1, {"e\\x.txt"});
    Drag(source, "a.txt", destination, "x.txt");
    {
        TModalScript script;
        CopyAsAnswer(script, "Copy as hard-link", "a.txt", "linked.txt");
        Window->CopyAsHardLink();
    }
    EXPECT_EQ("d/a.txt", Drive.ReadFile("e/linked.txt"));
    EXPECT_EQ(2u, host::GetHardLinkCount(Drive.Path("d\\a.txt")));
    EXPECT_EQ(0, Window->BusyCount);
}

// ---- System menu ----

class SystemMenu : public FileDragMenu
{
protected:
    // Shows the menu of the caption for the press on the item of column 0, with column 1
    // (or 0) active, and chooses "Copy" in it.
    void CopyFromMenu(const std::string& caption, const std::string& name, TShiftState shift, bool drag,
                      int32_t activeSlot = 0)
    {
        TColumn& source = ColumnAt(*Window, 0);
        Drag(source, name, ColumnAt(*Window, activeSlot), activeSlot == 0 ? name : "x.txt", shift);
        TModalScript script;
        script.Expect(caption, 0, [&](const TModalRequest& request) {
            auto* menu = dynamic_cast<TContextMenu*>(request.Menu);
            ASSERT_NE(nullptr, menu);
            menu->FindAction("Copy")->trigger();
        });
        RunAndCheckTheEnd([&] { Window->ShowContextMenu(Window->Press.DragItemIndex, -1, -1, shift, drag); });
    }

    // The busy count comes back and the next directory check is forced, whatever happened.
    void RunAndCheckTheEnd(const std::function<void()>& show)
    {
        const int32_t busy = Window->BusyCount;
        Window->ForceCheckPending = false;
        show();
        EXPECT_EQ(busy, Window->BusyCount);
        EXPECT_TRUE(Window->ForceCheckPending);
    }
};

TEST_F(SystemMenu, TheCaptionAndTheItemFollowCtrlAndShift)
{
    struct TRow
    {
        TShiftState Shift;
        bool Drag;
        std::string Caption;
        std::string Item;
    };
    const TShiftState ctrl = ShiftOf(ssCtrl);
    const TShiftState shift = ShiftOf(ssShift);
    const TRow rows[] = {
        {0, false, "System: Active title", "d/link.lnk"},
        {ctrl, false, "System: Active reference", "e/x.txt"},
        {shift, false, "System: Parent directory", "d"},
        {static_cast<TShiftState>(ctrl | shift), false, "System: Parent directory", "e"},
        {0, true, "System drag: Active title", "d/link.lnk"},
        {ctrl, true, "System drag: Active reference", "e/x.txt"},
        {shift, true, "System drag: Parent directory", "d"},
    };
    Show(0, {"d\\link.lnk"});
    Show(1, {"e\\x.txt"});
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Caption);
        QGuiApplication::clipboard()->setText("before");
        CopyFromMenu(row.Caption, "link.lnk", row.Shift, row.Drag, row.Drag ? 1 : 0);
        EXPECT_EQ(TNames{Drive.HostPath(row.Item)}, ClipboardFiles());
    }
}

TEST_F(SystemMenu, AltShowsNothingAndADragOntoAContainerOnlyWarns)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    TColumn& container = Show(1, {"e\\x.txt", 1});
    Drag(source, "a.txt", source, "a.txt", ShiftOf(ssAlt));
    {
        TModalScript script; // any menu or box fails the test
        RunAndCheckTheEnd([&] { Window->ShowContextMenu(Window->Press.DragItemIndex, -1, -1, ShiftOf(ssAlt), false); });
    }
    Drag(source, "a.txt", container, "x.txt");
    TModalScript script;
    script.Expect("Warning", IDOK);
    RunAndCheckTheEnd([&] { Window->ShowContextMenu(Window->Press.DragItemIndex, -1, -1, 0, true); });
    EXPECT_EQ("The destination can't be a container.", script.Seen().at(0).Text);
}

TEST_F(SystemMenu, AnItemThatIsGoneIsAFailureOfTheMenu)
{
    TColumn& source = Show(0, {"d\\a.txt"});
    Drag(source, "a.txt", source, "a.txt");
    fs::remove(Drive.HostPath("d/a.txt"));
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        RunAndCheckTheEnd([&] { Window->ShowContextMenu(Window->Press.DragItemIndex, -1, -1, 0, false); });
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to show \"System\" menu."));
}

// The menu's "Rename" is the program's own rename of the active column's file.
TEST_F(SystemMenu, RenameRunsTheColumnsRename)
{
    struct TRenames : TFileDialogsStandIn
    {
        bool RenameDialog(TColumn& column, bool item, TContainer*) override
        {
            Seen.emplace_back(column.Index, item);
            return false;
        }
        std::vector<std::pair<int32_t, bool>> Seen;
    } renames;
    TFileDialogServices& window = TSeam<TFileDialogServices>::Get();
    TSeam<TFileDialogServices>::Install(&renames);
    TColumn& column = Show(0, {"d\\a.txt"});
    Drag(column, "a.txt", column, "a.txt");
    {
        TModalScript script;
        script.Expect("System: Active title", 0, [](const TModalRequest& request) {
            dynamic_cast<TContextMenu&>(*request.Menu).FindAction("Rename")->trigger();
        });
        RunAndCheckTheEnd([&] { Window->ShowContextMenu(Window->Press.DragItemIndex, -1, -1, 0, false); });
    }
    TSeam<TFileDialogServices>::Install(&window);
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{0, false}}), renames.Seen);
}

// A container's selection spans folders: each item is the file it names, not a file of
// that name in the focused entry's folder (d holds an x.txt too).
TEST_F(SystemMenu, AContainersSelectionListsItsFullPaths)
{
    Drive.WriteFile("d/x.txt", "decoy");
    TColumn& column = Show(0, {"d\\a.txt", 0});
    Select(column, {"a.txt", "x.txt"});
    CopyFromMenu("System: Active title", "a.txt", 0, false);
    EXPECT_EQ((TNames{Drive.HostPath("d/a.txt"), Drive.HostPath("e/x.txt")}), ClipboardFiles());
}

TEST_F(SystemMenu, ARightClickOnABadgeShowsTheMenuOfThatItem)
{
    TColumn& column = Show(0, {"d\\a.txt"});
    Window->show();
    QApplication::setActiveWindow(&*Window);
    Window->FocusColumn(0, true);
    const QRect area = column.FileList->GetItemAreaRect(column.IndexOfName("b.txt"));
    const int32_t border = column.FileList->Border;
    const QPoint badge = area.topLeft() + QPoint(1 + border, 1 + border);
    TModalScript script;
    script.Expect("System: Active title", 0, [](const TModalRequest& request) {
        dynamic_cast<TContextMenu&>(*request.Menu).FindAction("Copy")->trigger();
    });
    column.FileList->MouseDown(mbRight, 0, badge.x(), badge.y());
    PanelDrag.Cancel();
    // The pressed item is painted as the focused one before the button comes up.
    QApplication::processEvents();
    column.FileListDragDrop(column.FileList, column.FileList, badge.x() - border, badge.y() - border);
    EXPECT_EQ(TNames{Drive.HostPath("d/b.txt")}, ClipboardFiles());
}

} // namespace
