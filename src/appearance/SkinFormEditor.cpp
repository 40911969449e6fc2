#include "appearance/SkinForm.h"

#include "core/settings/SkinOptions.h"

#include "viewing/BackPicture.h"
#include "viewing/PictureLoading.h"

#include "core/desktop/ShellExecution.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/ColorForm.h"
#include "core/forms/ColorPanel.h"
#include "core/forms/FileNameDialog.h"
#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/forms/VirtualKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A swatch dragged onto another inside this dialog: the dialog and the swatch's place.
const QString ColorPanelMimeType = "application/x-quillomber-skin-color";
// The "Colors" page shows the colours before this one; the "Window colors" page the rest.
constexpr size_t FirstWindowColor = 21;
constexpr size_t FillingBackPictureColorIndex = 0;
constexpr size_t WindowBackTranslucencyIndex = 3;

const std::array<const char*, 13> TranslucencyCaptions = {
    "Control margin",
    "Control background",
    "Window margin",
    "Window background",
    "Window active focus margin",
    "Window active focus background",
    "Window inactive focus margin",
    "Window inactive focus background",
    "Window selection margin",
    "Window selection background",
    "Scrollbar background",
    "Scrollbar thumb margin",
    "Scrollbar thumb background",
};

const char* const SwatchHint = "(Double) Left click a color to open the stock-color dialog. Right click it to open the "
                               "color dialog. Middle click it to set the default color.";
const char* const BriskMarginHint =
    " The brisk margin is the very thin margin (one pixel) which is used to clearly delimitate the (non-oval) controls "
    "from the surrounding area; normally, it can be the same as the margin color.";
const char* const ColorPagesRemark =
    "Double left click a color to open the stock-color dialog. Right click it to open the color dialog. Middle click "
    "it to set the default color. Drop a color to copy it.";

// A colour field's key without "Color", with the generic file type under its own name.
std::string ColorName(const std::string& key)
{
    std::string name = key.substr(0, key.size() - std::string("Color").size());
    if (name.starts_with("Files"))
        name = "Generic" + name.substr(5);
    return name;
}

// "WindowBack" reads "Window back".
std::string ColorCaption(const std::string& name)
{
    std::string caption;
    for (char c : name) {
        if (!caption.empty() && c >= 'A' && c <= 'Z') {
            caption += ' ';
            c = static_cast<char>(c - 'A' + 'a');
        }
        caption += c;
    }
    return caption;
}

std::string ColorPanelHint(const std::string& key)
{
    std::string hint = SwatchHint;
    if (key.find("BriskMargin") != std::string::npos)
        hint += BriskMarginHint;
    if (key.starts_with("Window"))
        hint += " The columns are windows.";
    if (key == "FillingBackPictureColor")
        hint += " The picture is reloaded every time this is changed.";
    return hint;
}

QAbstractButton* MakeSpeedButton(const char* name, const char* caption, QWidget& parent)
{
    auto* button = new QToolButton(&parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setCheckable(true);
    return button;
}

QComboBox* MakeList(const std::string& name, QWidget& parent)
{
    auto* comboBox = new QComboBox(&parent);
    comboBox->setObjectName(QString::fromStdString(name));
    return comboBox;
}

void FillList(QComboBox& comboBox, const std::vector<int32_t>& choices)
{
    for (const int32_t choice : choices)
        comboBox.addItem(QString::number(choice));
}

void FillList(QComboBox& comboBox, const std::vector<std::string>& choices)
{
    for (const std::string& choice : choices)
        comboBox.addItem(QString::fromStdString(choice));
}

void AddCaptioned(QGridLayout& grid, int row, int column, const char* caption, QWidget& control)
{
    grid.addWidget(new QLabel(caption), row, column);
    grid.addWidget(&control, row, column + 1);
}

void SelectFieldText(QComboBox& comboBox, int32_t value, int32_t fallback)
{
    SelectComboBoxText(comboBox, std::to_string(value), std::to_string(fallback));
}

} // namespace

