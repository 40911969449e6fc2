// The found list: a model over the engine's found items, drawn one uniform line each, and
// the actions on the selected item.

#include "fileops/SearchFileForm.h"

#include "columns/Column.h"
#include "columns/FileLauncher.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowServices.h"
#include "core/desktop/Clipboard.h"
#include "core/desktop/SystemMenu.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <functional>

namespace {

const char* const ListHintStart = "Found files. Directories are displayed with bold text. ";
const char* const ListHintEnd = " [RMB] = show context menu. [MMB] or [E] = edit file. [F2] = clip current file name "
                                "([Ctrl] = clip current file path; [Shift] = clip current file title).";
const char* const DirectoryActions = "[Double LMB] / [Enter] = enter directory. [Ctrl + LMB] = run directory.";
const char* const SwitchedFileActions =
    "[Double LMB] / [Enter] = focus file (in current column). [Ctrl + LMB] = run file.";
const char* const FileActions = "[Double LMB] / [Enter] = run file. [Ctrl + LMB] = focus file (in current column).";

std::string ItemText(const TFoundItems::TItem& item)
{
    return " (" + std::to_string(TFoundItems::GetItemRank(item.Data)) + ") " + item.Path;
}

// The active column of the window, or null.
TColumn* ActiveColumn()
{
    return TSeam<TMainWindowServices>::Get().GetColumn(TSeam<TMainWindowColumns>::Get().GetActiveColumnIndex());
}

// Each item is written from its rectangle's top left corner; directories in bold.
class TFoundItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(index.data(Qt::FontRole).value<QFont>());
        return {metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()),
                QFontMetrics(option.font).height() + 1};
    }
};

} // namespace

// The engine inserts into its found items and then tells the list, which only announces
// the new row.
class TFoundItemsModel : public QAbstractListModel
{
public:
    TFoundItemsModel(const TFoundItems& items, QListView& view) : QAbstractListModel(&view), Items(items), View(view) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : Items.Count(); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= Items.Count())
            return {};
        const TFoundItems::TItem& item = Items[index.row()];
        if (role == Qt::DisplayRole)
            return QString::fromStdString(ItemText(item));
        if (role == Qt::FontRole) {
            QFont font = View.font();
            font.setBold(TFoundItems::IsItemDirectory(item.Data));
            return font;
        }
        return {};
    }

    void Inserted(int32_t row)
    {
        beginInsertRows({}, row, row);
        endInsertRows();
    }

    void Change(const std::function<void()>& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    const TFoundItems& Items;
    QListView& View;
};

void TSearchFileForm::BuildFoundList(QWidget* parent, const QRect& place)
{
    FoundItemsListBox = new QListView(parent);
    FoundItemsListBox->setGeometry(place);
    FoundItemsListBox->setUniformItemSizes(true);
    FoundItemsListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    FoundItemsListBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FoundItemsListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FoundItemsListBox->setMouseTracking(true);
    FoundItemsListBox->setItemDelegate(new TFoundItemDelegate(FoundItemsListBox));
    FoundModel = new TFoundItemsModel(Engine.Found, *FoundItemsListBox);
    FoundItemsListBox->setModel(FoundModel);
}

void TSearchFileForm::ResetFoundList()
{
    FoundModel->Change([this] { Engine.Found.Clear(); });
}

void TSearchFileForm::ItemFound(int32_t index)
{
    FoundModel->Inserted(index);
    FoundListChanged = true;
    if (Engine.Found.Count() == 1)
        SelectFoundItem(0);
}

int32_t TSearchFileForm::SelectedFoundIndex() const
{
    const QModelIndex current = FoundItemsListBox->currentIndex();
    if (!current.isValid() || !FoundItemsListBox->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void TSearchFileForm::SelectFoundItem(int32_t index)
{
    FoundItemsListBox->setCurrentIndex(FoundModel->index(index));
}

std::string TSearchFileForm::GetListHint(int32_t index) const
{
    const bool item = index >= 0 && index < Engine.Found.Count();
    const char* actions = FileActions;
    if (item && TFoundItems::IsItemDirectory(Engine.Found[index].Data))
        actions = DirectoryActions;
    else if (SwitchMouseOperationsCheckBox->isChecked())
        actions = SwitchedFileActions;
    std::string hint = std::string(ListHintStart) + actions + ListHintEnd;
    if (item)
        hint += " Current file \"" + Engine.Found[index].Path + "\" (rank " +
                std::to_string(TFoundItems::GetItemRank(Engine.Found[index].Data)) + ").";
    return hint;
}

void TSearchFileForm::FoundListMouseMove(const QPoint& point)
{
    const QModelIndex index = FoundItemsListBox->indexAt(point);
    FoundItemsListBox->setToolTip(QString::fromStdString(GetListHint(index.isValid() ? index.row() : -1)));
}

// A press selects the item under it and acts on it; the list's own tracking (a drag of
// the selection) never starts.
bool TSearchFileForm::FoundListMouseEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove) {
        FoundListMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return false;
    }
    // The list's hint, not an item's own tip.
    if (type == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), FoundItemsListBox->toolTip(),
                           FoundItemsListBox->viewport());
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    if (Engine.Found.Count() == 0)
        return true;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint point = mouse->position().toPoint();
    const QModelIndex index = FoundItemsListBox->indexAt(point);
    if (!index.isValid())
        return true;
    SelectFoundItem(index.row());
    UserAction(GetMouseButton(mouse->button()),
               GetShiftState(mouse->modifiers(), mouse->buttons(), type == QEvent::MouseButtonDblClick), point.x(),
               point.y());
    return true;
}

