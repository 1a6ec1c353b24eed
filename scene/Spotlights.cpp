// The spotlights: one-time lighting set-up, the per-frame colours and placement of each
// light from its five channels, and the small sprite that marks a light's position.
#include "scene/Spotlights.h"

#include <GL/gl.h>

#include "scene/ChannelBank.h"

namespace {
constexpr GLenum kLightNames[kMaxLights] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                            GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
constexpr int kFirstLightChannel = 20;
constexpr int kChannelsPerLight = 5;
// Lights whose five channels exist in the bank; lights beyond them have nothing to drive them.
constexpr int kDrivenLights = (kChannelCount - kFirstLightChannel) / kChannelsPerLight;
static_assert(kDrivenLights <= kMaxLights, "every driven light has a name");

constexpr float kSpotExponent = 30.0f;
constexpr float kSpotCutoff = 30.0f;  // degrees
constexpr GLfloat kLightOrigin[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat kTowardOrigin[3] = {0.0f, 0.0f, -1.0f};
constexpr float kSpriteHalfSize = 0.1f;

int ClampCount(int count, int most) {
    if (count < 0) {
        return 0;
    }
    return count > most ? most : count;
}

int BaseChannel(int light) {
    return kFirstLightChannel + kChannelsPerLight * light;
}

double PlacementAngle(int channel) {
    return ChannelWave(channel, 5.0, 720.0, 0.0);
}

// Turns about Y, then about X, and steps out to the light's position on the new Z axis.
void MoveToLight(int light, float distance) {
    const int base = BaseChannel(light);
    glRotated(PlacementAngle(base + 3), 0.0, 1.0, 0.0);
    glRotated(PlacementAngle(base + 4), 1.0, 0.0, 0.0);
    glTranslated(0.0, 0.0, static_cast<double>(distance));
}
}  // namespace

void SetupSpotlights(int count, float ambientLevel, float specularLevel) {
    const GLfloat ambient[4] = {ambientLevel, ambientLevel, ambientLevel, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const GLfloat specular[4] = {specularLevel, specularLevel, specularLevel, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);

    count = ClampCount(count, kMaxLights);
    for (int light = 0; light < count; ++light) {
        glLightf(kLightNames[light], GL_SPOT_EXPONENT, kSpotExponent);
        glLightf(kLightNames[light], GL_SPOT_CUTOFF, kSpotCutoff);
        glEnable(kLightNames[light]);
    }
}

void UpdateSpotlights(int count, float ambientScale, float diffuseScale, float specularScale,
                      float intensity, float distance) {
    const int lights = ClampCount(count, kDrivenLights);
    for (int light = 0; light < lights; ++light) {
        const int base = BaseChannel(light);
        GLfloat ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        GLfloat diffuse[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        GLfloat specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        for (int k = 0; k < 3; ++k) {
            if (count == 1) {
                // A single light is plain grey.
                ambient[k] = ambientScale * intensity;
                diffuse[k] = diffuseScale * intensity;
                specular[k] = specularScale * intensity;
            } else {
                // One weight for all three terms, so they share the light's hue.
                const double w = ChannelWave(base + k, 30.0, 0.5, 0.5);
                ambient[k] = static_cast<float>(w * ambientScale * intensity);
                diffuse[k] = static_cast<float>(w * diffuseScale * intensity);
                specular[k] = static_cast<float>(w * specularScale * intensity);
            }
        }
        if (light == 0) {
            glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        }
        const GLenum name = kLightNames[light];
        glLightfv(name, GL_AMBIENT, ambient);
        glLightfv(name, GL_DIFFUSE, diffuse);
        glLightfv(name, GL_SPECULAR, specular);

        // OpenGL takes the position and direction through the model-view matrix of the caller.
        glPushMatrix();
        {
            MoveToLight(light, distance);
            glLightfv(name, GL_POSITION, kLightOrigin);
            glLightfv(name, GL_SPOT_DIRECTION, kTowardOrigin);
        }
        glPopMatrix();
    }
}

void DrawLightSprite(int light, float distance) {
    if (light < 0 || light >= kDrivenLights) {
        return;  // no channels place such a light
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glPushMatrix();
    {
        MoveToLight(light, distance);
        glBegin(GL_QUADS);
        {
            glTexCoord2f(0.0f, 0.0f);
            glVertex3f(-kSpriteHalfSize, -kSpriteHalfSize, 0.0f);
            glTexCoord2f(0.0f, 1.0f);
            glVertex3f(-kSpriteHalfSize, kSpriteHalfSize, 0.0f);
            glTexCoord2f(1.0f, 1.0f);
            glVertex3f(kSpriteHalfSize, kSpriteHalfSize, 0.0f);
            glTexCoord2f(1.0f, 0.0f);
            glVertex3f(kSpriteHalfSize, -kSpriteHalfSize, 0.0f);
        }
        glEnd();
    }
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}
