#include "tools/CommonTextEngine.h"

#include "core/desktop/Program.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"
#include "core/text/StringList.h"
#include "core/text/Text.h"
#include "core/text/TextExcerpt.h"

#include "host/Clock.h"
#include "host/File.h"
#include "host/LastError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <span>
#include <thread>

namespace {

constexpr uint32_t PumpPeriodMs = 20;
constexpr size_t MaxParseThreads = 4;
constexpr uint32_t InformationPeriodMs = 1000;
const std::string Equals(50, '=');
const std::string Dashes(50, '-');

bool HasHighByte(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Lines end with LF, CR LF or CR; a line that is not UTF-8 reads as Windows-1252.
std::vector<std::string> SplitDocumentLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string_view line(bytes.data() + start, end - start);
        lines.push_back(HasHighByte(line) ? DecodeText(line).toStdString() : std::string(line));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::string JoinWords(const std::vector<std::string>& words)
{
    std::string filter;
    for (const std::string& word : words) {
        if (!filter.empty())
            filter += "; ";
        filter += word;
    }
    return filter;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

TCommonTextEngine::TCommonTextEngine(TCommonTextPort& port) : PhysicalMemory(GetTotalPhysicalMemory), Port(port)
{
}

bool TCommonTextEngine::CheckOptions()
{
    if (Options.UseDelimiter && Options.Delimiter.empty()) {
        ShowErrorMessage("Empty delimiter.");
        return false;
    }
    return true;
}

bool TCommonTextEngine::Begin()
{
    TTraced trace;
    try {
        Stopped = false;
        MatchCount = 0;
        ErrorCount = 0;
        Documents.clear();
        SourceMatches.clear();
        Report.clear();
        const bool sameSign = (Options.BeginIndex < 0) == (Options.EndIndex < 0);
        if (Options.UseDelimiter && sameSign && Options.BeginIndex >= Options.EndIndex) {
            trace.Raise(R"(The "End extraction" value must be higher than the "Start extraction" value.)");
            return false;
        }
        if (!Options.UseDelimiter && sameSign && Options.EndIndex < Options.BeginIndex) {
            trace.Raise(R"(The "End extraction" value must be at least the "Start extraction" value.)");
            return false;
        }
        if (Options.NumbersMode < 0 || Options.NumbersMode > 2) {
            trace.Panic(R"(Invalid "Numbers" value.)");
            return false;
        }
        RunStartTick = LastPumpTick = LastInformationTick = host::GetTickCount();
        Port.SetReportText("Checking resources availability...");
        return true;
    }
    TRACED_CATCH(trace)
    return false;
}

void TCommonTextEngine::Find(const std::string& activeDocument, const std::vector<std::string>& documents)
{
    TTraced trace;
    trace.Run([&] {
        const bool begun = Begin();
        if (trace.TakeOver() || !begun)
            return;
        Run(activeDocument, documents);
        trace.TakeOver();
    });
}

void TCommonTextEngine::Run(const std::string& activeDocument, const std::vector<std::string>& documents)
{
    TTraced trace;
    try {
        const bool resourcesSuffice = CheckResources(documents);
        if (trace.TakeOver() || !resourcesSuffice)
            return;
        Port.SetReportText("Parsing files and filters...");
        ParseDocuments(documents);
        if (trace.TakeOver())
            return;
        Port.SetReportText("Looking for common text...");
        CompareDocuments(activeDocument);
        if (Stopped)
            return;
        Port.SetReportText("Sorting found text...");
        SortMatches();
        if (Stopped)
            return;
        Port.SetReportText("Generating report...");
        BuildReport(activeDocument);
    }
    TRACED_CATCH(trace)
    WordIds.clear();
    WordPlaceStart.clear();
    WordPlaceList.clear();
    ParagraphWordStart.clear();
    ParagraphWords.clear();
    ParagraphDocument.clear();
    Documents.clear();
    Port.ShowInformation(InformationLine(""));
}

bool TCommonTextEngine::CheckResources(const std::vector<std::string>& documents)
{
    TTraced trace;
    uint64_t total = 0;
    for (const std::string& document : documents) {
        const int64_t size = GetFileSize(document);
        if (FunStatContext.Status != fsPerfect) {
            trace.Raise("Failed to get file size.", document, {}, FunStatContext.SystemErrorCode);
            return false;
        }
        total += static_cast<uint64_t>(size);
    }
    if (total > PhysicalMemory() / 2) {
        ShowErrorMessage("The size of the files to use is too big.");
        return false;
    }
    return true;
}

// The documents are read and split into words on a few worker threads, each parsing
// whole documents into its own records; meanwhile this thread gives the port its turns,
// so "Sto&p" is heard. The first failure in document order is the run's.
void TCommonTextEngine::ParseDocuments(const std::vector<std::string>& documents)
{
    TTraced trace;
    try {
        if (documents.empty())
            return;
        Documents.assign(documents.size(), {});
        std::vector<TFunStatContext> outcomes(documents.size());
        std::atomic<size_t> next = 0;
        std::atomic<bool> abandoned = false;
        size_t finished = 0;
        std::mutex mutex;
        std::condition_variable parsed;
        const auto work = [&] {
            for (size_t i = next++; i < documents.size() && !abandoned; i = next++) {
                Documents[i].Path = documents[i];
                ParseFile(documents[i], Documents[i]);
                outcomes[i] = FunStatContext;
                const std::lock_guard lock(mutex);
                ++finished;
                parsed.notify_one();
            }
        };
        const size_t threadCount = std::clamp<size_t>(std::thread::hardware_concurrency(), 1,
                                                      std::min<size_t>(MaxParseThreads, documents.size()));
        std::vector<std::jthread> workers;
        for (size_t i = 0; i < threadCount; ++i)
            workers.emplace_back(work);
        std::unique_lock lock(mutex);
        while (finished < documents.size() && !Stopped) {
            parsed.wait_for(lock, std::chrono::milliseconds(PumpPeriodMs));
            lock.unlock();
            PumpWhenDue();
            lock.lock();
        }
        abandoned = Stopped;
        lock.unlock();
        workers.clear();
        if (Stopped)
            return;
        for (const TFunStatContext& outcome : outcomes)
            if (outcome.Status > fsWarning) {
                FunStatContext = outcome;
                trace.TakeOver();
                return;
            }
    }
    TRACED_CATCH(trace)
}

void TCommonTextEngine::ParseFile(const std::string& path, TDocument& document)
{
    TTraced trace;
    try {
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<std::string> bytes = host::ReadFileContents(path);
        if (!bytes)
            return trace.RaiseSystem("Failed to load file.", path);
        for (const std::string& line : SplitDocumentLines(*bytes)) {
            TParagraph paragraph;
            const bool hasWords = ParsePara(line, paragraph);
            if (trace.TakeOver())
                return;
            if (hasWords)
                document.Paragraphs.push_back(std::move(paragraph));
        }
    }
    TRACED_CATCH(trace)
}

bool TCommonTextEngine::ParsePara(const std::string& text, TParagraph& paragraph)
{
    TStringList words;
    GetWordListFromText(text, words, Options.NumbersMode, Options.BeginIndex, Options.EndIndex, Options.UseDelimiter,
                        Options.Delimiter);
    paragraph.Words.clear();
    for (int32_t i = 0; i < words.Count(); ++i)
        paragraph.Words.push_back(words[i]);
    paragraph.Filter = JoinWords(paragraph.Words);
    return !paragraph.Words.empty();
}

int32_t TCommonTextEngine::MatchText(const std::string& x, const std::string& y) const
{
    const auto n = static_cast<int32_t>(x.size());
    const auto m = static_cast<int32_t>(y.size());
    const int32_t tolerance = Options.Misspelling;
    int32_t differences = 0;
    if (n == m) {
        if (tolerance <= 0)
            return x == y ? 200 : 0;
        if (!MatchBlockWithMisspellings(x.data(), n, y.data(), tolerance, &differences))
            return 0;
        return 200 - 5 * differences;
    }
    if (Options.WholeMatch == 0 || n > m || n == 0)
        return 0;
    const char* found = FindBlockInBuffer(x.data(), n, y.data(), y.data() + m - 1, tolerance, &differences);
    if (found == nullptr)
        return 0;
    const auto position = static_cast<int32_t>(found - y.data());
    int32_t score = 0;
    if (position == 0)
        score = 150;
    else if (position + n == m)
        score = Options.WholeMatch >= 2 ? 100 : 0;
    else
        score = Options.WholeMatch == 3 ? 50 : 0;
    if (tolerance <= 0)
        differences = 0;
    return score > 0 ? score - 5 * differences : 0;
}

int32_t TCommonTextEngine::MinimumFor(size_t sourceWordCount) const
{
    if (Options.MinimumMatches >= 1)
        return Options.MinimumMatches;
    return static_cast<int32_t>(sourceWordCount) + Options.MinimumMatches;
}

int32_t TCommonTextEngine::FindTextA(const std::vector<std::string>& sourceWords, const std::string& againstPath,
                                     TMatchSourceInfo& record, const std::string& againstFilter,
                                     const std::vector<std::string>& againstWords)
{
    int32_t pairs = 0;
    int32_t rank = 0;
    std::string matched;
    for (const std::string& s : sourceWords)
        for (const std::string& g : againstWords) {
            const int32_t forward = MatchText(s, g);
            const int32_t backward = MatchText(g, s);
            const int32_t best = std::max(forward, backward);
            if (best <= 0)
                continue;
            ++pairs;
            rank += best;
            if (s == g)
                matched += s + "; ";
            else if (forward < backward)
                matched += s + " <- " + g + "; ";
            else
                matched += s + " -> " + g + "; ";
        }
    if (rank < 1 || pairs < MinimumFor(sourceWords.size()))
        return 0;
    matched.resize(matched.size() - 2);
    record.Matches.push_back({againstPath, againstFilter, matched, rank});
    return rank;
}

bool TCommonTextEngine::UsesWordIndex() const
{
    return WordIndexAllowed && Options.WholeMatch == 0 && Options.Misspelling <= 0;
}

void TCommonTextEngine::CompareDocuments(const std::string& activeDocument)
{
    const auto active = static_cast<size_t>(
        std::find_if(Documents.begin(), Documents.end(),
                     [&](const TDocument& document) { return SameTextAscii(document.Path, activeDocument); }) -
        Documents.begin());
    if (active == Documents.size())
        return;
    if (UsesWordIndex())
        BuildWordIndex(active);
    const std::vector<TParagraph>& sources = Documents[active].Paragraphs;
    for (size_t i = 0; i < sources.size(); ++i) {
        TMatchSourceInfo record{sources[i].Filter, {}, 0};
        int32_t total = 0;
        const auto sourceIndex = static_cast<int32_t>(i);
        if (UsesWordIndex())
            CompareIndexedPairs(active, sources[i], sourceIndex, record, total);
        else
            CompareEveryPair(active, sources[i], sourceIndex, record, total);
        if (Stopped)
            return;
        if (total < 1)
            continue;
        record.Rank = total;
        SourceMatches.push_back(std::move(record));
        ++MatchCount;
    }
}

void TCommonTextEngine::CompareEveryPair(size_t active, const TParagraph& source, int32_t sourceIndex,
                                         TMatchSourceInfo& record, int32_t& total)
{
    for (size_t d = 0; d < Documents.size(); ++d) {
        const TDocument& document = Documents[d];
        if (d == active || SameTextAscii(document.Path, Documents[active].Path))
            continue;
        for (size_t j = 0; j < document.Paragraphs.size(); ++j) {
            const TParagraph& against = document.Paragraphs[j];
            total += FindTextA(source.Words, document.Path, record, against.Filter, against.Words);
            AfterComparison(sourceIndex, d, static_cast<int32_t>(j));
            if (Stopped)
                return;
        }
    }
}

// Without tolerance a word scores in "Word" only against an equal word, so a pair of
// paragraphs counts only when it shares words, and the pairs it counts are the shared
// words. A paragraph that shares m of the source's k words shares one of any k - m + 1
// of them, so its candidates come through that many of the rarest; those sharing fewer
// words than needed are passed over without a comparison. The rest are compared in
// document order, as every pair would be.
void TCommonTextEngine::CompareIndexedPairs(size_t active, const TParagraph& source, int32_t sourceIndex,
                                            TMatchSourceInfo& record, int32_t& total)
{
    if (WordIds.empty())
        return;
    AfterComparison(sourceIndex, active, 0);
    if (Stopped)
        return;
    const size_t k = source.Words.size();
    const int32_t needed = std::max(MinimumFor(k), 1);
    if (static_cast<size_t>(needed) > k)
        return;
    std::vector<uint32_t> sourceIds;
    std::vector<std::span<const uint32_t>> lists;
    for (const std::string& word : source.Words) {
        const auto found = WordIds.find(word);
        if (found == WordIds.end()) {
            lists.emplace_back();
            continue;
        }
        const uint32_t id = found->second;
        sourceIds.push_back(id);
        lists.emplace_back(WordPlaceList.data() + WordPlaceStart[id], WordPlaceStart[id + 1] - WordPlaceStart[id]);
    }
    if (sourceIds.size() < static_cast<size_t>(needed))
        return;
    std::sort(lists.begin(), lists.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
    lists.resize(k - static_cast<size_t>(needed) + 1);
    std::vector<uint32_t> candidates;
    for (const auto& places : lists)
        for (const uint32_t paragraph : places)
            if (SharesEnoughWords(paragraph, sourceIds, needed))
                candidates.push_back(paragraph);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (const uint32_t paragraph : candidates) {
        const uint32_t d = ParagraphDocument[paragraph];
        const uint32_t j = paragraph - DocumentFirstParagraph[d];
        const TDocument& document = Documents[d];
        const TParagraph& against = document.Paragraphs[j];
        total += FindTextA(source.Words, document.Path, record, against.Filter, against.Words);
        AfterComparison(sourceIndex, d, static_cast<int32_t>(j));
        if (Stopped)
            return;
    }
}

// Counts the paragraph's words found among the source's, giving up once too many are
// missing.
bool TCommonTextEngine::SharesEnoughWords(uint32_t paragraph, const std::vector<uint32_t>& sourceIds,
                                          int32_t needed) const
{
    const uint32_t first = ParagraphWordStart[paragraph];
    const uint32_t last = ParagraphWordStart[paragraph + 1];
    int32_t missing = static_cast<int32_t>(last - first) - needed;
    for (uint32_t i = first; i < last; ++i)
        if (std::find(sourceIds.begin(), sourceIds.end(), ParagraphWords[i]) == sourceIds.end() && --missing < 0)
            return false;
    return missing >= 0;
}

void TCommonTextEngine::BuildWordIndex(size_t active)
{
    WordIds.clear();
    ParagraphWordStart.assign(1, 0);
    ParagraphWords.clear();
    ParagraphDocument.clear();
    DocumentFirstParagraph.assign(Documents.size(), 0);
    size_t paragraphs = 0;
    for (const TDocument& document : Documents)
        paragraphs += document.Paragraphs.size();
    WordIds.reserve(paragraphs);
    ParagraphDocument.reserve(paragraphs);
    ParagraphWordStart.reserve(paragraphs + 1);
    for (size_t d = 0; d < Documents.size(); ++d) {
        DocumentFirstParagraph[d] = static_cast<uint32_t>(ParagraphDocument.size());
        if (d == active || SameTextAscii(Documents[d].Path, Documents[active].Path))
            continue;
        for (const TParagraph& paragraph : Documents[d].Paragraphs) {
            for (const std::string& word : paragraph.Words)
                ParagraphWords.push_back(
                    WordIds.try_emplace(word, static_cast<uint32_t>(WordIds.size())).first->second);
            ParagraphDocument.push_back(static_cast<uint32_t>(d));
            ParagraphWordStart.push_back(static_cast<uint32_t>(ParagraphWords.size()));
        }
    }
    // Each word's paragraphs, counted first and then laid out one word after another.
    WordPlaceStart.assign(WordIds.size() + 1, 0);
    for (const uint32_t id : ParagraphWords)
        ++WordPlaceStart[id + 1];
    for (size_t id = 0; id < WordIds.size(); ++id)
        WordPlaceStart[id + 1] += WordPlaceStart[id];
    WordPlaceList.resize(ParagraphWords.size());
    std::vector<uint32_t> filled(WordPlaceStart.begin(), WordPlaceStart.end() - 1);
    for (uint32_t paragraph = 0; paragraph + 1 < ParagraphWordStart.size(); ++paragraph)
        for (uint32_t i = ParagraphWordStart[paragraph]; i < ParagraphWordStart[paragraph + 1]; ++i)
            WordPlaceList[filled[ParagraphWords[i]]++] = paragraph;
}

void TCommonTextEngine::AfterComparison(int32_t sourceIndex, size_t document, int32_t againstIndex)
{
    const uint32_t now = host::GetTickCount();
    if (now - LastInformationTick >= InformationPeriodMs) {
        LastInformationTick = now;
        Port.ShowInformation(InformationLine(" | Source filter " + std::to_string(sourceIndex + 1) +
                                             " | Against file " + std::to_string(document + 1) + " | Against filter " +
                                             std::to_string(againstIndex + 1)));
    }
    PumpWhenDue();
    if (MatchCount >= MaxMatchCount && !Stopped) {
        Stopped = true;
        Port.AddReportLine("The operation has been automatically aborted.");
        ShowWarningMessage("Too many matches. The operation has been aborted.\nChange the options to restrict the "
                           "matches.");
    }
}

void TCommonTextEngine::PumpWhenDue()
{
    const uint32_t now = host::GetTickCount();
    if (now - LastPumpTick < PumpPeriodMs)
        return;
    LastPumpTick = now;
    Port.ProcessMessages();
}

void TCommonTextEngine::SortMatches()
{
    const auto higher = [](const auto& a, const auto& b) { return a.Rank > b.Rank; };
    std::stable_sort(SourceMatches.begin(), SourceMatches.end(), higher);
    for (size_t i = 0; i < SourceMatches.size(); ++i) {
        std::stable_sort(SourceMatches[i].Matches.begin(), SourceMatches[i].Matches.end(), higher);
        const uint32_t now = host::GetTickCount();
        if (now - LastInformationTick >= InformationPeriodMs) {
            LastInformationTick = now;
            Port.ShowInformation(InformationLine(" | Match index " + std::to_string(i)));
        }
        PumpWhenDue();
        if (Stopped)
            return;
    }
}

void TCommonTextEngine::BuildReport(const std::string& activeDocument)
{
    std::vector<std::string> lines = {Equals, "Source file: " + activeDocument,
                                      "Match count: " + std::to_string(MatchCount),
                                      "Elapsed time (seconds): " + AlignRealToTextPow(6, 0, ElapsedSeconds()), Equals};
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    for (size_t i = 0; i < SourceMatches.size(); ++i) {
        if (size > MaxReportSize) {
            Port.SetReportText("Report too big.");
            return;
        }
        const TMatchSourceInfo& record = SourceMatches[i];
        const size_t first = lines.size();
        lines.push_back("Match index: " + std::to_string(i + 1));
        lines.push_back("Source filter: " + Quoted(record.SourceFilter));
        lines.push_back("Match count: " + std::to_string(record.Matches.size()));
        lines.push_back("Rank: " + std::to_string(record.Rank));
        lines.push_back(Dashes);
        for (size_t j = 0; j < record.Matches.size(); ++j) {
            const TMatchAgainstInfo& match = record.Matches[j];
            if (j > 0)
                lines.push_back("    " + Dashes);
            lines.push_back("    Partial match index: " + std::to_string(j + 1));
            lines.push_back("    Against file: " + Quoted(match.AgainstFile));
            lines.push_back("    Against filter: " + Quoted(match.AgainstFilter));
            lines.push_back("    Matched filter: " + Quoted(match.MatchedFilter));
            lines.push_back("    Rank: " + std::to_string(match.Rank));
        }
        lines.push_back(Equals);
        for (size_t k = first; k < lines.size(); ++k)
            size += lines[k].size() + 2;
    }
    for (size_t k = 0; k < lines.size(); ++k)
        Report += (k > 0 ? "\r\n" : "") + lines[k];
    Port.SetReportText(Report);
    if (MatchCount == 0)
        ShowInfoMessage("No matches found.");
}

double TCommonTextEngine::ElapsedSeconds() const
{
    return (host::GetTickCount() - RunStartTick) * 0.001;
}

std::string TCommonTextEngine::InformationLine(const std::string& tail) const
{
    return "Errors " + std::to_string(ErrorCount) + " | Time " + AlignRealToTextPow(6, 1, ElapsedSeconds()) +
           " | Matches " + std::to_string(MatchCount) + tail;
}
