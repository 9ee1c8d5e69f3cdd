// The supersampled frame: premultiplied colour, alpha and depth for every
// sample, drawn into triangle by triangle (image/resolve.h filters it down
// to a picture).
//
// Given a work meter, each triangle is paid for before it is drawn by the
// samples the rasterizer walks for it (its box on the grid, cut to the
// grid), so that what a stream draws is bounded by samples rather than by
// triangles; one the meter refuses is not drawn, nor anything after it.
#ifndef VELLUM_PREVIEW_RASTER_SAMPLE_BUFFER_H
#define VELLUM_PREVIEW_RASTER_SAMPLE_BUFFER_H

#include <cstdint>
#include <vector>

#include "common/work_meter.h"

namespace vellum::preview {

class SolidFragments;

// A triangle corner on the sample grid: position, depth (smaller is
// nearer), 1/W of the projection (1/z in perspective, 1 in orthographic),
// premultiplied colour and the opacity of each channel.
struct GridVertex {
  float x, y, depth, w;
  float r, g, b;
  float opacity[3];
};

class SampleBuffer {
 public:
  // A grid of (width × sx) by (height × sy) samples, cleared.
  void reset(int width, int height, int sx, int sy);

  // The meter triangles are charged to (kSamples); null: none, every
  // triangle is drawn.  The caller keeps it alive.
  void setMeter(WorkMeter *meter) { meter_ = meter; }
  // Whether the meter has refused work: nothing more will be drawn.
  bool stopped() const { return meter_ != nullptr && meter_->spent(); }

  // Draws a triangle of either winding, its colour interpolated true to
  // perspective.  Corners must lie within the guard band of the grid (the
  // clipper sees to it).  Opaque samples replace what is behind them;
  // partly transparent ones are composited over the colour there, in
  // drawing order, each channel letting through what its opacity leaves,
  // and leave the depth alone.  Alpha is the mean of the opacities.
  void drawTriangle(const GridVertex &v0, const GridVertex &v1, const GridVertex &v2);

  // While set (not null), triangles are not drawn but handed to
  // `fragments` sample by sample, whatever is in front of them.
  void collectInto(SolidFragments *fragments) { fragments_ = fragments; }
  size_t sampleCount() const { return depth_.size(); }
  // Draws one sample, as a triangle would have: `color` premultiplied,
  // `opacity` as interpolated; `opaque` when the triangle was.
  void drawSample(size_t index, float depth, const float color[3], const float opacity[3], bool opaque);

  // The picture's size in pixels and the samples of a pixel.
  int width() const { return width_; }
  int height() const { return height_; }
  int samplesPerPixel() const { return sx_ * sy_; }
  // The sums of premultiplied colour and of alpha over the samples of a
  // pixel.
  void pixelSum(int px, int py, float sum[4]) const;

 private:
  struct Sample {
    float r, g, b, a;
  };
  template <bool kCollect>
  void rasterize(const GridVertex &v0, const GridVertex &v1, const GridVertex &v2);

  SolidFragments *fragments_ = nullptr;
  WorkMeter *meter_ = nullptr;
  int width_ = 0, height_ = 0, sx_ = 1, sy_ = 1, gw_ = 0, gh_ = 0;
  std::vector<float> depth_;
  std::vector<Sample> color_;
};

}  // namespace vellum::preview

#endif
