#include "fileops/SearchEngine.h"
#include "fileops/SearchEngineParts.h"
#include "fileops/NameInput.h"

#include "columns/History.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileStream.h"
#include "core/files/PathNames.h"
#include "core/files/WholeFiles.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"
#include "host/DirectoryReader.h"
#include "host/File.h"
#include "host/FileStreams.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <span>

namespace {

constexpr uint32_t RankMask = 0xFFFF;
constexpr uint32_t DirectoryBit = 0x10000;

// Separates the parts of a search buffer, so no filter matches across two of them: CR LF
// 50 times.
const std::string& PartSeparator()
{
    static const std::string separator = [] {
        std::string text;
        for (int i = 0; i < 50; ++i)
            text += "\r\n";
        return text;
    }();
    return separator;
}
// Duplicates are judged by their first bytes only, for speed.
constexpr int32_t ComparedBytes = 1000;
constexpr const char* DateFormat = "d/m/yy";

double MonotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Takes over any outcome but success, a warning too, as a failure.
bool TakeOverAnyStatus(TTraced& trace)
{
    if (FunStatContext.Status == fsPerfect)
        return false;
    trace.Context = FunStatContext;
    trace.Context.Status = std::max(trace.Context.Status, fsError);
    return true;
}

bool IsInvalidNameFilter(const std::string& text)
{
    return text.empty() || HoldsAnyOf(text, FilterForbidden);
}

// Where the name part of a path begins: after its last "\\" or ":".
size_t NameStart(const std::string& path)
{
    const size_t separator = path.find_last_of("\\:");
    return separator == std::string::npos ? 0 : separator + 1;
}

double TimeUnitInDays(const std::string& unit)
{
    double days = 1;
    const std::pair<const char*, double> units[] = {{"minute", 1.0 / 1440}, {"hour", 1.0 / 24}, {"day", 1}, {"week", 7}};
    for (const auto& [name, value] : units)
        if (unit.find(name) != std::string::npos)
            days = value;
    return days;
}

double SizeUnitInBytes(const std::string& unit)
{
    const std::pair<const char*, double> units[] = {{"KB", 1024.0},
                                                    {"MB", 1048576.0},
                                                    {"GB", 1073741824.0},
                                                    {"TB", 1099511627776.0}};
    for (const auto& [name, value] : units)
        if (unit.find(name) != std::string::npos)
            return value;
    return 1;
}

// ASCII letters only; branch-free, so the compiler can do many bytes at once.
void UpperCaseInPlace(char* text, size_t size)
{
    for (char& c : std::span(text, size)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lower = static_cast<unsigned char>(byte - 'a') < 26;
        c = static_cast<char>(byte - (lower ? 'a' - 'A' : 0));
    }
}

} // namespace

int32_t TFoundItems::GetItemRank(uint32_t data)
{
    return static_cast<int32_t>(data & RankMask);
}

void TFoundItems::SetItemRank(uint32_t& data, int32_t rank)
{
    const auto stored = static_cast<uint32_t>(std::clamp<int32_t>(rank, 0, static_cast<int32_t>(RankMask)));
    data = (data & ~RankMask) | stored;
}

bool TFoundItems::IsItemDirectory(uint32_t data)
{
    return (data & DirectoryBit) != 0;
}

void TFoundItems::SetItemDirectory(uint32_t& data, bool directory)
{
    data = directory ? data | DirectoryBit : data & ~DirectoryBit;
}

int32_t TFoundItems::Add(const std::string& path, bool isDirectory, int32_t rank, bool ranked)
{
    TItem item{path, 0};
    SetItemRank(item.Data, rank);
    SetItemDirectory(item.Data, isDirectory);
    auto place = Items.end();
    if (ranked)
        place = std::upper_bound(Items.begin(), Items.end(), GetItemRank(item.Data),
                                 [](int32_t value, const TItem& other) { return value > GetItemRank(other.Data); });
    return static_cast<int32_t>(Items.insert(place, std::move(item)) - Items.begin());
}

TSearchEngine::TSearchEngine(TSearchPort& port) : Clock(MonotonicSeconds), Port(port)
{
}

