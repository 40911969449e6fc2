#include "BoardTestWindow.h"

#include "fileops/CopyAsForm.h"
#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/ContainerDialog.h"
#include "columns/Containers.h"

#include "panels/PanelDrag.h"

#include "core/desktop/DropSource.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/SkinOptions.h"

#include "support/PictureFixtures.h"
#include "support/RecordingDrags.h"
#include "support/ShownFailures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>

#include <filesystem>
#include <set>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

using TNames = std::vector<std::string>;

const TNames DropItems = {
    "ExternalFileDragMenu_GoToFile",
    "ExternalFileDragMenu_CopyToContainer",
    "ExternalFileDragMenu_CopyToThisContainer",
    "ExternalFileDragMenu_Copy",
    "ExternalFileDragMenu_Move",
    "ExternalFileDragMenu_ConvertPicture",
    "ExternalFileDragMenu_CopyAs",
    "ExternalFileDragMenu_MoveAs",
    "ExternalFileDragMenu_SetAsBackgroundPicture",
};

// What a column shows: a folder of drive T: focused on an item, a container focused on its
// first entry, or the drive list ("T:").
struct TView
{
    std::string Title;
    int32_t Container = -1;
};

// A shown main window over drive T: with the file-operation dialogs made as the program
// makes them. Drive T: holds
//   d\a.txt  d\b.txt  d\pic.png  d\album.jpg\ (a folder)  other\c.txt  to\x.txt
// and container 0 (to\x.txt).
class FileDrop : public testing::Test
{
protected:
    FileDrop()
    {
        FileForm = &Form;
        OverwriteForm = &Overwrite;
        CopyAsForm = &CopyAs;
        for (const char* file : {"d/a.txt", "d/b.txt", "d/album.jpg/inside.txt", "other/c.txt", "to/x.txt"})
            Drive.WriteFile(file, file);
        SavePicture(Drive, "d/pic.png", SolidPicture(4, 4, Qt::red));
        Window.Open();
        TContainer& container = *Window->FindContainer(0);
        container.Clear();
        container.AddItem(Drive.Path("to\\x.txt"), 0);
        Window->show();
        Window->Reset(false);
    }
    ~FileDrop() override
    {
        Window.Discard();
        FileForm = nullptr;
        OverwriteForm = nullptr;
        CopyAsForm = nullptr;
        SkinOptions = SavedSkin;
    }

    TColumn& Show(int32_t slot, const TView& view)
    {
        TColumn& column = ColumnAt(*Window, slot);
        if (view.Container >= 0)
            column.ReloadContainer(view.Container);
        else
            column.LoadDirectory({.ContainerIndex = -1, .Title = view.Title.empty() ? "T:" : Drive.Path(view.Title)});
        return column;
    }

    static QPoint ListCentre(const TColumn& column)
    {
        return column.FileList->mapToGlobal(column.FileList->rect().center());
    }

    QList<QUrl> UrlsOf(const TNames& files) const
    {
        QList<QUrl> urls;
        for (const std::string& file : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(Drive.HostPath(file)));
        return urls;
    }

    // Sends the drag's entry into the window, as the desktop does; true when the window
    // takes the drag, which it then answers with `action`.
    bool SendEnter(const QList<QUrl>& urls, QPoint screenPos, Qt::KeyboardModifiers modifiers,
                   Qt::DropAction* action = nullptr)
    {
        Data.setUrls(urls);
        QDragEnterEvent enter(Window->mapFromGlobal(screenPos), Offered, &Data, Qt::LeftButton, modifiers);
        enter.ignore();
        QCoreApplication::sendEvent(&*Window, &enter);
        if (action != nullptr)
            *action = enter.dropAction();
        return enter.isAccepted();
    }

    // Sends the drag's entry and its drop to the window, and gives the drop event as the
    // window left it; the queued part of the drop has not run yet.
    std::unique_ptr<QDropEvent> SendDrop(const QList<QUrl>& urls, QPoint screenPos,
                                         Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        EXPECT_TRUE(SendEnter(urls, screenPos, modifiers));
        auto event = std::make_unique<QDropEvent>(QPointF(Window->mapFromGlobal(screenPos)), Offered, &Data,
                                                  Qt::LeftButton, modifiers);
        event->ignore();
        QCoreApplication::sendEvent(&*Window, event.get());
        return event;
    }

    // The whole drop: the event, then the menu.
    void Drop(const TNames& files, QPoint screenPos)
    {
        SendDrop(UrlsOf(files), screenPos);
        QCoreApplication::sendPostedEvents(&*Window);
    }

