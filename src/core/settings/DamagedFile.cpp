#include "core/settings/DamagedFile.h"

#include "host/File.h"
#include "host/FileSystem.h"

std::string TDamagedFile::BackupName(const std::string& fileName)
{
    return fileName + ".bak";
}

bool TDamagedFile::KeepBeforeSaving(const std::string& fileName)
{
    if (Name != fileName || !host::PathExists(fileName))
        return true;
    if (!host::MoveFile(fileName, BackupName(fileName), true, false))
        return false;
    Forget();
    return true;
}
