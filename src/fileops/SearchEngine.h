#pragma once

#include "fileops/TextMatcher.h"

#include "core/text/MyTime.h"
#include "core/text/StringList.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TFunStatContext;
class TTraced;

namespace host {
struct DirectoryEntry;
class DirectoryReader;
class File;
} // namespace host

// The items of the "File parts" list, in its order.
enum class TFileParts
{
    Name,
    Description,
    Content,
    NameContent,
    NameText,
};

enum class TSearchMode
{
    Normal,
    Duplicates,
    History,
};

// The found list: full paths with a data word each (bits 0-15 the rank, bit 16 set for a
// directory). While text filters rank the search, the ranks stay non-increasing.
class TFoundItems
{
public:
    struct TItem
    {
        std::string Path;
        uint32_t Data = 0;
    };

    static int32_t GetItemRank(uint32_t data);
    // Below 0 stores 0; above 65535 stores 65535, so the best match still sorts first.
    static void SetItemRank(uint32_t& data, int32_t rank);
    static bool IsItemDirectory(uint32_t data);
    static void SetItemDirectory(uint32_t& data, bool directory);

    // Ranked: inserted before the first item of a lower rank, so equal ranks keep the order
    // in which they were found; else appended. Returns the new item's index.
    int32_t Add(const std::string& path, bool isDirectory, int32_t rank, bool ranked);
    void Clear() { Items.clear(); }
    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    const TItem& operator[](int32_t index) const { return Items[static_cast<size_t>(index)]; }

private:
    std::vector<TItem> Items;
};

// What the running search needs of the dialog around it. Tests and the benchmark drive
// the engine headless through their own port.
class TSearchPort
{
public:
    virtual ~TSearchPort() = default;
    // Pending events; the engine calls it at most every 20 ms.
    virtual void ProcessMessages() = 0;
    virtual void ShowLookingIn(const std::string& text) = 0;
    // The counters of the engine; a negative progress leaves out progress and filter.
    virtual void ShowStatus(int32_t filterIndex, double progress) = 0;
    // Shows a failure held in `context` with "Okay", "Okay (no errors)" and "Cancel";
    // true for the first two, `noMoreErrors` true only for the second.
    virtual bool ShowError(const std::string& message, TFunStatContext& context, bool& noMoreErrors) = 0;
    // A found item was inserted at `index` of the found list.
    virtual void ItemFound(int32_t index) = 0;
    // The top-level candidate `index` has been searched (the column deselects it).
    virtual void CandidateDone(int32_t index) = 0;
};

// One limit box: its check box and its text.
struct TSearchLimit
{
    bool Enabled = false;
    std::string Text;
};

// Everything a search reads from the dialog when it starts.
struct TSearchOptions
{
    TSearchMode Mode = TSearchMode::Normal;
    // The reference file of a duplicates search.
    std::string DuplicateOf;
    // The file name filter box's text, as typed or a predefined entry.
    std::string NameFilterText;
    bool SearchSimilar = false;
    bool Recursive = true;
    bool FindDirs = true;
    bool FindFiles = true;
    // Parsed from the text filter box (ParseTextFilter); empty for a names search.
    TStringList TextFilters;
    TFileParts FileParts = TFileParts::NameText;
    TTextMatchSettings Matching;
    TSearchLimit CreationMin;
    TSearchLimit CreationMax;
    TSearchLimit ModifiedMin;
    TSearchLimit ModifiedMax;
    // "minutes", "hours", "days" or "weeks".
    std::string TimeUnit = "days";
    TSearchLimit SizeMin;
    TSearchLimit SizeMax;
    // "bytes", "KB", "MB", "GB" or "TB".
    std::string SizeUnit = "KB";
};

// A top-level item of the search column, in column order.
struct TSearchCandidate
{
    std::string Title;
    bool IsDirectory = false;
};

// A time limit's text as a date-time in days: a text with a date separator is an absolute
// "d/m/yy" date (`isAbsolute` true), anything else a whole number of the unit ("minutes",
// "hours", "days", "weeks"). Traced: a text that is no date fails.
double GetTimeFromText(const std::string& text, const std::string& unit, bool& isAbsolute);
// A size limit's text ("." as decimal separator, a refused text is 0) times the unit
// ("bytes", "KB" to "TB"), truncated to whole bytes. Traced.
int64_t GetSizeFromText(const std::string& text, const std::string& unit);
// Whether the first 1,000 bytes of the two files are equal, a shorter file read as padded
// with zero bytes. Traced.
bool SameContentOfFiles(const std::string& a, const std::string& b);

