// The reader a request at a time (start() and next()): the target gets the
// same calls and the sink the same diagnostics as from read(), and each
// request is handed out once it reached the target, in the order the
// target got them, archives' requests included.
#include <gtest/gtest.h>

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
  // One line per request handed out: "Name input:line", then " text" when
  // it reached the target as text, " made" when the reader made it, and
  // the declarations of its parameters between braces.
  std::string pulled;
  bool actOnConditions = false;
  bool followArchives = true;
  vellum::WorkMeter::Limits limits = vellum::WorkMeter::kDefaultLimits;
};

struct Outcome {
  std::string calls, diagnostics;
  int errors = 0, warnings = 0;
};

vellum::RibReader::Options optionsOf(const Case &c, vellum::MemoryArchives &archives, vellum::WorkMeter &meter) {
  vellum::RibReader::Options options;
  if (c.followArchives) options.archives = &archives;
  options.actOnConditions = c.actOnConditions;
  options.meter = &meter;
  return options;
}

std::vector<vellum::RibInput> mainInput(const Case &c) {
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"main", std::make_unique<vellum::MemorySource>(c.files.at("main")), "main"});
  return inputs;
}

// What the name of the last call the target got begins with when `pulled`
// reached it.
std::string callOf(const vellum::RibReader::Pulled &pulled) {
  if (pulled.row == nullptr || pulled.asText) return "ArchiveRecord(";
  return pulled.request->name;
}

void expectPulled(const Case &c) {
  vellum::MemoryArchives archives(c.files);
  Outcome read, pulled;
  {
    vellum::WorkMeter meter(c.limits);
    vellum_test::RecordingContext target;
    vellum::RibReader reader(
        target, [&](const vellum::Diagnostic &d) { read.diagnostics += d.text() + "\n"; },
        optionsOf(c, archives, meter));
    reader.read(mainInput(c));
    read.calls = target.text();
    read.errors = reader.errors();
    read.warnings = reader.warnings();
  }
  std::string handedOut;
  {
    vellum::WorkMeter meter(c.limits);
    vellum_test::RecordingContext target;
    vellum::RibReader reader(
        target, [&](const vellum::Diagnostic &d) { pulled.diagnostics += d.text() + "\n"; },
        optionsOf(c, archives, meter));
    reader.start(mainInput(c));
    vellum::RibReader::Pulled request;
    while (reader.next(request)) {
      const std::string name = request.row == nullptr ? "comment" : request.request->name;
      handedOut += name + " " + request.input() + ":" + std::to_string(request.request->line);
      if (request.asText) handedOut += " text";
      if (request.made) handedOut += " made";
      if (!request.request->parameters.empty()) {
        handedOut += " {";
        for (size_t i = 0; i < request.request->parameters.size(); ++i)
          handedOut += (i > 0 ? ", " : "") + request.declaration(i);
        handedOut += "}";
      }
      handedOut += "\n";
      // It has reached the target: it is the last call (the version
      // reaches none).
      if (name != "version") {
        ASSERT_FALSE(target.calls.empty()) << c.what << ": " << name;
        EXPECT_EQ(target.calls.back().rfind(callOf(request), 0), 0u)
            << c.what << ": " << name << " handed out after " << target.calls.back();
      }
      // What a caller takes of it is no concern of the reader's.
      *request.request = vellum::RibRequest();
    }
    EXPECT_FALSE(reader.next(request)) << c.what;
    pulled.calls = target.text();
    pulled.errors = reader.errors();
    pulled.warnings = reader.warnings();
  }
  EXPECT_EQ(pulled.calls, read.calls) << c.what;
  EXPECT_EQ(pulled.diagnostics, read.diagnostics) << c.what;
  EXPECT_EQ(pulled.errors, read.errors) << c.what;
  EXPECT_EQ(pulled.warnings, read.warnings) << c.what;
  EXPECT_EQ(handedOut, c.pulled) << c.what;
}

