// Visual regression: the demo's scenes rendered again with tavik-snapshot and compared with
// the committed references in this folder, and control cases that must not pass.

// To rewrite the references on purpose (after a change to what the demo draws), run
//   cmake --build <build dir> --target tavik-golden-update
// (or this program with TAVIK_GOLDEN_UPDATE=1), then look at every picture before committing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <string>

#include "tests/golden/GoldenScenes.h"
#include "tests/golden/PictureCompare.h"
#include "tests/golden/ToolRun.h"
#include "driver/Picture.h"

namespace {
class GoldenTest : public ::testing::Test {
protected:
    // Every case is rendered once for all the tests.
    static void SetUpTestSuite() {
        for (const GoldenCase& c : kGoldenCases) {
            const std::string path = OutputPath(std::string(c.name) + "-new.png");
            std::string errors;
            const int status = RunCommand(
                SnapshotCommand(std::string(c.arguments) + " --out '" + path + "'"), &errors);
            Picture picture;
            std::string error;
            if (status == 0 && ReadPng(path, &picture, &error)) {
                rendered[c.name] = picture;
            } else {
                renderErrors[c.name] =
                    "tavik-snapshot exited with " + std::to_string(status) + ": " + errors + error;
            }
        }
    }

    // The fresh rendering of a case; fails the test when it could not be made.
    static const Picture& Rendered(const std::string& name) {
        static const Picture kNone;
        const auto found = rendered.find(name);
        if (found == rendered.end()) {
            ADD_FAILURE() << name << ": " << renderErrors[name];
            return kNone;
        }
        return found->second;
    }

    static Picture Reference(const std::string& name) {
        Picture picture;
        std::string error;
        EXPECT_TRUE(ReadPng(ReferencePath(name), &picture, &error))
            << error << "\n(make the references with: cmake --build <build dir> --target "
            << "tavik-golden-update)";
        return picture;
    }

    static std::map<std::string, Picture> rendered;
    static std::map<std::string, std::string> renderErrors;
};
std::map<std::string, Picture> GoldenTest::rendered;
std::map<std::string, std::string> GoldenTest::renderErrors;

// ---- Perturbations of a picture for the control cases ------------------------------------

Picture Mirrored(const Picture& picture) {
    Picture out = picture;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            out.At(x, y) = picture.At(picture.width - 1 - x, y);
        }
    }
    return out;
}

// The rectangle [x0, x1) x [y0, y1) mirrored left to right in place.
Picture RegionMirrored(const Picture& picture, int x0, int y0, int x1, int y1) {
    Picture out = picture;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            out.At(x, y) = picture.At(x1 - 1 - (x - x0), y);
        }
    }
    return out;
}

// The rectangle's content moved dx pixels right (what it uncovers keeps the old content).
Picture RegionShifted(const Picture& picture, int x0, int y0, int x1, int y1, int dx) {
    Picture out = picture;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            out.At(x + dx, y) = picture.At(x, y);
        }
    }
    return out;
}

Picture RegionFilled(const Picture& picture, int x0, int y0, int x1, int y1) {
    Picture out = picture;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            out.At(x, y) = Rgb{0, 0, 0};
        }
    }
    return out;
}

// Each channel mapped through f(channel index, value).
template <typename F>
Picture Recoloured(const Picture& picture, F f) {
    Picture out = picture;
    for (Rgb& p : out.pixels) {
        p = Rgb{f(0, p.r, p.g, p.b), f(1, p.r, p.g, p.b), f(2, p.r, p.g, p.b)};
    }
    return out;
}

uint8_t Clamp(int value) {
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// The region of the status line's first glyph ("P" of "Press ? key ..."): drawn at x 10 with
// glyphs 20 pixels high whose lower edge is 20 pixels below the top, 8 pixels apart.
constexpr int kGlyphLeft = 10;
constexpr int kGlyphRight = 18;
constexpr int kGlyphTop = 2;
constexpr int kGlyphBottom = 20;
}  // namespace

TEST_F(GoldenTest, EverySceneMatchesItsReference) {
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        const Picture& actual = Rendered(c.name);
        if (actual.pixels.empty()) {
            continue;
        }
        const std::string newPath = OutputPath(std::string(c.name) + "-new.png");
        std::string error;
        if (UpdatingReferences()) {
            EXPECT_TRUE(WritePng(ReferencePath(c.name), actual, &error)) << error;
            std::printf("rewrote %s\n", ReferencePath(c.name).c_str());
            continue;
        }
        Picture difference;
        const CompareResult result =
            ComparePictures(Reference(c.name), actual, CompareTolerance(), &difference);
        if (result.passed) {
            unlink(newPath.c_str());
            continue;
        }
        const std::string differencePath = OutputPath(std::string(c.name) + "-diff.png");
        if (result.sameSize) {
            WritePng(differencePath, difference, &error);
        }
        ADD_FAILURE() << c.name << " differs from " << ReferencePath(c.name) << ": "
                      << result.Describe() << "\n  new picture: " << newPath
                      << "\n  difference (mismatches in magenta): " << differencePath;
    }
}

