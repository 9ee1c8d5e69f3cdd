// The count rules of the primitives as the reader applies them to a
// request's operands, named as the request list names them.
#include "reader/count_rules.h"

#include "common/param_counts.h"
#include "reader/operands.h"

namespace vellum::counts {

namespace {

// Faces given as vertex counts and one index array listing every corner.
bool indexedFaces(RequestChecker &checker, const RibValue &nverts, const RibValue &verts) {
  if (anyNegative(nverts) || anyNegative(verts)) {
    checker.fail("negative vertex counts or indices");
    return false;
  }
  if (sizeOf(verts) != sumOf(nverts)) {
    checker.fail(expectSize("the vertex index array", sumOf(nverts), sizeOf(verts)));
    return false;
  }
  return true;
}

// Whether `n` control points along a direction make whole patches.
bool fitsPatches(bool bicubic, bool periodic, int64_t n, int64_t step) {
  if (!bicubic) return n >= (periodic ? 1 : 2);
  if (periodic) return n >= step && n % step == 0;
  return n >= 4 && (n - 4) % step == 0;
}

}  // namespace

bool Quadric(RequestChecker &, const RibRequest &, PrimitiveCounts *counts) {
  *counts = quadricCounts();
  return true;
}

// A polygon or a point cloud has as many vertices as its positions give.
bool Positions(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
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

bool GeneralPolygon(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[0];
  if (anyNegative(nverts)) {
    checker.fail("negative vertex counts");
    return false;
  }
  *counts = generalPolygonCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data());
  return true;
}

bool PointsPolygons(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[0], &verts = request.operands[1];
  if (!indexedFaces(checker, nverts, verts)) return false;
  *counts = pointsPolygonsCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                                 verts.ints.data());
  return true;
}

bool PointsGeneralPolygons(RequestChecker &checker, const RibRequest &request,
                           PrimitiveCounts *counts) {
  const RibValue &nloops = request.operands[0], &nverts = request.operands[1],
                 &verts = request.operands[2];
  if (anyNegative(nloops) || anyNegative(nverts) || anyNegative(verts)) {
    checker.fail("negative counts or indices");
    return false;
  }
  if (sizeOf(nverts) != sumOf(nloops)) {
    checker.fail(expectSize("the vertex count array", sumOf(nloops), sizeOf(nverts)));
    return false;
  }
  if (sizeOf(verts) != sumOf(nverts)) {
    checker.fail(expectSize("the vertex index array", sumOf(nverts), sizeOf(verts)));
    return false;
  }
  *counts = pointsGeneralPolygonsCounts(static_cast<RtInt>(nloops.size()), nloops.ints.data(),
                                        nverts.ints.data(), verts.ints.data());
  return true;
}

bool Patch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &type = request.operands[0];
  if (!is(type, "bilinear") && !is(type, "bicubic")) {
    checker.fail("unknown patch type " + quote(type.string));
    return false;
  }
  *counts = patchCounts(is(type, "bilinear"));
  return true;
}

bool PatchMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RibValue &type = ops[0];
  if (!is(type, "bilinear") && !is(type, "bicubic")) {
    checker.fail("unknown patch type " + quote(type.string));
    return false;
  }
  const bool bicubic = is(type, "bicubic");
  const StreamState &state = checker.state;
  if (bicubic && (state.uStep < 1 || state.vStep < 1)) {
    checker.fail("the basis steps must be positive");
    return false;
  }
  const RtInt nu = static_cast<RtInt>(ops[1].number), nv = static_cast<RtInt>(ops[3].number);
  if (!fitsPatches(bicubic, is(ops[2], "periodic"), nu, state.uStep) ||
      !fitsPatches(bicubic, is(ops[4], "periodic"), nv, state.vStep)) {
    checker.fail("a " + type.string + " mesh of " + std::to_string(nu) + " by " + std::to_string(nv) +
                 " points does not make whole patches with steps " + std::to_string(state.uStep) +
                 " and " + std::to_string(state.vStep));
    return false;
  }
  bool stepUsable = true;
  *counts = patchMeshCounts(bicubic, nu, is(ops[2], "periodic"), nv, is(ops[4], "periodic"),
                            state.uStep, state.vStep, &stepUsable);
  return true;
}

