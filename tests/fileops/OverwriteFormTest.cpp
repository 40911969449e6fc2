#include "fileops/OverwriteForm.h"

#include "core/errors/Error.h"
#include "core/files/FileOperations.h"
#include "core/text/MyTime.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <chrono>
#include <filesystem>
#include <optional>

namespace {

const char* const Caption = "Overwrite destination with source ?";

enum TDestination
{
    Missing,
    Older,
    Newer
};

const char* DestinationName(TDestination destination)
{
    switch (destination) {
    case Missing:
        return "missing.txt";
    case Older:
        return "older.txt";
    default:
        return "newer.txt";
    }
}

// A source beside an older and a newer destination of the same size class (neither empty).
class OverwriteTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WriteAged("source.txt", "source", 0);
        WriteAged("older.txt", "older destination", -3600);
        WriteAged("newer.txt", "newer destination", 3600);
    }

    void WriteAged(const std::string& relative, const std::string& content, int seconds) const
    {
        Drive.WriteFile(relative, content);
        std::filesystem::last_write_time(Drive.HostPath(relative), Base + std::chrono::seconds(seconds));
    }

    std::string Source() const { return Drive.Path("source.txt"); }
    std::string Destination(TDestination destination) const { return Drive.Path(DestinationName(destination)); }

    TTempDrive Drive;
    const std::filesystem::file_time_type Base = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
};

struct DecisionRow
{
    TOverwriteChoice remembered;
    TDestination destination;
    // What the user answers when asked; none stands for the close box.
    std::optional<TOverwriteChoice> answer;
    bool asked;
    bool proceed;
    bool overwrite;
    bool abort;
    bool destinationExists;
    bool sourceNewer;
    TOverwriteChoice rememberedAfter;
};

