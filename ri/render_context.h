// RenderContext: one virtual operation per request, in a fixed slot order.
// The RibWriter implements it; the entry points of ri.h reach the current
// context only through it, and the RIB reader drives any implementation.
//
// A request with a parameter list has two operations in adjacent slots: the
// varargs form (token/value pairs ending with RI_NULL, at most 512 used),
// which collects its pairs and calls the list form ("V"), which takes the
// count and the two arrays.  The varargs forms are implemented here once,
// for every context; the entry points call the list forms only.
//
// The slots are listed once, in VELLUM_RENDER_CONTEXT_SLOTS, as calls of four
// macros that its user supplies:
//   OP(result, Name, (params), (args))            an operation
//   LIST_OP(result, Name, (fixed params), (fixed args))
//       a list form: the fixed parameters, then RtInt n, RtToken tokens[],
//       RtPointer parms[]
//   PAIRS_OP(result, Name, (fixed params), (fixed args), last)
//       a varargs form whose pairs follow `last`; it calls Name##V
//   VARARGS_OP(result, Name, (fixed params))
//       a varargs form of another kind (motion times, printf arguments)
// From this one list come the declarations of RenderContext, the overrides
// of every implementation, and the contexts that do nothing or record.
#ifndef VELLUM_RI_RENDER_CONTEXT_H
#define VELLUM_RI_RENDER_CONTEXT_H

#include <cstdarg>

#include "ri.h"

#define VELLUM_UNPAREN(...) __VA_ARGS__
#define VELLUM_LIST_PARAMS(fixed) (VELLUM_UNPAREN fixed, RtInt n, RtToken tokens[], RtPointer parms[])
#define VELLUM_LIST_ARGS(fixed) (VELLUM_UNPAREN fixed, n, tokens, parms)

