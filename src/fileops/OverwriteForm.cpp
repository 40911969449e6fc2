#include "fileops/OverwriteForm.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/text/MyTime.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <iterator>

TOverwriteForm* OverwriteForm = nullptr;

namespace {

constexpr uint32_t FileAttributeEncrypted = 0x4000;

const char* const FormHint = "You are trying to overwrite a file that already exists destination, file with the same "
                             "name as the source file";

bool IsAsking(TOverwriteChoice choice)
{
    return choice == ocSkipThis || choice == ocOverThis;
}

bool IsEncrypted(const TFileInfo& info)
{
    return (info.Attributes & FileAttributeEncrypted) != 0;
}

QLabel* AddTitleLabel(QWidget* parent, const char* caption, const QRect& place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(place);
    return label;
}

// File names may hold "&": a value is shown as it is, never as an accelerator.
QLabel* AddValueLabel(QWidget* parent, const QRect& place)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    return label;
}

void SetText(QLabel& label, const std::string& text)
{
    label.setText(QString::fromStdString(text));
}

} // namespace

TOverwriteOutcome TOverwriteDecision::Decide(const std::string& source, const std::string& destination,
                                             const TOverwriteAsker& ask, const host::FindData* sourceEntry,
                                             const host::FindData* destinationEntry)
{
    TOverwriteOutcome outcome;
    TTraced trace;
    trace.Run([&] {
        if (Remembered == ocAbort)
            return;
        if (Remembered == ocOverAll) {
            outcome.Proceed = outcome.Overwrite = true;
            return;
        }
        TOverwriteConflict conflict{source, destination, {}, {}, false};
        // The destination's own lookup tells whether it exists: no second look is needed.
        bool destinationExists = true;
        if (destinationEntry != nullptr)
            conflict.DestinationInfo.LoadFromEntry(*destinationEntry);
        else
            destinationExists = conflict.DestinationInfo.LoadIfExists(destination);
        if (trace.TakeOver())
            return;
        if (!destinationExists) {
            outcome.Proceed = true;
            return;
        }
        if (sourceEntry != nullptr)
            conflict.SourceInfo.LoadFromEntry(*sourceEntry);
        else
            conflict.SourceInfo.Load(source);
        if (trace.TakeOver())
            return;
        conflict.SourceNewer = IsSourceNewer(conflict.SourceInfo, conflict.DestinationInfo);
        outcome = DecideExisting(conflict, ask);
    });
    return outcome;
}

TOverwriteOutcome TOverwriteDecision::DecideExisting(TOverwriteConflict& conflict, const TOverwriteAsker& ask)
{
    TOverwriteOutcome outcome;
    outcome.DestinationExists = true;
    outcome.SourceNewer = conflict.SourceNewer;
    TOverwriteChoice answer = Remembered;
    if (IsAsking(Remembered)) {
        const std::optional<TOverwriteChoice> given = ask(conflict);
        if (given)
            Remembered = *given;
        answer = given.value_or(ocSkipThis);
    }
    switch (answer) {
    case ocAbort:
        outcome.Abort = true;
        return outcome;
    case ocOverThis:
    case ocOverAll:
        outcome.Overwrite = true;
        break;
    case ocOverAllOlder:
        outcome.Overwrite = conflict.SourceNewer;
        break;
    default:
        outcome.Overwrite = false;
        break;
    }
    outcome.Proceed = outcome.Overwrite;
    return outcome;
}

bool TOverwriteDecision::IsSourceNewer(const TFileInfo& source, const TFileInfo& destination)
{
    if (source.Size != 0 && destination.Size == 0)
        return true;
    if (source.Size == 0 && destination.Size != 0)
        return false;
    if (source.Modified != destination.Modified)
        return source.Modified > destination.Modified;
    if (source.Size != destination.Size)
        return source.Size > destination.Size;
    return IsEncrypted(source) && !IsEncrypted(destination);
}

TOverwriteForm::TOverwriteForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
}

TOverwriteForm::~TOverwriteForm()
{
    if (OverwriteForm == this)
        OverwriteForm = nullptr;
}

