// The value encoders: numbers and strings as RIB text, and floats as
// binary RIB tokens when the binary flag is on.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/number_format.h"
#include "common/quoted_string.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

// Binary RIB token bytes.
constexpr unsigned char kBinaryFloat = 0xA4;       // one IEEE single follows
constexpr unsigned char kBinaryFloatArray = 0xC8;  // + count bytes - 1; count, then singles

// An IEEE single, most significant byte first, as binary RIB readers
// decode it.
void appendFloatBits(std::string &out, RtFloat value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const char bytes[4] = {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
                         static_cast<char>(bits >> 8), static_cast<char>(bits)};
  out.append(bytes, sizeof bytes);
}

// A float array's header: the count in as few bytes as hold it (one to
// four, most significant first), announced by the header byte.
void appendArrayHeader(std::string &out, uint32_t count) {
  int countBytes = 1;
  while (countBytes < 4 && (count >> (8 * countBytes)) != 0) ++countBytes;
  out.push_back(static_cast<char>(kBinaryFloatArray + countBytes - 1));
  for (int shift = 8 * (countBytes - 1); shift >= 0; shift -= 8)
    out.push_back(static_cast<char>(count >> shift));
}

}  // namespace

void RibWriter::reportNonFinite() {
  if (nonFiniteReported_) return;
  nonFiniteReported_ = true;
  std::fprintf(stderr,
               "libvellum error: non-finite float written to %s as 1e+38, -1e+38 or 0\n",
               outputName_ != nullptr ? outputName_ : "standard output");
}

// RIB readers take neither "inf" nor "nan" for numbers, so infinities are
// written as the interface's RI_INFINITY and NaN as 0.
double RibWriter::finite(double value) {
  if (std::isfinite(value)) return value;
  reportNonFinite();
  return std::isnan(value) ? 0.0 : std::copysign(static_cast<double>(RI_INFINITY), value);
}

void RibWriter::number(double value) { appendG(out_, finite(value)); }

void RibWriter::fixedNumber(double value) { appendFixed(out_, finite(value)); }

void RibWriter::integer(long value) { appendInt(out_, value); }

void RibWriter::quoted(const char *string) { appendQuoted(out_, string); }

void RibWriter::writeFloat(RtFloat value) {
  if (binary_ != 0) {
    out_.push_back(static_cast<char>(kBinaryFloat));
    appendFloatBits(out_, value);
  } else {
    number(value);
    out_.push_back(' ');
  }
}

void RibWriter::writeFloatArray(const RtFloat *values, int64_t count) {
  if (values == nullptr || count < 0) count = 0;
  if (binary_ != 0) {
    // Four count bytes are the most the header can say.
    if (count > INT64_C(0xFFFFFFFF)) count = INT64_C(0xFFFFFFFF);
    appendArrayHeader(out_, static_cast<uint32_t>(count));
    for (int64_t i = 0; i < count; ++i) appendFloatBits(out_, values[i]);
    return;
  }
  out_.push_back('[');
  for (int64_t i = 0; i < count; ++i) {
    if (i > 0) out_.push_back(' ');
    number(values[i]);
  }
  out_.push_back(']');
}

void RibWriter::writeIntArray(const RtInt *values, int64_t count) {
  if (values == nullptr || count < 0) count = 0;
  out_.push_back('[');
  for (int64_t i = 0; i < count; ++i) {
    integer(values[i]);
    out_.push_back(' ');
  }
  out_.push_back(']');
}

void RibWriter::writeStringArray(const RtToken *strings, int64_t count) {
  if (strings == nullptr || count < 0) count = 0;
  out_.push_back('[');
  for (int64_t i = 0; i < count; ++i) {
    quoted(strings[i]);
    out_.push_back(' ');
  }
  out_.push_back(']');
}

}  // namespace vellum
