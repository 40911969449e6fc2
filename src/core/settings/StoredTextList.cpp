#include "core/settings/StoredTextList.h"

#include "core/settings/IniSections.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"
#include "core/text/Text.h"

#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <utility>

namespace {

constexpr int32_t MinInt = std::numeric_limits<int32_t>::min();
constexpr int32_t MaxInt = std::numeric_limits<int32_t>::max();

// The index a list item is stored under: "0", "1", ... as decimal writes them.
std::optional<int32_t> ListItemIndex(const std::string& name)
{
    if (name.empty() || (name.size() > 1 && name[0] == '0') ||
        name.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return TryStrToInt(name);
}

// The file's text; "" for a missing file, nothing for a file that cannot be read.
std::optional<std::string> ReadSettingsText(const std::string& fileName)
{
    std::optional<std::string> text = host::ReadFileContents(fileName);
    const uint32_t error = host::GetLastError();
    if (!text && (error == host::ERROR_FILE_NOT_FOUND || error == host::ERROR_PATH_NOT_FOUND))
        text = std::string();
    return text;
}

// No settings text holds a zero byte: such a file was saved in another encoding (UTF-16)
// or damaged, and reading it as settings would lose what it holds.
bool IsSettingsText(const std::string& text)
{
    return text.find('\0') == std::string::npos;
}

// A value is one line of the file: a line break in it would start new keys or sections.
std::string OneLineValue(std::string value)
{
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

// A read-only settings file is made writable to be saved; a save that does not go through
// leaves it read-only as it was.
bool WriteSettingsFile(const std::string& fileName, const std::string& text)
{
    const std::optional<uint32_t> mode = host::GetFilePermissions(fileName);
    if (ClearReadOnly(fileName) != 0)
        return false;
    if (host::ReplaceFileContents(fileName, text))
        return true;
    if (mode)
        PutClearedModeBack(fileName, mode);
    return false;
}

QRect DesktopWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? QRect() : screen->availableGeometry();
}

} // namespace

TStoredTextList::TStoredTextList(const std::string& fileName) : FileName(fileName)
{
}

TStoredTextList::~TStoredTextList() = default;

bool TStoredTextList::Load(int32_t flag)
{
    TTraced trace;
    bool loaded = false;
    Loading = true;
    try {
        IniFile.reset();
        const std::optional<std::string> text = ReadSettingsText(FileName);
        if (!text) {
            trace.RaiseSystem("Failed to read file.", FileName);
        } else if (!IsSettingsText(*text)) {
            trace.Raise("The file is not a settings text.", FileName);
        } else {
            IniFile = std::make_unique<TIniSections>(*text);
            if (OnLoad)
                OnLoad(*this, flag);
            Modified = false;
            loaded = true;
        }
    }
    TRACED_CATCH(trace)
    if (loaded) {
        Damaged.Forget();
    } else {
        // The store goes on empty, or with what was read before a reader failed; the file
        // itself is kept until the first save.
        if (!IniFile)
            IniFile = std::make_unique<TIniSections>(std::string());
        Damaged.Mark(FileName);
        if (OnError)
            OnError();
        trace.ShowFailureAndHandOn("Failed to load file.");
    }
    Loading = false;
    return loaded;
}

bool TStoredTextList::LoadFromFile(const std::string& name, int32_t flag)
{
    FileName = name;
    return Load(flag);
}

bool TStoredTextList::Save(bool ask, int32_t flag)
{
    TTraced trace;
    bool saved = false;
    try {
        if (ask && host::PathExists(FileName) && !AskQuery("File \"" + FileName + "\"already exists.\nOverwrite it?"))
            return false;
        if (OnSave)
            OnSave(*this, flag);
        if (!IniFile)
            trace.Raise("The settings were not loaded.", FileName);
        else if (!Damaged.KeepBeforeSaving(FileName))
            trace.RaiseSystem("Failed to keep the damaged file.", FileName, TDamagedFile::BackupName(FileName));
        else if (!WriteSettingsFile(FileName, IniFile->Text()))
            trace.RaiseSystem("Failed to write file.", FileName);
        else {
            Modified = false;
            saved = true;
        }
    }
    TRACED_CATCH(trace)
    trace.ShowFailure("Failed to save file.");
    return saved;
}

bool TStoredTextList::SaveToFile(const std::string& name, bool ask, int32_t flag)
{
    FileName = name;
    if (!IniFile) {
        const std::optional<std::string> text = ReadSettingsText(FileName);
        const bool readable = text && IsSettingsText(*text);
        IniFile = std::make_unique<TIniSections>(readable ? *text : std::string());
        if (!readable)
            Damaged.Mark(FileName);
    }
    return Save(ask, flag);
}

void TStoredTextList::Clear()
{
    if (IniFile)
        IniFile->Clear();
}

void TStoredTextList::EraseSection(const std::string& section)
{
    if (!IniFile)
        return;
    IniFile->EraseSection(section);
    Modified = true;
}

std::string TStoredTextList::ReadText(const std::string& section, const std::string& key,
                                      const std::string& defaultText) const
{
    if (!IniFile)
        return defaultText;
    return IniFile->Find(section, key).value_or(defaultText);
}

void TStoredTextList::ReadString(const std::string& section, const std::string& key, size_t maxLength,
                                 std::string& value, bool allowEmpty)
{
    const std::string text = ReadText(section, key, value);
    if ((!text.empty() || allowEmpty) && text.size() <= maxLength)
        value = text;
}

void TStoredTextList::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!IniFile)
        return;
    IniFile->Write(section, key, OneLineValue(value));
    Modified = true;
}

