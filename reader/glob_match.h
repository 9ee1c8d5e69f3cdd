// Glob patterns, as the =~ of conditional RIB matches them, byte by byte:
//   *        any run of bytes, the empty one too
//   ?        any one byte
//   [...]    one byte of the class: bytes and ranges ("a-z"); "!" or "^"
//            first negates it; "]" first and "-" first or last stand for
//            themselves; a range whose ends are reversed holds nothing.
//            A "[" that no "]" closes stands for itself.
//   \c       the byte c itself, outside classes and in them ("\*", "\]");
//            a "\" that ends the pattern stands for itself
// Nothing else is special ("/" and a leading "." neither).
//
// The work is bounded whatever the pattern and the text: the pattern is
// split at its stars into pieces of fixed length; the first is matched at
// the start of the text, the last at its end, and each one between is
// found at its leftmost place after the one before (which is where it
// leaves the most room for the rest), by a bit-parallel search that takes
// ceil(length / 64) steps a byte of text.  So a match takes about
//   pattern length + text length x ceil(longest piece / 64)
//   + 256 x ceil(longest piece / 64) + the bytes in its classes
// steps, and never more than it is allowed.
#ifndef VELLUM_READER_GLOB_MATCH_H
#define VELLUM_READER_GLOB_MATCH_H

#include <cstdint>
#include <string_view>

namespace vellum {

struct GlobMatch {
  bool matched = false;
  // False when the match would take more than the steps allowed: it
  // stopped there, and `matched` says nothing.
  bool finished = true;
  uint64_t steps = 0;  // the steps taken, at most those allowed
};

// Whether the whole of `text` matches `pattern`, in at most `mostSteps`
// steps.
GlobMatch matchGlob(std::string_view pattern, std::string_view text, uint64_t mostSteps);

}  // namespace vellum

#endif
