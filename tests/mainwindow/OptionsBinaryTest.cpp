#include "BoardTestWindow.h"

#include "core/files/KnownFolders.h"
#include "core/files/ProgramFolders.h"
#include "core/settings/FileStorage.h"
#include "core/text/MyMath.h"

#include "support/ShownFailures.h"

#include <gmock/gmock.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace std::string_literals;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsSupersetOf;
using testing::Not;

namespace {

const char* const OptionsFileName = "Quillomber.qmo";
const char* const Signature = "Quillomber Options";

// The payload's encodings, written out here independently of the program's stream.
std::string LittleEndian(uint64_t value, int bytes)
{
    std::string encoded;
    for (int i = 0; i < bytes; ++i)
        encoded += static_cast<char>((value >> (8 * i)) & 0xFF);
    return encoded;
}

std::string Int32(int32_t value)
{
    return LittleEndian(static_cast<uint32_t>(value), 4);
}

std::string Int64(int64_t value)
{
    return LittleEndian(static_cast<uint64_t>(value), 8);
}

std::string Byte(bool value)
{
    return std::string(1, value ? '\1' : '\0');
}

std::string Text(const std::string& text)
{
    return Int32(static_cast<int32_t>(text.size())) + text;
}

std::string ColumnRecord(const TColumnState& column, int32_t version)
{
    return Text(column.ActiveTitle) + Int32(column.ContainerIndex) + Byte(column.FixedAttr) + Int32(column.WidthAttr) +
           Int32(column.Subcolumns) + Int32(column.ThumbHeight) + Byte(column.ThumbAttr) +
           (version >= 3 ? Byte(column.ShowPathsInContainer) : "") + Int32(column.ActiveType) +
           Int32(column.ActiveTopOffset) + Int64(column.ActiveKey) + Text(column.SortMode);
}

std::string BoardRecord(const TBoardData& board, int32_t version)
{
    std::string record = Text(board.Name);
    if (version >= 2)
        record += Text(board.Shortcut);
    if (version >= 1)
        record += Byte(board.ShowPlayList) + Byte(board.ShowTree) + Text(board.TreePath);
    record += Int32(board.VisibleColumnCount) + Int32(board.ActiveColumnIndex);
    for (const TColumnState& column : board.ColumnStates)
        record += ColumnRecord(column, version);
    return record;
}

std::string BoardRecords(const std::array<TBoardData, BoardCount>& boards, int32_t version)
{
    std::string records;
    for (int32_t i = BoardCount - 1; i >= 0; --i)
        records += BoardRecord(boards[static_cast<size_t>(i)], version);
    return records;
}

// Every stored field of every board, to compare two sets of boards at once.
std::string StoredBoardsText()
{
    std::ostringstream text;
    for (const TBoardData& board : Boards->Items) {
        text << board.Index << " " << board.Name << "|" << board.Shortcut << "|" << board.ShowPlayList << board.ShowTree
             << "|" << board.TreePath << "|" << board.VisibleColumnCount << board.ActiveColumnIndex;
        for (const TColumnState& c : board.ColumnStates)
            text << "\n  " << c.ActiveTitle << "|" << c.ContainerIndex << c.FixedAttr << c.WidthAttr << c.Subcolumns
                 << c.ThumbHeight << c.ThumbAttr << c.ShowPathsInContainer << "|" << c.ActiveType << "|"
                 << c.ActiveTopOffset << "|" << c.ActiveKey << "|" << c.SortMode;
        text << "\n";
    }
    return text.str();
}

std::vector<std::string> HistoryTitles(const THistory& history)
{
    return {history.Titles.begin(), history.Titles.begin() + history.Count};
}

std::string ReadHostFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class OptionsBinaryTest : public testing::Test
{
protected:
    OptionsBinaryTest() { Drive.WriteFile("b/three.txt", "3"); }

    std::string SavedFile() const { return ReadHostFile(TBoardTestWindow::OptionsHostPath(OptionsFileName)); }

    void WriteOptionsFile(const std::string& content) const
    {
        std::filesystem::create_directories(TBoardTestWindow::OptionsHostPath(""));
        std::ofstream(TBoardTestWindow::OptionsHostPath(OptionsFileName), std::ios::binary) << content;
    }

    // Opens the window over a file it cannot read; the report of the one failure shown.
    std::string OpenExpectingOneFailure()
    {
        TShownFailures failures;
        {
            TModalScript script;
            failures.Expect(script, "Error");
            Window.Open();
        }
        EXPECT_EQ(1u, failures.Reports.size());
        return failures.Reports.empty() ? std::string() : failures.Reports[0];
    }

    // A well-formed file of the version around the payload.
    void WriteOptionsFile(int32_t version, const std::string& payload) const
    {
        std::filesystem::create_directories(TBoardTestWindow::OptionsHostPath(""));
        TFileStorage storage;
        storage.FileName = GetOptionsPath() + OptionsFileName;
        storage.Signature = Signature;
        storage.Version = version;
        storage.OnSave = [&payload](TFileStorage& stream) {
            stream.WriteObject(payload.data(), static_cast<int32_t>(payload.size()));
        };
        ASSERT_TRUE(storage.Save(false));
    }

    // The boards as a new window has them, before any file is read.
    static std::array<TBoardData, BoardCount> DefaultBoards()
    {
        TBoardTestWindow fresh;
        fresh.Open();
        return Boards->Items;
    }

    TTempDrive Drive;
    TBoardTestWindow Window;
};

TEST_F(OptionsBinaryTest, TheFileHoldsTheBoardsLastFirstAndTheHistoriesAndReadsBack)
{
    Window.Open();
    TBoardData& thirty = BoardAt(29);
    Boards->SetBoardName(thirty, "Z");
    Boards->SetBoardShortcut(thirty, "z");
    thirty.ShowPlayList = true;
    thirty.TreePath = "T:\\";
    thirty.VisibleColumnCount = 3;
    thirty.ActiveColumnIndex = 1;
    thirty.ColumnStates[0] = {
        -1, true, 2, 2, 5, true, true, "T:\\a\\one.txt", 4, -2, 0x0102030405060708, "Size, big-small", ""};
    thirty.ColumnStates[1].ActiveTitle = "T:\\b\\";
    thirty.ColumnStates[1].ContainerIndex = 3;
    ColumnAt(*Window, 1)
        .LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("b/three.txt")});
    // At the next start the window's columns record folders the history already ends with.
    PathsHistory.Clear();
    PathsHistory.AddPathItem("T:\\a\\one.txt", 4, 2, 7, false, false);
    PathsHistory.AddPathItem("T:\\b\\three.txt", 5, 0, 0, false, false);
    FilesHistory.AddFileItem("T:\\a\\two.txt", false);
    Boards->SaveActiveBoard();
    const std::array<TBoardData, BoardCount> saved = Boards->Items;
    const std::string savedText = StoredBoardsText();

    Window.Close();

    const std::string file = SavedFile();
    ASSERT_GT(file.size(), 48u);
    const std::string payload = file.substr(48);
    EXPECT_EQ(Signature + std::string(32 - 18, '\0'), file.substr(4, 32));
    EXPECT_EQ(Int32(3) + Int64(0), file.substr(36, 12));
    const uint32_t checksum = BlockHash(payload.data(), static_cast<int32_t>(payload.size()), TextHash(Signature));
    EXPECT_EQ(Int32(static_cast<int32_t>(checksum)), file.substr(0, 4));
    const std::string boardThirtyHead = "\x01\0\0\0Z\x01\0\0\0z\x01\0\x03\0\0\0T:\\\x03\0\0\0\x01\0\0\0"
                                        "\x0C\0\0\0T:\\a\\one.txt\xFF\xFF\xFF\xFF\x01\x02\0\0\0\x02\0\0\0\x05\0\0\0"
                                        "\x01\x01\x04\0\0\0\xFE\xFF\xFF\xFF\x08\x07\x06\x05\x04\x03\x02\x01"
                                        "\x0F\0\0\0Size, big-small"s;
    EXPECT_EQ(boardThirtyHead, payload.substr(0, boardThirtyHead.size()));
    const std::string histories = Int32(2) + Text("T:\\a\\one.txt") + Int32(4) + Int32(2) + Int64(7) +
                                  Text("T:\\b\\three.txt") + Int32(5) + Int32(0) + Int64(0) + Int32(1) +
                                  Text("T:\\a\\two.txt");
    EXPECT_EQ(BoardRecords(saved, 3) + histories, payload);

    Window.Open();

    EXPECT_EQ(savedText, StoredBoardsText());
    EXPECT_EQ("Z", BoardAt(29).Button->GetCaption());
    EXPECT_THAT(HistoryTitles(PathsHistory), ElementsAre("T:\\a\\one.txt", "T:\\b\\three.txt"));
    EXPECT_EQ(7, PathsHistory.Keys[0]);
    EXPECT_EQ(2, PathsHistory.Offsets[0]);
    EXPECT_EQ(4, PathsHistory.Types[0]);
    EXPECT_THAT(HistoryTitles(FilesHistory), ElementsAre("T:\\a\\two.txt"));
    EXPECT_EQ(Drive.Path("b/three.txt"), ColumnAt(*Window, 1).ActiveTitle);
    EXPECT_EQ(Drive.Path("b/three.txt"), BoardAt(0).ColumnStates[1].DefaultTitle);
}

