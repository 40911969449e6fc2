#include "fileops/MultiRenameItemForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

const std::string FilesCaption = "Multi-rename files";
const std::string ItemsCaption = "Multi-rename container items";
const std::string OverwriteCaption = "Overwrite destination with source ?";

// The inputs of one try; the others keep their defaults.
struct TInputs
{
    std::string Prefix = {};
    std::string Suffix = {};
    std::string Extension = {};
    std::string Digits = "4";
    std::string Start = "1";
    std::string Step = "1";
    bool Append = false;
    bool Cut = false;
    std::string Original = {};
    std::string New = {};
};

std::vector<std::string> Titles(const QListWidget& list)
{
    std::vector<std::string> titles;
    for (int i = 0; i < list.count(); ++i)
        titles.push_back(list.item(i)->text().toStdString());
    return titles;
}

// A folder "d" of drive T: with the files a test names, all selected in a column, and the
// dialog with an overwrite dialog to ask.
class MultiRenameTest : public ColumnTest
{
protected:
    MultiRenameTest() { OverwriteForm = &Overwrite; }
    ~MultiRenameTest() override
    {
        OverwriteForm = nullptr;
        host::ClearFaults();
    }

    TColumn& ListSelected(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            Drive.WriteFile("d/" + name, name);
        Open(Source, Drive.Path("d\\" + names.front()));
        for (int32_t i = 0; i < Source.GetItemCount(); ++i)
            Source.SelectItem(i);
        return Source;
    }

    void Fill(const TInputs& inputs)
    {
        Form.NewNamePrefixEdit->setText(QString::fromStdString(inputs.Prefix));
        Form.NewNameSuffixEdit->setText(QString::fromStdString(inputs.Suffix));
        Form.NewNameExtensionEdit->setText(QString::fromStdString(inputs.Extension));
        Form.CounterDigitsComboBox->setCurrentText(QString::fromStdString(inputs.Digits));
        Form.CounterStartValueComboBox->setEditText(QString::fromStdString(inputs.Start));
        Form.CounterStepValueComboBox->setEditText(QString::fromStdString(inputs.Step));
        Form.NewNameAppendOriginalNameCheckBox->setChecked(inputs.Append);
        Form.NewNameCutOriginalPrefixCheckBox->setChecked(inputs.Cut);
        Form.OriginalTextEdit->setText(QString::fromStdString(inputs.Original));
        Form.NewTextEdit->setText(QString::fromStdString(inputs.New));
    }

    // Shows the dialog, fills it and lets `act` drive it; the dialog then closes with
    // Cancel unless `act` closed it. `expect` adds the requests that `act` makes.
    bool Show(TModalScript& script, TContainer* container, bool renameFiles, const TInputs& inputs,
              std::function<void()> act, std::function<void()> expect = {})
    {
        script.Expect(renameFiles ? FilesCaption : ItemsCaption, mrCancel, [&, act, expect](const TModalRequest&) {
            if (expect)
                expect();
            Fill(inputs);
            act();
        });
        return Form.Dialog(Source, container, renameFiles);
    }

    // The new titles of a preview, or none when it failed.
    std::vector<std::string> PreviewOf(const std::vector<std::string>& names, const TInputs& inputs)
    {
        ListSelected(names);
        TModalScript script;
        std::vector<std::string> titles;
        Show(script, nullptr, true, inputs, [&] {
            if (Form.Preview())
                titles = Titles(*Form.NewListBox);
        });
        return titles;
    }

    std::string InD(const std::string& name) const { return Drive.Path("d\\" + name); }

    TColumn& Source = MakeColumn();
    TOverwriteForm Overwrite;
    TMultiRenameItemForm Form;
};

