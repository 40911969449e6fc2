#pragma once

#include "tools/CommonTextEngine.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TColumn;
class TMainForm;
class TStoredTextList;

// The dialog that compares the active document of a column with the column's other
// selected documents and reports the records they share. The run is the engine's; the
// dialog gives it the options, the documents and a turn for its buttons.
class TFindCommonTextForm : public QDialog, private TCommonTextPort
{
public:
    static constexpr int mrCancel = 2;

    explicit TFindCommonTextForm(QWidget* parent = nullptr);
    ~TFindCommonTextForm() override;

    // Plugs the "FindCommonText" section into the window's option file.
    void PlugOptions(TMainForm& window);
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store);

    // Shows the dialog modally for the column's selection.
    void Dialog(TColumn& column);
    // The run, started by "&Find".
    void Do();
    // "Sto&p": the run ends at its next check and the dialog stays open.
    void StopRun();
    // "&Cancel" and the close box: the run stops and the dialog closes once it has ended.
    void CancelRun();

    // The options as the lists give them to the engine.
    TCommonTextOptions ReadOptions() const;

    TCommonTextEngine Engine;
    TColumn* Column = nullptr;

    QGroupBox* OptionsGroupBox = nullptr;
    QComboBox* BeginExtractionComboBox = nullptr;
    QComboBox* EndExtractionComboBox = nullptr;
    QCheckBox* UseDelimiterCheckBox = nullptr;
    QLineEdit* WordDelimiterEdit = nullptr;
    QComboBox* UseNumbersComboBox = nullptr;
    QComboBox* WholeMatchComboBox = nullptr;
    QComboBox* MisspellingToleranceComboBox = nullptr;
    QComboBox* MinimumMatchesComboBox = nullptr;
    QPushButton* FindButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QGroupBox* ReportGroupBox = nullptr;
    QPlainTextEdit* ReportMemo = nullptr;
    QPushButton* CopyReportButton = nullptr;
    QLabel* InfoLabel = nullptr;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildOptions();
    // The column's focused item must be a selected document; the documents are the
    // selected ones. False after the error box otherwise.
    bool PickDocuments(std::string& active, std::vector<std::string>& documents) const;
    void SetRunning(bool running);

    void ProcessMessages() override;
    void ShowInformation(const std::string& line) override;
    void SetReportText(const std::string& text) override;
    void AddReportLine(const std::string& line) override;

    bool Running = false;
    bool CloseWhenStopped = false;
};

extern TFindCommonTextForm* FindCommonTextForm;
