#include "mainwindow/DirectoryTree.h"

#include "panels/PanelDrag.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/VirtualKeys.h"
#include "core/text/AsciiCase.h"

#include "host/DirectoryReader.h"
#include "host/LastError.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>

#include <algorithm>

// ---- The node ----

TTreeNode::TTreeNode(const QString& text) : QTreeWidgetItem(NodeType)
{
    setText(0, text);
    // Qt may expand any node by key; the tree's key handler keeps unmarked nodes closed.
    setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

QVariant TTreeNode::data(int column, int role) const
{
    if (role == MarkRole)
        return IsMarkDecided() ? QVariant(Mark != 0) : QVariant();
    if (role == StateIndexRole)
        return QVariant(static_cast<int>(StateIndex));
    return QTreeWidgetItem::data(column, role);
}

// The mark and the state index are read by the painting and the tree routines alone, so
// setting them tells no view: a row's first paint decides its mark without repainting.
void TTreeNode::setData(int column, int role, const QVariant& value)
{
    if (role == MarkRole)
        Mark = value.toBool() ? 1 : 0;
    else if (role == StateIndexRole)
        StateIndex = static_cast<int8_t>(value.toInt());
    else
        QTreeWidgetItem::setData(column, role, value);
}

// ---- The control ----

TTreeView::TTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    header()->setStretchLastSection(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setItemsExpandable(true);
    setAnimated(false);
    setAutoScroll(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { ItemExpanded(node); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (OnCollapsed)
            OnCollapsed(*node);
    });
}

void TTreeView::ItemExpanded(QTreeWidgetItem* node)
{
    if (!OnExpanding)
        return;
    bool allow = true;
    OnExpanding(*node, allow);
    if (!allow)
        node->setExpanded(false);
}

int32_t TTreeView::RowOf(const QTreeWidgetItem& node) const
{
    return indexFromItem(&node).row();
}

QRect TTreeView::GetRowRect(QTreeWidgetItem& node)
{
    const QRect item = visualItemRect(&node);
    return {0, item.top(), viewport()->width(), item.height()};
}

QRect TTreeView::GetLabelRect(QTreeWidgetItem& node)
{
    const QRect item = visualItemRect(&node);
    return {item.left(), item.top(), fontMetrics().horizontalAdvance(node.text(0)) + 4, item.height()};
}

void TTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QTreeWidgetItem* node = itemFromIndex(index);
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    if (node == nullptr || !OnCustomDraw || row.isEmpty())
        return;
    const TTreeDrawState state = !node->isSelected() ? TTreeDrawState::Normal
                                 : hasFocus()        ? TTreeDrawState::SelectedFocused
                                                     : TTreeDrawState::Selected;
    QImage image(row.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter canvas(&image);
        canvas.translate(-row.topLeft());
        OnCustomDraw(canvas, *node, state);
    }
    painter->drawImage(row.topLeft(), image);
}

void TTreeView::PressMouse(QMouseEvent* event, bool doubleClick)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint position = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(GetMouseButton(event->button()), GetShiftState(event->modifiers(), event->buttons(), doubleClick),
                    position.x(), position.y());
}

void TTreeView::mousePressEvent(QMouseEvent* event)
{
    PressMouse(event, false);
}

void TTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    PressMouse(event, true);
}

void TTreeView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(GetShiftState(event->modifiers(), event->buttons()), position.x(), position.y());
}

void TTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(GetMouseButton(event->button()), GetShiftState(event->modifiers(), event->buttons()), position.x(),
                  position.y());
}

void TTreeView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    // Expanding every level below a node would list the whole disk.
    if (key == Qt::Key_Asterisk) {
        event->accept();
        return;
    }
    QTreeWidgetItem* current = currentItem();
    if (current != nullptr && !current->isExpanded() && (key == Qt::Key_Right || key == Qt::Key_Plus) &&
        !IsTreeNodeMarked(*this, *current)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// Qt makes the first row current when a tree without a current row takes the focus; here
// that would choose a folder the user never picked, so the row is left unchosen.
void TTreeView::focusInEvent(QFocusEvent* event)
{
    const bool hadCurrent = currentItem() != nullptr;
    {
        const QSignalBlocker blocker(selectionModel());
        QTreeWidget::focusInEvent(event);
        if (!hadCurrent)
            selectionModel()->clearCurrentIndex();
    }
    viewport()->update();
}

void TTreeView::focusOutEvent(QFocusEvent* event)
{
    QTreeWidget::focusOutEvent(event);
    viewport()->update();
}

// ---- Marks ----

namespace {

bool IsDirectoryNode(const QTreeWidgetItem& node)
{
    return node.type() == TTreeNode::NodeType;
}

} // namespace

bool TreeNodeHasSubfolders(const QTreeWidget& tree, const QTreeWidgetItem& node)
{
    return node.parent() == nullptr || HasDirectories(GetTreeNodePath(tree, &node));
}

void SetTreeNodeHasChildren(QTreeWidgetItem& node, bool hasChildren)
{
    const bool mark = hasChildren || node.parent() == nullptr;
    node.setData(0, TTreeNode::MarkRole, mark);
    node.setData(0, TTreeNode::StateIndexRole, mark ? 1 : 0);
}

bool IsTreeNodeMarked(const QTreeWidget& tree, QTreeWidgetItem& node)
{
    const QVariant mark = node.data(0, TTreeNode::MarkRole);
    if (mark.isValid())
        return mark.toBool();
    if (!IsDirectoryNode(node))
        return node.childCount() > 0 || node.childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
    SetTreeNodeHasChildren(node, TreeNodeHasSubfolders(tree, node));
    return node.data(0, TTreeNode::MarkRole).toBool();
}

void RestoreTreeNodeButtons(QTreeWidget& tree)
{
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it)
        if (const QVariant mark = (*it)->data(0, TTreeNode::MarkRole); mark.isValid())
            (*it)->setData(0, TTreeNode::MarkRole, (*it)->data(0, TTreeNode::StateIndexRole).toInt() != 0);
}

