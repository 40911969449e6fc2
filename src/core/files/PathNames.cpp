#include "core/files/PathNames.h"

#include "core/text/AsciiCase.h"

#include "host/Drives.h"
#include "host/FileIdentity.h"
#include "host/FileSystem.h"
#include "host/Process.h"

#include <algorithm>

namespace {

size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("\\:");
}

bool EndsWithBackslash(const std::string& path)
{
    return !path.empty() && path.back() == '\\';
}

bool HoldsWildcardOrReserved(const std::string& text)
{
    return text.find_first_of("<>|\"*?") != std::string::npos;
}

bool IsNetworkPath(const std::string& path)
{
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool HasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':';
}

// Joins the root with the components of `rest`, resolving "." and ".."; ".." never
// climbs above the root.
std::string JoinResolved(const std::string& root, const std::string& rest)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = root;
    for (size_t i = 0; i < parts.size(); ++i)
        result += (i > 0 ? "\\" : "") + parts[i];
    if (EndsWithBackslash(rest) && !parts.empty())
        result += '\\';
    return result;
}

// "\\server\share\" as the root of a network path, and the rest after it.
std::string NetworkFullPath(const std::string& path)
{
    const size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos)
        return path;
    const size_t shareEnd = path.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos)
        return path;
    return JoinResolved(path.substr(0, shareEnd + 1), path.substr(shareEnd + 1));
}

} // namespace

std::string IncludeEndBackslash(const std::string& path)
{
    if (path.empty() || EndsWithBackslash(path))
        return path;
    return path + '\\';
}

std::string ExcludeEndBackslash(const std::string& path)
{
    return EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
}

bool IsDriveName(const std::string& text)
{
    return text.size() >= 2 && text.back() == ':';
}

std::string GetParentPath(const std::string& path)
{
    if (IsDriveName(path))
        return {};
    const size_t separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string GetPathName(const std::string& path)
{
    if (IsDriveName(path))
        return path;
    const size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string GetExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    const size_t separator = LastSeparator(name);
    if (separator != std::string::npos && separator > dot)
        return {};
    return name.substr(dot);
}

std::string GetExtensionWithoutDot(const std::string& name)
{
    const std::string extension = GetExtension(name);
    return extension.empty() ? extension : extension.substr(1);
}

std::string ExcludeExtension(const std::string& path)
{
    return path.substr(0, path.size() - GetExtension(path).size());
}

std::string GetDrivePart(const std::string& path)
{
    if (HasDriveLetter(path))
        return path.substr(0, 2);
    if (!IsNetworkPath(path))
        return {};
    const size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos)
        return path;
    const size_t shareEnd = path.find('\\', serverEnd + 1);
    return shareEnd == std::string::npos ? path : path.substr(0, shareEnd);
}

bool IsExtensionInList(const std::string& name, const std::vector<std::string>* sortedList)
{
    if (sortedList == nullptr)
        return false;
    const std::string extension = GetExtension(name);
    const auto found = std::lower_bound(sortedList->begin(), sortedList->end(), extension,
                                        [](const std::string& a, const std::string& b) { return LessTextAscii(a, b); });
    return found != sortedList->end() && SameTextAscii(*found, extension);
}

std::string CutFirstPathName(std::string& path)
{
    std::string result = EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path;
    const size_t backslash = path.find('\\');
    if (backslash == std::string::npos) {
        path.clear();
        return result;
    }
    result = path.substr(0, backslash);
    path.erase(0, backslash + 1);
    return result;
}

bool IsSubPath(const std::string& parent, const std::string& path)
{
    if (parent.empty() || path.empty() || path.size() < parent.size())
        return false;
    if (!SameTextAscii(std::string_view(path).substr(0, parent.size()), parent))
        return false;
    if (path.size() == parent.size())
        return true;
    return EndsWithBackslash(parent) || path[parent.size()] == '\\';
}

bool AreValidPaths(const std::vector<std::string>& paths)
{
    return std::all_of(paths.begin(), paths.end(), [](const std::string& path) {
        return !HoldsWildcardOrReserved(path) && !GetDrivePart(path).empty();
    });
}

std::string ExpandShortPath(const std::string& path)
{
    // Host file systems keep no separate short names: every name is its long form.
    return path;
}

std::string GetFullPath(const std::string& path)
{
    if (path.empty() || IsDriveName(path))
        return path;
    std::string text = path;
    std::replace(text.begin(), text.end(), '/', '\\');
    if (IsNetworkPath(text))
        return ExpandShortPath(NetworkFullPath(text));

    std::string current = host::GetCurrentDirectory();
    if (current.empty())
        current = "C:\\";
    std::string full;
    if (HasDriveLetter(text) && text.size() > 2 && text[2] == '\\') {
        full = JoinResolved(text.substr(0, 3), text.substr(3));
    } else if (HasDriveLetter(text)) {
        // "X:name" is relative to the current folder when it is on drive X.
        const std::string base = SameTextAscii(current.substr(0, 2), text.substr(0, 2)) ? IncludeEndBackslash(current)
                                                                                        : text.substr(0, 2) + "\\";
        full = JoinResolved(base.substr(0, 3), base.substr(3) + text.substr(2));
    } else if (text[0] == '\\') {
        full = JoinResolved(current.substr(0, 3), text.substr(1));
    } else {
        full = JoinResolved(current.substr(0, 3), IncludeEndBackslash(current).substr(3) + text);
    }
    return ExpandShortPath(full);
}

std::string GetUNCPath(const std::string& path)
{
    const std::string full = GetFullPath(path);
    return full.empty() ? full : host::CanonicalWindowsPath(full);
}

bool IsSameFile(const std::string& a, const std::string& b, host::FinalLink finalLink)
{
    if (HoldsWildcardOrReserved(a) || HoldsWildcardOrReserved(b))
        return false;
    return host::AreOneFile(GetFullPath(a), GetFullPath(b), finalLink);
}

bool IsSameOrInsideFolder(const std::string& folder, const std::string& path)
{
    return host::IsSameOrInside(GetFullPath(folder), GetFullPath(path));
}

bool IsSameRoot(const std::string& a, const std::string& b)
{
    return host::AreOnOneFileSystem(GetFullPath(a), GetFullPath(b));
}

bool MatchesFileSpec(const std::string& name, const std::string& spec)
{
    if (spec.empty())
        return true;
    size_t start = 0;
    while (start <= spec.size()) {
        size_t end = spec.find(';', start);
        if (end == std::string::npos)
            end = spec.size();
        const size_t patternStart = std::min(spec.find_first_not_of(' ', start), end);
        const std::string pattern = spec.substr(patternStart, end - patternStart);
        // "*.*" stands for every name, dotted or not, as users expect of it.
        if (pattern == "*.*" || (!pattern.empty() && host::MatchesPattern(name, pattern)))
            return true;
        start = end + 1;
    }
    return false;
}
