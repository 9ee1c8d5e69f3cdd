// How many values follow a parameter token: the rule that the parameter-list
// writer applies and that the RIB reader checks.
#ifndef VELLUM_COMMON_PARAM_COUNTS_H
#define VELLUM_COMMON_PARAM_COUNTS_H

#include <cstdint>

#include "common/param_types.h"
#include "common/primitive_counts.h"

namespace vellum {

// The most values one parameter of a request can hold: the interface counts
// them with an RtInt.  A count rule that gives more makes the request
// unusable ("too many values").
constexpr int64_t kMostValues = INT32_MAX;

// Values per element of a type: 1 for float, integer and string, 3 for
// point, color, vector and normal, 4 for hpoint, 16 for matrix and mpoint;
// 0 for a type without a value rule.
int valuesPerElement(int type);

// What a declaration says of a parameter's values.
struct ValueShape {
  int storageClass;
  int type;
  int arrayLength;  // negative: a length that could not be stored
};

// Why a declaration cannot be used for a parameter list ("has no recognised
// type", "has an array length outside 0 to 32767"), or null when it can.
const char *unusableDeclarationReason(const ValueShape &shape);

// The number of values of a parameter: array length × values per element,
// times, on a primitive (`counts` not null), the count its storage class
// selects (constant 1, uniform, varying, vertex or facevarying).  Negative
// results are 0; results past kMostValues are kMostValues + 1, so the
// product never overflows.
int64_t parameterValueCount(const ValueShape &shape, const PrimitiveCounts *counts);

// Whether a primitive's counts give any class more elements than a
// parameter can hold.
bool tooManyValues(const PrimitiveCounts &counts);

// True for "P", "Pw" and "Pz": a primitive's positions, one per vertex
// whatever class a declaration gives them, since that is how renderers
// read them.
bool isPositionName(const char *bareName);

}  // namespace vellum

#endif
