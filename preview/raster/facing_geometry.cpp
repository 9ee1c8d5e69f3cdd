#include "preview/raster/facing_geometry.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

constexpr int kDiscSides = 12;

void addColor(std::vector<float> &out, Vec3 c) { out.insert(out.end(), {c.x, c.y, c.z}); }

// Two unit vectors across the view direction at p.
void across(Vec3 view, Vec3 &e1, Vec3 &e2) {
  const Vec3 d = normalize(view);
  const Vec3 up = std::fabs(d.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
  e1 = normalize(cross(up, d));
  e2 = cross(d, e1);
}

}  // namespace

Mesh expandFacing(const FacingGeometry &g, const Mat4 &toCamera, const Projection &projection) {
  Mesh mesh;
  // Widths are in object space; a uniform scale of the transform applies.
  const float scale = float(std::cbrt(std::fabs(determinant3(toCamera))));
  std::vector<Vec3> centres(g.centres.size());
  for (size_t i = 0; i < centres.size(); ++i) centres[i] = transformPoint(toCamera, g.centres[i]);
  mesh.csSource = g.csSource == ColorSource::kPerTriangle ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  mesh.osSource = g.osSource == ColorSource::kPerTriangle ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  const bool csVertex = g.csSource == ColorSource::kPerVertex, osVertex = g.osSource == ColorSource::kPerVertex;

  if (g.discs) {
    for (size_t i = 0; i < centres.size(); ++i) {
      const float radius = 0.5f * g.widths[i] * scale;
      if (!(radius > 0) || !isFinite(centres[i])) continue;
      Vec3 e1, e2;
      across(projection.viewDirection(centres[i]), e1, e2);
      const int32_t base = int32_t(mesh.vertexCount());
      mesh.addVertex(centres[i].x, centres[i].y, centres[i].z);
      for (int k = 0; k < kDiscSides; ++k) {
        const float a = 6.2831853f * float(k) / kDiscSides;
        const Vec3 p = centres[i] + (e1 * std::cos(a) + e2 * std::sin(a)) * radius;
        mesh.addVertex(p.x, p.y, p.z);
        mesh.addTriangle(base, base + 1 + k, base + 1 + (k + 1) % kDiscSides);
      }
      for (int k = 0; k <= kDiscSides; ++k) {
        if (csVertex) addColor(mesh.Cs, g.cs[i]);
        if (osVertex) addColor(mesh.Os, g.os[i]);
      }
    }
    return mesh;
  }

  size_t first = 0;
  for (size_t line = 0; line < g.lineLengths.size(); ++line) {
    const size_t count = g.lineLengths[line];
    const size_t end = first + count;
    for (size_t i = first; i + 1 < end; ++i) {
      // A quad across each segment, its ends turned to face the eye.
      const int32_t base = int32_t(mesh.vertexCount());
      for (size_t k : {i, i + 1}) {
        const Vec3 tangent = centres[std::min(k + 1, end - 1)] - centres[k > first ? k - 1 : k];
        const Vec3 side = normalize(cross(tangent, projection.viewDirection(centres[k]))) * (0.5f * g.widths[k] * scale);
        const Vec3 a = centres[k] - side, b = centres[k] + side;
        mesh.addVertex(a.x, a.y, a.z);
        mesh.addVertex(b.x, b.y, b.z);
        for (int twice = 0; twice < 2; ++twice) {
          if (csVertex) addColor(mesh.Cs, g.cs[k]);
          if (osVertex) addColor(mesh.Os, g.os[k]);
        }
      }
      mesh.addTriangle(base, base + 1, base + 3);
      mesh.addTriangle(base, base + 3, base + 2);
      for (int twice = 0; twice < 2; ++twice) {
        if (g.csSource == ColorSource::kPerTriangle) addColor(mesh.Cs, g.cs[line]);
        if (g.osSource == ColorSource::kPerTriangle) addColor(mesh.Os, g.os[line]);
      }
    }
    first = end;
  }
  return mesh;
}

}  // namespace vellum::preview
