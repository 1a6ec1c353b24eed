// Switching one context between the layer's shaders and Mesa's fixed function.
#define GL_GLEXT_PROTOTYPES 1  // Required for: glUseProgram, glBindBuffer and the attribute calls
#include <GL/gl.h>
#include <GL/glext.h>

#include "tests/web/gl/LayerTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/GlTestSupport.h"  // ReadPixels
#include "web/gl/Core.h"

void WithLayer(const std::function<void()>& draw) {
    tavikgl::ResetState();
    draw();
    glUseProgram(0);
    for (GLuint attribute = 0; attribute < 4; ++attribute) {
        glDisableVertexAttribArray(attribute);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    // The fixed state the layer sets in the context, back to the fixture's.
    for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_CULL_FACE, GL_SCISSOR_TEST}) {
        glDisable(cap);
    }
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glBlendFunc(GL_ONE, GL_ZERO);
    glViewport(0, 0, 640, 480);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

std::vector<Rgb> DrawAndRead(const std::function<void()>& draw) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    return ReadPixels(0, 0, 640, 480);
}

PixelDifference Compare(const std::vector<Rgb>& a, const std::vector<Rgb>& b, int allowance) {
    PixelDifference result;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int d = std::max(
            {std::abs(a[i].r - b[i].r), std::abs(a[i].g - b[i].g), std::abs(a[i].b - b[i].b)});
        result.largest = std::max(result.largest, d);
        result.differing += d > allowance;
    }
    return result;
}

void KeepPictures(const std::string& name, const std::vector<Rgb>& mesa,
                  const std::vector<Rgb>& layer) {
    for (const auto& [suffix, pixels] : {std::pair{"-mesa.png", &mesa}, {"-layer.png", &layer}}) {
        Picture picture(640, 480);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                picture.At(x, 479 - y) = (*pixels)[static_cast<size_t>(y) * 640 + x];
            }
        }
        std::string error;
        WritePng(std::string(TAVIK_BUILD_DIR) + "/" + name + suffix, picture, &error);
    }
}
