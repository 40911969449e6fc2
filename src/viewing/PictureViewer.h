#pragma once

#include "core/drawing/Color.h"
#include "core/forms/VirtualKeys.h"

#include "quillomber/ViewerPlugin.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class MyTPanel;

namespace host {
class PictureFile;
}

// The control on the viewer panel that shows the picture: it paints its image and hands
// the mouse to its owner in its own coordinates.
class TPictureImage : public QWidget
{
public:
    explicit TPictureImage(QWidget* parent);

    QImage Picture;
    std::function<void(int32_t x, int32_t y)> OnMouseMove;
    std::function<void(TMouseButton button, int32_t x, int32_t y)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The picture half of the file viewer: fits a picture into the viewer panel, shows it on
// an image control there, and keeps the image's hint a readout of the picture and of the
// pixel under the mouse. User-interface thread only.
class TPictureViewer
{
public:
    TPictureViewer() = default;
    ~TPictureViewer();
    TPictureViewer(const TPictureViewer&) = delete;
    TPictureViewer& operator=(const TPictureViewer&) = delete;

    // Remade for every picture; the panel deletes it too when it goes first.
    QPointer<TPictureImage> Image;
    MyTPanel* Panel = nullptr;
    int32_t PictureWidth = 0;
    int32_t PictureHeight = 0;
    int32_t RenderedWidth = 0;
    int32_t RenderedHeight = 0;
    std::string ColorDepth;
    int32_t Frames = 0;
    int64_t FileSize = 0;

    void SetPanel(MyTPanel* panel) { Panel = panel; }

    // Shows the picture file fitted into the panel, enlarged to fit only with `fitSmall`.
    // A file that gives no picture shows an empty area. Traced.
    void LoadPaint(const std::string& fileName, bool fitSmall, TColor backgroundColor);
    // Shows the file as the plug-in draws it; nothing unless both entry points are given.
    void LoadPaintPlugin(const std::string& fileName, bool fitSmall, TColor backgroundColor, TColor textColor,
                         QuillomberGetPictureSize getPictureSize, QuillomberLoadFileToBitmap loadFileToBitmap);
    // Saves the clipboard's picture to the file, readable by the user alone, and shows it;
    // nothing when the clipboard holds no picture. Traced.
    void ViewClipboardPicture(const std::string& fileName, bool fitSmall);
    void Clear();

    // A new, hidden image on the panel at the picture's fitted size, filled with the colour.
    void PrepareImage(bool fitSmall, TColor backgroundColor);
    // Takes the picture's facts and draws it into a new image; an undecodable picture
    // leaves no picture and an empty image.
    void PaintImage(host::PictureFile& picture, bool fitSmall, TColor backgroundColor);
    // The readout of the picture and, for a point inside the image, of its pixel there.
    void UpdateHint(int32_t x, int32_t y);
    void ImageMouseMove(int32_t x, int32_t y);
    void ImageMouseDown(TMouseButton button, int32_t x, int32_t y);

private:
    // The panel's room for the picture, inside its border; none without a panel.
    QSize GetItemArea();
    void ForgetPicture();
    void ShowImage();
};
