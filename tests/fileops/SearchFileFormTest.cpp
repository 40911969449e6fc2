#include "fileops/SearchFileForm.h"

#include "columns/ColumnTestSupport.h"
#include "columns/ContainerDialog.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Error.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include "support/RecordingLauncher.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

std::string Text(const QComboBox* box)
{
    return box->currentText().toStdString();
}

std::string Text(const QLabel* label)
{
    return label->text().toStdString();
}

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
}

// A column listing folder "d" of drive T: (sub, x.txt, y.txt), focused on x.txt, and the
// dialog the tests drive.
class SearchFileFormTest : public ColumnTest
{
protected:
    SearchFileFormTest()
    {
        MakeFile("d/sub/inner.txt", 3);
        MakeFile("d/x.txt", 5);
        MakeFile("d/y.txt", 7);
        Open(Column, Drive.Path("d\\x.txt"));
    }

    // Opens the dialog; `act` drives it while it is shown, and the dialog then ends with
    // `answer` as a person's choice would end it.
    bool Show(TModalScript& script, const std::string& caption, const std::function<void()>& act,
              const std::string& duplicateOf = {}, bool history = false, int answer = mrCancel)
    {
        script.Expect(caption, answer, [act](const TModalRequest&) { act(); });
        return Form().Dialog(Column, duplicateOf, history);
    }

    // What a search would have found, in rank order.
    void Feed(const std::string& path, bool directory, int32_t rank)
    {
        const int32_t index = Form().Engine.Found.Add(path, directory, rank, true);
        (directory ? Form().Engine.DirsFound : Form().Engine.FilesFound) += 1;
        Form().ItemFound(index);
    }

    void FeedFileAndFolder()
    {
        Feed(Drive.Path("d\\x.txt"), false, 7);
        Feed(Drive.Path("d\\sub"), true, 3);
    }

    TSearchFileForm& Form() { return *Owned; }
    // A form as the program starts with, for a case of a table.
    void Renew() { Owned = std::make_unique<TSearchFileForm>(nullptr, &Containers); }

    TColumn& Column = MakeColumn();
    TContainerDialog Containers;

private:
    std::unique_ptr<TSearchFileForm> Owned = std::make_unique<TSearchFileForm>(nullptr, &Containers);
};

TEST_F(SearchFileFormTest, ANormalSearchOpensWithEveryGroupAndAnEmptyFoundListDisablesTheResultButtons)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        EXPECT_TRUE(Form().FileNameFilterGroupBox->isEnabled());
        EXPECT_TRUE(Form().TextFilterGroupBox->isEnabled());
        EXPECT_TRUE(Form().TimeSizeTabSheet->isEnabled());
        EXPECT_TRUE(Form().SearchContentSelectButton->isEnabled());
        EXPECT_FALSE(Form().StopButton->isEnabled());
        EXPECT_FALSE(Form().PutInSearchContainerButton->isEnabled());
        EXPECT_FALSE(Form().ClipAllTitlesButton->isEnabled());
        EXPECT_EQ(IncludeEndBackslash(Drive.Path("d")), Text(Form().LookingInLabel));
    });
}

