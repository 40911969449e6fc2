#include "tools/FindCommonTextForm.h"

#include "columns/Column.h"
#include "columns/FileListData.h"

#include "mainwindow/MainForm.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"

#include "panels/MyTPanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>
#include <utility>

TFindCommonTextForm* FindCommonTextForm = nullptr;

namespace {

const std::string OptionsSection = "FindCommonText";

const char* const FindHint =
    R"(Find common text in the selected files: the active file is compared of all other files. "Text" actually means words. Each of the selected files must contain the words that will be looked-up, in a single paragraph. A word can contain letters (case insensitive), digits, and special characters (" _ - . @ / \ "); a word is delimited by any other character, and must contain at least 3 characters (with at least one letter or digit).)";
const char* const BeginExtractionHint =
    R"(Word extraction begins with (and includes) the word / delimiter with this index (from the beginning of the paragraph). The "Start" value is useful only when delimiters are used, because there may be words before the first delimiter; if delimiters are not used, this value is the same as "1".)";
const char* const EndExtractionHint =
    R"(Word extraction ends with (and includes) the word / delimiter with this index (from the beginning of the paragraph). The "End" value is useful only when delimiters are used, because there may be words after the last delimiter; if delimiters are not used, this value is the same as "Last".)";
const char* const UseDelimiterHint =
    R"(If this is checked, words are extracted using the delimiter index instead of the word index. It is highly recommended to use delimiters if the source files support them; this is because delimiters are always in the expected place, but words are not (for example, people may have or may not have a middle name).)";
const char* const WordDelimiterHint = R"(Text used as delimiter)";
const char* const WholeMatchHint = R"(It is like the "whole" mode in the file search dialog)";
const char* const UseNumbersHint =
    R"(In this context, "numbers" are not mathematical numbers; they are words that may NOT contain letters, and must contain at least 5 characters.)";
const char* const MisspellingHint =
    R"(Misspelling tolerance. Specify the number of characters that may be different in the "against filter" from the "source filter". "Misspelling" doesn't mean there may be less or more characters in a word, but only that some characters may differ. At least half of the characters in a word must match. You should use this when the processed files are generated from scanned papers.)";
const char* const MinimumMatchesHint =
    R"(For each paragraph, there must be at least this number of word matches so that a record can be put in the final report)";
const char* const InformationHint =
    R"("Errors": the number of errors occurred during processing. "Time": elapsed time from the beginning of processing. "Matches": the number of matches.)";
const char* const ReportMemoHint = R"(Report with the found common text)";
const char* const CancelHint = R"(Stop the operation and close the dialog)";
const char* const StopHint = R"(Stop the operation (don't close the dialog))";

// The special items of the lists and the values they stand for; any other item is its
// number.
const std::array<std::pair<const char*, int32_t>, 5> BeginSpecials = {
    {{"Start", 0}, {"Last", -2}, {"Last - 1", -3}, {"Last - 2", -4}, {"Last - 3", -5}}};
const std::array<std::pair<const char*, int32_t>, 5> EndSpecials = {
    {{"End", -1}, {"Last", -2}, {"Last - 1", -3}, {"Last - 2", -4}, {"Last - 3", -5}}};
const std::array<std::pair<const char*, int32_t>, 4> MinimumSpecials = {
    {{"All", 0}, {"All - 1", -1}, {"All - 2", -2}, {"All - 3", -3}}};

template <size_t N>
int32_t ItemValue(const QComboBox& comboBox, const std::array<std::pair<const char*, int32_t>, N>& specials)
{
    const std::string text = comboBox.currentText().toStdString();
    for (const auto& [caption, value] : specials)
        if (text == caption)
            return value;
    return GetIntFromTextOrZero(text);
}

QComboBox* AddList(QWidget* parent, const char* caption, const QStringList& items, const char* hint, int row,
                   int column)
{
    const int left = 10 + column * 150;
    const int top = 20 + row * 44;
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, 140, 16);
    auto* comboBox = new QComboBox(parent);
    comboBox->setGeometry(left, top + 17, 140, 22);
    comboBox->addItems(items);
    comboBox->setToolTip(hint);
    return comboBox;
}

// A stored text selects the equal item; a missing, empty or unknown one the default item.
void ReadListItem(TStoredTextList& store, const std::string& key, QComboBox& comboBox, const std::string& defaultText)
{
    std::string text = defaultText;
    store.ReadString(OptionsSection, key, 31, text, false);
    int index = comboBox.findText(QString::fromStdString(text), Qt::MatchExactly);
    if (index < 0)
        index = comboBox.findText(QString::fromStdString(defaultText), Qt::MatchExactly);
    comboBox.setCurrentIndex(index);
}

} // namespace

TFindCommonTextForm::TFindCommonTextForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      Engine(*this)
{
    BuildControls();
}

TFindCommonTextForm::~TFindCommonTextForm()
{
    if (FindCommonTextForm == this)
        FindCommonTextForm = nullptr;
}

