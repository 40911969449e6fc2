#include "core/forms/ColorForm.h"

#include "core/drawing/StockColors.h"
#include "core/errors/Error.h"
#include "core/forms/ColorPanel.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr int TealIndex = 7;
constexpr int RedIndex = 75;
constexpr TColor Teal = 0x828200;
constexpr TColor Red = 0x0000D2;

// A press of the button on the swatch, as the window system delivers it.
void Press(TColorPanel& panel, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(3, 3), panel.mapToGlobal(QPointF(3, 3)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(&panel, &event);
}

std::string HintOf(const QWidget& widget)
{
    return widget.toolTip().toStdString();
}

TEST(ColorForm, FormShowsTheGridTheRemarkAndCancel)
{
    TColorForm form;
    EXPECT_EQ("Stock colors", form.windowTitle().toStdString());
    EXPECT_EQ(QSize(420, 490), form.size());
    EXPECT_EQ("Stock colors", form.StockColorsBox->title().toStdString());
    EXPECT_EQ(QRect(5, 20, 400, 350), form.ColorsPanel->geometry());
    EXPECT_TRUE(form.RemarkLabel->text().startsWith("Click a color to select it and close the dialog."));
    EXPECT_EQ("&Cancel", form.CancelButton->text().toStdString());
    EXPECT_EQ(0, form.Color);

    form.CancelButton->click();
    EXPECT_EQ(TColorForm::mrCancel, form.result());
    form.setResult(0);
    form.reject();
    EXPECT_EQ(TColorForm::mrCancel, form.result());
}

TEST(ColorForm, GridHoldsTheStockColoursWithTheCurrentOneMarked)
{
    TColorForm form;
    form.Color = Teal;
    form.FillColorPanels();
    // Cells of 390 / 12 by 340 / 12 pixels; a swatch leaves 2 pixels free, the mark a quarter more.
    EXPECT_EQ(QRect(5, 5, 30, 26), form.ColorPanels[0]->geometry());
    EXPECT_EQ(QRect(TealIndex * 32 + 5, 5, 22, 19), form.ColorPanels[TealIndex]->geometry());
    EXPECT_EQ(QRect(11 * 32 + 5, 11 * 28 + 5, 30, 26), form.ColorPanels[143]->geometry());
    EXPECT_EQ("Teal (RGB 0-130-130; Decimal = 33410; Hexadecimal = 0x008282)", HintOf(*form.ColorPanels[TealIndex]));
    for (int k = 0; k < StockColorCount; ++k)
        EXPECT_EQ(CStockColors[k].Color, form.ColorPanels[k]->Color) << k;
    for (int k = StockColorCount; k < 144; ++k) {
        EXPECT_EQ(0, form.ColorPanels[k]->Color) << k;
        EXPECT_TRUE(HintOf(*form.ColorPanels[k]).starts_with("Black (RGB 0-0-0;")) << k;
    }
}

TEST(ColorForm, RightClickMovesTheMarkAndKeepsTheDialogOpen)
{
    TColorForm form;
    std::vector<TColor> heard;
    form.OnColorChange = [&](TColor color) { heard.push_back(color); };
    form.Color = Teal;
    form.FillColorPanels();
    form.show();
    const auto swatches = form.ColorPanels;

    Press(*form.ColorPanels[RedIndex], Qt::RightButton);
    EXPECT_EQ(Red, form.Color);
    EXPECT_EQ(std::vector<TColor>{Red}, heard);
    EXPECT_EQ(swatches, form.ColorPanels);
    EXPECT_EQ(QSize(30, 26), form.ColorPanels[TealIndex]->size());
    EXPECT_EQ(QSize(22, 19), form.ColorPanels[RedIndex]->size());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.ColorsPanel->isVisible());
    EXPECT_EQ(0, form.result());
}

TEST(ColorForm, RightClickWithoutAColourChangeEventDoesNothing)
{
    TColorForm form;
    form.Color = Teal;
    form.FillColorPanels();
    Press(*form.ColorPanels[RedIndex], Qt::RightButton);
    EXPECT_EQ(Teal, form.Color);
    EXPECT_EQ(QSize(22, 19), form.ColorPanels[TealIndex]->size());
}

TEST(ColorForm, MiddleClickPutsTheHintOnTheClipboard)
{
    TColorForm form;
    form.FillColorPanels();
    Press(*form.ColorPanels[RedIndex], Qt::MiddleButton);
    EXPECT_EQ("Red (RGB 210-0-0; Decimal = 13762560; Hexadecimal = 0xD20000)",
              QGuiApplication::clipboard()->text().toStdString());
    EXPECT_EQ(0, form.Color);
}