TEST_F(SearchFileFormTest, ADuplicatesSearchStartsByItselfWhenShownWithItsGroupsDisabled)
{
    Form().CreationMinTimeCheckBox->setChecked(true);
    Form().SizeMaxCheckBox->setChecked(true);
    TModalScript script;
    Show(
        script, "Search duplicate files of \"x.txt\"",
        [&] {
            EXPECT_EQ("All files", Text(Form().FileNameFilterComboBox));
            EXPECT_FALSE(Form().FileNameFilterGroupBox->isEnabled());
            EXPECT_FALSE(Form().TextFilterGroupBox->isEnabled());
            EXPECT_FALSE(Form().TimeSizeTabSheet->isEnabled());
            EXPECT_FALSE(Form().SearchNamesButton->isEnabled());
            EXPECT_FALSE(Form().SearchContentButton->isEnabled());
            EXPECT_FALSE(Form().SearchNamesSelectButton->isEnabled());
            EXPECT_FALSE(Form().SearchContentSelectButton->isEnabled());
            EXPECT_FALSE(Form().CreationMinTimeCheckBox->isChecked()) << "limits are cleared at each opening";
            EXPECT_FALSE(Form().SizeMaxCheckBox->isChecked());
            // The stand-in engine finds nothing, which the end of the search says.
            script.Expect("Message", IDOK, [&](const TModalRequest& box) { EXPECT_EQ("No matches found.", box.Text); });
            Form().show();
            QCoreApplication::processEvents();
            EXPECT_EQ("Search complete.", Text(Form().LookingInLabel)) << "the search ran when the dialog was shown";
            EXPECT_THAT(Text(Form().InfoLabel),
                        StartsWith("Errors 0 | Directories 0 | Files 0 | Jumped files 0 | Time "));
            EXPECT_FALSE(Form().SearchNamesButton->isEnabled()) << "the enabling after a search keeps the mode's";
            Form().hide();
        },
        Drive.Path("d\\x.txt"));
}

TEST_F(SearchFileFormTest, HistoryModeSearchesTextOnlyAndKeepsTheNameFilterEmpty)
{
    TModalScript script;
    Show(
        script, "Search navigation history",
        [&] {
            EXPECT_FALSE(Form().FileNameFilterGroupBox->isEnabled());
            EXPECT_FALSE(Form().TimeSizeTabSheet->isEnabled());
            EXPECT_TRUE(Form().TextFilterGroupBox->isEnabled());
            EXPECT_FALSE(Form().FilePartsComboBox->isEnabled());
            EXPECT_TRUE(Form().SearchNamesButton->isEnabled());
            EXPECT_FALSE(Form().SearchContentButton->isEnabled());
            EXPECT_FALSE(Form().SearchNamesSelectButton->isEnabled());

            script.Expect("Warning", IDOK,
                          [](const TModalRequest& box) { EXPECT_EQ("Text filter can't be empty.", box.Text); });
            Form().SearchNamesButtonClick();

            Form().FileNameFilterComboBox->setEditText("");
            Form().TextFilterComboBox->setEditText("report draft");
            script.Expect("Message", IDOK);
            Form().SearchNamesButtonClick();
            EXPECT_EQ("", Text(Form().FileNameFilterComboBox)) << "a history search needs no name filter";
            ASSERT_EQ(2, Form().TextFilters.Count());
            EXPECT_EQ("REPORT", Form().TextFilters[0]);
            EXPECT_EQ("DRAFT", Form().TextFilters[1]);
        },
        {}, true);
}

TEST_F(SearchFileFormTest, AContentSearchFillsAnEmptyNameFilterWithTextFilesOnlyOnceItHasAText)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        Form().FileNameFilterComboBox->setEditText("");
        Form().TextFilterComboBox->setEditText("");
        script.Expect("Warning", IDOK,
                      [](const TModalRequest& box) { EXPECT_EQ("Text filter can't be empty.", box.Text); });
        Form().SearchContentButtonClick();
        EXPECT_EQ("", Text(Form().FileNameFilterComboBox)) << "a refused search changes no box";

        Form().TextFilterComboBox->setEditText("alpha");
        script.Expect("Message", IDOK);
        Form().SearchContentButtonClick();
        EXPECT_EQ("Text files", Text(Form().FileNameFilterComboBox));

        Form().FileNameFilterComboBox->setEditText("*.none");
        script.Expect("Message", IDOK);
        Form().SearchNamesButtonClick();
        EXPECT_EQ(0, Form().TextFilters.Count()) << "a names search ranks nothing";
    });
}

