#pragma once

// The search engine's own pieces, shared by its units (SearchEngine.cpp ranks, and
// SearchEngineQueue.cpp keeps the walk order and the workers).

#include "fileops/SearchEngine.h"

#include "core/errors/Error.h"
#include "host/DirectoryReader.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

// A search buffer that grows without clearing its new room, so a file is read straight
// into it; kept from candidate to candidate.
class TSearchEngine::TBuffer
{
public:
    void Clear() { Length = 0; }
    size_t Size() const { return Length; }
    char* Data() { return Bytes.get(); }
    // Makes `more` bytes of room after the content and counts them in; gives their start.
    char* Extend(size_t more);
    void Shrink(size_t length) { Length = length; }
    void Append(const char* data, size_t size)
    {
        if (size > 0)
            std::memcpy(Extend(size), data, size);
    }
    void Append(const std::string& text) { Append(text.data(), text.size()); }

private:
    std::unique_ptr<char[]> Bytes;
    size_t Capacity = 0;
    size_t Length = 0;
};

// What one thread reuses from candidate to candidate: its buffers and its own matcher.
struct TSearchEngine::TScratch
{
    TBuffer Buffer;
    std::string NameScratch;
    std::vector<std::string> StreamNames;
    std::unique_ptr<TTextMatchPort> Port;
    std::unique_ptr<TTextMatcher> Matcher;
};

// One step of the walk, in walk order: a candidate with its outcome, a folder that failed,
// or the end of a top-level candidate.
struct TSearchEngine::TSlot
{
    enum class TKind
    {
        Candidate,
        FolderFailure,
        TopLevelDone,
    };
    TKind Kind = TKind::Candidate;
    std::string Path;
    bool IsDir = false;
    int32_t TopLevelIndex = 0;
    // What the walk knows of a file: its kind and, for an entry of a listing, the open
    // folder and its host name there.
    TContent Content = TContent::Unknown;
    std::shared_ptr<host::DirectoryReader> Folder;
    std::string HostName;
    bool IsLink = false;
    // The first queued file of a folder since a file of another: what keeps folders open.
    bool StartsFolderRun = false;
    // The outcome: the rank (found above 0), a file above the size limit, and a failure.
    int32_t Rank = -1;
    bool Jumped = false;
    TFunStatContext Outcome;
    // Set when the outcome is complete; read by this thread, written under the workers' lock.
    std::atomic<bool> Done = false;
    // The progress of a large file's ranking, published by its worker for the status line.
    std::atomic<int32_t> ProgressFilter = -1;
    std::atomic<double> Progress = 0;

    bool Failed() const { return Outcome.Status > fsWarning; }
};

// The threads that rank the queued files, each with its own scratch, taking the files in
// walk order; they end when the object goes, after the file each has in hand.
class TSearchEngine::TWorkers
{
public:
    explicit TWorkers(const TSearchEngine& engine) : Engine(engine) {}
    ~TWorkers();
    TWorkers(const TWorkers&) = delete;
    TWorkers& operator=(const TWorkers&) = delete;

    void Add(TSlot& slot);
    // Waits at most `seconds` for the slot's outcome; true when it is done.
    bool WaitFor(const TSlot& slot, double seconds);

private:
    void Work();

    const TSearchEngine& Engine;
    std::mutex Mutex;
    std::condition_variable JobAdded;
    std::condition_variable JobDone;
    std::deque<TSlot*> Jobs;
    bool Quit = false;
    std::vector<std::thread> Threads;
};
