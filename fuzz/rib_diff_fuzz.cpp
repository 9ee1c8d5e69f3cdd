// libFuzzer target for what ribdiff and qview --stats make of a stream:
// request digests, the alignment of two streams and the side-by-side walk,
// and the summary with its text and JSON.  Each input is compared from
// fresh objects, so a finding reproduces from its bytes alone.
//
// The first byte chooses the comparison (bit 0: comments count; bits 1-2:
// no tolerance, a relative one, an absolute one, both); the rest is split
// at the first byte 0x1E into the streams A and B (B empty without one).
// What must hold: A compared with itself is the same, by its keys and by
// its walk; the walk of A against B hands out every request of each
// exactly once, in order; and the summary of A counts what an observer
// saw, in no more bytes than A has.
// Run it with -close_fd_mask=2: diagnostics are expected here.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/gzip_source.h"
#include "reader/rib_reader.h"
#include "reader/stream_diff.h"
#include "reader/stream_summary.h"
#include "ri/null_context.h"
#include "tools/summary_report.h"

namespace {

// A broken invariant names its line before aborting.
#define require(condition) \
  ((condition) ? (void)0 : (std::fprintf(stderr, "rib_diff_fuzz.cpp:%d: %s\n", __LINE__, #condition), std::abort()))

vellum::StreamDiff::Open opener(const std::string &bytes, const char *name) {
  return [&bytes, name] {
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({name, vellum::decompressing(std::make_unique<vellum::MemorySource>(bytes))});
    return inputs;
  };
}

struct Walked {
  bool same = false;
  size_t fromA = 0, fromB = 0;
  int lastLineA = 0, lastLineB = 0;
};

Walked compare(const std::string &a, const std::string &b, const vellum::StreamDiffOptions &options) {
  vellum::StreamDiff diff(opener(a, "a"), opener(b, "b"), options, nullptr);
  Walked walked;
  const bool alignedSame = diff.align();
  walked.same = diff.walk([&](vellum::StreamDiff::Step step, const vellum::RibReader::Pulled *pa,
                              const vellum::RibReader::Pulled *pb) {
    require((pa != nullptr) == (step != vellum::StreamDiff::Step::kAdded));
    require((pb != nullptr) == (step != vellum::StreamDiff::Step::kRemoved));
    // Each stream's requests come in the order they were read.
    if (pa != nullptr) {
      require(pa->request->line >= walked.lastLineA);
      walked.lastLineA = pa->request->line;
      ++walked.fromA;
    }
    if (pb != nullptr) {
      require(pb->request->line >= walked.lastLineB);
      walked.lastLineB = pb->request->line;
      ++walked.fromB;
    }
  });
  // Keys that differ cannot be made the same by reading again.
  if (!alignedSame) require(!walked.same);
  return walked;
}

// Every request of `bytes` the comparison counts, as a walk of it against
// nothing hands them out.
size_t counted(const std::string &bytes, const vellum::StreamDiffOptions &options) {
  static const std::string nothing;
  return compare(bytes, nothing, options).fromA;
}

void summarise(const std::string &bytes) {
  vellum::NullContext context;
  vellum::RibReader reader(context, nullptr, vellum::RibReader::Options{});
  vellum::FileSummary file{"a\xff\"", {}};
  int64_t seen = 0;
  reader.setObserver([&](const vellum::RequestRow &row, const vellum::RibRequest &request,
                         const vellum::PrimitiveCounts *counts) {
    ++seen;
    file.summary.request(row, request, counts);
  });
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"a", vellum::decompressing(std::make_unique<vellum::MemorySource>(bytes))});
  reader.read(std::move(inputs));
  require(file.summary.requests() == seen);
  // Compressed input counts what it decompresses to.
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0x1f)
    require(file.summary.bytes() <= bytes.size());
  require(file.summary.largest().size() <= vellum::StreamSummary::kLargestShown);
  for (size_t i = 1; i < file.summary.largest().size(); ++i)
    require(file.summary.largest()[i - 1].bytes >= file.summary.largest()[i].bytes);
  require(!vellum::summaryText(file).empty());
  require(vellum::summariesJson({file}).back() == '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  vellum::StreamDiffOptions options;
  options.comments = mode & 1;
  if (mode & 2) options.tolerance.relative = 1e-3;
  if (mode & 4) options.tolerance.absolute = 0.5;
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
  const size_t separator = text.find('\x1e');
  const std::string a = text.substr(0, separator);
  const std::string b = separator == std::string::npos ? std::string() : text.substr(separator + 1);

  const Walked itself = compare(a, a, options);
  require(itself.same && itself.fromA == itself.fromB);
  const Walked walked = compare(a, b, options);
  require(walked.fromA == itself.fromA);
  require(walked.fromB == counted(b, options));
  summarise(a);
  return 0;
}
