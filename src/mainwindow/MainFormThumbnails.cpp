#include "mainwindow/MainForm.h"

#include "panels/MyTPanel.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileIcons.h"
#include "core/files/FileInfo.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/AsciiCase.h"

#include "host/TextDrawing.h"

#include "viewing/PictureCache.h"
#include "viewing/ViewerPlugins.h"

#include <QPainter>

#include <algorithm>

namespace {

// The mark of a normalised side.
const std::string NormalizedMark = "\xC2\xB1";

void DrawInfoText(const std::string& text, QPainter& canvas, QRect infoRect)
{
    DrawTextInRect(text, canvas, true, infoRect, host::DT_NOPREFIX, false, false);
}

std::string SizeLine(int64_t size)
{
    return "Sz " + GetSizeText(6, 0, size);
}

// "W 640 * H 480 | Z 15% |  Sz " and the size; a normalised side is shown at its normal
// size, marked.
std::string PictureLine(const TThumbParams& params, bool enlarge, int32_t minimumSize)
{
    const TProgramOptions& o = ProgramOptions;
    int32_t width = params.PictureWidth;
    int32_t height = params.PictureHeight;
    GetNormalizedPictureSize(params.PictureWidth, params.PictureHeight, o.NormalizeThumbWidthTo,
                             o.NormalizeThumbHeightTo, o.NormalizeThumbWidth, o.NormalizeThumbHeight,
                             o.NormalizeThumbWidth || o.NormalizeThumbHeight, enlarge, minimumSize, width, height);
    return "W " + std::to_string(width) + (o.NormalizeThumbWidth ? NormalizedMark : "") + " * H " +
           std::to_string(height) + (o.NormalizeThumbHeight ? NormalizedMark : "") + " | " + "Z " +
           std::to_string(params.Zoom) + "%" + " | " + " " + SizeLine(params.FileSize);
}

TThumbParams MakeThumbParams(const std::string& fileName, MyTPanel* list, int64_t size, host::FileTime modified,
                             QRect thumbRect)
{
    TThumbParams params;
    params.List = list;
    if (list != nullptr) {
        params.ListScrolled = list->ThumbScrolled;
        params.Repaint = [list] { list->Invalidate(); };
    }
    params.FileName = fileName;
    params.FileSize = size;
    params.FileTime = modified;
    params.Rect = thumbRect;
    params.ShowWhileScrolling = ProgramOptions.ShowWhileScrolling;
    params.SmartQualitySize = ProgramOptions.SmartQualitySize;
    params.HighQuality = ProgramOptions.HighQualityThumb;
    params.FrameColor = SkinOptions.GridColor;
    params.TextColor = SkinOptions.ThumbTextColor;
    params.BackColor = SkinOptions.WindowBackColor;
    return params;
}

bool IsAboveSizeLimit(int64_t size)
{
    return ProgramOptions.MaxThumbFileSize >= 0 && size > ProgramOptions.MaxThumbFileSize;
}

} // namespace

int32_t GetThumbTextLength(QSize thumbSize, int32_t fontSize)
{
    const int64_t area = int64_t{thumbSize.height()} * thumbSize.width();
    return static_cast<int32_t>(std::max<int64_t>(area / std::max(fontSize, 1) / 5, 1000));
}

void TMainForm::PaintThumb(const std::string& fileName, MyTPanel* list, int64_t size, host::FileTime modified,
                           QPainter& canvas, QRect infoRect, QRect thumbRect)
{
    TTraced trace;
    trace.Run([&] {
        if (IsDriveName(fileName) || !PartitionExists(fileName))
            return DrawInfoText("Picture not available", canvas, infoRect);
        const std::string extension = UpperAscii(GetExtension(fileName));
        TThumbParams params = MakeThumbParams(fileName, list, size, modified, thumbRect);
        // With no list the widget painted on (the hover window) shows the render once done.
        if (list == nullptr)
            params.List = dynamic_cast<QWidget*>(canvas.device());
        std::string line;
        const bool iconSource = !GetIconSourceFile(fileName).empty();
        const bool video = IsVideoFile(fileName);
        if (IsPictureFile(fileName) || iconSource || video) {
            if (IsAboveSizeLimit(size) && !iconSource && !video)
                return DrawInfoText("File size too big: " + GetSizeText(6, 0, size), canvas, infoRect);
            params.Route = video ? TThumbRoute::Video : TThumbRoute::Picture;
            params.FitSmallSize = ProgramOptions.FitSmallThumbsSize;
            params.FitSmall = ProgramOptions.FitSmallThumbs && list != nullptr;
            PictureCache.Load(canvas, params);
            if (trace.TakeOver())
                return;
            line = PictureLine(params, params.FitSmall, params.FitSmallSize);
        } else if (IsTextFile(fileName)) {
            params.Route = TThumbRoute::Text;
            params.TextFormat = true;
            params.MaxTextLength = GetThumbTextLength(thumbRect.size(), ProgramOptions.ItemsFontSize);
            params.FillRect = true;
            PictureCache.Load(canvas, params);
            if (trace.TakeOver())
                return;
            line = SizeLine(size);
        } else {
            const int32_t slot = GetViewerPluginIndex(extension);
            if (slot < 0)
                return DrawInfoText("Picture not available", canvas, infoRect);
            const TViewerPluginDrawing drawing = GetViewerPluginDrawing(slot);
            if (drawing.GetPictureSize == nullptr || drawing.LoadFileToBitmap == nullptr)
                return DrawInfoText("Invalid rendering function", canvas, infoRect);
            params.Route = TThumbRoute::Plugin;
            params.GetPictureSize = drawing.GetPictureSize;
            params.LoadFileToBitmap = drawing.LoadFileToBitmap;
            params.TextFormat = ViewerPluginRecachesOnTextFormatChange(slot, extension);
            PictureCache.Load(canvas, params);
            if (trace.TakeOver())
                return;
            line = PictureLine(params, false, -1);
        }
        if (!params.Pending)
            DrawInfoText(line, canvas, infoRect);
    });
    if (!trace.Succeeded())
        DrawInfoText("Picture not available or error", canvas, infoRect);
}
