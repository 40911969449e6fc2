#include "core/settings/OptionsFile.h"

#include "core/desktop/Program.h"
#include "core/desktop/StartupLink.h"
#include "core/settings/OptionChoices.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/StoredTextList.h"
#include "core/text/AsciiCase.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxNameLength = 31;
constexpr size_t MaxFileNameLength = 259;

// One walk over the stored options, in the file's order; the load reads and the save
// writes along the same walk, so each key is named once.
class TOptionPass
{
public:
    virtual ~TOptionPass() = default;
    virtual void Bool(const std::string& section, const std::string& key, bool& value) = 0;
    virtual void Integer(const std::string& section, const std::string& key, TChoiceLimits limits,
                         int32_t& value) = 0;
    virtual void Number(const std::string& section, const std::string& key, const std::vector<int32_t>& choices,
                        int32_t& value) = 0;
    virtual void Operation(const std::string& section, const std::string& key, const std::vector<std::string>& names,
                           std::string& value) = 0;
    virtual void Text(const std::string& section, const std::string& key, size_t maxLength, std::string& value) = 0;
};

class TOptionReader : public TOptionPass
{
public:
    explicit TOptionReader(TStoredTextList& store) : Store(store) {}

    void Bool(const std::string& section, const std::string& key, bool& value) override
    {
        Store.ReadBool(section, key, value);
    }
    void Integer(const std::string& section, const std::string& key, TChoiceLimits limits, int32_t& value) override
    {
        Store.ReadInteger(section, key, limits.Min, limits.Max, value);
    }
    // The stored text must spell one of the choices exactly ("010" is not 10).
    void Number(const std::string& section, const std::string& key, const std::vector<int32_t>& choices,
                int32_t& value) override
    {
        const std::string text = StoredText(section, key, std::to_string(value));
        const auto found = std::find_if(choices.begin(), choices.end(),
                                        [&](int32_t choice) { return std::to_string(choice) == text; });
        if (found != choices.end())
            value = *found;
    }
    // Any letter case is taken, and the name becomes the list's spelling.
    void Operation(const std::string& section, const std::string& key, const std::vector<std::string>& names,
                   std::string& value) override
    {
        const std::string text = StoredText(section, key, value);
        const auto found = std::find_if(names.begin(), names.end(),
                                        [&](const std::string& name) { return SameTextAscii(name, text); });
        if (found != names.end())
            value = *found;
    }
    void Text(const std::string& section, const std::string& key, size_t maxLength, std::string& value) override
    {
        Store.ReadString(section, key, maxLength, value, false);
    }

private:
    // The stored text as it is, or `fallback` when the key is missing.
    std::string StoredText(const std::string& section, const std::string& key, const std::string& fallback)
    {
        std::string text = fallback;
        Store.ReadString(section, key, std::numeric_limits<size_t>::max(), text, true);
        return text;
    }

    TStoredTextList& Store;
};

class TOptionWriter : public TOptionPass
{
public:
    explicit TOptionWriter(TStoredTextList& store) : Store(store) {}

    void Bool(const std::string& section, const std::string& key, bool& value) override
    {
        Store.WriteBool(section, key, value);
    }
    void Integer(const std::string& section, const std::string& key, TChoiceLimits, int32_t& value) override
    {
        Store.WriteInteger(section, key, value);
    }
    void Number(const std::string& section, const std::string& key, const std::vector<int32_t>&,
                int32_t& value) override
    {
        Store.WriteInteger(section, key, value);
    }
    void Operation(const std::string& section, const std::string& key, const std::vector<std::string>&,
                   std::string& value) override
    {
        Store.WriteString(section, key, value);
    }
    void Text(const std::string& section, const std::string& key, size_t, std::string& value) override
    {
        Store.WriteString(section, key, value);
    }

private:
    TStoredTextList& Store;
};

