#include "mainwindow/DirectoryTree.h"

#include "core/errors/Error.h"
#include "core/text/AsciiCase.h"

#include "host/DirectoryReader.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TNames = std::vector<std::string>;

TNames Texts(const QTreeWidgetItem& node)
{
    TNames texts;
    for (int i = 0; i < node.childCount(); ++i)
        texts.push_back(node.child(i)->text(0).toStdString());
    return texts;
}

// Drive T: holds the folders "b", "A" and "c" with a sub-folder each, the empty folders
// "e", "!x", "Docs" and "docs", the file "z.txt" and the link "l" to "A".
class DirectoryTree : public testing::Test
{
protected:
    DirectoryTree()
    {
        for (const char* folder : {"b/b1", "A/a1", "c/c1", "e", "!x", "Docs", "docs"})
            fs::create_directories(Drive.HostPath(folder));
        Drive.WriteFile("z.txt", "z");
        fs::create_directory_symlink(Drive.HostPath("A"), Drive.HostPath("l"));
        Tree.resize(300, 600);
        Tree.OnExpanding = [this](QTreeWidgetItem& node, bool& allow) { TreeNodeExpanding(Tree, node, allow); };
        Tree.OnCollapsed = [this](QTreeWidgetItem& node) { TreeNodeCollapsed(Tree, node); };
        LoadTreeWithPartitions(Tree);
    }

    QTreeWidgetItem& Root() { return *FindTreeRootNode(Tree, "T:"); }
    QTreeWidgetItem& Child(const std::string& name) { return *FindTreeChildNode(Root(), name); }

    // The folders of T: as the host lists them.
    static TNames ListingOrder()
    {
        TNames names;
        host::DirectoryReader reader;
        reader.Open("T:\\");
        host::DirectoryEntry entry;
        while (reader.Next(entry))
            names.push_back(entry.Name);
        return names;
    }

    TTempDrive Drive{'T'};
    TTreeView Tree;
};

TEST_F(DirectoryTree, ChildrenAreSortedFoldersWithoutDotsAndOnlyFoldersWithSubfoldersAreMarked)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    const TNames listed = ListingOrder();
    const bool upperFirst =
        std::find(listed.begin(), listed.end(), "Docs") < std::find(listed.begin(), listed.end(), "docs");
    const TNames docs = upperFirst ? TNames{"Docs", "docs"} : TNames{"docs", "Docs"};
    EXPECT_EQ((TNames{"!x", "A", "b", "c", docs[0], docs[1], "e", "l"}), Texts(Root()));

    for (int i = 0; i < Root().childCount(); ++i)
        EXPECT_FALSE(Root().child(i)->data(0, TTreeNode::MarkRole).isValid()) << "a mark read before its row shows";
    TNames marked;
    for (int i = 0; i < Root().childCount(); ++i)
        if (IsTreeNodeMarked(Tree, *Root().child(i)))
            marked.push_back(Root().child(i)->text(0).toStdString());
    EXPECT_EQ((TNames{"A", "b", "c", "l"}), marked);
    EXPECT_EQ(1, Child("A").data(0, TTreeNode::StateIndexRole).toInt());
    EXPECT_EQ(0, Child("e").data(0, TTreeNode::StateIndexRole).toInt());
    EXPECT_TRUE(IsTreeNodeMarked(Tree, Root()));
}

// Long names share their first sixteen bytes; equal names under folding keep their order.
TEST_F(DirectoryTree, LongNamesSortAsCompareTextPastTheirSixteenthByte)
{
    for (const char* name : {"same-prefix-long-name-b", "Same-Prefix-Long-Name-A", "same-prefix-long-name-a",
                             "same-prefix-long", "same-prefix-long_", "SAME-PREFIX-LONG-NAME-B", "same-prefix-lonG"})
        fs::create_directories(Drive.HostPath(std::string("long/") + name));
    TNames expected;
    host::DirectoryReader reader;
    reader.Open("T:\\long\\");
    host::DirectoryEntry entry;
    while (reader.Next(entry))
        expected.push_back(entry.Name);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextAscii(a, b) < 0; });
    NavigateToTreeDirectory(Tree, "T:\\long\\same-prefix-long");
    QTreeWidgetItem& folder = *FindTreeChildNode(Root(), "long");
    EXPECT_EQ(expected, Texts(folder));
}

