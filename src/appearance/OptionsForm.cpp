#include "appearance/OptionsForm.h"
#include "appearance/OptionControls.h"

#include "viewing/ViewerPlugins.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/FileNameDialog.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

TOptionsForm* OptionsForm = nullptr;

namespace {

// The designed size; the form grows beyond it where the desktop's font needs more room.
constexpr int FormWidth = 480;
constexpr int FormHeight = 520;
constexpr int FormMargin = 8;
// Below the pages: the buttons' row and the margins around it.
constexpr int ButtonsHeight = 48;
constexpr int ButtonWidth = 78;
constexpr int ButtonHeight = 25;
constexpr int ButtonStep = 82;
constexpr int DropDownRows = 20;
constexpr int ListWidthInCharacters = 12;
constexpr int MouseMenuZonesPerRow = 2;
// The mouse menu's zones 7 to 12 stand below a separator line.
constexpr int MouseMenuZonesAboveLine = 6;

const std::string PluginFilter = "Plugin (*.dll *.so)|*.dll;*.so";

struct TPageTitle
{
    TOptionsPage Page;
    const char* Title;
    // The columns of cells a plain page is laid out in.
    int Columns;
};

constexpr TPageTitle PlainPages[] = {{TOptionsPage::General, "General", 2},
                                     {TOptionsPage::Column, "Column", 1},
                                     {TOptionsPage::Viewer, "Viewer", 1},
                                     {TOptionsPage::MouseOperations, "Mouse operations", 1}};
constexpr TPageTitle HoverPage = {TOptionsPage::Hover, "Hover", 1};

constexpr TTakeStage TakeStages[] = {TTakeStage::Main,      TTakeStage::Fonts,
                                     TTakeStage::Viewer,    TTakeStage::MouseOperations,
                                     TTakeStage::MouseMenu, TTakeStage::Hover,
                                     TTakeStage::Plugins};

QWidget* MakeControl(const TOptionControl& row, QWidget* parent)
{
    QWidget* control = nullptr;
    if (row.Kind == TControlKind::CheckBox) {
        control = new QCheckBox(QString::fromStdString(row.Caption), parent);
    } else if (row.Kind == TControlKind::Edit) {
        control = new QLineEdit(parent);
    } else {
        auto* comboBox = new QComboBox(parent);
        comboBox->setEditable(row.Kind != TControlKind::List);
        comboBox->setInsertPolicy(QComboBox::NoInsert);
        comboBox->setMaxVisibleItems(DropDownRows);
        // Wide enough for its longest item, so that no name is cut.
        comboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        comboBox->setMinimumContentsLength(ListWidthInCharacters);
        FillOptionItems(row, *comboBox);
        control = comboBox;
    }
    control->setObjectName(QString::fromStdString(row.Name));
    return control;
}

bool HasOwnLabel(const TOptionControl& row)
{
    return row.Kind != TControlKind::CheckBox && !row.Caption.empty();
}

// The page's controls as cells: a check box, or a label and its control; a control
// without a caption joins the cell before it.
std::vector<QWidget*> MakeCells(const std::vector<TOptionControl>& rows, const std::vector<QWidget*>& controls,
                                TOptionsPage page, QWidget* parent)
{
    std::vector<QWidget*> cells;
    std::vector<QHBoxLayout*> cellLayouts;
    QHBoxLayout* lastCell = nullptr;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Page != page)
            continue;
        const bool joins = rows[i].Kind != TControlKind::CheckBox && rows[i].Caption.empty() && lastCell != nullptr;
        if (!joins) {
            cells.push_back(new QWidget(parent));
            lastCell = new QHBoxLayout(cells.back());
            lastCell->setContentsMargins(0, 0, 0, 0);
            cellLayouts.push_back(lastCell);
            if (HasOwnLabel(rows[i]))
                lastCell->addWidget(new QLabel(QString::fromStdString(rows[i].Caption), cells.back()));
        }
        controls[i]->setParent(cells.back());
        lastCell->addWidget(controls[i]);
    }
    for (QHBoxLayout* cell : cellLayouts)
        cell->addStretch(1);
    return cells;
}

