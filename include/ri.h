/*
 * ri.h: the RenderMan Interface of vellum, as a C client sees it.
 *
 * vellum is a client library of the RenderMan Interface: a program
 * describes a scene with these calls (RiBegin, RiWorldBegin, RiSphere, ...)
 * and vellum writes every call as RIB, the interface's byte stream, for a
 * renderer program to read.  It renders nothing and keeps no graphics
 * state: each call is written when it is made, and nothing checks the
 * order or nesting of requests.  The header compiles as C99 and as C++.
 *
 *     RiBegin("scene.rib");
 *     RiWorldBegin();
 *     RiSphere(1, -1, 1, 360, RI_NULL);
 *     RiWorldEnd();
 *     RiEnd();
 *
 * Where the RIB goes: the name given to RiBegin chooses it.
 *   RI_NULL            standard output.
 *   "raylume", "qview", "zbrend"
 *                      a pipe into the program of that name, looked up on
 *                      PATH and started without a shell (the whole name,
 *                      exactly, case-sensitively).
 *   "|command"         a pipe into the command line after the bar, run by
 *                      /bin/sh.
 *   any other name     a file of that name, created or truncated.
 * When the destination cannot be opened, RiBegin prints "Error opening pipe
 * to NAME" or "Error making RIB file: bad filename" on standard error and
 * ends the process with exit status 1.
 *
 * ASCII or binary: RIB is ASCII unless the "rib" option, set before
 * RiBegin, asks for binary:
 *     RtString format = "binary";
 *     RiOption("rib", "format", (RtPointer)&format, RI_NULL);
 * or the token "binary" with an RtInt (non-zero: binary).  The option
 * holds for the contexts made after it, not for one that already exists.
 * In binary RIB the float values that make up arrays and parameter lists
 * are binary tokens (IEEE single, most significant byte first); keywords,
 * integers, strings and the plain numbers of most requests stay text.
 *
 * Compressed: the "rib" option's "compression", set before RiBegin, makes
 * the contexts made after it write gzip-compressed RIB, to a file, a pipe
 * or standard output alike (which then carries nothing else):
 *     RtString compression = "gzip";
 *     RiOption("rib", "compression", (RtPointer)&compression, RI_NULL);
 * and "none", the default, plain RIB again.  The gzip stream decompresses
 * to exactly the bytes written without it.  It is deflated at level 1,
 * the fastest, unless "compressionlevel" (an RtInt, 1 to 9) asks for
 * more; by ISA-L's igzip where the library was built with it (its own
 * levels 1 to 3 serve 1 and 2, 3 to 5 and 6 to 9), by zlib otherwise.  A
 * stream that has written a megabyte is compressed on a thread of its own
 * while the client writes on.  RiWorldEnd ends a deflate block (a sync
 * flush), so that a reader of the destination can decompress everything
 * up to it at once; so does a fork.  RiEnd, or an exit without RiEnd,
 * ends the gzip stream.  Another name is an error (RIE_BADTOKEN) and
 * changes nothing; a library built without zlib and ISA-L reports "gzip"
 * as an RIE_INCAPABLE error and writes plain RIB.
 *
 * Parameter lists: the calls ending in "..." take (token, value pointer)
 * pairs ended by RI_NULL, the calls ending in V the same as a count and
 * two arrays.  At most 512 pairs of one call are used; the others are
 * ignored.  Each value pointer points to the first of the token's values;
 * how many are written follows from the token's declaration (its class,
 * type and array length) and the primitive's counts.  The standard names
 * ("P", "N", "Cs", "st", "width", "Kd", ...) are declared by every new
 * context; others need RiDeclare or an inline declaration as the token
 * itself ("uniform float[2] foo").  Strings are written between double
 * quotes, with \" \\ and line ends escaped.
 *
 * Failures:
 * - A call that needs a context before RiBegin (or after RiEnd) prints a
 *   report through RiErrorPrint and ends the process with exit status -1
 *   (255 as the shell sees it):
 *       SEVERE ERROR: RiBegin not called
 *           --> RiWorldBegin
 *   (the second line names the call; RiDeclare, RiObjectBegin,
 *   RiLightSource, RiAreaLightSource, their V forms and RiTransformPoints
 *   print the first line only).  RiEnd without a context prints "SEVERE
 *   ERROR: Nesting error" with "--> RiEnd called at inappropriate level".
 * - A destination that cannot be opened: see above, exit status 1.
 * - Problems with the RIB itself are lines on standard error that begin
 *   with "libvellum error: ", and the program goes on: an undeclared
 *   parameter or one without a usable type (left out of its request), a
 *   non-finite float in ASCII RIB (written as 1e+38, -1e+38 or 0,
 *   reported once per context), a failed write or close of the
 *   destination (reported once per destination; what could not be written
 *   is lost), inconsistent counts of a blobby, an unknown procedural, a
 *   pixel filter function that is none of the predefined ones (written as
 *   "", reported once per context).  None of them goes through an error
 *   handler, and no call returns an error code.
 * - A primitive that one request cannot hold, which a reader refuses, is
 *   not written at all: one whose counts give a storage class more than
 *   2147483647 values (RiVolume's nx * ny * nz points, RiPatchMesh's and
 *   RiNuPatch's nu * nv, the vertices that nvertices adds up to in
 *   RiCurves, RiGeneralPolygon and the meshes, a mesh's largest vertex
 *   index plus one) or one parameter more values than that.  It is an
 *   RIE_RANGE error through RiErrorPrint (which sets RiLastError) naming
 *   the call and the operands: "ERROR: Parameter out of range" and
 *   "    --> RiVolume: dimensions 2147483647 2147483647 2147483647 give
 *   too many values (more than 2147483647 in one storage class); the
 *   request is not written".  The program goes on.
 * - A renderer that goes away does not kill the client: writing into its
 *   closed pipe, or into standard output when that is a pipe or socket
 *   whose reader has gone, is a failed write (above), not a SIGPIPE.
 * - RiWorldEnd and RiEnd hand everything written so far to the
 *   destination.  On standard output they flush stdio's buffer (with the
 *   client's own output in it), so a renderer reading it gets the whole
 *   stream at RiEnd, and a failure is reported there as above.
 * - A process that exits without RiEnd still delivers the RIB it wrote,
 *   without the final line end (compressed RIB as a whole gzip stream),
 *   and does not wait for a renderer program.
 * - A context belongs to the process that made it.  fork() first hands on
 *   what the forking thread's contexts hold (flushing standard output when
 *   RIB goes there), so nothing is buffered in two processes.  In the
 *   child, inherited contexts write nothing, at exit or ever: RiEnd there
 *   closes only the child's copy of a file or pipe and does not wait for
 *   the renderer, which still ends when the parent's RiEnd closes it.  A
 *   child that is to write RIB makes its own context.
 *
 * Threads: none of this is thread-safe.  There is one current context per
 * process, and the declarations, the "rib" option and the error-reporting
 * state are process-wide too; make every call from one thread.  A program
 * that writes several streams at once, one per thread, uses the C++
 * interface of <ri.hpp> instead: each vellum::Ri object keeps all of this
 * as its own, distinct objects may be used from different threads at the
 * same time, and this interface may be used meanwhile from one thread
 * (make its first RiBegin, which sets the RI_ tokens, before starting the
 * others).
 *
 * Linking: with pkg-config, "pkg-config --cflags --libs vellum"; with
 * CMake, find_package(vellum) and the target vellum::vellum (shared) or
 * vellum::vellum_static.  The static library needs the C++ runtime and
 * libm besides (-lstdc++ -lm), and zlib (-lz) when it was built with it.  The header is installed as vellum/ri.h;
 * both give the include directory for #include <ri.h>.  See vellum(3).
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
/* An inline archive, by its name (RiArchiveBegin). */
typedef RtPointer RtArchiveHandle;
/* The functions of RiProcedural2: a procedural that makes its geometry,
 * and one that gives its bound. */
