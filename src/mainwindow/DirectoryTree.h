#pragma once

#include "core/drawing/Color.h"
#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"

#include <QFont>
#include <QRect>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A node of a directory tree: a drive ("C:") at the root, a folder name below it. It keeps
// its has-children mark and the state index that mirrors it (1 marked, 0 not); a folder's
// mark is decided the first time anything reads it, so a row never shown is never listed.
class TTreeNode : public QTreeWidgetItem
{
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 1;
    // Item data: the mark (bool) and the state index (int).
    static constexpr int MarkRole = Qt::UserRole;
    static constexpr int StateIndexRole = Qt::UserRole + 1;

    explicit TTreeNode(const QString& text);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    bool IsMarkDecided() const { return Mark >= 0; }

private:
    int8_t Mark = -1;
    int8_t StateIndex = 0;
};

// How a node is drawn: plain, selected in an unfocused tree, selected in the focused one.
enum class TTreeDrawState
{
    Normal,
    Selected,
    SelectedFocused
};

// The colours, button style and emphasised path that a tree paints its nodes with.
struct TTreePaintStyle
{
    TColor WindowBack = 0xFFFFFF;
    TColor WindowText = 0;
    TColor InactiveBack = 0xC0C0C0;
    TColor InactiveText = 0;
    TColor InactiveTint = 0xC0C0C0;
    TColor ActiveBack = 0x800000;
    TColor ActiveText = 0xFFFFFF;
    TColor ActiveTint = 0x800000;
    TColor Grid = 0x808080;
    std::string ButtonStyle;
    // The node whose path equals it (letter case aside) is drawn bold and italic.
    std::string EmphasisedPath;
};

// The facts one row is painted from.
struct TTreeNodeRow
{
    QRect Row;
    int32_t LabelLeft = 0;
    int32_t Indent = 16;
    // Entry i tells whether the node's i-th ancestor (0: the node itself) has a next sibling;
    // one entry per level, root included.
    std::vector<bool> HasNextSibling;
    bool Marked = false;
    bool Expanded = false;
    TTreeDrawState State = TTreeDrawState::Normal;
    bool Emphasised = false;
    std::string Caption;
    QFont Font;
};

// The tree-view control of both trees: read-only, no tool tips, no buttons or lines of its
// own. Qt draws nothing itself and neither expands on clicks: each row is painted by the
// owner's custom draw, and the owner's mouse-down handler decides what a press does.
// Arrow keys keep Qt's handling; every expansion and collapse reaches the owner's handlers,
// and an expansion they refuse is undone before anything paints.
class TTreeView : public QTreeWidget
{
public:
    explicit TTreeView(QWidget* parent = nullptr);

    std::function<void(QTreeWidgetItem& node, bool& allow)> OnExpanding;
    std::function<void(QTreeWidgetItem& node)> OnCollapsed;
    std::function<void(TMouseButton button, TShiftState shift, int32_t x, int32_t y)> OnMouseDown;
    std::function<void(TShiftState shift, int32_t x, int32_t y)> OnMouseMove;
    std::function<void(TMouseButton button, TShiftState shift, int32_t x, int32_t y)> OnMouseUp;
    std::function<void(QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state)> OnCustomDraw;

    int32_t GetIndent() const { return indentation(); }
    void SetIndent(int32_t indent) { setIndentation(indent); }
    // The label's rectangle: the caption's width and two pixels each side, in the row.
    QRect GetLabelRect(QTreeWidgetItem& node);
    // The row's full-width rectangle in the viewport.
    QRect GetRowRect(QTreeWidgetItem& node);
    // The node's place among its siblings.
    int32_t RowOf(const QTreeWidgetItem& node) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The selected row shows whether the tree has the focus.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ItemExpanded(QTreeWidgetItem* node);
    void PressMouse(QMouseEvent* event, bool doubleClick);
};

// ---- The directory-tree routines ----

// A root node per present drive, each marked. Traced, not shown.
void LoadTreeWithPartitions(TTreeView& tree);
// The folder's sub-folders as sorted children of the node, names equal but for letter case
// in their listing order. "Failed to load directory." (status 2) leaves the node without
// children; it is not shown.
void LoadTreeWithDirectories(const std::string& folderPath, TTreeView& tree, QTreeWidgetItem& node);
// The ancestors' texts joined by backslashes, root first; "" for no node.
std::string GetTreeNodePath(const QTreeWidget& tree, const QTreeWidgetItem* node);
// The selected node's path, or "".
std::string GetSelectedTreePath(const QTreeWidget& tree);
bool TreeNodeHasSubfolders(const QTreeWidget& tree, const QTreeWidgetItem& node);
void SetTreeNodeHasChildren(QTreeWidgetItem& node, bool hasChildren);
// The node's mark, decided now when nothing read it before.
bool IsTreeNodeMarked(const QTreeWidget& tree, QTreeWidgetItem& node);
// Every decided mark := its state index is not 0.
void RestoreTreeNodeButtons(QTreeWidget& tree);
// A node with children expands; else it expands when its folder exists, its sub-folders
// loaded, and is refused when the folder is gone.
void TreeNodeExpanding(TTreeView& tree, QTreeWidgetItem& node, bool& allow);
// Drops the children in one call and decides the mark again, so the next expansion reads
// the disk anew.
void TreeNodeCollapsed(TTreeView& tree, QTreeWidgetItem& node);
// Expands the node (not recursively); false when the expansion was refused.
bool ExpandTreeNode(QTreeWidgetItem& node);
// A marked node expands, an expanded one collapses.
void ToggleTreeNode(TTreeView& tree, QTreeWidgetItem& node);
// Expands the tree down to the path and selects its node; a component not found, or a
// folder without sub-folders above the path's end, stops the walk and selects nothing,
// leaving what was expanded. Traced, not shown.
void NavigateToTreeDirectory(TTreeView& tree, const std::string& path);
// The mouse-down rules: selects the node at the point and toggles it from the +/- area or
// by a double click right of the label. Returns the node, or null.
QTreeWidgetItem* TreeMouseDown(TTreeView& tree, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
QTreeWidgetItem* SelectTreeNodeAt(TTreeView& tree, int32_t x, int32_t y);
// First root or child whose text is the text: the same bytes first, else letter case aside.
QTreeWidgetItem* FindTreeRootNode(const QTreeWidget& tree, const std::string& text);
QTreeWidgetItem* FindTreeChildNode(const QTreeWidgetItem& node, const std::string& text);

// Paints the row of the node in the tree's font. Traced, not shown: a failure leaves the
// row as far as it was drawn.
void DrawTreeNode(TTreeView& tree, QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state,
                  const TTreePaintStyle& style);
// Paints one row from its facts.
void DrawTreeNode(QPainter& canvas, const TTreeNodeRow& row, const TTreePaintStyle& style);

class MyTPanel;

// A tree's drag of its selected node to other panels: a left press on a node arms it, and
// a move past the system's drag distance begins the panel drag from the tree's host panel,
// with the tree as the dragged object. The tree holds the mouse meanwhile and hands its
// moves and the release to the drag.
class TTreeDrag
{
public:
    void Arm(QPoint viewportPos);
    void Disarm() { Armed = false; }
    // True when the move belonged to the drag.
    bool Move(TTreeView& tree, MyTPanel& host, TShiftState shift, QPoint viewportPos);
    bool Release(TTreeView& tree, QPoint viewportPos);

private:
    bool Armed = false;
    QPoint PressPos;
};
