// The camera options of a frame, and the projection from camera space to
// the sample grid that they make at WorldBegin.
#ifndef VELLUM_PREVIEW_RASTER_CAMERA_H
#define VELLUM_PREVIEW_RASTER_CAMERA_H

#include <string>
#include <vector>

#include "preview/math/vec_math.h"

namespace vellum::preview {

struct CameraOptions {
  int xres = 640, yres = 480;
  float pixelAspect = 1;
  float frameAspect = 0;  // 0: from the format
  bool screenWindowSet = false;
  float screen[4] = {-1, 1, -1, 1};  // left, right, bottom, top
  float crop[4] = {0, 1, 0, 1};      // xmin, xmax, ymin, ymax
  bool perspective = false;
  float fov = 90;
  float hither = 1e-10f, yon = 1e38f;
  float xsamples = 2, ysamples = 2;
  float gain = 1, gamma = 1;
  // The most pixels a picture may have; a larger one is scaled down whole.
  double largestPicture = 4096.0 * 4096.0;
};

// A plane in camera space: a·x + b·y + c·z + d >= 0 inside.
struct ClipPlane {
  float a, b, c, d;
  float at(Vec3 p) const { return a * p.x + b * p.y + c * p.z + d; }
};

// Camera space to sample coordinates: sample x = (ax·x + bx·W) / W with
// W = z in perspective and 1 in orthographic, likewise y; depth grows with
// distance and is affine on the sample grid.
class Projection {
 public:
  // Clamps absurd options (one note each in `notes`).
  Projection(const CameraOptions &options, std::vector<std::string> &notes);

  int width() const { return width_; }    // picture size after cropping
  int height() const { return height_; }
  int samplesX() const { return sx_; }
  int samplesY() const { return sy_; }
  bool perspective() const { return perspective_; }
  float hither() const { return hither_; }

  // For points inside the near and far planes.
  float sampleX(Vec3 p) const { return perspective_ ? ax_ * p.x / p.z + bx_ : ax_ * p.x + bx_; }
  float sampleY(Vec3 p) const { return perspective_ ? ay_ * p.y / p.z + by_ : ay_ * p.y + by_; }
  float depth(Vec3 p) const { return perspective_ ? -1.0f / p.z : p.z; }
  float inverseW(Vec3 p) const { return perspective_ ? 1.0f / p.z : 1.0f; }

  // Near, far, then the four sides of the grid with a guard band.
  const ClipPlane *planes() const { return planes_; }
  static constexpr int kPlanes = 6;
  unsigned outcode(Vec3 p) const;

  // The direction from the eye toward a camera-space point.
  Vec3 viewDirection(Vec3 p) const { return perspective_ ? p : Vec3{0, 0, 1}; }

 private:
  int width_ = 1, height_ = 1, sx_ = 2, sy_ = 2;
  bool perspective_ = false;
  float ax_ = 1, bx_ = 0, ay_ = 1, by_ = 0, hither_ = 1e-10f;
  ClipPlane planes_[kPlanes];
};

}  // namespace vellum::preview

#endif