bool TSearchFileForm::FoundListKeyDown(const QKeyEvent& event)
{
    const int32_t index = SelectedFoundIndex();
    if (Engine.Found.Count() == 0 || index < 0)
        return false;
    const TShiftState shift = GetShiftState(event.modifiers());
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const bool plain = !IsKeyShiftIn(shift, ssShift) && !IsKeyShiftIn(shift, ssAlt) && !IsKeyShiftIn(shift, ssCtrl);
        const QRect place = FoundItemsListBox->visualRect(FoundModel->index(index));
        UserAction(mbLeft, plain ? static_cast<TShiftState>(shift | ShiftOf(ssDouble)) : shift, place.left(),
                   place.top());
        return true;
    }
    case Qt::Key_E:
        EditFoundItem(index);
        return true;
    case Qt::Key_F2:
        ClipFoundItemPart(index, shift);
        return true;
    default:
        // Typed characters do not look items up.
        return !event.text().isEmpty() && event.text().at(0).isPrint();
    }
}

void TSearchFileForm::EditFoundItem(int32_t index)
{
    if (TColumn* column = ActiveColumn())
        column->Com_Edit(Engine.Found[index].Path);
}

void TSearchFileForm::ClipFoundItemPart(int32_t index, TShiftState shift)
{
    const std::string& path = Engine.Found[index].Path;
    std::string text = path;
    if (IsKeyShiftEmpty(shift))
        text = GetPathName(path);
    else if (IsKeyShiftIn(shift, ssCtrl))
        text = GetParentPath(path);
    CopyTextToClipboard(text, "Failed to copy file title to clipboard.", false, false);
}

void TSearchFileForm::ShowFoundItemContextMenu(int32_t index, QPoint point)
{
    QWidget& viewport = *FoundItemsListBox->viewport();
    const QRect item = FoundItemsListBox->visualRect(FoundModel->index(index));
    bool extraChosen = false;
    DisplayContextMenu(ResultPath, this, viewport.mapToGlobal(point), extraChosen, "Context menu", "",
                       QRect(viewport.mapToGlobal(item.topLeft()), item.size()));
}

void TSearchFileForm::UserAction(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TTraced trace;
    trace.Run([&] {
        const int32_t index = SelectedFoundIndex();
        if (Engine.Found.Count() == 0 || index < 0)
            return;
        const TFoundItems::TItem& item = Engine.Found[index];
        const bool directory = TFoundItems::IsItemDirectory(item.Data);
        ResultPath = item.Path;
        if (button == mbRight) {
            ShowFoundItemContextMenu(index, {x, y});
            return;
        }
        if (button == mbMiddle) {
            EditFoundItem(index);
            return;
        }
        constexpr TShiftState doubleClick = ShiftOf(ssDouble);
        constexpr TShiftState ctrl = ShiftOf(ssCtrl);
        TShiftState keys = GetKeyShift(shift);
        if (!directory && SwitchMouseOperationsCheckBox->isChecked() && (keys == doubleClick || keys == ctrl))
            keys = keys == doubleClick ? ctrl : doubleClick;
        const bool enters = keys == doubleClick && directory;
        const bool shows = keys == ctrl && !directory;
        if (enters || shows) {
            ResultAction = enters ? 1 : 2;
            if (enters)
                ResultPath = IncludeEndBackslash(ResultPath);
            CloseWithOkay();
        } else if (keys == doubleClick || keys == ctrl) {
            MyRunFile(ResultPath, "", "", "", false, false);
            trace.TakeOver();
        }
    });
    trace.ShowFailure("");
}
