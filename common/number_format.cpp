#include "common/number_format.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "common/float_decimal_tables.h"

namespace vellum {

namespace {

using namespace float_decimal;

// Large enough for "%f" of any double: 309 integer digits, the point, six
// decimals and a sign.
constexpr int kNumberBufferSize = 330;

template <typename... Format>
void appendChars(std::string &out, Format... format) {
  char buffer[kNumberBufferSize];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, format...);
  out.append(buffer, result.ptr);
}

struct Scaled {
  uint64_t floor;  // floor(c * 2^e * 10^-k)
  bool integer;    // c * 2^e * 10^-k is an integer
  bool tie;        // its fractional part is exactly 1/2
  bool above;      // its fractional part is above 1/2
};

// c * 2^e * 10^-k, for c < 2^27 and a value from 1/2 to 2^34, whose
// product c * F and point position keep every shift below in range.
//
// For k <= 0 the product is exact.  For k > 0 it exceeds the value by less
// than value * 2^-127 < 2^-93, while a fractional part that is not 0 or 1/2
// lies at least 2^-89.2 away from both: with e >= k the value is
// (c * 2^(e-k)) / 5^k and 5^k <= 5^38 < 2^88.2; with e < k it is c / D
// where D = 2^(k-e) * 5^k <= 2c < 2^28 (as the value is >= 1/2).  So the
// floor is exact, and a fraction within 2^-90 above 0 or above 1/2 is
// exactly 0 or 1/2.  (No branch on the data: the values come in any order.)
//
// scaleBy takes the table entry for k (and whether k > 0) as arguments;
// scale looks it up.
inline __attribute__((always_inline)) Scaled scaleBy(uint32_t c, int e, uint128 f, int exponent,
                                                     bool rounded) {
  // value = c * f / 2^(64 + u); the bounds on c and value give 29 < u < 92.
  const int u = -(e + exponent) - 64;
  const uint128 low = uint128{c} * static_cast<uint64_t>(f);
  const uint128 high = uint128{c} * static_cast<uint64_t>(f >> 64) + (low >> 64);
  const uint128 lowBits = low << 64;
  // The fraction's first 128 bits, the last of them set too when any bit
  // below them is: that keeps every comparison below exact.
  const uint128 fraction = (high << (128 - u)) | (lowBits >> u) |
                           ((lowBits << (128 - u)) != 0 ? 1 : 0);
  constexpr uint128 kHalf = uint128{1} << 127;
  const uint128 slack = uint128{1} << (rounded ? 128 - 90 : 0);
  Scaled result;
  result.floor = static_cast<uint64_t>(high >> u);
  result.integer = fraction < slack;
  result.tie = fraction - kHalf < slack;
  result.above = fraction >= kHalf && !result.tie;
  return result;
}

inline __attribute__((always_inline)) Scaled scale(uint32_t c, int e, int k) {
  return scaleBy(c, e, kPowersOfTen.mantissa[k - kMinK], kPowersOfTen.exponent[k - kMinK], k > 0);
}

// ---------------------------------------------------------------------------
// Text.
//
// Digits are made several at a time in a 64-bit word, one digit a byte,
// and the text is written with stores of fixed size, which may run past
// its end (hence kFloatTextSize).  Nothing written is read back: a read that
// spans several smaller stores would wait for them.

constexpr uint64_t kAsciiZeros = UINT64_C(0x3030303030303030);  // '0' in every byte

// Writes w's bytes at out, byte 0 (the least significant) first.
inline void store8(char *out, uint64_t w) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  w = __builtin_bswap64(w);
#endif
  std::memcpy(out, &w, sizeof w);
}

// The eight decimal digits of v < 10^8, zero-padded, as the values 0..9 in
// bytes 0 (the most significant digit) to 7.  Each step splits every lane
// of the word in two: the 4-digit halves by division, then the lanes by
// multiplying with floor(2^20 / 100) + 1 = 10486 and shifting 20 (equal to
// dividing by 100 below 10^4), then with floor(2^10 / 10) + 1 = 103 and
// shifting 10 (equal to dividing by 10 below 100).  No lane's product
// reaches into the next lane.
inline uint64_t eightDigits(uint32_t v) {
  uint64_t y = (v / 10000) | (uint64_t{v % 10000} << 32);
  uint64_t z = ((y * 10486) >> 20) & UINT64_C(0x0000007F0000007F);
  y = z | ((y - 100 * z) << 16);
  z = ((y * 103) >> 10) & UINT64_C(0x000F000F000F000F);
  return z | ((y - 10 * z) << 8);
}

