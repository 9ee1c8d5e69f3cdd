// Hostile streams: what a reader (following archives, as qview does) makes
// of inputs built to make it run forever, eat memory or lose data.  Each
// must end with the diagnostics named, having read what it says it read.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "reader/rib_reader.h"
#include "tests/recording_context.h"

namespace {

struct Case {
  const char *what;
  std::map<std::string, std::string> files;  // "main" is the stream
  std::string diagnostics;                   // exactly, one per line
  int errors;
  std::string calls;  // empty: not checked
  vellum::WorkMeter::Limits limits =
      vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kArchiveBytes, {65536, 0});
};

std::string repeat(const std::string &text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

// Archive k reads archive k+1 `fanOut` times; the last holds a sphere.
std::map<std::string, std::string> fanOut(int levels, int fanOut) {
  std::map<std::string, std::string> files;
  for (int k = 0; k < levels; ++k)
    files[k == 0 ? "main" : "a" + std::to_string(k)] =
        repeat("ReadArchive \"a" + std::to_string(k + 1) + "\"\n", fanOut);
  files["a" + std::to_string(levels)] = "Sphere 1 -1 1 360\n";
  return files;
}

TEST(RibBounds, HostileStreamsEndWithTheirDiagnostics) {
  const std::string sphere = "Sphere 1 -1 1 360\n";
  const std::string budgetSpent =
      ": work limit: more than 65536 bytes of archives read; the rest of the input is not read\n";
  const Case cases[] = {
      {"an archive that reads itself",
       {{"main", "ReadArchive \"main\"\n"}},
       "main:1: ReadArchive: \"main\" is already being read: reading it again would never end\n",
       1, ""},
      {"two archives that read each other",
       {{"main", "ReadArchive \"a\"\n"}, {"a", sphere + "ReadArchive \"b\"\n"}, {"b", "ReadArchive \"a\"\n"}},
       "b:1: ReadArchive: \"a\" is already being read: reading it again would never end\n", 1,
       "SphereV(1, -1, 1, 360;)\n"},
      {"the same archive twice, not a cycle",
       {{"main", "ReadArchive \"a\"\nReadArchive \"a\"\n"}, {"a", sphere}}, "", 0,
       "SphereV(1, -1, 1, 360;)\nSphereV(1, -1, 1, 360;)\n"},
      // 10^15 reads without the budget; 16 archives of 4 KiB each with it.
      {"a fan-out of small archives", fanOut(15, 10), "a14:2" + budgetSpent, 1, ""},
      {"an archive larger than the budget",
       {{"main", "ReadArchive \"big\"\n" + sphere}, {"big", repeat("Identity\n", 10000)}},
       "main:1" + budgetSpent, 1, ""},
      // Every directory looked in for nothing counts 256 bytes: 16 of
      // them for each archive spend the budget at the 16th archive.
      {"many archives looked for along a long path",
       {{"main", "Option \"searchpath\" \"archive\" [\"" + repeat("d:", 15) + "&:" +
                     "1:2:3:4:5:6:7:8:9:10:11:12:13:14:15\"]\n" + repeat("ReadArchive \"x\"\n", 100)}},
       "main:2: warning: ReadArchive: \"x\" cannot be opened because it does not exist in the archive "
       "search path \"d:.:1:2:3:4:5:6:7:8:9:10:11:12:13:14:15\"\nmain:17" + budgetSpent,
       1, ""},
      {"paths built from paths count too",
       {{"main", "Option \"searchpath\" \"archive\" [\"" + std::string(1000, 'd') + "\"]\n" +
                     repeat("Option \"searchpath\" \"archive\" [\"&\"]\n", 100) + "ReadArchive \"a\"\n"},
        {"a", sphere}},
       "main:66" + budgetSpent, 1, ""},
      {"a path made of itself does not grow",
       {{"main",
         repeat("Option \"searchpath\" \"archive\" [\"&:&:&\"]\n", 1000) + "ReadArchive \"a\"\n"},
        {"a", "Sphere 1\n"}},
       "a:1: Sphere: expected a number as operand 2\n", 1, ""},
      {"archives nested too deep", fanOut(20, 1),
       "a16:1: ReadArchive: archives nested more than 16 deep: \"a17\" is not read\n", 1, "",
       vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kArchiveBytes, {1 << 20, 0})},
      {"a delayed archive, between attribute blocks",
       {{"main", "Procedural \"DelayedReadArchive\" [\"a\"] [0 1 0 1 0 1]\n"}, {"a", "Color 1 0 0\n"}},
       "", 0, "AttributeBegin()\nColor([1 0 0])\nAttributeEnd()\n"},
      {"errors without end",
       {{"main", repeat("Sphere 1\n", 1000) + sphere}},
       [] {
         std::string all;
         for (int line = 1; line <= 100; ++line)
           all += "main:" + std::to_string(line) + ": Sphere: expected a number as operand 2\n";
         return all + "main:100: too many errors\n";
       }(),
       100, ""},
      {"errors in archives count with the stream's",
       {{"main", repeat("ReadArchive \"bad\"\n", 3) + sphere}, {"bad", repeat("Sphere 1\n", 40)}},
       [] {
         std::string all;
         for (int line = 1; line <= 40; ++line)
           all += "bad:" + std::to_string(line) + ": Sphere: expected a number as operand 2\n";
         all += all;
         for (int line = 1; line <= 20; ++line)
           all += "bad:" + std::to_string(line) + ": Sphere: expected a number as operand 2\n";
         return all + "bad:20: too many errors\n";
       }(),
       100, ""},
      {"counts past what a request can hold",
       {{"main",
         "PatchMesh \"bilinear\" 2000000000 \"nonperiodic\" 2000000000 \"nonperiodic\" \"P\" []\n"
         "GeneralPolygon [2000000000 2000000000] \"P\" []\n"
         "PointsPolygons [1] [2147483647] \"P\" []\n"
         "PointsPolygons [1] [100000] \"vertex float[32767] rtbig\" []\n"}},
       "main:1: PatchMesh: too many values (more than 2147483647 in one storage class)\n"
       "main:2: GeneralPolygon: too many values (more than 2147483647 in one storage class)\n"
       "main:3: PointsPolygons: too many values (more than 2147483647 in one storage class)\n"
       "main:4: PointsPolygons: parameter \"vertex float[32767] rtbig\" has too many values\n",
       4, ""},
      // B is defined while A is read back: it is charged by what it holds
      // (about 5.4 KiB) besides the 4 KiB of opening it, each time.
      {"inline archives defined while another is read back",
       {{"main", "ArchiveBegin \"A\"\nArchiveBegin \"B\"\n" + repeat(sphere, 200) +
                     "ArchiveEnd\nArchiveEnd\nReadArchive \"A\"\n" + repeat("ReadArchive \"B\"\n", 1000)}},
       "main:313: work limit: more than 1048576 bytes of archives read; the rest of the input is not "
       "read\n",
       1, "", vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kArchiveBytes, {1 << 20, 0})},
      // 102 requests to define it, then 101 each time it is read.
      {"requests read back count as requests",
       {{"main", "ArchiveBegin \"B\"\n" + repeat(sphere, 100) + "ArchiveEnd\n" +
                     repeat("ReadArchive \"B\"\n", 100)}},
       "main:111: work limit: more than 1000 requests read or replayed; the rest of the input is not "
       "read\n",
       1, "", vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kRequests, {1000, 0})},
      // Each sphere is kept in 28 bytes.
      {"an inline archive that never ends",
       {{"main", "ArchiveBegin \"x\"\n" + repeat(sphere, 10000)}},
       "main:148: work limit: more than 4096 bytes kept by inline archives; the rest of the input is "
       "not read\n",
       1, "", vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kRecordedBytes, {4096, 0})},
      // Each x keeps 2800 bytes, and gives them back when the next one
      // replaces it; y is kept beside the last, and its 115th sphere is
      // one too many.
      {"an inline archive redefined over and over",
       {{"main", repeat("ArchiveBegin \"x\"\n" + repeat(sphere, 100) + "ArchiveEnd\n", 50) +
                     "ArchiveBegin \"y\"\n" + repeat(sphere, 200) + "ArchiveEnd\n"}},
       "main:5216: work limit: more than 6000 bytes kept by inline archives; the rest of the input is "
       "not read\n",
       1, "", vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kRecordedBytes, {6000, 0})},
      {"an archive file that is not RIB is not shown",
       {{"main", "ReadArchive \"secret\"\nReadArchive \"late\"\n" + sphere},
        {"secret", "PASSWORD=hunter2 [\"x\"]\n"},
        {"late", "# a comment first\nSphre 1 -1 1 360\n"}},
       "main:1: ReadArchive: \"secret\" is not RIB: it is left out\n"
       "main:2: ReadArchive: \"late\" is not RIB: it is left out\n",
       2, "ArchiveRecord(\"comment\", \"a comment first\")\nSphereV(1, -1, 1, 360;)\n"},
      {"an archive that is RIB with errors in it",
       {{"main", "ReadArchive \"bad\"\n"}, {"bad", "Sphere 1\nSphre 1 -1 1 360\n"}},
       "bad:1: Sphere: expected a number as operand 2\nbad:2: unknown request Sphre\n", 2, ""},
      {"NUL bytes in strings",
       {{"main", "Surface \"pl\\000astic\"\nSurface \"pl\\400astic\"\nSurface \"a\" \"string s\" [\"x" +
                     std::string(1, '\0') + "\"]\nSurface \x93" + std::string("a\0b", 3) + "\n" +
                     "Surface \"plastic\"\n"}},
       "main:1: Surface: a string holds a NUL byte\nmain:2: Surface: a string holds a NUL byte\n"
       "main:3: Surface: a string holds a NUL byte\nmain:4: Surface: a string holds a NUL byte\n",
       4, "SurfaceV(\"plastic\";)\n"},
      {"ends that end no block, or another",
       {{"main", "AttributeEnd\nAttributeBegin\nTransformEnd\nTransformBegin\nAttributeEnd\n"
                 "TransformEnd\nAttributeEnd\n"}},
       "main:1: AttributeEnd: no AttributeBegin is open\n"
       "main:3: TransformEnd: the AttributeBegin of line 2 is still open\n"
       "main:5: AttributeEnd: the TransformBegin of line 4 is still open\n",
       3, "AttributeBegin()\nTransformBegin()\nTransformEnd()\nAttributeEnd()\n"},
      {"frames and worlds inside worlds",
       {{"main", "FrameBegin 1\nWorldBegin\nFrameBegin 2\nWorldBegin\nWorldEnd\nFrameEnd\n"}},
       "main:3: FrameBegin: inside the WorldBegin of line 2\n"
       "main:4: WorldBegin: inside the WorldBegin of line 2\n",
       2, "FrameBegin(1)\nWorldBegin()\nWorldEnd()\nFrameEnd()\n"},
      {"blocks left open",
       {{"main", "FrameBegin 1\nWorldBegin\n" + repeat("AttributeBegin\n", 100000)}},
       "main:100002: warning: AttributeBegin: not ended by the end of the stream, nor are the 100001 "
       "blocks around it\n",
       0, ""},
  };
  for (const Case &c : cases) {
    vellum::MemoryArchives archives(c.files);
    vellum::RibReader::Options options;
    options.archives = &archives;
    vellum::WorkMeter meter(c.limits);
    options.meter = &meter;
    vellum_test::RecordingContext target;
    std::string diagnostics;
    vellum::RibReader reader(
        target, [&](const vellum::Diagnostic &d) { diagnostics += d.text() + "\n"; }, options);
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({"main", std::make_unique<vellum::MemorySource>(c.files.at("main")), "main"});
    reader.read(std::move(inputs));
    EXPECT_EQ(diagnostics, c.diagnostics) << c.what;
    EXPECT_EQ(reader.errors(), c.errors) << c.what;
    if (!c.calls.empty()) {
      EXPECT_EQ(target.text(), c.calls) << c.what;
    }
  }
}

}  // namespace
