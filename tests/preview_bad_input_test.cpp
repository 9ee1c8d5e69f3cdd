// Bad input that a RIB stream can carry draws without crashing, within
// bounded memory, with at most one warning of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct BadCase {
  const char *what;
  std::function<void(PreviewContext &)> camera;
  std::function<void(PreviewContext &)> world;
};

RtFloat kSquare[] = {-1, -1, 1, -1, 1, 1, 1, 1, 1, 1, -1, 1};

void perspective(PreviewContext &ctx) {
  RtFloat fov = 60;
  ctx.Projection(tok("perspective"), tok("fov"), &fov, RI_NULL);
}

TEST(PreviewBadInput, DrawsWithoutCrashing) {
  const BadCase cases[] = {
      {"NaN and infinite coordinates", nullptr,
       [](PreviewContext &c) {
         RtFloat p[] = {kNaN, 0, 1, 1, kInf, 1, 0, 1, -kInf, 1, 1, 1};
         c.Polygon(4, tok("P"), p, RI_NULL);
         c.Sphere(kNaN, -1, 1, 360, RI_NULL);
         c.Torus(1, kInf, 0, 360, kNaN, RI_NULL);
         c.Translate(kNaN, 0, 0);
         c.Polygon(4, tok("P"), kSquare, RI_NULL);
       }},
      {"huge Format and PixelSamples",
       [](PreviewContext &c) {
         c.Format(1 << 30, 1 << 30, 1);
         c.PixelSamples(1e9f, kNaN);
       },
       [](PreviewContext &c) { c.Polygon(4, tok("P"), kSquare, RI_NULL); }},
      {"zero and negative Format, zero ScreenWindow, NaN crop",
       [](PreviewContext &c) {
         c.Format(0, -5, kNaN);
         c.ScreenWindow(1, 1, 0, 0);
         c.CropWindow(kNaN, 0.5f, 0.7f, 0.2f);
         c.FrameAspectRatio(-1);
         c.Clipping(5, 1);
         c.Exposure(kNaN, -1);
       },
       [](PreviewContext &c) { c.Sphere(1, -1, 1, 360, RI_NULL); }},
      {"zero and negative counts", nullptr,
       [](PreviewContext &c) {
         RtInt zero[] = {0}, negative[] = {-3, 4}, v[] = {0, 1, 2, 3};
         c.Polygon(0, tok("P"), kSquare, RI_NULL);
         c.PointsPolygons(0, zero, v, tok("P"), kSquare, RI_NULL);
         c.PointsPolygons(2, negative, v, tok("P"), kSquare, RI_NULL);
         c.GeneralPolygon(2, negative, tok("P"), kSquare, RI_NULL);
         c.PatchMesh(tok("bicubic"), -4, tok("periodic"), 0, tok("nonperiodic"), tok("P"), kSquare, RI_NULL);
         c.Curves(tok("cubic"), 1, negative, tok("nonperiodic"), tok("P"), kSquare, RI_NULL);
         c.Points(-1, tok("P"), kSquare, RI_NULL);
         c.SubdivisionMesh(tok("catmull-clark"), 2, negative, v, 0, nullptr, nullptr, nullptr, nullptr, tok("P"),
                           kSquare, RI_NULL);
       }},
      {"out-of-range indices and missing positions", nullptr,
       [](PreviewContext &c) {
         RtInt nv[] = {3}, v[] = {0, -7, 2};
         c.PointsPolygons(1, nv, v, tok("P"), kSquare, RI_NULL);
         c.Polygon(4, RI_NULL);
         RtColor cs[] = {{1, 0, 0}};
         c.Polygon(4, tok("Cs"), cs, RI_NULL);
       }},
      {"subdivision tags out of range", nullptr,
       [](PreviewContext &c) {
         RtInt nv[] = {4}, v[] = {0, 1, 2, 3};
         RtToken tags[] = {tok("crease"), tok("corner"), tok("hole"), tok("interpolateboundary"), tok("crease")};
         RtInt nargs[] = {4, 1, 2, 2, 1, 0, 1, 0, -3, 5};
         RtInt ints[] = {-1, 0, 99, 1, 7, -2, 5, -9};
         RtFloat floats[] = {kNaN, kInf, -1};
         c.SubdivisionMesh(tok("catmull-clark"), 1, nv, v, 5, tags, nargs, ints, floats, tok("P"), kSquare, RI_NULL);
       }},
      {"subdivision meshes of broken topology", nullptr,
       [](PreviewContext &c) {
         // Faces that repeat a vertex, an edge of three faces, a face of
         // one vertex, a vertex of no face, a crease along no edge, a
         // Loop mesh of these, and facevarying colours on it all.
         RtInt nv[] = {4, 3, 3, 3, 1, 3}, v[] = {0, 1, 1, 2, 0, 1, 3, 0, 1, 4, 1, 0, 4, 2, 2, 2, 3};
         RtFloat p[] = {0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 0.5f, -1, 2, 9, 9, 9};
         RtColor fv[17] = {};
         for (int k = 0; k < 17; ++k) fv[k][k % 3] = 1;
         RtToken tags[] = {tok("crease"), tok("corner"), tok("interpolateboundary")};
         RtInt nargs[] = {2, 1, 1, 1, 0, 0}, ints[] = {0, 2, 5};
         RtFloat floats[] = {kInf, 1e30f};
         for (const char *scheme : {"catmull-clark", "loop", "bilinear"})
           c.SubdivisionMesh(tok(scheme), 6, nv, v, 3, tags, nargs, ints, floats, tok("P"), p,
                             tok("facevarying color Cs"), fv, RI_NULL);
       }},
      {"blobby codes that point nowhere", nullptr,
       [](PreviewContext &c) {
         RtFloat flt[23] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
         // Operands ahead of their operation, of itself, out of range and
         // negative; a float index past the floats; counts that run past
         // the code; unknown codes.
         RtInt code[] = {1001, 0, 1001, 20, 1000, -1, 0, 3, 0, 5, 9, 4, 3, -2, 5, 1, 6, 77, 7, 1, 0, -4, 2, 99, 0};
         for (RtInt size = 1; size <= 25; ++size) c.Blobby(2, size, code, 16, flt, 0, nullptr, RI_NULL);
         RtFloat nan[23];
         std::fill(std::begin(nan), std::end(nan), kNaN);
         RtInt leaves[] = {1001, 0, 1002, 0, 1000, 0, 0, 3, 0, 1, 2};
         c.Blobby(3, 11, leaves, 23, nan, 0, nullptr, RI_NULL);
         RtFloat flat[23] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};  // no radius, no volume
         c.Blobby(2, 11, leaves, 23, flat, 0, nullptr, RI_NULL);
         RtFloat huge[16] = {1e30f, 0, 0, 0, 0, 1e30f, 0, 0, 0, 0, 1e-30f, 0, 0, 0, 0, 1};
         c.Blobby(1, 2, leaves, 16, huge, 0, nullptr, RI_NULL);
       }},
      {"degenerate matrices", nullptr,
       [](PreviewContext &c) {
         c.Scale(0, 0, 0);
         c.Sphere(1, -1, 1, 360, RI_NULL);
         RtMatrix zero = {{0}};
         c.Transform(zero);
         c.Polygon(4, tok("P"), kSquare, RI_NULL);
         RtMatrix nan = {{kNaN, 0, 0, 0}, {0, kNaN, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
         c.ConcatTransform(nan);
         c.Rotate(45, 0, 0, 0);
         c.Skew(90, 1, 0, 0, 1, 0, 0);
         c.Perspective(kNaN);
         c.Polygon(4, tok("P"), kSquare, RI_NULL);
       }},
      {"geometry crossing the near plane and the eye", perspective,
       [](PreviewContext &c) {
         RtFloat p[] = {-1, -1, -5, -1, 1, -5, 1, 1, 5, 1, -1, 5};
         c.Polygon(4, tok("P"), p, RI_NULL);
         RtFloat huge[] = {-1e30f, -1e30f, 1e-20f, -1e30f, 1e30f, 1e30f, 1e30f, 1e30f, 1e-9f};
         c.Polygon(3, tok("P"), huge, RI_NULL);
         c.Sphere(2, -2, 2, 360, RI_NULL);  // around the eye
         c.Perspective(90);
         c.Sphere(1, -1, 1, 360, RI_NULL);
       }},
      {"unusable knots, orders and patch types", nullptr,
       [](PreviewContext &c) {
         RtFloat knots[] = {1, 0, kNaN, 1}, p[16] = {0};
         c.NuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0, 1, tok("Pw"), p, RI_NULL);
         c.NuPatch(2, 40, knots, 0, 1, 2, 0, knots, 0, 1, tok("Pw"), p, RI_NULL);
         c.Patch(tok("trilinear"), tok("P"), p, RI_NULL);
         c.Basis(RiBezierBasis, 0, RiBezierBasis, -1);
         c.PatchMesh(tok("bicubic"), 4, tok("nonperiodic"), 4, tok("nonperiodic"), tok("P"), p, RI_NULL);
       }},
      {"handles and stacks out of step", nullptr,
       [](PreviewContext &c) {
         c.AttributeEnd();
         c.TransformEnd();
         c.Illuminate(reinterpret_cast<RtLightHandle>(12345), 1);
         c.Illuminate(nullptr, 0);
         c.ObjectInstance(reinterpret_cast<RtObjectHandle>(99));
         c.ObjectInstance(nullptr);
         c.ObjectEnd();
         c.MotionEnd();
         c.WorldBegin();
         c.CoordSysTransform(tok("nowhere"));
         c.Polygon(4, tok("P"), kSquare, RI_NULL);
       }},
  };
  for (const BadCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(64, 48, c.camera, c.world);
    EXPECT_GT(drawn.picture.width, 0);
    EXPECT_GT(drawn.picture.height, 0);
    EXPECT_LE(double(drawn.picture.width) * drawn.picture.height, 4096.0 * 4096.0);
    std::vector<std::string> sorted = drawn.warnings;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a warning came twice";
  }
}

