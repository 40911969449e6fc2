#pragma once

#include <string>

// Whether two paths name one file. Linux file systems tell letter case apart, so this is
// never a comparison of names: a file that exists is known by its device and inode, and
// paths to files that do not exist are compared by the bytes of their canonical forms.
// The paths are full Windows paths; the last error is left as it was.
namespace host {

// What a final symbolic link to a file stands for. As a name (renamed, deleted, replaced)
// it is a file of its own; its content and streams are those of the file it names. A link
// to a folder always stands for the folder.
enum class FinalLink
{
    Kept,
    Followed
};

bool AreOneFile(const std::string& a, const std::string& b, FinalLink finalLink = FinalLink::Kept);

// The path is the folder itself or lies below it, through whatever letters and folder links.
bool IsSameOrInside(const std::string& folder, const std::string& path);

// Both paths lie on one file system (one device), whatever their letters. A path that does
// not exist yet is judged by the nearest folder above it that does; false when neither
// it nor any folder above it exists.
bool AreOnOneFileSystem(const std::string& a, const std::string& b);

} // namespace host
