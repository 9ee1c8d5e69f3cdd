// Solids (SolidBegin ... SolidEnd) are drawn as the boolean of their parts.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

using Scene = std::function<void(PreviewContext &)>;

// Orthographic, 32 × 32 pixels over -1..1.  Sphere A (red) is at the left,
// sphere B (blue) at the right and nearer; they overlap in the middle.
// Pixels (6, 16), (16, 16) and (26, 16) see A alone, both, and B alone.
struct SolidCase {
  const char *what;
  Scene camera, world;
  const char *seen;  // at the three pixels: A, B, G (green), W (white) or . (empty)
  std::vector<std::string> warnings;
};

Scene sphere(float x, float z, float radius, RtColor color) {
  return [=](PreviewContext &c) {
    RtColor cs{color[0], color[1], color[2]};
    c.AttributeBegin();
    c.Color(cs);
    c.Translate(x, 0, z);
    c.Sphere(radius, -radius, radius, 360, RI_NULL);
    c.AttributeEnd();
  };
}

RtColor kRed{1, 0, 0}, kBlue{0, 0, 1}, kGreen{0, 1, 0};
const Scene kA = sphere(-0.25f, 2, 0.5f, kRed), kB = sphere(0.25f, 1.8f, 0.5f, kBlue);

Scene then(std::vector<Scene> steps) {
  return [=](PreviewContext &c) {
    for (const Scene &step : steps) step(c);
  };
}

Scene block(const char *operation, std::vector<Scene> inside) {
  return [=](PreviewContext &c) {
    c.SolidBegin(tok(operation));
    then(inside)(c);
    c.SolidEnd();
  };
}

// SolidBegin `operation` with each part a "primitive" solid of its own.
Scene solid(const char *operation, std::vector<Scene> parts) {
  for (Scene &part : parts) part = block("primitive", {part});
  return block(operation, parts);
}

// A cylinder along the view at x = 0.25, from z = 1.2 to 2.8, boring
// through A, capped by two disks that face the same way (or apart), or by
// the far one alone.
Scene cappedCylinder(bool facingApart, bool nearCap = true) {
  return [=](PreviewContext &c) {
    c.AttributeBegin();
    c.Color(kBlue);
    c.Translate(0.25f, 0, 0);
    c.Cylinder(0.3f, 1.2f, 2.8f, 360, RI_NULL);
    c.Disk(2.8f, 0.3f, 360, RI_NULL);
    if (facingApart) c.Scale(1, 1, -1);
    if (nearCap) c.Disk(facingApart ? -1.2f : 1.2f, 0.3f, 360, RI_NULL);
    c.AttributeEnd();
  };
}

char seenAt(const vellum::preview::Image &picture, int x, int y) {
  if (!covered(picture, x, y)) return '.';
  const uint8_t *p = picture.pixel(x, y);
  if (p[0] == p[1] && p[1] == p[2]) return 'W';
  return p[0] > p[1] && p[0] > p[2] ? 'A' : p[2] > p[1] ? 'B' : 'G';
}

const char kOpenPart[] = "a part of a solid does not close a volume: the solid is drawn as a union";
const char kTooLarge[] =
    "a solid is too large to combine (more than 8 samples of surface a sample of the picture, 16000000 in all, 64 at "
    "one sample, 65536 parts or 64 levels): it is drawn as a union";

