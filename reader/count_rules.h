// The count rules of the primitives as the reader applies them: each gives
// a primitive's vertex, varying, uniform and facevarying counts from its
// operands (and, for polygons and points, its positions), or reports why
// there are none and returns false.  The checks have made every wrap mode
// "periodic" or "nonperiodic".  The request list names a rule for
// each primitive (NoCounts: the parameter list ignores storage classes).
#ifndef VELLUM_READER_COUNT_RULES_H
#define VELLUM_READER_COUNT_RULES_H

#include <cstddef>

#include "common/primitive_counts.h"
#include "reader/request_checker.h"
#include "reader/rib_request.h"

namespace vellum::counts {

constexpr std::nullptr_t NoCounts = nullptr;
bool Quadric(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool Positions(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool GeneralPolygon(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool PointsPolygons(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool PointsGeneralPolygons(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool Patch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool PatchMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool NuPatch(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool Curves(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool SubdivisionMesh(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool Blobby(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool OneOfEach(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);
bool Volume(RequestChecker &checker, const RibRequest &request, PrimitiveCounts *counts);

}  // namespace vellum::counts

#endif
