#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

using vellum::RibWriter;
using vellum_test::bytes;
using vellum_test::requestsOf;
using vellum_test::writtenBy;

namespace {

using vellum_test::tok;

// IEEE singles as binary RIB writes them, most significant byte first.
const std::string b0 = bytes({0x00, 0x00, 0x00, 0x00});
const std::string bQuarter = bytes({0x3E, 0x80, 0x00, 0x00});
const std::string bHalf = bytes({0x3F, 0x00, 0x00, 0x00});
const std::string b1 = bytes({0x3F, 0x80, 0x00, 0x00});
const std::string bMinus1 = bytes({0xBF, 0x80, 0x00, 0x00});
const std::string b1p5 = bytes({0x3F, 0xC0, 0x00, 0x00});
const std::string b2 = bytes({0x40, 0x00, 0x00, 0x00});
const std::string bMinus2 = bytes({0xC0, 0x00, 0x00, 0x00});
const std::string b3 = bytes({0x40, 0x40, 0x00, 0x00});
const std::string bMinus3 = bytes({0xC0, 0x40, 0x00, 0x00});
const std::string b4 = bytes({0x40, 0x80, 0x00, 0x00});
const std::string b45 = bytes({0x42, 0x34, 0x00, 0x00});

using Case = vellum_test::LineCase;
using vellum_test::expectLines;
using vellum_test::kSame;

using vellum_test::handleNumber;

TEST(AttributeRequests, Lines) {
  const Case cases[] = {
      {"color",
       [] {
         RtColor c = {1, 0.5f, 0};
         RiColor(c);
       },
       "Color [1 0.5 0]\n", "Color " + bytes({0xC8, 0x03}) + b1 + bHalf + b0 + "\n"},
      {"color after color samples has three values",
       [] {
         RtFloat nRGB[6] = {1, 0, 0, 1, 0, 0}, RGBn[6] = {1, 1, 0, 0, 0, 0};
         RtFloat c[6] = {0.25f, 0.5f, 1, 2, 3, 4};
         RiColorSamples(2, nRGB, RGBn);
         RiColor(c);
       },
       "Color [0.25 0.5 1]\n", "Color " + bytes({0xC8, 0x03}) + bQuarter + bHalf + b1 + "\n"},
      {"opacity",
       [] {
         RtColor c = {0.25f, 0.5f, 1};
         RiOpacity(c);
       },
       "Opacity [0.25 0.5 1]\n", "Opacity " + bytes({0xC8, 0x03}) + bQuarter + bHalf + b1 + "\n"},
      {"texture coordinates", [] { RiTextureCoordinates(0, 0, 1, 0, 0, 1, 1, 0.5f); },
       "TextureCoordinates [ 0 0 1 0 0 1 1 0.5 ]\n", kSame},
      {"shading rate", [] { RiShadingRate(0.25f); }, "ShadingRate 0.25\n", kSame},
      {"shading interpolation", [] { RiShadingInterpolation(tok("smooth")); },
       "ShadingInterpolation \"smooth\"\n", kSame},
      {"matte on and off", [] { RiMatte(1); RiMatte(0); }, "Matte 1\nMatte 0\n", kSame},
      {"matte widened with sign", [] { RiMatte(-1); }, "Matte -1\n", kSame},
      {"bound",
       [] {
         RtBound b = {-1, 1, -2, 2, -3, 3};
         RiBound(b);
       },
       "Bound [-1 1 -2 2 -3 3]\n",
       "Bound " + bytes({0xC8, 0x06}) + bMinus1 + b1 + bMinus2 + b2 + bMinus3 + b3 + "\n"},
      {"detail",
       [] {
         RtBound b = {0, 1, 0, 2, 0, 4};
         RiDetail(b);
       },
       "Detail [0 1 0 2 0 4]\n",
       "Detail " + bytes({0xC8, 0x06}) + b0 + b1 + b0 + b2 + b0 + b4 + "\n"},
      {"detail range", [] { RiDetailRange(0, 1, 10, 100); }, "DetailRange 0 1 10 100\n", kSame},
      {"geometric approximation", [] { RiGeometricApproximation(tok("flatness"), 0.5f); },
       "GeometricApproximation \"flatness\" 0.5\n", kSame},
      {"geometric representation", [] { RiGeometricRepresentation(tok("points")); },
       "GeometricRepresentation \"points\"\n", kSame},
      {"sides", [] { RiSides(2); }, "Sides 2\n", kSame},
      {"clipping plane", [] { RiClippingPlane(0, 0.5f, -1, 0, 0, 1); }, "ClippingPlane 0 0.5 -1 0 0 1\n",
       kSame},
      {"orientation", [] { RiOrientation(tok("lh")); }, "Orientation \"lh\"\n", kSame},
      {"reverse orientation", [] { RiReverseOrientation(); }, "ReverseOrientation\n", kSame},
      {"attribute",
       [] {
         RtFloat sphere = 0.5f;
         RtString space = tok("object");
         RiAttribute(tok("displacementbound"), "sphere", &sphere, "coordinatesystem", &space,
                     RI_NULL);
       },
       "Attribute \"displacementbound\" \"sphere\" [0.5] \"coordinatesystem\" [\"object\"]\n",
       "Attribute \"displacementbound\" \"sphere\" " + bytes({0xC8, 0x01}) + bHalf +
           " \"coordinatesystem\" [\"object\"]\n"},
      {"attribute without a list", [] { RiAttributeV(tok("identifier"), 0, nullptr, nullptr); },
       "Attribute \"identifier\"\n", kSame},
      {"null colours and bounds",
       [] {
         RiColor(nullptr);
         RiOpacity(nullptr);
         RiBound(nullptr);
         RiDetail(nullptr);
       },
       "Color []\nOpacity []\nBound []\nDetail []\n",
       "Color " + bytes({0xC8, 0x00}) + "\nOpacity " + bytes({0xC8, 0x00}) + "\nBound " +
           bytes({0xC8, 0x00}) + "\nDetail " + bytes({0xC8, 0x00}) + "\n"},
      {"strings are escaped, null is empty",
       [] {
         RiShadingInterpolation(tok("a\"b\\c"));
         RiOrientation(nullptr);
         RiGeometricRepresentation(tok("two\nlines"));
       },
       "ShadingInterpolation \"a\\\"b\\\\c\"\nOrientation \"\"\n"
       "GeometricRepresentation \"two\\nlines\"\n",
       kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(TransformRequests, Lines) {
  const Case cases[] = {
      {"identity", [] { RiIdentity(); }, "Identity\n", kSame},
      {"concat transform in memory order",
       [] {
         RtMatrix m = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {2, 3, 4, 1}};
         RiConcatTransform(m);
       },
       "ConcatTransform [1 0 0 0 0 1 0 0 0 0 1 0 2 3 4 1]\n",
       "ConcatTransform " + bytes({0xC8, 0x10}) + b1 + b0 + b0 + b0 + b0 + b1 + b0 + b0 + b0 +
           b0 + b1 + b0 + b2 + b3 + b4 + b1 + "\n"},
      {"transform",
       [] {
         RtMatrix m = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
         RiTransform(m);
       },
       "Transform [0 1 0 0 -1 0 0 0 0 0 2 0 0 0 0 1]\n",
       "Transform " + bytes({0xC8, 0x10}) + b0 + b1 + b0 + b0 + bMinus1 + b0 + b0 + b0 + b0 +
           b0 + b2 + b0 + b0 + b0 + b0 + b1 + "\n"},
      {"perspective", [] { RiPerspective(90); }, "Perspective 90\n", kSame},
      {"translate", [] { RiTranslate(1, 2, 3); }, "Translate 1 2 3 \n",
       "Translate " + bytes({0xA4}) + b1 + bytes({0xA4}) + b2 + bytes({0xA4}) + b3 + "\n"},
      {"rotate", [] { RiRotate(45, 0, 0, 1); }, "Rotate 45 0 0 1 \n",
       "Rotate " + bytes({0xA4}) + b45 + bytes({0xA4}) + b0 + bytes({0xA4}) + b0 +
           bytes({0xA4}) + b1 + "\n"},
      {"scale", [] { RiScale(1, 2, 0.5f); }, "Scale 1 2 0.5\n", kSame},
      {"skew", [] { RiSkew(45, 0, 1, 0, 1, 0, 0); }, "Skew 45   0 1 0   1 0 0\n", kSame},
      {"skew with other values", [] { RiSkew(-30, 0.5f, 0, 1, 0, 0, -1); },
       "Skew -30   0.5 0 1   0 0 -1\n", kSame},
      {"coordinate system", [] { RiCoordinateSystem(tok("lamp")); },
       "CoordinateSystem \"lamp\"\n", kSame},
      {"coordinate system transform", [] { RiCoordSysTransform(tok("lamp")); },
       "CoordSysTransform \"lamp\"\n", kSame},
      {"null spaces", [] { RiCoordinateSystem(nullptr); RiCoordSysTransform(nullptr); },
       "CoordinateSystem \"\"\nCoordSysTransform \"\"\n", kSame},
      {"transform block", [] { RiTransformBegin(); RiTransformEnd(); },
       "TransformBegin\nTransformEnd\n", kSame},
      {"unbalanced transform end", [] { RiTransformEnd(); }, "TransformEnd\n", kSame},
      {"motion block",
       [] {
         RtFloat times[] = {0, 1};
         RiMotionBeginV(2, times);
         RiTranslate(1, 2, 3);
         RiTranslate(2, 3, 4);
         RiMotionEnd();
       },
       "MotionBegin [0 1]\nTranslate 1 2 3 \nTranslate 2 3 4 \nMotionEnd\n",
       "MotionBegin " + bytes({0xC8, 0x02}) + b0 + b1 + "\nTranslate " + bytes({0xA4}) + b1 +
           bytes({0xA4}) + b2 + bytes({0xA4}) + b3 + "\nTranslate " + bytes({0xA4}) + b2 +
           bytes({0xA4}) + b3 + bytes({0xA4}) + b4 + "\nMotionEnd\n"},
      {"motion begin from the varargs entry point", [] { RiMotionBegin(3, 0.0, 0.5, 1.0); },
       "MotionBegin [0 0.5 1]\n", "MotionBegin " + bytes({0xC8, 0x03}) + b0 + bHalf + b1 + "\n"},
      {"motion begin without times", [] { RiMotionBeginV(0, nullptr); }, "MotionBegin []\n",
       "MotionBegin " + bytes({0xC8, 0x00}) + "\n"},
      {"motion begin with a negative count",
       [] {
         RtFloat times[] = {0, 1};
         RiMotionBeginV(-2, times);
       },
       "MotionBegin []\n", "MotionBegin " + bytes({0xC8, 0x00}) + "\n"},
      {"unbalanced motion end", [] { RiMotionEnd(); }, "MotionEnd\n", kSame},
      {"null matrices", [] { RiConcatTransform(nullptr); RiTransform(nullptr); },
       "ConcatTransform []\nTransform []\n",
       "ConcatTransform " + bytes({0xC8, 0x00}) + "\nTransform " + bytes({0xC8, 0x00}) + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(TransformRequests, TransformPointsFailsAndWritesNothing) {
  RtPoint points[2] = {{1, 2, 3}, {4, 5, 6}};
  RtPoint *result = points;
  EXPECT_EQ(requestsOf([&] {
              result = RiTransformPoints(tok("object"), tok("world"), 2, points);
            }),
            "");
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(points[1][2], 6.0f);
}

TEST(ShaderRequests, Lines) {
  const Case cases[] = {
      {"surface",
       [] {
         RtFloat kd = 0.5f;
         RiSurface(tok("plastic"), "Kd", &kd, RI_NULL);
       },
       "Surface \"plastic\" \"Kd\" [0.5]\n",
       "Surface \"plastic\" \"Kd\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"surface without a list", [] { RiSurface(tok("matte"), RI_NULL); }, "Surface \"matte\"\n",
       kSame},
      {"surface without a name", [] { RiSurfaceV(nullptr, 0, nullptr, nullptr); }, "Surface \"\"\n",
       kSame},
      {"displacement",
       [] {
         RtFloat amplitude = 2;
         RiDisplacement(tok("bumpy"), "amplitude", &amplitude, RI_NULL);
       },
       "Displacement \"bumpy\" \"amplitude\" [2]\n",
       "Displacement \"bumpy\" \"amplitude\" " + bytes({0xC8, 0x01}) + b2 + "\n"},
      {"atmosphere",
       [] {
         RtFloat distance = 4;
         RtColor background = {0, 0, 1};
         RiAtmosphere(tok("fog"), "distance", &distance, "background", background, RI_NULL);
       },
       "Atmosphere \"fog\" \"distance\" [4] \"background\" [0 0 1]\n",
       "Atmosphere \"fog\" \"distance\" " + bytes({0xC8, 0x01}) + b4 + " \"background\" " +
           bytes({0xC8, 0x03}) + b0 + b0 + b1 + "\n"},
      {"interior", [] { RiInterior(tok("water"), RI_NULL); }, "Interior \"water\"\n", kSame},
      {"exterior",
       [] {
         RtString name = tok("a.tex");
         RiExterior(tok("fog"), "texturename", &name, RI_NULL);
       },
       "Exterior \"fog\" \"texturename\" [\"a.tex\"]\n", kSame},
      {"imager",
       [] {
         RtColor background = {1, 1, 1};
         RtToken tokens[] = {RI_BACKGROUND};
         RtPointer parms[] = {background};
         RiImagerV(tok("background"), 1, tokens, parms);
       },
       "Imager \"background\" \"background\" [1 1 1]\n",
       "Imager \"background\" \"background\" " + bytes({0xC8, 0x03}) + b1 + b1 + b1 + "\n"},
      {"make bump",
       [] {
         RtFloat scale = 2;
         RiMakeBump(tok("h.tif"), tok("h.bump"), RI_PERIODIC, RI_CLAMP, RiGaussianFilter, 2, 1.5f,
                    "float scale", &scale, RI_NULL);
       },
       "MakeBump \"h.tif\" \"h.bump\" \"periodic\" \"clamp\" \"gaussian\" 2 1.5 \"float scale\" [2]\n",
       "MakeBump \"h.tif\" \"h.bump\" \"periodic\" \"clamp\" \"gaussian\" 2 1.5 \"float scale\" " +
           bytes({0xC8, 0x01}) + b2 + "\n"},
      {"deformation",
       [] {
         RtFloat amount = 0.5f;
         RiDeformation(tok("twist"), "float amount", &amount, RI_NULL);
       },
       "Deformation \"twist\" \"float amount\" [0.5]\n",
       "Deformation \"twist\" \"float amount\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"light source",
       [] {
         RtFloat intensity = 1.5f;
         RiLightSource(tok("distantlight"), "intensity", &intensity, RI_NULL);
       },
       "LightSource \"distantlight\" 1 \"intensity\" [1.5]\n",
       "LightSource \"distantlight\" 1 \"intensity\" " + bytes({0xC8, 0x01}) + b1p5 + "\n"},
      {"area light source", [] { RiAreaLightSource(tok("arealight"), RI_NULL); },
       "AreaLightSource \"arealight\" 1\n", kSame},
      {"light source without a name", [] { RiLightSourceV(nullptr, 0, nullptr, nullptr); },
       "LightSource \"\" 1\n", kSame},
      {"illuminate", [] { RiIlluminate(RiLightSource(tok("ambientlight"), RI_NULL), 0); },
       "LightSource \"ambientlight\" 1\nIlluminate 1 0\n", kSame},
      {"shader names are escaped", [] { RiSurface(tok("my \"best\""), RI_NULL); },
       "Surface \"my \\\"best\\\"\"\n", kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

// An undeclared token is reported and left out; the rest of the line stays.
TEST(ShaderRequests, UndeclaredTokensAreLeftOut) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    const std::string rib = requestsOf([] {
      RtFloat value = 1;
      RiSurface(tok("plastic"), "nosuch", &value, "Ks", &value, RI_NULL);
      RiLightSource(tok("spotlight"), "other", &value, RI_NULL);
    });
    std::fputs(rib.c_str(), stdout);
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.out, "Surface \"plastic\" \"Ks\" [1]\nLightSource \"spotlight\" 1\n");
  EXPECT_EQ(child.err,
            "libvellum error: undeclared parameter \"nosuch\"\n"
            "libvellum error: undeclared parameter \"other\"\n");
}

// One counter numbers both kinds of light from 1; frames do not reset it,
// a new context does; Illuminate writes the number back.
TEST(ShaderRequests, LightHandlesNumberLightsWithinAContext) {
  RtLightHandle first = nullptr, second = nullptr, third = nullptr, again = nullptr;
  const std::string rib = requestsOf([&] {
    RiFrameBegin(1);
    first = RiLightSource(tok("distantlight"), RI_NULL);
    RiWorldBegin();
    second = RiAreaLightSource(tok("arealight"), RI_NULL);
    RiWorldEnd();
    RiFrameEnd();
    RiFrameBegin(2);
    RiWorldBegin();
    third = RiLightSourceV(tok("pointlight"), 0, nullptr, nullptr);
    RiIlluminate(second, RI_TRUE);
    RiIlluminate(first, RI_FALSE);
    RiWorldEnd();
    RiFrameEnd();
  });
  EXPECT_EQ(rib,
            "FrameBegin 1\nLightSource \"distantlight\" 1\nWorldBegin\n"
            "AreaLightSource \"arealight\" 2\nWorldEnd\nFrameEnd\n"
            "FrameBegin 2\nWorldBegin\nLightSource \"pointlight\" 3\n"
            "Illuminate 2 1\nIlluminate 1 0\nWorldEnd\nFrameEnd\n");
  EXPECT_EQ(handleNumber(first), 1);
  EXPECT_EQ(handleNumber(second), 2);
  EXPECT_EQ(handleNumber(third), 3);
  EXPECT_EQ(requestsOf([&] { again = RiAreaLightSource(tok("arealight"), RI_NULL); }),
            "AreaLightSource \"arealight\" 1\n");
  EXPECT_EQ(handleNumber(again), 1);
}

// Handles of two live contexts are counted apart.
TEST(ShaderRequests, EachContextHasItsOwnLightCounter) {
  const std::string firstPath = vellum_test::tempPath("lights1.rib");
  const std::string secondPath = vellum_test::tempPath("lights2.rib");
  RiBegin(tok(firstPath.c_str()));
  RtContextHandle firstContext = RiGetContext();
  RiLightSource(tok("a"), RI_NULL);
  RiLightSource(tok("b"), RI_NULL);
  RiBegin(tok(secondPath.c_str()));
  RtLightHandle other = RiLightSource(tok("c"), RI_NULL);
  RiEnd();
  RiContext(firstContext);
  RtLightHandle third = RiLightSource(tok("d"), RI_NULL);
  RiEnd();
  EXPECT_EQ(handleNumber(other), 1);
  EXPECT_EQ(handleNumber(third), 3);
  EXPECT_EQ(vellum_test::readFile(firstPath),
            vellum_test::kHeader +
                "LightSource \"a\" 1\nLightSource \"b\" 2\nLightSource \"d\" 3\n\n");
  EXPECT_EQ(vellum_test::readFile(secondPath), vellum_test::kHeader + "LightSource \"c\" 1\n\n");
}

// The varargs forms of the context collect their pairs and call the list
// forms.
TEST(ShaderRequests, VarargsFormsOfTheContext) {
  RtFloat kd = 0.5f;
  struct VarargsCase {
    const char *what;
    std::function<void(RibWriter &)> calls;
    std::string ascii;
    std::string binary;
  } cases[] = {
      {"surface", [&](RibWriter &w) { w.Surface(tok("plastic"), "Kd", &kd, RI_NULL); },
       "Surface \"plastic\" \"Kd\" [0.5]\n",
       "Surface \"plastic\" \"Kd\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"displacement", [&](RibWriter &w) { w.Displacement(tok("d"), "Kd", &kd, RI_NULL); },
       "Displacement \"d\" \"Kd\" [0.5]\n",
       "Displacement \"d\" \"Kd\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"atmosphere", [&](RibWriter &w) { w.Atmosphere(tok("fog"), RI_NULL); },
       "Atmosphere \"fog\"\n", kSame},
      {"interior", [&](RibWriter &w) { w.Interior(tok("i"), "Kd", &kd, RI_NULL); },
       "Interior \"i\" \"Kd\" [0.5]\n",
       "Interior \"i\" \"Kd\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"exterior", [&](RibWriter &w) { w.Exterior(tok("e"), RI_NULL); }, "Exterior \"e\"\n",
       kSame},
      {"imager", [&](RibWriter &w) { w.Imager(tok("im"), "Kd", &kd, RI_NULL); },
       "Imager \"im\" \"Kd\" [0.5]\n",
       "Imager \"im\" \"Kd\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"lights and illuminate",
       [&](RibWriter &w) {
         RtLightHandle light = w.LightSource(tok("spotlight"), "intensity", &kd, RI_NULL);
         RtLightHandle area = w.AreaLightSource(tok("arealight"), RI_NULL);
         w.Illuminate(area, 1);
         w.Illuminate(light, 0);
       },
       "LightSource \"spotlight\" 1 \"intensity\" [0.5]\nAreaLightSource \"arealight\" 2\n"
       "Illuminate 2 1\nIlluminate 1 0\n",
       "LightSource \"spotlight\" 1 \"intensity\" " + bytes({0xC8, 0x01}) + bHalf +
           "\nAreaLightSource \"arealight\" 2\nIlluminate 2 1\nIlluminate 1 0\n"},
      {"attribute",
       [&](RibWriter &w) { w.Attribute(tok("displacementbound"), "sphere", &kd, RI_NULL); },
       "Attribute \"displacementbound\" \"sphere\" [0.5]\n",
       "Attribute \"displacementbound\" \"sphere\" " + bytes({0xC8, 0x01}) + bHalf + "\n"},
      {"motion begin", [&](RibWriter &w) { w.MotionBegin(2, 0.0, 1.0); }, "MotionBegin [0 1]\n",
       "MotionBegin " + bytes({0xC8, 0x02}) + b0 + b1 + "\n"},
  };
  for (const VarargsCase &c : cases) {
    EXPECT_EQ(writtenBy(c.calls), c.ascii) << c.what;
    EXPECT_EQ(writtenBy(c.calls, true), c.binary == kSame ? c.ascii : c.binary)
        << c.what << " (binary)";
  }
}

// The context's varargs MotionBegin passes on every time, beyond 100 too.
TEST(TransformRequests, VarargsMotionBeginTakesMoreThan100Times) {
#define T10 0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0
  const std::string rib = writtenBy([](RibWriter &w) {
    w.MotionBegin(105, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10, 0.0, 1.0, 2.0, 3.0, 4.5);
  });
#undef T10
  std::string expected = "MotionBegin [";
  for (int i = 0; i < 104; ++i) expected += std::to_string(i % 10) + " ";
  EXPECT_EQ(rib, expected + "4.5]\n");
}

}  // namespace