TEST_F(OptionsBinaryTest, TextsTooLongForTheReaderAreWrittenSoThatTheFileStillLoads)
{
    const std::string longFolder = "T:\\" + std::string(300, 'x') + "\\";
    Window.Open();
    TBoardData& thirty = BoardAt(29);
    Boards->SetBoardName(thirty, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                                 "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    Boards->SetBoardShortcut(thirty, "k");
    thirty.TreePath = longFolder;
    thirty.ColumnStates[0].ActiveTitle = longFolder + "f.txt";
    thirty.ColumnStates[1].SortMode = std::string(32, 's');
    thirty.ColumnStates[2].ActiveTitle = "T:\\b\\three.txt";
    PathsHistory.Clear();
    PathsHistory.AddPathItem("T:\\a\\one.txt", 4, 0, 0, false, false);
    PathsHistory.AddPathItem(longFolder + "f.txt", 4, 0, 0, false, false);
    PathsHistory.AddPathItem("T:\\b\\three.txt", 4, 0, 0, false, false);
    FilesHistory.AddFileItem(longFolder + "f.txt", false);
    FilesHistory.AddFileItem("T:\\a\\two.txt", false);
    Window.Close();

    Window.Open();

    const TBoardData& read = BoardAt(29);
    EXPECT_EQ("", read.Name);
    EXPECT_EQ("k", read.Shortcut);
    EXPECT_EQ("", read.TreePath);
    EXPECT_EQ("", read.ColumnStates[0].ActiveTitle);
    EXPECT_EQ("", read.ColumnStates[1].SortMode);
    EXPECT_EQ("T:\\b\\three.txt", read.ColumnStates[2].ActiveTitle);
    // The window's own columns add their folders after the stored ones.
    EXPECT_THAT(HistoryTitles(PathsHistory), IsSupersetOf({"T:\\a\\one.txt", "T:\\b\\three.txt"}));
    EXPECT_THAT(HistoryTitles(PathsHistory), Not(Contains(longFolder + "f.txt")));
    EXPECT_THAT(HistoryTitles(FilesHistory), ElementsAre("T:\\a\\two.txt"));
    Boards->ShowBoard(29);
    EXPECT_THAT(ListedTitles(ColumnAt(*Window, 0)), testing::Contains("C:"));
}

TEST_F(OptionsBinaryTest, ADamagedFileIsReportedLeavesTheDefaultsAndIsKeptAsBak)
{
    Window.Open();
    Boards->SetBoardName(BoardAt(29), "Saved");
    PathsHistory.AddPathItem("T:\\b\\three.txt", 4, 0, 0, false, false);
    Window.Close();
    std::string file = SavedFile();
    file.back() ^= 1;
    WriteOptionsFile(file);
    const std::string report = OpenExpectingOneFailure();
    EXPECT_THAT(report, HasSubstr("Failed to load. Data is probably corrupted."));
    EXPECT_THAT(report, HasSubstr("Invalid integrity check."));
    EXPECT_EQ("", BoardAt(29).Name);
    EXPECT_EQ("Main", BoardAt(0).Name);
    EXPECT_THAT(HistoryTitles(PathsHistory), Not(Contains("T:\\b\\three.txt")));

    Window.Close();
    EXPECT_EQ(file, ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.qmo.bak")));
    Window.Open();
    EXPECT_EQ("Main", BoardAt(0).Name) << "the defaults written at close load without a word";
}

// The longest file the program can write is one it reads: every text at the reader's
// limit, both histories full.
TEST_F(OptionsBinaryTest, TheFullestFileLoadsAndALongerOneIsRefusedUnread)
{
    const std::string longFolder = "T:\\" + std::string(127, 'd') + "\\" + std::string(128, 'e');
    ASSERT_EQ(259u, longFolder.size());
    Drive.WriteFile(std::string(127, 'd') + "/" + std::string(128, 'e') + "/f.txt", "f");
    std::array<TBoardData, BoardCount> boards = DefaultBoards();
    for (TBoardData& board : boards) {
        board.Name = std::string(31, 'n');
        board.Shortcut = std::string(31, 's');
        board.TreePath = longFolder;
        for (TColumnState& column : board.ColumnStates) {
            column.ActiveTitle = longFolder;
            column.SortMode = std::string(31, 'm');
        }
    }
    std::string histories = Int32(HistoryCapacity);
    for (int32_t i = 0; i < HistoryCapacity; ++i)
        histories += Text(longFolder.substr(0, 255) + IntToDigitsText(i, 4)) + Int32(0) + Int32(0) + Int64(0);
    histories += Int32(HistoryCapacity);
    for (int32_t i = 0; i < HistoryCapacity; ++i)
        histories += Text(longFolder.substr(0, 255) + IntToDigitsText(i, 4));
    const std::string payload = BoardRecords(boards, 3) + histories;
    EXPECT_EQ(static_cast<size_t>(TMainForm::OptionsFSMaxPayloadSize()), payload.size());
    WriteOptionsFile(3, payload);

    Window.Open();
    EXPECT_EQ(std::string(31, 'n'), BoardAt(29).Name);
    EXPECT_EQ(std::string(31, 'm'), BoardAt(29).ColumnStates[9].SortMode);
    EXPECT_THAT(HistoryTitles(FilesHistory), Contains(longFolder.substr(0, 255) + "0999"));
    Window.Discard();

    // A sparse file: its size costs no disk, and reading it would show in the peak memory.
    WriteOptionsFile(3, payload);
    std::filesystem::resize_file(TBoardTestWindow::OptionsHostPath(OptionsFileName), uint64_t{1000} << 20);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const std::string report = OpenExpectingOneFailure();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_THAT(report, HasSubstr("Failed to read."));
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "peak memory grew, in KiB";
    EXPECT_EQ("Main", BoardAt(0).Name);
}

TEST_F(OptionsBinaryTest, ReadingStopsAtTheFirstTextTooLongAndKeepsWhatCameBefore)
{
    std::array<TBoardData, BoardCount> boards = DefaultBoards();
    boards[29].Name = "Thirty";
    boards[28].Name = std::string(32, 'n');
    boards[28].Shortcut = "q";
    WriteOptionsFile(3, BoardRecords(boards, 3) + Int32(1) + Text("T:\\b\\three.txt") + Int32(4) + Int32(0) + Int64(0) +
                            Int32(0));
    const std::string report = OpenExpectingOneFailure();
    EXPECT_THAT(report, HasSubstr("Failed to load. Data is probably corrupted."));
    EXPECT_THAT(report, HasSubstr("Text too long."));
    EXPECT_EQ("Thirty", BoardAt(29).Name);
    EXPECT_EQ("", BoardAt(28).Name);
    EXPECT_EQ("", BoardAt(28).Shortcut);
    EXPECT_THAT(HistoryTitles(PathsHistory), Not(Contains("T:\\b\\three.txt")));
}

TEST_F(OptionsBinaryTest, AVersionZeroFileGivesNamesCountsAndColumnsOnly)
{
    std::array<TBoardData, BoardCount> boards = DefaultBoards();
    for (TBoardData& board : boards) {
        board.Name.clear();
        board.Shortcut = "x";
        board.ShowPlayList = !board.ShowPlayList;
        board.ShowTree = !board.ShowTree;
        board.TreePath = "T:\\b\\";
        board.VisibleColumnCount = 1;
        for (TColumnState& column : board.ColumnStates)
            column.ShowPathsInContainer = !column.ShowPathsInContainer;
    }
    boards[1].Name = "Old";
    boards[3].ColumnStates[0].ActiveTitle = "T:\\b\\three.txt";
    boards[3].ColumnStates[0].SortMode = "";
    boards[4].VisibleColumnCount = 11;
    boards[4].ColumnStates[1].ContainerIndex = 20;
    WriteOptionsFile(0, BoardRecords(boards, 0));

    Window.Open();

    EXPECT_EQ("Main", BoardAt(0).Name);
    EXPECT_EQ("Old", BoardAt(1).Name);
    EXPECT_EQ("1", BoardAt(0).Shortcut);
    EXPECT_EQ("2", BoardAt(1).Shortcut);
    EXPECT_EQ(1, BoardAt(0).VisibleColumnCount);
    EXPECT_TRUE(BoardAt(7).ShowPlayList);
    EXPECT_TRUE(BoardAt(14).ShowTree);
    EXPECT_EQ(GetOperatorDrive(), BoardAt(0).TreePath);
    EXPECT_EQ("T:\\b\\three.txt", BoardAt(3).ColumnStates[0].ActiveTitle);
    EXPECT_EQ("", BoardAt(3).ColumnStates[0].SortMode);
    EXPECT_TRUE(BoardAt(3).ColumnStates[1].ShowPathsInContainer);
    EXPECT_FALSE(BoardAt(3).ColumnStates[0].ShowPathsInContainer);
    EXPECT_EQ(3, BoardAt(4).VisibleColumnCount);
    EXPECT_EQ(0, BoardAt(4).ColumnStates[1].ContainerIndex);
    EXPECT_EQ(1, Window->VisibleColumnCount);
}

} // namespace