TEST_F(SearchFileFormTest, EnterAndCtrlEnterInTheFilterBoxesRunTheirSearches)
{
    struct Row
    {
        bool TextBox;
        Qt::KeyboardModifiers Modifiers;
        bool Runs;
        bool Select;
        int32_t Filters;
    };
    const Row rows[] = {
        {false, Qt::NoModifier, true, false, 0},    {false, Qt::ControlModifier, true, true, 0},
        {true, Qt::NoModifier, true, false, 1},     {true, Qt::ControlModifier, true, true, 1},
        {true, Qt::ShiftModifier, false, false, 0}, {false, Qt::AltModifier, false, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.TextBox) + " " + std::to_string(row.Modifiers.toInt()));
        TModalScript script;
        Show(script, "Search file", [&] {
            // Nothing matches, so every search ends with its message and the dialog stays.
            Form().FileNameFilterComboBox->setEditText("*.none");
            Form().TextFilterComboBox->setEditText("alpha");
            Form().TextFilters.Clear();
            Form().InfoLabel->clear();
            if (row.Runs)
                script.Expect("Message", IDOK);
            QComboBox* box = row.TextBox ? Form().TextFilterComboBox : Form().FileNameFilterComboBox;
            SendKey(box->lineEdit(), Qt::Key_Return, row.Modifiers);
            EXPECT_EQ(row.Runs, !Form().InfoLabel->text().isEmpty());
            if (row.Runs) {
                EXPECT_EQ(row.Select, Form().SelectMode);
                EXPECT_EQ(row.Filters, Form().TextFilters.Count());
            }
        });
    }
}

// The digit keys of the main keyboard send the found items to a container from any
// control, the filter boxes too: Ctrl replaces the container's items, Shift keeps them.
TEST_F(SearchFileFormTest, CtrlOrShiftWithADigitClosesWithAContainer)
{
    struct Row
    {
        bool FromTextBox;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        bool Closes;
        int32_t Container;
        bool Keep;
    };
    const Row rows[] = {
        {false, Qt::Key_3, Qt::ControlModifier, true, 2, false},
        {false, Qt::Key_NumberSign, Qt::ShiftModifier, true, 2, true},
        {true, Qt::Key_Exclam, Qt::ShiftModifier, true, 0, true},
        {true, Qt::Key_0, Qt::ControlModifier, true, 9, false},
        {false, Qt::Key_ParenRight, Qt::ShiftModifier, true, 9, true},
        {false, Qt::Key_3, Qt::AltModifier, false, 0, false},
        {false, Qt::Key_NumberSign, Qt::ShiftModifier | Qt::ControlModifier, false, 0, false},
        {false, Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier, false, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Key) + " " + std::to_string(row.Modifiers.toInt()));
        Renew();
        TModalScript script;
        const bool found = Show(
            script, "Search file",
            [&] {
                FeedFileAndFolder();
                QWidget* target = row.FromTextBox ? static_cast<QWidget*>(Form().TextFilterComboBox->lineEdit())
                                                  : Form().FoundItemsListBox;
                SendKey(target, row.Key, row.Modifiers);
                EXPECT_EQ(row.Closes ? mrOkay : 0, Form().result());
            },
            {}, false, row.Closes ? mrOkay : mrCancel);
        EXPECT_EQ(row.Closes, found);
        EXPECT_EQ(row.Closes ? 3 : 0, Form().ResultAction);
        if (row.Closes) {
            EXPECT_EQ(row.Container, Form().ResultContainer);
            EXPECT_EQ(row.Keep, Form().ResultKeepItems);
        }
    }
}