void TSkinForm::BuildGeneralPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    ToolbarButtonsStyleComboBox = MakeList("ToolbarButtonsStyleComboBox", *page);
    FillList(*ToolbarButtonsStyleComboBox, ToolbarButtonsStyles());
    NonOvalButtonsStyleComboBox = MakeList("NonOvalButtonsStyleComboBox", *page);
    FillList(*NonOvalButtonsStyleComboBox, NonOvalButtonsStyles());
    HintPanelAsWindowSpeedButton = MakeSpeedButton("HintPanelAsWindowSpeedButton", "Hint panel as window", *page);
    AddCaptioned(*grid, 0, 0, "Toolbar buttons style", *ToolbarButtonsStyleComboBox);
    AddCaptioned(*grid, 1, 0, "Non-oval buttons style", *NonOvalButtonsStyleComboBox);
    grid->addWidget(HintPanelAsWindowSpeedButton, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    for (QComboBox* list : {ToolbarButtonsStyleComboBox, NonOvalButtonsStyleComboBox})
        connect(list, &QComboBox::activated, this, [this] { LookControlChanged(); });
    connect(HintPanelAsWindowSpeedButton, &QAbstractButton::clicked, this, [this] { LookControlChanged(); });
    PageControl->addTab(page, "General");
}

void TSkinForm::BuildBackPicturePage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    UseBackPictureSpeedButton = MakeSpeedButton("UseBackPictureSpeedButton", "Use background picture", *page);
    ChangeBackPictureButton = new QPushButton("Change", page);
    ChangeBackPictureButton->setObjectName("ChangeBackPictureButton");
    ViewBackPictureButton = new QPushButton("View", page);
    ViewBackPictureButton->setObjectName("ViewBackPictureButton");
    grid->addWidget(UseBackPictureSpeedButton, 0, 0, 1, 2);
    grid->addWidget(ChangeBackPictureButton, 0, 2);
    grid->addWidget(ViewBackPictureButton, 0, 3);

    BackPictureMinStretchSizeComboBox->setParent(page);
    StretchBackPictureMaxSkewComboBox->setParent(page);
    StretchBackPictureSpeedButton = MakeSpeedButton("StretchBackPictureSpeedButton", "Stretch picture", *page);
    FitBeforeTileBackPictureSpeedButton =
        MakeSpeedButton("FitBeforeTileBackPictureSpeedButton", "Fit before tile", *page);
    grid->addWidget(new QLabel("If the size of the picture is (on both axis) minimum (pixels)"), 1, 0, 1, 3);
    grid->addWidget(BackPictureMinStretchSizeComboBox, 1, 3);
    grid->addWidget(new QLabel("then"), 1, 4);
    grid->addWidget(new QLabel("If its aspect skew is maximum (%)"), 2, 0, 1, 3);
    grid->addWidget(StretchBackPictureMaxSkewComboBox, 2, 3);
    grid->addWidget(new QLabel("then"), 2, 4);
    grid->addWidget(StretchBackPictureSpeedButton, 2, 5);
    grid->addWidget(new QLabel("Else"), 3, 4);
    grid->addWidget(FitBeforeTileBackPictureSpeedButton, 3, 5);
    grid->addWidget(new QLabel("Else tile"), 4, 5);

    const std::array<const char*, 5> captions = {"Fade", "Red - Green", "Green - Blue", "Blue - Red", "Gamma"};
    for (size_t i = 0; i < SkinPictureNumberFields.size(); ++i) {
        const TSkinNumberField& field = SkinPictureNumberFields[i];
        PictureNumberComboBoxes[i] = MakeList(std::string(field.Key) + "ComboBox", *page);
        FillList(*PictureNumberComboBoxes[i], field.Choices());
        AddCaptioned(*grid, 5 + static_cast<int>(i), 0, captions[i], *PictureNumberComboBoxes[i]);
        connect(PictureNumberComboBoxes[i], &QComboBox::activated, this, [this] { PictureControlChanged(); });
    }
    auto* filling = new QGroupBox("Filling", page);
    filling->setObjectName("FillingBackPicturePanel");
    auto* fillingLayout = new QHBoxLayout(filling);
    fillingLayout->addWidget(MakeColorPanel(*filling, FillingBackPictureColorIndex));
    filling->setToolTip(QString::fromStdString(ColorPanelHint(SkinColorFields[FillingBackPictureColorIndex].Key)));
    grid->addWidget(filling, 5, 3, 2, 2);
    ClearColorRotateValuesButton = new QPushButton("Clear values", page);
    RecommendColorRotateButton = new QPushButton("Recommend", page);
    grid->addWidget(ClearColorRotateValuesButton, 7, 3);
    grid->addWidget(RecommendColorRotateButton, 8, 3);
    AcceptBackPictureAutochangeCheckBox->setParent(page);
    grid->addWidget(AcceptBackPictureAutochangeCheckBox, 10, 0, 1, 6);
    grid->setRowStretch(11, 1);

    connect(UseBackPictureSpeedButton, &QAbstractButton::clicked, this, [this] {
        ReadControls();
        ApplySkin(true);
    });
    for (QAbstractButton* button : {StretchBackPictureSpeedButton, FitBeforeTileBackPictureSpeedButton})
        connect(button, &QAbstractButton::clicked, this, [this] { PictureControlChanged(); });
    for (QComboBox* list : {BackPictureMinStretchSizeComboBox, StretchBackPictureMaxSkewComboBox})
        connect(list, &QComboBox::activated, this, [this] { PictureControlChanged(); });
    connect(ClearColorRotateValuesButton, &QPushButton::clicked, this, [this] { ClearColorRotateValues(); });
    connect(RecommendColorRotateButton, &QPushButton::clicked, this, [this] { RecommendColorRotate(); });
    connect(ViewBackPictureButton, &QPushButton::clicked, this,
            [] { RunFile(SkinOptions.BackPictureFileTitle, "", "", false, false); });
    // "Change" acts on the press, so that Ctrl read then is the one the user holds.
    connect(ChangeBackPictureButton, &QPushButton::pressed, this,
            [this] { LoadPicture(IsKeyShiftOnly(GetShiftState(QApplication::keyboardModifiers()), ssCtrl)); });
    PageControl->addTab(page, "Back picture");
}

