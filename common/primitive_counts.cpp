#include "common/primitive_counts.h"

#include <algorithm>
#include <cstdint>

namespace vellum {

namespace {

int64_t atLeast0(int64_t value) { return std::max<int64_t>(value, 0); }
// A count along one direction, kept small enough that the product of two
// of them cannot overflow.
int64_t direction(int64_t value) { return std::clamp<int64_t>(value, 0, INT32_MAX); }

// Patches along one direction of a mesh, before clamping (negative when the
// direction is too short for one); `step` is at least 1.
int64_t patchesAlong(bool bicubic, int64_t n, bool periodic, int64_t step) {
  if (!bicubic) return periodic ? n : n - 1;
  return periodic ? n / step : (n - 4) / step + 1;
}

}  // namespace

// These run over every index of a mesh, in loops the compiler vectorises
// (at -O3, as a Release build has it).
int64_t sumOf(const RtInt *values, int64_t count) {
  int64_t sum = 0;
  if (values == nullptr) return 0;
  for (const RtInt *p = values, *end = values + (count > 0 ? count : 0); p != end; ++p) sum += *p;
  return sum;
}

int64_t sumOfEvery2nd(const RtInt *values, int64_t pairs, int first) {
  int64_t sum = 0;
  if (values == nullptr) return 0;
  for (int64_t i = 0; i < pairs; ++i) sum += values[2 * i + first];
  return sum;
}

int64_t sharedVertexCount(const RtInt *indices, int64_t count) {
  RtInt largest = 0;
  if (indices != nullptr)
    for (const RtInt *p = indices, *end = indices + (count > 0 ? count : 0); p != end; ++p)
      largest = std::max(largest, *p);
  return int64_t{largest} + 1;
}

PrimitiveCounts quadricCounts() { return {4, 4, 1, 4}; }

PrimitiveCounts polygonCounts(int64_t vertices) { return {vertices, vertices, 1, vertices}; }

PrimitiveCounts generalPolygonCounts(RtInt nloops, const RtInt *nvertices) {
  const int64_t vertices = sumOf(nvertices, nloops);
  return {vertices, vertices, 1, vertices};
}

PrimitiveCounts pointsPolygonsCounts(RtInt npolys, const RtInt *nvertices, const RtInt *vertices) {
  const int64_t corners = sumOf(nvertices, npolys);
  const int64_t shared = sharedVertexCount(vertices, corners);
  return {shared, shared, npolys, corners};
}

PrimitiveCounts pointsGeneralPolygonsCounts(RtInt npolys, const RtInt *nloops,
                                            const RtInt *nvertices, const RtInt *vertices) {
  const int64_t corners = sumOf(nvertices, sumOf(nloops, npolys));
  const int64_t shared = sharedVertexCount(vertices, corners);
  return {shared, shared, npolys, corners};
}

PrimitiveCounts patchCounts(bool bilinear) { return {bilinear ? 4 : 16, 4, 1, 4}; }

PrimitiveCounts subdivisionMeshCounts(RtInt nfaces, const RtInt *nvertices, const RtInt *vertices) {
  const int64_t corners = sumOf(nvertices, nfaces);
  const int64_t shared = sharedVertexCount(vertices, corners);
  return {shared, shared, nfaces, corners};
}

PrimitiveCounts oneOfEachCounts() { return {1, 1, 1, 1}; }

PrimitiveCounts volumeCounts(const RtInt *dimensions) {
  int64_t points = 1;
  for (int i = 0; i < 3; ++i) {
    // Each factor at most INT32_MAX: the product of three cannot be held
    // by a request anyway, so it is capped past that instead of wrapping.
    const int64_t n = dimensions != nullptr ? direction(dimensions[i]) : 0;
    points = points > INT64_MAX / (n > 0 ? n : 1) ? INT64_MAX : points * n;
  }
  return {points, 8, 1, 8};
}

PrimitiveCounts blobbyPrimitiveCounts(RtInt nleaf) { return {nleaf, nleaf, 1, nleaf}; }

PrimitiveCounts patchMeshCounts(bool bicubic, RtInt nu, bool uPeriodic, RtInt nv,
                                bool vPeriodic, RtInt uStep, RtInt vStep, bool *stepUsable) {
  const int64_t u = atLeast0(nu), v = atLeast0(nv);
  PrimitiveCounts counts;
  counts.vertex = u * v;
  *stepUsable = !bicubic || (uStep >= 1 && vStep >= 1);
  if (!*stepUsable) return counts;
  const int64_t uPatches = patchesAlong(bicubic, u, uPeriodic, uStep);
  const int64_t vPatches = patchesAlong(bicubic, v, vPeriodic, vStep);
  const int64_t uVarying = direction(uPatches + (uPeriodic ? 0 : 1));
  const int64_t vVarying = direction(vPatches + (vPeriodic ? 0 : 1));
  counts.varying = uVarying * vVarying;
  counts.uniform = direction(uPatches) * direction(vPatches);
  counts.faceVarying = counts.varying;
  return counts;
}

PrimitiveCounts curvesCounts(bool cubic, bool periodic, RtInt ncurves, const RtInt *nvertices,
                             RtInt vStep, bool *stepUsable) {
  PrimitiveCounts counts;
  *stepUsable = !cubic || vStep >= 1;
  if (nvertices == nullptr) return counts;
  // One uniform value per curve, whatever its number of segments.
  counts.uniform = atLeast0(ncurves);
  for (RtInt i = 0; i < ncurves; ++i) {
    const int64_t n = atLeast0(nvertices[i]);
    counts.vertex += n;
    if (!cubic) counts.varying += n;
    else if (!*stepUsable) continue;  // no segments
    else if (periodic) counts.varying += n / vStep;
    else counts.varying += atLeast0((n - 4) / vStep + 2);
  }
  counts.faceVarying = counts.varying;
  return counts;
}

PrimitiveCounts nuPatchCounts(RtInt nu, RtInt uorder, RtInt nv, RtInt vorder) {
  const int64_t u = nu, v = nv;
  PrimitiveCounts counts;
  counts.vertex = direction(u) * direction(v);
  counts.varying = direction(u - uorder + 2) * direction(v - vorder + 2);
  counts.uniform = direction(u - uorder + 1) * direction(v - vorder + 1);
  counts.faceVarying = counts.varying;
  return counts;
}

BlobbyCounts blobbyCounts(const RtInt *code, RtInt ncode) {
  BlobbyCounts counts;
  if (code == nullptr) return counts;
  int64_t i = 0;
  while (i < ncode) {
    switch (code[i]) {
      case 0: case 1: case 2: case 3:  // add, multiply, maximum, minimum
        if (i + 1 >= ncode || code[i + 1] < 0) return counts;
        i += static_cast<int64_t>(code[i + 1]) + 2;
        break;
      case 4: case 5: i += 3; break;  // subtract, divide
      case 6: case 7: i += 2; break;  // negate, identity
      case 1000: ++counts.leaves; counts.floats += 1; i += 2; break;   // constant
      case 1001: ++counts.leaves; counts.floats += 16; i += 2; break;  // ellipsoid
      case 1002: ++counts.leaves; counts.floats += 23; i += 2; break;  // segment
      case 1003:  // repelling plane
        ++counts.leaves;
        counts.floats += 4;
        counts.strings += 1;
        i += 3;
        break;
      default: i += 1; break;
    }
  }
  return counts;
}

}  // namespace vellum
