// Every kind of primitive the preview renderer draws covers the pixels
// where it should and leaves others empty.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "preview/surfaces/teapot.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::PreviewContext;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

// The camera: orthographic, -2..2 both ways over 100 × 100 pixels, so the
// point (x, y) is pixel ((x + 2) · 25, (2 - y) · 25); things sit at z = 5.
struct PrimitiveCase {
  const char *what;
  std::function<void(PreviewContext &)> draw;
  int insideX, insideY;    // a pixel that must be covered
  int outsideX, outsideY;  // one that must not
};

RtFloat kSquare[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0};

void patchGrid(std::vector<RtFloat> &p, int nu, int nv, float size) {
  for (int j = 0; j < nv; ++j)
    for (int i = 0; i < nu; ++i) p.insert(p.end(), {size * (2.0f * i / (nu - 1) - 1), size * (2.0f * j / (nv - 1) - 1), 0});
}

// A volume of the given shape in the bound -1..1 each way, its z axis
// turned to point up the picture.
void sideVolume(PreviewContext &c, const char *shape) {
  RtBound bound = {-1, 1, -1, 1, -1, 1};
  RtInt dimensions[] = {1, 1, 1};
  c.Rotate(-90, 1, 0, 0);
  c.Volume(tok(shape), bound, dimensions, RI_NULL);
}

