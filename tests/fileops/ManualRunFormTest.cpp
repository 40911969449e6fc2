#include "fileops/ManualRunForm.h"

#include "core/desktop/Program.h"
#include "core/errors/Error.h"
#include "core/forms/MessageBoxes.h"

#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using Arguments = std::vector<std::string>;

constexpr const char* TrickyName = "it's $(touch x);y.txt";

// A script that starts itself, a text file and a file whose name a shell would run, on
// drive T:; starts are recorded, never made.
class ManualRunFormTest : public testing::Test
{
protected:
    ManualRunFormTest()
    {
        Drive.WriteFile("tool.sh", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("tool.sh"), fs::perms(0755));
        Drive.WriteFile("notes.txt", "notes");
        Drive.WriteFile(TrickyName, "tricky");
    }

    // Shows the dialog for the source; `act` drives it while it is shown.
    void Show(TModalScript& script, const std::string& source, std::function<void()> act)
    {
        script.Expect("Run program", mrCancel, [act = std::move(act)](const TModalRequest&) { act(); });
        Form.Dialog(source);
    }

    void Type(QComboBox* box, const std::string& text) { box->setEditText(QString::fromStdString(text)); }
    static std::string Text(const QComboBox* box) { return box->currentText().toStdString(); }
    void PressEnter(QComboBox* box)
    {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &event);
    }

    TTempDrive Drive{'T'};
    TRecordingLauncher Launcher;
    TManualRunForm Form;
};

// No shell stands between the dialog and the program: the name reaches it byte for byte.
TEST_F(ManualRunFormTest, AFileNameAShellWouldRunReachesTheProgramAsOneArgument)
{
    TModalScript script;
    Show(script, Drive.Path(TrickyName), [&] {
        Type(Form.ProgramTitleComboBox, Drive.Path("tool.sh"));
        Type(Form.ParametersComboBox, "\"%t%\" -x");
        Form.RunButtonClick();
        EXPECT_EQ(0, Form.result()) << "the dialog stays open";
    });
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ((Arguments{Drive.HostPath(TrickyName), "-x"}), Launcher.Starts[0].Arguments);
    EXPECT_FALSE(Drive.Exists("x"));
    EXPECT_FALSE(fs::exists("x"));
}

TEST_F(ManualRunFormTest, TheProgramBoxStartsTheSourceItselfOrABareNameFromTheSearchPath)
{
    TModalScript script;
    Show(script, Drive.Path("notes.txt"), [&] {
        EXPECT_EQ(GetCurrentPath(), Form.WorkingPathLabel->text().toStdString());
        Type(Form.ProgramTitleComboBox, "%t%");
        Form.RunButtonClick();
        Type(Form.ProgramTitleComboBox, "env");
        Type(Form.ParametersComboBox, "-u X");
        Form.RunButtonClick();
        Form.RunNoParamButtonClick();
    });
    ASSERT_EQ(3u, Launcher.Starts.size());
    EXPECT_EQ("xdg-open", Launcher.Starts[0].Program);
    EXPECT_EQ(Arguments{Drive.HostPath("notes.txt")}, Launcher.Starts[0].Arguments);
    EXPECT_TRUE(fs::path(Launcher.Starts[1].Program).is_absolute());
    EXPECT_EQ("env", fs::path(Launcher.Starts[1].Program).filename());
    EXPECT_EQ((Arguments{"-u", "X"}), Launcher.Starts[1].Arguments);
    EXPECT_EQ(Arguments{}, Launcher.Starts[2].Arguments) << "R&un (no parameters)";
}

TEST_F(ManualRunFormTest, NothingStartsForAnEmptyAMissingOrARefusedProgram)
{
    TShownFailures failures;
    TModalScript script;
    Show(script, Drive.Path("notes.txt"), [&] {
        Type(Form.ParametersComboBox, "-x");
        script.Expect("Warning", IDOK);
        Form.RunButtonClick();
        EXPECT_EQ("You must specify a file to run.", script.Seen().back().Text);

        Type(Form.ProgramTitleComboBox, Drive.Path("missing.sh"));
        failures.Expect(script, "Error");
        Form.RunButtonClick();

        // The desktop cannot pass parameters on to a document.
        Type(Form.ProgramTitleComboBox, "%t%");
        failures.Expect(script, "Error");
        Form.RunButtonClick();
    });
    EXPECT_TRUE(Launcher.Starts.empty());
    ASSERT_EQ(2u, failures.Reports.size());
    for (const std::string& report : failures.Reports)
        EXPECT_THAT(report, HasSubstr("Failed to run file."));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ManualRunFormTest, EnterInEitherBoxRunsWithParameters)
{
    TModalScript script;
    Show(script, Drive.Path("notes.txt"), [&] {
        Type(Form.ProgramTitleComboBox, Drive.Path("tool.sh"));
        Type(Form.ParametersComboBox, "%n%");
        PressEnter(Form.ParametersComboBox);
        PressEnter(Form.ProgramTitleComboBox);
        EXPECT_EQ(0, Form.result());
    });
    ASSERT_EQ(2u, Launcher.Starts.size());
    for (const TRecordingLauncher::TStart& start : Launcher.Starts)
        EXPECT_EQ(Arguments{"notes.txt"}, start.Arguments);
}

// Both boxes keep their texts and histories from one call to the next.
TEST_F(ManualRunFormTest, ClearForgetsThatBoxsHistoryAndTheInsertButtonsTypeAtTheCaret)
{
    TModalScript script;
    Show(script, Drive.Path("notes.txt"), [&] {
        for (const char* parameters : {"-a", "-b"}) {
            Type(Form.ProgramTitleComboBox, Drive.Path("tool.sh"));
            Type(Form.ParametersComboBox, parameters);
            Form.RunButtonClick();
        }
    });
    Show(script, Drive.Path("notes.txt"), [&] {
        EXPECT_EQ(Drive.Path("tool.sh"), Text(Form.ProgramTitleComboBox));
        EXPECT_EQ(2, Form.ParametersComboBox->count());
        Form.ClearParamTitleButtonClick();
        EXPECT_EQ(0, Form.ParametersComboBox->count());
        EXPECT_EQ("", Text(Form.ParametersComboBox));
        EXPECT_EQ(1, Form.ProgramTitleComboBox->count()) << "the other box keeps its history";

        Type(Form.ParametersComboBox, "ab");
        Form.ParametersComboBox->lineEdit()->setCursorPosition(1);
        Form.ParamInsertTitleButtonClick();
        Form.ParamInsertNameButtonClick();
        EXPECT_EQ("a%t%%n%b", Text(Form.ParametersComboBox));
        Form.ClearProgramTitleButtonClick();
        Form.ProgramInsertNameButtonClick();
        EXPECT_EQ("%n%", Text(Form.ProgramTitleComboBox));
        EXPECT_EQ(0, Form.ProgramTitleComboBox->count());
    });
}

} // namespace