void TSkinForm::BuildTranslucencyPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (size_t i = 0; i < SkinTranslucencyFields.size(); ++i) {
        TranslucencyComboBoxes[i] = MakeList(std::string(SkinTranslucencyFields[i].Key) + "ComboBox", *page);
        FillList(*TranslucencyComboBoxes[i], PercentChoices());
        AddCaptioned(*grid, static_cast<int>(i % 7), static_cast<int>(i / 7) * 2, TranslucencyCaptions[i],
                     *TranslucencyComboBoxes[i]);
        connect(TranslucencyComboBoxes[i], &QComboBox::activated, this, [this] { LookControlChanged(); });
    }
    grid->setRowStretch(7, 1);
    PageControl->addTab(page, "Translucency");
}

void TSkinForm::BuildColorPages()
{
    const std::array<std::pair<size_t, size_t>, 2> ranges{{{1, FirstWindowColor}, {FirstWindowColor, 48}}};
    const std::array<const char*, 2> titles{"Colors", "Window colors"};
    for (size_t p = 0; p < ranges.size(); ++p) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        auto* grid = new QGridLayout;
        for (size_t i = ranges[p].first; i < ranges[p].second; ++i) {
            const std::string name = ColorName(SkinColorFields[i].Key);
            auto* box = new QGroupBox(QString::fromStdString(ColorCaption(name)), page);
            box->setObjectName(QString::fromStdString(name + "Panel"));
            box->setToolTip(QString::fromStdString(ColorPanelHint(SkinColorFields[i].Key)));
            (new QHBoxLayout(box))->addWidget(MakeColorPanel(*box, i));
            const int place = static_cast<int>(i - ranges[p].first);
            grid->addWidget(box, place / 5, place % 5);
        }
        layout->addLayout(grid);
        auto* remark = new QLabel(ColorPagesRemark, page);
        remark->setWordWrap(true);
        layout->addWidget(remark);
        layout->addStretch();
        PageControl->addTab(page, titles[p]);
    }
}

TColorPanel* TSkinForm::MakeColorPanel(QWidget& parent, size_t index)
{
    auto* panel = new TColorPanel(&parent);
    panel->setObjectName(QString::fromStdString(ColorName(SkinColorFields[index].Key) + "ColorPanel"));
    panel->setMinimumSize(40, 16);
    panel->Tag = SkinColorFields[index].Default;
    SetColorPanel(*panel, SkinColorFields[index].Default);
    panel->setAcceptDrops(index != FillingBackPictureColorIndex);
    panel->installEventFilter(this);
    ColorPanels[index] = panel;
    return panel;
}

