#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"

#include "columns/Column.h"
#include "columns/ContainerDialog.h"

#include "panels/MyTPanel.h"
#include "panels/PanelDrag.h"

#include "core/desktop/DesktopExchange.h"
#include "core/desktop/DropSource.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"
#include "core/forms/ModalSeam.h"
#include "core/text/StringList.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

namespace {

const char* const TitleHint = "The operations are performed in the column in which drop occurs";

TStringList ToStringList(const std::vector<std::string>& texts)
{
    TStringList list;
    for (const std::string& text : texts)
        list.Add(text);
    return list;
}

// A file the background can show: a picture, not a folder or a drive.
bool CanBeBackground(const std::string& name)
{
    return !IsDriveName(name) && !IsDirectory(name) && IsPictureFile(name);
}

// Exactly Alt links, exactly Shift moves; any other keys copy. One type only, so that the
// other program cannot choose differently.
TDragTypes OutgoingDragType(TShiftState shift)
{
    if (IsKeyShiftOnly(shift, ssAlt))
        return dtLink;
    if (IsKeyShiftOnly(shift, ssShift))
        return dtMove;
    return dtCopy;
}

} // namespace

void TMainForm::BuildExternalFileDragMenu()
{
    ExternalFileDragMenu = new QMenu(this);
    QMenu& menu = *ExternalFileDragMenu;
    QAction* title = AddMenuTitle(menu, "ExternalFileDragMenu_Title", "External file-drag");
    title->setStatusTip(TitleHint);
    connect(title, &QAction::hovered, this, [this] { ShowApplicationHint(TitleHint); });
    const auto add = [this, &menu](const char* name, const char* caption, std::function<void()> run) {
        AddMenuCommand(menu, *this, name, caption, "", std::move(run));
    };
    const auto fileCommand = [this](const char* operation) {
        return [this, operation] { ExternalFileDragMenu_FileCommandClick(operation); };
    };

    add("ExternalFileDragMenu_GoToFile", "Go to file", [this] { ExternalFileDragMenu_GoToFileClick(); });
    menu.addSeparator();
    AddSubmenu(menu, "ExternalFileDragMenu_CopyToContainer", "Copy to container *");
    add("ExternalFileDragMenu_CopyToThisContainer", "Copy to this container *",
        [this] { ExternalFileDragMenu_CopyToThisContainerClick(); });
    menu.addSeparator();
    add("ExternalFileDragMenu_Copy", "Copy *", fileCommand("Copy"));
    add("ExternalFileDragMenu_Move", "Move *", fileCommand("Move"));
    add("ExternalFileDragMenu_ConvertPicture", "Convert picture *", fileCommand("Convert picture"));
    menu.addSeparator();
    add("ExternalFileDragMenu_CopyAs", "Copy as", [this] { ExternalFileDragMenu_CopyAsClick(false); });
    add("ExternalFileDragMenu_MoveAs", "Move as", [this] { ExternalFileDragMenu_CopyAsClick(true); });
    menu.addSeparator();
    add("ExternalFileDragMenu_SetAsBackgroundPicture", "Set as background",
        [this] { ExternalFileDragMenu_SetAsBackgroundPictureClick(); });
}

// ---- Files dropped from other programs ----

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event)
{
    if (GetDroppedFileCount(*event->mimeData()) > 0)
        AcceptAsCopy(*event);
}

// A move would tell the other program that the files are ours now, and it may delete
// them; "Move *" moves them here once the user chose it.
void TMainForm::AcceptAsCopy(QDropEvent& event)
{
    event.setDropAction(Qt::CopyAction);
    event.accept();
}

// The drop's data lives only during the event, so the names are read here; the menu opens
// after the other program's drag has ended.
void TMainForm::dropEvent(QDropEvent* event)
{
    DropMessage.ScreenPos = mapToGlobal(event->position().toPoint());
    DroppedFilesToList(*event->mimeData(), DroppedFiles);
    DropListing = FunStatContext;
    AcceptAsCopy(*event);
    QMetaObject::invokeMethod(
        this, [this] { ProcessDroppedFiles(); }, Qt::QueuedConnection);
}

void TMainForm::ProcessDroppedFiles()
{
    TTraced trace;
    trace.Run([&] {
        FunStatContext = DropListing;
        if (trace.TakeOver())
            return;
        if (DroppedFiles.empty())
            return trace.Raise("No files are dropped.");
        Press.DragSourceColumn = HiddenColumnIndex;
        Press.DragShiftState = 0;
        Press.DragItemIndex = 0;
        Press.DragItemTitle = DroppedFiles.front();
        TColumn& hidden = *Columns[HiddenColumnIndex];
        hidden.ContainerIndex = -1;
        hidden.SetWithList(ToStringList(DroppedFiles), DroppedFiles.size() > 1);
        if (trace.TakeOver())
            return;
        hidden.SetInactiveFocus();
        if (trace.TakeOver())
            return;
        FocusColumn(GetColumnIndexUnderMouse(DropMessage.ScreenPos), false);
        EnableExternalFileDragMenuItems(*ActiveColumn());
        RunPopupMenu(*ExternalFileDragMenu, DropMessage.ScreenPos);
    });
    trace.ShowFailure("Failed to setup the \"File-drop\" menu.");
}