TEST(PreviewSolids, DrawWhatTheBooleanLeaves) {
  const std::vector<SolidCase> cases = {
      {"union", nullptr, solid("union", {kA, kB}), "ABB", {}},
      {"intersection: A's front where the ray is in both", nullptr, solid("intersection", {kA, kB}), ".A.", {}},
      {"difference: B's far wall where it carves A", nullptr, solid("difference", {kA, kB}), "AB.", {}},
      {"difference in the other order", nullptr, solid("difference", {kB, kA}), ".BB", {}},
      {"surfaces directly in an operation are primitives of their own", nullptr,
       block("intersection", {kA, kB}), ".A.", {}},
      {"nested: a union less a sphere in the middle", nullptr,
       block("difference", {solid("union", {kA, kB}), block("primitive", {sphere(0.03f, 1.4f, 0.3f, kGreen)})}),
       "AGB", {}},
      {"one-sided parts still show the carved wall", nullptr,
       then({[](PreviewContext &c) { c.Sides(1); }, solid("difference", {kA, kB})}), "AB.", {}},
      {"what the solid takes away shows what is behind", nullptr,
       then({sphere(0.7f, 3, 0.3f, kGreen), solid("difference", {kA, kB})}), "ABG", {}},
      {"cut open by a clipping plane: the inside shows, no warning", nullptr,
       then({[](PreviewContext &c) { c.ClippingPlane(0, 0, 2, 0, 0, -1); }, solid("difference", {kA, kB})}), "AB.",
       {}},
      {"a mirrored screen window", [](PreviewContext &c) { c.ScreenWindow(1, -1, -1, 1); },
       solid("intersection", {kA, kB}), ".A.", {}},
      {"left open at WorldEnd", nullptr,
       then({[](PreviewContext &c) { c.SolidBegin(tok("difference")); }, block("primitive", {kA}),
             block("primitive", {kB})}),
       "AB.", {}},
      {"SolidEnd without SolidBegin", nullptr, then({[](PreviewContext &c) { c.SolidEnd(); }, kA, kB}), "ABB", {}},
      {"an unknown operation is a union", nullptr, solid("xor", {kA, kB}), "ABB",
       {"SolidBegin \"xor\" is not an operation: drawn as \"union\""}},
      {"a part that is not closed, named where it was given", nullptr,
       solid("difference", {kA,
                             [](PreviewContext &c) {
                               c.Color(kBlue);
                               c.Translate(0.25f, 0, 1.8f);
                               c.setPlaceOfRequest([] { return std::string("Disk at scene.rib:12"); });
                               c.Disk(0, 0.5f, 360, RI_NULL);
                             }}),
       "AAB",
       {"a part of a solid does not close a volume (Disk at scene.rib:12): the solid is drawn as a union"}},
      {"a capped cylinder closes whichever way its caps face", nullptr,
       solid("difference", {kA, cappedCylinder(false)}), "A..", {}},
      {"a capped cylinder whose caps face apart", nullptr, solid("difference", {kA, cappedCylinder(true)}), "A..",
       {}},
      {"a capped cylinder with its caps reversed", nullptr,
       then({[](PreviewContext &c) { c.ReverseOrientation(); }, solid("difference", {kA, cappedCylinder(false)})}),
       "A..", {}},
      {"a cylinder with one cap is not closed", nullptr, solid("difference", {kA, cappedCylinder(false, false)}),
       "AA.", {kOpenPart}},
      {"a half sphere is not closed", nullptr,
       solid("difference", {kA,
                             [](PreviewContext &c) {
                               c.Color(kBlue);
                               c.Translate(0.25f, 0, 1.8f);
                               c.Sphere(0.5f, -0.5f, 0, 360, RI_NULL);
                             }}),
       "ABB", {kOpenPart}},
      {"a solid inside a primitive belongs to it", nullptr, solid("difference", {kA, block("difference", {kB})}),
       "AB.", {"SolidBegin inside a \"primitive\" solid: its surfaces are part of the primitive"}},
      {"inside an object definition: drawn as a union, in the colours the definition sets", nullptr,
       [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         solid("difference", {kA, kB})(c);
         c.ObjectEnd();
         c.ObjectInstance(object);
       },
       "ABB", {"SolidBegin inside an object definition: its parts are drawn as a union"}},
      {"too many surfaces at one sample: drawn as a union", nullptr,
       [](PreviewContext &c) {
         std::vector<Scene> shells;  // small, in a corner
         for (int k = 0; k < 33; ++k) shells.push_back(sphere(-0.8f, 1, 0.1f - 0.002f * float(k), kGreen));
         solid("difference", {kA, kB, then(shells)})(c);
       },
       "ABB", {kTooLarge}},
      {"too many surfaces in all: drawn as a union", nullptr,
       [](PreviewContext &c) {
         std::vector<Scene> shells;  // far behind, each over the whole picture
         for (int k = 0; k < 4; ++k) shells.push_back(sphere(0, 6, 3 - 0.1f * float(k), kGreen));
         solid("difference", {kA, kB, then(shells)})(c);
       },
       "ABB", {kTooLarge}},
  };
  for (const SolidCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(32, 32, c.camera, [&](PreviewContext &ctx) {
      ctx.Surface(tok("constant"), RI_NULL);
      c.world(ctx);
    });
    const std::string seen{seenAt(drawn.picture, 6, 16), seenAt(drawn.picture, 16, 16), seenAt(drawn.picture, 26, 16)};
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(drawn.warnings, c.warnings);
  }
}

}  // namespace

namespace {

// qview tells the preview where each request was read, so that a part
// that does not close a volume is named by its primitive and line.
TEST(PreviewSolids, QviewNamesAPartThatIsNotClosed) {
  const std::string picture = vellum_test::tempPath("open_part.png");
  const vellum_test::ChildResult run = vellum_test::runProgram(std::string(VELLUM_QVIEW) + " -o " + picture,
                                                               "Format 32 32 1\n"
                                                               "WorldBegin\n"
                                                               "SolidBegin \"difference\"\n"
                                                               "  SolidBegin \"primitive\"\n"
                                                               "    Translate 0 0 2\n"
                                                               "    Sphere 0.5 -0.5 0.5 360\n"
                                                               "  SolidEnd\n"
                                                               "  SolidBegin \"primitive\"\n"
                                                               "    Translate 0.2 0 1.8\n"
                                                               "    Disk 0 0.5 360\n"
                                                               "  SolidEnd\n"
                                                               "SolidEnd\n"
                                                               "WorldEnd\n");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err,
            "qview: a part of a solid does not close a volume (Disk at <stdin>:10): the solid is drawn as a union\n"
            "qview: picture written to " + picture + "\n"
            "qview: 13 requests, 1 world, 2 primitives, 0 errors\n");
  EXPECT_EQ(std::remove(picture.c_str()), 0);
}

}  // namespace
