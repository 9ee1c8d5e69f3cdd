#include "tests/preview_test_support.h"

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

bool covered(const vellum::preview::Image &picture, int x, int y) { return picture.pixel(x, y)[3] > 127; }

int coveredCount(const vellum::preview::Image &picture) {
  int count = 0;
  for (size_t i = 3; i < picture.rgba.size(); i += 4) count += picture.rgba[i] != 0;
  return count;
}

}  // namespace vellum_test
