// libFuzzer target for the C interface: the bytes become a program of Ri
// calls (every request of the request list that has an entry point,
// parameter lists of declared, undeclared and inline-declared tokens, odd
// strings, NaN and infinities, several contexts, ASCII and binary output),
// all written to /dev/null.  A request whose parameters are all numbers,
// strings and names is called generically from its row; the others have
// calls of their own, and the build fails for a new one without.
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
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/name_tables.h"
#include "common/param_counts.h"
#include "common/primitive_counts.h"
#include "decl/declaration.h"
#include "ri.h"
#include "ri/requests.h"

namespace {

// No array the program makes holds more values than this; a call that
// would need more is left out.
constexpr int64_t kMostValues = 1 << 16;

char *s(const char *text) { return const_cast<char *>(text); }

// The requests of the list, and what the generic call takes from each row:
// its entry point (null where it has none or its own), whether it is a
// list form, and its count rule.
#define VELLUM_CALL_NAME(Name, ...) Name,
enum class Call { VELLUM_REQUESTS(VELLUM_CALL_NAME) };

// The count rules a generic call can follow; the others need arrays or
// state that only a call of the request's own makes.
enum class Rule { kNone, kQuadric, kPatch, kOneOfEach, kOwn };
#define VELLUM_FUZZ_RULE_NoCounts Rule::kNone
#define VELLUM_FUZZ_RULE_Quadric Rule::kQuadric
#define VELLUM_FUZZ_RULE_Patch Rule::kPatch
#define VELLUM_FUZZ_RULE_Positions Rule::kOwn
#define VELLUM_FUZZ_RULE_GeneralPolygon Rule::kOwn
#define VELLUM_FUZZ_RULE_PointsPolygons Rule::kOwn
#define VELLUM_FUZZ_RULE_PointsGeneralPolygons Rule::kOwn
#define VELLUM_FUZZ_RULE_PatchMesh Rule::kOwn
#define VELLUM_FUZZ_RULE_NuPatch Rule::kOwn
#define VELLUM_FUZZ_RULE_Curves Rule::kOwn
#define VELLUM_FUZZ_RULE_SubdivisionMesh Rule::kOwn
#define VELLUM_FUZZ_RULE_Blobby Rule::kOwn
#define VELLUM_FUZZ_RULE_Volume Rule::kOwn
#define VELLUM_FUZZ_RULE_OneOfEach Rule::kOneOfEach

#define VELLUM_FUZZ_ENTRY_ENTRY_PLAIN(Name) &Ri##Name
#define VELLUM_FUZZ_ENTRY_ENTRY_LIST(Name) &Ri##Name##V
#define VELLUM_FUZZ_ENTRY_ENTRY_LIST_V_FIRST(Name) &Ri##Name##V
#define VELLUM_FUZZ_ENTRY_OWN_ENTRY_LIST(Name) nullptr
#define VELLUM_FUZZ_ENTRY_OWN_ENTRY_VARARGS(Name) nullptr
#define VELLUM_FUZZ_ENTRY_NONE_PLAIN(Name) nullptr
#define VELLUM_FUZZ_ENTRY_NONE_LIST(Name) nullptr
#define VELLUM_FUZZ_ENTRY_NONE_RIB_ONLY(Name) nullptr
#define VELLUM_FUZZ_LIST_PLAIN false
#define VELLUM_FUZZ_LIST_LIST true
#define VELLUM_FUZZ_LIST_LIST_V_FIRST true
#define VELLUM_FUZZ_LIST_VARARGS false
#define VELLUM_FUZZ_LIST_RIB_ONLY false
#define VELLUM_FUZZ_ENTRY(entry, form, Name) VELLUM_FUZZ_ENTRY_##entry##_##form(Name)

template <Call K>
struct Row;
#define VELLUM_FUZZ_ROW(Name, form, R, Params, Args, operands, Counts, check, flags, entry, ...)      \
  template <>                                                                                       \
  struct Row<Call::Name> {                                                                          \
    [[maybe_unused]] static constexpr auto entryPoint = VELLUM_FUZZ_ENTRY(entry, form, Name);        \
    [[maybe_unused]] static constexpr bool list = VELLUM_FUZZ_LIST_##form;                           \
    [[maybe_unused]] static constexpr Rule rule = VELLUM_FUZZ_RULE_##Counts;                         \
  };
VELLUM_REQUESTS(VELLUM_FUZZ_ROW)

template <Call K>
constexpr bool kNeedsACallOfItsOwn = false;

template <typename R, typename... P>
constexpr size_t parameterCount(R (*)(P...)) {
  return sizeof...(P);
}

// The number of calls of the table below.
int callCount();

class Program {
 public:
  explicit Program(FuzzedDataProvider &data) : data_(data) {}

