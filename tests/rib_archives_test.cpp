// The archives a stream reads, when the reader follows them as qview does:
// what becomes of one that is not there, and of the handles it may have
// defined.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "reader/rib_reader.h"
#include "tests/recording_context.h"

namespace {

struct Case {
  const char *what;
  std::map<std::string, std::string> files;  // "main" is the stream
  std::string diagnostics;                   // exactly, one per line
  std::string calls;
  bool strict = false;
  bool actOnConditions = false;
  vellum::WorkMeter::Limits limits = vellum::WorkMeter::kDefaultLimits;
};

void expectRead(const Case &c) {
  vellum::MemoryArchives archives(c.files);
  vellum::RibReader::Options options;
  options.archives = &archives;
  options.strict = c.strict;
  options.actOnConditions = c.actOnConditions;
  vellum::WorkMeter meter(c.limits);
  options.meter = &meter;
  vellum_test::RecordingContext target;
  std::string diagnostics;
  int warnings = 0;
  vellum::RibReader reader(
      target,
      [&](const vellum::Diagnostic &d) {
        diagnostics += d.text() + "\n";
        warnings += d.warning;
      },
      options);
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"main", std::make_unique<vellum::MemorySource>(c.files.at("main")), "main"});
  reader.read(std::move(inputs));
  EXPECT_EQ(diagnostics, c.diagnostics) << c.what;
  EXPECT_EQ(target.text(), c.calls) << c.what;
  const int lines = static_cast<int>(std::count(diagnostics.begin(), diagnostics.end(), '\n'));
  EXPECT_EQ(reader.errors(), lines - warnings) << c.what;
}

const std::string kSphere = "Sphere 1 -1 1 360\n";
const std::string kSphereCall = "SphereV(1, -1, 1, 360;)\n";

TEST(RibArchives, AnArchiveThatIsNotThereIsAWarning) {
  const std::string notThere = " cannot be opened because it does not exist\n";
  const std::string kept = "; the reference is kept\n";
  const Case cases[] = {
      {"a missing archive",
       {{"main", "ReadArchive \"no.rib\"\n" + kSphere}},
       "main:1: warning: ReadArchive: \"no.rib\"" + notThere, kSphereCall},
      {"a missing archive, strict",
       {{"main", "ReadArchive \"no.rib\"\n" + kSphere}},
       "main:1: ReadArchive: \"no.rib\"" + notThere, kSphereCall, true},
      {"a missing delayed archive",
       {{"main", "Procedural \"DelayedReadArchive\" [\"no.rib\"] [0 1 0 1 0 1]\n"}},
       "main:1: warning: Procedural: \"no.rib\"" + notThere, "AttributeBegin()\nAttributeEnd()\n"},
      {"handles a missing archive may define",
       {{"main", "ReadArchive \"lights.rib\"\nIlluminate 1 1\nObjectInstance \"tree\"\n"}},
       "main:1: warning: ReadArchive: \"lights.rib\"" + notThere +
           "main:2: warning: Illuminate: light 1 is not defined in this stream; the missing archive "
           "\"lights.rib\" may define it" + kept +
           "main:3: warning: ObjectInstance: object \"tree\" is not defined in this stream; the "
           "missing archive \"lights.rib\" may define it" + kept,
       "ArchiveRecord(\"verbatim\", \"Illuminate 1 1\n\")\n"
       "ArchiveRecord(\"verbatim\", \"ObjectInstance \"tree\"\n\")\n"},
      {"the last of several missing archives is named",
       {{"main", "ReadArchive \"a\"\nReadArchive \"b\"\nReadArchive \"c\"\nIlluminate 1 1\n"}},
       "main:1: warning: ReadArchive: \"a\"" + notThere + "main:2: warning: ReadArchive: \"b\"" +
           notThere + "main:3: warning: ReadArchive: \"c\"" + notThere +
           "main:4: warning: Illuminate: light 1 is not defined in this stream; the missing archive "
           "\"c\" (or one of the 2 missing before it) may define it" + kept,
       "ArchiveRecord(\"verbatim\", \"Illuminate 1 1\n\")\n"},
      {"a handle referred to before the archive went missing",
       {{"main", "Illuminate 1 1\nReadArchive \"no\"\n"}},
       "main:1: warning: Illuminate: light 1 is not defined in this stream" + kept +
           "main:2: warning: ReadArchive: \"no\"" + notThere,
       "ArchiveRecord(\"verbatim\", \"Illuminate 1 1\n\")\n"},
      {"a rejected light stays an error",
       {{"main", "ReadArchive \"no\"\nLightSource \"spot\" 2 \"intensity\" \"x\"\nIlluminate 2 1\n"}},
       "main:1: warning: ReadArchive: \"no\"" + notThere +
           "main:2: LightSource: parameter \"intensity\" needs numbers\n"
           "main:3: Illuminate: light 2 was not defined: its request was rejected\n",
       ""},
      // An archive is a stream of its own: what is missing from it says
      // nothing of the handles of the stream that reads it.
      {"a missing archive inside an archive",
       {{"main", "ReadArchive \"a\"\nIlluminate 1 1\n"}, {"a", "ReadArchive \"no\"\n"}},
       "a:1: warning: ReadArchive: \"no\"" + notThere +
           "main:2: warning: Illuminate: light 1 is not defined in this stream" + kept,
       "ArchiveRecord(\"verbatim\", \"Illuminate 1 1\n\")\n"},
  };
  for (const Case &c : cases) expectRead(c);
}

