#pragma once

#include "core/Color.h"

#include <QImage>

#include <cstdint>
#include <string>

class QWidget;

// The skin values that the panels draw with, holding the skin's defaults.
struct TMyPanelSkin
{
    TColor FillingColor = 14808565;
    TColor GridColor = 12500670;
    TColor ButtonBriskMarginColor = 10526880;
    TColor ButtonMarginColor = 10526880;
    TColor ButtonBackColor = 14149350;
    TColor ButtonTextColor = 0;
    TColor ButtonTintColor = 16777215;
    TColor ButtonHotTrackTintColor = 14155775;
    TColor PushedBriskMarginColor = 10526880;
    TColor PushedMarginColor = 10526880;
    TColor PushedBackColor = 11526625;
    TColor PushedTextColor = 0;
    TColor PushedTintColor = 15463930;
    TColor PushedHotTrackTintColor = 14155775;
    TColor WindowBriskMarginColor = 10526880;
    TColor WindowMarginColor = 10526880;
    TColor WindowBackColor = 16777215;
    TColor WindowTextColor = 0;
    TColor WindowTintColor = 0;
    int32_t ControlMarginTranslucency = 0;
    int32_t ControlBackTranslucency = 0;
    int32_t WindowMarginTranslucency = 0;
    int32_t WindowBackTranslucency = 0;
    int32_t WindowInactiveFocusMarginTranslucency = 0;
    int32_t WindowInactiveFocusBackTranslucency = 0;
    int32_t WindowActiveFocusMarginTranslucency = 0;
    int32_t WindowActiveFocusBackTranslucency = 0;
    int32_t ScrollbarThumbMarginTranslucency = 0;
    int32_t ScrollbarThumbBackTranslucency = 0;
    int32_t ScrollbarBackTranslucency = 65;
    std::string NonOvalButtonsStyle = "No edge";
};

// The skin lives in a later layer, which this one cannot reach: until the main window binds
// the skin cells to it (BindSkin(SkinOptions)) before it makes its first panel, they point
// into this built-in default skin. The program option cells point into ProgramOptions.
extern const TMyPanelSkin DefaultPanelSkin;

// Pointers to the values that every panel draws with, read at each paint, so that a new
// skin or new options show at the next paint. No panel writes through them.
class TMyPanelOptions
{
public:
    TMyPanelOptions();

    const TColor* FillingColor;
    const TColor* GridColor;
    const TColor* ButtonBriskMarginColor;
    const TColor* ButtonMarginColor;
    const TColor* ButtonBackColor;
    const TColor* ButtonTextColor;
    const TColor* ButtonTintColor;
    const TColor* ButtonHotTrackTintColor;
    const TColor* PushedBriskMarginColor;
    const TColor* PushedMarginColor;
    const TColor* PushedBackColor;
    const TColor* PushedTextColor;
    const TColor* PushedTintColor;
    const TColor* PushedHotTrackTintColor;
    const TColor* WindowBriskMarginColor;
    const TColor* WindowMarginColor;
    const TColor* WindowBackColor;
    const TColor* WindowTextColor;
    const TColor* WindowTintColor;
    const std::string* CaptionFontName;
    const int32_t* CaptionFontSize;
    const std::string* ItemsFontName;
    const int32_t* ItemsFontSize;
    const int32_t* ItemsExtraHeight;
    const bool* InstantScrollbarThumbPaint;
    const int32_t* ScrollbarSensitivity;
    const int32_t* ControlMarginTranslucency;
    const int32_t* ControlBackTranslucency;
    const int32_t* WindowMarginTranslucency;
    const int32_t* WindowBackTranslucency;
    const int32_t* WindowInactiveFocusMarginTranslucency;
    const int32_t* WindowInactiveFocusBackTranslucency;
    const int32_t* WindowActiveFocusMarginTranslucency;
    const int32_t* WindowActiveFocusBackTranslucency;
    const int32_t* ScrollbarThumbMarginTranslucency;
    const int32_t* ScrollbarThumbBackTranslucency;
    const int32_t* ScrollbarBackTranslucency;
    const std::string* NonOvalButtonsStyle;

    // The control whose client area the shared background covers.
    QWidget* SizingControl = nullptr;
    // The shared background, rebuilt by MyTPanel::ResetAll; null until then.
    QImage Background;
    // The prepared skin picture behind the panels; null when there is none.
    QImage BackPicture;

    // Points every skin cell, or every program option cell, at the fields of the same
    // names in the record, which must outlive the binding.
    template <class TSkin>
    void BindSkin(const TSkin& skin)
    {
        FillingColor = &skin.FillingColor;
        GridColor = &skin.GridColor;
        ButtonBriskMarginColor = &skin.ButtonBriskMarginColor;
        ButtonMarginColor = &skin.ButtonMarginColor;
        ButtonBackColor = &skin.ButtonBackColor;
        ButtonTextColor = &skin.ButtonTextColor;
        ButtonTintColor = &skin.ButtonTintColor;
        ButtonHotTrackTintColor = &skin.ButtonHotTrackTintColor;
        PushedBriskMarginColor = &skin.PushedBriskMarginColor;
        PushedMarginColor = &skin.PushedMarginColor;
        PushedBackColor = &skin.PushedBackColor;
        PushedTextColor = &skin.PushedTextColor;
        PushedTintColor = &skin.PushedTintColor;
        PushedHotTrackTintColor = &skin.PushedHotTrackTintColor;
        WindowBriskMarginColor = &skin.WindowBriskMarginColor;
        WindowMarginColor = &skin.WindowMarginColor;
        WindowBackColor = &skin.WindowBackColor;
        WindowTextColor = &skin.WindowTextColor;
        WindowTintColor = &skin.WindowTintColor;
        ControlMarginTranslucency = &skin.ControlMarginTranslucency;
        ControlBackTranslucency = &skin.ControlBackTranslucency;
        WindowMarginTranslucency = &skin.WindowMarginTranslucency;
        WindowBackTranslucency = &skin.WindowBackTranslucency;
        WindowInactiveFocusMarginTranslucency = &skin.WindowInactiveFocusMarginTranslucency;
        WindowInactiveFocusBackTranslucency = &skin.WindowInactiveFocusBackTranslucency;
        WindowActiveFocusMarginTranslucency = &skin.WindowActiveFocusMarginTranslucency;
        WindowActiveFocusBackTranslucency = &skin.WindowActiveFocusBackTranslucency;
        ScrollbarThumbMarginTranslucency = &skin.ScrollbarThumbMarginTranslucency;
        ScrollbarThumbBackTranslucency = &skin.ScrollbarThumbBackTranslucency;
        ScrollbarBackTranslucency = &skin.ScrollbarBackTranslucency;
        NonOvalButtonsStyle = &skin.NonOvalButtonsStyle;
    }
    template <class TOptions>
    void BindProgramOptions(const TOptions& options)
    {
        CaptionFontName = &options.CaptionFontName;
        CaptionFontSize = &options.CaptionFontSize;
        ItemsFontName = &options.ItemsFontName;
        ItemsFontSize = &options.ItemsFontSize;
        ItemsExtraHeight = &options.ItemsExtraHeight;
        InstantScrollbarThumbPaint = &options.InstantScrollbarThumbPaint;
        ScrollbarSensitivity = &options.ScrollbarSensitivity;
    }
};

extern TMyPanelOptions GMyPanelOptions;
