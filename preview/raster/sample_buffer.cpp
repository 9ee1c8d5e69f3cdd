#include "preview/raster/sample_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "preview/raster/solid_fragments.h"

namespace vellum::preview {

namespace {

constexpr int kSubBits = 8;  // fixed-point fraction of a sample step
constexpr int64_t kOne = int64_t(1) << kSubBits;

int64_t toFixed(float v) { return int64_t(std::lrint(double(v) * kOne)); }

// An attribute's plane over the grid: value = base + dx·x + dy·y.
struct Plane {
  float base, dx, dy;
  float at(float x, float y) const { return base + dx * x + dy * y; }
};

// The plane through values f0, f1, f2 at the corners v0, v1, v2.
Plane planeThrough(const GridVertex &v0, const GridVertex &v1, const GridVertex &v2, float inverseArea, float f0,
                   float f1, float f2) {
  const float e1x = v1.x - v0.x, e1y = v1.y - v0.y, e2x = v2.x - v0.x, e2y = v2.y - v0.y;
  const float d1 = f1 - f0, d2 = f2 - f0;
  const float dx = (d1 * e2y - d2 * e1y) * inverseArea;
  const float dy = (d2 * e1x - d1 * e2x) * inverseArea;
  return {f0 - dx * v0.x - dy * v0.y, dx, dy};
}

}  // namespace

void SampleBuffer::reset(int width, int height, int sx, int sy) {
  width_ = width, height_ = height, sx_ = sx, sy_ = sy;
  gw_ = width * sx;
  gh_ = height * sy;
  const size_t count = size_t(gw_) * size_t(gh_);
  depth_.assign(count, std::numeric_limits<float>::infinity());
  color_.assign(count, Sample{0, 0, 0, 0});
}

void SampleBuffer::drawTriangle(const GridVertex &a, const GridVertex &b, const GridVertex &c) {
  if (fragments_ != nullptr) rasterize<true>(a, b, c);
  else rasterize<false>(a, b, c);
}

template <bool kCollect>
void SampleBuffer::rasterize(const GridVertex &a, const GridVertex &b0, const GridVertex &c0) {
  constexpr float kFar = 1 << 22;  // well past any guard band
  for (const GridVertex *v : {&a, &b0, &c0})
    if (!(std::fabs(v->x) < kFar && std::fabs(v->y) < kFar)) return;
  int64_t x0 = toFixed(a.x), y0 = toFixed(a.y);
  int64_t x1 = toFixed(b0.x), y1 = toFixed(b0.y);
  int64_t x2 = toFixed(c0.x), y2 = toFixed(c0.y);
  int64_t area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
  if (area == 0) return;
  const bool positive = area > 0;
  const GridVertex *b = &b0, *c = &c0;
  if (area < 0) {
    std::swap(b, c);
    std::swap(x1, x2);
    std::swap(y1, y2);
    area = -area;
  }
  // Samples sit at cell centres: sample i covers x in [i, i+1).
  const int minX = std::max<int64_t>(0, (std::min({x0, x1, x2}) - kOne / 2 + kOne - 1) >> kSubBits);
  const int maxX = std::min<int64_t>(gw_ - 1, (std::max({x0, x1, x2}) - kOne / 2) >> kSubBits);
  const int minY = std::max<int64_t>(0, (std::min({y0, y1, y2}) - kOne / 2 + kOne - 1) >> kSubBits);
  const int maxY = std::min<int64_t>(gh_ - 1, (std::max({y0, y1, y2}) - kOne / 2) >> kSubBits);
  if (minX > maxX || minY > maxY) return;
  // The loop below walks every row of the box and at most its width in
  // each: the box is what the triangle costs.
  if (meter_ != nullptr &&
      !meter_->charge(WorkMeter::kSamples, uint64_t(maxX - minX + 1) * uint64_t(maxY - minY + 1)))
    return;

  // Edge functions, >= 0 inside; the fill rule gives a shared edge's
  // samples to exactly one of its two triangles.
  struct Edge {
    int64_t stepX, stepY, row;
  };
  auto makeEdge = [&](int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    const int64_t dx = bx - ax, dy = by - ay;
    const bool owns = dy < 0 || (dy == 0 && dx > 0);
    const int64_t px = (int64_t(minX) << kSubBits) + kOne / 2, py = (int64_t(minY) << kSubBits) + kOne / 2;
    return Edge{-dy * kOne, dx * kOne, dx * (py - ay) - dy * (px - ax) - (owns ? 0 : 1)};
  };
  Edge e0 = makeEdge(x0, y0, x1, y1), e1 = makeEdge(x1, y1, x2, y2), e2 = makeEdge(x2, y2, x0, y0);

  const float inverseArea = 1.0f / ((b->x - a.x) * (c->y - a.y) - (b->y - a.y) * (c->x - a.x));
  if (!std::isfinite(inverseArea)) return;
  const Plane depth = planeThrough(a, *b, *c, inverseArea, a.depth, b->depth, c->depth);
  // In perspective, colour·(1/W) and 1/W are affine on the grid, colour
  // itself is not: a sample's colour is the one over the other.
  const bool projective = !(a.w == b->w && a.w == c->w);
  auto attribute = [&](auto value) {
    const float wa = projective ? a.w : 1, wb = projective ? b->w : 1, wc = projective ? c->w : 1;
    return planeThrough(a, *b, *c, inverseArea, value(a) * wa, value(*b) * wb, value(*c) * wc);
  };
  const Plane red = attribute([](const GridVertex &v) { return v.r; });
  const Plane green = attribute([](const GridVertex &v) { return v.g; });
  const Plane blue = attribute([](const GridVertex &v) { return v.b; });
  const Plane w = projective ? planeThrough(a, *b, *c, inverseArea, a.w, b->w, c->w) : Plane{1, 0, 0};
  bool opaque = true;
  for (const GridVertex *v : {&a, b, c})
    opaque = opaque && std::min({v->opacity[0], v->opacity[1], v->opacity[2]}) >= 0.999f;
  Plane alpha{1, 0, 0}, opacity[3] = {};
  if (!opaque) {
    alpha = attribute([](const GridVertex &v) { return (v.opacity[0] + v.opacity[1] + v.opacity[2]) / 3; });
    opacity[0] = attribute([](const GridVertex &v) { return v.opacity[0]; });
    opacity[1] = attribute([](const GridVertex &v) { return v.opacity[1]; });
    opacity[2] = attribute([](const GridVertex &v) { return v.opacity[2]; });
  }

  // Each row's covered run is found from the edge functions directly, so
  // long thin triangles cost their samples, not their bounding boxes.
  auto narrow = [](const Edge &e, int64_t &lo, int64_t &hi) {
    if (e.stepX > 0) {
      // row + k·step >= 0  <=>  k >= ceil(-row / step)
      if (e.row < 0) lo = std::max(lo, (-e.row + e.stepX - 1) / e.stepX);
    } else if (e.stepX < 0) {
      if (e.row < 0) hi = -1;
      else hi = std::min(hi, e.row / -e.stepX);
    } else if (e.row < 0) {
      hi = -1;
    }
  };
  const int64_t width = maxX - minX;
  for (int y = minY; y <= maxY; ++y) {
    int64_t lo = 0, hi = width;
    narrow(e0, lo, hi);
    narrow(e1, lo, hi);
    narrow(e2, lo, hi);
    e0.row += e0.stepY;
    e1.row += e1.stepY;
    e2.row += e2.stepY;
    if (lo > hi) continue;
    const float fy = y + 0.5f;
    const size_t rowStart = size_t(y) * size_t(gw_) + size_t(minX);
    const float depthRow = depth.base + depth.dy * fy;
    for (int64_t k = lo; k <= hi; ++k) {
      const size_t i = rowStart + size_t(k);
      const float fx = float(minX + k) + 0.5f;
      const float z = depthRow + depth.dx * fx;
      if constexpr (kCollect) {
        const float q = projective ? 1 / w.at(fx, fy) : 1;
        const float color[3] = {red.at(fx, fy) * q, green.at(fx, fy) * q, blue.at(fx, fy) * q};
        float through[3] = {1, 1, 1};
        if (!opaque)
          for (int channel = 0; channel < 3; ++channel) through[channel] = opacity[channel].at(fx, fy) * q;
        fragments_->add(i, z, positive, opaque, color, through);
        continue;
      }
      if (!(z < depth_[i])) continue;
      const float q = projective ? 1 / w.at(fx, fy) : 1;
      const Sample s{red.at(fx, fy) * q, green.at(fx, fy) * q, blue.at(fx, fy) * q, opaque ? 1 : alpha.at(fx, fy) * q};
      if (opaque) {
        depth_[i] = z;
        color_[i] = s;
      } else {
        auto keep = [&](const Plane &o) { return 1 - std::clamp(o.at(fx, fy) * q, 0.0f, 1.0f); };
        Sample &old = color_[i];
        old = {s.r + keep(opacity[0]) * old.r, s.g + keep(opacity[1]) * old.g, s.b + keep(opacity[2]) * old.b,
               s.a + (1 - std::clamp(s.a, 0.0f, 1.0f)) * old.a};
      }
    }
  }
}

void SampleBuffer::drawSample(size_t i, float z, const float color[3], const float opacity[3], bool opaque) {
  if (i >= depth_.size() || !(z < depth_[i])) return;
  if (opaque) {
    depth_[i] = z;
    color_[i] = {color[0], color[1], color[2], 1};
    return;
  }
  auto keep = [](float o) { return 1 - std::clamp(o, 0.0f, 1.0f); };
  const float a = (opacity[0] + opacity[1] + opacity[2]) / 3;
  Sample &old = color_[i];
  old = {color[0] + keep(opacity[0]) * old.r, color[1] + keep(opacity[1]) * old.g, color[2] + keep(opacity[2]) * old.b,
         a + keep(a) * old.a};
}

void SampleBuffer::pixelSum(int px, int py, float sum[4]) const {
  float r = 0, g = 0, b = 0, a = 0;
  for (int j = 0; j < sy_; ++j) {
    const Sample *row = &color_[size_t(py * sy_ + j) * size_t(gw_) + size_t(px) * sx_];
    for (int i = 0; i < sx_; ++i) r += row[i].r, g += row[i].g, b += row[i].b, a += row[i].a;
  }
  sum[0] = r, sum[1] = g, sum[2] = b, sum[3] = a;
}

}  // namespace vellum::preview
