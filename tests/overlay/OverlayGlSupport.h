// Shared by the overlay's OpenGL tests: the committed font loaded once, a fixture that lends
// it to a TextOverlay, and glyph quads recovered from feedback mode.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "image/BmpLoader.h"
#include "image/Texture.h"
#include "overlay/TextOverlay.h"
#include "tests/support/GlTestSupport.h"

// The font texture, loaded from the committed font.bmp on first use and kept for the whole
// program (the window outlives every test). 0 when it could not be loaded.
inline uint32_t FontHandle() {
    static const uint32_t handle = [] {
        Texture font;
        if (!font.Load(TAVIK_FONT, LoadBmp)) {
            return 0u;
        }
        const uint32_t loaded = font.handle;
        font.handle = 0;  // keep the texture past this scope
        return loaded;
    }();
    return handle;
}

// Fixture: a TextOverlay of its own that draws with the committed font and the blend
// function the demo sets at start-up. The overlay gives the texture back before it is
// destroyed, so no test deletes the shared font.
class OverlayGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_NE(FontHandle(), 0u) << "could not load " << TAVIK_FONT;
        overlay.fontTexture.handle = FontHandle();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    void TearDown() override {
        overlay.fontTexture.handle = 0;
        GlTest::TearDown();
    }

    TextOverlay overlay;
};

// One glyph quad as feedback reports it: window-space bounds and texture coordinate range,
// and the six (or four) vertices it came from.
struct GlyphQuad {
    float left, right, bottom, top;
    float sMin, sMax, tMin, tMax;
    std::vector<FeedbackVertex> vertices;
};

inline bool SameVertex(const FeedbackVertex& a, const FeedbackVertex& b) {
    constexpr float e = 1e-4f;
    return std::fabs(a.x - b.x) < e && std::fabs(a.y - b.y) < e && std::fabs(a.s - b.s) < e &&
           std::fabs(a.t - b.t) < e;
}

// Glyph quads in drawing order. Mesa reports each quad as two triangles that share their
// diagonal. Clipping at the window's edges keeps the shared part of the diagonal in both
// pieces (each of which may be split into triangles again) or leaves one piece alone, so
// polygons that share two vertices, directly or through others, belong to one glyph.
inline std::vector<GlyphQuad> QuadsOf(const std::vector<FeedbackPrimitive>& all) {
    const std::vector<FeedbackPrimitive> polygons = OfToken(all, GL_POLYGON_TOKEN);
    EXPECT_EQ(polygons.size(), all.size()) << "text is drawn as polygons only";
    auto connected = [](const std::vector<FeedbackVertex>& a,
                        const std::vector<FeedbackVertex>& b) {
        int shared = 0;
        for (const FeedbackVertex& u : a) {
            for (const FeedbackVertex& v : b) {
                if (SameVertex(u, v)) {
                    ++shared;
                    break;
                }
            }
        }
        return shared >= 2;
    };
    // Groups of polygon vertices; a glyph's pieces follow each other, so only the last few
    // groups can take a new polygon.
    std::vector<std::vector<FeedbackVertex>> groups;
    constexpr size_t kRecent = 4;
    for (const FeedbackPrimitive& polygon : polygons) {
        std::vector<FeedbackVertex> merged = polygon.vertices;
        size_t first = groups.size();
        for (size_t g = groups.size() > kRecent ? groups.size() - kRecent : 0; g < groups.size();) {
            if (connected(polygon.vertices, groups[g])) {
                merged.insert(merged.begin(), groups[g].begin(), groups[g].end());
                groups.erase(groups.begin() + static_cast<long>(g));
                first = std::min(first, g);
            } else {
                ++g;
            }
        }
        groups.insert(groups.begin() + static_cast<long>(std::min(first, groups.size())),
                      std::move(merged));
    }
    std::vector<GlyphQuad> quads;
    for (const auto& vertices : groups) {
        GlyphQuad q{1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f, vertices};
        for (const FeedbackVertex& v : vertices) {
            q.left = std::min(q.left, v.x);
            q.right = std::max(q.right, v.x);
            q.bottom = std::min(q.bottom, v.y);
            q.top = std::max(q.top, v.y);
            q.sMin = std::min(q.sMin, v.s);
            q.sMax = std::max(q.sMax, v.s);
            q.tMin = std::min(q.tMin, v.t);
            q.tMax = std::max(q.tMax, v.t);
        }
        quads.push_back(q);
    }
    return quads;
}

inline std::vector<GlyphQuad> CaptureQuads(const std::function<void()>& draw) {
    return QuadsOf(CaptureFeedback(draw));
}

// The character byte whose cell a quad shows, read from its left s and its upper t (the
// edge that stays inside the window when a line is cut off at the bottom). Cells repeat
// every 1.0 in t, so the byte is one of 32 to 159.
inline unsigned char ByteOfQuad(const GlyphQuad& q) {
    const int column = static_cast<int>(std::lround(q.sMin / 0.0625));
    const double upper = q.tMax - std::floor(q.tMax);  // the row's upper t, in (0, 1]
    int row = static_cast<int>(std::lround((0.99 - upper) / 0.125));
    row = ((row % 8) + 8) % 8;
    return static_cast<unsigned char>(32 + row * 16 + column);
}

// The visible text of one line: each quad's byte placed by its left edge, with pen
// position x0 and a whole-pixel advance; the cells no quad starts at read as spaces.
inline std::string DecodeLine(const std::vector<GlyphQuad>& quads, int x0, int advance) {
    std::string text;
    for (const GlyphQuad& q : quads) {
        const long index = std::lround((q.left - x0) / advance);
        EXPECT_GE(index, 0) << "a glyph left of the line's start";
        EXPECT_NEAR(q.left, x0 + index * advance, 1e-3) << "glyph off the pen grid";
        if (index < 0) {
            continue;
        }
        if (text.size() <= static_cast<size_t>(index)) {
            text.resize(static_cast<size_t>(index) + 1, ' ');
        }
        text[static_cast<size_t>(index)] = static_cast<char>(ByteOfQuad(q));
    }
    return text;
}