// Cells top to bottom, column after column.
QWidget* MakePlainPage(const std::vector<TOptionControl>& rows, const std::vector<QWidget*>& controls,
                       const TPageTitle& title)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const std::vector<QWidget*> cells = MakeCells(rows, controls, title.Page, page);
    grid->setVerticalSpacing(2);
    const int perColumn = (static_cast<int>(cells.size()) + title.Columns - 1) / title.Columns;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i)
        grid->addWidget(cells[static_cast<size_t>(i)], i % perColumn, i / perColumn);
    grid->setRowStretch(perColumn, 1);
    return page;
}

bool LeavesBox(const QFocusEvent& event, const QComboBox& box)
{
    if (event.reason() == Qt::PopupFocusReason || event.reason() == Qt::ActiveWindowFocusReason)
        return false;
    // The box's own drop-down list takes the focus while it is open.
    return QApplication::focusWidget() != static_cast<QWidget*>(box.view());
}

} // namespace

TOptionsForm::TOptionsForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TOptionsForm::~TOptionsForm()
{
    if (OptionsForm == this)
        OptionsForm = nullptr;
}

void TOptionsForm::BuildForm()
{
    setWindowTitle("Program options");
    PageControl = new QTabWidget(this);
    // Every tab stands in the bar: the form is made wide enough for all seven.
    PageControl->setUsesScrollButtons(false);
    PageControl->setElideMode(Qt::ElideNone);
    MakeControls();
    BuildPages();

    const QRect button(0, 0, ButtonWidth, ButtonHeight);
    OkayButton = AddButton(this, "&Okay", button);
    CancelButton = AddButton(this, "&Cancel", button);
    HelpButton = AddButton(this, "&Help", button);
    connect(OkayButton, &QPushButton::clicked, this, [this] { done(mrOkay); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    FitToContents();
}

// The designed size, or more where the pages need it with the desktop's font: the whole
// tab bar and every list as wide as its longest item.
void TOptionsForm::FitToContents()
{
    // A list's width changes with the fonts listed; its parents' layouts learn it now, not
    // at their next turn, which a hidden form never gets.
    for (QWidget* child : PageControl->findChildren<QWidget*>())
        child->updateGeometry();
    const QSize pages = PageControl->sizeHint();
    const int width = std::max(FormWidth, pages.width() + 2 * FormMargin);
    const int height = std::max(FormHeight, pages.height() + FormMargin + ButtonsHeight);
    setFixedSize(width, height);
    PageControl->setGeometry(FormMargin, FormMargin, width - 2 * FormMargin, height - FormMargin - ButtonsHeight);
    const int buttonTop = height - ButtonsHeight + (ButtonsHeight - ButtonHeight) / 2 - 1;
    int buttonLeft = width - 3 * ButtonStep - 6;
    for (QPushButton* button : {OkayButton, CancelButton, HelpButton}) {
        button->move(buttonLeft, buttonTop);
        buttonLeft += ButtonStep;
    }
}

void TOptionsForm::MakeControls()
{
    for (const TOptionControl& row : OptionControls()) {
        Controls.push_back(MakeControl(row, this));
        // The box holds the focus for its line edit, so the box is told when the focus leaves.
        if (row.Kind == TControlKind::EditableList && row.Take == TTakeRule::NumberInRange)
            Controls.back()->installEventFilter(this);
    }
}

void TOptionsForm::BuildPages()
{
    const std::vector<TOptionControl>& rows = OptionControls();
    for (const TPageTitle& title : PlainPages)
        PageControl->addTab(MakePlainPage(rows, Controls, title), title.Title);
    PageControl->addTab(BuildMouseMenuPage(), "Mouse menu");
    PageControl->addTab(MakePlainPage(rows, Controls, HoverPage), HoverPage.Title);
    PageControl->addTab(BuildPluginsPage(), "Plugins");
}

// The zones stand as the mouse menu's items do: two columns, odd zones left, and a line
// between the first three rows and the last three.
QWidget* TOptionsForm::BuildMouseMenuPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* operations = new QGroupBox("Operations", page);
    auto* zones = new QGridLayout(operations);
    for (int zone = 0; zone < static_cast<int>(ProgramOptions.MouseMenuOperation.size()); ++zone) {
        QWidget* control = Control("MouseOperationZone" + std::to_string(zone + 1) + "ComboBox");
        control->setParent(operations);
        const int belowLine = zone >= MouseMenuZonesAboveLine ? 1 : 0;
        zones->addWidget(control, zone / MouseMenuZonesPerRow + belowLine, zone % MouseMenuZonesPerRow);
    }
    auto* line = new QFrame(operations);
    line->setFrameShape(QFrame::HLine);
    zones->addWidget(line, MouseMenuZonesAboveLine / MouseMenuZonesPerRow, 0, 1, MouseMenuZonesPerRow);
    layout->addWidget(operations);

    auto* general = new QGroupBox("General options", page);
    auto* generalLayout = new QVBoxLayout(general);
    const std::vector<TOptionControl>& rows = OptionControls();
    std::vector<TOptionControl> options;
    std::vector<QWidget*> optionControls;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Page == TOptionsPage::MouseMenu && !rows[i].Name.starts_with("MouseOperationZone")) {
            options.push_back(rows[i]);
            optionControls.push_back(Controls[i]);
        }
    for (QWidget* cell : MakeCells(options, optionControls, TOptionsPage::MouseMenu, general))
        generalLayout->addWidget(cell);
    layout->addWidget(general);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionsForm::BuildPluginsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QWidget* activate = Control("ActivatePluginsCheckBox");
    activate->setParent(page);
    layout->addWidget(activate);
    auto* kinds = new QTabWidget(page);
    auto* pictureViewer = new QWidget;
    auto* panels = new QVBoxLayout(pictureViewer);
    for (int32_t panel = 0; panel < static_cast<int32_t>(PluginLoadButtons.size()); ++panel) {
        auto* frame = new QFrame(pictureViewer);
        frame->setFrameShape(QFrame::StyledPanel);
        auto* row = new QHBoxLayout(frame);
        const std::string number = std::to_string(panel + 1);
        for (const std::string& name :
             {"PictureViewerPlugin" + number + "CheckBox", "PictureViewerPluginName" + number + "Edit"}) {
            Control(name)->setParent(frame);
            row->addWidget(Control(name));
        }
        PluginLoadButtons[static_cast<size_t>(panel)] = new QPushButton("Load", frame);
        PluginInfoButtons[static_cast<size_t>(panel)] = new QPushButton("Info", frame);
        row->addWidget(PluginLoadButtons[static_cast<size_t>(panel)]);
        row->addWidget(PluginInfoButtons[static_cast<size_t>(panel)]);
        connect(PluginLoadButtons[static_cast<size_t>(panel)], &QPushButton::clicked, this,
                [this, panel] { PictureViewerPluginNameButtonClick(panel); });
        connect(PluginInfoButtons[static_cast<size_t>(panel)], &QPushButton::clicked, this,
                [this, panel] { PictureViewerPluginInfoButtonClick(panel); });
        panels->addWidget(frame);
    }
    panels->addStretch(1);
    kinds->addTab(pictureViewer, "Picture viewer");
    layout->addWidget(kinds, 1);
    return page;
}