TSearchEngine::~TSearchEngine()
{
    // The workers hold slots of the queue.
    Workers.reset();
}

// The matcher's progress, pumping and Stop go through the engine to the dialog, for the
// candidates ranked on the engine's own thread.
class TSearchEngine::TMatchPort : public TTextMatchPort
{
public:
    explicit TMatchPort(TSearchEngine& engine) : Engine(engine) {}
    bool StatusDue() override { return Engine.StatusDue(); }
    void ShowLookingIn(const std::string& path) override { Engine.Port.ShowLookingIn(path); }
    void ShowStatus(int32_t filterIndex, double progress) override { Engine.Port.ShowStatus(filterIndex, progress); }
    void ProcessMessages() override { Engine.Pump(); }
    bool Stopped() const override { return Engine.Stop; }

private:
    TSearchEngine& Engine;
};

char* TSearchEngine::TBuffer::Extend(size_t more)
{
    const size_t needed = Length + more;
    if (needed > Capacity) {
        const size_t capacity = std::max(needed, 2 * Capacity);
        auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
        if (Length > 0)
            std::memcpy(bytes.get(), Bytes.get(), Length);
        Bytes = std::move(bytes);
        Capacity = capacity;
    }
    char* const room = Bytes.get() + Length;
    Length = needed;
    return room;
}

double GetTimeFromText(const std::string& text, const std::string& unit, bool& isAbsolute)
{
    TTraced trace;
    double time = 0;
    trace.Run([&] {
        isAbsolute = HasDateSeparator(text);
        if (!isAbsolute) {
            time = GetIntFromTextOrZero(text) * TimeUnitInDays(unit);
            return;
        }
        time = ConvertTextToDate(text, DateFormat);
        if (trace.TakeOver())
            return;
        if (time == 0)
            trace.Raise("Invalid date.", text);
    });
    return time;
}

int64_t GetSizeFromText(const std::string& text, const std::string& unit)
{
    TTraced trace;
    int64_t size = 0;
    trace.Run([&] { size = static_cast<int64_t>(GetRealFromTextOrZero(text, nullptr) * SizeUnitInBytes(unit)); });
    return size;
}

bool TSearchEngine::CheckFilters(const TSearchOptions& options)
{
    if (options.Mode == TSearchMode::History)
        return true;
    if (IsInvalidNameFilter(options.NameFilterText)) {
        ShowWarningMessage("File name filter is invalid.");
        return false;
    }
    if (!options.FindDirs && !options.FindFiles) {
        ShowWarningMessage("You must search either directories or files.");
        return false;
    }
    return true;
}

bool TSearchEngine::Run(const TSearchOptions& options, const std::vector<TSearchCandidate>& candidates)
{
    TTraced trace;
    Stop = false;
    StopReported = false;
    DirsFound = FilesFound = Errors = JumpedFiles = 0;
    // The first candidate reads the clock, so even a short search gives the port a turn.
    CandidatesSinceClock = CandidatesPerClockRead - 1;
    ElapsedCrono.Restart();
    StatusCrono.Restart();
    if (!Clock)
        Clock = MonotonicSeconds;
    LastPump = Clock();
    trace.Run([&] {
        Prepare(options);
        if (Mode == TSearchMode::Duplicates) {
            DuplicateSize = GetFileSize(DuplicateOf);
            if (TakeOverAnyStatus(trace))
                return;
        }
        ReadLimits(options);
        if (trace.TakeOver())
            return;
        NoErrors = false;
        if (Mode == TSearchMode::History)
            WalkHistories();
        else
            WalkCandidates(candidates);
    });
    // After a stop, or a failure amid the walk, the outcomes not taken are dropped.
    DiscardQueue();
    return trace.Succeeded();
}

