#include "core/settings/SkinOptions.h"

#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/settings/OptionChoices.h"
#include "core/text/AsciiCase.h"

// Constant, so they are ready before SkinOptions is built from them.
constinit const std::array<TSkinNumberField, 5> SkinPictureNumberFields = {{
    {"FadeBackPicture", &TSkinOptions::FadeBackPicture, 70, PercentChoices},
    {"RotateRGBackPicture", &TSkinOptions::RotateRGBackPicture, 0, ColorRotationChoices},
    {"RotateGBBackPicture", &TSkinOptions::RotateGBBackPicture, 0, ColorRotationChoices},
    {"RotateBRBackPicture", &TSkinOptions::RotateBRBackPicture, 0, ColorRotationChoices},
    {"GammaBackPicture", &TSkinOptions::GammaBackPicture, 100, GammaChoices},
}};

constinit const std::array<TSkinNumberField, 13> SkinTranslucencyFields = {{
    {"ControlMarginTranslucency", &TSkinOptions::ControlMarginTranslucency, 0, PercentChoices},
    {"ControlBackTranslucency", &TSkinOptions::ControlBackTranslucency, 0, PercentChoices},
    {"WindowMarginTranslucency", &TSkinOptions::WindowMarginTranslucency, 0, PercentChoices},
    {"WindowBackTranslucency", &TSkinOptions::WindowBackTranslucency, 0, PercentChoices},
    {"WindowActiveFocusMarginTranslucency", &TSkinOptions::WindowActiveFocusMarginTranslucency, 0, PercentChoices},
    {"WindowActiveFocusBackTranslucency", &TSkinOptions::WindowActiveFocusBackTranslucency, 0, PercentChoices},
    {"WindowInactiveFocusMarginTranslucency", &TSkinOptions::WindowInactiveFocusMarginTranslucency, 0, PercentChoices},
    {"WindowInactiveFocusBackTranslucency", &TSkinOptions::WindowInactiveFocusBackTranslucency, 0, PercentChoices},
    {"WindowSelectionMarginTranslucency", &TSkinOptions::WindowSelectionMarginTranslucency, 0, PercentChoices},
    {"WindowSelectionBackTranslucency", &TSkinOptions::WindowSelectionBackTranslucency, 0, PercentChoices},
    {"ScrollbarBackTranslucency", &TSkinOptions::ScrollbarBackTranslucency, 65, PercentChoices},
    {"ScrollbarThumbMarginTranslucency", &TSkinOptions::ScrollbarThumbMarginTranslucency, 0, PercentChoices},
    {"ScrollbarThumbBackTranslucency", &TSkinOptions::ScrollbarThumbBackTranslucency, 0, PercentChoices},
}};

