// The standard declarations that every new RibWriter loads, and the Declare
// echo switch.
#include "decl/standard_declarations.h"

#include "decl/declaration.h"
#include "decl/string_table.h"

namespace vellum {

namespace {

int echoSwitch = 0;

struct StandardDeclaration {
  RtToken *token;           // the predefined token that takes the interned name, or null
  const char *name;         // the name, when there is no token
  const char *declaration;  // null: the name is only interned
};

// 247 names in a fixed order: 181 with declarations (the rest are interned
// only, so that their tokens are interned pointers).
const StandardDeclaration kStandardDeclarations[] = {
    // Predefined tokens with declarations.
    {&RI_INTENSITY, "intensity", "float"},
    {&RI_LIGHTCOLOR, "lightcolor", "color"},
    {&RI_FROM, "from", "point"},
    {&RI_TO, "to", "point"},
    {&RI_CONEANGLE, "coneangle", "float"},
    {&RI_CONEDELTAANGLE, "conedeltaangle", "float"},
    {&RI_BEAMDISTRIBUTION, "beamdistribution", "float"},
    {&RI_KA, "Ka", "float"},
    {&RI_KD, "Kd", "float"},
    {&RI_KS, "Ks", "float"},
    {&RI_KR, "Kr", "float"},
    {&RI_ROUGHNESS, "roughness", "float"},
    {&RI_TEXTURENAME, "texturename", "string"},
    {&RI_SPECULARCOLOR, "specularcolor", "color"},
    {&RI_MINDISTANCE, "mindistance", "float"},
    {&RI_MAXDISTANCE, "maxdistance", "float"},
    {&RI_BACKGROUND, "background", "color"},
    {&RI_DISTANCE, "distance", "float"},
    {&RI_AMPLITUDE, "amplitude", "float"},
    {&RI_RGB, "rgb", "string"},
    {&RI_N, "N", "varying normal"},
    {&RI_NP, "Np", "point"},
    {&RI_P, "P", "vertex point"},
    {&RI_PZ, "Pz", "vertex float"},
    {&RI_PW, "Pw", "vertex hpoint"},
    {&RI_CS, "Cs", "varying color"},
    {&RI_OS, "Os", "varying color"},
    {&RI_S, "s", "varying float"},
    {&RI_T, "t", "varying float"},
    {&RI_ST, "st", "varying float[2]"},
    {&RI_FOV, "fov", "float"},
    {&RI_WIDTH, "width", "varying float"},
    {&RI_CONSTANTWIDTH, "constantwidth", "constant float"},
    // Renderer options and attributes known by name only; "shader" alone
    // is also a token that takes the interned name.
    {nullptr, "look_behind", "integer"},
    {nullptr, "patch_maxlevel", "integer"},
    {nullptr, "patch_minlevel", "integer"},
    {nullptr, "patch_splitdepth", "integer"},
    {nullptr, "patch_multiplier", "float"},
    {nullptr, "verbose", "integer"},
    {nullptr, "maxsamples", "integer"},
    {nullptr, "minsamples", "integer"},
    {nullptr, "use_hierarchy", "integer"},
    {nullptr, "branch_ratio", "float"},
    {nullptr, "max_branch_ratio", "float"},
    {nullptr, "max_raylevel", "integer"},
    {nullptr, "debug", "integer"},
    {nullptr, "patchsize", "float"},
    {nullptr, "elemsize", "float"},
    {nullptr, "minsize", "float"},
    {nullptr, "has_caustics", "integer"},
    {nullptr, "has_shadows", "integer"},
    {nullptr, "archive", "string"},
    {nullptr, "include", "string"},
    {nullptr, "texture", "string"},
    {&RI_SHADER, "shader", "string"},
    {nullptr, "procedural", "string"},
    {nullptr, "serverresource", "string"},
    {nullptr, "resource", "string"},
    {nullptr, "display", "string"},
    {nullptr, "casts_shadows", "string"},
    {nullptr, "shadows", "string"},
    {nullptr, "shadowrays", "integer"},
    {nullptr, "minshadowbias", "float"},
    {nullptr, "maxshadowbias", "float"},
    {nullptr, "zonal", "string"},
    {nullptr, "averagecolor", "color"},
    {nullptr, "emissioncolor", "color"},
    {nullptr, "refractioncolor", "color"},
    {nullptr, "refractionindex", "float"},
    {nullptr, "origin", "integer[2]"},
    {nullptr, "verbosity", "string"},
    {nullptr, "steps", "integer"},
    {nullptr, "minpatchsamples", "integer"},
    {nullptr, "cache", "string"},
    {nullptr, "zbrendspecular", "integer"},
    {nullptr, "cooktorrancespecular", "integer"},
    {nullptr, "truedisplacement", "integer"},
    {nullptr, "use_shadingrate", "integer"},
    {nullptr, "visibility", "integer"},
    {nullptr, "name", "string"},
    {nullptr, "shadinggroup", "string"},
    {nullptr, "displacement", "float"},
    {nullptr, "gridsize", "integer"},
    {nullptr, "bucketsize", "integer[2]"},
    {nullptr, "algorithm", "string"},
    {nullptr, "interleave", "string"},
    {nullptr, "binary", "integer"},
    {nullptr, "eyesplits", "integer"},
    {nullptr, "jitter", "integer"},
    {nullptr, "bias0", "float"},
    {nullptr, "bias1", "float"},
    {nullptr, "zlerp", "float"},
    {nullptr, "texturememory", "integer"},
    {nullptr, "geommemory", "integer"},
    {nullptr, "derivmemory", "integer"},
    {nullptr, "coordinatesystem", "string"},
    {nullptr, "sphere", "float"},
    {nullptr, "enable gaussian", "integer"},
    {nullptr, "enable lerp", "integer"},
    {nullptr, "disable", "integer"},
    {nullptr, "automatic", "integer"},
    {nullptr, "pdisc", "integer"},
    {nullptr, "pdisk", "integer"},
    {nullptr, "colorclamp", "float[2]"},
    {nullptr, "endofframe", "integer"},
    {nullptr, "profile_shaders", "integer"},
    {nullptr, "merge", "integer"},
    {nullptr, "sense", "string"},
    {nullptr, "nsamples", "integer"},
    {nullptr, "primary", "integer"},
    {nullptr, "secondary", "integer"},
    {nullptr, "shadow", "integer"},
    {nullptr, "udivisions", "integer"},
    {nullptr, "vdivisions", "integer"},
    {nullptr, "windowid", "integer"},
    {nullptr, "windowlocation", "int[2]"},
    {nullptr, "windowdpy", "integer"},
    {nullptr, "windowrc", "integer"},
    {nullptr, "windowstyle", "integer"},
    {nullptr, "windowvi", "integer"},
    {nullptr, "windowcmap", "integer"},
    {nullptr, "pickregion", "float[4]"},
    {nullptr, "clearfb", "integer"},
    {nullptr, "clearcolor", "color"},
    {nullptr, "framebufferaddr", "string"},
    {nullptr, "scanlinecallback", "string"},
    {nullptr, "waitforlastframe", "integer"},
    {nullptr, "doublebuffer", "integer"},
    {nullptr, "dumpimage", "integer"},
    {nullptr, "resolutionunit", "string"},
    {nullptr, "resolution", "float[2]"},
    {nullptr, "compression", "string"},
    {nullptr, "zcompression", "string"},
    {nullptr, "rowsperstrip", "string"},
    {nullptr, "zthreshold", "color"},
    {nullptr, "extremedisplacement", "integer"},
    {nullptr, "backfacetolerance", "float"},
    {nullptr, "doubleshaded", "integer"},
    {nullptr, "transform", "matrix"},
    {nullptr, "outputalldeclares", "integer"},
    {nullptr, "zblur", "float[6]"},
    {nullptr, "rasterorient", "integer"},
    {nullptr, "subpixel", "integer"},
    {nullptr, "filename", "string"},
    {nullptr, "strategy", "integer"},
    {nullptr, "mpcache", "integer"},
    {nullptr, "mpmemory", "integer"},
    {nullptr, "mpcachedir", "string"},
    {nullptr, "mpcachestride", "integer"},
    {nullptr, "ysplits", "integer"},
    {nullptr, "timer", "integer"},
    {nullptr, "opacitycull", "integer"},
    {nullptr, "othreshold", "color"},
    {nullptr, "hair", "integer"},
    {nullptr, "minwidth", "constant float"},
    {nullptr, "clampwidth", "integer"},
    {nullptr, "safetyfile", "integer"},
    {nullptr, "centered", "integer"},
    {nullptr, "extrapolate", "integer"},
    {nullptr, "curvethinning", "integer"},
    {nullptr, "curvethinthreshold", "integer"},
    {nullptr, "usezbrenddspy", "integer"},
    {nullptr, "usezbrendnoise", "integer"},
    {nullptr, "maxerror", "float"},
    {nullptr, "maxpixeldist", "float"},
    {nullptr, "minvalid", "integer"},
    {nullptr, "interpolate", "integer"},
    {nullptr, "seedfile", "string"},
    {nullptr, "savefile", "string"},
    {nullptr, "preseed", "integer"},
    {nullptr, "resize", "string"},
    {nullptr, "stitch", "integer"},
    {nullptr, "maxdepth", "integer"},
    {nullptr, "vpimage", "integer"},
    {nullptr, "vpdepth", "integer"},
    {nullptr, "enable", "integer"},
    {nullptr, "newgroup", "integer"},
    // Varying shader switches.
    {&RI_NONDIFFUSE, "__nondiffuse", "varying float"},
    {&RI_NONSPECULAR, "__nonspecular", "varying float"},
    // Predefined tokens that are interned but not declared.
    {&RI_BOX, "box", nullptr},
    {&RI_CATMULLROM, "catmull-rom", nullptr},
    {&RI_GAUSSIAN, "gaussian", nullptr},
    {&RI_TRIANGLE, "triangle", nullptr},
    {&RI_SINC, "sinc", nullptr},
    {&RI_FILTER, "filter", nullptr},
    {&RI_SWIDTH, "swidth", nullptr},
    {&RI_TWIDTH, "twidth", nullptr},
    {&RI_FILL, "fill", nullptr},
    {&RI_FIDELITY, "fidelity", nullptr},
    {&RI_SAMPLES, "samples", nullptr},
    {&RI_BLUR, "blur", nullptr},
    {&RI_SBLUR, "sblur", nullptr},
    {&RI_TBLUR, "tblur", nullptr},
    {&RI_BIAS, "bias", nullptr},
    {&RI_LERP, "lerp", nullptr},
    {&RI_GAPBIAS, "gapbias", nullptr},
    {&RI_GAPOPT, "gapopt", nullptr},
    {&RI_SOURCE, "source", nullptr},
    {&RI_REFBLUR, "refblur", nullptr},
    {&RI_SREFBLUR, "srefblur", nullptr},
    {&RI_TREFBLUR, "trefblur", nullptr},
    {&RI_IGNOREABOVE, "ignoreabove", nullptr},
    {&RI_BILINEAR, "bilinear", nullptr},
    {&RI_BICUBIC, "bicubic", nullptr},
    {&RI_LINEAR, "linear", nullptr},
    {&RI_CUBIC, "cubic", nullptr},
    {&RI_COMMENT, "comment", nullptr},
    {&RI_STRUCTURE, "structure", nullptr},
    {&RI_VERBATIM, "verbatim", nullptr},
    {&RI_IDENTIFIER, "identifier", nullptr},
    {&RI_NAME, "name", nullptr},
    {&RI_IGNORE, "ignore", nullptr},
    {&RI_PRINT, "print", nullptr},
    {&RI_ABORT, "abort", nullptr},
    {&RI_HANDLER, "handler", nullptr},
    {&RI_CONSTANT, "constant", nullptr},
    {&RI_SMOOTH, "smooth", nullptr},
    {&RI_HIDDEN, "hidden", nullptr},
    {&RI_PAINT, "paint", nullptr},
    {&RI_INSIDE, "inside", nullptr},
    {&RI_OUTSIDE, "outside", nullptr},
    {&RI_LH, "lh", nullptr},
    {&RI_RH, "rh", nullptr},
    {&RI_PERIODIC, "periodic", nullptr},
    {&RI_NONPERIODIC, "nonperiodic", nullptr},
    {&RI_CLAMP, "clamp", nullptr},
    {&RI_BLACK, "black", nullptr},
    {&RI_PRIMITIVE, "primitive", nullptr},
    {&RI_INTERSECTION, "intersection", nullptr},
    {&RI_UNION, "union", nullptr},
    {&RI_DIFFERENCE, "difference", nullptr},
    {&RI_PERSPECTIVE, "perspective", nullptr},
    {&RI_ORTHOGRAPHIC, "orthographic", nullptr},
    {&RI_HOLE, "hole", nullptr},
    {&RI_CREASE, "crease", nullptr},
    {&RI_CORNER, "corner", nullptr},
    {&RI_INTERPOLATEBOUNDARY, "interpolateboundary", nullptr},
    {&RI_RASTER, "raster", nullptr},
    {&RI_SCREEN, "screen", nullptr},
    {&RI_NDC, "NDC", nullptr},
    {&RI_CAMERA, "camera", nullptr},
    {&RI_EYE, "eye", nullptr},
    {&RI_WORLD, "world", nullptr},
    {&RI_CURRENT, "current", nullptr},
    {&RI_OBJECT, "object", nullptr},
    // Renderer-specific tokens with declarations.
    {&RI_CATEGORY, "__category", "string"},
    {&RI_DOLLAR_W, "_$w", "vertex float"},
};

}  // namespace

int &declareEchoSwitch() { return echoSwitch; }

void forEachStandardDeclaration(void (*visit)(const char *name, const char *declaration,
                                              void *user),
                                void *user) {
  for (const StandardDeclaration &entry : kStandardDeclarations)
    visit(entry.token != nullptr ? *entry.token : entry.name, entry.declaration, user);
}

// Declared through the context's own Declare operation, with the echo
// switch held off so that no Declare line reaches the output.
void loadStandardDeclarations(RenderContext &context) {
  const int savedEcho = echoSwitch;
  echoSwitch = 0;
  for (const StandardDeclaration &entry : kStandardDeclarations) {
    char *name = const_cast<char *>(entry.token != nullptr ? *entry.token : entry.name);
    RtToken interned = context.Declare(name, const_cast<char *>(entry.declaration));
    if (entry.token != nullptr) *entry.token = interned;
  }
  echoSwitch = savedEcho;
}

void loadStandardDeclarations() {
  for (const StandardDeclaration &entry : kStandardDeclarations) {
    const char *name = entry.token != nullptr ? *entry.token : entry.name;
    RtToken interned = entry.declaration != nullptr ? declare(name, entry.declaration, nullptr, false)
                                                    : internString(name);
    if (entry.token != nullptr) *entry.token = interned;
  }
}

}  // namespace vellum
