// Facets split to show the light across them leave no crack between
// them and cover nothing twice.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

// Triangles of uneven sizes, so that neighbours split their shared edges
// from different depths of splitting: a 6 × 6 grid over [-3, 3]², its
// inner points moved by up to a third of a cell, two triangles a cell.
void unevenGrid(PreviewContext &c) {
  constexpr int kCells = 6;
  std::vector<RtFloat> p;
  std::vector<RtInt> nvertices, vertices;
  for (int j = 0; j <= kCells; ++j)
    for (int i = 0; i <= kCells; ++i) {
      const bool inner = i > 0 && i < kCells && j > 0 && j < kCells;
      const float dx = inner ? float((i * 7 + j * 3) % 5 - 2) / 6 : 0, dy = inner ? float((i * 2 + j * 5) % 5 - 2) / 6 : 0;
      p.insert(p.end(), {float(i) + dx - 3, float(j) + dy - 3, 0});
    }
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      const RtInt a = j * (kCells + 1) + i, b = a + 1, d = a + kCells + 1, e = d + 1;
      vertices.insert(vertices.end(), {a, b, e, a, e, d});
      nvertices.insert(nvertices.end(), {3, 3});
    }
  c.PointsPolygons(RtInt(nvertices.size()), nvertices.data(), vertices.data(), tok("P"), p.data(), RI_NULL);
}

struct SplitCase {
  const char *what;
  bool perspective;
  std::function<void(PreviewContext &)> world;
  int alpha;  // of every pixel
};

TEST(PreviewFineLighting, SplitFacetsCoverEachSampleOnce) {
  const auto pointLight = [](PreviewContext &c) {
    RtPoint from{0.5f, 0.3f, -1};
    c.LightSource(tok("pointlight"), tok("from"), from, RI_NULL);
    c.Surface(tok("matte"), RI_NULL);
  };
  const SplitCase cases[] = {
      {"under a point light, seen straight on", false, [&](PreviewContext &c) {
         pointLight(c);
         unevenGrid(c);
       }, 255},
      {"under a point light, tilted in perspective", true, [&](PreviewContext &c) {
         pointLight(c);
         c.Rotate(-35, 1, 0, 0);
         c.Rotate(20, 0, 0, 1);
         unevenGrid(c);
       }, 255},
      {"with a highlight, half transparent", false, [](PreviewContext &c) {
         RtPoint to{0, 0, 1};
         c.LightSource(tok("distantlight"), tok("to"), to, RI_NULL);
         c.Surface(tok("plastic"), RI_NULL);
         RtColor half{0.5f, 0.5f, 0.5f};
         c.Opacity(half);
         unevenGrid(c);
       }, 128},
  };
  for (const SplitCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(64, 64,
                                 [&](PreviewContext &ctx) {
                                   ctx.ScreenWindow(-0.8f, 0.8f, -0.8f, 0.8f);
                                   if (!c.perspective) return;
                                   RtFloat fov = 60;
                                   ctx.Projection(tok("perspective"), tok("fov"), &fov, RI_NULL);
                                 },
                                 [&](PreviewContext &ctx) {
                                   ctx.Translate(0, 0, 2);
                                   c.world(ctx);
                                 });
    int wrong = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) wrong += drawn.picture.pixel(x, y)[3] != c.alpha;
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace

namespace {

// Splitting spends at most half the drawing budget: what comes after many
// large lit facets is still drawn, and no warning says the budget is spent.
TEST(PreviewFineLighting, SplittingLeavesHalfTheBudget) {
  const auto drawn = drawScene(256, 256, [](PreviewContext &c) { c.setDrawingBudget(100000); },
                               [](PreviewContext &c) {
                                 c.LightSource(tok("pointlight"), RI_NULL);
                                 c.Surface(tok("matte"), RI_NULL);
                                 RtFloat wall[] = {-2, -2, 3, -2, 2, 3, 2, 2, 3, 2, -2, 3};
                                 for (int i = 0; i < 50; ++i) c.Polygon(4, tok("P"), wall, RI_NULL);
                                 c.Surface(tok("constant"), RI_NULL);
                                 RtColor red{1, 0, 0};
                                 c.Color(red);
                                 c.Translate(0, 0, 2);
                                 // Some 20,000 triangles: more than a spent half would leave.
                                 for (int i = 0; i < 5; ++i) c.Sphere(0.1f, -0.1f, 0.1f, 360, RI_NULL);
                               });
  EXPECT_EQ(drawn.warnings, std::vector<std::string>{});
  EXPECT_EQ(drawn.picture.pixel(128, 128)[0], 255);
  EXPECT_EQ(drawn.picture.pixel(128, 128)[1], 0);
}

}  // namespace