TEST_F(SearchFileFormTest, DoubleClickAndCtrlClickOnFoundItems)
{
    struct Row
    {
        bool Folder;
        bool Switch;
        bool Double;
        int32_t Action; // 0: the item is run and the dialog stays
    };
    const Row rows[] = {
        {false, false, true, 0}, {false, false, false, 2}, {false, true, true, 2}, {false, true, false, 0},
        {true, false, true, 1},  {true, false, false, 0},  {true, true, true, 1},  {true, true, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Folder) + std::to_string(row.Switch) + std::to_string(row.Double));
        Renew();
        TRecordingLauncher launcher;
        TModalScript script;
        Show(script, "Search file", [&] {
            FeedFileAndFolder();
            Form().SwitchMouseOperationsCheckBox->setChecked(row.Switch);
            Form().show();
            QCoreApplication::processEvents();
            QWidget* viewport = Form().FoundItemsListBox->viewport();
            const QPoint point =
                Form()
                    .FoundItemsListBox->visualRect(Form().FoundItemsListBox->model()->index(row.Folder ? 1 : 0, 0))
                    .center();
            QMouseEvent press(row.Double ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, point,
                              viewport->mapToGlobal(point), Qt::LeftButton, Qt::LeftButton,
                              row.Double ? Qt::NoModifier : Qt::ControlModifier);
            QCoreApplication::sendEvent(viewport, &press);
            EXPECT_EQ(row.Action != 0 ? mrOkay : 0, Form().result());
            Form().hide();
        });
        EXPECT_EQ(row.Action, Form().ResultAction);
        EXPECT_EQ(row.Action == 0 ? 1u : 0u, launcher.Starts.size() + launcher.Calls.size());
        const std::string chosen = row.Folder ? IncludeEndBackslash(Drive.Path("d\\sub")) : Drive.Path("d\\x.txt");
        EXPECT_EQ(row.Action != 0 ? chosen : Drive.Path(row.Folder ? "d\\sub" : "d\\x.txt"), Form().ResultPath);
    }
}

TEST_F(SearchFileFormTest, TheRightButtonShowsTheShellMenuOfTheItemAndTheDialogStays)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        FeedFileAndFolder();
        Form().show();
        QCoreApplication::processEvents();
        QWidget* viewport = Form().FoundItemsListBox->viewport();
        const QRect item = Form().FoundItemsListBox->visualRect(Form().FoundItemsListBox->model()->index(1, 0));
        script.Expect("Context menu", 0, [&](const TModalRequest& menu) {
            ASSERT_NE(nullptr, menu.Menu);
            EXPECT_EQ(Form().ResultPath, Drive.Path("d\\sub"));
            const QRect screenItem(viewport->mapToGlobal(item.topLeft()), item.size());
            EXPECT_FALSE(screenItem.contains(menu.X, menu.Y)) << "the menu leaves the item in sight";
        });
        QMouseEvent press(QEvent::MouseButtonPress, item.center(), viewport->mapToGlobal(item.center()),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &press);
        EXPECT_EQ(1, Form().SelectedFoundIndex());
        EXPECT_EQ(0, Form().result());
        Form().hide();
    });
    EXPECT_EQ(0, Form().ResultAction);
}

TEST_F(SearchFileFormTest, EnterOnAFoundFolderEntersItAndTypedCharactersAreSwallowed)
{
    TModalScript script;
    const bool found = Show(
        script, "Search file",
        [&] {
            FeedFileAndFolder();
            Form().SelectFoundItem(1);
            SendKey(Form().FoundItemsListBox, Qt::Key_X, Qt::NoModifier, "x");
            EXPECT_EQ(1, Form().SelectedFoundIndex()) << "no item is looked up by its first letter";
            SendKey(Form().FoundItemsListBox, Qt::Key_Return, Qt::NoModifier);
        },
        {}, false, mrOkay);
    EXPECT_TRUE(found);
    EXPECT_EQ(1, Form().ResultAction);
    EXPECT_EQ(IncludeEndBackslash(Drive.Path("d\\sub")), Form().ResultPath);
}

