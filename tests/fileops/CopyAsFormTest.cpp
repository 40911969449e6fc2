#include "fileops/CopyAsForm.h"
#include "fileops/OverwriteForm.h"

#include "core/errors/Error.h"
#include "core/files/FileOperations.h"
#include "core/forms/MessageBoxes.h"

#include "host/FaultInjection.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>

namespace {

using testing::HasSubstr;

const char* const OverwriteCaption = "Overwrite destination with source ?";

enum TMode
{
    Copy,
    Move,
    Link
};

// The names in a host folder, so a leftover temporary name shows.
std::set<std::string> NamesIn(const std::string& hostFolder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(hostFolder))
        names.insert(entry.path().filename().string());
    return names;
}

// Drive T: holds s\a.txt ("source") and d\ with an existing file old.txt ("old") and a
// folder dir; the overwrite dialog is made as the program makes it.
class CopyAsTest : public testing::Test
{
protected:
    CopyAsTest()
    {
        OverwriteForm = &Overwrite;
        Drive.WriteFile("s/a.txt", "source");
        Drive.WriteFile("d/old.txt", "old");
        Drive.WriteFile("d/dir/x.txt", "x");
    }
    ~CopyAsTest() override
    {
        OverwriteForm = nullptr;
        host::ClearFaults();
    }

    // Shows the dialog for s\a.txt into `folder`, types the name and clicks the copy
    // button; `then` scripts what the click shows. True when the click closed it with Okay.
    bool Run(TMode mode, const std::string& name, const std::function<void(TModalScript&)>& then = {},
             const std::string& folder = {})
    {
        bool closedOkay = false;
        TModalScript script;
        script.Expect(mode == Link   ? "Copy as hard-link"
                      : mode == Move ? "Move as"
                                     : "Copy as",
                      mrOkay, [&](const TModalRequest&) {
                          Form.NameComboBox->setEditText(QString::fromStdString(name));
                          Form.CopyButtonClick();
                          closedOkay = Form.result() == mrOkay;
                      });
        if (then)
            then(script);
        Form.Dialog(Drive.Path("s\\a.txt"), folder.empty() ? Drive.Path("d") : folder, "active.txt", mode == Link,
                    mode == Move, false);
        return closedOkay;
    }

    static std::function<void(TModalScript&)> Answer(TOverwriteChoice choice)
    {
        return
            [choice](TModalScript& script) { script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(choice)); };
    }

    TTempDrive Drive{'T'};
    TOverwriteForm Overwrite;
    TCopyAsForm Form;
};

struct TTargetRow
{
    TMode Mode;
    const char* Name;
    // The overwrite dialog's answer, when it is to be asked.
    std::optional<TOverwriteChoice> Answer;
    // The message box shown, if any.
    const char* Warning;
    // The target's bytes afterwards ("" for none) and whether the source stays.
    const char* TargetBytes;
    bool SourceStays;
};

TEST_F(CopyAsTest, EachModeOverEachKindOfTarget)
{
    // clang-format off
    const TTargetRow rows[] = {
        // A missing target is made without a question.
        {Copy, "new.txt", std::nullopt, nullptr, "source", true},
        {Move, "new.txt", std::nullopt, nullptr, "source", false},
        {Link, "new.txt", std::nullopt, nullptr, "source", true},
        // An existing file asks; skipping keeps it, overwriting replaces it.
        {Copy, "old.txt", ocSkipThis, nullptr, "old", true},
        {Copy, "old.txt", ocOverThis, nullptr, "source", true},
        {Move, "old.txt", ocOverThis, nullptr, "source", false},
        {Move, "old.txt", ocAbort, nullptr, "old", true},
        {Link, "old.txt", ocSkipThis, nullptr, "old", true},
        {Link, "old.txt", ocOverThis, nullptr, "source", true},
        // A folder of that name is left alone.
        {Copy, "dir", std::nullopt, "Failed to rename. \nA directory with that name already exists.", "", true},
        {Link, "dir", std::nullopt, "Failed to rename. \nA directory with that name already exists.", "", true},
    };
    // clang-format on
    for (const TTargetRow& row : rows) {
        SCOPED_TRACE(std::string(row.Name) + " in mode " + std::to_string(row.Mode));
        // A link of the last row must not carry these writes over to the other name.
        for (const char* file : {"s/a.txt", "d/old.txt", "d/new.txt"})
            std::filesystem::remove(Drive.HostPath(file));
        Drive.WriteFile("s/a.txt", "source");
        Drive.WriteFile("d/old.txt", "old");
        const bool closed = Run(row.Mode, row.Name, [&](TModalScript& script) {
            if (row.Answer)
                script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(*row.Answer));
            if (row.Warning != nullptr)
                script.Expect("Warning", IDOK);
        });
        EXPECT_TRUE(closed);
        const std::string target = std::string("d/") + row.Name;
        if (*row.TargetBytes != 0) {
            EXPECT_EQ(row.TargetBytes, Drive.ReadFile(target));
        }
        EXPECT_EQ(row.SourceStays, Drive.Exists("s/a.txt"));
        if (row.Mode == Link && std::string(row.TargetBytes) == "source") {
            EXPECT_EQ(2u, host::GetHardLinkCount(Drive.Path("d\\") + row.Name)) << "the link shares the file";
        }
        EXPECT_EQ((std::set<std::string>{"dir", "old.txt", row.Name}), NamesIn(Drive.HostPath("d")));
    }
}

