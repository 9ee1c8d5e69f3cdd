#include "reader/request_table.h"

#include <string_view>
#include <unordered_map>

#include "common/name_tables.h"
#include "common/param_counts.h"
#include "decl/standard_declarations.h"

namespace vellum {

namespace {

int64_t sizeOf(const RibValue &value) { return static_cast<int64_t>(value.size()); }
int64_t sumOf(const RibValue &value) { return vellum::sumOf(value.ints.data(), sizeOf(value)); }
int64_t sumOfEvery(const RibValue &value, int64_t stride, int64_t first) {
  int64_t sum = 0;
  for (size_t i = static_cast<size_t>(first); i < value.ints.size(); i += static_cast<size_t>(stride))
    sum += value.ints[i];
  return sum;
}

bool anyNegative(const RibValue &value) {
  for (RtInt v : value.ints)
    if (v < 0) return true;
  return false;
}

std::string quote(const std::string &text) { return "\"" + text + "\""; }

std::string expectSize(const std::string &what, int64_t expected, int64_t actual) {
  return what + " has " + std::to_string(actual) + " values where " + std::to_string(expected) +
         " are expected";
}

// A handle as the stream gives it: a number, or a quoted string.
std::string handleKey(const RibValue &value) {
  return value.kind == RibValue::kString ? quote(value.string)
                                         : std::to_string(static_cast<RtInt>(value.number));
}

bool is(const RibValue &value, const char *text) { return value.string == text; }

// ---------------------------------------------------------------- counts

bool quadric(RequestChecker &, const RibRequest &, PrimitiveCounts *counts) {
  *counts = quadricCounts();
  return true;
}

// A polygon or a point cloud has as many vertices as its positions give.
bool byPositions(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  for (const char *position : {"P", "Pw", "Pz"}) {
    for (const RibParameter &parameter : request.parameters) {
      const DeclarationDictionary::Entry *entry =
          checker.state.declarations.lookup(parameter.token.c_str());
      if (entry == nullptr || entry->name != position) continue;
      const ValueShape shape = entry->shape();
      const int64_t perVertex = int64_t{valuesPerElement(shape.type)} * shape.arrayLength;
      if (perVertex <= 0 || parameter.value.kind != RibValue::kNumbers) continue;
      const int64_t values = sizeOf(parameter.value);
      if (values % perVertex != 0) {
        checker.fail("parameter " + quote(parameter.token) + " has " + std::to_string(values) +
                     " values, not a multiple of " + std::to_string(perVertex));
        return false;
      }
      *counts = polygonCounts(values / perVertex);
      return true;
    }
  }
  checker.fail("needs \"P\" values");
  return false;
}

bool generalPolygon(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[0];
  if (anyNegative(nverts)) return checker.fail("negative vertex counts"), false;
  *counts = generalPolygonCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data());
  return true;
}

// Faces given as vertex counts and one index array listing every corner.
bool indexedFaces(RequestChecker &checker, const RibValue &nverts, const RibValue &verts) {
  if (anyNegative(nverts) || anyNegative(verts))
    return checker.fail("negative vertex counts or indices"), false;
  if (sizeOf(verts) != sumOf(nverts))
    return checker.fail(expectSize("the vertex index array", sumOf(nverts), sizeOf(verts))), false;
  return true;
}

bool pointsPolygons(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[0], &verts = request.operands[1];
  if (!indexedFaces(checker, nverts, verts)) return false;
  *counts = pointsPolygonsCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                                 verts.ints.data());
  return true;
}

bool pointsGeneralPolygons(RequestChecker &checker, const RibRequest &request,
                           PrimitiveCounts *counts) {
  const RibValue &nloops = request.operands[0], &nverts = request.operands[1],
                 &verts = request.operands[2];
  if (anyNegative(nloops) || anyNegative(nverts) || anyNegative(verts))
    return checker.fail("negative counts or indices"), false;
  if (sizeOf(nverts) != sumOf(nloops))
    return checker.fail(expectSize("the vertex count array", sumOf(nloops), sizeOf(nverts))), false;
  if (sizeOf(verts) != sumOf(nverts))
    return checker.fail(expectSize("the vertex index array", sumOf(nverts), sizeOf(verts))), false;
  *counts = pointsGeneralPolygonsCounts(static_cast<RtInt>(nloops.size()), nloops.ints.data(),
                                        nverts.ints.data(), verts.ints.data());
  return true;
}

bool patch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &type = request.operands[0];
  if (!is(type, "bilinear") && !is(type, "bicubic"))
    return checker.fail("unknown patch type " + quote(type.string)), false;
  *counts = patchCounts(is(type, "bilinear"));
  return true;
}

