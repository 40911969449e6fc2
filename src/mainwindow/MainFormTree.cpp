#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/TreeNavigatorForm.h"

#include "columns/MainWindowMouse.h"
#include "panels/MyTPanel.h"

#include "core/desktop/SystemMenu.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/Random.h"

#include <QPalette>

namespace {

const char* const TreeViewHelp =
    "Drag a directory name and drop it into a column to display the content of the directory in that column. Drop a "
    "column here to expand the tree to view the directory displayed in the source column. The tree is not updated "
    "automatically when directories are created or deleted; you have to update it manually by closing and opening "
    "again the branch which you want to update. Click [Double LMB] on a directory name, which has a small rectangle "
    "at its left with a \"+\" inside (or [LMB] on the \"+\"), in order to expand the tree with a branch which shows "
    "the content of that directory; if the small rectangle has a \"-\" inside, the branch of the directory is "
    "closed.";

TTreePaintStyle SkinTreePaintStyle()
{
    const TSkinOptions& skin = SkinOptions;
    TTreePaintStyle style;
    style.WindowBack = skin.WindowBackColor;
    style.WindowText = skin.WindowTextColor;
    style.InactiveBack = skin.InactiveFocusBackColor;
    style.InactiveText = skin.InactiveFocusTextColor;
    style.InactiveTint = skin.InactiveFocusTintColor;
    style.ActiveBack = skin.ActiveFocusBackColor;
    style.ActiveText = skin.ActiveFocusTextColor;
    style.ActiveTint = skin.ActiveFocusTintColor;
    style.Grid = skin.GridColor;
    style.ButtonStyle = skin.NonOvalButtonsStyle;
    return style;
}

void SetColors(QWidget& widget, QPalette::ColorRole backRole, TColor back, TColor text)
{
    QPalette palette = widget.palette();
    palette.setColor(backRole, ToQColor(back));
    palette.setColor(QPalette::Text, ToQColor(text));
    palette.setColor(QPalette::WindowText, ToQColor(text));
    widget.setPalette(palette);
}

QFont ItemsFont()
{
    return QFont(QString::fromStdString(ProgramOptions.ItemsFontName), ProgramOptions.ItemsFontSize);
}

void StyleTree(QTreeWidget& tree)
{
    SetColors(tree, QPalette::Base, SkinOptions.WindowBackColor, SkinOptions.WindowTextColor);
    tree.setFont(ItemsFont());
}

} // namespace

void TMainForm::BuildTreeView()
{
    TreeView = new TTreeView(TreeViewPanel);
    TreeView->setFocusPolicy(Qt::ClickFocus);
    TTreeView& tree = *TreeView;
    tree.OnExpanding = [&tree](QTreeWidgetItem& node, bool& allow) { TreeNodeExpanding(tree, node, allow); };
    tree.OnCollapsed = [&tree](QTreeWidgetItem& node) { TreeNodeCollapsed(tree, node); };
    tree.OnMouseDown = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        TreeViewMouseDown(button, shift, x, y);
    };
    tree.OnMouseMove = [this](TShiftState shift, int32_t x, int32_t y) { TreeViewMouseMove(shift, x, y); };
    tree.OnMouseUp = [this](TMouseButton, TShiftState, int32_t x, int32_t y) { TreeDrag.Release(*TreeView, {x, y}); };
    tree.OnCustomDraw = [this](QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state) {
        TreeViewCustomDrawItem(canvas, node, state);
    };
    connect(&tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { TreeViewChange(node); });
    TreeViewPanel->OnStartDrag = [this](MyTPanel*, QObject*& dragObject) { dragObject = TreeView; };
    TreeViewPanel->OnDragOver = [this](MyTPanel*, QObject* source, int32_t, int32_t, TDragState, bool& accept) {
        TreeViewDragOver(source, accept);
    };
    TreeViewPanel->OnDragDrop = [this](MyTPanel*, QObject* source, int32_t, int32_t) { TreeViewDragDrop(source); };
}

void TMainForm::StyleTreeView()
{
    StyleTree(*TreeView);
    TreeView->SetIndent(GetFontHeight(TreeView->font(), *TreeView));
    RestoreTreeNodeButtons(*TreeView);
    const int32_t border = TreeViewPanel->Border;
    TreeView->setGeometry(border, border, std::max(TreeViewPanel->width() - 2 * border, 0),
                          std::max(TreeViewPanel->height() - 2 * border, 0));
}

void TMainForm::TreeFollowBoard()
{
    const TBoardData& board = Boards->GetActiveBoard();
    if (board.ShowTree)
        NavigateToTreeDirectory(*TreeView, board.TreePath);
}

bool TMainForm::IsDirectoryTree(const QObject* source) const
{
    return source != nullptr && source == TreeView;
}