void TFindCommonTextForm::BuildControls()
{
    setWindowTitle("Find common text");
    setFixedSize(620, 520);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    BuildOptions();

    FindButton = AddButton(this, "&Find", {10, 150, 90, 25}, FindHint);
    CancelButton = AddButton(this, "&Cancel", {110, 150, 90, 25}, CancelHint);
    StopButton = AddButton(this, "Sto&p", {210, 150, 90, 25}, StopHint);
    HelpButton = AddButton(this, "&Help", {310, 150, 90, 25});
    StopButton->setEnabled(false);
    FindButton->setDefault(true);
    connect(FindButton, &QPushButton::clicked, this, [this] { Do(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelRun(); });
    connect(StopButton, &QPushButton::clicked, this, [this] { StopRun(); });
    connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelpNotAvailable(); });

    ReportGroupBox = new QGroupBox("Report", this);
    ReportGroupBox->setGeometry(5, 185, 610, 330);
    ReportMemo = new QPlainTextEdit(ReportGroupBox);
    ReportMemo->setGeometry(10, 20, 590, 220);
    ReportMemo->setReadOnly(true);
    ReportMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReportMemo->setToolTip(ReportMemoHint);
    CopyReportButton = AddButton(ReportGroupBox, "Copy report to clipboard", {10, 248, 180, 25});
    connect(CopyReportButton, &QPushButton::clicked, this, [this] {
        CopyTextToClipboard(ReportMemo->toPlainText().toStdString(), "Failed to copy text to clipboard.", false, false);
    });
    auto* information = new QGroupBox("Information", ReportGroupBox);
    information->setGeometry(10, 280, 590, 42);
    information->setToolTip(InformationHint);
    InfoLabel = new QLabel(information);
    InfoLabel->setGeometry(10, 18, 570, 18);
}

void TFindCommonTextForm::BuildOptions()
{
    OptionsGroupBox = new QGroupBox("Options", this);
    OptionsGroupBox->setGeometry(5, 5, 610, 138);
    QWidget* group = OptionsGroupBox;
    BeginExtractionComboBox =
        AddList(group, "Begin extraction",
                {"Start", "1", "2", "3", "4", "5", "6", "7", "Last - 3", "Last - 2", "Last - 1", "Last"},
                BeginExtractionHint, 0, 0);
    EndExtractionComboBox =
        AddList(group, "End extraction",
                {"1", "2", "3", "4", "5", "6", "7", "Last - 3", "Last - 2", "Last - 1", "Last", "End"},
                EndExtractionHint, 0, 1);
    EndExtractionComboBox->setCurrentText("End");
    UseDelimiterCheckBox = new QCheckBox("Use delimiter", group);
    UseDelimiterCheckBox->setGeometry(310, 20, 140, 16);
    UseDelimiterCheckBox->setChecked(true);
    UseDelimiterCheckBox->setToolTip(UseDelimiterHint);
    WordDelimiterEdit = new QLineEdit("|", group);
    WordDelimiterEdit->setGeometry(310, 37, 140, 22);
    WordDelimiterEdit->setMaxLength(31);
    WordDelimiterEdit->setToolTip(WordDelimiterHint);
    UseNumbersComboBox = AddList(group, "Numbers", {"Include", "Ignore", "Only"}, UseNumbersHint, 0, 3);
    WholeMatchComboBox = AddList(group, "Whole match", {"Word", "Left", "Right", "Any"}, WholeMatchHint, 1, 0);
    MisspellingToleranceComboBox = AddList(group, "Misspelling", {"0", "1", "2", "3"}, MisspellingHint, 1, 1);
    MinimumMatchesComboBox =
        AddList(group, "Minimum matches", {"1", "2", "3", "4", "5", "6", "7", "All - 3", "All - 2", "All - 1", "All"},
                MinimumMatchesHint, 1, 2);
}

void TFindCommonTextForm::PlugOptions(TMainForm& window)
{
    window.OptionsSTLHooks[TMainForm::ospFindCommonText] = {[this](TStoredTextList& store) { OnLoadOptionsSTL(store); },
                                                            [this](TStoredTextList& store) {
                                                                OnSaveOptionsSTL(store);
                                                            }};
}

void TFindCommonTextForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    ReadListItem(store, "BeginExtraction", *BeginExtractionComboBox, "Start");
    ReadListItem(store, "EndExtraction", *EndExtractionComboBox, "End");
    bool useDelimiter = true;
    store.ReadBool(OptionsSection, "UseDelimiter", useDelimiter);
    UseDelimiterCheckBox->setChecked(useDelimiter);
    std::string delimiter = "|";
    store.ReadString(OptionsSection, "WordDelimiter", 31, delimiter, false);
    WordDelimiterEdit->setText(QString::fromStdString(delimiter));
    ReadListItem(store, "UseNumbers", *UseNumbersComboBox, "Include");
    ReadListItem(store, "WholeMatch", *WholeMatchComboBox, "Word");
    ReadListItem(store, "MisspellingTolerance", *MisspellingToleranceComboBox, "0");
    ReadListItem(store, "MinimumMatches", *MinimumMatchesComboBox, "1");
}

