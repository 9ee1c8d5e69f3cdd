// The surface where a field sampled on a grid crosses a threshold.  Each
// cell is cut into six tetrahedra around its main diagonal, and each
// tetrahedron that the surface passes through gives one or two triangles.
// Neighbouring cells cut the face they share alike, so the surface has no
// cracks, and there is no ambiguous case to resolve.
#ifndef VELLUM_PREVIEW_SURFACES_MARCHING_TETRAHEDRA_H
#define VELLUM_PREVIEW_SURFACES_MARCHING_TETRAHEDRA_H

#include <cstdint>
#include <vector>

namespace vellum::preview {

struct SampleGrid {
  int nx = 0, ny = 0, nz = 0;  // cells along each axis
  std::vector<float> values;   // (nx + 1) · (ny + 1) · (nz + 1) samples, x fastest

  int64_t index(int64_t i, int64_t j, int64_t k) const { return (k * (ny + 1) + j) * (nx + 1) + i; }
};

struct Isosurface {
  // Each vertex lies on the grid edge from sample `inside` (above the
  // threshold) toward sample `outside`, at the fraction `t`.
  struct Crossing {
    int64_t inside, outside;
    float t;
  };
  std::vector<Crossing> vertices;
  // Wound so that (p1 - p0) × (p2 - p0) points where the field falls.
  std::vector<int32_t> triangles;
};

Isosurface marchTetrahedra(const SampleGrid &grid, float threshold);

}  // namespace vellum::preview

#endif
