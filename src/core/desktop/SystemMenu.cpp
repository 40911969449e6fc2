#include "core/desktop/SystemMenu.h"

#include "core/desktop/DropSource.h"
#include "core/files/PathNames.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/WaitCursor.h"
#include "core/text/AsciiCase.h"

#include "host/DesktopApplications.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"
#include "host/Shell.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

namespace {

using TItems = std::vector<std::string>;

bool RunShell(host::ShellVerb verb, const TItems& items, const std::string& workingFolder)
{
    return host::ShellExecute(host::ShellRequest{verb, items, {}, workingFolder, {}});
}

bool PutOnClipboard(const TItems& items, bool cut)
{
    TDropFileSource source(nullptr);
    source.Files = items;
    return cut ? source.CutToClipboard() : source.CopyToClipboard();
}

bool MoveItemsToTrash(const TItems& items)
{
    for (const std::string& item : items)
        if (!host::MoveToTrash(item))
            return false;
    return true;
}

// The items a path stands for: the entries that a wildcard last part matches, or the
// file, folder or drive itself; none when nothing is there.
TItems ItemsOfPath(const std::string& path)
{
    const std::string name = GetPathName(path);
    if (name.find_first_of("*?") == std::string::npos)
        return host::PathExists(path) ? TItems{path} : TItems{};
    const std::string folder = GetParentPath(path);
    std::vector<host::FindData> entries;
    if (!host::FindFiles(folder, name, entries))
        return {};
    TItems items;
    for (const host::FindData& entry : entries)
        items.push_back(folder + entry.Name);
    return items;
}

TItems ExistingItems(const std::vector<std::string>& paths)
{
    TItems items;
    for (const std::string& path : paths)
        if (!path.empty() && host::PathExists(path))
            items.push_back(path);
    return items;
}

TItems ItemsOfList(const std::string& folder, const std::vector<std::string>& names)
{
    TItems paths;
    for (const std::string& name : names)
        if (!name.empty())
            paths.push_back(IncludeEndBackslash(folder) + name);
    return ExistingItems(paths);
}

QRect ScreenAt(QPoint point)
{
    const QScreen* screen = QGuiApplication::screenAt(point);
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

bool ShowMenu(const TItems& items, QWidget* owner, QPoint point, bool& extraChosen, const std::string& caption,
              const std::string& workingFolder, QRect exclude)
{
    extraChosen = false;
    if (items.empty())
        return false;
    std::unique_ptr<TContextMenu> menu;
    {
        TWaitCursor wait;
        menu = std::make_unique<TContextMenu>(items, caption, workingFolder, owner);
    }
    RunPopupMenu(*menu, ContextMenuPosition(menu->sizeHint(), point, exclude, ScreenAt(point)));
    extraChosen = menu->RenameChosen();
    return menu->CommandSucceeded();
}

bool InvokeOnItems(const std::string& verb, const TItems& items)
{
    return !items.empty() && InvokeShellVerb(verb, items, {});
}

} // namespace

bool InvokeShellVerb(const std::string& verb, const std::vector<std::string>& items, const std::string& workingFolder)
{
    if (verb.empty() || SameTextAscii(verb, "open"))
        return RunShell(host::ShellVerb::Open, items, workingFolder);
    if (SameTextAscii(verb, "openas"))
        return RunShell(host::ShellVerb::OpenWith, items, workingFolder);
    if (SameTextAscii(verb, "properties"))
        return RunShell(host::ShellVerb::Properties, items, workingFolder);
    if (SameTextAscii(verb, "cut") || SameTextAscii(verb, "copy"))
        return PutOnClipboard(items, SameTextAscii(verb, "cut"));
    if (SameTextAscii(verb, "delete"))
        return MoveItemsToTrash(items);
    host::SetLastError(host::ERROR_NO_ASSOCIATION);
    return false;
}

TContextMenu::TContextMenu(std::vector<std::string> items, const std::string& caption, std::string workingFolder,
                           QWidget* owner)
    : QMenu(owner), Items(std::move(items)), WorkingFolder(std::move(workingFolder))
{
    setTitle(QString::fromStdString(caption));
    if (!caption.empty())
        setDefaultAction(addAction(QString::fromStdString(caption)));
    AddCommand(*this, "Open", [this] { return InvokeShellVerb("open", Items, WorkingFolder); });
    AddOpenWithMenu();
    addSeparator();
    AddCommand(*this, "Cut", [this] { return InvokeShellVerb("cut", Items, WorkingFolder); });
    AddCommand(*this, "Copy", [this] { return InvokeShellVerb("copy", Items, WorkingFolder); });
    addSeparator();
    AddCommand(*this, "Delete", [this] { return InvokeShellVerb("delete", Items, WorkingFolder); });
    connect(addAction(QStringLiteral("Rename")), &QAction::triggered, this, [this] { Renamed = true; });
    addSeparator();
    AddCommand(*this, "Properties", [this] { return InvokeShellVerb("properties", Items, WorkingFolder); });
}

void TContextMenu::AddCommand(QMenu& menu, const std::string& caption, std::function<bool()> command)
{
    connect(menu.addAction(QString::fromStdString(caption)), &QAction::triggered, this,
            [this, command = std::move(command)] { Succeeded = command(); });
}

void TContextMenu::AddOpenWithMenu()
{
    QMenu* applications = addMenu(QStringLiteral("Open with"));
    for (const host::DesktopApplication& application : host::GetApplicationsForFiles(Items)) {
        AddCommand(*applications, application.Name, [this, id = application.Id] {
            return host::ShellExecute(
                host::ShellRequest{host::ShellVerb::OpenWithApplication, Items, {}, WorkingFolder, id});
        });
    }
    applications->menuAction()->setEnabled(!applications->isEmpty());
}

QAction* TContextMenu::FindAction(const std::string& text) const
{
    const QString wanted = QString::fromStdString(text);
    for (QAction* action : actions()) {
        if (action->text() == wanted)
            return action;
        if (action->menu() != nullptr)
            for (QAction* inner : action->menu()->actions())
                if (inner->text() == wanted)
                    return inner;
    }
    return nullptr;
}

bool DisplayContextMenu(const std::string& path, QWidget* owner, QPoint point, bool& extraChosen,
                        const std::string& extraCaption, const std::string& workingFolder, QRect exclude)
{
    TItems items;
    {
        TWaitCursor wait;
        items = ItemsOfPath(path);
    }
    return ShowMenu(items, owner, point, extraChosen, extraCaption, workingFolder, exclude);
}

bool DisplayContextMenuList(const std::string& folder, const std::vector<std::string>& names, QWidget* owner,
                            QPoint point, bool& extraChosen, const std::string& extraCaption,
                            const std::string& workingFolder, QRect exclude)
{
    TItems items;
    {
        TWaitCursor wait;
        items = ItemsOfList(folder, names);
    }
    return ShowMenu(items, owner, point, extraChosen, extraCaption, workingFolder, exclude);
}

bool DisplayContextMenuPaths(const std::vector<std::string>& paths, QWidget* owner, QPoint point, bool& extraChosen,
                             const std::string& extraCaption, const std::string& workingFolder, QRect exclude)
{
    TItems items;
    {
        TWaitCursor wait;
        items = ExistingItems(paths);
    }
    return ShowMenu(items, owner, point, extraChosen, extraCaption, workingFolder, exclude);
}

bool DisplayPropertiesDialog(const std::string& path, QWidget*)
{
    return InvokeOnItems("properties", ItemsOfPath(path));
}

bool DisplayPropertiesDialogList(const std::string& folder, const std::vector<std::string>& names, QWidget*)
{
    return InvokeOnItems("properties", ItemsOfList(folder, names));
}

bool PerformDefaultAction(const std::string& path, QWidget*)
{
    return InvokeOnItems("", ItemsOfPath(path));
}

bool PerformDefaultActionList(const std::string& folder, const std::vector<std::string>& names, QWidget*)
{
    return InvokeOnItems("", ItemsOfList(folder, names));
}

bool PerformVerb(const std::string& verb, const std::string& path, QWidget*)
{
    return InvokeOnItems(verb, ItemsOfPath(path));
}

bool PerformVerbList(const std::string& verb, const std::string& folder, const std::vector<std::string>& names,
                     QWidget*)
{
    return InvokeOnItems(verb, ItemsOfList(folder, names));
}

QPoint ContextMenuPosition(QSize menuSize, QPoint point, QRect exclude, QRect screen)
{
    QPoint position(point.x() - menuSize.width() / 2, point.y());
    if (exclude.isEmpty() || !QRect(position, menuSize).intersects(exclude))
        return position;
    position.setY(exclude.bottom() + 1);
    if (!screen.isEmpty() && position.y() + menuSize.height() > screen.bottom() + 1)
        position.setY(exclude.top() - menuSize.height());
    return position;
}
