/*
 * ri.h: the RenderMan Interface as a C client sees it.
 *
 * Every call is forwarded to the current rendering context, which writes it
 * as RIB (ASCII or binary) to a file, to standard output or into a renderer
 * program.  A minimal program:
 *
 *     RiBegin("scene.rib");          // or RI_NULL for standard output
 *     RiWorldBegin();
 *     RiSphere(1, -1, 1, 360, RI_NULL);
 *     RiWorldEnd();
 *     RiEnd();
 *
 * Variable-length parameter lists are (token, value pointer) pairs ended by
 * RI_NULL; at most 512 pairs of one call are used.  The header compiles as
 * C99 and as C++.
 */
#ifndef VELLUM_RI_H
#define VELLUM_RI_H

#include <stdarg.h>

#if defined(__GNUC__)
#define RI_API __attribute__((visibility("default")))
#else
#define RI_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Basic types of the interface. */
typedef short RtBoolean;
typedef int RtInt;
typedef float RtFloat;
typedef char *RtToken;
typedef char *RtString;
typedef void *RtPointer;
typedef void RtVoid;

typedef RtFloat RtColor[3];
typedef RtFloat RtPoint[3];
typedef RtFloat RtMatrix[4][4];
typedef RtFloat RtBasis[4][4];
typedef RtFloat RtBound[6];

/* Opaque, pointer-sized handles. */
typedef RtPointer RtLightHandle;
typedef RtPointer RtObjectHandle;
typedef RtPointer RtContextHandle;

typedef RtFloat (*RtFilterFunc)(RtFloat, RtFloat, RtFloat, RtFloat);
typedef RtVoid (*RtErrorHandler)(RtInt code, RtInt severity, char *message);
typedef RtVoid (*RtProcSubdivFunc)(RtPointer data, RtFloat detail);
typedef RtVoid (*RtProcFreeFunc)(RtPointer data);
typedef RtVoid (*RtArchiveCallback)(RtToken type, char *format, ...);

#define RI_NULL ((RtToken)0)
#define RI_TRUE 1
#define RI_FALSE 0
#define RI_INFINITY ((RtFloat)1.0e38)
#define RI_EPSILON ((RtFloat)1.0e-10)

/* Error codes. */
#define RIE_NOERROR 0
#define RIE_NOMEM 1
#define RIE_SYSTEM 2
#define RIE_NOFILE 3
#define RIE_BADFILE 4
#define RIE_VERSION 5
#define RIE_DISKFULL 6
#define RIE_INCAPABLE 11
#define RIE_UNIMPLEMENT 12
#define RIE_LIMIT 13
#define RIE_BUG 14
#define RIE_NOTSTARTED 23
#define RIE_NESTING 24
#define RIE_NOTOPTIONS 25
#define RIE_NOTATTRIBS 26
#define RIE_NOTPRIMS 27
#define RIE_ILLSTATE 28
#define RIE_BADMOTION 29
#define RIE_BADSOLID 30
#define RIE_BADTOKEN 41
#define RIE_RANGE 42
#define RIE_CONSISTENCY 43
#define RIE_BADHANDLE 44
#define RIE_NOSHADER 45
#define RIE_MISSINGDATA 46
#define RIE_SYNTAX 47
#define RIE_MATH 61

/* Error severities. */
#define RIE_INFO 0
#define RIE_WARNING 1
#define RIE_ERROR 2
#define RIE_SEVERE 3

/* Code of the last error reported through RiErrorPrint or RiErrorIgnore. */
RI_API extern RtInt RiLastError;

