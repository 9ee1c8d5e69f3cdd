// State that later RIB keeps beside the attributes: clipping planes,
// scoped coordinate systems and saved attributes, and how far each reaches.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

using Pixels = std::vector<std::pair<int, int>>;

// The camera of the primitives' test: the point (x, y) is pixel
// ((x + 2) · 25, (2 - y) · 25); things sit at z = 5.
struct StateCase {
  const char *what;
  std::function<void(PreviewContext &)> world;
  Pixels inside, outside;  // pixels that must be covered, and empty
  std::vector<std::string> warnings;
};

void square(PreviewContext &c) {
  RtFloat p[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0};
  c.Polygon(4, tok("P"), p, RI_NULL);
}

// Clips away x > 0.
void clipRight(PreviewContext &c) { c.ClippingPlane(0, 0, 0, 1, 0, 0); }

// A ball at the origin, drawn at pixel 50 + 25x for the origin at x.
void ball(PreviewContext &c) { c.Sphere(0.4f, -0.4f, 0.4f, 360, RI_NULL); }

void resource(PreviewContext &c, const char *handle, const char *operation, const char *type = "attributes") {
  RtString value[] = {tok(operation)};
  c.Resource(tok(handle), tok(type), tok("string operation"), value, RI_NULL);
}

const Pixels kLeft = {{40, 50}}, kRight = {{60, 50}};
const Pixels kAtMinus1 = {{25, 50}}, kAt0 = {{50, 50}}, kAt1 = {{75, 50}};
const char *const kNoLamp = "coordinate system \"lamp\" is not known: the transform is unchanged";

