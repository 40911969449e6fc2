#include "viewing/FileHoverForm.h"

#include "viewing/MediaPlayer.h"
#include "viewing/ViewerWindow.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/text/MyMath.h"
#include "core/text/MyTime.h"

#include "host/TextDrawing.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

TFileHoverForm* FileHoverForm = nullptr;

namespace {

// A rectangle given by its left-top corner and its right-bottom corner just outside it.
QRect RectFromTo(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return {left, top, right - left, bottom - top};
}

// The text block's line that names the folder.
constexpr size_t PathLine = 1;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string DateTimeText(host::FileTime time)
{
    return GetShortDateTimeText("; ", ConvertFileTime(time));
}

} // namespace

TFileHoverForm::TFileHoverForm(MyTMediaPlayer& player)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      Player(player)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QFont defaultFont("Arial");
    defaultFont.setPixelSize(12);
    setFont(defaultFont);
}

void TFileHoverForm::ShowForFile(const THoverRequest& request)
{
    TTraced trace;
    try {
        if (isVisible())
            Hide();
        Shown = true;
        ClipStarted = false;
        ClipRequested = false;
        PlayMedia = request.PlayMedia;
        Position = 0;
        Length = 0;

        QPalette colours = palette();
        colours.setColor(QPalette::Window, ToQColor(request.BackColor));
        setPalette(colours);
        setFont(QFont(QString::fromStdString(request.FontName), request.FontSize));
        TextColor = request.TextColor;
        FrameColor = request.FrameColor;
        FileTitle = request.Title;
        FileSize = request.Size;
        Modified = request.Modified;
        Created = request.Created;
        IsDirectory = request.IsDirectory;
        IsVideo = IsVideoFile(FileTitle);
        IsAudio = IsAudioFile(FileTitle);
        ShowsThumbnail = TSeam<TViewerWindow>::Get().HasThumbnail(FileTitle) ||
                         (IsVideo && (!request.PlayMedia || request.ShowVideoThumbnail));
        SetTexts();
        SetGeometry(request);
        if (IsVideo && request.PlayMedia && !request.ShowVideoThumbnail)
            PlayClip();
        if (Shown)
            show();
    }
    TRACED_CATCH(trace)
}

void TFileHoverForm::SetTexts()
{
    NameText = GetPathName(FileTitle);
    PathText = ExcludeEndBackslash(GetParentPath(FileTitle));
    SizeBytesText = Int64ToSeparatedText(FileSize);
    SizeText = GetSizeText(6, 0, FileSize);
    ModifiedText = DateTimeText(Modified);
    CreatedText = DateTimeText(Created);
    ErrorText.clear();
    LengthText.clear();
    SourceWidth = SourceHeight = ShownWidth = ShownHeight = 0;
}

void TFileHoverForm::SetGeometry(const THoverRequest& request)
{
    const int32_t lh = request.LineHeight;
    LineHeight = lh;
    TextHeight = (IsDirectory ? 4 : 5) * lh;
    const bool mediaArea = ShowsThumbnail || IsVideo || IsAudio;
    const int32_t mediaLines = ShowsThumbnail ? request.PictureHeight : IsVideo ? request.MovieHeight : 0;
    const int32_t width = ShowsThumbnail ? request.PictureWidth : IsVideo ? request.MovieWidth : request.GenericWidth;
    const int32_t mediaTop = mediaArea ? lh : 0;
    const int32_t height = mediaTop + mediaLines * lh + TextHeight + 2;
    const int32_t left = request.X >= width ? request.X - width : request.X + 5 * lh;
    const int32_t top = request.Y >= height ? request.Y - height : 0;
    setGeometry(left, top, width, height);

    const int32_t d = lh - QFontMetrics(font()).height();
    TopLineRect = RectFromTo(5, d / 2 + 1, width - 5, lh - d / 2 + 1);
    MediaRect = RectFromTo(5, mediaTop + 1, width - 5, mediaTop + mediaLines * lh);
}

void TFileHoverForm::PlayClip()
{
    TMediaClipInfo info;
    Player.PlayThumb(FileTitle, this, MediaRect, info);
    // The device may wait for its medium, and meanwhile the user can close the window: the
    // clip must not go on without it.
    if (!Shown) {
        Player.StopHoverClip();
        return;
    }
    ErrorText = info.ErrorText;
    LengthText = info.LengthText;
    SourceWidth = info.SourceWidth;
    SourceHeight = info.SourceHeight;
    ShownWidth = info.ShownWidth;
    ShownHeight = info.ShownHeight;
}

void TFileHoverForm::Hide()
{
    Shown = false;
    hide();
}