TEST_F(DirectoryTree, AFolderGivenASubfolderBeforeItsRowFirstShowsHasThePlus)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    fs::create_directory(Drive.HostPath("e/new"));
    Tree.OnCustomDraw = [this](QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state) {
        DrawTreeNode(Tree, canvas, node, state, TTreePaintStyle());
    };
    Tree.show();
    Tree.viewport()->grab();
    EXPECT_TRUE(Child("e").data(0, TTreeNode::MarkRole).toBool());
}

TEST_F(DirectoryTree, CollapsingAndExpandingShowsFoldersMadeInBetween)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    Root().setExpanded(false);
    EXPECT_EQ(0, Root().childCount());
    fs::create_directory(Drive.HostPath("f"));
    fs::remove_all(Drive.HostPath("c"));
    ASSERT_TRUE(ExpandTreeNode(Root()));
    const TNames children = Texts(Root());
    EXPECT_NE(children.end(), std::find(children.begin(), children.end(), "f"));
    EXPECT_EQ(children.end(), std::find(children.begin(), children.end(), "c"));
}

TEST_F(DirectoryTree, AFolderDeletedSinceItWasShownDoesNotExpand)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    QTreeWidgetItem& c = Child("c");
    ASSERT_TRUE(IsTreeNodeMarked(Tree, c));
    fs::remove_all(Drive.HostPath("c"));
    EXPECT_FALSE(ExpandTreeNode(c));
    EXPECT_FALSE(c.isExpanded());
    EXPECT_EQ(0, c.childCount());
    EXPECT_FALSE(IsTreeNodeMarked(Tree, c));
}

// No test runs without rights, so the failure to read comes from the host's fault list.
TEST_F(DirectoryTree, AnUnreadableFolderShowsNoChildrenAndTheFailureIsOnlyRecorded)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED);
    TModalScript script; // any message box fails the test
    ExpandTreeNode(Child("A"));
    EXPECT_EQ(0, Child("A").childCount());
    EXPECT_EQ("Failed to load directory.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, FunStatContext.SystemErrorCode);
}

TEST_F(DirectoryTree, NavigatingExpandsDownToThePathAndSelectsItsNode)
{
    TTempDrive d('D');
    struct TRow
    {
        std::string Path;
        std::string Selected;
        TNames Expanded;
    };
    const TRow rows[] = {
        {"D:\\", "D:", {}},
        {"Q:\\x", "", {}},
        {"T:\\A\\B\\C", "", {"T:", "T:\\A"}},
        {"T:\\e\\gone", "", {"T:", "T:\\e"}},
        {"T:\\docs", "T:\\docs", {"T:"}},
        {"T:\\Docs\\", "T:\\Docs", {"T:"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Path);
        Tree.clear();
        LoadTreeWithPartitions(Tree);
        NavigateToTreeDirectory(Tree, row.Path);
        EXPECT_EQ(row.Selected, GetSelectedTreePath(Tree));
        TNames expanded;
        for (QTreeWidgetItemIterator it(&Tree); *it != nullptr; ++it)
            if ((*it)->isExpanded())
                expanded.push_back(GetTreeNodePath(Tree, *it));
        EXPECT_EQ(row.Expanded, expanded);
    }
}

TEST_F(DirectoryTree, APressTogglesFromTheButtonAreaOrByADoubleClickRightOfTheLabel)
{
    Tree.show();
    ASSERT_TRUE(ExpandTreeNode(Root()));
    QTreeWidgetItem& a = Child("A");
    const QRect label = Tree.GetLabelRect(a);
    const int32_t indent = Tree.GetIndent();
    const int32_t y = label.center().y();
    struct TRow
    {
        const char* Case;
        TMouseButton Button;
        TShiftState Shift;
        int32_t X;
        bool Toggled;
        bool Selected;
    };
    const TShiftState doubleClick = ShiftOf(ssDouble);
    const TRow rows[] = {
        {"in the +/- area", mbLeft, 0, label.left() - indent / 2, true, true},
        {"on the label", mbLeft, 0, label.center().x(), false, true},
        {"more than an indent left", mbLeft, 0, label.left() - indent - 2, false, true},
        {"double, right of the label", mbLeft, doubleClick, label.right() + 20, true, false},
        {"right button", mbRight, 0, label.center().x(), false, true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Case);
        a.setExpanded(false);
        Tree.setCurrentItem(&Root());
        EXPECT_EQ(&a, TreeMouseDown(Tree, row.Button, row.Shift, row.X, y));
        EXPECT_EQ(row.Toggled, a.isExpanded());
        EXPECT_EQ(row.Selected, Tree.currentItem() == &a);
    }
    EXPECT_EQ(nullptr, TreeMouseDown(Tree, mbRight, 0, 10, Tree.viewport()->height() - 2));
}

// Keys keep Qt's handling; an expansion still lists the folder, and a node without
// sub-folders does not open.
TEST_F(DirectoryTree, ArrowKeysExpandAndCollapseThroughTheTreeRoutines)
{
    Tree.show();
    ASSERT_TRUE(ExpandTreeNode(Root()));
    const auto press = [this](QTreeWidgetItem& node, int key) {
        Tree.setCurrentItem(&node);
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&Tree, &event);
    };
    press(Child("A"), Qt::Key_Right);
    EXPECT_TRUE(Child("A").isExpanded());
    EXPECT_EQ(TNames{"a1"}, Texts(Child("A")));
    press(Child("A"), Qt::Key_Left);
    EXPECT_FALSE(Child("A").isExpanded());
    EXPECT_EQ(0, Child("A").childCount());
    press(Child("e"), Qt::Key_Right);
    EXPECT_FALSE(Child("e").isExpanded());
    press(Child("b"), Qt::Key_Asterisk);
    EXPECT_FALSE(Child("b").isExpanded()) << "nothing expands the whole disk";
}

