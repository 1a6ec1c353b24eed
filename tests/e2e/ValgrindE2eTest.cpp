// The real tavik binary under valgrind's memcheck on a small Xvfb screen, typed every key of
// the demo and then Escape: no invalid read or write, no use of an uninitialised value and
// no definitely lost block whose stack passes through the project's code, and exit status 0.
// Errors wholly inside Mesa, X or GLUT are not the project's and are left alone.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// A sanitizer build's binary cannot run under valgrind.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizerBuild = true;
#else
constexpr bool kSanitizerBuild = false;
#endif
#else
constexpr bool kSanitizerBuild = false;
#endif

// A frame in the project's code: its source file lies in the source tree (valgrind prints
// full paths, --fullpath-after=), or it is the tavik binary's own without debug information.
bool IsProjectFrame(const std::string& frame) {
    return frame.find("(" TAVIK_SOURCE_DIR "/") != std::string::npos ||
           frame.find("/tavik)") != std::string::npos;
}

// The error reports of a memcheck log (each a block of "==pid== " lines up to a blank one)
// that belong to the project: one of the three innermost frames, past valgrind's own
// replacements of malloc, memcpy and the like, is the project's code. A Mesa error whose
// stack merely runs down to main through the demo is not counted.
std::vector<std::string> ProjectErrors(const std::string& log) {
    const char* const kinds[] = {"Invalid read",
                                 "Invalid write",
                                 "uninitialised",
                                 "Invalid free",
                                 "Mismatched free",
                                 "definitely lost",
                                 "Source and destination overlap"};
    std::vector<std::string> errors;
    std::vector<std::string> frames;
    std::string block;
    auto finish = [&] {
        bool isError = false;
        for (const char* kind : kinds) {
            isError = isError || block.find(kind) != std::string::npos;
        }
        bool ours = false;
        int inspected = 0;
        for (const std::string& frame : frames) {
            if (frame.find("vgpreload") != std::string::npos ||
                frame.find("vg_replace") != std::string::npos) {
                continue;
            }
            if (inspected++ == 3) {
                break;
            }
            ours = ours || IsProjectFrame(frame);
        }
        if (isError && ours) {
            errors.push_back(block);
        }
        block.clear();
        frames.clear();
    };
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t end = line.find("== ");
        const std::string text = end == std::string::npos ? line : line.substr(end + 3);
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos) {
            finish();
            continue;
        }
        block += text + "\n";
        if (text.compare(first, 5, "at 0x") == 0 || text.compare(first, 5, "by 0x") == 0) {
            frames.push_back(text);
        }
    }
    finish();
    return errors;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(ValgrindE2eTest, EveryKeyUnderMemcheckWithoutErrorsInTheProjectsCode) {
    if (kSanitizerBuild) {
        GTEST_SKIP() << "a sanitizer build's binary does not run under valgrind";
    }
    if (std::system("command -v valgrind >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "valgrind is not installed (Debian package valgrind)";
    }
    // The demo goes full screen, so the screen is what keeps the frames small.
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(320, 240));
    const std::string dir = MakeWorkDir(TAVIK_FONT);
    const std::string log = dir + "/memcheck.log";
    // Mesa's software rasteriser without its just-in-time compiler, which valgrind would
    // have to follow through generated code.
    const std::string wrapper = dir + "/tavik-under-memcheck";
    {
        std::ofstream script(wrapper);
        script << "#!/bin/sh\n"
               << "export GALLIUM_DRIVER=softpipe DRAW_USE_LLVM=0 LP_NUM_THREADS=0\n"
               << "exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite"
               << " --errors-for-leak-kinds=definite --num-callers=40 --error-limit=no"
               << " --fullpath-after="
               << " --log-file=" << log << " " << TAVIK_BINARY << "\n";
    }
    ASSERT_EQ(chmod(wrapper.c_str(), 0755), 0);

    DemoProcess demo(display, wrapper, dir);
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow(180.0)) << ReadFile(log);
    // Every key of the demo, in groups over about ten seconds, Escape last.
    const char* const groups[] = {
        "Left Right Left Right",
        "parenleft parenright plus underscore equal minus",
        "comma period less greater",
        "bracketleft bracketright braceleft braceright",
        "question slash",
        "c f l o p",
        "p r s t u w",
        "space space c f",
    };
    for (const char* group : groups) {
        ASSERT_TRUE(demo.Key(group)) << group;
        SleepSeconds(1.2);
    }
    ASSERT_TRUE(demo.Key("Escape"));
    int status = -1;
    double seconds = 0.0;
    ASSERT_TRUE(demo.WaitForExit(300.0, &status, &seconds)) << "no exit after Escape";
    EXPECT_EQ(status, 0);

    const std::string report = ReadFile(log);
    ASSERT_NE(report.find("ERROR SUMMARY"), std::string::npos) << "memcheck did not finish:\n"
                                                               << report;
    for (const std::string& error : ProjectErrors(report)) {
        ADD_FAILURE() << "memcheck, in the project's code:\n" << error;
    }
    RecordProperty("seconds from Escape to exit", static_cast<int>(seconds));
}

// The log reading that the test above relies on: an error in the project's code is found,
// one wholly inside Mesa (whose stack ends in the demo's main) is not.
TEST(ValgrindE2eTest, LogReadingTellsTheProjectsErrorsFromMesas) {
    const std::string log =
        "==7== Conditional jump or move depends on uninitialised value(s)\n"
        "==7==    at 0x671585B: ??? (in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so)\n"
        "==7==    by 0x6716240: ??? (in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so)\n"
        "==7==    by 0x6716250: ??? (in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so)\n"
        "==7==    by 0x6716260: ??? (in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so)\n"
        "==7==    by 0x10C2EF: AppFrame() (" TAVIK_SOURCE_DIR
        "/shell/FrameStep.cpp:57)\n"
        "==7== \n"
        "==7== Invalid read of size 1\n"
        "==7==    at 0x4852B22: memcpy (vg_replace_strmem.c:1035)\n"
        "==7==    by 0x10D123: LoadBmp(char const*, Image*) (" TAVIK_SOURCE_DIR
        "/image/BmpLoader.cpp:140)\n"
        "==7==    by 0x10B9B6: AppMain(int, char**) (" TAVIK_SOURCE_DIR
        "/shell/Shell.cpp:50)\n"
        "==7== \n"
        "==7== 56 bytes in 1 blocks are definitely lost in loss record 2 of 9\n"
        "==7==    at 0x48417B4: malloc (in /usr/libexec/valgrind/vgpreload_memcheck.so)\n"
        "==7==    by 0x543542A: ??? (in /usr/lib/x86_64-linux-gnu/libGLX_mesa.so.0.0.0)\n"
        "==7==    by 0x4885ACA: glutCreateWindow (in /usr/lib/x86_64-linux-gnu/libglut.so)\n"
        "==7==    by 0x48859F5: fgOpenWindow (in /usr/lib/x86_64-linux-gnu/libglut.so)\n"
        "==7==    by 0x10B994: AppMain(int, char**) (" TAVIK_SOURCE_DIR
        "/shell/Shell.cpp:44)\n"
        "==7== \n";
    const std::vector<std::string> errors = ProjectErrors(log);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("BmpLoader.cpp:140"), std::string::npos) << errors[0];
}
