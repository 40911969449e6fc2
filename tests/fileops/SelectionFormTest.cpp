#include "fileops/SelectionForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/forms/MessageBoxes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

// A column listing folder "d" of drive T: with a.txt, b.TXT, c.log, an extensionless
// file and a folder named d.txt.
class SelectionFormTest : public ColumnTest
{
protected:
    SelectionFormTest()
    {
        MakeFile("d/a.txt");
        MakeFile("d/b.TXT");
        MakeFile("d/c.log");
        MakeFile("d/plain");
        MakeDirectory("d/d.txt");
        Open(Column, Drive.Path("d\\a.txt"));
    }

    // Opens the dialog; `act` drives it while it is shown. The result is the dialog's own
    // (0 while it stays open); `boxes` are the captions of the boxes `act` raises.
    int Show(bool select, const std::function<void()>& act, const std::vector<std::string>& boxes = {})
    {
        int result = -1;
        TModalScript script;
        script.Expect(select ? "Select" : "Deselect", mrCancel, [&](const TModalRequest&) {
            for (const std::string& caption : boxes)
                script.Expect(caption, IDOK, [this](const TModalRequest& box) { Shown.push_back(box.Text); });
            act();
            result = Form.result();
        });
        Form.Dialog(Column, select);
        return result;
    }

    int Apply(bool select, const std::string& filter, const std::vector<std::string>& boxes = {})
    {
        return Show(
            select,
            [&] {
                Form.FileNameFilterComboBox->setEditText(QString::fromStdString(filter));
                Form.OkayButtonClick();
            },
            boxes);
    }

    TNames Selected() const
    {
        TNames names;
        for (int32_t i = 0; i < Column.GetItemCount(); ++i)
            if (Column.GetItem(i).Selected)
                names.push_back(GetPathName(Column.GetItem(i).Title));
        return names;
    }

    TColumn& Column = MakeColumn();
    TSelectionForm Form;
    std::vector<std::string> Shown;
};

TEST_F(SelectionFormTest, TheFilterSelectsOrDeselectsMatchingFilesInAnyLetterCaseButNeverFolders)
{
    struct Case
    {
        const char* Name;
        bool SelectAllFirst;
        bool Select;
        const char* Filter;
        TNames Selected;
    };
    const Case cases[] = {
        {"select *.txt", false, true, "*.txt", {"a.txt", "b.TXT"}},
        {"deselect *.txt", true, false, "*.txt", {"d.txt", "c.log", "plain"}},
        {"two patterns", false, true, "*.log; a*", {"a.txt", "c.log"}},
        {"a folder never", false, true, "d*", {}},
        {"All files", false, true, "All files", {"a.txt", "b.TXT", "c.log", "plain"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Column.Com_DeselectAll();
        if (c.SelectAllFirst)
            Column.Com_SelectAll();
        const TNames boxes = c.Selected.empty() ? TNames{"Message"} : TNames{};
        EXPECT_EQ(mrOkay, Apply(c.Select, c.Filter, boxes));
        EXPECT_EQ(c.Selected, Selected());
        EXPECT_EQ(static_cast<int32_t>(Selected().size()), Column.SelectedCount);
    }
}

TEST_F(SelectionFormTest, NoMatchSaysSoAndStillClosesWithOkay)
{
    EXPECT_EQ(mrOkay, Apply(true, "*.none", {"Message"}));
    EXPECT_EQ(TNames{"No matches found."}, Shown);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(SelectionFormTest, AnInvalidFilterWarnsAndKeepsTheDialogOpen)
{
    for (const char* filter : {"", "x:y", "a\\b", "a/b", "a|b", "<a", "\"a"}) {
        SCOPED_TRACE(filter);
        Shown.clear();
        EXPECT_EQ(0, Apply(true, filter, {"Warning"}));
        EXPECT_EQ(TNames{"Filter is invalid."}, Shown);
        EXPECT_EQ(filter, Form.FileNameFilterComboBox->currentText().toStdString()) << "the text stays";
        EXPECT_TRUE(Form.OkayButton->isEnabled());
    }
    EXPECT_TRUE(Selected().empty());
}

TEST_F(SelectionFormTest, ActiveTakesTheFocusedFilesExtensionOrMatchesEverything)
{
    Show(true, [&] {
        Form.UseActiveFileExtButtonClick();
        EXPECT_EQ("*.txt", Form.FileNameFilterComboBox->currentText().toStdString());
    });
    Open(Column, Drive.Path("d\\plain"));
    EXPECT_EQ(mrOkay, Show(true, [&] {
                  Form.UseActiveFileExtButtonClick();
                  EXPECT_EQ("*", Form.FileNameFilterComboBox->currentText().toStdString());
                  Form.OkayButtonClick();
              }));
    EXPECT_EQ((TNames{"a.txt", "b.TXT", "c.log", "plain"}), Selected());
}

TEST_F(SelectionFormTest, EnterInTheFilterBoxClicksOkayAndTheFilterGoesToTheHistory)
{
    EXPECT_EQ(mrOkay, Show(true, [&] {
                  Form.FileNameFilterComboBox->setEditText("*.log");
                  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                  QCoreApplication::sendEvent(Form.FileNameFilterComboBox, &enter);
                  EXPECT_TRUE(enter.isAccepted());
              }));
    EXPECT_EQ(TNames{"c.log"}, Selected());
    EXPECT_EQ("*.log", Form.FileNameFilterComboBox->itemText(0).toStdString());
    Show(true, [&] { EXPECT_EQ("*.log", Form.FileNameFilterComboBox->currentText().toStdString()); });
}

// A container column matches whole paths, so a folder's path with a wildcard picks the
// items under it, and a colon or backslash is allowed.
TEST_F(SelectionFormTest, AContainerColumnMatchesFullPaths)
{
    MakeFile("Photos/p1.jpg");
    MakeFile("Photos/p2.png");
    MakeFile("PhotosOld/p3.jpg");
    MakeFile("Other/p4.jpg");
    TContainer& container = *Window.Containers.Find(2);
    for (const char* item : {"Photos\\p1.jpg", "PhotosOld\\p3.jpg", "Other\\p4.jpg", "Photos\\p2.png"})
        container.AddItem(Drive.Path(item), 0);
    Column.LoadDirectory({.ContainerIndex = 2, .Title = Drive.Path("Photos\\p1.jpg"), .TopOffset = 0});
    ASSERT_EQ(4, Column.GetItemCount());

    EXPECT_EQ(mrOkay, Apply(true, Drive.Path("Photos\\*")));
    EXPECT_EQ((TNames{"p1.jpg", "p2.png"}), Selected());
    EXPECT_EQ(mrOkay, Apply(true, "*.jpg"));
    EXPECT_EQ((TNames{"p1.jpg", "p3.jpg", "p4.jpg", "p2.png"}), Selected());
    EXPECT_EQ(0, Apply(false, "a|b", {"Warning"}));
}

} // namespace
