#pragma once

#include "core/drawing/Color.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class TColorPanel;

// Told of each colour picked with the right button while the dialog stays open.
using TColorChangeEvent = std::function<void(TColor color)>;

// The "Stock colors" dialog: the named colours as a grid of 12 by 12 swatches.
class TColorForm : public QDialog
{
public:
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;
    static constexpr int GridSize = 12;

    explicit TColorForm(QWidget* owner = nullptr);

    // Lays the swatches out afresh: stock colour k in cell k (black in the cells past the
    // table), the current colour's swatches drawn smaller as its mark.
    void FillColorPanels();
    // Left: that colour is chosen and the dialog closes. Right, with a colour-change event:
    // that colour becomes the current one and the event hears of it; the dialog stays.
    // Middle: the swatch's hint goes to the clipboard.
    void ColorPanelMouseDown(TColorPanel& sender, Qt::MouseButton button);

    QGroupBox* StockColorsBox = nullptr;
    QWidget* ColorsPanel = nullptr;
    QLabel* RemarkLabel = nullptr;
    QPushButton* CancelButton = nullptr;
    std::array<TColorPanel*, GridSize * GridSize> ColorPanels{};
    TColorChangeEvent OnColorChange;
    TColor Color = 0;

    // Escape and the window's close button answer as Cancel does.
    void reject() override;

private:
    void BuildControls();
    void PlaceColorPanel(int index, int cellWidth, int cellHeight);
};

// Exists only while ColorFormDialog runs.
extern TColorForm* ColorForm;

// Shows the stock colours with `color` as the current one and leaves the last colour
// picked in it (also after right clicks and Cancel). True when a colour was chosen with
// the left button. Traced; a failure is shown and not handed on.
bool ColorFormDialog(TColor& color, const TColorChangeEvent& onColorChange = {});

// Lets the user give the swatch a new colour: left button from the stock colours, right
// button from the colour dialog, middle button its default colour (its Tag). True when
// the colour was set.
bool ChooseColorForPanel(TColorPanel& panel, Qt::MouseButton button, const TColorChangeEvent& onColorChange = {});