// Option "searchpath" "archive": relative names are looked for in each
// directory in order ("@" the current one, "&" the path before), absolute
// names as they are; diagnostics name the file found.
TEST(RibArchives, TheSearchPathFindsArchives) {
  const std::string red = "Color 1 0 0\n", green = "Color 0 1 0\n", blue = "Color 0 0 1\n";
  const std::string redCall = "Color([1 0 0])\n", greenCall = "Color([0 1 0])\n",
                    blueCall = "Color([0 0 1])\n";
  auto option = [](const std::string &path) {
    return "Option \"searchpath\" \"archive\" [\"" + path + "\"]\n";
  };
  const std::string optionCall = "OptionV(\"searchpath\"; \"archive\")\n";
  const std::map<std::string, std::string> files = {
      {"lib/a.rib", red}, {"shared/a.rib", green}, {"shared/b.rib", green}, {"c.rib", blue},
      {"/abs.rib", blue}, {"lib/bad.rib", "Sphere 1\n"},
      {"lib/reads.rib", option("shared") + "ReadArchive \"a.rib\"\n"},
  };
  auto with = [&](const std::string &main) {
    std::map<std::string, std::string> all = files;
    all["main"] = main;
    return all;
  };
  const Case cases[] = {
      {"each directory in order",
       with(option("lib:shared:@") +
            "ReadArchive \"a.rib\"\nReadArchive \"b.rib\"\nReadArchive \"c.rib\"\n"),
       "", optionCall + redCall + greenCall + blueCall},
      {"& is the path before",
       with(option("lib") + option("shared:&") + "ReadArchive \"a.rib\"\n"), "",
       optionCall + optionCall + greenCall},
      {"without @ the current directory is not searched",
       with(option("lib:shared") + "ReadArchive \"c.rib\"\nReadArchive \"/abs.rib\"\n"),
       "main:2: warning: ReadArchive: \"c.rib\" cannot be opened because it does not exist in the "
       "archive search path \"lib:shared\"\n",
       optionCall + blueCall},
      {"the delayed archive too",
       with(option("shared") + "Procedural \"DelayedReadArchive\" [\"b.rib\"] [0 1 0 1 0 1]\n"), "",
       optionCall + "AttributeBegin()\n" + greenCall + "AttributeEnd()\n"},
      {"diagnostics name the file found", with(option("lib") + "ReadArchive \"bad.rib\"\n"),
       "lib/bad.rib:1: Sphere: expected a number as operand 2\n", optionCall},
      // An archive starts with the path of the stream that reads it; what
      // it sets stays its own.
      {"archives inherit the path",
       with(option("lib") + "ReadArchive \"reads.rib\"\nReadArchive \"a.rib\"\n"), "",
       optionCall + optionCall + greenCall + redCall},
      {"FrameEnd restores the path",
       with("FrameBegin 1\n" + option("lib") + "FrameEnd\nReadArchive \"a.rib\"\n"),
       "main:4: warning: ReadArchive: \"a.rib\" cannot be opened because it does not exist\n",
       "FrameBegin(1)\n" + optionCall + "FrameEnd()\n"},
      {"a value without directories is the default",
       with(option("lib") + option(":") + "ReadArchive \"c.rib\"\n"), "",
       optionCall + optionCall + blueCall},
  };
  for (const Case &c : cases) expectRead(c);
}