int32_t TMainForm::GetColumnIndexUnderMouse(QPoint screenPos) const
{
    // The list's scroll bar is part of the list.
    for (const QWidget* widget = QApplication::widgetAt(screenPos); widget != nullptr; widget = widget->parentWidget())
        for (int32_t i = 0; i < VisibleColumnCount; ++i)
            if (Columns[static_cast<size_t>(i)]->FileList == widget)
                return i;
    return -1;
}

void TMainForm::EnableExternalFileDragMenuItems(const TColumn& drop)
{
    const std::string& first = DroppedFiles.front();
    const bool single = DroppedFiles.size() == 1;
    const bool intoContainer = drop.ContainerIndex >= 0;
    const bool copyAllowed = !IsDriveName(drop.ActiveTitle) && !intoContainer;
    const std::pair<const char*, bool> states[] = {
        {"ExternalFileDragMenu_GoToFile", single},
        {"ExternalFileDragMenu_CopyToThisContainer", intoContainer},
        {"ExternalFileDragMenu_Copy", copyAllowed},
        {"ExternalFileDragMenu_Move", copyAllowed},
        {"ExternalFileDragMenu_ConvertPicture", copyAllowed},
        {"ExternalFileDragMenu_CopyAs", copyAllowed && single},
        {"ExternalFileDragMenu_MoveAs", copyAllowed && single},
        {"ExternalFileDragMenu_SetAsBackgroundPicture", single && CanBeBackground(first)},
    };
    for (const auto& [name, enabled] : states)
        findChild<QAction*>(name)->setEnabled(enabled);
    // The work column holds the dropped files: its items go into the container chosen.
    TColumn& hidden = *Columns[HiddenColumnIndex];
    ContainerDialog->SetupCopyToContainer(*findChild<QAction*>("ExternalFileDragMenu_CopyToContainer")->menu(),
                                          hidden.ContainerIndex, &hidden);
    const QString caption = QString("File-drop (%1 items)").arg(DroppedFiles.size());
    findChild<QAction*>("ExternalFileDragMenu_Title")->setText(caption);
    ExternalFileDragMenu->setTitle(caption);
}

void TMainForm::ExternalFileDragMenu_GoToFileClick()
{
    TTraced trace;
    trace.Run([&] {
        TColumn* drop = ActiveColumn();
        if (drop == nullptr || DroppedFiles.empty())
            return;
        const std::string& name = DroppedFiles.front();
        // A listing would only focus where the file stood.
        if (!MyFileExists(name))
            return trace.Raise("The file / directory doesn't exists.", name);
        drop->LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = name});
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to go to file.");
    DroppedFiles.clear();
    FocusColumn(-1, false);
}

void TMainForm::ExternalFileDragMenu_CopyToThisContainerClick()
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        TColumn* drop = ActiveColumn();
        if (drop == nullptr)
            return;
        drop->AddListToContainer(DroppedFiles, false);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to paste in container.");
    DroppedFiles.clear();
    EndBusy();
    FocusColumn(-1, false);
}

// The hidden work column is the drag source: its selection, or its one item, is copied.
void TMainForm::ExternalFileDragMenu_FileCommandClick(const std::string& operation)
{
    OnCopyMove(operation, false);
    DroppedFiles.clear();
}

void TMainForm::ExternalFileDragMenu_CopyAsClick(bool move)
{
    const TColumn* drop = ActiveColumn();
    if (drop == nullptr || DroppedFiles.empty())
        return;
    Com_CopyAs(DroppedFiles.front(), GetParentPath(drop->ActiveTitle), move, false);
    DroppedFiles.clear();
}

void TMainForm::ExternalFileDragMenu_SetAsBackgroundPictureClick()
{
    if (!DroppedFiles.empty())
        ChangeBackPicture(DroppedFiles.front());
}

// ---- Items dragged out to other programs ----

bool TMainForm::IsExternalDragDue(bool columnDragActive, bool leftButtonDown, QPoint cursor, QRect client)
{
    // Both ends of the client rectangle count as inside.
    const bool outside = cursor.x() < client.left() || cursor.x() > client.left() + client.width() ||
                         cursor.y() < client.top() || cursor.y() > client.top() + client.height();
    return columnDragActive && leftButtonDown && outside;
}

void TMainForm::ActivateExternalDrag()
{
    TTraced trace;
    try {
        TColumn* source = GetDragSourceColumn();
        PanelDrag.Cancel();
        if (source == nullptr || DropFileSource == nullptr || source->GetItemCount() == 0)
            return;
        DropFileSource->Files.clear();
        TStringList titles;
        source->GetSelectedTitles(titles, false);
        for (int32_t i = 0; i < titles.Count(); ++i)
            DropFileSource->Files.push_back(titles[i]);
        DropFileSource->Dragtypes = OutgoingDragType(Press.DragShiftState);
        DropFileSource->Execute();
    }
    TRACED_CATCH(trace)
}
