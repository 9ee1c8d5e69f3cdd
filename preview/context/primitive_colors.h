// "Cs" and "Os" as a primitive's parameter list gives them: their storage
// class and values.
#ifndef VELLUM_PREVIEW_CONTEXT_PRIMITIVE_COLORS_H
#define VELLUM_PREVIEW_CONTEXT_PRIMITIVE_COLORS_H

#include <cstddef>

#include "preview/context/parameters.h"

namespace vellum::preview {

struct ColorParam {
  int storageClass = 0;  // 0: absent
  const float *values = nullptr;
  int64_t elements = 0;

  bool present() const { return values != nullptr && elements > 0; }
  // The element at `index`, or the last one when there are fewer.
  Vec3 at(int64_t index) const {
    const int64_t i = index < elements ? index : elements - 1;
    return {values[3 * i], values[3 * i + 1], values[3 * i + 2]};
  }
};

inline ColorParam colorParam(const Parameters &parameters, const char *name) {
  const Parameter *p = parameters.findFloats(name, kTypeColor);
  if (p == nullptr) return {};
  return {p->storageClass, p->floats(), p->count / 3};
}

}  // namespace vellum::preview

#endif
