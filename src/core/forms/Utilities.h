#pragma once

#include "core/drawing/StockColors.h"

#include "host/Registry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QColor;
class QComboBox;
class QFont;
class QListWidget;
class QMenu;
class QPainter;
class QPushButton;
class QPoint;
class QRect;
class QWidget;

// Number input, combo history, text forms of booleans and colours, and the program's
// registry values. The parsers and the registry operations are traced: a failure is left
// in FunStatContext for the caller to judge, never shown here.

// Integers as the user may type them: an optional sign, then decimal digits, or "$" or
// "0x" and up to eight hexadecimal digits taken as the 32-bit pattern ("$FFFFFFFF" is -1).
std::optional<int32_t> TryStrToInt(const std::string& text);
// As TryStrToInt; a refused text throws EError naming it.
int32_t StrToInt(const std::string& text);

// An empty text stands for the default. True when the number (or that default) lies in
// [min, max]; `value` is then the number, else the default. A refused text is recorded
// as a caught exception (status 2).
bool CheckIntFromText(const std::string& text, int32_t min, int32_t max, int32_t defaultValue, int32_t& value);
int32_t GetIntFromText(const std::string& text, int32_t min, int32_t max, int32_t defaultValue);
int32_t GetIntFromTextOrZero(const std::string& text);
// Reals are always typed with "." as the decimal separator. `invalid` (may be null) tells
// whether the default was taken for a refused text or a value outside [min, max].
double GetRealFromText(const std::string& text, bool* invalid, double min, double max, double defaultValue);
double GetRealFromTextOrZero(const std::string& text, bool* invalid);

// The control readers take a line edit or a combo box. A refused or out-of-limits text
// is replaced by the default after a warning that lists the limits and the default.
bool CheckIntFromControl(QWidget& control, int32_t min, int32_t max, int32_t defaultValue, int32_t& value);
int32_t GetIntFromComboBox(QWidget& control, int32_t min, int32_t max, int32_t defaultValue);
int32_t GetIntFromComboBoxOrZero(QWidget& control);
double GetRealFromComboBox(QWidget& control, double min, double max, double defaultValue);
double GetRealFromComboBoxOrZero(QWidget& control);

// The index of the first item equal to the text ignoring case, or -1.
int FindComboBoxItemExact(const QComboBox& comboBox, const std::string& text);
// Puts the text at the top of the combo box's items, keeping the edit text.
void InsertComboBoxHistoryItem(QComboBox& comboBox, const std::string& text);
void UpdateComboBoxHistory(QComboBox& comboBox);
// Absent: nothing; else the last error is cleared and the control takes the keyboard focus.
void FocusWinControl(QWidget* control);

std::string BoolToText(bool value);
// True only for the exact text "TRUE".
bool TextToBool(const std::string& text);
// A stock colour name, a colour identifier ("clRed") or a number; 0 for the empty text;
// nothing for any other text.
std::optional<TColor> TryTextToColor(const std::string& text);
// As TryTextToColor; any other text throws EError.
TColor TextToColor(const std::string& text);

// This host offers all that the NT family of Windows 2000 and later offers.
bool IsWindowsNT();
bool IsWindows2000OrLater();

// "" for a missing key or value (no failure); a value that is no string is a failure.
std::string GetRegistryText(host::RegistryRoot root, const std::string& keyPath, const std::string& valueName);
// Creates the key when missing; a key that cannot be opened or created is a failure.
void SetRegistryText(host::RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value);
// Under the current user's "Software\" + program name + "\" + sub-key.
std::string GetProgramRegistryText(const std::string& programName, const std::string& subKey,
                                   const std::string& valueName);
void SetProgramRegistryText(const std::string& programName, const std::string& subKey, const std::string& valueName,
                            const std::string& value);
// The machine's uninstaller entry for the name: "DisplayName" and "UninstallString".
void SetUninstallRegistry(const std::string& name, const std::string& displayName, const std::string& uninstallCommand);
// Deletes the entry with all it holds; a missing entry is no failure.
void DeleteUninstallerRegistry(const std::string& name);

// ---- Drawing and control helpers ----

// The shadow-text entry point: draws (or, with DT_CALCRECT, measures) the text with a
// shadow under it, as host::DrawShadowText does.
using TDrawShadowText = int (*)(QPainter& painter, const std::string& text, QRect& rect, uint32_t format,
                                const QColor& textColor, const QColor& shadowColor, int offsetX, int offsetY);

// Holds the optional system entry points the helpers use.
class TUtilities
{
public:
    TUtilities();
    // None: a shadowed text is drawn plain.
    TDrawShadowText DrawShadowText = nullptr;
};

extern TUtilities Utilities;