const std::vector<PrimitiveCase> &cases() {
  static const std::vector<PrimitiveCase> all = {
      {"Polygon", [](PreviewContext &c) { c.Polygon(4, tok("P"), kSquare, RI_NULL); }, 50, 50, 10, 10},
      {"concave Polygon",
       [](PreviewContext &c) {
         // An L: the notch at the upper right stays empty.
         RtFloat p[] = {-1, -1, 0, -1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, -1, 0};
         c.Polygon(6, tok("P"), p, RI_NULL);
       },
       40, 60, 62, 38},
      {"GeneralPolygon with a hole",
       [](PreviewContext &c) {
         RtInt loops[] = {4, 4};
         RtFloat p[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0, -0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0};
         c.GeneralPolygon(2, loops, tok("P"), p, RI_NULL);
       },
       30, 50, 50, 50},
      {"PointsPolygons",
       [](PreviewContext &c) {
         RtInt nv[] = {3, 3}, v[] = {0, 1, 2, 0, 2, 3};
         c.PointsPolygons(2, nv, v, tok("P"), kSquare, RI_NULL);
       },
       60, 40, 90, 90},
      {"PointsGeneralPolygons",
       [](PreviewContext &c) {
         RtInt nloops[] = {2}, nv[] = {4, 4}, v[] = {0, 1, 2, 3, 4, 5, 6, 7};
         RtFloat p[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0, -0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0};
         c.PointsGeneralPolygons(1, nloops, nv, v, tok("P"), p, RI_NULL);
       },
       30, 50, 50, 50},
      {"bilinear Patch", [](PreviewContext &c) {
         RtFloat p[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
         c.Patch(tok("bilinear"), tok("P"), p, RI_NULL);
       }, 50, 50, 10, 90},
      {"bicubic Patch (Bezier)",
       [](PreviewContext &c) {
         std::vector<RtFloat> p;
         patchGrid(p, 4, 4, 1);
         c.Patch(tok("bicubic"), tok("P"), p.data(), RI_NULL);
       },
       30, 70, 5, 5},
      {"periodic b-spline PatchMesh",
       [](PreviewContext &c) {
         // A ring of 8 control points around z, 4 rows high, seen from the side.
         c.Basis(RiBSplineBasis, 1, RiBSplineBasis, 1);
         c.Rotate(90, 1, 0, 0);
         std::vector<RtFloat> p;
         for (int j = 0; j < 4; ++j)
           for (int i = 0; i < 8; ++i)
             p.insert(p.end(), {std::cos(i * 0.785398f), std::sin(i * 0.785398f), -1.5f + j});
         c.PatchMesh(tok("bicubic"), 8, tok("periodic"), 4, tok("nonperiodic"), tok("P"), p.data(), RI_NULL);
       },
       50, 50, 50, 10},
      {"bilinear PatchMesh with Pz",
       [](PreviewContext &c) {
         // Pz spans the unit square from the origin.
         RtFloat pz[9] = {0, 0, 0, 0, 0.2f, 0, 0, 0, 0};
         c.PatchMesh(tok("bilinear"), 3, tok("nonperiodic"), 3, tok("nonperiodic"), tok("Pz"), pz, RI_NULL);
       },
       60, 40, 40, 60},
      {"NuPatch",
       [](PreviewContext &c) {
         RtFloat knots[] = {0, 0, 1, 1};
         RtFloat pw[] = {-1, -1, 0, 1, 1, -1, 0, 1, -1, 1, 0, 1, 1, 1, 0, 1};
         c.NuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0, 1, tok("Pw"), pw, RI_NULL);
       },
       50, 50, 5, 50},
      {"Sphere", [](PreviewContext &c) { c.Sphere(1, -1, 1, 360, RI_NULL); }, 50, 50, 20, 20},
      {"Sphere cut by zmax and thetamax",
       [](PreviewContext &c) {
         // Turned so that +z points up: the lower half remains.
         c.Rotate(-90, 1, 0, 0);
         c.Sphere(1, -1, 0, 360, RI_NULL);
       },
       50, 70, 50, 30},
      {"Cone", [](PreviewContext &c) { c.Cone(1, 1, 360, RI_NULL); }, 60, 50, 80, 80},
      {"Cylinder",
       [](PreviewContext &c) {
         c.Rotate(90, 1, 0, 0);
         c.Cylinder(0.5f, -1, 1, 360, RI_NULL);
       },
       50, 30, 75, 50},
      {"Disk with thetamax 90", [](PreviewContext &c) { c.Disk(0, 1, 90, RI_NULL); }, 60, 40, 40, 60},
      {"Hyperboloid",
       [](PreviewContext &c) {
         RtPoint a{1, 0, -0.5f}, b{0, 1, 0.5f};
         c.Hyperboloid(a, b, 360, RI_NULL);
       },
       27, 50, 5, 5},
      {"Paraboloid",
       [](PreviewContext &c) {
         c.Rotate(90, 1, 0, 0);
         c.Paraboloid(1, 0, 1, 360, RI_NULL);  // opening toward -y
       },
       50, 60, 50, 40},
      {"Torus", [](PreviewContext &c) { c.Torus(1, 0.3f, 0, 360, 360, RI_NULL); }, 25, 50, 50, 50},
      {"SubdivisionMesh with a hole",
       [](PreviewContext &c) {
         // A 3 × 3 grid of quads whose middle face is a hole.
         std::vector<RtFloat> p;
         patchGrid(p, 4, 4, 1.5f);
         std::vector<RtInt> nv(9, 4), v;
         for (int j = 0; j < 3; ++j)
           for (int i = 0; i < 3; ++i) v.insert(v.end(), {j * 4 + i, j * 4 + i + 1, j * 4 + i + 5, j * 4 + i + 4});
         RtToken tags[] = {tok("hole"), tok("interpolateboundary")};
         RtInt nargs[] = {1, 0, 0, 0}, intargs[] = {4};
         c.SubdivisionMesh(tok("catmull-clark"), 9, nv.data(), v.data(), 2, tags, nargs, intargs, nullptr, tok("P"),
                           p.data(), RI_NULL);
       },
       50, 25, 50, 50},
      {"SubdivisionMesh with interpolateboundary 2",
       [](PreviewContext &c) {
         // One face, its corners kept smooth: its outline is the closed
         // B-spline of its corners, which reaches out to 0.92 at the middles
         // of the sides but only to (0.67, 0.67) toward the corners; the
         // pixels tested are at x = 0.82.
         RtInt nv[] = {4}, v[] = {0, 1, 2, 3}, nargs[] = {1, 0}, edgesOnly[] = {2};
         RtToken tags[] = {tok("interpolateboundary")};
         c.SubdivisionMesh(tok("catmull-clark"), 1, nv, v, 1, tags, nargs, edgesOnly, nullptr, tok("P"), kSquare,
                           RI_NULL);
       },
       70, 50, 70, 30},
      {"Blobby",
       [](PreviewContext &c) {
         // An ellipsoid twice the unit sphere: the surface at half its reach.
         RtInt code[] = {1001, 0};
         RtFloat flt[] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
         c.Blobby(1, 2, code, 16, flt, 0, nullptr, RI_NULL);
       },
       30, 50, 50, 20},
      {"Blobby subtraction",
       [](PreviewContext &c) {
         // A small ellipsoid at the right taken from a big one: the big
         // one's left stays, its right is hollowed.
         RtInt code[] = {1001, 0, 1001, 16, 4, 0, 1};
         RtFloat flt[32] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1,
                            1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
         c.Blobby(2, 7, code, 32, flt, 0, nullptr, RI_NULL);
       },
       37, 50, 70, 50},
      {"Volume box",
       [](PreviewContext &c) {
         RtBound bound = {1, -1, -0.5f, 0.5f, 0, 2};  // any order of the limits
         RtInt dimensions[] = {1, 1, 1};
         c.Volume(tok("box"), bound, dimensions, RI_NULL);
       },
       70, 55, 50, 30},
      // Seen from the side (z up): each shape leaves empty a corner of its
      // bound that the others cover.
      {"Volume ellipsoid", [](PreviewContext &c) { sideVolume(c, "ellipsoid"); }, 50, 50, 71, 29},
      {"Volume cylinder", [](PreviewContext &c) { sideVolume(c, "cylinder"); }, 72, 27, 80, 50},
      {"Volume cone", [](PreviewContext &c) { sideVolume(c, "cone"); }, 70, 72, 70, 27},
      {"linear Curves",
       [](PreviewContext &c) {
         RtInt nv[] = {2};
         RtFloat p[] = {-1, 0, 0, 1, 0, 0};
         RtFloat width = 0.2f;
         c.Curves(tok("linear"), 1, nv, tok("nonperiodic"), tok("P"), p, tok("constantwidth"), &width, RI_NULL);
       },
       50, 50, 50, 40},
      {"cubic Curves with varying width",
       [](PreviewContext &c) {
         RtInt nv[] = {4};
         RtFloat p[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0};  // an arch
         RtFloat width[] = {0.3f, 0.3f};
         c.Curves(tok("cubic"), 1, nv, tok("nonperiodic"), tok("P"), p, tok("width"), width, RI_NULL);
       },
       50, 37, 50, 60},
      {"Points",
       [](PreviewContext &c) {
         RtFloat p[] = {-1, 0, 0, 1, 0, 0};
         c.Points(2, tok("P"), p, RI_NULL);  // width 1
         },
       25, 50, 50, 50},
      {"ObjectInstance, twice",
       [](PreviewContext &c) {
         RtObjectHandle object = c.ObjectBegin();
         c.Sphere(0.4f, -0.4f, 0.4f, 360, RI_NULL);
         c.ObjectEnd();
         c.Translate(-1, 0, 0);
         c.ObjectInstance(object);
         c.Translate(2, 0, 0);
         c.ObjectInstance(object);
       },
       75, 50, 50, 50},
      {"MotionBegin uses the first sample",
       [](PreviewContext &c) {
         RtFloat times[] = {0, 1};
         c.MotionBeginV(2, times);
         c.Translate(-1, 0, 0);
         c.Translate(1, 0, 0);
         c.MotionEnd();
         c.Sphere(0.4f, -0.4f, 0.4f, 360, RI_NULL);
       },
       25, 50, 75, 50},
  };
  return all;
}

