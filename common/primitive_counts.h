// The count rules of the primitives: how many values a vertex, a varying,
// a uniform and a facevarying parameter carry on each, shared by the RIB
// writer and the RIB reader.  Bad calls (negative sizes, meshes too short
// for one patch, absurd sizes) give counts clamped at 0 and computed
// without overflow.
#ifndef VELLUM_COMMON_PRIMITIVE_COUNTS_H
#define VELLUM_COMMON_PRIMITIVE_COUNTS_H

#include <cstdint>

#include "ri.h"

namespace vellum {

struct PrimitiveCounts {
  int64_t vertex = 0;
  int64_t varying = 0;
  int64_t uniform = 0;
  int64_t faceVarying = 0;  // one value per vertex of each face
};

// Sum of the first `count` entries (none for a null array or a negative
// count).
int64_t sumOf(const RtInt *values, int64_t count);
// Sum of the entries at `first`, `first` + 2, ... among the first
// 2 × `pairs` entries.
int64_t sumOfEvery2nd(const RtInt *values, int64_t pairs, int first);
// One more than the largest of the first `count` entries, at least 1: the
// number of shared vertices that a vertex index list refers to.
int64_t sharedVertexCount(const RtInt *indices, int64_t count);

// The seven quadrics: 4, 4, 1, and 4 facevarying.
PrimitiveCounts quadricCounts();
// A polygon or a point cloud of n vertices: n, n, 1, n.
PrimitiveCounts polygonCounts(int64_t vertices);
// A polygon with holes: the loops' vertices, twice, 1, and the vertices.
PrimitiveCounts generalPolygonCounts(RtInt nloops, const RtInt *nvertices);
// Polygon meshes: the shared vertices that the index list refers to, twice,
// one uniform value per polygon, and one facevarying value per index.
PrimitiveCounts pointsPolygonsCounts(RtInt npolys, const RtInt *nvertices, const RtInt *vertices);
PrimitiveCounts pointsGeneralPolygonsCounts(RtInt npolys, const RtInt *nloops,
                                            const RtInt *nvertices, const RtInt *vertices);
// One patch: 4 (bilinear) or 16 control points, 4 corners, 1 patch.
PrimitiveCounts patchCounts(bool bilinear);
PrimitiveCounts subdivisionMeshCounts(RtInt nfaces, const RtInt *nvertices, const RtInt *vertices);
// A procedural of Procedural2: one value in every class.
PrimitiveCounts oneOfEachCounts();
// A volume sampled at nx × ny × nz points: those vertex values, 8 varying
// and facevarying ones (its corners) and 1 uniform one.  Negative
// dimensions count as 0; the product is computed without overflow.
PrimitiveCounts volumeCounts(const RtInt *dimensions);
// A blobby: one value per leaf, and one uniform value for the whole blobby
// (it is one surface, whatever the number of its leaves).
PrimitiveCounts blobbyPrimitiveCounts(RtInt nleaf);

// A patch mesh of type "bilinear" or "bicubic" (any other type is the
// caller's to refuse); the steps are the current basis steps.  Along each
// direction there are as many patches as the mesh holds (none when it is
// too short for one) and, nonperiodic, one more row of varying values
// than patches, none without a patch.  A step below 1 cannot divide a
// bicubic mesh into patches: then `stepUsable` is false and the mesh
// counts no patches and no varying values.
PrimitiveCounts patchMeshCounts(bool bicubic, RtInt nu, bool uPeriodic, RtInt nv,
                                bool vPeriodic, RtInt uStep, RtInt vStep, bool *stepUsable);

// Curves: cubic or linear, periodic or not, with the current v step: one
// uniform value per curve, varying values per segment end.  A v step below
// 1 leaves cubic curves without segments or varying values (`stepUsable`
// false).
PrimitiveCounts curvesCounts(bool cubic, bool periodic, RtInt ncurves, const RtInt *nvertices,
                             RtInt vStep, bool *stepUsable);

PrimitiveCounts nuPatchCounts(RtInt nu, RtInt uorder, RtInt nv, RtInt vorder);

// What a blobby's code array asks for.  The walk reads only the first
// `ncode` entries and always ends: an operand count that is missing or
// negative ends it.
struct BlobbyCounts {
  int64_t leaves = 0;
  int64_t floats = 0;
  int64_t strings = 0;
};
BlobbyCounts blobbyCounts(const RtInt *code, RtInt ncode);

}  // namespace vellum

#endif
