#pragma once

#include <QMenu>
#include <QPoint>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

class QWidget;

// The context menu of files and folders, and its commands run without a menu. Items are
// full Windows paths; a drive root ("C:\") stands for the drive.

// Runs a command of the menu on the items: "" or "open", "openas" (the desktop asks for
// the application), "properties", "cut", "copy" and "delete" (to the trash), letter case
// ignored. False with the host's last error set; ERROR_NO_ASSOCIATION for a verb the
// menu does not have.
bool InvokeShellVerb(const std::string& verb, const std::vector<std::string>& items, const std::string& workingFolder);

// The menu: the title item (bold, the default; choosing it runs nothing) when a caption
// is given, then "Open", "Open with" (the desktop's applications for the items' types),
// "Cut", "Copy", "Delete", "Rename" and "Properties". A chosen item runs its command on
// the items at once, except "Rename", which only tells the caller to rename in place.
class TContextMenu : public QMenu
{
public:
    TContextMenu(std::vector<std::string> items, const std::string& caption, std::string workingFolder, QWidget* owner);

    // The action with this text in the menu or its submenu; null when there is none.
    QAction* FindAction(const std::string& text) const;
    // False only when a chosen command failed.
    bool CommandSucceeded() const { return Succeeded; }
    bool RenameChosen() const { return Renamed; }

private:
    void AddCommand(QMenu& menu, const std::string& caption, std::function<bool()> command);
    void AddOpenWithMenu();

    std::vector<std::string> Items;
    std::string WorkingFolder;
    bool Succeeded = true;
    bool Renamed = false;
};

// Shows the menu of the path (a file, a folder, a drive root, or a wildcard pattern in its
// last part for all the entries it matches) at the screen point, kept off the excluded
// rectangle. False when the path names nothing, or when the chosen command failed;
// `extraChosen` tells that "Rename" was chosen.
bool DisplayContextMenu(const std::string& path, QWidget* owner, QPoint point, bool& extraChosen,
                        const std::string& extraCaption, const std::string& workingFolder, QRect exclude = {});
// The same for the names of one folder; names that are not there are left out.
bool DisplayContextMenuList(const std::string& folder, const std::vector<std::string>& names, QWidget* owner,
                            QPoint point, bool& extraChosen, const std::string& extraCaption,
                            const std::string& workingFolder, QRect exclude = {});
// The same for full paths, which may lie in different folders; paths that are not there
// are left out.
bool DisplayContextMenuPaths(const std::vector<std::string>& paths, QWidget* owner, QPoint point, bool& extraChosen,
                             const std::string& extraCaption, const std::string& workingFolder, QRect exclude = {});

// The menu's commands without the menu; true when the command succeeded.
bool DisplayPropertiesDialog(const std::string& path, QWidget* owner);
bool DisplayPropertiesDialogList(const std::string& folder, const std::vector<std::string>& names, QWidget* owner);
bool PerformDefaultAction(const std::string& path, QWidget* owner);
bool PerformDefaultActionList(const std::string& folder, const std::vector<std::string>& names, QWidget* owner);
bool PerformVerb(const std::string& verb, const std::string& path, QWidget* owner);
bool PerformVerbList(const std::string& verb, const std::string& folder, const std::vector<std::string>& names,
                     QWidget* owner);

// The menu's top left corner: centred on the point and below it; when that covers the
// excluded rectangle, just below the rectangle, or above it when the screen ends first.
QPoint ContextMenuPosition(QSize menuSize, QPoint point, QRect exclude, QRect screen);