// Inline archives are recorded where they are defined and replayed where
// they are read, before any file of their name; only the branch of an
// IfBegin block whose expression holds reaches the target.
TEST(RibArchives, InlineArchivesAndConditionsAsARendererReadsThem) {
  const std::string part = "ArchiveBegin \"part\"\nColor [1 0 0]\nSphere 1 -1 1 360\nArchiveEnd\n";
  const std::string ifShot = "Option \"user\" \"string shot\" [\"s01\"]\n";
  const Case cases[] = {
      {"an inline archive is read where it is named, not where it is defined",
       {{"main", part + "WorldBegin\nReadArchive \"part\"\nReadArchive \"part\"\nWorldEnd\n"}},
       "", "WorldBegin()\nColor([1 0 0])\n" + kSphereCall + "Color([1 0 0])\n" + kSphereCall + "WorldEnd()\n"},
      {"before a file of the same name",
       {{"main", part + "ReadArchive \"part\"\n"}, {"part", "Cone 1 1 360\n"}},
       "", "Color([1 0 0])\n" + kSphereCall},
      {"read by a delayed archive of Procedural2",
       {{"main", part + "Procedural2 \"DelayedReadArchive2\" \"SimpleBound\" \"string filename\" "
                        "\"part\" \"float[6] bound\" [0 1 0 1 0 1]\n"}},
       "", "AttributeBegin()\nColor([1 0 0])\n" + kSphereCall + "AttributeEnd()\n"},
      {"a file by Procedural2",
       {{"main", "Procedural2 \"DelayedReadArchive2\" \"SimpleBound\" \"string filename\" \"f.rib\"\n"},
        {"f.rib", kSphere}},
       "", "AttributeBegin()\n" + kSphereCall + "AttributeEnd()\n"},
      {"an inline archive that reads itself",
       {{"main", "ArchiveBegin \"loop\"\nReadArchive \"loop\"\nArchiveEnd\nReadArchive \"loop\"\n"}},
       "main:2: ReadArchive: the inline archive \"loop\" is already being read: reading it again would "
       "never end\n",
       ""},
      {"inline archives fanning out are bounded by the work meter",
       {{"main", [] {
          std::string rib = "ArchiveBegin \"a0\"\n" + kSphere + "ArchiveEnd\n";
          for (int k = 1; k < 16; ++k) {
            rib += "ArchiveBegin \"a" + std::to_string(k) + "\"\n";
            for (int i = 0; i < 10; ++i) rib += "ReadArchive \"a" + std::to_string(k - 1) + "\"\n";
            rib += "ArchiveEnd\n";
          }
          return rib + "ReadArchive \"a15\"\n";
        }()}},
       "main:184: work limit: more than 65536 bytes of archives read; the rest of the input is not read\n",
       "", false, false, vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kArchiveBytes, {65536, 0})},
      {"an inline archive is checked with its own declarations, made when it is read",
       {{"main", "ArchiveBegin \"a\"\nDeclare \"e0\" \"constant float\"\nSphere 1 -1 1 360 \"e0\" [1]\n"
                 "ArchiveEnd\nSphere 1 -1 1 360 \"e0\" [3]\nReadArchive \"a\"\nSphere 1 -1 1 360 \"e0\" [2]\n"}},
       "main:5: Sphere: undeclared parameter \"e0\"\n",
       "Declare(\"e0\", \"constant float\")\nSphereV(1, -1, 1, 360; \"e0\")\nSphereV(1, -1, 1, 360; \"e0\")\n"},
      {"what replaying an inline archive reports names where it was defined",
       {{"main", "ArchiveBegin \"a\"\n\n\nReadArchive \"nothere\"\nArchiveEnd\nReadArchive \"a\"\n"}},
       "main:4: warning: ReadArchive: \"nothere\" cannot be opened because it does not exist\n", ""},
      {"the true branch only",
       {{"main", ifShot + "IfBegin \"$shot == 's02'\"\nCone 1 1 360\nElseIf \"$shot == 's01'\"\n" + kSphere +
                     "Else\nDisk 0 1 360\nIfEnd\n"}},
       "", "OptionV(\"user\"; \"string shot\")\n" + kSphereCall, false, true},
      {"after the branch taken, no other is, true or not",
       {{"main", "IfBegin \"1\"\n" + kSphere + "ElseIf \"1\"\nCone 1 1 360\nElse\nDisk 0 1 360\nIfEnd\n"}},
       "", kSphereCall, false, true},
      {"branches inside a false one stay false",
       {{"main", "IfBegin \"0\"\nIfBegin \"1\"\nCone 1 1 360\nElse\nDisk 0 1 360\nIfEnd\nElse\n" + kSphere +
                     "IfEnd\n"}},
       "", kSphereCall, false, true},
      {"an option in a false branch is not taken",
       {{"main", "IfBegin \"0\"\n" + ifShot + "IfEnd\nIfBegin \"defined(shot)\"\n" + kSphere + "IfEnd\n"}},
       "", "", false, true},
      {"an expression that cannot be evaluated is taken as true",
       {{"main", "IfBegin \"$nosuch == 1\"\n" + kSphere + "IfEnd\n"}},
       "main:1: warning: IfBegin: \"$nosuch == 1\" cannot be evaluated: taken as true\n", kSphereCall, false,
       true},
      {"every branch is checked",
       {{"main", "IfBegin \"0\"\nSphere 1\nIfEnd\n"}},
       "main:2: Sphere: expected a number as operand 2\n", "", false, true},
      {"without acting on conditions every branch is handed on",
       {{"main", "IfBegin \"0\"\n" + kSphere + "IfEnd\n"}},
       "", "IfBeginV(\"0\";)\n" + kSphereCall + "IfEnd()\n"},
  };
  for (const Case &c : cases) expectRead(c);
}

