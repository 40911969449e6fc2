#pragma once

#include <string>

// The one way the program starts a file. A link to a file is a command template: its
// arguments, target and working folder are expanded (FileParameters.h) with the source
// and destination given, and its target is started. A name with two extensions is
// started only when the user confirms it; a play list goes to the media player; every
// started file is recorded in FilesHistory.

// The double-extension question is asked while this is true; it is from the start.
extern bool DangereousFileMode;

// Starts the file. For a link to a file, `parameters` is the source of its placeholders
// and `destination` their destination; any other file receives `parameters`, enclosed in
// quotation marks with `quoteParameters`. An empty verb opens. A started program always
// opens in a normal window: neither `maximized` nor a link's window state can be passed
// on here. Traced: a link's failure to load, or "Failed to run file." with the file.
void MyRunFileWithDest(const std::string& file, const std::string& parameters, const std::string& destination,
                       const std::string& workingFolder, const std::string& verb, bool maximized, bool quoteParameters);
// MyRunFileWithDest without a destination. Traced.
void MyRunFile(const std::string& file, const std::string& parameters, const std::string& workingFolder,
               const std::string& verb, bool maximized, bool quoteParameters);
