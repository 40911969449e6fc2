#include "mainwindow/TreeNavigatorForm.h"

#include "panels/MyTPanel.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

TTreeNavigatorForm* TreeNavigatorForm = nullptr;

namespace {

const std::string Section = "DTN";

const char* const FileSystemTreeHint =
    "File system tree-view. Click [Double LMB] on a directory name, which has a small rectangle at its left with a "
    "\"+\" inside (or [LMB] on the \"+\"), in order to expand the tree with a branch which shows the content of that "
    "directory; if the small rectangle has a \"-\" inside, the branch of the directory is closed. Click [RMB] or "
    "[Enter] on the directory name (or click [Okay]) to display its content in the current column. [F2] = clip "
    "current directory name ([Ctrl] = clip current directory path; [Shift] = clip current directory title).";
const char* const LocationsTreeHint =
    "List of boards (only those which have names) with the directories which are displayed in the visible columns. "
    "Drag and drop a directory from a board to the file system tree-view (on the left) in order to expand the tree "
    "with a branch which shows that directory. Click [RMB] on the directory name to display its content in the "
    "current column.";
const char* const SplitterHint = "Drag the splitter left or right to change the width of the two tree-view controls";

constexpr int32_t ButtonsCenterWidth = 180;
constexpr int32_t ButtonsHeight = 41;
constexpr int32_t LabelHeight = 21;
constexpr int32_t SplitterWidth = 10;

MyTPanel* MakeTreeHost(QWidget* parent)
{
    auto* host = new MyTPanel(parent);
    host->SetBorder(0);
    host->Framed = false;
    return host;
}

// The tree fills its host panel, which the splitter sizes.
TTreeView* MakeHostedTree(MyTPanel& host, const char* hint)
{
    auto* tree = new TTreeView(&host);
    tree->setToolTip(hint);
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
    return tree;
}

} // namespace

TTreeNavigatorForm::TTreeNavigatorForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
    BindTrees();
    CurrentFileTitleLabel->clear();
}

TTreeNavigatorForm::~TTreeNavigatorForm()
{
    if (TreeNavigatorForm == this)
        TreeNavigatorForm = nullptr;
}

void TTreeNavigatorForm::BuildControls()
{
    setWindowTitle("Directory tree navigator");
    resize(708, 534);
    setMinimumSize(450, 300);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    LocationsSplitter = new QSplitter(Qt::Horizontal, this);
    LocationsSplitter->setChildrenCollapsible(false);
    LocationsSplitter->setHandleWidth(SplitterWidth);
    FileSystemTreePanel = MakeTreeHost(LocationsSplitter);
    LocationTreePanel = MakeTreeHost(LocationsSplitter);
    LocationTreePanel->setMinimumWidth(MinLocationsWidth);
    LocationsSplitter->addWidget(FileSystemTreePanel);
    LocationsSplitter->addWidget(LocationTreePanel);
    LocationsSplitter->setStretchFactor(0, 1);
    LocationsSplitter->setStretchFactor(1, 0);
    LocationsSplitter->handle(1)->setToolTip(SplitterHint);
    FileSystemTreeView = MakeHostedTree(*FileSystemTreePanel, FileSystemTreeHint);
    LocationsTreeView = MakeHostedTree(*LocationTreePanel, LocationsTreeHint);

    CurrentFileTitleLabel = new QLabel(this);
    CurrentFileTitleLabel->setToolTip("Focused directory");
    ButtonsLeftFillPanel = new QWidget(this);
    ButtonsCenterFillPanel = new QWidget(this);
    OkayButton = AddButton(ButtonsCenterFillPanel, "&Okay", {5, 8, 80, 25});
    CancelButton = AddButton(ButtonsCenterFillPanel, "&Cancel", {95, 8, 80, 25});
    connect(OkayButton, &QPushButton::clicked, this, [this] { OkayButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(LocationsSplitter, &QSplitter::splitterMoved, this,
            [this] { LocationsWidth = LocationTreePanel->width(); });
    for (QObject* control :
         std::initializer_list<QObject*>{FileSystemTreeView, LocationsTreeView, OkayButton, CancelButton, this})
        control->installEventFilter(this);
}

void TTreeNavigatorForm::BindTrees()
{
    TTreeView& files = *FileSystemTreeView;
    TTreeView& locations = *LocationsTreeView;
    files.OnExpanding = [&files](QTreeWidgetItem& node, bool& allow) { TreeNodeExpanding(files, node, allow); };
    files.OnCollapsed = [&files](QTreeWidgetItem& node) { TreeNodeCollapsed(files, node); };
    files.OnMouseDown = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        FileListTreeViewMouseDown(button, shift, x, y);
    };
    locations.OnMouseDown = [this](TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        LocationsTreeViewMouseDown(button, shift, x, y);
    };
    locations.OnMouseMove = [this, &locations](TShiftState shift, int32_t x, int32_t y) {
        LocationsDrag.Move(locations, *LocationTreePanel, shift, {x, y});
    };
    locations.OnMouseUp = [this, &locations](TMouseButton, TShiftState, int32_t x, int32_t y) {
        LocationsDrag.Release(locations, {x, y});
    };
    for (TTreeView* tree : {&files, &locations})
        tree->OnCustomDraw = [this, tree](QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state) {
            TTreePaintStyle style = PaintStyle;
            style.EmphasisedPath = ChosenDirectory;
            DrawTreeNode(*tree, canvas, node, state, style);
        };
    LocationTreePanel->OnStartDrag = [this](MyTPanel*, QObject*& dragObject) { dragObject = LocationsTreeView; };
    FileSystemTreePanel->OnDragOver = [this](MyTPanel*, QObject* source, int32_t, int32_t, TDragState, bool& accept) {
        accept = source != nullptr && source == LocationsTreeView;
    };
    FileSystemTreePanel->OnDragDrop = [this](MyTPanel*, QObject*, int32_t, int32_t) {
        if (QTreeWidgetItem* dragged = LocationsTreeView->currentItem())
            NavigateToTreeDirectory(*FileSystemTreeView, dragged->text(0).toStdString());
        FileSystemTreeView->setFocus();
    };
    connect(&files, &QTreeWidget::currentItemChanged, this, [this, &files](QTreeWidgetItem* node) {
        CurrentFileTitleLabel->setText(QString::fromStdString(GetTreeNodePath(files, node)));
    });
    connect(&locations, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        CurrentFileTitleLabel->setText(node != nullptr ? node->text(0) : QString());
    });
}

