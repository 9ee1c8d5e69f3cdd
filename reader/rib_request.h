// One request of a RIB stream as the reader hands it out: its keyword, its
// operands and its parameter list, or a comment.
#ifndef VELLUM_READER_RIB_REQUEST_H
#define VELLUM_READER_RIB_REQUEST_H

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "ri.h"

namespace vellum {

struct RibValue {
  enum Kind { kNumber, kString, kNumbers, kStrings };
  Kind kind = kNumber;

  // kNumber.
  double number = 0;
  bool integer = false;  // written as an integer
  // kString.
  std::string string;
  // kNumbers: an array of numbers.  While every value is an integer they
  // are kept once, as integers; the floats are made from them when a float
  // array is asked for.  A binary float array is floats from the start.
  bool allIntegers = true;
  std::vector<RtInt> ints;     // every value, while allIntegers
  std::vector<float> floats;   // every value, when floatsValid
  bool floatsValid = false;
  // kStrings.
  std::vector<std::string> strings;

  size_t size() const {
    switch (kind) {
      case kNumbers: return allIntegers ? ints.size() : floats.size();
      case kStrings: return strings.size();
      default: return 1;
    }
  }
  bool isEmptyArray() const { return (kind == kNumbers || kind == kStrings) && size() == 0; }

  // An empty array of numbers.
  void makeNumbers() {
    kind = kNumbers;
    allIntegers = true;
    floatsValid = false;
    ints.clear();
    floats.clear();
  }
  // Appends a number to an array of numbers.
  void push(double value, bool isInteger) {
    if (allIntegers && isInteger) {
      // -0 is the integer 0 but the float -0: from the first one on, the
      // floats are kept alongside.
      if (!floatsValid && value == 0 && std::signbit(value)) toFloats();
      ints.push_back(static_cast<RtInt>(value));
      if (floatsValid) floats.push_back(static_cast<float>(value));
      return;
    }
    if (allIntegers) {
      toFloats();
      allIntegers = false;
      ints.clear();
    }
    floats.push_back(static_cast<float>(value));
  }
  // Value `i` of an array of numbers, -0 included.
  double numberAt(size_t i) const {
    if (!allIntegers) return floats[i];
    if (ints[i] == 0 && floatsValid) return floats[i];
    return ints[i];
  }
  // The values as floats.
  const std::vector<float> &toFloats() {
    if (!floatsValid) {
      floats.assign(ints.begin(), ints.end());
      floatsValid = true;
    }
    return floats;
  }
};

struct RibParameter {
  std::string token;
  RibValue value;
};

struct RibRequest {
  // A comment ("#" text) or structure comment ("##" text) instead of a
  // request: `name` is empty and `comment` holds the text after the hashes.
  bool isComment = false;
  bool structure = false;
  std::string comment;

  std::string name;
  int input = 0;  // which input of the stream it comes from
  int line = 0;
  // The bytes it takes in its input, from its name to the end of its last
  // value (comments among its values included), as a parser read it.
  uint64_t bytes = 0;
  std::vector<RibValue> operands;
  std::vector<RibParameter> parameters;
};

}  // namespace vellum

#endif