typedef RtVoid (*RtProc2SubdivFunc)(RtContextHandle context, RtFloat detail, RtInt n,
                                    RtToken tokens[], RtPointer parms[]);
typedef RtVoid (*RtProc2BoundFunc)(RtInt n, RtToken tokens[], RtPointer parms[], RtBound bound);

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

/* The code of the last report that RiErrorPrint printed (and returned
 * from), or the code last given to RiErrorIgnore; RIE_NOERROR at start. */
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

/* Predefined bases, recognised by address by RiBasis, which writes their
 * names; a copy of their values is written as 16 numbers. */
RI_API extern RtBasis RiBezierBasis, RiBSplineBasis, RiCatmullRomBasis,
    RiHermiteBasis, RiPowerBasis;

#define RI_BEZIERSTEP ((RtInt)3)
#define RI_BSPLINESTEP ((RtInt)1)
#define RI_CATMULLROMSTEP ((RtInt)1)
#define RI_HERMITESTEP ((RtInt)2)
#define RI_POWERSTEP ((RtInt)4)

/* Pixel filters, recognised by address by RiPixelFilter, which writes
 * their names ("gaussian", "box", "triangle", "catmull-rom", "sinc").
 * Each returns the filter's weight at (x, y) for the given widths. */
RI_API RtFloat RiGaussianFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiBoxFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiTriangleFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiCatmullRomFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);
RI_API RtFloat RiSincFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth);