void TSearchEngine::Prepare(const TSearchOptions& options)
{
    Mode = options.Mode;
    FileParts = options.FileParts;
    FindDirs = options.FindDirs;
    FindFiles = options.FindFiles;
    Recursive = options.Recursive;
    Ranked = options.TextFilters.Count() > 0;
    TextFilters = options.TextFilters;
    Matching = options.Matching;
    DuplicateOf = Mode == TSearchMode::Duplicates ? options.DuplicateOf : std::string();
    DuplicateExtension = GetExtension(GetPathName(DuplicateOf));
    TextFilesFilter = GetTextExtensionsAsFilter();
    PrepareNameFilter(options);
    Scratch = MakeScratch(std::make_unique<TMatchPort>(*this));
}

std::unique_ptr<TSearchEngine::TScratch> TSearchEngine::MakeScratch(std::unique_ptr<TTextMatchPort> port) const
{
    auto scratch = std::make_unique<TScratch>();
    scratch->Port = std::move(port);
    scratch->Matcher = std::make_unique<TTextMatcher>(TextFilters, Matching, *scratch->Port);
    return scratch;
}
void TSearchEngine::PrepareNameFilter(const TSearchOptions& options)
{
    bool predefined = false;
    NameFilter = GetFilterFromText(options.NameFilterText, &predefined);
    if (options.SearchSimilar && NameFilter != "*" && !predefined) {
        if (!NameFilter.starts_with('*'))
            NameFilter.insert(0, 1, '*');
        if (!NameFilter.ends_with('*'))
            NameFilter += '*';
    }
    NameFilterIsTextFilter = NameFilter == TextFilesFilter;
}

void TSearchEngine::ReadLimits(const TSearchOptions& options)
{
    TTraced trace;
    trace.Run([&] {
        struct TTimeRead
        {
            const TSearchLimit& Box;
            TTimeLimit& Limit;
            double Value = 0;
            bool IsAbsolute = false;
        };
        std::array<TTimeRead, 4> times{{{options.CreationMin, CreationMin},
                                        {options.CreationMax, CreationMax},
                                        {options.ModifiedMin, ModifiedMin},
                                        {options.ModifiedMax, ModifiedMax}}};
        bool anyAbsolute = false;
        bool anyRelative = false;
        for (TTimeRead& time : times) {
            time.Limit.Enabled = time.Box.Enabled;
            if (!time.Box.Enabled)
                continue;
            time.Value = GetTimeFromText(time.Box.Text, options.TimeUnit, time.IsAbsolute);
            if (trace.TakeOver())
                return;
            (time.IsAbsolute ? anyAbsolute : anyRelative) = true;
        }
        if (anyAbsolute && anyRelative)
            return trace.Raise("All time limits must be either absolute or relative.");
        const double relativeNow = anyRelative ? Now() : 0;
        for (TTimeRead& time : times)
            time.Limit.Time = relativeNow == 0 ? time.Value : relativeNow - time.Value;
        for (auto [box, limit] : {std::pair{&options.SizeMin, &SizeMin}, std::pair{&options.SizeMax, &SizeMax}}) {
            limit->Enabled = box->Enabled;
            if (!box->Enabled)
                continue;
            limit->Size = GetSizeFromText(box->Text, options.SizeUnit);
            if (trace.TakeOver())
                return;
        }
        if (CreationMin.Enabled && CreationMax.Enabled && CreationMin.Time > CreationMax.Time)
            return trace.Raise("\"Creation minimum\" is bigger than \"Creation maximum\".");
        if (ModifiedMin.Enabled && ModifiedMax.Enabled && ModifiedMin.Time > ModifiedMax.Time)
            return trace.Raise("\"Modified minimum\" is bigger than \"Modified maximum\".");
        if (SizeMin.Enabled && SizeMax.Enabled && SizeMin.Size > SizeMax.Size)
            return trace.Raise("\"Size from\" is bigger than \"Size up to\".");
    });
}

void TSearchEngine::WalkCandidates(const std::vector<TSearchCandidate>& candidates)
{
    for (size_t i = 0; i < candidates.size() && !Stop; ++i) {
        const TSearchCandidate& candidate = candidates[i];
        if (candidate.IsDirectory) {
            if (FindDirs)
                ProcessFile(candidate.Title, true, TContent::None);
            if (Recursive)
                ProcessDir(candidate.Title);
        } else if (FindFiles) {
            ProcessFile(candidate.Title, false, TContent::Unknown);
        }
        std::unique_ptr<TSlot> done = NewSlot();
        done->Kind = TSlot::TKind::TopLevelDone;
        done->TopLevelIndex = static_cast<int32_t>(i);
        Enqueue(std::move(done), false);
    }
    DrainQueue();
}

