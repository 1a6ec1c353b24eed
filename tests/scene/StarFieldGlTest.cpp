// The star field in the real context: the display list replayed in feedback mode and turned
// back into object coordinates, the list's life cycle, and Draw's three passes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/Random.h"
#include "scene/StarField.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

struct Star {
    double x, y, z;
    float r, g, b;
};

// An orthographic projection over [-half, half] on every axis, so that window coordinates of
// the feedback can be turned back into object coordinates.
void UseCubeProjection(double half) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -half, half);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<Star> Replay(const std::function<void()>& draw, double half) {
    std::vector<Star> stars;
    for (const FeedbackPrimitive& p : OfToken(CaptureFeedback(draw), GL_POINT_TOKEN)) {
        const FeedbackVertex& v = p.vertices[0];
        // Window depth 0 is the near plane at z = +half.
        stars.push_back(Star{v.x / 640.0 * 2.0 * half - half, v.y / 480.0 * 2.0 * half - half,
                             half * (1.0 - 2.0 * v.z), v.r, v.g, v.b});
    }
    return stars;
}

std::vector<Star> ReplayList(const StarField& field) {
    UseCubeProjection(5.0);
    const GLuint list = static_cast<GLuint>(field.ListId());
    return Replay([list] { glCallList(list); }, 5.0);
}

double Largest(const Star& s) {
    return std::fmax(std::fabs(s.x), std::fmax(std::fabs(s.y), std::fabs(s.z)));
}
double Radius(const Star& s) {
    return std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
}

bool SameStars(const std::vector<Star>& a, const std::vector<Star>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const Star& p, const Star& q) {
               return p.x == q.x && p.y == q.y && p.z == q.z && p.r == q.r && p.g == q.g &&
                      p.b == q.b;
           });
}
}  // namespace

class StarFieldGlTest : public GlTest {
protected:
    void TearDown() override {
        field.Release();
        GlTest::TearDown();
    }
    StarField field;
};

// Where each star of the program's sky lies and its colour are pinned by the golden
// pictures; here the rules any seed's sky keeps.
TEST_F(StarFieldGlTest, CubeShellSkiesFollowTheSeedAndLeaveTheCoreEmpty) {
    Random::srand(0);
    field.Build(1650, 5.0f, 1.5f, kStarCubeShell);
    const std::vector<Star> first = ReplayList(field);
    ASSERT_EQ(first.size(), 1650u);
    int tinted = 0;  // stars with a component below the pale stars' 0.5
    for (const Star& s : first) {
        ASSERT_GE(Largest(s), 1.51 - 1e-4) << "a star inside the empty core";
        ASSERT_LE(Largest(s), 5.0 + 1e-4);
        for (const float c : {s.r, s.g, s.b}) {
            ASSERT_TRUE(c >= 0.3f && c < 0.8f) << c;
        }
        tinted += std::min({s.r, s.g, s.b}) < 0.5f;
    }
    // One star in ten is tinted, and 1 - 0.6^3 of those have a component below 0.5.
    EXPECT_GT(tinted, 80);
    EXPECT_LT(tinted, 180);

    Random::srand(0);
    field.Build(1650, 5.0f, 1.5f, kStarCubeShell);
    EXPECT_TRUE(SameStars(ReplayList(field), first)) << "the same seed, the same sky";
    Random::srand(1);
    field.Build(1650, 5.0f, 1.5f, kStarCubeShell);
    EXPECT_FALSE(SameStars(ReplayList(field), first)) << "another seed, another sky";

    // A thin shell: every star keeps 0.01 clear of the inner cube.
    field.Build(500, 1.03f, 1.0f, kStarCubeShell);
    for (const Star& s : ReplayList(field)) {
        ASSERT_GE(Largest(s), 1.01 - 1e-4);
    }
}

TEST_F(StarFieldGlTest, SphericalShells) {
    // Shape 2 is the upper half of the shell; any shape but 1 and 2 the whole shell.
    for (int shape : {int{kStarUpperSphereShell}, int{kStarSphereShell}, 0, 7}) {
        Random::srand(11);
        field.Build(800, 5.0f, 1.5f, shape);
        const std::vector<Star> stars = ReplayList(field);
        ASSERT_EQ(stars.size(), 800u) << "shape " << shape;
        int below = 0;
        for (const Star& s : stars) {
            EXPECT_GE(Radius(s), 1.5 - 1e-3) << "shape " << shape;
            EXPECT_LE(Radius(s), 5.0 + 1e-3) << "shape " << shape;
            below += s.y < -1e-4 ? 1 : 0;
        }
        if (shape == kStarUpperSphereShell) {
            EXPECT_EQ(below, 0);
        } else {
            EXPECT_GT(below, 300) << "shape " << shape;
            EXPECT_LT(below, 500) << "shape " << shape;
        }
    }
    EXPECT_NO_GL_ERROR();
}

