// Bombs: tiny streams that would keep a reader and the preview busy for
// hours if a loop they drive escaped the input's work meter.  Each is read
// as qview reads it, with small limits, and must stop at the limit named,
// having handed on at most the requests stated.
#include "fuzz/rib_bombs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/work_meter.h"
#include "preview/preview_context.h"
#include "reader/rib_reader.h"
#include "tests/counting_context.h"

namespace {

using vellum::WorkMeter;
using vellum::bombs::Kind;

WorkMeter::Limits smallLimits() {
  WorkMeter::Limits limits{};
  limits[WorkMeter::kRequests] = {20000, 0};
  limits[WorkMeter::kArchiveBytes] = {1 << 20, 0};
  limits[WorkMeter::kRecordedBytes] = {64 << 10, 0};
  limits[WorkMeter::kText] = {16 << 20, 0};
  limits[WorkMeter::kDrawing] = {1000000, 0};
  limits[WorkMeter::kSamples] = {4000000, 0};
  return limits;
}

TEST(RibBombs, EveryBombStopsAtItsLimit) {
  struct Case {
    Kind kind;
    int fanOut, levels;
    size_t size;
    WorkMeter::Account stoppedBy;
    uint64_t mostCalls;  // requests the target may receive
    int errorsBefore;    // the errors that come before the work limit's
  } cases[] = {
      // 10^8 archives of 100 spheres each.
      {Kind::kArchiveFanOut, 10, 8, 100, WorkMeter::kArchiveBytes, 20000, 0},
      {Kind::kInlineFanOut, 10, 8, 100, WorkMeter::kArchiveBytes, 20000, 0},
      // 10^7 spheres.
      {Kind::kInlineInReplay, 100, 2, 1000, WorkMeter::kRequests, 20000, 0},
      // 10^6 quads that each fill a picture of 256 x 256 pixels.
      {Kind::kInstanceFanOut, 100, 3, 256, WorkMeter::kSamples, 20000, 0},
      // Each line asks for 1 GB: 4 MiB of it is what an expression may
      // build, 16 MiB what the input may.
      {Kind::kLongExpressions, 1000, 20, 1 << 20, WorkMeter::kText, 20, 4},
      {Kind::kGlobMatches, 3000, 50, 1 << 20, WorkMeter::kText, 20, 4},
      {Kind::kSubstitutions, 1000, 100, 1 << 20, WorkMeter::kText, 20, 4},
      {Kind::kUnendedArchive, 100, 100, 100, WorkMeter::kRecordedBytes, 20, 0},
      {Kind::kNestedBlocks, 1000, 100, 10, WorkMeter::kRecordedBytes, 20, 0},
  };
  for (const Case &c : cases) {
    const char *what = vellum::bombs::kindName(c.kind);
    const auto files = vellum::bombs::makeBomb(c.kind, c.fanOut, c.levels, c.size);
    vellum::MemoryArchives archives(files);
    WorkMeter meter(smallLimits());
    vellum::RibReader::Options options;
    options.archives = &archives;
    options.meter = &meter;
    options.substituteVariables = true;
    options.actOnConditions = true;
    vellum_test::CountingContext counter;
    vellum::preview::PreviewContext preview;
    preview.setWorkMeter(&meter);
    preview.setOutput("");
    const bool draws = c.kind == Kind::kInstanceFanOut;
    std::vector<std::string> errors;
    vellum::RibReader reader(
        draws ? static_cast<vellum::RenderContext &>(preview) : counter,
        [&](const vellum::Diagnostic &d) {
          if (!d.warning) errors.push_back(d.message);
        },
        options);
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({"main", std::make_unique<vellum::MemorySource>(files.at("main")), "main"});
    reader.read(std::move(inputs));
    if (draws) preview.finishOpenWorld();

    ASSERT_EQ(errors.size(), static_cast<size_t>(c.errorsBefore) + 1) << what;
    EXPECT_EQ(errors.back(), "work limit: more than " + std::to_string(meter.limit(c.stoppedBy)) + " " +
                                 WorkMeter::accountName(c.stoppedBy) + "; the rest of the input is not read")
        << what;
    for (int account = 0; account < WorkMeter::kAccounts; ++account)
      EXPECT_LE(meter.used(static_cast<WorkMeter::Account>(account)),
                meter.limit(static_cast<WorkMeter::Account>(account)))
          << what;
    EXPECT_LE(counter.calls, c.mostCalls) << what;
    if (draws) {
      EXPECT_EQ(preview.picturesFinished(), 1) << what;
    }
  }
}

}  // namespace