TEST_F(OverwriteTest, TheRememberedAnswerDecidesOrAsksForEachKindOfDestination)
{
    // clang-format off
    const DecisionRow rows[] = {
        // remembered      destination answer          asked  proceed overwr abort  exists newer  after
        // Abort refuses at once, even a missing destination, and flags no abort of its own.
        {ocAbort,          Missing, std::nullopt,      false, false,  false, false, false, true,  ocAbort},
        {ocAbort,          Older,   std::nullopt,      false, false,  false, false, false, true,  ocAbort},
        // Overwrite all looks at neither file.
        {ocOverAll,        Missing, std::nullopt,      false, true,   true,  false, false, true,  ocOverAll},
        {ocOverAll,        Newer,   std::nullopt,      false, true,   true,  false, false, true,  ocOverAll},
        // A missing destination goes on without overwriting, whatever else is remembered.
        {ocSkipThis,       Missing, std::nullopt,      false, true,   false, false, false, true,  ocSkipThis},
        {ocOverThis,       Missing, std::nullopt,      false, true,   false, false, false, true,  ocOverThis},
        {ocSkipAll,        Missing, std::nullopt,      false, true,   false, false, false, true,  ocSkipAll},
        {ocOverAllOlder,   Missing, std::nullopt,      false, true,   false, false, false, true,  ocOverAllOlder},
        // Skip all skips silently but still tells which file is newer.
        {ocSkipAll,        Older,   std::nullopt,      false, false,  false, false, true,  true,  ocSkipAll},
        {ocSkipAll,        Newer,   std::nullopt,      false, false,  false, false, true,  false, ocSkipAll},
        // Overwrite all older replaces only an older destination.
        {ocOverAllOlder,   Older,   std::nullopt,      false, true,   true,  false, true,  true,  ocOverAllOlder},
        {ocOverAllOlder,   Newer,   std::nullopt,      false, false,  false, false, true,  false, ocOverAllOlder},
        // Skip this and overwrite this ask; the answer is remembered.
        {ocSkipThis,       Older,   ocOverThis,        true,  true,   true,  false, true,  true,  ocOverThis},
        {ocSkipThis,       Newer,   ocSkipAll,         true,  false,  false, false, true,  false, ocSkipAll},
        {ocOverThis,       Older,   ocOverAll,         true,  true,   true,  false, true,  true,  ocOverAll},
        {ocOverThis,       Older,   ocSkipThis,        true,  false,  false, false, true,  true,  ocSkipThis},
        {ocOverThis,       Older,   ocAbort,           true,  false,  false, true,  true,  true,  ocAbort},
        {ocSkipThis,       Older,   ocOverAllOlder,    true,  true,   true,  false, true,  true,  ocOverAllOlder},
        {ocSkipThis,       Newer,   ocOverAllOlder,    true,  false,  false, false, true,  false, ocOverAllOlder},
        // The close box skips this file and keeps the remembered answer.
        {ocOverThis,       Older,   std::nullopt,      true,  false,  false, false, true,  true,  ocOverThis},
        {ocSkipThis,       Newer,   std::nullopt,      true,  false,  false, false, true,  false, ocSkipThis},
    };
    // clang-format on
    for (const DecisionRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "remembered " << row.remembered << ", destination "
                                        << DestinationName(row.destination));
        TOverwriteDecision decision;
        decision.Set(row.remembered);
        bool asked = false;
        const TOverwriteOutcome outcome =
            decision.Decide(Source(), Destination(row.destination), [&](const TOverwriteConflict& conflict) {
                asked = true;
                EXPECT_EQ(Source(), conflict.Source);
                EXPECT_EQ(Destination(row.destination), conflict.Destination);
                return row.answer;
            });
        EXPECT_EQ(row.asked, asked);
        EXPECT_EQ(row.proceed, outcome.Proceed);
        EXPECT_EQ(row.overwrite, outcome.Overwrite);
        EXPECT_EQ(row.abort, outcome.Abort);
        EXPECT_EQ(row.destinationExists, outcome.DestinationExists);
        EXPECT_EQ(row.sourceNewer, outcome.SourceNewer);
        EXPECT_EQ(row.rememberedAfter, decision.Choice());
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST(OverwriteSourceNewer, SizeThenTimeThenSizeThenEncryptionDecide)
{
    constexpr uint32_t Encrypted = 0x4000;
    constexpr double Day = 45000;
    struct Row
    {
        int64_t sourceSize;
        double sourceTime;
        uint32_t sourceAttributes;
        int64_t destinationSize;
        double destinationTime;
        uint32_t destinationAttributes;
        bool newer;
    };
    // clang-format off
    const Row rows[] = {
        // Only one side empty: the size alone decides, whatever the times.
        {10, Day - 1,   0,         0,  Day,       0,         true},
        {0,  Day + 1,   0,         10, Day,       0,         false},
        // Times decide next, exactly.
        {0,  Day + 1,   0,         0,  Day,       0,         true},
        {10, Day,       0,         20, Day - 1,   0,         true},
        {20, Day - 1,   0,         10, Day,       0,         false},
        {10, Day + 1e-8, 0,        10, Day,       0,         true},
        // Equal times: the larger source is newer.
        {20, Day,       0,         10, Day,       0,         true},
        {10, Day,       0,         20, Day,       0,         false},
        // Equal times and sizes: only a source encrypted alone is newer.
        {10, Day,       Encrypted, 10, Day,       0,         true},
        {0,  Day,       Encrypted, 0,  Day,       0,         true},
        {10, Day,       Encrypted, 10, Day,       Encrypted, false},
        {10, Day,       0,         10, Day,       Encrypted, false},
        {10, Day,       0,         10, Day,       0,         false},
    };
    // clang-format on
    for (const Row& row : rows) {
        TFileInfo source;
        source.Size = row.sourceSize;
        source.Modified = row.sourceTime;
        source.Attributes = row.sourceAttributes;
        TFileInfo destination;
        destination.Size = row.destinationSize;
        destination.Modified = row.destinationTime;
        destination.Attributes = row.destinationAttributes;
        EXPECT_EQ(row.newer, TOverwriteForm::IsSourceNewer(source, destination))
            << row.sourceSize << " at " << row.sourceTime << " over " << row.destinationSize << " at "
            << row.destinationTime;
    }
}

std::string Text(const QLabel* label)
{
    return label->text().toStdString();
}

TEST_F(OverwriteTest, AShownConflictNamesBothFilesAndWhichIsNewer)
{
    WriteAged("from\\a&b.txt", "12345", 0);
    WriteAged("to\\a&b.txt", "1", -86400 * 3);
    TFileInfo sourceInfo;
    sourceInfo.Load(Drive.Path("from\\a&b.txt"));
    TFileInfo destinationInfo;
    destinationInfo.Load(Drive.Path("to\\a&b.txt"));

    TOverwriteForm form;
    form.ResetChoice();
    TModalScript script;
    script
        .Expect(Caption, TOverwriteForm::ModalResultOf(ocSkipThis),
                [&](const TModalRequest&) {
                    EXPECT_EQ("Source (newer)", form.SourceSide.GroupBox->title().toStdString());
                    EXPECT_EQ("Destination", form.DestSide.GroupBox->title().toStdString());
                    EXPECT_EQ(Drive.Path("from\\"), Text(form.SourceSide.DirectoryLabel));
                    EXPECT_EQ(Drive.Path("to\\"), Text(form.DestSide.DirectoryLabel));
                    for (const TOverwriteForm::TSide* side : {&form.SourceSide, &form.DestSide}) {
                        EXPECT_EQ("a&b.txt", Text(side->FileLabel));
                        EXPECT_EQ(Qt::PlainText, side->FileLabel->textFormat());
                    }
                    EXPECT_EQ(GetSizeText(14, 0, 5), Text(form.SourceSide.SizeLabel));
                    EXPECT_EQ(GetSizeText(14, 0, 1), Text(form.DestSide.SizeLabel));
                    EXPECT_EQ(GetLongDateDayText(sourceInfo.Modified), Text(form.SourceSide.DateLabel));
                    EXPECT_EQ(GetLongDateDayText(destinationInfo.Modified), Text(form.DestSide.DateLabel));
                    EXPECT_NE(Text(form.SourceSide.DateLabel), Text(form.DestSide.DateLabel));
                    EXPECT_EQ(GetTimeDayUnitsText(sourceInfo.Modified), Text(form.SourceSide.ClockLabel));
                    EXPECT_EQ(GetTimeDayUnitsText(destinationInfo.Modified), Text(form.DestSide.ClockLabel));
                    // Help answers and leaves the question open.
                    form.HelpButtonClick();
                    EXPECT_EQ(script.Seen().back().Text, "Help is not available.");
                })
        .Expect("Message", IDOK)
        .Expect(Caption, TOverwriteForm::ModalResultOf(ocSkipThis), [&](const TModalRequest&) {
            EXPECT_EQ("Source", form.SourceSide.GroupBox->title().toStdString());
            EXPECT_EQ("Destination (newer)", form.DestSide.GroupBox->title().toStdString());
            EXPECT_EQ(Drive.Path("to\\"), Text(form.SourceSide.DirectoryLabel));
        });

    bool abort = true;
    bool overwrite = true;
    bool destinationExists = false;
    bool sourceNewer = false;
    EXPECT_FALSE(form.Dialog(Drive.Path("from\\a&b.txt"), Drive.Path("to\\a&b.txt"), abort, overwrite,
                             &destinationExists, &sourceNewer));
    EXPECT_FALSE(abort);
    EXPECT_FALSE(overwrite);
    EXPECT_TRUE(destinationExists);
    EXPECT_TRUE(sourceNewer);

    EXPECT_FALSE(form.Dialog(Drive.Path("to\\a&b.txt"), Drive.Path("from\\a&b.txt"), abort, overwrite,
                             &destinationExists, &sourceNewer));
    EXPECT_TRUE(destinationExists);
    EXPECT_FALSE(sourceNewer);
}

// What a copying command does with the answer: it writes over the destination only when told.
void CopyIfConfirmed(TOverwriteForm& form, const std::string& source, const std::string& destination)
{
    bool abort = false;
    bool overwrite = false;
    if (form.Dialog(source, destination, abort, overwrite))
        MyCopyFile(source, destination, overwrite, false);
}

TEST_F(OverwriteTest, EscapeAndTheCloseBoxSkipOnlyThisFileAfterAnEarlierOverwrite)
{
    for (const char* name : {"a", "b", "c", "d"}) {
        WriteAged(std::string("from\\") + name, "new", 0);
        WriteAged(std::string("to\\") + name, std::string("old ") + name, -3600);
    }
    TOverwriteForm form;
    form.ResetChoice();
    TModalScript script;
    script.Expect(Caption, TOverwriteForm::ModalResultOf(ocOverThis), [&](const TModalRequest&) {
        form.OverwriteThisButton->click();
        EXPECT_EQ(TOverwriteForm::ModalResultOf(ocOverThis), form.result());
    });
    script.Expect(Caption, QDialog::Rejected, [&](const TModalRequest&) {
        form.show();
        form.close();
        EXPECT_EQ(QDialog::Rejected, form.result());
    });
    script.Expect(Caption, TOverwriteForm::ModalResultOf(ocSkipThis), [&](const TModalRequest&) {
        EXPECT_EQ(ocOverThis, form.Choice());
        form.show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &escape);
        EXPECT_EQ(TOverwriteForm::ModalResultOf(ocSkipThis), form.result());
        EXPECT_FALSE(form.isVisible());
    });
    script.Expect(Caption, TOverwriteForm::ModalResultOf(ocOverThis));

    for (const char* name : {"a", "b", "c", "d"})
        CopyIfConfirmed(form, Drive.Path(std::string("from\\") + name), Drive.Path(std::string("to\\") + name));

    EXPECT_EQ("new", Drive.ReadFile("to\\a"));
    EXPECT_EQ("old b", Drive.ReadFile("to\\b"));
    EXPECT_EQ("old c", Drive.ReadFile("to\\c"));
    EXPECT_EQ("new", Drive.ReadFile("to\\d"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(OverwriteTest, AnAnswerForAllHoldsUntilTheNextReset)
{
    TOverwriteForm form;
    form.ResetChoice();
    {
        TModalScript script;
        script.Expect(Caption, TOverwriteForm::ModalResultOf(ocAbort));
        bool abort = false;
        bool overwrite = false;
        EXPECT_FALSE(form.Dialog(Source(), Destination(Older), abort, overwrite));
        EXPECT_TRUE(abort);
        // Every later conflict of the batch is refused without asking, and without its own abort.
        EXPECT_FALSE(form.Dialog(Source(), Destination(Missing), abort, overwrite));
        EXPECT_FALSE(abort);
    }
    form.ResetChoice();
    TModalScript script;
    script.Expect(Caption, TOverwriteForm::ModalResultOf(ocOverThis));
    bool abort = false;
    bool overwrite = false;
    EXPECT_TRUE(form.Dialog(Source(), Destination(Newer), abort, overwrite));
    EXPECT_TRUE(overwrite);
}

TEST_F(OverwriteTest, AMissingDestinationShowsNothingAndFailsNothing)
{
    TOverwriteForm form;
    form.ResetChoice();
    TShownFailures failures;
    TModalScript script;
    bool abort = true;
    bool overwrite = true;
    bool destinationExists = true;
    EXPECT_TRUE(form.Dialog(Source(), Destination(Missing), abort, overwrite, &destinationExists));
    EXPECT_FALSE(abort);
    EXPECT_FALSE(overwrite);
    EXPECT_FALSE(destinationExists);
    EXPECT_TRUE(failures.Reports.empty());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(OverwriteTest, AGivenSourceEntryStandsForTheSourceFile)
{
    // The entry says the source is newer than the newer destination, and bigger; the file
    // itself, which is never looked at again, says otherwise.
    host::FindData entry;
    entry.Attributes = host::FILE_ATTRIBUTE_ARCHIVE;
    entry.Size = 1234;
    entry.LastWriteTime = host::FileTimeFromUnix(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count(),
        0);
    // A second look would fail: only the destination is looked at.
    host::InjectFault(host::HostCall::Stat, host::ERROR_ACCESS_DENIED, 1);
    TOverwriteDecision decision;
    decision.Set(ocSkipThis);
    std::optional<TOverwriteConflict> asked;
    const TOverwriteOutcome outcome = decision.Decide(
        Source(), Destination(Newer),
        [&](const TOverwriteConflict& conflict) {
            asked = conflict;
            return std::optional<TOverwriteChoice>(ocOverThis);
        },
        &entry);
    host::ClearFaults();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(1234, asked->SourceInfo.Size);
    EXPECT_TRUE(asked->SourceInfo.Exists);
    EXPECT_EQ(entry.LastWriteTime, asked->SourceInfo.LastWriteTime);
    EXPECT_TRUE(asked->SourceNewer);
    EXPECT_TRUE(outcome.SourceNewer);
    EXPECT_TRUE(outcome.Overwrite);
}

TEST_F(OverwriteTest, AFileThatCannotBeLookedAtIsShownAndSkippedAndTheCallerGoesOn)
{
    // The destination is looked at first, then the source.
    for (int skip : {0, 1}) {
        SCOPED_TRACE(skip);
        TOverwriteForm form;
        form.ResetChoice();
        host::InjectFault(host::HostCall::Stat, host::ERROR_ACCESS_DENIED, skip);
        TShownFailures failures;
        {
            TModalScript script;
            failures.Expect(script, "Error");
            bool abort = true;
            bool overwrite = true;
            bool destinationExists = true;
            EXPECT_FALSE(form.Dialog(Source(), Destination(Older), abort, overwrite, &destinationExists));
            EXPECT_FALSE(abort);
            EXPECT_FALSE(overwrite);
            EXPECT_FALSE(destinationExists);
        }
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to confirm overwrite."));
        EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to open file."));
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(ocSkipThis, form.Choice());
        host::ClearFaults();
    }
}

} // namespace
