// Geometry: the teapot, drawn as its Bezier patches; other kinds skipped.
#include <string>

#include "preview/preview_context.h"
#include "preview/surfaces/teapot.h"

namespace vellum::preview {

namespace {

constexpr float kBezier[4][4] = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};

}  // namespace

RtVoid PreviewContext::GeometryV(RtToken type, RtInt, RtToken[], RtPointer[]) {
  const std::string what = type != nullptr ? type : "";
  if (what != "teapot") {
    warnOnce("geometry " + what, "Geometry \"" + what + "\" skipped");
    return;
  }
  if (!takesGeometry()) return;
  // Whatever the current basis, and whatever the stream declared "P" as.
  Mesh mesh;
  for (const float *patch : kTeapotPatches) {
    RtToken tokens[] = {const_cast<char *>("vertex point P")};
    RtPointer parms[] = {const_cast<float *>(patch)};
    appendPatchMesh(mesh, const_cast<char *>("bicubic"), 4, const_cast<char *>("nonperiodic"), 4,
                    const_cast<char *>("nonperiodic"), 1, 1, kBezier, kBezier, 1, tokens, parms);
  }
  emit(std::move(mesh));
}

}  // namespace vellum::preview
