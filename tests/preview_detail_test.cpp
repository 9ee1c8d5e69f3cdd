// Level of detail: which of a model's representations the preview draws.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

// A cube of half-side h at the origin: at z = 5 in the test's camera its
// detail is 400·h² pixels.
void detailCube(PreviewContext &c, float h) {
  RtBound bound = {-h, h, -h, h, -h, h};
  c.Detail(bound);
}

// Three representations over one another, half transparent: red for
// details up to 100-300, green up to 1000-3000, blue beyond.
void representations(PreviewContext &c) {
  const struct {
    RtFloat range[4];
    RtColor color;
  } levels[] = {{{0, 0, 100, 300}, {1, 0, 0}}, {{100, 300, 1000, 3000}, {0, 1, 0}}, {{1000, 3000, 1e38f, 1e38f}, {0, 0, 1}}};
  RtColor half = {0.5f, 0.5f, 0.5f};
  RtFloat square[] = {-2, -2, 0, -2, 2, 0, 2, 2, 0, 2, -2, 0};
  for (const auto &level : levels) {
    c.AttributeBegin();
    c.DetailRange(level.range[0], level.range[1], level.range[2], level.range[3]);
    c.Color(const_cast<RtFloat *>(level.color));
    c.Opacity(half);
    c.Polygon(4, tok("P"), square, RI_NULL);
    c.AttributeEnd();
  }
}

// Which representation covers the middle of the picture: "red", "green",
// "blue", "none" or "several".
std::string drawnThere(const vellum::preview::Image &picture) {
  const uint8_t *p = picture.pixel(20, 20);
  if (p[3] == 0) return "none";
  if (p[3] < 127 || p[3] > 128) return "several";
  if (p[0] == 255 && p[1] == 0 && p[2] == 0) return "red";
  if (p[0] == 0 && p[1] == 255 && p[2] == 0) return "green";
  if (p[0] == 0 && p[1] == 0 && p[2] == 255) return "blue";
  return "several";
}

struct DetailCase {
  const char *what;
  bool perspective;
  std::function<void(PreviewContext &)> world;
  const char *drawn;
};

TEST(PreviewDetail, OneRepresentationIsDrawn) {
  const DetailCase cases[] = {
      {"the one whose range holds the detail", false, [](PreviewContext &c) {
         detailCube(c, 1);  // 400
         representations(c);
       }, "green"},
      {"in a transition, the one below its middle", false, [](PreviewContext &c) {
         detailCube(c, 0.6f);  // 144
         representations(c);
       }, "red"},
      {"in a transition, the one above its middle", false, [](PreviewContext &c) {
         detailCube(c, 0.8f);  // 256
         representations(c);
       }, "green"},
      {"the bound measured in the space current at Detail", false, [](PreviewContext &c) {
         c.TransformBegin();
         c.Scale(3, 3, 3);
         detailCube(c, 1);  // 3600
         c.TransformEnd();
         representations(c);
       }, "blue"},
      {"without a detail bound, the most detailed", false, representations, "blue"},
      {"a bound reaching behind the eye, the most detailed", true, [](PreviewContext &c) {
         RtBound bound = {-1, 1, -1, 1, -10, 1};
         c.Detail(bound);
         representations(c);
       }, "blue"},
      {"an object's own ranges, by the size of a small instance", false, [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         detailCube(c, 1);
         representations(c);
         c.ObjectEnd();
         c.Scale(0.6f, 0.6f, 0.6f);
         c.ObjectInstance(object);
       }, "red"},
      {"an object's own ranges, by the size of a large instance", false, [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         detailCube(c, 1);
         representations(c);
         c.ObjectEnd();
         c.Scale(3, 3, 3);
         c.ObjectInstance(object);
       }, "blue"},
      {"ranges where objects are placed", false, [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         representations(c);
         c.ObjectEnd();
         detailCube(c, 0.8f);  // 256
         c.ObjectInstance(object);
       }, "green"},
  };
  for (const DetailCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(40, 40,
                                 [&](PreviewContext &ctx) {
                                   ctx.ScreenWindow(-2, 2, -2, 2);
                                   if (!c.perspective) return;
                                   RtFloat fov = 90;
                                   ctx.Projection(tok("perspective"), tok("fov"), &fov, RI_NULL);
                                 },
                                 [&](PreviewContext &ctx) {
                                   ctx.Surface(tok("constant"), RI_NULL);
                                   ctx.Translate(0, 0, 5);
                                   c.world(ctx);
                                 });
    EXPECT_EQ(drawnThere(drawn.picture), c.drawn);
    EXPECT_TRUE(drawn.warnings.empty());
  }
}

}  // namespace
