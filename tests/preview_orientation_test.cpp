// Orientation under mirroring transforms: a one-sided sphere lit from the
// upper left, drawn under every combination of a mirroring camera or world
// transform, Orientation and ReverseOrientation, must be the picture of
// its outside or of its inside drawn without any of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

using Step = std::function<void(PreviewContext &)>;

// The largest difference of any channel of any pixel.
int largestDifference(const Image &a, const Image &b) {
  if (a.width != b.width || a.height != b.height) return 256;
  int largest = 0;
  for (size_t i = 0; i < a.rgba.size(); ++i) largest = std::max(largest, std::abs(a.rgba[i] - b.rgba[i]));
  return largest;
}

// The light is given first, in camera space, so that it shines from the
// upper left whatever follows; `camera` comes after it (before
// WorldBegin), `world` after WorldBegin, then the sphere unless `world`
// draws its own.
Image oneSidedSphere(const Step &camera, const Step &world, bool drawsOwn = false) {
  return drawScene(32, 32, [&](PreviewContext &c) {
    RtPoint from{-1, 1, -1}, to{0, 0, 0};
    c.LightSource(tok("distantlight"), tok("from"), from, tok("to"), to, RI_NULL);
    c.Sides(1);
    if (camera) camera(c);
  }, [&](PreviewContext &c) {
    if (world) world(c);
    if (drawsOwn) return;
    c.Surface(tok("plastic"), RI_NULL);
    c.Translate(0, 0, 2);
    c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
  }).picture;
}

Step scale(float x, float y, float z) {
  return [=](PreviewContext &c) { c.Scale(x, y, z); };
}
Step orientation(const char *name) {
  return [=](PreviewContext &c) { c.Orientation(tok(name)); };
}
Step both(Step a, Step b) {
  return [=](PreviewContext &c) {
    a(c);
    b(c);
  };
}
const Step kReverse = [](PreviewContext &c) { c.ReverseOrientation(); };

TEST(PreviewOrientation, MirroringKeepsTheOutsideOutAndOrientationsTurnItIn) {
  const Image outside = oneSidedSphere(nullptr, nullptr);
  const Image inside = oneSidedSphere(nullptr, orientation("inside"));
  // The two differ plainly: the outside is lit at the upper left, the far
  // wall seen from within at the lower right.
  ASSERT_GT(largestDifference(outside, inside), 100);
  const struct {
    const char *what;
    Step camera, world;
    bool showsOutside;
  } cases[] = {
      {"camera mirrored in x", scale(-1, 1, 1), nullptr, true},
      {"camera mirrored in y", scale(1, -1, 1), nullptr, true},
      {"camera mirrored in z, then turned about", both(scale(1, 1, -1), scale(-1, 1, -1)), nullptr, true},
      {"world mirrored in x", nullptr, scale(-1, 1, 1), true},
      {"camera and world mirrored", scale(-1, 1, 1), scale(1, -1, 1), true},
      {"orientation outside, camera mirrored", both(orientation("outside"), scale(-1, 1, 1)), nullptr, true},
      {"orientation inside, camera mirrored", scale(-1, 1, 1), orientation("inside"), false},
      {"lh", nullptr, orientation("lh"), true},
      {"rh", nullptr, orientation("rh"), false},
      {"lh, camera mirrored", scale(-1, 1, 1), orientation("lh"), false},
      {"rh, camera mirrored", scale(-1, 1, 1), orientation("rh"), true},
      {"lh named before the world is mirrored", orientation("lh"), scale(-1, 1, 1), false},
      {"rh named before the camera is mirrored", both(orientation("rh"), scale(1, -1, 1)), nullptr, true},
      {"reversed", nullptr, kReverse, false},
      {"reversed twice", nullptr, both(kReverse, kReverse), true},
      {"reversed, camera mirrored", scale(-1, 1, 1), kReverse, false},
      {"reversed, world mirrored", nullptr, both(kReverse, scale(1, -1, 1)), false},
      {"rh reversed, camera mirrored", scale(-1, 1, 1), both(orientation("rh"), kReverse), false},
      {"lh reversed, camera mirrored", scale(-1, 1, 1), both(orientation("lh"), kReverse), true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const Image drawn = oneSidedSphere(c.camera, c.world);
    // Mirrored facets round a little differently.
    EXPECT_LE(largestDifference(drawn, c.showsOutside ? outside : inside), 3);
  }
}

// An object's pieces take their orientation as any primitive would under
// the transform that places them: "outside" shows the outside however
// placed, a named handedness is that of camera space.
TEST(PreviewOrientation, ObjectsTakeTheirOrientationInTheirOwnSpace) {
  const Image outside = oneSidedSphere(nullptr, nullptr);
  const Image inside = oneSidedSphere(nullptr, orientation("inside"));
  const auto instanced = [](const char *named, bool mirrored) {
    return oneSidedSphere(nullptr, [=](PreviewContext &c) {
      RtObjectHandle object = c.ObjectBegin();
      if (named != nullptr) c.Orientation(tok(named));
      c.Surface(tok("plastic"), RI_NULL);
      c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
      c.ObjectEnd();
      c.Translate(0, 0, 2);
      if (mirrored) c.Scale(-1, 1, 1);
      c.ObjectInstance(object);
    }, true);
  };
  const struct {
    const char *what;
    const char *named;
    bool mirrored, showsOutside;
  } cases[] = {
      {"nothing named", nullptr, false, true},
      {"nothing named, placed mirrored", nullptr, true, true},
      {"outside, placed mirrored", "outside", true, true},
      {"inside", "inside", false, false},
      {"lh", "lh", false, true},
      {"lh, placed mirrored", "lh", true, false},
      {"rh, placed mirrored", "rh", true, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_LE(largestDifference(instanced(c.named, c.mirrored), c.showsOutside ? outside : inside), 3);
  }
}

}  // namespace
