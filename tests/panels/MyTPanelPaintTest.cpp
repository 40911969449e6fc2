#include "panels/MyTPanel.h"

#include "panels/MyPanelOptions.h"

#include "host/Clock.h"

#include "PanelTestSupport.h"

#include "support/Pixels.h"

#include <QCursor>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A skin of distinct solid colours, so each pixel tells what painted it.
TMyPanelSkin MakeTestSkin()
{
    TMyPanelSkin skin;
    skin.FillingColor = 0x202020;
    skin.WindowBackColor = 0xF0F0F0;
    skin.WindowBriskMarginColor = 0x0000FF;
    skin.WindowMarginColor = 0x00FF00;
    skin.ButtonBackColor = 0xFF0000;
    skin.ButtonBriskMarginColor = 0xFF00FF;
    skin.ButtonMarginColor = 0x00FFFF;
    skin.ButtonTintColor = 0xFFFF00;
    skin.ButtonHotTrackTintColor = 0x808000;
    skin.PushedBackColor = 0x0080FF;
    skin.PushedTintColor = 0x800080;
    skin.ScrollbarBackTranslucency = 0;
    return skin;
}

// The test skin over a window whose background has been built; posted paints have run.
class Painted : public testing::Test
{
protected:
    void SetUp() override { GMyPanelOptions.BindSkin(Skin); }

    void Settle()
    {
        Window.AddPanel({0, 0, 1, 1}).ResetAll();
        FlushPaints();
    }

    TMyPanelSkin Skin = MakeTestSkin();
    TPanelWindow Window;
};

TEST_F(Painted, AListShowsItsFrameItsBackAndItsScrollBar)
{
    MyTPanel& list = Window.AddList({10, 10, 200, 10 + 150}, 100);
    list.FaceColorSet = 1;
    Settle();
    const QImage& shown = list.BackBuffer();
    ASSERT_EQ(QSize(200, 160), shown.size());
    EXPECT_EQ(Skin.FillingColor, PixelAt(shown, 0, 80));
    EXPECT_EQ(Skin.WindowBriskMarginColor, PixelAt(shown, 1, 80));
    EXPECT_EQ(Skin.WindowBackColor, PixelAt(shown, 20, 20));

    const QImage& bar = list.ScrollBar->BackBuffer();
    ASSERT_EQ(QSize(TPanelWindow::LineHeight, 150), bar.size());
    ASSERT_EQ(15, list.GetThumbHeight());
    EXPECT_EQ(Skin.ButtonMarginColor, PixelAt(bar, 1, 7)) << "the thumb's frame";
    EXPECT_EQ(Skin.ButtonBackColor, PixelAt(bar, 2, 7)) << "the face's own outline";
    EXPECT_EQ(Skin.ButtonTintColor, PixelAt(bar, 10, 7)) << "the face's centre";
    EXPECT_EQ(Skin.ButtonBackColor, PixelAt(bar, 10, 100)) << "the track";

    list.SetTopIndex(90);
    FlushPaints();
    EXPECT_EQ(Skin.ButtonTintColor, PixelAt(bar, 10, 150 - 15 + 7)) << "the thumb at the end of its track";
}

TEST_F(Painted, AFullyTranslucentTrackShowsWhatLiesBelow)
{
    Skin.ScrollbarBackTranslucency = 100;
    MyTPanel& list = Window.AddList({10, 10, 200, 10 + 150}, 100);
    list.FaceColorSet = 1;
    Settle();
    EXPECT_EQ(Skin.WindowBackColor, PixelAt(list.ScrollBar->BackBuffer(), 10, 100));
}

// An 80 x 20 button whose face is painted from 5 pixels in: 69 x 9 for the gradient.
class PaintedButton : public Painted
{
protected:
    void SetUp() override
    {
        Painted::SetUp();
        Button.FaceColorSet = 0;
        Button.ButtonFace = true;
        Button.HotTrack = true;
        Settle();
    }

    MyTPanel& Button = Window.AddPanel({250, 10, 80, 20});
    MyTPanel& Other = Window.AddPanel({250, 40, 80, 20});
};

TEST_F(PaintedButton, APressedFaceMovesItsCentreDown)
{
    const QImage& shown = Button.BackBuffer();
    EXPECT_EQ(Skin.ButtonTintColor, PixelAt(shown, 39, 9)) << "at rest";
    EXPECT_EQ(Skin.ButtonBackColor, PixelAt(shown, 5, 10));
    Press(Button, {40, 10});
    EXPECT_EQ(Skin.ButtonTintColor, PixelAt(shown, 39, 12)) << "pressed";

    Button.Down = true;
    Button.Repaint();
    EXPECT_EQ(Skin.PushedBackColor, PixelAt(shown, 5, 10));
    EXPECT_EQ(Skin.PushedTintColor, PixelAt(shown, 39, 12));
}

