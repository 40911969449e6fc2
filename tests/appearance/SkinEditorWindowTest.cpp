#include "appearance/SkinForm.h"

#include "mainwindow/BoardTestWindow.h"

#include "core/settings/SkinOptions.h"

#include "columns/Column.h"
#include "panels/MyTPanel.h"

#include "core/forms/ColorPanel.h"

#include "support/Pixels.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor Blue = 0xFF0000;

// The editor works on the real window: a colour dropped onto "Window back" shows in the
// columns' background at the next paint.
TEST(SkinEditorOnTheWindow, ASwatchChangeRecoloursTheColumnsAtOnce)
{
    TBoardTestWindow window;
    TMainForm& form = window.Open();
    form.resize(800, 700);
    form.show();
    QCoreApplication::processEvents();
    TSkinForm editor(&form);
    editor.SetControls();
    TColorPanel& grid = *editor.findChild<TColorPanel*>("GridColorPanel");
    TColorPanel& windowBack = *editor.findChild<TColorPanel*>("WindowBackColorPanel");
    SetColorPanel(grid, Blue);
    std::unique_ptr<QMimeData> data(editor.ColorPanelDragData(grid));
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&windowBack, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&windowBack, &drop);
    ASSERT_EQ(Blue, SkinOptions.WindowBackColor);

    MyTPanel& list = *form.ActiveColumn()->FileList;
    // The window lays itself out again in its own next turn.
    QCoreApplication::processEvents();
    QImage image(list.size(), QImage::Format_RGB32);
    list.render(&image);
    EXPECT_EQ(Blue, PixelAt(image, list.width() / 2, list.height() - 8));
    SkinOptions = TSkinOptions();
}

} // namespace