// ---- Loading ----

void LoadTreeWithPartitions(TTreeView& tree)
{
    TTraced trace;
    trace.Run([&] {
        std::vector<std::string> drives;
        int count = 0;
        GetLogicalDrivesList(drives, count);
        QList<QTreeWidgetItem*> roots;
        for (const std::string& drive : drives) {
            auto* root = new TTreeNode(QString::fromStdString(drive));
            SetTreeNodeHasChildren(*root, true);
            roots.append(root);
        }
        tree.addTopLevelItems(roots);
    });
}

namespace {

// The order of CompareText, names equal under folding in their listing order. Each name's
// first 16 folded bytes become two big-endian numbers, so nearly every comparison is of
// numbers and only indices move: a large folder sorts at once.
struct TSortKey
{
    uint64_t High = 0;
    uint64_t Low = 0;
    uint32_t Index = 0;
};

constexpr size_t KeyBytes = 16;

TSortKey SortKeyOf(const std::string& name, uint32_t index)
{
    TSortKey key;
    key.Index = index;
    for (size_t i = 0; i < KeyBytes; ++i) {
        const uint64_t byte = i < name.size() ? static_cast<unsigned char>(LowerAscii(name[i])) : 0;
        uint64_t& half = i < 8 ? key.High : key.Low;
        half = (half << 8) | byte;
    }
    return key;
}

std::vector<uint32_t> SortedByText(const std::vector<std::string>& names)
{
    std::vector<TSortKey> keys;
    keys.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        keys.push_back(SortKeyOf(names[i], static_cast<uint32_t>(i)));
    std::sort(keys.begin(), keys.end(), [&names](const TSortKey& a, const TSortKey& b) {
        if (a.High != b.High)
            return a.High < b.High;
        if (a.Low != b.Low)
            return a.Low < b.Low;
        const std::string& nameA = names[a.Index];
        const std::string& nameB = names[b.Index];
        if (nameA.size() > KeyBytes || nameB.size() > KeyBytes) {
            const int compared = CompareTextAscii(std::string_view(nameA).substr(std::min(nameA.size(), KeyBytes)),
                                                  std::string_view(nameB).substr(std::min(nameB.size(), KeyBytes)));
            if (compared != 0)
                return compared < 0;
        }
        return a.Index < b.Index;
    });
    std::vector<uint32_t> order;
    order.reserve(keys.size());
    for (const TSortKey& key : keys)
        order.push_back(key.Index);
    return order;
}

} // namespace

void LoadTreeWithDirectories(const std::string& folderPath, TTreeView&, QTreeWidgetItem& node)
{
    TTraced trace;
    trace.Run([&] {
        host::DirectoryReader reader;
        if (!reader.Open(IncludeEndBackslash(folderPath))) {
            if (!IsFindOk(host::GetLastError()))
                trace.RaiseSystem("Failed to load directory.", folderPath);
            return;
        }
        std::vector<std::string> names;
        host::DirectoryEntry entry;
        while (reader.Next(entry))
            if (entry.IsDirectory)
                names.push_back(entry.Name);
        if (!IsFindOk(host::GetLastError()))
            return trace.RaiseSystem("Failed to load directory.", folderPath);
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(names.size()));
        for (const uint32_t i : SortedByText(names))
            children.append(new TTreeNode(QString::fromStdString(names[i])));
        node.addChildren(children);
    });
}

// ---- Paths and lookups ----

std::string GetTreeNodePath(const QTreeWidget&, const QTreeWidgetItem* node)
{
    std::string path;
    for (; node != nullptr; node = node->parent())
        path = path.empty() ? node->text(0).toStdString() : node->text(0).toStdString() + "\\" + path;
    return path;
}

std::string GetSelectedTreePath(const QTreeWidget& tree)
{
    const QList<QTreeWidgetItem*> selected = tree.selectedItems();
    return selected.isEmpty() ? std::string() : GetTreeNodePath(tree, selected.first());
}