TEST_F(MultiRenameTest, PatternsMakeTheNewNames)
{
    struct Row
    {
        const char* What;
        std::vector<std::string> Names;
        TInputs Inputs;
        std::vector<std::string> Expected;
    };
    const std::vector<Row> rows = {
        {"prefix and counter keep each extension",
         {"a.jpg", "b.png"},
         {.Prefix = "IMG_", .Digits = "3"},
         {"IMG_001.jpg", "IMG_002.png"}},
        {"append with the prefix cut",
         {"20050101_holiday.jpg"},
         {.Prefix = "01_", .Append = true, .Cut = true},
         {"01_0001holiday.jpg"}},
        {"append without the cut",
         {"20050101_holiday.jpg"},
         {.Prefix = "01_", .Append = true},
         {"01_000120050101_holiday.jpg"}},
        {"the extension alone leaves the counter out", {"a.jpg", "b"}, {.Extension = "txt"}, {"a.txt", "b.txt"}},
        {"suffix, start and step",
         {"a.jpg", "b.jpg"},
         {.Suffix = "_x", .Digits = "2", .Start = "5", .Step = "10"},
         {"05_x.jpg", "15_x.jpg"}},
        {"replace ignores case and acts once",
         {"Holiday holiday.txt"},
         {.Original = "HOLIDAY", .New = "trip"},
         {"trip holiday.txt"}},
        {"an empty original text replaces nothing",
         {"a.txt"},
         {.Prefix = "n", .Digits = "1", .Append = true, .New = "x"},
         {"n1a.txt"}},
        {"replace, then the pattern",
         {"old_a.txt"},
         {.Prefix = "n", .Digits = "1", .Append = true, .Original = "old", .New = "new"},
         {"n1new_a.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        std::vector<std::string> expected;
        for (const std::string& name : row.Expected)
            expected.push_back(InD(name));
        EXPECT_EQ(expected, PreviewOf(row.Names, row.Inputs));
        Remove("d");
    }
}

TEST_F(MultiRenameTest, ADirectoryKeepsItsNamePrefix)
{
    MakeDirectory("d/2005_trip");
    const std::vector<std::string> titles =
        PreviewOf({"2005_a.txt"}, {.Prefix = "x", .Digits = "1", .Append = true, .Cut = true});
    EXPECT_EQ((std::vector<std::string>{InD("x12005_trip"), InD("x2a.txt")}), titles);
}

TEST_F(MultiRenameTest, RefusedInputsWarnAndKeepTheDialogAsItWas)
{
    struct Row
    {
        TInputs Inputs;
        std::string Warning;
    };
    const std::vector<Row> rows = {
        {{.Prefix = "a", .Step = "0"}, "Invalid counter values."},
        {{.Prefix = "a", .Start = "-1"}, "Invalid counter values."},
        {{.Prefix = "a", .Start = "1000001"}, "Invalid counter values."},
        {{}, "Invalid filters."},
        {{.Prefix = "a:b"}, "Invalid filters."},
        {{.Extension = "t/x"}, "Invalid filters."},
        {{.Original = "a", .New = "b*"}, "Invalid filters."},
    };
    ListSelected({"a.txt"});
    TModalScript script;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Inputs.Prefix + row.Inputs.Start + row.Inputs.Step + row.Inputs.New);
        Show(
            script, nullptr, true, row.Inputs,
            [&] {
                Form.RenameButtonClick();
                EXPECT_TRUE(Form.RenameButton->isEnabled());
                EXPECT_EQ(QString::fromStdString(row.Inputs.Step), Form.CounterStepValueComboBox->currentText());
            },
            [&] {
                script.Expect("Warning", IDOK,
                              [&](const TModalRequest& request) { EXPECT_EQ(row.Warning, request.Text); });
            });
    }
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
}

TEST_F(MultiRenameTest, AReplaceActsOnWholeTitlesOnlyInTheContainer)
{
    TContainer container(0);
    container.AddItem("C:\\photos\\a.jpg", 0);
    container.AddItem("C:\\b.jpg", 0);
    Source.SetWithContainer(&container);
    for (int32_t i = 0; i < Source.GetItemCount(); ++i)
        Source.SelectItem(i);
    TModalScript script;
    Show(
        script, &container, false, {.Original = "c:", .New = "D:"}, [&] { Form.RenameButtonClick(); },
        [&] {
            script.Expect("Query", IDYES, [](const TModalRequest& request) {
                EXPECT_EQ("Do you want to rename 2 container items?", request.Text);
            });
        });
    EXPECT_EQ("D:\\photos\\a.jpg", container.Items()[0].Path);
    EXPECT_EQ("D:\\b.jpg", container.Items()[1].Path);

    // Renaming files, a replace that would move a file into another folder is refused.
    TShownFailures failures;
    ListSelected({"a.txt", "b.txt"});
    Show(
        script, nullptr, true, {.Original = "a", .New = "..\\x"}, [&] { EXPECT_FALSE(Form.Preview()); },
        [&] { failures.Expect(script, "Error"); });
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Invalid filters: some names would be invalid."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to preview multi-rename items."));
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
}

