#include "viewing/PictureViewer.h"

#include "viewing/PictureLoading.h"
#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/desktop/Clipboard.h"
#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"

#include "host/ClipboardPicture.h"
#include "host/Drives.h"
#include "host/PictureFiles.h"

#include "panels/MyTPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// The largest picture the viewer decodes: as many pixels as the decoders' allocation limit
// of 1024 MB holds at 4 bytes each. Larger ones show as undecodable.
constexpr int64_t MaxViewedPicturePixels = int64_t{1024} * 1024 * 1024 / 4;

// a x b / c in integers; 0 where there is nothing to divide by.
int64_t MulDivOrZero(int64_t a, int64_t b, int64_t c)
{
    return c == 0 ? 0 : a * b / c;
}

QSize ViewableSize(host::PictureFile& picture)
{
    const QSize size = picture.Size();
    if (size.isEmpty() || int64_t{size.width()} * size.height() > MaxViewedPicturePixels)
        return QSize(0, 0);
    return size;
}

void DrawSmoothly(QImage& target, const QImage& picture)
{
    QPainter canvas(&target);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas.drawImage(QRect(QPoint(0, 0), target.size()), picture);
}

// A colour as the Windows layout holds it: red in the low byte.
TColor ColorOfPixel(QRgb pixel)
{
    return qRed(pixel) | (qGreen(pixel) << 8) | (qBlue(pixel) << 16);
}

std::string SixHexDigits(TColor value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
    return text;
}

} // namespace

TPictureImage::TPictureImage(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void TPictureImage::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    canvas.drawImage(0, 0, Picture);
}

void TPictureImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(point.x(), point.y());
}

void TPictureImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    if (!OnMouseDown || (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton))
        return;
    OnMouseDown(button == Qt::RightButton    ? mbRight
                : button == Qt::MiddleButton ? mbMiddle
                                             : mbLeft,
                point.x(), point.y());
}

TPictureViewer::~TPictureViewer()
{
    delete Image.data();
}

void TPictureViewer::LoadPaint(const std::string& fileName, bool fitSmall, TColor backgroundColor)
{
    TTraced trace;
    trace.Run([&] {
        FileSize = GetFileSize(fileName);
        host::PictureFile picture;
        picture.Open(fileName);
        PaintImage(picture, fitSmall, backgroundColor);
        UpdateHint(-1, -1);
    });
}

void TPictureViewer::LoadPaintPlugin(const std::string& fileName, bool fitSmall, TColor backgroundColor,
                                     TColor textColor, QuillomberGetPictureSize getPictureSize,
                                     QuillomberLoadFileToBitmap loadFileToBitmap)
{
    TTraced trace;
    trace.Run([&] {
        const std::optional<std::string> file = host::WindowsToHost(fileName);
        if (getPictureSize == nullptr || loadFileToBitmap == nullptr || !file)
            return;
        const std::string extension = UpperAscii(GetExtension(fileName));
        const QSize area = GetItemArea();
        int32_t width = -1;
        int32_t height = -1;
        getPictureSize(file->c_str(), extension.c_str(), area.width(), area.height(), &width, &height);
        PictureWidth = width < 1 ? area.width() : width;
        PictureHeight = height < 1 ? area.height() : height;
        PrepareImage(fitSmall, backgroundColor);
        // The plug-in is asked to draw only where there is room.
        if (Image && !Image->Picture.isNull())
            Image->Picture = DrawWithViewerPlugin(loadFileToBitmap, *file, extension, Image->Picture.size(),
                                                  backgroundColor, textColor);
        ColorDepth = "0";
        Frames = 0;
        FileSize = GetFileSize(fileName);
        UpdateHint(-1, -1);
        ShowImage();
    });
}

void TPictureViewer::ViewClipboardPicture(const std::string& fileName, bool fitSmall)
{
    TTraced trace;
    trace.Run([&] {
        const std::optional<QImage> picture = host::GetClipboardPicture();
        if (!picture)
            return;
        if (!host::SavePictureAsPrivateBitmap(*picture, fileName))
            return trace.RaiseSystem("Failed to save picture.", fileName);
        LoadPaint(fileName, fitSmall, 0);
        trace.TakeOver();
    });
}

void TPictureViewer::Clear()
{
    ForgetPicture();
    RenderedWidth = 0;
    RenderedHeight = 0;
    FileSize = 0;
    delete Image.data();
}

QSize TPictureViewer::GetItemArea()
{
    if (!Panel)
        return QSize(0, 0);
    return QSize(std::max(Panel->GetItemsWidth(true), 0), std::max(Panel->height() - 2 * Panel->Border, 0));
}

void TPictureViewer::ForgetPicture()
{
    PictureWidth = 0;
    PictureHeight = 0;
    ColorDepth.clear();
    Frames = 0;
}

