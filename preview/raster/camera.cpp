#include "preview/raster/camera.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

// Bounds that keep a frame's memory in reason: the picture's sides, its
// pixel count, samples per axis and samples in all.
constexpr int kMaxSide = 8192;
constexpr int kMaxSamplesPerAxis = 8;
constexpr double kMaxSamples = 16.0 * 1024 * 1024;
// Sample positions beyond the grid by this much are clipped away, so that
// the rasterizer's fixed-point arithmetic stays in range.
constexpr float kGuardBand = 2048;

float finiteOr(float value, float fallback) { return std::isfinite(value) ? value : fallback; }

}  // namespace

Projection::Projection(const CameraOptions &o, std::vector<std::string> &notes) {
  // Too large a picture is scaled down whole, keeping its shape.
  double xres = std::max(o.xres, 1), yres = std::max(o.yres, 1);
  const double shrink = std::min({1.0, kMaxSide / std::max(xres, yres), std::sqrt(o.largestPicture / (xres * yres))});
  if (shrink < 1) {
    xres = std::max(1.0, std::floor(xres * shrink));
    yres = std::max(1.0, std::floor(yres * shrink));
    notes.push_back("Format scaled down to " + std::to_string(int(xres)) + "x" + std::to_string(int(yres)));
  }
  float pixelAspect = finiteOr(o.pixelAspect, 1);
  if (!(pixelAspect > 0)) pixelAspect = 1;
  float frameAspect = finiteOr(o.frameAspect, 0);
  if (!(frameAspect > 0)) frameAspect = float(xres * pixelAspect / yres);

  float left, right, bottom, top;
  if (o.screenWindowSet) {
    left = o.screen[0], right = o.screen[1], bottom = o.screen[2], top = o.screen[3];
  } else if (frameAspect >= 1) {
    left = -frameAspect, right = frameAspect, bottom = -1, top = 1;
  } else {
    left = -1, right = 1, bottom = -1 / frameAspect, top = 1 / frameAspect;
  }
  if (!std::isfinite(right - left) || right == left || !std::isfinite(top - bottom) || top == bottom) {
    notes.push_back("ScreenWindow unusable: the default is used");
    left = -1, right = 1, bottom = -1, top = 1;
  }

  // The crop window selects whole pixels of the full picture.
  float crop[4];
  for (int i = 0; i < 4; ++i) crop[i] = std::clamp(finiteOr(o.crop[i], i % 2 ? 1.0f : 0.0f), 0.0f, 1.0f);
  int x0 = int(std::ceil(xres * crop[0])), x1 = int(std::ceil(xres * crop[1])) - 1;
  int y0 = int(std::ceil(yres * crop[2])), y1 = int(std::ceil(yres * crop[3])) - 1;
  if (x1 < x0 || y1 < y0) {
    notes.push_back("CropWindow empty: the whole picture is drawn");
    x0 = 0, x1 = int(xres) - 1, y0 = 0, y1 = int(yres) - 1;
  }
  width_ = x1 - x0 + 1;
  height_ = y1 - y0 + 1;

  auto samples = [](float requested) {
    if (!std::isfinite(requested)) return 2;
    return int(std::ceil(std::clamp(requested, 2.0f, float(kMaxSamplesPerAxis))));
  };
  sx_ = samples(o.xsamples);
  sy_ = samples(o.ysamples);
  if ((std::isfinite(o.xsamples) && o.xsamples > kMaxSamplesPerAxis) ||
      (std::isfinite(o.ysamples) && o.ysamples > kMaxSamplesPerAxis))
    notes.push_back("PixelSamples clamped to " + std::to_string(kMaxSamplesPerAxis));
  while (double(width_) * height_ * sx_ * sy_ > kMaxSamples && (sx_ > 1 || sy_ > 1)) {
    if (sx_ >= sy_) --sx_;
    else --sy_;
  }

  perspective_ = o.perspective;
  double scale = 1;
  if (perspective_) {
    float fov = finiteOr(o.fov, 90);
    if (!(fov > 0 && fov < 180)) {
      notes.push_back("perspective fov outside 0..180: 90 is used");
      fov = 90;
    }
    scale = 1 / std::tan(fov * 3.14159265358979 / 360);
  }
  // Screen to full-picture raster, then to the cropped sample grid.
  const double rx = xres / (double(right) - left), ry = yres / (double(top) - bottom);
  ax_ = float(scale * rx * sx_);
  bx_ = float((-left * rx - x0) * sx_);
  ay_ = float(-scale * ry * sy_);
  by_ = float((top * ry - y0) * sy_);

  float hither = finiteOr(o.hither, 1e-10f), yon = finiteOr(o.yon, 1e38f);
  if (!(hither > 0)) hither = 1e-10f;
  if (!(yon > hither)) {
    notes.push_back("Clipping planes unusable: the defaults are used");
    hither = 1e-10f, yon = 1e38f;
  }
  // In perspective, points nearer than this would project too far out for
  // the guard band anyway; it keeps 1/z finite.
  hither_ = perspective_ ? std::max(hither, 1e-6f) : hither;
  const float w = perspective_ ? 1.0f : 0.0f;  // W = w·z + (1 - w)
  const float gridW = float(width_ * sx_), gridH = float(height_ * sy_);
  planes_[0] = {0, 0, 1, -hither_};
  planes_[1] = {0, 0, -1, yon};
  // sample x >= -G  <=>  ax x + (bx + G) W >= 0, and so on.
  planes_[2] = {ax_, 0, (bx_ + kGuardBand) * w, (bx_ + kGuardBand) * (1 - w)};
  planes_[3] = {-ax_, 0, (gridW + kGuardBand - bx_) * w, (gridW + kGuardBand - bx_) * (1 - w)};
  planes_[4] = {0, ay_, (by_ + kGuardBand) * w, (by_ + kGuardBand) * (1 - w)};
  planes_[5] = {0, -ay_, (gridH + kGuardBand - by_) * w, (gridH + kGuardBand - by_) * (1 - w)};
}

unsigned Projection::outcode(Vec3 p) const {
  unsigned code = 0;
  for (int i = 0; i < kPlanes; ++i)
    if (!(planes_[i].at(p) >= 0)) code |= 1u << i;
  return code;
}

}  // namespace vellum::preview