void TStoredTextList::ReadInteger(const std::string& section, const std::string& key, int32_t min, int32_t max,
                                  int32_t& value)
{
    const std::optional<int32_t> number = TryStrToInt(ReadText(section, key, std::to_string(value)));
    if (number && min <= *number && *number <= max)
        value = *number;
}

void TStoredTextList::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TStoredTextList::ReadBool(const std::string& section, const std::string& key, bool& value)
{
    const std::string text = ReadText(section, key, BoolToText(value));
    if (text == BoolToText(true) || text == BoolToText(false))
        value = TextToBool(text);
}

void TStoredTextList::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, BoolToText(value));
}

void TStoredTextList::ReadCheckBox(const std::string& section, const std::string& key, QCheckBox& checkBox)
{
    bool checked = checkBox.isChecked();
    ReadBool(section, key, checked);
    checkBox.setChecked(checked);
}

void TStoredTextList::WriteCheckBox(const std::string& section, const std::string& key, const QCheckBox& checkBox)
{
    WriteBool(section, key, checkBox.isChecked());
}

void TStoredTextList::ReadSpeedButton(const std::string& section, const std::string& key, QAbstractButton& button)
{
    bool down = button.isChecked();
    ReadBool(section, key, down);
    button.setChecked(down);
}

void TStoredTextList::WriteSpeedButton(const std::string& section, const std::string& key,
                                       const QAbstractButton& button)
{
    WriteBool(section, key, button.isChecked());
}

void TStoredTextList::ReadColor(const std::string& section, const std::string& key, TColor& color)
{
    color = TryTextToColor(ReadText(section, key, std::to_string(color))).value_or(color);
}

void TStoredTextList::WriteColor(const std::string& section, const std::string& key, TColor color)
{
    WriteInteger(section, key, color);
}

void TStoredTextList::ReadComboBoxText(const std::string& section, const std::string& key, QComboBox& comboBox,
                                       const std::string& defaultText)
{
    std::string text = ReadText(section, key, defaultText);
    if (text.empty())
        text = defaultText;
    if (comboBox.isEditable()) {
        comboBox.setEditText(QString::fromStdString(text));
        return;
    }
    comboBox.setCurrentIndex(std::max(FindComboBoxItemExact(comboBox, text), 0));
}

void TStoredTextList::WriteComboBoxText(const std::string& section, const std::string& key, const QComboBox& comboBox)
{
    WriteString(section, key, comboBox.currentText().toStdString());
}

void TStoredTextList::ReadComboBoxItem(const std::string& section, const std::string& key, const QComboBox& comboBox,
                                       std::string& value)
{
    std::string text = ReadText(section, key, value);
    if (text.empty())
        text = value;
    value = comboBox.itemText(std::max(FindComboBoxItemExact(comboBox, text), 0)).toStdString();
}