TEST_F(SearchFileFormTest, ByCurrentReplacesTheSelectedPartOfTheNameFilterWithAPrefix)
{
    Form().FileNameFilterComboBox->setEditText("a*b");
    Form().FileNameFilterComboBox->lineEdit()->setSelection(1, 1);
    Form().NewPrefixByCurrentButton->click();
    const std::string text = Text(Form().FileNameFilterComboBox);
    EXPECT_TRUE(std::regex_match(text, std::regex("a[0-9]{8}[0-9_]*_b"))) << text;
}

TEST_F(SearchFileFormTest, TitlesGoToTheClipboard)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        FeedFileAndFolder();
        Form().SelectFoundItem(0);
        const std::pair<Qt::KeyboardModifiers, std::string> rows[] = {
            {Qt::NoModifier, "x.txt"},
            {Qt::ControlModifier, IncludeEndBackslash(Drive.Path("d"))},
            {Qt::ShiftModifier, Drive.Path("d\\x.txt")},
        };
        for (const auto& [modifiers, expected] : rows) {
            SendKey(Form().FoundItemsListBox, Qt::Key_F2, modifiers);
            EXPECT_EQ(expected, CopyTextFromClipboard());
        }
        Form().SelectFoundItem(1);
        Form().ClipActiveTitleButtonClick();
        EXPECT_EQ(Drive.Path("d\\sub"), CopyTextFromClipboard());
        Form().ClipAllTitlesButtonClick();
        EXPECT_EQ(Drive.Path("d\\x.txt") + "\r\n" + Drive.Path("d\\sub") + "\r\n", CopyTextFromClipboard());
    });
}

TEST_F(SearchFileFormTest, TheListHintFollowsTheItemAndTheSwitch)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        FeedFileAndFolder();
        EXPECT_THAT(Form().GetListHint(-1),
                    HasSubstr("[Double LMB] / [Enter] = run file. [Ctrl + LMB] = focus file (in current column)."));
        EXPECT_THAT(Form().GetListHint(1),
                    HasSubstr("[Double LMB] / [Enter] = enter directory. [Ctrl + LMB] = run directory."));
        EXPECT_THAT(Form().GetListHint(0), HasSubstr(" Current file \"" + Drive.Path("d\\x.txt") + "\" (rank 7)."));
        Form().SwitchMouseOperationsCheckBox->click();
        EXPECT_THAT(Form().FoundItemsListBox->toolTip().toStdString(),
                    HasSubstr("[Double LMB] / [Enter] = focus file (in current column). [Ctrl + LMB] = run file."));

        // Over an item the hint names it.
        Form().show();
        QCoreApplication::processEvents();
        QWidget* viewport = Form().FoundItemsListBox->viewport();
        const QPoint point =
            Form().FoundItemsListBox->visualRect(Form().FoundItemsListBox->model()->index(1, 0)).center();
        QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        EXPECT_EQ(Form().GetListHint(1), Form().FoundItemsListBox->toolTip().toStdString());
        EXPECT_THAT(Form().FoundItemsListBox->toolTip().toStdString(),
                    HasSubstr(" Current file \"" + Drive.Path("d\\sub") + "\" (rank 3)."));
        Form().hide();
    });
}

// A dialog whose port presses a key once while the search runs, at its first turn or
// report, and a search of the column that finds nothing.
class TKeyDuringSearchForm : public TSearchFileForm
{
public:
    TKeyDuringSearchForm(int key, Qt::KeyboardModifiers modifiers) : Key(key), Modifiers(modifiers)
    {
        // Every turn is due.
        Engine.Clock = [this] { return Now += 1; };
        FileNameFilterComboBox->setEditText("*.none");
    }
    void ProcessMessages() override
    {
        PressKey();
        TSearchFileForm::ProcessMessages();
    }
    void ShowStatus(int32_t filterIndex, double progress) override
    {
        PressKey();
        TSearchFileForm::ShowStatus(filterIndex, progress);
    }
    bool StoppedByKey = false;

private:
    void PressKey()
    {
        if (!IsSearching() || Pressed)
            return;
        Pressed = true;
        SendKey(this, Key, Modifiers);
        StoppedByKey = Engine.Stop;
    }
    int Key;
    Qt::KeyboardModifiers Modifiers;
    double Now = 0;
    bool Pressed = false;
};

