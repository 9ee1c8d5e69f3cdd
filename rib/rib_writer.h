// RibWriter: the rendering context that writes every request as RIB.
//
// Each request is one line of ASCII RIB (a blobby with a parameter list
// takes three); in binary mode the float values that pass through the
// float encoders become binary RIB tokens and everything else stays text.
// The operations live in one file per request group.
#ifndef VELLUM_RIB_RIB_WRITER_H
#define VELLUM_RIB_RIB_WRITER_H

#include <cstdint>
#include <initializer_list>
#include <string>

#include "ri/render_context.h"
#include "rib/primitive_counts.h"
#include "rib/rib_stream.h"

namespace vellum {

// The name of one of the five standard pixel filters, "" for any other.
const char *filterName(RtFilterFunc filter);

class RibWriter : public RenderContext {
 public:
  // `name` selects the destination (see RibStream); the settings are
  // (token, value) pairs ending with RI_NULL: "format" (a string, "binary"
  // or not), "binary" (an RtInt), "compression" and "gzip" (accepted, no
  // effect).
  RibWriter(RtToken name, ...);
  ~RibWriter() override;

  // Structure and archives.
  RtVoid FrameBegin(RtInt frame) override;
  RtVoid FrameEnd() override;
  RtVoid WorldBegin() override;
  RtVoid WorldEnd() override;
  RtVoid AttributeBegin() override;
  RtVoid AttributeEnd() override;
  RtToken Declare(char *name, char *declaration) override;
  RtVoid ArchiveRecord(RtToken type, char *format, ...) override;
  RtVoid ArchiveRecordV(RtToken type, char *format, va_list args) override;
  RtVoid ReadArchive(RtToken name, RtArchiveCallback callback, ...) override;
  RtVoid ReadArchiveV(RtToken name, RtArchiveCallback callback, RtInt n, RtToken tokens[],
                      RtPointer parms[]) override;
  RtVoid ErrorHandler(RtErrorHandler handler) override;