  void run() {
    while (data_.remaining_bytes() > 0 && calls_ < 400) {
      ++calls_;
      try {
        step(data_.ConsumeIntegralInRange<int>(0, callCount() + 1));
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

  // One call, by `op`: start a context, end or switch one, or the call of
  // a request of the list.
  void step(int op);

 public:
  // The call of one request: generic (each parameter a fuzzed value of its
  // type, a list form's parameter list by the row's count rule), or one of
  // its own below.
  template <Call K>
  void call();

 private:
  template <typename T>
  T value();
  template <typename Row, typename R, typename... P, size_t... I>
  void callGeneric(R (*entry)(P...), std::index_sequence<I...>);

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

// ------------------------------------------------------------ generic calls

template <typename T>
T Program::value() {
  if constexpr (std::is_same_v<T, RtFloat>) return number();
  else if constexpr (std::is_same_v<T, RtInt>) return count();
  else if constexpr (std::is_same_v<T, RtBoolean>) return data_.ConsumeIntegral<RtBoolean>();
  else if constexpr (std::is_same_v<T, char *>) return maybeNull(text());
  else if constexpr (std::is_same_v<T, RtFilterFunc>) return filter();
  else if constexpr (std::is_same_v<T, RtArchiveCallback>) return nullptr;
  else if constexpr (std::is_same_v<T, RtProc2SubdivFunc>)
    return data_.ConsumeBool() ? RiProc2DelayedReadArchive : data_.ConsumeBool() ? RiProc2DynamicLoad : nullptr;
  else if constexpr (std::is_same_v<T, RtProc2BoundFunc>) return data_.ConsumeBool() ? RiSimpleBound : nullptr;
  else static_assert(kNeedsACallOfItsOwn<Call{}> && std::is_void_v<T>, "no fuzzed value of this type");
}

template <typename Row, typename R, typename... P, size_t... I>
void Program::callGeneric(R (*entry)(P...), std::index_sequence<I...>) {
  using Types = std::tuple<P...>;
  // Braces: the values are drawn from the data in order.
  std::tuple<std::tuple_element_t<I, Types>...> fixed{value<std::tuple_element_t<I, Types>>()...};
  if constexpr (!Row::list) {
    std::apply(entry, fixed);
  } else {
    vellum::PrimitiveCounts counts;
    const vellum::PrimitiveCounts *primitive = nullptr;
    if constexpr (Row::rule == Rule::kQuadric) {
      counts = vellum::quadricCounts();
      primitive = &counts;
    } else if constexpr (Row::rule == Rule::kOneOfEach) {
      counts = vellum::oneOfEachCounts();
      primitive = &counts;
    } else if constexpr (Row::rule == Rule::kPatch) {
      const char *type = std::get<0>(fixed);
      counts = vellum::patchCounts(type != nullptr && std::string(type) == "bilinear");
      primitive = &counts;
    }
    List l = list(primitive);
    std::apply([&](auto... each) { entry(each..., l.n, l.tokens.data(), l.parms.data()); }, fixed);
  }
}

template <Call K>
void Program::call() {
  using R = Row<K>;
  if constexpr (std::is_null_pointer_v<std::remove_cv_t<decltype(R::entryPoint)>> || R::rule == Rule::kOwn) {
    static_assert(kNeedsACallOfItsOwn<K>, "this request needs a call of its own below");
  } else {
    constexpr size_t fixed = parameterCount(R::entryPoint) - (R::list ? 3 : 0);
    callGeneric<R>(R::entryPoint, std::make_index_sequence<fixed>());
  }
}

// ------------------------------------------------------------ calls of their own
// Arrays sized by the count rules, handles kept for later calls, and names
// that the writer treats apart.

#define VELLUM_OWN_CALL(Name) \
  template <>                 \
  void Program::call<Call::Name>()

VELLUM_OWN_CALL(Projection) {
  List l = list(nullptr);
  RiProjectionV(maybeNull(pick({"perspective", "orthographic"})), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Display) {
  List l = list(nullptr);
  RiDisplayV(maybeNull(text()), maybeNull(pick({"file", "framebuffer"})), maybeNull(text()), l.n,
             l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(ColorSamples) {
  const RtInt n = count();
  RiColorSamples(n, floats(3 * int64_t{n}), floats(3 * int64_t{n}));
}
VELLUM_OWN_CALL(Option) {
  List l = list(nullptr);
  if (data_.ConsumeBool()) {
    RtString format = data_.ConsumeBool() ? s("binary") : s("ascii");
    RiOption(s("rib"), "format", &format, RI_NULL);
  } else {
    RiOptionV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data());
  }
}
VELLUM_OWN_CALL(Color) {
  RtColor color = {number(), number(), number()};
  RiColor(color);
}
VELLUM_OWN_CALL(Opacity) {
  RtColor color = {number(), number(), number()};
  RiOpacity(color);
}
VELLUM_OWN_CALL(Bound) {
  RtBound bound = {number(), number(), number(), number(), number(), number()};
  RiBound(bound);
}
VELLUM_OWN_CALL(Detail) {
  RtBound bound = {number(), number(), number(), number(), number(), number()};
  RiDetail(bound);
}
VELLUM_OWN_CALL(Orientation) { RiOrientation(maybeNull(pick({"lh", "rh", "inside", "outside"}))); }
VELLUM_OWN_CALL(ConcatTransform) {
  RtMatrix m;
  for (auto &row : m)
    for (RtFloat &v : row) v = number();
  RiConcatTransform(m);
}
VELLUM_OWN_CALL(Transform) {
  RtMatrix m;
  for (auto &row : m)
    for (RtFloat &v : row) v = number();
  RiTransform(m);
}
VELLUM_OWN_CALL(TransformPoints) {
  const RtInt n = count(120);
  RiTransformPoints(text(), text(), n, reinterpret_cast<RtPoint *>(floats(3 * int64_t{n})));
}
VELLUM_OWN_CALL(MotionBegin) {
  if (data_.ConsumeBool()) {
    RiMotionBegin(3, 0.0, 0.5, 1.0);
    return;
  }
  const RtInt n = std::min<RtInt>(count(130), 130);
  RiMotionBeginV(n, floats(n));
}
VELLUM_OWN_CALL(Surface) {
  if (data_.ConsumeBool()) {
    RiSurface(s("plastic"), "Kd", valuesFor(s("Kd"), nullptr), "texturename",
              valuesFor(s("texturename"), nullptr), RI_NULL);
    return;
  }
  List l = list(nullptr);
  RiSurfaceV(maybeNull(pick({"plastic", "matte", "constant"})), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(LightSource) {
  List l = list(nullptr);
  lights_.push_back(RiLightSourceV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data()));
}
VELLUM_OWN_CALL(AreaLightSource) {
  List l = list(nullptr);
  lights_.push_back(RiAreaLightSourceV(maybeNull(text()), l.n, l.tokens.data(), l.parms.data()));
}
VELLUM_OWN_CALL(Illuminate) {
  RtLightHandle light = !lights_.empty() && data_.ConsumeBool()
                            ? lights_[data_.ConsumeIntegralInRange<size_t>(0, lights_.size() - 1)]
                            : reinterpret_cast<RtLightHandle>(static_cast<intptr_t>(count()));
  RiIlluminate(light, data_.ConsumeIntegral<RtBoolean>());
}
VELLUM_OWN_CALL(Sphere) {
  if (data_.ConsumeBool()) {
    const vellum::PrimitiveCounts counts = vellum::quadricCounts();
    RiSphere(number(), number(), number(), number(), "Cs", valuesFor(s("Cs"), &counts), RI_NULL);
    return;
  }
  const vellum::PrimitiveCounts counts = vellum::quadricCounts();
  List l = list(&counts);
  RiSphereV(number(), number(), number(), number(), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Hyperboloid) {
  const vellum::PrimitiveCounts counts = vellum::quadricCounts();
  List l = list(&counts);
  RtPoint p1 = {number(), number(), number()}, p2 = {number(), number(), number()};
  RiHyperboloidV(p1, p2, number(), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Polygon) {
  const RtInt n = count(12);
  const vellum::PrimitiveCounts counts = clamped(vellum::polygonCounts(n));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiPolygonV(n, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Points) {
  const RtInt n = count(12);
  const vellum::PrimitiveCounts counts = clamped(vellum::polygonCounts(n));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiPointsV(n, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(GeneralPolygon) {
  const RtInt nloops = count(4);
  RtInt *nverts = ints(nloops, -1, 6);
  const vellum::PrimitiveCounts counts = clamped(vellum::generalPolygonCounts(nloops, nverts));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiGeneralPolygonV(nloops, nverts, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(PointsPolygons) {
  const RtInt npolys = count(6);
  RtInt *nverts = ints(npolys, -1, 5);
  RtInt *verts = ints(vellum::sumOf(nverts, npolys), -2, 12);
  const vellum::PrimitiveCounts counts = clamped(vellum::pointsPolygonsCounts(npolys, nverts, verts));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiPointsPolygonsV(npolys, nverts, verts, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(PointsGeneralPolygons) {
  const RtInt npolys = count(4);
  RtInt *nloops = ints(npolys, -1, 3);
  RtInt *nverts = ints(vellum::sumOf(nloops, npolys), -1, 5);
  RtInt *verts = ints(vellum::sumOf(nverts, vellum::sumOf(nloops, npolys)), 0, 12);
  const vellum::PrimitiveCounts counts =
      clamped(vellum::pointsGeneralPolygonsCounts(npolys, nloops, nverts, verts));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiPointsGeneralPolygonsV(npolys, nloops, nverts, verts, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Patch) {
  RtToken type = pick({"bilinear", "bicubic"});
  const vellum::PrimitiveCounts counts = clamped(vellum::patchCounts(std::string(type) == "bilinear"));
  List l = list(&counts);
  RiPatchV(type, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(NuPatch) {
  const RtInt nu = count(6), uorder = count(5), nv = count(6), vorder = count(5);
  const int64_t uknots = int64_t{nu} + uorder, vknots = int64_t{nv} + vorder;
  if (uknots > kMostValues || vknots > kMostValues) return;
  const vellum::PrimitiveCounts counts = clamped(vellum::nuPatchCounts(nu, uorder, nv, vorder));
  if (!fits(counts)) return;
  RtFloat *uknot = floats(uknots), *vknot = floats(vknots);
  List l = list(&counts);
  RiNuPatchV(nu, uorder, uknot, number(), number(), nv, vorder, vknot, number(), number(), l.n,
             l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Curves) {
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
}
VELLUM_OWN_CALL(SubdivisionMesh) {
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
}
VELLUM_OWN_CALL(Blobby) {
  const RtInt ncode = count(10);
  RtInt *code = ints(ncode, -1, 8);
  for (RtInt i = 0; code != nullptr && i < ncode; ++i)
    if (data_.ConsumeBool()) code[i] = 1000 + small(3);
  const RtInt nleaf = count(4), nflt = count(20), nstr = count(2);
  const vellum::PrimitiveCounts counts = clamped(vellum::blobbyPrimitiveCounts(nleaf));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiBlobbyV(nleaf, ncode, code, nflt, floats(nflt), nstr, texts(nstr), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Procedural) {
  static const RtProcSubdivFunc kFunctions[] = {RiProcDelayedReadArchive, RiProcRunProgram,
                                                RiProcDynamicLoad};
  RtProcSubdivFunc function = kFunctions[data_.ConsumeIntegralInRange<size_t>(0, 2)];
  RtBound bound = {number(), number(), number(), number(), number(), number()};
  RiProcedural(texts(vellum::proceduralByFunction(function)->strings), bound, function, nullptr);
}
VELLUM_OWN_CALL(TrimCurve) {
  const RtInt nloops = count(3);
  RtInt *ncurves = ints(nloops, 0, 2);
  const int64_t curves = vellum::sumOf(ncurves, nloops);
  RtInt *order = ints(curves, -1, 4), *n = ints(curves, -1, 5);
  const int64_t points = vellum::sumOf(n, curves);
  const int64_t knots = vellum::sumOf(order, curves) + points;
  RiTrimCurve(nloops, ncurves, order, floats(knots), floats(curves), floats(curves), n, floats(points),
              floats(points), floats(points));
}
VELLUM_OWN_CALL(Declare) {
  static const char *const kDeclarations[] = {"float", "varying color", "vertex point[2]", "string",
                                              "integer[3]", "facevarying normal", "bool", "",
                                              "uniform float[70000]", "matrix", "mpoint"};
  RiDeclare(pick({"fzd", "fze", "Cs", "P"}), data_.ConsumeBool() ? s(kDeclarations[small(10)]) : nullptr);
}
VELLUM_OWN_CALL(Basis) {
  const RtInt ustep = count(4), vstep = count(4);
  RiBasis(basis(), ustep, basis(), vstep);
  steps() = {ustep, vstep};
}
VELLUM_OWN_CALL(PatchMesh) {
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
}
VELLUM_OWN_CALL(Geometry) {
  List l = list(nullptr);
  RiGeometryV(maybeNull(pick({"teapot"})), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(SolidBegin) { RiSolidBegin(maybeNull(pick({"union", "intersection", "primitive"}))); }
VELLUM_OWN_CALL(ObjectBegin) { objects_.push_back(RiObjectBegin()); }
VELLUM_OWN_CALL(ObjectInstance) {
  RtObjectHandle object = !objects_.empty() && data_.ConsumeBool()
                              ? objects_[data_.ConsumeIntegralInRange<size_t>(0, objects_.size() - 1)]
                              : reinterpret_cast<RtObjectHandle>(static_cast<intptr_t>(count()));
  RiObjectInstance(object);
}
VELLUM_OWN_CALL(ArchiveRecord) { RiArchiveRecord(pick({"comment", "structure", "verbatim"}), s("%s"), text()); }
VELLUM_OWN_CALL(Light) {
  List l = list(nullptr);
  lights_.push_back(RiLightV(maybeNull(text()), maybeNull(text()), l.n, l.tokens.data(), l.parms.data()));
}
VELLUM_OWN_CALL(HierarchicalSubdivisionMesh) {
  const RtInt nfaces = count(4);
  RtInt *nverts = ints(nfaces, -1, 5);
  RtInt *verts = ints(vellum::sumOf(nverts, nfaces), 0, 10);
  const RtInt ntags = count(3);
  RtToken *tags = texts(ntags);
  RtInt *nargs = ints(3 * int64_t{ntags}, -1, 3);
  int64_t counts3[3] = {0, 0, 0};
  for (int64_t t = 0; nargs != nullptr && t < ntags; ++t)
    for (int k = 0; k < 3; ++k) counts3[k] += nargs[3 * t + k];
  RtInt *intargs = ints(counts3[0], -1, 5);
  RtFloat *floatargs = floats(counts3[1]);
  RtToken *stringargs = texts(counts3[2]);
  const vellum::PrimitiveCounts counts = clamped(vellum::subdivisionMeshCounts(nfaces, nverts, verts));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiHierarchicalSubdivisionMeshV(pick({"catmull-clark", "loop"}), nfaces, nverts, verts, ntags, tags, nargs,
                                 intargs, floatargs, stringargs, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(MakeBrickMap) {
  const RtInt n = count(3);
  List l = list(nullptr);
  RiMakeBrickMapV(n, texts(n), maybeNull(text()), l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(Volume) {
  RtBound bound = {number(), number(), number(), number(), number(), number()};
  RtInt *dimensions = data_.ConsumeBool() ? ints(3, -1, 6) : nullptr;
  const vellum::PrimitiveCounts counts = clamped(vellum::volumeCounts(dimensions));
  if (!fits(counts)) return;
  List l = list(&counts);
  RiVolumeV(maybeNull(pick({"box", "ellipsoid"})), bound, dimensions, l.n, l.tokens.data(), l.parms.data());
}
VELLUM_OWN_CALL(ErrorHandler) {
  static const RtErrorHandler kHandlers[] = {RiErrorIgnore, RiErrorPrint, RiErrorAbort, nullptr};
  RiErrorHandler(kHandlers[small(3)]);
}

// ------------------------------------------------------------ the table

// Every request of the list with an entry point; a request without a call
// of its own must have one that the generic call can make.
#define VELLUM_FUZZ_CALL_ENTRY(Name) &Program::call<Call::Name>,
#define VELLUM_FUZZ_CALL_OWN_ENTRY(Name) &Program::call<Call::Name>,
#define VELLUM_FUZZ_CALL_NONE(Name)
#define VELLUM_FUZZ_CALL(Name, form, R, Params, Args, operands, Counts, check, flags, entry, ...) \
  VELLUM_FUZZ_CALL_##entry(Name)
constexpr void (Program::*kCalls[])() = {VELLUM_REQUESTS(VELLUM_FUZZ_CALL)};
int callCount() { return static_cast<int>(std::size(kCalls)); }

void Program::step(int op) {
  if (contexts_.empty() || op == 0) {
    if (contexts_.size() < 3) begin();
    return;
  }
  if (op == 1) {  // end a context, or switch to another
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
  (this->*kCalls[op - 2])();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
  vellum::forgetAllDeclarations();
  RtInt ascii = 0;
  RiOption(s("rib"), "binary", &ascii, RI_NULL);
  FuzzedDataProvider data(bytes, size);
  Program(data).run();
  return 0;
}