void TSkinForm::ReadControls()
{
    TSkinOptions& skin = SkinOptions;
    skin.UseBackPicture = UseBackPictureSpeedButton->isChecked();
    skin.StretchBackPicture = StretchBackPictureSpeedButton->isChecked();
    skin.FitBeforeTileBackPicture = FitBeforeTileBackPictureSpeedButton->isChecked();
    skin.HintPanelAsWindow = HintPanelAsWindowSpeedButton->isChecked();
    for (size_t i = 0; i < SkinPictureNumberFields.size(); ++i)
        skin.*SkinPictureNumberFields[i].Field = GetIntFromComboBoxOrZero(*PictureNumberComboBoxes[i]);
    for (size_t i = 0; i < SkinTranslucencyFields.size(); ++i)
        skin.*SkinTranslucencyFields[i].Field = GetIntFromComboBoxOrZero(*TranslucencyComboBoxes[i]);
    skin.ToolbarButtonsStyle = ToolbarButtonsStyleComboBox->currentText().toStdString();
    skin.NonOvalButtonsStyle = NonOvalButtonsStyleComboBox->currentText().toStdString();
    for (size_t i = 0; i < SkinColorFields.size(); ++i)
        skin.*SkinColorFields[i].Field = ColorPanels[i]->Color;
}

void TSkinForm::SetControls()
{
    const TSkinOptions& skin = SkinOptions;
    UseBackPictureSpeedButton->setChecked(skin.UseBackPicture);
    StretchBackPictureSpeedButton->setChecked(skin.StretchBackPicture);
    FitBeforeTileBackPictureSpeedButton->setChecked(skin.FitBeforeTileBackPicture);
    HintPanelAsWindowSpeedButton->setChecked(skin.HintPanelAsWindow);
    for (size_t i = 0; i < SkinPictureNumberFields.size(); ++i)
        SelectFieldText(*PictureNumberComboBoxes[i], skin.*SkinPictureNumberFields[i].Field,
                        SkinPictureNumberFields[i].Default);
    for (size_t i = 0; i < SkinTranslucencyFields.size(); ++i)
        SelectFieldText(*TranslucencyComboBoxes[i], skin.*SkinTranslucencyFields[i].Field,
                        SkinTranslucencyFields[i].Default);
    SelectComboBoxText(*ToolbarButtonsStyleComboBox, skin.ToolbarButtonsStyle, "");
    SelectComboBoxText(*NonOvalButtonsStyleComboBox, skin.NonOvalButtonsStyle, "");
    for (size_t i = 0; i < SkinColorFields.size(); ++i)
        SetColorPanel(*ColorPanels[i], skin.*SkinColorFields[i].Field);
}

// The lists react to the user's choice only (activated), never to SetControls or to the
// option file's reading. The picture follows its settings only while it is in use.
void TSkinForm::PictureControlChanged()
{
    ReadControls();
    if (UseBackPictureSpeedButton->isChecked())
        ApplySkin(true);
}

void TSkinForm::LookControlChanged()
{
    ReadControls();
    ApplySkin(false);
}

void TSkinForm::ClearColorRotateValues()
{
    for (size_t i = 1; i <= 3; ++i)
        SelectComboBoxText(*PictureNumberComboBoxes[i], "0", "0");
    PictureControlChanged();
}

void TSkinForm::RecommendColorRotate()
{
    TTraced trace;
    trace.Run([&] {
        int32_t redGreen = 0;
        int32_t greenBlue = 0;
        int32_t blueRed = 0;
        const std::string report =
            RecommendPictureColorStatistics(SkinOptions.BackPictureFileTitle, SkinOptions.FillingBackPictureColor,
                                            redGreen, greenBlue, blueRed);
        if (trace.TakeOver())
            return;
        ShowInfoMessage(report);
    });
    trace.ShowFailure("Failed to recommend values.");
}

