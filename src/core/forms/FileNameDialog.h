#pragma once

#include <string>

// An open or save dialog (captioned "Open" or "Save as") over Windows paths. The filter lists captions and patterns
// between bars ("Skins (*.qms)|*.qms"); the dialog shows the captions. On entry the file
// name is the one proposed (its folder is where the dialog starts), on acceptance the one
// chosen. A save replaces an existing file without a question. True on acceptance.
bool FileNameDialog(std::string& fileName, const std::string& filter, bool save);
