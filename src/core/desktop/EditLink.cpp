#include "core/desktop/EditLink.h"

#include "core/errors/Traced.h"
#include "core/files/LinkFile.h"
#include "core/files/ProgramFolders.h"

#include "host/DesktopApplications.h"
#include "host/Drives.h"
#include "host/File.h"
#include "host/Shell.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

// Stands for the file while the editor's command becomes the link's template; no Exec
// line holds a control character.
constexpr char FileMarker = '\x01';

// "%" starts the link's placeholders, so a literal one is written "%%"; the file is "%t%".
std::string TemplateArgument(const std::string& argument)
{
    std::string result;
    for (const char c : argument) {
        if (c == '%')
            result += "%%";
        else if (c == FileMarker)
            result += "%t%";
        else
            result += c;
    }
    return result;
}

// The desktop's text editor: its first application for plain text that opens a window of its
// own. One run in a terminal ("Terminal=true") would start unseen, with no terminal around it.
std::optional<host::DesktopApplication> FindTextEditor()
{
    const std::vector<host::DesktopApplication> applications = host::ApplicationsForType("text/plain");
    const auto found = std::ranges::find_if(applications, [](const host::DesktopApplication& application) {
        return !application.Terminal;
    });
    if (found == applications.end())
        return std::nullopt;
    return *found;
}

} // namespace

void MakeEditLinkWhenMissing()
{
    TTraced trace;
    trace.Run([&] {
        const std::string linkFileName = GetEditLinkFileName();
        if (host::PathExists(linkFileName))
            return;
        const std::optional<host::DesktopApplication> editor = FindTextEditor();
        if (!editor)
            return;
        const std::vector<std::string> command = host::ExecCommandForFile(*editor, std::string(1, FileMarker));
        if (command.empty())
            return;
        const std::optional<std::string> program = host::HostToWindows(command.front());
        if (!program)
            return;
        std::vector<std::string> arguments;
        for (size_t i = 1; i < command.size(); ++i)
            arguments.push_back(TemplateArgument(command[i]));
        TLinkFile link;
        link.Target = *program;
        link.Arguments = host::JoinWindowsCommandLine(arguments);
        link.Description = editor->Name;
        link.ShowCmd = 1;
        link.Save(linkFileName, false);
        trace.TakeOver();
    });
}
