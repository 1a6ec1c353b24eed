// Where a host that does not read the font from its working directory finds it (the
// screensaver, the tools): the first of the places its caller lists.
#pragma once

#include <string>
#include <vector>

// The directory of the running executable, from /proc/self/exe; "." if unknown.
std::string ExecutableDirectory();
// The first of places that names a readable file; empty when none does (loading then fails
// and the text draws as white blocks).
std::string FindFont(const std::vector<std::string>& places);