TEST(ColorFormDialog, LeftClickChoosesTheColourAndCloses)
{
    TModalScript dialogs;
    dialogs.Expect("Stock colors", TColorForm::mrOk, [](const TModalRequest&) {
        ASSERT_NE(nullptr, ColorForm);
        EXPECT_EQ(Teal, ColorForm->Color);
        EXPECT_EQ(QSize(22, 19), ColorForm->ColorPanels[TealIndex]->size());
        Press(*ColorForm->ColorPanels[RedIndex], Qt::LeftButton);
        EXPECT_EQ(TColorForm::mrOk, ColorForm->result());
    });
    TColor color = Teal;
    EXPECT_TRUE(ColorFormDialog(color));
    EXPECT_EQ(Red, color);
    EXPECT_EQ(nullptr, ColorForm);
}

TEST(ColorFormDialog, CancelKeepsTheLastRightClickedColour)
{
    std::vector<TColor> heard;
    TModalScript dialogs;
    dialogs.Expect("Stock colors", TColorForm::mrCancel, [](const TModalRequest&) {
        Press(*ColorForm->ColorPanels[RedIndex], Qt::RightButton);
        Press(*ColorForm->ColorPanels[0], Qt::RightButton);
        ColorForm->CancelButton->click();
    });
    TColor color = Teal;
    EXPECT_FALSE(ColorFormDialog(color, [&](TColor picked) { heard.push_back(picked); }));
    EXPECT_EQ(0, color);
    EXPECT_EQ((std::vector<TColor>{Red, 0}), heard);
    EXPECT_EQ(nullptr, ColorForm);
}

TEST(ColorFormDialog, FailureIsShownAndNotHandedOn)
{
    TModalScript dialogs;
    TShownFailures failures;
    dialogs.Expect("Stock colors", TColorForm::mrOk, [](const TModalRequest&) {
        ColorForm->ColorPanelMouseDown(*ColorForm->ColorPanels[RedIndex], Qt::RightButton);
    });
    failures.Expect(dialogs, "Error");
    TColor color = Teal;
    EXPECT_FALSE(ColorFormDialog(color, [](TColor) { throw std::runtime_error("broken swatch owner"); }));
    EXPECT_EQ(Teal, color);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to show color dialog."));
    EXPECT_NE(std::string::npos, failures.Reports[0].find("broken swatch owner"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(nullptr, ColorForm);
}

class SwatchChoice : public testing::Test
{
protected:
    SwatchChoice()
    {
        Panel.Tag = 0x00FF00;
        SetColorPanel(Panel, Teal);
    }

    TColorPanel Panel;
    TModalScript Dialogs;
};

TEST_F(SwatchChoice, HintNamesTheColourAndTellsHowToChange)
{
    EXPECT_EQ("Teal (RGB 0-130-130; Decimal = 33410; Hexadecimal = 0x008282). (Double) Left click a color to open "
              "the stock-color dialog. Right click it to open the color dialog. Middle click it to set the default "
              "color.",
              HintOf(Panel));
    SetColorPanel(Panel, 0x123456);
    EXPECT_TRUE(HintOf(Panel).starts_with(" (RGB 86-52-18;"));
    EXPECT_EQ(QColor(0x56, 0x34, 0x12), Panel.palette().color(QPalette::Window));
}

TEST_F(SwatchChoice, LeftButtonTakesAStockColour)
{
    Dialogs.Expect("Stock colors", TColorForm::mrOk,
                   [](const TModalRequest&) { Press(*ColorForm->ColorPanels[RedIndex], Qt::LeftButton); });
    Dialogs.Expect("Stock colors", TColorForm::mrCancel);
    EXPECT_TRUE(ChooseColorForPanel(Panel, Qt::LeftButton));
    EXPECT_EQ(Red, Panel.Color);
    EXPECT_TRUE(HintOf(Panel).starts_with("Red (RGB 210-0-0;"));
    EXPECT_FALSE(ChooseColorForPanel(Panel, Qt::LeftButton));
    EXPECT_EQ(Red, Panel.Color);
}

TEST_F(SwatchChoice, RightButtonTakesTheColourDialogsColour)
{
    const std::string caption = QColorDialog().windowTitle().toStdString();
    Dialogs.Expect(caption, QDialog::Accepted, [](const TModalRequest& request) {
        auto* dialog = qobject_cast<QColorDialog*>(request.Dialog);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(QColor(0, 0x82, 0x82), dialog->currentColor());
        dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
    });
    Dialogs.Expect(caption, QDialog::Rejected);
    EXPECT_TRUE(ChooseColorForPanel(Panel, Qt::RightButton));
    EXPECT_EQ(0x332211, Panel.Color);
    EXPECT_FALSE(ChooseColorForPanel(Panel, Qt::RightButton));
    EXPECT_EQ(0x332211, Panel.Color);
}

TEST_F(SwatchChoice, MiddleButtonTakesTheDefaultColour)
{
    EXPECT_TRUE(ChooseColorForPanel(Panel, Qt::MiddleButton));
    EXPECT_EQ(0x00FF00, Panel.Color);
    EXPECT_TRUE(HintOf(Panel).starts_with("Lime (RGB 0-255-0;"));
}

} // namespace
