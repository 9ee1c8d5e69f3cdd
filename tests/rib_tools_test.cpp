#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string kRib = vellum_test::kHeader +
                         "Format 640 480 1\n"
                         "# a comment\n"
                         "WorldBegin\n"
                         "Sphere 1 -1 1 360 \"Cs\" [1 0 0 0 1 0 0 0 1 1 1 1]\n"
                         "Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n"
                         "WorldEnd\n"
                         "\n";

std::string fileWith(const std::string &content) {
  const std::string path = vellum_test::tempPath("in.rib");
  vellum_test::writeFile(path, content);
  return path;
}

std::string gzipFileWith(const std::string &content) {
  const std::string path = vellum_test::tempPath("in.rib.gz");
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, content.data(), static_cast<unsigned>(content.size()));
  gzclose(file);
  return path;
}

std::string ribcat(const std::string &arguments) {
  return std::string(VELLUM_RIBCAT) + " " + arguments;
}

TEST(Ribcat, RewritesValidRibUnchanged) {
  const std::string in = fileWith(kRib);
  vellum_test::ChildResult run = vellum_test::runProgram(ribcat(in));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kRib);
  // Standard input, and gzip-compressed files.
  EXPECT_EQ(vellum_test::runProgram(ribcat(""), kRib).out, kRib);
  EXPECT_EQ(vellum_test::runProgram(ribcat("-"), kRib).out, kRib);
  EXPECT_EQ(vellum_test::runProgram(ribcat(gzipFileWith(kRib))).out, kRib);
}

TEST(Ribcat, AsciiToBinaryToAsciiReproducesTheBytes) {
  const std::string binaryPath = vellum_test::tempPath("out.rib");
  vellum_test::ChildResult toBinary =
      vellum_test::runProgram(ribcat("-b -o " + binaryPath + " " + fileWith(kRib)));
  EXPECT_EQ(toBinary.exitStatus, 0);
  const std::string binary = vellum_test::readFile(binaryPath);
  EXPECT_NE(binary, kRib);
  EXPECT_NE(binary.find('\xC8'), std::string::npos);  // float arrays became binary
  EXPECT_EQ(vellum_test::runProgram(ribcat(binaryPath)).out, kRib);
}

TEST(Ribcat, OutputNamedLikeARendererIsAFile) {
  const std::string dir = vellum_test::tempPath("cwd");
  vellum_test::ChildResult run = vellum_test::runProgram(
      "mkdir '" + dir + "' && cd '" + dir + "' && " + ribcat("-o qview " + fileWith(kRib)));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(vellum_test::readFile(dir + "/qview"), kRib);
}

TEST(Ribcat, ErrorsAndUsage) {
  const std::string bad = fileWith("WorldBegin\nSphere 1 2\nWorldEnd\n");
  struct Case {
    std::string arguments;
    int exitStatus;
    std::string out;
    std::string errPrefix;
  } cases[] = {
      {bad, 1, vellum_test::kHeader + "WorldBegin\nWorldEnd\n\n",
       bad + ":2: Sphere: expected a number as operand 3\n"},
      {"/no/such/file.rib", 1, vellum_test::kHeader + "\n",
       "/no/such/file.rib: No such file or directory\n"},
      {"-x", 2, "", "ribcat: unknown option -x\nusage: ribcat"},
      {"-o", 2, "", "ribcat: -o needs a file name\nusage: ribcat"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run = vellum_test::runProgram(ribcat(c.arguments));
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err.substr(0, c.errPrefix.size()), c.errPrefix) << c.arguments;
  }
  vellum_test::ChildResult help = vellum_test::runProgram(ribcat("--help"));
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("Exit status: 0 when the input was valid"), std::string::npos);
}

TEST(Qview, SummarisesAndChecks) {
  struct Case {
    std::string arguments;
    std::string input;
    int exitStatus;
    std::string err;
  } cases[] = {
      {"", kRib, 0, "qview: 6 requests, 1 world, 2 primitives, 0 errors\n"},
      {fileWith(kRib) + " " + gzipFileWith(kRib), "", 0,
       "qview: 12 requests, 2 worlds, 4 primitives, 0 errors\n"},
      {"-v", "WorldBegin\nSphere 1 -1 1 360\n", 0,
       "1: WorldBegin\n2: Sphere\nqview: 2 requests, 1 world, 1 primitive, 0 errors\n"},
      {"", "Sphere 1\n", 1,
       "<stdin>:1: Sphere: expected a number as operand 2\n"
       "qview: 0 requests, 0 worlds, 0 primitives, 1 error\n"},
      {"-q", "", 2, "qview: unknown option -q\nusage: qview [-v] [FILE...]\n"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run =
        vellum_test::runProgram(std::string(VELLUM_QVIEW) + " " + c.arguments, c.input);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.arguments;
  }
}

}  // namespace
