// The scenes the benchmarks share: a PointsPolygons mesh of triangles over
// a gently curved surface, and a set of cubic curves.  Their floats carry
// full precision (no value prints short, as 0.25 would), so that number
// text costs what it costs in real scenes.
#ifndef VELLUM_BENCH_BENCH_MESH_H
#define VELLUM_BENCH_BENCH_MESH_H

#include <string>
#include <vector>

#include "ri.h"

namespace vellum_bench {

struct Mesh {
  std::vector<RtInt> nvertices, vertices;
  std::vector<RtFloat> positions, normals;
  RtInt polygons() const { return static_cast<RtInt>(nvertices.size()); }
};

// A grid of `columns` × `rows` quads, two triangles each, over about
// 6.5 × 7 units; "P" and "N" per vertex.
Mesh makeMesh(int columns, int rows);
// The 1,000,000-triangle mesh (500 × 1000 quads), built once.
const Mesh &millionTriangles();

struct CurveSet {
  std::vector<RtInt> nvertices;
  std::vector<RtFloat> positions, widths;
  RtInt curves() const { return static_cast<RtInt>(nvertices.size()); }
};
// `count` cubic curves of 10 vertices with "P" (vertex) and "width"
// (varying: 4 values each, one per segment end with the default step of 3).
CurveSet makeCurves(int count);

// What a RibWriter writes for `calls`, in ASCII or binary.
std::string ribOf(void (*calls)(), bool binary);

}  // namespace vellum_bench

#endif
