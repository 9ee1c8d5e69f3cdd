// A request's parameter list, resolved through the context's
// declarations: each token's bare name, storage class, type and values.
#ifndef VELLUM_PREVIEW_CONTEXT_PARAMETERS_H
#define VELLUM_PREVIEW_CONTEXT_PARAMETERS_H

#include <cstdint>
#include <string>
#include <vector>

#include "common/param_counts.h"
#include "decl/declaration_dictionary.h"
#include "preview/math/vec_math.h"
#include "ri.h"

namespace vellum::preview {

struct Parameter {
  std::string name;  // bare
  int storageClass = kClassConstant;
  int type = kTypeNone;
  int64_t count = 0;       // values the count rules give it
  const void *values = nullptr;

  const float *floats() const { return static_cast<const float *>(values); }
  const char *const *strings() const { return static_cast<const char *const *>(values); }
};

class Parameters {
 public:
  // `counts` null: a list without primitive classes (a shader's).  Tokens
  // without a usable declaration are left out and named in `undeclared`.
  Parameters(DeclarationDictionary &dictionary, RtInt n, const RtToken tokens[], const RtPointer parms[],
             const PrimitiveCounts *counts);

  const std::vector<Parameter> &all() const { return list_; }  // in the order given
  const Parameter *find(const char *name) const;
  // A parameter of this name and type with values, or null.
  const Parameter *findFloats(const char *name, int type) const;

  float floatOr(const char *name, float fallback) const;
  Vec3 tripleOr(const char *name, int type, Vec3 fallback) const;  // color, point, vector

  // Positions, 3 floats per vertex: "P" as given, or "Pw" divided by w
  // (into `scratch`).  Null without either.
  const float *positions(std::vector<float> &scratch) const;

  const std::vector<std::string> &undeclared() const { return undeclared_; }

 private:
  std::vector<Parameter> list_;
  std::vector<std::string> undeclared_;
};

}  // namespace vellum::preview

#endif
