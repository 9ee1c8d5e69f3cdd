// The type model of parameters: storage classes and base types, with the
// codes that declarations carry.
#ifndef VELLUM_COMMON_PARAM_TYPES_H
#define VELLUM_COMMON_PARAM_TYPES_H

namespace vellum {

enum StorageClass {
  kClassConstant = 1,
  kClassUniform = 2,
  kClassVarying = 3,
  kClassVertex = 4,
  kClassFaceVarying = 5,  // one value per vertex of each face
};

// No keyword yields the codes 10 to 15.
enum ParamType {
  kTypeNone = 0,
  kTypeFloat = 1,
  kTypePoint = 2,
  kTypeColor = 3,
  kTypeString = 4,
  kTypeInteger = 5,
  kTypeVector = 6,
  kTypeNormal = 7,
  kTypeHPoint = 8,
  kTypeMatrix = 9,
  kTypeMPoint = 16,
};

}  // namespace vellum

#endif