TEST(PreviewState, ReachesWhereItShould) {
  const StateCase cases[] = {
      {"ClippingPlane cuts away the side its normal points to", [](PreviewContext &c) {
         clipRight(c);
         square(c);
       }, kLeft, kRight, {}},
      {"ClippingPlane in the space current when it is given", [](PreviewContext &c) {
         c.TransformBegin();
         c.Translate(0.5f, 0, 0);
         c.Rotate(90, 0, 0, 1);
         c.ClippingPlane(0, 0, 0, 0, -1, 0);  // x > 0.5 once turned and moved
         c.TransformEnd();
         square(c);
       }, {{56, 50}}, {{69, 50}}, {}},
      {"ClippingPlanes accumulate", [](PreviewContext &c) {
         clipRight(c);
         c.ClippingPlane(0, 0, 0, 0, 1, 0);
         square(c);
       }, {{40, 60}}, {{40, 40}, {60, 60}}, {}},
      {"ClippingPlane ends with its attribute block", [](PreviewContext &c) {
         c.AttributeBegin();
         clipRight(c);
         c.AttributeEnd();
         square(c);
       }, kRight, {}, {}},
      {"ClippingPlane clips instances where they are drawn, and points", [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         square(c);
         c.ObjectEnd();
         clipRight(c);
         c.ObjectInstance(object);
         c.Translate(0, 1.5f, 0);
         RtFloat p[] = {-1, 0, 0, 1, 0, 0};
         c.Points(2, tok("P"), p, RI_NULL);
       }, {{40, 50}, {25, 12}}, {{60, 50}, {75, 12}}, {}},
      {"a ClippingPlane in an object's definition cuts each instance where it is placed", [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         clipRight(c);
         ball(c);
         c.ObjectEnd();
         c.Translate(-1, 0, 0);
         c.ObjectInstance(object);
         c.Translate(2, 0, 0);
         c.ObjectInstance(object);
       }, {{20, 50}, {70, 50}}, {{30, 50}, {80, 50}}, {}},
      {"a ClippingPlane in force at ObjectBegin is not the object's", [](PreviewContext &c) {
         c.AttributeBegin();
         clipRight(c);
         RtObjectHandle object = c.ObjectBegin();
         c.ClippingPlane(0, 0, 0, 0, 1, 0);  // its own: y > 0 cut away
         square(c);
         c.ObjectEnd();
         c.AttributeEnd();
         c.ObjectInstance(object);
       }, {{40, 60}, {60, 60}}, {{40, 40}, {60, 40}}, {}},
      {"a one-sided Volume box cut open shows no inside", [](PreviewContext &c) {
         // Its near half cut away: the far face turns its back to the eye.
         c.Sides(1);
         c.ClippingPlane(0, 0, 0, 0, 0, -1);
         RtBound bound = {-1, 1, -1, 1, -1, 1};
         RtInt dimensions[] = {1, 1, 1};
         c.Volume(tok("box"), bound, dimensions, RI_NULL);
       }, {}, {{50, 50}}, {}},
      {"a one-sided Blobby cut open shows no inside", [](PreviewContext &c) {
         // A ball of radius 1, cut by a slanted plane: its near side is
         // left at the far left, and only the far side's inside behind
         // the middle.
         c.Sides(1);
         c.ClippingPlane(0, 0, 0, 2, 0, -1);
         RtInt code[] = {1001, 0};
         RtFloat flt[] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
         c.Blobby(1, 2, code, 16, flt, 0, nullptr, RI_NULL);
       }, {{30, 50}}, {{50, 50}}, {}},
      {"ClippingPlane without a normal is ignored", [](PreviewContext &c) {
         c.ClippingPlane(0, 0, 0, 0, 0, 0);
         square(c);
       }, kRight, {}, {"ClippingPlane without a usable normal or in a flat coordinate system: ignored"}},
      {"ClippingPlanes past 32 are ignored", [](PreviewContext &c) {
         for (int i = 0; i < 32; ++i) clipRight(c);
         c.ClippingPlane(0, 0, 0, -1, 0, 0);
         c.ClippingPlane(0, 0, 0, -1, 0, 0);
         square(c);
       }, kLeft, kRight, {"more than 32 clipping planes: the rest are ignored"}},
      {"ScopedCoordinateSystem is forgotten at AttributeEnd", [](PreviewContext &c) {
         c.AttributeBegin();
         c.Translate(1, 0, 0);
         c.ScopedCoordinateSystem(tok("lamp"));
         c.AttributeEnd();
         c.CoordSysTransform(tok("lamp"));
         ball(c);
       }, kAt0, kAt1, {kNoLamp}},
      {"an inner ScopedCoordinateSystem gives way to the outer one", [](PreviewContext &c) {
         c.AttributeBegin();
         c.TransformBegin();
         c.Translate(-1, 0, 0);
         c.ScopedCoordinateSystem(tok("lamp"));
         c.TransformEnd();
         c.AttributeBegin();
         c.Translate(1, 0, 0);
         c.ScopedCoordinateSystem(tok("lamp"));
         c.AttributeEnd();
         c.CoordSysTransform(tok("lamp"));
         ball(c);
         c.AttributeEnd();
       }, kAtMinus1, kAt1, {}},
      {"the CoordinateSystem a ScopedCoordinateSystem hid comes back", [](PreviewContext &c) {
         c.TransformBegin();
         c.Translate(-1, 0, 0);
         c.CoordinateSystem(tok("lamp"));
         c.TransformEnd();
         c.AttributeBegin();
         c.Translate(1, 0, 0);
         c.ScopedCoordinateSystem(tok("lamp"));
         c.AttributeEnd();
         c.CoordSysTransform(tok("lamp"));
         ball(c);
       }, kAtMinus1, kAt1, {}},
      {"a CoordinateSystem after a ScopedCoordinateSystem outlives the block", [](PreviewContext &c) {
         c.AttributeBegin();
         c.TransformBegin();
         c.Translate(1, 0, 0);
         c.ScopedCoordinateSystem(tok("lamp"));
         c.Translate(-2, 0, 0);
         c.CoordinateSystem(tok("lamp"));
         c.TransformEnd();
         c.AttributeEnd();
         c.CoordSysTransform(tok("lamp"));
         ball(c);
       }, kAtMinus1, kAt1, {}},
      {"Resource restores the attributes saved, not the transform", [](PreviewContext &c) {
         resource(c, "plain", "save");
         clipRight(c);
         c.Translate(1, 0, 0);
         resource(c, "plain", "restore");
         ball(c);
       }, kAt1, kAt0, {}},
      {"Resource outlives attribute blocks and is seen in a ResourceBegin block", [](PreviewContext &c) {
         c.AttributeBegin();
         clipRight(c);
         resource(c, "cut", "save");
         c.AttributeEnd();
         c.ResourceBegin();
         resource(c, "cut", "restore");
         square(c);
         c.ResourceEnd();
       }, kLeft, kRight, {}},
      {"Resource is forgotten at ResourceEnd", [](PreviewContext &c) {
         c.ResourceBegin();
         c.AttributeBegin();
         clipRight(c);
         resource(c, "cut", "save");
         c.AttributeEnd();
         c.ResourceEnd();
         resource(c, "cut", "restore");
         square(c);
       }, kRight, {}, {"resource \"cut\" is not known: the attributes are unchanged"}},
      {"unknown Resource operations and types warn once each", [](PreviewContext &c) {
         for (int i = 0; i < 2; ++i) {
           resource(c, "r", "frobnicate");
           resource(c, "r", "save", "shading");
         }
         square(c);
       }, kRight, {}, {"Resource operation \"frobnicate\" skipped", "Resource type \"shading\" skipped"}},
  };
  for (const StateCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(100, 100, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                                 [&](PreviewContext &ctx) {
                                   ctx.Translate(0, 0, 5);
                                   c.world(ctx);
                                 });
    for (const auto &[x, y] : c.inside) EXPECT_TRUE(covered(drawn.picture, x, y)) << x << "," << y;
    for (const auto &[x, y] : c.outside) EXPECT_EQ(drawn.picture.pixel(x, y)[3], 0) << x << "," << y;
    EXPECT_EQ(drawn.warnings, c.warnings);
  }
}

}  // namespace
