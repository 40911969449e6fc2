#pragma once

#include <string>
#include <string_view>

class QComboBox;

// What the dialogs that take names, filters and replace texts share.

// No file name holds these.
inline constexpr std::string_view NameForbidden = "<>|\":\\/?*";
// A filter may hold the wildcards.
inline constexpr std::string_view FilterForbidden = "<>|\":\\/";
// A container column's filter matches whole paths.
inline constexpr std::string_view ContainerFilterForbidden = "<>|\"";
// A replace text may hold the path separators and the colon, never a wildcard.
inline constexpr std::string_view ReplaceForbidden = "<>|\"*?";

bool HoldsAnyOf(std::string_view text, std::string_view characters);
// No name is made of dots and blanks alone (".", ".." and "  " name no new item), nor is
// an empty one.
bool IsDotsAndBlanksOnly(std::string_view name);

// The "By current" stamp: the current date and time as fourteen digits and "_".
std::string GetStampByCurrent();
// The "By creation" stamp of a file: its creation time as fourteen digits and "_". Traced:
// a file that cannot be read gives an empty text.
std::string GetStampByCreation(const std::string& path);

// Limits an editable combo box to what its text takes in UTF-8 bytes, so that a name is
// never cut when it is stored.
void LimitTextBytes(QComboBox& comboBox, int maxBytes);
