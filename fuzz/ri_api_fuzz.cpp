// libFuzzer target for the C interface: the bytes become a program of Ri
// calls (every primitive, parameter lists of declared, undeclared and
// inline-declared tokens, odd strings, NaN and infinities, several
// contexts, ASCII and binary output), all written to /dev/null.
//
// Every array is sized exactly as the library's own count rules ask, from
// the very functions the writer uses, and allocated on its own, so that
// the sanitizers see any read past it: a finding is the library's fault.
// Each input starts from the state of a new process as far as the library
// allows (declarations forgotten, every context ended, ASCII output).
// Run it with -close_fd_mask=2: the writer's diagnostics are expected.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/name_tables.h"
#include "common/param_counts.h"
#include "common/primitive_counts.h"
#include "decl/declaration.h"
#include "ri.h"

namespace {

// No array the program makes holds more values than this; a call that
// would need more is left out.
constexpr int64_t kMostValues = 1 << 16;

char *s(const char *text) { return const_cast<char *>(text); }

class Program {
 public:
  explicit Program(FuzzedDataProvider &data) : data_(data) {}

  void run() {
    while (data_.remaining_bytes() > 0 && calls_ < 400) {
      ++calls_;
      try {
        step(data_.ConsumeIntegralInRange<int>(0, 75));
      } catch (const TooLarge &) {
      }
    }
    for (RtContextHandle context : contexts_) {
      RiContext(context);
      RiEnd();
    }
  }

 private:
  // ------------------------------------------------------------ values

  int small(int most = 8) { return data_.ConsumeIntegralInRange<int>(0, most); }
  RtInt count(int most = 8) {
    // Now and then a negative or a large one.
    switch (data_.ConsumeIntegralInRange<int>(0, 15)) {
      case 0: return -data_.ConsumeIntegralInRange<RtInt>(1, 3);
      case 1: return data_.ConsumeIntegral<RtInt>();
      default: return small(most);
    }
  }
  RtFloat number() {
    switch (data_.ConsumeIntegralInRange<int>(0, 20)) {
      case 0: return std::numeric_limits<RtFloat>::quiet_NaN();
      case 1: return std::numeric_limits<RtFloat>::infinity();
      case 2: return -std::numeric_limits<RtFloat>::infinity();
      case 3: return -0.0f;
      case 4: return std::numeric_limits<RtFloat>::denorm_min();
      case 5: return std::numeric_limits<RtFloat>::max();
      default: return data_.ConsumeFloatingPointInRange<RtFloat>(-1000, 1000);
    }
  }
  char *text() {
    static const char *const kOdd[] = {"", "plain", "with \"quotes\"", "back\\slash", "new\nline",
                                       "cr\rreturn", "\x80\xff bytes", "% percent", "#hash"};
    if (data_.ConsumeBool()) return s(kOdd[data_.ConsumeIntegralInRange<size_t>(0, 8)]);
    strings_.push_back(data_.ConsumeRandomLengthString(40));
    return strings_.back().data();
  }
  char *maybeNull(char *value) { return data_.ConsumeIntegralInRange<int>(0, 20) == 0 ? nullptr : value; }

  // A call whose arrays would be too large is left out.
  struct TooLarge {};
  static void check(int64_t n) {
    if (n > kMostValues) throw TooLarge();
  }

  // Arrays live until the end of the input, each in its own allocation.
  RtFloat *floats(int64_t n) {
    check(n);
    if (n <= 0) return nullptr;
    auto values = std::make_unique<RtFloat[]>(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) values[i] = number();
    floatArrays_.push_back(std::move(values));
    return floatArrays_.back().get();
  }
  RtInt *ints(int64_t n, RtInt low, RtInt high) {
    check(n);
    if (n <= 0) return nullptr;
    auto values = std::make_unique<RtInt[]>(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) values[i] = data_.ConsumeIntegralInRange<RtInt>(low, high);
    intArrays_.push_back(std::move(values));
    return intArrays_.back().get();
  }
  RtToken *texts(int64_t n) {
    check(n);
    if (n <= 0) return nullptr;
    auto values = std::make_unique<RtToken[]>(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) values[i] = text();
    textArrays_.push_back(std::move(values));
    return textArrays_.back().get();
  }

