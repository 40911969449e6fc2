#include "mainwindow/Boards.h"

#include "mainwindow/BoardPropertiesForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PanelLooks.h"

#include "columns/Column.h"
#include "columns/ContainerDialog.h"
#include "panels/MyTPanel.h"

#include "core/desktop/Program.h"
#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/AsciiCase.h"

#include <QActionGroup>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

TBoards* Boards = nullptr;

namespace {

constexpr int DragHoverInterval = 200;
constexpr double DragHoverPeriod = 0.8;

const char* const HintStart = "Board (= set of columns). The button looks pressed for the active board. [LMB]";
const char* const HintModifiers =
    " = show this board ([Ctrl] = copy the active board in this board; [Shift] = switch the active board with this "
    "board; [Alt] = move the active board in the place of this board).";
const char* const HintEnd =
    " Drag a column over this to show the board (after a short delay), and drop it on a column to display the "
    "\"File-drag\" menu. Each board can be individually navigated. Each board's status is saved.";

void SetButtonDown(MyTPanel& button, bool down)
{
    button.Down = down;
    button.Invalidate();
}

// A resting button is shown from the shared background, which holds its pressed or raised
// face until the background is painted again.
void RepaintRestingButtons(TMainForm& window)
{
    window.MainPanel->ResetAll();
}

TColumnState& ColumnOf(TBoardData& board, int32_t number)
{
    return board.ColumnStates[static_cast<size_t>(number - 1)];
}

// A folder the system does not have leaves the column at its drive.
TColumnState& At(TColumnState& column, const std::string& folder)
{
    if (!folder.empty())
        column.ActiveTitle = folder;
    return column;
}

TColumnState& Fixed(TColumnState& column)
{
    column.FixedAttr = true;
    return column;
}

TColumnState& Container(TColumnState& column, int32_t container)
{
    column.ContainerIndex = container;
    return column;
}

void Thumbnails(TColumnState& column, int32_t width, int32_t subcolumns, int32_t thumbHeight)
{
    column.ThumbAttr = true;
    column.WidthAttr = width;
    column.Subcolumns = subcolumns;
    column.ThumbHeight = thumbHeight;
}

std::string MenuTitle(TShiftState shift)
{
    if (IsKeyShiftOnly(shift, ssCtrl))
        return "Copy board";
    if (IsKeyShiftOnly(shift, ssShift))
        return "Switch board";
    if (IsKeyShiftPairOnly(shift, ssCtrl, ssShift))
        return "Move board";
    return "Show board";
}

// The listed directory of a column title, or "" for the drives and a drive's root.
std::string LocationOf(const std::string& title)
{
    const std::string directory = GetParentPath(title);
    if (directory.empty() || IsDriveName(directory) || IsDriveName(ExcludeEndBackslash(directory)))
        return {};
    return directory;
}

// Neither empty nor "None" in any letter case.
bool HasBoardShortcut(const TBoardData& board)
{
    return !board.Shortcut.empty() && !SameTextAscii(board.Shortcut, "None");
}

} // namespace

void TBoardData::Init(TBoards& owner, int32_t index, QWidget* bar)
{
    Index = index;
    Owner = &owner;
    OnColumnDragOver = [&owner](TColumn* dragged, TBoardData* board, TDragState state) {
        owner.ColumnDragOver(dragged, board, state);
    };
    const std::string drive = GetOperatorDrive();
    TreePath = drive;
    for (TColumnState& column : ColumnStates) {
        column.ActiveTitle = drive;
        column.DefaultTitle = drive;
    }
    Button = new MyTPanel(bar);
    SetButtonLook(*Button);
    Button->OnMouseDown = [this](MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        ButtonMouseDown(sender, button, shift, x, y);
    };
    Button->OnDragOver = [this](MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state,
                                bool& accept) { ButtonDragOver(sender, source, x, y, state, accept); };
    owner.SetBoardName(*this, std::to_string(index));
    owner.SetBoardShortcut(*this, "");
}

