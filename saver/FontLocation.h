// Where the screensaver finds the overlay's font: beside its executable (as in the build
// directory), or in the installed data directory <prefix>/share/tavik.
#pragma once

#include <string>

// The directory of the running executable, from /proc/self/exe; empty if unknown.
std::string ExecutableDirectory();
// The first of the font's places that holds a file, else the place beside the executable
// (loading then fails and the text draws as white blocks).
std::string FindFont(const std::string& executableDirectory);
