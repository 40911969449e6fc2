#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// A run of values from `First` to `Last` in steps of `Step`.
struct TChoiceRun
{
    int32_t First;
    int32_t Last;
    int32_t Step = 1;
};

// The values of the runs, one run after the other, as a dialog lists them.
std::vector<int32_t> ChoiceRuns(std::initializer_list<TChoiceRun> runs);

// The values the options dialog offers for its choice options, in the order it lists
// them. For the options read against a list the option file accepts only these values;
// those read within limits (boards, hint lines, logo width, sizes, the mouse menu's
// numbers) take any value within them, and the dialog shows such a value as it is.

// The limits within which the option file takes a number, both ends included.
struct TChoiceLimits
{
    int32_t Min;
    int32_t Max;

    bool Holds(int32_t value) const { return value >= Min && value <= Max; }
};

inline constexpr TChoiceLimits VisibleBoardsLimits{10, 30};
inline constexpr TChoiceLimits BoardsBarRowsLimits{1, 5};
inline constexpr TChoiceLimits HintLinesLimits{1, 5};
inline constexpr TChoiceLimits UserLogoWidthLimits{50, 500};
inline constexpr TChoiceLimits MouseMenuTranslucencyLimits{0, 100};
inline constexpr TChoiceLimits MouseMenuSensitivityLimits{3, 20};
inline constexpr TChoiceLimits MouseMenuItemWidthLimits{50, 400};
inline constexpr TChoiceLimits MouseMenuItemExtraHeightLimits{2, 20};
inline constexpr TChoiceLimits MaxTextSizeLimits{-1, 1000000};
inline constexpr TChoiceLimits ViewerFontSizeLimits{8, 40};
inline constexpr TChoiceLimits FileTypeWidthLimits{100, 400};
inline constexpr TChoiceLimits MaxThumbFileSizeLimits{-1, 2000000};
inline constexpr TChoiceLimits NormalizeThumbSizeLimits{50, 10000};

// Numeric choices, as the dialog lists them.
const std::vector<int32_t>& ScrollChoices();
const std::vector<int32_t>& FontSizeChoices();
const std::vector<int32_t>& ExtraHeightChoices();
const std::vector<int32_t>& TypeWidthChoices();
const std::vector<int32_t>& CacheChoices();
const std::vector<int32_t>& QualityChoices();
const std::vector<int32_t>& HoverDelayChoices();
const std::vector<int32_t>& StartShiftChoices();
const std::vector<int32_t>& HoverSensitivityChoices();
const std::vector<int32_t>& HoverWidthChoices();
const std::vector<int32_t>& HoverHeightChoices();
// The options read within limits.
const std::vector<int32_t>& VisibleBoardsChoices();
const std::vector<int32_t>& BoardsBarRowsChoices();
const std::vector<int32_t>& HintLinesChoices();
const std::vector<int32_t>& UserLogoWidthChoices();
const std::vector<int32_t>& MaxTextSizeChoices();
const std::vector<int32_t>& MaxThumbFileSizeChoices();
const std::vector<int32_t>& NormalizeThumbSizeChoices();
const std::vector<int32_t>& MouseMenuTranslucencyChoices();
const std::vector<int32_t>& MouseMenuSensitivityChoices();
const std::vector<int32_t>& MouseMenuItemWidthChoices();
const std::vector<int32_t>& MouseMenuItemExtraHeightChoices();

// The names of the mouse operations, sorted: for clicks on an item, for drops on an
// item, and for clicks on a column header.
const std::vector<std::string>& ClickOperationNames();
const std::vector<std::string>& DragOperationNames();
const std::vector<std::string>& HeaderOperationNames();
