#pragma once

#include "core/Seam.h"

#include <array>
#include <cstdint>
#include <string>

// Every user option of the program, with its default. The options dialog edits the
// record and applies it; the text option file loads and saves it. Apart from the three
// that ApplyProgramOptions puts into effect, each option is read where it is used.
class TProgramOptions
{
public:
    // General
    bool FirstRun = true;
    bool Autorun = false;
    bool StayOnTop = false;
    bool SecureDoubleExtension = true;
    bool ShowUniversalFileTime = false;
    bool ClassicFileSize = true;
    bool ShowSystemInfo = false;
    bool HotTrackColumnItems = false;
    bool UnderlineHotTrackItems = true;
    bool InstantScrollbarThumbPaint = false;
    int32_t ScrollbarSensitivity = 10;

    // Information bars
    bool ShowColumnInfo = false;
    bool ShowFileInfo = false;
    bool ShowHintBar = true;
    int32_t HintLines = 3;

    // Boards bar
    bool ShowBoardsBar = false;
    bool SynchronizeColumn = false;
    int32_t VisibleBoards = 10;
    int32_t BoardsBarRows = 1;

    // User logo and toolbar
    bool ShowUserLogo = false;
    int32_t UserLogoWidth = 100;
    bool ShowTopLeftUserLogo = false;
    bool CenterToolbarButtons = false;
    bool ShowFileDesc = false;
    bool ShowReferenceInfo = false;

    // Viewer plug-ins: library file names in the Plugins folder, one per slot.
    bool ActivatePlugins = true;
    std::array<bool, 3> ViewerPluginActive = {false, false, false};
    std::array<std::string, 3> ViewerPluginName = {"QM_PVP.dll", "", ""};

    // Column lists
    bool ShowGrid = false;
    bool ShowFilesGroup = true;
    bool DirsAtEnd = false;
    bool SeparateDirs = true;
    bool SeparateLinks = true;
    bool SeparateProgs = true;
    bool SeparateDocs = true;
    bool ShowFileType = false;
    bool ShowExtInType = false;
    int32_t FileTypeWidth = 150;
    bool SimulateFileType = true;
    int32_t SimulateFileTypeWidth = 120;

    // Thumbnails; a negative largest file size means no limit.
    int32_t MaxPictureCacheSize = 30000000;
    int32_t MaxThumbFileSize = 1000000;
    bool HighQualityThumb = true;
    int32_t SmartQualitySize = 200;
    bool ShowWhileScrolling = false;
    bool NormalizeThumbWidth = false;
    int32_t NormalizeThumbWidthTo = 100;
    bool NormalizeThumbHeight = false;
    int32_t NormalizeThumbHeightTo = 100;
    bool TranslucentThumbnailSelection = false;
    bool FitSmallThumbs = false;
    int32_t FitSmallThumbsSize = 100;

    // Fonts
    std::string CaptionFontName = "Arial";
    int32_t CaptionFontSize = 9;
    std::string ItemsFontName = "Arial";
    int32_t ItemsFontSize = 9;
    int32_t ItemsExtraHeight = 4;

    // Mouse operations, by name
    std::string LMBTypeOperation = "Run";
    std::string LMBNameOperation = "Run";
    std::string RMBTypeOperation = "System menu";
    std::string RMBNameOperation = "File menu";
    std::string MMBTypeOperation = "Inter-board file-drag menu";
    std::string MMBNameOperation = "Toggle selection";
    std::string LMBDragTypeOperation = "Copy";
    std::string LMBDragNameOperation = "File-drag menu";
    std::string RMBDragTypeOperation = "Move";
    std::string RMBDragNameOperation = "Enter this directory";
    std::string LMBColumnHeaderOperation = "Enter parent directory";
    std::string RMBColumnHeaderOperation = "Toggle fixed attribute";
    std::string MMBColumnHeaderOperation = "Directory tree navigator dialog";

    // Mouse menu: twelve cells in two columns of six rows, left cell first in each row.
    bool MouseMenuActive = true;
    int32_t MouseMenuTranslucency = 0;
    int32_t MouseMenuSensitivity = 5;
    int32_t MouseMenuItemWidth = 80;
    int32_t MouseMenuItemExtraHeight = 6;
    std::array<std::string, 12> MouseMenuOperation = {"Toggle up selection",
                                                      "Toggle down selection",
                                                      "Toggle selection",
                                                      "Properties",
                                                      "Edit streams (autoload)",
                                                      "Edit",
                                                      "Set as background",
                                                      "View",
                                                      "Delete",
                                                      "Recycle item",
                                                      "Rename file",
                                                      "None"};

    // Column hover window
    bool FileHoverActive = true;
    int32_t FileHoverDelay = 5;
    bool FileHoverPlayMedia = true;
    int32_t FileHoverMediaStartShift = 5;
    bool FileHoverDontPlayAlready = true;
    bool FileHoverShowVideoThumbnail = false;
    int32_t FileHoverSensitivity = 10;
    int32_t FileHoverPictureWidth = 250;
    int32_t FileHoverPictureHeight = 8;
    int32_t FileHoverMovieWidth = 250;
    int32_t FileHoverMovieHeight = 8;
    int32_t FileHoverGenericWidth = 200;

    bool operator==(const TProgramOptions&) const = default;
};

extern TProgramOptions ProgramOptions;

// The settings of the main window's built-in file viewer, kept in the option file with
// the program options; a negative largest text size means no limit.
class TFileViewerSettings
{
public:
    bool FitSmallImages = false;
    bool TextWordWrap = true;
    int32_t MaxTextSize = 100000;
    std::string FontName = "Arial";
    int32_t FontSize = 9;
    bool FontBold = false;

    bool operator==(const TFileViewerSettings&) const = default;
};

// What the options need of the main window; the main window implements it and installs
// itself once it exists.
class TOptionsMainWindow
{
public:
    virtual ~TOptionsMainWindow() = default;
    virtual bool IsStayOnTop() const = 0;
    virtual void SetStayOnTop(bool stayOnTop) = 0;
    virtual TFileViewerSettings& FileViewerSettings() = 0;
};

// Until the main window installs itself, the stand-in has no style to change and keeps
// the viewer's settings.
template <>
TOptionsMainWindow& TSeam<TOptionsMainWindow>::StandIn();

// Puts StayOnTop into effect on the main window (its style is touched only when it
// differs), and ShowUniversalFileTime and ClassicFileSize into the time and size texts.
void ApplyProgramOptions();
