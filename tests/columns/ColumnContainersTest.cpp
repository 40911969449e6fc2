#include "ColumnTestSupport.h"

#include "columns/FileDialogServices.h"
#include "columns/MainWindowMouse.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Error.h"
#include "core/files/FileStream.h"

#include "host/MountTable.h"
#include "host/Volumes.h"

#include "support/ShownFailures.h"

#include <QMenu>

#include <sys/xattr.h>

namespace {

// Stands in for the main window's press record and the multi-rename dialog; counts the
// main window's directory checks.
class TFakeContainerServices : public TMainWindowMouseStandIn, public TFileDialogsStandIn
{
public:
    explicit TFakeContainerServices(TFakeMainWindow& window) : Checks(window.Checks)
    {
        TSeam<TMainWindowMouse>::Install(this);
        TSeam<TFileDialogServices>::Install(this);
    }
    ~TFakeContainerServices() override
    {
        TSeam<TFileDialogServices>::Install(nullptr);
        TSeam<TMainWindowMouse>::Install(nullptr);
    }
    TFakeContainerServices(const TFakeContainerServices&) = delete;
    TFakeContainerServices& operator=(const TFakeContainerServices&) = delete;

    bool MultiRenameDialog(TColumn&, TContainer* container, bool renameFiles) override
    {
        Renames.push_back({container, renameFiles});
        if (container != nullptr && RenameOkay)
            container->RenameItem(0, "C:\\renamed", "");
        return RenameOkay;
    }

    const int& Checks;
    bool RenameOkay = true;
    std::vector<std::pair<TContainer*, bool>> Renames;
};

using TPaths = std::vector<std::string>;

class ColumnContainers : public ColumnTest
{
protected:
    // A column in the slot that shows the container, which holds the paths.
    TColumn& ShowContainer(int32_t slot, int32_t container, const TPaths& paths = {})
    {
        for (const std::string& path : paths)
            Window.Containers.Find(container)->AddItem(path, 0);
        TColumn& column = MakeColumn(slot);
        column.ReloadContainer(container);
        return column;
    }
    TPaths Entries(int32_t container)
    {
        TPaths paths;
        for (const TContainerItem& entry : Window.Containers.Find(container)->Items())
            paths.push_back(entry.Path);
        return paths;
    }
    static TPaths Titles(const TColumn& column)
    {
        TPaths titles;
        for (int32_t i = 0; i < column.GetItemCount(); ++i)
            titles.push_back(column.GetItem(i).Title);
        return titles;
    }
    static void Select(TColumn& column, const std::vector<int32_t>& indices)
    {
        for (const int32_t index : indices)
            column.SelectItem(index);
    }

    TFakeContainerServices Services{Window};
    const TPaths Letters{"C:\\a", "C:\\b", "C:\\c", "C:\\d", "C:\\e"};
};

TEST_F(ColumnContainers, CopyAppendsTheSelectionInOrderAndEveryColumnOfTheContainerShowsIt)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        MakeFile(name);
    TColumn& source = MakeColumn(0);
    Open(source, Drive.Path("a.txt"));
    Select(source, {0, 2, 3});
    TColumn& target = ShowContainer(1, 4, {"C:\\old"});
    TColumn& twin = ShowContainer(2, 4);

    TModalScript script;
    script.Expect("Query", IDYES);
    EXPECT_TRUE(target.CopyToContainer(source, true, false));

    EXPECT_EQ("Copy the 3 selected files to the container?\n\nThe files themselves are NOT copied, but only the "
              "container items.",
              script.Seen().at(0).Text);
    const TPaths expected{"C:\\old", Drive.Path("a.txt"), Drive.Path("c.txt"), Drive.Path("d.txt")};
    EXPECT_EQ(expected, Entries(4));
    EXPECT_EQ(expected, Titles(target));
    EXPECT_EQ(expected, Titles(twin));
    EXPECT_EQ(0, source.SelectedCount);
    EXPECT_EQ(0, Window.Busy);
}

TEST_F(ColumnContainers, CopyAskedNoOrOntoADirectoryChangesNothing)
{
    TColumn& source = ShowContainer(0, 0, {"C:\\a"});
    TColumn& target = ShowContainer(1, 1, {"C:\\x"});
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        EXPECT_FALSE(target.CopyToContainer(source, true, false));
        EXPECT_EQ("Copy the focused file to the container?\n\nThe file itself is NOT copied, but only the "
                  "container item.",
                  script.Seen().at(0).Text);
    }
    EXPECT_EQ(TPaths{"C:\\x"}, Entries(1));

    MakeFile("f.txt");
    TColumn& directory = MakeColumn(2);
    Open(directory, Drive.Path("f.txt"));
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    EXPECT_FALSE(directory.CopyToContainer(source, true, false));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("The destination must be a container."));
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to copy to container."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

