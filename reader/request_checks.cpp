// The reader's checks beyond the operands' shapes, named as the request
// list names them.
#include "reader/request_checks.h"

#include "common/name_tables.h"
#include "common/param_counts.h"
#include "decl/declaration.h"
#include "reader/operands.h"

namespace vellum::checks {

Verdict knownName(RequestChecker &checker, bool known, const char *what, const RibValue &name) {
  if (known) return Verdict::kReplay;
  checker.warn("unknown " + std::string(what) + " " + quote(name.string) + " is kept as read");
  return Verdict::kPassThrough;
}

namespace {

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

// A wrap mode other than the two is read as "nonperiodic", as renderers
// read it, and handed on so.
void knownWrap(RequestChecker &checker, RibValue &wrap) {
  if (is(wrap, "periodic") || is(wrap, "nonperiodic")) return;
  checker.warn("unknown wrap mode " + quote(wrap.string) + " is read as \"nonperiodic\"");
  wrap.string = "nonperiodic";
}

// A reference to a handle the stream never defined is kept as text.  When
// archives the stream read were not there, the warning names the last of
// them, which may have defined it.
Verdict undefinedHandle(RequestChecker &checker, const std::string &what) {
  const StreamState &state = checker.state;
  std::string maybe;
  if (state.missingArchives > 0) {
    maybe = "; the missing archive " + quote(state.lastMissingArchive);
    if (state.missingArchives > 1)
      maybe += " (or one of the " + std::to_string(state.missingArchives - 1) +
               " missing before it)";
    maybe += " may define it";
  }
  checker.warn(what + " is not defined in this stream" + maybe + "; the reference is kept");
  return Verdict::kPassThrough;
}

}  // namespace

Verdict KnownBasis(RequestChecker &checker, RibRequest &request) {
  for (int i : {0, 2}) {
    const RibValue &basis = request.operands[i];
    if (basis.kind == RibValue::kString && basisByName(basis.string.c_str()) == nullptr)
      return checker.fail("unknown basis " + quote(basis.string));
  }
  return Verdict::kReplay;
}

Verdict Illuminate(RequestChecker &checker, RibRequest &request) {
  const std::string key = handleKey(request.operands[0]);
  if (checker.state.lights.count(key) != 0) return Verdict::kReplay;
  if (checker.state.rejectedLights.count(key) != 0)
    return checker.fail("light " + key + " was not defined: its request was rejected");
  return undefinedHandle(checker, "light " + key);
}

Verdict ObjectInstance(RequestChecker &checker, RibRequest &request) {
  const std::string key = handleKey(request.operands[0]);
  if (checker.state.objects.count(key) != 0) return Verdict::kReplay;
  if (checker.state.rejectedObjects.count(key) != 0)
    return checker.fail("object " + key + " was not defined: its request was rejected");
  return undefinedHandle(checker, "object " + key);
}

Verdict ErrorHandler(RequestChecker &checker, RibRequest &request) {
  const RibValue &name = request.operands[0];
  return knownName(checker, errorHandlerByName(name.string.c_str()) != nullptr, "error handler",
                   name);
}

// A declaration that names no type would make every later use of the name
// fail; it is refused where it stands.  An empty one declares nothing.
Verdict Declare(RequestChecker &checker, RibRequest &request) {
  const std::string &declaration = request.operands[1].string;
  if (declaration.empty()) return Verdict::kReplay;
  const ParsedDeclaration parsed = parseDeclaration(declaration.c_str());
  const char *reason = unusableDeclarationReason({parsed.storageClass, parsed.type, parsed.arrayLength});
  if (reason == nullptr) return Verdict::kReplay;
  return checker.fail("the declaration \"" + declaration + "\" " + reason);
}

Verdict PixelFilter(RequestChecker &checker, RibRequest &request) {
  const RibValue &name = request.operands[0];
  return knownName(checker, filterByName(name.string.c_str()) != nullptr, "pixel filter", name);
}

Verdict ColorSamples(RequestChecker &checker, RibRequest &request) {
  const int64_t n = sizeOf(request.operands[0]);
  if (n != sizeOf(request.operands[1]) || n % 3 != 0)
    return checker.fail("the two matrices need 3 values per sample each");
  return Verdict::kReplay;
}

Verdict Procedural(RequestChecker &checker, RibRequest &request) {
  const std::vector<RibValue> &ops = request.operands;
  if (sizeOf(ops[2]) != 6) return checker.fail(expectSize("the bound", 6, sizeOf(ops[2])));
  const ProceduralKind *kind = proceduralByName(ops[0].string.c_str());
  if (kind == nullptr) return knownName(checker, false, "procedural", ops[0]);
  if (sizeOf(ops[1]) != kind->strings)
    return checker.fail(expectSize("the data", kind->strings, sizeOf(ops[1])));
  return Verdict::kReplay;
}

Verdict PatchMesh(RequestChecker &checker, RibRequest &request) {
  knownWrap(checker, request.operands[2]);
  knownWrap(checker, request.operands[4]);
  return Verdict::kReplay;
}

Verdict Curves(RequestChecker &checker, RibRequest &request) {
  knownWrap(checker, request.operands[2]);
  return Verdict::kReplay;
}

Verdict TrimCurve(RequestChecker &checker, RibRequest &request) {
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

Verdict HierarchicalSubdivisionMesh(RequestChecker &checker, RibRequest &request) {
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

Verdict MakeTexture(RequestChecker &checker, RibRequest &request) { return texture(checker, request, 4); }

Verdict MakeLatLongEnvironment(RequestChecker &checker, RibRequest &request) { return texture(checker, request, 2); }

Verdict MakeCubeFaceEnvironment(RequestChecker &checker, RibRequest &request) { return texture(checker, request, 8); }

Verdict MakeShadow(RequestChecker &checker, RibRequest &request) { return texture(checker, request, -1); }

// ElseIf and Else continue the innermost block, which must be an IfBegin.
Verdict InsideIf(RequestChecker &checker, RibRequest &) {
  const std::vector<StreamState::OpenBlock> &blocks = checker.state.blocks;
  if (blocks.empty() || std::string(blocks.back().opener) != "IfBegin")
    return checker.fail("outside an IfBegin block");
  return Verdict::kReplay;
}

}  // namespace vellum::checks
