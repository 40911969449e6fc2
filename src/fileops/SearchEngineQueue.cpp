#include "fileops/SearchEngine.h"
#include "fileops/SearchEngineParts.h"

#include "core/errors/Traced.h"

#include <chrono>

// A worker's matcher reports a large file's progress into the file's slot, where the
// engine's thread reads it for the status line; Stop ends the ranking at its next step.
class TSearchEngine::TWorkerMatchPort : public TTextMatchPort
{
public:
    explicit TWorkerMatchPort(const TSearchEngine& engine) : Engine(engine) {}
    bool StatusDue() override { return true; }
    void ShowLookingIn(const std::string&) override {}
    void ShowStatus(int32_t filterIndex, double progress) override
    {
        Slot->Progress = progress;
        Slot->ProgressFilter = filterIndex;
    }
    void ProcessMessages() override {}
    bool Stopped() const override { return Engine.Stop; }

    TSlot* Slot = nullptr;

private:
    const TSearchEngine& Engine;
};

TSearchEngine::TWorkers::~TWorkers()
{
    {
        const std::lock_guard lock(Mutex);
        Quit = true;
    }
    JobAdded.notify_all();
    for (std::thread& thread : Threads)
        thread.join();
}

// The threads start with the first file, so a names search starts none.
void TSearchEngine::TWorkers::Add(TSlot& slot)
{
    {
        const std::lock_guard lock(Mutex);
        Jobs.push_back(&slot);
        if (Threads.empty())
            for (int32_t i = 0; i < WorkerCount; ++i)
                Threads.emplace_back([this] { Work(); });
    }
    JobAdded.notify_one();
}

bool TSearchEngine::TWorkers::WaitFor(const TSlot& slot, double seconds)
{
    std::unique_lock lock(Mutex);
    return JobDone.wait_for(lock, std::chrono::duration<double>(seconds), [&slot] { return slot.Done.load(); });
}

void TSearchEngine::TWorkers::Work()
{
    const std::unique_ptr<TScratch> scratch = Engine.MakeScratch(std::make_unique<TWorkerMatchPort>(Engine));
    auto& port = static_cast<TWorkerMatchPort&>(*scratch->Port);
    std::unique_lock lock(Mutex);
    while (true) {
        JobAdded.wait(lock, [this] { return Quit || !Jobs.empty(); });
        if (Quit)
            return;
        TSlot& slot = *Jobs.front();
        Jobs.pop_front();
        lock.unlock();
        // After a stop the outcome is not taken: the file is passed over.
        if (!Engine.Stop) {
            port.Slot = &slot;
            Engine.MatchSlot(slot, *scratch);
        }
        lock.lock();
        slot.Done = true;
        JobDone.notify_one();
    }
}

std::unique_ptr<TSearchEngine::TSlot> TSearchEngine::NewSlot()
{
    if (SpareSlots.empty())
        return std::make_unique<TSlot>();
    std::unique_ptr<TSlot> slot = std::move(SpareSlots.back());
    SpareSlots.pop_back();
    slot->Kind = TSlot::TKind::Candidate;
    slot->Path.clear();
    slot->IsDir = false;
    slot->TopLevelIndex = 0;
    slot->Content = TContent::Unknown;
    slot->HostName.clear();
    slot->IsLink = false;
    slot->StartsFolderRun = false;
    slot->Rank = -1;
    slot->Jumped = false;
    slot->Outcome.Status = fsPerfect;
    slot->Done = false;
    slot->ProgressFilter = -1;
    slot->Progress = 0;
    return slot;
}

void TSearchEngine::Enqueue(std::unique_ptr<TSlot> slot, bool forWorker)
{
    TSlot& queued = *slot;
    queued.Done = !forWorker;
    Queue.push_back(std::move(slot));
    if (forWorker && queued.Folder != nullptr && queued.Folder.get() != LastQueuedFolder) {
        LastQueuedFolder = queued.Folder.get();
        queued.StartsFolderRun = true;
        ++QueuedFolderRuns;
    }
    if (forWorker) {
        if (!Workers)
            Workers = std::make_unique<TWorkers>(*this);
        Workers->Add(queued);
    }
    DeliverReady();
    while (Queue.size() >= MaxQueuedCandidates && !Stop) {
        WaitForFront();
        DeliverReady();
    }
}

void TSearchEngine::DeliverReady()
{
    while (!Queue.empty() && Queue.front()->Done) {
        std::unique_ptr<TSlot> slot = std::move(Queue.front());
        Queue.pop_front();
        Deliver(*slot);
        if (slot->StartsFolderRun)
            --QueuedFolderRuns;
        // A spare slot must not keep its folder open.
        slot->Folder.reset();
        SpareSlots.push_back(std::move(slot));
    }
}

void TSearchEngine::WaitForFront()
{
    TSlot& front = *Queue.front();
    while (!Stop && !Workers->WaitFor(front, PumpPeriod)) {
        if (front.ProgressFilter >= 0 && StatusDue()) {
            Port.ShowLookingIn(front.Path);
            Port.ShowStatus(front.ProgressFilter, front.Progress);
        }
        Pump();
    }
}

void TSearchEngine::DrainQueue()
{
    DeliverReady();
    while (!Queue.empty() && !Stop) {
        WaitForFront();
        DeliverReady();
    }
}

void TSearchEngine::LimitOpenFolders()
{
    while (QueuedFolderRuns >= MaxQueuedFolderRuns && !Stop) {
        WaitForFront();
        DeliverReady();
    }
}

void TSearchEngine::DiscardQueue()
{
    Workers.reset();
    QueuedFolderRuns = 0;
    LastQueuedFolder = nullptr;
    if (Stop)
        for (const std::unique_ptr<TSlot>& slot : Queue)
            Deliver(*slot);
    Queue.clear();
    SpareSlots.clear();
}

void TSearchEngine::Deliver(TSlot& slot)
{
    // After a stop only the top-level candidate it came in is reported done.
    if (Stop) {
        if (slot.Kind == TSlot::TKind::TopLevelDone && !StopReported) {
            StopReported = true;
            Port.CandidateDone(slot.TopLevelIndex);
        }
        return;
    }
    switch (slot.Kind) {
    case TSlot::TKind::TopLevelDone:
        Port.CandidateDone(slot.TopLevelIndex);
        return;
    case TSlot::TKind::FolderFailure:
        ReportError("Failed to search in directory.", slot.Outcome);
        return;
    case TSlot::TKind::Candidate:
        DeliverCandidate(slot);
        return;
    }
}

void TSearchEngine::DeliverCandidate(TSlot& slot)
{
    if (slot.Jumped)
        ++JumpedFiles;
    if (slot.Failed()) {
        ReportError("Failed to process file.", slot.Outcome);
    } else if (slot.Rank > 0) {
        ++(slot.IsDir ? DirsFound : FilesFound);
        AddFoundItem(slot.Path, slot.IsDir, slot.Rank);
        if (FunStatContext.Status > fsWarning)
            ReportError("Failed to process file.", FunStatContext);
    }
    AfterCandidate(slot.Path);
}

void TSearchEngine::AfterCandidate(const std::string& path)
{
    if (++CandidatesSinceClock < CandidatesPerClockRead)
        return;
    CandidatesSinceClock = 0;
    ShowStatusWhenDue(path);
    Pump();
}