// A decimal digit string of up to nine digits: first, then the rest in the
// bytes of a word (byte 0 first), padded with '0' to eight bytes.
struct DigitText {
  char first;
  uint64_t rest;
  int trailingZeros;  // of the n digits
};

inline int bitLength32(uint32_t v) { return v == 0 ? 0 : 32 - __builtin_clz(v); }

// The number of decimal digits of v ("0" has one).  With L bits,
// 2^(L-1) <= v < 2^L, v has t or t + 1 digits for t = floor(L * log10(2)),
// and 1233 / 2^12 gives that floor for L <= 64.
inline int decimalLength(uint32_t v) {
  const int t = (bitLength32(v | 1) * 1233) >> 12;
  return t + ((v | 1) >= kPowersOfTen32[t] ? 1 : 0);
}

// The first n digits of text times 10^(decimalExponent - n + 1) (n >= 1,
// no trailing zero among them), in exponent form "d.ddde+XX" or, when
// plain, as "ddd.ddd" or "0.000ddd".  For floats -45 <= decimalExponent
// <= 39; plain form for -4 <= decimalExponent <= 8 only.
//
// Every layout is the same sequence of stores at positions worked out
// with conditional moves, so that the choice costs no branch whatever the
// order of the values: "0.000000" at out (kept only before the digits of
// "0.000ddd"), the digits at s (after that prefix, or at 0), the point at
// s + p followed by the digits after it (for "0.000ddd" at the end of the
// text, where nothing of it is kept), then the exponent's four bytes at
// the end of the digits (beyond the end of plain text).  The stores reach
// at most 23 bytes past out: the point at 5 + 9 and eight bytes after it
// for "0.0000ddddddddd", which also bounds the exponent's 19.
inline __attribute__((always_inline)) char *layOut(const DigitText &text, int n,
                                                   int decimalExponent, bool plain,
                                                   char *out) {
  // Masks rather than conditions: the compiler turns conditions used in
  // several places into branches.
  const int plainMask = -static_cast<int>(plain);
  const int negativeMask = decimalExponent < 0 ? -1 : 0;
  const int s = (1 - decimalExponent) & plainMask & negativeMask;
  const int p = 1 + (plainMask & ((decimalExponent & ~negativeMask) | ((n - 1) & negativeMask)));
  store8(out, UINT64_C(0x303030303030) << 16 | '.' << 8 | '0');  // "0.000000"
  out[s] = text.first;
  store8(out + s + 1, text.rest);
  out[s + p] = '.';
  // For p = 9 (nine digits, none after the point) the shift is 0, and
  // stores digits that lie beyond the end.
  store8(out + s + p + 1, text.rest >> ((8 * (p - 1)) & 63));
  const int end = s + p + ((n + 1 - p) & -static_cast<int>(n > p));
  std::memcpy(out + end, kExponentTexts.text[decimalExponent - kMinDecade], 4);
  return out + end + (4 & ~plainMask);
}

// A float's parts: value = (-1)^negative * c * 2^e.
struct FloatParts {
  bool negative;
  bool finite;
  uint32_t exponentField;
  uint32_t fraction;
  uint32_t c;
  int e;
};

inline FloatParts split(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  FloatParts parts;
  parts.negative = (bits >> 31) != 0;
  parts.exponentField = (bits >> 23) & 0xFF;
  parts.fraction = bits & 0x7FFFFF;
  parts.finite = parts.exponentField != 0xFF;
  if (parts.exponentField == 0) {
    parts.c = parts.fraction;
    parts.e = -149;
  } else {
    parts.c = parts.fraction | (UINT32_C(1) << 23);
    parts.e = static_cast<int>(parts.exponentField) - 150;
  }
  return parts;
}

