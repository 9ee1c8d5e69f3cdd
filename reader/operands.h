// Small readings of operands that the reader's count rules, checks and
// replays share.
#ifndef VELLUM_READER_OPERANDS_H
#define VELLUM_READER_OPERANDS_H

#include <cstdint>
#include <string>

#include "common/primitive_counts.h"
#include "reader/rib_request.h"

namespace vellum {

inline int64_t sizeOf(const RibValue &value) { return static_cast<int64_t>(value.size()); }
inline int64_t sumOf(const RibValue &value) { return vellum::sumOf(value.ints.data(), sizeOf(value)); }
inline int64_t sumOfEvery(const RibValue &value, int64_t stride, int64_t first) {
  int64_t sum = 0;
  for (size_t i = static_cast<size_t>(first); i < value.ints.size(); i += static_cast<size_t>(stride))
    sum += value.ints[i];
  return sum;
}

inline bool anyNegative(const RibValue &value) {
  for (RtInt v : value.ints)
    if (v < 0) return true;
  return false;
}

inline std::string quote(const std::string &text) { return "\"" + text + "\""; }

inline std::string expectSize(const std::string &what, int64_t expected, int64_t actual) {
  return what + " has " + std::to_string(actual) + " values where " + std::to_string(expected) +
         " are expected";
}

// A handle as the stream gives it: a number, or a quoted string.
inline std::string handleKey(const RibValue &value) {
  return value.kind == RibValue::kString ? quote(value.string)
                                         : std::to_string(static_cast<RtInt>(value.number));
}

inline bool is(const RibValue &value, const char *text) { return value.string == text; }

}  // namespace vellum

#endif
