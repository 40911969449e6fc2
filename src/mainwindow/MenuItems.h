#pragma once

#include "core/forms/Utilities.h"

#include <QPoint>

#include <functional>
#include <string>

class QAction;
class QMenu;
class TMainForm;

// The window's pop-up menus are built in code. Every command is a QAction owned by the
// window's menus and named after its command, so that keys and mouse operations click it by
// name (TMainForm::ClickCommand) whether or not a menu shows it.

// The bold title item that heads a menu; it runs nothing.
QAction* AddMenuTitle(QMenu& menu, const std::string& name, const std::string& caption);
// The bold title item at the head of a submenu, whose caption and hint the menu's owner
// sets; it runs nothing and leaves the submenu's own caption.
QAction* AddSubmenuTitle(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption);
// A submenu holder with its own QMenu; its action is named too, so the enabling can grey it.
QMenu* AddSubmenu(QMenu& menu, const std::string& name, const std::string& caption);
// A command item. The shortcut is display text beside the caption, never a QAction
// shortcut: the keys run through the column key map and the window's key handler.
// Hovering it shows the hint in the window's hint bar.
QAction* AddMenuCommand(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption,
                        const std::string& shortcut, std::function<void()> run, const std::string& hint = {});
// A command item that carries a check mark, which the menu's enabling sets.
QAction* AddMenuCheckCommand(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption,
                             const std::string& shortcut, std::function<void()> run, const std::string& hint = {});

// Where a menu opened from the keyboard stands: centred under the focused row of a list
// whose client area begins at `origin` on the screen.
QPoint FocusedItemAnchor(QPoint origin, int border, int itemsWidth, int itemHeight, int focusIndex, int topIndex);
