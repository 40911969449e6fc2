// Runs the common-text engine headless on generated record lists, from a fixed seed in a
// scratch folder mapped to "B:", and times it:
//   exact       50 lists of 2,000 records ("JOHN|SMITH|CITY|12 SOME STREET|00012345", names,
//               cities and streets made of syllables: 400 first names, 2,000 last names,
//               150 cities, 300 streets), 300 records of the active list repeated in the others, a third of them
//               with one letter changed; "|", Start to End, "Word", tolerance 0, minimum
//               "All - 1", against LC_ALL=C sort -u of the active list and of the others,
//               then comm -12, which finds only the exactly shared lines (target 0.5). Our
//               report must hold at least as many records as comm printed lines.
//   growth      the active list fixed, the time with twice and four times the other lists
//               within 2.3 and 4.6 times the first: "Word" with 12, 24 and 48 lists, and
//               "Any" with tolerance 1 (every pair compared) for an active list of 200
//               records with 3, 6 and 12 lists.
//   pumping     the "Any" case with 12 lists, its turns processing the events of an
//               offscreen application with a dialog shown, against the headless engine
//               (target 0.9).
// Each time is the median of a few runs after one warming run. The ratios printed at the
// end are the reference's time over ours.

#include "BenchSupport.h"

#include "tools/CommonTextEngine.h"

#include "core/forms/ModalSeam.h"

#include "host/Drives.h"

#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int ListCount = 50;
constexpr int RecordsPerList = 2000;
constexpr int SharedRecords = 300;
constexpr int SmallActiveRecords = 200;
constexpr int Runs = 3;

