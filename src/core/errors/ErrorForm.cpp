#include "core/errors/ErrorForm.h"

#include "core/desktop/Application.h"
#include "core/desktop/Program.h"
#include "core/errors/Error.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TErrorForm* ErrorForm = nullptr;

namespace {

constexpr uint64_t MaxLogSizeBeforeEmptying = 10000;
const char* const LogEntryFence = "**********";

} // namespace

std::string GetErrorLogPath()
{
    return GetProgramDir() + "Errors.log";
}

TErrorForm::TErrorForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
    TApplication::SetExceptionHandler(
        [](QObject* sender, const std::string& message) { FunStatContext.OnApplicationException(sender, message); });
}

void TErrorForm::BuildControls()
{
    setWindowTitle("Error");
    setFixedSize(340, 265);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    MainMemo = new QPlainTextEdit(this);
    MainMemo->setGeometry(5, 5, 330, 120);
    MainMemo->setReadOnly(true);
    MainMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MainMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette memoPalette = MainMemo->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    MainMemo->setPalette(memoPalette);
    OkayButton = AddButton(this, "&Okay", {25, 135, 75, 25});
    CancelButton = AddButton(this, "&Cancel", {240, 135, 75, 25});
    OkayNoErrorsButton = AddButton(this, "O&kay (no errors)", {110, 135, 120, 25});
    TerminateButton = AddButton(this, "&Terminate application immediately", {65, 170, 210, 25});
    LogButton = AddButton(this, "&Log", {90, 205, 75, 25});
    HelpButton = AddButton(this, "&Help", {175, 205, 75, 25});
    RecursionLabel = new QLabel(this);
    RecursionLabel->setGeometry(5, 240, 200, 15);

    setTabOrder(MainMemo, OkayButton);
    setTabOrder(OkayButton, CancelButton);
    setTabOrder(CancelButton, OkayNoErrorsButton);
    setTabOrder(OkayNoErrorsButton, TerminateButton);
    setTabOrder(TerminateButton, LogButton);
    setTabOrder(LogButton, HelpButton);
    OkayButton->setDefault(true);

    connect(OkayButton, &QPushButton::clicked, this, [this] { done(mrOkay); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(OkayNoErrorsButton, &QPushButton::clicked, this, [this] { done(mrOkayNoErrors); });
    connect(TerminateButton, &QPushButton::clicked, this, [this] { TerminateButtonClick(); });
    connect(LogButton, &QPushButton::clicked, this, [this] { LogButtonClick(); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
}

void TErrorForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    OkayButton->setFocus();
}

bool TErrorForm::Display(const std::string& caption, const std::string& message, const std::string& report,
                         bool* noMoreErrors)
{
    int result = 0;
    try {
        setWindowTitle(QString::fromStdString(caption));
        if (RecursionCount > 0) {
            ++RecursionCount;
            RecursionLabel->setText("Recursive attempts = " + QString::number(RecursionCount - 1));
            return true;
        }
        RecursionCount = 1;
        RecursionLabel->setText("Recursive attempts = None");
        const std::string shownMessage = message.empty() ? "Failed to perform." : message;
        Memo = "DESCRIPTION\r\n" + shownMessage + "\r\n" + report;
        MainMemo->setPlainText(QString::fromStdString(Memo).replace("\r\n", "\n"));
        if (!isVisible()) {
            CentreOnMainWindow(*this);
            result = RunModal(*this);
        }
    } catch (...) {
    }
    RecursionCount = 0;
    if (noMoreErrors != nullptr)
        *noMoreErrors = result == mrOkayNoErrors;
    return result == mrOkay || result == mrOkayNoErrors;
}

bool TErrorForm::AppendLog()
{
    try {
        host::SetLastError(host::ERROR_SUCCESS);
        host::File log;
        log.Open(GetErrorLogPath(), host::FileAccess::ReadWrite, host::FileDisposition::OpenAlways);
        if (IsSystemErrorNotExisting() || !log.IsOpen())
            return false;
        const std::optional<uint64_t> size = log.Size();
        if (size && *size > MaxLogSizeBeforeEmptying)
            log.Truncate(0);
        log.SeekToEnd();
        const std::string entry = LogEntryFence + Memo + "\r\n" + LogEntryFence + "\r\n";
        log.Write(entry.data(), entry.size());
        const bool written = !IsSystemError();
        return log.Close() && written;
    } catch (...) {
        return false;
    }
}

void TErrorForm::TerminateButtonClick()
{
    TerminateProgram();
}

void TErrorForm::LogButtonClick()
{
    if (AppendLog())
        BeepOkay();
}

void TErrorForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

bool ShowErrorReport(const std::string& caption, const std::string& message, const std::string& report,
                     bool* noMoreErrors)
{
    if (ErrorForm == nullptr) {
        if (noMoreErrors != nullptr)
            *noMoreErrors = false;
        RunMessageBox("Error", "The error-dialog form is not created. You must create it.", MB_OK);
        return false;
    }
    return ErrorForm->Display(caption, message, report, noMoreErrors);
}

int32_t ErrorReportRecursions()
{
    return ErrorForm ? ErrorForm->RecursionCount : 0;
}