void TPictureViewer::PrepareImage(bool fitSmall, TColor backgroundColor)
{
    delete Image.data();
    RenderedWidth = 0;
    RenderedHeight = 0;
    if (!Panel)
        return;
    Image = new TPictureImage(Panel);
    Image->hide();
    const QSize area = GetItemArea();
    GetFitPictureSize(PictureWidth, PictureHeight, area.width(), area.height(), 0, 0, false, fitSmall, RenderedWidth,
                      RenderedHeight);
    RenderedWidth = std::max(RenderedWidth, 0);
    RenderedHeight = std::max(RenderedHeight, 0);
    Image->Picture = QImage(RenderedWidth, RenderedHeight, QImage::Format_RGB32);
    Image->Picture.fill(ToQColor(backgroundColor));
    Image->setGeometry(Panel->Border, Panel->Border, RenderedWidth, RenderedHeight);
    Image->OnMouseMove = [this](int32_t x, int32_t y) { ImageMouseMove(x, y); };
    Image->OnMouseDown = [this](TMouseButton button, int32_t x, int32_t y) { ImageMouseDown(button, x, y); };
}

void TPictureViewer::PaintImage(host::PictureFile& picture, bool fitSmall, TColor backgroundColor)
{
    const QSize size = ViewableSize(picture);
    PictureWidth = size.width();
    PictureHeight = size.height();
    ColorDepth = size.isEmpty() ? std::string() : GetPixelFormatText(picture);
    Frames = size.isEmpty() ? 0 : GetImageFrameCount(picture);
    PrepareImage(fitSmall, backgroundColor);
    if (Image && !Image->Picture.isNull()) {
        // Decoded at the shown size: a decoder that can reduces while it decodes.
        const std::optional<QImage> decoded = picture.Read(Image->Picture.size(), true);
        if (decoded) {
            DrawSmoothly(Image->Picture, *decoded);
        } else {
            ForgetPicture();
            PrepareImage(fitSmall, backgroundColor);
        }
    }
    ShowImage();
}

void TPictureViewer::ShowImage()
{
    if (Image)
        Image->show();
}

void TPictureViewer::UpdateHint(int32_t x, int32_t y)
{
    std::string hint = "File size = " + GetSizeText(6, 0, FileSize) +
                       ". Image width * height = " + std::to_string(PictureWidth) + " * " +
                       std::to_string(PictureHeight) + "; Rendered width * height = " + std::to_string(RenderedWidth) +
                       " * " + std::to_string(RenderedHeight) +
                       ". Zoom = " + std::to_string(MulDivOrZero(RenderedHeight, 100, PictureHeight)) + "%" +
                       ". Color depth = " + ColorDepth + ". Frames = " + std::to_string(Frames) +
                       ". [RMB] = add color to clipboard" + ". [MMB] = add coordinates to clipboard.";
    // Only a point on the picture has a pixel; an empty image has none.
    const bool onPicture = Image && Image->Picture.valid(x, y);
    if (onPicture) {
        const QRgb pixel = Image->Picture.pixel(x, y);
        const TColor color = SwapRedAndBlue(ColorOfPixel(pixel));
        hint += " RGB color = " + std::to_string(qRed(pixel)) + "-" + std::to_string(qGreen(pixel)) + "-" +
                std::to_string(qBlue(pixel)) + "; Decimal color = " + std::to_string(color) +
                "; Hexadecimal color = 0x" + SixHexDigits(color) +
                ". X * Y image = " + std::to_string(MulDivOrZero(x, PictureWidth, RenderedWidth)) + " * " +
                std::to_string(MulDivOrZero(y, PictureHeight, RenderedHeight)) +
                ". X * Y relative (\u2030) = " + std::to_string(MulDivOrZero(x, 1000, RenderedWidth)) + " * " +
                std::to_string(MulDivOrZero(y, 1000, RenderedHeight)) + ". X * Y rendered = " + std::to_string(x) +
                " * " + std::to_string(y) + ".";
    }
    if (Panel)
        Panel->setToolTip(QString());
    if (Image)
        Image->setToolTip(QString::fromStdString(hint));
}

void TPictureViewer::ImageMouseMove(int32_t x, int32_t y)
{
    UpdateHint(x, y);
    if (Image)
        QToolTip::showText(Image->mapToGlobal(QPoint(x, y)), Image->toolTip(), Image);
}

void TPictureViewer::ImageMouseDown(TMouseButton button, int32_t x, int32_t y)
{
    if (!Image || !Image->Picture.valid(x, y) || button == mbLeft)
        return;
    std::string line;
    if (button == mbRight) {
        const QRgb pixel = Image->Picture.pixel(x, y);
        line = "\nRGB(" + IntToWidthText(qRed(pixel), 3) + ", " + IntToWidthText(qGreen(pixel), 3) + ", " +
               IntToWidthText(qBlue(pixel), 3) + ");";
    } else {
        line = "\nXY(" + IntToWidthText(static_cast<int32_t>(MulDivOrZero(x, PictureWidth, RenderedWidth)), 3) + ", " +
               IntToWidthText(static_cast<int32_t>(MulDivOrZero(y, PictureHeight, RenderedHeight)), 3) + ");";
    }
    CopyTextToClipboard(line, "", false, true);
}