// The source's entries leave their container only once the user agreed and they are all
// in the destination's.
TEST_F(ColumnContainers, MoveRemovesTheSourceEntriesOnlyAfterAConfirmedCopy)
{
    TColumn& source = ShowContainer(0, 0, Letters);
    TColumn& target = ShowContainer(1, 1, {"C:\\x"});
    Select(source, {1, 3});
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        target.MoveToContainer(source);
        EXPECT_EQ("Move the 2 selected files to the container?\n\nThe files themselves are NOT moved, but only the "
                  "container items.",
                  script.Seen().at(0).Text);
    }
    EXPECT_EQ(Letters, Entries(0));
    EXPECT_EQ(TPaths{"C:\\x"}, Entries(1));

    {
        TModalScript script;
        script.Expect("Query", IDYES);
        target.MoveToContainer(source);
    }
    EXPECT_EQ((TPaths{"C:\\a", "C:\\c", "C:\\e"}), Entries(0));
    EXPECT_EQ((TPaths{"C:\\a", "C:\\c", "C:\\e"}), Titles(source));
    EXPECT_EQ((TPaths{"C:\\x", "C:\\b", "C:\\d"}), Entries(1));
}

TEST_F(ColumnContainers, AFailedMoveLeavesTheSourceContainerAlone)
{
    TColumn& source = ShowContainer(0, 0, Letters);
    Select(source, {0});
    MakeFile("f.txt");
    TColumn& directory = MakeColumn(1);
    Open(directory, Drive.Path("f.txt"));
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    directory.MoveToContainer(source);
    EXPECT_EQ(Letters, Entries(0));
    EXPECT_EQ(1, source.SelectedCount);
}

TEST_F(ColumnContainers, RemovingByPositionRefusesAColumnOutOfStepWithItsContainer)
{
    TColumn& column = ShowContainer(0, 0, Letters);
    column.FocusIndex(1);
    Window.Containers.Find(0)->InsertItem(0, "C:\\new");
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Panic");
    failures.Expect(script, "Panic");
    column.RecycleFromContainer(true, false);
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_NE(std::string::npos,
              failures.Reports[0].find(
                  "PANIC: Column and container items are not synchronized. You must reload the column."))
        << failures.Reports[0];
    EXPECT_NE(std::string::npos, failures.Reports[1].find("Failed to recycle from container."));
    EXPECT_EQ(6, Window.Containers.Find(0)->Count());
}

TEST_F(ColumnContainers, RecycleTakesTheSelectionOrTheFocusedEntryOrAll)
{
    TColumn& column = ShowContainer(0, 0, Letters);
    TColumn& twin = ShowContainer(1, 0);
    column.FocusIndex(2);
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        column.RecycleFromContainer(false, false);
        EXPECT_EQ(0u, script.Seen().at(0).Text.rfind("Recycle the focused file from the container?", 0));
    }
    EXPECT_EQ((TPaths{"C:\\a", "C:\\b", "C:\\d", "C:\\e"}), Entries(0));

    Select(column, {0, 3});
    column.RecycleFromContainer(true, false);
    EXPECT_EQ((TPaths{"C:\\b", "C:\\d"}), Entries(0));
    EXPECT_EQ(Entries(0), Titles(twin));

    TModalScript script;
    script.Expect("Query", IDYES);
    column.Com_ClearContainer();
    EXPECT_EQ("Delete all items of the container?\n\nThe files themselves are NOT deleted.", script.Seen().at(0).Text);
    EXPECT_EQ(0, Window.Containers.Find(0)->Count());
    EXPECT_EQ(0, column.GetItemCount());
    EXPECT_EQ(0, twin.GetItemCount());
}

TEST_F(ColumnContainers, InsertPutsTheSelectionBeforeThePositionInItsOrder)
{
    TColumn& source = ShowContainer(0, 0, {"C:\\p", "C:\\q", "C:\\r"});
    TColumn& target = ShowContainer(1, 1, {"C:\\x", "C:\\y"});
    Select(source, {0, 2});
    TModalScript script;
    script.Expect("Query", IDYES);
    target.InsertContainerItem(source, 0);
    EXPECT_EQ(0u, script.Seen().at(0).Text.rfind("Copy and insert the 2 selected files in the container?", 0));
    EXPECT_EQ((TPaths{"C:\\p", "C:\\r", "C:\\x", "C:\\y"}), Entries(1));
    EXPECT_EQ(0, source.SelectedCount);
    EXPECT_EQ(3, Window.Containers.Find(0)->Count());
}

