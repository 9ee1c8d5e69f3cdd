// The attributes that a piece of an object is drawn with: those its
// definition set, the rest as where the object is placed.
#ifndef VELLUM_PREVIEW_CONTEXT_OBJECT_ATTRIBUTES_H
#define VELLUM_PREVIEW_CONTEXT_OBJECT_ATTRIBUTES_H

#include "preview/context/graphics_state.h"
#include "preview/math/vec_math.h"

namespace vellum::preview {

// `defined` holds what the definition recorded, its clipping planes
// and detail bound in the object's own space (camera space as the definition
// saw it); `objectToCamera` places that space.  The result is all in
// camera space.
Attributes placedAttributes(const Attributes &placedAt, const Attributes &defined, const Mat4 &objectToCamera);

}  // namespace vellum::preview

#endif