TEST_F(PaintedButton, TheHotLookFollowsTheMouse)
{
    SendMouse(Button, QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(&Button, GMyPanelGlobal.HotPanel);
    EXPECT_TRUE(GMyPanelGlobal.IsTimerEnabled());
    EXPECT_EQ(Skin.ButtonHotTrackTintColor, PixelAt(Button.BackBuffer(), 39, 9));

    QCursor::setPos(Window.Window.mapToGlobal(QPoint(5, 290)));
    GMyPanelGlobal.TimerTick();
    EXPECT_EQ(nullptr, GMyPanelGlobal.HotPanel);
    EXPECT_FALSE(GMyPanelGlobal.IsTimerEnabled());
    EXPECT_EQ(Skin.ButtonTintColor, PixelAt(Button.BackBuffer(), 39, 9));
}

// The clock is moved by hand, so no test waits for the look timer.
class PressedLook : public PaintedButton
{
protected:
    void SetUp() override
    {
        host::SetTickCountSource([this] { return Tick; });
        PaintedButton::SetUp();
        Other.FaceColorSet = 0;
        QCursor::setPos(Window.Window.mapToGlobal(QPoint(5, 290)));
    }
    void TearDown() override { host::SetTickCountSource({}); }

    uint32_t Tick = 100000;
};

TEST_F(PressedLook, AClickLooksPressedForAtLeastAFifthOfASecond)
{
    Press(Button, {40, 10});
    Release(Button, {40, 10});
    Tick += 150;
    GMyPanelGlobal.TimerTick();
    EXPECT_TRUE(Button.Pressed);
    Tick += 50;
    GMyPanelGlobal.TimerTick();
    EXPECT_FALSE(Button.Pressed);
    EXPECT_EQ(nullptr, GMyPanelGlobal.PressedPanel);
    EXPECT_FALSE(GMyPanelGlobal.IsTimerEnabled());
}

TEST_F(PressedLook, PressingAnotherButtonEndsTheFirstLookAtOnce)
{
    Press(Button, {40, 10});
    Press(Other, {40, 10});
    EXPECT_FALSE(Button.Pressed);
    EXPECT_TRUE(Other.Pressed);
    EXPECT_EQ(&Other, GMyPanelGlobal.PressedPanel);
}

TEST_F(Painted, ALevelBarFillsItsShareOfTheInnerHeight)
{
    MyTPanel& bar = Window.AddPanel({10, 10, 20, 10 + 11});
    bar.SetKind(mpkLevelBar);
    bar.OnGetLevel = [] { return 0.5; };
    bar.OnGetLevelColor = [](bool fill) { return fill ? 0x0000AA : 0x00AA00; };
    Settle();
    const QImage& shown = bar.BackBuffer();
    for (int y = 5; y < 10; ++y)
        EXPECT_EQ(0x0000AA, PixelAt(shown, 10, y)) << y;
    EXPECT_EQ(0x00AA00, PixelAt(shown, 10, 10));
    EXPECT_EQ(0x00AA00, PixelAt(shown, 5, 10));
    EXPECT_EQ(Skin.FillingColor, PixelAt(shown, 10, 11));
}

TEST_F(Painted, TheSharedBackgroundCoversTheSizingControl)
{
    Settle();
    EXPECT_EQ(Window.Window.size(), GMyPanelOptions.Background.size());
    EXPECT_EQ(Skin.FillingColor, PixelAt(GMyPanelOptions.Background, 0, 0));
}

TEST_F(Painted, ATransparentPanelShowsThePictureAtRestAndWhenHot)
{
    QImage picture(Window.Window.size(), QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x34, 0x56));
    GMyPanelOptions.BackPicture = picture;
    MyTPanel& clear = Window.AddPanel({10, 10, 80, 30});
    clear.Transparent = true;
    clear.FaceColorSet = 0;
    clear.HotTrack = true;
    MyTPanel& solid = Window.AddPanel({10, 50, 80, 30});
    Settle();
    EXPECT_EQ(0x563412, PixelAt(clear.BackBuffer(), 40, 15));
    EXPECT_EQ(Skin.FillingColor, PixelAt(solid.BackBuffer(), 40, 15));

    GMyPanelGlobal.HotPanel = &clear;
    clear.Repaint();
    EXPECT_EQ(0x563412, PixelAt(clear.BackBuffer(), 40, 15));
}

// The leftmost column holding a pixel of the caption's colour, or -1.
int FirstTextColumn(const QImage& image, TColor text)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (PixelAt(image, x, y) == text)
                return x;
    return -1;
}

TEST_F(Painted, AWrappedCaptionIsNeverCentred)
{
    Skin.WindowTextColor = 0x000000;
    MyTPanel& centred = Window.AddPanel({10, 10, 200, 30});
    centred.HCenterCaption = true;
    centred.SetCaptions("Wide", "");
    MyTPanel& wrapped = Window.AddPanel({10, 50, 200, 30});
    wrapped.HCenterCaption = true;
    wrapped.WordWrap = true;
    wrapped.SetCaptions("Wide", "");
    Settle();
    EXPECT_GT(FirstTextColumn(centred.BackBuffer(), 0), 60);
    const int left = FirstTextColumn(wrapped.BackBuffer(), 0);
    EXPECT_GE(left, 5);
    EXPECT_LT(left, 15);
}

TEST_F(Painted, AFocusMoveInViewRedrawsOnlyTheTwoItems)
{
    MyTPanel& list = Window.AddList({10, 10, 200, 10 + 150}, 100);
    std::vector<int> drawn;
    list.OnDrawItem = [&drawn](QPainter&, int index) { drawn.push_back(index); };
    Settle();
    drawn.clear();
    list.SetFocusIndex(3);
    FlushPaints();
    EXPECT_EQ((std::vector<int>{0, 3}), drawn);

    drawn.clear();
    list.SetFocusIndex(50);
    EXPECT_TRUE(drawn.empty());
    FlushPaints();
    EXPECT_EQ((std::vector<int>{41, 42, 43, 44, 45, 46, 47, 48, 49, 50}), drawn);
}

TEST_F(Painted, NothingPaintsWhilePaintingIsSwitchedOff)
{
    MyTPanel& list = Window.AddList({10, 10, 200, 10 + 150}, 100);
    int drawn = 0;
    list.OnDrawItem = [&drawn](QPainter&, int) { ++drawn; };
    GMyPanelGlobal.PaintingEnabled = false;
    Settle();
    list.Repaint();
    EXPECT_EQ(0, drawn);
    GMyPanelGlobal.PaintingEnabled = true;
    list.Repaint();
    EXPECT_EQ(10, drawn);
}

} // namespace