// Each verb asks in its own words, for a selection and for the focused file alone; a No
// leaves both containers as they were.
TEST_F(ColumnContainers, EachVerbAsksInItsOwnWordsAndANoChangesNothing)
{
    enum class TVerb
    {
        Copy,
        Move,
        Insert
    };
    struct Row
    {
        TVerb Verb;
        bool Selection;
        const char* Question;
    };
    const Row rows[] = {
        {TVerb::Copy, true,
         "Copy the 2 selected files to the container?\n\nThe files themselves are NOT copied, but only the "
         "container items."},
        {TVerb::Copy, false,
         "Copy the focused file to the container?\n\nThe file itself is NOT copied, but only the container item."},
        {TVerb::Move, true,
         "Move the 2 selected files to the container?\n\nThe files themselves are NOT moved, but only the "
         "container items."},
        {TVerb::Move, false,
         "Move the focused file to the container?\n\nThe file itself is NOT moved, but only the container item."},
        {TVerb::Insert, true,
         "Copy and insert the 2 selected files in the container?\n\nThe files themselves are NOT copied, but only "
         "the container items."},
        {TVerb::Insert, false,
         "Copy and insert the focused file in the container?\n\nThe file itself is NOT copied, but only the "
         "container item."},
    };
    const TPaths sourceEntries{"C:\\a", "C:\\b", "C:\\c"};
    TColumn& source = ShowContainer(0, 0, sourceEntries);
    TColumn& target = ShowContainer(1, 1, {"C:\\x"});
    for (const Row& row : rows) {
        if (row.Selection)
            Select(source, {0, 2});
        TModalScript script;
        script.Expect("Query", IDNO);
        switch (row.Verb) {
        case TVerb::Copy:
            target.CopyToContainer(source, true, false);
            break;
        case TVerb::Move:
            target.MoveToContainer(source);
            break;
        case TVerb::Insert:
            target.InsertContainerItem(source, 0);
            break;
        }
        ASSERT_EQ(1u, script.Seen().size()) << row.Question;
        EXPECT_EQ(row.Question, script.Seen().at(0).Text);
        EXPECT_EQ(sourceEntries, Entries(0)) << row.Question;
        EXPECT_EQ(TPaths{"C:\\x"}, Entries(1)) << row.Question;
        if (row.Selection)
            for (const int32_t index : {0, 2})
                source.DeselectItem(index);
    }
}

TEST_F(ColumnContainers, InsertIntoTheSourcesOwnContainerOrAnOutOfStepOneChangesNothing)
{
    TColumn& source = ShowContainer(0, 0, {"C:\\p"});
    TColumn& same = ShowContainer(1, 0);
    same.InsertContainerItem(source, 0);
    EXPECT_EQ(TPaths{"C:\\p"}, Entries(0));

    TColumn& target = ShowContainer(2, 1, {"C:\\x"});
    Window.Containers.Find(1)->AddItem("C:\\y", 0);
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Panic");
    failures.Expect(script, "Panic");
    target.InsertContainerItem(source, 0);
    EXPECT_EQ((TPaths{"C:\\x", "C:\\y"}), Entries(1));
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[1].find("Failed to copy and insert to container."));
}

