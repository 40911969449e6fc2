#include "viewing/PictureViewer.h"

#include "core/files/FileInfo.h"

#include "panels/MyTPanel.h"

#include "support/PictureFixtures.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr TColor Background = 0x00FF00; // green in the Windows layout
constexpr int32_t PanelBorder = 5;

// A GIF of three frames of one pixel each, written by hand: the decoders cannot write GIF.
std::string ThreeFrameGif()
{
    std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    gif += std::string("\xFF\x00\x00\x00\x00\xFF", 6); // two colours: red, blue
    for (int frame = 0; frame < 3; ++frame) {
        gif += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);                           // 0.1 s a frame
        gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);                  // 1 x 1 at (0, 0)
        gif += std::string(frame == 1 ? "\x02\x02\x4C\x01\x00" : "\x02\x02\x44\x01\x00", 5); // colour 1 or 0
    }
    return gif + ";";
}

class PictureViewer : public testing::Test
{
protected:
    PictureViewer()
    {
        Panel = new MyTPanel(&Window);
        SetPanelItemArea(800, 600);
        Viewer = std::make_unique<TPictureViewer>();
        Viewer->SetPanel(Panel);
    }
    ~PictureViewer() override { Viewer.reset(); }

    void SetPanelItemArea(int width, int height)
    {
        Panel->SetBorder(PanelBorder);
        Panel->SetBounds(0, 0, width + 2 * PanelBorder, height + 2 * PanelBorder);
    }

    std::string Hint() const { return Viewer->Image ? Viewer->Image->toolTip().toStdString() : ""; }
    std::string HintAt(int32_t x, int32_t y)
    {
        Viewer->UpdateHint(x, y);
        return Hint();
    }

    void Press(Qt::MouseButton button, QPoint point)
    {
        QMouseEvent press(QEvent::MouseButtonPress, point, Viewer->Image->mapToGlobal(point), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Viewer->Image.data(), &press);
    }
    void Move(QPoint point)
    {
        QMouseEvent move(QEvent::MouseMove, point, Viewer->Image->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(Viewer->Image.data(), &move);
    }

    TTempDrive Drive{'T'};
    QWidget Window;
    MyTPanel* Panel = nullptr;
    std::unique_ptr<TPictureViewer> Viewer;
};

TEST_F(PictureViewer, ALargePictureIsFittedAndTheHintReadsThePointUnderTheMouse)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    const std::string file = SavePicture(Drive, "photo.jpg", photo);

    Viewer->LoadPaint(file, false, Background);

    ASSERT_TRUE(Viewer->Image);
    EXPECT_TRUE(Viewer->Image->isVisibleTo(Panel));
    EXPECT_EQ(QRect(PanelBorder, PanelBorder, 800, 600), Viewer->Image->geometry());
    EXPECT_EQ(QSize(800, 600), Viewer->Image->Picture.size());
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(400, 300), Qt::blue));
    const std::string facts = "File size = " + GetSizeText(6, 0, GetFileSize(file)) +
                              ". Image width * height = 4000 * 3000; Rendered width * height = 800 * 600. Zoom = "
                              "20%. Color depth = 24 bpp. Frames = 1. [RMB] = add color to clipboard. [MMB] = add "
                              "coordinates to clipboard.";
    EXPECT_EQ(facts, Hint());
    EXPECT_EQ("", Panel->toolTip().toStdString());

    const std::string pointed = HintAt(400, 300);
    EXPECT_EQ(facts, pointed.substr(0, facts.size()));
    EXPECT_NE(std::string::npos, pointed.find(". X * Y image = 2000 * 1500. X * Y relative (\u2030) = 500 * 500. "
                                              "X * Y rendered = 400 * 300."))
        << pointed;
    EXPECT_EQ(facts, HintAt(-1, -1));
}

TEST_F(PictureViewer, APictureLargerThanThePanelIsNeverDecodedWhole)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    const std::string file = SavePicture(Drive, "photo.jpg", photo);
    // 46 MB whole; the limit refuses that and lets the fitted decode through.
    const int savedLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(16);

    Viewer->LoadPaint(file, false, Background);

    QImageReader::setAllocationLimit(savedLimit);
    ASSERT_TRUE(Viewer->Image);
    EXPECT_EQ(800, Viewer->RenderedWidth);
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(400, 300), Qt::blue));
}