    // The next request is the File-drop menu of the caption; `act` reads it or chooses.
    static void AtMenu(TModalScript& script, const std::string& caption, std::function<void(QMenu&)> act)
    {
        script.Expect(caption, 0, [act = std::move(act)](const TModalRequest& request) {
            ASSERT_NE(nullptr, request.Menu);
            act(*request.Menu);
        });
    }

    void Choose(TModalScript& script, const std::string& caption, const std::string& name)
    {
        AtMenu(script, caption, [this, name](QMenu&) {
            auto* action = Window->findChild<QAction*>(QString::fromStdString(name));
            ASSERT_NE(nullptr, action) << name;
            ASSERT_TRUE(action->isEnabled()) << name;
            action->trigger();
        });
    }

    std::set<std::string> EnabledItems() const
    {
        std::set<std::string> enabled;
        for (const std::string& name : DropItems)
            if (Window->findChild<QAction*>(QString::fromStdString(name))->isEnabled())
                enabled.insert(name);
        return enabled;
    }

    TColumn& Hidden() const { return ColumnAt(*Window, HiddenColumnIndex); }

    TTempDrive Drive{'T'};
    TFileForm Form;
    TOverwriteForm Overwrite;
    TCopyAsForm CopyAs;
    TBoardTestWindow Window;
    QMimeData Data;
    const Qt::DropActions Offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    const TSkinOptions SavedSkin = SkinOptions;
};

// ---- Enabling ----

TEST_F(FileDrop, TheDropsNamesAndTheColumnDroppedOnDecideTheItems)
{
    struct TRow
    {
        const char* Name;
        TNames Dropped;
        TView Onto;
        // Else over the column's header, which is no list.
        bool OverList;
        std::string Caption;
        int32_t Active;
        std::set<std::string> Enabled;
    };
    const std::string toContainer = "ExternalFileDragMenu_CopyToContainer";
    const std::set<std::string> fileCommands = {toContainer, "ExternalFileDragMenu_Copy", "ExternalFileDragMenu_Move",
                                                "ExternalFileDragMenu_ConvertPicture"};
    const std::set<std::string> oneFile = {"ExternalFileDragMenu_GoToFile",       toContainer,
                                           "ExternalFileDragMenu_Copy",           "ExternalFileDragMenu_Move",
                                           "ExternalFileDragMenu_ConvertPicture", "ExternalFileDragMenu_CopyAs",
                                           "ExternalFileDragMenu_MoveAs"};
    std::set<std::string> onePicture = oneFile;
    onePicture.insert("ExternalFileDragMenu_SetAsBackgroundPicture");
    const std::set<std::string> intoContainer = {"ExternalFileDragMenu_GoToFile", toContainer,
                                                 "ExternalFileDragMenu_CopyToThisContainer"};
    const TRow rows[] = {
        {"one picture on a folder column", {"d/pic.png"}, {"to\\x.txt"}, true, "File-drop (1 items)", 1, onePicture},
        {"a folder named as a picture", {"d/album.jpg"}, {"to\\x.txt"}, true, "File-drop (1 items)", 1, oneFile},
        {"three files from two folders",
         {"d/a.txt", "d/b.txt", "other/c.txt"},
         {"to\\x.txt"},
         true,
         "File-drop (3 items)",
         1,
         fileCommands},
        {"a container column", {"d/a.txt"}, {"", 0}, true, "File-drop (1 items)", 1, intoContainer},
        {"the drive list",
         {"d/a.txt"},
         {""},
         true,
         "File-drop (1 items)",
         1,
         {"ExternalFileDragMenu_GoToFile", toContainer}},
        {"over no column list the active column stays",
         {"d/a.txt"},
         {"to\\x.txt"},
         false,
         "File-drop (1 items)",
         0,
         intoContainer},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        // The active column before the drop shows a container, unlike every column dropped on.
        Show(0, {"", 0});
        Window->FocusColumn(0, true);
        TColumn& onto = Show(1, row.Onto);
        TModalScript script;
        AtMenu(script, row.Caption, [&](QMenu& menu) {
            EXPECT_EQ(row.Caption, menu.defaultAction()->text().toStdString());
            EXPECT_EQ(row.Active, Window->ActiveColumnIndex);
            EXPECT_EQ(row.Enabled, EnabledItems());
        });
        Drop(row.Dropped, row.OverList ? ListCentre(onto) : onto.HeaderButton->mapToGlobal(QPoint(5, 5)));
    }
}

