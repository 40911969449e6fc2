#include "core/forms/Utilities.h"

#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/AsciiCase.h"
#include "core/text/FormatSettings.h"

#include "host/LastError.h"

#include <QComboBox>
#include <QLineEdit>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t MinInt = std::numeric_limits<int32_t>::min();
constexpr int32_t MaxInt = std::numeric_limits<int32_t>::max();
constexpr double MaxReal = std::numeric_limits<double>::max();

const char* const UninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct TColorIdentifier
{
    const char* Name;
    uint32_t Color;
};

// The colour identifiers of the class library: plain colours, then the system's colours
// (top bit set, the low byte the system colour's index).
constexpr TColorIdentifier ColorIdentifiers[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
    {"clHotLight", 0x8000001A},
    {"clGradientActiveCaption", 0x8000001B},
    {"clGradientInactiveCaption", 0x8000001C},
    {"clMenuHighlight", 0x8000001D},
    {"clMenuBar", 0x8000001E},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

std::optional<TColor> ColorOfIdentifier(const std::string& text)
{
    for (const TColorIdentifier& identifier : ColorIdentifiers)
        if (SameTextAscii(identifier.Name, text))
            return static_cast<TColor>(identifier.Color);
    return std::nullopt;
}

// Reals are read with "." whatever the user's number format, so this reader never
// touches the process-wide separators.
double StrToFloatWithPoint(const std::string& text)
{
    std::string_view digits = text;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        throw EError("'" + text + "' is not a valid floating point value");
    return value;
}

// The general real form with "." as the decimal separator: the form StrToFloatWithPoint
// reads back, whatever the locale.
std::string RealToText(double value)
{
    const std::string localSeparator = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ".";
    const std::string text = FloatToStr(value);
    FormatSettings.DecimalSeparator = localSeparator;
    return text;
}

// The refusal of a converter is recorded in the trace and gives the default, as an empty
// text does.
template <typename T, typename TConverter>
T ConvertOrDefault(TTraced& trace, const std::string& text, T defaultValue, TConverter convert)
{
    if (text.empty())
        return defaultValue;
    try {
        return convert(text);
    }
    TRACED_CATCH(trace)
    return defaultValue;
}

std::string GetControlText(const QWidget& control)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text().toStdString();
    if (const auto* comboBox = qobject_cast<const QComboBox*>(&control))
        return comboBox->currentText().toStdString();
    return {};
}

// As the combo box's own text: an editable box shows the text, a drop-down list selects
// the item equal to it, or none.
void SetComboBoxText(QComboBox& comboBox, const std::string& text)
{
    if (comboBox.isEditable())
        comboBox.setEditText(QString::fromStdString(text));
    else
        comboBox.setCurrentIndex(FindComboBoxItemExact(comboBox, text));
}

void SetControlText(QWidget& control, const std::string& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(QString::fromStdString(text));
    else if (auto* comboBox = qobject_cast<QComboBox*>(&control))
        SetComboBoxText(*comboBox, text);
}

std::string OutsideLimitsText(const std::string& kind, const std::string& min, const std::string& max,
                              const std::string& defaultText)
{
    return kind + " value outside limits.\nIt will be set to default.\n    * Minimum = " + min +
           "\n    * Maximum = " + max + "\n    * Default = " + defaultText;
}

void ResetControlToDefault(QWidget& control, const std::string& warning, const std::string& defaultText)
{
    ShowWarningMessage(warning);
    FocusWinControl(&control);
    SetControlText(control, defaultText);
}

std::string ProgramKeyPath(const std::string& programName, const std::string& subKey)
{
    return "Software\\" + programName + "\\" + subKey;
}

} // namespace

