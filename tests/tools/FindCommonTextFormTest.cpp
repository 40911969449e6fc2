#include "tools/FindCommonTextForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include "host/Clock.h"

#include "support/ShownFailures.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gmock/gmock.h>

#include <functional>
#include <string>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

// A column listing folder "d" with three record lists and a sub-folder, focused on
// a.txt.
class FindCommonTextFormTest : public ColumnTest
{
protected:
    FindCommonTextFormTest()
    {
        MakeDirectory("d/sub");
        Drive.WriteFile("d/a.txt", "JOHN|SMITH|LONDON\nMARY|JONES|PARIS\n");
        Drive.WriteFile("d/b.txt", "SMITH|JOHN|LONDON\n");
        Drive.WriteFile("d/c.txt", "MARY|JONES|ROME\n");
        Open(Column, Drive.Path("d\\a.txt"));
    }

    void SelectAll()
    {
        for (int32_t i = 0; i < Column.GetItemCount(); ++i)
            if (Column.GetItem(i).Type != ftDirectory)
                Column.SelectItem(i);
    }

    // Opens the dialog; `act` drives it while it is shown; the dialog's result.
    int Show(const std::function<void()>& act, TModalScript& script)
    {
        int result = -1;
        script.Expect("Find common text", mrCancel, [&](const TModalRequest&) {
            act();
            result = Form.result();
        });
        Form.Dialog(Column);
        return result;
    }

    std::string Memo() const { return Form.ReportMemo->toPlainText().toStdString(); }

    TColumn& Column = MakeColumn();
    TFindCommonTextForm Form;
};

TEST_F(FindCommonTextFormTest, FindReportsTheSelectedListsAndCopiesTheReport)
{
    SelectAll();
    TModalScript script;
    Show(
        [&] {
            Form.FindButton->click();
            Form.CopyReportButton->click();
        },
        script);
    const std::string memo = Memo();
    EXPECT_THAT(memo,
                StartsWith(std::string(50, '=') + "\nSource file: " + Drive.Path("d\\a.txt") + "\nMatch count: 2\n"));
    EXPECT_THAT(memo, HasSubstr("Source filter: \"JOHN; SMITH; LONDON\"\nMatch count: 1\nRank: 600"));
    EXPECT_THAT(memo, HasSubstr("    Against file: \"" + Drive.Path("d\\c.txt") + "\""));
    EXPECT_EQ(memo, QGuiApplication::clipboard()->text().toStdString());
    EXPECT_THAT(Form.InfoLabel->text().toStdString(), StartsWith("Errors 0 | Time "));
    EXPECT_TRUE(Form.FindButton->isEnabled());
    EXPECT_FALSE(Form.StopButton->isEnabled());
}

TEST_F(FindCommonTextFormTest, TheActiveFileMustBeASelectedDocument)
{
    // The focused file left out of the selection, then a focused folder among the selection.
    struct Case
    {
        const char* Focus;
        bool FocusSelected;
    };
    for (const Case& c : {Case{"d\\a.txt", false}, Case{"d\\sub", true}}) {
        Open(Column, Drive.Path(c.Focus));
        SelectAll();
        if (c.FocusSelected)
            Column.SelectItem(Column.FileList->FocusIndex);
        else
            Column.DeselectItem(Column.FileList->FocusIndex);
        TModalScript script;
        Show(
            [&] {
                script.Expect("Error", IDOK);
                Form.FindButton->click();
            },
            script);
        EXPECT_EQ("The active file is not selected or it's not a document: \"" + Drive.Path(c.Focus) + "\".",
                  script.Seen().at(1).Text);
        EXPECT_EQ("Checking resources availability...", Memo());
    }
}

TEST_F(FindCommonTextFormTest, AnUnreadableListFailsTheRunNamingIt)
{
    SelectAll();
    Remove("d/c.txt");
    TShownFailures failures;
    TModalScript script;
    Show(
        [&] {
            failures.Expect(script, "Error");
            Form.FindButton->click();
        },
        script);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to find common text."));
    EXPECT_THAT(failures.Reports[0], HasSubstr(Drive.Path("d\\c.txt")));
}

// "&Cancel" during a run acts at the next turn and closes the dialog once the run ends.
TEST_F(FindCommonTextFormTest, CancelDuringTheRunStopsItAndClosesTheDialog)
{
    SelectAll();
    uint32_t tick = 0;
    host::SetTickCountSource([&] { return tick += 25; });
    TModalScript script;
    const int result = Show(
        [&] {
            QMetaObject::invokeMethod(Form.CancelButton, "click", Qt::QueuedConnection);
            Form.FindButton->click();
        },
        script);
    host::SetTickCountSource({});
    EXPECT_EQ(TFindCommonTextForm::mrCancel, result);
    EXPECT_THAT(Memo(), testing::AnyOf("Parsing files and filters...", "Looking for common text..."));
}

TEST_F(FindCommonTextFormTest, OptionsReadTheListsAndRoundTripThroughTheSettings)
{
    Form.BeginExtractionComboBox->setCurrentText("Last - 2");
    Form.EndExtractionComboBox->setCurrentText("7");
    Form.UseDelimiterCheckBox->setChecked(false);
    Form.WordDelimiterEdit->setText(";");
    Form.UseNumbersComboBox->setCurrentText("Only");
    Form.WholeMatchComboBox->setCurrentText("Right");
    Form.MisspellingToleranceComboBox->setCurrentText("2");
    Form.MinimumMatchesComboBox->setCurrentText("All - 1");
    const TCommonTextOptions options = Form.ReadOptions();
    EXPECT_EQ(-4, options.BeginIndex);
    EXPECT_EQ(7, options.EndIndex);
    EXPECT_FALSE(options.UseDelimiter);
    EXPECT_EQ(";", options.Delimiter);
    EXPECT_EQ(2, options.NumbersMode);
    EXPECT_EQ(2, options.WholeMatch);
    EXPECT_EQ(2, options.Misspelling);
    EXPECT_EQ(-1, options.MinimumMatches);

    Drive.WriteFile("q.ini", "");
    TStoredTextList store(Drive.Path("q.ini"));
    ASSERT_TRUE(store.Load(0));
    Form.OnSaveOptionsSTL(store);
    TFindCommonTextForm loaded;
    loaded.OnLoadOptionsSTL(store);
    const TCommonTextOptions again = loaded.ReadOptions();
    EXPECT_EQ(options.BeginIndex, again.BeginIndex);
    EXPECT_EQ(options.EndIndex, again.EndIndex);
    EXPECT_EQ(options.UseDelimiter, again.UseDelimiter);
    EXPECT_EQ(options.Delimiter, again.Delimiter);
    EXPECT_EQ(options.MinimumMatches, again.MinimumMatches);
    bool useDelimiter = true;
    store.ReadBool("FindCommonText", "UseDelimiter", useDelimiter);
    EXPECT_FALSE(useDelimiter);

    // A stored text that is no item selects the default item, not the first.
    store.WriteString("FindCommonText", "EndExtraction", "99");
    store.WriteString("FindCommonText", "MinimumMatches", "All - 9");
    store.WriteString("FindCommonText", "WholeMatch", "word");
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("End", loaded.EndExtractionComboBox->currentText().toStdString());
    EXPECT_EQ("1", loaded.MinimumMatchesComboBox->currentText().toStdString());
    EXPECT_EQ("Word", loaded.WholeMatchComboBox->currentText().toStdString());
}

} // namespace
