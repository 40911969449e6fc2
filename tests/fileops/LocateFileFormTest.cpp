#include "fileops/LocateFileForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

// A column listing folder "d" of drive T: (sub, alpha.txt, beta.txt, re1.txt, report.txt,
// xre.txt), focused on alpha.txt.
class LocateFileFormTest : public ColumnTest
{
protected:
    LocateFileFormTest()
    {
        MakeDirectory("d/sub");
        for (const char* name : {"d/alpha.txt", "d/beta.txt", "d/re1.txt", "d/report.txt", "d/xre.txt"})
            MakeFile(name);
        Open(Column, Drive.Path("d\\alpha.txt"));
    }

    // Opens the dialog; `act` drives it while it is shown. The result is the dialog's own
    // (0 while it stays open); `boxes` are the captions of the boxes `act` raises.
    int Show(const std::function<void()>& act, const TNames& boxes = {})
    {
        int result = -1;
        TModalScript script;
        script.Expect("Locate file", mrCancel, [&](const TModalRequest&) {
            Answer(script, boxes);
            act();
            result = Form.result();
        });
        Form.Dialog(Column);
        return result;
    }

    void Answer(TModalScript& script, const TNames& boxes)
    {
        for (const std::string& caption : boxes)
            script.Expect(caption, IDOK, [this](const TModalRequest& box) { Shown.push_back(box.Text); });
    }

    void SetFilter(const std::string& text) { Form.FileNameFilterComboBox->setEditText(QString::fromStdString(text)); }

    void PressEnter(Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, modifiers);
        QCoreApplication::sendEvent(Form.FileNameFilterComboBox, &enter);
    }

    TColumn& Column = MakeColumn();
    TLocateFileForm Form;
    TNames Shown;
};

TEST_F(LocateFileFormTest, PrepareFilterAddsTheStarsAroundTheWholeText)
{
    struct Case
    {
        const char* Text;
        bool Similar;
        const char* Prepared;
    };
    const Case cases[] = {
        {"ab", false, "ab*"},      {"ab", true, "*ab*"},
        {"*ab", true, "*ab*"},     {"ab*", false, "ab*"},
        {"a;b", true, "*a;b*"},    {"All files", true, "*"},
        {"All files", false, "*"}, {"*", true, "*"},
        {"a?", false, "a?*"},      {"No backup files", false, "*.exe;*.dll;*.obj;*.tds;*.tmp*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + (c.Similar ? " similar" : ""));
        SetFilter(c.Text);
        Form.LocateSimilarCheckBox->setChecked(c.Similar);
        Form.PrepareFilter();
        EXPECT_EQ(c.Prepared, Form.GetPreparedFilter());
    }
}

TEST_F(LocateFileFormTest, APrefixFindsTheNextNameStartingWithItAndSimilarFindsItAnywhere)
{
    SetFilter("re");
    EXPECT_TRUE(Form.LocateNext(Column));
    EXPECT_EQ("re1.txt", FocusedName(Column));
    EXPECT_TRUE(Form.LocateNext(Column));
    EXPECT_EQ("report.txt", FocusedName(Column));
    Form.LocateSimilarCheckBox->setChecked(true);
    EXPECT_TRUE(Form.LocateNext(Column));
    EXPECT_EQ("xre.txt", FocusedName(Column));
    EXPECT_TRUE(Form.LocatePrevious(Column));
    EXPECT_EQ("report.txt", FocusedName(Column));
    SetFilter("RE1");
    EXPECT_TRUE(Form.LocatePrevious(Column)) << "letter case is folded";
    EXPECT_EQ("re1.txt", FocusedName(Column));
}

TEST_F(LocateFileFormTest, TheSearchStopsAtEitherEndWithoutWrappingAround)
{
    SetFilter("*");
    Column.FocusIndex(Column.GetItemCount() - 1);
    {
        TModalScript script;
        Answer(script, {"Message"});
        EXPECT_FALSE(Form.LocateNext(Column));
    }
    EXPECT_EQ(TNames{"There are no more file name matches."}, Shown);
    EXPECT_EQ("xre.txt", FocusedName(Column));

    SetFilter("s");
    Column.FocusIndex(0);
    {
        TModalScript script;
        Answer(script, {"Message"});
        EXPECT_FALSE(Form.LocatePrevious(Column)) << "the focused item itself is not looked at";
    }
    EXPECT_EQ("sub", FocusedName(Column));
}

TEST_F(LocateFileFormTest, LocateNextWithAnEmptyOrInvalidFilterOpensTheDialog)
{
    for (const char* filter : {"", "a:b"}) {
        SCOPED_TRACE(filter);
        SetFilter(filter);
        TModalScript script;
        script.Expect("Locate file", mrCancel, [&](const TModalRequest&) {
            EXPECT_EQ("File name filter or index (1...6)", Form.FileNameFilterGroupBox->title().toStdString());
        });
        EXPECT_FALSE(Form.LocateNext(Column));
        EXPECT_EQ("alpha.txt", FocusedName(Column));
    }
}

TEST_F(LocateFileFormTest, TheButtonsCloseWithOkayOnlyWhenAnItemWasFocused)
{
    EXPECT_EQ(mrOkay, Show([&] {
                  SetFilter("be");
                  Form.LocateNextByNameButtonClick();
              }));
    EXPECT_EQ("beta.txt", FocusedName(Column));
    EXPECT_EQ("be", Form.FileNameFilterComboBox->itemText(0).toStdString()) << "into the history";

    EXPECT_EQ(0, Show(
                     [&] {
                         SetFilter("a|b");
                         Form.LocatePreviousByNameButtonClick();
                     },
                     {"Warning"}));
    EXPECT_EQ(TNames{"Invalid filter."}, Shown);
    EXPECT_EQ(0, Show(
                     [&] {
                         SetFilter("zz");
                         Form.LocateNextByNameButtonClick();
                     },
                     {"Message"}))
        << "no match keeps it open";
    EXPECT_EQ("beta.txt", FocusedName(Column));
}

TEST_F(LocateFileFormTest, LocateByIndexTakesOnlyAPositionInTheList)
{
    struct Case
    {
        const char* Text;
        const char* Warning;
    };
    const Case refused[] = {{"", "Empty index."},
                            {"0", "Invalid index."},
                            {"7", "Invalid index."},
                            {"x", "Invalid index."},
                            {"-1", "Invalid index."}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.Text);
        Shown.clear();
        EXPECT_EQ(0, Show(
                         [&] {
                             SetFilter(c.Text);
                             Form.LocateByIndexButtonClick();
                         },
                         {"Warning"}));
        EXPECT_EQ(TNames{c.Warning}, Shown);
        EXPECT_EQ("alpha.txt", FocusedName(Column));
    }
    EXPECT_EQ(mrOkay, Show([&] {
                  SetFilter("2");
                  Form.LocateByIndexButtonClick();
              }));
    EXPECT_EQ(1, Column.FileList->FocusIndex);
    EXPECT_EQ(mrOkay, Show([&] {
                  SetFilter("6");
                  Form.LocateByIndexButtonClick();
              }));
    EXPECT_EQ("xre.txt", FocusedName(Column));
}