// Zero and the non-finite values, with their sign, as glibc's printf
// writes them.
char *writeSpecial(const FloatParts &parts, char *out) {
  if (parts.negative) *out++ = '-';
  if (parts.finite) {
    *out = '0';
    return out + 1;
  }
  std::memcpy(out, parts.fraction == 0 ? "inf" : "nan", 3);
  return out + 3;
}

// ---------------------------------------------------------------------------
// "%.Ng".
//
// A normal float c * 2^e (c = 2^23 + its fraction field, e = f - 150 for
// its exponent field f) lies in its binade's decade or the next, which one
// comparison of its bits tells.  With k = decade - N + 1 it scales to
// y = c * 2^e * 10^-k, 10^(N-1) <= y < 10^N, and y rounded to nearest,
// ties to even, gives the digits: glibc's printf rounds the exact value.
//
// The 64-bit power 10^-k = m * 2^E comes as the table's M = m (where
// exact) or ceil(m).  With a = e + E + 96, c << a = y * 2^96 / m lies in
// [2^32, 2^63), as 1 <= y < 2^30 and 2^63 <= m < 2^64; so the one product
// P = (c << a) * M is y * 2^96, or exceeds it by less than c << a < 2^63.
// y's integer part is P's bits from 96 on, its fraction the 96 below.
//
// Where P's fraction is below 2^95 or at least 2^95 + 2^64, y's fraction
// lies on the same side of 1/2 (or P's has passed into the next integer
// where y's was within 2^-33 below 1, and y rounds up to that integer
// too), and adding 2^95 rounds y.  Else bits 64 to 95 of P are 2^31, y is
// at a tie or within 2^-32 of one, and roundNearHalf decides.
//
// A subnormal is c * 2^-149 with c its fraction field, as if f were 1.

inline uint128 scaledProduct(uint32_t c, uint32_t field, uint32_t kIndex) {
  return uint128{uint64_t{c} << (static_cast<int>(field) + kFast.shift[kIndex])} *
         kFast.mantissa[kIndex];
}

inline bool nearHalf(uint128 product) {
  return static_cast<uint32_t>(product >> 64) == UINT32_C(1) << 31;
}

inline uint32_t roundHalfUp(uint128 product) {
  return static_cast<uint32_t>((static_cast<uint64_t>(product >> 64) + (UINT64_C(1) << 31)) >> 32);
}

uint32_t roundNearHalf(uint32_t c, uint32_t field, uint32_t kIndex, uint128 product) {
  if (kFast.exact[kIndex]) {
    // P is y * 2^96: a tie exactly when the bits below 95 are 0, and then
    // the even neighbour.
    const uint64_t high = static_cast<uint64_t>(product >> 64);
    const bool tieToEven = static_cast<uint64_t>(product) == 0 && ((high >> 32) & 1) == 0;
    return static_cast<uint32_t>((high + (UINT64_C(1) << 31) - (tieToEven ? 1 : 0)) >> 32);
  }
  const int k = static_cast<int>(kIndex) + kMinK;
  const Scaled scaled = scaleBy(c, static_cast<int>(field) - 150, kPowersOfTen.mantissa[kIndex],
                                kPowersOfTen.exponent[kIndex], k > 0);
  return static_cast<uint32_t>(scaled.floor + (scaled.above | (scaled.tie & (scaled.floor & 1))));
}

// The N digits of v, 10^(N-1) <= v < 10^N, N <= 8, as values in the bytes
// of a word: the first at byte 0, then 0 up to byte 7.  Made three at a
// time from the table of digit triples, from the last digit back; the
// first group may have fewer, and its triple's leading zeros are shifted
// out.  (v * ceil(2^32 / 1000)) >> 32 is v / 1000 for v < 10^6: it exceeds
// v / 1000 by less than v * 0.704 / 2^32 < 1/1000.)
template <int N>
inline __attribute__((always_inline)) uint64_t digitWord(uint32_t v) {
  const auto triple = [](uint64_t i) -> uint64_t { return kFast.digitTriple[i]; };
  if constexpr (N <= 3) {
    return triple(v) >> (8 * (3 - N));
  } else if constexpr (N <= 6) {
    const uint64_t top = (v * UINT64_C(4294968)) >> 32;
    return triple(top) >> (8 * (6 - N)) | triple(v - 1000 * top) << (8 * (N - 3));
  } else {
    const uint32_t top = v / 1000000, middle = v / 1000 % 1000;
    return triple(top) >> (8 * (9 - N)) | triple(middle) << (8 * (N - 6)) |
           triple(v % 1000) << (8 * (N - 3));
  }
}

