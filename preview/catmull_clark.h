// Catmull-Clark subdivision of a polygon mesh whose vertices carry any
// number of floats (position first, then colours), with faces that can be
// holes.  The surface reaches its boundaries, as "interpolateboundary"
// asks: each boundary is smoothed as a curve of its own, and the corner of
// a single face stays where it is.
#ifndef VELLUM_PREVIEW_CATMULL_CLARK_H
#define VELLUM_PREVIEW_CATMULL_CLARK_H

#include <cstdint>
#include <vector>

namespace vellum::preview {

struct SubdivisionSurface {
  int dimension = 3;            // floats per vertex
  std::vector<float> vertices;  // dimension floats each
  std::vector<std::vector<int32_t>> faces;
  std::vector<uint8_t> holes;   // per face
  std::vector<int32_t> parent;  // per face: the face of the original mesh it came from
};

// One step: every face of n sides becomes n quads.
SubdivisionSurface subdivide(const SubdivisionSurface &mesh);

}  // namespace vellum::preview

#endif