TEST_F(SearchFileFormTest, EscapeDuringASearchStopsItAndOtherwiseCancels)
{
    TKeyDuringSearchForm form(Qt::Key_Escape, Qt::NoModifier);
    TModalScript script;
    script.Expect("Search file", mrCancel, [&](const TModalRequest&) {
        script.Expect("Message", IDOK);
        form.SearchNamesButtonClick();
        EXPECT_EQ(0, form.result()) << "the dialog stays";
        EXPECT_TRUE(form.SearchNamesButton->isEnabled()) << "the search ended";
        SendKey(&form, Qt::Key_Escape, Qt::NoModifier);
        EXPECT_EQ(mrCancel, form.result());
    });
    form.Dialog(Column, {}, false);
    EXPECT_TRUE(form.StoppedByKey);
}

// The search ends quietly once the dialog closed: no message, and a select search does
// not take the result over.
TEST_F(SearchFileFormTest, AContainerKeyDuringASearchClosesTheDialogForGood)
{
    TKeyDuringSearchForm form(Qt::Key_3, Qt::ControlModifier);
    TModalScript script;
    script.Expect("Search file", mrOkay, [&](const TModalRequest&) {
        form.SearchNamesSelectButtonClick();
        EXPECT_EQ(mrOkay, form.result());
    });
    form.Dialog(Column, {}, false);
    EXPECT_TRUE(form.StoppedByKey);
    EXPECT_EQ(3, form.ResultAction);
    EXPECT_EQ(2, form.ResultContainer);
}

