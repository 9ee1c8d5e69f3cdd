// The control points of the classic teapot that Geometry "teapot" draws.
#ifndef VELLUM_PREVIEW_SURFACES_TEAPOT_H
#define VELLUM_PREVIEW_SURFACES_TEAPOT_H

namespace vellum::preview {

constexpr int kTeapotPatchCount = 32;
// Each patch's 16 points (x, y, z), for the Bezier basis.
extern const float kTeapotPatches[kTeapotPatchCount][48];

}  // namespace vellum::preview

#endif
