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

namespace {

constexpr uint32_t PumpPeriodMs = 20;
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
    Documents.clear();
    WordPlaces.clear();
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

void TCommonTextEngine::ParseDocuments(const std::vector<std::string>& documents)
{
    TTraced trace;
    try {
        for (const std::string& path : documents) {
            Documents.push_back({path, {}});
            ParseFile(path, Documents.back());
            if (trace.TakeOver())
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
// paragraphs counts only when it shares words. A paragraph that shares m of its k words
// shares one of any k - m + 1 of them, so its candidates come through that many of its
// rarest words. They are compared in document order, as every pair would be.
void TCommonTextEngine::CompareIndexedPairs(size_t active, const TParagraph& source, int32_t sourceIndex,
                                            TMatchSourceInfo& record, int32_t& total)
{
    if (WordPlaces.empty())
        return;
    AfterComparison(sourceIndex, active, 0);
    if (Stopped)
        return;
    const size_t k = source.Words.size();
    const int32_t needed = std::max(MinimumFor(k), 1);
    if (static_cast<size_t>(needed) > k)
        return;
    std::vector<const std::vector<TPlace>*> lists;
    static const std::vector<TPlace> none;
    for (const std::string& word : source.Words) {
        const auto found = WordPlaces.find(word);
        lists.push_back(found == WordPlaces.end() ? &none : &found->second);
    }
    std::sort(lists.begin(), lists.end(), [](const auto* a, const auto* b) { return a->size() < b->size(); });
    lists.resize(k - static_cast<size_t>(needed) + 1);
    std::vector<TPlace> candidates;
    for (const auto* places : lists)
        candidates.insert(candidates.end(), places->begin(), places->end());
    const auto before = [](const TPlace& a, const TPlace& b) {
        return a.Document != b.Document ? a.Document < b.Document : a.Paragraph < b.Paragraph;
    };
    std::sort(candidates.begin(), candidates.end(), before);
    candidates.erase(std::unique(candidates.begin(), candidates.end(),
                                 [](const TPlace& a, const TPlace& b) {
                                     return a.Document == b.Document && a.Paragraph == b.Paragraph;
                                 }),
                     candidates.end());
    for (const TPlace& place : candidates) {
        const TDocument& document = Documents[place.Document];
        const TParagraph& against = document.Paragraphs[place.Paragraph];
        total += FindTextA(source.Words, document.Path, record, against.Filter, against.Words);
        AfterComparison(sourceIndex, place.Document, static_cast<int32_t>(place.Paragraph));
        if (Stopped)
            return;
    }
}

void TCommonTextEngine::BuildWordIndex(size_t active)
{
    WordPlaces.clear();
    for (size_t d = 0; d < Documents.size(); ++d) {
        if (d == active || SameTextAscii(Documents[d].Path, Documents[active].Path))
            continue;
        const std::vector<TParagraph>& paragraphs = Documents[d].Paragraphs;
        for (size_t j = 0; j < paragraphs.size(); ++j)
            for (const std::string& word : paragraphs[j].Words)
                WordPlaces[word].push_back({static_cast<uint32_t>(d), static_cast<uint32_t>(j)});
    }
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
