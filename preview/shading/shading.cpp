#include "preview/shading/shading.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

float smoothStep(float lo, float hi, float x) {
  if (!(hi > lo)) return x >= hi ? 1.0f : 0.0f;
  const float t = std::clamp((x - lo) / (hi - lo), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// The light arriving at `position`, and the unit direction toward the
// light; false when none arrives.
bool arriving(const Light &light, Vec3 position, Vec3 &color, Vec3 &toLight) {
  if (light.kind == Light::kDistant) {
    color = light.color;
    toLight = -light.direction;
    return true;
  }
  const Vec3 offset = light.from - position;
  const float distance2 = dot(offset, offset);
  if (!(distance2 > 1e-20f)) return false;
  toLight = offset * (1 / std::sqrt(distance2));
  float falloff = 1 / distance2;
  if (light.kind == Light::kSpot) {
    const float cosAngle = -dot(toLight, light.direction);
    if (cosAngle <= light.cosOuter) return false;
    falloff *= std::pow(std::max(cosAngle, 0.0f), light.beamDistribution) *
               smoothStep(light.cosOuter, light.cosInner, cosAngle);
  }
  color = light.color * falloff;
  return true;
}

}  // namespace

Lighting shade(const SurfaceModel &surface, const std::vector<Light> &lights, Vec3 position,
               Vec3 normal, Vec3 toEye) {
  if (surface.kind == SurfaceModel::kConstant) return {{1, 1, 1}, {}};
  if (surface.kind == SurfaceModel::kDefault) {
    // Facing ratio, squared, over a little ambient.
    const float facing = std::max(0.0f, dot(normal, toEye));
    const float v = surface.Ka + surface.Kd * facing * facing;
    return {{v, v, v}, {}};
  }
  Vec3 ambient, diffuse, specular;
  // The standard specular(): the half-angle term to 1/roughness in the
  // shading language's own scale, which is 8/roughness on the cosine.
  const float exponent = 8 / std::max(surface.roughness, 1e-3f);
  for (const Light &light : lights) {
    if (light.kind == Light::kAmbient) {
      ambient = ambient + light.color;
      continue;
    }
    Vec3 color, toLight;
    if (!arriving(light, position, color, toLight)) continue;
    const float cosine = dot(normal, toLight);
    if (cosine <= 0) continue;
    diffuse = diffuse + color * cosine;
    if (surface.kind != SurfaceModel::kMatte) {
      const float half = dot(normal, normalize(toLight + toEye));
      if (half > 0) specular = specular + color * std::pow(half, exponent);
    }
  }
  switch (surface.kind) {
    case SurfaceModel::kMatte: return {ambient * surface.Ka + diffuse * surface.Kd, {}};
    case SurfaceModel::kMetal: return {ambient * surface.Ka + specular * surface.Ks, {}};
    default:
      return {ambient * surface.Ka + diffuse * surface.Kd,
              mul(surface.specularColor, specular) * surface.Ks};
  }
}

}  // namespace vellum::preview
