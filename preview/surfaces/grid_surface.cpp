#include "preview/surfaces/grid_surface.h"

#include <algorithm>
#include <tuple>

namespace vellum::preview {

void appendGrid(Mesh &mesh, int nu, int nv, const std::function<Vec3(float u, float v)> &eval,
                const CornerColors &cs, const CornerColors &os) {
  nu = std::max(nu, 1);
  nv = std::max(nv, 1);
  const int32_t base = int32_t(mesh.vertexCount());
  const int across = nu + 1;
  std::vector<Vec3> points(size_t(across) * size_t(nv + 1));
  for (int j = 0; j <= nv; ++j)
    for (int i = 0; i <= nu; ++i) points[size_t(j * across + i)] = eval(float(i) / nu, float(j) / nv);
  auto point = [&](int i, int j) { return points[size_t(std::clamp(j, 0, nv) * across + std::clamp(i, 0, nu))]; };
  std::vector<Vec3> normals(points.size());
  for (int j = 0; j <= nv; ++j)
    for (int i = 0; i <= nu; ++i) {
      Vec3 du = point(i + 1, j) - point(i - 1, j), dv = point(i, j + 1) - point(i, j - 1);
      // At a pole the u tangent vanishes; the next row's stands in.
      if (dot(du, du) < 1e-24f) du = point(i + 1, j + (j < nv ? 1 : -1)) - point(i - 1, j + (j < nv ? 1 : -1));
      if (dot(dv, dv) < 1e-24f) dv = point(i + (i < nu ? 1 : -1), j + 1) - point(i + (i < nu ? 1 : -1), j - 1);
      normals[size_t(j * across + i)] = normalize(cross(du, dv));
    }
  if (mesh.N.size() != mesh.P.size()) mesh.N.resize(mesh.P.size());
  for (size_t k = 0; k < points.size(); ++k) {
    mesh.addVertex(points[k].x, points[k].y, points[k].z);
    mesh.N.insert(mesh.N.end(), {normals[k].x, normals[k].y, normals[k].z});
  }
  for (auto [colors, target, source] : {std::tuple{&cs, &mesh.Cs, &mesh.csSource}, std::tuple{&os, &mesh.Os, &mesh.osSource}}) {
    if (!colors->present) continue;
    *source = ColorSource::kPerVertex;
    target->resize(size_t(base) * 3, 1.0f);
    for (int j = 0; j <= nv; ++j)
      for (int i = 0; i <= nu; ++i) {
        const Vec3 c = colors->at(float(i) / nu, float(j) / nv);
        target->insert(target->end(), {c.x, c.y, c.z});
      }
  }
  for (int j = 0; j < nv; ++j)
    for (int i = 0; i < nu; ++i) {
      const int32_t a = base + j * across + i, b = a + 1, c = a + across, d = c + 1;
      mesh.addTriangle(a, b, d);
      mesh.addTriangle(a, d, c);
    }
}

}  // namespace vellum::preview
