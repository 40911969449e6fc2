#include "fileops/ManualRunForm.h"

#include "columns/FileLauncher.h"
#include "columns/FileParameters.h"
#include "core/desktop/Program.h"
#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TManualRunForm* ManualRunForm = nullptr;

namespace {

constexpr int FormWidth = 470;
constexpr int DropDownRows = 20;

const char* const ProgramHint = "You can use command line substitutions, with the active file as the source file "
                                "title used for substitutions";
const char* const ParametersHint =
    "You can use command line substitutions, with the active file as the source file title used for "
    "substitutions. If you send a file as parameter, you might need to wrap it between quotes, like this: \"A file "
    "name.txt\".";
const char* const WorkingPathHint = "The working path for the program";
const char* const RunNoParamHint = "If you don't want to send the parameters to the file, click this (or empty the "
                                   "\"Parameters\" field)";

void ClearBox(QComboBox& comboBox)
{
    comboBox.clear();
    comboBox.setEditText(QString());
    comboBox.setFocus();
}

void InsertAtCaret(QComboBox& comboBox, const char* placeholder)
{
    comboBox.lineEdit()->insert(QString::fromUtf8(placeholder));
    comboBox.setFocus();
}

} // namespace

TManualRunForm::TManualRunForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
}

// The window that owns the form may go first.
TManualRunForm::~TManualRunForm()
{
    if (ManualRunForm == this)
        ManualRunForm = nullptr;
}

QComboBox* TManualRunForm::AddBoxGroup(const char* caption, int top, const char* hint, QPushButton*& clearButton,
                                       QPushButton*& insertTitleButton, QPushButton*& insertNameButton)
{
    const int groupWidth = FormWidth - 16;
    auto* group = new QGroupBox(QString::fromUtf8(caption), this);
    group->setGeometry(8, top, groupWidth, 80);
    auto* comboBox = new QComboBox(group);
    comboBox->setGeometry(10, 20, groupWidth - 20, 22);
    comboBox->setEditable(true);
    comboBox->setInsertPolicy(QComboBox::NoInsert);
    comboBox->setMaxVisibleItems(DropDownRows);
    comboBox->setToolTip(QString::fromUtf8(hint));
    comboBox->installEventFilter(this);
    comboBox->lineEdit()->installEventFilter(this);
    clearButton = AddButton(group, "Clear", {10, 48, 90, 24});
    insertTitleButton = AddButton(group, "Insert title", {108, 48, 90, 24});
    insertNameButton = AddButton(group, "Insert name", {206, 48, 90, 24});
    return comboBox;
}

void TManualRunForm::BuildControls()
{
    setWindowTitle(QStringLiteral("Run program"));
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    const int groupWidth = FormWidth - 16;

    ProgramTitleComboBox = AddBoxGroup("Program &title", 4, ProgramHint, ClearProgramTitleButton,
                                       ProgramInsertTitleButton, ProgramInsertNameButton);
    ParametersComboBox = AddBoxGroup("&Parameters", 88, ParametersHint, ClearParamTitleButton, ParamInsertTitleButton,
                                     ParamInsertNameButton);

    auto* workingGroup = new QGroupBox(QStringLiteral("Working path"), this);
    workingGroup->setGeometry(8, 172, groupWidth, 44);
    workingGroup->setToolTip(QString::fromUtf8(WorkingPathHint));
    WorkingPathLabel = new QLabel(workingGroup);
    WorkingPathLabel->setGeometry(10, 18, groupWidth - 20, 18);
    WorkingPathLabel->setTextFormat(Qt::PlainText);

    RunButton = AddButton(this, "&Run", {8, 224, 90, 25});
    RunNoParamButton = AddButton(this, "R&un (no parameters)", {106, 224, 150, 25}, RunNoParamHint);
    CancelButton = AddButton(this, "&Cancel", {FormWidth - 174, 224, 80, 25});
    HelpButton = AddButton(this, "&Help", {FormWidth - 88, 224, 80, 25});
    setFixedSize(FormWidth, 258);

    connect(RunButton, &QPushButton::clicked, this, [this] { RunButtonClick(); });
    connect(RunNoParamButton, &QPushButton::clicked, this, [this] { RunNoParamButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    connect(ClearProgramTitleButton, &QPushButton::clicked, this, [this] { ClearProgramTitleButtonClick(); });
    connect(ClearParamTitleButton, &QPushButton::clicked, this, [this] { ClearParamTitleButtonClick(); });
    connect(ProgramInsertTitleButton, &QPushButton::clicked, this, [this] { ProgramInsertTitleButtonClick(); });
    connect(ParamInsertTitleButton, &QPushButton::clicked, this, [this] { ParamInsertTitleButtonClick(); });
    connect(ProgramInsertNameButton, &QPushButton::clicked, this, [this] { ProgramInsertNameButtonClick(); });
    connect(ParamInsertNameButton, &QPushButton::clicked, this, [this] { ParamInsertNameButtonClick(); });
}

void TManualRunForm::Dialog(const std::string& source)
{
    SourcePath = source;
    WorkingPathLabel->setText(QString::fromStdString(GetCurrentPath()));
    CentreOnMainWindow(*this);
    RunModal(*this);
}

// The values put in for the placeholders are never searched again, so a file named
// "%phTemp%.txt" reaches the program as it is.
std::string TManualRunForm::Expand(const QComboBox& comboBox) const
{
    return ExpandFileAndPathParameters(comboBox.currentText().toStdString(), SourcePath, "");
}

void TManualRunForm::Do()
{
    if (ProgramTitleComboBox->currentText().isEmpty()) {
        ShowWarningMessage("You must specify a file to run.");
        return;
    }
    UpdateComboBoxHistory(*ProgramTitleComboBox);
    UpdateComboBoxHistory(*ParametersComboBox);
    TTraced trace;
    trace.Run([&] {
        const std::string program = Expand(*ProgramTitleComboBox);
        const std::string parameters = WithParameters ? Expand(*ParametersComboBox) : std::string();
        MyRunFile(program, parameters, "", "", false, false);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to run file.");
}

void TManualRunForm::RunButtonClick()
{
    WithParameters = true;
    Do();
    ProgramTitleComboBox->setFocus();
}

void TManualRunForm::RunNoParamButtonClick()
{
    WithParameters = false;
    Do();
    ProgramTitleComboBox->setFocus();
}

bool TManualRunForm::ComboBoxKeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    RunButton->click();
    return true;
}

void TManualRunForm::ClearProgramTitleButtonClick()
{
    ClearBox(*ProgramTitleComboBox);
}

void TManualRunForm::ClearParamTitleButtonClick()
{
    ClearBox(*ParametersComboBox);
}

void TManualRunForm::ProgramInsertTitleButtonClick()
{
    InsertAtCaret(*ProgramTitleComboBox, "%t%");
}

void TManualRunForm::ParamInsertTitleButtonClick()
{
    InsertAtCaret(*ParametersComboBox, "%t%");
}

void TManualRunForm::ProgramInsertNameButtonClick()
{
    InsertAtCaret(*ProgramTitleComboBox, "%n%");
}

void TManualRunForm::ParamInsertNameButtonClick()
{
    InsertAtCaret(*ParametersComboBox, "%n%");
}

void TManualRunForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

void TManualRunForm::FormActivate()
{
    ProgramTitleComboBox->setFocus();
}

bool TManualRunForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && ComboBoxKeyPress(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TManualRunForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
