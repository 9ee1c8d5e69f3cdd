// TrimCurve cuts the NuPatches drawn while it is in force, by the even-odd
// rule over its loops (Attribute "trimcurve" "sense" "outside" keeping the
// rest), and an unusable trim curve costs one warning, never a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::squareNuPatch;
using vellum_test::tok;
using vellum_test::TrimLoops;

using UV = std::pair<float, float>;  // a point of the square patch's (u, v)

void outsideSense(PreviewContext &c, const char *sense) {
  RtToken value[] = {tok(sense)};
  c.Attribute(tok("trimcurve"), tok("sense"), value, RI_NULL);
}

TEST(PreviewTrim, TrimCurvesCutNuPatches) {
  const char *loopLeftOut = "a TrimCurve loop with unusable orders, knots or points is left out";
  const struct {
    const char *what;
    std::function<void(PreviewContext &)> world;
    std::vector<UV> drawn, empty;
    std::vector<std::string> warnings = {};
    int uPoints = 2;  // the patch's control points along u
  } cases[] = {
      {"a circle keeps its disc", [](PreviewContext &c) { TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c); },
       {{0.5f, 0.5f}, {0.75f, 0.5f}}, {{0.05f, 0.05f}, {0.5f, 0.9f}}},
      {"a loop inside another cuts a hole",
       [](PreviewContext &c) { TrimLoops().circle(0.5f, 0.5f, 0.45f).circle(0.5f, 0.5f, 0.2f).apply(c); },
       {{0.85f, 0.5f}, {0.5f, 0.15f}}, {{0.5f, 0.5f}, {0.05f, 0.05f}}},
      {"a patch with more spans in u than in v is cut where its loop is",
       [](PreviewContext &c) { TrimLoops().circle(0.3f, 0.6f, 0.2f).apply(c); }, {{0.3f, 0.6f}},
       {{0.05f, 0.6f}, {0.7f, 0.6f}}, {}, 4},
      {"sense \"outside\" keeps what lies outside",
       [](PreviewContext &c) {
         outsideSense(c, "outside");
         TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c);
       },
       {{0.05f, 0.05f}, {0.5f, 0.9f}}, {{0.5f, 0.5f}}},
      {"an unknown sense is ignored",
       [](PreviewContext &c) {
         outsideSense(c, "outside");
         outsideSense(c, "sideways");
         TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c);
       },
       {{0.05f, 0.05f}}, {{0.5f, 0.5f}},
       {"Attribute \"trimcurve\" \"sense\" \"sideways\" is not \"inside\" or \"outside\": ignored"}},
      {"AttributeEnd ends it",
       [](PreviewContext &c) {
         c.AttributeBegin();
         TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c);
         c.AttributeEnd();
       },
       {{0.5f, 0.5f}, {0.05f, 0.05f}}, {}},
      {"other primitives are not cut",
       [](PreviewContext &c) {
         TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c);
         RtFloat p[] = {-0.9f, -0.9f, 2, -0.9f, 0, 2, 0, 0, 2, 0, -0.9f, 2};
         c.Polygon(4, tok("P"), p, RI_NULL);
       },
       {{0.05f, 0.05f}}, {{0.95f, 0.95f}}},
      {"an object's own trim curve cuts its NuPatches",
       [](PreviewContext &c) {
         TrimLoops().circle(0.1f, 0.1f, 0.05f).apply(c);  // not the definition's
         RtObjectHandle object = c.ObjectBegin();
         TrimLoops().circle(0.5f, 0.5f, 0.3f).apply(c);
         squareNuPatch(c, 2);
         c.ObjectEnd();
         // Nor does the trim curve where it is placed (which leaves nothing
         // of the square drawn after it).
         TrimLoops().circle(5, 5, 1).apply(c);
         c.ObjectInstance(object);
       },
       {{0.5f, 0.5f}}, {{0.05f, 0.05f}, {0.95f, 0.95f}}},
      {"unusable loops are left out, the rest kept",
       [](PreviewContext &c) {
         for (int bad = 0; bad < 4; ++bad) {
           TrimLoops loops;
           loops.circle(0.5f, 0.5f, 0.3f).circle(0.5f, 0.5f, 0.1f);
           if (bad == 0) loops.w[12] = 0;
           if (bad == 1) loops.knot[15] = NAN;
           if (bad == 2) loops.order[1] = 0;
           if (bad == 3) loops.order[1] = 100, loops.knot.resize(loops.knot.size() + 97);
           loops.apply(c);
         }
       },
       {{0.5f, 0.5f}}, {{0.05f, 0.05f}}, {loopLeftOut}},
      {"a trim curve with unusable counts leaves the patch whole",
       [](PreviewContext &c) {
         TrimLoops loops;
         loops.circle(0.5f, 0.5f, 0.3f).ncurves[0] = -1;
         loops.apply(c);
         RtInt one[] = {1};
         c.TrimCurve(1, one, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
       },
       {{0.5f, 0.5f}, {0.05f, 0.05f}}, {},
       {"a TrimCurve with negative counts is ignored: NuPatches are drawn untrimmed"}},
      {"a trim curve with too many points leaves the patch whole",
       [](PreviewContext &c) {
         TrimLoops loops;
         loops.circle(0.5f, 0.5f, 0.3f).n[0] = 70000;
         for (int i = 0; i < 70000; ++i) loops.knot.push_back(float(i + 1)), loops.u.push_back(0), loops.v.push_back(0), loops.w.push_back(1);
         loops.max[0] = 1e30f;
         loops.apply(c);
       },
       {{0.5f, 0.5f}, {0.05f, 0.05f}}, {},
       {"a TrimCurve with more than 65536 curves, 1048576 control points or 65536 points to draw is ignored: "
        "NuPatches are drawn untrimmed"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(32, 32, nullptr, [&](PreviewContext &ctx) {
      c.world(ctx);
      squareNuPatch(ctx, 2, c.uPoints);
    });
    EXPECT_EQ(drawn.warnings, c.warnings);
    // The patch spans pixels 1.6 to 30.4 both ways, v upward.
    auto covered = [&](UV at) {
      return vellum_test::covered(drawn.picture, int(1.6f + 28.8f * at.first), int(30.4f - 28.8f * at.second));
    };
    for (UV at : c.drawn) EXPECT_TRUE(covered(at)) << at.first << ", " << at.second;
    for (UV at : c.empty) EXPECT_FALSE(covered(at)) << at.first << ", " << at.second;
  }
}

}  // namespace
