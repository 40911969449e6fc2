#include "fileops/RenameBatch.h"

#include "core/errors/Traced.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"

#include "host/FileSystem.h"
#include "host/LastError.h"

#include <unordered_set>

namespace {

// Temporary names tried beside a file that steps aside before giving up.
constexpr int AsideNameTries = 100;

std::string AsideName(const std::string& location, size_t pair, int attempt)
{
    return IncludeEndBackslash(GetParentPath(location)) + ".rename-" + std::to_string(pair) + "-" +
           std::to_string(attempt) + ".tmp";
}

bool IsNameTaken(uint32_t error)
{
    return error == host::ERROR_ALREADY_EXISTS || error == host::ERROR_FILE_EXISTS;
}

bool LastCallSucceeded()
{
    return FunStatContext.Status <= fsWarning;
}

} // namespace

TRenameBatch::TRenameBatch(std::vector<TPair> pairs, TAsker ask, const bool& stop) : AskUser(std::move(ask)), Stop(stop)
{
    Entries.reserve(pairs.size());
    for (TPair& pair : pairs) {
        TEntry entry;
        entry.Location = pair.OldName;
        if (pair.OldName == pair.NewName)
            entry.Decision = TDecision::Stay;
        else {
            ByOldName.emplace(pair.OldName, Entries.size());
            NewNames.insert(pair.NewName);
        }
        entry.Names = std::move(pair);
        Entries.push_back(std::move(entry));
    }
}

void TRenameBatch::Run(const std::function<void()>& afterEach)
{
    TTraced trace;
    trace.Run([&] {
        for (size_t i = 0; i < Entries.size(); ++i) {
            if (Resolve(i) == TDecision::Go && !RenamePair(i)) {
                trace.TakeOver();
                break;
            }
            if (afterEach)
                afterEach();
        }
    });
    trace.Run([&] { PutBackEveryFileAside(trace); });
}

bool TRenameBatch::WentAhead(size_t pair) const
{
    return pair < Entries.size() && Entries[pair].Renamed;
}

// Follows the new names from file to file while each is held by a file of the batch that
// has not been decided: the last one is asked, and each file before it goes without a
// question when the file holding its new name leaves, else it is asked in turn. A ring of
// names moves on as a whole. Iterative, so a long renumbering needs no deep stack.
TRenameBatch::TDecision TRenameBatch::Resolve(size_t pair)
{
    std::vector<size_t> path;
    TDecision holderDecision = TDecision::Undecided;
    for (size_t current = pair;;) {
        TEntry& entry = Entries[current];
        if (entry.Decision == TDecision::Go || entry.Decision == TDecision::Stay) {
            holderDecision = entry.Decision;
            break;
        }
        if (entry.Decision == TDecision::Resolving) {
            holderDecision = TDecision::Go;
            break;
        }
        entry.Decision = TDecision::Resolving;
        const size_t* holder = WaitingHolderOf(entry.Names.NewName, current);
        if (holder == nullptr) {
            entry.Decision = Ask(current);
            holderDecision = entry.Decision;
            break;
        }
        path.push_back(current);
        current = *holder;
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        TEntry& entry = Entries[*it];
        entry.Decision = holderDecision == TDecision::Go ? TDecision::Go : Ask(*it);
        holderDecision = entry.Decision;
    }
    return Entries[pair].Decision;
}

TRenameBatch::TDecision TRenameBatch::Ask(size_t pair)
{
    TEntry& entry = Entries[pair];
    if (Stop)
        return TDecision::Stay;
    entry.Overwrite = false;
    const bool go = !AskUser || AskUser(entry.Names.OldName, entry.Names.NewName, entry.Overwrite);
    return go ? TDecision::Go : TDecision::Stay;
}

const size_t* TRenameBatch::WaitingHolderOf(const std::string& name, size_t pair) const
{
    const auto holder = ByOldName.find(name);
    if (holder == ByOldName.end() || holder->second == pair)
        return nullptr;
    const TEntry& entry = Entries[holder->second];
    return !entry.Renamed && entry.Location == entry.Names.OldName ? &holder->second : nullptr;
}

bool TRenameBatch::RenamePair(size_t pair)
{
    TEntry& entry = Entries[pair];
    const size_t* holder = WaitingHolderOf(entry.Names.NewName, pair);
    if (holder != nullptr && Entries[*holder].Decision == TDecision::Go && !MoveAside(*holder))
        return false;
    if (!MoveTo(pair, entry.Names.NewName, entry.Overwrite))
        return false;
    entry.Renamed = true;
    ByTakenName[entry.Names.NewName] = pair;
    return true;
}

bool TRenameBatch::MoveAside(size_t pair)
{
    TEntry& entry = Entries[pair];
    TTraced trace;
    bool moved = false;
    trace.Run([&] {
        for (int attempt = 0; attempt < AsideNameTries && !moved; ++attempt) {
            const std::string aside = AsideName(entry.Location, pair, attempt);
            // A file of the batch that later takes this name would have to overwrite it.
            if (NewNames.contains(aside))
                continue;
            moved = host::MoveFile(entry.Location, aside, false, false);
            if (moved)
                entry.Location = aside;
            else if (!IsNameTaken(host::GetLastError()))
                break;
        }
        if (!moved)
            trace.RaiseSystem("Failed to rename.", entry.Location);
    });
    return moved;
}

bool TRenameBatch::MoveTo(size_t pair, const std::string& name, bool replace)
{
    TEntry& entry = Entries[pair];
    MyRenameFile(entry.Location, name, replace);
    if (!LastCallSucceeded())
        return false;
    entry.Location = name;
    return true;
}

void TRenameBatch::PutBackEveryFileAside(TTraced& trace)
{
    for (size_t i = 0; i < Entries.size(); ++i) {
        const TEntry& entry = Entries[i];
        // A file that cannot go back is named where it is.
        if (!entry.Renamed && entry.Location != entry.Names.OldName && !PutBack(i))
            trace.Raise("Failed to rename.", entry.Location, entry.Names.OldName, FunStatContext.SystemErrorCode);
    }
}

// The file's old name is free once the rename that took it is undone, and that file's old
// name once the rename that took it is, and so on: the farthest goes back first.
bool TRenameBatch::PutBack(size_t pair)
{
    std::vector<size_t> chain = {pair};
    std::unordered_set<size_t> inChain = {pair};
    for (;;) {
        const auto taker = ByTakenName.find(Entries[chain.back()].Names.OldName);
        if (taker == ByTakenName.end() || !inChain.insert(taker->second).second)
            break;
        chain.push_back(taker->second);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        TEntry& entry = Entries[*it];
        if (!MoveTo(*it, entry.Names.OldName, false))
            return false;
        if (entry.Renamed) {
            entry.Renamed = false;
            if (const auto taken = ByTakenName.find(entry.Names.NewName);
                taken != ByTakenName.end() && taken->second == *it)
                ByTakenName.erase(taken);
        }
    }
    return true;
}
