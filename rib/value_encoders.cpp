// The value encoders: numbers and strings as RIB text, and floats as
// binary RIB tokens when the binary flag is on.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/binary_rib.h"
#include "common/number_format.h"
#include "common/quoted_string.h"
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::writeFloat(RtFloat value) {
  if (binary_ != 0) {
    char *at = out_.reserve(5);
    *at = static_cast<char>(binary::kFloat);
    binary::putFloat(at + 1, value);
    out_.commit(at + 5);
  } else {
    numberText(value);
    out_.push_back(' ');
  }
}

// Blank-separated texts, in blocks that fit the buffer: one capacity check
// and one call of the block formatter a block, not a value.  The blank the
// formatter writes after the last value is left out.
void RibWriter::floatsAsText(const RtFloat *values, int64_t count) {
  constexpr int64_t kBlock = 1024;
  RtFloat standIns[kBlock];
  while (count > 0) {
    const int64_t block = count < kBlock ? count : kBlock;
    // RIB has no text for a value that is not finite: such a block goes
    // through a copy with their stand-ins.
    bool allFinite = true;
    for (int64_t i = 0; i < block; ++i) allFinite &= std::isfinite(values[i]);
    const RtFloat *source = values;
    if (!allFinite) {
      for (int64_t i = 0; i < block; ++i) standIns[i] = finite(values[i]);
      source = standIns;
    }
    char *at = out_.reserve(static_cast<size_t>(block) * kFloatSpacedSize + kFloatTextSize);
    at = formatFloatsSpaced(source, static_cast<size_t>(block), precision_, at);
    values += block;
    count -= block;
    out_.commit(count > 0 ? at : at - 1);
  }
}

void RibWriter::writeFloatArray(const RtFloat *values, int64_t count) {
  if (values == nullptr || count < 0) count = 0;
  if (binary_ != 0) {
    // The header: the count in as few bytes as hold it (one to four, most
    // significant first; four count bytes are the most it can say),
    // announced by the header byte.
    if (count > INT64_C(0xFFFFFFFF)) count = INT64_C(0xFFFFFFFF);
    const uint32_t n = static_cast<uint32_t>(count);
    int countBytes = 1;
    while (countBytes < 4 && (n >> (8 * countBytes)) != 0) ++countBytes;
    char *at = out_.reserve(5);
    *at++ = static_cast<char>(binary::kFloatArrayFirst + countBytes - 1);
    for (int shift = 8 * (countBytes - 1); shift >= 0; shift -= 8) *at++ = static_cast<char>(n >> shift);
    out_.commit(at);
    // The values, converted in blocks straight into the buffer.
    while (count > 0) {
      int64_t block = static_cast<int64_t>(out_.space() / 4);
      if (block == 0) block = static_cast<int64_t>(OutputBuffer::kCapacity / 4);
      if (block > count) block = count;
      char *to = out_.reserve(static_cast<size_t>(block) * 4);
      for (int64_t i = 0; i < block; ++i) binary::putFloat(to + 4 * i, values[i]);
      out_.commit(to + 4 * block);
      values += block;
      count -= block;
    }
    return;
  }
  out_.push_back('[');
  floatsAsText(values, count);
  out_.push_back(']');
}


void RibWriter::writeIntArray(const RtInt *values, int64_t count) {
  if (values == nullptr || count < 0) count = 0;
  out_.push_back('[');
  // In blocks that fit the buffer: each value takes at most 12 bytes.
  constexpr int64_t kBlock = 1024;
  while (count > 0) {
    const int64_t block = count < kBlock ? count : kBlock;
    char *at = out_.reserve(static_cast<size_t>(block) * 12 + kIntTextSize);
    out_.commit(formatIntsSpaced(values, static_cast<size_t>(block), at));
    values += block;
    count -= block;
  }
  out_.push_back(']');
}

void RibWriter::writeStringArray(const RtToken *strings, int64_t count) {
  if (strings == nullptr || count < 0) count = 0;
  out_.push_back('[');
  for (int64_t i = 0; i < count; ++i) {
    quotedText(strings[i]);
    out_.push_back(' ');
  }
  out_.push_back(']');
}

}  // namespace vellum
