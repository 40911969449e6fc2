#include "core/errors/Traced.h"
#include "core/errors/ErrorForm.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

void CalleeEndingWith(TFunStatus status)
{
    TTraced trace;
    try {
        if (status == fsWarning)
            trace.Warn("Callee warned.", "w1");
        else if (status > fsWarning)
            trace.Raise("Callee failed.", "p1", "p2", 5);
        trace.Context.Status = status;
    }
    TRACED_CATCH(trace)
}

std::vector<std::string> Steps;

void CallerOf(TFunStatus calleeStatus)
{
    TTraced trace;
    try {
        Steps.push_back("before");
        CalleeEndingWith(calleeStatus);
        if (trace.TakeOver())
            return;
        Steps.push_back("after");
    }
    TRACED_CATCH(trace)
}

TEST(Traced, OnlyFailuresAboveWarningStopTheCallerAndTravelUp)
{
    for (TFunStatus status : {fsPerfect, fsWarning, fsError, fsBeginFunctionError, fsPanic, fsCatastrophe}) {
        SCOPED_TRACE(status);
        Steps.clear();
        CallerOf(status);
        if (status <= fsWarning) {
            EXPECT_EQ((std::vector<std::string>{"before", "after"}), Steps);
            EXPECT_EQ(fsPerfect, FunStatContext.Status);
            EXPECT_EQ("", FunStatContext.Description);
        } else {
            EXPECT_EQ((std::vector<std::string>{"before"}), Steps);
            EXPECT_EQ(status, FunStatContext.Status);
            EXPECT_EQ("CalleeEndingWith", FunStatContext.RaiseFunction);
            EXPECT_EQ("Callee failed.", FunStatContext.Description);
            EXPECT_EQ("p1", FunStatContext.Parameter1);
            EXPECT_EQ("p2", FunStatContext.Parameter2);
            EXPECT_EQ(5u, FunStatContext.SystemErrorCode);
            EXPECT_NE(std::string::npos, FunStatContext.RaiseFile.find("TracedTest.cpp"));
        }
    }
}

TEST(Traced, ContextSaysBeginUntilTheOperationEnds)
{
    TFunStatus seenInside = fsPerfect;
    int beginLine = 0;
    [&] {
        TTraced trace;
        beginLine = __LINE__ - 1;
        seenInside = FunStatContext.Status;
    }();
    EXPECT_EQ(fsBeginFunctionError, seenInside);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_GT(beginLine, 0);
}

TFunStatContext OutcomeOfThrowing(const std::function<void()>& thrower)
{
    TTraced trace;
    trace.Run(thrower);
    return trace.Context;
}

TEST(Traced, TracedCatchRecordsLikeTheGuard)
{
    const int catchLine = __LINE__ + 6;
    [] {
        TTraced trace;
        try {
            throw std::runtime_error("plain");
        }
        TRACED_CATCH(trace)
    }();
    EXPECT_EQ("Unhandled exception: plain", FunStatContext.Description);
    EXPECT_EQ(catchLine, FunStatContext.RaiseLine);
}

TEST(Traced, ExceptionsNeverEscapeAndAreDescribed)
{
    const TFunStatContext library = OutcomeOfThrowing([] { throw std::runtime_error("boom"); });
    EXPECT_EQ(fsError, library.Status);
    EXPECT_EQ("Unhandled exception: boom", library.Description);
    EXPECT_EQ("", library.Parameter1);
    EXPECT_EQ("0", library.Parameter2);

    int throwLine = 0;
    const TFunStatContext located = OutcomeOfThrowing([&] {
        throwLine = __LINE__ + 1;
        throw EError("located");
    });
    EXPECT_EQ("Unhandled exception: located", located.Description);
    EXPECT_NE(std::string::npos, located.Parameter1.find("TracedTest.cpp"));
    EXPECT_EQ(std::to_string(throwLine), located.Parameter2);

    const TFunStatContext generic = OutcomeOfThrowing([] { throw 42; });
    EXPECT_EQ("Unhandled generic exception.", generic.Description);
    EXPECT_EQ(fsError, FunStatContext.Status);
}

TEST(Traced, ShortFunctionNames)
{
    const std::pair<const char*, const char*> rows[] = {
        {"void TColumn::Load(int)", "TColumn::Load"},
        {"TColumn::TColumn()", "TColumn::TColumn"},
        {"bool IsReady()", "IsReady"},
        {"std::vector<std::pair<int, int> > TBoards::List(const std::string&) const", "TBoards::List"},
        {"void {anonymous}::Helper()", "Helper"},
    };
    for (const auto& [pretty, shortName] : rows)
        EXPECT_EQ(shortName, ShortFunctionName(pretty));
}

class TracedShowing : public testing::Test
{
protected:
    TracedShowing() { ErrorForm = &Form; }
    ~TracedShowing() override { ErrorForm = nullptr; }
    TErrorForm Form;
};

void PanickingCallee()
{
    TTraced trace;
    try {
        trace.Panic("Negative capacity.");
    }
    TRACED_CATCH(trace)
}

std::vector<std::string> ActionSteps;

void UserAction()
{
    TTraced trace;
    trace.Run([&] {
        PanickingCallee();
        if (trace.TakeOver())
            return;
        ActionSteps.push_back("after the callee");
    });
    trace.ShowFailure("Failed to act.");
}

TEST_F(TracedShowing, APanicIsShownAtOnceAndAgainByTheUserAction)
{
    std::vector<std::string> memos;
    const auto remember = [&](const TModalRequest&) { memos.push_back(Form.MemoText()); };
    TModalScript dialogs;
    dialogs.Expect("Panic", TErrorForm::mrOkay, remember).Expect("Panic", TErrorForm::mrOkay, remember);
    UserAction();
    ASSERT_EQ(2u, memos.size());
    EXPECT_EQ(0u, memos[0].find("DESCRIPTION\r\nPANIC: Negative capacity.\r\n\r\nRAISE CONTEXT"));
    EXPECT_EQ(0u, memos[1].find("DESCRIPTION\r\nFailed to act.\r\n\r\nRAISE CONTEXT"));
    EXPECT_NE(std::string::npos, memos[1].find("* Function: \"PanickingCallee\""));
    EXPECT_TRUE(ActionSteps.empty());
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "after showing, the caller sees success";
}

TEST_F(TracedShowing, ShowFailureAndHandOnKeepsTheFailure)
{
    TModalScript dialogs;
    dialogs.Expect("Error", TErrorForm::mrOkay);
    [] {
        TTraced trace;
        trace.Raise("Failed to read.");
        trace.ShowFailureAndHandOn("Failed to load.");
    }();
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to read.", FunStatContext.Description);
}

} // namespace