bool knownWrap(RequestChecker &checker, const RibValue &wrap) {
  if (is(wrap, "periodic") || is(wrap, "nonperiodic")) return true;
  checker.fail("unknown wrap mode " + quote(wrap.string));
  return false;
}

// Whether `n` control points along a direction make whole patches.
bool fitsPatches(bool bicubic, bool periodic, int64_t n, int64_t step) {
  if (!bicubic) return n >= (periodic ? 1 : 2);
  if (periodic) return n >= step && n % step == 0;
  return n >= 4 && (n - 4) % step == 0;
}

bool patchMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RibValue &type = ops[0];
  if (!is(type, "bilinear") && !is(type, "bicubic"))
    return checker.fail("unknown patch type " + quote(type.string)), false;
  if (!knownWrap(checker, ops[2]) || !knownWrap(checker, ops[4])) return false;
  const bool bicubic = is(type, "bicubic");
  const StreamState &state = checker.state;
  if (bicubic && (state.uStep < 1 || state.vStep < 1))
    return checker.fail("the basis steps must be positive"), false;
  const RtInt nu = static_cast<RtInt>(ops[1].number), nv = static_cast<RtInt>(ops[3].number);
  if (!fitsPatches(bicubic, is(ops[2], "periodic"), nu, state.uStep) ||
      !fitsPatches(bicubic, is(ops[4], "periodic"), nv, state.vStep))
    return checker.fail("a " + type.string + " mesh of " + std::to_string(nu) + " by " +
                        std::to_string(nv) + " points does not make whole patches with steps " +
                        std::to_string(state.uStep) + " and " + std::to_string(state.vStep)),
           false;
  bool stepUsable = true;
  *counts = patchMeshCounts(bicubic, nu, is(ops[2], "periodic"), nv, is(ops[4], "periodic"),
                            state.uStep, state.vStep, &stepUsable);
  return true;
}

bool nuPatch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const int64_t nu = static_cast<RtInt>(ops[0].number), uorder = static_cast<RtInt>(ops[1].number);
  const int64_t nv = static_cast<RtInt>(ops[5].number), vorder = static_cast<RtInt>(ops[6].number);
  if (uorder < 1 || vorder < 1) return checker.fail("the orders must be at least 1"), false;
  if (nu < uorder || nv < vorder)
    return checker.fail("each direction needs at least as many points as its order"), false;
  if (sizeOf(ops[2]) != nu + uorder)
    return checker.fail(expectSize("the u knot vector", nu + uorder, sizeOf(ops[2]))), false;
  if (sizeOf(ops[7]) != nv + vorder)
    return checker.fail(expectSize("the v knot vector", nv + vorder, sizeOf(ops[7]))), false;
  *counts = nuPatchCounts(static_cast<RtInt>(nu), static_cast<RtInt>(uorder),
                          static_cast<RtInt>(nv), static_cast<RtInt>(vorder));
  return true;
}

bool curves(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RibValue &type = ops[0], &nverts = ops[1];
  if (!is(type, "linear") && !is(type, "cubic"))
    return checker.fail("unknown curve type " + quote(type.string)), false;
  if (!knownWrap(checker, ops[2])) return false;
  if (anyNegative(nverts)) return checker.fail("negative vertex counts"), false;
  const bool cubic = is(type, "cubic"), periodic = is(ops[2], "periodic");
  const RtInt step = checker.state.vStep;
  if (cubic && step < 1) return checker.fail("the v step must be positive"), false;
  for (RtInt n : nverts.ints) {
    const bool whole = !cubic ? n >= 2 : periodic ? n >= step && n % step == 0
                                                  : n >= 4 && (n - 4) % step == 0;
    if (!whole)
      return checker.fail("a " + type.string + " curve of " + std::to_string(n) +
                          " vertices does not make whole segments with step " +
                          std::to_string(step)),
             false;
  }
  bool stepUsable = true;
  *counts = curvesCounts(cubic, periodic, static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                         step, &stepUsable);
  return true;
}

bool subdivisionMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[1], &verts = request.operands[2];
  if (!indexedFaces(checker, nverts, verts)) return false;
  *counts = subdivisionMeshCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                                  verts.ints.data());
  return true;
}

