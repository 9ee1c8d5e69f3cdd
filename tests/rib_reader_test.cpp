#include "reader/rib_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "ri.h"
#include "tests/recording_context.h"
#include "tests/test_support.h"

namespace {

// What a reader handed its target, and what it said.
struct Read {
  std::string calls;        // one call per line
  std::string diagnostics;  // one per line
  int errors = 0;
  int warnings = 0;
};

Read readInputs(std::vector<vellum::RibInput> inputs, bool strict = false) {
  Read read;
  vellum_test::RecordingContext target;
  vellum::RibReader::Options options;
  options.strict = strict;
  vellum::RibReader reader(
      target, [&](const vellum::Diagnostic &d) { read.diagnostics += d.text() + "\n"; }, options);
  reader.read(std::move(inputs));
  read.calls = target.text();
  read.errors = reader.errors();
  read.warnings = reader.warnings();
  return read;
}

// Each text is an input of its own, named t.rib (one) or a.rib, b.rib, ...
Read readRib(const std::vector<std::string> &texts, bool strict = false) {
  std::vector<vellum::RibInput> inputs;
  for (size_t i = 0; i < texts.size(); ++i)
    inputs.push_back({texts.size() == 1 ? "t.rib" : std::string(1, static_cast<char>('a' + i)) + ".rib",
                      std::make_unique<vellum::MemorySource>(texts[i])});
  return readInputs(std::move(inputs), strict);
}
Read readRib(const std::string &text, bool strict = false) {
  return readRib(std::vector<std::string>{text}, strict);
}

// What ribcat writes for `text`, but with the library's float digits: a
// reader replaying it into a RIB writer.
std::string rewritten(const std::string &text) {
  return vellum_test::ribOf([&] {
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({"t.rib", std::make_unique<vellum::MemorySource>(text)});
    vellum::RibReader(*static_cast<vellum::RenderContext *>(RiGetContext()),
                      [](const vellum::Diagnostic &) {})
        .read(std::move(inputs));
  });
}

const std::string kSquare = "[0 0 0 1 0 0 1 1 0 0 1 0]";

std::string zeros(int count) {
  std::string text = "[";
  for (int i = 0; i < count; ++i) text += i > 0 ? " 0" : "0";
  return text + "]";
}
const std::string k12 = "[1 0 0 1 0 0 1 0 0 1 0 0]";

TEST(RibReader, HandsEveryRequestToTheTarget) {
  Read read = readRib(
      "##RenderMan RIB-Structure 1.0\nversion 3.03\n"
      "Declare \"later\" \"varying float\"\n"
      "Sphere 1 -1 1 360 # a comment among the operands\n \"Cs\" " + k12 + " # after\n"
      "Color [1 0 0] Color 1 0.5 0\n"
      "Surface \"plastic\" \"Kd\" 0.5 \"texturename\" \"a.tex\"\n"
      "Polygon \"P\" [0 0 0 1 0 0 1 1 0] \"uniform float u\" [1]\n"
      "Points \"P\" [0 0 0 1 1 1] \"later\" [1 2]\n"
      "Basis \"hermite\" 2 \"catmull-rom\" 1\n"
      "##Scene more\n");
  EXPECT_EQ(read.diagnostics, "");
  EXPECT_EQ(read.calls,
            "Declare(\"later\", \"varying float\")\n"
            "SphereV(1, -1, 1, 360; \"Cs\")\n"
            "ArchiveRecord(\"comment\", \"a comment among the operands\")\n"
            "ArchiveRecord(\"comment\", \"after\")\n"
            "Color([1 0 0])\nColor([1 0.5 0])\n"
            "SurfaceV(\"plastic\"; \"Kd\" \"texturename\")\n"
            "PolygonV(3; \"P\" \"uniform float u\")\n"
            "PointsV(2; \"P\" \"later\")\n"
            "Basis(hermite, 2, catmull-rom, 1)\n"
            "ArchiveRecord(\"structure\", \"Scene more\")\n");
}

// One malformed request per case (after what it needs, kept), each
// followed by a good one that must survive it.  Nothing of a rejected
// request reaches the target, and what ribcat writes of the rest reads
// back as the same calls.
TEST(RibReader, MalformedRequestsAreReportedAndLeftOut) {
  const std::string basis15 = "[1 2 3 4 5 6 7 8 9 10 11 12 13 14 15]";
  struct Case {
    std::string rib;
    std::string diagnostic;  // lines after the first need their "t.rib:1: "
    std::string kept = "";
  } cases[] = {
      {"Frobnicate 1 2", "unknown request Frobnicate"},
      {"TransforBegin", "unknown request TransforBegin"},
      {"1 2 3", "operands without a request"},
      {"FrameBegin 1.5", "FrameBegin: expected an integer as operand 1"},
      {"Format 640 480", "Format: expected a number as operand 3"},
      {"Translate 1 2 3 4", "Translate: too many operands"},
      {"Color [1 2 3 4]", "Color: too many numbers in an operand array"},
      {"Color [1 \"a\" 3]", "Color: an array mixes strings and numbers"},
      {"Color [1 [2] 3]", "Color: an array inside an array"},
      {"WorldBegin ]", "WorldBegin: \"]\" without \"[\""},
      {"Sphere 1e400 -1 1 360", "Sphere: number out of range \"1e400\""},
      {"Matte 70000", "Matte: operand 1 is out of range for a boolean: 70000"},
      {"LightSource \"a\" 1 Illuminate 1 65536",
       "Illuminate: operand 2 is out of range for a boolean: 65536", "LightSourceV(\"a\";)\n"},
      {"Basis " + basis15 + " 3 \"bezier\" 3", "Basis: expected a basis name or 16 numbers as operand 1"},
      {"Basis \"wavy\" 3 \"bezier\" 3", "Basis: unknown basis \"wavy\""},
      {"Procedural \"DelayedReadArchive\" [\"a.rib\"] [0 1 0 1 0]",
       "Procedural: the bound has 5 values where 6 are expected"},
      {"Procedural \"RunProgram\" [\"a\"] [0 1 0 1 0 1]",
       "Procedural: the data has 1 values where 2 are expected"},
      {"ColorSamples [1 2] [3 4]", "ColorSamples: the two matrices need 3 values per sample each"},
      {"Surface \"s\" \"Kd\"", "Surface: parameter \"Kd\" has no value"},
      {"Surface \"s\" \"Kd\" \"text\"", "Surface: parameter \"Kd\" needs numbers"},
      {"Option \"limits\" \"texturememory\" [1.5]",
       "Option: parameter \"texturememory\" needs integers"},
      {"Sphere 1 -1 1 360 \"nosuch\" [1]", "Sphere: undeclared parameter \"nosuch\""},
      {"Declare \"foo\" \"bogus\"", "Declare: the declaration \"bogus\" has no recognised type"},
      {"Declare \"foo\" \"uniform float[-1]\"",
       "Declare: the declaration \"uniform float[-1]\" has an array length outside 0 to 32767"},
      {"Sphere 1 -1 1 360 \"Cs\" [1 0 0]",
       "Sphere: parameter \"Cs\" has 3 values where 12 are expected"},
      // Surplus values are as wrong as missing ones.
      {"Polygon \"P\" " + kSquare + " \"Cs\" [1 0 0 1 0 0 1 0 0 1 0 0 1 0 0]",
       "Polygon: parameter \"Cs\" has 15 values where 12 are expected"},
      {"Polygon \"Cs\" [1 1 1]", "Polygon: needs \"P\" values"},
      {"Polygon \"P\" [0 0 0 1]", "Polygon: parameter \"P\" has 4 values, not a multiple of 3"},
      {"PointsPolygons [3] [0 1] \"P\" [0 0 0 1 1 1]",
       "PointsPolygons: the vertex index array has 2 values where 3 are expected"},
      {"PointsPolygons [3] [0 -1 2] \"P\" [0 0 0 1 1 1 2 2 2]",
       "PointsPolygons: negative vertex counts or indices"},
      {"Curves \"linear\" [-2] \"nonperiodic\"", "Curves: negative vertex counts"},
      {"Curves \"cubic\" [5] \"nonperiodic\"",
       "Curves: a cubic curve of 5 vertices does not make whole segments with step 3"},
      {"Curves \"spline\" [4] \"nonperiodic\"", "Curves: unknown curve type \"spline\""},
      {"PatchMesh \"trilinear\" 2 \"nonperiodic\" 2 \"nonperiodic\"",
       "PatchMesh: unknown patch type \"trilinear\""},
      {"PatchMesh \"bicubic\" 5 \"nonperiodic\" 4 \"nonperiodic\"",
       "PatchMesh: a bicubic mesh of 5 by 4 points does not make whole patches with steps 3 and 3"},
      {"NuPatch 2 2 [0 0 1 1 1] 0 1 2 2 [0 0 1 1] 0 1",
       "NuPatch: the u knot vector has 5 values where 4 are expected"},
      {"NuPatch 2 0 [0 0] 0 1 2 2 [0 0 1 1] 0 1", "NuPatch: the orders must be at least 1"},
      {"TrimCurve [1] [0] [0 0] [0] [1] [2] [0 1] [0 1] [1 1]",
       "TrimCurve: the orders must be at least 1"},
      {"TrimCurve [1] [-1] [0] [0] [1] [2] [0 1] [0 1] [1 1]",
       "TrimCurve: the orders must be at least 1"},
      {"TrimCurve [1] [3] [0 0 0 1 1] [0] [1] [2] [0 1] [0 1] [1 1]",
       "TrimCurve: each curve needs at least as many points as its order"},
      {"SubdivisionMesh \"loop\" [3] [0 1 2] [\"crease\"] [2 1] [0 1] \"P\" [0 0 0 1 0 0 1 1 0]",
       "SubdivisionMesh: the tags need 2 integer and 1 float arguments, not 2 and 0"},
      {"Surface \"a\" \"Kd\" [" + std::string(1, '\0') + "]", "Surface: NUL byte"},
      {"Else", "Else: outside an IfBegin block"},
      {"Volume \"box\" [0 1 0 1 0 1] [2 2]", "Volume: the dimension array has 2 values where 3 are expected"},
      {"Volume \"box\" [0 1 0 1 0 1] [2 -2 2]", "Volume: negative dimensions"},
      {"Procedural2 \"DelayedReadArchive2\" \"SimpleBound\" \"float[6] bound\" [0 1]",
       "Procedural2: parameter \"float[6] bound\" has 2 values where 6 are expected"},
      {"GeneralPolygon [-3] \"P\" []", "GeneralPolygon: negative vertex counts"},
      // Knots enough for 1 point in v, where the order asks for 2.
      {"NuPatch 2 2 [0 0 1 1] 0 1 1 2 [0 0 1] 0 1 \"P\" [0 0 0 1 0 0]",
       "NuPatch: each direction needs at least as many points as its order"},
      // The second loop would be dropped by a writer going by the loop counts.
      {"PointsGeneralPolygons [1] [3 3] [0 1 2 0 1 2] \"P\" [0 0 0 1 0 0 1 1 0]",
       "PointsGeneralPolygons: the vertex count array has 2 values where 1 are expected"},
      {"Blobby -1 [] [] []", "Blobby: a negative number of leaves"},
      // One uniform value for the whole blobby, not one per leaf.
      {"Blobby 3 [1000 0 1000 1 1000 2 0 3 0 1 2] [1 2 3] [] \"color Cs\" " + zeros(9),
       "Blobby: parameter \"color Cs\" has 9 values where 3 are expected"},
      {"Basis \"bezier\" 3 \"nosuch\" 3", "Basis: unknown basis \"nosuch\""},
      // A zero step is kept, but a mesh cannot be counted with it.
      {"Basis \"bezier\" 3 \"bezier\" 0 PatchMesh \"bicubic\" 4 \"nonperiodic\" 4 \"nonperiodic\" "
       "\"P\" " + zeros(48),
       "PatchMesh: the basis steps must be positive", "Basis(bezier, 3, bezier, 0)\n"},
      {"TrimCurve [1] [2] [0 0 1 1] [0] [1] [2] [0 1] [0 1] [1]",
       "TrimCurve: a control-point array has 1 values where 2 are expected"},
      // Each of these tag arrays adds up to the arguments given.
      {"SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [\"hole\" \"corner\"] [0 -1 0 1] [] [] "
       "\"P\" " + kSquare,
       "SubdivisionMesh: negative tag argument counts"},
      {"SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [\"crease\"] [2 1 0 0] [0 1] [2.5] \"P\" " +
           kSquare,
       "SubdivisionMesh: the tags need 2 argument counts, not 4"},
      {"Procedural \"DelayedReadArchive\" [\"a.rib\" \"b\"] [0 1 0 1 0 1]",
       "Procedural: the data has 2 values where 1 are expected"},
      {"Surface [\"plastic\" \"extra\"]", "Surface: expected a string as operand 1"},
      {"Surface \"paintedplastic\" \"texturename\" [1 \"a.tx\"]",
       "Surface: an array mixes strings and numbers"},
      {"LightSource \"pointlight\" 1.5",
       "LightSource: expected a handle (an integer or a string) as operand 2"},
      {"LightSource \"spotlight\" \"key\" \"intensity\" \"bright\" Illuminate \"key\" 1",
       "LightSource: parameter \"intensity\" needs numbers\n"
       "t.rib:1: Illuminate: light \"key\" was not defined: its request was rejected"},
  };
  for (const Case &c : cases) {
    const std::string rib = c.rib + "\nIdentity\n";
    Read read = readRib(rib);
    const std::string diagnostics = "t.rib:1: " + c.diagnostic + "\n";
    EXPECT_EQ(read.diagnostics, diagnostics) << c.rib;
    EXPECT_EQ(read.calls, c.kept + "Identity()\n") << c.rib;
    EXPECT_EQ(read.errors, std::count(diagnostics.begin(), diagnostics.end(), '\n')) << c.rib;
    Read back = readRib(rewritten(rib));
    EXPECT_EQ(back.diagnostics, "") << c.rib;
    EXPECT_EQ(back.calls, read.calls) << c.rib;
  }
}

// Constructs real RIB uses, each read without a word.
TEST(RibReader, LegitimateRibReadsCleanly) {
  struct Case {
    std::string rib;
    std::string calls;
  } cases[] = {
      {"SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [] [] [] [] \"P\" " + kSquare,
       "SubdivisionMeshV(\"catmull-clark\", 1, [..], [..], 0, [..], [..], [..], [..]; \"P\")"},
      {"SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [] [] \"P\" " + kSquare,
       "SubdivisionMeshV(\"catmull-clark\", 1, [..], [..], 0, [..], [..], [..], [..]; \"P\")"},
      // A crease whose integer and float argument counts differ.
      {"SubdivisionMesh \"catmull-clark\" [4] [0 1 2 3] [\"crease\" \"interpolateboundary\"] "
       "[3 1 0 0] [0 1 2] [2.5] \"P\" " + kSquare,
       "SubdivisionMeshV(\"catmull-clark\", 1, [..], [..], 2, [..], [..], [..], [..]; \"P\")"},
      {"Hider \"hidden\" \"jitter\" 1", "HiderV(\"hidden\"; \"jitter\")"},
      {"Translate +1.5 -0.0 -0", "Translate(1.5, -0, -0)"},
      {"Polygon \"Pw\" [0 0 0 1 1 0 0 1 1 1 0 1]", "PolygonV(3; \"Pw\")"},
      {"Polygon \"vertex point P\" [0 0 0 1 0 0 1 1 0]", "PolygonV(3; \"vertex point P\")"},
      // Positions are per vertex whatever class a declaration gives them.
      {"Polygon \"point P\" [0 0 0 1 0 0 1 1 0] \"Cs\" [1 0 0 1 0 0 1 0 0]",
       "PolygonV(3; \"point P\" \"Cs\")"},
      {"Points \"point P\" [0 0 0 1 1 1]", "PointsV(2; \"point P\")"},
      {"Polygon \"P\" [0 0 0 1 0 0 1 1 0] \"facevarying float f\" [1 2 3]",
       "PolygonV(3; \"P\" \"facevarying float f\")"},
      {"PointsPolygons [3 3] [0 1 2 0 2 3] \"P\" " + kSquare + " \"facevarying float f\" [1 2 3 4 5 6]",
       "PointsPolygonsV(2, [..], [..]; \"P\" \"facevarying float f\")"},
      {"LightSource \"spotlight\" \"key\" \"intensity\" 2 Illuminate \"key\" 0",
       "LightSourceV(\"spotlight\"; \"intensity\")\nIlluminate(#1, 0)"},
      {"ObjectBegin \"tree\" Sphere 1 -1 1 360 ObjectEnd ObjectInstance \"tree\"",
       "ObjectBegin()\nSphereV(1, -1, 1, 360;)\nObjectEnd()\nObjectInstance(#1)"},
      {"Basis \"b-spline\" 1 \"b-spline\" 1 Curves \"cubic\" [5] \"nonperiodic\" "
       "\"P\" [0 0 0 1 1 1 2 2 2 3 3 3 4 4 4] \"width\" [1 2 3]",
       "Basis(b-spline, 1, b-spline, 1)\nCurvesV(\"cubic\", 1, [..], \"nonperiodic\"; \"P\" \"width\")"},
      {"Curves \"cubic\" [4 7] \"nonperiodic\" \"P\" " + zeros(33) + " \"uniform float u\" [1 2]",
       "CurvesV(\"cubic\", 2, [..], \"nonperiodic\"; \"P\" \"uniform float u\")"},
      // The v step counts a curve's varying values, the u step nothing.
      {"Basis \"bezier\" 3 \"b-spline\" 1 Curves \"cubic\" [7] \"nonperiodic\" \"P\" " + zeros(21) +
           " \"width\" [1 2 3 4 5]",
       "Basis(bezier, 3, b-spline, 1)\nCurvesV(\"cubic\", 1, [..], \"nonperiodic\"; \"P\" \"width\")"},
      {"Basis \"b-spline\" 1 \"bezier\" 3 Curves \"cubic\" [7] \"nonperiodic\" \"P\" " + zeros(21) +
           " \"width\" [1 2 3]",
       "Basis(b-spline, 1, bezier, 3)\nCurvesV(\"cubic\", 1, [..], \"nonperiodic\"; \"P\" \"width\")"},
      {"Matte 32767", "Matte(32767)"},
      // A square with a triangular hole and a triangle on its edge: 8
      // points, 10 corners.
      {"PointsGeneralPolygons [2 1] [4 3 3] [0 1 2 3 4 5 6 1 7 2] \"P\" " + zeros(24) +
           " \"facevarying float f\" " + zeros(10),
       "PointsGeneralPolygonsV(2, [..], [..], [..]; \"P\" \"facevarying float f\")"},
      {"Declare \"Pz\" \"varying float\" Patch \"bicubic\" \"Pz\" " + zeros(16),
       "Declare(\"Pz\", \"varying float\")\nPatchV(\"bicubic\"; \"Pz\")"},
      {"Color [1 # red\n0 0]", "Color([1 0 0])\nArchiveRecord(\"comment\", \"red\")"},
      {"Blobby 3 [1000 0 1000 1 1000 2 0 3 0 1 2] [1 2 3] [] \"color Cs\" [1 0 0] "
       "\"vertex float v\" [1 2 3]",
       "BlobbyV(3, 11, [..], 3, [..], 0, [..]; \"color Cs\" \"vertex float v\")"},
  };
  for (const Case &c : cases) {
    Read read = readRib(c.rib);
    EXPECT_EQ(read.diagnostics, "") << c.rib;
    EXPECT_EQ(read.calls, c.calls + "\n") << c.rib;
  }
}

// What the library has no operation or function for is kept, as verbatim
// text, with a warning; a parameter the stream never declared on a
// request whose renderer types it is declared to the target quietly.
TEST(RibReader, WarningsKeepWhatTheLibraryCannotExpress) {
  struct Case {
    std::string rib;
    std::string calls;
    std::string warning;
  } cases[] = {
      {"Surface \"plastic\" \"rough\" [0.1] \"names\" [\"a\" \"b\"] \"on\" 1",
       "Declare(\"rough\", \"float\")\nDeclare(\"names\", \"string[2]\")\nDeclare(\"on\", \"float\")\n"
       "SurfaceV(\"plastic\"; \"rough\" \"names\" \"on\")",
       "Surface: parameter \"rough\" is not declared; it is kept as read, as float\n"
       "t.rib:1: warning: Surface: parameter \"names\" is not declared; it is kept as read, as "
       "string[2]\n"
       "t.rib:1: warning: Surface: parameter \"on\" is not declared; it is kept as read, as float"},
      {"Illuminate 7 0", "ArchiveRecord(\"verbatim\", \"Illuminate 7 0\n\")",
       "Illuminate: light 7 is not defined in this stream; the reference is kept"},
      {"ObjectInstance \"tree\"", "ArchiveRecord(\"verbatim\", \"ObjectInstance \"tree\"\n\")",
       "ObjectInstance: object \"tree\" is not defined in this stream; the reference is kept"},
      {"PixelFilter \"mitchell\" 2 2", "ArchiveRecord(\"verbatim\", \"PixelFilter \"mitchell\" 2 2\n\")",
       "PixelFilter: unknown pixel filter \"mitchell\" is kept as read"},
      {"ErrorHandler \"printonce\"", "ArchiveRecord(\"verbatim\", \"ErrorHandler \"printonce\"\n\")",
       "ErrorHandler: unknown error handler \"printonce\" is kept as read"},
      {"MakeTexture \"a.tif\" \"a.tex\" \"periodic\" \"periodic\" \"mitchell\" 2 2",
       "ArchiveRecord(\"verbatim\", \"MakeTexture \"a.tif\" \"a.tex\" \"periodic\" \"periodic\" "
       "\"mitchell\" 2 2\n\")",
       "MakeTexture: unknown filter \"mitchell\" is kept as read"},
      {"Procedural \"DelayedReadArchive2\" [\"x\"] [-1 1 -1 1 -1 1.5]",
       "ArchiveRecord(\"verbatim\", \"Procedural \"DelayedReadArchive2\" [\"x\"] [-1 1 -1 1 -1 1.5]\n\")",
       "Procedural: unknown procedural \"DelayedReadArchive2\" is kept as read"},
      {"Display \"out.tif\" \"file\" \"rgba\" \"quality\" [90]",
       "Declare(\"quality\", \"float\")\nDisplayV(\"out.tif\", \"file\", \"rgba\"; \"quality\")",
       "Display: parameter \"quality\" is not declared; it is kept as read, as float"},
      // Renderers read a wrap mode they do not know as "nonperiodic".
      {"PatchMesh \"bilinear\" 2 \"nowrap\" 2 \"periodic\" \"P\" " + kSquare,
       "PatchMeshV(\"bilinear\", 2, \"nonperiodic\", 2, \"periodic\"; \"P\")",
       "PatchMesh: unknown wrap mode \"nowrap\" is read as \"nonperiodic\""},
      {"Curves \"linear\" [2] \"Periodic\" \"P\" [0 0 0 1 1 1]",
       "CurvesV(\"linear\", 1, [..], \"nonperiodic\"; \"P\")",
       "Curves: unknown wrap mode \"Periodic\" is read as \"nonperiodic\""},
      {"PixelSampleImager \"cam\" \"float fov\" 45.5 PixelSampleImager \"cam2\"",
       "ArchiveRecord(\"verbatim\", \"PixelSampleImager \"cam\" \"float fov\" [45.5]\n\")\n"
       "ArchiveRecord(\"verbatim\", \"PixelSampleImager \"cam2\"\n\")",
       "PixelSampleImager: PixelSampleImager is not a request of this library; it is passed on as read"},
  };
  for (const Case &c : cases) {
    Read read = readRib(c.rib);
    EXPECT_EQ(read.calls, c.calls + "\n") << c.rib;
    // Each warning is shown once.
    EXPECT_EQ(read.diagnostics, "t.rib:1: warning: " + c.warning + "\n") << c.rib;
    EXPECT_EQ(read.errors, 0) << c.rib;
  }
  // The target is handed "nonperiodic" for a wrap mode it does not know.
  EXPECT_EQ(rewritten("Curves \"linear\" [2] \"nowrap\" \"P\" [0 0 0 1 1 1]"),
            vellum_test::kHeader + "Curves \"linear\"[2 ] \"nonperiodic\"  \"P\" [0 0 0 1 1 1]\n\n");
  // Texture requests keep their parameters, which the writer does not write.
  EXPECT_EQ(readRib("MakeShadow \"a.z\" \"a.shd\" \"bias\" [0.1]").calls,
            "ArchiveRecord(\"verbatim\", \"MakeShadow \"a.z\" \"a.shd\" \"bias\" [0.1]\n\")\n");
}

// A name given twice in one list keeps both pairs, with a warning.  The
// target holds one declaration of a name at a time: a name the stream
// never declared, given again with other types, is handed on with its
// own declaration inline.
TEST(RibReader, ANameGivenTwiceKeepsBothPairs) {
  const std::string twice = "t.rib:1: warning: LightSource: parameter \"x\" is given twice";
  struct Case {
    std::string rib;
    std::string calls;
    std::string diagnostics;
  } cases[] = {
      {"LightSource \"spot\" 1 \"roundness\" [0] \"intensity\" 2 \"roundness\" .5",
       "Declare(\"roundness\", \"float\")\nDeclare(\"roundness\", \"float\")\n"
       "LightSourceV(\"spot\"; \"roundness\" \"intensity\" \"roundness\")",
       "t.rib:1: warning: LightSource: parameter \"roundness\" is not declared; it is kept as read, as "
       "float\nt.rib:1: warning: LightSource: parameter \"roundness\" is given twice; both are kept as "
       "read"},
      {"LightSource \"a\" 1 \"x\" \"s\" \"x\" [\"s\" \"t\"]",
       "Declare(\"x\", \"string\")\nLightSourceV(\"a\"; \"x\" \"string[2] x\")",
       "t.rib:1: warning: LightSource: parameter \"x\" is not declared; it is kept as read, as string\n" +
           twice + ", with other types; both are kept as read, this one as \"string[2] x\""},
      {"LightSource \"a\" 1 \"x\" 1 \"x\" [1 2] \"x\" 3",
       "Declare(\"x\", \"float\")\nDeclare(\"x\", \"float\")\n"
       "LightSourceV(\"a\"; \"x\" \"float[2] x\" \"x\")",
       "t.rib:1: warning: LightSource: parameter \"x\" is not declared; it is kept as read, as float\n" +
           twice + ", with other types; both are kept as read, this one as \"float[2] x\"\n" + twice +
           "; both are kept as read"},
      {"LightSource \"a\" 1 \"intensity\" 1 \"float x\" 2 \"x\" [1 2] \"intensity\" 3",
       "Declare(\"x\", \"float[2]\")\nLightSourceV(\"a\"; \"intensity\" \"float x\" \"x\" \"intensity\")",
       "t.rib:1: warning: LightSource: parameter \"x\" is not declared; it is kept as read, as float[2]\n" +
           twice + "; both are kept as read\nt.rib:1: warning: LightSource: parameter \"intensity\" is "
           "given twice; both are kept as read"},
  };
  for (const Case &c : cases) {
    Read read = readRib(c.rib);
    EXPECT_EQ(read.calls, c.calls + "\n") << c.rib;
    EXPECT_EQ(read.diagnostics, c.diagnostics + "\n") << c.rib;
    EXPECT_EQ(read.errors, 0) << c.rib;
  }
}

TEST(RibReader, StrictModeMakesWarningsErrors) {
  Read read = readRib("PixelSampleImager \"c\"\nSurface \"s\" \"rough\" 1\nIdentity\n", true);
  EXPECT_EQ(read.calls, "Identity()\n");
  EXPECT_EQ(read.diagnostics,
            "t.rib:1: PixelSampleImager: PixelSampleImager is not a request of this library; it is passed on as read\n"
            "t.rib:2: Surface: parameter \"rough\" is not declared; it is kept as read, as float\n");
  EXPECT_EQ(read.errors, 2);
}

// A rejected light or object takes its references with it: a later light
// of the same number must not be switched instead, and an object's body
// never reaches the target without its ObjectBegin.
TEST(RibReader, RejectedDefinitionsTakeTheirReferencesWithThem) {
  Read read = readRib(
      "LightSource \"spotlight\" 2 \"intensity\" \"bright\"\n"
      "Illuminate 2 0\n"
      "ObjectBegin 3 4\n"
      "Sphere 1 -1 1 360\n"
      "ObjectEnd\n"
      "ObjectInstance 3\n"
      "Identity\n");
  EXPECT_EQ(read.calls, "Identity()\n");
  EXPECT_EQ(read.diagnostics,
            "t.rib:1: LightSource: parameter \"intensity\" needs numbers\n"
            "t.rib:2: Illuminate: light 2 was not defined: its request was rejected\n"
            "t.rib:3: ObjectBegin: too many operands\n"
            "t.rib:3: ObjectBegin: the object's definition is left out up to its ObjectEnd\n"
            "t.rib:6: ObjectInstance: object 3 was not defined: its request was rejected\n");
}

// Each reader has its own stream: declarations, basis steps and handles.
// Inputs read by one reader are one stream.
TEST(RibReader, StateBelongsToTheStream) {
  const std::string declares = "Declare \"rtfoo\" \"varying float\"\n";
  const std::string uses = "Sphere 1 -1 1 360 \"rtfoo\" [1 2 3 4]\n";
  EXPECT_EQ(readRib(std::vector<std::string>{declares, uses}).diagnostics, "");
  EXPECT_EQ(readRib(uses).diagnostics, "t.rib:1: Sphere: undeclared parameter \"rtfoo\"\n");
  // A basis set in one input counts the curves of the next: a cubic curve
  // of 7 vertices has 5 varying values with a step of 1, 3 with the
  // default step of 3.
  const std::string basis = "Basis \"b-spline\" 1 \"b-spline\" 1\n";
  const std::string curve =
      "Curves \"cubic\" [7] \"nonperiodic\" \"P\" " + zeros(21) + " \"width\" [1 2 3 4 5]\n";
  EXPECT_EQ(readRib(std::vector<std::string>{basis, curve}).diagnostics, "");
  EXPECT_EQ(readRib(curve).diagnostics,
            "t.rib:1: Curves: parameter \"width\" has 5 values where 3 are expected\n");
  EXPECT_EQ(readRib(std::vector<std::string>{"LightSource \"a\" 1\n", "Illuminate 1 1\n"}).calls,
            "LightSourceV(\"a\";)\nIlluminate(#1, 1)\n");
  // Diagnostics name the input and its own line.
  EXPECT_EQ(readRib(std::vector<std::string>{"\n\nWorldBegin\n", "\nSphere 1\nWorldEnd\n"}).diagnostics,
            "b.rib:2: Sphere: expected a number as operand 2\n");
}

// A read error is reported once, with the line where the input stopped,
// and ends that input; the next one is read.
TEST(RibReader, ReadErrorsEndTheirInput) {
  const std::string body = "WorldBegin\nSphere 1 -1 1 360\nWorldEnd\n";
  std::string whole;
  for (int i = 0; i < 200; ++i) whole += body;
  const std::string gz = vellum_test::tempPath("whole.rib.gz");
  gzFile file = gzopen(gz.c_str(), "wb");
  gzwrite(file, whole.data(), static_cast<unsigned>(whole.size()));
  gzclose(file);
  const std::string compressed = vellum_test::readFile(gz);
  std::string corrupt = compressed;
  corrupt[compressed.size() - 6] ^= 0x55;  // the data check
  struct Case {
    const char *what;
    std::string path;
    std::string message;
  } cases[] = {
      {"a directory", vellum_test::tempPath("dir"), "read error: Is a directory"},
      {"a gzip file cut short", vellum_test::tempPath("cut.rib.gz"),
       "read error: unexpected end of file"},
      {"a gzip file failing its check", vellum_test::tempPath("bad.rib.gz"),
       "read error: incorrect data check"},
  };
  vellum_test::runProgram("mkdir '" + cases[0].path + "'");
  vellum_test::writeFile(cases[1].path, compressed.substr(0, compressed.size() / 2));
  vellum_test::writeFile(cases[2].path, corrupt);
  for (const Case &c : cases) {
    std::vector<vellum::RibInput> inputs(2);
    std::string error;
    inputs[0] = {c.path, vellum::openByteSource(c.path, &error)};
    ASSERT_NE(inputs[0].source, nullptr) << c.what;
    inputs[1] = {"next.rib", std::make_unique<vellum::MemorySource>(body)};
    Read read = readInputs(std::move(inputs));
    EXPECT_LE(read.errors, 2) << c.what;  // a request cut short, and the read error
    EXPECT_NE(read.diagnostics.find(c.path + ":"), std::string::npos) << c.what;
    const size_t at = read.diagnostics.find(c.message + "\n");
    EXPECT_NE(at, std::string::npos) << read.diagnostics;
    EXPECT_EQ(read.diagnostics.find("read error", at + 1), std::string::npos) << read.diagnostics;
    // The next input is read whole.
    EXPECT_NE(read.calls.rfind("WorldBegin()\nSphereV(1, -1, 1, 360;)\nWorldEnd()\n"),
              std::string::npos)
        << c.what;
  }
}

TEST(RibReader, HugeAnnouncedCountsFailWithoutHugeAllocations) {
  const std::string rib = "MotionBegin " + vellum_test::bytes({0xCB, 0xFF, 0xFF, 0xFF, 0xFF}) +
                          std::string(400, 'x') + "\nMotionEnd";
  Read read = readRib(rib);
  EXPECT_EQ(read.calls, "");  // the false count swallowed the rest
  EXPECT_EQ(read.diagnostics,
            "t.rib:1: MotionBegin: binary token cut short by the end of the stream\n");
}

}  // namespace