// ---- Painting ----

constexpr TColor Back = 0xFFFFFF;
constexpr TColor Text = 0x0000FF;
constexpr TColor Grid = 0x00C000;

TTreePaintStyle PlainStyle()
{
    TTreePaintStyle style;
    style.WindowBack = Back;
    style.WindowText = Text;
    style.Grid = Grid;
    style.InactiveBack = style.InactiveTint = 0x808080;
    style.InactiveText = 0x202020;
    style.ActiveBack = style.ActiveTint = 0x800000;
    style.ActiveText = 0xFFFFFF;
    return style;
}

class TreeNodePainting : public DirectoryTree
{
protected:
    TreeNodePainting()
    {
        Tree.OnCustomDraw = [this](QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state) {
            DrawTreeNode(Tree, canvas, node, state, PlainStyle());
        };
        Tree.SetIndent(16);
        Tree.show();
    }

    QImage Paint() { return Tree.viewport()->grab().toImage(); }

    struct TGeometry
    {
        QRect Row;
        int32_t X0;
        int32_t Q;
        int32_t Middle;
        int32_t BoxTop;
    };
    TGeometry GeometryOf(QTreeWidgetItem& node)
    {
        const QRect row = Tree.GetRowRect(node);
        const int32_t indent = Tree.GetIndent();
        const int32_t q = (indent / 2) / 2;
        return {row, Tree.GetLabelRect(node).left() - indent / 2, q, row.top() + row.height() / 2, row.top() + q};
    }
};

TEST_F(TreeNodePainting, TheBoxShowsAPlusWhenCollapsedAndAMinusWhenExpanded)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    const QImage image = Paint();
    const TGeometry root = GeometryOf(Root());
    EXPECT_EQ(Grid, PixelAt(image, root.X0 - root.Q, root.Middle));
    EXPECT_EQ(Grid, PixelAt(image, root.X0 + root.Q, root.Middle));
    EXPECT_EQ(Text, PixelAt(image, root.X0, root.Middle));
    EXPECT_EQ(Back, PixelAt(image, root.X0, root.Middle - 1)) << "expanded: no vertical stroke";
    const TGeometry b = GeometryOf(Child("b"));
    EXPECT_EQ(Text, PixelAt(image, b.X0, b.Middle));
    EXPECT_EQ(Text, PixelAt(image, b.X0, b.Middle - 1)) << "collapsed: the plus";
    EXPECT_EQ(Text, PixelAt(image, b.X0, b.BoxTop + 2));
    const TGeometry e = GeometryOf(Child("e"));
    EXPECT_EQ(Back, PixelAt(image, e.X0 - e.Q, e.Middle - 1)) << "a folder of files only has no box";
}

