#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/errors/Error.h"
#include "core/files/FileOperations.h"
#include "core/forms/MessageBoxes.h"

#include "support/ShownFailures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <gmock/gmock.h>

#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

std::string Text(const QComboBox* box)
{
    return box->currentText().toStdString();
}

std::string Text(const QLabel* label)
{
    return label->text().toStdString();
}

// A column listing folder "d" of drive T: (a&b, x.txt, y.txt), focused on x.txt, and the
// dialog the tests drive.
class FileFormTest : public ColumnTest
{
protected:
    FileFormTest()
    {
        MakeFile("d/a&b/inner.txt", 3);
        MakeFile("d/x.txt", 5);
        MakeFile("d/y.txt", 7);
        Open(Source, Drive.Path("d\\x.txt"));
    }

    // Shows the dialog on the column's selection (or focused item) from folder "d" to
    // folder "e"; `act` drives the shown dialog, which then ends with `answer`. The boxes
    // that `act` makes appear are answered OK.
    bool Show(const std::string& operation, TModalScript& script, std::function<void()> act = {}, int answer = mrCancel,
              const std::string& prefix = {}, const std::vector<std::string>& boxes = {})
    {
        script.Expect(operation, answer, [act = std::move(act)](const TModalRequest&) {
            if (act)
                act();
        });
        for (const std::string& box : boxes)
            script.Expect(box, IDOK);
        return Form.Dialog(FileOperation::TakesPrefix(operation), operation, Source, nullptr,
                           Source.FileList->FocusIndex, Drive.Path("d\\"), Drive.Path("e\\"), prefix, false, false);
    }

    TColumn& Source = MakeColumn();
    TFileForm Form;
};

TEST_F(FileFormTest, NothingShowsForAnEmptyListOrAMissingDestination)
{
    MakeDirectory("empty");
    TColumn& empty = MakeColumn(1);
    Open(empty, Drive.Path("empty\\nothing"));
    ASSERT_EQ(0, empty.GetItemCount());
    TModalScript script; // any box or dialog fails the test
    EXPECT_FALSE(Form.Dialog(false, "Delete", empty, nullptr, 0, Drive.Path("empty\\"), "", "", false, false));
    EXPECT_FALSE(Form.Dialog(true, "Copy", Source, nullptr, 0, Drive.Path("d\\"), "", "", false, false));
    EXPECT_FALSE(FileUnitLoader.OnProgress);
}