TEST(PreviewPrimitives, EachKindCoversItsPixels) {
  for (const PrimitiveCase &c : cases()) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(100, 100, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                                 [&](PreviewContext &ctx) {
                                   ctx.Translate(0, 0, 5);
                                   c.draw(ctx);
                                 });
    EXPECT_TRUE(covered(drawn.picture, c.insideX, c.insideY));
    EXPECT_EQ(drawn.picture.pixel(c.outsideX, c.outsideY)[3], 0);
    EXPECT_TRUE(drawn.warnings.empty()) << drawn.warnings.front();
  }
}

// Subdivision meshes cover the pixels of the shape a renderer draws of
// them, within 2% of its area: their edges are the limit surface's at
// the depth the preview subdivides to.
TEST(PreviewPrimitives, SubdivisionMeshesTakeTheirLimitShape) {
  using Draw = std::function<void(PreviewContext &)>;
  static RtInt cubeNv[] = {4, 4, 4, 4, 4, 4};
  static RtInt cubeV[] = {0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4};
  static RtFloat cubeP[] = {-1, -1, 1, 1, -1, 1, -1, 1, 1, 1, 1, 1, -1, 1, -1, 1, 1, -1, -1, -1, -1, 1, -1, -1};
  static std::vector<RtFloat> grid;  // 4 × 4 points, the middle four raised
  if (grid.empty()) {
    patchGrid(grid, 4, 4, 4.5f);
    for (int k : {5, 6, 9, 10}) grid[3 * size_t(k) + 2] = -2;
  }
  static std::vector<RtInt> gridNv(9, 4), gridV;
  if (gridV.empty())
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) gridV.insert(gridV.end(), {j * 4 + i, j * 4 + i + 1, j * 4 + i + 5, j * 4 + i + 4});
  static RtToken interpolate[] = {tok("interpolateboundary")};
  static RtInt noArgs[] = {0, 0};
  const auto quad = [](RtInt ntags) -> Draw {
    return [=](PreviewContext &c) {
      RtInt nv[] = {4}, v[] = {0, 1, 2, 3};
      c.SubdivisionMesh(tok("catmull-clark"), 1, nv, v, ntags, interpolate, noArgs, nullptr, nullptr, tok("P"),
                        kSquare, RI_NULL);
    };
  };
  const auto turned = [](Draw draw) -> Draw {
    return [=](PreviewContext &c) {
      c.Rotate(-25, 1, 0, 0);
      c.Rotate(35, 0, 1, 0);
      draw(c);
    };
  };
  const struct {
    const char *what;
    Draw subdivision, shape;
  } cases[] = {
      {"a face with interpolateboundary: the polygon", quad(1),
       [](PreviewContext &c) { c.Polygon(4, tok("P"), kSquare, RI_NULL); }},
      {"a face without interpolateboundary: nothing", quad(0), [](PreviewContext &) {}},
      {"a cube creased all round: the cube", turned([](PreviewContext &c) {
         RtToken crease = tok("crease");
         RtToken tags[] = {crease, crease, crease, crease, crease, crease};
         RtInt nargs[] = {5, 1, 5, 1, 2, 1, 2, 1, 2, 1, 2, 1};
         RtInt chains[] = {0, 1, 3, 2, 0, 6, 7, 5, 4, 6, 0, 6, 1, 7, 2, 4, 3, 5};
         RtFloat sharpness[] = {10, 10, 10, 10, 10, 10};
         c.SubdivisionMesh(tok("catmull-clark"), 6, cubeNv, cubeV, 6, tags, nargs, chains, sharpness, tok("P"), cubeP,
                           RI_NULL);
       }),
       turned([](PreviewContext &c) { c.PointsPolygons(6, cubeNv, cubeV, tok("P"), cubeP, RI_NULL); })},
      {"an open grid without interpolateboundary: the b-spline patch of its middle", turned([](PreviewContext &c) {
         c.SubdivisionMesh(tok("catmull-clark"), 9, gridNv.data(), gridV.data(), 0, nullptr, nullptr, nullptr, nullptr,
                           tok("P"), grid.data(), RI_NULL);
       }),
       turned([](PreviewContext &c) {
         c.Basis(RiBSplineBasis, 1, RiBSplineBasis, 1);
         c.Patch(tok("bicubic"), tok("P"), grid.data(), RI_NULL);
       })},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const auto draw = [](const Draw &scene) {
      return drawScene(100, 100, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                       [&](PreviewContext &ctx) {
                         ctx.Translate(0, 0, 5);
                         scene(ctx);
                       });
    };
    const auto drawn = draw(c.subdivision), expected = draw(c.shape);
    int differing = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) differing += covered(drawn.picture, x, y) != covered(expected.picture, x, y);
    EXPECT_LE(differing, vellum_test::coveredCount(expected.picture) / 50);
    EXPECT_EQ(drawn.warnings, std::vector<std::string>{});
  }
}

