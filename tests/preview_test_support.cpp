#include "tests/preview_test_support.h"

#include <cmath>

#include "tests/test_support.h"

namespace vellum_test {

Drawn drawScene(int width, int height, const std::function<void(vellum::preview::PreviewContext &)> &camera,
                const std::function<void(vellum::preview::PreviewContext &)> &world) {
  Drawn drawn;
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([&](const std::string &message) { drawn.warnings.push_back(message); });
  ctx.Format(width, height, 1);
  if (camera) camera(ctx);
  ctx.WorldBegin();
  if (world) world(ctx);
  ctx.WorldEnd();
  drawn.picture = ctx.lastPicture();
  return drawn;
}

TrimLoops &TrimLoops::circle(float cu, float cv, float r) {
  // Rational quadratic: the corners of the square about it weigh √½.
  const float corner = std::sqrt(0.5f), dx[] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, dy[] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  ncurves.push_back(1), order.push_back(3), n.push_back(9), min.push_back(0), max.push_back(1);
  knot.insert(knot.end(), {0, 0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.75f, 0.75f, 1, 1, 1});
  for (int i = 0; i < 9; ++i) {
    const float weight = i % 2 ? corner : 1;
    u.push_back((cu + r * dx[i]) * weight), v.push_back((cv + r * dy[i]) * weight), w.push_back(weight);
  }
  return *this;
}

void TrimLoops::apply(vellum::preview::PreviewContext &c) {
  c.TrimCurve(RtInt(ncurves.size()), ncurves.data(), order.data(), knot.data(), min.data(), max.data(), n.data(),
              u.data(), v.data(), w.data());
}

void squareNuPatch(vellum::preview::PreviewContext &c, float z) {
  RtFloat knots[] = {0, 0, 1, 1}, p[] = {-0.9f, -0.9f, z, 0.9f, -0.9f, z, -0.9f, 0.9f, z, 0.9f, 0.9f, z};
  c.NuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0, 1, tok("P"), p, RI_NULL);
}

bool covered(const vellum::preview::Image &picture, int x, int y) { return picture.pixel(x, y)[3] > 127; }

int coveredCount(const vellum::preview::Image &picture) {
  int count = 0;
  for (size_t i = 3; i < picture.rgba.size(); i += 4) count += picture.rgba[i] != 0;
  return count;
}

}  // namespace vellum_test