/* Predefined tokens: pass these (not copies of their text) as tokens. */
RI_API extern RtToken RI_MATTE, RI_METAL, RI_PLASTIC, RI_PAINTEDPLASTIC,
    RI_SHINYMETAL, RI_BUMPY, RI_KA, RI_KD, RI_KS, RI_KR, RI_ROUGHNESS,
    RI_SPECULARCOLOR, RI_DEPTHCUE, RI_FOG, RI_MINDISTANCE, RI_MAXDISTANCE,
    RI_BACKGROUND, RI_DISTANCE, RI_TEXTURENAME, RI_AMPLITUDE, RI_AMBIENTLIGHT,
    RI_POINTLIGHT, RI_DISTANTLIGHT, RI_SPOTLIGHT, RI_INTENSITY, RI_LIGHTCOLOR,
    RI_FROM, RI_TO, RI_CONEANGLE, RI_CONEDELTAANGLE, RI_BEAMDISTRIBUTION,
    RI_MERGE, RI_HIDDEN, RI_PAINT, RI_FLATNESS, RI_INSIDE, RI_OUTSIDE, RI_LH,
    RI_RH, RI_PERIODIC, RI_NONPERIODIC, RI_CLAMP, RI_BLACK, RI_BILINEAR,
    RI_BICUBIC, RI_PRIMITIVE, RI_INTERSECTION, RI_UNION, RI_DIFFERENCE,
    RI_FRAMEBUFFER, RI_FILE, RI_RGB, RI_RGBA, RI_RGBZ, RI_RGBAZ, RI_A, RI_Z,
    RI_AZ, RI_PERSPECTIVE, RI_ORTHOGRAPHIC, RI_FOV, RI_ORIGIN, RI_RASTER,
    RI_SCREEN, RI_CAMERA, RI_WORLD, RI_OBJECT, RI_CURRENT, RI_NDC, RI_EYE,
    RI_SHADER, RI_P, RI_PZ, RI_PW, RI_N, RI_NP, RI_CS, RI_OS, RI_S, RI_T,
    RI_ST, RI_CONSTANT, RI_SMOOTH, RI_IGNORE, RI_PRINT, RI_ABORT, RI_HANDLER,
    RI_COMMENT, RI_STRUCTURE, RI_VERBATIM, RI_IDENTIFIER, RI_NAME, RI_LINEAR,
    RI_CUBIC, RI_WIDTH, RI_CONSTANTWIDTH, RI_HOLE, RI_CREASE, RI_CORNER,
    RI_INTERPOLATEBOUNDARY;
/* Tokens of renderer-specific and texture-making parameters. */
RI_API extern RtToken RI_NONDIFFUSE /* "__nondiffuse" */,
    RI_NONSPECULAR /* "__nonspecular" */, RI_BOX, RI_CATMULLROM, RI_SINC,
    RI_GAUSSIAN, RI_TRIANGLE, RI_FILTER, RI_SWIDTH, RI_TWIDTH, RI_FILL,
    RI_FIDELITY, RI_SAMPLES, RI_BLUR, RI_SBLUR, RI_TBLUR, RI_BIAS, RI_LERP,
    RI_GAPBIAS, RI_SOURCE, RI_GAPOPT, RI_REFBLUR, RI_SREFBLUR, RI_TREFBLUR,
    RI_IGNOREABOVE, RI_CATEGORY /* "__category" */, RI_DOLLAR_W /* "_$w" */;

/* Predefined bases, recognised by address by RiBasis. */
RI_API extern RtBasis RiBezierBasis, RiBSplineBasis, RiCatmullRomBasis,
    RiHermiteBasis, RiPowerBasis;

#define RI_BEZIERSTEP ((RtInt)3)
#define RI_BSPLINESTEP ((RtInt)1)
#define RI_CATMULLROMSTEP ((RtInt)1)
#define RI_HERMITESTEP ((RtInt)2)
#define RI_POWERSTEP ((RtInt)4)

/* Pixel filters, recognised by address by RiPixelFilter. */
RI_API RtFloat RiGaussianFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiBoxFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiTriangleFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiCatmullRomFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiSincFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);

/* Procedural primitives, recognised by address by RiProcedural. */
RI_API RtVoid RiProcDelayedReadArchive(RtPointer data, RtFloat detail);
RI_API RtVoid RiProcRunProgram(RtPointer data, RtFloat detail);
RI_API RtVoid RiProcDynamicLoad(RtPointer data, RtFloat detail);

/* Error handlers. */
RI_API RtVoid RiErrorIgnore(RtInt code, RtInt severity, char *message);
RI_API RtVoid RiErrorPrint(RtInt code, RtInt severity, char *message);
RI_API RtVoid RiErrorAbort(RtInt code, RtInt severity, char *message);

/* Contexts. */
RI_API RtVoid RiBegin(RtToken name);
RI_API RtVoid RiEnd(void);
RI_API RtVoid RiContext(RtContextHandle handle);
RI_API RtContextHandle RiGetContext(void);