void TSkinForm::LoadPicture(bool defaultFolder)
{
    TTraced trace;
    trace.Run([&] {
        const std::string start = defaultFolder ? std::string() : SkinOptions.BackPictureFileTitle;
        std::string fileName =
            GetPathName(start).empty() ? GetBackPicturesPath() + "*" : CompleteBackPictureFileName(start);
        const std::string extensions = GetPictureExtensionsAsFilter();
        if (!FileNameDialog(fileName, "Pictures (" + extensions + ")|" + extensions, false))
            return;
        SkinOptions.BackPictureFileTitle = fileName;
        SkinOptions.UseBackPicture = true;
        UseBackPictureSpeedButton->setChecked(true);
        if (SkinOptions.WindowBackTranslucency <= 0) {
            SkinOptions.WindowBackTranslucency = 100;
            SelectComboBoxText(*TranslucencyComboBoxes[WindowBackTranslucencyIndex], "100", "100");
        }
        ApplySkin(true);
    });
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* panel = dynamic_cast<TColorPanel*>(watched);
    if (panel == nullptr)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        ActiveColorPanel = panel;
        if (mouse->button() == Qt::LeftButton) {
            PressedColorPanel = panel;
            PressPosition = mouse->position().toPoint();
        } else {
            ColorPanelMouseDown(*panel, mouse->button());
        }
        return true;
    }
    case QEvent::MouseButtonDblClick:
        PressedColorPanel = nullptr;
        ColorPanelMouseDown(*panel, static_cast<QMouseEvent*>(event)->button());
        return true;
    case QEvent::MouseMove: {
        const QPoint moved = static_cast<QMouseEvent*>(event)->position().toPoint() - PressPosition;
        if (PressedColorPanel == panel && moved.manhattanLength() >= QApplication::startDragDistance()) {
            PressedColorPanel = nullptr;
            StartColorDrag(*panel);
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        PressedColorPanel = nullptr;
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const TColorPanel* source = DraggedColorPanel(*drag->mimeData());
        if (source != nullptr && source != panel && panel->acceptDrops())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (ColorPanelDropped(*panel, *drop->mimeData()))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TSkinForm::ColorPanelMouseDown(TColorPanel& panel, Qt::MouseButton button)
{
    ActiveColorPanel = &panel;
    if (ChooseColorForPanel(panel, button, [this](TColor color) {
            SetColorPanel(*ActiveColorPanel, color);
            ColorPanelChanged(*ActiveColorPanel);
        }))
        ColorPanelChanged(panel);
}

void TSkinForm::ColorPanelChanged(TColorPanel& panel)
{
    ReadControls();
    ApplySkin(&panel == ColorPanels[FillingBackPictureColorIndex]);
}

QMimeData* TSkinForm::ColorPanelDragData(TColorPanel& panel) const
{
    const auto index = std::find(ColorPanels.begin(), ColorPanels.end(), &panel) - ColorPanels.begin();
    auto* data = new QMimeData;
    data->setData(ColorPanelMimeType,
                  QByteArray::number(reinterpret_cast<quintptr>(this)) + ":" + QByteArray::number(index));
    return data;
}

void TSkinForm::StartColorDrag(TColorPanel& panel)
{
    auto* drag = new QDrag(&panel);
    drag->setMimeData(ColorPanelDragData(panel));
    drag->exec(Qt::CopyAction);
}

// Only a swatch of this dialog is taken.
TColorPanel* TSkinForm::DraggedColorPanel(const QMimeData& data) const
{
    const QList<QByteArray> parts = data.data(ColorPanelMimeType).split(':');
    if (parts.size() != 2 || parts[0] != QByteArray::number(reinterpret_cast<quintptr>(this)))
        return nullptr;
    bool valid = false;
    const int index = parts[1].toInt(&valid);
    if (!valid || index < 0 || index >= static_cast<int>(ColorPanels.size()))
        return nullptr;
    return ColorPanels[static_cast<size_t>(index)];
}

bool TSkinForm::ColorPanelDropped(TColorPanel& target, const QMimeData& data)
{
    const TColorPanel* source = DraggedColorPanel(data);
    if (source == nullptr || source == &target || !target.acceptDrops())
        return false;
    SetColorPanel(target, source->Color);
    ColorPanelChanged(target);
    return true;
}