void TSearchEngine::WalkHistories()
{
    for (int32_t i = PathsHistory.Count - 1; i >= 0; --i)
        ProcessHistoryItem(PathsHistory.Titles[static_cast<size_t>(i)], true);
    for (int32_t i = FilesHistory.Count - 1; i >= 0; --i)
        ProcessHistoryItem(FilesHistory.Titles[static_cast<size_t>(i)], false);
}

void TSearchEngine::ProcessDir(const std::string& dir)
{
    LimitOpenFolders();
    if (Stop)
        return;
    TTraced trace;
    trace.Run([&] {
        // Shared with the workers that open its entries after the walk has moved on.
        auto reader = std::make_shared<host::DirectoryReader>();
        if (!reader->Open(dir))
            return trace.Raise("Failed to find first file.", dir, "", host::GetLastError());
        std::string path = IncludeEndBackslash(dir);
        const size_t folderLength = path.size();
        host::DirectoryEntry entry;
        while (!Stop) {
            if (!reader->Next(entry)) {
                if (host::GetLastError() != host::ERROR_NO_MORE_FILES)
                    trace.Raise("Failed to look in directory.", dir, "", host::GetLastError());
                return;
            }
            path.resize(folderLength);
            path += entry.Name;
            if (entry.IsDirectory) {
                if (FindDirs)
                    ProcessFile(path, true, TContent::None);
                // A link to a folder could lead back above itself: it is found, never entered.
                if (Recursive && !entry.IsLink)
                    ProcessDir(path);
            } else if (FindFiles) {
                ProcessEntryFile(path, entry, reader);
            }
        }
    });
    if (trace.Succeeded())
        return;
    std::unique_ptr<TSlot> failure = NewSlot();
    failure->Kind = TSlot::TKind::FolderFailure;
    failure->Outcome = trace.Context;
    Enqueue(std::move(failure), false);
}

void TSearchEngine::ProcessEntryFile(const std::string& path, const host::DirectoryEntry& entry,
                                     const std::shared_ptr<host::DirectoryReader>& folder)
{
    // Most files of a names search fail the name test, and nothing of that test can fail:
    // such a file is passed over without a trace of its own.
    if (Mode == TSearchMode::Normal && !PassesName(path, false, NameScratch)) {
        std::unique_ptr<TSlot> skipped = NewSlot();
        skipped->Path = path;
        Enqueue(std::move(skipped), false);
        return;
    }
    const TContent content = entry.IsRegular ? TContent::Regular : TContent::None;
    if (!ReadsFiles() || content != TContent::Regular) {
        ProcessFile(path, false, content);
        return;
    }
    std::unique_ptr<TSlot> slot = NewSlot();
    slot->Path = path;
    slot->Content = content;
    slot->Folder = folder;
    slot->HostName = folder->EntryHostName();
    slot->IsLink = entry.IsLink;
    Enqueue(std::move(slot), true);
}

void TSearchEngine::ProcessFile(const std::string& path, bool isDir, TContent content)
{
    if (Stop)
        return;
    std::unique_ptr<TSlot> slot = NewSlot();
    slot->Path = path;
    slot->IsDir = isDir;
    slot->Content = content;
    const bool forWorker = !isDir && ReadsFiles() && content != TContent::None;
    if (!forWorker)
        MatchSlot(*slot, *Scratch);
    Enqueue(std::move(slot), forWorker);
}

// The files whose parts a worker reads: those of a text search that looks beyond names.
bool TSearchEngine::ReadsFiles() const
{
    return Mode == TSearchMode::Normal && Ranked && FileParts != TFileParts::Name;
}