// A replace that leaves "." or ".." (the folder itself or its parent) or a name of dots
// and blanks is refused before anything is renamed.
TEST_F(MultiRenameTest, AReplaceThatLeavesNoValidNameIsRefused)
{
    struct Row
    {
        const char* File;
        TInputs Inputs;
    };
    const std::vector<Row> rows = {
        {"a.b", {.Original = "a.b", .New = ".."}},
        {"a.b", {.Original = "a.b", .New = "."}},
        {"ab", {.Original = "ab", .New = "..."}},
        {"ab", {.Original = "ab", .New = "  "}},
        {"ab", {.Original = "ab", .New = ". ."}},
        {"ab", {.Original = "ab", .New = ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.File + (" to \"" + row.Inputs.New + "\""));
        Remove("d");
        ListSelected({row.File});
        TShownFailures failures;
        TModalScript script;
        Show(
            script, nullptr, true, row.Inputs, [&] { Form.RenameButtonClick(); },
            [&] { failures.Expect(script, "Error"); });
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_THAT(failures.Reports[0], HasSubstr("Invalid filters: some names would be invalid."));
        EXPECT_TRUE(Drive.Exists(std::string("d/") + row.File));
    }
}

TEST_F(MultiRenameTest, TheCounterGrowsPastThirtyTwoBits)
{
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i)
        names.push_back(std::to_string(10000 + i) + ".t");
    const std::vector<std::string> titles =
        PreviewOf(names, {.Prefix = "n", .Digits = "1", .Start = "1000000", .Step = "1000000"});
    ASSERT_EQ(3000u, titles.size());
    EXPECT_EQ(InD("n1000000.t"), titles.front());
    EXPECT_EQ(InD("n3000000000.t"), titles.back());
}

// Renumbering IMG_1..IMG_4 to IMG_2..IMG_5: each new name but the last is a file of the
// batch that leaves it, so nothing is asked; a file outside the batch still is.
TEST_F(MultiRenameTest, RenumberingNeverOverwritesTheBatchsOwnFiles)
{
    struct Row
    {
        const char* What;
        bool Foreign;
        TOverwriteChoice Answer;
        std::map<std::string, std::string> After;
    };
    const std::map<std::string, std::string> renumbered = {
        {"IMG_2.jpg", "IMG_1.jpg"}, {"IMG_3.jpg", "IMG_2.jpg"}, {"IMG_4.jpg", "IMG_3.jpg"}, {"IMG_5.jpg", "IMG_4.jpg"}};
    const std::vector<Row> rows = {
        {"the batch alone", false, ocOverAll, renumbered},
        {"over a foreign file, overwrite all", true, ocOverAll, renumbered},
        {"over a foreign file, skip all",
         true,
         ocSkipAll,
         {{"IMG_1.jpg", "IMG_1.jpg"},
          {"IMG_2.jpg", "IMG_2.jpg"},
          {"IMG_3.jpg", "IMG_3.jpg"},
          {"IMG_4.jpg", "IMG_4.jpg"},
          {"IMG_5.jpg", "foreign"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        Remove("d");
        ListSelected({"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"});
        if (row.Foreign)
            Drive.WriteFile("d/IMG_5.jpg", "foreign");
        TModalScript script;
        Show(
            script, nullptr, true, {.Prefix = "IMG_", .Digits = "1", .Start = "2"}, [&] { Form.RenameButtonClick(); },
            [&] {
                script.Expect("Query", IDYES);
                if (row.Foreign)
                    script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(row.Answer),
                                  [&](const TModalRequest&) {
                                      EXPECT_EQ("IMG_4.jpg", Overwrite.SourceSide.FileLabel->text().toStdString());
                                      EXPECT_EQ("IMG_5.jpg", Overwrite.DestSide.FileLabel->text().toStdString());
                                  });
            });
        std::map<std::string, std::string> after;
        for (const auto& entry : std::filesystem::directory_iterator(Drive.HostPath("d")))
            after[entry.path().filename().string()] = Drive.ReadFile("d/" + entry.path().filename().string());
        EXPECT_EQ(row.After, after);
    }
}

// Only the overwrite dialog's Abort or a failure stops a batch under way.
TEST_F(MultiRenameTest, CancelEscapeAndTheCloseBoxWaitWhileFilesAreRenamed)
{
    ListSelected({"a.txt", "b.txt", "c.txt"});
    Drive.WriteFile("d/n1.txt", "there");
    TModalScript script;
    Show(
        script, nullptr, true, {.Prefix = "n", .Digits = "1"}, [&] { Form.RenameButtonClick(); },
        [&] {
            script.Expect("Query", IDYES);
            script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocSkipThis), [&](const TModalRequest&) {
                EXPECT_TRUE(Form.IsRenaming());
                Form.CancelButtonClick();
                Form.reject();
                EXPECT_FALSE(Form.close());
                EXPECT_NE(mrCancel, Form.result());
            });
        });
    EXPECT_EQ(mrOkay, Form.result());
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
    EXPECT_EQ("b.txt", Drive.ReadFile("d/n2.txt"));
    EXPECT_EQ("c.txt", Drive.ReadFile("d/n3.txt"));
}

