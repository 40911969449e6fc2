#include "fileops/NewFileForm.h"

#include "core/errors/Error.h"
#include "core/forms/MessageBoxes.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <regex>
#include <set>

namespace {

using testing::HasSubstr;

// What the click on "&New" shows.
enum TShown
{
    Nothing,
    Warning,
    Failure
};

std::set<std::string> NamesIn(const std::string& hostFolder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(hostFolder))
        names.insert(entry.path().filename().string());
    return names;
}

// Drive T: holds f\old.txt.
class NewFileTest : public testing::Test
{
protected:
    NewFileTest() { Drive.WriteFile("f/old.txt", "old"); }
    ~NewFileTest() override { host::ClearFaults(); }

    // Shows the dialog for folder f, types the name and clicks "&New". True when the
    // click closed it with Okay.
    bool Run(TNewFileKind kind, const std::string& name, TShown shown)
    {
        bool closedOkay = false;
        TModalScript script;
        script.Expect("New " + TNewFileForm::KindText(kind), mrOkay, [&](const TModalRequest&) {
            EXPECT_EQ("New " + TNewFileForm::KindText(kind) + " name", Form.NewFileNameGroupBox->title().toStdString());
            Form.NewFileNameEdit->setText(QString::fromStdString(name));
            Form.NewButtonClick();
            closedOkay = Form.result() == mrOkay;
        });
        Warned.clear();
        if (shown == Warning)
            script.Expect("Warning", IDOK, [&](const TModalRequest& request) { Warned = request.Text; });
        if (shown == Failure)
            Failures.Expect(script, "Error");
        Form.Dialog(Drive.Path("f"), kind);
        return closedOkay;
    }

    TTempDrive Drive{'T'};
    std::string Warned;
    TShownFailures Failures;
    TNewFileForm Form;
};

struct TNewRow
{
    TNewFileKind Kind;
    std::string Typed;
    TShown Shown;
    bool ClosedOkay;
    // The entered name below the folder ("" for none) and what the folder then holds.
    const char* Entered;
    std::set<std::string> Names;
};

TEST_F(NewFileTest, TheTypedNameMakesTheItem)
{
    // clang-format off
    const TNewRow rows[] = {
        {nfkFile,       "notes",    Nothing, true,  "notes.txt", {"old.txt", "notes.txt"}},
        // A final dot asks for no extension; the name created is the name entered.
        {nfkFile,       "notes.",   Nothing, true,  "notes",     {"old.txt", "notes"}},
        {nfkFile,       "notes. .", Nothing, true,  "notes",     {"old.txt", "notes"}},
        {nfkFile,       "notes.md", Nothing, true,  "notes.md",  {"old.txt", "notes.md"}},
        {nfkDirectory,  "notes",    Nothing, true,  "notes",     {"old.txt", "notes"}},
        // A stream's name is built, nothing is made.
        {nfkFileStream, "notes",    Nothing, true,  "notes.txt", {"old.txt"}},
        // An existing item is left alone.
        {nfkFile,       "old.txt",  Warning, true,  "old.txt",   {"old.txt"}},
        {nfkFile,       "old",      Warning, true,  "old.txt",   {"old.txt"}},
        {nfkDirectory,  "old.txt",  Warning, true,  "old.txt",   {"old.txt"}},
        // A forbidden sign keeps the dialog open.
        {nfkFile,       "a/b",      Warning, false, "",          {"old.txt"}},
        {nfkDirectory,  "a:b",      Warning, false, "",          {"old.txt"}},
        // Dots and blanks alone name the folder, its parent or nothing.
        {nfkDirectory,  ".",        Warning, false, "",          {"old.txt"}},
        {nfkDirectory,  "..",       Warning, false, "",          {"old.txt"}},
        {nfkDirectory,  "...",      Warning, false, "",          {"old.txt"}},
        {nfkDirectory,  "   ",      Warning, false, "",          {"old.txt"}},
        {nfkDirectory,  "",         Warning, false, "",          {"old.txt"}},
        {nfkFile,       ". .",      Warning, false, "",          {"old.txt"}},
        {nfkFileStream, "..",       Warning, false, "",          {"old.txt"}},
        // Blanks without a dot still get the extension.
        {nfkFile,       "  ",       Nothing, true,  "  .txt",    {"old.txt", "  .txt"}},
        {nfkFile,       "",         Failure, true,  "",          {"old.txt"}},
        {nfkFileStream, "",         Failure, true,  "",          {"old.txt"}},
        // A name longer than the file system takes.
        {nfkFile,       std::string(300, 'n'),
                                    Failure, true,  nullptr,     {"old.txt"}},
    };
    // clang-format on
    for (const TNewRow& row : rows) {
        SCOPED_TRACE(row.Typed.substr(0, 20) + " as " + TNewFileForm::KindText(row.Kind));
        for (const auto& entry : std::filesystem::directory_iterator(Drive.HostPath("f")))
            if (entry.path().filename() != "old.txt")
                std::filesystem::remove_all(entry.path());
        Failures.Reports.clear();
        EXPECT_EQ(row.ClosedOkay, Run(row.Kind, row.Typed, row.Shown));
        if (row.Entered != nullptr) {
            EXPECT_EQ(*row.Entered == 0 ? "" : Drive.Path("f\\") + row.Entered, Form.EnteredName);
        }
        EXPECT_EQ(row.Names, NamesIn(Drive.HostPath("f")));
        // A refused name keeps the dialog open; an existing one closes it.
        if (row.Shown == Warning) {
            EXPECT_EQ(row.ClosedOkay ? "File (/ directory) already exists." : "Invalid name.\n\nChange the name !",
                      Warned);
        }
        if (row.Shown == Failure) {
            ASSERT_EQ(1u, Failures.Reports.size());
            EXPECT_THAT(Failures.Reports[0],
                        HasSubstr("Failed to create new " + TNewFileForm::KindText(row.Kind) + "."));
        }
    }
    EXPECT_EQ("old", Drive.ReadFile("f/old.txt"));
}

TEST_F(NewFileTest, ANewFileIsEmpty)
{
    EXPECT_TRUE(Run(nfkFile, "notes", Nothing));
    EXPECT_EQ(0u, std::filesystem::file_size(Drive.HostPath("f/notes.txt")));
}

// Only the call's own answer tells whether the item was made.
TEST_F(NewFileTest, AFailedCreateIsShownWithTheSystemsCode)
{
    host::InjectFault(host::HostCall::CreateDirectory, host::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(Run(nfkDirectory, "new", Failure));
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to create new directory."));
    EXPECT_THAT(Failures.Reports[0], HasSubstr(Drive.Path("f\\new")));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(NewFileTest, ByCurrentPutsAStampInFront)
{
    TModalScript script;
    script.Expect("New file", mrCancel, [&](const TModalRequest&) {
        Form.NewFileNameEdit->setText("notes");
        Form.NewPrefixByCurrentButtonClick();
        const std::string typed = Form.NewFileNameEdit->text().toStdString();
        EXPECT_TRUE(std::regex_match(typed, std::regex(R"(^\d{14}_notes$)"))) << typed;
    });
    EXPECT_FALSE(Form.Dialog(Drive.Path("f"), nfkFile));
    EXPECT_EQ("", Form.EnteredName);
}

} // namespace