TEST_F(PictureViewer, APixelReadsItsColourInThreeNotations)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0x12, 0x34, 0x56));
    Viewer->LoadPaint(SavePicture(Drive, "two.png", picture), false, Background);

    EXPECT_NE(std::string::npos,
              HintAt(0, 0).find(" RGB color = 255-0-0; Decimal color = 16711680; Hexadecimal color = 0xFF0000. "))
        << Hint();
    EXPECT_NE(std::string::npos,
              HintAt(1, 0).find(" RGB color = 18-52-86; Decimal color = 1193046; Hexadecimal color = 0x123456. "))
        << Hint();
}

TEST_F(PictureViewer, TheMouseShowsTheReadoutAndClicksAppendLinesToTheClipboard)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    Viewer->LoadPaint(SavePicture(Drive, "red.png", picture), true, Background);
    ASSERT_EQ(800, Viewer->RenderedWidth);
    QGuiApplication::clipboard()->setText("before");

    Move(QPoint(400, 100));
    EXPECT_NE(std::string::npos, Hint().find("X * Y image = 20 * 5. ")) << Hint();
    Press(Qt::RightButton, QPoint(400, 100));
    Press(Qt::LeftButton, QPoint(400, 100));
    Press(Qt::MiddleButton, QPoint(400, 100));
    Press(Qt::RightButton, QPoint(0, 0));

    EXPECT_EQ("before\nRGB(255,   0,   0);\nXY( 20,   5);\nRGB(255,   0,   0);",
              QGuiApplication::clipboard()->text().toStdString());
}

TEST_F(PictureViewer, ASmallPictureIsEnlargedOnlyWithFitSmall)
{
    const std::string file = SavePicture(Drive, "small.png", SolidPicture(200, 100, Qt::white));
    struct Row
    {
        bool FitSmall;
        QSize Rendered;
        const char* Zoom;
    };
    for (const Row& row : {Row{false, {200, 100}, "Zoom = 100%"}, Row{true, {800, 400}, "Zoom = 400%"}}) {
        Viewer->LoadPaint(file, row.FitSmall, Background);
        ASSERT_TRUE(Viewer->Image) << row.FitSmall;
        EXPECT_EQ(row.Rendered, Viewer->Image->size()) << row.FitSmall;
        EXPECT_EQ(row.Rendered, QSize(Viewer->RenderedWidth, Viewer->RenderedHeight)) << row.FitSmall;
        EXPECT_NE(std::string::npos, Hint().find(row.Zoom)) << Hint();
    }
}

// A picture of the format, four pixels square, painted with its second colour.
QImage PictureOfFormat(QImage::Format format)
{
    QImage picture(4, 4, format);
    if (format == QImage::Format_Indexed8)
        picture.setColorTable({qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(200, 0, 0)});
    picture.fill(1);
    return picture;
}

TEST_F(PictureViewer, TheColourDepthFollowsThePixelFormatOfTheFile)
{
    struct Row
    {
        const char* Name;
        std::string Bytes;
        const char* Depth;
        int32_t Frames = 1;
    };
    const Row rows[] = {
        {"mono.png", PictureBytes(PictureOfFormat(QImage::Format_Mono), "png"), "1 bpp"},
        {"indexed.png", PictureBytes(PictureOfFormat(QImage::Format_Indexed8), "png"), "8 bpp"},
        {"grey.png", PictureBytes(PictureOfFormat(QImage::Format_Grayscale8), "png"), "8 bpp"},
        {"grey16.png", PictureBytes(PictureOfFormat(QImage::Format_Grayscale16), "png"), "16 bpp"},
        {"rgb.png", PictureBytes(PictureOfFormat(QImage::Format_RGB32), "png"), "24 bpp"},
        {"argb.png", PictureBytes(PictureOfFormat(QImage::Format_ARGB32), "png"), "32 bpp"},
        {"rgb48.png", PictureBytes(PictureOfFormat(QImage::Format_RGBX64), "png"), "48 bpp"},
        {"argb64.png", PictureBytes(PictureOfFormat(QImage::Format_RGBA64), "png"), "64 bpp"},
        {"mono.bmp", PictureBytes(PictureOfFormat(QImage::Format_Mono), "bmp"), "1 bpp"},
        {"indexed.bmp", PictureBytes(PictureOfFormat(QImage::Format_Indexed8), "bmp"), "8 bpp"},
        {"rgb.bmp", PictureBytes(PictureOfFormat(QImage::Format_RGB32), "bmp"), "24 bpp"},
        {"rgb.jpg", PictureBytes(PictureOfFormat(QImage::Format_RGB32), "jpeg"), "24 bpp"},
        {"grey.jpg", PictureBytes(PictureOfFormat(QImage::Format_Grayscale8), "jpeg"), "8 bpp"},
        {"two colours.gif", ThreeFrameGif(), "8 bpp", 3},
    };
    for (const Row& row : rows) {
        Drive.WriteFile(row.Name, row.Bytes);
        Viewer->LoadPaint(Drive.Path(row.Name), false, Background);
        EXPECT_EQ(row.Depth, Viewer->ColorDepth) << row.Name;
        EXPECT_EQ(row.Frames, Viewer->Frames) << row.Name;
        EXPECT_NE(std::string::npos, Hint().find(std::string(". Color depth = ") + row.Depth +
                                                 ". Frames = " + std::to_string(row.Frames) + "."))
            << Hint();
    }
}