  // A parameter list whose values are as many as the writer reads for
  // each token: by its declaration and, on a primitive, `counts`.
  struct List {
    RtInt n = 0;
    std::vector<RtToken> tokens;
    std::vector<RtPointer> parms;
  };
  List list(const vellum::PrimitiveCounts *counts) {
    static const char *const kTokens[] = {
        "P", "Pw", "Pz", "N", "Cs", "Os", "st", "s", "width", "constantwidth", "Kd",
        "texturename", "intensity", "undeclared", "uniform float[2] fu", "varying color fc",
        "vertex point Pv", "facevarying float ff", "constant string cs", "integer fi",
        "point P", "float[40000] big", "bool weird", "fzd", "fze", "  Cs"};
    List result;
    const int n = small(4);
    for (int i = 0; i < n; ++i) {
      RtToken token = s(kTokens[data_.ConsumeIntegralInRange<size_t>(0, 25)]);
      result.tokens.push_back(token);
      result.parms.push_back(valuesFor(token, counts));
    }
    result.n = static_cast<RtInt>(result.tokens.size());
    return result;
  }
  // As many values as the writer reads for `token`: by its declaration
  // and, on a primitive, `counts`; none for a token it leaves out.
  RtPointer valuesFor(RtToken token, const vellum::PrimitiveCounts *counts) {
    const vellum::Declaration *declaration = vellum::lookupDeclaration(token);
    if (declaration == nullptr || vellum::unusableDeclarationReason(declaration->shape()) != nullptr)
      return nullptr;
    vellum::ValueShape shape = declaration->shape();
    if (counts != nullptr && vellum::isPositionName(declaration->name)) shape.storageClass = vellum::kClassVertex;
    const int64_t needed = vellum::parameterValueCount(shape, counts);
    if (declaration->type == vellum::kTypeString) return texts(needed);
    if (declaration->type == vellum::kTypeInteger) return ints(needed, -5, 5);
    return floats(needed);
  }

  // The counts the writer clamps a primitive's counts to.
  static vellum::PrimitiveCounts clamped(vellum::PrimitiveCounts counts) {
    for (int64_t *c : {&counts.vertex, &counts.varying, &counts.uniform, &counts.faceVarying})
      *c = std::clamp<int64_t>(*c, 0, INT32_MAX);
    return counts;
  }
  bool fits(const vellum::PrimitiveCounts &counts) {
    return counts.vertex <= kMostValues / 16 && counts.varying <= kMostValues / 16 &&
           counts.uniform <= kMostValues / 16 && counts.faceVarying <= kMostValues / 16;
  }

  RtFilterFunc filter() {
    static const RtFilterFunc kFilters[] = {RiGaussianFilter, RiBoxFilter, RiTriangleFilter,
                                            RiCatmullRomFilter, RiSincFilter, nullptr};
    return kFilters[data_.ConsumeIntegralInRange<size_t>(0, 5)];
  }
  RtFloat (*basis())[4] {
    static RtBasis own = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    static RtFloat (*const kBases[])[4] = {RiBezierBasis, RiBSplineBasis, RiCatmullRomBasis,
                                           RiHermiteBasis, RiPowerBasis, own};
    return kBases[data_.ConsumeIntegralInRange<size_t>(0, 5)];
  }
  RtToken pick(std::initializer_list<const char *> choices) {
    const size_t i = data_.ConsumeIntegralInRange<size_t>(0, choices.size());
    return i < choices.size() ? s(choices.begin()[i]) : text();
  }

  // ------------------------------------------------------------ calls

  // The steps of the current context's basis, which count patch meshes
  // and curves.
  struct Steps {
    RtInt u = 3, v = 3;
  };
  Steps &steps() { return steps_[RiGetContext()]; }

  void begin() {
    RtInt binary = data_.ConsumeBool();
    RiOption(s("rib"), "binary", &binary, RI_NULL);
    RiBegin(s("/dev/null"));
    contexts_.push_back(RiGetContext());
    steps_[RiGetContext()] = Steps();
  }

