// The attributes that the preview renderer keeps, stacked by
// AttributeBegin and AttributeEnd.
#ifndef VELLUM_PREVIEW_CONTEXT_GRAPHICS_STATE_H
#define VELLUM_PREVIEW_CONTEXT_GRAPHICS_STATE_H

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "preview/math/vec_math.h"
#include "preview/raster/camera.h"
#include "preview/shading/shading.h"
#include "preview/surfaces/trim_region.h"

namespace vellum::preview {

// The groups of attributes that an object definition can set: its
// instances take those from the definition and the rest from where they
// are placed.
enum AttributeGroup : uint32_t {
  kSetColor = 1u << 0,
  kSetOpacity = 1u << 1,
  kSetSurface = 1u << 2,  // the surface model, and a Bxdf's own colour
  kSetSides = 1u << 3,
  kSetOrientation = 1u << 4,
  kSetClipping = 1u << 5,
  kSetDetail = 1u << 6,       // the detail bound
  kSetDetailRange = 1u << 7,
  kSetAll = ~0u,
};

// Which side of a surface is its outside.  "outside" and "inside" are
// taken in the space each primitive is given in, whatever its handedness:
// a mirroring transform, of the camera or of the world, leaves a sphere's
// outside out.  "lh" and "rh" name the handedness itself, so that a
// mirroring transform turns such a surface inside out.
enum class SurfaceOrientation : uint8_t { kOutside, kInside, kLeftHanded, kRightHanded };

// Whether the outside of a surface given in a space that `objectToCamera`
// takes to camera space (which is left-handed) is the side from which its
// corners, taken to camera space, wind clockwise: what a left-handed
// orientation means there.
inline bool outsideIsLeftHanded(SurfaceOrientation orientation, const Mat4 &objectToCamera) {
  switch (orientation) {
    case SurfaceOrientation::kLeftHanded: return true;
    case SurfaceOrientation::kRightHanded: return false;
    case SurfaceOrientation::kInside: return determinant3(objectToCamera) < 0;
    case SurfaceOrientation::kOutside: break;
  }
  return determinant3(objectToCamera) >= 0;
}

// ReverseOrientation: "outside" and "inside", "lh" and "rh" trade places.
inline SurfaceOrientation reversed(SurfaceOrientation orientation) {
  switch (orientation) {
    case SurfaceOrientation::kOutside: return SurfaceOrientation::kInside;
    case SurfaceOrientation::kInside: return SurfaceOrientation::kOutside;
    case SurfaceOrientation::kLeftHanded: return SurfaceOrientation::kRightHanded;
    case SurfaceOrientation::kRightHanded: break;
  }
  return SurfaceOrientation::kLeftHanded;
}

struct Attributes {
  Vec3 color{1, 1, 1}, opacity{1, 1, 1};
  // The default surface: facing ratio.
  SurfaceModel surface{SurfaceModel::kDefault, 0.2f, 0.8f, 0, 0.1f, {1, 1, 1}};
  // A Bxdf that names its own colour is that colour whatever Cs is.
  bool ownColor = false;
  Vec3 surfaceColor;
  bool twoSided = true;
  SurfaceOrientation orientation = SurfaceOrientation::kOutside;
  float uBasis[4][4] = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};
  float vBasis[4][4] = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};
  int uStep = 3, vStep = 3;
  // ClippingPlane's, in camera space: what they keep is where at() >= 0.
  std::vector<ClipPlane> clipPlanes;
  // Level of detail: the corners of the detail bound in camera space (in
  // the object's own space within a definition), and the range of detail
  // in which what follows is drawn.
  bool hasDetailBound = false;
  Vec3 detailBound[8];
  float detailRange[4] = {0, 0, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()};
  // TrimCurve's loops, for the NuPatches that follow (null: untrimmed),
  // and Attribute "trimcurve" "sense": whether they keep what lies outside.
  std::shared_ptr<const TrimRegion> trim;
  bool trimKeepsOutside = false;
  // The groups set since the object being defined began (outside a
  // definition: no meaning).
  uint32_t setInObject = 0;
  // The edit that made these attributes: equal numbers, equal attributes.
  uint64_t edit = 0;
};

// What AttributeBegin saves: the attributes and the current transform.
// (The lights that are on are kept apart, with an undo log.)
struct GraphicsState {
  Attributes attributes;
  Mat4 transform;
};

}  // namespace vellum::preview

#endif
