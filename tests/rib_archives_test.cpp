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
};

void expectRead(const Case &c) {
  vellum::MemoryArchives archives(c.files);
  vellum::RibReader::Options options;
  options.archives = &archives;
  options.strict = c.strict;
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

}  // namespace
