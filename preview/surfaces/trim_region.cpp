#include "preview/surfaces/trim_region.h"

#include <algorithm>
#include <cmath>

#include "preview/surfaces/knot_vector.h"

namespace vellum::preview {

namespace {

// Points a span of a curved trim curve becomes, at most.
constexpr int64_t kSamplesPerSpan = 16;

// Calls f(t0, t1) for each span of the curve within its range.
template <class F>
void forEachSpan(const KnotVector &k, F f) {
  float start = k.lo;
  for (int i = k.order; i < k.n; ++i) {
    const float t = k.knots[i];
    if (t > start && t < k.hi) {
      f(start, t);
      start = t;
    }
  }
  f(start, k.hi);
}

struct Curve {
  KnotVector knots;
  const float *u, *v, *w;  // its control points

  bool pointsUsable() const {
    for (int i = 0; i < knots.n; ++i)
      if (!std::isfinite(u[i]) || !std::isfinite(v[i]) || !std::isfinite(w[i]) || w[i] == 0) return false;
    return true;
  }

  bool pointAt(float t, TrimRegion::Edge &to) const {
    float basis[kMaxOrder];
    const int first = knots.evaluate(t, basis);
    double hu = 0, hv = 0, hw = 0;
    for (int j = 0; j < knots.order; ++j) {
      hu += double(basis[j]) * u[first + j];
      hv += double(basis[j]) * v[first + j];
      hw += double(basis[j]) * w[first + j];
    }
    to.u1 = float(hu / hw);
    to.v1 = float(hv / hw);
    return hw != 0 && std::isfinite(to.u1) && std::isfinite(to.v1);
  }
};

}  // namespace

TrimRegion::Built TrimRegion::build(const TrimCurveArrays &a) {
  Built built;
  if (a.nloops <= 0) return built;
  auto ignored = [&built](const std::string &why) {
    built.warningKind = "trim curve";
    built.warning = "a TrimCurve " + why + " is ignored: NuPatches are drawn untrimmed";
    return built;
  };
  const std::string tooLarge = "with more than " + std::to_string(kMaxCurves) + " curves, " +
                               std::to_string(kMaxControlPoints) + " control points or " +
                               std::to_string(kMaxPolylinePoints) + " points to draw";
  if (a.ncurves == nullptr) return ignored("without curve counts");
  if (a.nloops > kMaxCurves) return ignored(tooLarge);
  int64_t curveCount = 0;
  for (int i = 0; i < a.nloops; ++i) {
    if (a.ncurves[i] < 0) return ignored("with negative counts");
    if ((curveCount += a.ncurves[i]) > kMaxCurves) return ignored(tooLarge);
  }
  if (curveCount == 0) return built;
  if (!a.order || !a.knot || !a.min || !a.max || !a.n || !a.u || !a.v || !a.w) return ignored("with missing arrays");
  int64_t points = 0;
  for (int64_t c = 0; c < curveCount; ++c) {
    if (a.n[c] < 0 || a.order[c] < 0) return ignored("with negative counts");
    if ((points += a.n[c]) > kMaxControlPoints) return ignored(tooLarge);
  }

  // Where each curve's values start, and whether it can be evaluated.
  std::vector<Curve> curves;
  std::vector<bool> usable;
  curves.reserve(size_t(curveCount));
  usable.reserve(size_t(curveCount));
  int64_t knotAt = 0, pointAt = 0;
  for (int64_t c = 0; c < curveCount; ++c) {
    Curve curve{{a.n[c], a.order[c], a.knot + knotAt, a.min[c], a.max[c]}, a.u + pointAt, a.v + pointAt,
                a.w + pointAt};
    // The points are read only for a curve whose order and knots are usable.
    usable.push_back(curve.knots.usable() && curve.pointsUsable());
    curves.push_back(curve);
    knotAt += int64_t(a.n[c]) + a.order[c];
    pointAt += a.n[c];
  }
  std::vector<bool> loopUsable(size_t(a.nloops), true);
  int64_t spans = 0;
  for (int i = 0, c = 0; i < a.nloops; c += a.ncurves[i++])
    for (int k = c; k < c + a.ncurves[i]; ++k) loopUsable[size_t(i)] = loopUsable[size_t(i)] && usable[size_t(k)];
  for (int i = 0, c = 0; i < a.nloops; c += a.ncurves[i++])
    if (loopUsable[size_t(i)])
      for (int k = c; k < c + a.ncurves[i]; ++k) forEachSpan(curves[size_t(k)].knots, [&spans](float, float) { ++spans; });
  if (spans + curveCount > kMaxPolylinePoints) return ignored(tooLarge);
  const int64_t samples = std::clamp((kMaxPolylinePoints - curveCount) / std::max<int64_t>(spans, 1), int64_t(1),
                                     kSamplesPerSpan);

  std::vector<Edge> edges;
  bool leftOut = false;
  for (int i = 0, c = 0; i < a.nloops; c += a.ncurves[i++]) {
    const size_t loopStart = edges.size();
    bool ok = loopUsable[size_t(i)];
    // Each curve goes on from where the last ended; the loop closes back
    // to its first point.
    for (int k = c; ok && k < c + a.ncurves[i]; ++k) {
      const Curve &curve = curves[size_t(k)];
      const int64_t pieces = curve.knots.order <= 2 ? 1 : samples;
      auto add = [&](float t) {
        Edge e{0, 0, 0, 0};
        ok = ok && curve.pointAt(t, e);
        if (edges.size() > loopStart) e.u0 = edges.back().u1, e.v0 = edges.back().v1;
        else e.u0 = e.u1, e.v0 = e.v1;
        edges.push_back(e);
      };
      forEachSpan(curve.knots, [&](float t0, float t1) {
        for (int64_t s = 0; s < pieces; ++s) add(t0 + (t1 - t0) * float(s) / float(pieces));
      });
      add(curve.knots.hi);
    }
    if (ok && edges.size() > loopStart) {
      edges[loopStart].u0 = edges.back().u1;
      edges[loopStart].v0 = edges.back().v1;
    } else {
      leftOut = leftOut || !ok;
      edges.resize(loopStart);
    }
  }
  if (leftOut) {
    built.warningKind = "trim loop";
    built.warning = "a TrimCurve loop with unusable orders, knots or points is left out";
  }
  if (!edges.empty()) built.region = std::make_shared<const TrimRegion>(std::move(edges));
  return built;
}

TrimRegion::TrimRegion(std::vector<Edge> edges) : edges_(std::move(edges)) {
  rowStart_.assign(2, 0);
  if (edges_.empty()) return;
  uLow_ = uHigh_ = edges_[0].u0;
  vLow_ = vHigh_ = edges_[0].v0;
  for (const Edge &e : edges_) {
    uLow_ = std::min({uLow_, e.u0, e.u1});
    uHigh_ = std::max({uHigh_, e.u0, e.u1});
    vLow_ = std::min({vLow_, e.v0, e.v1});
    vHigh_ = std::max({vHigh_, e.v0, e.v1});
  }
  // Long edges fill many rows: fewer rows keep the bins within a bound.
  const uint64_t bound = 16 * uint64_t(edges_.size()) + 65536;
  uint64_t entries = 0;
  for (rows_ = std::clamp(int(edges_.size() / 2), 1, 4096);; rows_ /= 2) {
    const double height = double(vHigh_) - vLow_;
    rowScale_ = height > 0 ? rows_ / height : 0;
    if (!(rowScale_ < 1e30)) rowScale_ = 0;  // a loop of no height
    entries = 0;
    for (const Edge &e : edges_) entries += uint64_t(rowOf(std::max(e.v0, e.v1)) - rowOf(std::min(e.v0, e.v1)) + 1);
    if (entries <= bound || rows_ == 1) break;
  }
  rowStart_.assign(size_t(rows_) + 1, 0);
  for (const Edge &e : edges_)
    for (int r = rowOf(std::min(e.v0, e.v1)); r <= rowOf(std::max(e.v0, e.v1)); ++r) ++rowStart_[size_t(r) + 1];
  for (int r = 0; r < rows_; ++r) rowStart_[size_t(r) + 1] += rowStart_[size_t(r)];
  rowEdges_.resize(entries);
  std::vector<uint32_t> fill(rowStart_.begin(), rowStart_.end() - 1);
  for (uint32_t k = 0; k < edges_.size(); ++k) {
    const Edge &e = edges_[k];
    for (int r = rowOf(std::min(e.v0, e.v1)); r <= rowOf(std::max(e.v0, e.v1)); ++r) rowEdges_[fill[size_t(r)]++] = k;
  }
}

int TrimRegion::rowOf(float v) const {
  const double row = (double(std::clamp(v, vLow_, vHigh_)) - vLow_) * rowScale_;
  return std::clamp(int(std::min(row, double(rows_))), 0, rows_ - 1);
}

bool TrimRegion::inside(float u, float v, uint64_t &work) const {
  if (!(v >= vLow_ && v <= vHigh_ && u <= uHigh_)) return false;
  const int r = rowOf(v);
  bool odd = false;
  // Crossings of a ray from the point toward +u.
  for (uint32_t k = rowStart_[size_t(r)]; k < rowStart_[size_t(r) + 1]; ++k) {
    const Edge &e = edges_[rowEdges_[k]];
    if ((e.v0 > v) == (e.v1 > v)) continue;
    const double x = e.u0 + (double(v) - e.v0) / (double(e.v1) - e.v0) * (double(e.u1) - e.u0);
    if (u < x) odd = !odd;
  }
  work += rowStart_[size_t(r) + 1] - rowStart_[size_t(r)];
  return odd;
}

bool TrimRegion::crosses(float u0, float v0, float u1, float v1, uint64_t &work) const {
  if (edges_.empty() || !(u1 >= uLow_ && u0 <= uHigh_ && v1 >= vLow_ && v0 <= vHigh_)) return false;
  for (int r = rowOf(v0), last = rowOf(v1); r <= last; ++r) {
    work += rowStart_[size_t(r) + 1] - rowStart_[size_t(r)];
    for (uint32_t k = rowStart_[size_t(r)]; k < rowStart_[size_t(r) + 1]; ++k) {
      const Edge &e = edges_[rowEdges_[k]];
      if (std::max(e.u0, e.u1) < u0 || std::min(e.u0, e.u1) > u1 || std::max(e.v0, e.v1) < v0 ||
          std::min(e.v0, e.v1) > v1)
        continue;
      // The box's corners all on one side of the edge's line: no crossing.
      const double du = double(e.u1) - e.u0, dv = double(e.v1) - e.v0;
      int below = 0, above = 0;
      for (float cu : {u0, u1})
        for (float cv : {v0, v1}) {
          const double side = du * (cv - e.v0) - dv * (cu - e.u0);
          below += side < 0;
          above += side > 0;
        }
      if (below < 4 && above < 4) return true;
    }
  }
  return false;
}

}  // namespace vellum::preview