/* Procedural primitives, recognised by address by RiProcedural.  They are
 * names only: vellum never calls them. */
RI_API RtVoid RiProcDelayedReadArchive(RtPointer data, RtFloat detail);
RI_API RtVoid RiProcRunProgram(RtPointer data, RtFloat detail);
RI_API RtVoid RiProcDynamicLoad(RtPointer data, RtFloat detail);
/* The same for RiProcedural2: "DelayedReadArchive2", "DynamicLoad" and
 * the bound "SimpleBound". */
RI_API RtVoid RiProc2DelayedReadArchive(RtContextHandle context, RtFloat detail, RtInt n,
                                        RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiProc2DynamicLoad(RtContextHandle context, RtFloat detail, RtInt n,
                                 RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiSimpleBound(RtInt n, RtToken tokens[], RtPointer parms[], RtBound bound);

/* Error handlers.  vellum reports a call without a context, and a
 * primitive too large for one request, through RiErrorPrint, whatever
 * RiErrorHandler chose; a client may call them for
 * its own reports; RiErrorPrint and RiErrorAbort print on standard error. */
RI_API RtVoid RiErrorIgnore(RtInt code, RtInt severity, char *message);
/* Prints nothing; sets RiLastError to code. */
RI_API RtVoid RiErrorPrint(RtInt code, RtInt severity, char *message);
/* Prints "SEVERITY: message of the code" ("ERROR: Parameter out of
 * range"; "code N" for a code without a message) and, when message is not
 * null, a second line "    --> message"; then sets RiLastError.  A report
 * with the same code and message as the last printed one is not printed
 * but counted, and the count is printed as "    (last message repeated N
 * times)" before the next printed report (RIE_NOERROR and RIE_BADTOKEN
 * reports are always printed).  A printed report of severity RIE_SEVERE
 * or more ends the process with exit status -1. */
RI_API RtVoid RiErrorAbort(RtInt code, RtInt severity, char *message);
/* RiErrorPrint, then, for severity RIE_ERROR or more, ends the process
 * with exit status -1 (also when the report was counted as a repeat). */

/* Contexts.  A context is one RIB stream.  Every call but these four and
 * the "rib" option goes to the current context. */
RI_API RtVoid RiBegin(RtToken name);
/* Makes a context that writes to the destination `name` chooses (see the
 * top of this file), writes the header lines "##RenderMan RIB-Structure
 * 1.0" and "version 3.03", and makes it current.  A context that was
 * current stays open; keep its RiGetContext handle to come back to it.
 * Ends the process with status 1 when the destination cannot be opened. */
RI_API RtVoid RiEnd(void);
/* Ends the current context: writes a last line end, closes a file or pipe
 * (waiting until the renderer program has exited; its exit status is not
 * reported) and leaves standard output open.  No context is current
 * afterwards.  Without a context: a severe report, exit status -1. */
RI_API RtVoid RiContext(RtContextHandle handle);
/* Makes `handle` (from RiGetContext) current, unchecked: a null handle
 * makes the next calls fail as before RiBegin, and the handle of a context
 * that RiEnd ended must not be given. */
RI_API RtContextHandle RiGetContext(void);
/* The current context, or null. */

/* Structure, archives and declarations.  RiWorldEnd flushes the output,
 * so that a renderer at the other end of a pipe has the whole frame. */
RI_API RtVoid RiFrameBegin(RtInt frame);
RI_API RtVoid RiFrameEnd(void);
RI_API RtVoid RiWorldBegin(void);
RI_API RtVoid RiWorldEnd(void);
RI_API RtVoid RiErrorHandler(RtErrorHandler handler);
/* Tells the renderer how to handle the errors it finds: writes ErrorHandler
 * "ignore", "print" or "abort" for RiErrorIgnore, RiErrorPrint or
 * RiErrorAbort, and nothing for any other function.  It installs nothing
 * in vellum and the handler is never called. */
RI_API RtVoid RiArchiveRecord(RtToken type, char *format, ...);
/* Writes the printf-style text (formatted in the C locale) as a comment
 * line "# text" for RI_COMMENT or "##text" for RI_STRUCTURE (each line end
 * in the text starts another comment line), or as it is, with no line end
 * added, for RI_VERBATIM.  Other types are ignored. */
RI_API RtVoid RiVArchiveRecord(RtToken type, char *format, va_list args);
RI_API RtVoid RiReadArchive(RtToken name, RtArchiveCallback callback, ...);
/* Writes ReadArchive "name" for the renderer to read; vellum neither opens
 * the file nor calls the callback. */
RI_API RtVoid RiReadArchiveV(RtToken name, RtArchiveCallback callback,
                             RtInt n, RtToken tokens[], RtPointer parms[]);
/* Inline archives: the requests between RiArchiveBegin and RiArchiveEnd
 * are recorded by the renderer under the name, not acted on, and a later
 * ReadArchive of that name replays them.  The handle is the name (an
 * interned token), so RiReadArchive((RtToken)handle, NULL, RI_NULL) reads
 * the archive. */
RI_API RtArchiveHandle RiArchiveBegin(RtToken name, ...);
RI_API RtArchiveHandle RiArchiveBeginV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiArchiveEnd(void);
/* A scope for resources; RiResource with type "attributes" and
 * "string operation" ["save"] or ["restore"] saves or restores the current
 * attributes under the handle. */
RI_API RtVoid RiResourceBegin(void);
RI_API RtVoid RiResourceEnd(void);
RI_API RtVoid RiResource(RtToken handle, RtToken type, ...);
RI_API RtVoid RiResourceV(RtToken handle, RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
/* Conditional RIB: the renderer acts on the first branch whose expression
 * is true (expressions compare $name variables, set by Option "user", with
 * literals); vellum writes the requests as they are. */
RI_API RtVoid RiIfBegin(RtString expression, ...);
RI_API RtVoid RiIfBeginV(RtString expression, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiElseIf(RtString expression, ...);
RI_API RtVoid RiElseIfV(RtString expression, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiElse(void);
RI_API RtVoid RiIfEnd(void);
/* Edits for a renderer that is already rendering (interactive
 * re-rendering); a stream holds them after its frame. */
RI_API RtVoid RiEditBegin(RtToken name, ...);
RI_API RtVoid RiEditBeginV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiEditEnd(void);
RI_API RtVoid RiEditAttributeBegin(RtToken name);
RI_API RtVoid RiEditAttributeEnd(void);
RI_API RtVoid RiEditWorldBegin(RtToken name, ...);
RI_API RtVoid RiEditWorldBeginV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiEditWorldEnd(void);
/* Asks the renderer to run a shell command: writes System "command";
 * vellum and its checker never run it. */
RI_API RtVoid RiSystem(RtString command);
RI_API RtToken RiDeclare(char *name, char *declaration);
/* Writes Declare "name" "declaration" and declares the name ("class type"
 * or "class type[n]") for every later call of the process, in every
 * context; returns the name as a token that stays valid for the whole
 * process.  A context made later counts the values by it too but does not
 * write the Declare line: declare the name again there, for the renderer
 * that reads that stream. */

/* Camera and options.  Every call writes one request when it is made;
 * vellum does not check that options come before RiWorldBegin. */
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
/* A filter function other than the five above (or none) has no name in
 * RIB and is written as the empty name "", which no renderer knows; the
 * first time in a context, a "libvellum error: " line says so. */
RI_API RtVoid RiExposure(RtFloat gain, RtFloat gamma);
RI_API RtVoid RiQuantize(RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl);
RI_API RtVoid RiDisplay(char *name, RtToken type, RtToken mode, ...);
RI_API RtVoid RiDisplayV(char *name, RtToken type, RtToken mode,
                         RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiHider(RtToken type, ...);
RI_API RtVoid RiHiderV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[]);
/* Writes nothing: colours in vellum's RIB are always three floats. */
RI_API RtVoid RiRelativeDetail(RtFloat relativedetail);
RI_API RtVoid RiOption(RtToken name, ...);
/* The option "rib" (or "RIB") is vellum's own and writes nothing: "format"
 * (an RtString: "binary" for binary RIB, anything else ASCII), "binary" (an
 * RtInt, non-zero for binary), "precision" (an RtInt, the significant digits
 * of floats written as text: 6 by default, as printf's "%g"; 1 to 9 as
 * "%.Ng"; 0 the shortest text that reads back as the same float; any other
 * value is an RIE_RANGE error and changes nothing) and "compression" (an
 * RtString: "gzip" for gzip-compressed RIB, "none" for plain; any other
 * name is an RIE_BADTOKEN error and changes nothing; see the top of this
 * file) and "compressionlevel" (an RtInt, 1 the fastest and the default to
 * 9 the smallest; any other value is an RIE_RANGE error and changes
 * nothing); a later pair overrides an earlier one.  It works with or without
 * a context and holds for the contexts made after it.  Every other option
 * is written as an Option request. */
RI_API RtVoid RiOptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
/* Records the current camera (its transform and camera options) under a
 * name: writes Camera "name" params. */
RI_API RtVoid RiCamera(RtToken name, ...);
RI_API RtVoid RiCameraV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
/* Declares an output channel; `channel` is an inline declaration such as
 * "color Ci", and a Display names channels in its mode ("Ci,a"). */
RI_API RtVoid RiDisplayChannel(RtToken channel, ...);
RI_API RtVoid RiDisplayChannelV(RtToken channel, RtInt n, RtToken tokens[], RtPointer parms[]);
/* Plug-ins of the frame: the light transport, and filters of the picture
 * and of its samples. */
RI_API RtVoid RiIntegrator(RtToken name, RtToken handle, ...);
RI_API RtVoid RiIntegratorV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiDisplayFilter(RtToken name, RtToken handle, ...);
RI_API RtVoid RiDisplayFilterV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiSampleFilter(RtToken name, RtToken handle, ...);
RI_API RtVoid RiSampleFilterV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);

/* Attributes.  vellum keeps no attribute state: RiAttributeEnd writes its
 * request whether or not a block is open. */
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
/* Clips away the half-space that the normal (nx, ny, nz) at the point
 * (x, y, z) points into, in the current coordinate system, for what
 * follows in the attribute block.  Writes "ClippingPlane x y z nx ny nz". */
RI_API RtVoid RiClippingPlane(RtFloat x, RtFloat y, RtFloat z, RtFloat nx, RtFloat ny, RtFloat nz);

/* Transformations.  Matrices are written as they lie in memory, row by
 * row.  Nothing is multiplied: the renderer applies them. */
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
/* Like RiCoordinateSystem, but the name is forgotten at the end of the
 * enclosing block. */
RI_API RtVoid RiScopedCoordinateSystem(RtToken space);
RI_API RtPoint *RiTransformPoints(RtToken fromspace, RtToken tospace, RtInt n,
                                  RtPoint points[]);
/* Always returns null and writes nothing: vellum keeps no transformations
 * to apply. */
RI_API RtVoid RiTransformBegin(void);
RI_API RtVoid RiTransformEnd(void);
RI_API RtVoid RiMotionBegin(RtInt n, ...);
/* Reads n times (any number of them, passed as doubles) and writes
 * MotionBegin [times]. */
RI_API RtVoid RiMotionBeginV(RtInt n, RtFloat times[]);
RI_API RtVoid RiMotionEnd(void);

/* Shaders and lights.  A null shader name is written as "". */
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
/* A deformation shader for what follows: "Deformation name params". */
RI_API RtVoid RiDeformation(RtToken name, ...);
RI_API RtVoid RiDeformationV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtLightHandle RiLightSource(RtToken name, ...);
RI_API RtLightHandle RiLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                    RtPointer parms[]);
RI_API RtLightHandle RiAreaLightSource(RtToken name, ...);
RI_API RtLightHandle RiAreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                        RtPointer parms[]);
/* The light sources of a context are numbered 1, 2, 3, ... in the order
 * they are made, area lights included; the number is written after the
 * shader name and returned as the handle.  RiIlluminate writes the number
 * of its handle. */
RI_API RtVoid RiIlluminate(RtLightHandle light, RtBoolean onoff);
/* Shading and lighting by plug-in: each names its plug-in and gives the
 * node a handle that others refer to ("reference color x" ["handle:out"]).
 * RiBxdf, RiDisplace, RiShader and RiLightFilter are attributes.  RiLight
 * turns its light on to the end of the enclosing block and returns a handle
 * that RiIlluminate takes: RiIlluminate of it writes Illuminate "handle" 1. */
RI_API RtVoid RiBxdf(RtToken name, RtToken handle, ...);
RI_API RtVoid RiBxdfV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiPattern(RtToken name, RtToken handle, ...);
RI_API RtVoid RiPatternV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiDisplace(RtToken name, RtToken handle, ...);
RI_API RtVoid RiDisplaceV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtLightHandle RiLight(RtToken name, RtToken handle, ...);
RI_API RtLightHandle RiLightV(RtToken name, RtToken handle, RtInt n, RtToken tokens[],
                              RtPointer parms[]);
RI_API RtVoid RiLightFilter(RtToken name, RtToken handle, ...);
RI_API RtVoid RiLightFilterV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
RI_API RtVoid RiShader(RtToken name, RtToken handle, ...);
RI_API RtVoid RiShaderV(RtToken name, RtToken handle, RtInt n, RtToken tokens[], RtPointer parms[]);
/* A shader network: layers of a `type` ("surface", "displacement", ...)
 * and the connections from an output of one layer to an input of another. */
RI_API RtVoid RiShaderLayer(RtToken type, RtToken name, RtToken layername, ...);
RI_API RtVoid RiShaderLayerV(RtToken type, RtToken name, RtToken layername, RtInt n, RtToken tokens[],
                             RtPointer parms[]);
RI_API RtVoid RiConnectShaderLayers(RtToken type, RtToken layer1, RtToken variable1, RtToken layer2,
                                    RtToken variable2);

/* Geometry.  How many values a primitive's parameter has follows from its
 * storage class and the primitive's own arguments: "constant" 1; "uniform"
 * one per face, curve or patch; "varying" one per corner of a patch or end
 * of a curve segment, "vertex" one per control point (on polygons and
 * polygon meshes both are one per vertex); "facevarying" one per corner of
 * each face.  A patch type other than "bilinear" or "bicubic" in
 * RiPatchMesh is reported and the request written without its
 * parameters. */
RI_API RtVoid RiBasis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep);
/* The steps also count the values of later RiPatchMesh and RiCurves calls
 * in this context: Bezier with step 3 until RiBasis says otherwise. */
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
/* nleaf, nflt and nstr that disagree with what the code array uses are
 * reported; the request is written with the caller's numbers.  The
 * parameter list has one uniform value (and one constant value), and nleaf
 * vertex, varying and facevarying values. */
RI_API RtVoid RiBlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                        RtInt nstr, RtToken str[], RtInt n, RtToken tokens[],
                        RtPointer parms[]);
