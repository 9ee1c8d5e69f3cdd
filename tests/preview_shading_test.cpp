// Shading, lights, colour classes, sides and orientation, and the archive
// hook of the preview renderer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

// A square at z = 2 facing the camera (clockwise as seen from it).
RtFloat kSquare[] = {-1, -1, 2, -1, 1, 2, 1, 1, 2, 1, -1, 2};
// The same square wound the other way: its back faces the camera.
RtFloat kBackSquare[] = {-1, -1, 2, 1, -1, 2, 1, 1, 2, -1, 1, 2};

int red(const Image &picture, int x, int y) { return picture.pixel(x, y)[0]; }

struct LightCase {
  const char *what;
  std::function<void(PreviewContext &)> lights;
};

// Lights that reach a surface (and the headlight) are pinned by the
// pictures of preview_pictures_test.cpp; these reach nothing.
TEST(PreviewShading, LightsOffOrAwayLeaveAMatteSquareBlack) {
  const LightCase cases[] = {
      {"spotlight aimed away", [](PreviewContext &c) {
         RtFloat intensity = 4;
         RtPoint to{1, 0, 0};
         c.LightSource(tok("spotlight"), tok("intensity"), &intensity, tok("to"), to, RI_NULL);
       }},
      {"light switched off by Illuminate", [](PreviewContext &c) {
         RtLightHandle light = c.LightSource(tok("distantlight"), RI_NULL);
         c.Illuminate(light, 0);
       }},
      {"light off outside its attribute block", [](PreviewContext &c) {
         c.AttributeBegin();
         c.LightSource(tok("distantlight"), RI_NULL);
         c.AttributeEnd();
       }},
      {"plug-in light switched off by Illuminate", [](PreviewContext &c) {
         c.Illuminate(c.Light(tok("PxrDistantLight"), tok("sun"), RI_NULL), 0);
       }},
      {"plug-in light in its block, switched off after it, and no headlight", [](PreviewContext &c) {
         c.AttributeBegin();
         RtLightHandle bulb = c.Light(tok("PxrSphereLight"), tok("bulb"), RI_NULL);
         c.AttributeEnd();
         c.Illuminate(bulb, 0);
       }},
      {"plug-in distant light turned to shine toward the eye", [](PreviewContext &c) {
         c.TransformBegin();
         c.Rotate(180, 0, 1, 0);
         c.Light(tok("PxrDistantLight"), tok("sun"), RI_NULL);
         c.TransformEnd();
       }},
  };
  for (const LightCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(40, 40, [](PreviewContext &ctx) { ctx.ScreenWindow(-2, 2, -2, 2); },
                                 [&](PreviewContext &ctx) {
                                   c.lights(ctx);
                                   RtColor color{1, 0, 0};
                                   ctx.Color(color);
                                   ctx.Surface(tok("matte"), RI_NULL);
                                   ctx.Polygon(4, tok("P"), kSquare, RI_NULL);
                                 });
    EXPECT_TRUE(covered(drawn.picture, 20, 20));
    EXPECT_EQ(red(drawn.picture, 20, 20), 0);
  }
}

struct ReachCase {
  const char *what;
  std::function<void(PreviewContext &)> scene;  // lights, then squares
  bool lit;                                     // the last square drawn
};

// A dome light (ambient) of intensity 0.5 on a Bxdf square of its own
// colour, which is black where the light does not reach.
RtLightHandle dome(PreviewContext &c) {
  RtFloat half = 0.5f;
  return c.Light(tok("PxrDomeLight"), tok("sky"), tok("float intensity"), &half, RI_NULL);
}
RtLightHandle ambient(PreviewContext &c) {
  RtFloat half = 0.5f;
  return c.LightSource(tok("ambientlight"), tok("intensity"), &half, RI_NULL);
}
void floorSquare(PreviewContext &c) {
  RtColor white{1, 1, 1};
  c.Bxdf(tok("PxrDiffuse"), tok("floor"), tok("color diffuseColor"), white, RI_NULL);
  c.Polygon(4, tok("P"), kSquare, RI_NULL);
}

