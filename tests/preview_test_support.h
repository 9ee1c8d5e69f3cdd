// Helpers for the preview renderer's tests: small scenes drawn by a
// PreviewContext, and pixels read back from the picture.
#ifndef VELLUM_TESTS_PREVIEW_TEST_SUPPORT_H
#define VELLUM_TESTS_PREVIEW_TEST_SUPPORT_H

#include <functional>
#include <string>
#include <vector>

#include "preview/preview_context.h"

namespace vellum_test {

// Draws one world at `width` × `height` with the camera set by `camera`
// (before WorldBegin) and the scene by `world`; warnings are collected.
struct Drawn {
  vellum::preview::Image picture;
  std::vector<std::string> warnings;
};
Drawn drawScene(int width, int height, const std::function<void(vellum::preview::PreviewContext &)> &camera,
                const std::function<void(vellum::preview::PreviewContext &)> &world);

// TrimCurve's arrays, built loop by loop.
struct TrimLoops {
  std::vector<RtInt> ncurves, order, n;
  std::vector<RtFloat> knot, min, max, u, v, w;
  // A loop of one curve: the circle of radius r about (cu, cv).
  TrimLoops &circle(float cu, float cv, float r);
  void apply(vellum::preview::PreviewContext &c);
};
// A NuPatch over -0.9..0.9 in x and y at depth z: u along x, v along y,
// both over 0..1.  It is linear both ways, with `uPoints` control points
// evenly spaced along u: more give u more spans than v.
void squareNuPatch(vellum::preview::PreviewContext &c, float z, int uPoints = 2);

// Whether the pixel is covered (alpha above half).
bool covered(const vellum::preview::Image &picture, int x, int y);
// The number of pixels with any coverage.
int coveredCount(const vellum::preview::Image &picture);

}  // namespace vellum_test

#endif