constinit const std::array<TSkinColorField, 48> SkinColorFields = {{
    {"FillingBackPictureColor", &TSkinOptions::FillingBackPictureColor, 0xFFFFFF},
    {"FillingColor", &TSkinOptions::FillingColor, 0xE1F5F5},
    {"ButtonBriskMarginColor", &TSkinOptions::ButtonBriskMarginColor, 0xA0A0A0},
    {"ButtonMarginColor", &TSkinOptions::ButtonMarginColor, 0xA0A0A0},
    {"ButtonBackColor", &TSkinOptions::ButtonBackColor, 0xD7E6E6},
    {"ButtonTextColor", &TSkinOptions::ButtonTextColor, 0x000000},
    {"ButtonTintColor", &TSkinOptions::ButtonTintColor, 0xFFFFFF},
    {"ButtonHotTrackTintColor", &TSkinOptions::ButtonHotTrackTintColor, 0xD7FFFF},
    {"PushedBriskMarginColor", &TSkinOptions::PushedBriskMarginColor, 0xA0A0A0},
    {"PushedMarginColor", &TSkinOptions::PushedMarginColor, 0xA0A0A0},
    {"PushedBackColor", &TSkinOptions::PushedBackColor, 0xAFE1E1},
    {"PushedTextColor", &TSkinOptions::PushedTextColor, 0x000000},
    {"PushedTintColor", &TSkinOptions::PushedTintColor, 0xEBF5FA},
    {"PushedHotTrackTintColor", &TSkinOptions::PushedHotTrackTintColor, 0xD7FFFF},
    {"WindowBriskMarginColor", &TSkinOptions::WindowBriskMarginColor, 0xA0A0A0},
    {"WindowMarginColor", &TSkinOptions::WindowMarginColor, 0xA0A0A0},
    {"WindowBackColor", &TSkinOptions::WindowBackColor, 0xFFFFFF},
    {"WindowTextColor", &TSkinOptions::WindowTextColor, 0x000000},
    {"WindowTintColor", &TSkinOptions::WindowTintColor, 0x000000},
    {"MouseMenuBackColor", &TSkinOptions::MouseMenuBackColor, 0x87AAB9},
    {"MouseMenuTextColor", &TSkinOptions::MouseMenuTextColor, 0xEBF5FA},
    {"ActiveFocusBriskMarginColor", &TSkinOptions::ActiveFocusBriskMarginColor, 0x9BCDFF},
    {"ActiveFocusMarginColor", &TSkinOptions::ActiveFocusMarginColor, 0x9BCDFF},
    {"ActiveFocusBackColor", &TSkinOptions::ActiveFocusBackColor, 0x9BCDFF},
    {"ActiveFocusTextColor", &TSkinOptions::ActiveFocusTextColor, 0x000000},
    {"ActiveFocusTintColor", &TSkinOptions::ActiveFocusTintColor, 0xD2F0FA},
    {"InactiveFocusBriskMarginColor", &TSkinOptions::InactiveFocusBriskMarginColor, 0xA0A0A0},
    {"InactiveFocusMarginColor", &TSkinOptions::InactiveFocusMarginColor, 0xA0A0A0},
    {"InactiveFocusBackColor", &TSkinOptions::InactiveFocusBackColor, 0xAFE1E1},
    {"InactiveFocusTextColor", &TSkinOptions::InactiveFocusTextColor, 0x000000},
    {"InactiveFocusTintColor", &TSkinOptions::InactiveFocusTintColor, 0xEBF5FA},
    {"SelectionBriskMarginColor", &TSkinOptions::SelectionBriskMarginColor, 0xD7E6E6},
    {"SelectionMarginColor", &TSkinOptions::SelectionMarginColor, 0xD7E6E6},
    {"SelectionBackColor", &TSkinOptions::SelectionBackColor, 0xD7E6E6},
    {"SelectionTextColor", &TSkinOptions::SelectionTextColor, 0x0000D2},
    {"SelectionTintColor", &TSkinOptions::SelectionTintColor, 0xFFFFFF},
    {"GridColor", &TSkinOptions::GridColor, 0xBEBEBE},
    {"ThumbTextColor", &TSkinOptions::ThumbTextColor, 0x418282},
    {"DirsBackColor", &TSkinOptions::DirsBackColor, 0xBEDCE6},
    {"DirsTextColor", &TSkinOptions::DirsTextColor, 0x000000},
    {"LinksBackColor", &TSkinOptions::LinksBackColor, 0x009600},
    {"LinksTextColor", &TSkinOptions::LinksTextColor, 0x000000},
    {"ProgsBackColor", &TSkinOptions::ProgsBackColor, 0x2DC8F0},
    {"ProgsTextColor", &TSkinOptions::ProgsTextColor, 0x000000},
    {"DocsBackColor", &TSkinOptions::DocsBackColor, 0x820000},
    {"DocsTextColor", &TSkinOptions::DocsTextColor, 0xFFFFFF},
    {"FilesBackColor", &TSkinOptions::FilesBackColor, 0xBEBEBE},
    {"FilesTextColor", &TSkinOptions::FilesTextColor, 0x000000},
}};

TSkinOptions SkinOptions;

TSkinOptions::TSkinOptions()
{
    SetDefaults(true);
}

void TSkinOptions::SetDefaults(bool all)
{
    for (const TSkinColorField& color : SkinColorFields)
        this->*color.Field = color.Default;
    if (!all)
        return;
    UseBackPicture = false;
    BackPictureFileTitle.clear();
    StretchBackPicture = true;
    FitBeforeTileBackPicture = true;
    for (const TSkinNumberField& number : SkinPictureNumberFields)
        this->*number.Field = number.Default;
    for (const TSkinNumberField& number : SkinTranslucencyFields)
        this->*number.Field = number.Default;
    ToolbarButtonsStyle = "Double oval";
    NonOvalButtonsStyle = "No edge";
    HintPanelAsWindow = false;
}

const std::vector<int32_t>& PercentChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{0, 100, 5}});
    return values;
}

const std::vector<int32_t>& ColorRotationChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-180, 180, 5}});
    return values;
}

const std::vector<int32_t>& GammaChoices()
{
    static const std::vector<int32_t> values =
        ChoiceRuns({{1, 1}, {5, 5}, {10, 30, 5}, {40, 200, 10}, {250, 500, 50}, {600, 1000, 100}});
    return values;
}

const std::vector<std::string>& ToolbarButtonsStyles()
{
    static const std::vector<std::string> styles = {"Round corners", "Single oval", "Double oval"};
    return styles;
}

int32_t GetToolbarButtonShape(const std::string& style)
{
    const std::vector<std::string>& styles = ToolbarButtonsStyles();
    for (size_t i = 0; i < styles.size(); ++i)
        if (SameTextAscii(style, styles[i]))
            return static_cast<int32_t>(i);
    return -1;
}

const std::vector<std::string>& NonOvalButtonsStyles()
{
    static const std::vector<std::string> styles = {"No edge", "Top edge", "Bottom edge"};
    return styles;
}

const std::vector<int32_t>& BackPictureMinStretchSizeChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-1, -1}, {100, 500, 50}, {600, 1000, 100}});
    return values;
}

const std::vector<int32_t>& StretchBackPictureMaxSkewChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-1, -1}, {105, 150, 5}, {160, 180, 10}});
    return values;
}

std::string CompleteBackPictureFileName(const std::string& title)
{
    if (!GetParentPath(title).empty())
        return title;
    return IncludeEndBackslash(GetBackPicturesPath()) + title;
}
