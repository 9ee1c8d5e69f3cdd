// The checks of a request beyond the shapes of its operands: that operand
// arrays agree with each other, and that every parameter has as many values
// as its declaration and the primitive's counts ask for.  A request that
// passes can be replayed without reading past any of its arrays.
#include <cstring>

#include "decl/declaration.h"
#include "decl/string_table.h"
#include "reader/rib_parser.h"
#include "common/param_counts.h"
#include "common/primitive_counts.h"

namespace vellum {

namespace {

int64_t sizeOf(const RibValue &value) { return static_cast<int64_t>(value.size()); }
int64_t sumOf(const RibValue &value) { return vellum::sumOf(value.ints.data(), sizeOf(value)); }
const RtInt *intsOf(const RibValue &value) { return value.ints.data(); }

bool anyNegative(const RibValue &value) {
  for (RtInt v : value.ints)
    if (v < 0) return true;
  return false;
}

const RibParameter *findParameter(const RibRequest &request, const char *token) {
  for (const RibParameter &parameter : request.parameters)
    if (parameter.token == token) return &parameter;
  return nullptr;
}

std::string quote(const std::string &text) { return "\"" + text + "\""; }

std::string expectSize(const char *what, int64_t expected, int64_t actual) {
  return std::string(what) + " has " + std::to_string(actual) + " values where " +
         std::to_string(expected) + " are expected";
}

}  // namespace

int64_t positionVertexCount(const RibRequest &request) {
  static const struct {
    const char *token;
    int perVertex;
  } kPositions[] = {{"P", 3}, {"Pw", 4}, {"Pz", 1}};
  for (const auto &position : kPositions)
    if (const RibParameter *p = findParameter(request, position.token))
      return p->value.kind == RibValue::kNumbers ? sizeOf(p->value) / position.perVertex : -1;
  return -1;
}

bool RibParser::checkRequest(const RequestShape &shape, RibRequest &request) {
  std::vector<RibValue> &ops = request.operands;
  const std::string where = request.name + ": ";
  auto fail = [&](const std::string &message) {
    report(request.line, where + message);
    return false;
  };
  const std::string &name = request.name;
  if (name == "Declare") {
    const std::string &declaration = ops[1].string;
    if (!declaration.empty()) declare(ops[0].string.c_str(), declaration.c_str(), nullptr, false);
  } else if (name == "Basis") {
    for (int i : {0, 2}) {
      const std::string &basis = ops[i].string;
      if (ops[i].kind == RibValue::kString && basis != "bezier" && basis != "b-spline" &&
          basis != "catmull-rom" && basis != "hermite" && basis != "power")
        return fail("unknown basis \"" + basis + "\"");
    }
    uStep_ = static_cast<int>(ops[1].number);
    vStep_ = static_cast<int>(ops[3].number);
  } else if (name == "LightSource" || name == "AreaLightSource") {
    lights_.insert(static_cast<RtInt>(ops[1].number));
  } else if (name == "Illuminate") {
    if (lights_.count(static_cast<RtInt>(ops[0].number)) == 0)
      return fail("light " + std::to_string(static_cast<RtInt>(ops[0].number)) + " is not defined");
  } else if (name == "ObjectBegin") {
    objects_.insert(static_cast<RtInt>(ops[0].number));
  } else if (name == "ObjectInstance") {
    if (objects_.count(static_cast<RtInt>(ops[0].number)) == 0)
      return fail("object " + std::to_string(static_cast<RtInt>(ops[0].number)) +
                  " is not defined");
  } else if (name == "ErrorHandler") {
    const std::string &handler = ops[0].string;
    if (handler != "ignore" && handler != "print" && handler != "abort")
      return fail("unknown error handler \"" + handler + "\"");
  } else if (name == "ColorSamples") {
    if (sizeOf(ops[0]) != sizeOf(ops[1]) || sizeOf(ops[0]) % 3 != 0)
      return fail("the two matrices need 3 values per sample each");
  } else if (name == "Procedural") {
    const std::string &kind = ops[0].string;
    const int64_t strings = kind == "DelayedReadArchive"                   ? 1
                            : kind == "RunProgram" || kind == "DynamicLoad" ? 2
                                                                            : -1;
    if (strings < 0) return fail("unknown procedural \"" + kind + "\"");
    if (sizeOf(ops[1]) != strings) return fail(expectSize("the data", strings, sizeOf(ops[1])));
    if (sizeOf(ops[2]) != 6) return fail(expectSize("the bound", 6, sizeOf(ops[2])));
  } else if (name == "TrimCurve") {
    if (anyNegative(ops[0]) || anyNegative(ops[5])) return fail("negative counts");
    const int64_t curves = sumOf(ops[0]);
    for (int i : {1, 3, 4, 5})
      if (sizeOf(ops[i]) != curves) return fail(expectSize("a per-curve array", curves, sizeOf(ops[i])));
    const int64_t points = sumOf(ops[5]);
    if (sizeOf(ops[2]) != sumOf(ops[1]) + points)
      return fail(expectSize("the knot vector", sumOf(ops[1]) + points, sizeOf(ops[2])));
    for (int i : {6, 7, 8})
      if (sizeOf(ops[i]) != points) return fail(expectSize("a control-point array", points, sizeOf(ops[i])));
  } else if (name == "NuPatch") {
    const int64_t uKnots = static_cast<int64_t>(ops[0].number) + static_cast<int64_t>(ops[1].number);
    const int64_t vKnots = static_cast<int64_t>(ops[5].number) + static_cast<int64_t>(ops[6].number);
    if (sizeOf(ops[2]) != uKnots) return fail(expectSize("the u knot vector", uKnots, sizeOf(ops[2])));
    if (sizeOf(ops[7]) != vKnots) return fail(expectSize("the v knot vector", vKnots, sizeOf(ops[7])));
  }
  return checkParameters(shape, request);
}

bool RibParser::checkParameters(const RequestShape &shape, const RibRequest &request) {
  const std::vector<RibValue> &ops = request.operands;
  auto fail = [&](const std::string &message) {
    report(request.line, request.name + ": " + message);
    return false;
  };
  PrimitiveCounts counts;
  switch (shape.counts) {
    case CountRule::kNone:
      break;
    case CountRule::kQuadric:
      counts = quadricCounts();
      break;
    case CountRule::kPolygon:
    case CountRule::kPoints: {
      const int64_t vertices = positionVertexCount(request);
      if (vertices < 0) return fail("needs \"P\" values");
      counts = polygonCounts(vertices);
      break;
    }
    case CountRule::kGeneralPolygon:
      if (anyNegative(ops[0])) return fail("negative vertex counts");
      counts = generalPolygonCounts(static_cast<RtInt>(ops[0].size()), intsOf(ops[0]));
      break;
    case CountRule::kPointsPolygons:
      if (anyNegative(ops[0]) || anyNegative(ops[1])) return fail("negative counts or indices");
      if (sizeOf(ops[1]) != sumOf(ops[0]))
        return fail(expectSize("the vertex index array", sumOf(ops[0]), sizeOf(ops[1])));
      counts = pointsPolygonsCounts(static_cast<RtInt>(ops[0].size()), intsOf(ops[0]), intsOf(ops[1]));
      break;
    case CountRule::kPointsGeneralPolygons:
      if (anyNegative(ops[0]) || anyNegative(ops[1]) || anyNegative(ops[2]))
        return fail("negative counts or indices");
      if (sizeOf(ops[1]) != sumOf(ops[0]))
        return fail(expectSize("the vertex count array", sumOf(ops[0]), sizeOf(ops[1])));
      if (sizeOf(ops[2]) != sumOf(ops[1]))
        return fail(expectSize("the vertex index array", sumOf(ops[1]), sizeOf(ops[2])));
      counts = pointsGeneralPolygonsCounts(static_cast<RtInt>(ops[0].size()), intsOf(ops[0]),
                                           intsOf(ops[1]), intsOf(ops[2]));
      break;
    case CountRule::kPatch:
      counts = patchCounts(ops[0].string == "bilinear");
      break;
    case CountRule::kPatchMesh: {
      const std::string &type = ops[0].string;
      if (type != "bilinear" && type != "bicubic") return fail("unknown patch type \"" + type + "\"");
      bool stepUsable = true;
      counts = patchMeshCounts(type == "bicubic", static_cast<RtInt>(ops[1].number),
                               ops[2].string == "periodic", static_cast<RtInt>(ops[3].number),
                               ops[4].string == "periodic", uStep_, vStep_, &stepUsable);
      if (!stepUsable) return fail("the basis steps must be positive");
      break;
    }
    case CountRule::kNuPatch:
      counts = nuPatchCounts(static_cast<RtInt>(ops[0].number), static_cast<RtInt>(ops[1].number),
                             static_cast<RtInt>(ops[5].number), static_cast<RtInt>(ops[6].number));
      break;
    case CountRule::kCurves: {
      if (anyNegative(ops[1])) return fail("negative vertex counts");
      bool stepUsable = true;
      counts = curvesCounts(ops[0].string == "cubic", ops[2].string == "periodic",
                            static_cast<RtInt>(ops[1].size()), intsOf(ops[1]), vStep_, &stepUsable);
      if (!stepUsable) return fail("the v step must be positive");
      break;
    }
    case CountRule::kSubdivisionMesh:
      if (anyNegative(ops[1]) || anyNegative(ops[2])) return fail("negative counts or indices");
      if (sizeOf(ops[2]) != sumOf(ops[1]))
        return fail(expectSize("the vertex index array", sumOf(ops[1]), sizeOf(ops[2])));
      counts = subdivisionMeshCounts(static_cast<RtInt>(ops[1].size()), intsOf(ops[1]),
                                     intsOf(ops[2]));
      break;
    case CountRule::kBlobby:
      counts = blobbyPrimitiveCounts(static_cast<RtInt>(ops[0].number));
      break;
  }
  const PrimitiveCounts *primitive = shape.counts == CountRule::kNone ? nullptr : &counts;
  for (const RibParameter &parameter : request.parameters) {
    const std::string token = quote(parameter.token);
    const Declaration *declaration = lookupDeclaration(parameter.token.c_str());
    if (declaration == nullptr) return fail("undeclared parameter " + token);
    if (const char *reason = unusableDeclarationReason(declaration->shape()))
      return fail("parameter " + token + " " + reason);
    const RibValue &value = parameter.value;
    const bool empty = value.kind == RibValue::kNumbers && value.floats.empty();
    if (declaration->type == kTypeString) {
      if (value.kind != RibValue::kStrings && !empty)
        return fail("parameter " + token + " needs strings");
    } else if (value.kind != RibValue::kNumbers) {
      return fail("parameter " + token + " needs numbers");
    } else if (declaration->type == kTypeInteger && !value.allIntegers) {
      return fail("parameter " + token + " needs integers");
    }
    const int64_t expected = parameterValueCount(declaration->shape(), primitive);
    if (sizeOf(value) != expected)
      return fail(expectSize(("parameter " + token).c_str(), expected, sizeOf(value)));
  }
  return true;
}

}  // namespace vellum
