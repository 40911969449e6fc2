#include "core/Partitions.h"

#include "core/PathNames.h"

#include "host/File.h"

bool PartitionExists(const std::string& path)
{
    const std::string drive = GetDrivePart(path);
    return !drive.empty() && host::PathExists(IncludeEndBackslash(drive));
}