// Light (current RIB) lights the rest of its world wherever its block is;
// LightSource and AreaLightSource only their block; Illuminate switches
// either within a block.
TEST(PreviewShading, LightsReachWhatTheirKindSays) {
  const ReachCase cases[] = {
      {"a Light in a block of its own", [](PreviewContext &c) {
         c.AttributeBegin();
         dome(c);
         c.AttributeEnd();
         floorSquare(c);
       }, true},
      {"a Light in a block within a block", [](PreviewContext &c) {
         c.AttributeBegin();
         c.TransformBegin();
         c.AttributeBegin();
         dome(c);
         c.AttributeEnd();
         c.TransformEnd();
         c.AttributeEnd();
         floorSquare(c);
       }, true},
      {"a LightSource in a block of its own", [](PreviewContext &c) {
         c.AttributeBegin();
         ambient(c);
         c.AttributeEnd();
         floorSquare(c);
       }, false},
      {"a LightSource in the square's block", [](PreviewContext &c) {
         c.AttributeBegin();
         ambient(c);
         floorSquare(c);
         c.AttributeEnd();
       }, true},
      {"an AreaLightSource in a block of its own", [](PreviewContext &c) {
         c.AttributeBegin();
         c.AreaLightSource(tok("ambientlight"), RI_NULL);
         c.AttributeEnd();
         floorSquare(c);
       }, false},
      {"a Light switched off", [](PreviewContext &c) {
         c.Illuminate(dome(c), 0);
         floorSquare(c);
       }, false},
      {"a Light switched off and on again", [](PreviewContext &c) {
         RtLightHandle sky = dome(c);
         c.Illuminate(sky, 0);
         c.Illuminate(sky, 1);
         floorSquare(c);
       }, true},
      {"a Light switched off in a block, after the block", [](PreviewContext &c) {
         RtLightHandle sky = dome(c);
         c.AttributeBegin();
         c.Illuminate(sky, 0);
         c.AttributeEnd();
         floorSquare(c);
       }, true},
      {"a Light made in a block and switched off there, after the block", [](PreviewContext &c) {
         c.AttributeBegin();
         c.Illuminate(dome(c), 0);
         c.AttributeEnd();
         floorSquare(c);
       }, true},
      {"a Light of an earlier world", [](PreviewContext &c) {
         c.AttributeBegin();
         dome(c);
         c.AttributeEnd();
         c.WorldEnd();
         c.WorldBegin();
         c.Illuminate(ambient(c), 0);  // so that no headlight stands in
         floorSquare(c);
       }, false},
  };
  for (const ReachCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(20, 20, nullptr, c.scene);
    ASSERT_TRUE(covered(drawn.picture, 10, 10));
    if (c.lit) EXPECT_NEAR(red(drawn.picture, 10, 10), 128, 1);
    else EXPECT_EQ(red(drawn.picture, 10, 10), 0);
  }
}

struct BxdfCase {
  const char *what;
  std::function<void(PreviewContext &)> shade;
  int r, g, b;  // the square's colour under the headlight
};

// A Bxdf is matte in the colour it names: lit head-on, a square shows it whole.
TEST(PreviewShading, BxdfColourComesFromItsParameters) {
  RtColor diffuse{1, 0.5f, 0}, other{0, 0, 1}, gray{0.25f, 0.25f, 0.25f};
  const BxdfCase cases[] = {
      {"a diffuse colour before others", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrSurface"), tok("m"), tok("color specularFaceColor"), other, tok("color diffuseColor"), diffuse,
                RI_NULL);
       }, 255, 128, 0},
      {"a base colour, in any case", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrDisney"), tok("m"), tok("color emitColor"), other, tok("color BaseColor"), diffuse, RI_NULL);
       }, 255, 128, 0},
      {"else the first colour", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrConstant"), tok("m"), tok("float presence"), &gray[0], tok("color emitColor"), other,
                tok("color tint"), diffuse, RI_NULL);
       }, 0, 0, 255},
      {"no colour: Color", [&](PreviewContext &c) { c.Bxdf(tok("PxrDiffuse"), tok("m"), RI_NULL); }, 64, 64, 64},
      {"three floats are no colour", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrDiffuse"), tok("m"), tok("float[3] diffuseColor"), diffuse, RI_NULL);
       }, 64, 64, 64},
      {"a later Color does not change it", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrDiffuse"), tok("m"), tok("color diffuseColor"), diffuse, RI_NULL);
         c.Color(other);
       }, 255, 128, 0},
      {"a later Surface brings Color back", [&](PreviewContext &c) {
         c.Bxdf(tok("PxrDiffuse"), tok("m"), tok("color diffuseColor"), other, RI_NULL);
         c.Surface(tok("matte"), RI_NULL);
       }, 64, 64, 64},
      {"gone after AttributeEnd", [&](PreviewContext &c) {
         c.AttributeBegin();
         c.Bxdf(tok("PxrDiffuse"), tok("m"), tok("color diffuseColor"), other, RI_NULL);
         c.AttributeEnd();
       }, 64, 64, 64},
  };
  for (const BxdfCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(20, 20, nullptr, [&](PreviewContext &ctx) {
      ctx.Color(gray);
      c.shade(ctx);
      ctx.Polygon(4, tok("P"), kSquare, RI_NULL);
    });
    const uint8_t *p = drawn.picture.pixel(10, 10);
    EXPECT_NEAR(p[0], c.r, 1);
    EXPECT_NEAR(p[1], c.g, 1);
    EXPECT_NEAR(p[2], c.b, 1);
    EXPECT_EQ(drawn.warnings, std::vector<std::string>{});
  }
  // The Bxdf's colour stands for the primitive's own Cs too.
  const auto drawn = drawScene(20, 20, nullptr, [&](PreviewContext &ctx) {
    ctx.Bxdf(tok("PxrDiffuse"), tok("m"), tok("color diffuseColor"), diffuse, RI_NULL);
    RtColor cs[] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    ctx.Polygon(4, tok("P"), kSquare, tok("Cs"), cs, RI_NULL);
  });
  EXPECT_EQ(drawn.picture.pixel(10, 10)[2], 0);
}

