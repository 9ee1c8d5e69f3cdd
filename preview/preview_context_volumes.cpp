// Volumes: a box is drawn as its six faces; other shapes are skipped.
#include <algorithm>
#include <string>

#include "preview/preview_context.h"

namespace vellum::preview {

RtVoid PreviewContext::VolumeV(RtToken type, RtBound bound, RtInt *, RtInt, RtToken[], RtPointer[]) {
  const std::string shape = type != nullptr ? type : "";
  if (shape != "box") {
    warnOnce("volume " + shape, "Volume \"" + shape + "\" skipped");
    return;
  }
  if (bound == nullptr || !takesGeometry()) return;
  float lo[3], hi[3];
  for (int axis = 0; axis < 3; ++axis) {
    lo[axis] = std::min(bound[2 * axis], bound[2 * axis + 1]);
    hi[axis] = std::max(bound[2 * axis], bound[2 * axis + 1]);
  }
  Mesh mesh;
  // Corner k has the high x, y, z where bits 0, 1, 2 of k are set.
  for (int k = 0; k < 8; ++k) mesh.addVertex(k & 1 ? hi[0] : lo[0], k & 2 ? hi[1] : lo[1], k & 4 ? hi[2] : lo[2]);
  // Low z, high z, low y, high y, low x, high x: each wound to face out.
  static const int32_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                      {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto &f : faces) {
    mesh.addTriangle(f[0], f[1], f[2]);
    mesh.addTriangle(f[0], f[2], f[3]);
  }
  emit(std::move(mesh));
}

}  // namespace vellum::preview