// The general options up to the toolbar: the part that must be in effect before the
// rest is read.
void PassMainFirstPart(TOptionPass& pass, TProgramOptions& options)
{
    const std::string main = "Main";
    pass.Bool(main, "FirstRun", options.FirstRun);
    pass.Bool(main, "Autorun", options.Autorun);
    pass.Bool(main, "StayOnTop", options.StayOnTop);
    pass.Bool(main, "SecureDoubleExtension", options.SecureDoubleExtension);
    pass.Bool(main, "ShowUniversalFileTime", options.ShowUniversalFileTime);
    pass.Bool(main, "ClassicFileSize", options.ClassicFileSize);
    pass.Bool(main, "ShowColumnInfo", options.ShowColumnInfo);
    pass.Bool(main, "ShowFileInfo", options.ShowFileInfo);
    pass.Bool(main, "ShowHintBar", options.ShowHintBar);
    pass.Bool(main, "ShowSystemInfo", options.ShowSystemInfo);
    pass.Bool(main, "HotTrackColumnItems", options.HotTrackColumnItems);
    pass.Bool(main, "UnderlineHotTrackItems", options.UnderlineHotTrackItems);
    pass.Bool(main, "InstantScrollbarThumbPaint", options.InstantScrollbarThumbPaint);
    pass.Number(main, "ScrollbarSensitivity", ScrollChoices(), options.ScrollbarSensitivity);
    pass.Bool(main, "ShowBoardsBar", options.ShowBoardsBar);
    pass.Bool(main, "SynchronizeColumn", options.SynchronizeColumn);
    pass.Integer(main, "VisibleBoards", VisibleBoardsLimits, options.VisibleBoards);
    pass.Integer(main, "BoardsBarRows", BoardsBarRowsLimits, options.BoardsBarRows);
    pass.Integer(main, "HintLines", HintLinesLimits, options.HintLines);
    pass.Bool(main, "ShowUserLogo", options.ShowUserLogo);
    pass.Integer(main, "UserLogoWidth", UserLogoWidthLimits, options.UserLogoWidth);
    pass.Bool(main, "ShowTopLeftUserLogo", options.ShowTopLeftUserLogo);
    pass.Bool(main, "CenterToolbarButtons", options.CenterToolbarButtons);
}

void PassMouseOperations(TOptionPass& pass, TProgramOptions& options)
{
    const std::string section = "MouseOperations";
    const std::vector<std::string>& click = ClickOperationNames();
    const std::vector<std::string>& drag = DragOperationNames();
    const std::vector<std::string>& header = HeaderOperationNames();
    pass.Operation(section, "LMBTypeOperation", click, options.LMBTypeOperation);
    pass.Operation(section, "LMBNameOperation", click, options.LMBNameOperation);
    pass.Operation(section, "RMBTypeOperation", click, options.RMBTypeOperation);
    pass.Operation(section, "RMBNameOperation", click, options.RMBNameOperation);
    pass.Operation(section, "MMBTypeOperation", click, options.MMBTypeOperation);
    pass.Operation(section, "MMBNameOperation", click, options.MMBNameOperation);
    pass.Operation(section, "LMBDragTypeOperation", drag, options.LMBDragTypeOperation);
    pass.Operation(section, "LMBDragNameOperation", drag, options.LMBDragNameOperation);
    pass.Operation(section, "RMBDragTypeOperation", drag, options.RMBDragTypeOperation);
    pass.Operation(section, "RMBDragNameOperation", drag, options.RMBDragNameOperation);
    pass.Operation(section, "LMBColumnHeaderOperation", header, options.LMBColumnHeaderOperation);
    pass.Operation(section, "RMBColumnHeaderOperation", header, options.RMBColumnHeaderOperation);
    pass.Operation(section, "MMBColumnHeaderOperation", header, options.MMBColumnHeaderOperation);
}

