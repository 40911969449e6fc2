#pragma once

#include "core/text/StringList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---- Buffers ----

bool ContainsZeroByte(const char* buffer, size_t count);
// Copies the text and a closing NUL into the buffer. Traced; panics "Size too big."
// when the text does not fit, leaving the buffer untouched.
void IniText(char* buffer, size_t capacity, const std::string& text);
// Adds a second NUL after the first, ending a list of NUL-separated texts. Traced;
// panics "Size too big." when there is no room for it.
void DoubleEndText(char* buffer, size_t capacity);

// ---- Lines and letters ----

// The lines of a text, each ended by CR, LF or CR LF; a line break at the very end
// opens no further line. Empty lines inside the text are kept.
std::vector<std::string> SplitLines(const std::string& text);
// Hands each line of the text, as SplitLines finds them, to `take`, in place.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& take);
// Line feeds become blanks, carriage returns go.
std::string LineBreaksToSpaces(const std::string& text);
// A CR or LF at a position other than the first two and the last two.
bool HasInnerLineBreak(const std::string& text);
bool ContainsLetter(const std::string& text);

// ---- Filter lists ----

// Cuts the text at each separator into upper-cased items without duplicates, in order;
// one leading marker per item is taken off, setting the item's required or excluded flag
// (the escape marker sets none). True when some item has one or two characters. Traced.
bool GetListFromMultipleFilter(const std::string& text, TStringList& list, char separator, char requiredMarker,
                               char excludedMarker, char escapeMarker);
bool IsFilterRequired(const TStringList& list, int32_t index);
bool IsFilterExcluded(const TStringList& list, int32_t index);
void SetFilterRequired(TStringList& list, int32_t index, bool required);
void SetFilterExcluded(TStringList& list, int32_t index, bool excluded);

// ---- File names ----

// "img_" of "img_001.jpg": up to the first "_" when the first "." comes after it.
std::string GetFileNamePrefix(const std::string& name);
// The name after its first "_" when the first "." comes after it or there is no ".".
std::string RemoveFileNamePrefix(const std::string& name);
std::string ReplaceFileNamePrefix(const std::string& name, const std::string& prefix);
// The text without its trailing run of decimal digits, which goes to `digits`.
std::string SplitTrailingNumber(const std::string& text, std::string& digits, int32_t& digitCount);
// The next numbered name: photo.jpg gives photo1.jpg, photo007.jpg photo008.jpg. Traced;
// "Number too big." from 2000000000 on, and the empty text on a failure.
std::string GetNextSuffixNumFileName(const std::string& name);

// ---- Lookups ----

// A start above 0 searches the items from there on; otherwise the list's own search.
int32_t FindTextInStringList(const std::string& text, const TStringList& list, int32_t start);
int32_t IndexOfTextNoCase(const std::string& text, const TStringList& strings);

// ---- Hexadecimal ----

// One reference per character, to its code point in at least two upper-case hexadecimal
// digits: "é" gives "&#xE9;", "€" "&#x20AC;". A byte that is not UTF-8 reads as Windows-1252.
std::string TextToHexEntities(const std::string& text);
std::string BytesToHexText(const void* bytes, size_t count);

// ---- Block search and word lists ----

// True when the candidate's first n bytes differ from the block's in at most
// min(tolerance, (n + 1) / 2) places; `differences` (may be null) gets the count so far.
bool MatchBlockWithMisspellings(const char* block, int32_t n, const char* candidate, int32_t tolerance,
                                int32_t* differences);
// The first place from `start` on where the block lies wholly up to `last` (inclusive):
// exactly for a tolerance of 0 or less, else within the tolerance; null when none.
const char* FindBlockInBuffer(const char* block, int32_t n, const char* start, const char* last, int32_t tolerance,
                              int32_t* differences);
// The 0-based position of an occurrence (overlapping ones count): n from 1 counts from
// the start (the last one when fewer), 0 is the start, -1 the text's last position, -2
// the last occurrence and lower ones count back; -1 when there is none.
int32_t GetOccurrencePos(std::string_view text, int32_t n, std::string_view searched);
// The distinct upper-cased words of the text, in order of first appearance: between the
// first-th and last-th delimiter occurrence, or the first-th to last-th words. Mode 1
// keeps words with a letter, mode 2 words of 5 or more with a digit. Traced.
void GetWordListFromText(const std::string& text, TStringList& list, int32_t mode, int32_t first, int32_t last,
                         bool byDelimiter, const std::string& delimiter);