void TFindCommonTextForm::OnSaveOptionsSTL(TStoredTextList& store)
{
    const auto write = [&](const char* key, const QComboBox& comboBox) {
        store.WriteString(OptionsSection, key, comboBox.currentText().toStdString());
    };
    write("BeginExtraction", *BeginExtractionComboBox);
    write("EndExtraction", *EndExtractionComboBox);
    store.WriteBool(OptionsSection, "UseDelimiter", UseDelimiterCheckBox->isChecked());
    store.WriteString(OptionsSection, "WordDelimiter", WordDelimiterEdit->text().toStdString());
    write("UseNumbers", *UseNumbersComboBox);
    write("WholeMatch", *WholeMatchComboBox);
    write("MisspellingTolerance", *MisspellingToleranceComboBox);
    write("MinimumMatches", *MinimumMatchesComboBox);
}

TCommonTextOptions TFindCommonTextForm::ReadOptions() const
{
    TCommonTextOptions options;
    options.BeginIndex = ItemValue(*BeginExtractionComboBox, BeginSpecials);
    options.EndIndex = ItemValue(*EndExtractionComboBox, EndSpecials);
    options.UseDelimiter = UseDelimiterCheckBox->isChecked();
    options.Delimiter = WordDelimiterEdit->text().toStdString();
    options.NumbersMode = UseNumbersComboBox->findText(UseNumbersComboBox->currentText(), Qt::MatchExactly);
    options.WholeMatch = WholeMatchComboBox->currentIndex();
    options.Misspelling = GetIntFromTextOrZero(MisspellingToleranceComboBox->currentText().toStdString());
    options.MinimumMatches = ItemValue(*MinimumMatchesComboBox, MinimumSpecials);
    return options;
}

void TFindCommonTextForm::Dialog(TColumn& column)
{
    TTraced trace;
    trace.Run([&] {
        Column = &column;
        InfoLabel->clear();
        CloseWhenStopped = false;
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    Column = nullptr;
    trace.ShowFailure("Failed to find common text.");
}

void TFindCommonTextForm::Do()
{
    Engine.Options = ReadOptions();
    if (!Engine.CheckOptions())
        return;
    TTraced trace;
    SetRunning(true);
    ReportMemo->clear();
    trace.Run([&] {
        const bool begun = Engine.Begin();
        if (trace.TakeOver() || !begun)
            return;
        std::string active;
        std::vector<std::string> documents;
        if (!PickDocuments(active, documents))
            return;
        Engine.Run(active, documents);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to find common text.");
    ShowInformation(Engine.InformationLine(""));
    SetRunning(false);
    ReportMemo->setFocus();
    if (CloseWhenStopped)
        done(mrCancel);
}

bool TFindCommonTextForm::PickDocuments(std::string& active, std::vector<std::string>& documents) const
{
    const auto isDocument = [](const TFileListData& item) { return item.Type == ftDocument || item.Type == ftGeneric; };
    const int32_t count = Column != nullptr ? Column->GetItemCount() : 0;
    const TFileListData* focused = count > 0 ? &Column->GetItem(Column->FileList->FocusIndex) : nullptr;
    if (focused == nullptr || !focused->Selected || !isDocument(*focused)) {
        const std::string path = focused != nullptr ? focused->Title : std::string();
        ShowErrorMessage("The active file is not selected or it's not a document: \"" + path + "\".");
        return false;
    }
    active = focused->Title;
    for (int32_t i = 0; i < count; ++i)
        if (Column->GetItem(i).Selected && isDocument(Column->GetItem(i)))
            documents.push_back(Column->GetItem(i).Title);
    return true;
}

void TFindCommonTextForm::SetRunning(bool running)
{
    Running = running;
    OptionsGroupBox->setEnabled(!running);
    FindButton->setEnabled(!running);
    ReportGroupBox->setEnabled(!running);
    StopButton->setEnabled(running);
}

void TFindCommonTextForm::StopRun()
{
    Engine.Stop();
}

void TFindCommonTextForm::CancelRun()
{
    Engine.Stop();
    if (Running)
        CloseWhenStopped = true;
    else
        done(mrCancel);
}

void TFindCommonTextForm::reject()
{
    CancelRun();
}

void TFindCommonTextForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    CancelRun();
}

void TFindCommonTextForm::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TFindCommonTextForm::ShowInformation(const std::string& line)
{
    InfoLabel->setText(QString::fromStdString(line));
}

// The box shows the report's lines with the line breaks of this system.
void TFindCommonTextForm::SetReportText(const std::string& text)
{
    ReportMemo->setPlainText(QString::fromStdString(text).replace("\r\n", "\n"));
}

void TFindCommonTextForm::AddReportLine(const std::string& line)
{
    ReportMemo->appendPlainText(QString::fromStdString(line));
}
