#include <gtest/gtest.h>

#include <string>

#include "reader/byte_source.h"
#include "reader/rib_parser.h"
#include "tests/test_support.h"

namespace {

// The names of the requests that `rib` yields, one per "|", and the
// diagnostics, one per line.
struct Parsed {
  std::string requests;
  std::string diagnostics;
};

Parsed parse(const std::string &rib) {
  Parsed parsed;
  vellum::MemorySource source(rib);
  vellum::RibParser parser(source, "t.rib", [&](const std::string &message) {
    parsed.diagnostics += message + "\n";
  });
  vellum::RibRequest request;
  while (parser.next(request))
    parsed.requests += (request.isComment ? "#" + request.comment : request.name) + "|";
  EXPECT_EQ(parser.errorCount(),
            static_cast<int>(std::count(parsed.diagnostics.begin(), parsed.diagnostics.end(), '\n')));
  return parsed;
}

TEST(RibParser, ValidRequestsAndCommentsInOrder) {
  Parsed parsed = parse(
      "##RenderMan RIB-Structure 1.0\nversion 3.03\n"
      "Sphere 1 -1 1 360 \"Cs\" [1 0 0 0 1 0 0 0 1 1 1 1] # after\n"
      "Color [1 0 0] Color 1 0 0\n"
      "Surface \"plastic\" \"Kd\" 0.5 \"texturename\" \"a.tex\"\n"
      "Polygon \"P\" [0 0 0 1 0 0 1 1 0] \"uniform float u\" [1]\n"
      "Declare \"later\" \"varying float\" Points \"P\" [0 0 0 1 1 1] \"later\" [1 2]\n");
  EXPECT_EQ(parsed.diagnostics, "");
  EXPECT_EQ(parsed.requests,
            "#RenderMan RIB-Structure 1.0|version|Sphere|# after|Color|Color|Surface|Polygon|"
            "Declare|Points|");
}

TEST(RibParser, BadRequestsAreReportedAndSkipped) {
  struct Case {
    std::string rib;
    std::string requests;
    std::string diagnostics;
  } cases[] = {
      {"Frobnicate 1 2\nWorldBegin", "WorldBegin|", "t.rib:1: unknown request Frobnicate\n"},
      {"1 2 3 WorldBegin", "WorldBegin|", "t.rib:1: operands without a request\n"},
      {"FrameBegin 1.5\nFrameEnd", "FrameEnd|",
       "t.rib:1: FrameBegin: expected an integer as operand 1\n"},
      {"Format 640 480\nWorldEnd", "WorldEnd|", "t.rib:1: Format: expected a number as operand 3\n"},
      {"Translate 1 2 3 4\nWorldEnd", "WorldEnd|", "t.rib:1: Translate: too many operands\n"},
      {"Color [1 2 3 4]", "", "t.rib:1: Color: too many numbers in an operand array\n"},
      {"Surface \"s\" \"nosuch\" [1]\nWorldEnd", "WorldEnd|",
       "t.rib:1: Surface: undeclared parameter \"nosuch\"\n"},
      {"Sphere 1 -1 1 360 \"Cs\" [1 0 0]", "",
       "t.rib:1: Sphere: parameter \"Cs\" has 3 values where 12 are expected\n"},
      {"Surface \"s\" \"Kd\" \"text\"", "", "t.rib:1: Surface: parameter \"Kd\" needs numbers\n"},
      {"Option \"limits\" \"texturememory\" [1.5]", "",
       "t.rib:1: Option: parameter \"texturememory\" needs integers\n"},
      {"Surface \"s\" \"Kd\"", "", "t.rib:1: Surface: parameter \"Kd\" has no value\n"},
      {"Polygon \"Cs\" [1 1 1]", "", "t.rib:1: Polygon: needs \"P\" values\n"},
      {"PointsPolygons [3] [0 1] \"P\" [0 0 0 1 1 1]", "",
       "t.rib:1: PointsPolygons: the vertex index array has 2 values where 3 are expected\n"},
      {"PatchMesh \"trilinear\" 2 \"nonperiodic\" 2 \"nonperiodic\"", "",
       "t.rib:1: PatchMesh: unknown patch type \"trilinear\"\n"},
      {"Illuminate 3 1", "", "t.rib:1: Illuminate: light 3 is not defined\n"},
      {"Basis \"wavy\" 3 \"bezier\" 3", "", "t.rib:1: Basis: unknown basis \"wavy\"\n"},
      {"Procedural \"RunProgram\" [\"a\"] [0 1 0 1 0 1]", "",
       "t.rib:1: Procedural: the data has 1 values where 2 are expected\n"},
      {"Color [1 [2] 3]\nWorldEnd", "WorldEnd|", "t.rib:1: an array inside an array\n"},
      {"Color [1 2 3\nWorldEnd", "WorldEnd|", "t.rib:1: an array without its closing \"]\"\n"},
      {"Color [1 \"a\" 3]", "", "t.rib:1: an array mixes strings and numbers\n"},
      {"WorldBegin ]\nWorldEnd", "WorldEnd|", "t.rib:1: \"]\" without \"[\"\n"},
      // Junk after a request's keyword belongs to that request.
      {"WorldBegin\n\n{ WorldEnd", "WorldEnd|",
       "t.rib:3: unexpected character '{' (byte 123)\n"},
      {"Surface \"a\" \"Kd\" [" + std::string(1, '\0') + "]\nWorldEnd", "WorldEnd|",
       "t.rib:1: NUL byte\n"},
  };
  for (const Case &c : cases) {
    Parsed parsed = parse(c.rib);
    EXPECT_EQ(parsed.requests, c.requests) << c.rib;
    EXPECT_EQ(parsed.diagnostics, c.diagnostics) << c.rib;
  }
}

TEST(RibParser, CountsFollowTheBasisStepsOfTheStream) {
  // Cubic curves of 7 vertices: with a v step of 3, 2 segments and 3 varying
  // values; with a step of 1, 4 segments and 5 varying values.
  const std::string curve = "Curves \"cubic\" [7] \"nonperiodic\" \"P\" [" +
                            std::string(21 * 2, ' ').replace(0, 0, "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0") +
                            "] \"width\" ";
  EXPECT_EQ(parse(curve + "[1 2 3]").diagnostics, "");
  EXPECT_EQ(parse("Basis \"b-spline\" 1 \"b-spline\" 1\n" + curve + "[1 2 3 4 5]").diagnostics, "");
  EXPECT_EQ(parse("Basis \"b-spline\" 1 \"b-spline\" 1\n" + curve + "[1 2 3]").diagnostics,
            "t.rib:2: Curves: parameter \"width\" has 3 values where 5 are expected\n");
}

TEST(RibParser, HugeAnnouncedCountsFailWithoutHugeAllocations) {
  const std::string rib = "MotionBegin " + vellum_test::bytes({0xCB, 0xFF, 0xFF, 0xFF, 0xFF}) +
                          std::string(400, 'x') + "\nMotionEnd";
  Parsed parsed = parse(rib);
  EXPECT_EQ(parsed.requests, "");  // the false count swallowed the rest
  EXPECT_EQ(parsed.diagnostics, "t.rib:1: binary token cut short by the end of the stream\n");
}

}  // namespace