std::string TTreeNavigatorForm::Dialog(const std::string& startPath)
{
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        ChosenDirectory = ExcludeEndBackslash(startPath);
        const int32_t indent = GetFontHeight(FileSystemTreeView->font(), *FileSystemTreeView);
        FileSystemTreeView->SetIndent(indent);
        LocationsTreeView->SetIndent(indent);
        if (QTreeWidgetItem* first = LocationsTreeView->topLevelItem(0))
            LocationsTreeView->setCurrentItem(first);
        FileSystemTreeView->clear();
        LoadTreeWithPartitions(*FileSystemTreeView);
        NavigateToTreeDirectory(*FileSystemTreeView, ChosenDirectory);
        FormResize();
        Placement.Place(*this);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to show the directory tree navigator.");
    FileSystemTreeView->clear();
    return result == mrOkay ? ChosenDirectory : std::string();
}

void TTreeNavigatorForm::OkayButtonClick()
{
    ChosenDirectory = GetSelectedTreePath(*FileSystemTreeView);
    done(mrOkay);
}

void TTreeNavigatorForm::FileListTreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    QTreeWidgetItem* node = TreeMouseDown(*FileSystemTreeView, button, shift, x, y);
    if (node == nullptr || button != mbRight)
        return;
    ChosenDirectory = GetTreeNodePath(*FileSystemTreeView, node);
    done(mrOkay);
}

// Board nodes only open and close; a directory below one drags or is chosen.
void TTreeNavigatorForm::LocationsTreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    LocationsDrag.Disarm();
    QTreeWidgetItem* node = TreeMouseDown(*LocationsTreeView, button, shift, x, y);
    if (node == nullptr || node->parent() == nullptr)
        return;
    if (button == mbLeft) {
        LocationsDrag.Arm({x, y});
    } else if (button == mbRight) {
        ChosenDirectory = node->text(0).toStdString();
        done(mrOkay);
    }
}

void TTreeNavigatorForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        OkayButton->click();
    else if (key == Qt::Key_Escape)
        CancelButton->click();
    else if (key == Qt::Key_F2)
        ClipSelectedPath(modifiers);
}

// Without modifiers the name, with Ctrl the parent folder, with Shift or Alt alone the
// whole path.
void TTreeNavigatorForm::ClipSelectedPath(Qt::KeyboardModifiers modifiers)
{
    std::string path = GetSelectedTreePath(*FileSystemTreeView);
    if ((modifiers & Qt::ControlModifier) != 0)
        path = GetParentPath(path);
    else if ((modifiers & (Qt::ShiftModifier | Qt::AltModifier)) == 0)
        path = GetPathName(path);
    CopyTextToClipboard(path, "Failed to copy file title to clipboard.", false, false);
}

// The trees' host panels take every key they are given, so the form sees its own keys
// before any control does; Esc among them, or it would never reach the dialog.
bool TTreeNavigatorForm::IsFormKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_F2;
}

bool TTreeNavigatorForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (IsFormKey(key->key())) {
            FormKeyDown(key->key(), key->modifiers());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTreeNavigatorForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ApplyLocationsWidth();
    FileSystemTreeView->setFocus();
}

void TTreeNavigatorForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TTreeNavigatorForm::FormResize()
{
    const int32_t width = this->width();
    const int32_t treesHeight = std::max(height() - ButtonsHeight - LabelHeight, 0);
    LocationsSplitter->setGeometry(0, 0, width, treesHeight);
    CurrentFileTitleLabel->setGeometry(5, treesHeight, std::max(width - 10, 0), LabelHeight);
    const int32_t leftWidth = std::max((width - ButtonsCenterWidth) / 2, 0);
    ButtonsLeftFillPanel->setGeometry(0, treesHeight + LabelHeight, leftWidth, ButtonsHeight);
    ButtonsCenterFillPanel->setGeometry(leftWidth, treesHeight + LabelHeight, ButtonsCenterWidth, ButtonsHeight);
}

void TTreeNavigatorForm::ApplyLocationsWidth()
{
    const int32_t total = LocationsSplitter->width() - LocationsSplitter->handleWidth();
    LocationsSplitter->setSizes({std::max(total - LocationsWidth, 0), LocationsWidth});
}

void TTreeNavigatorForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    Placement.Loaded(store.ReadFormBounds(Section, "XPos", "YPos", "XSize", "YSize", *this));
    store.ReadInteger(Section, "LocationsSplitterWidth", MinLocationsWidth, width(), LocationsWidth);
    ApplyLocationsWidth();
}

void TTreeNavigatorForm::OnSaveOptionsSTL(TStoredTextList& store)
{
    store.WriteFormBounds(Section, "XPos", "YPos", "XSize", "YSize", *this);
    store.WriteInteger(Section, "LocationsSplitterWidth", LocationsWidth);
}