TEST_F(FileFormTest, AColumnOutOfStepWithItsContainerPanicsAndNothingShows)
{
    TContainer container(0);
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Panic");
        failures.Expect(script, "Panic");
        EXPECT_FALSE(
            Form.Dialog(true, "Copy", Source, &container, 0, Drive.Path("d\\"), Drive.Path("e\\"), "", false, false));
    }
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0],
                HasSubstr("PANIC: Column and container items are not synchronized. You must reload the column."));
    EXPECT_THAT(failures.Reports[1], HasSubstr("Failed to Copy."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(FileUnitLoader.OnProgress);
}

TEST_F(FileFormTest, TheFormSaysWhatIsAboutToHappenWithPathsShownAsTheyAre)
{
    TModalScript script;
    Show("Delete", script, [&] {
        EXPECT_EQ("Delete focused file / directory?", Text(Form.CurrentInfoLabel));
        EXPECT_EQ(Drive.Path("d\\x.txt"), Text(Form.SourceLabel));
        EXPECT_EQ("", Text(Form.TotalInfoLabel));
        EXPECT_TRUE(FileUnitLoader.OnProgress) << "the copies report to the dialog while it is shown";
    });
    EXPECT_FALSE(FileUnitLoader.OnProgress);

    Source.SelectItem(0);
    Source.SelectItem(1);
    Show("Copy", script, [&] {
        EXPECT_EQ("Copy", Form.windowTitle().toStdString());
        EXPECT_EQ("Copy 2 selected files / directories?", Text(Form.CurrentInfoLabel));
        EXPECT_EQ(Drive.Path("d\\"), Text(Form.SourceLabel));
        EXPECT_EQ(Drive.Path("e\\"), Text(Form.DestinationLabel));
    });

    MakeDirectory("f&g");
    script.Expect("Move (from drop)", mrCancel, [&](const TModalRequest&) {
        EXPECT_EQ(IncludeEndBackslash(Drive.Path("f&g")), Text(Form.DestinationLabel));
        EXPECT_EQ(Qt::PlainText, Form.DestinationLabel->textFormat());
        EXPECT_EQ(Qt::PlainText, Form.SourceLabel->textFormat());
    });
    Form.Dialog(true, "Move", Source, nullptr, 0, Drive.Path("d\\"), Drive.Path("f&g"), "", false, true);
}

TEST_F(FileFormTest, ControlsFollowTheOperationAndTheOptionsToggles)
{
    struct Row
    {
        std::string Operation;
        bool Options;
        bool Convert;
        bool Prefix;
        bool Conversion;
        bool Encryption;
        bool Shown;
    };
    const std::vector<Row> rows = {
        {"Copy", false, false, true, false, true, false},
        {"copy", true, false, true, false, true, true},
        {"Move", false, true, true, false, false, false},
        {"Delete", true, true, false, false, false, true},
        {"Recycle", false, true, false, false, false, false},
        {"Compare", true, false, true, false, false, true},
        {"Convert picture", false, true, true, true, false, true},
        {"Convert picture", false, false, true, true, false, false},
        {"Convert picture", true, false, true, true, false, true},
        {"Clip title of", false, true, false, false, false, false},
        {"Copy as link", true, true, true, false, false, true},
    };
    TModalScript script;
    std::optional<int> hiddenHeight;
    std::optional<int> shownHeight;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Operation + (row.Options ? " options" : "") + (row.Convert ? " convert" : ""));
        Form.ShowOptionsSpeedButton->setChecked(row.Options);
        Form.ShowOptionsConvertSpeedButton->setChecked(row.Convert);
        Show(row.Operation, script, [&] {
            for (QWidget* control :
                 std::initializer_list<QWidget*>{Form.OkayButton, Form.OkayNoErrorsButton, Form.CancelButton,
                                                 Form.HelpButton, Form.ShowOptionsSpeedButton,
                                                 Form.ShowOptionsConvertSpeedButton, Form.OptionsPanel})
                EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();
            EXPECT_EQ(row.Prefix, Form.OkayAddPrefixButton->isEnabled());
            EXPECT_EQ(row.Prefix, Form.OkayReplacePrefixButton->isEnabled());
            EXPECT_EQ(row.Prefix, Form.PrefixGroupBox->isEnabled());
            EXPECT_EQ(row.Conversion, Form.ConvertPictureGroupBox->isEnabled());
            EXPECT_EQ(row.Encryption, Form.IgnoreEncryptionCheckBox->isEnabled());
            EXPECT_EQ(row.Shown, Form.OptionsPanel->isVisibleTo(&Form));
            std::optional<int>& height = row.Shown ? shownHeight : hiddenHeight;
            if (!height)
                height = Form.height();
            EXPECT_EQ(*height, Form.height());
            EXPECT_EQ(Form.ButtonsPanel->geometry().bottom() + 1, Form.height()) << "the buttons close the form";
        });
    }
    ASSERT_TRUE(shownHeight && hiddenHeight);
    EXPECT_GT(*shownHeight, *hiddenHeight);

    Show("Delete", script, [&] {
        Form.ShowOptionsSpeedButton->setChecked(false);
        Form.ShowOptionsSpeedButtonClick();
        EXPECT_FALSE(Form.OptionsPanel->isVisibleTo(&Form));
        Form.ShowOptionsSpeedButton->setChecked(true);
        Form.ShowOptionsSpeedButtonClick();
        EXPECT_TRUE(Form.OptionsPanel->isVisibleTo(&Form)) << "a toggle shows the options at once";
    });
}

// A refused input is warned about and the dialog stays as it was, inputs and all, so that
// the user can mend them; nothing is processed.
TEST_F(FileFormTest, RefusedFiltersAndPrefixesKeepTheDialogOpen)
{
    struct Row
    {
        std::string Include;
        std::string Exclude;
        std::string Prefix;
        void (TFileForm::*Button)();
        std::string Warning;
    };
    const std::vector<Row> rows = {
        {"*.txt|*.log", "", "", &TFileForm::OkayButtonClick, "Invalid include file name filter."},
        {"a<b", "", "", &TFileForm::OkayNoErrorsButtonClick, "Invalid include file name filter."},
        {"d:\\*.txt", "", "", &TFileForm::OkayButtonClick, "Invalid include file name filter."},
        {"*.txt", "x/y", "", &TFileForm::OkayButtonClick, "Invalid exclude file name filter."},
        {"", "\"q\"", "", &TFileForm::OkayButtonClick, "Invalid exclude file name filter."},
        {"", "a>b", "P_", &TFileForm::OkayAddPrefixButtonClick, "Invalid exclude file name filter."},
        {"", "", "x?_", &TFileForm::OkayAddPrefixButtonClick, "Invalid file name prefix."},
        {"", "", "*_", &TFileForm::OkayReplacePrefixButtonClick, "Invalid file name prefix."},
        {"", "", "a:b_", &TFileForm::OkayButtonClick, "Invalid file name prefix."},
        {"*.txt", "", "", &TFileForm::OkayAddPrefixButtonClick, "Empty file name prefix."},
    };
    TModalScript script;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Warning + " " + row.Include + row.Exclude + row.Prefix);
        const auto act = [&] {
            Form.IncludeFilterComboBox->setEditText(QString::fromStdString(row.Include));
            Form.ExcludeFilterComboBox->setEditText(QString::fromStdString(row.Exclude));
            Form.PrefixComboBox->setEditText(QString::fromStdString(row.Prefix));
            (Form.*row.Button)();
            ASSERT_FALSE(script.Seen().empty());
            EXPECT_EQ(row.Warning, script.Seen().back().Text);
            EXPECT_EQ(0, Form.result()) << "the dialog stays open";
            EXPECT_FALSE(Form.IsWorking());
            EXPECT_EQ(row.Include, Text(Form.IncludeFilterComboBox));
            EXPECT_EQ(row.Exclude, Text(Form.ExcludeFilterComboBox));
            EXPECT_EQ(row.Prefix, Text(Form.PrefixComboBox));
            EXPECT_TRUE(Form.OkayButton->isEnabled());
        };
        Show("Copy", script, act, mrCancel, "", {"Warning"});
    }
    EXPECT_FALSE(Drive.Exists("e"));
    EXPECT_TRUE(Drive.Exists("d/x.txt"));
    EXPECT_EQ(std::string(5, 'x'), Drive.ReadFile("d/x.txt"));
}

