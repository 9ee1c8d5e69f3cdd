// Subdivision meshes: their schemes and tags as OpenSubdiv takes them,
// facevarying colours, what refining costs, and the control polygons of a
// build without OpenSubdiv.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/work_meter.h"
#include "preview/surfaces/subdivision_surface.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::WorkMeter;
using vellum::preview::ControlMesh;
using vellum::preview::Image;
using vellum::preview::kLimitSurfaces;
using vellum::preview::planSubdivision;
using vellum::preview::PreviewContext;
using vellum::preview::SubdivisionScheme;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

using Draw = std::function<void(PreviewContext &)>;

// A cube of side 2 about the origin, turned to show three faces.
RtInt kCubeNv[] = {4, 4, 4, 4, 4, 4};
RtInt kCubeV[] = {0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4};
RtFloat kCubeP[] = {-1, -1, 1, 1, -1, 1, -1, 1, 1, 1, 1, 1, -1, 1, -1, 1, 1, -1, -1, -1, -1, 1, -1, -1};
// An octahedron of radius 1.5: eight triangles.
RtInt kOctaNv[] = {3, 3, 3, 3, 3, 3, 3, 3};
RtInt kOctaV[] = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
RtFloat kOctaP[] = {1.5f, 0, 0, -1.5f, 0, 0, 0, 1.5f, 0, 0, -1.5f, 0, 0, 0, 1.5f, 0, 0, -1.5f};

struct Drawn {
  Image picture;
  std::vector<std::string> warnings;
};

Drawn draw(const Draw &scene) {
  const auto drawn = drawScene(64, 64, [](PreviewContext &c) { c.ScreenWindow(-2, 2, -2, 2); },
                               [&](PreviewContext &c) {
                                 RtPoint from{-1, 1, -1}, to{0, 0, 0};
                                 c.LightSource(tok("distantlight"), tok("from"), from, tok("to"), to, RI_NULL);
                                 c.Surface(tok("matte"), RI_NULL);
                                 c.Translate(0, 0, 5);
                                 c.Rotate(-25, 1, 0, 0);
                                 c.Rotate(35, 0, 1, 0);
                                 scene(c);
                               });
  return {drawn.picture, drawn.warnings};
}

// The pixels whose coverage differs.
int coverageDifference(const Image &a, const Image &b) {
  int differing = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) differing += covered(a, x, y) != covered(b, x, y);
  return differing;
}

int largestDifference(const Image &a, const Image &b) {
  int largest = 0;
  for (size_t i = 0; i < a.rgba.size() && i < b.rgba.size(); ++i)
    largest = std::max(largest, std::abs(int(a.rgba[i]) - int(b.rgba[i])));
  return largest;
}

Draw cube(const char *scheme, RtInt ntags = 0, RtToken tags[] = nullptr, RtInt nargs[] = nullptr,
          RtInt ints[] = nullptr, RtFloat floats[] = nullptr) {
  return [=](PreviewContext &c) {
    c.SubdivisionMesh(tok(scheme), 6, kCubeNv, kCubeV, ntags, tags, nargs, ints, floats, tok("P"), kCubeP, RI_NULL);
  };
}

Draw octahedron(const char *scheme) {
  return [=](PreviewContext &c) {
    c.SubdivisionMesh(tok(scheme), 8, kOctaNv, kOctaV, 0, nullptr, nullptr, nullptr, nullptr, tok("P"), kOctaP,
                      RI_NULL);
  };
}

const Draw kCubePolygons = [](PreviewContext &c) { c.PointsPolygons(6, kCubeNv, kCubeV, tok("P"), kCubeP, RI_NULL); };

