#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The file unit's process-wide state.
class TFileUnitLoader
{
public:
    // File times are shown in local time (else universal time).
    bool LocalTime = true;
    // Sizes are shown with the units " B", " KB", " MB", " GB", " TB".
    bool SizeUnits = true;
    // The running copy or move reports the fraction done here; false cancels it.
    std::function<bool(double fraction)> OnProgress;
};

extern TFileUnitLoader FileUnitLoader;

// Forwards a copy's progress to FileUnitLoader.OnProgress; false asks to cancel.
bool CopyProgressRoutine(uint64_t transferred, uint64_t total);

// The primitives are Traced; a cancel through OnProgress is no failure. A copy or move to
// a file system that cannot hold the source's named streams fails, naming the streams,
// and a move keeps its source, unless `dropStreams` lets the file go without them. A copy
// or move refused because the target exists leaves the target as it was.
void MyCopyFile(const std::string& source, const std::string& target, bool overwrite, bool allowDecrypted,
                bool dropStreams = false);
// MyCopyFile to a target that must not exist yet, leaving an existing one to the caller:
// false, with nothing raised, when the copy found the target there; true
// otherwise, a failure raised as MyCopyFile raises it.
bool MyCopyFileToFreeName(const std::string& source, const std::string& target, bool dropStreams);
// A symbolic link copied is a new link to the same target; what it names is not read.
void MyCopyLink(const std::string& source, const std::string& target, bool overwrite);
void MyMoveFile(const std::string& source, const std::string& target, bool replace, bool dropStreams = false);
void MyRenameFile(const std::string& oldName, const std::string& newName, bool replace);
void MyDeleteFile(const std::string& name);
// The permissions a read-only target had before RemoveReplacedTarget made it writable;
// nothing when they were left as they were.
using TClearedMode = std::optional<uint32_t>;
// Prepares a replacing copy, move or rename: a read-only target loses its attributes. The
// target itself is replaced by the operation, never deleted before it.
TClearedMode RemoveReplacedTarget(const std::string& source, const std::string& target, bool replace);
// Makes a read-only entry writable, remembering its permissions.
TClearedMode ClearReadOnlyRemembered(const std::string& path);
// After an operation that did not go through (failed or cancelled): the entry, still the
// file it was, gets back the permissions a clearing took. The host's last error is kept.
void PutClearedModeBack(const std::string& path, const TClearedMode& cleared);
// Deletes a folder with everything in it; links inside go as links, never followed.
void DeleteDirectoryNoErrors(const std::string& folder);
// Copies a folder tree without its hidden and system entries, overwriting files. Goes on
// past a file or folder that cannot be copied and reports the first one ("Failed to copy
// file."); the answer is the number of files and folders that could not be copied (the
// tree itself counts as one when it cannot be made or listed). Only a folder that cannot
// be made or listed shows the box "Failed to process directory.". `placed`, when given,
// receives the target paths of the files copied and of the folders below the tree's own
// (these with a trailing backslash).
int CopyDeleteDirectory(const std::string& source, const std::string& target,
                        std::vector<std::string>* placed = nullptr);
