// "Cs" or "Os" of a primitive as its tessellation takes it: the storage
// class the values were given in, and the values.
#ifndef VELLUM_PREVIEW_SURFACES_PRIMITIVE_COLORS_H
#define VELLUM_PREVIEW_SURFACES_PRIMITIVE_COLORS_H

#include <cstdint>

#include "common/param_types.h"
#include "preview/math/vec_math.h"

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

}  // namespace vellum::preview

#endif
