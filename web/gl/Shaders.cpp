// The shaders' sources. The lighting is OpenGL 1.1's equation per vertex, term by term:
//   colour = emission + ambient(material) × ambient(model)
//          + Σ lights: attenuation × spot × (ambient(light) × ambient(material)
//                      + max(n·VP, 0) × diffuse(light) × diffuse(material)
//                      + [n·VP > 0] × max(n·h, 0)^shininess × specular(light) × specular(material))
// with alpha from the diffuse material, clamped to [0, 1]. Points are squares of the point
// size, smooth or not: Mesa's software renderer, which drew the reference pictures, draws
// smooth points that way too (whole squares at full alpha).
#include "web/gl/Shaders.h"

namespace tavikgl {

const char* const kVertexShader = R"(#version 100
attribute vec4 aPosition;
attribute vec4 aColour;
attribute vec3 aNormal;
attribute vec2 aTexCoord;

uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec4 uTorus;     // x: 1 when aPosition holds a torus vertex's angles; y, z: radii
uniform float uPointSize;  // 0 when not drawing points
uniform bool uLighting;
uniform bool uNormalize;
uniform bool uLocalViewer;
uniform vec4 uColourMaterial;  // 1 where the colour stands for ambient, diffuse, specular, emission
uniform vec4 uModelAmbient;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialSpecular;
uniform vec4 uMaterialEmission;
uniform float uShininess;
uniform int uLightCount;  // the lights that are on, first in the arrays below
uniform vec4 uLightAmbient[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightPosition[8];     // eye coordinates
uniform vec4 uLightSpot[8];         // unit direction; w: cosine of the cut-off, -2 for none
uniform vec4 uLightAttenuation[8];  // constant, linear, quadratic; w: spot exponent

varying vec4 vColour;
varying vec2 vTexCoord;

vec4 Lit(vec3 V, vec3 n, vec4 colour) {
    vec4 ambient = mix(uMaterialAmbient, colour, uColourMaterial.x);
    vec4 diffuse = mix(uMaterialDiffuse, colour, uColourMaterial.y);
    vec4 specular = mix(uMaterialSpecular, colour, uColourMaterial.z);
    vec4 emission = mix(uMaterialEmission, colour, uColourMaterial.w);
    vec4 sum = emission + ambient * uModelAmbient;
    // Toward the eye: from the vertex for a local viewer, else along +z.
    vec3 toEye = uLocalViewer ? -normalize(V) : vec3(0.0, 0.0, 1.0);
    for (int i = 0; i < 8; ++i) {
        if (i >= uLightCount) {
            break;
        }
        vec4 P = uLightPosition[i];
        vec3 VP;
        float attenuation = 1.0;
        if (P.w != 0.0) {
            VP = P.xyz - V;
            float d = length(VP);
            VP /= d;
            vec3 k = uLightAttenuation[i].xyz;
            attenuation = 1.0 / (k.x + k.y * d + k.z * d * d);
        } else {
            VP = normalize(P.xyz);
        }
        if (uLightSpot[i].w >= -1.0) {
            float spot = dot(-VP, uLightSpot[i].xyz);
            attenuation *= spot > uLightSpot[i].w ? pow(spot, uLightAttenuation[i].w) : 0.0;
        }
        float nDotVP = dot(n, VP);
        vec3 h = normalize(VP + toEye);
        vec4 term = uLightAmbient[i] * ambient + max(nDotVP, 0.0) * uLightDiffuse[i] * diffuse;
        if (nDotVP > 0.0) {
            float f = uShininess == 0.0 ? 1.0 : pow(max(dot(n, h), 0.0), uShininess);
            term += f * uLightSpecular[i] * specular;
        }
        sum += attenuation * term;
    }
    sum.a = diffuse.a;
    return clamp(sum, 0.0, 1.0);
}

void main() {
    vec4 position = aPosition;
    vec3 normal = aNormal;
    if (uTorus.x > 0.5) {
        float ring = uTorus.z + aPosition.z * uTorus.y;
        position = vec4(aPosition.x * ring, aPosition.y * ring, aPosition.w * uTorus.y, 1.0);
        normal = vec3(aPosition.x * aPosition.z, aPosition.y * aPosition.z, aPosition.w);
    }
    vec4 eye = uModelView * position;
    gl_Position = uProjection * eye;
    if (uLighting) {
        vec3 n = uNormalMatrix * normal;
        if (uNormalize) {
            n = normalize(n);
        }
        vColour = Lit(eye.xyz, n, aColour);
    } else {
        vColour = clamp(aColour, 0.0, 1.0);
    }
    vTexCoord = aTexCoord;
    gl_PointSize = max(uPointSize, 1.0);
    // OpenGL drops a point whose centre is outside the view volume; WebGL may still draw the
    // part of a wide one that reaches into the viewport.
    if (uPointSize > 0.0 && (abs(gl_Position.x) > gl_Position.w || abs(gl_Position.y) > gl_Position.w)) {
        gl_Position = vec4(0.0, 0.0, 2.0, 1.0);
    }
}
)";

const char* const kFragmentShader = R"(#version 100
precision highp float;
uniform sampler2D uTexture;
uniform bool uTexturing;

varying vec4 vColour;
varying vec2 vTexCoord;

void main() {
    vec4 colour = vColour;
    if (uTexturing) {
        colour *= texture2D(uTexture, vTexCoord);  // the texture environment GL_MODULATE
    }
    gl_FragColor = colour;
}
)";

}  // namespace tavikgl
