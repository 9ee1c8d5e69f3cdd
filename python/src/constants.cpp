// The constants of ri.h as attributes of the module and of Ri: tokens
// without their "RI_" (ri.P == "P", ri.RGBA == "rgba"), numbers
// (vellum.INFINITY, ri.BEZIERSTEP) and error codes and severities without
// "RI" (vellum.E_NOMEM, vellum.E_SEVERE).
#include "binding.h"

namespace vellum::python {

namespace {

#define VELLUM_PY_TOKENS(X) \
  X(MATTE) X(METAL) X(PLASTIC) X(PAINTEDPLASTIC) X(SHINYMETAL) X(BUMPY) X(KA) X(KD) X(KS) X(KR) X(ROUGHNESS) X(SPECULARCOLOR) \
  X(DEPTHCUE) X(FOG) X(MINDISTANCE) X(MAXDISTANCE) X(BACKGROUND) X(DISTANCE) X(TEXTURENAME) X(AMPLITUDE) X(AMBIENTLIGHT) \
  X(POINTLIGHT) X(DISTANTLIGHT) X(SPOTLIGHT) X(INTENSITY) X(LIGHTCOLOR) X(FROM) X(TO) X(CONEANGLE) X(CONEDELTAANGLE) \
  X(BEAMDISTRIBUTION) X(MERGE) X(HIDDEN) X(PAINT) X(FLATNESS) X(INSIDE) X(OUTSIDE) X(LH) X(RH) X(PERIODIC) X(NONPERIODIC) X(CLAMP) \
  X(BLACK) X(BILINEAR) X(BICUBIC) X(PRIMITIVE) X(INTERSECTION) X(UNION) X(DIFFERENCE) X(FRAMEBUFFER) X(FILE) X(RGB) X(RGBA) X(RGBZ) \
  X(RGBAZ) X(A) X(Z) X(AZ) X(PERSPECTIVE) X(ORTHOGRAPHIC) X(FOV) X(ORIGIN) X(RASTER) X(SCREEN) X(CAMERA) X(WORLD) X(OBJECT) X(CURRENT) X(NDC) \
  X(EYE) X(SHADER) X(P) X(PZ) X(PW) X(N) X(NP) X(CS) X(OS) X(S) X(T) X(ST) X(CONSTANT) X(SMOOTH) X(IGNORE) X(PRINT) X(ABORT) X(HANDLER) X(COMMENT) \
  X(STRUCTURE) X(VERBATIM) X(IDENTIFIER) X(NAME) X(LINEAR) X(CUBIC) X(WIDTH) X(CONSTANTWIDTH) X(HOLE) X(CREASE) X(CORNER) \
  X(INTERPOLATEBOUNDARY) X(NONDIFFUSE) X(NONSPECULAR) X(BOX) X(CATMULLROM) X(SINC) X(GAUSSIAN) X(TRIANGLE) X(FILTER) \
  X(SWIDTH) X(TWIDTH) X(FILL) X(FIDELITY) X(SAMPLES) X(BLUR) X(SBLUR) X(TBLUR) X(BIAS) X(LERP) X(GAPBIAS) X(SOURCE) X(GAPOPT) X(REFBLUR) \
  X(SREFBLUR) X(TREFBLUR) X(IGNOREABOVE) X(CATEGORY) X(DOLLAR_W) \

#define VELLUM_PY_ERROR_CODES(X)                                                                    \
  X(NOERROR) X(NOMEM) X(SYSTEM) X(NOFILE) X(BADFILE) X(VERSION) X(DISKFULL) X(INCAPABLE)            \
  X(UNIMPLEMENT) X(LIMIT) X(BUG) X(NOTSTARTED) X(NESTING) X(NOTOPTIONS) X(NOTATTRIBS) X(NOTPRIMS)   \
  X(ILLSTATE) X(BADMOTION) X(BADSOLID) X(BADTOKEN) X(RANGE) X(CONSISTENCY) X(BADHANDLE) X(NOSHADER) \
  X(MISSINGDATA) X(SYNTAX) X(MATH) X(INFO) X(WARNING) X(ERROR) X(SEVERE)

}  // namespace

void bindConstants(py::module_ &module, RiClass &cls) {
  auto set = [&](const std::string &name, py::object value, const char *type) {
    module.attr(name.c_str()) = value;
    cls.attr(name.c_str()) = value;
    constantStubs().emplace_back(name, type);
  };
#define VELLUM_PY_TOKEN(Name) set(#Name, py::str(RI_##Name), "str");
  VELLUM_PY_TOKENS(VELLUM_PY_TOKEN)
#define VELLUM_PY_ERROR_CODE(Name) set("E_" #Name, py::int_(RIE_##Name), "int");
  VELLUM_PY_ERROR_CODES(VELLUM_PY_ERROR_CODE)
  set("NULL", py::none(), "None");
  set("TRUE", py::int_(RI_TRUE), "int");
  set("FALSE", py::int_(RI_FALSE), "int");
  set("INFINITY", py::float_(RI_INFINITY), "float");
  set("EPSILON", py::float_(RI_EPSILON), "float");
  set("BEZIERSTEP", py::int_(RI_BEZIERSTEP), "int");
  set("BSPLINESTEP", py::int_(RI_BSPLINESTEP), "int");
  set("CATMULLROMSTEP", py::int_(RI_CATMULLROMSTEP), "int");
  set("HERMITESTEP", py::int_(RI_HERMITESTEP), "int");
  set("POWERSTEP", py::int_(RI_POWERSTEP), "int");
}

}  // namespace vellum::python
