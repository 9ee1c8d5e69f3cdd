#include "preview/raster/fine_lighting.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

LitCorner lerp(const LitCorner &a, const LitCorner &b, float t) {
  return {a.p + (b.p - a.p) * t, a.normal + (b.normal - a.normal) * t, a.cs + (b.cs - a.cs) * t,
          a.os + (b.os - a.os) * t};
}

bool before(const Vec3 &a, const Vec3 &b) {
  if (a.x != b.x) return a.x < b.x;
  if (a.y != b.y) return a.y < b.y;
  return a.z < b.z;
}

// The point t of the way from a to b, worked out from whichever endpoint
// comes first, so that both triangles of an edge get the same point.
LitCorner along(const LitCorner &a, const LitCorner &b, float t) {
  return before(b.p, a.p) ? lerp(b, a, 1 - t) : lerp(a, b, t);
}

// Point k of n along an edge split into `pieces` (a power of two dividing
// n): moved to the nearest of the edge's own points.
LitCorner edgePoint(const LitCorner &a, const LitCorner &b, int k, int n, int pieces) {
  const int s = (k * pieces + n / 2) / n;
  if (s == 0) return a;
  if (s == pieces) return b;
  return along(a, b, float(s) / float(pieces));
}

}  // namespace

bool FineLighting::wanted(const SurfaceModel &surface, const std::vector<Light> &lights) {
  if (surface.kind != SurfaceModel::kMatte && surface.kind != SurfaceModel::kPlastic &&
      surface.kind != SurfaceModel::kMetal)
    return false;
  if (surface.kind != SurfaceModel::kMatte && surface.Ks != 0) return true;
  for (const Light &light : lights)
    if (light.kind == Light::kPoint || light.kind == Light::kSpot) return true;
  return false;
}

void FineLighting::begin(const Projection &projection) {
  pixelsPerSampleX_ = 1.0f / float(projection.samplesX());
  pixelsPerSampleY_ = 1.0f / float(projection.samplesY());
  // sample x = (ax·x + bx·W) / W, W = z in perspective and 1 otherwise.
  const float bx = projection.sampleX({0, 0, 1}), ax = projection.sampleX({1, 0, 1}) - bx;
  const float by = projection.sampleY({0, 0, 1}), ay = projection.sampleY({0, 1, 1}) - by;
  const float gridW = float(projection.width() * projection.samplesX());
  const float gridH = float(projection.height() * projection.samplesY());
  const float w = projection.perspective() ? 1.0f : 0.0f;
  sides_[0] = {ax, 0, bx * w, bx * (1 - w)};
  sides_[1] = {-ax, 0, (gridW - bx) * w, (gridW - bx) * (1 - w)};
  sides_[2] = {0, ay, by * w, by * (1 - w)};
  sides_[3] = {0, -ay, (gridH - by) * w, (gridH - by) * (1 - w)};
}

int FineLighting::splitsOf(const Vec3 &a, const Vec3 &b, const Projection &projection) const {
  const float length = std::sqrt(
      lengthSquared(projection.sampleX(a), projection.sampleY(a), projection.sampleX(b), projection.sampleY(b)));
  int pieces = 1;
  while (pieces < kMostSplits && float(pieces) * kCell < length) pieces *= 2;
  return pieces;
}

size_t FineLighting::draw(const LitCorner *polygon, int count, const SurfaceModel &surface,
                          const std::vector<Light> &lights, const Projection &projection, SampleBuffer &buffer,
                          size_t allowance) {
  // What lies beyond the picture is not split: it is cut away.
  corners_.assign(polygon, polygon + count);
  for (const ClipPlane &side : sides_) {
    std::vector<LitCorner> &kept = kept_;
    kept.clear();
    for (size_t k = 0; k < corners_.size(); ++k) {
      const LitCorner &a = corners_[k], &b = corners_[(k + 1) % corners_.size()];
      const float da = side.at(a.p), db = side.at(b.p);
      if (da >= 0) kept.push_back(a);
      if ((da >= 0) != (db >= 0))
        kept.push_back(before(b.p, a.p) ? lerp(b, a, db / (db - da)) : lerp(a, b, da / (da - db)));
    }
    corners_.swap(kept);
    if (corners_.size() < 3) return 0;
  }
  size_t added = 0;
  for (size_t k = 1; k + 1 < corners_.size(); ++k)
    added += drawTriangle(corners_[0], corners_[k], corners_[k + 1], surface, lights, projection, buffer,
                          allowance - std::min(allowance, added));
  return added;
}

size_t FineLighting::drawTriangle(const LitCorner &a, const LitCorner &b, const LitCorner &c,
                                  const SurfaceModel &surface, const std::vector<Light> &lights,
                                  const Projection &projection, SampleBuffer &buffer, size_t allowance) {
  int ab = splitsOf(a.p, b.p, projection), bc = splitsOf(b.p, c.p, projection), ca = splitsOf(c.p, a.p, projection);
  int n = std::max({ab, bc, ca});
  if (size_t(n) * size_t(n) - 1 > allowance) n = ab = bc = ca = 1;
  // Vertex (i, j), i + j <= n, is a·(1 - i/n - j/n) + b·i/n + c·j/n; row j
  // holds n - j + 1 of them.
  grid_.resize(size_t(n + 1) * size_t(n + 2) / 2);
  auto index = [n](int i, int j) { return size_t(j) * size_t(n + 1) - size_t(j) * size_t(j - 1) / 2 + size_t(i); };
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i + j <= n; ++i) {
      LitCorner v;
      if (j == 0) {
        v = edgePoint(a, b, i, n, ab);
      } else if (i == 0) {
        v = edgePoint(a, c, j, n, ca);
      } else if (i + j == n) {
        v = edgePoint(b, c, j, n, bc);
      } else {
        const float u = float(i) / float(n), w = float(j) / float(n), t = 1 - u - w;
        v = {a.p * t + b.p * u + c.p * w, a.normal * t + b.normal * u + c.normal * w, a.cs * t + b.cs * u + c.cs * w,
             a.os * t + b.os * u + c.os * w};
      }
      const Vec3 toEye = normalize(-projection.viewDirection(v.p));
      Vec3 normal = normalize(v.normal);
      if (dot(normal, toEye) < 0) normal = -normal;
      const Lighting light = shade(surface, lights, v.p, normal, toEye);
      const Vec3 color = mul(v.os, mul(v.cs, light.scale) + light.offset);
      grid_[index(i, j)] = {projection.sampleX(v.p), projection.sampleY(v.p), projection.depth(v.p),
                            projection.inverseW(v.p), color.x, color.y, color.z, {v.os.x, v.os.y, v.os.z}};
    }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i + j < n; ++i) {
      buffer.drawTriangle(grid_[index(i, j)], grid_[index(i + 1, j)], grid_[index(i, j + 1)]);
      if (i + j + 1 < n) buffer.drawTriangle(grid_[index(i + 1, j)], grid_[index(i + 1, j + 1)], grid_[index(i, j + 1)]);
    }
  return size_t(n) * size_t(n) - 1;
}

}  // namespace vellum::preview