std::optional<int32_t> TryStrToInt(const std::string& text)
{
    std::string_view rest = text;
    const bool negative = rest.starts_with('-');
    if (negative || rest.starts_with('+'))
        rest.remove_prefix(1);
    int base = 10;
    if (rest.starts_with('$')) {
        base = 16;
        rest.remove_prefix(1);
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        rest.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, base);
    if (rest.empty() || error != std::errc() || end != rest.data() + rest.size())
        return std::nullopt;
    const uint64_t limit = base == 16 ? std::numeric_limits<uint32_t>::max() : negative ? uint64_t{1} << 31 : MaxInt;
    if (magnitude > limit)
        return std::nullopt;
    const auto bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

int32_t StrToInt(const std::string& text)
{
    const std::optional<int32_t> value = TryStrToInt(text);
    if (!value)
        throw EError("'" + text + "' is not a valid integer value");
    return *value;
}

bool CheckIntFromText(const std::string& text, int32_t min, int32_t max, int32_t defaultValue, int32_t& value)
{
    TTraced trace;
    bool valid = false;
    value = defaultValue;
    try {
        const int32_t number = ConvertOrDefault(trace, text, defaultValue, StrToInt);
        valid = trace.Succeeded() && min <= number && number <= max;
        if (valid)
            value = number;
    }
    TRACED_CATCH(trace)
    return valid;
}

int32_t GetIntFromText(const std::string& text, int32_t min, int32_t max, int32_t defaultValue)
{
    TTraced trace;
    int32_t value = defaultValue;
    try {
        CheckIntFromText(text, min, max, defaultValue, value);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
    return value;
}

int32_t GetIntFromTextOrZero(const std::string& text)
{
    return GetIntFromText(text, MinInt, MaxInt, 0);
}

double GetRealFromText(const std::string& text, bool* invalid, double min, double max, double defaultValue)
{
    TTraced trace;
    double value = defaultValue;
    bool valid = false;
    try {
        const double number = ConvertOrDefault(trace, text, defaultValue, StrToFloatWithPoint);
        valid = trace.Succeeded() && min <= number && number <= max;
        if (valid)
            value = number;
    }
    TRACED_CATCH(trace)
    if (invalid != nullptr)
        *invalid = !valid;
    return value;
}

double GetRealFromTextOrZero(const std::string& text, bool* invalid)
{
    return GetRealFromText(text, invalid, -MaxReal, MaxReal, 0);
}

bool CheckIntFromControl(QWidget& control, int32_t min, int32_t max, int32_t defaultValue, int32_t& value)
{
    return CheckIntFromText(GetControlText(control), min, max, defaultValue, value);
}

int32_t GetIntFromComboBox(QWidget& control, int32_t min, int32_t max, int32_t defaultValue)
{
    TTraced trace;
    int32_t value = defaultValue;
    try {
        if (!CheckIntFromText(GetControlText(control), min, max, defaultValue, value)) {
            trace.TakeOver();
            const std::string defaultText = std::to_string(defaultValue);
            ResetControlToDefault(control,
                                  OutsideLimitsText("Integer", std::to_string(min), std::to_string(max), defaultText),
                                  defaultText);
        }
    }
    TRACED_CATCH(trace)
    return value;
}

int32_t GetIntFromComboBoxOrZero(QWidget& control)
{
    return GetIntFromComboBox(control, MinInt, MaxInt, 0);
}

double GetRealFromComboBox(QWidget& control, double min, double max, double defaultValue)
{
    TTraced trace;
    double value = defaultValue;
    try {
        bool invalid = false;
        value = GetRealFromText(GetControlText(control), &invalid, min, max, defaultValue);
        if (invalid) {
            trace.TakeOver();
            const std::string defaultText = RealToText(defaultValue);
            ResetControlToDefault(control, OutsideLimitsText("Real", RealToText(min), RealToText(max), defaultText),
                                  defaultText);
        }
    }
    TRACED_CATCH(trace)
    return value;
}

double GetRealFromComboBoxOrZero(QWidget& control)
{
    return GetRealFromComboBox(control, -MaxReal, MaxReal, 0);
}

int FindComboBoxItemExact(const QComboBox& comboBox, const std::string& text)
{
    for (int i = 0; i < comboBox.count(); ++i)
        if (SameTextAscii(comboBox.itemText(i).toStdString(), text))
            return i;
    return -1;
}

void InsertComboBoxHistoryItem(QComboBox& comboBox, const std::string& text)
{
    if (text.empty())
        return;
    const int index = FindComboBoxItemExact(comboBox, text);
    if (index == 0)
        return;
    // Qt moves the current item (and with it the edit text) as items come and go.
    const std::string editText = comboBox.currentText().toStdString();
    if (index > 0)
        comboBox.removeItem(index);
    comboBox.insertItem(0, QString::fromStdString(text));
    SetComboBoxText(comboBox, editText);
}

void UpdateComboBoxHistory(QComboBox& comboBox)
{
    InsertComboBoxHistoryItem(comboBox, comboBox.currentText().toStdString());
}

void FocusWinControl(QWidget* control)
{
    if (control == nullptr)
        return;
    host::SetLastError(host::ERROR_SUCCESS);
    control->setFocus(Qt::OtherFocusReason);
}

std::string BoolToText(bool value)
{
    return value ? "TRUE" : "FALSE";
}

bool TextToBool(const std::string& text)
{
    return text == "TRUE";
}

std::optional<TColor> TryTextToColor(const std::string& text)
{
    TColor color = 0;
    if (GetStockColorFromName(text, color) || text.empty())
        return color;
    if (const std::optional<TColor> identified = ColorOfIdentifier(text))
        return identified;
    return TryStrToInt(text);
}

TColor TextToColor(const std::string& text)
{
    const std::optional<TColor> color = TryTextToColor(text);
    if (!color)
        throw EError("'" + text + "' is not a valid colour");
    return *color;
}

bool IsWindowsNT()
{
    return true;
}

bool IsWindows2000OrLater()
{
    return true;
}

std::string GetRegistryText(host::RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    TTraced trace;
    std::string text;
    try {
        const std::optional<host::RegistryValue> value = host::ReadRegistryValue(root, keyPath, valueName);
        if (value && value->Type != host::RegistryType::String)
            trace.Raise("Invalid data type of registry value.", keyPath, valueName);
        else if (value)
            text = value->Text;
    }
    TRACED_CATCH(trace)
    return text;
}

void SetRegistryText(host::RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value)
{
    TTraced trace;
    try {
        if (!host::CreateRegistryKey(root, keyPath))
            trace.RaiseSystem("Failed to open registry key.", keyPath);
        else if (!host::WriteRegistryValue(root, keyPath, valueName, host::RegistryValue::OfText(value)))
            trace.RaiseSystem("Failed to write registry value.", keyPath, valueName);
    }
    TRACED_CATCH(trace)
}

std::string GetProgramRegistryText(const std::string& programName, const std::string& subKey,
                                   const std::string& valueName)
{
    return GetRegistryText(host::RegistryRoot::CurrentUser, ProgramKeyPath(programName, subKey), valueName);
}

void SetProgramRegistryText(const std::string& programName, const std::string& subKey, const std::string& valueName,
                            const std::string& value)
{
    SetRegistryText(host::RegistryRoot::CurrentUser, ProgramKeyPath(programName, subKey), valueName, value);
}

void SetUninstallRegistry(const std::string& name, const std::string& displayName, const std::string& uninstallCommand)
{
    TTraced trace;
    try {
        const std::string keyPath = UninstallKeyPath + name;
        SetRegistryText(host::RegistryRoot::LocalMachine, keyPath, "DisplayName", displayName);
        if (trace.TakeOver())
            return;
        SetRegistryText(host::RegistryRoot::LocalMachine, keyPath, "UninstallString", uninstallCommand);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

void DeleteUninstallerRegistry(const std::string& name)
{
    TTraced trace;
    try {
        const std::string keyPath = UninstallKeyPath + name;
        if (!host::DeleteRegistryKey(host::RegistryRoot::LocalMachine, keyPath) &&
            host::GetLastError() != host::ERROR_FILE_NOT_FOUND)
            trace.RaiseSystem("Failed to delete registry key.", keyPath);
    }
    TRACED_CATCH(trace)
}
