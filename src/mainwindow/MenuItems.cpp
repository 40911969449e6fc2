#include "mainwindow/MenuItems.h"

#include "mainwindow/MainForm.h"

#include <QAction>
#include <QFont>
#include <QMenu>

QAction* AddMenuTitle(QMenu& menu, const std::string& name, const std::string& caption)
{
    QAction* title = menu.addAction(QString::fromStdString(caption));
    title->setObjectName(QString::fromStdString(name));
    menu.setDefaultAction(title);
    menu.setTitle(QString::fromStdString(caption));
    return title;
}

QAction* AddSubmenuTitle(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption)
{
    QAction* title = AddMenuCommand(menu, window, name, caption, "", [] {});
    menu.setDefaultAction(title);
    return title;
}

QMenu* AddSubmenu(QMenu& menu, const std::string& name, const std::string& caption)
{
    auto* submenu = new QMenu(QString::fromStdString(caption), &menu);
    submenu->menuAction()->setObjectName(QString::fromStdString(name));
    menu.addMenu(submenu);
    return submenu;
}

QAction* AddMenuCommand(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption,
                        const std::string& shortcut, std::function<void()> run, const std::string& hint)
{
    const std::string text = shortcut.empty() ? caption : caption + "\t" + shortcut;
    auto* action = new QAction(QString::fromStdString(text), &window);
    action->setObjectName(QString::fromStdString(name));
    if (!hint.empty())
        action->setStatusTip(QString::fromStdString(hint));
    QObject::connect(action, &QAction::triggered, &window, [run = std::move(run)] { run(); });
    QObject::connect(action, &QAction::hovered, &window,
                     [&window, action] { window.ShowApplicationHint(action->statusTip().toStdString()); });
    menu.addAction(action);
    return action;
}

QAction* AddMenuCheckCommand(QMenu& menu, TMainForm& window, const std::string& name, const std::string& caption,
                             const std::string& shortcut, std::function<void()> run, const std::string& hint)
{
    QAction* action = AddMenuCommand(menu, window, name, caption, shortcut, std::move(run), hint);
    action->setCheckable(true);
    return action;
}

QPoint FocusedItemAnchor(QPoint origin, int border, int itemsWidth, int itemHeight, int focusIndex, int topIndex)
{
    return {origin.x() + border + itemsWidth / 2, origin.y() + border + itemHeight * (focusIndex - topIndex + 1)};
}
