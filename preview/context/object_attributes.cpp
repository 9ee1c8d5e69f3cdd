#include "preview/context/object_attributes.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

// A plane that keeps a·p >= 0 in object space, in camera space: a camera
// point q is q·M⁻¹ in object space, so the coefficients become M⁻¹ a.
bool placePlane(const ClipPlane &plane, const Mat4 &toObject, ClipPlane &out) {
  const double a[4] = {plane.a, plane.b, plane.c, plane.d};
  double c[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) c[i] += toObject.m[i][j] * a[j];
  const double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
  if (!(length > 0) || !std::isfinite(length) || !std::isfinite(c[3])) return false;
  out = {float(c[0] / length), float(c[1] / length), float(c[2] / length), float(c[3] / length)};
  return true;
}

}  // namespace

Attributes placedAttributes(const Attributes &placedAt, const Attributes &defined, const Mat4 &objectToCamera) {
  Attributes a = placedAt;
  const uint32_t set = defined.setInObject;
  if (set & kSetColor) a.color = defined.color;
  if (set & kSetOpacity) a.opacity = defined.opacity;
  if (set & kSetSurface) {
    a.surface = defined.surface;
    a.ownColor = defined.ownColor;
    a.surfaceColor = defined.surfaceColor;
  }
  if (set & kSetSides) a.twoSided = defined.twoSided;
  // Taken where each piece is drawn: "outside" and "inside" follow its
  // space, a named handedness is that of camera space, as for any
  // primitive under the transform that places it.
  if (set & kSetOrientation) a.orientation = defined.orientation;
  if (set & kSetDetail) {
    a.hasDetailBound = defined.hasDetailBound;
    for (int k = 0; k < 8; ++k) a.detailBound[k] = transformPoint(objectToCamera, defined.detailBound[k]);
  }
  if (set & kSetDetailRange) std::copy(defined.detailRange, defined.detailRange + 4, a.detailRange);
  if (set & kSetClipping) {
    Mat4 toObject;
    if (invert(objectToCamera, toObject)) {
      for (const ClipPlane &plane : defined.clipPlanes) {
        ClipPlane placed;
        if (placePlane(plane, toObject, placed)) a.clipPlanes.push_back(placed);
      }
    }
  }
  return a;
}

}  // namespace vellum::preview
