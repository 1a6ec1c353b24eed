// Running the built tools from the tests, on the private Xvfb that the test program starts.
#pragma once

#include <string>

// Runs a shell command with standard error captured; returns its exit status (-1 when it
// could not run or was killed).
int RunCommand(const std::string& command, std::string* standardError = nullptr);
// The snapshot tool's command line with arguments, its font given explicitly.
std::string SnapshotCommand(const std::string& arguments);
// A file in the build directory's golden/ folder (made on first use).
std::string OutputPath(const std::string& name);
// The committed reference picture of a case.
std::string ReferencePath(const std::string& name);
// True when TAVIK_GOLDEN_UPDATE=1 asks the tests to rewrite the references.
bool UpdatingReferences();
