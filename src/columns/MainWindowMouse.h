#pragma once

#include "core/Seam.h"
#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"

#include <QPoint>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class MyTPanel;
class QObject;
class TColumn;

// The main window's record of the last mouse press on a column list. The release may come
// at another column (a drop), and the File-drag menu needs the drag source, so the record
// lives with the main window and is overwritten by every press; it is never cleared.
struct TPressRecord
{
    // The pressed column's slot in the main window's columns (0 to 11).
    int32_t DragSourceColumn = -1;
    TMouseButton DragMouseButton = mbLeft;
    // Holds Double for the second press of a double click.
    TShiftState DragShiftState = 0;
    // The item under the press, -1 for none.
    int32_t DragItemIndex = -1;
    // The pressed item's title, else the focused one's, else the listed directory.
    std::string DragItemTitle;
    // The press point in the list's item area.
    int32_t DragStartX = 0;
    int32_t DragStartY = 0;
    // The item under the release or drop point, set at each dispatch; -1 for none.
    int32_t OperationItemIndex = -1;
    // A left press on a column list has started a drag.
    bool ColumnDragActive = false;
};

// What the mouse menu is armed with: the mouse options and the twelve cell operations. Its
// colours are the skin's, which the main window holds.
struct TMouseMenuSettings
{
    bool Active = true;
    int32_t Translucency = 0;
    // The distance the pointer moves before the menu opens.
    int32_t Sensitivity = 0;
    int32_t ItemWidth = 0;
    std::string FontName;
    int32_t FontSize = 0;
    int32_t ItemExtraHeight = 0;
    std::array<std::string, 12> Operations;
};

// Called with the chosen cell's operation and the screen point where the menu was armed.
using TMouseMenuChoice = std::function<void(const std::string& operation, QPoint screenPos)>;

// What the columns' mouse operations need of the main window: its press record, its File
// menu and File-drag menu with their enabling steps, the shell context menu, the mouse
// menu, the hot-tracked item, and the other panels that drag onto
// columns. The main window implements it and installs itself once it exists; tests install
// fakes.
class TMainWindowMouse
{
public:
    virtual ~TMainWindowMouse() = default;
    virtual TPressRecord& GetPressRecord() = 0;
    // Enable the File-menu commands for the active column and its focused item, or the
    // File-drag menu commands for the drag source and the active (target) column.
    virtual void EnableFileMenuItems(TShiftState shift) = 0;
    virtual void EnableFileDragMenuItems(TShiftState shift) = 0;
    // Clicks the main window's command of the name ("DeleteFileMenu", "FileDragMenu_Copy",
    // "FixedAttrMenu", ...); a disabled command does nothing.
    virtual void ClickCommand(const std::string& name) = 0;
    // The File menu's selection submenu is enabled.
    virtual bool IsSelectMenuEnabled() = 0;
    virtual void ShowFileMenu(QPoint screenPos, TShiftState shift) = 0;
    virtual void ShowInterBoardFileDragMenu(QPoint screenPos, TShiftState shift) = 0;
    virtual void PopupFileDragMenu(QPoint screenPos) = 0;
    // The shell context menu of the drag source column's item: plain, or the drag form.
    virtual void ShowContextMenu(int32_t itemIndex, QPoint screenPos, TShiftState shift, bool drag) = 0;
    // Arms the mouse menu at a right press: closes an open one and, when active, keeps the
    // start point; it opens once the pointer has moved its distance.
    virtual void SetupMouseMenu(MyTPanel& list, QPoint screenPos, const TMouseMenuSettings& settings,
                                TMouseMenuChoice choose) = 0;
    virtual void CloseMouseMenu() = 0;
    virtual void MouseMenuMove(QPoint screenPos) = 0;
    virtual void SetHotTrackItem(TColumn& column, int32_t index) = 0;
    // The mouse left the hot item: its hot look and the hover window go.
    virtual void CheckItemHotTrack() = 0;
    // Closes the open hover window when the mouse left its item.
    virtual void CheckFileHoverMouseMove(TColumn& column, int32_t index, int32_t x, int32_t y) = 0;
    // The media player's play list and the directory tree, which drag onto columns.
    virtual bool IsPlayList(const QObject* source) = 0;
    // The play list's focused file, links resolved; false when the play list is empty.
    virtual bool GetPlayListActiveTitle(std::string& title) = 0;
    virtual bool IsDirectoryTree(const QObject* source) = 0;
    virtual std::string GetSelectedTreePath() = 0;
};

// What the columns get until the main window exists, and what the main window keeps of it
// for its menus and windows: a press is only recorded; no menu is enabled, clicked or
// shown, there is no mouse menu, no hot item and no other panel.
class TMainWindowMouseStandIn : public TMainWindowMouse
{
public:
    TPressRecord& GetPressRecord() override { return Record; }
    void EnableFileMenuItems(TShiftState) override {}
    void EnableFileDragMenuItems(TShiftState) override {}
    void ClickCommand(const std::string&) override {}
    bool IsSelectMenuEnabled() override { return false; }
    void ShowFileMenu(QPoint, TShiftState) override {}
    void ShowInterBoardFileDragMenu(QPoint, TShiftState) override {}
    void PopupFileDragMenu(QPoint) override {}
    void ShowContextMenu(int32_t, QPoint, TShiftState, bool) override {}
    void SetupMouseMenu(MyTPanel&, QPoint, const TMouseMenuSettings&, TMouseMenuChoice) override {}
    void CloseMouseMenu() override {}
    void MouseMenuMove(QPoint) override {}
    void SetHotTrackItem(TColumn&, int32_t) override {}
    void CheckItemHotTrack() override {}
    void CheckFileHoverMouseMove(TColumn&, int32_t, int32_t, int32_t) override {}
    bool IsPlayList(const QObject*) override { return false; }
    bool GetPlayListActiveTitle(std::string&) override { return false; }
    bool IsDirectoryTree(const QObject*) override { return false; }
    std::string GetSelectedTreePath() override { return {}; }

private:
    TPressRecord Record;
};

template <>
TMainWindowMouse& TSeam<TMainWindowMouse>::StandIn();

// The board column (0 to 9) whose file list is the object, or null.
TColumn* FindColumnByList(const QObject* list);
