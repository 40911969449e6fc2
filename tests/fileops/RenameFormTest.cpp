#include "fileops/RenameForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/errors/Error.h"
#include "core/forms/MessageBoxes.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* OverwriteCaption = "Overwrite destination with source ?";
constexpr const char* DirectoryWarning = "Failed to rename.\nA directory with that name already exists.";

std::vector<std::string> NamesIn(const std::string& hostFolder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(hostFolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Folder "d" of drive T: with a.txt ("A"), b.txt ("B") and the folder "sub", listed in a
// column focused on a.txt; the overwrite dialog is a real one.
class RenameFormTest : public ColumnTest
{
protected:
    RenameFormTest()
    {
        OverwriteForm = &Overwrite;
        Drive.WriteFile("d/a.txt", "A");
        Drive.WriteFile("d/b.txt", "B");
        MakeDirectory("d/sub");
        Open(Column, Drive.Path("d\\a.txt"));
    }
    ~RenameFormTest() override { OverwriteForm = nullptr; }

    // Shows the dialog; `act` drives it while it is shown. Gives what Dialog returned.
    bool Show(TModalScript& script, std::function<void()> act, bool itemMode = false, TContainer* container = nullptr)
    {
        script.Expect(itemMode ? "Rename container item" : "Rename file", mrCancel,
                      [act = std::move(act)](const TModalRequest&) { act(); });
        return Form.Dialog(Column, itemMode, container);
    }

    void Type(const std::string& name) { Form.NameComboBox->setEditText(QString::fromStdString(name)); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(Form.NameComboBox, &event);
    }
    std::string Name() const { return Form.NameComboBox->currentText().toStdString(); }

    TColumn& Column = MakeColumn();
    TOverwriteForm Overwrite;
    TRenameForm Form;
};

TEST_F(RenameFormTest, TheTypedNameDecidesWhetherToAskAndWhatLandsOnDisk)
{
    struct Row
    {
        std::string Name;
        // The caption of the box or dialog the rename raises, if any, and its answer.
        std::string Raised;
        int Answer;
        bool Changed;
        bool Closed;
        std::vector<std::string> Names;
        std::string BText;
    };
    const int overThis = TOverwriteForm::ModalResultOf(ocOverThis);
    const int skipThis = TOverwriteForm::ModalResultOf(ocSkipThis);
    const int abort = TOverwriteForm::ModalResultOf(ocAbort);
    const Row rows[] = {
        {"c.txt", "", 0, true, true, {"b.txt", "c.txt", "sub"}, "B"},
        {"A.txt", "", 0, true, true, {"A.txt", "b.txt", "sub"}, "B"},
        {"a.txt", "", 0, false, true, {"a.txt", "b.txt", "sub"}, "B"},
        {"b.txt", OverwriteCaption, overThis, true, true, {"b.txt", "sub"}, "A"},
        {"b.txt", OverwriteCaption, skipThis, false, true, {"a.txt", "b.txt", "sub"}, "B"},
        {"b.txt", OverwriteCaption, abort, false, true, {"a.txt", "b.txt", "sub"}, "B"},
        {"sub", "Warning", IDOK, false, true, {"a.txt", "b.txt", "sub"}, "B"},
        {"x:y.txt", "Warning", IDOK, false, false, {"a.txt", "b.txt", "sub"}, "B"},
        {"x*.txt", "Warning", IDOK, false, false, {"a.txt", "b.txt", "sub"}, "B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name + " " + row.Raised + " " + std::to_string(row.Answer));
        Remove("d");
        Drive.WriteFile("d/a.txt", "A");
        Drive.WriteFile("d/b.txt", "B");
        MakeDirectory("d/sub");
        Open(Column, Drive.Path("d\\a.txt"));
        TModalScript script;
        int result = 0;
        const bool changed = Show(script, [&] {
            Type(row.Name);
            if (!row.Raised.empty())
                script.Expect(row.Raised, row.Answer);
            Form.RenameButtonClick();
            result = Form.result();
        });
        EXPECT_EQ(row.Changed, changed);
        EXPECT_EQ(row.Closed, result == mrOkay);
        EXPECT_EQ(row.Names, NamesIn(Drive.HostPath("d")));
        EXPECT_EQ(row.BText, Drive.ReadFile("d/b.txt"));
        if (row.Raised.empty()) {
            EXPECT_EQ(1u, script.Seen().size());
        } else {
            ASSERT_EQ(2u, script.Seen().size());
            EXPECT_EQ(row.Raised, script.Seen()[1].Caption);
        }
        if (row.Raised == "Warning") {
            EXPECT_EQ(row.Name == "sub" ? DirectoryWarning : "Invalid name.\n\nChange the name !",
                      script.Seen()[1].Text);
        }
    }
}

// On a file system that tells letter case apart, "A.txt" beside "a.txt" is another file.
TEST_F(RenameFormTest, AChangeOfLetterCaseOntoAnotherFileAsksAndSkipKeepsBoth)
{
    Drive.WriteFile("d/A.txt", "other");
    Open(Column, Drive.Path("d\\a.txt"));
    ASSERT_EQ("a.txt", FocusedName(Column));
    TModalScript script;
    Show(script, [&] {
        Type("A.txt");
        script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocSkipThis));
        Form.RenameButtonClick();
        EXPECT_EQ(mrOkay, Form.result()) << "a skipped item still closes the dialog";
    });
    EXPECT_EQ("A", Drive.ReadFile("d/a.txt"));
    EXPECT_EQ("other", Drive.ReadFile("d/A.txt"));
}

TEST_F(RenameFormTest, TheFormShowsTheItemAndLimitsTheNameInBytes)
{
    TModalScript script;
    Show(script, [&] {
        EXPECT_EQ(Drive.Path("d\\"), Form.PathLabel->text().toStdString());
        EXPECT_EQ("a.txt", Name());
        EXPECT_EQ("a.txt", Form.NameComboBox->lineEdit()->selectedText().toStdString());
        QLineEdit& edit = *Form.NameComboBox->lineEdit();
        edit.clear();
        edit.insert(QString(129, QChar(0x00E9)));
        edit.insert(QStringLiteral("\u00E9"));
        EXPECT_EQ(258, Name().size()) << "a two-byte letter past 259 bytes is refused";
        edit.insert(QStringLiteral("x"));
        edit.insert(QStringLiteral("y"));
        EXPECT_EQ(259, Name().size());
    });
}

TEST_F(RenameFormTest, TheStampsGoInFrontOfTheName)
{
    TModalScript script;
    Show(script, [&] {
        Form.NewPrefixByCurrentButtonClick();
        Form.NewPrefixByCurrentButtonClick();
        EXPECT_THAT(Name(), testing::MatchesRegex("[0-9]{14}_[0-9]{14}_a\\.txt"));
        Type("a.txt");
        Form.NewPrefixByCreationButtonClick();
        EXPECT_THAT(Name(), testing::MatchesRegex("[0-9]{14}_a\\.txt"));
    });
}

// The list is not reloaded while the dialog is open; each arrow renames and moves on.
TEST_F(RenameFormTest, TheArrowsRenameAndWalkTheListAndCloseWithOkayPastEitherEnd)
{
    Remove("d/sub");
    Drive.WriteFile("d/c.txt", "C");
    Open(Column, Drive.Path("d\\a.txt"));
    ASSERT_EQ(0, Column.FileList->FocusIndex);
    TModalScript script;
    const bool changed = Show(script, [&] {
        Press(Qt::Key_Down);
        EXPECT_EQ("b.txt", Name()) << "an unchanged name skips the item";
        Type("B2.txt");
        Press(Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ("B2.txt", Name()) << "a held modifier swallows the arrow";
        Press(Qt::Key_Down);
        EXPECT_EQ("c.txt", Name());
        Press(Qt::Key_Up);
        EXPECT_EQ("b.txt", Name()) << "walking back offers the old name";
        EXPECT_NE(mrOkay, Form.result());
        Press(Qt::Key_Up);
        EXPECT_EQ("a.txt", Name());
        Press(Qt::Key_Up);
        EXPECT_EQ(mrOkay, Form.result()) << "below the first item";
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ((std::vector<std::string>{"B2.txt", "a.txt", "c.txt"}), NamesIn(Drive.HostPath("d")));

    script.Expect("Rename file", mrCancel, [&](const TModalRequest&) {
        Press(Qt::Key_Down);
        Press(Qt::Key_Down);
        EXPECT_NE(mrOkay, Form.result());
        Type("x?.txt");
        script.Expect("Warning", IDOK);
        Press(Qt::Key_Down);
        EXPECT_EQ(mrOkay, Form.result()) << "past the last item, and the walk ignores a refused name";
    });
    EXPECT_FALSE(Form.Dialog(Column, false, nullptr));
}

TEST_F(RenameFormTest, EnterRenamesAndEscapeCancels)
{
    TModalScript script;
    Show(script, [&] {
        Type("e.txt");
        Press(Qt::Key_Return, Qt::ControlModifier);
        EXPECT_FALSE(Drive.Exists("d/e.txt")) << "Enter with a modifier is swallowed";
        Press(Qt::Key_Return);
        EXPECT_EQ(mrOkay, Form.result());
    });
    EXPECT_TRUE(Drive.Exists("d/e.txt"));
    Show(script, [&] {
        Press(Qt::Key_Escape, Qt::ShiftModifier);
        EXPECT_EQ(mrCancel, Form.result());
    });
}

TEST_F(RenameFormTest, ANameLongerThanTheFileSystemTakesFailsAndKeepsTheDialogOpen)
{
    TShownFailures failures;
    TModalScript script;
    Show(script, [&] {
        Type(std::string(256, 'n'));
        failures.Expect(script, "Error");
        Form.RenameButtonClick();
        EXPECT_NE(mrOkay, Form.result());
    });
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to rename."));
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("The filename or extension is too long."));
    EXPECT_TRUE(Drive.Exists("d/a.txt"));
}

class RenameContainerTest : public RenameFormTest
{
protected:
    RenameContainerTest()
    {
        Container.AddItem(Drive.Path("d\\a.txt"), 0);
        Container.AddItem(Drive.Path("d\\b.txt"), 0);
        Column.ReloadContainer(0);
        Column.FocusIndex(0);
    }

    TContainer& Container = *Window.Containers.Find(0);
};

TEST_F(RenameContainerTest, TheItemModeChangesOnlyTheEntry)
{
    TModalScript script;
    EXPECT_TRUE(Show(
        script,
        [&] {
            Type("b.txt");
            Form.RenameButtonClick();
        },
        true, &Container));
    EXPECT_EQ(Drive.Path("d\\b.txt"), Container.Items()[0].Path) << "no overwrite question for an entry";
    EXPECT_EQ("A", Drive.ReadFile("d/a.txt"));
    EXPECT_EQ("B", Drive.ReadFile("d/b.txt"));
}

TEST_F(RenameContainerTest, TheFileAndItsEntryChangeTogetherOrNotAtAll)
{
    TModalScript script;
    EXPECT_TRUE(Show(
        script,
        [&] {
            Type("z.txt");
            Form.RenameButtonClick();
        },
        false, &Container));
    EXPECT_EQ(Drive.Path("d\\z.txt"), Container.Items()[0].Path);
    EXPECT_EQ("A", Drive.ReadFile("d/z.txt"));

    Column.ReloadContainer(0);
    Column.FocusIndex(1);
    EXPECT_FALSE(Show(
        script,
        [&] {
            Type("z.txt");
            script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocSkipThis));
            Form.RenameButtonClick();
        },
        false, &Container));
    EXPECT_EQ(Drive.Path("d\\b.txt"), Container.Items()[1].Path) << "skipped";

    TShownFailures failures;
    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED);
    Show(
        script,
        [&] {
            Type("y.txt");
            failures.Expect(script, "Error");
            Form.RenameButtonClick();
            EXPECT_NE(mrOkay, Form.result()) << "a failed rename keeps the dialog open";
        },
        false, &Container);
    EXPECT_EQ(Drive.Path("d\\b.txt"), Container.Items()[1].Path) << "failed";
    EXPECT_TRUE(Drive.Exists("d/b.txt"));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to rename."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

} // namespace
