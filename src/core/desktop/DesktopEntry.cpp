#include "core/desktop/DesktopEntry.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <optional>
#include <string_view>

namespace {

// Characters that make an argument of an Exec line need quotes.
constexpr const char* ReservedExecCharacters = " \t\n\"'\\><~|&;$*?#()`";
// Characters that need a backslash inside the quotes.
constexpr const char* QuotedExecEscapes = "\"`$\\";

std::string QuoteExecArgument(const std::string& argument)
{
    if (argument.find_first_of(ReservedExecCharacters) == std::string::npos)
        return argument;
    std::string quoted = "\"";
    for (char c : argument) {
        if (std::string_view(QuotedExecEscapes).find(c) != std::string_view::npos)
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The escapes of a desktop-entry string value.
std::string EscapeEntryValue(const std::string& value)
{
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// A program starts itself; any other file or folder opens through the desktop's opener.
std::string ExecLine(const std::string& targetHostPath, bool program, const std::string& arguments)
{
    std::string exec = program ? QuoteExecArgument(targetHostPath) : "xdg-open " + QuoteExecArgument(targetHostPath);
    if (!arguments.empty())
        exec += " " + arguments;
    return exec;
}

// Only the Exec line knows field codes: there a "%" is doubled so that it is never taken
// for one; in the name and the working folder it stands for itself.
std::string EscapeExecValue(const std::string& exec)
{
    std::string doubled;
    for (char c : exec)
        doubled += c == '%' ? std::string("%%") : std::string(1, c);
    return EscapeEntryValue(doubled);
}

std::string DesktopEntryText(const std::string& name, const std::string& exec, const std::string& workingFolder)
{
    std::string text =
        "[Desktop Entry]\nType=Application\nName=" + EscapeEntryValue(name) + "\nExec=" + EscapeExecValue(exec) + "\n";
    if (!workingFolder.empty())
        text += "Path=" + EscapeEntryValue(workingFolder) + "\n";
    return text;
}

} // namespace

void WriteDesktopEntry(TTraced& trace, const std::string& entryFileName, const std::string& name,
                       const std::string& target, bool program, const std::string& arguments, bool useTargetFolder)
{
    host::SetLastError(host::ERROR_SUCCESS);
    const std::optional<std::string> targetHostPath = host::WindowsToHost(ExcludeEndBackslash(target));
    if (!targetHostPath)
        return trace.RaiseSystem("Failed to save link file.", entryFileName, target);
    std::string workingFolder;
    if (useTargetFolder)
        workingFolder = host::WindowsToHost(GetParentPath(target)).value_or(std::string());
    const std::string text = DesktopEntryText(name, ExecLine(*targetHostPath, program, arguments), workingFolder);
    if (!host::ReplaceFileContents(entryFileName, text))
        trace.RaiseSystem("Failed to save link file.", entryFileName, target);
}

void SaveDesktopEntry(const std::string& entryFileName, const std::string& name, const std::string& target,
                      const std::string& arguments, bool useTargetFolder, bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        if (MyFileExists(entryFileName) && !overwrite)
            return;
        const bool program = IsExecutableFile(target) && !IsDirectory(target);
        WriteDesktopEntry(trace, entryFileName, name, target, program, arguments, useTargetFolder);
    });
}