// Renderers know more blob operations than the standard's, so a code array
// that does not add up to the counts given is a warning, not an error.
bool blobby(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RtInt nleaf = static_cast<RtInt>(ops[0].number);
  if (nleaf < 0) return checker.fail("a negative number of leaves"), false;
  const BlobbyCounts walked = blobbyCounts(ops[1].ints.data(), static_cast<RtInt>(ops[1].size()));
  if (walked.leaves != nleaf || walked.floats != sizeOf(ops[2]) || walked.strings != sizeOf(ops[3]))
    checker.warn("the code array asks for " + std::to_string(walked.leaves) + " leaves, " +
                 std::to_string(walked.floats) + " floats and " + std::to_string(walked.strings) +
                 " strings, not " + std::to_string(nleaf) + ", " + std::to_string(sizeOf(ops[2])) +
                 " and " + std::to_string(sizeOf(ops[3])));
  *counts = blobbyPrimitiveCounts(nleaf);
  return true;
}

// ---------------------------------------------------------------- checks

Verdict knownBasis(RequestChecker &checker, RibRequest &request) {
  for (int i : {0, 2}) {
    const RibValue &basis = request.operands[i];
    if (basis.kind == RibValue::kString && basisByName(basis.string.c_str()) == nullptr)
      return checker.fail("unknown basis " + quote(basis.string));
  }
  return Verdict::kReplay;
}

Verdict illuminate(RequestChecker &checker, RibRequest &request) {
  const std::string key = handleKey(request.operands[0]);
  if (checker.state.lights.count(key) != 0) return Verdict::kReplay;
  if (checker.state.rejectedLights.count(key) != 0)
    return checker.fail("light " + key + " was not defined: its request was rejected");
  checker.warn("light " + key + " is not defined in this stream; the reference is kept");
  return Verdict::kPassThrough;
}

Verdict objectInstance(RequestChecker &checker, RibRequest &request) {
  const std::string key = handleKey(request.operands[0]);
  if (checker.state.objects.count(key) != 0) return Verdict::kReplay;
  if (checker.state.rejectedObjects.count(key) != 0)
    return checker.fail("object " + key + " was not defined: its request was rejected");
  checker.warn("object " + key + " is not defined in this stream; the reference is kept");
  return Verdict::kPassThrough;
}

// Names the library has no function for are kept as read, never turned
// into another.
Verdict knownName(RequestChecker &checker, bool known, const char *what, const RibValue &name) {
  if (known) return Verdict::kReplay;
  checker.warn("unknown " + std::string(what) + " " + quote(name.string) + " is kept as read");
  return Verdict::kPassThrough;
}

Verdict errorHandler(RequestChecker &checker, RibRequest &request) {
  const RibValue &name = request.operands[0];
  return knownName(checker, errorHandlerByName(name.string.c_str()) != nullptr, "error handler",
                   name);
}

Verdict pixelFilter(RequestChecker &checker, RibRequest &request) {
  const RibValue &name = request.operands[0];
  return knownName(checker, filterByName(name.string.c_str()) != nullptr, "pixel filter", name);
}

// The texture requests: the writer writes no parameter list for them, so
// one with parameters is handed on as text to keep them.
Verdict texture(RequestChecker &checker, const RibRequest &request, int filter) {
  if (filter >= 0) {
    const RibValue &name = request.operands[static_cast<size_t>(filter)];
    const Verdict verdict =
        knownName(checker, filterByName(name.string.c_str()) != nullptr, "filter", name);
    if (verdict != Verdict::kReplay) return verdict;
  }
  return request.parameters.empty() ? Verdict::kReplay : Verdict::kPassThrough;
}

Verdict colorSamples(RequestChecker &checker, RibRequest &request) {
  const int64_t n = sizeOf(request.operands[0]);
  if (n != sizeOf(request.operands[1]) || n % 3 != 0)
    return checker.fail("the two matrices need 3 values per sample each");
  return Verdict::kReplay;
}

Verdict procedural(RequestChecker &checker, RibRequest &request) {
  const std::vector<RibValue> &ops = request.operands;
  if (sizeOf(ops[2]) != 6) return checker.fail(expectSize("the bound", 6, sizeOf(ops[2])));
  const ProceduralKind *kind = proceduralByName(ops[0].string.c_str());
  if (kind == nullptr) return knownName(checker, false, "procedural", ops[0]);
  if (sizeOf(ops[1]) != kind->strings)
    return checker.fail(expectSize("the data", kind->strings, sizeOf(ops[1])));
  return Verdict::kReplay;
}

Verdict trimCurve(RequestChecker &checker, RibRequest &request) {
  const std::vector<RibValue> &ops = request.operands;
  if (anyNegative(ops[0]) || anyNegative(ops[5])) return checker.fail("negative counts");
  const int64_t curves = sumOf(ops[0]);
  for (int i : {1, 3, 4, 5})
    if (sizeOf(ops[i]) != curves) return checker.fail(expectSize("a per-curve array", curves, sizeOf(ops[i])));
  for (size_t c = 0; c < ops[1].ints.size(); ++c) {
    if (ops[1].ints[c] < 1) return checker.fail("the orders must be at least 1");
    if (ops[5].ints[c] < ops[1].ints[c])
      return checker.fail("each curve needs at least as many points as its order");
  }
  const int64_t points = sumOf(ops[5]);
  if (sizeOf(ops[2]) != sumOf(ops[1]) + points)
    return checker.fail(expectSize("the knot vector", sumOf(ops[1]) + points, sizeOf(ops[2])));
  for (int i : {6, 7, 8})
    if (sizeOf(ops[i]) != points) return checker.fail(expectSize("a control-point array", points, sizeOf(ops[i])));
  return Verdict::kReplay;
}

