// qview --stats and --json: the summary of each file, exactly as printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/test_support.h"

namespace {

// A stream with an archive read twice, a request that fails its check
// (not counted), one of each kind of count, and sizes that tie.
const std::string kStream =
    "##RenderMan RIB\n"
    "version 3.04\n"
    "FrameBegin 1\n"
    "WorldBegin\n"
    "LightSource \"pointlight\" 1\n"
    "ReadArchive \"arch.rib\"\n"
    "ReadArchive \"arch.rib\"\n"
    "Sphere 1 -1\n"
    "PointsPolygons [3 4] [0 1 2 0 1 2 3] \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n"
    "Curves \"cubic\" [4 4] \"nonperiodic\" \"P\" [0 0 0 1 0 0 1 1 0 0 1 0 0 0 0 1 0 0 1 1 0 0 1 0]\n"
    "Points \"P\" [0 0 0 1 1 1]\n"
    "ObjectBegin 1\n"
    "Sphere 1 -1 1 360\n"
    "ObjectEnd\n"
    "ObjectInstance 1\n"
    "WorldEnd\n"
    "FrameEnd\n";
const std::string kArchive = "Sphere 1 -1 1 360\nPolygon \"P\" [0 0 0 1 0 0 1 1 0]\n";

// A directory of its own with the stream as s.rib and the archive beside
// it; qview runs there, so names show as written.
struct StatsDirectory {
  const std::string path = vellum_test::tempPath("stats");
  StatsDirectory() {
    vellum_test::runProgram("mkdir '" + path + "'");
    vellum_test::writeFile(path + "/s.rib", kStream);
    vellum_test::writeFile(path + "/arch.rib", kArchive);
  }
  ~StatsDirectory() { vellum_test::runProgram("rm -rf '" + path + "'"); }
  vellum_test::ChildResult qview(const std::string &arguments, const std::string &input = "") const {
    return vellum_test::runProgram("cd '" + path + "' && " + VELLUM_QVIEW + " " + arguments, input);
  }
};

const char kCheckError[] =
    "s.rib:8: Sphere: expected a number as operand 3\n"
    "qview: 15 requests, 1 world, 4 primitives, 1 error\n";

TEST(QviewStats, SummarisesTheRequestsThatPassTheirChecks) {
  StatsDirectory directory;
  const vellum_test::ChildResult run = directory.qview("--stats s.rib");
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, kCheckError);
  // Names by bytes, equal bytes by name; the largest five with the earlier
  // of two equal ReadArchives.
  EXPECT_EQ(run.out,
            "s.rib: 15 requests, 353 bytes\n"
            "  requests by bytes:\n"
            "         count          bytes  request\n"
            "             1             88  Curves\n"
            "             1             66  PointsPolygons\n"
            "             2             44  ReadArchive\n"
            "             1             26  LightSource\n"
            "             1             24  Points\n"
            "             1             17  Sphere\n"
            "             1             16  ObjectInstance\n"
            "             1             13  ObjectBegin\n"
            "             1             12  FrameBegin\n"
            "             1             12  version\n"
            "             1             10  WorldBegin\n"
            "             1              9  ObjectEnd\n"
            "             1              8  FrameEnd\n"
            "             1              8  WorldEnd\n"
            "  primitives:\n"
            "         count       vertices        faces       curves       points  kind\n"
            "             1              8            0            2            0  Curves\n"
            "             1              2            0            0            2  Points\n"
            "             1              4            2            0            0  PointsPolygons\n"
            "             1              0            0            0            0  Sphere\n"
            "  frames 1, worlds 1, lights 1, objects 1, instances 1\n"
            "  archives read:\n"
            "         reads          bytes  path\n"
            "             2            100  arch.rib\n"
            "  largest requests:\n"
            "            88 bytes  Curves at s.rib:10\n"
            "            66 bytes  PointsPolygons at s.rib:9\n"
            "            26 bytes  LightSource at s.rib:5\n"
            "            24 bytes  Points at s.rib:11\n"
            "            22 bytes  ReadArchive at s.rib:6\n");
}

