// Hostile RIB made to order: streams of a few kilobytes that would keep a
// reader, or the preview behind it, busy for hours, or fill its memory, if
// any loop they drive escaped the input's work meter.  The tests read each
// with small limits and state the work it may cost as numbers; the reader's
// fuzz target reads them with whatever the fuzzer appends.
#ifndef VELLUM_FUZZ_RIB_BOMBS_H
#define VELLUM_FUZZ_RIB_BOMBS_H

#include <cstddef>
#include <map>
#include <string>

namespace vellum::bombs {

enum class Kind {
  kArchiveFanOut,    // archive files that each read the next `fanOut` times
  kInlineFanOut,     // inline archives that each read the one before `fanOut` times
  kInlineInReplay,   // an inline archive defined while another is read back, read over and over
  kInstanceFanOut,   // objects of `fanOut` instances of the one before, over a quad that fills the picture
  kLongExpressions,  // IfBegin concat($v, $v, ...) of a long Option "user" value
  kGlobMatches,      // =~ near misses of a long pattern over a long value
  kSubstitutions,    // strings of many references to a long value
  kUnendedArchive,   // an ArchiveBegin that never ends, before a long stream
  kNestedBlocks,     // blocks opened and never closed, inline archives among them
};
constexpr int kKinds = 9;

const char *kindName(Kind kind);

// The files of a bomb by name, "main" the stream that reads the others.
// `fanOut` (at least 1) is how many times each level repeats the one
// below, `levels` (at least 1) how many levels there are, and `size` the
// bytes (or requests) of the innermost piece: a value, an archive's
// spheres, the picture's side.
std::map<std::string, std::string> makeBomb(Kind kind, int fanOut, int levels, size_t size);

}  // namespace vellum::bombs

#endif
