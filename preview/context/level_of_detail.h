// Level of detail: which representation of a model is drawn, chosen by
// how large its detail bound appears on the screen.
#ifndef VELLUM_PREVIEW_CONTEXT_LEVEL_OF_DETAIL_H
#define VELLUM_PREVIEW_CONTEXT_LEVEL_OF_DETAIL_H

#include "preview/math/vec_math.h"
#include "preview/raster/camera.h"

namespace vellum::preview {

// The detail of a bound reaching to or behind the eye, or of none: the
// most detailed representation is wanted.
constexpr float kLargestDetail = 1e30f;

// The area in pixels of the screen rectangle that a bound's camera-space
// corners project to.
float rasterDetail(const Vec3 corners[8], const Projection &projection);

// Whether a representation with the detail range (minvisible,
// lowertransition, uppertransition, maxvisible) is drawn at `detail`.
// Renderers dissolve one representation into the next across a
// transition; the preview draws whole ones, so the one drawn in a
// transition is the one on the near side of its middle: at most one of
// two ranges that meet there, and exactly one where they meet as the
// standard describes (the upper transition of one is the lower of the
// next).
bool drawnAtDetail(const float range[4], float detail);

}  // namespace vellum::preview

#endif
