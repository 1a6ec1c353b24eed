// NaN and infinity checks of OpenGL state and of feedback-mode vertices.
#include "tests/hardening/FiniteGlState.h"

#include <cmath>

namespace {
bool AllFinite(const std::vector<GLfloat>& values) {
    for (GLfloat v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

std::string Listed(const std::vector<GLfloat>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        text += (i ? " " : "") + std::to_string(values[i]);
    }
    return text;
}

void ExpectFinite(const std::string& where, const std::string& what,
                  const std::vector<GLfloat>& values) {
    EXPECT_TRUE(AllFinite(values)) << where << ": " << what << " holds " << Listed(values);
}

std::vector<GLfloat> Floats(GLenum pname, size_t count) {
    std::vector<GLfloat> values(count);
    glGetFloatv(pname, values.data());
    return values;
}
}  // namespace

void ExpectFiniteGlState(const std::string& where) {
    ExpectFinite(where, "model-view matrix", Floats(GL_MODELVIEW_MATRIX, 16));
    ExpectFinite(where, "projection matrix", Floats(GL_PROJECTION_MATRIX, 16));
    ExpectFinite(where, "global ambient", Floats(GL_LIGHT_MODEL_AMBIENT, 4));
    ExpectFinite(where, "current colour", Floats(GL_CURRENT_COLOR, 4));
    ExpectFinite(where, "current normal", Floats(GL_CURRENT_NORMAL, 3));
    ExpectFinite(where, "point size", Floats(GL_POINT_SIZE, 1));
    const struct {
        const char* what;
        GLenum pname;
        size_t count;
    } fields[] = {{"position", GL_POSITION, 4},
                  {"spot direction", GL_SPOT_DIRECTION, 3},
                  {"ambient", GL_AMBIENT, 4},
                  {"diffuse", GL_DIFFUSE, 4},
                  {"specular", GL_SPECULAR, 4}};
    for (int light = 0; light < 2; ++light) {
        for (const auto& field : fields) {
            std::vector<GLfloat> values(4);
            glGetLightfv(GL_LIGHT0 + light, field.pname, values.data());
            values.resize(field.count);
            ExpectFinite(where, "light " + std::to_string(light) + " " + field.what, values);
        }
    }
    for (const GLenum pname : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        std::vector<GLfloat> values(4);
        glGetMaterialfv(GL_FRONT, pname, values.data());
        ExpectFinite(where, "material", values);
    }
}

size_t ExpectFiniteFeedback(const std::vector<FeedbackPrimitive>& primitives,
                            const std::string& where) {
    int reported = 0;
    for (const FeedbackPrimitive& p : primitives) {
        for (const FeedbackVertex& v : p.vertices) {
            const std::vector<GLfloat> fields = {v.x, v.y, v.z, v.r, v.g, v.b,
                                                 v.a, v.s, v.t, v.p, v.q};
            if (!AllFinite(fields) && reported++ < 3) {
                ADD_FAILURE() << where << ": a vertex of primitive " << p.token << " holds "
                              << Listed(fields);
            }
        }
    }
    return primitives.size();
}
