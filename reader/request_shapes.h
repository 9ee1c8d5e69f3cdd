// The requests the reader knows, with the shapes of their operands.
#ifndef VELLUM_READER_REQUEST_SHAPES_H
#define VELLUM_READER_REQUEST_SHAPES_H

#include <string>

namespace vellum {

// How a primitive's vertex, varying and uniform counts follow from its
// operands; kNone for requests whose lists ignore the storage class.
enum class CountRule {
  kNone,
  kQuadric,
  kPolygon,  // vertices from the "P" values
  kGeneralPolygon,
  kPointsPolygons,
  kPointsGeneralPolygons,
  kPatch,
  kPatchMesh,
  kNuPatch,
  kCurves,
  kPoints,  // points from the "P" values
  kSubdivisionMesh,
  kBlobby,
};

struct RequestShape {
  const char *name;
  // One letter per operand: i integer, f float, s string, I integer array,
  // F float array, S string array, B basis (a name or 16 floats), T the
  // optional tag arrays of a subdivision mesh.  Runs of i and f may also be
  // given as one array of numbers.
  const char *operands;
  bool parameters;  // a parameter list follows
  CountRule counts;
};

// The shape of a request keyword, or null for an unknown request.
const RequestShape *findRequestShape(const std::string &name);

}  // namespace vellum

#endif
