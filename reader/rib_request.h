// One request of a RIB stream as the reader hands it out: its keyword, its
// operands and its parameter list, or a comment.
#ifndef VELLUM_READER_RIB_REQUEST_H
#define VELLUM_READER_RIB_REQUEST_H

#include <cstdint>
#include <string>
#include <vector>

#include "ri.h"

namespace vellum {

struct RibValue {
  enum Kind { kNumber, kString, kNumbers, kStrings };
  Kind kind = kNumber;
  double number = 0;       // kNumber
  bool integer = false;    // kNumber: written as an integer
  std::string string;      // kString
  std::vector<float> floats;       // kNumbers: every value
  std::vector<RtInt> ints;         // kNumbers: every value, when allIntegers
  bool allIntegers = true;         // kNumbers: no value had a fraction
  std::vector<std::string> strings;  // kStrings

  size_t size() const {
    switch (kind) {
      case kNumbers: return floats.size();
      case kStrings: return strings.size();
      default: return 1;
    }
  }
  bool isNumeric() const { return kind == kNumber || kind == kNumbers; }
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
  int line = 0;
  std::vector<RibValue> operands;
  std::vector<RibParameter> parameters;
};

}  // namespace vellum

#endif
