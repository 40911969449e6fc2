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
// them. The option file accepts only these values for the same options.

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

// The names of the mouse operations, sorted: for clicks on an item, for drops on an
// item, and for clicks on a column header.
const std::vector<std::string>& ClickOperationNames();
const std::vector<std::string>& DragOperationNames();
const std::vector<std::string>& HeaderOperationNames();