void TSearchEngine::ProcessHistoryItem(const std::string& title, bool isDir)
{
    TTraced trace;
    trace.Run([&] {
        const std::string candidate = isDir ? ExcludeEndBackslash(GetParentPath(title)) : title;
        const int32_t rank = MatchHistoryItem(candidate, *Scratch);
        if (trace.TakeOver() || rank <= 0)
            return;
        ++(isDir ? DirsFound : FilesFound);
        AddFoundItem(candidate, isDir, rank);
        trace.TakeOver();
    });
    if (!trace.Succeeded())
        ReportError("Failed to process file.", trace.Context);
}

// One traced object a candidate: the steps below record into it.
void TSearchEngine::MatchSlot(TSlot& slot, TScratch& scratch) const
{
    TTraced trace;
    trace.Run([&] { slot.Rank = MatchFile(trace, slot, scratch); });
    if (!trace.Succeeded())
        slot.Outcome = trace.Context;
}

int32_t TSearchEngine::MatchFile(TTraced& trace, TSlot& slot, TScratch& scratch) const
{
    if (Mode == TSearchMode::Duplicates) {
        const int32_t rank = MatchDuplicate(slot.Path, slot.IsDir, slot.Content);
        trace.TakeOver();
        return rank;
    }
    if (!PassesName(slot.Path, slot.IsDir, scratch.NameScratch))
        return -1;
    if (LimitsApply(slot.IsDir)) {
        TFileInfo info;
        info.Load(slot.Path);
        if (trace.TakeOver() || !MatchTime(info.Created, info.Modified) || (!slot.IsDir && !MatchSize(info.Size)))
            return -1;
    }
    return MatchFileText(trace, slot, scratch);
}

bool TSearchEngine::PassesName(const std::string& path, bool isDir, std::string& scratch) const
{
    if (NameFilter == "*" || (isDir && Ranked))
        return true;
    scratch.assign(path, NameStart(path));
    return MatchesFileSpec(scratch, NameFilter);
}

bool TSearchEngine::LimitsApply(bool isDir) const
{
    return CreationMin.Enabled || CreationMax.Enabled || ModifiedMin.Enabled || ModifiedMax.Enabled ||
           (!isDir && (SizeMin.Enabled || SizeMax.Enabled));
}

bool TSearchEngine::MatchTime(double created, double modified) const
{
    return (!CreationMin.Enabled || created >= CreationMin.Time) &&
           (!CreationMax.Enabled || created <= CreationMax.Time) &&
           (!ModifiedMin.Enabled || modified >= ModifiedMin.Time) &&
           (!ModifiedMax.Enabled || modified <= ModifiedMax.Time);
}

bool TSearchEngine::MatchSize(int64_t size) const
{
    return (!SizeMin.Enabled || size >= SizeMin.Size) && (!SizeMax.Enabled || size <= SizeMax.Size);
}

int32_t TSearchEngine::MatchDuplicate(const std::string& path, bool isDir, TContent content) const
{
    TTraced trace;
    int32_t rank = 0;
    trace.Run([&] {
        // The extension is told by the name alone, so most files are passed over unopened.
        if (isDir || content == TContent::None || !SameTextAscii(GetExtension(GetPathName(path)), DuplicateExtension))
            return;
        const int64_t size = GetFileSize(path);
        if (TakeOverAnyStatus(trace) || size != DuplicateSize || IsSameFile(path, DuplicateOf))
            return;
        const bool same = SameContentOfFiles(path, DuplicateOf);
        if (!trace.TakeOver() && same)
            rank = 1;
    });
    return rank;
}
bool SameContentOfFiles(const std::string& a, const std::string& b)
{
    TTraced trace;
    bool same = false;
    trace.Run([&] {
        std::array<uint8_t, ComparedBytes> first{};
        std::array<uint8_t, ComparedBytes> second{};
        LoadFileToBuffer(a, first.data(), ComparedBytes, true);
        if (trace.TakeOver())
            return;
        LoadFileToBuffer(b, second.data(), ComparedBytes, true);
        if (trace.TakeOver())
            return;
        same = first == second;
    });
    return same;
}