void TFileHoverForm::ReplayMedia()
{
    if (!Shown || !(IsVideo || IsAudio))
        return;
    ClipStarted = false;
    ClipRequested = false;
    PlayMedia = true;
    ShowsThumbnail = false;
    if (IsVideo)
        PlayClip();
    FPaint(false, 0, 0);
}

void TFileHoverForm::FPaint(bool progressOnly, int64_t position, int64_t length)
{
    Position = position;
    Length = length;
    if (progressOnly)
        update(TopLineRect);
    else
        update();
}

// An audio clip starts once the window has been painted, but from the event loop: playing
// may wait for the device, and a paint must not.
void TFileHoverForm::RequestAudioClip()
{
    if (ClipRequested || ClipStarted || !Shown || !IsAudio || !PlayMedia || ShowsThumbnail)
        return;
    ClipRequested = true;
    QMetaObject::invokeMethod(
        this, [this] { StartAudioClip(); }, Qt::QueuedConnection);
}

void TFileHoverForm::StartAudioClip()
{
    if (!Shown || ClipStarted || !PlayMedia)
        return;
    PlayClip();
    ClipStarted = Shown && ErrorText.empty();
    update(TopLineRect);
}

std::vector<std::string> TFileHoverForm::GetTextLines() const
{
    std::vector<std::string> lines{"Name " + Quoted(NameText), "Path " + Quoted(PathText)};
    if (!IsDirectory)
        lines.push_back("Size " + SizeText + " (" + SizeBytesText + " bytes)");
    lines.push_back("Created " + CreatedText);
    lines.push_back("Modified " + ModifiedText);
    return lines;
}

std::string TFileHoverForm::GetTopLineText() const
{
    if (ShowsThumbnail)
        return {};
    std::string text;
    if (!ErrorText.empty()) {
        text = "Error " + Quoted(ErrorText);
    } else if (IsVideo) {
        const std::string zoom = SourceHeight > 0 ? std::to_string(ShownHeight * 100 / SourceHeight) : "";
        text = "W " + std::to_string(SourceWidth) + " * H " + std::to_string(SourceHeight) + " | " + "Z " + zoom + "%" +
               " | " + "D " + LengthText;
    } else if (IsAudio) {
        text = PlayMedia ? "D " + LengthText : "Not playing";
    }
    if ((IsVideo || IsAudio) && Length >= 1) {
        const double percent = static_cast<double>(Position) * 100 / static_cast<double>(Length);
        text += " (" + std::to_string(static_cast<int64_t>(std::floor(percent + 0.5))) + "%)";
    }
    return text;
}

bool TFileHoverForm::event(QEvent* event)
{
    // The window is never activated; the column under it keeps the keyboard.
    if (event->type() == QEvent::WindowActivate)
        return true;
    return QWidget::event(event);
}

void TFileHoverForm::paintEvent(QPaintEvent* event)
{
    TTraced trace;
    try {
        QPainter canvas(this);
        canvas.setFont(font());
        canvas.setPen(ToQColor(TextColor));
        canvas.setBrush(palette().color(QPalette::Window));
        if (event->region() != QRegion(TopLineRect))
            PaintFrameAndText(canvas);
        if (ShowsThumbnail)
            TSeam<TViewerWindow>::Get().PaintThumb(FileTitle, FileSize, Modified, canvas, TopLineRect, MediaRect);
        else
            PaintTopLine(canvas);
    }
    TRACED_CATCH(trace)
    RequestAudioClip();
}

void TFileHoverForm::PaintFrameAndText(QPainter& canvas)
{
    canvas.save();
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(0, 0, width() - 1, height() - 1);
    canvas.restore();
    const std::vector<std::string> lines = GetTextLines();
    const int32_t top = height() - TextHeight - 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t lineTop = top + static_cast<int32_t>(i) * LineHeight;
        // A long folder loses its middle.
        const uint32_t format = i == PathLine ? host::DT_NOPREFIX | host::DT_PATH_ELLIPSIS : host::DT_NOPREFIX;
        DrawTextInRect(lines[i], canvas, false, RectFromTo(5, lineTop, width() - 5, lineTop + LineHeight), format,
                       false, true);
    }
}

void TFileHoverForm::PaintTopLine(QPainter& canvas)
{
    if (IsVideo && ErrorText.empty())
        DrawOuterFrame(canvas, MediaRect.left(), MediaRect.top(), ShownWidth, ShownHeight, FrameColor);
    const std::string text = GetTopLineText();
    if (!text.empty())
        DrawTextInRect(text, canvas, false, TopLineRect, host::DT_NOPREFIX, false, true);
}

void TFileHoverForm::mousePressEvent(QMouseEvent*)
{
    // The clip goes with its window.
    Player.StopHoverClip();
    Hide();
}