// The same grid with its middle face a hole, named after a tag whose
// arguments include strings: drawn the same either way.
TEST(PreviewPrimitives, HierarchicalSubdivisionMeshDrawsAsASubdivisionMesh) {
  std::vector<RtFloat> p;
  patchGrid(p, 4, 4, 1.5f);
  std::vector<RtInt> nv(9, 4), v;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) v.insert(v.end(), {j * 4 + i, j * 4 + i + 1, j * 4 + i + 5, j * 4 + i + 4});
  RtToken tags[] = {tok("vertexedit"), tok("hole"), tok("interpolateboundary")};
  RtToken strings[] = {tok("add"), tok("value"), tok("P")};
  RtInt intargs[] = {1, 5, 4}, hierarchical[] = {2, 1, 3, 1, 0, 0, 0, 0, 0}, plain[] = {2, 1, 1, 0, 0, 0};
  RtFloat floatargs[] = {0.5f};
  const auto draw = [&](bool hierarchy) {
    return drawScene(100, 100, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                     [&](PreviewContext &ctx) {
                       ctx.Translate(0, 0, 5);
                       if (hierarchy)
                         ctx.HierarchicalSubdivisionMesh(tok("catmull-clark"), 9, nv.data(), v.data(), 3, tags,
                                                         hierarchical, intargs, floatargs, strings, tok("P"),
                                                         p.data(), RI_NULL);
                       else
                         ctx.SubdivisionMesh(tok("catmull-clark"), 9, nv.data(), v.data(), 3, tags, plain, intargs,
                                             floatargs, tok("P"), p.data(), RI_NULL);
                     });
  };
  const auto hierarchy = draw(true), flat = draw(false);
  EXPECT_TRUE(covered(hierarchy.picture, 50, 25));
  EXPECT_EQ(hierarchy.picture.pixel(50, 50)[3], 0);
  EXPECT_EQ(hierarchy.picture.rgba, flat.picture.rgba);
  EXPECT_EQ(hierarchy.warnings, flat.warnings);
}

