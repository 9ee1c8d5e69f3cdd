// What two requests are compared by, as ribdiff compares streams: a request
// after reading, its encoding, number formatting and line breaks gone.
// Numbers are floats (1 and 1.0 and the binary 1 alike, -0 as 0), strings
// are compared exactly, and a parameter is known by its resolved
// declaration and name ("uniform float foo", however the stream declared
// it), its position in the list aside.
//
// A digest keeps the request's shape (its name, the kinds and sizes of its
// operands, its parameters' declarations) and strings apart from its
// numbers, so that it can be compared exactly (by `key`) or with a
// tolerance on numbers (by `shapeKey`, then the numbers).
#ifndef VELLUM_READER_REQUEST_DIGEST_H
#define VELLUM_READER_REQUEST_DIGEST_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reader/rib_request.h"

namespace vellum {

struct RequestDigest {
  std::string shape;            // name, operand kinds and sizes, parameter keys, strings
  std::vector<float> numbers;   // every number, in the order of `shape`
  uint64_t shapeKey = 0;        // a hash of `shape`
  uint64_t key = 0;             // a hash of `shape` and `numbers`
};

// The digest of `request`, whose parameter `i` is declared as
// `declarationOf(i)` says ("varying color Cs").
RequestDigest digestOf(const RibRequest &request, const std::function<std::string(size_t)> &declarationOf);
// The digest of a comment ("#" text, or "##" text for a structure one).
RequestDigest digestOfComment(const RibRequest &comment);

// Numbers within `relative` (of the larger magnitude) or within
// `absolute` of each other are as good as equal; both 0 asks for equality.
struct NumberTolerance {
  double relative = 0;
  double absolute = 0;
  bool exact() const { return relative == 0 && absolute == 0; }
};
bool sameRequest(const RequestDigest &a, const RequestDigest &b, const NumberTolerance &tolerance);

}  // namespace vellum

#endif