// One search run: walks the candidates (or the navigation histories), tests each against
// the name filter, the limits and the text filters or the duplicate rule, and fills the
// found list in rank order. The walk runs on the calling thread; in a text search the files
// are read and ranked on a few worker threads, and their outcomes are taken back here in
// walk order, so the found list, the counters and the reports are those of a walk one
// candidate at a time. The port gets a turn between candidates and while this thread
// waits, so the dialog's buttons answer; no worker outlives Run.
class TSearchEngine
{
public:
    explicit TSearchEngine(TSearchPort& port);
    ~TSearchEngine();
    TSearchEngine(const TSearchEngine&) = delete;
    TSearchEngine& operator=(const TSearchEngine&) = delete;

    // A file larger than this is not searched but counted under "Jumped files".
    static constexpr int64_t MaxSearchedSize = 10000000;
    // The least time between two turns given to the port, in seconds.
    static constexpr double PumpPeriod = 0.02;
    // The clock is read at the first candidate and then once per this many: reading it
    // costs more than most candidates.
    static constexpr int32_t CandidatesPerClockRead = 16;
    // The threads that read and rank files in a text search.
    static constexpr int32_t WorkerCount = 4;
    // A file's first read asks for this much; only a file that fills it is measured.
    static constexpr size_t FirstReadBytes = 65536;
    // How far the walk may run ahead of the outcomes taken back, in candidates and in
    // folders kept open for the workers.
    static constexpr size_t MaxQueuedCandidates = 512;
    static constexpr int32_t MaxQueuedFolderRuns = 64;

    // The warnings before a normal or duplicates search ("File name filter is invalid.",
    // "You must search either directories or files."); false when nothing may run.
    static bool CheckFilters(const TSearchOptions& options);

    // Runs one search over the candidates (unused in history mode), after CheckFilters
    // passed. Traced: a failed run (a limit refused with its message, or the reference file
    // of a duplicates search unmeasurable) leaves its failure in FunStatContext and false,
    // for the caller to show as "Failed to search.". The counters and Stop start afresh;
    // the found items are added to Found, which the caller empties first.
    bool Run(const TSearchOptions& options, const std::vector<TSearchCandidate>& candidates);

    // Set by "S&top", "&Cancel", an action that closes the dialog and Cancel on an error
    // report; the walk ends after the current candidate. Workers read it too.
    std::atomic<bool> Stop = false;
    int32_t DirsFound = 0;
    int32_t FilesFound = 0;
    int32_t Errors = 0;
    int32_t JumpedFiles = 0;
    // Measures the time of the status line.
    TCrono ElapsedCrono;
    TFoundItems Found;

    // The seconds clock that paces the turns given to the port; tests move it.
    std::function<double()> Clock;

private:
    class TMatchPort;
    class TWorkerMatchPort;
    class TWorkers;
    class TBuffer;
    struct TScratch;
    struct TSlot;
    // What the walk knows of a file before it looks: whether it has content to read.
    enum class TContent
    {
        Unknown,
        Regular,
        None,
    };
    struct TTimeLimit
    {
        bool Enabled = false;
        // The limit as a date-time: the value itself, or the start of the search less it.
        double Time = 0;
    };
    struct TSizeLimit
    {
        bool Enabled = false;
        int64_t Size = 0;
    };