// ---- The drop ----

TEST_F(FileDrop, TheMenuOpensAfterTheDropWasAnsweredAsACopy)
{
    TColumn& onto = Show(1, {"to\\x.txt"});
    TModalScript script;
    AtMenu(script, "File-drop (3 items)", [this](QMenu&) {
        EXPECT_EQ(Drive.Path("d\\a.txt"), Window->Press.DragItemTitle);
        EXPECT_EQ(HiddenColumnIndex, Window->Press.DragSourceColumn);
        EXPECT_EQ(3, Hidden().SelectedCount) << "the file commands take every dropped file";
        EXPECT_EQ(ListedTitles(Hidden()), Window->DroppedFiles);
    });
    const std::unique_ptr<QDropEvent> event =
        SendDrop(UrlsOf({"d/a.txt", "d/b.txt", "other/c.txt"}), ListCentre(onto), Qt::ShiftModifier);
    EXPECT_TRUE(event->isAccepted());
    EXPECT_EQ(Qt::CopyAction, event->dropAction()) << "a move would let the other program delete its files";
    EXPECT_TRUE(script.Seen().empty()) << "no menu while the other program's drag waits";
    QCoreApplication::sendPostedEvents(&*Window);
    EXPECT_THAT(Window->DroppedFiles,
                ElementsAre(Drive.Path("d\\a.txt"), Drive.Path("d\\b.txt"), Drive.Path("other\\c.txt")));
}

TEST_F(FileDrop, OnlyDragsHoldingLocalFilesAreTakenAndOtherAddressesAreLeftOut)
{
    const QList<QUrl> web = {QUrl("http://example.com/a.txt"), QUrl("trash:/b.txt")};
    const QPoint inside = Window->mapToGlobal(QPoint(20, 20));
    EXPECT_FALSE(SendEnter(web, inside, Qt::NoModifier));
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(SendEnter(web + UrlsOf({"d/a.txt"}), inside, Qt::ShiftModifier, &action));
    EXPECT_EQ(Qt::CopyAction, action);

    TModalScript script;
    AtMenu(script, "File-drop (1 items)", [](QMenu&) {});
    SendDrop(web + UrlsOf({"d/a.txt"}), inside);
    QCoreApplication::sendPostedEvents(&*Window);
    EXPECT_EQ(TNames{Drive.Path("d\\a.txt")}, Window->DroppedFiles);
}

// A local file whose path the program cannot hold is no file it could work on.
TEST_F(FileDrop, ADropOfNoFileTheProgramCanNameShowsNoMenu)
{
    const QList<QUrl> tooLong = UrlsOf({"d/" + std::string(300, 'n') + ".txt"});
    TShownFailures failures;
    TModalScript script;
    failures.Expect(script, "Error");
    SendDrop(tooLong, Window->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendPostedEvents(&*Window);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to setup the \"File-drop\" menu."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("No files are dropped."));
}

// ---- The commands ----

