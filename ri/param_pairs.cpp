#include "ri/param_pairs.h"

#include <cstddef>

namespace vellum {

void ParamPairs::collect(va_list args) {
  n = 0;
  while (n < kMaxParamPairs) {
    RtToken token = va_arg(args, RtToken);
    tokens[n] = token;
    if (token == RI_NULL) return;
    parms[n] = va_arg(args, RtPointer);
    ++n;
  }
}

MotionTimes::MotionTimes(RtInt n, va_list args) {
  if (n > kLocalTimes) {
    heap_.resize(static_cast<std::size_t>(n));
    times_ = heap_.data();
  }
  for (RtInt i = 0; i < n; ++i) times_[i] = static_cast<RtFloat>(va_arg(args, double));
}

}  // namespace vellum
