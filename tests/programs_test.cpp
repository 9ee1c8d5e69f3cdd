#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

std::string binDirectory() {
  std::string qview = VELLUM_QVIEW;
  return qview.substr(0, qview.rfind('/'));
}

// The test scene writes these bytes into qview, which copies them out.
const std::string kTestSceneRib =
    "##RenderMan RIB-Structure 1.0\n"
    "version 3.03\n"
    "LightSource \"distantlight\" 1\n"
    "Projection \"perspective\"\n"
    "WorldBegin\n"
    "AttributeBegin\n"
    "Color [0.2 0.3 0.9]\n"
    "Surface \"matte\"\n"
    "Polygon \"P\" [0.2 1.5 2.5 -0.2 1.5 2.5 -0.2 0 2.5 0.2 0 2.5]\n"
    "AttributeEnd\n"
    "AttributeBegin\n"
    "Skew 45   0 1 0   1 0 0\n"
    "Color [0.9 0.3 0.2]\n"
    "Surface \"matte\"\n"
    "Polygon \"P\" [0.2 1.5 2.5 -0.2 1.5 2.5 -0.2 0 2.5 0.2 0 2.5]\n"
    "AttributeEnd\n"
    "WorldEnd\n"
    "\n";

TEST(Programs, TestSceneRunsThroughQview) {
  vellum_test::ChildResult run =
      vellum_test::runProgram("PATH='" + binDirectory() + "':\"$PATH\" " VELLUM_TESTSCENE);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, kTestSceneRib);
  EXPECT_EQ(run.err, "qview: " + std::to_string(kTestSceneRib.size()) + " bytes, 18 lines\n");
}

TEST(Programs, TestSceneWithoutQviewFailsAtBegin) {
  vellum_test::ChildResult run = vellum_test::runProgram("PATH=/nonexistent " VELLUM_TESTSCENE);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error opening pipe to qview\n");
}

TEST(Programs, QviewCountsBytesAndLines) {
  struct Case {
    std::string input;
    std::string summary;
  } cases[] = {
      {"", "qview: 0 bytes, 0 lines\n"},
      {"a\nb\n", "qview: 4 bytes, 2 lines\n"},
      {"no line end", "qview: 11 bytes, 0 lines\n"},
      {std::string(200000, '\n'), "qview: 200000 bytes, 200000 lines\n"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run = vellum_test::runProgram(VELLUM_QVIEW, c.input);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, c.input);
    EXPECT_EQ(run.err, c.summary);
  }
}

TEST(Programs, CClientBuildsAgainstThePublicHeader) {
  vellum_test::ChildResult run = vellum_test::runProgram(VELLUM_C_CLIENT);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, vellum_test::kHeader + "WorldBegin\nWorldEnd\n\n");
}

}  // namespace