void PassMouseMenu(TOptionPass& pass, TProgramOptions& options)
{
    const std::string section = "MouseMenu2";
    pass.Bool(section, "MouseMenuActive", options.MouseMenuActive);
    pass.Integer(section, "MouseMenuTranslucency", MouseMenuTranslucencyLimits, options.MouseMenuTranslucency);
    pass.Integer(section, "MouseMenuSensitivity", MouseMenuSensitivityLimits, options.MouseMenuSensitivity);
    pass.Integer(section, "MouseMenuItemWidth", MouseMenuItemWidthLimits, options.MouseMenuItemWidth);
    pass.Integer(section, "MouseMenuItemExtraHeight", MouseMenuItemExtraHeightLimits, options.MouseMenuItemExtraHeight);
    for (size_t slot = 0; slot < options.MouseMenuOperation.size(); ++slot)
        pass.Text(section, "MouseMenuOperation" + std::to_string(slot + 1), MaxNameLength,
                  options.MouseMenuOperation[slot]);
}

void PassFileHover(TOptionPass& pass, TProgramOptions& options)
{
    const std::string section = "FileHover";
    pass.Bool(section, "Active", options.FileHoverActive);
    pass.Number(section, "Delay", HoverDelayChoices(), options.FileHoverDelay);
    pass.Bool(section, "PlayMedia", options.FileHoverPlayMedia);
    pass.Number(section, "MediaStartShift", StartShiftChoices(), options.FileHoverMediaStartShift);
    pass.Bool(section, "FileHoverDontPlayAlready", options.FileHoverDontPlayAlready);
    pass.Bool(section, "ShowVideoThumbnail", options.FileHoverShowVideoThumbnail);
    pass.Number(section, "Sensitivity", HoverSensitivityChoices(), options.FileHoverSensitivity);
    pass.Number(section, "PictureWidth", HoverWidthChoices(), options.FileHoverPictureWidth);
    pass.Number(section, "PictureHeight", HoverHeightChoices(), options.FileHoverPictureHeight);
    pass.Number(section, "MovieWidth", HoverWidthChoices(), options.FileHoverMovieWidth);
    pass.Number(section, "MovieHeight", HoverHeightChoices(), options.FileHoverMovieHeight);
    pass.Number(section, "GenericWidth", HoverWidthChoices(), options.FileHoverGenericWidth);
}

void PassViewer(TOptionPass& pass, TFileViewerSettings& viewer)
{
    const std::string section = "Viewer";
    pass.Bool(section, "FitSmallImages", viewer.FitSmallImages);
    pass.Bool(section, "TextWordWrap", viewer.TextWordWrap);
    pass.Integer(section, "MaxTextSize", MaxTextSizeLimits, viewer.MaxTextSize);
    pass.Text(section, "FontName", MaxNameLength, viewer.FontName);
    pass.Integer(section, "FontSize", ViewerFontSizeLimits, viewer.FontSize);
    pass.Bool(section, "FontBold", viewer.FontBold);
}