void TBoardData::ButtonMouseDown(MyTPanel*, TMouseButton button, TShiftState shift, int32_t, int32_t)
{
    if (button != mbLeft || Index == Owner->ActiveBoard)
        return;
    if (IsKeyShiftEmpty(shift))
        Owner->ShowBoard(Index);
    else if (IsKeyShiftOnly(shift, ssCtrl))
        Owner->CopyBoard(Index);
    else if (IsKeyShiftOnly(shift, ssShift))
        Owner->SwitchBoard(Index);
    else if (IsKeyShiftOnly(shift, ssAlt))
        Owner->MoveBoard(Index);
}

void TBoardData::ButtonDragOver(MyTPanel*, QObject* source, int32_t, int32_t, TDragState state, bool& accept)
{
    TColumn* dragged = FindColumnByList(source);
    accept = dragged != nullptr && OnColumnDragOver;
    if (accept)
        OnColumnDragOver(dragged, this, state);
}

TBoards::TBoards(TMainForm& window, MyTPanel* barPanel) : Window(window), BarPanel(barPanel)
{
    TTraced trace;
    try {
        DragHoverTimer = new QTimer(BarPanel);
        DragHoverTimer->setInterval(DragHoverInterval);
        QObject::connect(DragHoverTimer, &QTimer::timeout, DragHoverTimer, [this] { DragHoverTimerTick(); });
        for (int32_t i = 0; i < BoardCount; ++i)
            Items[static_cast<size_t>(i)].Init(*this, i, BarPanel);
        IniPaths();
        SetButtonDown(*GetActiveBoard().Button, true);
    }
    TRACED_CATCH(trace)
}

TBoards::~TBoards()
{
    if (DragHoverTimer != nullptr)
        DragHoverTimer->stop();
}

void TBoards::IniPaths()
{
    TTraced trace;
    try {
        const std::string documents = GetDocumentsPath();
        const std::string temp = GetTempPathA();
        const std::string pictures = GetPicturesPath();
        const std::string programFiles = GetProgramFilesPath();
        const auto board = [this](int32_t number, const std::string& name, const std::string& shortcut,
                                  int32_t visibleColumns = 2) -> TBoardData& {
            TBoardData& data = Items[static_cast<size_t>(number - 1)];
            SetBoardName(data, name);
            SetBoardShortcut(data, shortcut);
            data.VisibleColumnCount = visibleColumns;
            return data;
        };

        TBoardData& main = board(1, "Main", "1");
        Fixed(At(ColumnOf(main, 2), documents));

        TBoardData& tempBoard = board(2, "Temp", "2");
        At(ColumnOf(tempBoard, 1), temp);
        Fixed(ColumnOf(tempBoard, 2));

        TBoardData& cd = board(3, "CD", "3", 3);
        Fixed(At(ColumnOf(cd, 3), temp));

        TBoardData& search = board(4, "Search", "4", 3);
        At(ColumnOf(search, 1), documents);
        Container(Fixed(ColumnOf(search, 2)), 1).ShowPathsInContainer = true;
        TColumnState& found = Container(Fixed(ColumnOf(search, 3)), Window.ContainerDialog->GetFoundIndex());
        found.WidthAttr = 2;
        found.ShowPathsInContainer = true;

        TBoardData& containers = board(5, "Containers", "5", 3);
        At(ColumnOf(containers, 1), documents);
        Container(Fixed(ColumnOf(containers, 2)), 0);
        Container(Fixed(ColumnOf(containers, 3)), 1);

        TBoardData& backup = board(6, "Backup", "6");
        At(ColumnOf(backup, 1), documents);
        Fixed(ColumnOf(backup, 2));

        TBoardData& documentsBoard = board(7, "Documents", "7");
        At(ColumnOf(documentsBoard, 1), documents);
        Fixed(At(ColumnOf(documentsBoard, 2), GetSharedDocumentsPath()));

        TBoardData& music = board(8, "Music", "8");
        music.ShowPlayList = true;
        At(ColumnOf(music, 1), GetMusicPath());

        TBoardData& movies = board(9, "Movies", "9");
        movies.ShowPlayList = true;
        At(ColumnOf(movies, 1), GetMoviesPath());

        TBoardData& picturesBoard = board(10, "Pictures", "0");
        At(ColumnOf(picturesBoard, 1), pictures);
        Thumbnails(ColumnOf(picturesBoard, 2), 1, 3, 3);

        TBoardData& browser = board(11, "Picture browser", "");
        At(ColumnOf(browser, 1), pictures);
        Thumbnails(ColumnOf(browser, 2), 3, 1, 0);

        At(ColumnOf(board(12, "Books", ""), 1), documents);

        Fixed(At(ColumnOf(board(13, "Kits", ""), 2), programFiles));

        TBoardData& downloads = board(14, "Downloads", "");
        At(ColumnOf(downloads, 1), documents);
        Fixed(ColumnOf(downloads, 2));

        TBoardData& explorer = board(15, "Explorer", "", 1);
        explorer.ShowTree = true;
        At(ColumnOf(explorer, 1), documents);

        TBoardData& favorites = board(16, "Favorites", "");
        At(ColumnOf(favorites, 1), GetFavoritesPath());
        Fixed(At(ColumnOf(favorites, 2), GetSharedFavoritesPath()));

        TBoardData& programs = board(17, "Program Files", "", 3);
        At(ColumnOf(programs, 1), programFiles);
        Fixed(At(ColumnOf(programs, 3), GetProgramLinksPath()));

        TBoardData& system = board(18, "OS", "");
        At(ColumnOf(system, 1), GetOperatorPath());
        Fixed(At(ColumnOf(system, 2), GetSystemPath()));

        TBoardData& self = board(19, "This", "");
        At(ColumnOf(self, 1), GetProgramDir());
        At(ColumnOf(self, 2), GetOptionsPath());
    }
    TRACED_CATCH(trace)
}