RI_API RtVoid RiProcedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                           RtProcFreeFunc freefunc);
/* subdivfunc must be one of the three RiProc functions above, and data an
 * array of strings: 1 for RiProcDelayedReadArchive, 2 for the others.
 * Writes Procedural "name" [strings] [bound].  Another function is
 * reported ("libvellum error: procedural type") and nothing is written.
 * Neither function is called: data stays the caller's to free. */
RI_API RtVoid RiGeometry(RtToken type, ...);
RI_API RtVoid RiGeometryV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]);
/* A procedural by plug-in functions, written by their names
 * (Procedural2 "DelayedReadArchive2" "SimpleBound" params, the file in
 * "string filename", the bound in "float[6] bound"); another function is
 * written as "" with a report.  Neither function is called.  Its parameters
 * have one value in every storage class. */
RI_API RtVoid RiProcedural2(RtProc2SubdivFunc subdivide, RtProc2BoundFunc bound, ...);
RI_API RtVoid RiProcedural2V(RtProc2SubdivFunc subdivide, RtProc2BoundFunc bound, RtInt n,
                             RtToken tokens[], RtPointer parms[]);
/* A volume of a `type` ("box", "ellipsoid", "cone", "cylinder" or a plug-in's
 * "blobbydso:name") over the bound, sampled at dimensions[0..2] points:
 * its parameters have 1 constant and uniform value, 8 varying and
 * facevarying values (the corners), and nx * ny * nz vertex values.
 * Written as Volume "box" [bound] [nx ny nz].  Dimensions whose product is
 * more than 2147483647 are more vertex values than one request can hold:
 * an RIE_RANGE error, and nothing is written (see Failures at the top). */
