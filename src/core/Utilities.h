#pragma once

#include "core/StockColors.h"

#include "host/Registry.h"

#include <cstdint>
#include <optional>
#include <string>

class QComboBox;
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
void SetUninstallRegistry(const std::string& name, const std::string& displayName,
                          const std::string& uninstallCommand);
// Deletes the entry with all it holds; a missing entry is no failure.
void DeleteUninstallerRegistry(const std::string& name);