const std::string kSphere = "Sphere 1 -1 1 360\n";

TEST(RibPull, HandsOutWhatReachedTheTargetInOrder) {
  const std::string delayed = "Procedural \"DelayedReadArchive\" [\"a\"] [0 1 0 1 0 1]\n";
  const Case cases[] = {
      {"a plain stream, its version and comments",
       {{"main", "##RenderMan RIB\nversion 3.04\n# note\nWorldBegin\n" + kSphere + "WorldEnd\n"}},
       "version main:2\ncomment main:3\nWorldBegin main:4\nSphere main:5\nWorldEnd main:6\n"},
      {"rejected requests are not handed out",
       {{"main", "Sphere 1\nCone 1 1 360\nPolygon \"P\" [0 0 0 1]\n"}}, "Cone main:2\n"},
      {"a request passed on as text; parameters by their declarations",
       {{"main", "Illuminate 1 1\nSurface \"plastic\" \"Kd\" 0.5 \"foo\" [1 2]\n"}},
       "Illuminate main:1 text\nSurface main:2 {uniform float Kd, uniform float[2] foo}\n"},
      {"an archive's requests where it is read",
       {{"main", "Color 1 0 0\nReadArchive \"a\"\n" + kSphere}, {"a", "Cone 1 1 360\nDisk 0 1 360\n"}},
       "Color main:1\nCone a:1\nDisk a:2\nSphere main:3\n"},
      {"archives in archives",
       {{"main", "ReadArchive \"a\"\n" + kSphere}, {"a", "ReadArchive \"b\"\nCone 1 1 360\n"},
        {"b", "Disk 0 1 360\n"}},
       "Disk b:1\nCone a:2\nSphere main:2\n"},
      {"an inline archive each time it is read, at the lines that defined it",
       {{"main", "ArchiveBegin \"x\"\nCone 1 1 360\nArchiveEnd\nReadArchive \"x\"\n" + kSphere +
                     "ReadArchive \"x\"\n"}},
       "Cone main:2\nSphere main:5\nCone main:2\n"},
      {"an inline archive as it is written, when archives are not followed",
       {{"main", "ArchiveBegin \"x\"\nCone 1 1 360\nArchiveEnd\nReadArchive \"x\"\n"}},
       "ArchiveBegin main:1\nCone main:2\nArchiveEnd main:3\nReadArchive main:4\n",
       false, false},
      {"a delayed archive between the AttributeBegin and AttributeEnd made for it",
       {{"main", delayed + kSphere}, {"a", "Cone 1 1 360\n"}},
       "AttributeBegin main:1 made\nCone a:1\nAttributeEnd main:1 made\nSphere main:2\n"},
      {"a delayed archive that is not there",
       {{"main", delayed + kSphere}},
       "AttributeBegin main:1 made\nAttributeEnd main:1 made\nSphere main:2\n"},
      {"a delayed inline archive",
       {{"main", "ArchiveBegin \"a\"\nCone 1 1 360\nArchiveEnd\n" + delayed}},
       "AttributeBegin main:4 made\nCone main:2\nAttributeEnd main:4 made\n"},
      {"a delayed archive that is not RIB",
       {{"main", delayed + kSphere}, {"a", "hello\n"}},
       "AttributeBegin main:1 made\nAttributeEnd main:1 made\nSphere main:2\n"},
      {"only the branch taken, when acting on conditions",
       {{"main", "IfBegin \"0\"\nCone 1 1 360\nElse\n" + kSphere + "IfEnd\n"}}, "Sphere main:4\n", true},
      {"the work meter spent inside an archive",
       {{"main", "ReadArchive \"a\"\n" + kSphere}, {"a", kSphere + kSphere + kSphere + kSphere}},
       "Sphere a:1\nSphere a:2\n",
       false, true,
       vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kRequests, {3, 0})},
  };
  for (const Case &c : cases) expectPulled(c);
}

}  // namespace