// The first last + 1 digits of word (no trailing zero among them) times
// 10^(decade - last), laid out for "%.Ng", N <= 7: "0.000000" at out,
// then word with the point put in at its place among the digits (which
// lies beyond the text when there is none, as ddddddd. fits eight bytes),
// at out for "d.ddd" and "ddd.dd" or after the "0.000" of "0.000ddd";
// then the exponent's four bytes at the end of the digits (beyond the end
// of plain text).  Writes at most 16 bytes, with no branch on the layout.
template <int N>
inline __attribute__((always_inline)) char *layOutWord(uint64_t word, size_t last, size_t d,
                                                       char *out) {
  const WordLayout &layout = kFast.layout[N];
  const uint64_t before = word & layout.keep[d];
  const uint64_t text = before | (word ^ before) << 8 | layout.point[d];
  store8(out, UINT64_C(0x303030303030) << 16 | '.' << 8 | '0');  // "0.000000"
  store8(out + layout.start[d], text);
  std::memcpy(out + layout.digitsEnd[d][last], layout.suffix[d], 4);
  return out + layout.textEnd[d][last];
}

// "%.Ng" of y rounded, `kept`, 10^(N-1) <= kept <= 10^N, for a value of
// decade index d (sign already written).
template <int N>
inline __attribute__((always_inline)) char *formatKept(uint32_t kept, size_t d, char *out) {
  if (__builtin_expect(kept == kPowersOfTen32[N], 0)) {
    // Rounded up into the next decade.
    kept = kPowersOfTen32[N - 1];
    ++d;
  }
  if constexpr (N <= 7) {
    const uint64_t digits = digitWord<N>(kept);
    // The last digit other than 0 is in the highest byte not 0.
    const size_t last = static_cast<unsigned>(63 - __builtin_clzll(digits)) / 8;
    return layOutWord<N>(digits | kAsciiZeros, last, d, out);
  } else {
    // Eight or nine digits: the first, and the rest as values in a word.
    uint64_t rest;
    DigitText text;
    if constexpr (N == 8) {
      const uint64_t digits = digitWord<8>(kept);
      text.first = static_cast<char>('0' + (digits & 0xFF));
      rest = digits >> 8;
    } else {
      const uint32_t top = kept / 1000000, middle = kept / 1000 % 1000;
      const uint64_t topDigits = kFast.digitTriple[top];
      text.first = static_cast<char>('0' + (topDigits & 0xFF));
      rest = topDigits >> 8 | uint64_t{kFast.digitTriple[middle]} << 16 |
             uint64_t{kFast.digitTriple[kept % 1000]} << 40;
    }
    text.rest = rest | kAsciiZeros;
    // The zero bytes at the top of the N - 1 bytes of rest (7 or 8 when it
    // is 0).
    text.trailingZeros = N == 8 ? __builtin_clzll(rest << 8 | 1) / 8
                                : (__builtin_clzll(rest | 1) + (rest == 0)) / 8;
    const int decade = static_cast<int>(d) + kMinDecade;
    // As printf chooses: plain form for -4 <= decade < N.
    const bool plain = static_cast<unsigned>(decade + 4) < static_cast<unsigned>(N + 4);
    return layOut(text, N - text.trailingZeros, decade, plain, out);
  }
}

// Zero, subnormals, infinity, NaN, and values at or near a tie.
__attribute__((noinline)) char *formatSlow(float value, int precision, char *out);