// Names, cities and streets as many as real lists hold: syllables joined, from the
// seed. 400 first names, 2,000 last names, 150 cities and 300 streets.
std::vector<std::string> MakeNames(std::mt19937& random, size_t count, int syllables)
{
    static const char* const Parts[] = {"AN",  "BER", "CA", "DO", "EL",  "FI",  "GRA", "HO",  "IN",  "JO", "KA",
                                        "LI",  "MAR", "NO", "OL", "PE",  "QUI", "RO",  "SAN", "TE",  "UR", "VI",
                                        "WEN", "XA",  "YO", "ZE", "BRI", "CHE", "DRA", "FLO", "GUS", "TON"};
    std::vector<std::string> names;
    while (names.size() < count) {
        std::string name;
        for (int i = 0; i < syllables; ++i)
            name += Parts[random() % std::size(Parts)];
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

struct TNameLists
{
    std::vector<std::string> FirstNames;
    std::vector<std::string> LastNames;
    std::vector<std::string> Cities;
    std::vector<std::string> Streets;
};

const std::string& Pick(std::mt19937& random, const std::vector<std::string>& list)
{
    return list[random() % list.size()];
}

std::string MakeRecord(std::mt19937& random, const TNameLists& lists)
{
    char id[16];
    std::snprintf(id, sizeof id, "%08u", static_cast<unsigned>(random() % 100000000));
    return Pick(random, lists.FirstNames) + "|" + Pick(random, lists.LastNames) + "|" + Pick(random, lists.Cities) +
           "|" + std::to_string(1 + random() % 999) + " " + Pick(random, lists.Streets) + " STREET|" + id;
}

// One letter of the record's name fields changed to another letter.
std::string Misspell(std::string record, std::mt19937& random)
{
    const size_t end = record.find('|', record.find('|') + 1);
    size_t place = random() % end;
    while (record[place] == '|')
        place = random() % end;
    record[place] = static_cast<char>(record[place] == 'Z' ? 'A' : record[place] + 1);
    return record;
}

struct TData
{
    std::string Folder;
    // "B:\..." paths; the first is the active list.
    std::vector<std::string> Lists;
    std::vector<std::string> HostLists;
    std::string SmallActive;
    std::string SmallActiveHost;
};

TData Data;
std::vector<std::string> Failures;

void WriteList(const std::string& name, const std::vector<std::string>& records)
{
    std::ofstream out(Data.Folder + "/" + name, std::ios::binary);
    for (const std::string& record : records)
        out << record << "\n";
    Data.Lists.push_back("B:\\" + name);
    Data.HostLists.push_back(Data.Folder + "/" + name);
}

void MakeData()
{
    std::mt19937 random(20261211);
    const TNameLists names{MakeNames(random, 400, 2), MakeNames(random, 2000, 3), MakeNames(random, 150, 3),
                           MakeNames(random, 300, 2)};
    std::vector<std::vector<std::string>> lists(ListCount);
    for (auto& list : lists)
        for (int i = 0; i < RecordsPerList; ++i)
            list.push_back(MakeRecord(random, names));
    for (int i = 0; i < SharedRecords; ++i) {
        const std::string& record = lists[0][static_cast<size_t>(i * (RecordsPerList / SharedRecords))];
        auto& target = lists[1 + random() % (ListCount - 1)];
        target[random() % target.size()] = i % 3 == 0 ? Misspell(record, random) : record;
    }
    for (int i = 0; i < ListCount; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "l%02d.txt", i);
        WriteList(name, lists[static_cast<size_t>(i)]);
    }
    std::ofstream small(Data.Folder + "/small.txt", std::ios::binary);
    for (int i = 0; i < SmallActiveRecords; ++i)
        small << lists[0][static_cast<size_t>(i * (RecordsPerList / SmallActiveRecords))] << "\n";
    Data.SmallActive = "B:\\small.txt";
    Data.SmallActiveHost = Data.Folder + "/small.txt";
}

// Turns: nothing, or the events of the application.
class TBenchPort : public TCommonTextPort
{
public:
    explicit TBenchPort(bool processEvents) : ProcessEvents(processEvents) {}
    void ProcessMessages() override
    {
        if (ProcessEvents)
            QApplication::processEvents();
    }
    void ShowInformation(const std::string&) override {}
    void SetReportText(const std::string&) override {}
    void AddReportLine(const std::string&) override {}

private:
    bool ProcessEvents;
};

struct TRun
{
    double Seconds = 0;
    int32_t MatchCount = 0;
    bool Failed = false;
};

TRun RunEngine(const TCommonTextOptions& options, const std::string& active, const std::vector<std::string>& others,
               bool processEvents)
{
    TBenchPort port(processEvents);
    TCommonTextEngine engine(port);
    engine.Options = options;
    std::vector<std::string> documents = {active};
    documents.insert(documents.end(), others.begin(), others.end());
    const auto start = TClock::now();
    engine.Find(active, documents);
    TRun run;
    run.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    run.MatchCount = engine.MatchCount;
    run.Failed = engine.Report.empty();
    return run;
}

TRun MedianRun(const std::function<TRun()>& once)
{
    once();
    std::vector<double> times;
    TRun last;
    for (int i = 0; i < Runs; ++i) {
        last = once();
        times.push_back(last.Seconds);
    }
    last.Seconds = Median(times);
    return last;
}

std::vector<std::string> Others(size_t count)
{
    return {Data.Lists.begin() + 1, Data.Lists.begin() + 1 + static_cast<std::ptrdiff_t>(count)};
}

TCommonTextOptions WordOptions()
{
    TCommonTextOptions options;
    options.MinimumMatches = -1;
    return options;
}

TCommonTextOptions AnyOptions()
{
    TCommonTextOptions options;
    options.WholeMatch = 3;
    options.Misspelling = 1;
    options.MinimumMatches = -1;
    return options;
}

void Check(bool passed, const std::string& what)
{
    std::printf("%s: %s\n", passed ? "ok" : "FAILED", what.c_str());
    if (!passed)
        Failures.push_back(what);
}

// The exactly shared lines, by sort and comm; their count in `lines`.
double TimeSortComm(size_t& lines)
{
    std::string others;
    for (size_t i = 1; i < Data.HostLists.size(); ++i)
        others += " '" + Data.HostLists[i] + "'";
    const std::string folder = Data.Folder;
    const std::string script = "export LC_ALL=C; sort -u '" + Data.HostLists[0] + "' > '" + folder +
                               "/active.sorted' && cat" + others + " | sort -u > '" + folder +
                               "/others.sorted' && comm -12 '" + folder + "/active.sorted' '" + folder +
                               "/others.sorted'";
    std::string output;
    const auto start = TClock::now();
    if (!RunProgram({"sh", "-c", script}, &output))
        return -1;
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
    lines = static_cast<size_t>(std::count(output.begin(), output.end(), '\n'));
    return seconds;
}

void CompareWithSortAndComm()
{
    size_t shared = 0;
    TimeSortComm(shared);
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i)
        times.push_back(TimeSortComm(shared));
    const double theirs = Median(times);
    const TRun ours = MedianRun([] { return RunEngine(WordOptions(), Data.Lists[0], Others(ListCount - 1), false); });
    std::printf("exact: ours %.3f s (%d records), sort and comm %.3f s (%zu lines), ratio %.2f\n", ours.Seconds,
                ours.MatchCount, theirs, shared, theirs / ours.Seconds);
    Check(!ours.Failed && static_cast<size_t>(ours.MatchCount) >= shared && shared > 0,
          "the report holds every line comm found");
    Check(theirs / ours.Seconds >= 0.5, "exact: ratio of at least 0.5 against sort and comm");
}

