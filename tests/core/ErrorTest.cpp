#include "core/errors/Error.h"
#include "core/desktop/Program.h"

#include "support/TestSupport.h"

#include "host/LastError.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> ReportLines(const std::string& report)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t end = report.find("\r\n", start);
        lines.push_back(report.substr(start, end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

TFunStatContext RaisedContext()
{
    TFunStatContext context;
    context.Raise("/src/core/Column.cpp", "TColumn::Load", 120, fsError, "Failed to read.", "C:\\a.txt", "second",
                  host::ERROR_ACCESS_DENIED);
    context.SetShowContext("C:\\src\\MainDialog.cpp", "", 77);
    return context;
}

TEST(ErrorContext, StatusWords)
{
    const std::pair<TFunStatus, const char*> rows[] = {
        {0, "Perfect"},
        {1, "Warning"},
        {2, "Error"},
        {3, "Begin function error"},
        {4, "Panic"},
        {5, "Catastrophe"},
        {7, "Unknown function status"},
        {-1, "Unknown function status"},
    };
    for (const auto& [status, word] : rows)
        EXPECT_EQ(word, TFunStatContext::StatusText(status)) << status;
}

TEST(ErrorContext, ReportHasEveryLineInOrder)
{
    const std::vector<std::string> lines = ReportLines(RaisedContext().ContextText());
    const std::vector<std::string> expectedHead = {
        "",
        "RAISE CONTEXT",
        "* Status: Error",
        "* File: \"Column.cpp\"",
        "* Function: \"TColumn::Load\"",
        "* Line: 120",
        "* Description: \"Failed to read.\"",
        "* Parameter 1: \"C:\\a.txt\"",
        "* Parameter 2: \"second\"",
        "* System error code: 5",
        "* System error description: \"Access is denied.\"",
        "",
        "SHOW CONTEXT",
        "* File: \"MainDialog.cpp\"",
        "* Function: \"\"",
        "* Line: 77",
        "",
        "INFO",
    };
    ASSERT_EQ(27u, lines.size());
    EXPECT_EQ(expectedHead, std::vector<std::string>(lines.begin(), lines.begin() + 18));
    EXPECT_EQ(0u, lines[18].find("* Time: "));
    EXPECT_NE(std::string::npos, lines[18].find(" | "));
    EXPECT_EQ("* Program: " + GetProgramPath(), lines[19]);
    EXPECT_EQ("* Recursive attempts: 0", lines[20]);
    const std::vector<std::string> expectedTail = {
        "", "USER INFO", "* UserCode: 0", "* UserText: ", "* UserInt: 0", "* UserReal: 0",
    };
    EXPECT_EQ(expectedTail, std::vector<std::string>(lines.begin() + 21, lines.end()));
}

TEST(ErrorContext, ReportLeavesOutEmptyParametersAndCodes)
{
    TFunStatContext context;
    context.Raise("a.cpp", "F", 1, fsCatastrophe, "Broken.", "", "", 0);
    context.UserReal = 0.1;
    const std::vector<std::string> lines = ReportLines(context.ContextText());
    ASSERT_EQ(23u, lines.size());
    EXPECT_EQ("* Status: Catastrophe: CATASTROPHIC FAILURE!!! It is highly recommended to terminate the program "
              "immediately!",
              lines[2]);
    EXPECT_EQ("* Description: \"Broken.\"", lines[6]);
    EXPECT_EQ("", lines[7]);
    EXPECT_EQ("SHOW CONTEXT", lines[8]);
    EXPECT_EQ("* UserReal: 0.1", lines[22]);
}

TEST(ErrorContext, ReportPrintsLargeCodesSigned)
{
    TFunStatContext context;
    context.Raise("a.cpp", "F", 1, fsError, "x", "", "", 0x80004005u);
    EXPECT_NE(std::string::npos, context.ContextText().find("* System error code: -2147467259\r\n"));
}

TEST(ErrorContext, AssignmentAndResetKeepTheShowContext)
{
    TFunStatContext target;
    target.SetShowContext("own.cpp", "Own", 5);
    target.UserCode = 9;
    const TFunStatContext shown = RaisedContext();
    const TFunStatContext copy(shown);
    EXPECT_TRUE(copy.ShowFile.empty()) << "a copy starts with an empty show context";
    EXPECT_EQ("Failed to read.", copy.Description);

    target = shown;
    EXPECT_EQ("own.cpp", target.ShowFile);
    EXPECT_EQ(5, target.ShowLine);
    EXPECT_EQ("Failed to read.", target.Description);
    EXPECT_EQ(0, target.UserCode) << "the user info is copied";

    target.UserText = "kept";
    target.Reset(fsPerfect);
    EXPECT_EQ(fsPerfect, target.Status);
    EXPECT_TRUE(target.RaiseFile.empty() && target.Description.empty() && target.Parameter1.empty());
    EXPECT_EQ(0u, target.SystemErrorCode);
    EXPECT_EQ("own.cpp", target.ShowFile);
    EXPECT_EQ("kept", target.UserText);
}

TEST(ErrorContext, SystemErrorClassifiers)
{
    struct Row
    {
        uint32_t LastError;
        bool SystemError;
        bool SystemErrorNotExisting;
    };
    const Row rows[] = {
        {0, false, false},
        {host::ERROR_OUTOFMEMORY, false, false},
        {host::ERROR_REQUEST_ABORTED, false, false},
        {host::ERROR_ALREADY_EXISTS, true, false},
        {host::ERROR_ACCESS_DENIED, true, true},
    };
    for (const Row& row : rows) {
        host::SetLastError(row.LastError);
        EXPECT_EQ(row.SystemError, IsSystemError()) << row.LastError;
        EXPECT_EQ(row.SystemErrorNotExisting, IsSystemErrorNotExisting()) << row.LastError;
    }
    EXPECT_TRUE(IsFindOk(0) && IsFindOk(2) && IsFindOk(18));
    EXPECT_FALSE(IsFindOk(3));
    EXPECT_FALSE(IsHResultFailure(0));
    EXPECT_FALSE(IsHResultFailure(1));
    EXPECT_FALSE(IsHResultFailure(static_cast<int32_t>(0x800704C7u)));
    EXPECT_TRUE(IsHResultFailure(static_cast<int32_t>(0x80004005u)));
}

TEST(ErrorContext, ShowErrorCountWarnsOnlyForErrors)
{
    ShowErrorCount(0);
    TModalScript boxes;
    boxes.Expect("Warning", IDOK);
    ShowErrorCount(3);
    ASSERT_EQ(1u, boxes.Seen().size());
    EXPECT_EQ("There were 3 errors.", boxes.Seen()[0].Text);
}

TEST(ErrorContext, ShowWithoutTheDialogFallsBackToAPlainBox)
{
    TModalScript boxes;
    boxes.Expect("Error", IDOK);
    bool noMoreErrors = true;
    EXPECT_FALSE(RaisedContext().Show("Failed to read.", &noMoreErrors));
    EXPECT_FALSE(noMoreErrors);
    EXPECT_EQ("The error-dialog form is not created. You must create it.", boxes.Seen()[0].Text);
}

} // namespace