Verdict hierarchicalSubdivisionMesh(RequestChecker &checker, RibRequest &request) {
  const std::vector<RibValue> &ops = request.operands;
  if (anyNegative(ops[1]) || anyNegative(ops[2]) || anyNegative(ops[4]))
    return checker.fail("negative counts or indices");
  if (sizeOf(ops[2]) != sumOf(ops[1]))
    return checker.fail(expectSize("the vertex index array", sumOf(ops[1]), sizeOf(ops[2])));
  // Integer, float and string argument counts for every tag.
  if (sizeOf(ops[4]) != 3 * sizeOf(ops[3]))
    return checker.fail(expectSize("the tag argument counts", 3 * sizeOf(ops[3]), sizeOf(ops[4])));
  const int64_t expected[] = {sumOfEvery(ops[4], 3, 0), sumOfEvery(ops[4], 3, 1),
                              sumOfEvery(ops[4], 3, 2)};
  const char *what[] = {"the integer arguments", "the float arguments", "the string arguments"};
  for (int i = 0; i < 3; ++i)
    if (sizeOf(ops[5 + i]) != expected[i])
      return checker.fail(expectSize(what[i], expected[i], sizeOf(ops[5 + i])));
  return Verdict::kReplay;
}

// ---------------------------------------------------------------- replays

// Declarations enter the stream's own dictionary, and the target's.
void declare(Replay &r) {
  r.state.declarations.declare(r.s(0), r.s(1));
  r.target.Declare(r.s(0), r.s(1));
}

RtFloat (*basisOf(Replay &r, size_t i))[4] {
  const RibValue &basis = r.op(i);
  if (basis.kind == RibValue::kString) return basisByName(basis.string.c_str());
  return reinterpret_cast<RtFloat(*)[4]>(r.floats(i));
}

RtFilterFunc filterOf(Replay &r, size_t i) { return filterByName(r.s(i)); }

void defineLight(Replay &r, RtLightHandle handle) {
  const std::string key = handleKey(r.op(1));
  r.state.lights[key] = handle;
  r.state.rejectedLights.erase(key);
}

void defineObject(Replay &r, RtObjectHandle handle) {
  const std::string key = handleKey(r.op(0));
  r.state.objects[key] = handle;
  r.state.rejectedObjects.erase(key);
}

// The matrix of sixteen numbers that ConcatTransform and Transform take.
struct Matrix {
  RtMatrix m;
  explicit Matrix(Replay &r) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = r.f(static_cast<size_t>(i));
  }
};

constexpr unsigned L = kParameters | kLooseParameters;
constexpr unsigned G = kParameters | kPrimitive;
constexpr unsigned X = kNoEntryPoint;
constexpr unsigned XP = kNoEntryPoint | kParameters | kLooseParameters;