// ---- Names, captions and hints ----

void TBoards::SetBoardName(TBoardData& board, const std::string& name)
{
    board.Name = name == std::to_string(board.Index) ? std::string() : name;
    SetPanelText(*board.Button, GetBoardCaption(board));
}

void TBoards::SetBoardShortcut(TBoardData& board, const std::string& shortcut)
{
    board.Shortcut = shortcut;
    UpdateBoardHint(board);
}

std::string TBoards::GetBoardCaption(const TBoardData& board) const
{
    return board.Name.empty() ? std::to_string(board.Index + 1) : board.Name;
}

void TBoards::UpdateBoardHint(TBoardData& board)
{
    std::string hint = std::string(HintStart) + HintModifiers;
    if (HasBoardShortcut(board))
        hint += " [" + board.Shortcut + "] = show this board.";
    board.Button->setToolTip(QString::fromStdString(hint + HintEnd));
}

int32_t TBoards::FindSearchBoard() const
{
    for (const TBoardData& board : Items)
        if (SameTextAscii(board.Name, "Search") || SameTextAscii(board.Name, "Find"))
            return board.Index;
    return -1;
}

int32_t TBoards::FindBoardByShortcut(char key) const
{
    if (key <= 0)
        return -1;
    for (const TBoardData& board : Items)
        if (HasBoardShortcut(board) && board.Shortcut.front() == key)
            return board.Index;
    return -1;
}

void TBoards::SetDefaultTitles()
{
    for (TBoardData& board : Items)
        for (TColumnState& column : board.ColumnStates)
            column.DefaultTitle = column.ActiveTitle;
}

// ---- The boards bar ----

void TBoards::ArrangeBar(int32_t visibleBoards, int32_t rows, int32_t left, int32_t top, int32_t width)
{
    rows = std::max(rows, 1);
    MyTPanel& first = *Items[0].Button;
    const int32_t buttonHeight = GetLineHeightWithBorders(first);
    BarPanel->SetBounds(left, top, width, rows * buttonHeight + 2 * BarPanel->Border);
    const int32_t perRow = std::max((visibleBoards + rows - 1) / rows, 1);
    const int32_t itemsWidth = BarPanel->GetItemsWidth(false);
    const int32_t buttonWidth = itemsWidth / perRow;
    int32_t placed = 0;
    for (int32_t row = 0; row < rows && placed < BoardCount; ++row) {
        for (int32_t slot = 0; slot < perRow && placed < BoardCount; ++slot, ++placed) {
            MyTPanel& button = *Items[static_cast<size_t>(placed)].Button;
            const bool lastInRow = slot == perRow - 1;
            button.SetBounds(slot * buttonWidth, row * buttonHeight,
                             lastInRow ? itemsWidth - (perRow - 1) * buttonWidth : buttonWidth, buttonHeight);
            button.setVisible(placed < visibleBoards);
        }
    }
    for (; placed < BoardCount; ++placed)
        Items[static_cast<size_t>(placed)].Button->hide();
    BarPanel->setVisible(ProgramOptions.ShowBoardsBar);
    SetActiveBoard(ActiveBoard);
}