void TStoredTextList::ReadComboBoxNumber(const std::string& section, const std::string& key, const QComboBox& comboBox,
                                         int32_t& value)
{
    const std::string text = ReadText(section, key, std::to_string(value));
    const std::string item = comboBox.itemText(std::max(FindComboBoxItemExact(comboBox, text), 0)).toStdString();
    value = TryStrToInt(item).value_or(0);
}

void TStoredTextList::ReadStringList(const std::string& section, std::vector<std::string>& list, int32_t maxCount,
                                     bool lowerCase)
{
    list.clear();
    if (maxCount < 1)
        maxCount = MaxInt;
    int32_t count = 0;
    ReadInteger(section, "Count", 0, MaxInt, count);
    if (count > maxCount) {
        ShowWarningMessage("Too many items in the list (" + std::to_string(count) + ")");
        count = maxCount;
    }
    if (!IniFile)
        return;
    // Taken from the lines present rather than by asking for every index up to the count,
    // so a damaged count cannot keep the program busy for billions of missing items.
    std::map<int32_t, std::string> items;
    for (const auto& [name, value] : IniFile->Values(section)) {
        const std::optional<int32_t> index = ListItemIndex(name);
        if (index && *index < count)
            items.emplace(*index, value);
    }
    for (const auto& [index, item] : items)
        if (!item.empty())
            list.push_back(lowerCase ? LowerAscii(item) : item);
}

void TStoredTextList::WriteStringList(const std::string& section, const std::vector<std::string>& list)
{
    if (list.empty())
        return;
    WriteInteger(section, "Count", static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        WriteString(section, std::to_string(i), list[i]);
}

void TStoredTextList::ReadFormPosition(const std::string& section, const std::string& keyX, const std::string& keyY,
                                       int32_t& x, int32_t& y)
{
    const QRect area = DesktopWorkArea();
    ReadInteger(section, keyX, MinInt, MaxInt, x);
    if (x < area.left() || x > 0.9 * area.width())
        x = area.left();
    ReadInteger(section, keyY, MinInt, MaxInt, y);
    if (y < area.top() || y > 0.9 * area.height())
        y = area.top();
}

void TStoredTextList::ReadFormSize(const std::string& section, const std::string& keyWidth,
                                   const std::string& keyHeight, int32_t& width, int32_t& height)
{
    const QRect area = DesktopWorkArea();
    ReadInteger(section, keyWidth, MinInt, MaxInt, width);
    if (width < 0 || width > area.width())
        width = area.width();
    ReadInteger(section, keyHeight, MinInt, MaxInt, height);
    if (height < 0 || height > area.height())
        height = area.height();
}

void TStoredTextList::WriteFormPosition(const std::string& section, const std::string& keyX, const std::string& keyY,
                                        const QWidget& form)
{
    WriteInteger(section, keyX, form.pos().x());
    WriteInteger(section, keyY, form.pos().y());
}

void TStoredTextList::WriteFormSize(const std::string& section, const std::string& keyWidth,
                                    const std::string& keyHeight, const QWidget& form)
{
    WriteInteger(section, keyWidth, form.geometry().width());
    WriteInteger(section, keyHeight, form.geometry().height());
}

bool TStoredTextList::ReadFormBounds(const std::string& section, const std::string& keyX, const std::string& keyY,
                                     const std::string& keyWidth, const std::string& keyHeight, QWidget& form)
{
    int32_t x = form.pos().x();
    int32_t y = form.pos().y();
    int32_t width = form.width();
    int32_t height = form.height();
    ReadFormPosition(section, keyX, keyY, x, y);
    ReadFormSize(section, keyWidth, keyHeight, width, height);
    form.resize(width, height);
    form.move(x, y);
    return !ReadText(section, keyX, "").empty();
}

void TStoredTextList::WriteFormBounds(const std::string& section, const std::string& keyX, const std::string& keyY,
                                      const std::string& keyWidth, const std::string& keyHeight, const QWidget& form)
{
    WriteFormPosition(section, keyX, keyY, form);
    WriteFormSize(section, keyWidth, keyHeight, form);
}
