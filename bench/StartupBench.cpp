// Starts the program on the X display beside an empty Qt window, in interleaved pairs, and
// prints when each window was shown and settled and how much memory it held then.
//
// Start: just before the fork. Shown: the first mapping of a top-level window on the
// display. Settled: the first moment after it from which the process, all its threads,
// used less than SettledCpu of processor time in the next SettledWindow.
//
// Two cases, each with a program folder of its own (the option files live beside the
// program) whose session was saved once by a first start and a close, so every measured
// start is a later start:
//   small: the column shows a folder of 20 files; target at most 1.5 times the empty
//          window's settled time and at most 50 MB;
//   big:   the column shows a folder of --files files (100,000); targets settled within
//          0.5 s, at most 80 MB, and the window shown before the folder's load.
//
// Run under `xvfb-run -a`; set TMPDIR to a folder on a disk for the big folder. --rounds=N
// pairs (10), --files=N in the big folder, --program=PATH another build of the program.

#include "BenchSupport.h"

#include <QApplication>
#include <QWidget>

#include <X11/Xlib.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr double SettledWindow = 0.3;
constexpr double SettledCpu = 0.003;
constexpr auto PollStep = std::chrono::milliseconds(3);
constexpr double GiveUpAfter = 20.0;

struct TStart
{
    double Shown = -1;
    double Settled = -1;
    double Megabytes = 0;
    double CpuSeconds = 0;
};

struct TCase
{
    std::string Name;
    std::string Folder; // scratch: program/, home/, xdg folders
    std::vector<std::string> Environment;
};

double CpuSecondsOf(pid_t pid)
{
    double total = 0;
    std::error_code ignored;
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::ifstream stat(task.path() / "schedstat");
        unsigned long long nanoseconds = 0;
        if (stat >> nanoseconds)
            total += static_cast<double>(nanoseconds) / 1e9;
    }
    return total;
}