// "%.Ng" of any float.
template <int N>
inline __attribute__((always_inline)) char *formatPrecision(float value, char *out) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint32_t field = (bits >> 23) & 0xFF;
  if (__builtin_expect(field - 1 >= 254, 0)) return formatSlow(value, N, out);
  // The entries for both decades load while the comparison is pending.
  const size_t low = kFast.binadeDecade[field];
  const bool up = (bits & 0x7FFFFFFF) >= kFast.nextDecadeFrom[field];
  const size_t kLow = low + kDecadeToK - N + 1;
  const uint64_t mantissa = up ? kFast.mantissa[kLow + 1] : kFast.mantissa[kLow];
  const int shift = static_cast<int>(field) + (up ? kFast.shift[kLow + 1] : kFast.shift[kLow]);
  const size_t d = low + (up ? 1 : 0);
  const uint128 product = uint128{uint64_t{(bits & 0x7FFFFF) | 0x800000} << shift} * mantissa;
  if (__builtin_expect(nearHalf(product), 0)) return formatSlow(value, N, out);
  *out = '-';
  out += bits >> 31;
  return formatKept<N>(roundHalfUp(product), d, out);
}

char *formatSlow(float value, int precision, char *out) {
  const FloatParts parts = split(value);
  if (!parts.finite || parts.c == 0) return writeSpecial(parts, out);
  *out = '-';
  out += parts.negative ? 1 : 0;
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bits &= 0x7FFFFFFF;
  uint32_t field = parts.exponentField, d;
  if (field == 0) {
    // With 2^b <= value < 2^(b+1), 10^estimate <= value < 10^(estimate+2)
    // for estimate = floor(b * log10(2)).
    field = 1;
    const int estimate = floorLog10Pow2(parts.e + 31 - __builtin_clz(parts.c));
    d = static_cast<uint32_t>(estimate - kMinDecade) +
        (bits >= kDecades.smallestAtLeast[estimate + 1 - kMinDecade] ? 1 : 0);
  } else {
    d = kFast.binadeDecade[field] + (bits >= kFast.nextDecadeFrom[field] ? 1 : 0);
  }
  const uint32_t kIndex = d + kDecadeToK - precision + 1;
  const uint128 product = scaledProduct(parts.c, field, kIndex);
  const uint32_t kept =
      nearHalf(product) ? roundNearHalf(parts.c, field, kIndex, product) : roundHalfUp(product);
  switch (precision) {
    case 1: return formatKept<1>(kept, d, out);
    case 2: return formatKept<2>(kept, d, out);
    case 3: return formatKept<3>(kept, d, out);
    case 4: return formatKept<4>(kept, d, out);
    case 5: return formatKept<5>(kept, d, out);
    case 6: return formatKept<6>(kept, d, out);
    case 7: return formatKept<7>(kept, d, out);
    case 8: return formatKept<8>(kept, d, out);
    default: return formatKept<9>(kept, d, out);
  }
}

// Up to eight digits of v < 10^8; writes eight bytes.
inline __attribute__((always_inline)) char *writeUpToEight(uint32_t v, char *out) {
  const int n = decimalLength(v);
  store8(out, (eightDigits(v) >> (8 * (8 - n))) + kAsciiZeros);
  return out + n;
}

// Exactly eight digits, zero-padded, of v < 10^8.
inline __attribute__((always_inline)) char *writeEight(uint32_t v, char *out) {
  store8(out, eightDigits(v) + kAsciiZeros);
  return out + 8;
}

inline __attribute__((always_inline)) char *writeInt32(int32_t value, char *out) {
  uint32_t magnitude = static_cast<uint32_t>(value);
  *out = '-';
  out += value < 0 ? 1 : 0;
  magnitude = value < 0 ? 0 - magnitude : magnitude;
  if (magnitude < 100000000) return writeUpToEight(magnitude, out);
  out = writeUpToEight(magnitude / 100000000, out);
  return writeEight(magnitude % 100000000, out);
}

template <int N>
char *formatSpaced(const float *values, size_t count, char *out) {
  for (size_t i = 0; i < count; ++i) {
    out = formatPrecision<N>(values[i], out);
    *out++ = ' ';
  }
  return out;
}

}  // namespace

