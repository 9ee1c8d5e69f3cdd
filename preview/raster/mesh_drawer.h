// Draws a mesh: transforms it to camera space, shades it, clips it and
// rasterizes it into the sample buffer.
#ifndef VELLUM_PREVIEW_RASTER_MESH_DRAWER_H
#define VELLUM_PREVIEW_RASTER_MESH_DRAWER_H

#include <cstdint>
#include <vector>

#include "preview/raster/camera.h"
#include "preview/raster/fine_lighting.h"
#include "preview/raster/sample_buffer.h"
#include "preview/shading/shading.h"
#include "preview/surfaces/mesh.h"

namespace vellum::preview {

// The most clipping planes a mesh is clipped by, besides the view's.
constexpr size_t kMostClippingPlanes = 32;

// The graphics state that drawing a mesh needs.
struct DrawState {
  Mat4 objectToCamera;
  SurfaceModel surface;
  const std::vector<Light> *lights = nullptr;  // in camera space
  Vec3 color{1, 1, 1}, opacity{1, 1, 1};
  bool twoSided = true;
  bool leftHanded = true;  // the orientation: which winding faces out
  // In camera space; null or empty when nothing is clipped but the view.
  const std::vector<ClipPlane> *clipPlanes = nullptr;
  // The most triangles that splitting large facets to show the light
  // across them may add (see fine_lighting.h); 0: none are split.
  size_t splitAllowance = 0;
};

class MeshDrawer {
 public:
  // Gives the number of triangles that splitting added.
  size_t draw(const MeshView &mesh, const DrawState &state, const Projection &projection, SampleBuffer &buffer);

 private:
  struct Corner {
    Vec3 p;
    Vec3 color, opacity;  // colour premultiplied by opacity
    Vec3 normal, cs;      // for facets split to be lit finely
  };
  // `outcodes` names the view's planes that the triangle crosses and
  // `crossed` the clipping planes.  With `fine` set, a large facet is
  // split as FineLighting does.
  void drawClipped(const Corner corners[3], unsigned outcodes, uint32_t crossed, const ClipPlane *planes,
                   const Projection &projection, SampleBuffer &buffer, const DrawState *fine);

  // Kept between meshes so that drawing allocates only when a mesh is
  // larger than any before.
  std::vector<Vec3> camera_;
  std::vector<uint8_t> outcode_;
  std::vector<uint32_t> outside_;  // the clipping planes each vertex is beyond
  std::vector<GridVertex> grid_;
  std::vector<Lighting> lighting_;
  std::vector<Vec3> normal_;  // in camera space, for fine lighting
  FineLighting fine_;
  size_t added_ = 0;  // by splitting, in this mesh
};

}  // namespace vellum::preview

#endif
