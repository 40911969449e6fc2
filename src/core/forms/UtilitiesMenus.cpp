#include "core/forms/Utilities.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/FileIdentity.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr int MaxMenuEntriesPerLevel = 30;
const char* const MenuItemFileProperty = "MenuItemFileName";
const char* const RefusedFilterCharacters = "<>|\":\\/";

int32_t TagOf(const QAction& item)
{
    return item.data().toInt();
}

QAction* FindItemByTag(const QList<QAction*>& items, int32_t tag)
{
    for (QAction* item : items)
        if (TagOf(*item) == tag && !item->isSeparator() && item->text() != "-")
            return item;
    return nullptr;
}

// The items from `begin` (or the one after the leading tagged run) and where they end.
struct TMenuRange
{
    qsizetype Begin;
    qsizetype End;
};

TMenuRange InsertRange(const QList<QAction*>& items, bool amongTagged, bool grouped)
{
    if (!grouped)
        return {0, items.size()};
    qsizetype taggedEnd = 0;
    while (taggedEnd < items.size() && TagOf(*items[taggedEnd]) != 0)
        ++taggedEnd;
    return amongTagged ? TMenuRange{0, taggedEnd} : TMenuRange{taggedEnd, items.size()};
}

// A file sorts by its full name, also when its caption hides the extension.
void InsertMenuItem(QMenu& parent, QAction& item, const std::string& sortName, bool amongTagged)
{
    const int index = GetMenuInsertIndex(sortName, parent, amongTagged, true);
    const QList<QAction*> items = parent.actions();
    parent.insertAction(index < items.size() ? items[index] : nullptr, &item);
}

std::string MenuCaptionOfFile(const std::string& name, bool hideExtension)
{
    return hideExtension ? name.substr(0, name.size() - GetExtension(name).size()) : name;
}

// The menu that holds the item, if any.
const QMenu* HoldingMenu(const QAction& item)
{
    for (QObject* holder : item.associatedObjects())
        if (const auto* menu = qobject_cast<const QMenu*>(holder))
            return menu;
    return nullptr;
}

// A folder link to the folder being listed or to one above it would make the menu endless.
bool LeadsBackUp(const std::string& path, uint32_t attributes, const std::string& directory)
{
    return (attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) != 0 && host::IsSameOrInside(path, directory);
}

} // namespace

QAction* FindMenuItemByTag(const QWidget& menu, int32_t tag)
{
    return FindItemByTag(menu.actions(), tag);
}

QAction* FindChildMenuItemByTag(const QAction& item, int32_t tag)
{
    const QMenu* children = item.menu();
    return children == nullptr ? nullptr : FindItemByTag(children->actions(), tag);
}

int GetMenuInsertIndex(const std::string& caption, const QMenu& parent, bool amongTagged, bool grouped)
{
    const QList<QAction*> items = parent.actions();
    const TMenuRange range = InsertRange(items, amongTagged, grouped);
    for (qsizetype i = range.Begin; i < range.End; ++i)
        if (CompareTextAscii(items[i]->text().toStdString(), caption) > 0)
            return static_cast<int>(i);
    return static_cast<int>(range.End);
}

bool IsMenuFileAccepted(const std::string& path, const std::string& name, const std::string& filter, bool firstLinkFlag,
                        bool secondLinkFlag)
{
    if (!MatchesFileSpec(name, filter))
        return false;
    return !(firstLinkFlag || secondLinkFlag) || IsLnkFile(path);
}

void LoadMenuWithFiles(QMenu& item, const std::string& directory, const std::string& filter, bool firstLinkFlag,
                       bool secondLinkFlag, bool hideExtension, const std::string& hint,
                       const TMenuClickHandler& onClick)
{
    TTraced trace;
    trace.Run([&] {
        if (filter.find_first_of(RefusedFilterCharacters) != std::string::npos)
            return trace.Raise("Invalid file name filter.");
        const std::string spec = filter.empty() ? "*" : filter;
        std::vector<host::FindData> entries;
        if (!host::FindFiles(directory, "*", entries) && !IsFindOk(host::GetLastError()))
            return trace.Raise("Can not find first item.", directory, "", host::GetLastError());
        const std::string folder = IncludeEndBackslash(directory);
        const bool hideFileExtension = firstLinkFlag || secondLinkFlag || hideExtension;
        int added = 0;
        for (const host::FindData& entry : entries) {
            if (added >= MaxMenuEntriesPerLevel)
                break;
            if (entry.Attributes & host::FILE_ATTRIBUTE_HIDDEN)
                continue;
            if (entry.Attributes & host::FILE_ATTRIBUTE_DIRECTORY) {
                if (LeadsBackUp(folder + entry.Name, entry.Attributes, directory))
                    continue;
                auto* submenu = new QMenu(QString::fromStdString(EscapeMenuCaption(entry.Name)), &item);
                submenu->menuAction()->setData(FolderMenuTag);
                InsertMenuItem(item, *submenu->menuAction(), entry.Name, true);
                LoadMenuWithFiles(*submenu, folder + entry.Name, filter, firstLinkFlag, secondLinkFlag, hideExtension,
                                  hint, onClick);
                if (trace.TakeOver())
                    return;
                if (submenu->actions().isEmpty())
                    delete submenu;
                ++added;
            } else if (IsMenuFileAccepted(folder + entry.Name, entry.Name, spec, firstLinkFlag, secondLinkFlag)) {
                auto* file = new QAction(QString::fromStdString(
                                             EscapeMenuCaption(MenuCaptionOfFile(entry.Name, hideFileExtension))),
                                         &item);
                file->setData(FileMenuTag);
                file->setProperty(MenuItemFileProperty, QString::fromStdString(folder + entry.Name));
                file->setStatusTip(QString::fromStdString(hint));
                if (onClick)
                    QObject::connect(file, &QAction::triggered, file, [file, onClick] { onClick(*file); });
                InsertMenuItem(item, *file, entry.Name, false);
                ++added;
            }
        }
    });
}

std::string GetMenuItemPath(const QMenu& root, const QAction& item)
{
    std::string path = item.text().toStdString();
    for (const QMenu* menu = HoldingMenu(item); menu != nullptr && menu != &root;
         menu = HoldingMenu(*menu->menuAction()))
        path = IncludeEndBackslash(menu->title().toStdString()) + path;
    return path;
}

std::string GetMenuItemFileName(const QAction& item)
{
    return item.property(MenuItemFileProperty).toString().toStdString();
}

void EmptyMenu(QMenu& menu)
{
    menu.clear();
    for (QMenu* submenu : menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete submenu;
}

std::string EscapeMenuCaption(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        escaped += c;
        if (c == '&')
            escaped += '&';
    }
    return escaped;
}