QWidget* TOptionsForm::Control(const std::string& name) const
{
    const std::vector<TOptionControl>& rows = OptionControls();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Name == name)
            return Controls[i];
    return nullptr;
}

QLineEdit& TOptionsForm::PluginNameEdit(int32_t panel) const
{
    return static_cast<QLineEdit&>(*Control("PictureViewerPluginName" + std::to_string(panel + 1) + "Edit"));
}

bool TOptionsForm::Dialog()
{
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        SetControls();
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
        FormClose(result);
    });
    trace.ShowFailure("Failed to show options.");
    return result == mrOkay;
}

void TOptionsForm::SetControls()
{
    FillFontLists();
    FitToContents();
    const std::vector<TOptionControl>& rows = OptionControls();
    for (size_t i = 0; i < rows.size(); ++i)
        ShowOptionValue(rows[i], *Controls[i]);
}

void TOptionsForm::FormClose(int result)
{
    if (result == mrOkay) {
        const std::vector<TOptionControl>& rows = OptionControls();
        for (const TTakeStage stage : TakeStages) {
            for (size_t i = 0; i < rows.size(); ++i)
                if (rows[i].Stage == stage)
                    TakeOptionValue(rows[i], *Controls[i]);
            if (stage == TTakeStage::Fonts)
                ApplyProgramOptions();
        }
    }
    EmptyFontLists();
}