int32_t TSearchEngine::MatchFileText(TTraced& trace, TSlot& slot, TScratch& scratch) const
{
    if (!Ranked)
        return 1;
    int64_t size = 0;
    host::File file;
    std::optional<uint64_t> measured;
    TContent content = slot.Content;
    if (!slot.IsDir) {
        if (content == TContent::Unknown)
            content = ContentOf(slot.Path);
        // Only a file whose content is read may wait with its measuring for the first read.
        if (content == TContent::Regular &&
            (!OpenCandidate(slot, file, measured) ||
             (!measured && !ReadsContent(slot.Path, scratch.NameScratch) && !(measured = file.MeasureRegular())))) {
            trace.RaiseSystem("Failed to access file.", slot.Path);
            return 0;
        }
        if (measured && *measured > static_cast<uint64_t>(MaxSearchedSize)) {
            slot.Jumped = true;
            return 0;
        }
        size = measured ? static_cast<int64_t>(*measured) : 0;
    }
    scratch.Buffer.Clear();
    size_t nameOffset = 0;
    if (FileParts != TFileParts::Description && FileParts != TFileParts::Content)
        nameOffset = AddNameParts(slot.Path, scratch);
    if (!slot.IsDir && content == TContent::Regular && !AddFileParts(trace, slot, file, measured, size, scratch))
        return 0;
    const int32_t rank = RankBuffer(slot.Path, size, nameOffset, scratch);
    trace.TakeOver();
    return rank;
}

bool TSearchEngine::OpenCandidate(const TSlot& slot, host::File& file, std::optional<uint64_t>& size)
{
    if (slot.Folder != nullptr)
        return slot.Folder->OpenListedEntry(file, slot.HostName.c_str(), slot.IsLink, size);
    size = file.OpenToRead(slot.Path);
    return size.has_value();
}

int32_t TSearchEngine::MatchHistoryItem(const std::string& path, TScratch& scratch) const
{
    TTraced trace;
    int32_t rank = 0;
    trace.Run([&] {
        if (!Ranked) {
            rank = 1;
            return;
        }
        scratch.Buffer.Clear();
        const size_t nameOffset = AddNameParts(path, scratch);
        rank = RankBuffer(path, 0, nameOffset, scratch);
        trace.TakeOver();
    });
    return rank;
}

TSearchEngine::TContent TSearchEngine::ContentOf(const std::string& path)
{
    // Devices, pipes and sockets have nothing to read. A file that cannot be looked at is
    // tried as a regular one, so that its failure is reported.
    const uint32_t attributes = host::GetFileAttributes(path);
    const bool device = attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_SYSTEM) != 0;
    return device ? TContent::None : TContent::Regular;
}

size_t TSearchEngine::AddNameParts(const std::string& path, TScratch& scratch)
{
    const size_t nameOffset = NameStart(path);
    scratch.Buffer.Append(path);
    scratch.Buffer.Append(PartSeparator());
    return nameOffset;
}

bool TSearchEngine::ReadsContent(const std::string& path, std::string& nameScratch) const
{
    if (FileParts == TFileParts::Content || FileParts == TFileParts::NameContent)
        return true;
    if (FileParts != TFileParts::NameText)
        return false;
    nameScratch.assign(path, NameStart(path));
    return NameFilterIsTextFilter || MatchesFileSpec(nameScratch, TextFilesFilter);
}

bool TSearchEngine::AddFileParts(TTraced& trace, TSlot& slot, host::File& file, std::optional<uint64_t> measured,
                                 int64_t& size, TScratch& scratch) const
{
    if (FileParts == TFileParts::Name)
        return true;
    if (FileParts == TFileParts::Description) {
        const std::string description = GetFileDescription(slot.Path, 0);
        // A file without a description is searched as one with an empty description.
        const bool missing = FunStatContext.SystemErrorCode == host::ERROR_FILE_NOT_FOUND;
        if (!missing && trace.TakeOver())
            return false;
        scratch.Buffer.Append(description);
        scratch.Buffer.Append(PartSeparator());
        return true;
    }
    return (!ReadsContent(slot.Path, scratch.NameScratch) || AddContent(trace, slot, file, measured, size, scratch)) &&
           AddNamedStreams(trace, slot.Path, file, scratch);
}

