// The requests of the interface, each described once.  Everything that
// lists requests follows from this one list: the slots of RenderContext
// and the overrides of every context, the C entry points, the RIB
// writer's generic requests, the reader's table (operands, checks, counts,
// replay), what the preview does with each, and the C interface's fuzz
// target.
//
// A row:  R(Name, form, result, (params), (args), "operands", Counts, Check,
//           flags, entry, text, replay, preview)
//
//   Name      the RIB keyword, the C entry point without "Ri", the context
//             operation (its list form adds "V").
//   form      PLAIN: one operation.  LIST: a parameter list follows the
//             params: a varargs form (pairs after the last param) and a
//             list form NameV, in that order; LIST_V_FIRST: the same with
//             the list form first.  VARARGS: a varargs form whose params are
//             all but the last of the list form NameV's.  RIB_ONLY: a RIB
//             request without an operation; read, checked and handed on as
//             text with a warning.
//   params, args  the operation's fixed parameters and their names.
//   operands  how the reader reads the operands, one letter each: i
//             integer, b boolean (16 bits), f float, s string, H a light or
//             object handle (integer or string), I integer array, F float
//             array, S string array, B basis (a name or 16 numbers), T the
//             optional tag arrays of a subdivision mesh.  Runs of i, b and f
//             may also be given as one array of numbers.
//   Counts    the count rule of a primitive's parameter list (NoCounts:
//             storage classes play no part); the reader's and the writer's
//             functions of that name apply it.
//   Check     the reader's check beyond the operands, or NoCheck.
//   flags     RequestFlag values below.
//   entry     ENTRY: the C entry points forward to the current context;
//             OWN_ENTRY: they are written by hand (ri/entry_own.cpp);
//             NONE: the interface has no entry point for it.
//   text      TEXT: the writer writes the keyword, each operand after a
//             blank ("%g", "%d", a quoted string, a filter by name) and the
//             parameter list; OWN_TEXT: the writer's own method.
//   replay    REPLAY: the reader calls the operation with the operands in
//             order, each by its parameter's type; OWN_REPLAY: a replay
//             function of the reader's own (reader/replays.cpp).
//             (text and replay are NONE where there is no operation, or no
//             RIB request.)
//   preview   ACTS: the preview context implements it; IGNORES; SKIPS: it
//             warns once "Name skipped".
//
// Adding a request is adding a row (after the last row with an operation:
// existing slots keep their order), its declaration in include/ri.h, and
// tests.  More is needed only where the row says OWN_... (a hand-written
// entry point, text or replay), for a new count rule (reader/count_rules
// and rib/writer_counts.h), a new check (reader/request_checks), and for
// what the preview draws (ACTS).
#ifndef VELLUM_RI_REQUESTS_H
#define VELLUM_RI_REQUESTS_H

namespace vellum {

enum RequestFlag : unsigned {
  kPrimitive = 1u << 0,        // a piece of geometry
  kLooseParameters = 1u << 1,  // its parameters need no declaration: the renderer
                               // types them (from a compiled shader, or its own tables)
  kOption = 1u << 2,           // an option of the frame
  kAttribute = 1u << 3,        // an attribute of what follows
  kOpensBlock = 1u << 4,       // begins a block that the request named alike with
  kClosesBlock = 1u << 5,      // "End" for "Begin" ends
  kNotReplayed = 1u << 6,      // the stream's own "version": every writer writes its own
  kNoKeyword = 1u << 7,        // an operation without a RIB request of its own
  // Set by the reader from a row's form, not written in rows:
  kParameters = 1u << 8,    // a parameter list follows the operands
  kNoEntryPoint = 1u << 9,  // a RIB_ONLY request, handed on as text
};

}  // namespace vellum

