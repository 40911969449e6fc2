#pragma once

#include <QAction>
#include <QMenu>

#include <string>

// The action of the name in the menu or its submenus, or null.
inline QAction* FindMenuAction(const QMenu& menu, const std::string& name)
{
    for (QAction* action : menu.actions()) {
        if (action->objectName().toStdString() == name)
            return action;
        if (action->menu() != nullptr)
            if (QAction* inner = FindMenuAction(*action->menu(), name))
                return inner;
    }
    return nullptr;
}