TEST(PreviewShading, LightHandlesAreDistinctAndNotNull) {
  PreviewContext ctx;
  RtLightHandle a = ctx.LightSource(tok("distantlight"), RI_NULL);
  RtLightHandle b = ctx.LightSource(tok("pointlight"), RI_NULL);
  RtLightHandle c = ctx.Light(tok("PxrRectLight"), tok("rect"), RI_NULL);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_NE(c, nullptr);
  EXPECT_NE(a, b);
  EXPECT_NE(b, c);
}

TEST(PreviewShading, ColourClassesOfCs) {
  // Per vertex: red on the left, blue on the right; per face: one each.
  const auto vertex = drawScene(40, 40, [](PreviewContext &c) { c.ScreenWindow(-1, 1, -1, 1); },
                                [](PreviewContext &c) {
                                  c.Surface(tok("constant"), RI_NULL);
                                  RtColor cs[] = {{1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}};
                                  c.Polygon(4, tok("P"), kSquare, tok("Cs"), cs, RI_NULL);
                                });
  EXPECT_GT(vertex.picture.pixel(2, 20)[0], 200);
  EXPECT_LT(vertex.picture.pixel(2, 20)[2], 50);
  EXPECT_GT(vertex.picture.pixel(37, 20)[2], 200);
  const auto uniform = drawScene(40, 40, [](PreviewContext &c) { c.ScreenWindow(-1, 1, -1, 1); },
                                 [](PreviewContext &c) {
                                   c.Surface(tok("constant"), RI_NULL);
                                   RtInt nv[] = {3, 3}, v[] = {0, 1, 2, 0, 2, 3};
                                   RtColor cs[] = {{0, 1, 0}, {1, 1, 0}};
                                   c.PointsPolygons(2, nv, v, tok("P"), kSquare, tok("uniform color Cs"), cs, RI_NULL);
                                 });
  const uint8_t *upperLeft = uniform.picture.pixel(5, 10), *lowerRight = uniform.picture.pixel(35, 30);
  EXPECT_EQ(upperLeft[0], 0);
  EXPECT_EQ(upperLeft[1], 255);
  EXPECT_EQ(lowerRight[0], 255);
  EXPECT_EQ(lowerRight[1], 255);
}

TEST(PreviewShading, OpacityGivesPartialAlpha) {
  const auto drawn = drawScene(20, 20, nullptr, [](PreviewContext &c) {
    RtColor half{0.5f, 0.5f, 0.5f};
    c.Opacity(half);
    c.Surface(tok("constant"), RI_NULL);
    c.Polygon(4, tok("P"), kSquare, RI_NULL);
  });
  EXPECT_NEAR(drawn.picture.pixel(10, 10)[3], 128, 1);
}

struct SidesCase {
  const char *what;
  int sides;
  bool back, reversed;
  bool visible;
  // Drawn as an object that sets Orientation "outside", instanced
  // mirrored in x (which leaves the square where it was).
  bool mirroredInstance = false;
};

TEST(PreviewShading, OneSidedSurfacesHideTheirBacks) {
  const SidesCase cases[] = {
      {"two-sided, front", 2, false, false, true},
      {"two-sided, back", 2, true, false, true},
      {"one-sided, front", 1, false, false, true},
      {"one-sided, back", 1, true, false, false},
      {"one-sided, back, reversed orientation", 1, true, true, true},
      {"one-sided, front, reversed orientation", 1, false, true, false},
      // The mirroring turns the square's winding over, and the object's
      // "outside" with it.
      {"one-sided object, front, instanced mirrored", 1, false, false, true, true},
      {"one-sided object, back, instanced mirrored", 1, true, false, false, true},
  };
  for (const SidesCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(20, 20, nullptr, [&](PreviewContext &ctx) {
      RtObjectHandle object = c.mirroredInstance ? ctx.ObjectBegin() : nullptr;
      if (object != nullptr) ctx.Orientation(tok("outside"));
      ctx.Sides(c.sides);
      if (c.reversed) ctx.ReverseOrientation();
      ctx.Polygon(4, tok("P"), c.back ? kBackSquare : kSquare, RI_NULL);
      if (object == nullptr) return;
      ctx.ObjectEnd();
      ctx.Scale(-1, 1, 1);
      ctx.ObjectInstance(object);
    });
    EXPECT_EQ(covered(drawn.picture, 10, 10), c.visible);
  }
  // A one-sided sphere shows its outside whichever way it is mirrored.
  const auto mirrored = drawScene(20, 20, nullptr, [](PreviewContext &ctx) {
    ctx.Sides(1);
    ctx.Translate(0, 0, 3);
    ctx.Scale(1, 1, -1);
    ctx.Orientation(tok("outside"));
    ctx.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
  });
  EXPECT_TRUE(covered(mirrored.picture, 10, 10));
}

}  // namespace
