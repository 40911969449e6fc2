#pragma once

#include <string>

// The placeholders of command templates: the arguments, target and working folder of a
// link in the Tools, Send and Send-drag folders, and the manual-run command line.
// Placeholders match exactly, letter case included. Only the template is searched: a
// value put in its place (a file name, a folder) is never searched again, so a name such
// as "100%%.txt" or "a%t_cl%.txt" reaches the program as it is.

// The file placeholders relative to a source S and a destination D (full paths): "%t%"
// S, "%r%" its reference (a link's target), "%p%" its parent path, "%rp%" the parent
// path of its reference, "%t-e%" S without its extension, "%n%" its name, "%n-e%" its
// name without extension, "%e%" its extension; "%dt%" to "%de%" the same for D. Then
// the first "%t_cl%" and the first "%r_cl%" are removed, each putting the titles (or the
// references) of the selection of the column last pressed with the mouse on the clipboard.
std::string ExpandFileParameters(const std::string& text, const std::string& source, const std::string& destination);
// The path placeholders: "%%" is "%" (and the text it leaves is searched by the later
// placeholders), "%phOper%", "%phSys%", "%phTemp%", "%phDesk%", "%phDocs%",
// "%phProgLinks%", "%phProgFiles%", "%phFavor%" the system's folders, "%phCol1%" to
// "%phCol10%" the directory listed by board column 1 to 10 ("" for the drives),
// "%SystemRoot%" and "%ProgramFiles%" as "%phOper%" and "%phProgFiles%".
std::string ExpandPathParameters(const std::string& text);
// ExpandPathParameters of ExpandFileParameters in one, so that the file values stay out
// of the search for path placeholders too.
std::string ExpandFileAndPathParameters(const std::string& text, const std::string& source,
                                        const std::string& destination);