/* Structure, archives and declarations. */
RI_API RtVoid RiFrameBegin(RtInt frame);
RI_API RtVoid RiFrameEnd(void);
RI_API RtVoid RiWorldBegin(void);
RI_API RtVoid RiWorldEnd(void);
RI_API RtVoid RiErrorHandler(RtErrorHandler handler);
RI_API RtVoid RiArchiveRecord(RtToken type, char *format, ...);
RI_API RtVoid RiVArchiveRecord(RtToken type, char *format, va_list args);
RI_API RtVoid RiReadArchive(RtToken name, RtArchiveCallback callback, ...);
RI_API RtVoid RiReadArchiveV(RtToken name, RtArchiveCallback callback,
                             RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtToken RiDeclare(char *name, char *declaration);

/* Camera and options. */
RI_API RtVoid RiFormat(RtInt xresolution, RtInt yresolution, RtFloat pixelaspectratio);
RI_API RtVoid RiFrameAspectRatio(RtFloat frameaspectratio);
RI_API RtVoid RiScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top);
RI_API RtVoid RiCropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax);
RI_API RtVoid RiProjection(RtToken name, ...);
RI_API RtVoid RiProjectionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiClipping(RtFloat hither, RtFloat yon);
RI_API RtVoid RiDepthOfField(RtFloat fstop, RtFloat focallength, RtFloat focaldistance);
RI_API RtVoid RiShutter(RtFloat min, RtFloat max);
RI_API RtVoid RiPixelVariance(RtFloat variation);
RI_API RtVoid RiPixelSamples(RtFloat xsamples, RtFloat ysamples);
RI_API RtVoid RiPixelFilter(RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth);
RI_API RtVoid RiExposure(RtFloat gain, RtFloat gamma);
RI_API RtVoid RiQuantize(RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl);
RI_API RtVoid RiDisplay(char *name, RtToken type, RtToken mode, ...);
RI_API RtVoid RiDisplayV(char *name, RtToken type, RtToken mode,
                         RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiHider(RtToken type, ...);
RI_API RtVoid RiHiderV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[]);
RI_API RtVoid RiRelativeDetail(RtFloat relativedetail);
RI_API RtVoid RiOption(RtToken name, ...);
RI_API RtVoid RiOptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);

/* Attributes. */
RI_API RtVoid RiAttributeBegin(void);
RI_API RtVoid RiAttributeEnd(void);
RI_API RtVoid RiColor(RtColor Cs);
RI_API RtVoid RiOpacity(RtColor Os);
RI_API RtVoid RiTextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2,
                                   RtFloat s3, RtFloat t3, RtFloat s4, RtFloat t4);
RI_API RtVoid RiShadingRate(RtFloat size);
RI_API RtVoid RiShadingInterpolation(RtToken type);
RI_API RtVoid RiMatte(RtBoolean onoff);
RI_API RtVoid RiBound(RtBound bound);
RI_API RtVoid RiDetail(RtBound bound);
RI_API RtVoid RiDetailRange(RtFloat minvisible, RtFloat lowertransition,
                            RtFloat uppertransition, RtFloat maxvisible);
RI_API RtVoid RiGeometricApproximation(RtToken type, RtFloat value);
RI_API RtVoid RiGeometricRepresentation(RtToken type);
RI_API RtVoid RiSides(RtInt sides);
RI_API RtVoid RiOrientation(RtToken orientation);
RI_API RtVoid RiReverseOrientation(void);
RI_API RtVoid RiAttribute(RtToken name, ...);
RI_API RtVoid RiAttributeV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);

/* Transformations. */
RI_API RtVoid RiIdentity(void);
RI_API RtVoid RiConcatTransform(RtMatrix transform);
RI_API RtVoid RiTransform(RtMatrix transform);
RI_API RtVoid RiPerspective(RtFloat fov);
RI_API RtVoid RiTranslate(RtFloat dx, RtFloat dy, RtFloat dz);
RI_API RtVoid RiRotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz);
RI_API RtVoid RiScale(RtFloat sx, RtFloat sy, RtFloat sz);
RI_API RtVoid RiSkew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1,
                     RtFloat dx2, RtFloat dy2, RtFloat dz2);
RI_API RtVoid RiCoordinateSystem(RtToken space);
RI_API RtVoid RiCoordSysTransform(RtToken space);
RI_API RtPoint *RiTransformPoints(RtToken fromspace, RtToken tospace, RtInt n,
                                  RtPoint points[]);
RI_API RtVoid RiTransformBegin(void);
RI_API RtVoid RiTransformEnd(void);
RI_API RtVoid RiMotionBegin(RtInt n, ...);
RI_API RtVoid RiMotionBeginV(RtInt n, RtFloat times[]);
RI_API RtVoid RiMotionEnd(void);

