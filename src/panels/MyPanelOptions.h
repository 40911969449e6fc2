#pragma once

#include "core/drawing/Color.h"

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
    TColor ActiveFocusBriskMarginColor = 10210815;
    TColor ActiveFocusMarginColor = 10210815;
    TColor ActiveFocusBackColor = 10210815;
    TColor ActiveFocusTextColor = 0;
    TColor ActiveFocusTintColor = 13824250;
    TColor InactiveFocusBriskMarginColor = 10526880;
    TColor InactiveFocusMarginColor = 10526880;
    TColor InactiveFocusBackColor = 11526625;
    TColor InactiveFocusTextColor = 0;
    TColor InactiveFocusTintColor = 15463930;
    TColor SelectionBriskMarginColor = 14149350;
    TColor SelectionMarginColor = 14149350;
    TColor SelectionBackColor = 14149350;
    TColor SelectionTextColor = 210;
    TColor SelectionTintColor = 16777215;
    TColor ThumbTextColor = 4293250;
    TColor DirsBackColor = 12508390;
    TColor DirsTextColor = 0;
    TColor LinksBackColor = 38400;
    TColor LinksTextColor = 0;
    TColor ProgsBackColor = 3000560;
    TColor ProgsTextColor = 0;
    TColor DocsBackColor = 8519680;
    TColor DocsTextColor = 16777215;
    TColor FilesBackColor = 12500670;
    TColor FilesTextColor = 0;
    int32_t ControlMarginTranslucency = 0;
    int32_t ControlBackTranslucency = 0;
    int32_t WindowMarginTranslucency = 0;
    int32_t WindowBackTranslucency = 0;
    int32_t WindowInactiveFocusMarginTranslucency = 0;
    int32_t WindowInactiveFocusBackTranslucency = 0;
    int32_t WindowActiveFocusMarginTranslucency = 0;
    int32_t WindowActiveFocusBackTranslucency = 0;
    int32_t WindowSelectionMarginTranslucency = 0;
    int32_t WindowSelectionBackTranslucency = 0;
    int32_t ScrollbarThumbMarginTranslucency = 0;
    int32_t ScrollbarThumbBackTranslucency = 0;
    int32_t ScrollbarBackTranslucency = 65;
    std::string NonOvalButtonsStyle = "No edge";
};

// Until the main window binds the skin cells to the current skin (BindSkin(SkinOptions))
// before it makes its first panel, they point into this built-in default skin, so panels
// made without a main window (tests, tools) paint with the skin's defaults. The program option cells point into ProgramOptions.
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
    // The item painter's colours: the looks of the focused and the selected items, the
    // thumbnails' information line and the badges of the item types.
    const TColor* ActiveFocusBriskMarginColor;
    const TColor* ActiveFocusMarginColor;
    const TColor* ActiveFocusBackColor;
    const TColor* ActiveFocusTextColor;
    const TColor* ActiveFocusTintColor;
    const TColor* InactiveFocusBriskMarginColor;
    const TColor* InactiveFocusMarginColor;
    const TColor* InactiveFocusBackColor;
    const TColor* InactiveFocusTextColor;
    const TColor* InactiveFocusTintColor;
    const TColor* SelectionBriskMarginColor;
    const TColor* SelectionMarginColor;
    const TColor* SelectionBackColor;
    const TColor* SelectionTextColor;
    const TColor* SelectionTintColor;
    const TColor* ThumbTextColor;
    const TColor* DirsBackColor;
    const TColor* DirsTextColor;
    const TColor* LinksBackColor;
    const TColor* LinksTextColor;
    const TColor* ProgsBackColor;
    const TColor* ProgsTextColor;
    const TColor* DocsBackColor;
    const TColor* DocsTextColor;
    const TColor* FilesBackColor;
    const TColor* FilesTextColor;
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
    const int32_t* WindowSelectionMarginTranslucency;
    const int32_t* WindowSelectionBackTranslucency;
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
        ActiveFocusBriskMarginColor = &skin.ActiveFocusBriskMarginColor;
        ActiveFocusMarginColor = &skin.ActiveFocusMarginColor;
        ActiveFocusBackColor = &skin.ActiveFocusBackColor;
        ActiveFocusTextColor = &skin.ActiveFocusTextColor;
        ActiveFocusTintColor = &skin.ActiveFocusTintColor;
        InactiveFocusBriskMarginColor = &skin.InactiveFocusBriskMarginColor;
        InactiveFocusMarginColor = &skin.InactiveFocusMarginColor;
        InactiveFocusBackColor = &skin.InactiveFocusBackColor;
        InactiveFocusTextColor = &skin.InactiveFocusTextColor;
        InactiveFocusTintColor = &skin.InactiveFocusTintColor;
        SelectionBriskMarginColor = &skin.SelectionBriskMarginColor;
        SelectionMarginColor = &skin.SelectionMarginColor;
        SelectionBackColor = &skin.SelectionBackColor;
        SelectionTextColor = &skin.SelectionTextColor;
        SelectionTintColor = &skin.SelectionTintColor;
        ThumbTextColor = &skin.ThumbTextColor;
        DirsBackColor = &skin.DirsBackColor;
        DirsTextColor = &skin.DirsTextColor;
        LinksBackColor = &skin.LinksBackColor;
        LinksTextColor = &skin.LinksTextColor;
        ProgsBackColor = &skin.ProgsBackColor;
        ProgsTextColor = &skin.ProgsTextColor;
        DocsBackColor = &skin.DocsBackColor;
        DocsTextColor = &skin.DocsTextColor;
        FilesBackColor = &skin.FilesBackColor;
        FilesTextColor = &skin.FilesTextColor;
        ControlMarginTranslucency = &skin.ControlMarginTranslucency;
        ControlBackTranslucency = &skin.ControlBackTranslucency;
        WindowMarginTranslucency = &skin.WindowMarginTranslucency;
        WindowBackTranslucency = &skin.WindowBackTranslucency;
        WindowInactiveFocusMarginTranslucency = &skin.WindowInactiveFocusMarginTranslucency;
        WindowInactiveFocusBackTranslucency = &skin.WindowInactiveFocusBackTranslucency;
        WindowActiveFocusMarginTranslucency = &skin.WindowActiveFocusMarginTranslucency;
        WindowActiveFocusBackTranslucency = &skin.WindowActiveFocusBackTranslucency;
        WindowSelectionMarginTranslucency = &skin.WindowSelectionMarginTranslucency;
        WindowSelectionBackTranslucency = &skin.WindowSelectionBackTranslucency;
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
