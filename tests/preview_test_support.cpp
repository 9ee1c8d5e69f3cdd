#include "tests/preview_test_support.h"

#include <cmath>
#include <vector>

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

void squareNuPatch(vellum::preview::PreviewContext &c, float z, int uPoints) {
  std::vector<RtFloat> uKnots = {0}, p;
  for (int i = 0; i < uPoints; ++i) uKnots.push_back(float(i) / float(uPoints - 1));
  uKnots.push_back(1);
  for (float y : {-0.9f, 0.9f})
    for (int i = 0; i < uPoints; ++i) p.insert(p.end(), {-0.9f + 1.8f * float(i) / float(uPoints - 1), y, z});
  RtFloat vKnots[] = {0, 0, 1, 1};
  c.NuPatch(uPoints, 2, uKnots.data(), 0, 1, 2, 2, vKnots, 0, 1, tok("P"), p.data(), RI_NULL);
}

bool covered(const vellum::preview::Image &picture, int x, int y) { return picture.pixel(x, y)[3] > 127; }

int coveredCount(const vellum::preview::Image &picture) {
  int count = 0;
  for (size_t i = 3; i < picture.rgba.size(); i += 4) count += picture.rgba[i] != 0;
  return count;
}

}  // namespace vellum_test
