#include "columns/FileLauncher.h"

#include "columns/FileParameters.h"
#include "columns/History.h"
#include "columns/MediaPlayerServices.h"

#include "core/desktop/ShellExecution.h"
#include "core/desktop/SystemMenu.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/AsciiCase.h"

#include "host/LastError.h"
#include "host/Shell.h"

bool DangereousFileMode = true;

namespace {

// What is started, as a link template may rewrite it.
struct TLaunch
{
    std::string File;
    std::string Parameters;
    std::string WorkingFolder;
    bool Quote = true;
    // The name that is questioned and recorded.
    std::string Title;
};

// A link to a file stands for its target, called with its expanded template. A link to a
// folder is opened itself; the source is then no parameter, as a folder opened by the
// desktop takes none.
void ApplyLinkTemplate(const TLinkFile& link, const std::string& source, const std::string& destination,
                       TLaunch& launch)
{
    if (link.IsTargetDirectory()) {
        launch.Parameters.clear();
        return;
    }
    launch.Parameters = ExpandFileAndPathParameters(link.Arguments, source, destination);
    launch.File = ExpandFileAndPathParameters(link.Target, source, destination);
    if (!link.WorkingFolder.empty())
        launch.WorkingFolder = ExpandFileAndPathParameters(link.WorkingFolder, source, destination);
    launch.Quote = false;
    launch.Title = launch.File;
}

bool HasDoubleExtension(const std::string& title)
{
    return !GetExtension(ExcludeExtension(title)).empty();
}

bool ConfirmDoubleExtension(const std::string& title)
{
    return AskQuery("File title \"" + title + "\".\n\nFile extension \"" + UpperAscii(GetExtensionWithoutDot(title)) +
                    "\".\n\nThis file has more than one extension! Some computer viruses\n"
                    "use double extension to make the users think that a file is, for\n"
                    "example, an image, and thus start it. Examples: \"Photo.jpg.exe\",\n"
                    "\"Song.mp3.exe\", \"Text.doc.exe\".\n\nSTART ANYWAY?");
}

bool StartWithShell(const TLaunch& launch, const std::string& verb)
{
    if (verb.empty() || SameTextAscii(verb, "open"))
        return host::ShellExecute(host::ShellRequest{host::ShellVerb::Open,
                                                     {launch.File},
                                                     GetShellParameters(launch.Parameters, launch.Quote),
                                                     launch.WorkingFolder,
                                                     {}});
    return InvokeShellVerb(verb, {launch.File}, launch.WorkingFolder);
}

} // namespace

void MyRunFileWithDest(const std::string& file, const std::string& parameters, const std::string& destination,
                       const std::string& workingFolder, const std::string& verb, bool, bool quoteParameters)
{
    TTraced trace;
    trace.Run([&] {
        TLaunch launch{file, parameters, workingFolder, quoteParameters, file};
        if (IsLinkFile(file)) {
            TLinkFile link;
            link.Load(file, false);
            if (trace.TakeOver())
                return;
            if (IsLnkFile(file))
                ApplyLinkTemplate(link, parameters, destination, launch);
            else if (!link.IsTargetDirectory())
                launch.Title = link.Target;
        }
        if (DangereousFileMode && HasDoubleExtension(launch.Title) && !ConfirmDoubleExtension(launch.Title))
            return;
        FilesHistory.AddFileItem(launch.Title, true);
        if (IsMediaPlayListFile(GetExtension(launch.Title)))
            return TSeam<TMediaPlayerServices>::Get().PlayMPL(launch.Title, "", 0);
        host::SetLastError(host::ERROR_SUCCESS);
        if (!StartWithShell(launch, verb))
            trace.RaiseSystem("Failed to run file.", launch.File, "");
    });
}

void MyRunFile(const std::string& file, const std::string& parameters, const std::string& workingFolder,
               const std::string& verb, bool maximized, bool quoteParameters)
{
    TTraced trace;
    trace.Run([&] {
        MyRunFileWithDest(file, parameters, "", workingFolder, verb, maximized, quoteParameters);
        trace.TakeOver();
    });
}
