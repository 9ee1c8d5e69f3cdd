// Quadrics, polygons, points, Geometry, solids and retained objects.
#include <cstdint>

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

void RibWriter::quadric(const char *keyword, std::initializer_list<RtFloat> operands, RtInt n,
                        RtToken tokens[], RtPointer parms[]) {
  text(keyword);
  numbers(operands);
  primitiveList(quadricCounts(), n, tokens, parms);
}

RtVoid RibWriter::ConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n,
                        RtToken tokens[], RtPointer parms[]) {
  quadric("Cone", {height, radius, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::CylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                            RtToken tokens[], RtPointer parms[]) {
  quadric("Cylinder", {radius, zmin, zmax, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::DiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n,
                        RtToken tokens[], RtPointer parms[]) {
  quadric("Disk", {height, radius, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::HyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n,
                               RtToken tokens[], RtPointer parms[]) {
  static const RtPoint origin = {0, 0, 0};
  const RtFloat *p1 = point1 != nullptr ? point1 : origin;
  const RtFloat *p2 = point2 != nullptr ? point2 : origin;
  quadric("Hyperboloid", {p1[0], p1[1], p1[2], p2[0], p2[1], p2[2], thetamax}, n, tokens, parms);
}

RtVoid RibWriter::ParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax,
                              RtInt n, RtToken tokens[], RtPointer parms[]) {
  quadric("Paraboloid", {rmax, zmin, zmax, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::SphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                          RtToken tokens[], RtPointer parms[]) {
  quadric("Sphere", {radius, zmin, zmax, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::TorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin,
                         RtFloat phimax, RtFloat thetamax, RtInt n, RtToken tokens[],
                         RtPointer parms[]) {
  quadric("Torus", {majorradius, minorradius, phimin, phimax, thetamax}, n, tokens, parms);
}

RtVoid RibWriter::PolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Polygon");
  primitiveList(polygonCounts(nvertices), n, tokens, parms);
}

RtVoid RibWriter::GeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n, RtToken tokens[],
                                  RtPointer parms[]) {
  text("GeneralPolygon");
  writeIntArray(nvertices, nloops);
  character(' ');
  primitiveList(generalPolygonCounts(nloops, nvertices), n, tokens, parms);
}

RtVoid RibWriter::PointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[], RtInt n,
                                  RtToken tokens[], RtPointer parms[]) {
  text("PointsPolygons");
  writeIntArray(nvertices, npolys);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, npolys));
  character(' ');
  primitiveList(pointsPolygonsCounts(npolys, nvertices, vertices), n, tokens, parms);
}

RtVoid RibWriter::PointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                         RtInt vertices[], RtInt n, RtToken tokens[],
                                         RtPointer parms[]) {
  const int64_t loops = sumOf(nloops, npolys);
  text("PointsGeneralPolygons");
  writeIntArray(nloops, npolys);
  character(' ');
  writeIntArray(nvertices, loops);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, loops));
  character(' ');
  primitiveList(pointsGeneralPolygonsCounts(npolys, nloops, nvertices, vertices), n, tokens, parms);
}

RtVoid RibWriter::PointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Points ");
  primitiveList(polygonCounts(npoints), n, tokens, parms);
}

RtVoid RibWriter::GeometryV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Geometry");
  writeParamList(type, 0, n, tokens, parms);
}

RtVoid RibWriter::SolidBegin(RtToken operation) {
  text("SolidBegin ");
  quoted(operation);
  endLine();
}

RtVoid RibWriter::SolidEnd() {
  text("SolidEnd\n");
  done();
}

// Object handles are sequence numbers within the context, never reset.
RtObjectHandle RibWriter::ObjectBegin() {
  const RtInt handle = nextObjectHandle_;
  text("ObjectBegin ");
  integer(handle);
  endLine();
  nextObjectHandle_ = handle + 1;
  return reinterpret_cast<RtObjectHandle>(static_cast<intptr_t>(handle));
}

RtVoid RibWriter::ObjectEnd() {
  text("ObjectEnd\n");
  done();
}

RtVoid RibWriter::ObjectInstance(RtObjectHandle handle) {
  text("ObjectInstance ");
  integer(static_cast<long>(reinterpret_cast<intptr_t>(handle)));
  endLine();
}

}  // namespace vellum
