// The byte codes of binary RIB tokens and the byte order of their values,
// as the writer encodes them and the reader decodes them.
#ifndef VELLUM_COMMON_BINARY_RIB_H
#define VELLUM_COMMON_BINARY_RIB_H

#include <cstdint>
#include <cstring>

namespace vellum::binary {

// A code byte, then its data.  Ranges: the low bits of the code say how
// many bytes follow.
constexpr unsigned kNumberFirst = 0x80;       // 0x80-0x8F: an integer or fixed-point number:
constexpr unsigned kNumberLast = 0x8F;        //   (code & 3) + 1 value bytes, the last
                                              //   (code >> 2) & 3 of them the fraction
constexpr unsigned kShortStringFirst = 0x90;  // 0x90-0x9F: a string of (code - 0x90) bytes
constexpr unsigned kLongStringFirst = 0xA0;   // 0xA0-0xA3: a string whose length takes
constexpr unsigned kLongStringLast = 0xA3;    //   code - 0xA0 + 1 bytes
constexpr unsigned kFloat = 0xA4;             // an IEEE single
constexpr unsigned kDouble = 0xA5;            // an IEEE double
constexpr unsigned kEncodedRequest = 0xA6;    // a request defined by kDefineRequest
constexpr unsigned kFloatArrayFirst = 0xC8;   // 0xC8-0xCB: a count of code - 0xC8 + 1 bytes,
constexpr unsigned kFloatArrayLast = 0xCB;    //   then that many singles
constexpr unsigned kDefineRequest = 0xCC;     // a code byte, then the request's name
constexpr unsigned kDefineString = 0xCD;      // 0xCD (one code byte) or 0xCE (two), then
constexpr unsigned kDefineLongString = 0xCE;  //   the string
constexpr unsigned kStringReference = 0xCF;   // 0xCF (one code byte) or 0xD0 (two): a
constexpr unsigned kLongStringReference = 0xD0;  // string defined before

// Every value is written most significant byte first.
inline void putFloat(char *out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(bits >> (24 - 8 * i));
}

inline float getFloat(const unsigned char *in) {
  const uint32_t bits = (uint32_t{in[0]} << 24) | (uint32_t{in[1]} << 16) | (uint32_t{in[2]} << 8) | in[3];
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace vellum::binary

#endif