TEST_F(MultiRenameTest, AbortStopsAfterThatFile)
{
    ListSelected({"a.txt", "b.txt", "c.txt"});
    Drive.WriteFile("d/n1.txt", "there");
    Drive.WriteFile("d/n2.txt", "there");
    TModalScript script;
    Show(
        script, nullptr, true, {.Prefix = "n", .Digits = "1"}, [&] { Form.RenameButtonClick(); },
        [&] {
            script.Expect("Query", IDYES);
            script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocAbort));
        });
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
    EXPECT_TRUE(Drive.Exists("d/b.txt"));
    EXPECT_TRUE(Drive.Exists("d/c.txt"));
    EXPECT_EQ("there", Drive.ReadFile("d/n1.txt"));
}

// The files before the failing one are renamed and only their entries follow them; the
// failing file and those after it keep their names and their entries.
TEST_F(MultiRenameTest, AFailureMidwayLeavesEachEntryNamingItsFile)
{
    TContainer container(0);
    for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"}) {
        Drive.WriteFile(std::string("d/") + name, name);
        container.AddItem(InD(name), 0);
    }
    Source.SetWithContainer(&container);
    for (int32_t i = 0; i < Source.GetItemCount(); ++i)
        Source.SelectItem(i);
    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED, 2);
    TShownFailures failures;
    TModalScript script;
    (Show(
        script, &container, true, {.Prefix = "n", .Digits = "1"}, [&] { Form.RenameButtonClick(); },
        [&] {
            script.Expect("Query", IDYES, [](const TModalRequest& request) {
                EXPECT_EQ("Do you want to rename 5 files?", request.Text);
            });
            failures.Expect(script, "Error");
        }));
    const std::vector<std::string> expected = {InD("n1.txt"), InD("n2.txt"), InD("3.txt"), InD("4.txt"), InD("5.txt")};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], container.Items()[i].Path);
        EXPECT_TRUE(Drive.Exists("d/" + GetPathName(expected[i])));
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to multi-rename items."));
    EXPECT_THAT(failures.Reports[0], HasSubstr(InD("3.txt")));
    EXPECT_THAT(failures.Reports[0], HasSubstr(InD("n3.txt")));
}