TEST(PreviewBadInput, SkippedRequestsWarnOnceEach) {
  const auto drawn = drawScene(16, 16, nullptr, [](PreviewContext &c) {
    // A repelling plane and a plug-in field: leaves the blobby leaves out.
    RtInt code[] = {1003, 0, 0, 1004, 0, 1, 0, 0, 0};
    RtFloat flt[4] = {0, 1, 0, 0};
    RtToken str[] = {tok("")};
    for (int i = 0; i < 3; ++i) {
      c.Blobby(2, 9, code, 4, flt, 1, str, RI_NULL);
      c.Surface(tok("wood"), RI_NULL);
      c.LightSource(tok("fancylight"), RI_NULL);
      c.Geometry(tok("bunny"), RI_NULL);
      RtBound bound = {-1, 1, -1, 1, -1, 1};
      RtInt dimensions[] = {1, 1, 1};
      c.Volume(tok("blobbydso:impl_cloud"), bound, dimensions, RI_NULL);
    }
  });
  EXPECT_EQ(drawn.warnings.size(), 6u);
  for (const char *text : {"Blobby repelling planes skipped", "Blobby plug-in fields skipped"})
    EXPECT_EQ(std::count(drawn.warnings.begin(), drawn.warnings.end(), text), 1) << text;
}