TEST_F(CopyAsTest, TheSourceItselfIsAFailureAndTheDialogCloses)
{
    TShownFailures failures;
    EXPECT_TRUE(Run(
        Copy, "a.txt", [&](TModalScript& script) { failures.Expect(script, "Error"); }, Drive.Path("s")));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Source and destination are the same."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to copy as."));
    EXPECT_EQ("source", Drive.ReadFile("s/a.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

// On Linux the name's letter case makes another file.
TEST_F(CopyAsTest, ANameDifferentOnlyInCaseIsAnotherFile)
{
    EXPECT_TRUE(Run(Copy, "A.txt", {}, Drive.Path("s")));
    EXPECT_EQ("source", Drive.ReadFile("s/A.txt"));
    EXPECT_EQ("source", Drive.ReadFile("s/a.txt"));
}

TEST_F(CopyAsTest, AForbiddenSignKeepsTheDialogOpenWithTheName)
{
    for (const char* name : {"a/b", "a:b", "a*", "a?b", "a<b", "a>b", "a|b", "a\"b", "a\\b"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Run(Copy, name, [&](TModalScript& script) { script.Expect("Warning", IDOK); }));
        EXPECT_EQ(name, Form.TypedName());
        EXPECT_EQ((std::set<std::string>{"dir", "old.txt"}), NamesIn(Drive.HostPath("d")));
    }
}

// A link that fails on the way never loses the target, and no temporary name stays.
TEST_F(CopyAsTest, AFailedLinkOverATargetKeepsItsBytes)
{
    for (const host::HostCall call : {host::HostCall::Link, host::HostCall::Rename}) {
        SCOPED_TRACE(static_cast<int>(call));
        TShownFailures failures;
        host::InjectFault(call, host::ERROR_ACCESS_DENIED);
        EXPECT_TRUE(Run(Link, "old.txt", [&](TModalScript& script) {
            script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocOverThis));
            failures.Expect(script, "Error");
        }));
        host::ClearFaults();
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to copy as hard-link."));
        EXPECT_EQ("old", Drive.ReadFile("d/old.txt"));
        EXPECT_EQ(1u, host::GetHardLinkCount(Drive.Path("s\\a.txt")));
        EXPECT_EQ((std::set<std::string>{"dir", "old.txt"}), NamesIn(Drive.HostPath("d")));
    }
}

TEST_F(CopyAsTest, ALinkToAnotherFileSystemFailsAndLeavesTheTarget)
{
    TTempDrive other('S', "/dev/shm");
    other.WriteFile("old.txt", "old");
    for (const char* name : {"new.txt", "old.txt"}) {
        SCOPED_TRACE(name);
        TShownFailures failures;
        EXPECT_TRUE(Run(
            Link, name,
            [&](TModalScript& script) {
                if (std::string(name) == "old.txt")
                    script.Expect(OverwriteCaption, TOverwriteForm::ModalResultOf(ocOverThis));
                failures.Expect(script, "Error");
            },
            other.Path()));
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to copy as hard-link."));
        EXPECT_THAT(failures.Reports[0], HasSubstr(std::to_string(host::ERROR_NOT_SAME_DEVICE)));
        EXPECT_EQ("old", other.ReadFile("old.txt"));
        EXPECT_EQ((std::set<std::string>{"old.txt"}), NamesIn(other.HostPath()));
    }
}

