#include "core/errors/ErrorForm.h"
#include "core/desktop/Application.h"
#include "core/desktop/Program.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class ErrorDialog : public testing::Test
{
protected:
    ErrorDialog() { ErrorForm = &Form; }
    ~ErrorDialog() override
    {
        ErrorForm = nullptr;
        std::filesystem::remove(LogHostPath());
    }

    static std::string LogHostPath() { return TestRootHostPath() + "/program/Errors.log"; }

    TFunStatContext Failure()
    {
        TFunStatContext context;
        context.Raise("Column.cpp", "TColumn::Load", 3, fsError, "Failed to read.", "", "", 0);
        return context;
    }

    TErrorForm Form;
};

TEST_F(ErrorDialog, ClosingButtonsDecideTheAnswer)
{
    struct Row
    {
        int ModalResult;
        bool Answer;
        bool NoMoreErrors;
    };
    const Row rows[] = {
        {TErrorForm::mrOkay, true, false},
        {TErrorForm::mrOkayNoErrors, true, true},
        {TErrorForm::mrCancel, false, false},
        {0, false, false},
    };
    for (const Row& row : rows) {
        TModalScript dialogs;
        dialogs.Expect("Error", row.ModalResult);
        bool noMoreErrors = !row.NoMoreErrors;
        EXPECT_EQ(row.Answer, Failure().Show("Failed to load.", &noMoreErrors)) << row.ModalResult;
        EXPECT_EQ(row.NoMoreErrors, noMoreErrors) << row.ModalResult;
        EXPECT_EQ(0, Form.RecursionCount);
    }
}

TEST_F(ErrorDialog, ButtonsCloseWithTheirModalResults)
{
    Form.show();
    for (auto [button, result] :
         {std::pair{Form.OkayButton, 1}, {Form.OkayNoErrorsButton, 6}, {Form.CancelButton, 2}}) {
        Form.setResult(-1);
        button->click();
        EXPECT_EQ(result, Form.result());
    }
}

TEST_F(ErrorDialog, MemoHoldsTheMessageAboveTheReport)
{
    TModalScript dialogs;
    dialogs.Expect("Warning", TErrorForm::mrOkay);
    TFunStatContext warning = Failure();
    warning.Status = fsWarning;
    warning.Show("");
    EXPECT_EQ(0u,
              Form.MemoText().find("DESCRIPTION\r\nFailed to perform.\r\n\r\nRAISE CONTEXT\r\n* Status: Warning\r\n"));
    EXPECT_EQ("Recursive attempts = None", Form.RecursionLabel->text().toStdString());
    EXPECT_EQ("Warning", Form.windowTitle().toStdString());
}

TEST_F(ErrorDialog, ReportsArrivingWhileOpenAreOnlyCounted)
{
    TModalScript dialogs;
    bool innerAnswers[2] = {false, false};
    std::string labelAfterInner;
    dialogs.Expect("Error", TErrorForm::mrCancel, [&](const TModalRequest&) {
        TFunStatContext inner = Failure();
        inner.Description = "Inner.";
        innerAnswers[0] = inner.Show("Inner one.");
        inner.Status = fsPanic;
        innerAnswers[1] = inner.Show("Inner two.");
        labelAfterInner = Form.RecursionLabel->text().toStdString();
    });
    EXPECT_FALSE(Failure().Show("Outer."));
    EXPECT_TRUE(innerAnswers[0] && innerAnswers[1]);
    EXPECT_EQ("Recursive attempts = 2", labelAfterInner);
    EXPECT_EQ(0u, Form.MemoText().find("DESCRIPTION\r\nOuter.\r\n")) << "the memo keeps the first report";
    EXPECT_EQ("Panic", Form.windowTitle().toStdString()) << "the caption follows the latest report";
    EXPECT_EQ(0, Form.RecursionCount);
}

TEST_F(ErrorDialog, LogAppendsFencedEntriesAndEmptiesAnOversizedLog)
{
    TModalScript dialogs;
    dialogs.Expect("Error", TErrorForm::mrOkay, [&](const TModalRequest&) { Form.LogButtonClick(); });
    Failure().Show("Failed to load.");
    const std::string entry = "**********" + Form.MemoText() + "\r\n**********\r\n";
    EXPECT_EQ(std::vector<uint32_t>{0}, BeepsHeard());

    struct Row
    {
        size_t ExistingSize;
        bool Emptied;
    };
    for (const Row row : {Row{0, false}, Row{10000, false}, Row{10001, true}}) {
        const std::string existing(row.ExistingSize, 'x');
        std::ofstream(LogHostPath(), std::ios::binary | std::ios::trunc) << existing;
        ASSERT_TRUE(Form.AppendLog()) << row.ExistingSize;
        std::ifstream log(LogHostPath(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        EXPECT_EQ(row.Emptied ? entry : existing + entry, content) << row.ExistingSize;
    }
}

TEST_F(ErrorDialog, LogThatCannotBeWrittenStaysSilent)
{
    host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED);
    Form.LogButtonClick();
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    Form.LogButtonClick();
    EXPECT_TRUE(BeepsHeard().empty());
}

TEST_F(ErrorDialog, HelpSaysItIsNotAvailable)
{
    TModalScript boxes;
    boxes.Expect("Message", IDOK);
    Form.HelpButtonClick();
    EXPECT_EQ("Help is not available.", boxes.Seen().at(0).Text);
}

class ThrowingObject : public QObject
{
public:
    bool event(QEvent*) override { throw std::runtime_error("handler broke"); }
};

TEST_F(ErrorDialog, ExceptionsReachingTheEventLoopAreReported)
{
    TModalScript dialogs;
    dialogs.Expect("Error", TErrorForm::mrOkay);
    ThrowingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    EXPECT_EQ(0u, Form.MemoText().find("DESCRIPTION\r\nUnhandled error.\r\nhandler broke\r\n"));
    EXPECT_NE(std::string::npos, Form.MemoText().find("* Function: \"TFunStatContext::OnApplicationException\""));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST(ErrorDialogDeathTest, TerminateEndsTheProcessWithCodeOne)
{
    EXPECT_EXIT(
        {
            TErrorForm form;
            form.TerminateButtonClick();
        },
        testing::ExitedWithCode(1), "");
}

TEST(ErrorDialogDeathTest, AnUncaughtExceptionIsReportedAndEndsTheProcess)
{
    EXPECT_EXIT(
        {
            SetModalAnswerer([](const TModalRequest& request) {
                fprintf(stderr, "shown: %s\n", request.Text.c_str());
                return 1;
            });
            std::terminate();
        },
        testing::ExitedWithCode(1), "shown: The error-dialog form is not created");
}

} // namespace
