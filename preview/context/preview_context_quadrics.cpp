// The seven quadrics, swept about z through thetamax degrees.
#include <algorithm>
#include <cmath>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/grid_surface.h"

namespace vellum::preview {

namespace {

constexpr float kRadians = 3.14159265358979f / 180;

// A quadric's "Cs" or "Os": four values (varying, vertex, facevarying) at
// its parametric corners, or one.
CornerColors quadricColors(const ColorParam &param) {
  if (!param.present()) return {};
  CornerColors colors{true, {}};
  const bool corners = param.storageClass != kClassConstant && param.storageClass != kClassUniform;
  for (int k = 0; k < 4; ++k) colors.corner[k] = param.at(corners ? k : 0);
  return colors;
}

Vec3 swept(float radius, float z, float theta) { return {radius * std::cos(theta), radius * std::sin(theta), z}; }

}  // namespace

void PreviewContext::quadric(const std::function<Vec3(float u, float v)> &eval, float thetamax, int nv, RtInt n,
                             RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry()) return;
  if (!std::isfinite(thetamax) || thetamax == 0) return;
  const PrimitiveCounts counts = quadricCounts();
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  noteUndeclared(parameters);
  // Enough segments that a full turn is within a pixel at preview sizes.
  const int nu = std::max(3, int(std::ceil(64 * std::min(std::fabs(thetamax), 360.0f) / 360)));
  Mesh mesh;
  appendGrid(mesh, nu, nv, eval, quadricColors(colorParam(parameters, "Cs")), quadricColors(colorParam(parameters, "Os")));
  emit(std::move(mesh));
}

RtVoid PreviewContext::SphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                               RtToken tokens[], RtPointer parms[]) {
  const float r = std::fabs(radius);
  if (!(r > 0) || !std::isfinite(r)) return;
  const float phiMin = std::asin(std::clamp(std::min(zmin, zmax) / r, -1.0f, 1.0f));
  const float phiMax = std::asin(std::clamp(std::max(zmin, zmax) / r, -1.0f, 1.0f));
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) {
    const float phi = phiMin + v * (phiMax - phiMin);
    return swept(radius * std::cos(phi), radius * std::sin(phi), u * theta);
  }, thetamax, 32, n, tokens, parms);
}

RtVoid PreviewContext::ConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
                             RtPointer parms[]) {
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) { return swept(radius * (1 - v), v * height, u * theta); }, thetamax, 8, n, tokens,
          parms);
}

RtVoid PreviewContext::CylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                                 RtToken tokens[], RtPointer parms[]) {
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) { return swept(radius, zmin + v * (zmax - zmin), u * theta); }, thetamax, 4, n,
          tokens, parms);
}

RtVoid PreviewContext::DiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
                             RtPointer parms[]) {
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) { return swept(radius * (1 - v), height, u * theta); }, thetamax, 2, n, tokens,
          parms);
}

RtVoid PreviewContext::HyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n, RtToken tokens[],
                                    RtPointer parms[]) {
  if (point1 == nullptr || point2 == nullptr) return;
  const Vec3 a{point1[0], point1[1], point1[2]}, b{point2[0], point2[1], point2[2]};
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) {
    const Vec3 p = a + (b - a) * v;
    const float c = std::cos(u * theta), s = std::sin(u * theta);
    return Vec3{p.x * c - p.y * s, p.x * s + p.y * c, p.z};
  }, thetamax, 16, n, tokens, parms);
}

RtVoid PreviewContext::ParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                                   RtToken tokens[], RtPointer parms[]) {
  if (!(zmax != 0)) return;
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) {
    const float z = zmin + v * (zmax - zmin);
    return swept(rmax * std::sqrt(std::max(0.0f, z / zmax)), z, u * theta);
  }, thetamax, 16, n, tokens, parms);
}

RtVoid PreviewContext::TorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
                              RtFloat thetamax, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const float theta = std::clamp(thetamax, -360.0f, 360.0f) * kRadians;
  const float phi0 = std::clamp(phimin, -360.0f, 360.0f) * kRadians, phi1 = std::clamp(phimax, -360.0f, 360.0f) * kRadians;
  quadric([=](float u, float v) {
    const float phi = phi0 + v * (phi1 - phi0);
    return swept(majorradius + minorradius * std::cos(phi), minorradius * std::sin(phi), u * theta);
  }, thetamax, 32, n, tokens, parms);
}

}  // namespace vellum::preview