  // Camera and options.
  RtVoid Format(RtInt xres, RtInt yres, RtFloat aspect) override;
  RtVoid FrameAspectRatio(RtFloat aspect) override;
  RtVoid ScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top) override;
  RtVoid CropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax) override;
  RtVoid Projection(RtToken name, ...) override;
  RtVoid ProjectionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Clipping(RtFloat hither, RtFloat yon) override;
  RtVoid DepthOfField(RtFloat fstop, RtFloat focallength, RtFloat focaldistance) override;
  RtVoid Shutter(RtFloat min, RtFloat max) override;
  RtVoid PixelVariance(RtFloat variation) override;
  RtVoid PixelSamples(RtFloat xsamples, RtFloat ysamples) override;
  RtVoid PixelFilter(RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth) override;
  RtVoid Exposure(RtFloat gain, RtFloat gamma) override;
  RtVoid Quantize(RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl) override;
  RtVoid Display(char *name, RtToken type, RtToken mode, ...) override;
  RtVoid DisplayV(char *name, RtToken type, RtToken mode, RtInt n, RtToken tokens[],
                  RtPointer parms[]) override;
  RtVoid Hider(RtToken type, ...) override;
  RtVoid HiderV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid ColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[]) override;
  RtVoid RelativeDetail(RtFloat relativedetail) override;
  RtVoid Option(RtToken name, ...) override;
  RtVoid OptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;

  // Attributes.
  RtVoid Color(RtColor Cs) override;
  RtVoid Opacity(RtColor Os) override;
  RtVoid TextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3,
                            RtFloat t3, RtFloat s4, RtFloat t4) override;
  RtVoid ShadingRate(RtFloat size) override;
  RtVoid ShadingInterpolation(RtToken type) override;
  RtVoid Matte(RtBoolean onoff) override;
  RtVoid Bound(RtBound bound) override;
  RtVoid Detail(RtBound bound) override;
  RtVoid DetailRange(RtFloat minvisible, RtFloat lowertransition, RtFloat uppertransition,
                     RtFloat maxvisible) override;
  RtVoid GeometricApproximation(RtToken type, RtFloat value) override;
  RtVoid GeometricRepresentation(RtToken type) override;
  RtVoid Sides(RtInt sides) override;
  RtVoid Orientation(RtToken orientation) override;
  RtVoid ReverseOrientation() override;
  RtVoid AttributeV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Attribute(RtToken name, ...) override;

  // Transformations and motion.
  RtVoid Identity() override;
  RtVoid ConcatTransform(RtMatrix transform) override;
  RtVoid Transform(RtMatrix transform) override;
  RtVoid Perspective(RtFloat fov) override;
  RtVoid Translate(RtFloat dx, RtFloat dy, RtFloat dz) override;
  RtVoid Rotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz) override;
  RtVoid Scale(RtFloat sx, RtFloat sy, RtFloat sz) override;
  RtVoid Skew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2,
              RtFloat dz2) override;
  RtVoid CoordinateSystem(RtToken space) override;
  RtVoid CoordSysTransform(RtToken space) override;
  RtPoint *TransformPoints(RtToken fromspace, RtToken tospace, RtInt n,
                           RtPoint points[]) override;
  RtVoid TransformBegin() override;
  RtVoid TransformEnd() override;
  RtVoid MotionBegin(RtInt n, ...) override;
  RtVoid MotionBeginV(RtInt n, RtFloat times[]) override;
  RtVoid MotionEnd() override;

  // Shaders and lights.
  RtVoid Surface(RtToken name, ...) override;
  RtVoid SurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Displacement(RtToken name, ...) override;
  RtVoid DisplacementV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Atmosphere(RtToken name, ...) override;
  RtVoid AtmosphereV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Interior(RtToken name, ...) override;
  RtVoid InteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Exterior(RtToken name, ...) override;
  RtVoid ExteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Imager(RtToken name, ...) override;
  RtVoid ImagerV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtLightHandle LightSource(RtToken name, ...) override;
  RtLightHandle LightSourceV(RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]) override;
  RtLightHandle AreaLightSource(RtToken name, ...) override;
  RtLightHandle AreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                 RtPointer parms[]) override;
  RtVoid Illuminate(RtLightHandle light, RtBoolean onoff) override;

  // Geometry.
  RtVoid Cone(RtFloat height, RtFloat radius, RtFloat thetamax, ...) override;
  RtVoid ConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
               RtPointer parms[]) override;
  RtVoid Cylinder(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) override;
  RtVoid CylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                   RtToken tokens[], RtPointer parms[]) override;
  RtVoid Disk(RtFloat height, RtFloat radius, RtFloat thetamax, ...) override;
  RtVoid DiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken tokens[],
               RtPointer parms[]) override;
  RtVoid Hyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax, ...) override;
  RtVoid HyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n,
                      RtToken tokens[], RtPointer parms[]) override;
  RtVoid Paraboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) override;
  RtVoid ParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                     RtToken tokens[], RtPointer parms[]) override;
  RtVoid Sphere(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...) override;
  RtVoid SphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                 RtToken tokens[], RtPointer parms[]) override;
  RtVoid Torus(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
               RtFloat thetamax, ...) override;
  RtVoid TorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin, RtFloat phimax,
                RtFloat thetamax, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid Polygon(RtInt nvertices, ...) override;
  RtVoid PolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid GeneralPolygon(RtInt nloops, RtInt nvertices[], ...) override;
  RtVoid GeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n, RtToken tokens[],
                         RtPointer parms[]) override;
  RtVoid PointsPolygons(RtInt npolys, RtInt nvertices[], RtInt vertices[], ...) override;
  RtVoid PointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[], RtInt n,
                         RtToken tokens[], RtPointer parms[]) override;
  RtVoid PointsGeneralPolygons(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                               RtInt vertices[], ...) override;
  RtVoid PointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                RtInt vertices[], RtInt n, RtToken tokens[],
                                RtPointer parms[]) override;
  RtVoid Basis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep) override;
  RtVoid Patch(RtToken type, ...) override;
  RtVoid PatchV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid PatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap,
                   ...) override;
  RtVoid PatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, RtInt n,
                    RtToken tokens[], RtPointer parms[]) override;
  RtVoid TrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat min[],
                   RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[], RtFloat w[]) override;
  RtVoid NuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                 RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, ...) override;
  RtVoid NuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax,
                  RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, RtInt n,
                  RtToken tokens[], RtPointer parms[]) override;
  RtVoid Curves(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...) override;
  RtVoid CurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n,
                 RtToken tokens[], RtPointer parms[]) override;
  RtVoid Points(RtInt npoints, ...) override;
  RtVoid PointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid SubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                         RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                         RtFloat floatargs[], ...) override;
  RtVoid SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                          RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                          RtFloat floatargs[], RtInt n, RtToken tokens[],
                          RtPointer parms[]) override;
  RtVoid Blobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
                RtToken str[], ...) override;
  RtVoid BlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                 RtInt nstr, RtToken str[], RtInt n, RtToken tokens[],
                 RtPointer parms[]) override;
  RtVoid Procedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                    RtProcFreeFunc freefunc) override;
  RtVoid Geometry(RtToken type, ...) override;
  RtVoid GeometryV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid SolidBegin(RtToken operation) override;
  RtVoid SolidEnd() override;
  RtObjectHandle ObjectBegin() override;
  RtVoid ObjectEnd() override;
  RtVoid ObjectInstance(RtObjectHandle handle) override;

  // Texture making (no entry points; reached through the context).
  RtVoid MakeTexture(char *picturename, char *texturename, RtToken swrap, RtToken twrap,
                     RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, ...) override;
  RtVoid MakeTextureV(char *picturename, char *texturename, RtToken swrap, RtToken twrap,
                      RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, RtInt n,
                      RtToken tokens[], RtPointer parms[]) override;
  RtVoid MakeLatLongEnvironment(char *picturename, char *texturename, RtFilterFunc filterfunc,
                                RtFloat swidth, RtFloat twidth, ...) override;
  RtVoid MakeLatLongEnvironmentV(char *picturename, char *texturename,
                                 RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth,
                                 RtInt n, RtToken tokens[], RtPointer parms[]) override;
  RtVoid MakeCubeFaceEnvironment(char *px, char *nx, char *py, char *ny, char *pz, char *nz,
                                 char *texturename, RtFloat fov, RtFilterFunc filterfunc,
                                 RtFloat swidth, RtFloat twidth, ...) override;
  RtVoid MakeCubeFaceEnvironmentV(char *px, char *nx, char *py, char *ny, char *pz, char *nz,
                                  char *texturename, RtFloat fov, RtFilterFunc filterfunc,
                                  RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[],
                                  RtPointer parms[]) override;
  RtVoid MakeShadow(char *picturename, char *texturename, ...) override;
  RtVoid MakeShadowV(char *picturename, char *texturename, RtInt n, RtToken tokens[],
                     RtPointer parms[]) override;

  // Value encoders.  Counts are element counts; a negative count or a null
  // array writes no values.
  void writeFloat(RtFloat value);
  void writeFloatArray(const RtFloat *values, int64_t count);
  void writeIntArray(const RtInt *values, int64_t count);
  void writeStringArray(const RtToken *strings, int64_t count);

  // Parameter lists: each writes the rest of the request's line and ends it.
  // writeParamList starts with a blank and the quoted name, then, for a
  // number above 0, a blank and the number.
  void writeParamList(const char *name, RtInt number, RtInt n, RtToken tokens[],
                      RtPointer parms[]);
  void writePrimitiveParamList(RtInt vertexCount, RtInt varyingCount, RtInt uniformCount,
                               RtInt n, RtToken tokens[], RtPointer parms[]);

  RtInt binaryFlag() const { return binary_; }
  RtInt uStep() const { return uStep_; }
  RtInt vStep() const { return vStep_; }
  const char *outputName() const { return outputName_; }

 private:
  // Text pieces of a request, appended to the stream's buffer.
  void text(const char *literal) { out_.append(literal); }
  void character(char c) { out_.push_back(c); }
  // A float as "%g" text; a non-finite one as RI_INFINITY, -RI_INFINITY or 0.
  void number(double value);
  // A float as "%f" text, non-finite ones replaced as for number().
  void fixedNumber(double value);
  void integer(long value);
  // A string between double quotes, escaped so that it cannot end early;
  // null is the empty string.
  void quoted(const char *string);
  // Each value as a blank and "%g" text.
  void numbers(std::initializer_list<double> values);
  // Ends a request: lets the stream hand on its buffer when it is large.
  void done() { stream_.requestDone(); }
  void endLine() {
    character('\n');
    done();
  }
  // A primitive's list with counts clamped to 0..INT32_MAX.
  void primitiveList(const PrimitiveCounts &counts, RtInt n, RtToken tokens[],
                     RtPointer parms[]);
  static RtInt clampCount(int64_t count);
  // A quadric: keyword, "%g" operands, then the list with counts 4, 4, 1.
  void quadric(const char *keyword, std::initializer_list<double> operands, RtInt n,
               RtToken tokens[], RtPointer parms[]);
  // " \"filter\" swidth twidth" and the line end of a texture request.
  void filterAndWidths(RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth);
  // A basis by name when it is one of the predefined ones, else 16 floats.
  void basis(RtBasis matrix);
  void writeValues(int type, const void *values, int64_t count);
  void writeParams(const PrimitiveCounts *counts, RtInt n, RtToken tokens[], RtPointer parms[]);
  void reportNonFinite();
  // `value`, or its stand-in when it is not finite (reported once).
  double finite(double value);
  // Keyword, a blank, `count` floats through writeFloatArray, line end.
  void floatArrayRequest(const char *keyword, const RtFloat *values, int64_t count);
  // A shader or light: keyword, then the list with its name and number.
  void shaderRequest(const char *keyword, RtToken name, RtInt number, RtInt n, RtToken tokens[],
                     RtPointer parms[]);
  RtLightHandle lightRequest(const char *keyword, RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]);

  RibStream stream_;
  std::string &out_;
  const char *outputName_ = nullptr;
  RtInt uStep_ = 3;
  RtInt vStep_ = 3;
  RtInt binary_ = 0;
  RtInt nextLightHandle_ = 1;
  RtInt nextObjectHandle_ = 1;
  bool nonFiniteReported_ = false;
};

}  // namespace vellum

#endif