TEST_F(StarFieldGlTest, ListLifeCycle) {
    EXPECT_EQ(field.ListId(), -1);
    UseCubeProjection(9.0);
    EXPECT_TRUE(Replay([this] { field.Draw(); }, 9.0).empty()) << "no list draws nothing";

    field.Build(10, 5.0f, 1.5f, kStarCubeShell);
    const GLuint firstList = static_cast<GLuint>(field.ListId());
    EXPECT_TRUE(glIsList(firstList));
    // Keep the first name's replacement from reusing it, so a leak would show.
    const GLuint spare = glGenLists(1);
    field.Build(20, 5.0f, 1.5f, kStarCubeShell);
    const GLuint secondList = static_cast<GLuint>(field.ListId());
    EXPECT_NE(secondList, firstList);
    EXPECT_FALSE(glIsList(firstList)) << "the first list is deleted";
    EXPECT_TRUE(glIsList(secondList));
    EXPECT_EQ(ReplayList(field).size(), 20u);
    glDeleteLists(spare, 1);

    field.Release();
    field.Release();
    EXPECT_EQ(field.ListId(), -1);
    EXPECT_FALSE(glIsList(secondList));

    // No stars (or a negative count) still leaves an empty list held.
    for (int count : {0, -5}) {
        field.Build(count, 5.0f, 1.5f, kStarCubeShell);
        EXPECT_NE(field.ListId(), -1) << "count " << count;
        EXPECT_TRUE(glIsList(static_cast<GLuint>(field.ListId()))) << "count " << count;
        EXPECT_TRUE(ReplayList(field).empty()) << "count " << count;
    }
    EXPECT_NO_GL_ERROR();
}

TEST_F(StarFieldGlTest, RadiiWithoutRoomForAStarStopTheBuild) {
    // Each case would reject every candidate. The build gives up on its first star after
    // 10000 candidates of three draws each, and holds an empty list.
    const struct {
        float outer, inner;
        int shape;
    } cases[] = {{1.0f, 2.0f, kStarCubeShell},
                 {1.0f, 0.995f, kStarCubeShell},
                 {1.0f, 2.0f, kStarSphereShell},
                 {-1.0f, 0.0f, kStarUpperSphereShell}};
    for (const auto& c : cases) {
        Random::srand(5);
        field.Build(1650, c.outer, c.inner, c.shape);
        EXPECT_TRUE(glIsList(static_cast<GLuint>(field.ListId())));
        EXPECT_TRUE(ReplayList(field).empty()) << "outer " << c.outer << ", inner " << c.inner;
        const uint32_t after = Random::State();
        Random::srand(5);
        for (int draw = 0; draw < 3 * 10000; ++draw) {
            RandomRange(1.0);
        }
        EXPECT_EQ(after, Random::State()) << "outer " << c.outer << ", inner " << c.inner;
    }
    EXPECT_NO_GL_ERROR();
}

TEST_F(StarFieldGlTest, DrawReplaysTheListThreeTimesTurned) {
    Random::srand(0);
    field.Build(1650, 5.0f, 1.5f, kStarCubeShell);
    const std::vector<Star> stars = ReplayList(field);
    ASSERT_EQ(stars.size(), 1650u);

    // A wider box: turned stars reach 5 * sqrt(3) from the centre.
    UseCubeProjection(9.0);
    GLdouble before[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, before);
    const std::vector<Star> drawn = Replay([this] { field.Draw(); }, 9.0);
    ASSERT_EQ(drawn.size(), 3u * 1650u);

    const double a = 200.0 * kPi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    for (size_t i = 0; i < stars.size(); ++i) {
        const Star& p = stars[i];
        ASSERT_NEAR(drawn[i].x, p.x, 1e-3) << "first pass, star " << i;
        ASSERT_NEAR(drawn[i].z, p.z, 1e-3) << "first pass, star " << i;
        // Second pass: 200 degrees about Y.
        const Star& q = drawn[1650 + i];
        ASSERT_NEAR(q.x, c * p.x + s * p.z, 1e-3) << "second pass, star " << i;
        ASSERT_NEAR(q.y, p.y, 1e-3) << "second pass, star " << i;
        ASSERT_NEAR(q.z, -s * p.x + c * p.z, 1e-3) << "second pass, star " << i;
        // Third pass: 200 degrees about Z on top of the turn about Y.
        const double zx = c * p.x - s * p.y, zy = s * p.x + c * p.y;
        const Star& r = drawn[3300 + i];
        ASSERT_NEAR(r.x, c * zx + s * p.z, 1e-3) << "third pass, star " << i;
        ASSERT_NEAR(r.y, zy, 1e-3) << "third pass, star " << i;
        ASSERT_NEAR(r.z, -s * zx + c * p.z, 1e-3) << "third pass, star " << i;
    }

    GLfloat size = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_FLOAT_EQ(size, 3.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLdouble after[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(after, after + 16, before)) << "the model-view matrix is restored";
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], stars.back().r) << "the last star's colour stays current";
    EXPECT_FLOAT_EQ(colour[2], stars.back().b);
    EXPECT_NO_GL_ERROR();
}
