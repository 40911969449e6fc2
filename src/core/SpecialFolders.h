#pragma once

#include <string>

// The program's private temporary folder with a trailing backslash. Traced; "Failed to
// get path." when it cannot be found or made.
std::string GetTempPathA();