// The same stream in binary and gzip has the same counts, in the bytes it
// takes as read (after decompression); the JSON holds every file.
TEST(QviewStats, JsonHoldsEveryFileAsRead) {
  StatsDirectory directory;
  vellum_test::writeFile(directory.path + "/small.rib",
                         "version 3.03\nWorldBegin\nPolygon \"P\" [0.5 0 0 1 0 0 1 1 0]\nWorldEnd\n");
  ASSERT_EQ(vellum_test::runProgram("cd '" + directory.path + "' && " + VELLUM_RIBCAT +
                                    " -b -z -o small.rib.gz small.rib")
                .exitStatus,
            0);
  const vellum_test::ChildResult run = directory.qview("--json small.rib small.rib.gz");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "qview: 8 requests, 2 worlds, 2 primitives, 0 errors\n");
  // `first` is the line of the version request (ribcat's output starts
  // with a comment line).
  const auto file = [](const char *name, int polygon, int first) {
    const auto line = [first](int k) { return std::to_string(first + k); };
    return std::string("{\"file\": \"") + name + "\", \"requests\": 4, \"bytes\": " +
           std::to_string(polygon + 30) + ", \"by_request\": [{\"name\": \"Polygon\", \"count\": 1, \"bytes\": " +
           std::to_string(polygon) +
           "}, {\"name\": \"version\", \"count\": 1, \"bytes\": 12}, {\"name\": \"WorldBegin\", \"count\": 1, "
           "\"bytes\": 10}, {\"name\": \"WorldEnd\", \"count\": 1, \"bytes\": 8}], \"primitives\": [{\"kind\": "
           "\"Polygon\", \"count\": 1, \"vertices\": 3, \"faces\": 1, \"curves\": 0, \"points\": 0}], \"frames\": 0, "
           "\"worlds\": 1, \"lights\": 0, \"objects\": 0, \"instances\": 0, \"archives\": [], \"largest\": "
           "[{\"name\": \"Polygon\", \"line\": " +
           line(2) + ", \"bytes\": " + std::to_string(polygon) + "}, {\"name\": \"version\", \"line\": " + line(0) +
           ", \"bytes\": 12}, {\"name\": \"WorldBegin\", \"line\": " + line(1) +
           ", \"bytes\": 10}, {\"name\": \"WorldEnd\", \"line\": " + line(3) + ", \"bytes\": 8}]}";
  };
  // In binary the 9 floats are a 2-byte header and 36 bytes, without the
  // brackets and blanks.
  EXPECT_EQ(run.out, "{\"files\": [" + file("small.rib", 33, 1) + ", " + file("small.rib.gz", 50, 2) + "]}\n");
}

TEST(QviewStats, OptionsAndNames) {
  StatsDirectory directory;
  const vellum_test::ChildResult both = directory.qview("-v --json s.rib");
  EXPECT_EQ(both.exitStatus, 2);
  EXPECT_EQ(both.out, "");
  EXPECT_EQ(both.err.substr(0, both.err.find('\n') + 1), "qview: -v and --json both write to standard output\n");
  EXPECT_NE(both.err.find("usage: qview"), std::string::npos);

  // Standard input is named "<stdin>"; in JSON, a name's quote, backslash and
  // control character are escaped and a byte that is not UTF-8 is U+FFFD
  // (UTF-8 itself stays as it is).
  const std::string odd = "q\"\\\t\xff\xc3\xa9.rib";
  vellum_test::writeFile(directory.path + "/" + odd, "WorldBegin\nWorldEnd\n");
  const vellum_test::ChildResult named = directory.qview("--json - " + std::string("'") + odd + "'",
                                                         "FrameBegin 1\nFrameEnd\n");
  EXPECT_EQ(named.exitStatus, 0) << named.err;
  EXPECT_EQ(named.out.rfind("{\"files\": [{\"file\": \"<stdin>\", \"requests\": 2", 0), 0u) << named.out;
  EXPECT_NE(named.out.find("{\"file\": \"q\\\"\\\\\\u0009\\ufffd\xc3\xa9.rib\", \"requests\": 2"),
            std::string::npos)
      << named.out;

  // A stream with nothing in it.
  const vellum_test::ChildResult empty = directory.qview("--stats -", "");
  EXPECT_EQ(empty.exitStatus, 0);
  EXPECT_EQ(empty.out,
            "<stdin>: 0 requests, 0 bytes\n"
            "  requests by bytes:\n"
            "         count          bytes  request\n"
            "  primitives:\n"
            "    none\n"
            "  frames 0, worlds 0, lights 0, objects 0, instances 0\n"
            "  archives read:\n"
            "    none\n"
            "  largest requests:\n");
}

}  // namespace