const RequestRow kRequests[] = {
    // Structure, archives and declarations.
    {"version", "f", kNotReplayed, nullptr, nullptr, nullptr},
    {"FrameBegin", "i", kOpensBlock, nullptr, nullptr, [](Replay &r) { r.target.FrameBegin(r.i(0)); }},
    {"FrameEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.FrameEnd(); }},
    {"WorldBegin", "", kOpensBlock, nullptr, nullptr, [](Replay &r) { r.target.WorldBegin(); }},
    {"WorldEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.WorldEnd(); }},
    {"AttributeBegin", "", kOpensBlock, nullptr, nullptr, [](Replay &r) { r.target.AttributeBegin(); }},
    {"AttributeEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.AttributeEnd(); }},
    {"TransformBegin", "", kOpensBlock, nullptr, nullptr, [](Replay &r) { r.target.TransformBegin(); }},
    {"TransformEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.TransformEnd(); }},
    {"SolidBegin", "s", kOpensBlock, nullptr, nullptr, [](Replay &r) { r.target.SolidBegin(r.s(0)); }},
    {"SolidEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.SolidEnd(); }},
    {"ObjectBegin", "H", kOpensBlock, nullptr, nullptr,
     [](Replay &r) { defineObject(r, r.target.ObjectBegin()); }},
    {"ObjectEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.ObjectEnd(); }},
    {"ObjectInstance", "H", 0, nullptr, objectInstance,
     [](Replay &r) { r.target.ObjectInstance(r.state.objects[handleKey(r.op(0))]); }},
    {"MotionBegin", "F", kOpensBlock, nullptr, nullptr,
     [](Replay &r) { r.target.MotionBeginV(r.size(0), r.floats(0)); }},
    {"MotionEnd", "", kClosesBlock, nullptr, nullptr, [](Replay &r) { r.target.MotionEnd(); }},
    {"Declare", "ss", 0, nullptr, nullptr, declare},
    {"ErrorHandler", "s", 0, nullptr, errorHandler,
     [](Replay &r) { r.target.ErrorHandler(errorHandlerByName(r.s(0))); }},
    {"ReadArchive", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.ReadArchiveV(r.s(0), nullptr, r.n, r.tokens, r.parms); }},
    // Camera and options.
    {"Format", "iif", 0, nullptr, nullptr, [](Replay &r) { r.target.Format(r.i(0), r.i(1), r.f(2)); }},
    {"FrameAspectRatio", "f", 0, nullptr, nullptr,
     [](Replay &r) { r.target.FrameAspectRatio(r.f(0)); }},
    {"ScreenWindow", "ffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.ScreenWindow(r.f(0), r.f(1), r.f(2), r.f(3)); }},
    {"CropWindow", "ffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.CropWindow(r.f(0), r.f(1), r.f(2), r.f(3)); }},
    {"Projection", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.ProjectionV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Clipping", "ff", 0, nullptr, nullptr, [](Replay &r) { r.target.Clipping(r.f(0), r.f(1)); }},
    {"DepthOfField", "fff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.DepthOfField(r.f(0), r.f(1), r.f(2)); }},
    {"Shutter", "ff", 0, nullptr, nullptr, [](Replay &r) { r.target.Shutter(r.f(0), r.f(1)); }},
    {"PixelVariance", "f", 0, nullptr, nullptr, [](Replay &r) { r.target.PixelVariance(r.f(0)); }},
    {"PixelSamples", "ff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.PixelSamples(r.f(0), r.f(1)); }},
    {"PixelFilter", "sff", 0, nullptr, pixelFilter,
     [](Replay &r) { r.target.PixelFilter(filterOf(r, 0), r.f(1), r.f(2)); }},
    {"Exposure", "ff", 0, nullptr, nullptr, [](Replay &r) { r.target.Exposure(r.f(0), r.f(1)); }},
    {"Quantize", "siiif", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Quantize(r.s(0), r.i(1), r.i(2), r.i(3), r.f(4)); }},
    {"Display", "sss", L, nullptr, nullptr,
     [](Replay &r) { r.target.DisplayV(r.s(0), r.s(1), r.s(2), r.n, r.tokens, r.parms); }},
    {"Hider", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.HiderV(r.s(0), r.n, r.tokens, r.parms); }},
    {"ColorSamples", "FF", 0, nullptr, colorSamples,
     [](Replay &r) { r.target.ColorSamples(r.size(0) / 3, r.floats(0), r.floats(1)); }},
    {"RelativeDetail", "f", 0, nullptr, nullptr,
     [](Replay &r) { r.target.RelativeDetail(r.f(0)); }},
    {"Option", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.OptionV(r.s(0), r.n, r.tokens, r.parms); }},
    // Attributes.
    {"Color", "fff", 0, nullptr, nullptr,
     [](Replay &r) {
       RtColor color = {r.f(0), r.f(1), r.f(2)};
       r.target.Color(color);
     }},
    {"Opacity", "fff", 0, nullptr, nullptr,
     [](Replay &r) {
       RtColor color = {r.f(0), r.f(1), r.f(2)};
       r.target.Opacity(color);
     }},
    {"TextureCoordinates", "ffffffff", 0, nullptr, nullptr,
     [](Replay &r) {
       r.target.TextureCoordinates(r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5), r.f(6), r.f(7));
     }},
    {"ShadingRate", "f", 0, nullptr, nullptr, [](Replay &r) { r.target.ShadingRate(r.f(0)); }},
    {"ShadingInterpolation", "s", 0, nullptr, nullptr,
     [](Replay &r) { r.target.ShadingInterpolation(r.s(0)); }},
    {"Matte", "b", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Matte(static_cast<RtBoolean>(r.i(0))); }},
    {"Bound", "ffffff", 0, nullptr, nullptr,
     [](Replay &r) {
       RtBound bound = {r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5)};
       r.target.Bound(bound);
     }},
    {"Detail", "ffffff", 0, nullptr, nullptr,
     [](Replay &r) {
       RtBound bound = {r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5)};
       r.target.Detail(bound);
     }},
    {"DetailRange", "ffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.DetailRange(r.f(0), r.f(1), r.f(2), r.f(3)); }},
    {"GeometricApproximation", "sf", 0, nullptr, nullptr,
     [](Replay &r) { r.target.GeometricApproximation(r.s(0), r.f(1)); }},
    {"GeometricRepresentation", "s", 0, nullptr, nullptr,
     [](Replay &r) { r.target.GeometricRepresentation(r.s(0)); }},
    {"Sides", "i", 0, nullptr, nullptr, [](Replay &r) { r.target.Sides(r.i(0)); }},
    {"Orientation", "s", 0, nullptr, nullptr, [](Replay &r) { r.target.Orientation(r.s(0)); }},
    {"ReverseOrientation", "", 0, nullptr, nullptr,
     [](Replay &r) { r.target.ReverseOrientation(); }},
    {"Attribute", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.AttributeV(r.s(0), r.n, r.tokens, r.parms); }},
    // Transformations.
    {"Identity", "", 0, nullptr, nullptr, [](Replay &r) { r.target.Identity(); }},
    {"ConcatTransform", "ffffffffffffffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.ConcatTransform(Matrix(r).m); }},
    {"Transform", "ffffffffffffffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Transform(Matrix(r).m); }},
    {"Perspective", "f", 0, nullptr, nullptr, [](Replay &r) { r.target.Perspective(r.f(0)); }},
    {"Translate", "fff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Translate(r.f(0), r.f(1), r.f(2)); }},
    {"Rotate", "ffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Rotate(r.f(0), r.f(1), r.f(2), r.f(3)); }},
    {"Scale", "fff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Scale(r.f(0), r.f(1), r.f(2)); }},
    {"Skew", "fffffff", 0, nullptr, nullptr,
     [](Replay &r) { r.target.Skew(r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5), r.f(6)); }},
    {"CoordinateSystem", "s", 0, nullptr, nullptr,
     [](Replay &r) { r.target.CoordinateSystem(r.s(0)); }},
    {"CoordSysTransform", "s", 0, nullptr, nullptr,
     [](Replay &r) { r.target.CoordSysTransform(r.s(0)); }},
    // Shaders and lights.
    {"Surface", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.SurfaceV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Displacement", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.DisplacementV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Atmosphere", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.AtmosphereV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Interior", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.InteriorV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Exterior", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.ExteriorV(r.s(0), r.n, r.tokens, r.parms); }},
    {"Imager", "s", L, nullptr, nullptr,
     [](Replay &r) { r.target.ImagerV(r.s(0), r.n, r.tokens, r.parms); }},
    {"LightSource", "sH", L, nullptr, nullptr,
     [](Replay &r) { defineLight(r, r.target.LightSourceV(r.s(0), r.n, r.tokens, r.parms)); }},
    {"AreaLightSource", "sH", L, nullptr, nullptr,
     [](Replay &r) { defineLight(r, r.target.AreaLightSourceV(r.s(0), r.n, r.tokens, r.parms)); }},
    {"Illuminate", "Hb", 0, nullptr, illuminate,
     [](Replay &r) {
       r.target.Illuminate(r.state.lights[handleKey(r.op(0))], static_cast<RtBoolean>(r.i(1)));
     }},
    // Geometry.
    {"Basis", "BiBi", 0, nullptr, knownBasis,
     [](Replay &r) {
       r.state.uStep = r.i(1);
       r.state.vStep = r.i(3);
       r.target.Basis(basisOf(r, 0), r.i(1), basisOf(r, 2), r.i(3));
     }},
    {"TrimCurve", "IIFFFIFFF", 0, nullptr, trimCurve,
     [](Replay &r) {
       r.target.TrimCurve(r.size(0), r.ints(0), r.ints(1), r.floats(2), r.floats(3), r.floats(4),
                          r.ints(5), r.floats(6), r.floats(7), r.floats(8));
     }},
    {"Patch", "s", G, patch, nullptr,
     [](Replay &r) { r.target.PatchV(r.s(0), r.n, r.tokens, r.parms); }},
    {"PatchMesh", "sisis", G, patchMesh, nullptr,
     [](Replay &r) {
       r.target.PatchMeshV(r.s(0), r.i(1), r.s(2), r.i(3), r.s(4), r.n, r.tokens, r.parms);
     }},
    {"NuPatch", "iiFffiiFff", G, nuPatch, nullptr,
     [](Replay &r) {
       r.target.NuPatchV(r.i(0), r.i(1), r.floats(2), r.f(3), r.f(4), r.i(5), r.i(6), r.floats(7),
                         r.f(8), r.f(9), r.n, r.tokens, r.parms);
     }},
    {"Cone", "fff", G, quadric, nullptr,
     [](Replay &r) { r.target.ConeV(r.f(0), r.f(1), r.f(2), r.n, r.tokens, r.parms); }},
    {"Cylinder", "ffff", G, quadric, nullptr,
     [](Replay &r) { r.target.CylinderV(r.f(0), r.f(1), r.f(2), r.f(3), r.n, r.tokens, r.parms); }},
    {"Disk", "fff", G, quadric, nullptr,
     [](Replay &r) { r.target.DiskV(r.f(0), r.f(1), r.f(2), r.n, r.tokens, r.parms); }},
    {"Hyperboloid", "fffffff", G, quadric, nullptr,
     [](Replay &r) {
       RtPoint p1 = {r.f(0), r.f(1), r.f(2)}, p2 = {r.f(3), r.f(4), r.f(5)};
       r.target.HyperboloidV(p1, p2, r.f(6), r.n, r.tokens, r.parms);
     }},
    {"Paraboloid", "ffff", G, quadric, nullptr,
     [](Replay &r) {
       r.target.ParaboloidV(r.f(0), r.f(1), r.f(2), r.f(3), r.n, r.tokens, r.parms);
     }},
    {"Sphere", "ffff", G, quadric, nullptr,
     [](Replay &r) { r.target.SphereV(r.f(0), r.f(1), r.f(2), r.f(3), r.n, r.tokens, r.parms); }},
    {"Torus", "fffff", G, quadric, nullptr,
     [](Replay &r) {
       r.target.TorusV(r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.n, r.tokens, r.parms);
     }},
    {"Polygon", "", G, byPositions, nullptr,
     [](Replay &r) {
       PrimitiveCounts counts;
       RequestChecker checker(r.state);
       byPositions(checker, r.request, &counts);
       r.target.PolygonV(static_cast<RtInt>(counts.vertex), r.n, r.tokens, r.parms);
     }},
    {"GeneralPolygon", "I", G, generalPolygon, nullptr,
     [](Replay &r) { r.target.GeneralPolygonV(r.size(0), r.ints(0), r.n, r.tokens, r.parms); }},
    {"PointsPolygons", "II", G, pointsPolygons, nullptr,
     [](Replay &r) {
       r.target.PointsPolygonsV(r.size(0), r.ints(0), r.ints(1), r.n, r.tokens, r.parms);
     }},
    {"PointsGeneralPolygons", "III", G, pointsGeneralPolygons, nullptr,
     [](Replay &r) {
       r.target.PointsGeneralPolygonsV(r.size(0), r.ints(0), r.ints(1), r.ints(2), r.n, r.tokens,
                                       r.parms);
     }},
    {"Curves", "sIs", G, curves, nullptr,
     [](Replay &r) {
       r.target.CurvesV(r.s(0), r.size(1), r.ints(1), r.s(2), r.n, r.tokens, r.parms);
     }},
    {"Points", "", G, byPositions, nullptr,
     [](Replay &r) {
       PrimitiveCounts counts;
       RequestChecker checker(r.state);
       byPositions(checker, r.request, &counts);
       r.target.PointsV(static_cast<RtInt>(counts.vertex), r.n, r.tokens, r.parms);
     }},
    {"SubdivisionMesh", "sIIT", G, subdivisionMesh, nullptr,
     [](Replay &r) {
       r.target.SubdivisionMeshV(r.s(0), r.size(1), r.ints(1), r.ints(2), r.size(3), r.strings(3),
                                 r.ints(4), r.ints(5), r.floats(6), r.n, r.tokens, r.parms);
     }},
    {"Blobby", "iIFS", G, blobby, nullptr,
     [](Replay &r) {
       r.target.BlobbyV(r.i(0), r.size(1), r.ints(1), r.size(2), r.floats(2), r.size(3),
                        r.strings(3), r.n, r.tokens, r.parms);
     }},
    {"Procedural", "sSF", kPrimitive, nullptr, procedural,
     [](Replay &r) {
       r.target.Procedural(r.strings(1), r.floats(2), proceduralByName(r.s(0))->function, nullptr);
     }},
    {"Geometry", "s", L | kPrimitive, nullptr, nullptr,
     [](Replay &r) { r.target.GeometryV(r.s(0), r.n, r.tokens, r.parms); }},
    // Texture making.
    {"MakeTexture", "sssssff", L, nullptr,
     [](RequestChecker &c, RibRequest &q) { return texture(c, q, 4); },
     [](Replay &r) {
       r.target.MakeTextureV(r.s(0), r.s(1), r.s(2), r.s(3), filterOf(r, 4), r.f(5), r.f(6), r.n,
                             r.tokens, r.parms);
     }},
    {"MakeLatLongEnvironment", "sssff", L, nullptr,
     [](RequestChecker &c, RibRequest &q) { return texture(c, q, 2); },
     [](Replay &r) {
       r.target.MakeLatLongEnvironmentV(r.s(0), r.s(1), filterOf(r, 2), r.f(3), r.f(4), r.n,
                                        r.tokens, r.parms);
     }},
    {"MakeCubeFaceEnvironment", "sssssssfsff", L, nullptr,
     [](RequestChecker &c, RibRequest &q) { return texture(c, q, 8); },
     [](Replay &r) {
       r.target.MakeCubeFaceEnvironmentV(r.s(0), r.s(1), r.s(2), r.s(3), r.s(4), r.s(5), r.s(6),
                                         r.f(7), filterOf(r, 8), r.f(9), r.f(10), r.n, r.tokens,
                                         r.parms);
     }},
    {"MakeShadow", "ss", L, nullptr,
     [](RequestChecker &c, RibRequest &q) { return texture(c, q, -1); },
     [](Replay &r) { r.target.MakeShadowV(r.s(0), r.s(1), r.n, r.tokens, r.parms); }},
    // Requests of later versions of the interface and of renderers, which
    // this library has no operation for.
    {"ArchiveBegin", "s", XP | kOpensBlock, nullptr, nullptr, nullptr},
    {"ArchiveEnd", "", X | kClosesBlock, nullptr, nullptr, nullptr},
    {"Resource", "ss", XP, nullptr, nullptr, nullptr},
    {"ResourceBegin", "", X | kOpensBlock, nullptr, nullptr, nullptr},
    {"ResourceEnd", "", X | kClosesBlock, nullptr, nullptr, nullptr},
    {"Camera", "s", XP, nullptr, nullptr, nullptr},
    {"IfBegin", "s", X | kOpensBlock, nullptr, nullptr, nullptr},
    {"ElseIf", "s", X, nullptr, nullptr, nullptr},
    {"Else", "", X, nullptr, nullptr, nullptr},
    {"IfEnd", "", X | kClosesBlock, nullptr, nullptr, nullptr},
    {"ScopedCoordinateSystem", "s", X, nullptr, nullptr, nullptr},
    {"ClippingPlane", "ffffff", X, nullptr, nullptr, nullptr},
    {"Deformation", "s", XP, nullptr, nullptr, nullptr},
    {"MakeBump", "sssssff", XP, nullptr, nullptr, nullptr},
    {"System", "s", X, nullptr, nullptr, nullptr},
    {"DisplayChannel", "s", XP, nullptr, nullptr, nullptr},
    {"EditBegin", "s", XP | kOpensBlock, nullptr, nullptr, nullptr},
    {"EditEnd", "", X | kClosesBlock, nullptr, nullptr, nullptr},
    {"HierarchicalSubdivisionMesh", "sIISIIFS", XP, nullptr, hierarchicalSubdivisionMesh, nullptr},
    {"Procedural2", "ss", XP, nullptr, nullptr, nullptr},
    {"MakeBrickMap", "Ss", XP, nullptr, nullptr, nullptr},
    {"Shader", "ss", XP, nullptr, nullptr, nullptr},
    {"Bxdf", "ss", XP, nullptr, nullptr, nullptr},
    {"Pattern", "ss", XP, nullptr, nullptr, nullptr},
    {"Integrator", "ss", XP, nullptr, nullptr, nullptr},
    {"Light", "ss", XP, nullptr, nullptr, nullptr},
    {"DisplayFilter", "ss", XP, nullptr, nullptr, nullptr},
    {"SampleFilter", "ss", XP, nullptr, nullptr, nullptr},
    {"ShaderLayer", "sss", XP, nullptr, nullptr, nullptr},
    {"ConnectShaderLayers", "sssss", X, nullptr, nullptr, nullptr},
};

}  // namespace

char **Replay::strings(size_t i) {
  stringOperands.emplace_back();
  std::vector<char *> &pointers = stringOperands.back();
  for (const std::string &text : op(i).strings) pointers.push_back(const_cast<char *>(text.c_str()));
  return pointers.data();
}

const RequestRow *findRequest(const std::string &name) {
  static const std::unordered_map<std::string_view, const RequestRow *> byName = [] {
    std::unordered_map<std::string_view, const RequestRow *> map;
    for (const RequestRow &row : kRequests) map.emplace(row.name, &row);
    return map;
  }();
  auto found = byName.find(name);
  return found != byName.end() ? found->second : nullptr;
}

}  // namespace vellum
