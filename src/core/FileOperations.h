#pragma once

#include <functional>
#include <string>

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

// The primitives are Traced; a cancel through OnProgress is no failure.
void MyCopyFile(const std::string& source, const std::string& target, bool overwrite, bool allowDecrypted);
void MyMoveFile(const std::string& source, const std::string& target, bool replace);
void MyRenameFile(const std::string& oldName, const std::string& newName, bool replace);
void MyDeleteFile(const std::string& name);
// Prepares a replacing move or rename: a read-only target loses its attributes. The
// target itself is replaced by the rename, never deleted before it.
void RemoveReplacedTarget(const std::string& source, const std::string& target, bool replace);
// Deletes a folder with everything in it; links inside go as links, never followed.
void DeleteDirectoryNoErrors(const std::string& folder);
// Copies a folder tree without its hidden and system entries, overwriting files.
void CopyDeleteDirectory(const std::string& source, const std::string& target);
