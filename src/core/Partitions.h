#pragma once

#include <string>

// True when the path has a drive part and the drive's root exists.
bool PartitionExists(const std::string& path);
