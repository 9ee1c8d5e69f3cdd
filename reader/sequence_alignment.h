// The alignment of two sequences of keys (the digests of two streams'
// requests, say) as a diff aligns lines: the longest common subsequence,
// given as runs of elements kept, removed from the first sequence and
// added from the second.
//
// The common start and end are taken first; then elements that occur once
// in each remaining part anchor the alignment (their longest increasing
// run, as patience diff takes it) and the parts between anchors are
// aligned the same way; a part without anchors is aligned by Myers' O(ND)
// algorithm when it differs in at most kMostEdits elements, and is taken
// as all removed and all added otherwise.  So one request inserted
// anywhere in a million gives one run, in time near linear, and memory
// stays a few words an element.
#ifndef VELLUM_READER_SEQUENCE_ALIGNMENT_H
#define VELLUM_READER_SEQUENCE_ALIGNMENT_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum {

struct AlignedRun {
  enum Kind { kKept, kRemoved, kAdded };
  Kind kind;
  size_t a;      // where it starts in the first sequence (kKept, kRemoved), or would
  size_t b;      // where it starts in the second (kKept, kAdded), or would
  size_t count;  // elements
};

// The most edits a part without anchors may take before it is taken as
// replaced whole: Myers' search costs (elements) x (edits) steps and
// edits^2 words of memory.
constexpr size_t kMostEdits = 2048;

// The runs, in order: each element of `a` in exactly one kKept or kRemoved
// run, each of `b` in one kKept or kAdded run; adjacent runs differ in
// kind, and a removal comes before an addition at the same place.
std::vector<AlignedRun> alignSequences(const std::vector<uint64_t> &a, const std::vector<uint64_t> &b);

}  // namespace vellum

#endif
