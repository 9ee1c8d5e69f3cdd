// Light that changes across a large facet, such as a point light's
// falloff, a spotlight's cone or a highlight, is lost between corners
// shaded alone.  Such facets are cut to the picture and split into
// pieces about kCell pixels across, each corner shaded.
//
// Each edge is split by its own length on the screen, and its points are
// worked out from its endpoints in an order of their own, so that the two
// triangles sharing an edge split it at the same points and no crack
// opens between them; inside, a triangle is split as finely as its
// longest edge, its points on shorter edges moved onto theirs.
#ifndef VELLUM_PREVIEW_RASTER_FINE_LIGHTING_H
#define VELLUM_PREVIEW_RASTER_FINE_LIGHTING_H

#include <cstddef>
#include <vector>

#include "preview/raster/camera.h"
#include "preview/raster/sample_buffer.h"
#include "preview/shading/shading.h"

namespace vellum::preview {

// A corner in camera space with what shading it needs: its normal (any
// length, either side), and colour and opacity.
struct LitCorner {
  Vec3 p, normal, cs, os;
};

class FineLighting {
 public:
  // The size of the pieces, in pixels, and the most pieces along an edge.
  static constexpr float kCell = 4;
  static constexpr int kMostSplits = 128;

  // Whether the light on a surface can change across a facet in ways its
  // corners miss: under a point or spot light, or with a highlight.
  static bool wanted(const SurfaceModel &surface, const std::vector<Light> &lights);

  // Sets the picture that edges are measured on.
  void begin(const Projection &projection);
  // Whether an edge between two grid positions is long enough to split.
  bool splits(float x0, float y0, float x1, float y1) const { return lengthSquared(x0, y0, x1, y1) > kCellSquared; }

  // Draws a convex polygon lying within the view's planes: cut to the
  // picture and split, each triangle split into at most `allowance` more
  // pieces (or left whole).  Gives the number of triangles drawn beyond
  // the polygon's fan.
  size_t draw(const LitCorner *polygon, int count, const SurfaceModel &surface, const std::vector<Light> &lights,
              const Projection &projection, SampleBuffer &buffer, size_t allowance);

 private:
  static constexpr float kCellSquared = kCell * kCell;
  // In pixels, squared.
  float lengthSquared(float x0, float y0, float x1, float y1) const {
    const float dx = (x1 - x0) * pixelsPerSampleX_, dy = (y1 - y0) * pixelsPerSampleY_;
    return dx * dx + dy * dy;
  }
  int splitsOf(const Vec3 &a, const Vec3 &b, const Projection &projection) const;
  size_t drawTriangle(const LitCorner &a, const LitCorner &b, const LitCorner &c, const SurfaceModel &surface,
                      const std::vector<Light> &lights, const Projection &projection, SampleBuffer &buffer,
                      size_t allowance);

  float pixelsPerSampleX_ = 1, pixelsPerSampleY_ = 1;
  ClipPlane sides_[4];  // the picture's edges
  std::vector<LitCorner> corners_, kept_;
  std::vector<GridVertex> grid_;
};

}  // namespace vellum::preview

#endif