// A renumbering whose third file cannot take its new name undoes the renames that made
// room for it: every file is back under its name and no entry moved.
TEST_F(MultiRenameTest, AFailedRenumberingPutsEveryFileBackAndLeavesTheEntries)
{
    TContainer container(0);
    for (const char* name : {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"}) {
        Drive.WriteFile(std::string("d/") + name, name);
        container.AddItem(InD(name), 0);
    }
    Source.SetWithContainer(&container);
    for (int32_t i = 0; i < Source.GetItemCount(); ++i)
        Source.SelectItem(i);
    // IMG_2 steps aside, IMG_1 takes its name, IMG_3 steps aside, IMG_2 cannot take its name.
    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED, 3);
    TShownFailures failures;
    TModalScript script;
    Show(
        script, &container, true, {.Prefix = "IMG_", .Digits = "1", .Start = "2"}, [&] { Form.RenameButtonClick(); },
        [&] {
            script.Expect("Query", IDYES);
            failures.Expect(script, "Error");
        });
    for (const char* name : {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"})
        EXPECT_EQ(name, Drive.ReadFile(std::string("d/") + name));
    EXPECT_FALSE(Drive.Exists("d/IMG_4.jpg"));
    EXPECT_EQ(3, std::distance(std::filesystem::directory_iterator(Drive.HostPath("d")),
                               std::filesystem::directory_iterator()));
    EXPECT_EQ(InD("IMG_1.jpg"), container.Items()[0].Path);
    EXPECT_EQ(InD("IMG_2.jpg"), container.Items()[1].Path);
    EXPECT_EQ(InD("IMG_3.jpg"), container.Items()[2].Path);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to multi-rename items."));
    EXPECT_THAT(failures.Reports[0], HasSubstr(InD("IMG_3.jpg")));
}

TEST_F(MultiRenameTest, NoToTheQuestionLeavesTheDialogUsable)
{
    ListSelected({"a.txt", "b.txt"});
    TModalScript script;
    (Show(
        script, nullptr, true, {.Prefix = "n", .Digits = "1"},
        [&] {
            Form.RenameButtonClick();
            EXPECT_TRUE(Form.RenameButton->isEnabled());
            EXPECT_TRUE(Form.FileOptionsPanel->isEnabled());
            EXPECT_TRUE(Drive.Exists("d/a.txt"));
            Form.RenameButtonClick();
        },
        [&] {
            script.Expect("Query", IDNO, [](const TModalRequest& request) {
                EXPECT_EQ("Do you want to rename 2 files?", request.Text);
            });
            script.Expect("Query", IDYES);
        }));
    EXPECT_TRUE(Drive.Exists("d/n1.txt"));
    EXPECT_TRUE(Drive.Exists("d/n2.txt"));
    EXPECT_EQ(0, Form.OriginalListBox->count()) << "the lists are emptied at the close";
}

TEST_F(MultiRenameTest, RenamingContainerItemsNeedsAContainer)
{
    ListSelected({"a.txt"});
    TShownFailures failures;
    TModalScript script;
    failures.Expect(script, "Error");
    EXPECT_FALSE(Form.Dialog(Source, nullptr, false));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("If you don't rename the files then you must replace some text"));
}

TEST_F(MultiRenameTest, TheFormNeverShrinksBelowItsMinimum)
{
    Form.resize(100, 100);
    EXPECT_EQ(TMultiRenameItemForm::MinWidth, Form.width());
    EXPECT_EQ(TMultiRenameItemForm::MinHeight, Form.height());
}

class MultiRenameOptions : public MultiRenameTest
{
protected:
    void Load()
    {
        TStoredTextList store(Drive.Path("options.ini"));
        store.OnLoad = [&](TStoredTextList& list, int32_t) { Form.OnLoadOptionsSTL(list); };
        ASSERT_TRUE(store.Load(0));
    }
};

TEST_F(MultiRenameOptions, TheSectionRoundTrips)
{
    Form.CounterDigitsComboBox->setCurrentText("7");
    Form.resize(800, 560);
    Form.move(10, 20);
    {
        TStoredTextList store(Drive.Path("options.ini"));
        store.OnSave = [&](TStoredTextList& list, int32_t) { Form.OnSaveOptionsSTL(list); };
        ASSERT_TRUE(store.SaveToFile(store.FileName, false, 0));
    }
    EXPECT_THAT(Drive.ReadFile("options.ini"), HasSubstr("[MultiRename]"));
    TMultiRenameItemForm reader;
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnLoad = [&](TStoredTextList& list, int32_t) { reader.OnLoadOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ("7", reader.CounterDigitsComboBox->currentText().toStdString());
    EXPECT_EQ(QSize(800, 560), reader.size());
}

TEST_F(MultiRenameOptions, BadValuesFallBack)
{
    for (const char* digits : {"0", "10", "x", ""}) {
        SCOPED_TRACE(digits);
        Form.CounterDigitsComboBox->setCurrentText("2");
        Drive.WriteFile("options.ini", std::string("[MultiRename]\r\nXPos=-5000\r\nYPos=99999\r\nXSize=99999\r\n"
                                                   "YSize=10\r\nCounterDigits=") +
                                           digits + "\r\n\r\n");
        Load();
        EXPECT_EQ("4", Form.CounterDigitsComboBox->currentText().toStdString());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(area.contains(Form.pos())) << Form.pos().x() << "," << Form.pos().y();
        EXPECT_LE(Form.width(), std::max(area.width(), TMultiRenameItemForm::MinWidth));
        EXPECT_EQ(TMultiRenameItemForm::MinHeight, Form.height());
    }
}

} // namespace
