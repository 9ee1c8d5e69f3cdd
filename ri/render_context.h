// RenderContext: one virtual operation per request, in a fixed slot order.
// The RibWriter implements it; the entry points of ri.h reach the current
// context only through it.
//
// A request with a parameter list has two operations in adjacent slots: the
// varargs form (token/value pairs ending with RI_NULL, at most 512 used),
// which collects its pairs and calls the list form ("V"), which takes the
// count and the two arrays.  The entry points call the list forms only.
#ifndef VELLUM_RI_RENDER_CONTEXT_H
#define VELLUM_RI_RENDER_CONTEXT_H

#include <cstdarg>

#include "ri.h"

namespace vellum {

class RenderContext {
 public:
  virtual ~RenderContext() = default;                                        // 0

  virtual RtVoid FrameBegin(RtInt frame) = 0;                                // 1
  virtual RtVoid FrameEnd() = 0;                                             // 2
  virtual RtVoid WorldBegin() = 0;                                           // 3
  virtual RtVoid WorldEnd() = 0;                                             // 4
  virtual RtVoid Format(RtInt xres, RtInt yres, RtFloat aspect) = 0;         // 5
  virtual RtVoid FrameAspectRatio(RtFloat aspect) = 0;                       // 6
  virtual RtVoid ScreenWindow(RtFloat left, RtFloat right, RtFloat bottom,
                              RtFloat top) = 0;                              // 7
  virtual RtVoid CropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin,
                            RtFloat ymax) = 0;                               // 8
  virtual RtVoid Projection(RtToken name, ...) = 0;                          // 9
  virtual RtVoid ProjectionV(RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]) = 0;                         // 10
  virtual RtVoid Clipping(RtFloat hither, RtFloat yon) = 0;                  // 11
  virtual RtVoid DepthOfField(RtFloat fstop, RtFloat focallength,
                              RtFloat focaldistance) = 0;                    // 12
  virtual RtVoid Shutter(RtFloat min, RtFloat max) = 0;                      // 13
  virtual RtVoid PixelVariance(RtFloat variation) = 0;                       // 14
  virtual RtVoid PixelSamples(RtFloat xsamples, RtFloat ysamples) = 0;       // 15
  virtual RtVoid PixelFilter(RtFilterFunc filterfunc, RtFloat xwidth,
                             RtFloat ywidth) = 0;                            // 16
  virtual RtVoid Exposure(RtFloat gain, RtFloat gamma) = 0;                  // 17
  virtual RtVoid Quantize(RtToken type, RtInt one, RtInt min, RtInt max,
                          RtFloat ampl) = 0;                                 // 18
  virtual RtVoid Display(char *name, RtToken type, RtToken mode, ...) = 0;   // 19
  virtual RtVoid DisplayV(char *name, RtToken type, RtToken mode, RtInt n,
                          RtToken tokens[], RtPointer parms[]) = 0;          // 20
  virtual RtVoid Hider(RtToken type, ...) = 0;                               // 21
  virtual RtVoid HiderV(RtToken type, RtInt n, RtToken tokens[],
                        RtPointer parms[]) = 0;                              // 22
  virtual RtVoid ColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[]) = 0;  // 23
  virtual RtVoid RelativeDetail(RtFloat relativedetail) = 0;                 // 24
  virtual RtVoid Option(RtToken name, ...) = 0;                              // 25
  virtual RtVoid OptionV(RtToken name, RtInt n, RtToken tokens[],
                         RtPointer parms[]) = 0;                             // 26
  virtual RtVoid AttributeBegin() = 0;                                       // 27
  virtual RtVoid AttributeEnd() = 0;                                         // 28
  virtual RtVoid Color(RtColor Cs) = 0;                                      // 29
  virtual RtVoid Opacity(RtColor Os) = 0;                                    // 30
  virtual RtVoid TextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2,
                                    RtFloat s3, RtFloat t3, RtFloat s4,
                                    RtFloat t4) = 0;                         // 31
  virtual RtVoid ShadingRate(RtFloat size) = 0;                              // 32
  virtual RtVoid ShadingInterpolation(RtToken type) = 0;                     // 33
  virtual RtVoid Matte(RtBoolean onoff) = 0;                                 // 34
  virtual RtVoid Bound(RtBound bound) = 0;                                   // 35
  virtual RtVoid Detail(RtBound bound) = 0;                                  // 36
  virtual RtVoid DetailRange(RtFloat minvisible, RtFloat lowertransition,
                             RtFloat uppertransition, RtFloat maxvisible) = 0;  // 37
  virtual RtVoid GeometricApproximation(RtToken type, RtFloat value) = 0;    // 38
  virtual RtVoid GeometricRepresentation(RtToken type) = 0;                  // 39
  virtual RtVoid Sides(RtInt sides) = 0;                                     // 40
  virtual RtVoid Orientation(RtToken orientation) = 0;                       // 41
  virtual RtVoid ReverseOrientation() = 0;                                   // 42
  virtual RtVoid AttributeV(RtToken name, RtInt n, RtToken tokens[],
                            RtPointer parms[]) = 0;                          // 43
  virtual RtVoid Attribute(RtToken name, ...) = 0;                           // 44
  virtual RtVoid Identity() = 0;                                             // 45
  virtual RtVoid ConcatTransform(RtMatrix transform) = 0;                    // 46
  virtual RtVoid Transform(RtMatrix transform) = 0;                          // 47
  virtual RtVoid Perspective(RtFloat fov) = 0;                               // 48
  virtual RtVoid Translate(RtFloat dx, RtFloat dy, RtFloat dz) = 0;          // 49
  virtual RtVoid Rotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz) = 0;  // 50
  virtual RtVoid Scale(RtFloat sx, RtFloat sy, RtFloat sz) = 0;              // 51
  virtual RtVoid Skew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1,
                      RtFloat dx2, RtFloat dy2, RtFloat dz2) = 0;            // 52
  virtual RtVoid CoordinateSystem(RtToken space) = 0;                        // 53
  virtual RtVoid CoordSysTransform(RtToken space) = 0;                       // 54
  virtual RtPoint *TransformPoints(RtToken fromspace, RtToken tospace, RtInt n,
                                   RtPoint points[]) = 0;                    // 55
  virtual RtVoid TransformBegin() = 0;                                       // 56
  virtual RtVoid TransformEnd() = 0;                                         // 57
  virtual RtVoid MotionBegin(RtInt n, ...) = 0;                              // 58
  virtual RtVoid MotionBeginV(RtInt n, RtFloat times[]) = 0;                 // 59
  virtual RtVoid MotionEnd() = 0;                                            // 60
  virtual RtVoid Surface(RtToken name, ...) = 0;                             // 61
  virtual RtVoid SurfaceV(RtToken name, RtInt n, RtToken tokens[],
                          RtPointer parms[]) = 0;                            // 62
  virtual RtVoid Displacement(RtToken name, ...) = 0;                        // 63
  virtual RtVoid DisplacementV(RtToken name, RtInt n, RtToken tokens[],
                               RtPointer parms[]) = 0;                       // 64
  virtual RtVoid Atmosphere(RtToken name, ...) = 0;                          // 65
  virtual RtVoid AtmosphereV(RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]) = 0;                         // 66
  virtual RtVoid Interior(RtToken name, ...) = 0;                            // 67
  virtual RtVoid InteriorV(RtToken name, RtInt n, RtToken tokens[],
                           RtPointer parms[]) = 0;                           // 68
  virtual RtVoid Exterior(RtToken name, ...) = 0;                            // 69
  virtual RtVoid ExteriorV(RtToken name, RtInt n, RtToken tokens[],
                           RtPointer parms[]) = 0;                           // 70
  virtual RtVoid Imager(RtToken name, ...) = 0;                              // 71
  virtual RtVoid ImagerV(RtToken name, RtInt n, RtToken tokens[],
                         RtPointer parms[]) = 0;                             // 72
  virtual RtLightHandle LightSource(RtToken name, ...) = 0;                  // 73
  virtual RtLightHandle LightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                     RtPointer parms[]) = 0;                 // 74
  virtual RtLightHandle AreaLightSource(RtToken name, ...) = 0;              // 75
  virtual RtLightHandle AreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                         RtPointer parms[]) = 0;             // 76
  virtual RtVoid Illuminate(RtLightHandle light, RtBoolean onoff) = 0;       // 77
  virtual RtVoid Cone(RtFloat height, RtFloat radius, RtFloat thetamax, ...) = 0;  // 78
  virtual RtVoid ConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n,
                       RtToken tokens[], RtPointer parms[]) = 0;             // 79
  virtual RtVoid Cylinder(RtFloat radius, RtFloat zmin, RtFloat zmax,
                          RtFloat thetamax, ...) = 0;                        // 80
  virtual RtVoid CylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax,
                           RtFloat thetamax, RtInt n, RtToken tokens[],
                           RtPointer parms[]) = 0;                           // 81
  virtual RtVoid Disk(RtFloat height, RtFloat radius, RtFloat thetamax, ...) = 0;  // 82
  virtual RtVoid DiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n,
                       RtToken tokens[], RtPointer parms[]) = 0;             // 83
  virtual RtVoid Hyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax,
                             ...) = 0;                                       // 84
  virtual RtVoid HyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax,
                              RtInt n, RtToken tokens[], RtPointer parms[]) = 0;  // 85
  virtual RtVoid Paraboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax,
                            RtFloat thetamax, ...) = 0;                      // 86
  virtual RtVoid ParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax,
                             RtFloat thetamax, RtInt n, RtToken tokens[],
                             RtPointer parms[]) = 0;                         // 87
  virtual RtVoid Sphere(RtFloat radius, RtFloat zmin, RtFloat zmax,
                        RtFloat thetamax, ...) = 0;                          // 88
  virtual RtVoid SphereV(RtFloat radius, RtFloat zmin, RtFloat zmax,
                         RtFloat thetamax, RtInt n, RtToken tokens[],
                         RtPointer parms[]) = 0;                             // 89
  virtual RtVoid Torus(RtFloat majorradius, RtFloat minorradius, RtFloat phimin,
                       RtFloat phimax, RtFloat thetamax, ...) = 0;           // 90
  virtual RtVoid TorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin,
                        RtFloat phimax, RtFloat thetamax, RtInt n,
                        RtToken tokens[], RtPointer parms[]) = 0;            // 91
  virtual RtVoid Polygon(RtInt nvertices, ...) = 0;                          // 92
  virtual RtVoid PolygonV(RtInt nvertices, RtInt n, RtToken tokens[],
                          RtPointer parms[]) = 0;                            // 93
  virtual RtVoid GeneralPolygon(RtInt nloops, RtInt nvertices[], ...) = 0;   // 94
  virtual RtVoid GeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n,
                                 RtToken tokens[], RtPointer parms[]) = 0;   // 95
  virtual RtVoid PointsPolygons(RtInt npolys, RtInt nvertices[], RtInt vertices[],
                                ...) = 0;                                    // 96
  virtual RtVoid PointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[],
                                 RtInt n, RtToken tokens[],
                                 RtPointer parms[]) = 0;                     // 97
  virtual RtVoid PointsGeneralPolygons(RtInt npolys, RtInt nloops[],
                                       RtInt nvertices[], RtInt vertices[],
                                       ...) = 0;                             // 98
  virtual RtVoid PointsGeneralPolygonsV(RtInt npolys, RtInt nloops[],
                                        RtInt nvertices[], RtInt vertices[],
                                        RtInt n, RtToken tokens[],
                                        RtPointer parms[]) = 0;              // 99
  virtual RtVoid Basis(RtBasis ubasis, RtInt ustep, RtBasis vbasis,
                       RtInt vstep) = 0;                                     // 100
  virtual RtVoid Patch(RtToken type, ...) = 0;                               // 101
  virtual RtVoid PatchV(RtToken type, RtInt n, RtToken tokens[],
                        RtPointer parms[]) = 0;                              // 102
  virtual RtVoid PatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv,
                           RtToken vwrap, ...) = 0;                          // 103
  virtual RtVoid PatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv,
                            RtToken vwrap, RtInt n, RtToken tokens[],
                            RtPointer parms[]) = 0;                          // 104
  virtual RtVoid TrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[],
                           RtFloat knot[], RtFloat min[], RtFloat max[], RtInt n[],
                           RtFloat u[], RtFloat v[], RtFloat w[]) = 0;       // 105
  virtual RtVoid NuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin,
                         RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[],
                         RtFloat vmin, RtFloat vmax, ...) = 0;               // 106
  virtual RtVoid NuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin,
                          RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[],
                          RtFloat vmin, RtFloat vmax, RtInt n, RtToken tokens[],
                          RtPointer parms[]) = 0;                            // 107
  virtual RtVoid Curves(RtToken type, RtInt ncurves, RtInt nvertices[],
                        RtToken wrap, ...) = 0;                              // 108
  virtual RtVoid CurvesV(RtToken type, RtInt ncurves, RtInt nvertices[],
                         RtToken wrap, RtInt n, RtToken tokens[],
                         RtPointer parms[]) = 0;                             // 109
  virtual RtVoid Points(RtInt npoints, ...) = 0;                             // 110
  virtual RtVoid PointsV(RtInt npoints, RtInt n, RtToken tokens[],
                         RtPointer parms[]) = 0;                             // 111
  virtual RtVoid SubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                 RtInt vertices[], RtInt ntags, RtToken tags[],
                                 RtInt nargs[], RtInt intargs[],
                                 RtFloat floatargs[], ...) = 0;              // 112
  virtual RtVoid SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                  RtInt vertices[], RtInt ntags, RtToken tags[],
                                  RtInt nargs[], RtInt intargs[],
                                  RtFloat floatargs[], RtInt n, RtToken tokens[],
                                  RtPointer parms[]) = 0;                    // 113
  virtual RtVoid Blobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt,
                        RtFloat flt[], RtInt nstr, RtToken str[], ...) = 0;  // 114
  virtual RtVoid BlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt,
                         RtFloat flt[], RtInt nstr, RtToken str[], RtInt n,
                         RtToken tokens[], RtPointer parms[]) = 0;           // 115
  virtual RtVoid Procedural(RtPointer data, RtBound bound,
                            RtProcSubdivFunc subdivfunc,
                            RtProcFreeFunc freefunc) = 0;                    // 116
  virtual RtVoid Geometry(RtToken type, ...) = 0;                            // 117
  virtual RtVoid GeometryV(RtToken type, RtInt n, RtToken tokens[],
                           RtPointer parms[]) = 0;                           // 118
  virtual RtVoid SolidBegin(RtToken operation) = 0;                          // 119
  virtual RtVoid SolidEnd() = 0;                                             // 120
  virtual RtObjectHandle ObjectBegin() = 0;                                  // 121
  virtual RtVoid ObjectEnd() = 0;                                            // 122
  virtual RtVoid ObjectInstance(RtObjectHandle handle) = 0;                  // 123
  virtual RtVoid MakeTexture(char *picturename, char *texturename, RtToken swrap,
                             RtToken twrap, RtFilterFunc filterfunc,
                             RtFloat swidth, RtFloat twidth, ...) = 0;       // 124
  virtual RtVoid MakeTextureV(char *picturename, char *texturename, RtToken swrap,
                              RtToken twrap, RtFilterFunc filterfunc,
                              RtFloat swidth, RtFloat twidth, RtInt n,
                              RtToken tokens[], RtPointer parms[]) = 0;      // 125
  virtual RtVoid MakeLatLongEnvironment(char *picturename, char *texturename,
                                        RtFilterFunc filterfunc, RtFloat swidth,
                                        RtFloat twidth, ...) = 0;            // 126
  virtual RtVoid MakeLatLongEnvironmentV(char *picturename, char *texturename,
                                         RtFilterFunc filterfunc, RtFloat swidth,
                                         RtFloat twidth, RtInt n, RtToken tokens[],
                                         RtPointer parms[]) = 0;             // 127
  virtual RtVoid MakeCubeFaceEnvironment(char *px, char *nx, char *py, char *ny,
                                         char *pz, char *nz, char *texturename,
                                         RtFloat fov, RtFilterFunc filterfunc,
                                         RtFloat swidth, RtFloat twidth,
                                         ...) = 0;                           // 128
  virtual RtVoid MakeCubeFaceEnvironmentV(char *px, char *nx, char *py, char *ny,
                                          char *pz, char *nz, char *texturename,
                                          RtFloat fov, RtFilterFunc filterfunc,
                                          RtFloat swidth, RtFloat twidth, RtInt n,
                                          RtToken tokens[],
                                          RtPointer parms[]) = 0;            // 129
  virtual RtVoid MakeShadow(char *picturename, char *texturename, ...) = 0;  // 130
  virtual RtVoid MakeShadowV(char *picturename, char *texturename, RtInt n,
                             RtToken tokens[], RtPointer parms[]) = 0;       // 131
  virtual RtToken Declare(char *name, char *declaration) = 0;                // 132
  virtual RtVoid ArchiveRecord(RtToken type, char *format, ...) = 0;         // 133
  virtual RtVoid ArchiveRecordV(RtToken type, char *format, va_list args) = 0;  // 134
  virtual RtVoid ReadArchive(RtToken name, RtArchiveCallback callback, ...) = 0;  // 135
  virtual RtVoid ReadArchiveV(RtToken name, RtArchiveCallback callback, RtInt n,
                              RtToken tokens[], RtPointer parms[]) = 0;      // 136
  virtual RtVoid ErrorHandler(RtErrorHandler handler) = 0;                   // 137
};

}  // namespace vellum

#endif