/* Shaders and lights. */
RI_API RtVoid RiSurface(RtToken name, ...);
RI_API RtVoid RiSurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiDisplacement(RtToken name, ...);
RI_API RtVoid RiDisplacementV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiAtmosphere(RtToken name, ...);
RI_API RtVoid RiAtmosphereV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiInterior(RtToken name, ...);
RI_API RtVoid RiInteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiExterior(RtToken name, ...);
RI_API RtVoid RiExteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiImager(RtToken name, ...);
RI_API RtVoid RiImagerV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtLightHandle RiLightSource(RtToken name, ...);
RI_API RtLightHandle RiLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                    RtPointer parms[]);
RI_API RtLightHandle RiAreaLightSource(RtToken name, ...);
RI_API RtLightHandle RiAreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                        RtPointer parms[]);
RI_API RtVoid RiIlluminate(RtLightHandle light, RtBoolean onoff);

/* Geometry. */
RI_API RtVoid RiBasis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep);
RI_API RtVoid RiTrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[],
                          RtFloat min[], RtFloat max[], RtInt n[], RtFloat u[],
                          RtFloat v[], RtFloat w[]);
RI_API RtVoid RiPatch(RtToken type, ...);
RI_API RtVoid RiPatchV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiPatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv,
                          RtToken vwrap, ...);
RI_API RtVoid RiPatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv,
                           RtToken vwrap, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiNuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin,
                        RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[],
                        RtFloat vmin, RtFloat vmax, ...);
RI_API RtVoid RiNuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin,
                         RtFloat umax, RtInt nv, RtInt vorder, RtFloat vknot[],
                         RtFloat vmin, RtFloat vmax, RtInt n, RtToken tokens[],
                         RtPointer parms[]);
RI_API RtVoid RiCone(RtFloat height, RtFloat radius, RtFloat thetamax, ...);
RI_API RtVoid RiConeV(RtFloat height, RtFloat radius, RtFloat thetamax,
                      RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiCylinder(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...);
RI_API RtVoid RiCylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax,
                          RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiDisk(RtFloat height, RtFloat radius, RtFloat thetamax, ...);
RI_API RtVoid RiDiskV(RtFloat height, RtFloat radius, RtFloat thetamax,
                      RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiHyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax, ...);
RI_API RtVoid RiHyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax,
                             RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiParaboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...);
RI_API RtVoid RiParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax,
                            RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiSphere(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...);
RI_API RtVoid RiSphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax,
                        RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiTorus(RtFloat majorradius, RtFloat minorradius, RtFloat phimin,
                      RtFloat phimax, RtFloat thetamax, ...);
RI_API RtVoid RiTorusV(RtFloat majorradius, RtFloat minorradius, RtFloat phimin,
                       RtFloat phimax, RtFloat thetamax, RtInt n, RtToken tokens[],
                       RtPointer parms[]);
RI_API RtVoid RiPolygon(RtInt nvertices, ...);
RI_API RtVoid RiPolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiGeneralPolygon(RtInt nloops, RtInt nvertices[], ...);
RI_API RtVoid RiGeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n,
                                RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiPointsPolygons(RtInt npolys, RtInt nvertices[], RtInt vertices[], ...);
RI_API RtVoid RiPointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[],
                                RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiPointsGeneralPolygons(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                      RtInt vertices[], ...);
RI_API RtVoid RiPointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[],
                                       RtInt vertices[], RtInt n, RtToken tokens[],
                                       RtPointer parms[]);
RI_API RtVoid RiCurves(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...);
RI_API RtVoid RiCurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap,
                        RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiPoints(RtInt npoints, ...);
RI_API RtVoid RiPointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiSubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                RtInt vertices[], RtInt ntags, RtToken tags[],
                                RtInt nargs[], RtInt intargs[], RtFloat floatargs[], ...);
RI_API RtVoid RiSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                 RtInt vertices[], RtInt ntags, RtToken tags[],
                                 RtInt nargs[], RtInt intargs[], RtFloat floatargs[],
                                 RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiBlobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                       RtInt nstr, RtToken str[], ...);
RI_API RtVoid RiBlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                        RtInt nstr, RtToken str[], RtInt n, RtToken tokens[],
                        RtPointer parms[]);
RI_API RtVoid RiProcedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                           RtProcFreeFunc freefunc);
RI_API RtVoid RiGeometry(RtToken type, ...);
RI_API RtVoid RiGeometryV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiSolidBegin(RtToken operation);
RI_API RtVoid RiSolidEnd(void);
RI_API RtObjectHandle RiObjectBegin(void);
RI_API RtVoid RiObjectEnd(void);
RI_API RtVoid RiObjectInstance(RtObjectHandle handle);

#ifdef __cplusplus
}
#endif

#endif /* VELLUM_RI_H */
