// One direction of a non-uniform rational B-spline: its knots, order and
// parameter range, shared by NuPatch and the trim curves.
#ifndef VELLUM_PREVIEW_SURFACES_KNOT_VECTOR_H
#define VELLUM_PREVIEW_SURFACES_KNOT_VECTOR_H

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vellum::preview {

constexpr int kMaxOrder = 16;

struct KnotVector {
  int n, order;
  const float *knots;
  float lo, hi;

  // Checks the knots and clamps the range into the part they define.
  bool usable() {
    if (order < 1 || order > kMaxOrder || n < order || knots == nullptr) return false;
    if (!std::isfinite(knots[0])) return false;
    for (int64_t i = 0; i + 1 < int64_t(n) + order; ++i)
      if (!(knots[i] <= knots[i + 1]) || !std::isfinite(knots[i + 1])) return false;
    const float first = knots[order - 1], last = knots[n];
    if (!(last > first)) return false;
    if (!std::isfinite(lo) || !std::isfinite(hi)) lo = first, hi = last;
    lo = std::clamp(lo, first, last);
    hi = std::clamp(hi, first, last);
    return hi > lo;
  }

  // The first control point that counts at t, and the `order` basis
  // function values there (Cox-de Boor, triangular form).
  int evaluate(float t, float *values) const {
    // The last span whose first knot is at or before t.
    const int span = std::clamp(int(std::upper_bound(knots + order, knots + n, t) - knots) - 1, order - 1, n - 1);
    float left[kMaxOrder + 1], right[kMaxOrder + 1];
    values[0] = 1;
    for (int j = 1; j < order; ++j) {
      left[j] = t - knots[span + 1 - j];
      right[j] = knots[span + j] - t;
      float saved = 0;
      for (int r = 0; r < j; ++r) {
        const float denominator = right[r + 1] + left[j - r];
        const float temp = denominator != 0 ? values[r] / denominator : 0;
        values[r] = saved + right[r + 1] * temp;
        saved = left[j - r] * temp;
      }
      values[j] = saved;
    }
    return span - order + 1;
  }
};

}  // namespace vellum::preview

#endif