// An expression whose work would pass kMostExpressionWork (4 MiB) is
// false, with one error, and the next branch is tried.
TEST(RibArchives, AnExpressionTooLargeIsFalseWithAnError) {
  const auto option = [](size_t bytes) {
    return "Option \"user\" \"string v\" [\"" + std::string(bytes, 'a') + "\"]\n";
  };
  const std::string optionCall = "OptionV(\"user\"; \"string v\")\n";
  const std::string ifElse = "Cone 1 1 360\nElse\n" + kSphere + "IfEnd\n";
  // Each value taken and each joined: 4 x 1 MiB is the most.
  const std::string concat = "concat($v, $v)";
  // A piece of 200 bytes takes 4 steps a byte of the 1 MiB searched.
  const std::string match = "$v =~ '*" + std::string(200, 'a') + "b*'";
  const Case cases[] = {
      {"a concat within the most",
       {{"main", option(1 << 20) + "IfBegin \"" + concat + "\"\n" + ifElse}},
       "", optionCall + "ConeV(1, 1, 360;)\n", false, true},
      {"a concat past it",
       {{"main", option((1 << 20) + 1) + "IfBegin \"" + concat + "\"\n" + ifElse}},
       "main:2: IfBegin: \"" + concat + "\" expression too large\n", optionCall + kSphereCall, false, true},
      {"a match past it",
       {{"main", option(1 << 20) + "IfBegin \"0\"\nDisk 0 1 360\nElseIf \"" + match + "\"\n" + ifElse}},
       "main:4: ElseIf: \"" + match.substr(0, 60) + "...\" expression too large\n", optionCall + kSphereCall,
       false, true},
      // The left side decides: the right one is not evaluated, and needs
      // no variable.
      {"&& and || as in C",
       {{"main", "IfBegin \"defined(x) && $x == 1\"\nDisk 0 1 360\nElseIf \"1 || $y / 0\"\n" + ifElse}},
       "", "ConeV(1, 1, 360;)\n", false, true},
      // The meter's limit, smaller than the expression's own, ends the input.
      {"an expression past what the input may still build",
       {{"main", option(5000) + "IfBegin \"concat($v, $v)\"\n" + ifElse}},
       "main:2: work limit: more than 16384 bytes of text built by expressions and variables; the rest of "
       "the input is not read\n",
       optionCall, false, true, vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kText, {16384, 0})},
  };
  for (const Case &c : cases) expectRead(c);
}

}  // namespace

namespace {

// Each archive file the reader reports, as "path@depth:bytes".
std::string archivesSeen(const std::map<std::string, std::string> &files) {
  vellum::MemoryArchives archives(files);
  vellum::RibReader::Options options;
  options.archives = &archives;
  vellum_test::RecordingContext target;
  vellum::RibReader reader(target, [](const vellum::Diagnostic &) {}, options);
  std::string seen;
  reader.setArchiveObserver([&](const std::string &path, int depth, uint64_t bytes) {
    seen += path + "@" + std::to_string(depth) + ":" + std::to_string(bytes) + " ";
  });
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"main", std::make_unique<vellum::MemorySource>(files.at("main")), "main"});
  reader.read(std::move(inputs));
  return seen;
}

TEST(RibArchives, TheArchivesReadAreSeenWithTheirSizes) {
  const struct {
    const char *what;
    std::map<std::string, std::string> files;
    const char *seen;
  } cases[] = {
      {"one archive", {{"main", "ReadArchive \"a.rib\"\n"}, {"a.rib", kSphere}}, "a.rib@1:18 "},
      {"each reading",
       {{"main", "ReadArchive \"a.rib\"\nReadArchive \"a.rib\"\n"}, {"a.rib", kSphere}},
       "a.rib@1:18 a.rib@1:18 "},
      // The inner one ends first.
      {"nested",
       {{"main", "ReadArchive \"a.rib\"\n"}, {"a.rib", "ReadArchive \"b.rib\"\n"}, {"b.rib", kSphere}},
       "b.rib@2:18 a.rib@1:20 "},
      {"missing, not RIB, inline",
       {{"main", "ReadArchive \"no.rib\"\nReadArchive \"text\"\nArchiveBegin \"i\"\nArchiveEnd\nReadArchive \"i\"\n"},
        {"text", "just words\n"}},
       ""},
  };
  for (const auto &c : cases) EXPECT_EQ(archivesSeen(c.files), c.seen) << c.what;
}

}  // namespace