TEST_F(FileFormTest, FiltersAreEmptiedAndOnlyAHistoryOrGivenPrefixStays)
{
    TModalScript script;
    Show("Copy", script, [&] {
        Form.IncludeFilterComboBox->setEditText("*.txt");
        Form.PrefixComboBox->setEditText("never_");
    });
    Show("Copy", script, [&] {
        EXPECT_EQ("", Text(Form.IncludeFilterComboBox));
        EXPECT_EQ("", Text(Form.PrefixComboBox)) << "a prefix that was never used is gone";
    });
    Show(
        "Move", script, [&] { EXPECT_EQ("given_", Text(Form.PrefixComboBox)); }, mrCancel, "given_");
    Form.PrefixComboBox->insertItem(0, "kept_");
    Form.PrefixComboBox->setEditText("kept_");
    Show("Copy", script, [&] { EXPECT_EQ("kept_", Text(Form.PrefixComboBox)); });
}

TEST_F(FileFormTest, FilterBoxesOfferTheNamedListsAndQualityGoesInStepsOfFive)
{
    const std::vector<std::string> named = {"Text files",  "Picture files",   "Movie files",
                                            "Music files", "No backup files", "All files"};
    for (const QComboBox* box : {Form.IncludeFilterComboBox, Form.ExcludeFilterComboBox}) {
        std::vector<std::string> items;
        for (int i = 0; i < box->count(); ++i)
            items.push_back(box->itemText(i).toStdString());
        EXPECT_EQ(named, items);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(20, box->maxVisibleItems());
    }
    EXPECT_EQ(Form.IncludeFilterComboBox->toolTip(), Form.ExcludeFilterComboBox->toolTip());
    ASSERT_EQ(21, Form.ConvertPictureQualityComboBox->count());
    EXPECT_EQ("0", Form.ConvertPictureQualityComboBox->itemText(0).toStdString());
    EXPECT_EQ("55", Form.ConvertPictureQualityComboBox->itemText(11).toStdString());
    EXPECT_EQ("100", Form.ConvertPictureQualityComboBox->itemText(20).toStdString());
    EXPECT_TRUE(Form.ShowOptionsConvertSpeedButton->isChecked());
    EXPECT_FALSE(Form.ShowOptionsSpeedButton->isChecked());
    ASSERT_GT(Form.ConvertPictureFormatComboBox->count(), 0) << "the formats are there before the options are read";
    EXPECT_EQ("BMP", Form.ConvertPictureFormatComboBox->currentText().toStdString());
    EXPECT_GE(Form.ConvertPictureFormatComboBox->findText("PNG"), 0);
}

