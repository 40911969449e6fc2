#include "mainwindow/TreeNavigatorForm.h"

#include "panels/MyTPanel.h"

#include "core/desktop/Clipboard.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// The dialog over drive T:, which holds the folders "A\a1" and "b".
class TreeNavigatorFormTest : public testing::Test
{
protected:
    TreeNavigatorFormTest()
    {
        for (const char* folder : {"A/a1", "b"})
            fs::create_directories(Drive.HostPath(folder));
    }

    // Runs the dialog from the start path; `act` drives it while it is shown.
    std::string Run(const std::string& start, int answer, const std::function<void()>& act)
    {
        TModalScript script;
        script.Expect("Directory tree navigator", answer, [&](const TModalRequest&) { act(); });
        return Form.Dialog(start);
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Form.FileSystemTreeView, &event);
    }

    // The file-system tree's node of the path, laid out on the shown form.
    QTreeWidgetItem& ShowNode(const std::string& path)
    {
        Form.show();
        NavigateToTreeDirectory(*Form.FileSystemTreeView, path);
        QTreeWidgetItem* node = Form.FileSystemTreeView->currentItem();
        EXPECT_NE(nullptr, node);
        return *node;
    }

    TTempDrive Drive{'T'};
    TTreeNavigatorForm Form;
};

TEST_F(TreeNavigatorFormTest, TheStartFolderIsSelectedAndCancelReturnsNothingEvenAfterChoosing)
{
    std::string selected;
    const std::string chosen = Run("T:\\A\\", TTreeNavigatorForm::mrCancel, [&] {
        selected = GetSelectedTreePath(*Form.FileSystemTreeView);
        NavigateToTreeDirectory(*Form.FileSystemTreeView, "T:\\b");
    });
    EXPECT_EQ("T:\\A", selected);
    EXPECT_EQ("", chosen);
    EXPECT_EQ(0, Form.FileSystemTreeView->topLevelItemCount()) << "the tree is emptied after the dialog";
}

TEST_F(TreeNavigatorFormTest, OkayAndEnterReturnTheSelectedFolder)
{
    EXPECT_EQ("T:\\A\\a1", Run("T:\\b", TTreeNavigatorForm::mrOkay, [&] {
                  NavigateToTreeDirectory(*Form.FileSystemTreeView, "T:\\A\\a1");
                  Form.OkayButton->click();
              }));
    bool closed = false;
    EXPECT_EQ("T:\\b", Run("T:\\A", TTreeNavigatorForm::mrOkay, [&] {
                  NavigateToTreeDirectory(*Form.FileSystemTreeView, "T:\\b");
                  Press(Qt::Key_Return);
                  closed = Form.result() == TTreeNavigatorForm::mrOkay;
              }));
    EXPECT_TRUE(closed);
}

// Esc from either tree or a button closes the shown dialog as "&Cancel" does.
TEST_F(TreeNavigatorFormTest, EscFromAnyControlCancels)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{Form.FileSystemTreeView, Form.LocationsTreeView, Form.OkayButton}) {
        SCOPED_TRACE(control->metaObject()->className());
        bool cancelled = false;
        Run("T:\\A", TTreeNavigatorForm::mrCancel, [&] {
            Form.show();
            Form.setResult(0);
            QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(control, &event);
            cancelled = Form.result() == TTreeNavigatorForm::mrCancel && !Form.isVisible();
        });
        EXPECT_TRUE(cancelled);
    }
}

TEST_F(TreeNavigatorFormTest, ARightPressOnANodeChoosesItAtOnce)
{
    bool closed = false;
    EXPECT_EQ("T:\\b", Run("T:\\A", TTreeNavigatorForm::mrOkay, [&] {
                  QTreeWidgetItem& node = ShowNode("T:\\b");
                  NavigateToTreeDirectory(*Form.FileSystemTreeView, "T:\\A");
                  const QPoint point = Form.FileSystemTreeView->GetLabelRect(node).center();
                  Form.FileListTreeViewMouseDown(mbRight, 0, point.x(), point.y());
                  closed = Form.result() == TTreeNavigatorForm::mrOkay;
              }));
    EXPECT_TRUE(closed);
}

TEST_F(TreeNavigatorFormTest, F2ClipsTheNameWithCtrlTheParentAndWithShiftThePath)
{
    struct TRow
    {
        Qt::KeyboardModifiers Modifiers;
        std::string Clipped;
    };
    const TRow rows[] = {
        {Qt::NoModifier, "a1"},
        {Qt::ControlModifier, "T:\\A\\"},
        {Qt::ControlModifier | Qt::ShiftModifier, "T:\\A\\"},
        {Qt::ShiftModifier, "T:\\A\\a1"},
        {Qt::AltModifier, "T:\\A\\a1"},
    };
    Run("T:\\A\\a1", TTreeNavigatorForm::mrCancel, [&] {
        for (const TRow& row : rows) {
            CopyTextToClipboard("before", "", false, false);
            Press(Qt::Key_F2, row.Modifiers);
            EXPECT_EQ(row.Clipped, CopyTextFromClipboard()) << row.Modifiers;
        }
    });
}