TEST_F(PictureViewer, AnAnimatedGifCountsItsFrames)
{
    Drive.WriteFile("three.gif", ThreeFrameGif());

    Viewer->LoadPaint(Drive.Path("three.gif"), false, Background);

    EXPECT_EQ(3, Viewer->Frames);
    EXPECT_EQ(1, Viewer->PictureWidth);
    ASSERT_TRUE(Viewer->Image);
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(0, 0), Qt::red));
    EXPECT_NE(std::string::npos, Hint().find(". Frames = 3.")) << Hint();
}

class PictureViewerPlugin : public PictureViewer
{
protected:
    PictureViewerPlugin() : Library(dlopen(SamplePluginHostPath.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        EXPECT_NE(nullptr, Library) << dlerror();
    }
    ~PictureViewerPlugin() override
    {
        if (Library)
            dlclose(Library);
    }

    template <class Entry>
    Entry Find(const char* name) const
    {
        return Library ? reinterpret_cast<Entry>(dlsym(Library, name)) : nullptr;
    }
    void LoadPaintWithSample(const std::string& file, bool fitSmall)
    {
        Viewer->LoadPaintPlugin(file, fitSmall, Background, 0x0000FF, Find<QuillomberGetPictureSize>("GetPictureSize"),
                                Find<QuillomberLoadFileToBitmap>("LoadFileToBitmap"));
    }

    void* Library;
};

TEST_F(PictureViewerPlugin, APluginPictureHasDepthZeroAndNoFrames)
{
    Drive.WriteFile("box.qpt", "QPT 400 300 ffff00\n");

    LoadPaintWithSample(Drive.Path("box.qpt"), false);

    ASSERT_TRUE(Viewer->Image);
    EXPECT_TRUE(Viewer->Image->isVisibleTo(Panel));
    EXPECT_EQ(QSize(400, 300), Viewer->Image->Picture.size());
    EXPECT_EQ("0", Viewer->ColorDepth);
    EXPECT_EQ(0, Viewer->Frames);
    EXPECT_EQ(19, Viewer->FileSize);
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(0, 0), Qt::red)) << "the frame in the text colour";
    EXPECT_NE(std::string::npos, HintAt(200, 150).find(" RGB color = 255-255-0;")) << Hint();
    EXPECT_NE(std::string::npos, Hint().find("Zoom = 100%. Color depth = 0. Frames = 0.")) << Hint();
}

TEST_F(PictureViewerPlugin, APluginWithoutASizeFillsThePanelOnlyWithFitSmall)
{
    Drive.WriteFile("unsized.qpt", "not a QPT picture\n");
    LoadPaintWithSample(Drive.Path("unsized.qpt"), false);
    EXPECT_EQ(800, Viewer->PictureWidth);
    EXPECT_EQ(600, Viewer->PictureHeight);
    EXPECT_EQ(QSize(800, 600), Viewer->Image->Picture.size());
}

int DrawCalls = 0;

void SizeOf400By300(const char*, const char*, int32_t, int32_t, int32_t* width, int32_t* height)
{
    *width = 400;
    *height = 300;
}

void CountDraw(const char*, const char*, QuillomberPluginBitmap*)
{
    ++DrawCalls;
}

