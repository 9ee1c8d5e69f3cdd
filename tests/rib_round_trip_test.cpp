#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri.h"
#include "decl/declaration.h"
#include "ri/context_factory.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

namespace {

char *s(const char *text) { return const_cast<char *>(text); }

// Reads `rib` and replays it into a new context of the given format;
// returns what that context wrote, and the errors in `errors` (warnings are
// left out).
std::string replayed(const std::string &rib, bool binary, std::string *errors) {
  return vellum_test::ribOf(
      [&] {
        std::vector<vellum::RibInput> inputs(1);
        inputs[0] = {"in.rib", std::make_unique<vellum::MemorySource>(rib)};
        vellum::RibReader reader(*static_cast<vellum::RenderContext *>(RiGetContext()),
                                 [&](const vellum::Diagnostic &diagnostic) {
                                   if (!diagnostic.warning) *errors += diagnostic.text() + "\n";
                                 });
        reader.read(std::move(inputs));
      },
      binary);
}

struct Scene {
  const char *what;
  std::function<void()> calls;
};

std::vector<Scene> scenes() {
  static RtFloat square[] = {0.2f, 1.5f, 2.5f, -0.2f, 1.5f, 2.5f, -0.2f, 0, 2.5f, 0.2f, 0, 2.5f};
  static RtFloat colors[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1};
  static RtFloat grid[48];
  for (int i = 0; i < 48; ++i) grid[i] = static_cast<RtFloat>(i) * 0.25f - 3;
  static RtFloat knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
  static RtMatrix matrix = {{1, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 3, 0}, {0.5f, 0, 0, 1}};
  static RtBound bound = {-1, 1, -2, 2, -3, 3};
  static RtFloat kd = 0.75f;
  static RtInt origin[2] = {3, -4};
  static RtString texture = s("grid \"quoted\"\\path\nline");
  return {
      {"the test scene",
       [] {
         RtColor blue = {0.2f, 0.3f, 0.9f};
         RiLightSource(s("distantlight"), RI_NULL);
         RiProjection(s("perspective"), RI_NULL);
         RiWorldBegin();
         RiAttributeBegin();
         RiColor(blue);
         RiSurface(s("matte"), RI_NULL);
         RiPolygon(4, RI_P, square, RI_NULL);
         RiAttributeEnd();
         RiAttributeBegin();
         RiSkew(45, 0, 1, 0, 1, 0, 0);
         RiSurface(s("matte"), RI_NULL);
         RiPolygon(4, RI_P, square, RI_NULL);
         RiAttributeEnd();
         RiWorldEnd();
       }},
      {"structure, archives and declarations",
       [] {
         RiFrameBegin(3);
         RiArchiveRecord(RI_COMMENT, s("frame %d of \"many\""), 3);
         RiArchiveRecord(RI_STRUCTURE, s("Scene test"));
         RiDeclare(s("rtfoo"), s("uniform float[2]"));
         RiDeclare(s("rtbar"), s("varying color"));
         RiErrorHandler(RiErrorAbort);
         RtFloat foo[2] = {1, 2};
         RiReadArchive(s("other.rib"), nullptr, "rtfoo", foo, RI_NULL);
         RiSolidBegin(s("union"));
         RiSolidEnd();
         RtObjectHandle object = RiObjectBegin();
         RiObjectEnd();
         RiObjectInstance(object);
         RiFrameEnd();
       }},
      {"camera and options",
       [] {
         RiFormat(640, 480, 1.5f);
         RiFrameAspectRatio(1.333f);
         RiScreenWindow(-1, 1, -0.75f, 0.75f);
         RiCropWindow(0, 0.5f, 0.25f, 1);
         RtFloat fov = 40;
         RiProjection(s("perspective"), "fov", &fov, RI_NULL);
         RiClipping(0.1f, 1e6f);
         RiDepthOfField(2.8f, 0.05f, 10);
         RiShutter(0, 1);
         RiPixelVariance(0.01f);
         RiPixelSamples(4, 4);
         RiPixelFilter(RiCatmullRomFilter, 3, 3);
         RiPixelFilter(nullptr, 1, 1);
         RiExposure(1, 2.2f);
         RiQuantize(s("rgba"), 255, 0, 255, 0.5f);
         RiDisplay(s("out.tif"), s("file"), s("rgba"), "origin", origin, RI_NULL);
         RiHider(s("hidden"), RI_NULL);
         RiRelativeDetail(0.5f);
         RiOption(s("limits"), "texturememory", origin, RI_NULL);
       }},
      {"attributes and transforms",
       [] {
         RtColor c = {1, 0.5f, 0};
         RiColor(c);
         RiOpacity(c);
         RiTextureCoordinates(0, 0, 1, 0, 0, 1, 1, 1);
         RiShadingRate(0.25f);
         RiShadingInterpolation(s("smooth"));
         RiMatte(1);
         RiBound(bound);
         RiDetail(bound);
         RiDetailRange(0, 1, 10, 20);
         RiGeometricApproximation(s("flatness"), 0.5f);
         RiGeometricRepresentation(s("lines"));
         RiSides(2);
         RiClippingPlane(0, 0.5f, -1, 0, 0, 1);
         RiOrientation(s("rh"));
         RiReverseOrientation();
         RiAttribute(s("identifier"), "name", &texture, RI_NULL);
         RiIdentity();
         RiConcatTransform(matrix);
         RiTransform(matrix);
         RiPerspective(90);
         RiTranslate(1, 2, 3);
         RiRotate(45, 0, 0, 1);
         RiScale(1, -1, 1);
         RiSkew(30, 1, 0, 0, 0, 1, 0);
         RiCoordinateSystem(s("lamp"));
         RiCoordSysTransform(s("lamp"));
         RiTransformBegin();
         RiTransformEnd();
         RiMotionBegin(2, 0.0, 1.0);
         RiTranslate(0, 0, 1);
         RiTranslate(0, 0, 2);
         RiMotionEnd();
       }},
      {"shaders and lights",
       [] {
         RiSurface(s("plastic"), "Kd", &kd, "texturename", &texture, RI_NULL);
         RiDisplacement(s("bumpy"), "amplitude", &kd, RI_NULL);
         RiAtmosphere(s("fog"), RI_NULL);
         RiInterior(s("water"), RI_NULL);
         RiExterior(s("air"), RI_NULL);
         RiImager(s("background"), RI_NULL);
         RiDeformation(s("twist"), "float amount", &kd, RI_NULL);
         RiMakeBump(s("h.tif"), s("h.bump"), s("periodic"), s("clamp"), RiCatmullRomFilter, 2, 1.5f,
                    "float scale", &kd, RI_NULL);
         RtLightHandle first = RiLightSource(s("spotlight"), "intensity", &kd, RI_NULL);
         RtLightHandle second = RiAreaLightSource(s("arealight"), RI_NULL);
         RiIlluminate(first, 0);
         RiIlluminate(second, 1);
       }},
      {"quadrics and polygons",
       [] {
         RtPoint p1 = {1, 0, -1}, p2 = {0.5f, 0.5f, 1};
         RiSphere(1, -1, 1, 360, "Cs", colors, RI_NULL);
         RiCone(2, 1, 360, RI_NULL);
         RiCylinder(1, 0, 2, 180, RI_NULL);
         RiDisk(0, 1, 360, RI_NULL);
         RiHyperboloid(p1, p2, 270, RI_NULL);
         RiParaboloid(1, 0, 2, 360, RI_NULL);
         RiTorus(1, 0.25f, 0, 360, 360, "constant float[3] rtc", grid, RI_NULL);
         RiPolygon(4, RI_P, square, "Cs", colors, RI_NULL);
         RtInt loops[] = {4};
         RiGeneralPolygon(1, loops, RI_P, square, RI_NULL);
         RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
         RiPointsPolygons(2, nverts, verts, RI_P, square, "uniform float rtu", grid, RI_NULL);
         RtInt nloops[] = {1, 1};
         RiPointsGeneralPolygons(2, nloops, nverts, verts, RI_P, square, RI_NULL);
         RiPoints(4, RI_P, square, "constantwidth", &kd, RI_NULL);
       }},
      {"patches, curves and the rest",
       [] {
         RiBasis(RiBezierBasis, 3, RiCatmullRomBasis, 1);
         RtBasis own = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
         RiBasis(own, 2, RiBSplineBasis, 1);
         RiPatch(s("bilinear"), RI_P, square, RI_NULL);
         RiPatch(s("bicubic"), RI_P, grid, RI_NULL);
         RiPatchMesh(s("bilinear"), 2, s("nonperiodic"), 2, s("nonperiodic"), RI_P, square, RI_NULL);
         RiNuPatch(4, 4, knots, 0, 1, 4, 4, knots, 0, 1, RI_P, grid, RI_NULL);
         RtInt nv[] = {4};
         RiCurves(s("cubic"), 1, nv, s("nonperiodic"), RI_P, square, "constantwidth", &kd, RI_NULL);
         RtInt ncurves[] = {1}, order[] = {2}, n[] = {2};
         RtFloat trimKnots[] = {0, 0, 1, 1}, mn[] = {0}, mx[] = {1}, u[] = {0, 1}, v[] = {0, 1}, w[] = {1, 1};
         RiTrimCurve(1, ncurves, order, trimKnots, mn, mx, n, u, v, w);
         RtInt faces[] = {4}, indices[] = {0, 1, 2, 3}, nargs[] = {0, 0, 1, 1};
         RtInt intargs[] = {1};
         RtFloat floatargs[] = {2.5f};
         RtToken tags[] = {s("interpolateboundary"), s("crease")};
         RiSubdivisionMesh(s("catmull-clark"), 1, faces, indices, 2, tags, nargs, intargs, floatargs,
                           RI_P, square, RI_NULL);
         RtInt code[] = {1001, 0, 0, 2, 0, 1};
         RtFloat blob[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
         RiBlobby(1, 6, code, 16, blob, 0, nullptr, RI_NULL);
         RiBlobby(1, 6, code, 16, blob, 0, nullptr, "Cs", colors, RI_NULL);
         RtString archive[] = {s("delayed.rib")};
         RiProcedural(archive, bound, RiProcDelayedReadArchive, nullptr);
         RtString program[] = {s("gen"), s("a b")};
         RiProcedural(program, bound, RiProcRunProgram, nullptr);
         RiGeometry(s("teapot"), RI_NULL);
       }},
      {"requests of current RIB",
       [] {
         RtColor base = {0.8f, 0.2f, 0.1f};
         RtFloat one = 1;
         RiIntegrator(s("PxrPathTracer"), s("integ"), "int maxPathLength", origin, RI_NULL);
         RiDisplayFilter(s("PxrBackgroundDisplayFilter"), s("bg"), RI_NULL);
         RiSampleFilter(s("PxrClamp"), s("clamp"), RI_NULL);
         RiDisplayChannel(s("color Ci"), RI_NULL);
         RiCamera(s("main"), "float fov", &kd, RI_NULL);
         RtArchiveHandle archive = RiArchiveBegin(s("part"), RI_NULL);
         RiSphere(1, -1, 1, 360, RI_NULL);
         RiArchiveEnd();
         RiWorldBegin();
         RiReadArchive(static_cast<RtToken>(archive), nullptr, RI_NULL);
         RtLightHandle key = RiLight(s("PxrDistantLight"), s("key"), "float intensity", &one, RI_NULL);
         RiIlluminate(key, 0);
         RiIlluminate(key, 1);
         RiLightFilter(s("PxrBlocker"), s("blocker"), RI_NULL);
         RiResourceBegin();
         RiResource(s("saved"), s("attributes"), "string operation", &texture, RI_NULL);
         RiResourceEnd();
         RiIfBegin(s("$shot == 'a'"), RI_NULL);
         RiBxdf(s("PxrDiffuse"), s("d1"), "color diffuseColor", base, RI_NULL);
         RiElseIf(s("defined(shot)"), RI_NULL);
         RiPattern(s("PxrTexture"), s("tex"), "string filename", &texture, RI_NULL);
         RiElse();
         RiDisplace(s("PxrDisplace"), s("disp"), RI_NULL);
         RiIfEnd();
         RiShader(s("noise"), s("n1"), RI_NULL);
         RiShaderLayer(s("surface"), s("plastic"), s("layer1"), "float Kd", &kd, RI_NULL);
         RiConnectShaderLayers(s("surface"), s("layer1"), s("Ci"), s("layer2"), s("Cin"));
         RiScopedCoordinateSystem(s("local"));
         RtFloat box[6] = {-1, 1, -1, 1, -1, 1};
         RiProcedural2(RiProc2DelayedReadArchive, RiSimpleBound, "string filename", &texture,
                       "float[6] bound", box, RI_NULL);
         RtInt dims[3] = {2, 1, 1};
         RtFloat density[2] = {0.5f, 1};
         RiVolume(s("box"), box, dims, "vertex float density", density, RI_NULL);
         RtInt faces[] = {4}, indices[] = {0, 1, 2, 3}, nargs[] = {0, 0, 1};
         RtToken tags[] = {s("faceedit")}, strings[] = {s("attributes")};
         RiHierarchicalSubdivisionMesh(s("catmull-clark"), 1, faces, indices, 1, tags, nargs, nullptr,
                                       nullptr, strings, RI_P, square, RI_NULL);
         RiSystem(s("echo done"));
         RiWorldEnd();
         RtString clouds[] = {s("a.ptc"), s("b.ptc")};
         RiMakeBrickMap(2, clouds, s("ab.bkm"), "float maxerror", &kd, RI_NULL);
         RiEditWorldBegin(s("frame1"), RI_NULL);
         RiEditBegin(s("attribute"), RI_NULL);
         RiEditAttributeBegin(s("sphere1"));
         RiColor(base);
         RiEditAttributeEnd();
         RiEditEnd();
         RiEditWorldEnd();
       }},
      {"texture making",
       [] {
         vellum::RenderContext &c = *static_cast<vellum::RenderContext *>(RiGetContext());
         c.MakeTexture(s("a.tif"), s("a.tex"), s("periodic"), s("clamp"), RiGaussianFilter, 2, 2, RI_NULL);
         c.MakeLatLongEnvironment(s("e.tif"), s("e.tex"), RiSincFilter, 1.5f, 0.5f, RI_NULL);
         c.MakeCubeFaceEnvironment(s("px"), s("nx"), s("py"), s("ny"), s("pz"), s("nz"), s("c.tex"), 90,
                                   RiBoxFilter, 1, 1, RI_NULL);
         c.MakeShadow(s("s.pic"), s("s.shd"), RI_NULL);
       }},
  };
}

TEST(RibRoundTrip, EveryRequestReadsBackAndRewritesTheSameBytes) {
  for (const Scene &scene : scenes()) {
    const std::string ascii = vellum_test::ribOf(scene.calls, false);
    const std::string binary = vellum_test::ribOf(scene.calls, true);
    std::string errors;
    EXPECT_EQ(replayed(ascii, false, &errors), ascii) << scene.what;
    EXPECT_EQ(replayed(binary, true, &errors), binary) << scene.what;
    // ASCII to binary and back gives the ASCII bytes again.
    EXPECT_EQ(replayed(replayed(ascii, true, &errors), false, &errors), ascii) << scene.what;
    EXPECT_EQ(errors, "") << scene.what;
  }
}

// What ribcat writes of `rib`: read as ribcat reads, by a fresh writer of
// the shortest exact numbers, ASCII or binary.
std::string ribcatOf(const std::string &rib, bool binary) {
  vellum::forgetAllDeclarations();
  const std::string path = vellum_test::tempPath("ribcat.rib");
  {
    RtInt format = binary ? 1 : 0, precision = 0;
    RtToken settings[] = {s("binary"), s("precision")};
    RtPointer values[] = {&format, &precision};
    std::unique_ptr<vellum::RenderContext> writer(vellum::newRibWriter(s(path.c_str()), 2, settings, values));
    vellum::RibReader::Options options;
    options.integersAsWritten = true;
    vellum::RibReader reader(*writer, nullptr, options);
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({"in.rib", std::make_unique<vellum::MemorySource>(rib)});
    reader.read(std::move(inputs));
  }
  const std::string written = vellum_test::readFile(path);
  std::remove(path.c_str());
  return written;
}

// Whatever ribcat reads, what it writes reads back to the same requests:
// writing it again gives the very same bytes, in ASCII and in binary.
TEST(RibRoundTrip, RibcatOfRibcatsOutputIsTheSameBytes) {
  std::vector<std::pair<std::string, std::string>> files = vellum_test::projectRibFiles();
  files.emplace_back("whole numbers written as floats",
                     "LightSource \"uberlight\" 2 \"wedge\" .00 \"big\" [1e5 2.5e6] \"n\" [-0 1]\n"
                     "Surface \"s\" \"k\" [1.5] \"k\" [100000] \"j\" 3e9 \"i\" [7] \"i\" [\"seven\"]\n");
  files.emplace_back("a binary float array of whole numbers",
                     std::string("Surface \"s\" \"k\" \xc8\x02\x3f\x80\x00\x00\x40\x00\x00\x00\n", 27));
  for (const auto &[name, rib] : files) {
    for (bool binary : {false, true}) {
      const std::string once = ribcatOf(rib, binary);
      EXPECT_EQ(ribcatOf(once, binary), once) << name << (binary ? ", binary" : "");
    }
  }
  // The 1.5 of a name given twice is kept, and so are the digits of
  // whole numbers.
  EXPECT_EQ(ribcatOf(files.back().second, false), vellum_test::kHeader + "Surface \"s\" \"k\" [1 2 ]\n\n");
  EXPECT_NE(ribcatOf(files[files.size() - 2].second, false)
                .find("LightSource \"uberlight\" 1 \"wedge\" [0 ] \"big\" [100000 2500000 ] \"n\" [-0 1]\n"
                      "Surface \"s\" \"k\" [1.5] \"k\" [1e+05]"),
            std::string::npos);
}

TEST(RibRoundTrip, BinaryFloatArraysOfEverySize) {
  for (size_t count : {0u, 1u, 255u, 256u, 70000u}) {
    std::vector<RtFloat> values(count);
    for (size_t i = 0; i < count; ++i) values[i] = static_cast<RtFloat>(i) * 0.5f - 7;
    RtInt n = static_cast<RtInt>(count);
    auto calls = [&] { RiMotionBeginV(n, values.data()); };
    const std::string binary = vellum_test::ribOf(calls, true);
    std::string errors;
    EXPECT_EQ(replayed(binary, false, &errors), vellum_test::ribOf(calls, false)) << count;
    EXPECT_EQ(errors, "");
  }
}

}  // namespace

// A subdivision mesh with tags is written with all four tag arrays, empty
// ones included, and reads back as such; the shortened form that omits
// empty argument arrays is still read.
TEST(RibRoundTrip, TaggedSubdivisionMeshKeepsAllFourTagArrays) {
  const std::string written = vellum_test::requestsOf([] {
    static RtFloat square[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3}, nargs[] = {0, 0};
    RtToken tags[] = {s("interpolateboundary")};
    RiSubdivisionMesh(s("catmull-clark"), 1, nverts, verts, 1, tags, nargs, nullptr, nullptr, RI_P,
                      square, RI_NULL);
  });
  const std::string expected =
      "SubdivisionMesh \"catmull-clark\" [4 ] [0 1 2 3 ] [\"interpolateboundary\" ][0 0 ][][] "
      "\"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n";
  EXPECT_EQ(written, expected);
  const std::string shortened =
      "SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [\"interpolateboundary\"] [0 0] "
      "\"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n";
  for (const std::string &rib : {expected, shortened}) {
    std::string errors;
    EXPECT_EQ(replayed(rib, false, &errors), vellum_test::kHeader + expected + "\n") << rib;
    EXPECT_EQ(errors, "") << rib;
  }
}
