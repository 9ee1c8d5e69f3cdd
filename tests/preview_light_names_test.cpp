// Lights are told apart by the words in their names, in any case and
// anywhere in the name, for LightSource and Light alike.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "preview/shading/light_names.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Light;
using vellum::preview::lightKindByName;
using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

TEST(PreviewLightNames, WordsInAnyCaseAnywhereNameTheKind) {
  const struct {
    const char *name;
    std::optional<Light::Kind> kind;
  } cases[] = {
      {"ambientlight", Light::kAmbient},
      {"AmbientLight", Light::kAmbient},
      {"PxrDomeLight", Light::kAmbient},
      {"domelight", Light::kAmbient},
      {"PxrEnvDayLight", Light::kAmbient},
      {"environmentlight", Light::kAmbient},
      {"distantlight", Light::kDistant},
      {"PxrDistantLight", Light::kDistant},
      {"DISTANT", Light::kDistant},
      {"pointlight", Light::kPoint},
      {"PointLight", Light::kPoint},
      {"myPointLamp", Light::kPoint},
      {"spotlight", Light::kSpot},
      {"keySpotLight", Light::kSpot},
      // The first word found in the order of light_names.h decides.
      {"ambientdistantlight", Light::kAmbient},
      {"distantspot", Light::kDistant},
      {"spotpoint", Light::kSpot},
      {"PxrSphereLight", std::nullopt},
      {"PxrRectLight", std::nullopt},
      {"", std::nullopt},
      {"distan", std::nullopt},
  };
  for (const auto &c : cases) EXPECT_EQ(lightKindByName(c.name), c.kind) << c.name;
}

// A square turned 60 degrees about y, lit at intensity 0.5: an ambient
// light gives it 0.5 everywhere, a distant light along +z 0.5 · cos 60°,
// a point light at the eye more on its near side than on its far side; a
// LightSource whose name says no kind is skipped, and nothing lights it.
TEST(PreviewLightNames, BothRequestsShineByTheKindTheNameSays) {
  enum Shine { kAmbient, kDistant, kPoint, kNone };
  const struct {
    const char *request, *name;
    Shine shine;
  } cases[] = {
      {"LightSource", "ambientlight", kAmbient},  {"LightSource", "PxrDomeLight", kAmbient},
      {"LightSource", "distantlight", kDistant},  {"LightSource", "DistantLight", kDistant},
      {"LightSource", "POINTLIGHT", kPoint},      {"LightSource", "PxrSphereLight", kNone},
      {"Light", "distantlight", kDistant},        {"Light", "PxrDistantLight", kDistant},
      {"Light", "pxrdomelight", kAmbient},        {"Light", "PxrEnvDayLight", kAmbient},
      {"Light", "PxrSphereLight", kPoint},        {"Light", "keySpotLight", kPoint},
  };
  for (const auto &c : cases) {
    const auto drawn = drawScene(32, 32, nullptr, [&](PreviewContext &ctx) {
      RtFloat intensity = 0.5f;
      if (std::string(c.request) == "Light")
        ctx.Light(tok(c.name), tok("lamp"), tok("float intensity"), &intensity, RI_NULL);
      else
        ctx.LightSource(tok(c.name), tok("float intensity"), &intensity, RI_NULL);
      ctx.Surface(tok("matte"), RI_NULL);
      ctx.Translate(0, 0, 2);
      ctx.Rotate(60, 0, 1, 0);
      RtFloat p[] = {-0.9f, -0.9f, 0, 0.9f, -0.9f, 0, 0.9f, 0.9f, 0, -0.9f, 0.9f, 0};
      ctx.Polygon(4, tok("P"), p, RI_NULL);
    });
    // Pixels 8 apart across the square's middle (it covers 9 to 22).
    const int left = drawn.picture.pixel(12, 16)[0], middle = drawn.picture.pixel(16, 16)[0],
              right = drawn.picture.pixel(20, 16)[0];
    const std::string what = std::string(c.request) + " " + c.name;
    ASSERT_EQ(drawn.picture.pixel(16, 16)[3], 255) << what;
    switch (c.shine) {
      case kAmbient:
        EXPECT_EQ(left, 128) << what;
        EXPECT_EQ(right, 128) << what;
        break;
      case kDistant:
        EXPECT_EQ(left, 64) << what;
        EXPECT_EQ(right, 64) << what;
        break;
      case kPoint:
        EXPECT_GT(middle, 0) << what;
        EXPECT_NE(left, right) << what;
        break;
      case kNone:
        EXPECT_EQ(middle, 0) << what;
        EXPECT_EQ(drawn.warnings, std::vector<std::string>{"light \"PxrSphereLight\" is not known: skipped"}) << what;
        break;
    }
  }
}

}  // namespace
