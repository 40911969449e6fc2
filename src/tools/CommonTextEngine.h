#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What a run of the common-text search needs of the dialog around it. Tests and the
// benchmark run the engine headless through their own port.
class TCommonTextPort
{
public:
    virtual ~TCommonTextPort() = default;
    // Pending events; the engine calls it at most every 20 ms.
    virtual void ProcessMessages() = 0;
    virtual void ShowInformation(const std::string& line) = 0;
    // The report box: replaced by a phase text or the report, or a line added.
    virtual void SetReportText(const std::string& text) = 0;
    virtual void AddReportLine(const std::string& line) = 0;
};

// The options of a run, as the dialog's lists give them.
struct TCommonTextOptions
{
    // Begin: 0 Start, 1.. the index, -2 Last, -3 Last - 1, -4 Last - 2, -5 Last - 3.
    int32_t BeginIndex = 0;
    // End: -1 End, 1.. the index, -2 Last, -3 Last - 1, -4 Last - 2, -5 Last - 3.
    int32_t EndIndex = -1;
    bool UseDelimiter = true;
    std::string Delimiter = "|";
    // 0 include numbers, 1 ignore them, 2 numbers only.
    int32_t NumbersMode = 0;
    // 0 Word, 1 Left, 2 Right, 3 Any.
    int32_t WholeMatch = 0;
    // How many characters of a word may differ.
    int32_t Misspelling = 0;
    // 1.. at least that many word pairs; 0 all of the source paragraph's words, -1 all
    // but one, and so on.
    int32_t MinimumMatches = 1;
};

// One paragraph of another document that matches a source paragraph.
struct TMatchAgainstInfo
{
    std::string AgainstFile;
    std::string AgainstFilter;
    std::string MatchedFilter;
    int32_t Rank = 0;
};

// One paragraph of the active document with its matches.
struct TMatchSourceInfo
{
    std::string SourceFilter;
    std::vector<TMatchAgainstInfo> Matches;
    int32_t Rank = 0;
};

// Finds the paragraphs (lines) of an active document that share enough words with
// paragraphs of the other documents, ranks them and writes the report. Runs on the
// user-interface thread, giving the port a turn between comparisons.
class TCommonTextEngine
{
public:
    struct TParagraph
    {
        // The words joined with "; ".
        std::string Filter;
        std::vector<std::string> Words;
    };
    struct TDocument
    {
        std::string Path;
        std::vector<TParagraph> Paragraphs;
    };

    // After this many matched source paragraphs the run aborts.
    static constexpr int32_t MaxMatchCount = 1000;
    // A report that has grown past this many characters is not shown.
    static constexpr size_t MaxReportSize = 250000;

    explicit TCommonTextEngine(TCommonTextPort& port);

    TCommonTextOptions Options;
    bool Stopped = false;
    int32_t MatchCount = 0;
    int32_t ErrorCount = 0;
    std::vector<TDocument> Documents;
    std::vector<TMatchSourceInfo> SourceMatches;
    // The machine's memory in bytes; tests make it small.
    std::function<uint64_t()> PhysicalMemory;
    // Whether "Word" without tolerance may take its candidates from the word index;
    // without it every pair is compared. Both give the same report.
    bool WordIndexAllowed = true;
    // The report of the last finished run, empty when it stopped or failed.
    std::string Report;

    // Checks the delimiter; false after the error box when the run cannot start.
    bool CheckOptions();
    // Begins a run: the counters are reset, the extraction order and the numbers mode
    // checked and the clock started. Traced; false when the options refuse.
    bool Begin();
    // The rest of the run begun: compares the active document with the others (the
    // documents in list order, the active one among them) and writes the report. Traced:
    // a failure is left for the caller to show.
    void Run(const std::string& activeDocument, const std::vector<std::string>& documents);
    // Begin and Run.
    void Find(const std::string& activeDocument, const std::vector<std::string>& documents);
    void Stop() { Stopped = true; }

    void ParseFile(const std::string& path, TDocument& document);
    // False when the paragraph has no words; traced.
    bool ParsePara(const std::string& text, TParagraph& paragraph);
    // The score of word x found in word y under the whole-match mode and the tolerance.
    int32_t MatchText(const std::string& x, const std::string& y) const;
    // The rank of the against paragraph for the source words; above 0 it is recorded in
    // the source record.
    int32_t FindTextA(const std::vector<std::string>& sourceWords, const std::string& againstPath,
                      TMatchSourceInfo& record, const std::string& againstFilter,
                      const std::vector<std::string>& againstWords);
    // The number of word pairs the source paragraph needs.
    int32_t MinimumFor(size_t sourceWordCount) const;
    // "Errors 0 | Time 0.0 | Matches 0" and the tail of the phase.
    std::string InformationLine(const std::string& tail) const;

private:
    bool CheckResources(const std::vector<std::string>& documents);
    void ParseDocuments(const std::vector<std::string>& documents);
    void CompareDocuments(const std::string& activeDocument);
    void CompareEveryPair(size_t active, const TParagraph& source, int32_t sourceIndex, TMatchSourceInfo& record,
                          int32_t& total);
    void CompareIndexedPairs(size_t active, const TParagraph& source, int32_t sourceIndex, TMatchSourceInfo& record,
                             int32_t& total);
    bool UsesWordIndex() const;
    void BuildWordIndex(size_t active);
    bool SharesEnoughWords(uint32_t paragraph, const std::vector<uint32_t>& sourceIds, int32_t needed) const;
    // After each comparison: the information line, a turn for the port and the abort.
    void AfterComparison(int32_t sourceIndex, size_t document, int32_t againstIndex);
    void SortMatches();
    void BuildReport(const std::string& activeDocument);
    void PumpWhenDue();
    double ElapsedSeconds() const;

    TCommonTextPort& Port;
    uint32_t RunStartTick = 0;
    uint32_t LastPumpTick = 0;
    uint32_t LastInformationTick = 0;
    // The word index of the other documents, their paragraphs numbered in document
    // order: a number for each word (its text is the documents'), each word's paragraphs
    // in order (its slice of WordPlaceList from WordPlaceStart), and each paragraph's
    // words by number (its slice of ParagraphWords from ParagraphWordStart).
    std::unordered_map<std::string_view, uint32_t> WordIds;
    std::vector<uint32_t> WordPlaceStart;
    std::vector<uint32_t> WordPlaceList;
    std::vector<uint32_t> ParagraphWordStart;
    std::vector<uint32_t> ParagraphWords;
    // The document of each numbered paragraph and the number of its first paragraph.
    std::vector<uint32_t> ParagraphDocument;
    std::vector<uint32_t> DocumentFirstParagraph;
};
