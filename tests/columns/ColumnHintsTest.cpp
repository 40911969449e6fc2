#include "MouseTestSupport.h"

#include "core/files/FileInfo.h"

namespace {

const std::string ExternalDrag =
    " Drop files from another program to display the \"External file-drag\" menu. [LMB + Drag] = drag files (to "
    "copy) to another program ([Ctrl] = copy; [Shift] = move; [Alt] = copy as link).";
const std::string RunModifiers = " ([Ctrl] = automove to left; [Shift] = autoopen to right; [Alt] = autohold)";

class HintTest : public MouseTest
{
protected:
    std::string ListHintAt(QPoint point)
    {
        Board[0].FileListMouseMove(Board[0].FileList, 0, point.x(), point.y());
        return Board[0].FileList->toolTip().toStdString();
    }
    static bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

} // namespace

TEST(MouseOperationHint, ExplainsTheModifiersOfTheOperationsThatHaveThem)
{
    const std::vector<std::tuple<std::string, bool, std::string>> cases = {
        {"System menu", false, "System menu ([Ctrl] = reference; [Shift] = parent)"},
        {"Send-drag menu", false, "Send-drag menu ([Ctrl] = reference; [Shift] = parent)"},
        {"Run", true, "Run" + RunModifiers},
        {"Run", false, "Run"},
        {"Enter this directory", false, "Enter this directory" + RunModifiers},
        {"Properties", false, "Properties ([Ctrl] = reference)"},
        {"Toggle selection", false, "Toggle selection ([Ctrl] = group upward; [Shift] = group downward)"},
        {"Enter parent directory", false,
         "Enter parent directory ([Ctrl] = automove to right; [Shift] = autoopen to left; [Alt] = autohold)"},
        {"run", true, "run"},
        {"Copy", true, "Copy"},
    };
    for (const auto& [operation, runModifiers, expected] : cases)
        EXPECT_EQ(expected, TColumn::GetMouseOperationHint(operation, runModifiers)) << operation;
}

TEST_F(HintTest, TheHeaderButtonNamesTheDirectoryAndItsThreeButtons)
{
    ProgramOptions.MMBColumnHeaderOperation = "None";
    Board[0].SetHeaderButtonHint();
    EXPECT_EQ("Column's parent directory \"" + Drive.Path("d\\") +
                  "\". If the content of the directory has changed then a horizontal line strikes the button caption. "
                  "If the column's fixed attribute is true, this button looks pressed.  [LMB] = Enter parent directory "
                  "([Ctrl] = automove to right; [Shift] = autoopen to left; [Alt] = autohold). [RMB] = Toggle fixed "
                  "attribute. [MMB] = None.",
              Board[0].HeaderButton->toolTip().toStdString());
    // A load sets it afresh.
    Open(Board[0], Drive.Path("d\\sub\\"));
    EXPECT_TRUE(Holds(Board[0].HeaderButton->toolTip().toStdString(), "\"" + Drive.Path("d\\sub\\") + "\""));
}

TEST_F(HintTest, OverABadgeTheHintNamesTheClicksAndDragsOfTheBadge)
{
    const std::string directory = ListHintAt(Badge(Board[0], Board[0].IndexOfName("sub")));
    EXPECT_EQ("Current file \"" + Drive.Path("d\\sub") + "\". Size " + GetSizeText(6, 0, 0) + ". [LMB] = Run" +
                  RunModifiers +
                  ". [RMB] = System menu ([Ctrl] = reference; [Shift] = parent). [MMB] = Inter-board file-drag menu. "
                  "[LMB + Drag] = Copy. [RMB + Drag] = Move. Hover for a moment to display the file hover information "
                  "window." +
                  ExternalDrag,
              directory);
    EXPECT_EQ(Board[0].IndexOfName("sub"), Mouse.HotItem);

    ProgramOptions.FileHoverActive = false;
    const std::string document = ListHintAt(Badge(Board[0], Board[0].IndexOfName("a.txt")));
    EXPECT_TRUE(Holds(document, "Size " + GetSizeText(6, 0, 10) + ". [LMB] = Run. [RMB]"));
    EXPECT_FALSE(Holds(document, "Hover"));
}

TEST_F(HintTest, OverANameTheHintNamesTheDoubleClickAndTheMouseMenu)
{
    const QPoint name = Name(Board[0], Board[0].IndexOfName("a.txt"));
    const std::string hint = ListHintAt(name);
    EXPECT_TRUE(Holds(hint, "\". Size " + GetSizeText(6, 0, 10) +
                                ". [Double LMB] = Run. [RMB] = File menu. [MMB] = Toggle selection ([Ctrl] = group "
                                "upward; [Shift] = group downward). [LMB + Drag] = File-drag menu. [RMB + Drag] = "
                                "Enter this directory" +
                                RunModifiers +
                                ". [RMB + Small drag] = show mouse menu. The name of a selected file is displayed "
                                "with italic and bold font." +
                                ExternalDrag));
    EXPECT_FALSE(Holds(hint, "Hover"));

    // The sign of normalized thumbnails is explained only in a thumbnail column.
    const std::string sign = "For a \"±\" character";
    ProgramOptions.NormalizeThumbHeight = true;
    EXPECT_FALSE(Holds(ListHintAt(name), sign));
    Board[0].ThumbAttr = true;
    EXPECT_TRUE(Holds(ListHintAt(name), sign));
    EXPECT_FALSE(Holds(ListHintAt(Badge(Board[0], Board[0].IndexOfName("a.txt"))), sign));
}

TEST_F(HintTest, OverEmptySpaceTheHintNamesTheDirectoryAndTheGesturesThatFitThere)
{
    Mouse.HotItem = 1;
    EXPECT_EQ("Column's parent directory \"" + Drive.Path("d\\") +
                  "\". [RMB] = File menu. [LMB + Drag] = File-drag menu. [RMB + Drag] = Enter this directory" +
                  RunModifiers + "." + ExternalDrag,
              ListHintAt(Empty(Board[0])));
    EXPECT_EQ(-1, Mouse.HotItem);
}

TEST_F(HintTest, DragsFromColumnsThePlayListAndTheTreeAreAcceptedOutsideTheScrollBar)
{
    TColumn& column = Board[1];
    const QPoint name = Name(column, 0);
    QObject stranger;
    const int32_t itemsWidth = column.FileList->GetItemsWidth(true);
    struct TCase
    {
        QObject* Source;
        int32_t X;
        bool Accepted;
    };
    for (const TCase& c : {TCase{Board[0].FileList, name.x(), true}, TCase{Board[0].FileList, itemsWidth - 1, true},
                           TCase{Board[0].FileList, itemsWidth, false}, TCase{&Mouse.PlayList, name.x(), true},
                           TCase{&Mouse.DirectoryTree, name.x(), true}, TCase{&stranger, name.x(), false}}) {
        bool accept = !c.Accepted;
        column.FileListDragOver(column.FileList, c.Source, c.X, name.y(), dsDragMove, accept);
        EXPECT_EQ(c.Accepted, accept) << c.X;
    }
}

TEST_F(HintTest, APlayListDropFocusesItsFileOrLoadsItsDirectory)
{
    MakeFile("other/song.mp3");
    Mouse.PlayListTitle = Drive.Path("D\\B.EXE");
    Board[0].FileListDragDrop(Board[0].FileList, &Mouse.PlayList, 0, 0);
    EXPECT_EQ(Drive.Path("d\\b.exe"), Board[0].GetItem(Board[0].FileList->FocusIndex).Title);

    Mouse.PlayListTitle = Drive.Path("other\\song.mp3");
    Board[0].FileListDragDrop(Board[0].FileList, &Mouse.PlayList, 0, 0);
    EXPECT_EQ(Drive.Path("other\\song.mp3"), Board[0].ActiveTitle);
    EXPECT_EQ(Drive.Path("d\\b.exe"), Board[0].PreviousTitle);
    EXPECT_EQ((std::pair<int32_t, bool>(0, false)), Board.FocusRequests.back());
}

TEST_F(HintTest, ATreeDropOpensTheTreesDirectoryInTheSameColumn)
{
    Mouse.TreePath = Drive.Path("d\\sub");
    Board[1].FileListDragDrop(Board[1].FileList, &Mouse.DirectoryTree, 0, 0);
    EXPECT_EQ(Drive.Path("d\\sub\\"), GetParentPath(Board[1].ActiveTitle));
    EXPECT_EQ(Drive.Path("d\\"), GetParentPath(Board[0].ActiveTitle));
    EXPECT_EQ((std::pair<int32_t, bool>(1, false)), Board.FocusRequests.back());
}