char *formatFloatDigits(float value, int digits, char *out) {
  switch (digits) {
    case 2: return formatPrecision<2>(value, out);
    case 3: return formatPrecision<3>(value, out);
    case 4: return formatPrecision<4>(value, out);
    case 5: return formatPrecision<5>(value, out);
    case 6: return formatPrecision<6>(value, out);
    case 7: return formatPrecision<7>(value, out);
    case 8: return formatPrecision<8>(value, out);
    default: return digits < 2 ? formatPrecision<1>(value, out) : formatPrecision<9>(value, out);
  }
}

char *formatFloatG(float value, char *out) { return formatPrecision<6>(value, out); }

char *formatFloatsSpaced(const float *values, size_t count, int digits, char *out) {
  switch (digits) {
    case 1: return formatSpaced<1>(values, count, out);
    case 2: return formatSpaced<2>(values, count, out);
    case 3: return formatSpaced<3>(values, count, out);
    case 4: return formatSpaced<4>(values, count, out);
    case 5: return formatSpaced<5>(values, count, out);
    case 6: return formatSpaced<6>(values, count, out);
    case 7: return formatSpaced<7>(values, count, out);
    case 8: return formatSpaced<8>(values, count, out);
    default:
      if (digits >= 9) return formatSpaced<9>(values, count, out);
      for (size_t i = 0; i < count; ++i) {
        out = formatFloatShortest(values[i], out);
        *out++ = ' ';
      }
      return out;
  }
}

// x * 2^e * 10^-k for -27 <= k <= 0, where the 64-bit power is exact, and
// x * 2^e * 10^-k from 1/4 to 2^28, x < 2^27: as for "%.Ng", with
// a = e + E + 96, x << a = (x * 2^e * 10^-k) * 2^96 / M lies in
// [2^30, 2^61), and the product is the value times 2^96.
inline Scaled scaleExactly(uint32_t x, int e, int k) {
  const size_t i = static_cast<size_t>(k - kMinK);
  const uint128 product = uint128{uint64_t{x} << (e + kFast.shift[i] + 150)} * kFast.mantissa[i];
  const uint128 fraction = product & ((uint128{1} << 96) - 1);
  constexpr uint128 kHalf = uint128{1} << 95;
  Scaled result;
  result.floor = static_cast<uint64_t>(product >> 96);
  result.integer = fraction == 0;
  result.tie = fraction == kHalf;
  result.above = fraction > kHalf;
  return result;
}