// The tolerance must not let another scene pass: the default scene against the references
// of the letterbox, the polygon modes, the nested rings and hyperspace, and a black picture.
TEST_F(GoldenTest, OtherScenesDoNotPassForTheDefaultScene) {
    const Picture& scene = Rendered("default");
    if (scene.pixels.empty()) {
        return;
    }
    for (const char* other : {"letterbox6", "wireframe", "points", "nested", "hyperspace"}) {
        const CompareResult result = ComparePictures(Reference(other), scene);
        EXPECT_FALSE(result.passed) << "the default scene passed as " << other;
    }
    const Picture black(scene.width, scene.height);
    EXPECT_FALSE(ComparePictures(Reference("default"), black).passed) << "a black picture";
    EXPECT_FALSE(ComparePictures(Reference("default"), Reference("help")).passed)
        << "pictures of different sizes";
}

// Faults a person would see, made on the default scene's reference, must not pass.
TEST_F(GoldenTest, VisibleFaultsDoNotPass) {
    const Picture reference = Reference("default");
    if (reference.pixels.empty()) {
        return;
    }
    const int w = reference.width;
    const int h = reference.height;
    struct Fault {
        const char* what;
        Picture picture;
    };
    const Fault faults[] = {
        {"the picture mirrored", Mirrored(reference)},
        {"one glyph mirrored",
         RegionMirrored(reference, kGlyphLeft, kGlyphTop, kGlyphRight, kGlyphBottom)},
        {"one glyph moved 2 pixels right",
         RegionShifted(reference, kGlyphLeft, kGlyphTop, kGlyphRight, kGlyphBottom, 2)},
        {"the status line moved 2 pixels right",
         RegionShifted(reference, 0, 0, w - 2, kGlyphBottom + 2, 2)},
        {"red and blue swapped", Recoloured(reference,
                                            [](int c, uint8_t r, uint8_t g, uint8_t b) {
                                                return c == 0 ? b : c == 1 ? g : r;
                                            })},
        {"a quarter darker", Recoloured(reference,
                                        [](int c, uint8_t r, uint8_t g, uint8_t b) {
                                            const uint8_t v = c == 0 ? r : c == 1 ? g : b;
                                            return static_cast<uint8_t>(v * 3 / 4);
                                        })},
        // Smaller than any one torus: a torus gone is a larger change still.
        {"a 24-pixel square of torus gone",
         RegionFilled(reference, w / 3 - 12, h * 2 / 3 - 12, w / 3 + 12, h * 2 / 3 + 12)},
    };
    for (const Fault& fault : faults) {
        const CompareResult result = ComparePictures(reference, fault.picture);
        EXPECT_FALSE(result.passed) << fault.what << " passed: " << result.Describe();
    }
}

// What differs between renderers must pass: small colour steps everywhere, every edge one
// pixel over, a few scattered odd pixels.
TEST_F(GoldenTest, RendererSizedDifferencesPass) {
    const Picture reference = Reference("default");
    if (reference.pixels.empty()) {
        return;
    }
    const int w = reference.width;
    const int h = reference.height;
    const Picture noisy = Recoloured(reference, [](int c, uint8_t r, uint8_t g, uint8_t b) {
        const uint8_t v = c == 0 ? r : c == 1 ? g : b;
        return Clamp(v + ((r + g * 3 + b * 7 + c) % 2 == 0 ? 12 : -12));
    });
    Picture speckled = reference;
    for (size_t i = 0; i < speckled.pixels.size(); i += 1999) {
        Rgb& p = speckled.pixels[i];
        p = Rgb{static_cast<uint8_t>(255 - p.r), static_cast<uint8_t>(255 - p.g),
                static_cast<uint8_t>(255 - p.b)};
    }
    const Picture shifted = RegionShifted(reference, 0, 0, w - 1, h, 1);
    EXPECT_TRUE(ComparePictures(reference, reference).passed);
    const CompareResult noise = ComparePictures(reference, noisy);
    EXPECT_TRUE(noise.passed) << "colour steps of 12: " << noise.Describe();
    const CompareResult speckles = ComparePictures(reference, speckled);
    EXPECT_TRUE(speckles.passed) << "one pixel in 2000 inverted: " << speckles.Describe();
    const CompareResult moved = ComparePictures(reference, shifted);
    EXPECT_TRUE(moved.passed) << "everything one pixel right: " << moved.Describe();
}