TEST_F(FileDrop, CopyCopiesEveryDroppedFileIntoTheColumnDroppedOn)
{
    TColumn& onto = Show(1, {"to\\x.txt"});
    {
        TModalScript script;
        Choose(script, "File-drop (3 items)", "ExternalFileDragMenu_Copy");
        script.Expect("Copy", mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
        Drop({"d/a.txt", "d/b.txt", "other/c.txt"}, ListCentre(onto));
    }
    EXPECT_EQ("d/a.txt", Drive.ReadFile("to/a.txt"));
    EXPECT_EQ("d/b.txt", Drive.ReadFile("to/b.txt"));
    EXPECT_EQ("other/c.txt", Drive.ReadFile("to/c.txt"));
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
    EXPECT_TRUE(Window->DroppedFiles.empty());
    EXPECT_EQ(0, Window->BusyCount);
}

// Such a name travels in its mapped form, as in every listing, and reaches the same file.
TEST_F(FileDrop, ANameWindowsCannotHoldIsDroppedAsAnyOther)
{
    Drive.WriteFile("d/odd:name?.txt", "odd");
    TColumn& onto = Show(1, {"to\\x.txt"});
    {
        TModalScript script;
        Choose(script, "File-drop (1 items)", "ExternalFileDragMenu_Copy");
        script.Expect("Copy", mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
        Drop({"d/odd:name?.txt"}, ListCentre(onto));
    }
    EXPECT_EQ("odd", Drive.ReadFile("to/odd:name?.txt"));
}

TEST_F(FileDrop, MoveAsGivesTheDroppedFileTheTypedNameInTheFolderDroppedOn)
{
    TColumn& onto = Show(1, {"to\\x.txt"});
    {
        TModalScript script;
        Choose(script, "File-drop (1 items)", "ExternalFileDragMenu_MoveAs");
        script.Expect("Move as", mrOkay, [this](const TModalRequest&) {
            CopyAs.NameComboBox->setEditText("moved.txt");
            CopyAs.CopyButtonClick();
        });
        Drop({"other/c.txt"}, ListCentre(onto));
    }
    EXPECT_EQ("other/c.txt", Drive.ReadFile("to/moved.txt"));
    EXPECT_FALSE(Drive.Exists("other/c.txt"));
    EXPECT_TRUE(Window->DroppedFiles.empty());
}

TEST_F(FileDrop, CopyToThisContainerAddsTheNamesWithoutAQuestion)
{
    TColumn& onto = Show(1, {"", 0});
    const int32_t busy = Window->BusyCount;
    {
        TModalScript script; // a question would fail the test
        Choose(script, "File-drop (2 items)", "ExternalFileDragMenu_CopyToThisContainer");
        Drop({"other/c.txt", "d/a.txt"}, ListCentre(onto));
    }
    EXPECT_THAT(ListedTitles(onto),
                ElementsAre(Drive.Path("to\\x.txt"), Drive.Path("other\\c.txt"), Drive.Path("d\\a.txt")));
    EXPECT_EQ(3, Window->FindContainer(0)->Count());
    EXPECT_EQ(busy, Window->BusyCount);
    EXPECT_TRUE(Window->DroppedFiles.empty());
}

TEST_F(FileDrop, TheContainerAndBackgroundChoicesKeepTheDroppedNames)
{
    TColumn& onto = Show(1, {"to\\x.txt"});
    {
        TModalScript script;
        AtMenu(script, "File-drop (1 items)", [this](QMenu&) {
            QMenu& containers = *Window->findChild<QAction*>("ExternalFileDragMenu_CopyToContainer")->menu();
            ASSERT_EQ(ContainerCount, containers.actions().size());
            EXPECT_EQ(&Hidden(), Window->ContainerDialog->Context) << "the dropped files go into the container";
            containers.actions().at(2)->trigger();
        });
        Drop({"d/pic.png"}, ListCentre(onto));
    }
    EXPECT_EQ(TNames{Drive.Path("d\\pic.png")}, Window->DroppedFiles);
    {
        TModalScript script;
        Choose(script, "File-drop (1 items)", "ExternalFileDragMenu_SetAsBackgroundPicture");
        Drop({"d/pic.png"}, ListCentre(onto));
    }
    EXPECT_TRUE(SkinOptions.UseBackPicture);
    EXPECT_EQ(Drive.Path("d\\pic.png"), SkinOptions.BackPictureFileTitle);
    EXPECT_EQ(TNames{Drive.Path("d\\pic.png")}, Window->DroppedFiles);
}

TEST_F(FileDrop, GoToFileShowsTheFileInItsFolderLeavingTheContainer)
{
    TColumn& onto = Show(1, {"", 0});
    {
        TModalScript script;
        Choose(script, "File-drop (1 items)", "ExternalFileDragMenu_GoToFile");
        Drop({"other/c.txt"}, ListCentre(onto));
    }
    EXPECT_EQ(-1, onto.ContainerIndex);
    EXPECT_EQ(Drive.Path("other\\c.txt"), onto.ActiveTitle);
    EXPECT_EQ(Drive.Path("other\\c.txt"), onto.GetItem(onto.FileList->FocusIndex).Title);
    EXPECT_TRUE(Window->DroppedFiles.empty());
}

TEST_F(FileDrop, GoingToAFileGoneSinceTheDropFails)
{
    TColumn& onto = Show(1, {"to\\x.txt"});
    TShownFailures failures;
    {
        TModalScript script;
        AtMenu(script, "File-drop (1 items)", [this](QMenu&) {
            std::filesystem::remove(Drive.HostPath("other/c.txt"));
            Window->findChild<QAction*>("ExternalFileDragMenu_GoToFile")->trigger();
        });
        failures.Expect(script, "Error");
        Drop({"other/c.txt"}, ListCentre(onto));
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to go to file."));
    EXPECT_EQ(Drive.Path("to\\x.txt"), onto.ActiveTitle);
}

// ---- Dragging out ----

TEST(ExternalDragDue, OnlyALeftButtonColumnDragOutsideTheClientRectangle)
{
    struct TRow
    {
        const char* Name;
        bool ColumnDrag;
        bool LeftDown;
        QPoint Cursor;
        bool Due;
    };
    const QRect client(100, 50, 200, 120);
    const TRow rows[] = {
        {"inside", true, true, {150, 80}, false},
        {"on the left edge", true, true, {100, 80}, false},
        {"on the right end", true, true, {300, 80}, false},
        {"on the top edge", true, true, {150, 50}, false},
        {"on the bottom end", true, true, {150, 170}, false},
        {"left of it", true, true, {99, 80}, true},
        {"right of it", true, true, {301, 80}, true},
        {"above it", true, true, {150, 49}, true},
        {"below it", true, true, {150, 171}, true},
        {"button up", true, false, {99, 80}, false},
        {"no column drag", false, true, {99, 80}, false},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(row.Due, TMainForm::IsExternalDragDue(row.ColumnDrag, row.LeftDown, row.Cursor, client)) << row.Name;
}

class ExternalDrag : public FileDrop
{
protected:
    // A left press on the item, as the user begins a drag in the column.
    void Press(TColumn& column, const std::string& name, TShiftState shift)
    {
        const int32_t item = column.IndexOfName(name);
        const QRect area = column.FileList->GetItemAreaRect(item);
        const int32_t border = column.FileList->Border;
        const QPoint press = area.topLeft() + QPoint(column.GetBadgeWidth(true) + 5 + border, 1 + border);
        column.FileList->MouseDown(mbLeft, shift, press.x(), press.y());
        ASSERT_TRUE(Window->Press.ColumnDragActive);
        ASSERT_TRUE(PanelDrag.IsActive());
    }

    TRecordingDrags Drags;
};

TEST_F(ExternalDrag, TheKeysAllowExactlyOneType)
{
    struct TRow
    {
        TShiftState Shift;
        Qt::DropActions Allowed;
    };
    const TRow rows[] = {
        {ShiftOf(ssShift), Qt::MoveAction},
        {ShiftOf(ssAlt), Qt::LinkAction},
        {static_cast<TShiftState>(ShiftOf(ssCtrl) | ShiftOf(ssShift)), Qt::CopyAction},
        {static_cast<TShiftState>(ShiftOf(ssAlt) | ShiftOf(ssShift)), Qt::CopyAction},
        {0, Qt::CopyAction},
    };
    TColumn& column = Show(0, {"d\\a.txt"});
    Drags.During = [this](const host::DragRequest&) {
        EXPECT_FALSE(PanelDrag.IsActive()) << "the column drag ends first";
        EXPECT_FALSE(Window->Press.ColumnDragActive);
    };
    for (const TRow& row : rows) {
        Press(column, "b.txt", row.Shift);
        Window->ActivateExternalDrag();
    }
    ASSERT_EQ(std::size(rows), Drags.Drags.size());
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(rows[i].Allowed, Drags.Drags[i].Allowed) << i;
        EXPECT_EQ(UrlsOf({"d/b.txt"}), Drags.Drags[i].Urls) << "the active title, with nothing selected";
        EXPECT_THAT(Drags.Drags[i].CopiedFiles, HasSubstr("file://" + Drive.HostPath("d/b.txt")));
    }
}

// A container's selection spans folders.
TEST_F(ExternalDrag, TheSelectionGoesOutByItsHostPaths)
{
    Window->FindContainer(0)->AddItem(Drive.Path("d\\a.txt"), 0);
    Window->FindContainer(0)->AddItem(Drive.Path("other\\c.txt"), 0);
    TColumn& column = Show(0, {"", 0});
    column.SelectItem(column.IndexOfName("c.txt"));
    column.SelectItem(column.IndexOfName("a.txt"));
    Press(column, "x.txt", 0);
    Window->ActivateExternalDrag();
    ASSERT_EQ(1u, Drags.Drags.size());
    EXPECT_EQ(UrlsOf({"d/a.txt", "other/c.txt"}), Drags.Drags[0].Urls);
}

TEST_F(ExternalDrag, AnEmptyListDragsNothing)
{
    Drive.WriteFile("empty/.keep", "");
    std::filesystem::remove(Drive.HostPath("empty/.keep"));
    TColumn& column = Show(0, {"empty\\none"});
    ASSERT_EQ(0, column.GetItemCount());
    column.FileList->MouseDown(mbLeft, 0, 10, 10);
    Window->ActivateExternalDrag();
    EXPECT_TRUE(Drags.Drags.empty());
    EXPECT_FALSE(PanelDrag.IsActive());
}

} // namespace