RI_API RtVoid RiVolume(RtToken type, RtBound bound, RtInt *dimensions, ...);
RI_API RtVoid RiVolumeV(RtToken type, RtBound bound, RtInt *dimensions, RtInt n, RtToken tokens[],
                        RtPointer parms[]);
/* A subdivision mesh whose tags take string arguments as well: `nargs`
 * has three numbers per tag (integers, floats, strings).  Counted as
 * RiSubdivisionMesh. */
RI_API RtVoid RiHierarchicalSubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                            RtInt vertices[], RtInt ntags, RtToken tags[],
                                            RtInt nargs[], RtInt intargs[], RtFloat floatargs[],
                                            RtToken stringargs[], ...);
RI_API RtVoid RiHierarchicalSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                             RtInt vertices[], RtInt ntags, RtToken tags[],
                                             RtInt nargs[], RtInt intargs[], RtFloat floatargs[],
                                             RtToken stringargs[], RtInt n, RtToken tokens[],
                                             RtPointer parms[]);
RI_API RtVoid RiSolidBegin(RtToken operation);
RI_API RtVoid RiSolidEnd(void);
RI_API RtObjectHandle RiObjectBegin(void);
/* The objects of a context are numbered 1, 2, 3, ...; the number is
 * written and returned as the handle, which RiObjectInstance writes. */
RI_API RtVoid RiObjectEnd(void);
RI_API RtVoid RiObjectInstance(RtObjectHandle handle);

/* Texture making.  RiMakeBump writes MakeBump "picture" "texture" "swrap"
 * "twrap" "filter" swidth twidth and its parameters; the filter is written
 * by its name, and a function that is not one of the predefined filters
 * as "" with a report, as for RiPixelFilter. */
RI_API RtVoid RiMakeBump(char *picturename, char *texturename, RtToken swrap, RtToken twrap,
                         RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, ...);
RI_API RtVoid RiMakeBumpV(char *picturename, char *texturename, RtToken swrap, RtToken twrap,
                          RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, RtInt n,
                          RtToken tokens[], RtPointer parms[]);
/* Writes MakeBrickMap ["a.ptc" ...] "name.bkm" params: a brick map from
 * nptc point clouds. */
RI_API RtVoid RiMakeBrickMap(RtInt nptc, RtString *ptcnames, RtString bkmname, ...);
RI_API RtVoid RiMakeBrickMapV(RtInt nptc, RtString *ptcnames, RtString bkmname, RtInt n,
                              RtToken tokens[], RtPointer parms[]);

#ifdef __cplusplus
}
#endif

#endif /* VELLUM_RI_H */
