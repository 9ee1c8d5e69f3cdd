#include <gtest/gtest.h>

#include "ri.h"

namespace {

struct Weight {
  const char *what;
  RtFilterFunc filter;
  RtFloat x, y, xwidth, ywidth;
  double expected;
};

// Weights worked out by hand from each filter's formula.
const Weight kWeights[] = {
    {"gaussian at the centre", RiGaussianFilter, 0, 0, 2, 2, 1},
    {"gaussian at the x edge", RiGaussianFilter, 1, 0, 2, 2, 0.1353352832},
    {"gaussian at the y edge", RiGaussianFilter, 0, -1, 2, 2, 0.1353352832},
    {"gaussian halfway", RiGaussianFilter, 0.5f, 0, 2, 2, 0.6065306597},
    {"gaussian on the diagonal", RiGaussianFilter, 0.5f, 0.5f, 2, 2, 0.3678794412},
    {"gaussian with unequal widths", RiGaussianFilter, 1, 1, 4, 2, 0.0820849986},

    {"box at the centre", RiBoxFilter, 0, 0, 2, 2, 1},
    {"box at the x edge is outside", RiBoxFilter, 1, 0, 2, 2, 0},
    {"box at the other x edge", RiBoxFilter, -1, 0, 2, 2, 0},
    {"box at the y edge is outside", RiBoxFilter, 0, 1, 2, 2, 0},
    {"box just inside the edge", RiBoxFilter, 0.999f, -0.999f, 2, 2, 1},
    {"box inside a wide filter", RiBoxFilter, 1.5f, 0, 4, 2, 1},
    {"box outside a narrow filter", RiBoxFilter, 0, 0.75f, 4, 1, 0},

    {"triangle at the centre", RiTriangleFilter, 0, 0, 2, 2, 1},
    {"triangle at the x edge", RiTriangleFilter, 1, 0, 2, 2, 0},
    {"triangle beyond the edge is not negative", RiTriangleFilter, 2, 0, 2, 2, 0},
    {"triangle beyond the y edge", RiTriangleFilter, 0, -3, 2, 2, 0},
    {"triangle halfway", RiTriangleFilter, 0.5f, 0, 2, 2, 0.5},
    {"triangle takes the smaller in x", RiTriangleFilter, 0.5f, 0.25f, 2, 2, 0.5},
    {"triangle takes the smaller in y", RiTriangleFilter, 0.25f, -0.5f, 2, 2, 0.5},
    {"triangle with unequal widths", RiTriangleFilter, 0.5f, 0.8f, 4, 2, 0.2},

    {"catmull-rom at the centre", RiCatmullRomFilter, 0, 0, 4, 4, 2},
    {"catmull-rom at r = 0.5", RiCatmullRomFilter, 0.5f, 0, 4, 4, 1.125},
    {"catmull-rom is radial", RiCatmullRomFilter, 0.3f, 0.4f, 4, 4, 1.125},
    {"catmull-rom ignores the widths", RiCatmullRomFilter, 0.5f, 0, 0.5f, 0.5f, 1.125},
    {"catmull-rom at r = 1", RiCatmullRomFilter, 1, 0, 4, 4, 0},
    {"catmull-rom on the unit circle", RiCatmullRomFilter, 0.6f, 0.8f, 4, 4, 0},
    {"catmull-rom at r = 1.5 is negative", RiCatmullRomFilter, 0, -1.5f, 4, 4, -0.125},
    {"catmull-rom at r = 2", RiCatmullRomFilter, 2, 0, 4, 4, 0},
    {"catmull-rom beyond r = 2", RiCatmullRomFilter, 1.5f, 1.5f, 4, 4, 0},

    {"sinc at the centre", RiSincFilter, 0, 0, 4, 4, 1},
    {"sinc next to the centre", RiSincFilter, 0.00005f, 0, 4, 4, 1},
    {"sinc at r = 0.25", RiSincFilter, 0.25f, 0, 4, 4, 0.9003163162},
    {"sinc at r = 0.5", RiSincFilter, 0.5f, 0, 4, 4, 0.6366197724},
    {"sinc is radial", RiSincFilter, 0.3f, -0.4f, 4, 4, 0.6366197724},
    {"sinc ignores the widths", RiSincFilter, 0.5f, 0, 1, 1, 0.6366197724},
    {"sinc at r = 1", RiSincFilter, 1, 0, 4, 4, 0},
    {"sinc at r = 1.5", RiSincFilter, 0, 1.5f, 4, 4, -0.2122065908},
    {"sinc at r = 2", RiSincFilter, 2, 0, 4, 4, 0},
    {"sinc beyond r = 2", RiSincFilter, 1.5f, 2, 4, 4, 0},
};

TEST(PixelFilters, WeightsAtEdgesAndInside) {
  for (const Weight &w : kWeights)
    EXPECT_NEAR(w.filter(w.x, w.y, w.xwidth, w.ywidth), w.expected, 1e-6) << w.what;
}

// Where a weight is exactly 0 or 1 no rounding may blur it: a sample on a
// box's edge must not count at all.
TEST(PixelFilters, ExactWeights) {
  EXPECT_EQ(RiBoxFilter(1, 0, 2, 2), 0.0f);
  EXPECT_EQ(RiBoxFilter(0, 0, 2, 2), 1.0f);
  EXPECT_EQ(RiTriangleFilter(1, 0, 2, 2), 0.0f);
  EXPECT_EQ(RiTriangleFilter(3, 3, 2, 2), 0.0f);
  EXPECT_EQ(RiCatmullRomFilter(2, 0, 4, 4), 0.0f);
  EXPECT_EQ(RiCatmullRomFilter(0, 3, 4, 4), 0.0f);
  EXPECT_EQ(RiSincFilter(0, 0, 4, 4), 1.0f);
  EXPECT_EQ(RiSincFilter(0, 2.5f, 4, 4), 0.0f);
  EXPECT_EQ(RiGaussianFilter(0, 0, 2, 2), 1.0f);
}

}  // namespace
