// A parametric grid cut by a trim region: triangles inside are kept,
// those outside dropped, and those the trim edges cross split in (u, v)
// until the pieces are small; each piece is then kept when its centre is
// inside.  The pieces lie on the grid's facets, so that the surface stays
// whole where pieces of different sizes meet.
#ifndef VELLUM_PREVIEW_SURFACES_TRIMMED_GRID_H
#define VELLUM_PREVIEW_SURFACES_TRIMMED_GRID_H

#include <cstdint>
#include <functional>

#include "preview/math/vec_math.h"
#include "preview/surfaces/mesh.h"
#include "preview/surfaces/trim_region.h"

namespace vellum::preview {

struct GridTrim {
  const TrimRegion *region;
  // The grid's [0, 1]² in the region's parameters: u = u0 + s · du.
  float u0, du, v0, dv;
  bool cutInside;  // keep what lies outside the loops instead
  int maxDepth;    // splits of a triangle at most
  uint64_t maxTriangles;
  uint64_t maxWork;  // edges the region's tests may look at
  // Whether a piece (its corners in object space) is small enough to
  // stop splitting; empty: only the depth bound stops.
  std::function<bool(Vec3, Vec3, Vec3)> smallEnough;
};

struct TrimOutcome {
  uint64_t work = 0;
  bool cutShort = false;  // maxWork was reached: what was left undecided is left out
};

// `mesh` holds just the grid that appendGrid made of nu × nv cells; it is
// replaced by what the trim keeps, within maxTriangles (pieces then stay
// larger).
TrimOutcome trimGrid(Mesh &mesh, int nu, int nv, const GridTrim &trim);

}  // namespace vellum::preview

#endif
