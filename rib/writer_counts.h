// The count rules, over a request's C arguments, of the primitives whose
// text the writer makes generically; each is named as the request list
// names it.  (The primitives written by their own methods apply their
// rules there.)
#ifndef VELLUM_RIB_WRITER_COUNTS_H
#define VELLUM_RIB_WRITER_COUNTS_H

#include <cstring>
#include <optional>

#include "common/primitive_counts.h"
#include "ri.h"

namespace vellum::writerCounts {

// No storage classes: a list of constant values.
template <typename... Operands>
std::optional<PrimitiveCounts> NoCounts(const Operands &...) {
  return std::nullopt;
}

template <typename... Operands>
std::optional<PrimitiveCounts> Quadric(const Operands &...) {
  return quadricCounts();
}

template <typename... Operands>
std::optional<PrimitiveCounts> OneOfEach(const Operands &...) {
  return oneOfEachCounts();
}

// Every type but "bilinear" counts as bicubic.
inline std::optional<PrimitiveCounts> Patch(RtToken type) {
  return patchCounts(type != nullptr && std::strcmp(type, "bilinear") == 0);
}

}  // namespace vellum::writerCounts

#endif