// One ellipsoid, of radius 0.5.
RtInt kBlob[] = {1001, 0};
RtFloat kBlobFloats[] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Scenes built to draw without end stop at a budget with one warning, and
// the picture holds what was drawn before.
TEST(PreviewBadInput, BudgetsEndWhatWouldNotEnd) {
  const char *const kDrawingSpent = "more than 100000 units of drawing work: the rest is not drawn";
  const auto instances = [](PreviewContext &c) {  // 10^15 spheres without a budget
    RtObjectHandle previous = c.ObjectBegin();
    c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
    c.ObjectEnd();
    for (int level = 0; level < 15; ++level) {
      RtObjectHandle next = c.ObjectBegin();
      for (int i = 0; i < 10; ++i) c.ObjectInstance(previous);
      c.ObjectEnd();
      previous = next;
    }
    c.Translate(0, 0, 2);
    c.ObjectInstance(previous);
  };
  const struct {
    const char *what;
    std::function<void(PreviewContext &)> world;
    const char *warning;
  } cases[] = {
      {"instances of instances", instances, kDrawingSpent},
      {"a million spheres",
       [](PreviewContext &c) {
         c.Translate(0, 0, 2);
         for (int i = 0; i < 1000000; ++i) c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
       },
       kDrawingSpent},
      {"spheres under many lights",
       [](PreviewContext &c) {
         for (int i = 0; i < 20; ++i) c.LightSource(tok("pointlight"), RI_NULL);
         c.Translate(0, 0, 2);
         for (int i = 0; i < 1000; ++i) c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
       },
       kDrawingSpent},
      {"objects holding too much",
       [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         for (int i = 0; i < 100000; ++i) c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
         c.ObjectEnd();
         c.Translate(0, 0, 2);
         c.ObjectInstance(object);
       },
       "objects hold more than 20000 triangles"},
      {"blobbies",
       [](PreviewContext &c) {
         c.Translate(0, 0, 2);
         for (int i = 0; i < 1000; ++i) c.Blobby(1, 2, kBlob, 16, kBlobFloats, 0, nullptr, RI_NULL);
       },
       kDrawingSpent},
      {"blobbies in an object",
       [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         for (int i = 0; i < 1000; ++i) c.Blobby(1, 2, kBlob, 16, kBlobFloats, 0, nullptr, RI_NULL);
         c.ObjectEnd();
         c.Translate(0, 0, 2);
         c.ObjectInstance(object);
       },
       "objects hold more than 20000 triangles"},
      {"trimmed NuPatches",
       [](PreviewContext &c) {
         vellum_test::TrimLoops().circle(0.5f, 0.5f, 0.3f).circle(0.5f, 0.5f, 0.29f).circle(0.5f, 0.5f, 0.1f).apply(c);
         for (int i = 0; i < 1000; ++i) vellum_test::squareNuPatch(c, 2);
       },
       kDrawingSpent},
      {"a blobby too costly to sample",
       [](PreviewContext &c) {
         c.Translate(0, 0, 2);
         c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
         // The one leaf added 200000 times over, at every sample.
         std::vector<RtInt> code = {1001, 0, 0, 200000};
         code.resize(code.size() + 200000, 0);
         c.Blobby(1, RtInt(code.size()), code.data(), 16, kBlobFloats, 0, nullptr, RI_NULL);
       },
       "a blobby too complex to preview is skipped"},
  };
  for (const auto &c : cases) {
    const auto drawn = drawScene(
        16, 16,
        [](PreviewContext &ctx) {
          ctx.setDrawingBudget(100000);
          ctx.setObjectBudget(20000);
        },
        c.world);
    ASSERT_EQ(drawn.warnings.size(), 1u) << c.what;
    EXPECT_EQ(drawn.warnings[0].rfind(c.warning, 0), 0u) << c.what << ": " << drawn.warnings[0];
    EXPECT_TRUE(vellum_test::covered(drawn.picture, 8, 8)) << c.what;
  }
}

TEST(PreviewBadInput, HugeFormatIsScaledDownWithOneWarning) {
  const auto drawn = drawScene(20000, 10000, nullptr, nullptr);
  EXPECT_LE(drawn.picture.width, 8192);
  EXPECT_LE(double(drawn.picture.width) * drawn.picture.height, 4096.0 * 4096.0);
  EXPECT_EQ(drawn.picture.width, 2 * drawn.picture.height);
  EXPECT_EQ(drawn.warnings.size(), 1u);
}

}  // namespace
