#include "preview/context/level_of_detail.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

float rasterDetail(const Vec3 corners[8], const Projection &projection) {
  float x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
  for (int k = 0; k < 8; ++k) {
    const Vec3 p = corners[k];
    if (!isFinite(p) || (projection.perspective() && !(p.z >= projection.hither()))) return kLargestDetail;
    const float x = projection.sampleX(p) / float(projection.samplesX());
    const float y = projection.sampleY(p) / float(projection.samplesY());
    x0 = std::min(x0, x), x1 = std::max(x1, x);
    y0 = std::min(y0, y), y1 = std::max(y1, y);
  }
  const float area = (x1 - x0) * (y1 - y0);
  return std::isfinite(area) ? std::min(area, kLargestDetail) : kLargestDetail;
}

bool drawnAtDetail(const float range[4], float detail) {
  const float minVisible = range[0], lower = range[1], upper = range[2], maxVisible = range[3];
  // Halves computed apart so that ranges near the largest floats do not
  // overflow.
  const float lowerMiddle = minVisible / 2 + lower / 2, upperMiddle = upper / 2 + maxVisible / 2;
  return detail >= minVisible && detail < maxVisible && detail >= lowerMiddle && detail < upperMiddle;
}

}  // namespace vellum::preview