// ---- Transfer between the window and a board ----

void TBoards::SaveActiveBoard()
{
    TBoardData& board = GetActiveBoard();
    board.VisibleColumnCount = Window.VisibleColumnCount;
    board.ActiveColumnIndex = Window.ActiveColumnIndex;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        const TColumn& column = *Window.Columns[static_cast<size_t>(i)];
        TColumnState& state = board.ColumnStates[static_cast<size_t>(i)];
        state.ContainerIndex = column.ContainerIndex;
        state.FixedAttr = column.FixedAttr;
        state.WidthAttr = column.WidthAttr;
        state.Subcolumns = column.Subcolumns;
        state.ThumbHeight = column.ThumbHeight;
        state.ThumbAttr = column.ThumbAttr;
        state.ShowPathsInContainer = column.ShowPathsInContainer;
        state.ActiveTitle = column.ActiveTitle;
        state.ActiveType = column.ActiveType;
        state.ActiveTopOffset = column.ActiveTopOffset;
        state.ActiveKey = column.ActiveKey;
        state.SortMode = column.SortMode;
        state.DefaultTitle = column.DefaultTitle;
    }
}

void TBoards::RestoreActiveBoard(bool withHeaders)
{
    const TBoardData& board = GetActiveBoard();
    Window.VisibleColumnCount = board.VisibleColumnCount;
    Window.ActiveColumnIndex = board.ActiveColumnIndex;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn& column = *Window.Columns[static_cast<size_t>(i)];
        const TColumnState& state = board.ColumnStates[static_cast<size_t>(i)];
        column.ContainerIndex = state.ContainerIndex;
        column.FixedAttr = state.FixedAttr;
        column.WidthAttr = state.WidthAttr;
        column.Subcolumns = state.Subcolumns;
        column.ThumbHeight = state.ThumbHeight;
        column.ThumbAttr = state.ThumbAttr;
        column.ShowPathsInContainer = state.ShowPathsInContainer;
        column.PreviousTitle = column.ActiveTitle;
        column.ActiveTitle = state.ActiveTitle;
        column.ActiveType = state.ActiveType;
        column.ActiveTopOffset = state.ActiveTopOffset;
        column.ActiveKey = state.ActiveKey;
        column.SortMode = state.SortMode;
        column.DefaultTitle = state.DefaultTitle;
        if (withHeaders && i < board.VisibleColumnCount)
            SetButtonDown(*column.HeaderButton, column.FixedAttr);
    }
}

void TBoards::SetActiveBoard(int32_t index)
{
    if (index < 0 || index >= BoardCount)
        return;
    SetButtonDown(*GetActiveBoard().Button, false);
    ActiveBoard = index;
    SetButtonDown(*GetActiveBoard().Button, true);
    Window.UpdateCaption();
}

// ---- Switching, copying, exchanging and moving ----

void TBoards::ShowBoard(int32_t index)
{
    if (index >= 0 && index < BoardCount && index != ActiveBoard) {
        GMyPanelGlobal.PaintingEnabled = false;
        TTraced trace;
        try {
            SaveActiveBoard();
            SetActiveBoard(index);
            RestoreActiveBoard(true);
            Window.Reset(true);
            Window.SetViewerHeight(true, Window.ViewerPanel->height());
            for (int32_t i = 0; i < Window.VisibleColumnCount; ++i)
                Window.Columns[static_cast<size_t>(i)]->LoadDirectory({});
            Window.TreeFollowBoard();
        }
        TRACED_CATCH(trace)
    }
    GMyPanelGlobal.PaintingEnabled = true;
    Window.FocusColumn(-1, false);
}

