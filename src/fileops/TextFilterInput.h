#pragma once

#include "core/text/StringList.h"

#include <string>

// True when the text filter box holds a text; else false after the warning.
bool IsTextFilterGiven(const std::string& text);
// The text filter box's text as the search's text filters: pieces separated by blanks
// (free-hand) or by ";", "&" in front for a required filter, "!" for an excluded one, "~"
// to keep the next character as text. False when nothing may run: the text is empty (after
// a warning) or the user declines to search for filters of one or two characters.
bool ParseTextFilter(const std::string& text, bool freeHand, TStringList& textFilters);