  void step(int op) {
    if (contexts_.empty() || op == 0) {
      if (contexts_.size() < 3) begin();
      return;
    }
    switch (op) {
      case 1: {  // end a context, or switch to another
        const size_t i = data_.ConsumeIntegralInRange<size_t>(0, contexts_.size() - 1);
        RiContext(contexts_[i]);
        if (data_.ConsumeBool()) {
          RiEnd();
          steps_.erase(contexts_[i]);
          contexts_.erase(contexts_.begin() + static_cast<long>(i));
          if (!contexts_.empty()) RiContext(contexts_.back());
        }
        return;
      }
      case 2: RiFrameBegin(count()); return;
      case 3: RiFrameEnd(); return;
      case 4: RiWorldBegin(); return;
      case 5: RiWorldEnd(); return;
      case 6: RiAttributeBegin(); return;
      case 7: RiAttributeEnd(); return;
      case 8: RiTransformBegin(); return;
      case 9: RiTransformEnd(); return;
      case 10: RiFormat(count(), count(), number()); return;
      case 11: RiScreenWindow(number(), number(), number(), number()); return;
      case 12: {
        List l = list(nullptr);
        RiProjectionV(maybeNull(pick({"perspective", "orthographic"})), l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 13: RiPixelFilter(filter(), number(), number()); return;
      case 14: RiExposure(number(), number()); return;
      case 15: RiQuantize(maybeNull(text()), count(), count(), count(), number()); return;
      case 16: {
        List l = list(nullptr);
        RiDisplayV(maybeNull(text()), maybeNull(pick({"file", "framebuffer"})), maybeNull(text()), l.n,
                   l.tokens.data(), l.parms.data());
        return;
      }
      case 17: {
        List l = list(nullptr);
        RiHiderV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 18: {
        const RtInt n = count();
        RiColorSamples(n, floats(3 * int64_t{n}), floats(3 * int64_t{n}));
        return;
      }
      case 19: {
        List l = list(nullptr);
        if (data_.ConsumeBool()) {
          RtString format = data_.ConsumeBool() ? s("binary") : s("ascii");
          RiOption(s("rib"), "format", &format, RI_NULL);
        } else {
          RiOptionV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data());
        }
        return;
      }
      case 20: {
        RtColor color = {number(), number(), number()};
        if (data_.ConsumeBool()) RiColor(color);
        else RiOpacity(color);
        return;
      }
      case 21: RiTextureCoordinates(number(), number(), number(), number(), number(), number(), number(), number()); return;
      case 22: {
        RtBound bound = {number(), number(), number(), number(), number(), number()};
        if (data_.ConsumeBool()) RiBound(bound);
        else RiDetail(bound);
        return;
      }
      case 23: RiMatte(data_.ConsumeIntegral<RtBoolean>()); return;
      case 24: RiSides(count()); return;
      case 25: RiOrientation(maybeNull(pick({"lh", "rh", "inside", "outside"}))); return;
      case 26: {
        List l = list(nullptr);
        RiAttributeV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 27: {
        RtMatrix m;
        for (auto &row : m)
          for (RtFloat &v : row) v = number();
        if (data_.ConsumeBool()) RiConcatTransform(m);
        else RiTransform(m);
        return;
      }
      case 28: RiTranslate(number(), number(), number()); return;
      case 29: RiRotate(number(), number(), number(), number()); return;
      case 30: RiSkew(number(), number(), number(), number(), number(), number(), number()); return;
      case 31: {
        const RtInt n = count(120);
        RiTransformPoints(text(), text(), n, reinterpret_cast<RtPoint *>(floats(3 * int64_t{n})));
        return;
      }
      case 32: {
        const RtInt n = std::min<RtInt>(count(130), 130);
        RiMotionBeginV(n, floats(n));
        return;
      }
      case 33: RiMotionBegin(3, 0.0, 0.5, 1.0); return;
      case 34: RiMotionEnd(); return;
      case 35: {
        List l = list(nullptr);
        RtToken name = maybeNull(pick({"plastic", "matte", "constant"}));
        switch (small(5)) {
          case 0: RiSurfaceV(name, l.n, l.tokens.data(), l.parms.data()); break;
          case 1: RiDisplacementV(name, l.n, l.tokens.data(), l.parms.data()); break;
          case 2: RiAtmosphereV(name, l.n, l.tokens.data(), l.parms.data()); break;
          case 3: RiInteriorV(name, l.n, l.tokens.data(), l.parms.data()); break;
          case 4: RiExteriorV(name, l.n, l.tokens.data(), l.parms.data()); break;
          default: RiImagerV(name, l.n, l.tokens.data(), l.parms.data()); break;
        }
        return;
      }
      case 36: {
        List l = list(nullptr);
        lights_.push_back(data_.ConsumeBool()
                              ? RiLightSourceV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data())
                              : RiAreaLightSourceV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data()));
        return;
      }
      case 37: {
        RtLightHandle light = !lights_.empty() && data_.ConsumeBool()
                                  ? lights_[data_.ConsumeIntegralInRange<size_t>(0, lights_.size() - 1)]
                                  : reinterpret_cast<RtLightHandle>(static_cast<intptr_t>(count()));
        RiIlluminate(light, data_.ConsumeIntegral<RtBoolean>());
        return;
      }
      case 38: {
        const RtInt ustep = count(4), vstep = count(4);
        RiBasis(basis(), ustep, basis(), vstep);
        steps() = {ustep, vstep};
        return;
      }
      case 39: {
        List l = list(nullptr);
        RiGeometryV(maybeNull(pick({"teapot"})), l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 40: {
        const vellum::PrimitiveCounts counts = clamped(vellum::quadricCounts());
        List l = list(&counts);
        RtPoint p1 = {number(), number(), number()}, p2 = {number(), number(), number()};
        switch (small(6)) {
          case 0: RiSphereV(number(), number(), number(), number(), l.n, l.tokens.data(), l.parms.data()); break;
          case 1: RiConeV(number(), number(), number(), l.n, l.tokens.data(), l.parms.data()); break;
          case 2: RiCylinderV(number(), number(), number(), number(), l.n, l.tokens.data(), l.parms.data()); break;
          case 3: RiDiskV(number(), number(), number(), l.n, l.tokens.data(), l.parms.data()); break;
          case 4: RiHyperboloidV(p1, p2, number(), l.n, l.tokens.data(), l.parms.data()); break;
          case 5: RiParaboloidV(number(), number(), number(), number(), l.n, l.tokens.data(), l.parms.data()); break;
          default:
            RiTorusV(number(), number(), number(), number(), number(), l.n, l.tokens.data(), l.parms.data());
        }
        return;
      }
      case 41: {
        const RtInt n = count(12);
        const vellum::PrimitiveCounts counts = clamped(vellum::polygonCounts(n));
        if (!fits(counts)) return;
        List l = list(&counts);
        if (data_.ConsumeBool()) RiPolygonV(n, l.n, l.tokens.data(), l.parms.data());
        else RiPointsV(n, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 42: {
        const RtInt nloops = count(4);
        RtInt *nverts = ints(nloops, -1, 6);
        const vellum::PrimitiveCounts counts = clamped(vellum::generalPolygonCounts(nloops, nverts));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiGeneralPolygonV(nloops, nverts, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 43: {
        const RtInt npolys = count(6);
        RtInt *nverts = ints(npolys, -1, 5);
        RtInt *verts = ints(vellum::sumOf(nverts, npolys), -2, 12);
        const vellum::PrimitiveCounts counts = clamped(vellum::pointsPolygonsCounts(npolys, nverts, verts));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiPointsPolygonsV(npolys, nverts, verts, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 44: {
        const RtInt npolys = count(4);
        RtInt *nloops = ints(npolys, -1, 3);
        RtInt *nverts = ints(vellum::sumOf(nloops, npolys), -1, 5);
        RtInt *verts = ints(vellum::sumOf(nverts, vellum::sumOf(nloops, npolys)), 0, 12);
        const vellum::PrimitiveCounts counts =
            clamped(vellum::pointsGeneralPolygonsCounts(npolys, nloops, nverts, verts));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiPointsGeneralPolygonsV(npolys, nloops, nverts, verts, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 45: {
        RtToken type = pick({"bilinear", "bicubic"});
        const vellum::PrimitiveCounts counts = clamped(vellum::patchCounts(std::string(type) == "bilinear"));
        List l = list(&counts);
        RiPatchV(type, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 46: {
        RtToken type = pick({"bilinear", "bicubic"});
        RtToken uwrap = pick({"periodic", "nonperiodic"}), vwrap = pick({"periodic", "nonperiodic"});
        const RtInt nu = count(9), nv = count(9);
        const std::string kind = type;
        if (kind != "bilinear" && kind != "bicubic") {
          // No list is written for an unknown type.
          RiPatchMeshV(type, nu, uwrap, nv, vwrap, 0, nullptr, nullptr);
          return;
        }
        bool stepUsable = true;
        const vellum::PrimitiveCounts counts = clamped(vellum::patchMeshCounts(
            kind == "bicubic", nu, std::string(uwrap) == "periodic", nv,
            std::string(vwrap) == "periodic", steps().u, steps().v, &stepUsable));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiPatchMeshV(type, nu, uwrap, nv, vwrap, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 47: {
        const RtInt nu = count(6), uorder = count(5), nv = count(6), vorder = count(5);
        const int64_t uknots = int64_t{nu} + uorder, vknots = int64_t{nv} + vorder;
        if (uknots > kMostValues || vknots > kMostValues) return;
        const vellum::PrimitiveCounts counts = clamped(vellum::nuPatchCounts(nu, uorder, nv, vorder));
        if (!fits(counts)) return;
        RtFloat *uknot = floats(uknots), *vknot = floats(vknots);
        List l = list(&counts);
        RiNuPatchV(nu, uorder, uknot, number(), number(), nv, vorder, vknot, number(), number(), l.n,
                   l.tokens.data(), l.parms.data());
        return;
      }
      case 48: {
        RtToken type = pick({"linear", "cubic"}), wrap = pick({"periodic", "nonperiodic"});
        const RtInt ncurves = count(5);
        RtInt *nverts = ints(ncurves, -1, 12);
        bool stepUsable = true;
        const vellum::PrimitiveCounts counts = clamped(vellum::curvesCounts(
            std::string(type) == "cubic", std::string(wrap) == "periodic", ncurves, nverts, steps().v,
            &stepUsable));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiCurvesV(type, ncurves, nverts, wrap, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 49: {
        const RtInt nfaces = count(4);
        RtInt *nverts = ints(nfaces, -1, 5);
        RtInt *verts = ints(vellum::sumOf(nverts, nfaces), 0, 10);
        const RtInt ntags = count(3);
        RtToken *tags = texts(ntags);
        RtInt *nargs = ints(2 * int64_t{ntags}, -1, 3);
        RtInt *intargs = ints(vellum::sumOfEvery2nd(nargs, ntags, 0), -1, 5);
        RtFloat *floatargs = floats(vellum::sumOfEvery2nd(nargs, ntags, 1));
        const vellum::PrimitiveCounts counts = clamped(vellum::subdivisionMeshCounts(nfaces, nverts, verts));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiSubdivisionMeshV(pick({"catmull-clark", "loop"}), nfaces, nverts, verts, ntags, tags, nargs, intargs,
                           floatargs, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 50: {
        const RtInt ncode = count(10);
        RtInt *code = ints(ncode, -1, 8);
        for (RtInt i = 0; code != nullptr && i < ncode; ++i)
          if (data_.ConsumeBool()) code[i] = 1000 + small(3);
        const RtInt nleaf = count(4), nflt = count(20), nstr = count(2);
        const vellum::PrimitiveCounts counts = clamped(vellum::blobbyPrimitiveCounts(nleaf));
        if (!fits(counts)) return;
        List l = list(&counts);
        RiBlobbyV(nleaf, ncode, code, nflt, floats(nflt), nstr, texts(nstr), l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 51: {
        static const RtProcSubdivFunc kFunctions[] = {RiProcDelayedReadArchive, RiProcRunProgram,
                                                      RiProcDynamicLoad};
        RtProcSubdivFunc function = kFunctions[data_.ConsumeIntegralInRange<size_t>(0, 2)];
        RtBound bound = {number(), number(), number(), number(), number(), number()};
        RiProcedural(texts(vellum::proceduralByFunction(function)->strings), bound, function, nullptr);
        return;
      }
      case 52: {
        const RtInt nloops = count(3);
        RtInt *ncurves = ints(nloops, 0, 2);
        const int64_t curves = vellum::sumOf(ncurves, nloops);
        RtInt *order = ints(curves, -1, 4), *n = ints(curves, -1, 5);
        const int64_t points = vellum::sumOf(n, curves);
        const int64_t knots = vellum::sumOf(order, curves) + points;
        RiTrimCurve(nloops, ncurves, order, floats(knots), floats(curves), floats(curves), n, floats(points),
                    floats(points), floats(points));
        return;
      }
      case 53: RiSolidBegin(maybeNull(pick({"union", "intersection", "primitive"}))); return;
      case 54: RiSolidEnd(); return;
      case 55: objects_.push_back(RiObjectBegin()); return;
      case 56: RiObjectEnd(); return;
      case 57: {
        RtObjectHandle object = !objects_.empty() && data_.ConsumeBool()
                                    ? objects_[data_.ConsumeIntegralInRange<size_t>(0, objects_.size() - 1)]
                                    : reinterpret_cast<RtObjectHandle>(static_cast<intptr_t>(count()));
        RiObjectInstance(object);
        return;
      }
      case 58: {
        static const char *const kDeclarations[] = {"float", "varying color", "vertex point[2]", "string",
                                                    "integer[3]", "facevarying normal", "bool", "",
                                                    "uniform float[70000]", "matrix", "mpoint"};
        RiDeclare(pick({"fzd", "fze", "Cs", "P"}), data_.ConsumeBool() ? s(kDeclarations[small(10)]) : nullptr);
        return;
      }
      case 59: RiArchiveRecord(pick({"comment", "structure", "verbatim"}), s("%s"), text()); return;
      case 60: {
        List l = list(nullptr);
        RiReadArchiveV(maybeNull(text()), nullptr, l.n, l.tokens.data(), l.parms.data());
        return;
      }
      case 61: {
        static const RtErrorHandler kHandlers[] = {RiErrorIgnore, RiErrorPrint, RiErrorAbort, nullptr};
        RiErrorHandler(kHandlers[small(3)]);
        return;
      }
      case 62: RiCropWindow(number(), number(), number(), number()); return;
      case 63: RiClipping(number(), number()); return;
      case 64: RiPixelSamples(number(), number()); return;
      case 65: RiShadingRate(number()); return;
      case 66: RiGeometricApproximation(maybeNull(text()), number()); return;
      case 67: RiPerspective(number()); return;
      case 68: RiScale(number(), number(), number()); return;
      case 69: RiCoordinateSystem(maybeNull(text())); return;
      case 70: RiIdentity(); return;
      case 71: RiReverseOrientation(); return;
      case 72: RiDetailRange(number(), number(), number(), number()); return;
      case 73:
        RiSurface(s("plastic"), "Kd", valuesFor(s("Kd"), nullptr), "texturename",
                  valuesFor(s("texturename"), nullptr), RI_NULL);
        return;
      case 74: {
        const vellum::PrimitiveCounts counts = vellum::quadricCounts();
        RiSphere(number(), number(), number(), number(), "Cs", valuesFor(s("Cs"), &counts), RI_NULL);
        return;
      }
      default: RiDepthOfField(number(), number(), number()); return;
    }
  }

  FuzzedDataProvider &data_;
  int calls_ = 0;
  std::vector<RtContextHandle> contexts_;
  std::map<RtContextHandle, Steps> steps_;
  std::vector<RtLightHandle> lights_;
  std::vector<RtObjectHandle> objects_;
  std::deque<std::string> strings_;  // stable addresses
  std::vector<std::unique_ptr<RtFloat[]>> floatArrays_;
  std::vector<std::unique_ptr<RtInt[]>> intArrays_;
  std::vector<std::unique_ptr<RtToken[]>> textArrays_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
  vellum::forgetAllDeclarations();
  RtInt ascii = 0;
  RiOption(s("rib"), "binary", &ascii, RI_NULL);
  FuzzedDataProvider data(bytes, size);
  Program(data).run();
  return 0;
}