void CheckGrowth(const char* name, const TCommonTextOptions& options, const std::string& active, size_t first)
{
    double times[3] = {};
    for (size_t step = 0; step < 3; ++step) {
        const size_t count = first << step;
        const TRun run = MedianRun([&] { return RunEngine(options, active, Others(count), false); });
        times[step] = run.Seconds;
        std::printf("%s with %zu lists: %.3f s, %d records\n", name, count, run.Seconds, run.MatchCount);
    }
    std::printf("%s growth: %.2f and %.2f times the first\n", name, times[1] / times[0], times[2] / times[0]);
    Check(times[1] / times[0] <= 2.3 && times[2] / times[0] <= 4.6,
          std::string(name) + ": twice and four times the lists within 2.3 and 4.6 times the time");
}

void CheckPumping()
{
    QDialog dialog;
    auto* memo = new QPlainTextEdit(&dialog);
    memo->setPlainText("Looking for common text...");
    dialog.show();
    const TRun headless = MedianRun([] { return RunEngine(AnyOptions(), Data.SmallActive, Others(12), false); });
    const TRun pumped = MedianRun([] { return RunEngine(AnyOptions(), Data.SmallActive, Others(12), true); });
    std::printf("pumping: headless %.3f s, with the events %.3f s, ratio %.2f\n", headless.Seconds, pumped.Seconds,
                headless.Seconds / pumped.Seconds);
    Check(headless.Seconds / pumped.Seconds >= 0.9, "pumping keeps at least 0.9 of the headless speed");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Data.Folder = MakeScratchFolder("common-text-bench");
    if (Data.Folder.empty()) {
        std::fprintf(stderr, "cannot make the scratch folder\n");
        return 1;
    }
    host::MapDrive('B', Data.Folder);
    SetModalAnswerer([](const TModalRequest& request) {
        std::fprintf(stderr, "unexpected box: %s\n", request.Text.c_str());
        Failures.push_back("a box was shown: " + request.Text);
        return IDOK;
    });
    MakeData();
    CompareWithSortAndComm();
    CheckGrowth("word", WordOptions(), Data.Lists[0], 12);
    CheckGrowth("any", AnyOptions(), Data.SmallActive, 3);
    CheckPumping();
    SetModalAnswerer(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(Data.Folder, ignored);
    benchmark::Shutdown();
    for (const std::string& failure : Failures)
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
    return Failures.empty() ? 0 : 1;
}
