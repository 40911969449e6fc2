#pragma once

#include <string>

// A settings file whose load failed may hold all the user's settings: the first save
// under its name keeps it as that name + ".bak" (replacing an older one) before writing.
class TDamagedFile
{
public:
    static std::string BackupName(const std::string& fileName);

    // The load of the file failed; it is kept at the first save under its name.
    void Mark(const std::string& fileName) { Name = fileName; }
    // The file loaded: there is nothing to keep.
    void Forget() { Name.clear(); }
    // Before a save under `fileName`: moves the damaged file of that name, when there is
    // one, to its backup name. False with the last error set when it cannot be moved.
    bool KeepBeforeSaving(const std::string& fileName);

private:
    std::string Name;
};
