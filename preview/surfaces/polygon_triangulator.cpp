#include "preview/surfaces/polygon_triangulator.h"

#include <algorithm>
#include <cmath>

#include "preview/math/vec_math.h"

namespace vellum::preview {

namespace {

constexpr size_t kMaxEarClipped = 512;

struct Point2 {
  double x, y;
};

double cross2(Point2 o, Point2 a, Point2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

double signedArea(const std::vector<Point2> &pts, const std::vector<int32_t> &ring) {
  double area = 0;
  for (size_t i = 0; i < ring.size(); ++i) {
    const Point2 a = pts[ring[i]], b = pts[ring[(i + 1) % ring.size()]];
    area += a.x * b.y - b.x * a.y;
  }
  return area / 2;
}

bool inTriangle(Point2 p, Point2 a, Point2 b, Point2 c) {
  return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

// Joins `hole` (clockwise against a counter-clockwise outline) into
// `outline` through a bridge from the hole's rightmost vertex to an
// outline vertex that it can see.
void bridgeHole(const std::vector<Point2> &pts, std::vector<int32_t> &outline, const std::vector<int32_t> &hole) {
  size_t m = 0;
  for (size_t i = 1; i < hole.size(); ++i)
    if (pts[hole[i]].x > pts[hole[m]].x) m = i;
  const Point2 pm = pts[hole[m]];
  // The nearest outline edge that a ray toward +x meets.
  double bestX = INFINITY;
  size_t best = SIZE_MAX;
  for (size_t i = 0; i < outline.size(); ++i) {
    const Point2 a = pts[outline[i]], b = pts[outline[(i + 1) % outline.size()]];
    if ((a.y > pm.y) == (b.y > pm.y)) continue;
    const double x = a.x + (pm.y - a.y) / (b.y - a.y) * (b.x - a.x);
    if (x >= pm.x && x < bestX) {
      bestX = x;
      best = a.x > b.x ? i : (i + 1) % outline.size();
    }
  }
  if (best == SIZE_MAX) {
    best = 0;  // no edge to the right: any vertex will do for a preview
  } else {
    // A reflex vertex inside the triangle (M, hit, candidate) would block
    // the bridge; the one nearest in angle to the ray is visible.
    const Point2 hit{bestX, pm.y}, candidate = pts[outline[best]];
    double bestAngle = INFINITY;
    for (size_t i = 0; i < outline.size(); ++i) {
      const Point2 p = pts[outline[i]];
      if (i == best || p.x < pm.x) continue;
      const bool inside = cross2(pm, hit, candidate) > 0 ? inTriangle(p, pm, hit, candidate)
                                                         : inTriangle(p, pm, candidate, hit);
      if (!inside) continue;
      const double angle = std::fabs(std::atan2(p.y - pm.y, p.x - pm.x));
      if (angle < bestAngle) bestAngle = angle, best = i;
    }
  }
  std::vector<int32_t> joined(outline.begin(), outline.begin() + long(best) + 1);
  for (size_t k = 0; k <= hole.size(); ++k) joined.push_back(hole[(m + k) % hole.size()]);
  joined.insert(joined.end(), outline.begin() + long(best), outline.end());
  outline.swap(joined);
}

void clipEars(const std::vector<Point2> &pts, std::vector<int32_t> ring, bool flipped,
              std::vector<int32_t> &out) {
  auto emit = [&](int32_t a, int32_t b, int32_t c) {
    if (flipped) out.insert(out.end(), {a, c, b});
    else out.insert(out.end(), {a, b, c});
  };
  size_t guard = 0;
  size_t i = 0;
  while (ring.size() > 3) {
    const size_t n = ring.size();
    const size_t ip = (i + n - 1) % n, in = (i + 1) % n;
    const Point2 a = pts[ring[ip]], b = pts[ring[i]], c = pts[ring[in]];
    bool ear = cross2(a, b, c) > 0;
    for (size_t k = 0; ear && k < n; ++k) {
      if (k == ip || k == i || k == in) continue;
      const Point2 p = pts[ring[k]];
      if ((p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y) || (p.x == c.x && p.y == c.y)) continue;
      ear = !inTriangle(p, a, b, c);
    }
    // After a full turn without an ear (a degenerate or self-crossing
    // polygon), a vertex is cut off anyway so that the loop ends.
    if (ear || guard > n) {
      emit(ring[ip], ring[i], ring[in]);
      ring.erase(ring.begin() + long(i));
      guard = 0;
      if (i >= ring.size()) i = 0;
    } else {
      ++guard;
      i = (i + 1) % n;
    }
  }
  if (ring.size() == 3) emit(ring[0], ring[1], ring[2]);
}

}  // namespace

void triangulatePolygon(const float *positions, const std::vector<std::vector<int32_t>> &loops,
                        std::vector<int32_t> &out) {
  if (loops.empty() || loops[0].size() < 3) return;
  const std::vector<int32_t> &outline = loops[0];
  if (outline.size() == 3 && loops.size() == 1) {
    out.insert(out.end(), outline.begin(), outline.end());
    return;
  }
  size_t total = 0;
  for (const auto &loop : loops) total += loop.size();
  if (total > kMaxEarClipped) {
    for (size_t i = 1; i + 1 < outline.size(); ++i) out.insert(out.end(), {outline[0], outline[i], outline[i + 1]});
    return;
  }
  // The plane's normal by Newell's method picks the axes to project on.
  Vec3 normal;
  for (size_t i = 0; i < outline.size(); ++i) {
    const float *a = positions + 3 * size_t(outline[i]);
    const float *b = positions + 3 * size_t(outline[(i + 1) % outline.size()]);
    normal.x += (a[1] - b[1]) * (a[2] + b[2]);
    normal.y += (a[2] - b[2]) * (a[0] + b[0]);
    normal.z += (a[0] - b[0]) * (a[1] + b[1]);
  }
  const float ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
  const int u = ax >= ay && ax >= az ? 1 : 0, v = ax >= ay && ax >= az ? 2 : (ay >= az ? 2 : 1);
  // Points indexed like `positions`, only the ones the loops use filled.
  int32_t largest = 0;
  for (const auto &loop : loops)
    for (int32_t index : loop) largest = std::max(largest, index);
  std::vector<Point2> pts(size_t(largest) + 1);
  for (const auto &loop : loops)
    for (int32_t index : loop) {
      const float *p = positions + 3 * size_t(index);
      pts[size_t(index)] = {p[u], p[v]};
    }
  std::vector<int32_t> ring = outline;
  const bool flipped = signedArea(pts, ring) < 0;
  if (flipped) std::reverse(ring.begin(), ring.end());
  // Holes in order of their rightmost points, each wound against the outline.
  std::vector<std::vector<int32_t>> holes(loops.begin() + 1, loops.end());
  holes.erase(std::remove_if(holes.begin(), holes.end(), [](const auto &h) { return h.size() < 3; }), holes.end());
  auto rightmost = [&](const std::vector<int32_t> &h) {
    double x = -INFINITY;
    for (int32_t i : h) x = std::max(x, pts[i].x);
    return x;
  };
  std::sort(holes.begin(), holes.end(), [&](const auto &a, const auto &b) { return rightmost(a) > rightmost(b); });
  for (auto &hole : holes) {
    if (signedArea(pts, hole) > 0) std::reverse(hole.begin(), hole.end());
    bridgeHole(pts, ring, hole);
  }
  clipEars(pts, std::move(ring), flipped, out);
}

}  // namespace vellum::preview