void TBoards::CopyBoard(int32_t index)
{
    if (index < 0 || index >= BoardCount || index == ActiveBoard)
        return;
    TBoardData& target = Items[static_cast<size_t>(index)];
    const TBoardData& active = GetActiveBoard();
    target.ShowPlayList = active.ShowPlayList;
    target.ShowTree = active.ShowTree;
    target.TreePath = active.TreePath;
    SaveActiveBoard();
    SetActiveBoard(index);
    RepaintRestingButtons(Window);
    Window.FocusColumn(-1, false);
}

void TBoards::SwitchBoard(int32_t index)
{
    if (index < 0 || index >= BoardCount || index == ActiveBoard)
        return;
    TBoardData& current = GetActiveBoard();
    TBoardData& other = Items[static_cast<size_t>(index)];
    const TBoardLabel currentLabel = GetBoardLabel(current);
    SetBoardLabel(current, GetBoardLabel(other));
    SetBoardLabel(other, currentLabel);
    SaveActiveBoard();
    SetActiveBoard(index);
    std::swap(current.VisibleColumnCount, other.VisibleColumnCount);
    std::swap(current.ActiveColumnIndex, other.ActiveColumnIndex);
    std::swap(current.ColumnStates, other.ColumnStates);
    RepaintRestingButtons(Window);
    Window.FocusColumn(-1, false);
}

void TBoards::MoveBoard(int32_t index)
{
    if (index < 0 || index >= BoardCount || index == ActiveBoard)
        return;
    const int32_t current = ActiveBoard;
    const TBoardLabel kept = GetBoardLabel(GetActiveBoard());
    const auto at = [this](int32_t k) -> TBoardData& { return Items[static_cast<size_t>(k)]; };
    if (current < index) {
        for (int32_t k = current; k < index; ++k)
            CopyBoardContent(at(k), at(k + 1));
    } else {
        for (int32_t k = current; k > index; --k)
            CopyBoardContent(at(k), at(k - 1));
    }
    SetActiveBoard(index);
    SaveActiveBoard();
    SetBoardLabel(GetActiveBoard(), kept);
    RepaintRestingButtons(Window);
    Window.FocusColumn(-1, false);
}

TBoards::TBoardLabel TBoards::GetBoardLabel(const TBoardData& board)
{
    return {board.Name, board.Shortcut, board.ShowPlayList, board.ShowTree, board.TreePath};
}

void TBoards::SetBoardLabel(TBoardData& board, const TBoardLabel& label)
{
    SetBoardName(board, label.Name);
    SetBoardShortcut(board, label.Shortcut);
    board.ShowPlayList = label.ShowPlayList;
    board.ShowTree = label.ShowTree;
    board.TreePath = label.TreePath;
}

void TBoards::CopyBoardContent(TBoardData& target, const TBoardData& source)
{
    SetBoardLabel(target, GetBoardLabel(source));
    target.VisibleColumnCount = source.VisibleColumnCount;
    target.ActiveColumnIndex = source.ActiveColumnIndex;
    target.ColumnStates = source.ColumnStates;
}

// ---- The boards menu ----

void TBoards::ShowMenu(MyTPanel& button, TShiftState shift)
{
    TTraced trace;
    trace.Run([&] {
        MenuShiftState = shift;
        delete Menu.data();
        Menu = new QMenu(&button);
        QMenu& menu = *Menu;
        const QString title = QString::fromStdString(MenuTitle(shift));
        menu.setTitle(title);
        QAction* titleItem = menu.addAction(title);
        titleItem->setData(-1);
        menu.setDefaultAction(titleItem);
        auto* group = new QActionGroup(&menu);
        const QString hint = "Show this board";
        for (const TBoardData& board : Items) {
            std::string caption = GetBoardCaption(board);
            // The key is shown beside the item; the file lists act on it.
            if (HasBoardShortcut(board))
                caption += "\t" + board.Shortcut.substr(0, 1);
            QAction* item = menu.addAction(QString::fromStdString(caption));
            item->setData(board.Index);
            item->setStatusTip(hint);
            item->setToolTip(hint);
            item->setCheckable(true);
            group->addAction(item);
            if (board.Index == ActiveBoard) {
                item->setChecked(true);
                item->setEnabled(false);
            }
            QObject::connect(item, &QAction::triggered, item, [this, item] { MenuItemClick(*item); });
        }
        // Centred on the mouse, under the button.
        const QPoint below = button.mapToGlobal(QPoint(0, button.height() - 1));
        RunPopupMenu(menu, QPoint(QCursor::pos().x() - menu.sizeHint().width() / 2, below.y()));
    });
    if (!trace.Succeeded())
        delete Menu.data();
    trace.ShowFailure("Failed to show boards menu.");
}

