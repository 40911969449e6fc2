#pragma once

#include <string>

// Starting programs, opening documents and web addresses, and running the verbs of a
// file's context menu. Each call returns once the desktop has taken the request; none
// waits for the started program. All are Traced except RunOpenWith, which forwards.

// The parameters as a started program receives them: after a blank, with quote enclosed
// in quotation marks; nothing for none.
std::string GetShellParameters(const std::string& parameters, bool quote);
// Opens or starts the file (a Windows path or a web address). Non-empty parameters are
// handed on after a blank, with quote set enclosed in quotation marks. An empty name is
// told to the user in a box and is no failure; "Failed to run file." otherwise.
// A started program always opens normally: `minimised` cannot be passed on here.
void RunFile(const std::string& file, const std::string& parameters, const std::string& folder, bool quote,
             bool minimised);
// Runs a verb of the file's context menu ("Properties", ""); an empty name does nothing.
// "Failed to run verb." with the file name (and an appended dot) and the verb.
void RunVerb(const std::string& file, const std::string& verb, const std::string& folder);
// Lets the user choose the application that opens the file.
void RunOpenWith(const std::string& file, const std::string& folder);
// Opens the address in the user's browser; a failure is shown at once with `message`
// and cleared.
void OpenSite(const std::string& address, const std::string& message);
