// Catmull-Clark subdivision of a polygon mesh whose vertices carry any
// number of floats (position first, then colours), with faces that can be
// holes, and edges and vertices that can be sharp.
//
// Boundary edges (of one face) and edges of more than two faces are
// infinitely sharp: a boundary becomes a cubic B-spline curve of its own.
// Creases and corners carry a sharpness that wears off by one at each
// step; from kInfinitelySharp on it never does.  An edge of sharpness 1 or
// more splits at its midpoint, a smooth one (0) by the smooth rule, and
// one between blends the two.  A vertex is moved by the corner rule (it
// stays) when it is a corner or ends three or more sharp edges, by the
// crease rule when it ends two, and by the smooth rule otherwise; when the
// rule of the next step differs, the two are blended by the mean
// sharpness of what wears off.
#ifndef VELLUM_PREVIEW_SURFACES_CATMULL_CLARK_H
#define VELLUM_PREVIEW_SURFACES_CATMULL_CLARK_H

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vellum::preview {

constexpr float kInfinitelySharp = 10;

// The key of the edge between two vertices, whichever way round.
uint64_t edgeKey(int32_t a, int32_t b);

struct SubdivisionSurface {
  int dimension = 3;            // floats per vertex
  std::vector<float> vertices;  // dimension floats each
  std::vector<std::vector<int32_t>> faces;
  std::vector<uint8_t> holes;   // per face
  std::vector<int32_t> parent;  // per face: the face of the original mesh it came from
  std::unordered_map<uint64_t, float> creases;  // sharpness by edgeKey, above 0
  std::vector<float> corners;                   // sharpness per vertex, or empty
  // Whether a vertex of a single face is a corner ("interpolateboundary"
  // 1), or lies on the boundary curve like the rest (2).
  bool sharpCorners = true;
};

// One step: every face of n sides becomes n quads.
SubdivisionSurface subdivide(const SubdivisionSurface &mesh);

// Makes holes of the faces that touch the boundary: without
// "interpolateboundary" the boundary vertices only shape the faces inside,
// as the control points of a B-spline patch mesh do.
void dropBoundaryFaces(SubdivisionSurface &mesh);

// Which face corners share a normal when the mesh is drawn: around each
// vertex, the faces that no edge still sharp (sharpness 1 or more, or a
// boundary) and no sharp corner parts.  Gives a group for each corner,
// face after face, and `groupVertex` the vertex of each group.
std::vector<int32_t> smoothingGroups(const SubdivisionSurface &mesh, std::vector<int32_t> &groupVertex);

}  // namespace vellum::preview

#endif