// The column lists, thumbnails and fonts, some of them kept in "Main".
void PassFileList(TOptionPass& pass, TProgramOptions& options)
{
    const std::string list = "FileList";
    const std::string main = "Main";
    pass.Bool(list, "ShowGrid", options.ShowGrid);
    pass.Bool(list, "ShowFilesGroup", options.ShowFilesGroup);
    pass.Bool(list, "DirsAtEnd", options.DirsAtEnd);
    pass.Bool(list, "SeparateDirs", options.SeparateDirs);
    pass.Bool(list, "SeparateLinks", options.SeparateLinks);
    pass.Bool(list, "SeparateProgs", options.SeparateProgs);
    pass.Bool(list, "SeparateDocs", options.SeparateDocs);
    pass.Bool(list, "ShowFileType", options.ShowFileType);
    pass.Bool(list, "ShowExtInType", options.ShowExtInType);
    pass.Integer(list, "FileTypeWidth", FileTypeWidthLimits, options.FileTypeWidth);
    pass.Bool(list, "SimulateFileType", options.SimulateFileType);
    pass.Number(list, "SimulateFileTypeWidth", TypeWidthChoices(), options.SimulateFileTypeWidth);
    pass.Number(main, "MaxPictureCacheSize", CacheChoices(), options.MaxPictureCacheSize);
    pass.Integer(list, "MaxThumbFileSize", MaxThumbFileSizeLimits, options.MaxThumbFileSize);
    pass.Bool(list, "HighQualityThumb", options.HighQualityThumb);
    pass.Number(list, "SmartQualitySize", QualityChoices(), options.SmartQualitySize);
    pass.Bool(list, "ShowWhileScrolling", options.ShowWhileScrolling);
    pass.Bool(list, "NormalizeThumbWidth", options.NormalizeThumbWidth);
    pass.Integer(list, "NormalizeThumbWidthTo", NormalizeThumbSizeLimits, options.NormalizeThumbWidthTo);
    pass.Bool(list, "NormalizeThumbHeight", options.NormalizeThumbHeight);
    pass.Integer(list, "NormalizeThumbHeightTo", NormalizeThumbSizeLimits, options.NormalizeThumbHeightTo);
    pass.Bool(main, "TranslucentThumbnailSelection", options.TranslucentThumbnailSelection);
    pass.Bool(main, "FitSmallThumbs", options.FitSmallThumbs);
    pass.Number(main, "FitSmallThumbsSize", QualityChoices(), options.FitSmallThumbsSize);
    pass.Text(main, "CaptionFontName", MaxNameLength, options.CaptionFontName);
    pass.Number(main, "CaptionFontSize", FontSizeChoices(), options.CaptionFontSize);
    pass.Text(list, "ItemsFontName", MaxNameLength, options.ItemsFontName);
    pass.Number(list, "ItemsFontSize", FontSizeChoices(), options.ItemsFontSize);
    pass.Number(list, "ItemsExtraHeight", ExtraHeightChoices(), options.ItemsExtraHeight);
    pass.Bool(main, "ActivatePlugins", options.ActivatePlugins);
}

void PassViewerPlugins(TOptionPass& pass, TProgramOptions& options)
{
    const std::string section = "ViewerPlugins";
    for (size_t slot = 0; slot < options.ViewerPluginName.size(); ++slot) {
        pass.Bool(section, "Activate" + std::to_string(slot), options.ViewerPluginActive[slot]);
        pass.Text(section, "Name" + std::to_string(slot), MaxFileNameLength, options.ViewerPluginName[slot]);
    }
}

void PassTheRest(TOptionPass& pass, TProgramOptions& options, TFileViewerSettings& viewer)
{
    pass.Bool("Main", "ShowFileDesc", options.ShowFileDesc);
    pass.Bool("Main", "ShowReferenceInfo", options.ShowReferenceInfo);
    PassMouseOperations(pass, options);
    PassMouseMenu(pass, options);
    PassFileHover(pass, options);
    PassViewer(pass, viewer);
    PassFileList(pass, options);
    PassViewerPlugins(pass, options);
}

} // namespace

void LoadProgramOptionsSTL(TStoredTextList& store)
{
    TOptionReader reader(store);
    PassMainFirstPart(reader, ProgramOptions);
    ApplyProgramOptions();
    PassTheRest(reader, ProgramOptions, TSeam<TOptionsMainWindow>::Get().FileViewerSettings());
}

void SaveProgramOptionsSTL(TStoredTextList& store)
{
    TOptionWriter writer(store);
    ProgramOptions.FirstRun = false;
    PassMainFirstPart(writer, ProgramOptions);
    MakeStartupLinkByStatus(GetProgramPath(), ProgramOptions.Autorun);
    PassTheRest(writer, ProgramOptions, TSeam<TOptionsMainWindow>::Get().FileViewerSettings());
}