TEST_F(SearchFileFormTest, TheFoundListShowsRanksAndPathsWithFoldersInBold)
{
    TModalScript script;
    Show(script, "Search file", [&] {
        Feed("T:\\same", false, 12);
        Feed("T:\\same", true, 5);
        const QAbstractItemModel& model = *Form().FoundItemsListBox->model();
        EXPECT_EQ(" (12) T:\\same", model.index(0, 0).data().toString().toStdString());
        EXPECT_EQ(" (5) T:\\same", model.index(1, 0).data().toString().toStdString());

        Form().show();
        QCoreApplication::processEvents();
        const QRect file = Form().FoundItemsListBox->visualRect(model.index(0, 0));
        const QRect folder = Form().FoundItemsListBox->visualRect(model.index(1, 0));
        EXPECT_EQ(QFontMetrics(Form().FoundItemsListBox->font()).height() + 1, file.height());
        EXPECT_EQ(file.height(), folder.height());
        Form().FoundItemsListBox->clearSelection();
        QImage image(Form().FoundItemsListBox->viewport()->size(), QImage::Format_RGB32);
        Form().FoundItemsListBox->viewport()->render(&image);
        // The same words in bold take more ink.
        const auto ink = [&](const QRect& row) {
            const QRgb background = image.pixel(image.width() - 2, row.top());
            int count = 0;
            for (int y = row.top(); y <= row.bottom(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixel(x, y) != background ? 1 : 0;
            return count;
        };
        const int fileInk = ink(file.translated(0, 0));
        EXPECT_GT(fileInk, 0);
        EXPECT_GT(ink(folder), fileInk);
        Form().hide();
    });
}

TEST_F(SearchFileFormTest, TheStatusLineCountsAndShowsProgressInPerMille)
{
    Form().Engine.Errors = 1;
    Form().Engine.DirsFound = 2;
    Form().Engine.FilesFound = 3;
    Form().Engine.JumpedFiles = 4;
    EXPECT_TRUE(
        std::regex_match(Form().GetStatusText(0, -1),
                         std::regex("Errors 1 \\| Directories 2 \\| Files 3 \\| Jumped files 4 \\| Time +[0-9.]+")))
        << Form().GetStatusText(0, -1);
    EXPECT_THAT(Form().GetStatusText(1, 0.5129), testing::EndsWith(" | Progress 512 \u2030 | Text filter 2"));
}

TEST_F(SearchFileFormTest, PutInFoundContainerUsesTheContainerNamedFoundAndCtrlKeepsItsItems)
{
    Containers.Containers.Find(0)->Name = "Work";
    Containers.Containers.Find(4)->Name = "found";
    TModalScript script;
    const bool found = Show(
        script, "Search file",
        [&] {
            FeedFileAndFolder();
            Form().PutInSearchContainerButtonMouseDown(ShiftOf(ssCtrl));
        },
        {}, false, mrOkay);
    EXPECT_TRUE(found);
    EXPECT_EQ(3, Form().ResultAction);
    EXPECT_EQ(4, Form().ResultContainer);
    EXPECT_TRUE(Form().ResultKeepItems);
}

TEST_F(SearchFileFormTest, PutInContainerClosesOnlyWhenAContainerIsChosen)
{
    TModalScript script;
    Show(
        script, "Search file",
        [&] {
            FeedFileAndFolder();
            script.Expect("", 0, [](const TModalRequest& menu) {
                ASSERT_NE(nullptr, menu.Menu);
                const QList<QAction*> items = menu.Menu->actions();
                ASSERT_GT(items.size(), 6);
                items[6]->trigger();
            });
            Form().PutInContainerButtonMouseDown(TShiftState{});
        },
        {}, false, mrOkay);
    EXPECT_EQ(3, Form().ResultAction);
    EXPECT_EQ(5, Form().ResultContainer);
    EXPECT_FALSE(Form().ResultKeepItems);
}

TEST_F(SearchFileFormTest, TheCloseBoxActsAsCancel)
{
    TModalScript script;
    EXPECT_FALSE(Show(script, "Search file", [&] {
        FeedFileAndFolder();
        QCloseEvent close;
        QCoreApplication::sendEvent(&Form(), &close);
        EXPECT_EQ(mrCancel, Form().result());
        EXPECT_TRUE(Form().Engine.Stop);
    }));
    EXPECT_EQ(0, Form().ResultAction);
}

TEST_F(SearchFileFormTest, ClosingWithOkayButNothingFoundReturnsFalse)
{
    TModalScript script;
    EXPECT_FALSE(Show(
        script, "Search file", [&] { Form().PutInSearchContainerButtonMouseDown(TShiftState{}); }, {}, false, mrOkay));
}

class SearchFileOptions : public SearchFileFormTest
{
protected:
    // The section's lines as written.
    std::vector<std::string> SavedKeys(const std::string& file) const
    {
        const std::string text = Drive.ReadFile(file);
        std::vector<std::string> keys;
        const size_t start = text.find("[SearchFile]\r\n");
        if (start == std::string::npos)
            return keys;
        size_t at = start + 14;
        while (at < text.size() && text.compare(at, 2, "\r\n") != 0) {
            const size_t end = text.find("\r\n", at);
            keys.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return keys;
    }
};

TEST_F(SearchFileOptions, TheSectionIsWrittenInItsOrderAndReadBack)
{
    Form().SearchSimilarCheckBox->setChecked(true);
    Form().RecursiveCheckBox->setChecked(false);
    Form().FilePartsComboBox->setCurrentIndex(2);
    Form().StemComboBox->setCurrentIndex(3);
    Form().UseColumnForContainerComboBox->setCurrentIndex(6);
    Form().SwitchMouseOperationsCheckBox->setChecked(true);
    Form().CreationMinTimeComboBox->setEditText("1/jan/20");
    Form().SizeMaxComboBox->setEditText("1.5");
    Form().TimeMeasurementUnitComboBox->setCurrentIndex(3);
    Form().SizeMeasurementUnitComboBox->setCurrentIndex(2);
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnSave = [&](TStoredTextList& list, int32_t) { Form().OnSaveOptionsSTL(list); };
    ASSERT_TRUE(store.SaveToFile(store.FileName, false, 0));
    EXPECT_THAT(SavedKeys("options.ini"),
                ElementsAre("SearchSimilar=TRUE", "Recursive=FALSE", "FindDirs=TRUE", "FindFiles=TRUE",
                            "ConsiderAllSelected=TRUE", "FreeHandFilter=TRUE", "NearDetection=TRUE", "AllFilters=FALSE",
                            "FileParts=Content", "Stem=Word", "AlwaysFocusThis=FALSE", "ReuseContainer=TRUE",
                            "UseColumnForContainer=7", "ShowSearchBoard=TRUE", "SwitchMouseOperations=TRUE",
                            "CreationMinTime=1/jan/20", "CreationMaxTime=", "ModifiedMinTime=", "ModifiedMaxTime=",
                            "TimeMeasurementUnit=weeks", "SizeMin=", "SizeMax=1.5", "SizeMeasurementUnit=MB"));

    TSearchFileForm reader;
    reader.SizeMinComboBox->setEditText("typed before");
    store.OnLoad = [&](TStoredTextList& list, int32_t) { reader.OnLoadOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    EXPECT_TRUE(reader.SearchSimilarCheckBox->isChecked());
    EXPECT_FALSE(reader.RecursiveCheckBox->isChecked());
    EXPECT_EQ("Content", Text(reader.FilePartsComboBox));
    EXPECT_EQ("Word", Text(reader.StemComboBox));
    EXPECT_EQ("7", Text(reader.UseColumnForContainerComboBox));
    EXPECT_TRUE(reader.SwitchMouseOperationsCheckBox->isChecked());
    EXPECT_EQ("1/jan/20", Text(reader.CreationMinTimeComboBox));
    EXPECT_EQ("", Text(reader.SizeMinComboBox)) << "an empty stored text empties the box";
    EXPECT_EQ("1.5", Text(reader.SizeMaxComboBox));
    EXPECT_EQ("weeks", Text(reader.TimeMeasurementUnitComboBox));
    EXPECT_EQ("MB", Text(reader.SizeMeasurementUnitComboBox));
}

TEST_F(SearchFileOptions, LongTextsAndUnknownItemsFallBackToTheDefaults)
{
    Drive.WriteFile("options.ini", "[SearchFile]\r\nCreationMinTime=" + std::string(32, '1') +
                                       "\r\nCreationMaxTime=" + std::string(31, '2') +
                                       "\r\nUseColumnForContainer=42\r\nFileParts=Everything\r\nStem=\r\n"
                                       "TimeMeasurementUnit=years\r\nRecursive=yes\r\n\r\n");
    Form().StemComboBox->setCurrentIndex(2);
    Form().UseColumnForContainerComboBox->setCurrentIndex(0);
    Form().CreationMinTimeComboBox->setEditText("typed before");
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnLoad = [&](TStoredTextList& list, int32_t) { Form().OnLoadOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ("", Text(Form().CreationMinTimeComboBox)) << "a text of 32 characters is ignored";
    EXPECT_EQ(std::string(31, '2'), Text(Form().CreationMaxTimeComboBox));
    EXPECT_EQ("3", Text(Form().UseColumnForContainerComboBox));
    EXPECT_EQ("Name, text", Text(Form().FilePartsComboBox));
    EXPECT_EQ("Any", Text(Form().StemComboBox));
    EXPECT_EQ("days", Text(Form().TimeMeasurementUnitComboBox));
    EXPECT_EQ("KB", Text(Form().SizeMeasurementUnitComboBox)) << "a missing key selects the default";
    EXPECT_TRUE(Form().RecursiveCheckBox->isChecked()) << "a check box keeps its state for a value that is no boolean";
    EXPECT_TRUE(Form().ShowSearchBoardCheckBox->isChecked());
}

} // namespace
