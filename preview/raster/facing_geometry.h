// Curves and points, which face the camera: kept as centre lines and
// widths in object space and turned into ribbons and discs in camera space
// when drawn.
#ifndef VELLUM_PREVIEW_RASTER_FACING_GEOMETRY_H
#define VELLUM_PREVIEW_RASTER_FACING_GEOMETRY_H

#include <cstdint>
#include <vector>

#include "preview/math/vec_math.h"
#include "preview/raster/camera.h"
#include "preview/surfaces/mesh.h"

namespace vellum::preview {

struct FacingGeometry {
  bool discs = false;  // points; otherwise polylines
  std::vector<Vec3> centres;
  std::vector<float> widths;             // one per centre
  std::vector<uint32_t> lineLengths;     // polylines: centres per line
  ColorSource csSource = ColorSource::kAttribute, osSource = ColorSource::kAttribute;
  std::vector<Vec3> cs, os;              // per centre, or per line (kPerTriangle)
};

// The camera-space mesh that draws `geometry` seen through `toCamera`.
Mesh expandFacing(const FacingGeometry &geometry, const Mat4 &toCamera, const Projection &projection);

}  // namespace vellum::preview

#endif