// Slot 0 is the virtual destructor; slots 1 to 137 follow.
#define VELLUM_RENDER_CONTEXT_SLOTS(OP, LIST_OP, PAIRS_OP, VARARGS_OP) \
  OP(RtVoid, FrameBegin, (RtInt frame), (frame))  /* 1 */ \
  OP(RtVoid, FrameEnd, (), ())  /* 2 */ \
  OP(RtVoid, WorldBegin, (), ())  /* 3 */ \
  OP(RtVoid, WorldEnd, (), ())  /* 4 */ \
  OP(RtVoid, Format, (RtInt xres, RtInt yres, RtFloat aspect), (xres, yres, aspect))  /* 5 */ \
  OP(RtVoid, FrameAspectRatio, (RtFloat aspect), (aspect))  /* 6 */ \
  OP(RtVoid, ScreenWindow, (RtFloat left, RtFloat right, RtFloat bottom, RtFloat top), (left, right, bottom, top))  /* 7 */ \
  OP(RtVoid, CropWindow, (RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax), (xmin, xmax, ymin, ymax))  /* 8 */ \
  PAIRS_OP(RtVoid, Projection, (RtToken name), (name), name)  /* 9 */ \
  LIST_OP(RtVoid, ProjectionV, (RtToken name), (name))  /* 10 */ \
  OP(RtVoid, Clipping, (RtFloat hither, RtFloat yon), (hither, yon))  /* 11 */ \
  OP(RtVoid, DepthOfField, (RtFloat fstop, RtFloat focallength, RtFloat focaldistance), (fstop, focallength, focaldistance))  /* 12 */ \
  OP(RtVoid, Shutter, (RtFloat min, RtFloat max), (min, max))  /* 13 */ \
  OP(RtVoid, PixelVariance, (RtFloat variation), (variation))  /* 14 */ \
  OP(RtVoid, PixelSamples, (RtFloat xsamples, RtFloat ysamples), (xsamples, ysamples))  /* 15 */ \
  OP(RtVoid, PixelFilter, (RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth), (filterfunc, xwidth, ywidth))  /* 16 */ \
  OP(RtVoid, Exposure, (RtFloat gain, RtFloat gamma), (gain, gamma))  /* 17 */ \
  OP(RtVoid, Quantize, (RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl), (type, one, min, max, ampl))  /* 18 */ \
  PAIRS_OP(RtVoid, Display, (char *name, RtToken type, RtToken mode), (name, type, mode), mode)  /* 19 */ \
  LIST_OP(RtVoid, DisplayV, (char *name, RtToken type, RtToken mode), (name, type, mode))  /* 20 */ \
  PAIRS_OP(RtVoid, Hider, (RtToken type), (type), type)  /* 21 */ \
  LIST_OP(RtVoid, HiderV, (RtToken type), (type))  /* 22 */ \
  OP(RtVoid, ColorSamples, (RtInt n, RtFloat nRGB[], RtFloat RGBn[]), (n, nRGB, RGBn))  /* 23 */ \
  OP(RtVoid, RelativeDetail, (RtFloat relativedetail), (relativedetail))  /* 24 */ \
  PAIRS_OP(RtVoid, Option, (RtToken name), (name), name)  /* 25 */ \
  LIST_OP(RtVoid, OptionV, (RtToken name), (name))  /* 26 */ \
  OP(RtVoid, AttributeBegin, (), ())  /* 27 */ \
  OP(RtVoid, AttributeEnd, (), ())  /* 28 */ \
  OP(RtVoid, Color, (RtColor Cs), (Cs))  /* 29 */ \
  OP(RtVoid, Opacity, (RtColor Os), (Os))  /* 30 */ \
  OP(RtVoid, TextureCoordinates, (RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3, RtFloat t3, RtFloat s4, RtFloat t4), (s1, t1, s2, t2, s3, t3, s4, t4))  /* 31 */ \
  OP(RtVoid, ShadingRate, (RtFloat size), (size))  /* 32 */ \
  OP(RtVoid, ShadingInterpolation, (RtToken type), (type))  /* 33 */ \
  OP(RtVoid, Matte, (RtBoolean onoff), (onoff))  /* 34 */ \
  OP(RtVoid, Bound, (RtBound bound), (bound))  /* 35 */ \
  OP(RtVoid, Detail, (RtBound bound), (bound))  /* 36 */ \
  OP(RtVoid, DetailRange, (RtFloat minvisible, RtFloat lowertransition, RtFloat uppertransition, RtFloat maxvisible), (minvisible, lowertransition, uppertransition, maxvisible))  /* 37 */ \
  OP(RtVoid, GeometricApproximation, (RtToken type, RtFloat value), (type, value))  /* 38 */ \
  OP(RtVoid, GeometricRepresentation, (RtToken type), (type))  /* 39 */ \
  OP(RtVoid, Sides, (RtInt sides), (sides))  /* 40 */ \
  OP(RtVoid, Orientation, (RtToken orientation), (orientation))  /* 41 */ \
  OP(RtVoid, ReverseOrientation, (), ())  /* 42 */ \
  LIST_OP(RtVoid, AttributeV, (RtToken name), (name))  /* 43 */ \
  PAIRS_OP(RtVoid, Attribute, (RtToken name), (name), name)  /* 44 */ \
  OP(RtVoid, Identity, (), ())  /* 45 */ \
  OP(RtVoid, ConcatTransform, (RtMatrix transform), (transform))  /* 46 */ \
  OP(RtVoid, Transform, (RtMatrix transform), (transform))  /* 47 */ \
  OP(RtVoid, Perspective, (RtFloat fov), (fov))  /* 48 */ \
  OP(RtVoid, Translate, (RtFloat dx, RtFloat dy, RtFloat dz), (dx, dy, dz))  /* 49 */ \
  OP(RtVoid, Rotate, (RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz), (angle, dx, dy, dz))  /* 50 */ \
  OP(RtVoid, Scale, (RtFloat sx, RtFloat sy, RtFloat sz), (sx, sy, sz))  /* 51 */ \
  OP(RtVoid, Skew, (RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2, RtFloat dz2), (angle, dx1, dy1, dz1, dx2, dy2, dz2))  /* 52 */ \
  OP(RtVoid, CoordinateSystem, (RtToken space), (space))  /* 53 */ \
  OP(RtVoid, CoordSysTransform, (RtToken space), (space))  /* 54 */ \
  OP(RtPoint*, TransformPoints, (RtToken fromspace, RtToken tospace, RtInt n, RtPoint points[]), (fromspace, tospace, n, points))  /* 55 */ \
  OP(RtVoid, TransformBegin, (), ())  /* 56 */ \
  OP(RtVoid, TransformEnd, (), ())  /* 57 */ \
  VARARGS_OP(RtVoid, MotionBegin, (RtInt n))  /* 58 */ \
  OP(RtVoid, MotionBeginV, (RtInt n, RtFloat times[]), (n, times))  /* 59 */ \
  OP(RtVoid, MotionEnd, (), ())  /* 60 */ \
  PAIRS_OP(RtVoid, Surface, (RtToken name), (name), name)  /* 61 */ \
  LIST_OP(RtVoid, SurfaceV, (RtToken name), (name))  /* 62 */ \
  PAIRS_OP(RtVoid, Displacement, (RtToken name), (name), name)  /* 63 */ \
  LIST_OP(RtVoid, DisplacementV, (RtToken name), (name))  /* 64 */ \
  PAIRS_OP(RtVoid, Atmosphere, (RtToken name), (name), name)  /* 65 */ \
  LIST_OP(RtVoid, AtmosphereV, (RtToken name), (name))  /* 66 */ \
  PAIRS_OP(RtVoid, Interior, (RtToken name), (name), name)  /* 67 */ \
  LIST_OP(RtVoid, InteriorV, (RtToken name), (name))  /* 68 */ \
  PAIRS_OP(RtVoid, Exterior, (RtToken name), (name), name)  /* 69 */ \
  LIST_OP(RtVoid, ExteriorV, (RtToken name), (name))  /* 70 */ \
  PAIRS_OP(RtVoid, Imager, (RtToken name), (name), name)  /* 71 */ \
  LIST_OP(RtVoid, ImagerV, (RtToken name), (name))  /* 72 */ \
  PAIRS_OP(RtLightHandle, LightSource, (RtToken name), (name), name)  /* 73 */ \
  LIST_OP(RtLightHandle, LightSourceV, (RtToken name), (name))  /* 74 */ \
  PAIRS_OP(RtLightHandle, AreaLightSource, (RtToken name), (name), name)  /* 75 */ \
  LIST_OP(RtLightHandle, AreaLightSourceV, (RtToken name), (name))  /* 76 */ \
  OP(RtVoid, Illuminate, (RtLightHandle light, RtBoolean onoff), (light, onoff))  /* 77 */ \
  PAIRS_OP(RtVoid, Cone, (RtFloat height, RtFloat radius, RtFloat thetamax), (height, radius, thetamax), thetamax)  /* 78 */ \
  LIST_OP(RtVoid, ConeV, (RtFloat height, RtFloat radius, RtFloat thetamax), (height, radius, thetamax))  /* 79 */ \
  PAIRS_OP(RtVoid, Cylinder, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (radius, zmin, zmax, thetamax), thetamax)  /* 80 */ \
  LIST_OP(RtVoid, CylinderV, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (radius, zmin, zmax, thetamax))  /* 81 */ \
  PAIRS_OP(RtVoid, Disk, (RtFloat height, RtFloat radius, RtFloat thetamax), (height, radius, thetamax), thetamax)  /* 82 */ \
  LIST_OP(RtVoid, DiskV, (RtFloat height, RtFloat radius, RtFloat thetamax), (height, radius, thetamax))  /* 83 */ \
  PAIRS_OP(RtVoid, Hyperboloid, (RtPoint point1, RtPoint point2, RtFloat thetamax), (point1, point2, thetamax), thetamax)  /* 84 */ \
  LIST_OP(RtVoid, HyperboloidV, (RtPoint point1, RtPoint point2, RtFloat thetamax), (point1, point2, thetamax))  /* 85 */ \
  PAIRS_OP(RtVoid, Paraboloid, (RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (rmax, zmin, zmax, thetamax), thetamax)  /* 86 */ \
  LIST_OP(RtVoid, ParaboloidV, (RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (rmax, zmin, zmax, thetamax))  /* 87 */ \
  PAIRS_OP(RtVoid, Sphere, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (radius, zmin, zmax, thetamax), thetamax)  /* 88 */ \
  LIST_OP(RtVoid, SphereV, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), (radius, zmin, zmax, thetamax))  /* 89 */ \
  PAIRS_OP(RtVoid, Torus, (RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax, RtFloat thetamax), (majorradius, minorradius, phimin, phimax, thetamax), thetamax)  /* 90 */ \
  LIST_OP(RtVoid, TorusV, (RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax, RtFloat thetamax), (majorradius, minorradius, phimin, phimax, thetamax))  /* 91 */ \
  PAIRS_OP(RtVoid, Polygon, (RtInt nvertices), (nvertices), nvertices)  /* 92 */ \
  LIST_OP(RtVoid, PolygonV, (RtInt nvertices), (nvertices))  /* 93 */ \
  PAIRS_OP(RtVoid, GeneralPolygon, (RtInt nloops, RtInt nvertices[]), (nloops, nvertices), nvertices)  /* 94 */ \
  LIST_OP(RtVoid, GeneralPolygonV, (RtInt nloops, RtInt nvertices[]), (nloops, nvertices))  /* 95 */ \
  PAIRS_OP(RtVoid, PointsPolygons, (RtInt npolys, RtInt nvertices[], RtInt vertices[]), (npolys, nvertices, vertices), vertices)  /* 96 */ \
  LIST_OP(RtVoid, PointsPolygonsV, (RtInt npolys, RtInt nvertices[], RtInt vertices[]), (npolys, nvertices, vertices))  /* 97 */ \
  PAIRS_OP(RtVoid, PointsGeneralPolygons, (RtInt npolys, RtInt nloops[], RtInt nvertices[], RtInt vertices[]), (npolys, nloops, nvertices, vertices), vertices)  /* 98 */ \
  LIST_OP(RtVoid, PointsGeneralPolygonsV, (RtInt npolys, RtInt nloops[], RtInt nvertices[], RtInt vertices[]), (npolys, nloops, nvertices, vertices))  /* 99 */ \
  OP(RtVoid, Basis, (RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep), (ubasis, ustep, vbasis, vstep))  /* 100 */ \
  PAIRS_OP(RtVoid, Patch, (RtToken type), (type), type)  /* 101 */ \
  LIST_OP(RtVoid, PatchV, (RtToken type), (type))  /* 102 */ \
  PAIRS_OP(RtVoid, PatchMesh, (RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap), (type, nu, uwrap, nv, vwrap), vwrap)  /* 103 */ \
  LIST_OP(RtVoid, PatchMeshV, (RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap), (type, nu, uwrap, nv, vwrap))  /* 104 */ \
  OP(RtVoid, TrimCurve, (RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat min[], RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[], RtFloat w[]), (nloops, ncurves, order, knot, min, max, n, u, v, w))  /* 105 */ \
  PAIRS_OP(RtVoid, NuPatch, (RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax), (nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax), vmax)  /* 106 */ \
  LIST_OP(RtVoid, NuPatchV, (RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax), (nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax))  /* 107 */ \
  PAIRS_OP(RtVoid, Curves, (RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap), (type, ncurves, nvertices, wrap), wrap)  /* 108 */ \
  LIST_OP(RtVoid, CurvesV, (RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap), (type, ncurves, nvertices, wrap))  /* 109 */ \
  PAIRS_OP(RtVoid, Points, (RtInt npoints), (npoints), npoints)  /* 110 */ \
  LIST_OP(RtVoid, PointsV, (RtInt npoints), (npoints))  /* 111 */ \
  PAIRS_OP(RtVoid, SubdivisionMesh, (RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[]), (scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs), floatargs)  /* 112 */ \
  LIST_OP(RtVoid, SubdivisionMeshV, (RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[]), (scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs))  /* 113 */ \
  PAIRS_OP(RtVoid, Blobby, (RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr, RtToken str[]), (nleaf, ncode, code, nflt, flt, nstr, str), str)  /* 114 */ \
  LIST_OP(RtVoid, BlobbyV, (RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr, RtToken str[]), (nleaf, ncode, code, nflt, flt, nstr, str))  /* 115 */ \
  OP(RtVoid, Procedural, (RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc, RtProcFreeFunc freefunc), (data, bound, subdivfunc, freefunc))  /* 116 */ \
  PAIRS_OP(RtVoid, Geometry, (RtToken type), (type), type)  /* 117 */ \
  LIST_OP(RtVoid, GeometryV, (RtToken type), (type))  /* 118 */ \
  OP(RtVoid, SolidBegin, (RtToken operation), (operation))  /* 119 */ \
  OP(RtVoid, SolidEnd, (), ())  /* 120 */ \
  OP(RtObjectHandle, ObjectBegin, (), ())  /* 121 */ \
  OP(RtVoid, ObjectEnd, (), ())  /* 122 */ \
  OP(RtVoid, ObjectInstance, (RtObjectHandle handle), (handle))  /* 123 */ \
  PAIRS_OP(RtVoid, MakeTexture, (char *picturename, char *texturename, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (picturename, texturename, swrap, twrap, filterfunc, swidth, twidth), twidth)  /* 124 */ \
  LIST_OP(RtVoid, MakeTextureV, (char *picturename, char *texturename, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (picturename, texturename, swrap, twrap, filterfunc, swidth, twidth))  /* 125 */ \
  PAIRS_OP(RtVoid, MakeLatLongEnvironment, (char *picturename, char *texturename, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (picturename, texturename, filterfunc, swidth, twidth), twidth)  /* 126 */ \
  LIST_OP(RtVoid, MakeLatLongEnvironmentV, (char *picturename, char *texturename, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (picturename, texturename, filterfunc, swidth, twidth))  /* 127 */ \
  PAIRS_OP(RtVoid, MakeCubeFaceEnvironment, (char *px, char *nx, char *py, char *ny, char *pz, char *nz, char *texturename, RtFloat fov, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (px, nx, py, ny, pz, nz, texturename, fov, filterfunc, swidth, twidth), twidth)  /* 128 */ \
  LIST_OP(RtVoid, MakeCubeFaceEnvironmentV, (char *px, char *nx, char *py, char *ny, char *pz, char *nz, char *texturename, RtFloat fov, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (px, nx, py, ny, pz, nz, texturename, fov, filterfunc, swidth, twidth))  /* 129 */ \
  PAIRS_OP(RtVoid, MakeShadow, (char *picturename, char *texturename), (picturename, texturename), texturename)  /* 130 */ \
  LIST_OP(RtVoid, MakeShadowV, (char *picturename, char *texturename), (picturename, texturename))  /* 131 */ \
  OP(RtToken, Declare, (char *name, char *declaration), (name, declaration))  /* 132 */ \
  VARARGS_OP(RtVoid, ArchiveRecord, (RtToken type, char *format))  /* 133 */ \
  OP(RtVoid, ArchiveRecordV, (RtToken type, char *format, va_list args), (type, format, args))  /* 134 */ \
  PAIRS_OP(RtVoid, ReadArchive, (RtToken name, RtArchiveCallback callback), (name, callback), callback)  /* 135 */ \
  LIST_OP(RtVoid, ReadArchiveV, (RtToken name, RtArchiveCallback callback), (name, callback))  /* 136 */ \
  OP(RtVoid, ErrorHandler, (RtErrorHandler handler), (handler))  /* 137 */

namespace vellum {

// The value an operation returns when it has nothing to say: none, or a
// null handle, token or point array.
template <typename Result>
Result defaultResult() {
  return Result();
}

// Swallows the arguments of an operation that does not look at them.
template <typename... Args>
void ignoreArguments(const Args &...) {}

class RenderContext {
 public:
  virtual ~RenderContext() = default;  // 0

#define VELLUM_PURE(R, Name, Params, Args) virtual R Name Params = 0;
#define VELLUM_PURE_LIST(R, Name, Fixed, FixedArgs) virtual R Name VELLUM_LIST_PARAMS(Fixed) = 0;
#define VELLUM_COLLECTING(R, Name, Fixed, FixedArgs, Last) virtual R Name(VELLUM_UNPAREN Fixed, ...);
#define VELLUM_VARIADIC(R, Name, Fixed) virtual R Name(VELLUM_UNPAREN Fixed, ...);
  VELLUM_RENDER_CONTEXT_SLOTS(VELLUM_PURE, VELLUM_PURE_LIST, VELLUM_COLLECTING, VELLUM_VARIADIC)
#undef VELLUM_PURE
#undef VELLUM_PURE_LIST
#undef VELLUM_COLLECTING
#undef VELLUM_VARIADIC
};

// Declares, inside a class derived from RenderContext, an override of every
// operation that the base does not implement itself.
#define VELLUM_OVERRIDE_OP(R, Name, Params, Args) R Name Params override;
#define VELLUM_OVERRIDE_LIST_OP(R, Name, Fixed, FixedArgs) R Name VELLUM_LIST_PARAMS(Fixed) override;
#define VELLUM_INHERITED_OP(...)
#define VELLUM_OVERRIDE_ALL_OPERATIONS                                               \
  VELLUM_RENDER_CONTEXT_SLOTS(VELLUM_OVERRIDE_OP, VELLUM_OVERRIDE_LIST_OP, VELLUM_INHERITED_OP, \
                              VELLUM_INHERITED_OP)

}  // namespace vellum

#endif
