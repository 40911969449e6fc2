#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TTraced;

// Renames a batch of files, each to its own new name, in order. A new name still held by
// another file of the batch that is going to leave it is no name to overwrite: that file
// steps aside under a temporary name first and takes its own new name at its turn, so a
// batch whose new names are distinct never asks and never loses a file. Only a new name
// held by a file outside the batch, or by one of the batch that stays, is asked about.
class TRenameBatch
{
public:
    struct TPair
    {
        std::string OldName;
        std::string NewName;
    };
    // Whether a pair whose new name no file of the batch is leaving goes ahead; sets
    // `overwrite`. The asker looks whether the name is taken (a free one goes ahead without
    // a word) and ends the batch through the stop flag given to the constructor.
    using TAsker = std::function<bool(const std::string& oldName, const std::string& newName, bool& overwrite)>;

    TRenameBatch(std::vector<TPair> pairs, TAsker ask, const bool& stop);

    // Traced. The first rename that fails ends the batch; every file then still aside
    // goes back to its old name (undoing the renames that took it, nearest first), and a
    // file that cannot go back is reported under the name it has. Once the stop flag is
    // set, nothing more is asked and only the pairs already decided go on. `afterEach`
    // runs after each pair.
    void Run(const std::function<void()>& afterEach);
    // The pair's file has its new name now.
    bool WentAhead(size_t pair) const;

private:
    enum class TDecision
    {
        Undecided,
        Resolving,
        Go,
        Stay
    };
    struct TEntry
    {
        TPair Names;
        TDecision Decision = TDecision::Undecided;
        bool Overwrite = false;
        // Where the file is now: its old name, a temporary name or its new name.
        std::string Location;
        bool Renamed = false;
    };

    TDecision Resolve(size_t pair);
    TDecision Ask(size_t pair);
    // The pair whose file still waits under `name` to leave it, other than `pair`; or none.
    const size_t* WaitingHolderOf(const std::string& name, size_t pair) const;
    bool RenamePair(size_t pair);
    bool MoveAside(size_t pair);
    bool MoveTo(size_t pair, const std::string& name, bool replace);
    void PutBackEveryFileAside(TTraced& trace);
    // False, with the failure in FunStatContext, when a file could not go back.
    bool PutBack(size_t pair);

    std::vector<TEntry> Entries;
    TAsker AskUser;
    const bool& Stop;
    // Old names of the pairs that change, and the new names taken so far.
    std::unordered_map<std::string, size_t> ByOldName;
    std::unordered_map<std::string, size_t> ByTakenName;
    // The new names of the pairs that change: no file steps aside under one of them.
    std::unordered_set<std::string> NewNames;
};
