#include "core/forms/ColorForm.h"

#include "core/desktop/Clipboard.h"

#include "core/drawing/StockColors.h"
#include "core/errors/Traced.h"
#include "core/forms/ColorPanel.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QApplication>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

TColorForm* ColorForm = nullptr;

namespace {

const char* const RemarkText = "Click a color to select it and close the dialog. [RMB] to select the color and keep "
                               "the dialog open. [MMB] to clip the hint of the color.";

const TStockColor& StockColorOfCell(int index)
{
    return CStockColors[index < StockColorCount ? index : 0];
}

// The mark of the current colour: three quarters of the cell.
int MarkedExtent(int cellExtent)
{
    return static_cast<int>(cellExtent * 0.75L - 2);
}

bool ChooseSystemColor(TColor& color)
{
    QColorDialog dialog(ToQColor(color), QApplication::activeWindow());
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    color = FromQColor(dialog.currentColor());
    return true;
}

} // namespace

TColorForm::TColorForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
}

void TColorForm::BuildControls()
{
    setWindowTitle("Stock colors");
    setFixedSize(420, 490);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    StockColorsBox = new QGroupBox("Stock colors", this);
    StockColorsBox->setGeometry(5, 5, 410, 440);
    ColorsPanel = new QWidget(StockColorsBox);
    ColorsPanel->setGeometry(5, 20, 400, 350);
    RemarkLabel = new QLabel(RemarkText, StockColorsBox);
    RemarkLabel->setGeometry(10, 380, 390, 45);
    RemarkLabel->setWordWrap(true);
    RemarkLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CancelButton = new QPushButton("&Cancel", this);
    CancelButton->setGeometry(175, 455, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TColorForm::reject()
{
    done(mrCancel);
}

void TColorForm::FillColorPanels()
{
    const int cellWidth = (ColorsPanel->width() - 10) / GridSize;
    const int cellHeight = (ColorsPanel->height() - 10) / GridSize;
    for (int index = 0; index < GridSize * GridSize; ++index)
        PlaceColorPanel(index, cellWidth, cellHeight);
}

// The swatches are made once and then only recoloured and moved: the swatch whose
// right click asked for the refill is still handling that click.
void TColorForm::PlaceColorPanel(int index, int cellWidth, int cellHeight)
{
    TColorPanel*& panel = ColorPanels[static_cast<size_t>(index)];
    if (panel == nullptr) {
        panel = new TColorPanel(ColorsPanel);
        panel->OnMouseDown = [this](TColorPanel& sender, Qt::MouseButton button) {
            ColorPanelMouseDown(sender, button);
        };
    }
    const TStockColor& stock = StockColorOfCell(index);
    panel->SetColor(stock.Color);
    const bool marked = stock.Color == Color;
    const int left = index % GridSize * cellWidth + 5;
    const int top = index / GridSize * cellHeight + 5;
    panel->setGeometry(left, top, marked ? MarkedExtent(cellWidth) : cellWidth - 2,
                       marked ? MarkedExtent(cellHeight) : cellHeight - 2);
    panel->setToolTip(QString::fromStdString(stock.Name + GetColorDescription(stock.Color)));
    panel->show();
}

void TColorForm::ColorPanelMouseDown(TColorPanel& sender, Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        Color = sender.Color;
        done(mrOk);
        break;
    case Qt::RightButton:
        if (!OnColorChange)
            return;
        Color = sender.Color;
        ColorsPanel->hide();
        FillColorPanels();
        ColorsPanel->show();
        OnColorChange(Color);
        break;
    case Qt::MiddleButton:
        CopyTextToClipboard(sender.toolTip().toStdString(), "Failed to copy hint to clipboard.", false, false);
        break;
    default:
        break;
    }
}

bool ColorFormDialog(TColor& color, const TColorChangeEvent& onColorChange)
{
    TTraced trace;
    std::unique_ptr<TColorForm> form;
    int modalResult = 0;
    trace.Run([&] {
        form = std::make_unique<TColorForm>();
        ColorForm = form.get();
        ColorForm->OnColorChange = onColorChange;
        ColorForm->Color = color;
        ColorForm->FillColorPanels();
        CentreOnMainWindow(*ColorForm);
        modalResult = RunModal(*ColorForm);
        color = ColorForm->Color;
    });
    trace.ShowFailure("Failed to show color dialog.");
    ColorForm = nullptr;
    return modalResult == TColorForm::mrOk;
}

bool ChooseColorForPanel(TColorPanel& panel, Qt::MouseButton button, const TColorChangeEvent& onColorChange)
{
    TColor color = panel.Color;
    switch (button) {
    case Qt::LeftButton:
        if (!ColorFormDialog(color, onColorChange))
            return false;
        break;
    case Qt::RightButton:
        if (!ChooseSystemColor(color))
            return false;
        break;
    case Qt::MiddleButton:
        color = panel.Tag;
        break;
    default:
        return false;
    }
    SetColorPanel(panel, color);
    return true;
}
