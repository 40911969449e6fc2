#pragma once

#include "core/drawing/StockColors.h"
#include "core/settings/DamagedFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QWidget;

class TIniSections;

// A text settings file ("Quillomber.ini", the skins): sections of named values, read whole
// at Load and written whole at Save, in lines of "[" section "]" and name "=" value with an
// empty line after each section and CR LF after every line. Section and value names
// compare ignoring case.
//
// Every typed read starts from the variable's current value, its default: a missing,
// malformed or out-of-range stored value leaves the variable unchanged. Every typed write
// sets Modified.
class TStoredTextList
{
public:
    using TErrorEvent = std::function<void()>;
    using TStoreEvent = std::function<void(TStoredTextList& list, int32_t flag)>;

    explicit TStoredTextList(const std::string& fileName);
    virtual ~TStoredTextList();
    TStoredTextList(const TStoredTextList&) = delete;
    TStoredTextList& operator=(const TStoredTextList&) = delete;

    std::string FileName;
    bool Modified = false;
    bool Loading = false;
    // Called when Load fails, before the failure is shown.
    TErrorEvent OnError;
    // Reads the settings through the typed reads; the flag is the caller's of Load.
    TStoreEvent OnLoad;
    // Writes the settings through the typed writes; the flag is the caller's of Save.
    TStoreEvent OnSave;

    // Traced. Reads the file (a missing file reads as empty) and runs OnLoad. A file that
    // cannot be read or holds a zero byte, or an exception in OnLoad, is shown as "Failed
    // to load file." and handed on. After a failed read the store is empty.
    //
    // A file whose load failed may hold all the user's settings: the first save under its
    // name keeps it as that name + ".bak" (replacing an older one) before writing.
    bool Load(int32_t flag);
    bool LoadFromFile(const std::string& name, int32_t flag);
    // Traced. Asks before overwriting when `ask` is set (No: false, no failure), runs
    // OnSave and replaces the file whole, so a failed save leaves the old file intact.
    // A failure is shown as "Failed to save file." and not handed on. A store that was
    // never loaded nor saved under a name does not save.
    bool Save(bool ask, int32_t flag);
    // Saves under a new name; settings not yet loaded are first read from that file, and
    // a file that cannot be read as settings is kept as after a failed load.
    bool SaveToFile(const std::string& name, bool ask, int32_t flag);
    void Clear();
    void EraseSection(const std::string& section);

    // The stored text replaces the variable only when it is not empty (or empty is
    // allowed) and at most `maxLength` bytes long.
    void ReadString(const std::string& section, const std::string& key, size_t maxLength, std::string& value,
                    bool allowEmpty);
    // Each CR and LF of the value is written as a space.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Decimal, "$" or "0x" hexadecimal; taken only within [min, max].
    void ReadInteger(const std::string& section, const std::string& key, int32_t min, int32_t max, int32_t& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    // "TRUE" or "FALSE", letter case exact.
    void ReadBool(const std::string& section, const std::string& key, bool& value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void ReadCheckBox(const std::string& section, const std::string& key, QCheckBox& checkBox);
    void WriteCheckBox(const std::string& section, const std::string& key, const QCheckBox& checkBox);
    // A speed button's down state is its checked state.
    void ReadSpeedButton(const std::string& section, const std::string& key, QAbstractButton& button);
    void WriteSpeedButton(const std::string& section, const std::string& key, const QAbstractButton& button);
    // A stock colour name, a colour identifier or a number; the empty text gives 0.
    void ReadColor(const std::string& section, const std::string& key, TColor& color);
    void WriteColor(const std::string& section, const std::string& key, TColor color);

    // The combo-box reads need a combo box with at least one item. A missing or empty
    // text takes the default; a drop-down list selects the item equal to it (item 0 when
    // none is), an editable combo box shows it.
    void ReadComboBoxText(const std::string& section, const std::string& key, QComboBox& comboBox,
                          const std::string& defaultText);
    void WriteComboBoxText(const std::string& section, const std::string& key, const QComboBox& comboBox);
    // The variable becomes the item equal to the stored text, or item 0's text.
    void ReadComboBoxItem(const std::string& section, const std::string& key, const QComboBox& comboBox,
                          std::string& value);
    // The variable becomes the item equal to the stored text (item 0 when none is) read
    // as an integer, 0 when it is no number.
    void ReadComboBoxNumber(const std::string& section, const std::string& key, const QComboBox& comboBox,
                            int32_t& value);

    // "Count", then the items under "0", "1", ...; empty items are skipped. A maximum
    // below 1 means none; a larger count is warned about and cut to the maximum.
    void ReadStringList(const std::string& section, std::vector<std::string>& list, int32_t maxCount, bool lowerCase);
    // An empty list writes nothing.
    void WriteStringList(const std::string& section, const std::vector<std::string>& list);

    // A window's place, kept inside the desktop's work area. The position is a top-level
    // window's frame's (QWidget::pos), so its title bar stands where it was; the size is
    // the client area's.
    void ReadFormPosition(const std::string& section, const std::string& keyX, const std::string& keyY, int32_t& x,
                          int32_t& y);
    void ReadFormSize(const std::string& section, const std::string& keyWidth, const std::string& keyHeight,
                      int32_t& width, int32_t& height);
    void WriteFormPosition(const std::string& section, const std::string& keyX, const std::string& keyY,
                           const QWidget& form);
    void WriteFormSize(const std::string& section, const std::string& keyWidth, const std::string& keyHeight,
                       const QWidget& form);
    // True when the store held the form's position.
    bool ReadFormBounds(const std::string& section, const std::string& keyX, const std::string& keyY,
                        const std::string& keyWidth, const std::string& keyHeight, QWidget& form);
    void WriteFormBounds(const std::string& section, const std::string& keyX, const std::string& keyY,
                         const std::string& keyWidth, const std::string& keyHeight, const QWidget& form);

private:
    // The stored text, or `defaultText` when the key (or the whole store) is missing.
    std::string ReadText(const std::string& section, const std::string& key, const std::string& defaultText) const;

    // Null until the first load or SaveToFile.
    std::unique_ptr<TIniSections> IniFile;
    // The file whose load failed, until it is kept.
    TDamagedFile Damaged;
};