// An unmeasured file is read in one piece when it fits FirstReadBytes, and measured only
// when it fills that piece; never beyond the measured size: a file that grows meanwhile is
// read as measured.
bool TSearchEngine::AddContent(TTraced& trace, TSlot& slot, host::File& file, std::optional<uint64_t> measured,
                               int64_t& size, TScratch& scratch) const
{
    TBuffer& buffer = scratch.Buffer;
    const size_t start = buffer.Size();
    size_t got = 0;
    if (!measured) {
        const std::optional<size_t> read = file.Read(buffer.Extend(FirstReadBytes), FirstReadBytes);
        if (!read) {
            trace.RaiseSystem("Failed to read data.", slot.Path);
            return false;
        }
        got = *read;
        if (got < FirstReadBytes) {
            buffer.Shrink(start + got);
            size = static_cast<int64_t>(got);
            buffer.Append(PartSeparator());
            return true;
        }
        measured = file.MeasureRegular();
        if (!measured) {
            trace.RaiseSystem("Failed to access file.", slot.Path);
            return false;
        }
        if (*measured > static_cast<uint64_t>(MaxSearchedSize)) {
            slot.Jumped = true;
            return false;
        }
    }
    const auto total = static_cast<size_t>(*measured);
    size = static_cast<int64_t>(total);
    buffer.Shrink(start + std::min(got, total));
    if (got < total)
        buffer.Extend(total - got);
    while (got < total) {
        const std::optional<size_t> read = file.Read(buffer.Data() + start + got, total - got);
        if (!read) {
            trace.RaiseSystem("Failed to read data.", slot.Path);
            return false;
        }
        if (*read == 0)
            break;
        got += *read;
    }
    buffer.Shrink(start + std::min(got, total));
    buffer.Append(PartSeparator());
    return true;
}

bool TSearchEngine::AddNamedStreams(TTraced& trace, const std::string& path, host::File& file, TScratch& scratch)
{
    if (!host::ListFileStreams(file.NativeHandle(), scratch.StreamNames)) {
        trace.RaiseSystem("Failed to get file information.", path);
        return false;
    }
    for (const std::string& name : scratch.StreamNames) {
        scratch.Buffer.Append(ReadFileStream(path, name, 0));
        if (trace.TakeOver())
            return false;
        scratch.Buffer.Append(PartSeparator());
    }
    return true;
}

int32_t TSearchEngine::RankBuffer(const std::string& path, int64_t size, size_t nameOffset, TScratch& scratch) const
{
    TBuffer& buffer = scratch.Buffer;
    *buffer.Extend(1) = '\0';
    UpperCaseInPlace(buffer.Data(), buffer.Size());
    int32_t rank = 0;
    int32_t nearValue = 0;
    scratch.Matcher->MatchTextInBuffer(buffer.Data(), buffer.Data() + buffer.Size() - 1, size, path, rank, nearValue,
                                       nameOffset);
    return rank >= 1 ? rank + nearValue : 0;
}

void TSearchEngine::AddFoundItem(const std::string& path, bool isDir, int32_t rank)
{
    TTraced trace;
    trace.Run([&] { Port.ItemFound(Found.Add(path, isDir, rank, Ranked)); });
}

void TSearchEngine::ReportError(const std::string& message, const TFunStatContext& context)
{
    ++Errors;
    if (NoErrors)
        return;
    TFunStatContext shown = context;
    bool noMoreErrors = false;
    if (!Port.ShowError(message, shown, noMoreErrors))
        Stop = true;
    else if (noMoreErrors)
        NoErrors = true;
}

bool TSearchEngine::StatusDue()
{
    if (StatusCrono.RunningElapsed() < 1)
        return false;
    StatusCrono.Restart();
    return true;
}

void TSearchEngine::ShowStatusWhenDue(const std::string& path)
{
    if (!StatusDue())
        return;
    Port.ShowLookingIn(path);
    Port.ShowStatus(0, -1);
}

void TSearchEngine::Pump()
{
    const double now = Clock();
    if (now - LastPump < PumpPeriod)
        return;
    LastPump = now;
    Port.ProcessMessages();
}