// Entries dropped onto themselves stay where they were; the others go before the first
// unselected item at or after the drop position.
TEST_F(ColumnContainers, RelocateMovesEntriesBeforeTheDropPosition)
{
    struct TRow
    {
        const char* Name;
        std::vector<int32_t> Selected;
        int32_t Dragged;
        int32_t Position;
        TPaths Expected;
    };
    const TRow rows[] = {
        {"dragged onto itself", {}, 1, 1, Letters},
        {"selection onto itself", {1, 2}, 1, 1, Letters},
        {"one entry upward", {}, 3, 1, {"C:\\a", "C:\\d", "C:\\b", "C:\\c", "C:\\e"}},
        {"one entry downward", {}, 0, 3, {"C:\\b", "C:\\c", "C:\\a", "C:\\d", "C:\\e"}},
        {"selection to the front", {3, 4}, 3, 0, {"C:\\d", "C:\\e", "C:\\a", "C:\\b", "C:\\c"}},
        {"selection past a selected drop item", {0, 2}, 0, 2, {"C:\\b", "C:\\a", "C:\\c", "C:\\d", "C:\\e"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        Window.Containers.Find(0)->Clear();
        TColumn& column = ShowContainer(0, 0, Letters);
        Select(column, row.Selected);
        Services.GetPressRecord().DragItemIndex = row.Dragged;
        TModalScript script;
        script.Expect("Query", IDYES);
        column.RelocateContainerItem(column, row.Position);
        EXPECT_EQ(row.Expected, Entries(0));
        EXPECT_EQ(row.Expected, Titles(column));
    }
}

TEST_F(ColumnContainers, RelocateRefusesWhenNoPlaceOrTheActiveEntryHasDuplicates)
{
    TColumn& column = ShowContainer(0, 0, Letters);
    Select(column, {3, 4});
    Services.GetPressRecord().DragItemIndex = 3;
    {
        TModalScript script;
        TShownFailures failures;
        script.Expect("Query", IDYES);
        failures.Expect(script, "Error");
        column.RelocateContainerItem(column, 3);
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_NE(std::string::npos,
                  failures.Reports[0].find("Failed to find a non-selected item after the active item."));
        EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to relocate items."));
    }
    EXPECT_EQ(Letters, Entries(0));

    Window.Containers.Find(1)->AddItem("C:\\a", 0);
    TColumn& duplicates = ShowContainer(1, 1, {"C:\\b", "C:\\A"});
    duplicates.FocusIndex(0);
    TModalScript script;
    script.Expect("Warning", IDOK);
    duplicates.RelocateContainerItem(duplicates, 2);
    EXPECT_EQ(0u, script.Seen().at(0).Text.rfind("The active item has duplicates.", 0));
    EXPECT_EQ((TPaths{"C:\\a", "C:\\b", "C:\\A"}), Entries(1));
}

TEST_F(ColumnContainers, RemovingDuplicatesKeepsTheFirstOfEachIgnoringCase)
{
    const TPaths mixed{"C:\\a", "C:\\B", "C:\\A", "C:\\b", "C:\\c"};
    TColumn& column = ShowContainer(0, 0, mixed);
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        column.RemoveDuplicateContainerItems();
    }
    EXPECT_EQ(mixed, Entries(0));
    TModalScript script;
    script.Expect("Query", IDYES);
    column.RemoveDuplicateContainerItems();
    EXPECT_EQ((TPaths{"C:\\a", "C:\\B", "C:\\c"}), Entries(0));
    EXPECT_EQ(Entries(0), Titles(column));
}

TEST_F(ColumnContainers, PastingAcceptsOnlyAListOfFullPaths)
{
    TColumn& column = ShowContainer(0, 0, {"C:\\a"});
    {
        TModalScript script;
        script.Expect("Warning", IDOK);
        column.AddListToContainer({"C:\\b", "relative\\c"}, true);
        EXPECT_EQ("The clipboard doesn't contain valid file titles.", script.Seen().at(0).Text);
    }
    EXPECT_EQ(TPaths{"C:\\a"}, Entries(0));
    TModalScript script;
    script.Expect("Query", IDYES);
    column.AddListToContainer({"C:\\b", "\\\\server\\share\\c"}, true);
    EXPECT_EQ("Paste 2 file titles in the container?", script.Seen().at(0).Text);
    EXPECT_EQ((TPaths{"C:\\a", "C:\\b", "\\\\server\\share\\c"}), Titles(column));
}

TEST_F(ColumnContainers, PastingFromTheClipboardAppendsItsLines)
{
    TColumn& column = ShowContainer(0, 0, {"C:\\a"});
    CopyTextToClipboard("C:\\b\r\nC:\\c\r\n", "", false, false);
    TModalScript script;
    script.Expect("Query", IDYES);
    column.AddClipboardToContainer();
    EXPECT_EQ((TPaths{"C:\\a", "C:\\b", "C:\\c"}), Titles(column));
    EXPECT_EQ(0, Window.Busy);
}

// A container column shows the renamed entries once the dialog ended with OK; a directory
// column's files are renamed on disk and its directory checked.
TEST_F(ColumnContainers, MultiRenameReloadsTheContainerAfterOkay)
{
    TColumn& column = ShowContainer(0, 0, {"C:\\a"});
    TColumn& twin = ShowContainer(1, 0);
    column.MultiRenameContainerItem(false);
    column.MultiRenameFiles();
    ASSERT_EQ(2u, Services.Renames.size());
    EXPECT_EQ(Window.Containers.Find(0), Services.Renames[0].first);
    EXPECT_FALSE(Services.Renames[0].second);
    EXPECT_TRUE(Services.Renames[1].second);
    EXPECT_EQ(TPaths{"C:\\renamed"}, Titles(column));
    EXPECT_EQ(TPaths{"C:\\renamed"}, Titles(twin));

    MakeFile("f.txt");
    TColumn& directory = MakeColumn(2);
    Open(directory, Drive.Path("f.txt"));
    directory.MultiRenameFiles();
    ASSERT_EQ(3u, Services.Renames.size());
    EXPECT_EQ(nullptr, Services.Renames[2].first);
    EXPECT_EQ(2, Services.Checks);
}

TEST_F(ColumnContainers, GoingToAnEntryListsItsFolderFocusedOnIt)
{
    MakeFile("sub\\x.txt");
    MakeFile("sub\\y.txt");
    TColumn& column = ShowContainer(0, 0, {Drive.Path("gone\\z.txt"), Drive.Path("sub\\y.txt")});
    column.FocusIndex(0);
    {
        TModalScript script;
        script.Expect("Error", IDOK);
        column.GoToContainerItemTarget();
        EXPECT_EQ("The parent directory of the file doesn't exist.", script.Seen().at(0).Text);
    }
    EXPECT_EQ(0, column.ContainerIndex);

    column.FocusIndex(1);
    column.GoToContainerItemTarget();
    EXPECT_EQ(-1, column.ContainerIndex);
    EXPECT_EQ((std::vector<std::string>{"x.txt", "y.txt"}), NamesOf(column));
    EXPECT_EQ("y.txt", FocusedName(column));
}

class ColumnAttachStream : public ColumnContainers
{
protected:
    void SetUp() override
    {
        const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
        if (!reason.empty())
            GTEST_SKIP() << reason;
        if (host::GetDriveType(Drive.Path()) != host::DRIVE_FIXED)
            GTEST_SKIP() << "the test folder is not on a fixed drive";
        Drive.WriteFile("source.txt", "source data");
        MakeFile("target.txt");
        Open(Column, Drive.Path("target.txt"));
        Services.GetPressRecord().DragItemTitle = Drive.Path("source.txt");
    }
    void SetStream(const std::string& name, const std::string& value) const
    {
        ASSERT_EQ(0, setxattr(Drive.HostPath("target.txt").c_str(), ("user." + name).c_str(), value.data(),
                              value.size(), 0));
    }

    TColumn& Column = MakeColumn(0);
};

TEST_F(ColumnAttachStream, TheMenuListsTheFirstThirtyStreamsAfterItsHeading)
{
    for (int i = 0; i < 40; ++i)
        SetStream("s" + std::to_string(100 + i), "");
    QMenu menu;
    menu.addAction("stale");
    Column.SetupAttachStream(menu);
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(31, items.size());
    EXPECT_EQ("Destination streams", items[0]->text());
    EXPECT_EQ(items[0], menu.defaultAction());
    for (int i = 1; i < 31; ++i)
        EXPECT_EQ(items[i]->text(), items[i]->data().toString());
}

TEST_F(ColumnAttachStream, AStreamNamedWithAnAmpersandShowsIt)
{
    SetStream("notes&more", "");
    QMenu menu;
    Column.SetupAttachStream(menu);
    ASSERT_EQ(2, menu.actions().size());
    EXPECT_EQ("notes&&more", menu.actions()[1]->text().toStdString());
    EXPECT_EQ("notes&more", menu.actions()[1]->data().toString().toStdString());
}

// The stream's name comes from the item's data: a caption may carry an accelerator mark.
TEST_F(ColumnAttachStream, AttachingCopiesIntoTheNamedStreamAskingOnlyWhenItHoldsData)
{
    SetStream("empty", "");
    SetStream("full", "old");
    QAction item("&Shown caption");
    item.setData("empty");
    Column.AttachStreamMenuClick(item);
    EXPECT_EQ("source data", ReadFileStream(Drive.Path("target.txt"), "empty", 0));

    item.setData("full");
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        Column.AttachStreamMenuClick(item);
    }
    EXPECT_EQ("old", ReadFileStream(Drive.Path("target.txt"), "full", 0));
    TModalScript script;
    script.Expect("Query", IDYES);
    Column.AttachStreamMenuClick(item);
    EXPECT_EQ("source data", ReadFileStream(Drive.Path("target.txt"), "full", 0));
}

} // namespace