TEST_F(LocateFileFormTest, EnterLocatesDownwardAndShiftEnterUpward)
{
    Column.FocusIndex(4); // report.txt
    EXPECT_EQ(mrOkay, Show([&] {
                  SetFilter("*.txt");
                  PressEnter(Qt::ShiftModifier);
              }));
    EXPECT_EQ("re1.txt", FocusedName(Column));
    EXPECT_EQ(mrOkay, Show([&] { PressEnter(Qt::ControlModifier); }));
    EXPECT_EQ("report.txt", FocusedName(Column));
    EXPECT_EQ(mrOkay, Show([&] { PressEnter(Qt::NoModifier); }));
    EXPECT_EQ("xre.txt", FocusedName(Column));
    EXPECT_EQ(0, Show([&] { PressEnter(Qt::AltModifier); })) << "Alt+Enter does nothing";
    EXPECT_EQ("xre.txt", FocusedName(Column));
}

TEST_F(LocateFileFormTest, ByCurrentInsertsTheStampAtTheCaret)
{
    SetFilter("ab");
    Form.FileNameFilterComboBox->lineEdit()->setCursorPosition(1);
    Form.NewPrefixByCurrentButtonClick();
    EXPECT_TRUE(
        std::regex_match(Form.FileNameFilterComboBox->currentText().toStdString(), std::regex(R"(^a\d{14}_b$)")));
}

TEST_F(LocateFileFormTest, AnEmptyColumnShowsNothing)
{
    Column.ClearList();
    TModalScript script;
    EXPECT_TRUE(Form.Dialog(Column));
}

TEST_F(LocateFileFormTest, TheSectionRoundTripsAndAnUnknownValueKeepsTheDefault)
{
    TStoredTextList store(Drive.Path("options.ini"));
    Form.LocateSimilarCheckBox->setChecked(true);
    store.OnSave = [&](TStoredTextList& list, int32_t) { Form.OnSaveOptionsSTL(list); };
    ASSERT_TRUE(store.SaveToFile(store.FileName, false, 0));
    TLocateFileForm reader;
    store.OnLoad = [&](TStoredTextList& list, int32_t) { reader.OnLoadOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    EXPECT_TRUE(reader.LocateSimilarCheckBox->isChecked());

    for (const char* value : {"yes", "1", "", "true "}) {
        SCOPED_TRACE(value);
        Drive.WriteFile("options.ini", std::string("[LocateFile]\r\nLocateSimilar=") + value + "\r\n");
        TLocateFileForm fresh;
        store.OnLoad = [&](TStoredTextList& list, int32_t) { fresh.OnLoadOptionsSTL(list); };
        ASSERT_TRUE(store.Load(0));
        EXPECT_FALSE(fresh.LocateSimilarCheckBox->isChecked());
    }
}

} // namespace