namespace {

// The same bytes first, so that "docs" is reached when "Docs" sorts before it.
template <class Child>
QTreeWidgetItem* FindNodeByText(int count, Child child, const std::string& text)
{
    const QString exact = QString::fromStdString(text);
    for (int i = 0; i < count; ++i)
        if (child(i)->text(0) == exact)
            return child(i);
    for (int i = 0; i < count; ++i)
        if (SameTextAscii(child(i)->text(0).toStdString(), text))
            return child(i);
    return nullptr;
}

} // namespace

QTreeWidgetItem* FindTreeRootNode(const QTreeWidget& tree, const std::string& text)
{
    return FindNodeByText(
        tree.topLevelItemCount(), [&tree](int i) { return tree.topLevelItem(i); }, text);
}

QTreeWidgetItem* FindTreeChildNode(const QTreeWidgetItem& node, const std::string& text)
{
    return FindNodeByText(
        node.childCount(), [&node](int i) { return node.child(i); }, text);
}

// ---- Expanding and collapsing ----

void TreeNodeExpanding(TTreeView& tree, QTreeWidgetItem& node, bool& allow)
{
    allow = true;
    if (node.childCount() > 0)
        return;
    const std::string path = GetTreeNodePath(tree, &node);
    allow = MyFileExists(IncludeEndBackslash(path));
    if (allow)
        LoadTreeWithDirectories(path, tree, node);
}

void TreeNodeCollapsed(TTreeView& tree, QTreeWidgetItem& node)
{
    const QList<QTreeWidgetItem*> children = node.takeChildren();
    qDeleteAll(children);
    SetTreeNodeHasChildren(node, TreeNodeHasSubfolders(tree, node));
}

bool ExpandTreeNode(QTreeWidgetItem& node)
{
    node.setExpanded(true);
    return node.isExpanded();
}

void ToggleTreeNode(TTreeView& tree, QTreeWidgetItem& node)
{
    if (node.isExpanded())
        node.setExpanded(false);
    else if (IsTreeNodeMarked(tree, node))
        ExpandTreeNode(node);
}

void NavigateToTreeDirectory(TTreeView& tree, const std::string& path)
{
    TTraced trace;
    trace.Run([&] {
        std::string rest = ExcludeEndBackslash(path);
        QTreeWidgetItem* current = tree.topLevelItem(0);
        QTreeWidgetItem* found = nullptr;
        while (current != nullptr && !rest.empty() && IsTreeNodeMarked(tree, *current)) {
            const std::string part = CutFirstPathName(rest);
            found = IsDriveName(part) ? FindTreeRootNode(tree, part) : FindTreeChildNode(*current, part);
            current = found;
            if (found != nullptr && !rest.empty())
                ExpandTreeNode(*found);
        }
        // A walk that stopped at a folder without sub-folders has not reached the path.
        if (found == nullptr || !rest.empty())
            return;
        tree.setCurrentItem(found);
        tree.scrollToItem(found);
    });
}

// ---- Mouse ----

QTreeWidgetItem* SelectTreeNodeAt(TTreeView& tree, int32_t x, int32_t y)
{
    QTreeWidgetItem* node = tree.itemAt(x, y);
    if (node != nullptr)
        tree.setCurrentItem(node);
    return node;
}

QTreeWidgetItem* TreeMouseDown(TTreeView& tree, TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (button != mbLeft)
        return SelectTreeNodeAt(tree, x, y);
    QTreeWidgetItem* node = tree.itemAt(x, y);
    if (node == nullptr)
        return nullptr;
    const QRect label = tree.GetLabelRect(*node);
    const bool withinHeight = y >= label.top() && y <= label.bottom();
    if ((shift & ShiftOf(ssDouble)) == 0) {
        tree.setCurrentItem(node);
        const bool onButton = x < label.left() && x >= label.left() - tree.GetIndent();
        if (onButton && withinHeight)
            ToggleTreeNode(tree, *node);
    } else if (x >= label.left() && withinHeight) {
        ToggleTreeNode(tree, *node);
    }
    return node;
}

// ---- Dragging ----

void TTreeDrag::Arm(QPoint viewportPos)
{
    Armed = true;
    PressPos = viewportPos;
}

bool TTreeDrag::Move(TTreeView& tree, MyTPanel& host, TShiftState shift, QPoint viewportPos)
{
    const QPoint screenPos = tree.viewport()->mapToGlobal(viewportPos);
    if (PanelDrag.IsActive()) {
        PanelDrag.Move(screenPos);
        return true;
    }
    if (!Armed || (shift & ShiftOf(ssLeft)) == 0)
        return false;
    if ((viewportPos - PressPos).manhattanLength() < QApplication::startDragDistance())
        return false;
    Armed = false;
    PanelDrag.Begin(host, screenPos);
    return true;
}

bool TTreeDrag::Release(TTreeView& tree, QPoint viewportPos)
{
    Armed = false;
    if (!PanelDrag.IsActive())
        return false;
    PanelDrag.Drop(tree.viewport()->mapToGlobal(viewportPos));
    return true;
}