double ResidentMegabytesOf(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

std::string LoadAverage()
{
    std::ifstream load("/proc/loadavg");
    std::string text;
    std::getline(load, text);
    return text;
}

class TDisplay
{
public:
    TDisplay() : Handle(XOpenDisplay(nullptr))
    {
        if (Handle != nullptr) {
            XSelectInput(Handle, DefaultRootWindow(Handle), SubstructureNotifyMask);
            XFlush(Handle);
        }
    }
    ~TDisplay()
    {
        if (Handle != nullptr)
            XCloseDisplay(Handle);
    }
    TDisplay(const TDisplay&) = delete;
    TDisplay& operator=(const TDisplay&) = delete;

    bool IsOpen() const { return Handle != nullptr; }

    // The top-level window mapped since the last call, or 0.
    Window TakeMappedWindow()
    {
        Window mapped = 0;
        while (XPending(Handle) > 0) {
            XEvent event;
            XNextEvent(Handle, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && mapped == 0)
                mapped = event.xmap.window;
        }
        return mapped;
    }

    // Asks the window to close, as a window manager's close button does.
    void Close(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(Handle, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(Handle, "WM_DELETE_WINDOW", False));
        XSendEvent(Handle, window, False, NoEventMask, &event);
        XFlush(Handle);
    }

private:
    Display* Handle;
};

pid_t Launch(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    // The child must not write out what the parent's buffer still holds.
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    for (const std::string& setting : environment)
        putenv(const_cast<char*>(setting.c_str()));
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

// Starts the program and follows it until it settles; `closeAfter` closes it through its
// window (so it saves its session) instead of killing it.
TStart Measure(TDisplay& display, const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
               bool closeAfter = false)
{
    display.TakeMappedWindow();
    const Clock::time_point start = Clock::now();
    const pid_t pid = Launch(arguments, environment);
    TStart result;
    Window window = 0;
    std::vector<std::pair<double, double>> samples; // seconds since start, CPU seconds
    while (result.Settled < 0) {
        const double now = std::chrono::duration<double>(Clock::now() - start).count();
        if (now > GiveUpAfter)
            break;
        if (window == 0 && (window = display.TakeMappedWindow()) != 0)
            result.Shown = now;
        samples.emplace_back(now, CpuSecondsOf(pid));
        if (result.Shown >= 0) {
            for (size_t i = 0; i < samples.size(); ++i) {
                if (samples[i].first < result.Shown)
                    continue;
                if (now - samples[i].first < SettledWindow)
                    break;
                const auto later = std::find_if(samples.begin() + static_cast<long>(i), samples.end(), [&](const auto& s) {
                    return s.first >= samples[i].first + SettledWindow;
                });
                if (later->second - samples[i].second < SettledCpu) {
                    result.Settled = samples[i].first;
                    result.CpuSeconds = samples[i].second;
                    break;
                }
            }
        }
        std::this_thread::sleep_for(PollStep);
    }
    result.Megabytes = ResidentMegabytesOf(pid);
    if (closeAfter && window != 0) {
        display.Close(window);
        for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return result;
}

TCase MakeCase(const std::string& name, const std::string& program, int files)
{
    TCase made{name, MakeScratchFolder("quillomber-startup-" + name), {}};
    for (const char* folder : {"program", "home/Documents", "config", "data", "cache", "runtime"})
        fs::create_directories(made.Folder + "/" + folder);
    fs::permissions(made.Folder + "/runtime", fs::perms::owner_all);
    fs::copy_file(program, made.Folder + "/program/quillomber");
    for (int i = 0; i < files; ++i)
        std::ofstream(made.Folder + "/home/Documents/file" + std::to_string(i) + ".txt");
    made.Environment = {"HOME=" + made.Folder + "/home", "XDG_CONFIG_HOME=" + made.Folder + "/config",
                        "XDG_DATA_HOME=" + made.Folder + "/data", "XDG_CACHE_HOME=" + made.Folder + "/cache",
                        "XDG_RUNTIME_DIR=" + made.Folder + "/runtime"};
    return made;
}

std::string Range(const std::vector<double>& values, double scale, const char* format)
{
    char text[64];
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::snprintf(text, sizeof text, format, Median(values) * scale, *low * scale, *high * scale);
    return text;
}

// Interleaved pairs, which side goes first alternating; returns the medians printed.
void RunPairs(TDisplay& display, const TCase& test, const std::string& self, int rounds, bool smallTargets)
{
    const std::vector<std::string> ours{test.Folder + "/program/quillomber"};
    const std::vector<std::string> empty{self, "--empty-window"};
    // The first start writes the session that every measured start reads.
    Measure(display, ours, test.Environment, true);
    std::printf("\n%s folder; load before: %s\n", test.Name.c_str(), LoadAverage().c_str());
    std::vector<double> shown, settled, megabytes, cpu, emptySettled, emptyMegabytes, ratios;
    for (int round = 0; round < rounds; ++round) {
        TStart mine, theirs;
        if (round % 2 == 0) {
            mine = Measure(display, ours, test.Environment);
            theirs = Measure(display, empty, test.Environment);
        } else {
            theirs = Measure(display, empty, test.Environment);
            mine = Measure(display, ours, test.Environment);
        }
        if (mine.Settled < 0 || theirs.Settled < 0) {
            std::printf("pair %d: a window never settled\n", round + 1);
            continue;
        }
        shown.push_back(mine.Shown);
        settled.push_back(mine.Settled);
        megabytes.push_back(mine.Megabytes);
        cpu.push_back(mine.CpuSeconds);
        emptySettled.push_back(theirs.Settled);
        emptyMegabytes.push_back(theirs.Megabytes);
        ratios.push_back(mine.Settled / theirs.Settled);
        std::printf("pair %d: ours shown %.3f s, settled %.3f s, %.0f MB, CPU %.0f ms | empty window settled %.3f s, "
                    "%.0f MB | ratio %.2f\n",
                    round + 1, mine.Shown, mine.Settled, mine.Megabytes, mine.CpuSeconds * 1000, theirs.Settled,
                    theirs.Megabytes, ratios.back());
    }
    std::printf("load after: %s\n", LoadAverage().c_str());
    if (ratios.empty())
        return;
    std::printf("ours: shown %s, settled %s, %s, CPU %s\n", Range(shown, 1, "%.3f s (%.3f-%.3f)").c_str(),
                Range(settled, 1, "%.3f s (%.3f-%.3f)").c_str(), Range(megabytes, 1, "%.0f MB (%.0f-%.0f)").c_str(),
                Range(cpu, 1000, "%.0f ms (%.0f-%.0f)").c_str());
    std::printf("empty window: settled %s, %s\n", Range(emptySettled, 1, "%.3f s (%.3f-%.3f)").c_str(),
                Range(emptyMegabytes, 1, "%.0f MB (%.0f-%.0f)").c_str());
    if (smallTargets)
        std::printf("ratio ours / empty window %s (target <= 1.5); memory %.0f MB (target <= 50)\n",
                    Range(ratios, 1, "%.2f (%.2f-%.2f)").c_str(), Median(megabytes));
    else
        std::printf("settled %.3f s (target <= 0.5), memory %.0f MB (target <= 80), shown %.3f s before settling "
                    "(target: shown before the folder's load)\n",
                    Median(settled), Median(megabytes), Median(settled) - Median(shown));
}

std::string TextOption(int argc, char** argv, const std::string& name, const std::string& fallback)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name.c_str(), name.size()) == 0)
            return argv[i] + name.size();
    return fallback;
}

int IntegerOption(int argc, char** argv, const std::string& name, int fallback)
{
    return std::atoi(TextOption(argc, argv, name, std::to_string(fallback)).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--empty-window") == 0) {
        QApplication application(argc, argv);
        QWidget window;
        window.resize(708, 534);
        window.show();
        return application.exec();
    }
    TDisplay display;
    if (!display.IsOpen()) {
        std::fprintf(stderr, "No X display: run under xvfb-run -a.\n");
        return 1;
    }
    const int rounds = IntegerOption(argc, argv, "--rounds=", 10);
    const int files = IntegerOption(argc, argv, "--files=", 100000);
    const std::string program = TextOption(argc, argv, "--program=", QUILLOMBER_PROGRAM);
    const std::string self = fs::canonical("/proc/self/exe");
    const TCase small = MakeCase("small", program, 20);
    RunPairs(display, small, self, rounds, true);
    const TCase big = MakeCase("big", program, files);
    RunPairs(display, big, self, rounds, false);
    for (const TCase* test : {&small, &big}) {
        std::error_code ignored;
        fs::remove_all(test->Folder, ignored);
    }
    return 0;
}