TEST_F(FileFormTest, PrefixesMadeFromTimesAreFourteenDigitsAndAnUnderscore)
{
    const std::regex compact(R"(^\d{14}_$)");
    TModalScript script;
    Show("Copy", script, [&] {
        Form.NewPrefixByCurrentButtonClick();
        EXPECT_TRUE(std::regex_match(Text(Form.PrefixComboBox), compact)) << Text(Form.PrefixComboBox);
        Form.NewPrefixByCreationButtonClick();
        EXPECT_TRUE(std::regex_match(Text(Form.PrefixComboBox), compact)) << Text(Form.PrefixComboBox);
    });

    TShownFailures failures;
    script.Expect("Copy", mrCancel, [&](const TModalRequest&) {
        Form.PrefixComboBox->setEditText("old_");
        Remove("d/x.txt");
        Form.NewPrefixByCreationButtonClick();
        EXPECT_EQ("old_", Text(Form.PrefixComboBox)) << "a vanished file makes no prefix";
    });
    failures.Expect(script, "Error");
    Form.Dialog(true, "Copy", Source, nullptr, Source.FileList->FocusIndex, Drive.Path("d\\"), Drive.Path("e\\"), "",
                false, false);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to make prefix."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FileFormTest, CancelAndTheCloseBoxEndWithTheCancelResultAndHelpIsNotAvailable)
{
    TModalScript script;
    const auto act = [&] {
        Form.HelpButtonClick();
        EXPECT_EQ("Help is not available.", script.Seen().back().Text);
        Form.CancelButtonClick();
        EXPECT_EQ(mrCancel, Form.result());
    };
    Show("Delete", script, act, mrCancel, "", {"Message"});
    Show("Delete", script, [&] {
        QCloseEvent close;
        QCoreApplication::sendEvent(&Form, &close);
        EXPECT_EQ(mrCancel, Form.result()) << "the close box is Cancel";
    });
    EXPECT_TRUE(Drive.Exists("d/x.txt"));
}

// A prefix used with a prefix button joins the history and is offered again; the
// filters, too, are remembered, each in both boxes.
TEST_F(FileFormTest, UsedPrefixesAndFiltersJoinTheHistories)
{
    MakeDirectory("e");
    TModalScript script;
    const auto act = [&] {
        Form.IncludeFilterComboBox->setEditText("*.txt");
        Form.ExcludeFilterComboBox->setEditText("y*");
        Form.PrefixComboBox->setEditText("P_");
        Form.OkayAddPrefixButtonClick();
    };
    EXPECT_TRUE(Show("Copy", script, act, mrOkay));
    EXPECT_EQ(std::string(5, 'x'), Drive.ReadFile("e/P_x.txt"));
    Show("Copy", script, [&] {
        EXPECT_EQ("P_", Text(Form.PrefixComboBox)) << "a used prefix stays in the box";
        EXPECT_EQ("P_", Form.PrefixComboBox->itemText(0).toStdString());
        EXPECT_EQ("", Text(Form.IncludeFilterComboBox));
        EXPECT_EQ("*.txt", Form.IncludeFilterComboBox->itemText(0).toStdString());
        EXPECT_EQ("y*", Form.IncludeFilterComboBox->itemText(1).toStdString());
        EXPECT_EQ("y*", Form.ExcludeFilterComboBox->itemText(0).toStdString());
        EXPECT_EQ("*.txt", Form.ExcludeFilterComboBox->itemText(1).toStdString());
    });
}

// While the engine works only "&Cancel" and "&Help" answer; the close box stops the work
// instead of closing the dialog under it.
TEST_F(FileFormTest, WhileTheEngineWorksOnlyCancelAndHelpAnswer)
{
    MakeDirectory("e");
    Form.StopAfterCountCheckBox->setChecked(true);
    TModalScript script;
    script.Expect("Copy", mrCancel, [&](const TModalRequest&) { Form.OkayButtonClick(); });
    script.Expect("Query", IDOK, [&](const TModalRequest& request) {
        EXPECT_EQ("Continue with processing?", request.Text);
        EXPECT_TRUE(Form.IsWorking());
        for (QWidget* control :
             std::initializer_list<QWidget*>{Form.OkayButton, Form.OkayNoErrorsButton, Form.ShowOptionsSpeedButton,
                                             Form.ShowOptionsConvertSpeedButton, Form.OptionsPanel})
            EXPECT_FALSE(control->isEnabled());
        EXPECT_TRUE(Form.CancelButton->isEnabled());
        EXPECT_TRUE(Form.HelpButton->isEnabled());
        QCloseEvent close;
        QCoreApplication::sendEvent(&Form, &close);
        EXPECT_FALSE(close.isAccepted()) << "the dialog stays while the engine works";
    });
    Form.Dialog(true, "Copy", Source, nullptr, Source.FileList->FocusIndex, Drive.Path("d\\"), Drive.Path("e\\"), "",
                false, false);
    EXPECT_FALSE(Drive.Exists("e/x.txt")) << "the close box stopped the work";
    EXPECT_FALSE(Form.IsWorking());
    EXPECT_TRUE(Form.OkayButton->isEnabled());
}

// Each showing starts asking about overwrites anew; a comparison answers them at once.
TEST_F(FileFormTest, EachShowingResetsTheOverwriteAnswer)
{
    TOverwriteForm overwrite;
    OverwriteForm = &overwrite;
    TModalScript script;
    overwrite.SetChoice(ocOverAll);
    Show("Compare", script, [&] { EXPECT_EQ(ocOverAllOlder, overwrite.Choice()); });
    Show("Copy", script, [&] { EXPECT_EQ(ocSkipThis, overwrite.Choice()); });
    OverwriteForm = nullptr;
}

} // namespace
