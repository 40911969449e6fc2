// The column attributes of the File menu, and the commands that show a container in a
// column or put files into one.

#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"

#include "columns/Column.h"
#include "columns/ContainerDialog.h"
#include "columns/Containers.h"

#include "core/errors/Traced.h"
#include "core/forms/InputQuery.h"
#include "core/forms/InputState.h"

#include "panels/MyTPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <functional>
#include <string>
#include <vector>

namespace {

// A radio item's command: the column reads the clicked item's caption.
using TRadioCommand = std::function<void(TColumn& column, const QAction& item)>;

std::vector<std::string> NumberCaptions(int32_t first, int32_t last)
{
    std::vector<std::string> captions;
    for (int32_t number = first; number <= last; ++number)
        captions.push_back(std::to_string(number));
    return captions;
}

std::vector<std::string> ThumbHeightCaptions()
{
    std::vector<std::string> captions = {"Fill"};
    for (const std::string& number : NumberCaptions(1, 25))
        captions.push_back(number);
    captions.push_back("30");
    return captions;
}

// Exclusive items named after their holder and caption ("WidthAttrMenu_3"); a click runs
// the command on the active column, then the column takes the focus again.
void AddRadioItems(TMainForm& window, QMenu& menu, const std::string& holder, const std::vector<std::string>& captions,
                   const TRadioCommand& run)
{
    auto* group = new QActionGroup(&menu);
    for (const std::string& caption : captions) {
        QAction* item = AddMenuCheckCommand(menu, window, holder + "_" + caption, caption, "", [] {});
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &window, [&window, item, run] {
            if (TColumn* column = window.ActiveColumn()) {
                run(*column, *item);
                window.FocusColumn(-1, false);
            }
        });
    }
}

QMenu& SubmenuOf(const TMainForm& window, const char* holder)
{
    return *window.findChild<QAction*>(holder)->menu();
}

// Checks the radio item of the caption; with no item of that caption none is checked.
void CheckRadioItem(QMenu& menu, const std::string& caption)
{
    QActionGroup* group = nullptr;
    for (QAction* item : menu.actions()) {
        if (item->actionGroup() == nullptr)
            continue;
        group = item->actionGroup();
        if (item->text().toStdString() == caption) {
            item->setChecked(true);
            return;
        }
    }
    if (group == nullptr || group->checkedAction() == nullptr)
        return;
    // An exclusive group keeps one item checked unless told otherwise.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    group->checkedAction()->setChecked(false);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
}

void SetItemChecked(const TMainForm& window, const char* name, bool checked)
{
    window.findChild<QAction*>(name)->setChecked(checked);
}

} // namespace

// ---- The Attributes items ----

