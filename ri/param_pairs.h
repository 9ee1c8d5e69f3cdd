// Collecting the (token, value) pairs of a varargs call into counted arrays.
#ifndef VELLUM_RI_PARAM_PAIRS_H
#define VELLUM_RI_PARAM_PAIRS_H

#include <cstdarg>
#include <vector>

#include "ri.h"

namespace vellum {

// A call uses at most this many pairs; further ones are not read.
constexpr int kMaxParamPairs = 512;

// The pairs of one call, in arrays local to that call: a context must not
// keep the array pointers after the operation returns.
struct ParamPairs {
  RtInt n = 0;
  RtToken tokens[kMaxParamPairs];
  RtPointer parms[kMaxParamPairs];

  // Reads tokens and value pointers until a null token (not counted) or
  // until 512 pairs are stored, after which nothing more is read.
  void collect(va_list args);
};

// The times of a varargs motion block.  Each arrives promoted to double.
// Up to 100 times live in the object itself; more are read onto the heap,
// so no count can overflow the local array.
class MotionTimes {
 public:
  static constexpr int kLocalTimes = 100;
  MotionTimes(RtInt n, va_list args);
  RtFloat *data() { return times_; }

 private:
  RtFloat local_[kLocalTimes];
  std::vector<RtFloat> heap_;
  RtFloat *times_ = local_;
};

}  // namespace vellum

// Declares `pairs` and fills it from the variadic arguments after `last`.
#define VELLUM_COLLECT_PAIRS(pairs, last) \
  ::vellum::ParamPairs pairs;             \
  do {                                    \
    va_list pairArgs_;                    \
    va_start(pairArgs_, last);            \
    pairs.collect(pairArgs_);             \
    va_end(pairArgs_);                    \
  } while (0)

#endif