// clang-format off
#define VELLUM_REQUESTS(R) \
  R(FrameBegin, PLAIN, RtVoid, (RtInt frame), (frame), \
    "i", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(FrameEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(WorldBegin, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(WorldEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, OWN_TEXT, REPLAY, ACTS) \
  R(Format, PLAIN, RtVoid, (RtInt xres, RtInt yres, RtFloat aspect), (xres, yres, aspect), \
    "iif", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(FrameAspectRatio, PLAIN, RtVoid, (RtFloat aspect), (aspect), \
    "f", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(ScreenWindow, PLAIN, RtVoid, (RtFloat left, RtFloat right, RtFloat bottom, RtFloat top), \
    (left, right, bottom, top), "ffff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(CropWindow, PLAIN, RtVoid, (RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax), \
    (xmin, xmax, ymin, ymax), "ffff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(Projection, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(Clipping, PLAIN, RtVoid, (RtFloat hither, RtFloat yon), (hither, yon), \
    "ff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(DepthOfField, PLAIN, RtVoid, (RtFloat fstop, RtFloat focallength, RtFloat focaldistance), \
    (fstop, focallength, focaldistance), "fff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Shutter, PLAIN, RtVoid, (RtFloat min, RtFloat max), (min, max), \
    "ff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(PixelVariance, PLAIN, RtVoid, (RtFloat variation), (variation), \
    "f", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(PixelSamples, PLAIN, RtVoid, (RtFloat xsamples, RtFloat ysamples), (xsamples, ysamples), \
    "ff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(PixelFilter, PLAIN, RtVoid, (RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth), \
    (filterfunc, xwidth, ywidth), "sff", NoCounts, PixelFilter, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Exposure, PLAIN, RtVoid, (RtFloat gain, RtFloat gamma), (gain, gamma), \
    "ff", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(Quantize, PLAIN, RtVoid, (RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl), \
    (type, one, min, max, ampl), "siiif", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Display, LIST, RtVoid, (char *name, RtToken type, RtToken mode), (name, type, mode), \
    "sss", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, ACTS) \
  R(Hider, LIST, RtVoid, (RtToken type), (type), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ColorSamples, PLAIN, RtVoid, (RtInt n, RtFloat nRGB[], RtFloat RGBn[]), (n, nRGB, RGBn), \
    "FF", NoCounts, ColorSamples, kOption, ENTRY, OWN_TEXT, OWN_REPLAY, IGNORES) \
  R(RelativeDetail, PLAIN, RtVoid, (RtFloat relativedetail), (relativedetail), \
    "f", NoCounts, NoCheck, kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Option, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, OWN_ENTRY, OWN_TEXT, REPLAY, IGNORES) \
  R(AttributeBegin, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(AttributeEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(Color, PLAIN, RtVoid, (RtColor Cs), (Cs), \
    "fff", NoCounts, NoCheck, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Opacity, PLAIN, RtVoid, (RtColor Os), (Os), \
    "fff", NoCounts, NoCheck, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(TextureCoordinates, PLAIN, RtVoid, (RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3, RtFloat t3, RtFloat s4, RtFloat t4), \
    (s1, t1, s2, t2, s3, t3, s4, t4), "ffffffff", NoCounts, NoCheck, kAttribute, ENTRY, OWN_TEXT, REPLAY, IGNORES) \
  R(ShadingRate, PLAIN, RtVoid, (RtFloat size), (size), \
    "f", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ShadingInterpolation, PLAIN, RtVoid, (RtToken type), (type), \
    "s", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Matte, PLAIN, RtVoid, (RtBoolean onoff), (onoff), \
    "b", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Bound, PLAIN, RtVoid, (RtBound bound), (bound), \
    "ffffff", NoCounts, NoCheck, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, IGNORES) \
  R(Detail, PLAIN, RtVoid, (RtBound bound), (bound), \
    "ffffff", NoCounts, NoCheck, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(DetailRange, PLAIN, RtVoid, (RtFloat minvisible, RtFloat lowertransition, RtFloat uppertransition, RtFloat maxvisible), \
    (minvisible, lowertransition, uppertransition, maxvisible), "ffff", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(GeometricApproximation, PLAIN, RtVoid, (RtToken type, RtFloat value), (type, value), \
    "sf", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(GeometricRepresentation, PLAIN, RtVoid, (RtToken type), (type), \
    "s", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Sides, PLAIN, RtVoid, (RtInt sides), (sides), \
    "i", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Orientation, PLAIN, RtVoid, (RtToken orientation), (orientation), \
    "s", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(ReverseOrientation, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Attribute, LIST_V_FIRST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Identity, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, ACTS) \
  R(ConcatTransform, PLAIN, RtVoid, (RtMatrix transform), (transform), \
    "ffffffffffffffff", NoCounts, NoCheck, 0, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Transform, PLAIN, RtVoid, (RtMatrix transform), (transform), \
    "ffffffffffffffff", NoCounts, NoCheck, 0, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Perspective, PLAIN, RtVoid, (RtFloat fov), (fov), \
    "f", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, ACTS) \
  R(Translate, PLAIN, RtVoid, (RtFloat dx, RtFloat dy, RtFloat dz), (dx, dy, dz), \
    "fff", NoCounts, NoCheck, 0, ENTRY, OWN_TEXT, REPLAY, ACTS) \
  R(Rotate, PLAIN, RtVoid, (RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz), \
    (angle, dx, dy, dz), "ffff", NoCounts, NoCheck, 0, ENTRY, OWN_TEXT, REPLAY, ACTS) \
  R(Scale, PLAIN, RtVoid, (RtFloat sx, RtFloat sy, RtFloat sz), (sx, sy, sz), \
    "fff", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, ACTS) \
  R(Skew, PLAIN, RtVoid, (RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2, RtFloat dz2), \
    (angle, dx1, dy1, dz1, dx2, dy2, dz2), "fffffff", NoCounts, NoCheck, 0, ENTRY, OWN_TEXT, REPLAY, ACTS) \
  R(CoordinateSystem, PLAIN, RtVoid, (RtToken space), (space), \
    "s", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, ACTS) \
  R(CoordSysTransform, PLAIN, RtVoid, (RtToken space), (space), \
    "s", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, ACTS) \
  R(TransformPoints, PLAIN, RtPoint*, (RtToken fromspace, RtToken tospace, RtInt n, RtPoint points[]), \
    (fromspace, tospace, n, points), "", NoCounts, NoCheck, kNoKeyword, ENTRY, OWN_TEXT, NONE, IGNORES) \
  R(TransformBegin, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(TransformEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(MotionBegin, VARARGS, RtVoid, (RtInt n, RtFloat times[]), (n, times), \
    "F", NoCounts, NoCheck, kOpensBlock, OWN_ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(MotionEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(Surface, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Displacement, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Atmosphere, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Interior, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Exterior, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Imager, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters, ENTRY, TEXT, REPLAY, IGNORES) \
  R(LightSource, LIST, RtLightHandle, (RtToken name), (name), \
    "sH", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(AreaLightSource, LIST, RtLightHandle, (RtToken name), (name), \
    "sH", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Illuminate, PLAIN, RtVoid, (RtLightHandle light, RtBoolean onoff), (light, onoff), \
    "Hb", NoCounts, Illuminate, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Cone, LIST, RtVoid, (RtFloat height, RtFloat radius, RtFloat thetamax), \
    (height, radius, thetamax), "fff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Cylinder, LIST, RtVoid, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), \
    (radius, zmin, zmax, thetamax), "ffff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Disk, LIST, RtVoid, (RtFloat height, RtFloat radius, RtFloat thetamax), \
    (height, radius, thetamax), "fff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Hyperboloid, LIST, RtVoid, (RtPoint point1, RtPoint point2, RtFloat thetamax), \
    (point1, point2, thetamax), "fffffff", Quadric, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Paraboloid, LIST, RtVoid, (RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax), \
    (rmax, zmin, zmax, thetamax), "ffff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Sphere, LIST, RtVoid, (RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax), \
    (radius, zmin, zmax, thetamax), "ffff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Torus, LIST, RtVoid, (RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax, RtFloat thetamax), \
    (majorradius, minorradius, phimin, phimax, thetamax), "fffff", Quadric, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(Polygon, LIST, RtVoid, (RtInt nvertices), (nvertices), \
    "", Positions, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(GeneralPolygon, LIST, RtVoid, (RtInt nloops, RtInt nvertices[]), (nloops, nvertices), \
    "I", GeneralPolygon, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(PointsPolygons, LIST, RtVoid, (RtInt npolys, RtInt nvertices[], RtInt vertices[]), \
    (npolys, nvertices, vertices), "II", PointsPolygons, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(PointsGeneralPolygons, LIST, RtVoid, (RtInt npolys, RtInt nloops[], RtInt nvertices[], RtInt vertices[]), \
    (npolys, nloops, nvertices, vertices), "III", PointsGeneralPolygons, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Basis, PLAIN, RtVoid, (RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep), \
    (ubasis, ustep, vbasis, vstep), "BiBi", NoCounts, KnownBasis, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Patch, LIST, RtVoid, (RtToken type), (type), \
    "s", Patch, NoCheck, kPrimitive, ENTRY, TEXT, REPLAY, ACTS) \
  R(PatchMesh, LIST, RtVoid, (RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap), \
    (type, nu, uwrap, nv, vwrap), "sisis", PatchMesh, PatchMesh, kPrimitive, ENTRY, OWN_TEXT, REPLAY, ACTS) \
  R(TrimCurve, PLAIN, RtVoid, (RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat min[], RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[], RtFloat w[]), \
    (nloops, ncurves, order, knot, min, max, n, u, v, w), "IIFFFIFFF", NoCounts, TrimCurve, kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(NuPatch, LIST, RtVoid, (RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax), \
    (nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax), "iiFffiiFff", NuPatch, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Curves, LIST, RtVoid, (RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap), \
    (type, ncurves, nvertices, wrap), "sIs", Curves, Curves, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Points, LIST, RtVoid, (RtInt npoints), (npoints), \
    "", Positions, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(SubdivisionMesh, LIST, RtVoid, (RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[]), \
    (scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs), "sIIT", SubdivisionMesh, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Blobby, LIST, RtVoid, (RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr, RtToken str[]), \
    (nleaf, ncode, code, nflt, flt, nstr, str), "iIFS", Blobby, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Procedural, PLAIN, RtVoid, (RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc, RtProcFreeFunc freefunc), \
    (data, bound, subdivfunc, freefunc), "sSF", NoCounts, Procedural, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(Geometry, LIST, RtVoid, (RtToken type), (type), \
    "s", NoCounts, NoCheck, kPrimitive | kLooseParameters, ENTRY, TEXT, REPLAY, ACTS) \
  R(SolidBegin, PLAIN, RtVoid, (RtToken operation), (operation), \
    "s", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(SolidEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(ObjectBegin, PLAIN, RtObjectHandle, (), (), \
    "H", NoCounts, NoCheck, kOpensBlock, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(ObjectEnd, PLAIN, RtVoid, (), (), \
    "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(ObjectInstance, PLAIN, RtVoid, (RtObjectHandle handle), (handle), \
    "H", NoCounts, ObjectInstance, 0, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(MakeTexture, LIST, RtVoid, (char *picturename, char *texturename, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), \
    (picturename, texturename, swrap, twrap, filterfunc, swidth, twidth), "sssssff", NoCounts, MakeTexture, kLooseParameters, NONE, OWN_TEXT, REPLAY, IGNORES) \
  R(MakeLatLongEnvironment, LIST, RtVoid, (char *picturename, char *texturename, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), \
    (picturename, texturename, filterfunc, swidth, twidth), "sssff", NoCounts, MakeLatLongEnvironment, kLooseParameters, NONE, OWN_TEXT, REPLAY, IGNORES) \
  R(MakeCubeFaceEnvironment, LIST, RtVoid, (char *px, char *nx, char *py, char *ny, char *pz, char *nz, char *texturename, RtFloat fov, RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), \
    (px, nx, py, ny, pz, nz, texturename, fov, filterfunc, swidth, twidth), "sssssssfsff", NoCounts, MakeCubeFaceEnvironment, kLooseParameters, NONE, OWN_TEXT, REPLAY, IGNORES) \
  R(MakeShadow, LIST, RtVoid, (char *picturename, char *texturename), (picturename, texturename), \
    "ss", NoCounts, MakeShadow, kLooseParameters, NONE, OWN_TEXT, REPLAY, IGNORES) \
  R(Declare, PLAIN, RtToken, (char *name, char *declaration), (name, declaration), \
    "ss", NoCounts, Declare, 0, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(ArchiveRecord, VARARGS, RtVoid, (RtToken type, char *format, va_list args), \
    (type, format, args), "", NoCounts, NoCheck, kNoKeyword, OWN_ENTRY, OWN_TEXT, NONE, IGNORES) \
  R(ReadArchive, LIST, RtVoid, (RtToken name, RtArchiveCallback callback), (name, callback), \
    "s", NoCounts, NoCheck, kLooseParameters, ENTRY, TEXT, REPLAY, ACTS) \
  R(ErrorHandler, PLAIN, RtVoid, (RtErrorHandler handler), (handler), \
    "s", NoCounts, ErrorHandler, 0, ENTRY, OWN_TEXT, REPLAY, IGNORES) \
  R(version, RIB_ONLY, RtVoid, (), (), \
    "f", NoCounts, NoCheck, kNotReplayed, NONE, NONE, NONE, IGNORES) \
  R(MakeOcclusion, RIB_ONLY, RtVoid, (), (), \
    "Ss", NoCounts, NoCheck, kLooseParameters, NONE, NONE, NONE, IGNORES) \
  R(PixelSampleImager, RIB_ONLY, RtVoid, (), (), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, NONE, NONE, NONE, IGNORES) \
  R(ArchiveBegin, LIST, RtArchiveHandle, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOpensBlock, ENTRY, OWN_TEXT, REPLAY, IGNORES) \
  R(ArchiveEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Resource, LIST, RtVoid, (RtToken handle, RtToken type), (handle, type), \
    "ss", NoCounts, NoCheck, kLooseParameters, ENTRY, TEXT, REPLAY, ACTS) \
  R(ResourceBegin, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(ResourceEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, ACTS) \
  R(Camera, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(IfBegin, LIST, RtVoid, (RtString expression), (expression), \
    "s", NoCounts, NoCheck, kLooseParameters | kOpensBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ElseIf, LIST, RtVoid, (RtString expression), (expression), \
    "s", NoCounts, InsideIf, kLooseParameters, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Else, PLAIN, RtVoid, (), (), "", NoCounts, InsideIf, 0, ENTRY, TEXT, REPLAY, IGNORES) \
  R(IfEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ScopedCoordinateSystem, PLAIN, RtVoid, (RtToken space), (space), \
    "s", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(ClippingPlane, PLAIN, RtVoid, (RtFloat x, RtFloat y, RtFloat z, RtFloat nx, RtFloat ny, RtFloat nz), \
    (x, y, z, nx, ny, nz), "ffffff", NoCounts, NoCheck, kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Deformation, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(MakeBump, LIST, RtVoid, (char *picturename, char *texturename, RtToken swrap, RtToken twrap, \
    RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth), (picturename, texturename, swrap, twrap, \
    filterfunc, swidth, twidth), "sssssff", NoCounts, NoCheck, kLooseParameters, ENTRY, TEXT, REPLAY, IGNORES) \
  R(System, PLAIN, RtVoid, (RtString command), (command), "s", NoCounts, NoCheck, 0, ENTRY, TEXT, REPLAY, IGNORES) \
  R(DisplayChannel, LIST, RtVoid, (RtToken channel), (channel), \
    "s", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditBegin, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOpensBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(HierarchicalSubdivisionMesh, LIST, RtVoid, (RtToken scheme, RtInt nfaces, RtInt nvertices[], \
    RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[], \
    RtToken stringargs[]), (scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs, \
    stringargs), "sIISIIFS", SubdivisionMesh, HierarchicalSubdivisionMesh, kPrimitive, ENTRY, OWN_TEXT, \
    OWN_REPLAY, ACTS) \
  R(Procedural2, LIST, RtVoid, (RtProc2SubdivFunc subdivide, RtProc2BoundFunc bound), (subdivide, bound), \
    "ss", OneOfEach, NoCheck, kPrimitive | kLooseParameters, ENTRY, TEXT, REPLAY, IGNORES) \
  R(MakeBrickMap, LIST, RtVoid, (RtInt nptc, RtString *ptcnames, RtString bkmname), \
    (nptc, ptcnames, bkmname), "Ss", NoCounts, NoCheck, kLooseParameters, ENTRY, OWN_TEXT, OWN_REPLAY, \
    IGNORES) \
  R(Shader, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Bxdf, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, ACTS) \
  R(Pattern, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Integrator, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Light, LIST, RtLightHandle, (RtToken name, RtToken handle), (name, handle), \
    "sH", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS) \
  R(DisplayFilter, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(SampleFilter, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kOption, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ShaderLayer, LIST, RtVoid, (RtToken type, RtToken name, RtToken layername), (type, name, layername), \
    "sss", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(ConnectShaderLayers, PLAIN, RtVoid, (RtToken type, RtToken layer1, RtToken variable1, RtToken layer2, \
    RtToken variable2), (type, layer1, variable1, layer2, variable2), "sssss", NoCounts, NoCheck, \
    kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Displace, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(LightFilter, LIST, RtVoid, (RtToken name, RtToken handle), (name, handle), \
    "ss", NoCounts, NoCheck, kLooseParameters | kAttribute, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditAttributeBegin, PLAIN, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kOpensBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditAttributeEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditWorldBegin, LIST, RtVoid, (RtToken name), (name), \
    "s", NoCounts, NoCheck, kLooseParameters | kOpensBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(EditWorldEnd, PLAIN, RtVoid, (), (), "", NoCounts, NoCheck, kClosesBlock, ENTRY, TEXT, REPLAY, IGNORES) \
  R(Volume, LIST, RtVoid, (RtToken type, RtBound bound, RtInt *dimensions), (type, bound, dimensions), \
    "sFI", Volume, NoCheck, kPrimitive, ENTRY, OWN_TEXT, OWN_REPLAY, ACTS)
// clang-format on

// The last of a parenthesized list of up to 12 names: the parameter that
// the pairs of a varargs form follow.
#define VELLUM_LAST(...) VELLUM_LAST_I(__VA_ARGS__, VELLUM_LAST_12, VELLUM_LAST_11, VELLUM_LAST_10, \
  VELLUM_LAST_9, VELLUM_LAST_8, VELLUM_LAST_7, VELLUM_LAST_6, VELLUM_LAST_5, VELLUM_LAST_4,         \
  VELLUM_LAST_3, VELLUM_LAST_2, VELLUM_LAST_1, )(__VA_ARGS__)
#define VELLUM_LAST_I(a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, which, ...) which
#define VELLUM_LAST_1(a) a
#define VELLUM_LAST_2(a, b) b
#define VELLUM_LAST_3(a, b, c) c
#define VELLUM_LAST_4(a, b, c, d) d
#define VELLUM_LAST_5(a, b, c, d, e) e
#define VELLUM_LAST_6(a, b, c, d, e, f) f
#define VELLUM_LAST_7(a, b, c, d, e, f, g) g
#define VELLUM_LAST_8(a, b, c, d, e, f, g, h) h
#define VELLUM_LAST_9(a, b, c, d, e, f, g, h, i) i
#define VELLUM_LAST_10(a, b, c, d, e, f, g, h, i, j) j
#define VELLUM_LAST_11(a, b, c, d, e, f, g, h, i, j, k) k
#define VELLUM_LAST_12(a, b, c, d, e, f, g, h, i, j, k, l) l
// All but the last of a parenthesized list of two or three parameters:
// the fixed parameters of a VARARGS form.
#define VELLUM_ALL_BUT_LAST(...)                                                                 \
  VELLUM_LAST_I(__VA_ARGS__, VELLUM_NO, VELLUM_NO, VELLUM_NO, VELLUM_NO, VELLUM_NO, VELLUM_NO,        \
                VELLUM_NO, VELLUM_NO, VELLUM_NO, VELLUM_ALL_BUT_LAST_3, VELLUM_ALL_BUT_LAST_2,        \
                VELLUM_NO, VELLUM_NO)(__VA_ARGS__)
#define VELLUM_ALL_BUT_LAST_2(a, b) (a)
#define VELLUM_ALL_BUT_LAST_3(a, b, c) (a, b)
#define VELLUM_UNPAREN(...) __VA_ARGS__

#endif
