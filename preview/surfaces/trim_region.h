// The loops of a TrimCurve as closed polylines in a patch's (u, v)
// parameters, and which points they keep: those inside an odd number of
// loops (the even-odd rule, so a loop inside another cuts a hole).
#ifndef VELLUM_PREVIEW_SURFACES_TRIM_REGION_H
#define VELLUM_PREVIEW_SURFACES_TRIM_REGION_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vellum::preview {

// TrimCurve's arrays as given: per loop a curve count, per curve an order,
// a point count, a parameter range and order + n knots, per point u, v, w
// (u and v multiplied by w).
struct TrimCurveArrays {
  int nloops;
  const int *ncurves, *order;
  const float *knot, *min, *max;
  const int *n;
  const float *u, *v, *w;
};

class TrimRegion {
 public:
  // Bounds on what a TrimCurve may cost to follow.
  static constexpr int64_t kMaxCurves = 1 << 16;
  static constexpr int64_t kMaxControlPoints = 1 << 20;
  static constexpr int64_t kMaxPolylinePoints = 1 << 16;

  struct Built {
    std::shared_ptr<const TrimRegion> region;  // null: nothing trims
    std::string warningKind, warning;          // "" when all was followed
  };
  // Loops whose curves cannot be evaluated are left out, with a warning;
  // a TrimCurve whose counts make no sense or are too large, all of it.
  static Built build(const TrimCurveArrays &arrays);

  struct Edge {
    float u0, v0, u1, v1;
  };
  explicit TrimRegion(std::vector<Edge> edges);

  // Each adds the edges it looks at to `work`.
  bool inside(float u, float v, uint64_t &work) const;
  // Whether an edge may pass through the box (false only when none does).
  bool crosses(float u0, float v0, float u1, float v1, uint64_t &work) const;

 private:
  int rowOf(float v) const;

  std::vector<Edge> edges_;
  float uLow_ = 0, uHigh_ = 0, vLow_ = 0, vHigh_ = 0;
  // Edges binned by the rows of v they span, so that a test looks only at
  // those near it: row r holds rowEdges_[rowStart_[r] .. rowStart_[r+1]).
  int rows_ = 1;
  double rowScale_ = 0;
  std::vector<uint32_t> rowStart_, rowEdges_;
};

}  // namespace vellum::preview

#endif
