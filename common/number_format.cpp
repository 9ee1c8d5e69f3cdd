#include "common/number_format.h"

#include <charconv>
#include <system_error>

namespace vellum {

namespace {

// Large enough for "%f" of any double: 309 integer digits, the point, six
// decimals and a sign.
constexpr int kNumberBufferSize = 330;

template <typename... Format>
void appendChars(std::string &out, Format... format) {
  char buffer[kNumberBufferSize];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, format...);
  out.append(buffer, result.ptr);
}

}  // namespace

void appendG(std::string &out, double value) {
  appendChars(out, value, std::chars_format::general, 6);
}

void appendFixed(std::string &out, double value) {
  appendChars(out, value, std::chars_format::fixed, 6);
}

void appendInt(std::string &out, long value) { appendChars(out, value); }

}  // namespace vellum