std::string TMainForm::GetSelectedTreePath() const
{
    return ::GetSelectedTreePath(*TreeView);
}

void TMainForm::TreeViewMouseMove(TShiftState shift, int32_t x, int32_t y)
{
    if (TreeDrag.Move(*TreeView, *TreeViewPanel, shift, {x, y}))
        return;
    ShowApplicationHint("Current file \"" + GetTreeNodePath(*TreeView, TreeView->itemAt(x, y)) + "\". " + TreeViewHelp);
    const QPoint screen = TreeView->viewport()->mapToGlobal(QPoint(x, y));
    Random.AddMouse(screen.x(), screen.y());
}

void TMainForm::TreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TreeDrag.Disarm();
    QTreeWidgetItem* node = TreeMouseDown(*TreeView, button, shift, x, y);
    if (node == nullptr)
        return;
    if (button == mbLeft) {
        TreeDrag.Arm({x, y});
        return;
    }
    if (button != mbRight)
        return;
    const QRect row = TreeView->GetRowRect(*node);
    const QRect screenRow(TreeView->viewport()->mapToGlobal(row.topLeft()), row.size());
    const std::string path = GetTreeNodePath(*TreeView, node);
    bool extraChosen = false;
    DisplayContextMenu(IsDriveName(path) ? IncludeEndBackslash(path) : path, this,
                       TreeView->viewport()->mapToGlobal(QPoint(x, row.bottom())), extraChosen, "System",
                       GetParentPath(path), screenRow);
}

// A board column's list dropped here expands the tree to the column's folder.
void TMainForm::TreeViewDragOver(QObject* source, bool& accept)
{
    const TColumn* column = FindColumnByList(source);
    accept = column != nullptr && column->Index < MaxVisibleColumns;
}

void TMainForm::TreeViewDragDrop(QObject* source)
{
    const TColumn* column = FindColumnByList(source);
    if (column == nullptr)
        return;
    NavigateToTreeDirectory(*TreeView, GetParentPath(column->ActiveTitle));
    TreeView->setFocus();
}

// The same folder is told by file identity: on Linux "C:\data\" and "C:\Data\" are two.
void TMainForm::TreeViewChange(QTreeWidgetItem* node)
{
    TBoardData& board = Boards->GetActiveBoard();
    if (node == nullptr || !board.ShowTree)
        return;
    board.TreePath = GetTreeNodePath(*TreeView, node);
    SetPanelText(*TreePathPanel, board.TreePath);
    if (!StartupDone || (!ProgramOptions.SynchronizeColumn && VisibleColumnCount > 1))
        return;
    TColumn* column = ActiveColumn();
    const std::string folder = IncludeEndBackslash(board.TreePath);
    if (column == nullptr || IsSameFile(folder, column->ActiveTitle))
        return;
    TLoadRequest request;
    request.RememberPrevious = true;
    request.ContainerIndex = -1;
    request.Title = folder;
    column->LoadDirectory(request);
}

void TMainForm::TreeViewCustomDrawItem(QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state)
{
    DrawTreeNode(*TreeView, canvas, node, state, SkinTreePaintStyle());
}

std::string TMainForm::TreeNavigatorDialog(const std::string& path)
{
    if (TreeNavigatorForm == nullptr)
        return {};
    TTreeNavigatorForm& form = *TreeNavigatorForm;
    form.LocationsTreeView->clear();
    SetColors(form, QPalette::Window, SkinOptions.FillingColor, SkinOptions.WindowTextColor);
    StyleTree(*form.FileSystemTreeView);
    StyleTree(*form.LocationsTreeView);
    form.PaintStyle = SkinTreePaintStyle();
    Boards->SetupTreeView(*form.LocationsTreeView);
    return form.Dialog(GetParentPath(path));
}

void TMainForm::TreeNavigatorMenuClick()
{
    TColumn* column = ActiveColumn();
    if (column == nullptr)
        return;
    const std::string folder = TreeNavigatorDialog(column->ActiveTitle);
    if (!folder.empty())
        column->EnterDirectory(ShiftOf(ssAlt), folder, true);
}

void TMainForm::NavigateToDirectoryMenuClick()
{
    TColumn* column = ActiveColumn();
    if (column == nullptr)
        return;
    const std::string folder = GetParentPath(column->ActiveTitle);
    // The tree shows at the column's folder: following the board's former tree path would
    // load that into the column first.
    if (TreePanel->isHidden()) {
        Boards->GetActiveBoard().TreePath = ExcludeEndBackslash(folder);
        ToggleTreeNavigator();
    }
    NavigateToTreeDirectory(*TreeView, folder);
    FocusWinControl(TreeView);
}