// The interval of decimals that read back as the float is searched as in
// the Schubfach algorithm: scaled by the 10^-k that makes its width 1 to
// 10, it holds at most one multiple of 10, which is shorter than anything
// else in it; failing that, one or two integers, of which the nearer to
// the float is taken.  All comparisons are exact.
char *formatFloatShortest(float value, char *out) {
  const FloatParts parts = split(value);
  if (!parts.finite || parts.c == 0) return writeSpecial(parts, out);
  *out = '-';
  out += parts.negative ? 1 : 0;
  // The halfway points to the neighbours, in units of 2^(e-2).  Only at a
  // power of two above the smallest normal is the gap below half as wide.
  const bool regular = parts.fraction != 0 || parts.exponentField <= 1;
  const uint32_t centre = parts.c << 2;
  const uint32_t lower = regular ? centre - 2 : centre - 1;
  const uint32_t upper = centre + 2;
  const int k = regular ? floorLog10Pow2(parts.e) : floorLog10ThreeQuartersPow2(parts.e);
  // Where the 64-bit power is exact (values from about 2^-66 to 2^27) one
  // 64-bit product each is exact; elsewhere the 128-bit powers are used.
  Scaled v, low, high;
  if (__builtin_expect(k >= -27 && k <= 0, 1)) {
    v = scaleExactly(centre, parts.e - 2, k);
    low = scaleExactly(lower, parts.e - 2, k);
    high = scaleExactly(upper, parts.e - 2, k);
  } else {
    v = scale(centre, parts.e - 2, k);
    low = scale(lower, parts.e - 2, k);
    high = scale(upper, parts.e - 2, k);
  }
  // Round-to-nearest-even reading takes the halfway points themselves
  // back to an even c.
  const bool inclusive = (parts.c & 1) == 0;
  // (Bitwise operators, so that they compile to no branch.)
  const bool lowIn = low.integer & inclusive;
  const bool highIn = !high.integer | inclusive;
  auto aboveLow = [&](uint64_t n) { return (n > low.floor) | ((n == low.floor) & lowIn); };
  auto belowHigh = [&](uint64_t n) { return (n < high.floor) | ((n == high.floor) & highIn); };

  // Chosen with conditional moves: which case applies varies from value
  // to value.
  const uint64_t s = v.floor;
  const uint64_t tens = s / 10;
  const bool tensDownIn = aboveLow(tens * 10);
  const bool useTens = tensDownIn != belowHigh(tens * 10 + 10);
  const bool downIn = aboveLow(s);
  const bool onlyOne = downIn != belowHigh(s + 1);
  const bool roundUp = v.above | (v.tie & ((s & 1) != 0));
  const uint64_t units = s + ((onlyOne & !downIn) | (!onlyOne & roundUp));
  const uint64_t chosen = useTens ? tens + !tensDownIn : units;
  const int exponent = k + useTens;
  // 0 < chosen <= v + 1 < 2^28: nine digits at most.
  const int length = decimalLength(static_cast<uint32_t>(chosen));
  const uint32_t top = static_cast<uint32_t>(chosen / 100000000);
  const uint64_t raw = eightDigits(static_cast<uint32_t>(chosen - uint64_t{top} * 100000000));
  // The nine digits, zero-padded, as bytes of a 72-bit number, the first
  // of them lowest; the length's leading zeros shifted out.
  const uint128 nine = (uint128{raw} << 8 | top) >> (8 * (9 - length));
  DigitText text;
  text.first = static_cast<char>('0' + (static_cast<uint32_t>(nine) & 0xFF));
  text.rest = static_cast<uint64_t>(nine >> 8) + kAsciiZeros;
  // raw's leading zero bytes, and 8 when raw is 0.
  const int n = length - (__builtin_clzll(raw | 1) + (raw == 0)) / 8;
  const int decimalExponent = exponent + length - 1;

  // As "%.Pg" would lay out the digits for some P from n to 9, and the
  // shorter of the layouts that allows, the plain one when as long.
  const bool plainAllowed = static_cast<unsigned>(decimalExponent + 4) <= 12;
  const bool exponentAllowed = (decimalExponent < -4) | (decimalExponent >= n);
  const int exponentLength = n + 4 + (n > 1);
  const int whole = decimalExponent + 1;  // integer digits, if positive
  const int negativeMask = decimalExponent < 0 ? -1 : 0;
  const int plainLength = ((n + 1 - decimalExponent) & negativeMask) |
                          ((whole + ((n + 1 - whole) & -(n > whole))) & ~negativeMask);
  const bool plain = plainAllowed & (!exponentAllowed | (plainLength <= exponentLength));
  return layOut(text, n, decimalExponent, plain, out);
}

char *formatFixed(float value, char *out) {
  return std::to_chars(out, out + kFixedFloatTextSize, static_cast<double>(value),
                       std::chars_format::fixed, 6)
      .ptr;
}

namespace {

// The digits of v; writes up to 20 bytes.
char *writeUnsigned(uint64_t v, char *out) {
  constexpr uint64_t kEight = 100000000;
  if (v < kEight) return writeUpToEight(static_cast<uint32_t>(v), out);
  if (v < kEight * kEight) {
    out = writeUpToEight(static_cast<uint32_t>(v / kEight), out);
    return writeEight(static_cast<uint32_t>(v % kEight), out);
  }
  const uint64_t high = v / kEight;  // at most 1.9e11
  out = writeUpToEight(static_cast<uint32_t>(high / kEight), out);
  out = writeEight(static_cast<uint32_t>(high % kEight), out);
  return writeEight(static_cast<uint32_t>(v % kEight), out);
}

}  // namespace

