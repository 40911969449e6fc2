#pragma once

#include <string>

// "Version " + the project's version + " (" + its release date + ")": the about box and the
// installer show the same text.
std::string ProgramVersionText();
