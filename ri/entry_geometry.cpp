// Entry points of the geometric requests.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiBasis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep) {
  VELLUM_CONTEXT().Basis(ubasis, ustep, vbasis, vstep);
}

RtVoid RiTrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat min[],
                   RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[], RtFloat w[]) {
  VELLUM_CONTEXT().TrimCurve(nloops, ncurves, order, knot, min, max, n, u, v, w);
}

RtVoid RiPatch(RtToken type, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, type);
  context.PatchV(type, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPatchV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PatchV(type, n, tokens, parms);
}

RtVoid RiPatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, vwrap);
  context.PatchMeshV(type, nu, uwrap, nv, vwrap, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, RtInt n,
                    RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PatchMeshV(type, nu, uwrap, nv, vwrap, n, tokens, parms);
}

RtVoid RiNuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                 RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, vmax);
  context.NuPatchV(nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax,
                   VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiNuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                  RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, RtInt n,
                  RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().NuPatchV(nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax, n,
                            tokens, parms);
}

RtVoid RiCone(RtFloat height, RtFloat radius, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.ConeV(height, radius, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
               RtPointer parms[]) {
  VELLUM_CONTEXT().ConeV(height, radius, thetamax, n, tokens, parms);
}

RtVoid RiCylinder(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.CylinderV(radius, zmin, zmax, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiCylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                   RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().CylinderV(radius, zmin, zmax, thetamax, n, tokens, parms);
}

RtVoid RiDisk(RtFloat height, RtFloat radius, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.DiskV(height, radius, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiDiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
               RtPointer parms[]) {
  VELLUM_CONTEXT().DiskV(height, radius, thetamax, n, tokens, parms);
}

RtVoid RiHyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.HyperboloidV(point1, point2, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiHyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n,
                      RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().HyperboloidV(point1, point2, thetamax, n, tokens, parms);
}

RtVoid RiParaboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.ParaboloidV(rmax, zmin, zmax, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                     RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().ParaboloidV(rmax, zmin, zmax, thetamax, n, tokens, parms);
}

RtVoid RiSphere(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.SphereV(radius, zmin, zmax, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiSphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                 RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().SphereV(radius, zmin, zmax, thetamax, n, tokens, parms);
}

RtVoid RiTorus(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
               RtFloat thetamax, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  context.TorusV(majorradius, minorradius, phimin, phimax, thetamax, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiTorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
                RtFloat thetamax, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().TorusV(majorradius, minorradius, phimin, phimax, thetamax, n, tokens, parms);
}

RtVoid RiPolygon(RtInt nvertices, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, nvertices);
  context.PolygonV(nvertices, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PolygonV(nvertices, n, tokens, parms);
}

RtVoid RiGeneralPolygon(RtInt nloops, RtInt nvertices[], ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, nvertices);
  context.GeneralPolygonV(nloops, nvertices, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiGeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n, RtToken tokens[],
                         RtPointer parms[]) {
  VELLUM_CONTEXT().GeneralPolygonV(nloops, nvertices, n, tokens, parms);
}

RtVoid RiPointsPolygons(RtInt npolys, RtInt nvertices[], RtInt vertices[], ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, vertices);
  context.PointsPolygonsV(npolys, nvertices, vertices, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[], RtInt n,
                         RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PointsPolygonsV(npolys, nvertices, vertices, n, tokens, parms);
}

RtVoid RiPointsGeneralPolygons(RtInt npolys, RtInt nloops[], RtInt nvertices[], RtInt vertices[],
                               ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, vertices);
  context.PointsGeneralPolygonsV(npolys, nloops, nvertices, vertices, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                RtInt vertices[], RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PointsGeneralPolygonsV(npolys, nloops, nvertices, vertices, n, tokens, parms);
}

RtVoid RiCurves(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, wrap);
  context.CurvesV(type, ncurves, nvertices, wrap, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiCurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n,
                 RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().CurvesV(type, ncurves, nvertices, wrap, n, tokens, parms);
}

RtVoid RiPoints(RtInt npoints, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, npoints);
  context.PointsV(npoints, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiPointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().PointsV(npoints, n, tokens, parms);
}

RtVoid RiSubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                         RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                         RtFloat floatargs[], ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, floatargs);
  context.SubdivisionMeshV(scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs,
                           floatargs, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                          RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                          RtFloat floatargs[], RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().SubdivisionMeshV(scheme, nfaces, nvertices, vertices, ntags, tags, nargs,
                                    intargs, floatargs, n, tokens, parms);
}

RtVoid RiBlobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
                RtToken str[], ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, str);
  context.BlobbyV(nleaf, ncode, code, nflt, flt, nstr, str, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiBlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
                 RtToken str[], RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().BlobbyV(nleaf, ncode, code, nflt, flt, nstr, str, n, tokens, parms);
}

RtVoid RiProcedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                    RtProcFreeFunc freefunc) {
  VELLUM_CONTEXT().Procedural(data, bound, subdivfunc, freefunc);
}

RtVoid RiGeometry(RtToken type, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, type);
  context.GeometryV(type, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiGeometryV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().GeometryV(type, n, tokens, parms);
}

RtVoid RiSolidBegin(RtToken operation) { VELLUM_CONTEXT().SolidBegin(operation); }
RtVoid RiSolidEnd(void) { VELLUM_CONTEXT().SolidEnd(); }
RtObjectHandle RiObjectBegin(void) { return VELLUM_CONTEXT_UNNAMED().ObjectBegin(); }
RtVoid RiObjectEnd(void) { VELLUM_CONTEXT().ObjectEnd(); }
RtVoid RiObjectInstance(RtObjectHandle handle) { VELLUM_CONTEXT().ObjectInstance(handle); }

}  // extern "C"
