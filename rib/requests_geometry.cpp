// Quadrics, polygons, points, Geometry, solids and retained objects.
#include <cstdint>
#include <string>

#include "common/primitive_counts.h"
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::primitiveList(const PrimitiveCounts &counts, RtInt n, RtToken tokens[],
                              RtPointer parms[]) {
  const PrimitiveCounts clamped = {clampCount(counts.vertex), clampCount(counts.varying),
                                   clampCount(counts.uniform), clampCount(counts.faceVarying)};
  writeParams(&clamped, n, tokens, parms);
}

RtInt RibWriter::clampCount(int64_t count) {
  if (count > INT32_MAX) return INT32_MAX;
  if (count < 0) return 0;
  return static_cast<RtInt>(count);
}

RtVoid RibWriter::HyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n,
                               RtToken tokens[], RtPointer parms[]) {
  static const RtPoint origin = {0, 0, 0};
  const RtFloat *p1 = point1 != nullptr ? point1 : origin;
  const RtFloat *p2 = point2 != nullptr ? point2 : origin;
  text("Hyperboloid");
  numbersText({p1[0], p1[1], p1[2], p2[0], p2[1], p2[2], thetamax});
  primitiveList(quadricCounts(), n, tokens, parms);
}

RtVoid RibWriter::PolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const PrimitiveCounts counts = polygonCounts(nvertices);
  if (refusesTooManyValues("RiPolygon", counts, n, tokens,
                           [&] { return std::to_string(nvertices) + " vertices"; }))
    return;
  text("Polygon");
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::GeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n, RtToken tokens[],
                                  RtPointer parms[]) {
  const PrimitiveCounts counts = generalPolygonCounts(nloops, nvertices);
  if (refusesTooManyValues("RiGeneralPolygon", counts, n, tokens,
                           [&] { return verticesOperands(counts.vertex); }))
    return;
  text("GeneralPolygon");
  writeIntArray(nvertices, nloops);
  character(' ');
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::PointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[], RtInt n,
                                  RtToken tokens[], RtPointer parms[]) {
  const PrimitiveCounts counts = pointsPolygonsCounts(npolys, nvertices, vertices);
  if (refusesTooManyValues("RiPointsPolygons", counts, n, tokens, [&] { return meshOperands(counts); }))
    return;
  text("PointsPolygons");
  writeIntArray(nvertices, npolys);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, npolys));
  character(' ');
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::PointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                         RtInt vertices[], RtInt n, RtToken tokens[],
                                         RtPointer parms[]) {
  const PrimitiveCounts counts = pointsGeneralPolygonsCounts(npolys, nloops, nvertices, vertices);
  if (refusesTooManyValues("RiPointsGeneralPolygons", counts, n, tokens,
                           [&] { return meshOperands(counts); }))
    return;
  const int64_t loops = sumOf(nloops, npolys);
  text("PointsGeneralPolygons");
  writeIntArray(nloops, npolys);
  character(' ');
  writeIntArray(nvertices, loops);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, loops));
  character(' ');
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::PointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const PrimitiveCounts counts = polygonCounts(npoints);
  if (refusesTooManyValues("RiPoints", counts, n, tokens,
                           [&] { return std::to_string(npoints) + " points"; }))
    return;
  text("Points ");
  primitiveList(counts, n, tokens, parms);
}

// Object handles are sequence numbers within the context, never reset.
RtObjectHandle RibWriter::ObjectBegin() {
  const RtInt handle = nextObjectHandle_;
  text("ObjectBegin ");
  integerText(handle);
  endLine();
  nextObjectHandle_ = handle + 1;
  return reinterpret_cast<RtObjectHandle>(static_cast<intptr_t>(handle));
}

RtVoid RibWriter::ObjectInstance(RtObjectHandle handle) {
  text("ObjectInstance ");
  integerText(static_cast<long>(reinterpret_cast<intptr_t>(handle)));
  endLine();
}

}  // namespace vellum
