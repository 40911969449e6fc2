#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

class QComboBox;
class QWidget;

// The controls of "Program options", one row each: what the control is, which value it
// edits, how it shows the value and how Okay takes it back. The form builds its pages
// from these rows, so a control and its binding are written once.

enum class TOptionsPage
{
    General,
    Column,
    Viewer,
    MouseOperations,
    MouseMenu,
    Hover,
    Plugins
};

// Okay takes the values back stage by stage, in this order; the options that
// ApplyProgramOptions puts into effect are all taken before the viewer's stage.
enum class TTakeStage
{
    Main,
    Fonts,
    Viewer,
    MouseOperations,
    MouseMenu,
    Hover,
    Plugins
};

enum class TControlKind
{
    CheckBox,
    // A drop-down list: no free text.
    List,
    // A list that takes free text too.
    EditableList,
    // An editable list filled with the screen's fonts at each showing.
    FontList,
    Edit
};

enum class TShowRule
{
    Check,
    // The item equal to the value, else the fallback item, else the first.
    Select,
    // The item equal to the value, else no item.
    Exact,
    Text
};

enum class TTakeRule
{
    Check,
    // The text as an integer; an empty text gives 0.
    Number,
    // The text as an integer within the limits; an empty text gives the default, and a
    // bad or outside one gives it after a warning, which also puts it into the control.
    NumberInRange,
    Text
};

struct TNumberLimits
{
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Default = 0;
};

using TOptionField = std::variant<std::function<bool&()>, std::function<int32_t&()>, std::function<std::string&()>>;

struct TOptionControl
{
    std::string Name;
    // A check box's caption, or the label before a list or edit ("" for none: the control
    // then stands beside the control before it).
    std::string Caption;
    TOptionsPage Page = TOptionsPage::General;
    TTakeStage Stage = TTakeStage::Main;
    TControlKind Kind = TControlKind::CheckBox;
    TShowRule Show = TShowRule::Check;
    TTakeRule Take = TTakeRule::Check;
    TOptionField Field;
    std::vector<std::string> Items;
    // The item Select shows when the value is not listed; "" for the first item.
    std::string Fallback;
    // The values the option file takes for a number read within limits, and the default
    // NumberInRange gives.
    TNumberLimits Limits;
    // The option file takes any number within the limits, more than the list offers: such
    // a value joins the list while it is shown, so that Okay gives it back unchanged.
    bool OffersValueRead = false;
};

// Every control, page by page in the order they stand.
const std::vector<TOptionControl>& OptionControls();

// The row's items into its list, in place of what the list held.
void FillOptionItems(const TOptionControl& row, QComboBox& comboBox);

// The row's value into its control, and back.
void ShowOptionValue(const TOptionControl& row, QWidget& control);
void TakeOptionValue(const TOptionControl& row, QWidget& control);
