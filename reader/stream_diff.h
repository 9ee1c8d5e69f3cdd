// StreamDiff: two RIB streams compared request by request, as ribdiff and
// vellum.diff compare them.
//
// Each stream is read once for the digests of its requests (request_digest.h:
// a key and a line each, a few bytes a request whatever the stream's size),
// the two sequences of keys are aligned (sequence_alignment.h), and then
// both are read again side by side along the alignment, so that what is
// shown is read afresh rather than kept: requests aligned as equal are
// checked once more, number by number within the tolerance, and a pair that
// is not equal after all is shown as one removed and one added.  So memory
// stays in proportion to the count of requests, not to the streams' bytes.
//
// The streams are read as written: archives are not followed, conditions
// are not acted on.  Declare requests are not compared (their parameters'
// resolved declarations are), nor are comments and the version line unless
// asked for; warnings are not told; errors are (each stream's, with its
// file and line).
#ifndef VELLUM_READER_STREAM_DIFF_H
#define VELLUM_READER_STREAM_DIFF_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reader/request_digest.h"
#include "reader/rib_reader.h"
#include "reader/sequence_alignment.h"

namespace vellum {

struct StreamDiffOptions {
  NumberTolerance tolerance;
  bool comments = false;  // comments count as requests
};

class StreamDiff {
 public:
  // Opens a stream anew for each pass over it.
  using Open = std::function<std::vector<RibInput>()>;

  StreamDiff(Open a, Open b, StreamDiffOptions options, RibReader::DiagnosticSink errors);

  // Reads both streams and aligns them; false when they differ (by their
  // keys, which a tolerance leaves out of the numbers).
  bool align();
  // The errors either stream had (told to the sink as they were found).
  int errors() const { return errors_; }

  enum class Step { kKept, kRemoved, kAdded };
  // Reads both streams again along the alignment, calling `visit` with each
  // request of either: kKept with both, kRemoved with the first's, kAdded
  // with the second's.  Returns whether the streams are the same.
  bool walk(const std::function<void(Step, const RibReader::Pulled *a, const RibReader::Pulled *b)> &visit);

 private:
  // A stream's requests as the first pass found them.
  struct Side {
    std::vector<uint64_t> keys;
    std::vector<int32_t> lines;
  };
  void digest(const Open &open, Side &side);
  // Whether a pulled request is one the comparison counts.
  bool counts(const RibReader::Pulled &pulled) const;
  RequestDigest digestOf(const RibReader::Pulled &pulled) const;

  Open openA_, openB_;
  StreamDiffOptions options_;
  RibReader::DiagnosticSink errorSink_;
  int errors_ = 0;
  Side a_, b_;
  std::vector<AlignedRun> runs_;
};

}  // namespace vellum

#endif