void TMainForm::BuildColumnAttributeItems(QMenu& menu)
{
    const auto onActive = [this](std::function<void(TColumn&)> run) {
        return [this, run = std::move(run)] {
            if (TColumn* column = ActiveColumn())
                run(*column);
        };
    };
    AddMenuCheckCommand(menu, *this, "FixedAttrMenu", "Fixed", "F10", onActive([this](TColumn& column) {
                            column.ToggleFixedAttr();
                            FocusColumn(-1, false);
                        }));
    AddMenuCheckCommand(menu, *this, "ThumbAttrMenu", "Thumbnails", "Ctrl+F10",
                        onActive([](TColumn& column) { column.ToggleThumbAttr(); }));
    AddRadioItems(*this, *AddSubmenu(menu, "WidthAttrMenu", "Width"), "WidthAttrMenu", NumberCaptions(1, 10),
                  [](TColumn& column, const QAction& item) { column.SetWidthAttr(item); });
    AddRadioItems(*this, *AddSubmenu(menu, "SubcolumnsAttrMenu", "Subcolumns"), "SubcolumnsAttrMenu",
                  NumberCaptions(1, 10), [](TColumn& column, const QAction& item) { column.SetSubcolumns(item); });
    QMenu& thumbHeight = *AddSubmenu(menu, "ThumbHeightMenu", "Thumbnail height");
    AddSubmenuTitle(thumbHeight, *this, "ThumbHeightTitleMenu", "This");
    // Ctrl alone at the press that opened the menu sets every column of the board.
    AddRadioItems(*this, thumbHeight, "ThumbHeightMenu", ThumbHeightCaptions(),
                  [this](TColumn& column, const QAction& item) {
                      column.SetThumbHeight(item, IsKeyShiftOnly(Press.DragShiftState, ssCtrl));
                  });
    AddRadioItems(*this, *AddSubmenu(menu, "SortModeMenu", "Sort"), "SortModeMenu",
                  std::vector<std::string>(SortModes.begin(), SortModes.end()),
                  [](TColumn& column, const QAction& item) { column.SetSortMode(item); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "RenameContainerMenu", "Rename container", "", [this] { RenameContainer(); });
    AddMenuCheckCommand(menu, *this, "ShowPathsInContainerMenu", "Paths in container", "Shift+F10",
                        onActive([](TColumn& column) { column.ToggleShowPathsInContainer(); }));
}

void TMainForm::CheckColumnAttributes(TShiftState shift)
{
    if (const TColumn* column = ActiveColumn()) {
        SetItemChecked(*this, "FixedAttrMenu", column->FixedAttr);
        SetItemChecked(*this, "ThumbAttrMenu", column->ThumbAttr);
        SetItemChecked(*this, "ShowPathsInContainerMenu", column->ShowPathsInContainer);
        CheckRadioItem(SubmenuOf(*this, "WidthAttrMenu"), std::to_string(column->WidthAttr));
        CheckRadioItem(SubmenuOf(*this, "SubcolumnsAttrMenu"), std::to_string(column->Subcolumns));
        CheckRadioItem(SubmenuOf(*this, "ThumbHeightMenu"),
                       column->ThumbHeight <= 0 ? "Fill" : std::to_string(column->ThumbHeight));
        CheckRadioItem(SubmenuOf(*this, "SortModeMenu"), column->SortMode);
    }
    auto* title = findChild<QAction*>("ThumbHeightTitleMenu");
    const bool all = IsKeyShiftIn(shift, ssCtrl);
    title->setText(all ? "All" : "This");
    title->setStatusTip(all ? "Set the thumb height for all columns of this board"
                            : "Set the thumb height for this column");
}

void TMainForm::RenameContainer()
{
    TColumn* column = ActiveColumn();
    TContainer* container = column != nullptr ? FindContainer(column->ContainerIndex) : nullptr;
    if (container == nullptr)
        return;
    std::string name = container->Name;
    if (!InputQuery("Rename container", "New container name", MaxContainerNameLength, name, this))
        return;
    container->Name = name;
    column->SetActive();
}

// ---- Containers ----

void TMainForm::BindContainerDialog()
{
    ContainerDialog->OnShowContainer = [this](int32_t tag, void*) { ShowContainer(tag); };
    ContainerDialog->OnCopyToContainer = [this](int32_t tag, void* column) {
        CopyToContainerMenuClick(tag, static_cast<TColumn*>(column));
    };
}

void TMainForm::SetupContainerMenus()
{
    const TColumn* column = ActiveColumn();
    const int32_t shown = column != nullptr ? column->ContainerIndex : -1;
    ContainerDialog->SetupContainerMode(SubmenuOf(*this, "ContainerModeMenu"), shown);
    ContainerDialog->SetupCopyToContainer(SubmenuOf(*this, "CopyToContainerMenu"), shown, nullptr);
}

void TMainForm::ShowContainer(int32_t container)
{
    TColumn* column = ActiveColumn();
    if (column == nullptr || column->ContainerIndex == container)
        return;
    column->LoadDirectory({.RememberPrevious = false, .ContainerIndex = container, .Title = ""});
    FocusColumn(-1, false);
}

int32_t TMainForm::FindContainerColumn(int32_t container) const
{
    for (int32_t index = 0; index < VisibleColumnCount; ++index)
        if (const TColumn* column = GetColumn(index); column != nullptr && column->ContainerIndex == container)
            return index;
    return -1;
}

void TMainForm::CopyToContainerMenuClick(int32_t container, TColumn* column)
{
    if (column == nullptr)
        column = ActiveColumn();
    if (column == nullptr)
        return;
    BeginBusy();
    TTraced trace;
    int32_t shownIn = -1;
    trace.Run([&] {
        TContainer* target = FindContainer(container);
        if (target == nullptr || column->ContainerIndex == container)
            return;
        shownIn = FindContainerColumn(container);
        if (column->SelectedCount == 0) {
            target->AddItem(column->ActiveTitle, 0);
            return;
        }
        for (int32_t index = 0; index < column->GetItemCount(); ++index) {
            if (!column->GetItem(index).Selected)
                continue;
            target->AddItem(column->GetItem(index).Title, 0);
            column->DeselectItem(index);
        }
    });
    trace.ShowFailure("Failed to copy to container.");
    column->FileList->Invalidate();
    if (shownIn >= 0)
        GetColumn(shownIn)->ReloadContainer(-1);
    EndBusy();
    FocusColumn(-1, false);
}