// Draws the text in the rectangle with the canvas's font, pen colour and brush, or, when
// an out size is given, only measures it. `format` holds the host::DT_ flags; 0 stands
// for DT_NOPREFIX alone. Unless transparent, drawing fills the rectangle with the brush
// first. Centring either way places a one-line text in the middle of the rectangle's
// height too; a text wider than the rectangle starts at its left edge. With a shadow the
// shadowed text (in the text colour) is drawn first, then the text in the pen colour.
void DrawTextInRect(const std::string& text, QPainter& canvas, bool transparent, QRect rect, uint32_t format,
                    bool centerHorizontally, bool centerVertically, int32_t* outWidth = nullptr,
                    int32_t* outHeight = nullptr, bool shadow = false, int32_t shadowX = 0, int32_t shadowY = 0,
                    TColor textColor = 0, TColor shadowColor = 0);
// The height of the font's lines in pixels on the control. Traced.
int32_t GetFontHeight(const QFont& font, const QWidget& control);

// Brings the form back from minimised or maximised, shows it and gives it the focus.
void RestoreAndFocusForm(QWidget& form);
// The control is the one the window system finds under the mouse cursor, or at the
// screen point (the innermost control there).
bool IsMouseOverControl(const QWidget& control);
bool IsControlAtPoint(const QPoint& screenPoint, const QWidget& control);

// Selects nothing, then the old item again, so that the list repaints its selection.
void ReselectListBoxItem(QListWidget& listBox);
// Selects the item at the point of the list's viewport and gives its index; -1 where
// there is none.
int SelectListBoxItemAtPos(QListWidget& listBox, int x, int y);
// Selects the item equal to the text ignoring case (an empty text stands for the
// default), else the default's item, else item 0.
void SelectComboBoxText(QComboBox& comboBox, const std::string& text, const std::string& defaultText);

// A push button of a form built in code, with its hint when one is given. Without
// `autoDefault` the button never takes Enter: the box that has the focus then decides
// which button Enter clicks.
QPushButton* AddButton(QWidget* parent, const char* caption, const QRect& place, const char* hint = nullptr,
                       bool autoDefault = true);

// Menus: an item is a QAction; one with children carries a QMenu (its caption the menu's
// title). An item's Tag is its data(), an int. Directory menus tag a folder's submenu 1
// and a file's item 0, and keep the folders first, then the files, each sorted by name.
inline constexpr int32_t FolderMenuTag = 1;
inline constexpr int32_t FileMenuTag = 0;

// The first item of the menu or menu bar (or the item's children) with the tag that is
// no separator; null when there is none.
QAction* FindMenuItemByTag(const QWidget& menu, int32_t tag);
QAction* FindChildMenuItemByTag(const QAction& item, int32_t tag);
// Where an item with the caption goes to keep its group sorted (ignoring case, after
// equal captions): grouped, the leading items with a Tag other than 0 form one group and
// the rest the other; not grouped, all items are one group.
int GetMenuInsertIndex(const std::string& caption, const QMenu& parent, bool amongTagged, bool grouped);

using TMenuClickHandler = std::function<void(QAction& item)>;
// Adds the directory's visible folders (as submenus filled the same way, empty ones left
// out) and accepted files, at most 30 entries a level, in the order the file system lists
// them. A file's caption loses its extension when any of the three flags is set. An empty
// filter is "*"; a filter holding < > | " : \ or / is refused. Traced: a failure stops the
// filling and leaves the items added so far. A submenu is a child of the menu it sits in
// (QMenu::clear leaves it there; EmptyMenu removes it).
void LoadMenuWithFiles(QMenu& item, const std::string& directory, const std::string& filter, bool firstLinkFlag,
                       bool secondLinkFlag, bool hideExtension, const std::string& hint,
                       const TMenuClickHandler& onClick);
// The name matches the filter and, when either link flag is set, the file is a ".lnk".
bool IsMenuFileAccepted(const std::string& path, const std::string& name, const std::string& filter, bool firstLinkFlag,
                        bool secondLinkFlag);
// The item's path below the root: the captions of the submenus that lead to it, each
// with a backslash after it, then its own caption. For an item outside the root's tree
// the path starts at its outermost menu.
std::string GetMenuItemPath(const QMenu& root, const QAction& item);
// The file a directory menu's item stands for, as listed ("" for any other item). The
// click goes by it, not by the captions: a caption may hide the extension's letter case
// ("Tool" of "Tool.LNK") and shows "&" doubled.
std::string GetMenuItemFileName(const QAction& item);
// Removes the menu's items together with the submenus that a fill made in it, which
// QMenu::clear would leave behind.
void EmptyMenu(QMenu& menu);
// A caption made of the user's text (a file, stream or drive name) shows its "&" as itself.
std::string EscapeMenuCaption(const std::string& text);
