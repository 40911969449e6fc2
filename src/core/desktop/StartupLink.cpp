#include "core/desktop/StartupLink.h"

#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"

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

// The escapes of a desktop-entry string value, with "%" doubled so that it is never
// taken for a field code.
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
        case '%':
            escaped += "%%";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string StartupEntryText(const std::string& programHostPath)
{
    return "[Desktop Entry]\nType=Application\nName=Quillomber\nExec=" +
           EscapeEntryValue(QuoteExecArgument(programHostPath)) + "\n";
}

} // namespace

void MakeStartupLinkByStatus(const std::string& target, bool status)
{
    TTraced trace;
    trace.Run([&] {
        const std::string folder = GetStartupPath();
        if (!status) {
            if (!folder.empty())
                host::DeleteFile(folder + StartupEntryFileName);
            return;
        }
        if (folder.empty())
            return trace.Raise("Failed to get path.");
        const std::string entryFileName = folder + StartupEntryFileName;
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<std::string> program = host::WindowsToHost(target);
        if (!program)
            return trace.RaiseSystem("Failed to save link file.", entryFileName, target);
        if (!host::ReplaceFileContents(entryFileName, StartupEntryText(*program)))
            trace.RaiseSystem("Failed to save link file.", entryFileName, target);
    });
    trace.ShowFailure("Failed to create link.");
}
