// "Cs" and "Os" as a primitive's parameter list gives them: their storage
// class and values.
#ifndef VELLUM_PREVIEW_CONTEXT_PRIMITIVE_COLORS_H
#define VELLUM_PREVIEW_CONTEXT_PRIMITIVE_COLORS_H

#include "preview/context/parameters.h"
#include "preview/surfaces/primitive_colors.h"

namespace vellum::preview {

inline ColorParam colorParam(const Parameters &parameters, const char *name) {
  const Parameter *p = parameters.findFloats(name, kTypeColor);
  if (p == nullptr) return {};
  return {p->storageClass, p->floats(), p->count / 3};
}

}  // namespace vellum::preview

#endif
