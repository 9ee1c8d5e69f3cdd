// The varargs forms of the requests: each collects its (token, value) pairs
// (at most 512, up to RI_NULL) and calls its list form through the context.
#include "ri/entry_point.h"
#include "rib/rib_writer.h"

#define PAIRS VELLUM_PAIR_ARGS(pairs)

namespace vellum {

RtVoid RibWriter::Projection(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  ProjectionV(name, PAIRS);
}
RtVoid RibWriter::Display(char *name, RtToken type, RtToken mode, ...) {
  VELLUM_COLLECT_PAIRS(pairs, mode);
  DisplayV(name, type, mode, PAIRS);
}
RtVoid RibWriter::Hider(RtToken type, ...) {
  VELLUM_COLLECT_PAIRS(pairs, type);
  HiderV(type, PAIRS);
}
RtVoid RibWriter::Option(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  OptionV(name, PAIRS);
}
RtVoid RibWriter::Attribute(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  AttributeV(name, PAIRS);
}
RtVoid RibWriter::MotionBegin(RtInt n, ...) {
  va_list args;
  va_start(args, n);
  MotionTimes times(n, args);
  va_end(args);
  MotionBeginV(n, times.data());
}
RtVoid RibWriter::Surface(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  SurfaceV(name, PAIRS);
}
RtVoid RibWriter::Displacement(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  DisplacementV(name, PAIRS);
}
RtVoid RibWriter::Atmosphere(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  AtmosphereV(name, PAIRS);
}
RtVoid RibWriter::Interior(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  InteriorV(name, PAIRS);
}
RtVoid RibWriter::Exterior(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  ExteriorV(name, PAIRS);
}
RtVoid RibWriter::Imager(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  ImagerV(name, PAIRS);
}
RtLightHandle RibWriter::LightSource(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  return LightSourceV(name, PAIRS);
}
RtLightHandle RibWriter::AreaLightSource(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  return AreaLightSourceV(name, PAIRS);
}
RtVoid RibWriter::Cone(RtFloat height, RtFloat radius, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  ConeV(height, radius, thetamax, PAIRS);
}
RtVoid RibWriter::Cylinder(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  CylinderV(radius, zmin, zmax, thetamax, PAIRS);
}
RtVoid RibWriter::Disk(RtFloat height, RtFloat radius, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  DiskV(height, radius, thetamax, PAIRS);
}
RtVoid RibWriter::Hyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  HyperboloidV(point1, point2, thetamax, PAIRS);
}
RtVoid RibWriter::Paraboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  ParaboloidV(rmax, zmin, zmax, thetamax, PAIRS);
}
RtVoid RibWriter::Sphere(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  SphereV(radius, zmin, zmax, thetamax, PAIRS);
}
RtVoid RibWriter::Torus(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
                        RtFloat thetamax, ...) {
  VELLUM_COLLECT_PAIRS(pairs, thetamax);
  TorusV(majorradius, minorradius, phimin, phimax, thetamax, PAIRS);
}
RtVoid RibWriter::Polygon(RtInt nvertices, ...) {
  VELLUM_COLLECT_PAIRS(pairs, nvertices);
  PolygonV(nvertices, PAIRS);
}
RtVoid RibWriter::GeneralPolygon(RtInt nloops, RtInt nvertices[], ...) {
  VELLUM_COLLECT_PAIRS(pairs, nvertices);
  GeneralPolygonV(nloops, nvertices, PAIRS);
}
RtVoid RibWriter::PointsPolygons(RtInt npolys, RtInt nvertices[], RtInt vertices[], ...) {
  VELLUM_COLLECT_PAIRS(pairs, vertices);
  PointsPolygonsV(npolys, nvertices, vertices, PAIRS);
}
RtVoid RibWriter::PointsGeneralPolygons(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                        RtInt vertices[], ...) {
  VELLUM_COLLECT_PAIRS(pairs, vertices);
  PointsGeneralPolygonsV(npolys, nloops, nvertices, vertices, PAIRS);
}
RtVoid RibWriter::Patch(RtToken type, ...) {
  VELLUM_COLLECT_PAIRS(pairs, type);
  PatchV(type, PAIRS);
}
RtVoid RibWriter::PatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap,
                            ...) {
  VELLUM_COLLECT_PAIRS(pairs, vwrap);
  PatchMeshV(type, nu, uwrap, nv, vwrap, PAIRS);
}
RtVoid RibWriter::NuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax,
                          RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax,
                          ...) {
  VELLUM_COLLECT_PAIRS(pairs, vmax);
  NuPatchV(nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax, PAIRS);
}
RtVoid RibWriter::Curves(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...) {
  VELLUM_COLLECT_PAIRS(pairs, wrap);
  CurvesV(type, ncurves, nvertices, wrap, PAIRS);
}
RtVoid RibWriter::Points(RtInt npoints, ...) {
  VELLUM_COLLECT_PAIRS(pairs, npoints);
  PointsV(npoints, PAIRS);
}
RtVoid RibWriter::SubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                  RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[],
                                  RtInt intargs[], RtFloat floatargs[], ...) {
  VELLUM_COLLECT_PAIRS(pairs, floatargs);
  SubdivisionMeshV(scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs,
                   PAIRS);
}
RtVoid RibWriter::Blobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                         RtInt nstr, RtToken str[], ...) {
  VELLUM_COLLECT_PAIRS(pairs, str);
  BlobbyV(nleaf, ncode, code, nflt, flt, nstr, str, PAIRS);
}
RtVoid RibWriter::Geometry(RtToken type, ...) {
  VELLUM_COLLECT_PAIRS(pairs, type);
  GeometryV(type, PAIRS);
}
RtVoid RibWriter::MakeTexture(char *picturename, char *texturename, RtToken swrap,
                              RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth,
                              RtFloat twidth, ...) {
  VELLUM_COLLECT_PAIRS(pairs, twidth);
  MakeTextureV(picturename, texturename, swrap, twrap, filterfunc, swidth, twidth, PAIRS);
}
RtVoid RibWriter::MakeLatLongEnvironment(char *picturename, char *texturename,
                                         RtFilterFunc filterfunc, RtFloat swidth,
                                         RtFloat twidth, ...) {
  VELLUM_COLLECT_PAIRS(pairs, twidth);
  MakeLatLongEnvironmentV(picturename, texturename, filterfunc, swidth, twidth, PAIRS);
}
RtVoid RibWriter::MakeCubeFaceEnvironment(char *px, char *nx, char *py, char *ny, char *pz,
                                          char *nz, char *texturename, RtFloat fov,
                                          RtFilterFunc filterfunc, RtFloat swidth,
                                          RtFloat twidth, ...) {
  VELLUM_COLLECT_PAIRS(pairs, twidth);
  MakeCubeFaceEnvironmentV(px, nx, py, ny, pz, nz, texturename, fov, filterfunc, swidth, twidth,
                           PAIRS);
}
RtVoid RibWriter::MakeShadow(char *picturename, char *texturename, ...) {
  VELLUM_COLLECT_PAIRS(pairs, texturename);
  MakeShadowV(picturename, texturename, PAIRS);
}
RtVoid RibWriter::ArchiveRecord(RtToken type, char *format, ...) {
  va_list args;
  va_start(args, format);
  ArchiveRecordV(type, format, args);
  va_end(args);
}
RtVoid RibWriter::ReadArchive(RtToken name, RtArchiveCallback callback, ...) {
  VELLUM_COLLECT_PAIRS(pairs, callback);
  ReadArchiveV(name, callback, PAIRS);
}

}  // namespace vellum