TEST_F(TreeNodePainting, LinesFollowTheAncestorsAndTheLastRootsLineEndsAtTheMiddle)
{
    ASSERT_TRUE(ExpandTreeNode(Root()));
    ASSERT_TRUE(ExpandTreeNode(Child("A")));
    const QImage image = Paint();
    const int32_t indent = Tree.GetIndent();
    const TGeometry root = GeometryOf(Root());
    EXPECT_EQ(Grid, PixelAt(image, root.X0, root.Row.top()));
    EXPECT_EQ(Back, PixelAt(image, root.X0, root.Row.bottom()));
    const TGeometry a1 = GeometryOf(*Child("A").child(0));
    EXPECT_EQ(Grid, PixelAt(image, a1.X0, a1.Row.top()));
    EXPECT_EQ(Back, PixelAt(image, a1.X0, a1.Row.bottom())) << "the only child: top to middle";
    EXPECT_EQ(Grid, PixelAt(image, a1.X0 - indent, a1.Row.bottom())) << "A has a next sibling";
    EXPECT_EQ(Back, PixelAt(image, a1.X0 - 2 * indent, a1.Row.bottom())) << "T: is the last root";
    EXPECT_EQ(Grid, PixelAt(image, a1.X0 + 2, a1.Middle)) << "the line to the label";
}

TEST_F(TreeNodePainting, ARootsCaptionCarriesItsPartitionSuffix)
{
    const QImage image = Paint();
    const QRect label = Tree.GetLabelRect(Root());
    int32_t rightmostInk = 0;
    for (int32_t x = label.left(); x < image.width(); ++x)
        for (int32_t y = label.top(); y <= label.bottom(); ++y)
            if (PixelAt(image, x, y) != Back && PixelAt(image, x, y) != Grid)
                rightmostInk = x;
    EXPECT_GT(rightmostInk, label.right() + Tree.fontMetrics().horizontalAdvance(" (x"));
}

QImage PaintRow(TTreeDrawState state, const std::string& caption, bool emphasised)
{
    QImage image(200, 20, QImage::Format_ARGB32_Premultiplied);
    QPainter canvas(&image);
    TTreeNodeRow row;
    row.Row = QRect(0, 0, 200, 20);
    row.LabelLeft = 40;
    row.Indent = 16;
    row.HasNextSibling = {false};
    row.State = state;
    row.Caption = caption;
    row.Emphasised = emphasised;
    row.Font = QFont("Arial");
    row.Font.setPixelSize(14);
    DrawTreeNode(canvas, row, PlainStyle());
    return image;
}

TEST(TreeNodeRowPainting, TheSelectedFaceTakesTheActiveColoursWhenFocusedAndTheInactiveOnesWhenNot)
{
    EXPECT_EQ(PlainStyle().ActiveBack, PixelAt(PaintRow(TTreeDrawState::SelectedFocused, "", false), 150, 10));
    EXPECT_EQ(PlainStyle().InactiveBack, PixelAt(PaintRow(TTreeDrawState::Selected, "", false), 150, 10));
    EXPECT_EQ(Back, PixelAt(PaintRow(TTreeDrawState::Normal, "", false), 150, 10));
    EXPECT_EQ(Back, PixelAt(PaintRow(TTreeDrawState::SelectedFocused, "", false), 30, 10)) << "left of the label";
}

TEST(TreeNodeRowPainting, TheEmphasisedNodeIsBoldAndItalic)
{
    const auto ink = [](const QImage& image) {
        int count = 0;
        for (int x = 40; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                count += PixelAt(image, x, y) == Text ? 1 : 0;
        return count;
    };
    const QImage plain = PaintRow(TTreeDrawState::Normal, "Wide words", false);
    const QImage emphasised = PaintRow(TTreeDrawState::Normal, "Wide words", true);
    EXPECT_GT(ink(emphasised), ink(plain));
}

} // namespace
