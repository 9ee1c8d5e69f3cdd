#include "common/param_counts.h"

#include <algorithm>

namespace vellum {

int valuesPerElement(int type) {
  switch (type) {
    case kTypeFloat:
    case kTypeInteger:
    case kTypeString: return 1;
    case kTypePoint:
    case kTypeColor:
    case kTypeVector:
    case kTypeNormal: return 3;
    case kTypeHPoint: return 4;
    case kTypeMatrix:
    case kTypeMPoint: return 16;  // an mpoint is stored as a matrix
    default: return 0;
  }
}

const char *unusableDeclarationReason(const ValueShape &shape) {
  if (valuesPerElement(shape.type) == 0) return "has no recognised type";
  if (shape.arrayLength < 0) return "has an array length outside 0 to 32767";
  return nullptr;
}

bool isPositionName(const char *bareName) {
  return bareName != nullptr && bareName[0] == 'P' &&
         (bareName[1] == '\0' || ((bareName[1] == 'w' || bareName[1] == 'z') && bareName[2] == '\0'));
}

int64_t parameterValueCount(const ValueShape &shape, const PrimitiveCounts *counts) {
  int64_t elements = 1;
  if (counts != nullptr) {
    switch (shape.storageClass) {
      case kClassVertex: elements = counts->vertex; break;
      case kClassVarying: elements = counts->varying; break;
      case kClassUniform: elements = counts->uniform; break;
      case kClassFaceVarying: elements = counts->faceVarying; break;
      default: break;
    }
  }
  const int64_t perElement = int64_t{shape.arrayLength} * valuesPerElement(shape.type);
  if (elements <= 0 || perElement <= 0) return 0;
  if (elements > (kMostValues + 1) / perElement) return kMostValues + 1;
  return std::min(elements * perElement, kMostValues + 1);
}

bool tooManyValues(const PrimitiveCounts &counts) {
  return std::max({counts.vertex, counts.varying, counts.uniform, counts.faceVarying}) > kMostValues;
}

}  // namespace vellum
