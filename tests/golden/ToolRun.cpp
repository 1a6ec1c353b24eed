// Command running and paths for the tool tests.
#include "tests/golden/ToolRun.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

int RunCommand(const std::string& command, std::string* standardError) {
    const std::string errorFile = OutputPath("stderr-" + std::to_string(getpid()) + ".txt");
    const int status = std::system((command + " 2>" + errorFile).c_str());
    if (standardError != nullptr) {
        std::ifstream in(errorFile);
        std::stringstream text;
        text << in.rdbuf();
        *standardError = text.str();
    }
    unlink(errorFile.c_str());
    if (status == -1 || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

std::string SnapshotCommand(const std::string& arguments) {
    return std::string("'") + TAVIK_SNAPSHOT + "' --font '" + TAVIK_FONT + "' " + arguments;
}

std::string OutputPath(const std::string& name) {
    const std::string directory = std::string(TAVIK_BUILD_DIR) + "/golden";
    mkdir(directory.c_str(), 0755);
    return directory + "/" + name;
}

std::string ReferencePath(const std::string& name) {
    return std::string(TAVIK_GOLDEN_DIR) + "/" + name + ".png";
}

bool UpdatingReferences() {
    const char* value = std::getenv("TAVIK_GOLDEN_UPDATE");
    return value != nullptr && std::string(value) == "1";
}