TEST_F(TreeNavigatorFormTest, CtrlF2OnADriveClipsNothingAndWarns)
{
    TModalScript script;
    script.Expect("Directory tree navigator", TTreeNavigatorForm::mrCancel, [&](const TModalRequest&) {
        CopyTextToClipboard("before", "", false, false);
        Press(Qt::Key_F2, Qt::ControlModifier);
    });
    script.Expect("Warning", IDOK);
    Form.Dialog("T:\\");
    EXPECT_EQ("There is no text to copy to clipboard.", script.Seen().at(1).Text);
    EXPECT_EQ("before", CopyTextFromClipboard());
}

// A board's node only opens; a location below it drops on the file-system tree or, with a
// right press, is chosen as it stands, with its final backslash.
TEST_F(TreeNavigatorFormTest, ALocationDropsOnTheFileSystemTreeOrIsChosenByARightPress)
{
    bool closed = false;
    const std::string chosen = Run("T:\\b", TTreeNavigatorForm::mrOkay, [&] {
        TTreeView& locations = *Form.LocationsTreeView;
        auto* board = new QTreeWidgetItem(&locations, QStringList("Main"));
        auto* location = new QTreeWidgetItem(board, QStringList("T:\\A\\a1\\"));
        board->setExpanded(true);
        Form.show();
        locations.setCurrentItem(location);
        bool accepted = false;
        Form.FileSystemTreePanel->DragOver(&locations, 5, 5, dsDragEnter, accepted);
        EXPECT_TRUE(accepted);
        Form.FileSystemTreePanel->DragOver(Form.FileSystemTreeView, 5, 5, dsDragEnter, accepted);
        EXPECT_FALSE(accepted);
        Form.FileSystemTreePanel->DragDrop(&locations, 5, 5);
        EXPECT_EQ("T:\\A\\a1", GetSelectedTreePath(*Form.FileSystemTreeView));

        const QPoint onBoard = locations.GetLabelRect(*board).center();
        Form.LocationsTreeViewMouseDown(mbRight, 0, onBoard.x(), onBoard.y());
        EXPECT_NE(TTreeNavigatorForm::mrOkay, Form.result());
        const QPoint onLocation = locations.GetLabelRect(*location).center();
        Form.LocationsTreeViewMouseDown(mbRight, 0, onLocation.x(), onLocation.y());
        closed = Form.result() == TTreeNavigatorForm::mrOkay;
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ("T:\\A\\a1\\", chosen);
}

TEST_F(TreeNavigatorFormTest, TheSectionKeepsAllFiveKeysAndASplitterWidthWithinItsRange)
{
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnSave = [&](TStoredTextList& list, int32_t) { Form.OnSaveOptionsSTL(list); };
    ASSERT_TRUE(store.SaveToFile(store.FileName, false, 0));
    const std::string saved = Drive.ReadFile("options.ini");
    for (const char* key : {"XPos=", "YPos=", "XSize=", "YSize=", "LocationsSplitterWidth=250"})
        EXPECT_NE(std::string::npos, saved.find(key)) << key;

    struct TRow
    {
        const char* Stored;
        int32_t Width;
    };
    for (const TRow row : {TRow{"150", 250}, TRow{"300", 300}, TRow{"5000", 250}}) {
        SCOPED_TRACE(row.Stored);
        Drive.WriteFile("options.ini", std::string("[DTN]\r\nXSize=708\r\nYSize=534\r\nLocationsSplitterWidth=") +
                                           row.Stored + "\r\n");
        TTreeNavigatorForm fresh;
        store.OnLoad = [&](TStoredTextList& list, int32_t) { fresh.OnLoadOptionsSTL(list); };
        ASSERT_TRUE(store.Load(0));
        EXPECT_EQ(row.Width, fresh.LocationsWidth);
    }
}

// With no place in the options it opens centred on the main window and stays where it was
// left; a stored place wins.
TEST_F(TreeNavigatorFormTest, ItOpensCentredOnTheMainWindowUntilItHasAPlace)
{
    QWidget mainWindow;
    mainWindow.setGeometry(230, 130, 560, 440);
    SetDialogsMainWindow(&mainWindow);
    Form.resize(450, 300);
    const auto shownAt = [this](TTreeNavigatorForm& form) {
        QPoint topLeft;
        TModalScript script;
        script.Expect("Directory tree navigator", TTreeNavigatorForm::mrCancel,
                      [&](const TModalRequest&) { topLeft = form.frameGeometry().topLeft(); });
        form.Dialog("T:\\");
        return topLeft;
    };
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnLoad = [this](TStoredTextList& list, int32_t) { Form.OnLoadOptionsSTL(list); };
    Drive.WriteFile("options.ini", "[DTN]\r\nXSize=450\r\nYSize=300\r\n");
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ(QPoint(285, 200), shownAt(Form));
    Form.move(40, 50);
    EXPECT_EQ(QPoint(40, 50), shownAt(Form)) << "where the user left it";

    TTreeNavigatorForm stored;
    store.OnLoad = [&](TStoredTextList& list, int32_t) { stored.OnLoadOptionsSTL(list); };
    Drive.WriteFile("options.ini", "[DTN]\r\nXPos=70\r\nYPos=80\r\nXSize=450\r\nYSize=300\r\n");
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ(QPoint(70, 80), shownAt(stored));
    SetDialogsMainWindow(nullptr);
}

} // namespace
