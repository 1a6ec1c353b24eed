// The browser's picture: every golden scene drawn by snapshot.html in headless Chromium
// (capture.js) and compared with the native reference in tests/golden under the web rule: a
// pixel matches when a pixel of the other picture within one pixel is within 24 in every
// channel, and at most 1 % of the pixels may mismatch. Every scene's figure is printed; a
// scene that fails leaves its picture and a difference image in the build's golden folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "driver/Picture.h"
#include "tests/golden/GoldenScenes.h"
#include "tests/golden/PictureCompare.h"
#include "tests/golden/ToolRun.h"

namespace {
// The golden rule without the native tests' per-tile limit, which is tighter than the web's
// 1 % allows for.
constexpr CompareTolerance kWebRule{24, 1, 0.01, 16, 16 * 16};

std::string WebPicturePath(const std::string& name) {
    return OutputPath(name + "-web.png");
}

class WebGoldenTest : public ::testing::Test {
protected:
    // Every scene captured once, in one browser, for all the tests.
    static void SetUpTestSuite() {
        // The browser build's folder comes from CTest (scripts/run-tests configures it).
        const char* webBuild = std::getenv("TAVIK_WEB_BUILD");
        std::string command = std::string("'") + TAVIK_NODE + "' '" + TAVIK_WEB_TESTS +
                              "/capture.js' '" + (webBuild != nullptr ? webBuild : "") + "' '" +
                              OutputPath("") + "'";
        for (const GoldenCase& scene : kGoldenCases) {
            std::remove(WebPicturePath(scene.name).c_str());
            std::remove(OutputPath(std::string(scene.name) + "-web-diff.png").c_str());
            command += std::string(" ") + scene.name + " '" + scene.arguments + "'";
        }
        captureStatus = RunCommand(command, &captureErrors);
    }

    // The browser's picture of a scene; fails the test when there is none.
    static Picture Captured(const std::string& name) {
        Picture picture;
        std::string error;
        EXPECT_TRUE(ReadPng(WebPicturePath(name), &picture, &error))
            << error << "\ncapture.js exited with " << captureStatus << ": " << captureErrors;
        return picture;
    }

    static Picture Reference(const std::string& name) {
        Picture picture;
        std::string error;
        EXPECT_TRUE(ReadPng(ReferencePath(name), &picture, &error)) << error;
        return picture;
    }

    static inline int captureStatus = -1;
    static inline std::string captureErrors;
};
}  // namespace

TEST_F(WebGoldenTest, PagesLoadWithoutConsoleErrors) {
    EXPECT_EQ(captureStatus, 0) << captureErrors;
}

TEST_F(WebGoldenTest, EverySceneMatchesTheNativeReference) {
    for (const GoldenCase& scene : kGoldenCases) {
        SCOPED_TRACE(scene.name);
        const Picture picture = Captured(scene.name);
        Picture difference;
        const CompareResult result =
            ComparePictures(Reference(scene.name), picture, kWebRule, &difference);
        std::printf("%-11s %6.2f %% mismatched (%s)\n", scene.name,
                    result.pixels > 0 ? 100.0 * result.mismatched / result.pixels : 100.0,
                    result.Describe().c_str());
        if (!result.passed && result.sameSize) {
            const std::string differencePath =
                OutputPath(std::string(scene.name) + "-web-diff.png");
            std::string error;
            WritePng(differencePath, difference, &error);
            ADD_FAILURE() << scene.name << ": " << result.Describe()
                          << "\n  web picture: " << WebPicturePath(scene.name)
                          << "\n  difference (mismatches in magenta): " << differencePath;
        } else {
            EXPECT_TRUE(result.passed) << result.Describe();
        }
    }
}

// The rule must tell scenes apart in the browser's pictures too: the default scene does not
// pass as another scene of its size.
TEST_F(WebGoldenTest, OtherScenesDoNotPassForTheDefaultScene) {
    const Picture scene = Captured("default");
    for (const char* other : {"letterbox6", "wireframe", "points", "nested", "hyperspace"}) {
        EXPECT_FALSE(ComparePictures(Reference(other), scene, kWebRule).passed)
            << "the browser's default scene passed as " << other;
    }
}