bool NuPatch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const int64_t nu = static_cast<RtInt>(ops[0].number), uorder = static_cast<RtInt>(ops[1].number);
  const int64_t nv = static_cast<RtInt>(ops[5].number), vorder = static_cast<RtInt>(ops[6].number);
  if (uorder < 1 || vorder < 1) {
    checker.fail("the orders must be at least 1");
    return false;
  }
  if (nu < uorder || nv < vorder) {
    checker.fail("each direction needs at least as many points as its order");
    return false;
  }
  if (sizeOf(ops[2]) != nu + uorder) {
    checker.fail(expectSize("the u knot vector", nu + uorder, sizeOf(ops[2])));
    return false;
  }
  if (sizeOf(ops[7]) != nv + vorder) {
    checker.fail(expectSize("the v knot vector", nv + vorder, sizeOf(ops[7])));
    return false;
  }
  *counts = nuPatchCounts(static_cast<RtInt>(nu), static_cast<RtInt>(uorder),
                          static_cast<RtInt>(nv), static_cast<RtInt>(vorder));
  return true;
}

bool Curves(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RibValue &type = ops[0], &nverts = ops[1];
  if (!is(type, "linear") && !is(type, "cubic")) {
    checker.fail("unknown curve type " + quote(type.string));
    return false;
  }
  if (anyNegative(nverts)) {
    checker.fail("negative vertex counts");
    return false;
  }
  const bool cubic = is(type, "cubic"), periodic = is(ops[2], "periodic");
  const RtInt step = checker.state.vStep;
  if (cubic && step < 1) {
    checker.fail("the v step must be positive");
    return false;
  }
  for (RtInt n : nverts.ints) {
    const bool whole = !cubic ? n >= 2 : periodic ? n >= step && n % step == 0
                                                  : n >= 4 && (n - 4) % step == 0;
    if (!whole) {
      checker.fail("a " + type.string + " curve of " + std::to_string(n) +
                   " vertices does not make whole segments with step " + std::to_string(step));
      return false;
    }
  }
  bool stepUsable = true;
  *counts = curvesCounts(cubic, periodic, static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                         step, &stepUsable);
  return true;
}

bool SubdivisionMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &nverts = request.operands[1], &verts = request.operands[2];
  if (!indexedFaces(checker, nverts, verts)) return false;
  *counts = subdivisionMeshCounts(static_cast<RtInt>(nverts.size()), nverts.ints.data(),
                                  verts.ints.data());
  return true;
}

// Renderers know more blob operations than the standard's, so a code array
// that does not add up to the counts given is a warning, not an error.
bool Blobby(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const std::vector<RibValue> &ops = request.operands;
  const RtInt nleaf = static_cast<RtInt>(ops[0].number);
  if (nleaf < 0) {
    checker.fail("a negative number of leaves");
    return false;
  }
  const BlobbyCounts walked = blobbyCounts(ops[1].ints.data(), static_cast<RtInt>(ops[1].size()));
  if (walked.leaves != nleaf || walked.floats != sizeOf(ops[2]) || walked.strings != sizeOf(ops[3]))
    checker.warn("the code array asks for " + std::to_string(walked.leaves) + " leaves, " +
                 std::to_string(walked.floats) + " floats and " + std::to_string(walked.strings) +
                 " strings, not " + std::to_string(nleaf) + ", " + std::to_string(sizeOf(ops[2])) +
                 " and " + std::to_string(sizeOf(ops[3])));
  *counts = blobbyPrimitiveCounts(nleaf);
  return true;
}

bool OneOfEach(RequestChecker &, const RibRequest &, PrimitiveCounts *counts) {
  *counts = oneOfEachCounts();
  return true;
}

// A bound of six numbers and three dimensions, none negative.
bool Volume(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts) {
  const RibValue &bound = request.operands[1], &dimensions = request.operands[2];
  if (sizeOf(bound) != 6) {
    checker.fail(expectSize("the bound", 6, sizeOf(bound)));
    return false;
  }
  if (sizeOf(dimensions) != 3) {
    checker.fail(expectSize("the dimension array", 3, sizeOf(dimensions)));
    return false;
  }
  if (anyNegative(dimensions)) {
    checker.fail("negative dimensions");
    return false;
  }
  *counts = volumeCounts(dimensions.ints.data());
  return true;
}

}  // namespace vellum::counts
