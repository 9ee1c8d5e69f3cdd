// ribdiff: pairs of small streams, what it prints and its exit status.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

struct DiffRun {
  int status;
  std::string out, err;
};

// ribdiff OPTIONS A B over the texts `a` and `b`, written to files "a.rib"
// and "b.rib" (names as the tool shows them: the paths' last parts are
// replaced by "a.rib" and "b.rib" in the output).
DiffRun ribdiff(const std::string &options, const std::string &a, const std::string &b, bool gzipB = false) {
  const std::string pathA = vellum_test::tempPath("a.rib"), pathB = vellum_test::tempPath("b.rib");
  vellum_test::writeFile(pathA, a);
  if (gzipB) {
    gzFile file = gzopen(pathB.c_str(), "wb");
    gzwrite(file, b.data(), static_cast<unsigned>(b.size()));
    gzclose(file);
  } else {
    vellum_test::writeFile(pathB, b);
  }
  vellum_test::ChildResult run =
      vellum_test::runProgram(std::string(VELLUM_RIBDIFF) + " " + options + " " + pathA + " " + pathB);
  std::remove(pathA.c_str());
  std::remove(pathB.c_str());
  for (std::string *text : {&run.out, &run.err}) {
    for (const auto &[path, name] : {std::pair{pathA, "a.rib"}, std::pair{pathB, "b.rib"}})
      for (size_t at; (at = text->find(path)) != std::string::npos;) text->replace(at, path.size(), name);
  }
  return {run.exitStatus, run.out, run.err};
}

const std::string kScene =
    "WorldBegin\nSphere 1 -1 1 360\nColor [1 0 0]\nTranslate 1 2 3\nSurface \"plastic\" \"Kd\" 0.5\n"
    "Polygon \"P\" [0 0 0 1 0 0 1 1 0]\nWorldEnd\n";

std::string repeated(const std::string &text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

std::string replaced(std::string text, const std::string &from, const std::string &to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(Ribdiff, ComparesRequestsAfterReading) {
  const std::string header = "--- a.rib\n+++ b.rib\n";
  const struct {
    const char *what;
    std::string options, b;
    int status;
    std::string out;
    bool gzipB = false;
  } cases[] = {
      {"the same scene written otherwise",
       "",
       "##RenderMan RIB-Structure 1.0\nversion 3.03\n# a comment\nWorldBegin Sphere 1.0 -1 1e0 360\nColor 1 0 0\n"
       "Translate 1 2 3.000\nDeclare \"Kd\" \"uniform float\"\nSurface \"plastic\" \"uniform float Kd\" [.5]\n"
       "Polygon \"P\" [0 0 0\n1 0 0\n1 1 0]\nWorldEnd\n",
       0, ""},
      {"the same scene compressed", "", kScene, 0, "", true},
      {"one number",
       "", replaced(kScene, "Translate 1 2 3", "Translate 1 2 3.5"), 1,
       header + "@@ a.rib:1 b.rib:1 @@\n  WorldBegin\n  Sphere 1 -1 1 360\n  Color 1 0 0\n- Translate 1 2 3\n"
                "+ Translate 1 2 3.5\n  Surface \"plastic\" \"Kd\" [0.5]\n  Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n"
                "  WorldEnd\n"},
      {"one parameter, one request of context",
       "-U 1", replaced(kScene, "\"Kd\" 0.5", "\"Ks\" 0.5"), 1,
       header + "@@ a.rib:4 b.rib:4 @@\n  Translate 1 2 3\n- Surface \"plastic\" \"Kd\" [0.5]\n"
                "+ Surface \"plastic\" \"Ks\" [0.5]\n  Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n"},
      {"one request inserted, no context",
       "-U 0", replaced(kScene, "WorldEnd", "Cone 1 1 360\nWorldEnd"), 1,
       header + "@@ a.rib:6 b.rib:7 @@\n+ Cone 1 1 360\n"},
      {"one request removed, two hunks apart",
       "-U 1", replaced(replaced(kScene, "Sphere 1 -1 1 360\n", ""), "\nWorldEnd", "\nDisk 0 1 360\nWorldEnd"), 1,
       header + "@@ a.rib:1 b.rib:1 @@\n  WorldBegin\n- Sphere 1 -1 1 360\n  Color 1 0 0\n"
                "@@ a.rib:6 b.rib:5 @@\n  Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n+ Disk 0 1 360\n  WorldEnd\n"},
      {"a tolerance at its edge", "--abs 0.5 -q", replaced(kScene, "Translate 1 2 3", "Translate 1 2 3.5"), 0, ""},
      {"a tolerance just short of it", "--abs 0.49 -q", replaced(kScene, "Translate 1 2 3", "Translate 1 2 3.5"), 1,
       "Streams a.rib and b.rib differ\n"},
      {"a relative tolerance", "--rel 0.15 -q", replaced(kScene, "Translate 1 2 3", "Translate 1 2 3.5"), 0, ""},
      {"counted by name", "--stat", replaced(replaced(kScene, "Translate 1 2 3", "Translate 1 2 4"), "WorldEnd",
                                             "Cone 1 1 360\nCone 1 1 180\nWorldEnd"),
       1, "Cone: 0 removed, 2 added\nTranslate: 1 removed, 1 added\n1 request removed, 3 added\n"},
      {"comments when they count", "--comments -U 0", replaced(kScene, "WorldEnd", "# done\nWorldEnd"), 1,
       header + "@@ a.rib:6 b.rib:7 @@\n+ # done\n"},
      {"long arrays shortened in the middle", "-U 0",
       "PointsPolygons [3 3 3 3 3 3 3 3 3 3 3 3] [0 1 2 0 2 3 0 3 4 0 4 5 0 5 6 0 6 7 0 7 8 0 8 9 0 9 10 0 10 11 0 11 12 0 "
       "12 13] \"P\" [" + repeated("1 ", 42) + "]\n" + kScene,
       1,
       header + "@@ a.rib:0 b.rib:1 @@\n+ PointsPolygons [3 3 3 3 3 3 3 ... 3 3 3] [0 1 2 0 2 3 0 ... 0 12 13] \"P\" "
                "[1 1 1 1 1 1 1 ... 1 1 1]\n"},
  };
  for (const auto &c : cases) {
    const DiffRun run = ribdiff(c.options, kScene, c.b, c.gzipB);
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(run.out, c.out) << c.what;
    EXPECT_EQ(run.err, "") << c.what;
  }
}

TEST(Ribdiff, TroubleIsStatusTwo) {
  const std::string ribdiffPath = VELLUM_RIBDIFF;
  const struct {
    const char *what;
    std::string command, stdinText;
    std::string err;  // the start of it
  } cases[] = {
      {"a file that is not there", ribdiffPath + " /nonexistent/a.rib /nonexistent/b.rib", "",
       "/nonexistent/a.rib: No such file or directory\n"},
      {"an error in a stream", ribdiffPath + " - /dev/null", "Sphere 1\n", "<stdin>:1: Sphere: expected a number"},
      {"one stream only", ribdiffPath + " a.rib", "", "ribdiff: two streams are compared, A and B\nusage:"},
      {"a bad tolerance", ribdiffPath + " --rel -1 a b", "", "ribdiff: --rel needs a number not below 0\n"},
  };
  for (const auto &c : cases) {
    const vellum_test::ChildResult run = vellum_test::runProgram(c.command, c.stdinText);
    EXPECT_EQ(run.exitStatus, 2) << c.what;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.what;
  }
}

}  // namespace