void TOverwriteForm::BuildControls()
{
    setWindowTitle("Overwrite destination with source ?");
    setToolTip(FormHint);
    setFixedSize(560, 214);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    SourceSide = BuildSide(5, "Source");
    DestSide = BuildSide(283, "Destination");

    OverwriteThisButton = AddAnswerButton("Over&write this", {8, 148, 130, 25}, ocOverThis);
    OverwriteAllButton = AddAnswerButton("O&verwrite all", {146, 148, 130, 25}, ocOverAll);
    OverwriteAllOlderButton = AddAnswerButton("Overwrite all &older", {284, 148, 130, 25}, ocOverAllOlder);
    SkipThisButton = AddAnswerButton("Ski&p this", {8, 181, 130, 25}, ocSkipThis);
    SkipAllButton = AddAnswerButton("S&kip all", {146, 181, 130, 25}, ocSkipAll);
    AbortButton = AddAnswerButton("&Abort", {284, 181, 130, 25}, ocAbort);
    HelpButton = new QPushButton("&Help", this);
    HelpButton->setGeometry(422, 181, 130, 25);
    SkipThisButton->setToolTip("Skip overwriting the current file");
    SkipAllButton->setToolTip("Skip overwriting any file");
    AbortButton->setToolTip("Abort the operation");
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });

    QPushButton* const order[] = {OverwriteThisButton, OverwriteAllButton, OverwriteAllOlderButton,
                                  SkipThisButton,      SkipAllButton,      AbortButton,
                                  HelpButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

TOverwriteForm::TSide TOverwriteForm::BuildSide(int left, const char* caption)
{
    TSide side;
    side.GroupBox = new QGroupBox(QString::fromUtf8(caption), this);
    side.GroupBox->setGeometry(left, 5, 272, 135);
    QWidget* box = side.GroupBox;
    AddTitleLabel(box, "Directory", {8, 20, 60, 15});
    side.DirectoryLabel = AddValueLabel(box, {70, 20, 194, 30});
    side.DirectoryLabel->setWordWrap(true);
    AddTitleLabel(box, "File", {8, 54, 60, 15});
    side.FileLabel = AddValueLabel(box, {70, 54, 194, 15});
    AddTitleLabel(box, "Size", {8, 74, 60, 15});
    side.SizeLabel = AddValueLabel(box, {70, 74, 194, 15});
    AddTitleLabel(box, "Date", {8, 94, 60, 15});
    side.DateLabel = AddValueLabel(box, {70, 94, 194, 15});
    AddTitleLabel(box, "Clock", {8, 114, 60, 15});
    side.ClockLabel = AddValueLabel(box, {70, 114, 194, 15});
    return side;
}

QPushButton* TOverwriteForm::AddAnswerButton(const char* caption, const QRect& place, TOverwriteChoice choice)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setGeometry(place);
    connect(button, &QPushButton::clicked, this, [this, choice] { AnswerButtonClick(choice); });
    return button;
}

void TOverwriteForm::ResetChoice()
{
    Decision.Reset();
}

void TOverwriteForm::SetChoice(TOverwriteChoice choice)
{
    Decision.Set(choice);
}

TOverwriteChoice TOverwriteForm::Choice() const
{
    return Decision.Choice();
}

bool TOverwriteForm::IsSourceNewer(const TFileInfo& source, const TFileInfo& destination)
{
    return TOverwriteDecision::IsSourceNewer(source, destination);
}

bool TOverwriteForm::Dialog(const std::string& source, const std::string& destination, bool& abort, bool& overwrite,
                            bool* destinationExists, bool* sourceNewer, const host::FindData* sourceEntry,
                            const host::FindData* destinationEntry)
{
    abort = overwrite = false;
    if (destinationExists)
        *destinationExists = false;
    if (sourceNewer)
        *sourceNewer = true;
    bool proceed = false;
    TTraced trace;
    trace.Run([&] {
        const TOverwriteOutcome outcome = Decision.Decide(
            source, destination, [this](const TOverwriteConflict& conflict) { return Ask(conflict); }, sourceEntry,
            destinationEntry);
        if (trace.TakeOver())
            return;
        abort = outcome.Abort;
        overwrite = outcome.Overwrite;
        if (destinationExists)
            *destinationExists = outcome.DestinationExists;
        if (sourceNewer)
            *sourceNewer = outcome.SourceNewer;
        proceed = outcome.Proceed;
    });
    trace.ShowFailure("Failed to confirm overwrite.");
    return proceed;
}

std::optional<TOverwriteChoice> TOverwriteForm::Ask(const TOverwriteConflict& conflict)
{
    ShowConflict(conflict);
    CentreOnMainWindow(*this);
    const int result = RunModal(*this);
    if (result < ModalResultOf(ocAbort) || result > ModalResultOf(ocOverAllOlder))
        return std::nullopt;
    return static_cast<TOverwriteChoice>(result - FirstAnswerResult);
}

void TOverwriteForm::ShowConflict(const TOverwriteConflict& conflict)
{
    const auto fill = [](const TSide& side, const std::string& path, const TFileInfo& info) {
        SetText(*side.DirectoryLabel, GetParentPath(path));
        SetText(*side.FileLabel, GetPathName(path));
        SetText(*side.SizeLabel, GetSizeText(14, 0, info.Size));
        SetText(*side.DateLabel, GetLongDateDayText(info.Modified));
        SetText(*side.ClockLabel, GetTimeDayUnitsText(info.Modified));
    };
    fill(SourceSide, conflict.Source, conflict.SourceInfo);
    fill(DestSide, conflict.Destination, conflict.DestinationInfo);
    SourceSide.GroupBox->setTitle(conflict.SourceNewer ? "Source (newer)" : "Source");
    DestSide.GroupBox->setTitle(conflict.SourceNewer ? "Destination" : "Destination (newer)");
}

void TOverwriteForm::AnswerButtonClick(TOverwriteChoice choice)
{
    done(ModalResultOf(choice));
}

void TOverwriteForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

void TOverwriteForm::FormActivate()
{
    OverwriteThisButton->setFocus();
}

void TOverwriteForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TOverwriteForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        SkipThisButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