TEST_F(PictureViewer, APluginDrawsOnlyWithBothEntryPointsAndRoomToDrawIn)
{
    Drive.WriteFile("any.qpt", "x");
    DrawCalls = 0;
    Viewer->LoadPaintPlugin(Drive.Path("any.qpt"), false, Background, 0, nullptr, CountDraw);
    Viewer->LoadPaintPlugin(Drive.Path("any.qpt"), false, Background, 0, SizeOf400By300, nullptr);
    EXPECT_FALSE(Viewer->Image);

    SetPanelItemArea(0, 0);
    Viewer->LoadPaintPlugin(Drive.Path("any.qpt"), true, Background, 0, SizeOf400By300, CountDraw);
    EXPECT_EQ(0, DrawCalls);
    EXPECT_EQ(0, Viewer->RenderedWidth);
    EXPECT_NE(std::string::npos, Hint().find("Zoom = 0%.")) << Hint();

    SetPanelItemArea(800, 600);
    Viewer->LoadPaintPlugin(Drive.Path("any.qpt"), true, Background, 0, SizeOf400By300, CountDraw);
    EXPECT_EQ(1, DrawCalls);
    EXPECT_EQ(QSize(800, 600), Viewer->Image->Picture.size());
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(10, 10), Qt::green)) << "undrawn shows the background";
}

TEST_F(PictureViewer, WhatGivesNoPictureShowsAnEmptyAreaAtZoomZero)
{
    Drive.WriteFile("garbage.jpg", "this is not a picture at all");
    Drive.WriteFile("empty.png", "");
    // A sound header over pixel data that does not decompress.
    std::string broken = PictureBytes(SolidPicture(20, 10, Qt::red), "png");
    const size_t data = broken.find("IDAT") + 4;
    broken.replace(data, 8, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
    Drive.WriteFile("broken.png", broken);
    for (const char* name : {"garbage.jpg", "empty.png", "missing.png", "broken.png"}) {
        Viewer->LoadPaint(Drive.Path(name), true, Background);
        ASSERT_TRUE(Viewer->Image) << name;
        EXPECT_TRUE(Viewer->Image->Picture.isNull()) << name;
        EXPECT_EQ(0, Viewer->PictureWidth) << name;
        EXPECT_EQ("", Viewer->ColorDepth) << name;
        EXPECT_EQ(0, Viewer->Frames) << name;
        EXPECT_EQ(HintAt(-1, -1), HintAt(0, 0)) << name << ": no pixel to read";
        EXPECT_NE(std::string::npos, Hint().find("Image width * height = 0 * 0; Rendered width * height = 0 * 0. "
                                                 "Zoom = 0%."))
            << Hint();
    }
}

TEST_F(PictureViewer, APanelWithoutAreaShowsNothingOfAPicture)
{
    SetPanelItemArea(0, 0);

    Viewer->LoadPaint(SavePicture(Drive, "red.png", SolidPicture(20, 10, Qt::red)), true, Background);

    EXPECT_EQ(20, Viewer->PictureWidth);
    EXPECT_EQ(0, Viewer->RenderedWidth);
    EXPECT_EQ(0, Viewer->RenderedHeight);
    EXPECT_EQ(HintAt(-1, -1), HintAt(0, 0));
    EXPECT_NE(std::string::npos, Hint().find("Zoom = 0%.")) << Hint();
}

TEST_F(PictureViewer, TheClipboardPictureIsSavedForTheUserAloneAndShown)
{
    const std::string file = Drive.Path("-Quillomber_ClipboardPicture.bmp");
    QGuiApplication::clipboard()->setText("no picture");
    Viewer->ViewClipboardPicture(file, false);
    EXPECT_FALSE(Viewer->Image);
    EXPECT_FALSE(Drive.Exists("-Quillomber_ClipboardPicture.bmp"));

    QGuiApplication::clipboard()->setImage(SolidPicture(30, 20, Qt::blue));
    Viewer->ViewClipboardPicture(file, false);

    ASSERT_TRUE(Viewer->Image);
    EXPECT_EQ(QSize(30, 20), Viewer->Image->Picture.size());
    EXPECT_TRUE(IsNearColor(Viewer->Image->Picture.pixel(5, 5), Qt::blue));
    EXPECT_EQ(std::filesystem::perms(0600),
              std::filesystem::status(Drive.HostPath("-Quillomber_ClipboardPicture.bmp")).permissions() &
                  std::filesystem::perms::mask);
}

TEST_F(PictureViewer, ClearAndThePanelsEndFreeTheImage)
{
    Viewer->LoadPaint(SavePicture(Drive, "red.png", SolidPicture(20, 10, Qt::red)), false, Background);
    ASSERT_TRUE(Viewer->Image);

    Viewer->Clear();
    EXPECT_FALSE(Viewer->Image);
    EXPECT_EQ(0, Viewer->PictureWidth);
    EXPECT_EQ(0, Viewer->RenderedHeight);
    EXPECT_EQ(0, Viewer->FileSize);

    Viewer->LoadPaint(Drive.Path("red.png"), false, Background);
    delete Panel;
    EXPECT_FALSE(Viewer->Image);
}

} // namespace
