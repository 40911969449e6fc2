#pragma once

#include "core/drawing/Color.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The current skin: the background picture, the translucency of each painted part over
// it, the button shapes and the colours of every painted part. The painters read these
// fields at every paint (through pointers bound once), so a changed value shows at the
// next paint. Translucencies are percentages, 0 opaque to 100 invisible.
struct TSkinOptions
{
    TSkinOptions();

    // With `all` every field takes its default; otherwise only the colours do.
    void SetDefaults(bool all);

    bool operator==(const TSkinOptions&) const = default;

    bool UseBackPicture;
    // A full path (see CompleteBackPictureFileName).
    std::string BackPictureFileTitle;
    // Stretch over the window, or else tile.
    bool StretchBackPicture;
    // Before tiling, fit the picture to cover as much of the window as it can.
    bool FitBeforeTileBackPicture;
    // How much the picture is faded toward FillingBackPictureColor, in percent.
    int32_t FadeBackPicture;
    // Colour rotations in degrees, -180 to 180: red toward green, green toward blue, blue
    // toward red.
    int32_t RotateRGBackPicture;
    int32_t RotateGBBackPicture;
    int32_t RotateBRBackPicture;
    // In percent: 100 none, above darkens, below lightens.
    int32_t GammaBackPicture;

    // Control: the buttons and other panels that are no list; Window: the list windows.
    // Margin: the rim of the part; Back: its inside.
    int32_t ControlMarginTranslucency;
    int32_t ControlBackTranslucency;
    int32_t WindowMarginTranslucency;
    int32_t WindowBackTranslucency;
    int32_t WindowActiveFocusMarginTranslucency;
    int32_t WindowActiveFocusBackTranslucency;
    int32_t WindowInactiveFocusMarginTranslucency;
    int32_t WindowInactiveFocusBackTranslucency;
    int32_t WindowSelectionMarginTranslucency;
    int32_t WindowSelectionBackTranslucency;
    int32_t ScrollbarBackTranslucency;
    int32_t ScrollbarThumbMarginTranslucency;
    int32_t ScrollbarThumbBackTranslucency;

    // One of ToolbarButtonsStyles() and NonOvalButtonsStyles().
    std::string ToolbarButtonsStyle;
    std::string NonOvalButtonsStyle;
    // Paint the hint bar like a list window, or else straight over the window's background.
    bool HintPanelAsWindow;

    // FillingColor is the window's own background behind the panels. A brisk margin is
    // the one-pixel rim that sets a non-oval control off from its surroundings; hot-track
    // tints are those of a part under the mouse, Pushed colours those of a pushed button.
    // Dirs to Files are the badge colours of the item types.
    TColor FillingBackPictureColor;
    TColor FillingColor;
    TColor ButtonBriskMarginColor;
    TColor ButtonMarginColor;
    TColor ButtonBackColor;
    TColor ButtonTextColor;
    TColor ButtonTintColor;
    TColor ButtonHotTrackTintColor;
    TColor PushedBriskMarginColor;
    TColor PushedMarginColor;
    TColor PushedBackColor;
    TColor PushedTextColor;
    TColor PushedTintColor;
    TColor PushedHotTrackTintColor;
    TColor WindowBriskMarginColor;
    TColor WindowMarginColor;
    TColor WindowBackColor;
    TColor WindowTextColor;
    TColor WindowTintColor;
    TColor MouseMenuBackColor;
    TColor MouseMenuTextColor;
    TColor ActiveFocusBriskMarginColor;
    TColor ActiveFocusMarginColor;
    TColor ActiveFocusBackColor;
    TColor ActiveFocusTextColor;
    TColor ActiveFocusTintColor;
    TColor InactiveFocusBriskMarginColor;
    TColor InactiveFocusMarginColor;
    TColor InactiveFocusBackColor;
    TColor InactiveFocusTextColor;
    TColor InactiveFocusTintColor;
    TColor SelectionBriskMarginColor;
    TColor SelectionMarginColor;
    TColor SelectionBackColor;
    TColor SelectionTextColor;
    TColor SelectionTintColor;
    TColor GridColor;
    TColor ThumbTextColor;
    TColor DirsBackColor;
    TColor DirsTextColor;
    TColor LinksBackColor;
    TColor LinksTextColor;
    TColor ProgsBackColor;
    TColor ProgsTextColor;
    TColor DocsBackColor;
    TColor DocsTextColor;
    TColor FilesBackColor;
    TColor FilesTextColor;
};

extern TSkinOptions SkinOptions;

// A numeric skin setting stored under its field's name, with its default and the values
// the skin editor offers for it.
struct TSkinNumberField
{
    const char* Key;
    int32_t TSkinOptions::*Field;
    int32_t Default;
    const std::vector<int32_t>& (*Choices)();
};

struct TSkinColorField
{
    const char* Key;
    TColor TSkinOptions::*Field;
    TColor Default;
};

// In field order: the fade, the three rotations and the gamma of the background picture;
// the thirteen translucencies; the 48 colours.
extern const std::array<TSkinNumberField, 5> SkinPictureNumberFields;
extern const std::array<TSkinNumberField, 13> SkinTranslucencyFields;
extern const std::array<TSkinColorField, 48> SkinColorFields;

// The values the skin editor offers, in its order; what a skin stores is checked
// against them.
// The fade and every translucency.
const std::vector<int32_t>& PercentChoices();
const std::vector<int32_t>& ColorRotationChoices();
const std::vector<int32_t>& GammaChoices();
const std::vector<std::string>& ToolbarButtonsStyles();
// The button shape of a toolbar style: its place in ToolbarButtonsStyles() (0 round
// corners, 1 single oval, 2 double oval), in any letter case; -1 for another text.
int32_t GetToolbarButtonShape(const std::string& style);
const std::vector<std::string>& NonOvalButtonsStyles();
// The two settings that hold for all skins; -1 means no limit.
const std::vector<int32_t>& BackPictureMinStretchSizeChoices();
const std::vector<int32_t>& StretchBackPictureMaxSkewChoices();

// A stored picture name without a folder lies in the BackPictures folder; any other name
// is a path already. Stored that way, skins keep their pictures when the program moves.
std::string CompleteBackPictureFileName(const std::string& title);