// Each scheme takes the shape it makes of the mesh: bilinear keeps the
// cube, Catmull-Clark rounds it within it, Loop rounds the octahedron
// otherwise than Catmull-Clark does.
TEST(PreviewSubdivision, SchemesMakeTheirOwnShapes) {
  if (!kLimitSurfaces) GTEST_SKIP() << "built without OpenSubdiv";
  const Drawn polygons = draw(kCubePolygons), bilinear = draw(cube("bilinear")),
              catmullClark = draw(cube("catmull-clark")), loop = draw(octahedron("loop")),
              octaCatmullClark = draw(octahedron("catmull-clark"));
  const int cubeArea = vellum_test::coveredCount(polygons.picture);
  EXPECT_LE(coverageDifference(bilinear.picture, polygons.picture), cubeArea / 100);
  // Rounded well within the cube: its corners are cut away.
  EXPECT_LT(vellum_test::coveredCount(catmullClark.picture), cubeArea * 3 / 4);
  EXPECT_GT(coverageDifference(loop.picture, octaCatmullClark.picture), 20);
  for (const Drawn *drawn : {&bilinear, &catmullClark, &loop, &octaCatmullClark})
    EXPECT_EQ(drawn->warnings, std::vector<std::string>{});
}

TEST(PreviewSubdivision, SchemesItCannotTakeAreDrawnByCatmullClark) {
  if (!kLimitSurfaces) GTEST_SKIP() << "built without OpenSubdiv";
  const Drawn catmullClark = draw(cube("catmull-clark"));
  const struct {
    const char *what;
    Draw scene;
    const char *warning;
  } cases[] = {
      {"loop on quadrilaterals", cube("loop"),
       "a Loop subdivision mesh with faces that are not triangles is drawn by Catmull-Clark"},
      {"an unknown scheme", cube("butterfly"), "subdivision scheme \"butterfly\" is drawn as catmull-clark"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const Drawn drawn = draw(c.scene);
    EXPECT_EQ(drawn.picture.rgba, catmullClark.picture.rgba);
    EXPECT_EQ(drawn.warnings, std::vector<std::string>{c.warning});
  }
}

// Tags that change the rules change the surface, without a warning;
// those that cannot be taken are named.
TEST(PreviewSubdivision, RuleTagsChangeTheSurface) {
  if (!kLimitSurfaces) GTEST_SKIP() << "built without OpenSubdiv";
  // The cube's top face creased along its edges, each edge otherwise
  // sharp: uniform and Chaikin creasing differ where sharpness changes
  // along a crease.
  static RtToken creaseTags[] = {tok("crease"), tok("creasemethod")};
  static RtInt creaseArgs[] = {5, 4, 0, 0, 0, 1}, chain[] = {0, 1, 3, 2, 0};
  static RtFloat sharpness[] = {0.5f, 3, 0.5f, 3};
  static RtToken chaikin[] = {tok("chaikin")}, normal[] = {tok("normal")};
  const auto creased = [](RtToken *method) -> Draw {
    return [=](PreviewContext &c) {
      c.HierarchicalSubdivisionMesh(tok("catmull-clark"), 6, kCubeNv, kCubeV, 2, creaseTags, creaseArgs, chain,
                                    sharpness, method, tok("P"), kCubeP, RI_NULL);
    };
  };
  static RtToken smooth[] = {tok("smoothtriangles")};
  static RtInt one[] = {1}, oneInt[] = {1, 0};
  const Drawn uniform = draw(creased(normal)), chaikinDrawn = draw(creased(chaikin)),
              triangles = draw(octahedron("catmull-clark")), smoothTriangles = draw([](PreviewContext &c) {
                c.SubdivisionMesh(tok("catmull-clark"), 8, kOctaNv, kOctaV, 1, smooth, oneInt, one, nullptr, tok("P"),
                                  kOctaP, RI_NULL);
              });
  EXPECT_GT(largestDifference(uniform.picture, chaikinDrawn.picture), 8);
  EXPECT_GT(coverageDifference(triangles.picture, smoothTriangles.picture), 10);
  for (const Drawn *drawn : {&uniform, &chaikinDrawn, &triangles, &smoothTriangles})
    EXPECT_EQ(drawn->warnings, std::vector<std::string>{});
  // Without its string (a plain SubdivisionMesh has none) "creasemethod"
  // is ignored, as are tags not known and edits of finer levels.
  static RtToken others[] = {tok("creasemethod"), tok("stitch"), tok("vertexedit")};
  static RtInt noArgs[] = {0, 0, 0, 0, 0, 0};
  const Drawn ignored = draw(cube("catmull-clark", 3, others, noArgs));
  EXPECT_EQ(ignored.warnings, (std::vector<std::string>{"subdivision tag \"creasemethod\" ignored",
                                                        "subdivision tag \"stitch\" ignored",
                                                        "subdivision tag \"vertexedit\" ignored"}));
}

// A facevarying colour is interpolated across the faces, not taken from
// its first value: one face, red on its left corners and blue on its
// right, with "interpolateboundary" and each facevarying rule.
TEST(PreviewSubdivision, FacevaryingColoursAreInterpolated) {
  if (!kLimitSurfaces) GTEST_SKIP() << "built without OpenSubdiv";
  static RtFloat square[] = {-1, -1, 0, -1, 1, 0, 1, 1, 0, 1, -1, 0};
  static RtColor cs[] = {{1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}};
  for (int rule = 0; rule <= 3; ++rule) {
    SCOPED_TRACE(rule);
    const auto drawn = drawScene(32, 32, [](PreviewContext &c) { c.ScreenWindow(-2, 2, -2, 2); },
                                 [&](PreviewContext &c) {
                                   c.Surface(tok("constant"), RI_NULL);
                                   c.Translate(0, 0, 5);
                                   RtInt nv[] = {4}, v[] = {0, 1, 2, 3}, nargs[] = {0, 0, 1, 0}, ints[] = {rule};
                                   RtToken tags[] = {tok("interpolateboundary"),
                                                     tok("facevaryinginterpolateboundary")};
                                   c.SubdivisionMesh(tok("catmull-clark"), 1, nv, v, 2, tags, nargs, ints, nullptr,
                                                     tok("P"), square, tok("facevarying color Cs"), cs, RI_NULL);
                                 });
    const uint8_t *left = drawn.picture.pixel(10, 16), *middle = drawn.picture.pixel(16, 16),
                  *right = drawn.picture.pixel(21, 16);
    EXPECT_GT(left[0], left[2] + 50);
    EXPECT_NEAR(middle[0], middle[2], 16);
    EXPECT_GT(right[2], right[0] + 50);
    EXPECT_EQ(drawn.warnings, std::vector<std::string>{});
  }
}

// Tags as they are read: defaults, arguments out of range left out, a
// crease chain's sharpness one for all or one an edge, strings only in the
// hierarchical form.
TEST(PreviewSubdivision, TagsAreReadAsTheyAreGiven) {
  using vellum::preview::readSubdivisionTags;
  using vellum::preview::SubdivisionTags;
  const struct {
    const char *what;
    std::vector<const char *> tags;
    std::vector<int32_t> nargs, ints;
    std::vector<float> floats;
    std::vector<const char *> strings;
    bool hierarchical;
    std::function<void(const SubdivisionTags &)> check;
  } cases[] = {
      {"none", {}, {}, {}, {}, {}, false, [](const SubdivisionTags &t) {
         EXPECT_EQ(t.interpolateBoundary, 0);
         EXPECT_EQ(t.faceVaryingBoundary, 1);
         EXPECT_FALSE(t.chaikin || t.smoothTriangles || t.propagateCorners);
       }},
      {"interpolateboundary without an argument is 1",
       {"interpolateboundary"}, {0, 0}, {}, {}, {}, false,
       [](const SubdivisionTags &t) { EXPECT_EQ(t.interpolateBoundary, 1); }},
      {"interpolateboundary 2", {"interpolateboundary"}, {1, 0}, {2}, {}, {}, false,
       [](const SubdivisionTags &t) { EXPECT_EQ(t.interpolateBoundary, 2); }},
      {"interpolateboundary 7", {"interpolateboundary"}, {1, 0}, {7}, {}, {}, false,
       [](const SubdivisionTags &t) { EXPECT_EQ(t.interpolateBoundary, 1); }},
      {"facevarying rule 3 and propagated corners", {"facevaryinginterpolateboundary", "facevaryingpropagatecorners"},
       {1, 0, 1, 0}, {3, 1}, {}, {}, false, [](const SubdivisionTags &t) {
         EXPECT_EQ(t.faceVaryingBoundary, 3);
         EXPECT_TRUE(t.propagateCorners);
       }},
      {"a crease chain, one sharpness for all", {"crease"}, {4, 1}, {0, 1, 3, 2}, {2.5f}, {}, false,
       [](const SubdivisionTags &t) {
         EXPECT_EQ(t.creases, (std::vector<int32_t>{0, 1, 1, 3, 3, 2}));
         EXPECT_EQ(t.creaseSharpness, (std::vector<float>{2.5f, 2.5f, 2.5f}));
       }},
      {"a crease chain, one an edge, unsharp and missing vertices left out", {"crease"}, {4, 3}, {0, 1, 9, 2},
       {2, 0, 3}, {}, false, [](const SubdivisionTags &t) {
         EXPECT_EQ(t.creases, (std::vector<int32_t>{0, 1}));
         EXPECT_EQ(t.creaseSharpness, (std::vector<float>{2}));
       }},
      {"corners and holes in range", {"corner", "hole"}, {3, 1, 3, 0}, {4, -1, 5, 0, 6, 2}, {10}, {}, false,
       [](const SubdivisionTags &t) {
         EXPECT_EQ(t.corners, (std::vector<int32_t>{4, 5}));
         EXPECT_EQ(t.cornerSharpness, (std::vector<float>{10, 10}));
         EXPECT_EQ(t.holes, (std::vector<int32_t>{0, 2}));
       }},
      {"creasemethod chaikin, and an edit named", {"creasemethod", "vertexedit"}, {0, 0, 1, 0, 0, 2}, {},
       {}, {"chaikin", "add", "value"}, true, [](const SubdivisionTags &t) {
         EXPECT_TRUE(t.chaikin);
         EXPECT_EQ(t.ignored, std::vector<std::string>{"vertexedit"});
       }},
      {"a negative count ends the reading", {"smoothtriangles", "hole", "smoothtriangles"}, {1, 0, -1, 0, 0, 0},
       {0}, {}, {}, false, [](const SubdivisionTags &t) {
         EXPECT_FALSE(t.smoothTriangles);
         EXPECT_TRUE(t.holes.empty());
       }},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const auto tags = readSubdivisionTags(int(c.tags.size()), c.tags.data(), c.nargs.data(), c.ints.data(),
                                          c.floats.data(), c.strings.data(), c.hierarchical, 8, 3);
    c.check(tags);
  }
}

ControlMesh meshOf(SubdivisionScheme scheme, int faces, int sides) {
  ControlMesh mesh;
  mesh.scheme = scheme;
  mesh.faceSizes.assign(size_t(faces), sides);
  mesh.faceVertices.assign(size_t(faces) * size_t(sides), 0);
  return mesh;
}

// Refining goes as deep as kMostFaces faces allow, at most kMostLevels,
// and costs more the more it makes: a hostile mesh is refined little and
// pays first.
TEST(PreviewSubdivision, RefiningIsBoundedAndPaidFor) {
  if (!kLimitSurfaces) GTEST_SKIP() << "built without OpenSubdiv";
  const struct {
    const char *what;
    ControlMesh mesh;
    int levels;
  } cases[] = {
      {"a cube: small, refined to the most levels", meshOf(SubdivisionScheme::kCatmullClark, 6, 4), 5},
      {"10,000 quadrilaterals: 160,000 faces at the second level", meshOf(SubdivisionScheme::kCatmullClark, 10000, 4),
       2},
      {"50,000 quadrilaterals: 200,000 at the first", meshOf(SubdivisionScheme::kCatmullClark, 50000, 4), 1},
      {"60,000 quadrilaterals: not refined", meshOf(SubdivisionScheme::kCatmullClark, 60000, 4), 0},
      {"one face of 100,000 sides: 100,000 quadrilaterals at the first level",
       meshOf(SubdivisionScheme::kCatmullClark, 1, 100000), 1},
      {"1,000 Loop triangles: 64,000 at the third level", meshOf(SubdivisionScheme::kLoop, 1000, 3), 3},
      {"two faces of 60,000 sides: their middles cost the square of that", meshOf(SubdivisionScheme::kCatmullClark, 2,
                                                                                   60000),
       1},
      {"Loop of quadrilaterals counts as Catmull-Clark", meshOf(SubdivisionScheme::kLoop, 10000, 4), 2},
  };
  uint64_t previousWork = 0;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const auto plan = planSubdivision(c.mesh);
    EXPECT_EQ(plan.levels, c.levels);
    // At least a unit of work for every face made and every face given.
    uint64_t faces = c.mesh.faceSizes.size(), made = c.mesh.faceVertices.size();
    if (c.mesh.scheme == SubdivisionScheme::kLoop && c.mesh.faceVertices.size() == 3 * faces) made = 4 * faces;
    EXPECT_GE(plan.work, faces + (c.levels > 0 ? made : 0));
    for (int32_t sides : c.mesh.faceSizes) EXPECT_GE(plan.work, uint64_t(sides) * uint64_t(sides));
    if (&c != &cases[0]) {
      EXPECT_NE(plan.work, previousWork);
    }
    previousWork = plan.work;
  }
  // The context charges the plan before refining: a meter that cannot pay
  // for it and for the 12,288 triangles drawn (and 16 for the primitive)
  // draws nothing of the mesh.
  ControlMesh cubeMesh = meshOf(SubdivisionScheme::kCatmullClark, 6, 4);
  cubeMesh.faceVertices.assign(std::begin(kCubeV), std::end(kCubeV));
  cubeMesh.vertexCount = 8;
  // 4 for each of the 6 faces and the 8,184 made in five levels, 8 for
  // each of the 6,144 of the last, 16 for each face's four sides and 9 for
  // each vertex's three faces.
  const uint64_t refining = planSubdivision(cubeMesh).work;
  ASSERT_EQ(refining, 4u * (6 + 8184) + 8 * 6144 + 6 * 16 + 8 * 9);
  for (const uint64_t budget : {refining + 12288 + 16 - 1, refining + 12288 + 16}) {
    SCOPED_TRACE(budget);
    const auto drawn = drawScene(32, 32, [&](PreviewContext &c) { c.setDrawingBudget(budget); },
                                 [](PreviewContext &c) {
                                   c.Translate(0, 0, 5);
                                   cube("catmull-clark")(c);
                                 });
    EXPECT_EQ(covered(drawn.picture, 16, 16), budget == refining + 12288 + 16);
  }
}

// Without OpenSubdiv, the faces as given, flat, with one warning.
TEST(PreviewSubdivision, WithoutOpenSubdivTheControlPolygonsAreDrawn) {
  if (kLimitSurfaces) GTEST_SKIP() << "built with OpenSubdiv";
  const Drawn drawn = draw([](PreviewContext &c) {
    cube("catmull-clark")(c);
    cube("loop")(c);
  });
  const Drawn polygons = draw(kCubePolygons);
  EXPECT_EQ(coverageDifference(drawn.picture, polygons.picture), 0);
  EXPECT_EQ(drawn.warnings,
            std::vector<std::string>{"built without OpenSubdiv: subdivision meshes are drawn as their control polygons"});
}

}  // namespace
