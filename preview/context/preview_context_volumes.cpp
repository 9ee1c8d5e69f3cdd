// Volumes: drawn as the closed surface around the region they fill.  The
// shape is inscribed in the bound: a box is the bound itself; an
// ellipsoid, a cylinder and a cone have their axis along z, an elliptic
// section touching the x and y limits, the cylinder capped at both z
// limits and the cone based at the low z limit with its apex at the high.
// What fills the region (a density, a plug-in's field) is not drawn.
#include <algorithm>
#include <cmath>
#include <string>

#include "preview/preview_context.h"
#include "preview/surfaces/grid_surface.h"

namespace vellum::preview {

namespace {

constexpr float kTurn = 2 * 3.14159265358979f;
constexpr int kAround = 64;  // segments a turn, as the quadrics

struct Region {
  float lo[3], hi[3];
  Vec3 centre() const { return {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2}; }
  // The point at angle theta on the section at height z, shrunk by `scale`.
  Vec3 around(float theta, float z, float scale) const {
    const Vec3 c = centre();
    return {c.x + scale * (hi[0] - lo[0]) / 2 * std::cos(theta), c.y + scale * (hi[1] - lo[1]) / 2 * std::sin(theta), z};
  }
};

void appendBox(Mesh &mesh, const Region &r) {
  const uint32_t first = uint32_t(mesh.vertexCount());
  // Corner k has the high x, y, z where bits 0, 1, 2 of k are set.
  for (int k = 0; k < 8; ++k)
    mesh.addVertex(k & 1 ? r.hi[0] : r.lo[0], k & 2 ? r.hi[1] : r.lo[1], k & 4 ? r.hi[2] : r.lo[2]);
  // Low z, high z, low y, high y, low x, high x: each wound to face out.
  static const int32_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                      {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto &f : faces) {
    mesh.addTriangle(first + f[0], first + f[1], first + f[2]);
    mesh.addTriangle(first + f[0], first + f[2], first + f[3]);
  }
}

// A cap at height z facing +z (or -z when `down`).
void appendCap(Mesh &mesh, const Region &r, float z, bool down) {
  appendGrid(mesh, kAround, 1, [&](float u, float v) { return r.around((down ? -u : u) * kTurn, z, 1 - v); }, {}, {});
}

}  // namespace

RtVoid PreviewContext::VolumeV(RtToken type, RtBound bound, RtInt *, RtInt, RtToken[], RtPointer[]) {
  const std::string shape = type != nullptr ? type : "";
  const bool known = shape == "box" || shape == "ellipsoid" || shape == "cylinder" || shape == "cone";
  if (!known) {
    warnOnce("volume " + shape, "Volume \"" + shape + "\" skipped");
    return;
  }
  if (bound == nullptr || !takesGeometry()) return;
  Region r;
  for (int axis = 0; axis < 3; ++axis) {
    if (!std::isfinite(bound[2 * axis]) || !std::isfinite(bound[2 * axis + 1])) return;
    r.lo[axis] = std::min(bound[2 * axis], bound[2 * axis + 1]);
    r.hi[axis] = std::max(bound[2 * axis], bound[2 * axis + 1]);
  }
  const float zMid = (r.lo[2] + r.hi[2]) / 2, zHalf = (r.hi[2] - r.lo[2]) / 2;
  Mesh mesh;
  if (shape == "box") {
    appendBox(mesh, r);
  } else if (shape == "ellipsoid") {
    appendGrid(mesh, kAround, kAround / 2, [&](float u, float v) {
      const float phi = (v - 0.5f) * kTurn / 2;
      return r.around(u * kTurn, zMid + zHalf * std::sin(phi), std::cos(phi));
    }, {}, {});
  } else if (shape == "cylinder") {
    appendGrid(mesh, kAround, 1, [&](float u, float v) { return r.around(u * kTurn, r.lo[2] + v * 2 * zHalf, 1); }, {},
               {});
    appendCap(mesh, r, r.hi[2], false);
    appendCap(mesh, r, r.lo[2], true);
  } else {
    appendGrid(mesh, kAround, 8, [&](float u, float v) { return r.around(u * kTurn, r.lo[2] + v * 2 * zHalf, 1 - v); },
               {}, {});
    appendCap(mesh, r, r.lo[2], true);
  }
  emit(std::move(mesh));
}

}  // namespace vellum::preview