void TBoards::MenuItemClick(const QAction& item)
{
    const int32_t index = item.data().toInt();
    if (IsKeyShiftOnly(MenuShiftState, ssCtrl))
        CopyBoard(index);
    else if (IsKeyShiftOnly(MenuShiftState, ssShift))
        SwitchBoard(index);
    else if (IsKeyShiftPairOnly(MenuShiftState, ssCtrl, ssShift))
        MoveBoard(index);
    else
        ShowBoard(index);
}

// ---- The locations tree ----

void TBoards::SetupTreeView(QTreeWidget& tree)
{
    tree.clear();
    TTraced trace;
    trace.Run([&] {
        for (const TBoardData& board : Items) {
            if (board.Name.empty())
                continue;
            auto* root = new QTreeWidgetItem(&tree, QStringList(QString::fromStdString(GetBoardCaption(board))));
            root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            for (int32_t i = 0; i < board.VisibleColumnCount; ++i) {
                const std::string location = LocationOf(board.ColumnStates[static_cast<size_t>(i)].ActiveTitle);
                if (!location.empty())
                    new QTreeWidgetItem(root, QStringList(QString::fromStdString(location)));
            }
        }
    });
    if (!trace.Succeeded())
        tree.clear();
}

// ---- The properties command ----

void TBoards::EditProperties()
{
    if (BoardPropertiesForm == nullptr)
        BoardPropertiesForm = new TBoardPropertiesForm(&Window);
    TBoardPropertiesForm& form = *BoardPropertiesForm;
    TBoardData& board = GetActiveBoard();
    QComboBox& shortcuts = *form.ShortcutComboBox;
    shortcuts.clear();
    shortcuts.addItem("None");
    if (HasBoardShortcut(board))
        shortcuts.addItem(QString::fromStdString(board.Shortcut));
    for (char digit = '0'; digit <= '9'; ++digit)
        if (FindBoardByShortcut(digit) < 0)
            shortcuts.addItem(QString(QChar(digit)));
    if (!form.Dialog(board.Name, board.Shortcut))
        return;
    UpdateComboBoxHistory(*form.NameComboBox);
    SetBoardName(board, form.NameComboBox->currentText().toStdString());
    SetBoardShortcut(board, shortcuts.currentText().toStdString());
    Window.UpdateCaption();
}

// ---- Drag hover ----

void TBoards::StartColumnDrag()
{
}

void TBoards::EndColumnDrag()
{
    DragColumn = nullptr;
    DragBoard = nullptr;
    DragHoverTimer->stop();
}

void TBoards::ColumnDragOver(TColumn* dragged, TBoardData* board, TDragState state)
{
    Window.Press.ColumnDragActive = false;
    DragColumn = dragged;
    DragBoard = board;
    if (!DragHoverTimer->isActive()) {
        Window.Press.DragSourceColumn = IBSourceColumnIndex;
        Window.MarkIBSourceColumn(*dragged);
        DragHoverTimer->start();
    }
    if (state == dsDragEnter)
        DragHoverCrono.Restart();
}

void TBoards::DragHoverTimerTick()
{
    if (DragBoard != nullptr && DragBoard->Index != ActiveBoard && IsMouseOverControl(*DragBoard->Button) &&
        DragHoverCrono.IsPeriod(DragHoverPeriod))
        ShowBoard(DragBoard->Index);
}
