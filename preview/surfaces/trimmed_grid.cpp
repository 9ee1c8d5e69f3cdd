#include "preview/surfaces/trimmed_grid.h"

#include <algorithm>
#include <vector>

namespace vellum::preview {

TrimOutcome trimGrid(Mesh &mesh, int nu, int nv, const GridTrim &trim) {
  TrimOutcome outcome;
  nu = std::max(nu, 1);
  nv = std::max(nv, 1);
  // appendGrid lays the vertices out in rows of nu + 1.
  std::vector<float> st;
  st.reserve(2 * mesh.vertexCount());
  for (size_t k = 0; k < mesh.vertexCount(); ++k)
    st.insert(st.end(), {float(k % size_t(nu + 1)) / float(nu), float(k / size_t(nu + 1)) / float(nv)});
  const bool normals = mesh.N.size() == mesh.P.size();
  std::vector<float> *perVertex[2] = {mesh.csSource == ColorSource::kPerVertex ? &mesh.Cs : nullptr,
                                      mesh.osSource == ColorSource::kPerVertex ? &mesh.Os : nullptr};

  auto point = [&mesh](int32_t k) { return Vec3{mesh.P[3 * size_t(k)], mesh.P[3 * size_t(k) + 1], mesh.P[3 * size_t(k) + 2]}; };
  auto keeps = [&](int32_t a, int32_t b, int32_t c) {
    const float s = (st[2 * size_t(a)] + st[2 * size_t(b)] + st[2 * size_t(c)]) / 3;
    const float t = (st[2 * size_t(a) + 1] + st[2 * size_t(b) + 1] + st[2 * size_t(c) + 1]) / 3;
    return trim.region->inside(trim.u0 + s * trim.du, trim.v0 + t * trim.dv, outcome.work) != trim.cutInside;
  };
  auto crossed = [&](int32_t a, int32_t b, int32_t c) {
    float lo[2], hi[2];
    for (int axis = 0; axis < 2; ++axis) {
      const float x = st[2 * size_t(a) + axis], y = st[2 * size_t(b) + axis], z = st[2 * size_t(c) + axis];
      lo[axis] = std::min({x, y, z});
      hi[axis] = std::max({x, y, z});
    }
    return trim.region->crosses(trim.u0 + lo[0] * trim.du, trim.v0 + lo[1] * trim.dv, trim.u0 + hi[0] * trim.du,
                                trim.v0 + hi[1] * trim.dv, outcome.work);
  };
  auto midpoint = [&](int32_t a, int32_t b) {
    const float s = (st[2 * size_t(a)] + st[2 * size_t(b)]) / 2, t = (st[2 * size_t(a) + 1] + st[2 * size_t(b) + 1]) / 2;
    // On the grid's facet, not the surface: a point off it would open a
    // crack beside a neighbour split less finely.
    const Vec3 p = (point(a) + point(b)) * 0.5f;
    const int32_t k = int32_t(mesh.vertexCount());
    st.insert(st.end(), {s, t});
    mesh.addVertex(p.x, p.y, p.z);
    if (normals) {
      const size_t i = 3 * size_t(a), j = 3 * size_t(b);
      const Vec3 n = normalize(Vec3{mesh.N[i], mesh.N[i + 1], mesh.N[i + 2]} + Vec3{mesh.N[j], mesh.N[j + 1], mesh.N[j + 2]});
      mesh.N.insert(mesh.N.end(), {n.x, n.y, n.z});
    }
    for (std::vector<float> *values : perVertex)
      if (values != nullptr)
        for (size_t axis = 0; axis < 3; ++axis)
          values->push_back(((*values)[3 * size_t(a) + axis] + (*values)[3 * size_t(b) + axis]) / 2);
    return k;
  };

  std::vector<int32_t> kept, pending = std::move(mesh.triangles), next;
  // Level by level, so that the triangle bound stops the finest splits.
  for (int depth = 0; !pending.empty() && !outcome.cutShort; ++depth) {
    next.clear();
    const size_t count = pending.size() / 3;
    for (size_t i = 0; i < count; ++i) {
      if (outcome.work > trim.maxWork) {
        outcome.cutShort = true;
        break;
      }
      const int32_t a = pending[3 * i], b = pending[3 * i + 1], c = pending[3 * i + 2];
      const bool split = crossed(a, b, c) && depth < trim.maxDepth &&
                         kept.size() / 3 + (count - i) + next.size() / 3 + 3 <= trim.maxTriangles &&
                         !(trim.smallEnough && trim.smallEnough(point(a), point(b), point(c)));
      if (split) {
        const int32_t ab = midpoint(a, b), bc = midpoint(b, c), ca = midpoint(c, a);
        next.insert(next.end(), {a, ab, ca, ab, b, bc, ca, bc, c, ab, bc, ca});
      } else if (keeps(a, b, c)) {
        kept.insert(kept.end(), {a, b, c});
      }
    }
    pending.swap(next);
  }
  mesh.triangles = std::move(kept);
  return outcome;
}

}  // namespace vellum::preview