void TOptionsForm::FillFontLists()
{
    const QStringList families = QFontDatabase::families();
    const std::vector<TOptionControl>& rows = OptionControls();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Kind == TControlKind::FontList) {
            auto* comboBox = static_cast<QComboBox*>(Controls[i]);
            comboBox->clear();
            comboBox->addItems(families);
        }
}

void TOptionsForm::EmptyFontLists()
{
    const std::vector<TOptionControl>& rows = OptionControls();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Kind == TControlKind::FontList) {
            auto* comboBox = static_cast<QComboBox*>(Controls[i]);
            comboBox->clear();
            comboBox->clearEditText();
        }
}

void TOptionsForm::NormalizeThumbToComboBoxExit(QComboBox& comboBox)
{
    const std::vector<TOptionControl>& rows = OptionControls();
    for (size_t i = 0; i < rows.size(); ++i)
        if (Controls[i] == &comboBox)
            GetIntFromComboBox(comboBox, rows[i].Limits.Min, rows[i].Limits.Max, rows[i].Limits.Default);
}

void TOptionsForm::PictureViewerPluginNameButtonClick(int32_t panel)
{
    QLineEdit& edit = PluginNameEdit(panel);
    const std::string pluginsPath = IncludeEndBackslash(GetPluginsPath());
    const std::string name = edit.text().toStdString();
    std::string fileName = pluginsPath + (name.empty() ? "*.dll" : name);
    if (!FileNameDialog(fileName, PluginFilter, false))
        return;
    // Only a library in the Plugins folder can be chosen: the options keep its bare name.
    const bool inPlugins = IsSameFile(ExcludeEndBackslash(GetParentPath(fileName)), ExcludeEndBackslash(pluginsPath));
    edit.setText(inPlugins ? QString::fromStdString(GetPathName(fileName)) : QString());
}

// Load failures are traced, never shown: the warnings say what the user needs to know.
void TOptionsForm::PictureViewerPluginInfoButtonClick(int32_t panel)
{
    TTraced trace;
    trace.Run([&] {
        const TViewerPluginInfo info = ReadViewerPluginInfo(PluginNameEdit(panel).text().toStdString());
        if (!info.Loaded)
            ShowWarningMessage("Invalid plugin file.");
        else if (!info.HasInfo)
            ShowWarningMessage("This plugin contains no information.");
        else
            ShowInfoMessage("Plugin information:\n\n" + info.Info + "\n\nProcessed file extensions: \"" +
                            info.Extensions + "\"");
    });
}

void TOptionsForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

// Only moving to another control leaves the box: opening its own list or switching to
// another window does not, and must not raise the warning while the user is still typing.
bool TOptionsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        if (auto* comboBox = qobject_cast<QComboBox*>(watched);
            comboBox != nullptr && LeavesBox(static_cast<QFocusEvent&>(*event), *comboBox))
            NormalizeThumbToComboBoxExit(*comboBox);
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CancelButton->setFocus();
}
