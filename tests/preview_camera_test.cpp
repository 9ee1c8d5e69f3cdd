// The preview renderer's camera: projection, screen window, format, crop
// window, axis directions, depth order, exposure and the empty picture.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum_test::covered;
using vellum_test::drawScene;
using vellum_test::tok;

void perspective(PreviewContext &ctx, float fov) { ctx.Projection(tok("perspective"), tok("fov"), &fov, RI_NULL); }

void square(PreviewContext &ctx, float x0, float y0, float x1, float y1, float z) {
  // Clockwise as seen from the camera: the side that faces it.
  RtFloat p[] = {x0, y0, z, x0, y1, z, x1, y1, z, x1, y0, z};
  ctx.Polygon(4, tok("P"), p, RI_NULL);
}

// Pixels whose centres lie clearly inside a circle are covered, those
// clearly outside are not.
void expectDisc(const Image &picture, double cx, double cy, double radius) {
  int wrong = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (d < radius - 1 && !covered(picture, x, y)) ++wrong;
      if (d > radius + 1 && picture.pixel(x, y)[3] != 0) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(PreviewCamera, PerspectiveSphereSilhouetteMatchesItsProjection) {
  // A unit sphere 5 away under a 40° field of view: its outline is the
  // circle of the cone that touches it.
  const auto drawn = drawScene(200, 200, [](PreviewContext &ctx) {
    perspective(ctx, 40);
  }, [](PreviewContext &ctx) {
    ctx.Translate(0, 0, 5);
    ctx.Sphere(1, -1, 1, 360, RI_NULL);
  });
  const double radius = std::tan(std::asin(1.0 / 5)) / std::tan(20 * M_PI / 180) * 100;
  expectDisc(drawn.picture, 100, 100, radius);
}

TEST(PreviewCamera, OrthographicSphereOffCentre) {
  // Default projection (orthographic), screen window -2..2 over 200 pixels.
  const auto drawn = drawScene(200, 200, [](PreviewContext &ctx) {
    ctx.ScreenWindow(-2, 2, -2, 2);
  }, [](PreviewContext &ctx) {
    ctx.Translate(0.5f, 0.5f, 3);
    ctx.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
  });
  expectDisc(drawn.picture, 125, 75, 40);
}

struct AxisCase {
  const char *what;
  int width, height;
  bool screenWindow;
  float window[4];
  float x, y;          // the centre of a small square in camera space
  int pixelX, pixelY;  // where it must show
};

TEST(PreviewCamera, AxesFormatAndScreenWindow) {
  const AxisCase cases[] = {
      {"+x is right", 100, 100, false, {}, 0.5f, 0, 75, 50},
      {"-x is left", 100, 100, false, {}, -0.5f, 0, 25, 50},
      {"+y is up", 100, 100, false, {}, 0, 0.5f, 50, 25},
      {"-y is down", 100, 100, false, {}, 0, -0.5f, 50, 75},
      {"wide format spans -aspect..aspect", 200, 100, false, {}, 1.5f, 0.5f, 175, 25},
      {"tall format spans -1/aspect..1/aspect", 100, 200, false, {}, 0.5f, -1.5f, 75, 175},
      {"screen window", 100, 100, true, {0, 4, 0, 2}, 3, 0.5f, 75, 75},
  };
  for (const AxisCase &c : cases) {
    SCOPED_TRACE(c.what);
    const auto drawn = drawScene(c.width, c.height, [&](PreviewContext &ctx) {
      if (c.screenWindow) ctx.ScreenWindow(c.window[0], c.window[1], c.window[2], c.window[3]);
    }, [&](PreviewContext &ctx) { square(ctx, c.x - 0.1f, c.y - 0.1f, c.x + 0.1f, c.y + 0.1f, 1); });
    EXPECT_TRUE(covered(drawn.picture, c.pixelX, c.pixelY));
    EXPECT_EQ(vellum_test::coveredCount(drawn.picture) > 0, true);
    // Mirrored positions stay empty.
    EXPECT_FALSE(covered(drawn.picture, c.width - 1 - c.pixelX, c.height - 1 - c.pixelY));
  }
}

TEST(PreviewCamera, CropWindowKeepsItsPartOfThePicture) {
  auto scene = [](PreviewContext &ctx) { square(ctx, 0.2f, -0.2f, 0.6f, 0.2f, 1); };
  const auto whole = drawScene(100, 100, nullptr, scene);
  const auto right = drawScene(100, 100, [](PreviewContext &ctx) { ctx.CropWindow(0.5f, 1, 0, 1); }, scene);
  ASSERT_EQ(right.picture.width, 50);
  ASSERT_EQ(right.picture.height, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 50; ++x)
      ASSERT_EQ(right.picture.pixel(x, y)[3], whole.picture.pixel(x + 50, y)[3]) << x << "," << y;
}

TEST(PreviewCamera, NearerObjectIsInFrontInEitherDrawingOrder) {
  for (bool nearFirst : {true, false}) {
    for (bool perspectiveCamera : {false, true}) {
      SCOPED_TRACE(std::string(nearFirst ? "near first" : "far first") + (perspectiveCamera ? ", perspective" : ""));
      const auto drawn = drawScene(100, 100, [&](PreviewContext &ctx) {
        if (perspectiveCamera) perspective(ctx, 60);
      }, [&](PreviewContext &ctx) {
        ctx.Surface(tok("constant"), RI_NULL);
        RtColor red{1, 0, 0}, green{0, 1, 0};
        auto nearSquare = [&] { ctx.Color(red); square(ctx, -0.5f, -0.5f, 0.5f, 0.5f, 2); };
        auto farSquare = [&] { ctx.Color(green); square(ctx, -2, -2, 2, 2, 3); };
        if (nearFirst) nearSquare(), farSquare();
        else farSquare(), nearSquare();
      });
      const uint8_t *centre = drawn.picture.pixel(50, 50), *edge = drawn.picture.pixel(5, 50);
      EXPECT_EQ(centre[0], 255);
      EXPECT_EQ(centre[1], 0);
      EXPECT_EQ(edge[1], 255);
      EXPECT_EQ(edge[0], 0);
    }
  }
}

struct ExposureCase {
  float gain, gamma;
  uint8_t expected[3];
};

TEST(PreviewCamera, ConstantSquareHasItsExactColourUnderExposure) {
  const ExposureCase cases[] = {
      {1, 1, {51, 102, 153}},   // the default exposure
      {2, 1, {102, 204, 255}},  // clamped at 1
      {1, 2, {114, 161, 198}},  // 0.2^(1/2) = 0.447...
  };
  for (const ExposureCase &c : cases) {
    SCOPED_TRACE(testing::Message() << "gain " << c.gain << " gamma " << c.gamma);
    const auto drawn = drawScene(40, 30, [&](PreviewContext &ctx) { ctx.Exposure(c.gain, c.gamma); },
                                 [](PreviewContext &ctx) {
                                   RtColor color{0.2f, 0.4f, 0.6f};
                                   ctx.Color(color);
                                   ctx.Surface(tok("constant"), RI_NULL);
                                   square(ctx, -0.5f, -0.5f, 0.5f, 0.5f, 1);
                                 });
    const uint8_t *p = drawn.picture.pixel(20, 15);
    EXPECT_EQ(p[0], c.expected[0]);
    EXPECT_EQ(p[1], c.expected[1]);
    EXPECT_EQ(p[2], c.expected[2]);
    EXPECT_EQ(p[3], 255);
  }
}

TEST(PreviewCamera, EmptySceneIsFullyTransparent) {
  const auto drawn = drawScene(64, 48, nullptr, nullptr);
  ASSERT_EQ(drawn.picture.width, 64);
  ASSERT_EQ(drawn.picture.height, 48);
  for (uint8_t byte : drawn.picture.rgba) ASSERT_EQ(byte, 0);
}

TEST(PreviewCamera, DefaultFormatIs640By480) {
  PreviewContext ctx;
  ctx.WorldBegin();
  ctx.WorldEnd();
  EXPECT_EQ(ctx.lastPicture().width, 640);
  EXPECT_EQ(ctx.lastPicture().height, 480);
}

TEST(PreviewCamera, CameraTransformAndClippingPlanes) {
  // The camera moved back 5 sees a square at the world origin; a far
  // clipping plane at 4 hides it; a near plane at 6 too.
  auto world = [](PreviewContext &ctx) { square(ctx, -0.3f, -0.3f, 0.3f, 0.3f, 0); };
  auto camera = [](float hither, float yon) {
    return [=](PreviewContext &ctx) {
      perspective(ctx, 45);
      ctx.Clipping(hither, yon);
      ctx.Translate(0, 0, 5);
    };
  };
  EXPECT_TRUE(covered(drawScene(50, 50, camera(0.1f, 100), world).picture, 25, 25));
  EXPECT_FALSE(covered(drawScene(50, 50, camera(0.1f, 4), world).picture, 25, 25));
  EXPECT_FALSE(covered(drawScene(50, 50, camera(6, 100), world).picture, 25, 25));
}

}  // namespace
