#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

std::string binDirectory() {
  std::string qview = VELLUM_QVIEW;
  return qview.substr(0, qview.rfind('/'));
}

using vellum_test::kTestSceneRib;

TEST(Programs, TestScenePipesItsRibIntoQview) {
  // A stand-in qview that keeps what it receives.
  const std::string dir = vellum_test::tempPath("fakebin");
  const std::string copy = vellum_test::tempPath("received.rib");
  vellum_test::runProgram("mkdir -p '" + dir + "' && printf '#!/bin/sh\\ncat > \"%s\"\\n' '" + copy +
                          "' > '" + dir + "/qview' && chmod +x '" + dir + "/qview'");
  vellum_test::ChildResult run =
      vellum_test::runProgram("PATH='" + dir + "':\"$PATH\" " VELLUM_TESTSCENE);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(vellum_test::readFile(copy), kTestSceneRib);
}

TEST(Programs, QviewFindsTheTestSceneValid) {
  vellum_test::ChildResult run =
      vellum_test::runProgram("PATH='" + binDirectory() + "':\"$PATH\" " VELLUM_TESTSCENE);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "qview: 16 requests, 1 world, 2 primitives, 0 errors\n");
}

TEST(Programs, TestSceneWithoutQviewFailsAtBegin) {
  vellum_test::ChildResult run = vellum_test::runProgram("PATH=/nonexistent " VELLUM_TESTSCENE);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error opening pipe to qview\n");
}

TEST(Programs, CClientBuildsAgainstThePublicHeader) {
  vellum_test::ChildResult run = vellum_test::runProgram(VELLUM_C_CLIENT);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, vellum_test::kHeader + "WorldBegin\nWorldEnd\n\n");
}

}  // namespace
