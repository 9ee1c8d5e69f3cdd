// Surface and light models: the standard shaders reduced to what a
// preview needs, evaluated at a point with a normal.
#ifndef VELLUM_PREVIEW_SHADING_SHADING_H
#define VELLUM_PREVIEW_SHADING_SHADING_H

#include <vector>

#include "preview/math/vec_math.h"

namespace vellum::preview {

struct SurfaceModel {
  enum Kind { kDefault, kConstant, kMatte, kPlastic, kMetal };
  Kind kind = kDefault;
  float Ka = 1, Kd = 1, Ks = 0, roughness = 0.1f;
  Vec3 specularColor{1, 1, 1};
};

// A light in camera space; `color` is intensity × lightcolor.
struct Light {
  enum Kind { kAmbient, kDistant, kPoint, kSpot };
  Kind kind = kDistant;
  Vec3 color{1, 1, 1};
  Vec3 from;            // point and spot lights
  Vec3 direction;       // distant and spot lights: unit, from the light
  float cosOuter = 0, cosInner = 0, beamDistribution = 2;  // spot lights
};

// A shaded point's colour is Os · (Cs · scale + offset), so that lighting
// can be shared by corners whose Cs differ.
struct Lighting {
  Vec3 scale;
  Vec3 offset;
};

// `normal` is unit and turned toward the eye; `toEye` is unit.
Lighting shade(const SurfaceModel &surface, const std::vector<Light> &lights, Vec3 position,
               Vec3 normal, Vec3 toEye);

}  // namespace vellum::preview

#endif