// Geometry "teapot" is the teapot's patches in the Bezier basis, whatever
// the current basis.
TEST(PreviewPrimitives, TeapotIsItsPatchesInTheBezierBasis) {
  const auto draw = [&](bool geometry) {
    return drawScene(100, 100, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                     [&](PreviewContext &ctx) {
                       ctx.Translate(0, -0.75f, 5);
                       ctx.Rotate(-90, 1, 0, 0);
                       ctx.Scale(0.5f, 0.5f, 0.5f);
                       if (!geometry) {
                         for (const float *patch : vellum::preview::kTeapotPatches)
                           ctx.Patch(tok("bicubic"), tok("P"), const_cast<float *>(patch), RI_NULL);
                         return;
                       }
                       ctx.Basis(RiCatmullRomBasis, 1, RiCatmullRomBasis, 1);
                       ctx.Geometry(tok("teapot"), RI_NULL);
                     });
  };
  const auto teapot = draw(true), patches = draw(false);
  EXPECT_TRUE(covered(teapot.picture, 50, 50));
  EXPECT_EQ(teapot.picture.pixel(5, 50)[3], 0);
  EXPECT_EQ(teapot.picture.rgba, patches.picture.rgba);
  EXPECT_EQ(teapot.warnings, std::vector<std::string>{});
}

}  // namespace
