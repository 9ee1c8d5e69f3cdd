// Splits planar polygons, with or without holes, into triangles.
#ifndef VELLUM_PREVIEW_SURFACES_POLYGON_TRIANGULATOR_H
#define VELLUM_PREVIEW_SURFACES_POLYGON_TRIANGULATOR_H

#include <cstdint>
#include <vector>

namespace vellum::preview {

// Triangulates the polygon whose loops are listed in `loops` (vertex
// indices into `positions`, 3 floats each; the first loop is the outline,
// the others holes) by ear clipping, and appends the triangles' vertex
// indices to `out`, in the outline's winding.  Holes are joined to the
// outline by bridges first.  Loops too large for ear clipping to be quick
// are split as a fan, holes ignored.
void triangulatePolygon(const float *positions, const std::vector<std::vector<int32_t>> &loops,
                        std::vector<int32_t> &out);

}  // namespace vellum::preview

#endif