char *formatInt(long value, char *out) {
  uint64_t magnitude = static_cast<uint64_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0 - magnitude;  // also right for LONG_MIN
  }
  return writeUnsigned(magnitude, out);
}

char *formatInt(int32_t value, char *out) { return writeInt32(value, out); }

namespace {

// The eight digits of v < 10^8, zero-padded, as values in bytes 0 (the
// first) to 7, from three lookups of digit triples.
inline uint64_t eightDigitsByTriples(uint32_t v) {
  const uint32_t thousands = v / 1000, top = thousands / 1000;
  return kFast.digitTriple[top] >> 8 | uint64_t{kFast.digitTriple[thousands - 1000 * top]} << 16 |
         uint64_t{kFast.digitTriple[v - 1000 * thousands]} << 40;
}

}  // namespace

// The digits of v < 10^6, zero-padded to six, as characters in bytes 0
// to 5, and a blank in byte 6.
inline uint64_t sixDigitsAndBlank(uint32_t v) {
  const uint64_t thousands = (v * UINT64_C(4294968)) >> 32;  // v / 1000, as in digitWord
  return kFast.digitTriple[thousands] | uint64_t{kFast.digitTriple[v - 1000 * thousands]} << 24 |
         UINT64_C(0x20303030303030);
}

// Below 10^8 the length costs no branch: the digits are made zero-padded
// to six or eight, and their leading zeros shifted out (the last digit is
// kept even when it is 0).  Index arrays hold runs of numbers of one
// length: after a number from 0 to 999999 the numbers of its length that
// follow it take a shorter way, with the shift and the step known.
char *formatIntsSpaced(const int32_t *values, size_t count, char *out) {
  size_t i = 0;
  while (i < count) {
    const int32_t value = values[i++];
    uint32_t v = static_cast<uint32_t>(value);
    *out = '-';
    out += value < 0 ? 1 : 0;
    v = value < 0 ? 0 - v : v;
    if (v < 1000000) {
      const uint64_t text = sixDigitsAndBlank(v);
      // The zero bytes of the digits' values at the start.
      const int leadingZeros = __builtin_ctzll((text ^ kAsciiZeros) | UINT64_C(1) << 40) / 8;
      const int shift = 8 * leadingZeros;
      store8(out, text >> shift);
      const int length = 6 - leadingZeros;
      out += length + 1;
      if (value < 0) continue;
      const uint32_t low = length == 1 ? 0 : kPowersOfTen32[length - 1];
      const uint32_t span = kPowersOfTen32[length] - low;
      while (i < count && static_cast<uint32_t>(values[i]) - low < span) {
        store8(out, sixDigitsAndBlank(static_cast<uint32_t>(values[i++])) >> shift);
        out += length + 1;
      }
    } else if (v < 100000000) {
      const uint64_t digits = eightDigitsByTriples(v);
      const int leadingZeros = __builtin_ctzll(digits | UINT64_C(1) << 56) / 8;
      store8(out, (digits | kAsciiZeros) >> (8 * leadingZeros));
      out += 8 - leadingZeros;
      *out++ = ' ';
    } else {
      const uint32_t high = v / 100000000;  // 1 to 21
      const int skip = high < 10 ? 2 : 1;
      store8(out, kFast.digitTriple[high] >> (8 * skip) | kAsciiZeros);
      out += 3 - skip;
      store8(out, eightDigitsByTriples(v - high * 100000000) | kAsciiZeros);
      out[8] = ' ';
      out += 9;
    }
  }
  return out;
}

void appendG(std::string &out, double value) {
  // A double that is exactly a float has the float's "%g" text.  (The
  // range test comes first: converting a larger double to float is
  // undefined.)
  if (std::fabs(value) <= FLT_MAX && static_cast<double>(static_cast<float>(value)) == value) {
    char buffer[kFloatTextSize];
    out.append(buffer, formatFloatG(static_cast<float>(value), buffer));
    return;
  }
  appendChars(out, value, std::chars_format::general, 6);
}

void appendInt(std::string &out, long value) {
  char buffer[kIntTextSize];
  out.append(buffer, formatInt(value, buffer));
}

}  // namespace vellum
