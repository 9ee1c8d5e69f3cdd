#include <gtest/gtest.h>

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
const std::string bHalf = bytes({0x3F, 0x00, 0x00, 0x00});
const std::string b1 = bytes({0x3F, 0x80, 0x00, 0x00});
const std::string b45 = bytes({0x42, 0x34, 0x00, 0x00});
const std::string b72 = bytes({0x42, 0x90, 0x00, 0x00});

using Case = vellum_test::LineCase;
using vellum_test::expectLines;
using vellum_test::kSame;

RtFloat ownFilter(RtFloat, RtFloat, RtFloat, RtFloat) { return 1; }

// The texture requests have no entry points; the context's operations
// reach them.
RibWriter &writer() { return *static_cast<RibWriter *>(RiGetContext()); }

TEST(CameraRequests, FixedFormatLines) {
  const Case cases[] = {
      {"format", [] { RiFormat(640, 480, 1); }, "Format 640 480 1\n", kSame},
      {"format with an aspect ratio", [] { RiFormat(720, 486, 1.5f); }, "Format 720 486 1.5\n",
       kSame},
      {"frame aspect ratio", [] { RiFrameAspectRatio(1.5f); }, "FrameAspectRatio 1.5\n", kSame},
      {"screen window", [] { RiScreenWindow(-1, 1, -0.75f, 0.75f); },
       "ScreenWindow -1 1 -0.75 0.75\n", kSame},
      {"crop window", [] { RiCropWindow(0, 0.5f, 0.25f, 1); }, "CropWindow 0 0.5 0.25 1\n",
       kSame},
      {"clipping", [] { RiClipping(0.1f, 10000); }, "Clipping 0.1 10000\n", kSame},
      {"depth of field", [] { RiDepthOfField(2.8f, 0.05f, 12); }, "DepthOfField 2.8 0.05 12\n",
       kSame},
      {"shutter", [] { RiShutter(0, 0.5f); }, "Shutter 0 0.5\n", kSame},
      {"pixel variance", [] { RiPixelVariance(0.01f); }, "PixelVariance 0.01\n", kSame},
      {"pixel samples", [] { RiPixelSamples(2, 3.5f); }, "PixelSamples 2 3.5\n", kSame},
      {"exposure", [] { RiExposure(1, 2.2f); }, "Exposure 1 2.2\n", kSame},
      {"quantize", [] { RiQuantize(tok("rgba"), 255, 0, 255, 0.5f); },
       "Quantize \"rgba\" 255 0 255 0.5\n", kSame},
      {"quantize with a null type", [] { RiQuantize(nullptr, -1, 0, 65535, 0); },
       "Quantize \"\" -1 0 65535 0\n", kSame},
      {"relative detail", [] { RiRelativeDetail(0.5f); }, "RelativeDetail 0.5\n", kSame},
      {"small and large numbers", [] { RiClipping(1e-7f, 1e10f); }, "Clipping 1e-07 1e+10\n",
       kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(CameraRequests, PixelFilterNamesTheStandardFiltersByIdentity) {
  const Case cases[] = {
      {"gaussian", [] { RiPixelFilter(RiGaussianFilter, 2, 2); },
       "PixelFilter \"gaussian\" 2 2\n", kSame},
      {"box", [] { RiPixelFilter(RiBoxFilter, 1, 1); }, "PixelFilter \"box\" 1 1\n", kSame},
      {"triangle", [] { RiPixelFilter(RiTriangleFilter, 2, 1.5f); },
       "PixelFilter \"triangle\" 2 1.5\n", kSame},
      {"catmull-rom", [] { RiPixelFilter(RiCatmullRomFilter, 4, 4); },
       "PixelFilter \"catmull-rom\" 4 4\n", kSame},
      {"sinc", [] { RiPixelFilter(RiSincFilter, 6, 6); }, "PixelFilter \"sinc\" 6 6\n", kSame},
      {"a client's own filter", [] { RiPixelFilter(ownFilter, 3, 3); },
       "PixelFilter \"\" 3 3\n", kSame},
      {"no filter", [] { RiPixelFilter(nullptr, 2, 2); }, "PixelFilter \"\" 2 2\n", kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

// A filter function that is none of the predefined ones is written as "",
// which no renderer knows; the client is told once per context, at the
// first request that writes one.
TEST(CameraRequests, AFilterWrittenAsTheEmptyNameIsReportedOnce) {
  const std::string ownAtPixelFilter =
      "libvellum error: PixelFilter's filter function is not a predefined one: written to "
      "standard output as \"\", which no renderer knows\n";
  struct Row {
    const char *what;
    void (*calls)();
    std::string requests;
    std::string err;
  } rows[] = {
      {"a predefined filter", [] { RiPixelFilter(RiSincFilter, 4, 4); }, "PixelFilter \"sinc\" 4 4\n", ""},
      {"a client's own filter, twice, then a texture",
       [] {
         RiPixelFilter(ownFilter, 3, 3);
         RiPixelFilter(ownFilter, 2, 2);
         writer().MakeTextureV(tok("a.tif"), tok("a.tex"), RI_CLAMP, RI_CLAMP, ownFilter, 1, 1, 0,
                               nullptr, nullptr);
       },
       "PixelFilter \"\" 3 3\nPixelFilter \"\" 2 2\nMakeTexture \"a.tif\" \"a.tex\" \"clamp\" "
       "\"clamp\" \"\" 1 1\n",
       ownAtPixelFilter},
      {"no filter function", [] { RiPixelFilter(nullptr, 2, 2); }, "PixelFilter \"\" 2 2\n",
       ownAtPixelFilter},
      {"a texture's own filter",
       [] { writer().MakeLatLongEnvironmentV(tok("s.tif"), tok("s.env"), ownFilter, 2, 2, 0, nullptr, nullptr); },
       "MakeLatLongEnvironment \"s.tif\" \"s.env\" \"\" 2 2\n",
       "libvellum error: MakeLatLongEnvironment's filter function is not a predefined one: "
       "written to standard output as \"\", which no renderer knows\n"},
  };
  for (const Row &row : rows) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      RiBegin(RI_NULL);
      row.calls();
      std::fflush(stdout);
      std::fputs("-- RiEnd\n", stderr);  // the report came at the request, not later
      RiEnd();
    });
    EXPECT_EQ(child.out, vellum_test::kHeader + row.requests + "\n") << row.what;
    EXPECT_EQ(child.err, row.err + "-- RiEnd\n") << row.what;
  }
  // A file's name is in the report.
  const std::string path = vellum_test::tempPath("filter.rib");
  vellum_test::ChildResult toFile = vellum_test::runInChild([&] {
    RiBegin(tok(path.c_str()));
    RiPixelFilter(ownFilter, 3, 3);
    RiEnd();
  });
  EXPECT_EQ(toFile.err, "libvellum error: PixelFilter's filter function is not a predefined one: written to " +
                            path + " as \"\", which no renderer knows\n");
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "PixelFilter \"\" 3 3\n\n");
}

TEST(CameraRequests, ListRequests) {
  const Case cases[] = {
      {"projection",
       [] {
         RtFloat fov = 45;
         RiProjection(tok("perspective"), "fov", &fov, RI_NULL);
       },
       "Projection \"perspective\" \"fov\" [45]\n",
       "Projection \"perspective\" \"fov\" " + bytes({0xC8, 0x01}) + b45 + "\n"},
      {"projection without a list", [] { RiProjection(tok("orthographic"), RI_NULL); },
       "Projection \"orthographic\"\n", kSame},
      {"projection without a name", [] { RiProjectionV(nullptr, 0, nullptr, nullptr); },
       "Projection \"\"\n", kSame},
      {"display without a list",
       [] { RiDisplay(tok("out.tif"), tok("file"), tok("rgba"), RI_NULL); },
       "Display \"out.tif\" \"file\" \"rgba\"\n", kSame},
      {"display with a list",
       [] {
         RtInt origin[] = {7, 8};
         RtFloat resolution[] = {72, 72};
         RiDisplay(tok("out.tif"), tok("file"), tok("rgb"), "origin", origin, "resolution",
                   resolution, RI_NULL);
       },
       "Display \"out.tif\" \"file\" \"rgb\" \"origin\" [7 8 ] \"resolution\" [72 72]\n",
       "Display \"out.tif\" \"file\" \"rgb\" \"origin\" [7 8 ] \"resolution\" " +
           bytes({0xC8, 0x02}) + b72 + b72 + "\n"},
      {"display with quotes and null strings",
       [] { RiDisplayV(tok("a \"b\"\n"), nullptr, tok("z"), 0, nullptr, nullptr); },
       "Display \"a \\\"b\\\"\\n\" \"\" \"z\"\n", kSame},
      {"hider", [] { RiHider(tok("hidden"), RI_NULL); }, "Hider \"hidden\"\n", kSame},
      {"hider with a list",
       [] {
         RtInt jitter = 1;
         RiHider(tok("hidden"), "jitter", &jitter, RI_NULL);
       },
       "Hider \"hidden\" \"jitter\" [1 ]\n", kSame},
      {"option",
       [] {
         RtInt gridsize = 16;
         RiOption(tok("limits"), "gridsize", &gridsize, RI_NULL);
       },
       "Option \"limits\" \"gridsize\" [16 ]\n", kSame},
      {"option with a float and a string",
       [] {
         RtFloat bias = 0.5f;
         RtString path = tok("@:shaders");
         RiOption(tok("shadow"), "bias0", &bias, "shader", &path, RI_NULL);
       },
       "Option \"shadow\" \"bias0\" [0.5] \"shader\" [\"@:shaders\"]\n",
       "Option \"shadow\" \"bias0\" " + bytes({0xC8, 0x01}) + bHalf +
           " \"shader\" [\"@:shaders\"]\n"},
      {"an option named like rib in another case is an ordinary option",
       [] {
         RtInt on = 1;
         RiOption(tok("Rib"), "binary", &on, RI_NULL);
       },
       "Option \"Rib\" \"binary\" [1 ]\n", kSame},
      {"color samples are accepted and dropped",
       [] {
         RtFloat nRGB[] = {1, 1, 1}, RGBn[] = {1, 1, 1};
         RiColorSamples(1, nRGB, RGBn);
       },
       "", kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

// The varargs forms of the context collect their pairs and call the list
// forms: the same bytes as the entry points write.
TEST(CameraRequests, VarargsFormsOfTheContext) {
  RtFloat fov = 45;
  RtInt origin[] = {1, 2};
  RtInt gridsize = 8;
  struct VarargsCase {
    const char *what;
    std::function<void(RibWriter &)> calls;
    std::string ascii;
    std::string binary;
  } cases[] = {
      {"projection", [&](RibWriter &w) { w.Projection(tok("perspective"), "fov", &fov, RI_NULL); },
       "Projection \"perspective\" \"fov\" [45]\n",
       "Projection \"perspective\" \"fov\" " + bytes({0xC8, 0x01}) + b45 + "\n"},
      {"display",
       [&](RibWriter &w) {
         w.Display(tok("x.tif"), tok("file"), tok("rgba"), "origin", origin, RI_NULL);
       },
       "Display \"x.tif\" \"file\" \"rgba\" \"origin\" [1 2 ]\n", kSame},
      {"hider", [&](RibWriter &w) { w.Hider(tok("paint"), RI_NULL); }, "Hider \"paint\"\n", kSame},
      {"option", [&](RibWriter &w) { w.Option(tok("limits"), "gridsize", &gridsize, RI_NULL); },
       "Option \"limits\" \"gridsize\" [8 ]\n", kSame},
  };
  for (const VarargsCase &c : cases) {
    EXPECT_EQ(writtenBy(c.calls), c.ascii) << c.what;
    EXPECT_EQ(writtenBy(c.calls, true), c.binary == kSame ? c.ascii : c.binary)
        << c.what << " (binary)";
  }
}

// A "rib" option that reaches the context switches its own float format and
// writes nothing; later floats follow the new flag.
TEST(CameraRequests, RibOptionSwitchesTheContextsFloatFormat) {
  RtColor color = {1, 0.5f, 0};
  RtInt on = 1, off = 0, two = 2;
  RtString none = tok("none");
  const std::string rib = writtenBy([&](RibWriter &w) {
    w.Option(tok("rib"), "binary", &on, RI_NULL);
    w.Color(color);
    w.Option(tok("RIB"), "compression", &none, "binary", &off, RI_NULL);
    w.Color(color);
    w.Option(tok("rib"), "compression", &none, RI_NULL);  // no "binary": nothing changes
    w.Color(color);
    RtToken tokens[] = {tok("binary")};
    RtPointer parms[] = {&two};
    w.OptionV(tok("rib"), 1, tokens, parms);
    w.Format(1, 2, 0.5f);
    w.Color(color);
  });
  const std::string binaryColor = "Color " + bytes({0xC8, 0x03}) + b1 + bHalf + b0 + "\n";
  EXPECT_EQ(rib, binaryColor + "Color [1 0.5 0]\nColor [1 0.5 0]\nFormat 1 2 0.5\n" +
                     binaryColor);
}

}  // namespace