    void Prepare(const TSearchOptions& options);
    void PrepareNameFilter(const TSearchOptions& options);
    void ReadLimits(const TSearchOptions& options);
    std::unique_ptr<TScratch> MakeScratch(std::unique_ptr<TTextMatchPort> port) const;
    void WalkCandidates(const std::vector<TSearchCandidate>& candidates);
    void WalkHistories();
    void ProcessDir(const std::string& dir);
    // A file entry of a walked folder, which stays open while a worker may open the entry.
    void ProcessEntryFile(const std::string& path, const host::DirectoryEntry& entry,
                          const std::shared_ptr<host::DirectoryReader>& folder);
    // A candidate's place in the walk order: ranked here, or by a worker when it is a file
    // whose parts must be read.
    void ProcessFile(const std::string& path, bool isDir, TContent content);
    bool ReadsFiles() const;
    void ProcessHistoryItem(const std::string& title, bool isDir);
    // Ranks the slot's candidate on the calling thread, the slot's outcome and jump set.
    void MatchSlot(TSlot& slot, TScratch& scratch) const;
    int32_t MatchFile(TTraced& trace, TSlot& slot, TScratch& scratch) const;
    bool PassesName(const std::string& path, bool isDir, std::string& scratch) const;
    // Whether the candidate's times or size must be looked at.
    bool LimitsApply(bool isDir) const;
    int32_t MatchDuplicate(const std::string& path, bool isDir, TContent content) const;
    int32_t MatchFileText(TTraced& trace, TSlot& slot, TScratch& scratch) const;
    int32_t MatchHistoryItem(const std::string& path, TScratch& scratch) const;
    // What a candidate not met in a listing holds, by its attributes.
    static TContent ContentOf(const std::string& path);
    // Opens a file to read; `size` is set when the opening measured it.
    static bool OpenCandidate(const TSlot& slot, host::File& file, std::optional<uint64_t>& size);
    // The buffer's part from the path: its directory part, then its name; gives the
    // directory part's length.
    static size_t AddNameParts(const std::string& path, TScratch& scratch);
    // Whether the file's main content is among the parts searched.
    bool ReadsContent(const std::string& path, std::string& nameScratch) const;
    // The parts of a file that "File parts" chooses, each with a separator after it. False
    // when one cannot be read, the failure recorded in the candidate's trace, or when the
    // file proves too large (the slot's jump set). `size` is the file's, once known.
    bool AddFileParts(TTraced& trace, TSlot& slot, host::File& file, std::optional<uint64_t> measured,
                      int64_t& size, TScratch& scratch) const;
    bool AddContent(TTraced& trace, TSlot& slot, host::File& file, std::optional<uint64_t> measured,
                    int64_t& size, TScratch& scratch) const;
    static bool AddNamedStreams(TTraced& trace, const std::string& path, host::File& file, TScratch& scratch);
    int32_t RankBuffer(const std::string& path, int64_t size, size_t nameOffset, TScratch& scratch) const;
    bool MatchTime(double created, double modified) const;
    bool MatchSize(int64_t size) const;

    // The walk order: outcomes are taken from the front as they are ready.
    std::unique_ptr<TSlot> NewSlot();
    void Enqueue(std::unique_ptr<TSlot> slot, bool forWorker);
    void DeliverReady();
    // Waits for the front slot, giving the port its turns and the status line meanwhile.
    void WaitForFront();
    void DrainQueue();
    // Waits until the queue holds files of fewer than MaxQueuedFolderRuns folder runs.
    void LimitOpenFolders();
    // Ends the workers and drops the outcomes not taken.
    void DiscardQueue();
    void Deliver(TSlot& slot);
    void DeliverCandidate(TSlot& slot);
    void AddFoundItem(const std::string& path, bool isDir, int32_t rank);
    void ReportError(const std::string& message, const TFunStatContext& context);
    // The status line when due and a turn for the port, every CandidatesPerClockRead
    // candidates.
    void AfterCandidate(const std::string& path);
    void ShowStatusWhenDue(const std::string& path);
    bool StatusDue();
    // Gives the port a turn when PumpPeriod has passed since the last.
    void Pump();

    TSearchPort& Port;
    std::unique_ptr<TScratch> Scratch;
    std::unique_ptr<TWorkers> Workers;
    std::deque<std::unique_ptr<TSlot>> Queue;
    std::vector<std::unique_ptr<TSlot>> SpareSlots;
    TSearchMode Mode = TSearchMode::Normal;
    TFileParts FileParts = TFileParts::NameText;
    TStringList TextFilters;
    TTextMatchSettings Matching;
    bool Recursive = true;
    bool FindDirs = true;
    bool FindFiles = true;
    bool Ranked = false;
    bool NoErrors = false;
    // The top-level candidate during which Stop came has been reported done.
    bool StopReported = false;
    std::string NameFilter;
    bool NameFilterIsTextFilter = false;
    std::string TextFilesFilter;
    std::string DuplicateOf;
    std::string DuplicateExtension;
    int64_t DuplicateSize = 0;
    TTimeLimit CreationMin;
    TTimeLimit CreationMax;
    TTimeLimit ModifiedMin;
    TTimeLimit ModifiedMax;
    TSizeLimit SizeMin;
    TSizeLimit SizeMax;
    TCrono StatusCrono;
    double LastPump = 0;
    int32_t CandidatesSinceClock = 0;
    int32_t QueuedFolderRuns = 0;
    const host::DirectoryReader* LastQueuedFolder = nullptr;
    std::string NameScratch;
};
