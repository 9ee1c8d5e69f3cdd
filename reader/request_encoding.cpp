#include "reader/request_encoding.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/binary_rib.h"

namespace vellum {

namespace {

void putUnsigned(std::string &out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The fewest bytes (1 to 4) that hold `count`.
int countBytes(uint64_t count) {
  return count < (1u << 8) ? 1 : count < (1u << 16) ? 2 : count < (1u << 24) ? 3 : 4;
}

void putInteger(std::string &out, double number) {
  // -0 is read as an integer only from text; a binary integer has no sign
  // of zero.
  if (number == 0 && std::signbit(number)) {
    out += "-0 ";
    return;
  }
  out.push_back(static_cast<char>(binary::kNumberFirst + 3));  // four value bytes, no fraction
  putUnsigned(out, static_cast<uint32_t>(static_cast<int32_t>(number)), 4);
}

void putReal(std::string &out, double number) {
  out.push_back(static_cast<char>(binary::kDouble));
  uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  putUnsigned(out, bits, 8);
}

void putString(std::string &out, const std::string &text) {
  if (text.size() < 16) {
    out.push_back(static_cast<char>(binary::kShortStringFirst + text.size()));
  } else {
    const int bytes = countBytes(text.size());
    out.push_back(static_cast<char>(binary::kLongStringFirst + bytes - 1));
    putUnsigned(out, text.size(), bytes);
  }
  out += text;
}

void putFloats(std::string &out, const std::vector<float> &floats) {
  const int bytes = countBytes(floats.size());
  out.push_back(static_cast<char>(binary::kFloatArrayFirst + bytes - 1));
  putUnsigned(out, floats.size(), bytes);
  const size_t at = out.size();
  out.resize(at + 4 * floats.size());
  for (size_t i = 0; i < floats.size(); ++i) binary::putFloat(&out[at + 4 * i], floats[i]);
}

void putValue(std::string &out, const RibValue &value) {
  switch (value.kind) {
    case RibValue::kNumber:
      return value.integer ? putInteger(out, value.number) : putReal(out, value.number);
    case RibValue::kString:
      return putString(out, value.string);
    case RibValue::kNumbers:
      // A binary float array reads as floats from the start, as the
      // values were; integers go between brackets, each as it was.
      if (!value.allIntegers) return putFloats(out, value.floats);
      out.push_back('[');
      for (size_t i = 0; i < value.ints.size(); ++i) putInteger(out, value.numberAt(i));
      out.push_back(']');
      return;
    case RibValue::kStrings:
      out.push_back('[');
      for (const std::string &text : value.strings) putString(out, text);
      out.push_back(']');
      return;
  }
}

}  // namespace

void appendEncodedRequest(const RibRequest &request, std::string &out) {
  out += request.name;
  out.push_back(' ');
  for (const RibValue &operand : request.operands) putValue(out, operand);
  for (const RibParameter &parameter : request.parameters) {
    putString(out, parameter.token);
    putValue(out, parameter.value);
  }
}

}  // namespace vellum