// The copy shows no progress of its own: a cancelling progress callback of another
// operation neither stops it nor is lost.
TEST_F(CopyAsTest, TheCopyRunsWithoutTheProgressCallbackAndRestoresIt)
{
    Drive.WriteFile("s/a.txt", std::string(3 << 20, 'x'));
    int calls = 0;
    FileUnitLoader.OnProgress = [&calls](double) {
        ++calls;
        return false;
    };
    EXPECT_TRUE(Run(Copy, "big.txt"));
    EXPECT_EQ(std::string(3 << 20, 'x'), Drive.ReadFile("d/big.txt"));
    EXPECT_EQ(0, calls);
    ASSERT_TRUE(FileUnitLoader.OnProgress);
    FileUnitLoader.OnProgress = nullptr;
}

struct TCaptionRow
{
    bool HardLink;
    bool Move;
    bool LastNumbered;
    const char* Caption;
    const char* Button;
    const char* Name;
};

TEST_F(CopyAsTest, TheModeNamesTheDialogAndChoosesTheFirstName)
{
    // clang-format off
    const TCaptionRow rows[] = {
        {false, false, false, "Copy as",                  "Copy as",      "a.txt"},
        {false, true,  false, "Move as",                  "Move as",      "a.txt"},
        {false, false, true,  "Copy as last numbered",    "Copy as last", "img_004.jpg"},
        {false, true,  true,  "Move as last numbered",    "Move as last", "img_004.jpg"},
        // A hard link is never last numbered.
        {true,  false, true,  "Copy as hard-link",        "Copy as",      "a.txt"},
    };
    // clang-format on
    for (const TCaptionRow& row : rows) {
        SCOPED_TRACE(row.Caption);
        TModalScript script;
        script.Expect(row.Caption, mrCancel, [&](const TModalRequest&) {
            EXPECT_EQ(row.Button, Form.CopyButton->text().toStdString());
            EXPECT_EQ(row.Name, Form.TypedName());
            EXPECT_EQ("* Source: " + Drive.Path("s\\a.txt") + "\n* Destination: " + Drive.Path("d"),
                      Form.PathsLabel->text().toStdString());
            Form.UseActiveFileNameButtonClick();
            EXPECT_EQ("img_004.jpg", Form.TypedName());
        });
        EXPECT_FALSE(Form.Dialog(Drive.Path("s\\a.txt"), Drive.Path("d"), "img_004.jpg", row.HardLink, row.Move,
                                 row.LastNumbered));
    }
}

TEST_F(CopyAsTest, TheStampsGoInFrontOfTheName)
{
    TModalScript script;
    script.Expect("Copy as", mrCancel, [&](const TModalRequest&) {
        Form.NewPrefixByCurrentButtonClick();
        Form.NewPrefixByCurrentButtonClick();
        EXPECT_TRUE(std::regex_match(Form.TypedName(), std::regex(R"(^\d{14}_\d{14}_a\.txt$)"))) << Form.TypedName();
        Form.NameComboBox->setEditText("a.txt");
        Form.NewPrefixByCreationButtonClick();
        EXPECT_TRUE(std::regex_match(Form.TypedName(), std::regex(R"(^\d{14}_a\.txt$)"))) << Form.TypedName();
    });
    Form.Dialog(Drive.Path("s\\a.txt"), Drive.Path("d"), "", false, false, false);
}

TEST_F(CopyAsTest, AFolderSourceIsLeftToTheCaller)
{
    TModalScript script;
    script.Expect("Copy as", mrOkay, [&](const TModalRequest&) {
        Form.NameComboBox->setEditText("copy");
        Form.CopyButtonClick();
    });
    EXPECT_TRUE(Form.Dialog(Drive.Path("d\\dir"), Drive.Path("s"), "", false, false, false));
    EXPECT_EQ((std::set<std::string>{"a.txt"}), NamesIn(Drive.HostPath("s")));
    EXPECT_EQ("copy", Form.TypedName());
}

} // namespace
