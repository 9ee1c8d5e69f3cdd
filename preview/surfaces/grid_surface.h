// Parametric surfaces sampled on a grid: quadrics, patches and NURBS all
// become rows of vertices with smooth normals and two triangles a cell.
#ifndef VELLUM_PREVIEW_SURFACES_GRID_SURFACE_H
#define VELLUM_PREVIEW_SURFACES_GRID_SURFACE_H

#include <functional>

#include "preview/math/vec_math.h"
#include "preview/surfaces/mesh.h"

namespace vellum::preview {

// A colour over one grid: the values at its corners (u0v0, u1v0, u0v1,
// u1v1), blended bilinearly; absent when the attribute's colour applies.
struct CornerColors {
  bool present = false;
  Vec3 corner[4];
  static CornerColors uniform(Vec3 c) { return {true, {c, c, c, c}}; }
  Vec3 at(float u, float v) const {
    return (corner[0] * (1 - u) + corner[1] * u) * (1 - v) + (corner[2] * (1 - u) + corner[3] * u) * v;
  }
};

// Appends a grid of (nu + 1) × (nv + 1) vertices, eval(u, v) for u and v
// in [0, 1], with normals from the grid's differences.  Triangles wind as
// dP/du × dP/dv.
void appendGrid(Mesh &mesh, int nu, int nv, const std::function<Vec3(float u, float v)> &eval,
                const CornerColors &cs, const CornerColors &os);

}  // namespace vellum::preview

#endif
