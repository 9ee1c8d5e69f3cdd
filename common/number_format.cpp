#include "common/number_format.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
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

// ---------------------------------------------------------------------------
// Exact scaling of a float by a power of ten.
//
// A finite float is c * 2^e with an integer c below 2^24.  Formatting it
// needs floor(c * 2^e * 10^-k) for one k, and whether the part after the
// point is exactly 0, below, exactly at or above 1/2.  10^-k is kept as a
// 128-bit F in [2^127, 2^128) and a binary exponent:
//   10^-k = F * 2^exponent, exactly when k <= 0 (F is 5^-k shifted left),
//   10^-k < F * 2^exponent < 10^-k * (1 + 2^-127) when k > 0 (F rounded up).

__extension__ typedef unsigned __int128 uint128;

// %.9g of the smallest subnormal, 1.4e-45, scales by 10^(45+8); %.1g of
// FLT_MAX, 3.4e38, by 10^-38.  The shortest-digits search stays inside.
constexpr int kMinK = -53;
constexpr int kMaxK = 38;

struct PowerOfTenTable {
  uint128 mantissa[kMaxK - kMinK + 1];
  int exponent[kMaxK - kMinK + 1];
};

constexpr int bitLength(uint128 value) {
  int length = 0;
  for (; value != 0; value >>= 1) ++length;
  return length;
}

// ceil(2^shift / divisor): long division one bit at a time, for
// divisor < 2^126 (so that twice the remainder fits) and a quotient below
// 2^128.
constexpr uint128 ceilPowerOfTwoOver(int shift, uint128 divisor) {
  uint128 quotient = 0, remainder = 0;
  for (int bit = shift; bit >= 0; --bit) {
    remainder = remainder << 1 | (bit == shift ? 1 : 0);
    quotient <<= 1;
    if (remainder >= divisor) {
      remainder -= divisor;
      quotient |= 1;
    }
  }
  return quotient + (remainder != 0 ? 1 : 0);
}

constexpr PowerOfTenTable makePowerOfTenTable() {
  PowerOfTenTable table{};
  // 10^j = 5^j * 2^j for j = -k >= 0; 5^53 < 2^124, so 5^j fits.
  uint128 power = 1;
  for (int j = 0; j <= -kMinK; ++j, power *= 5) {
    int shift = 128 - bitLength(power);
    table.mantissa[-j - kMinK] = power << shift;
    table.exponent[-j - kMinK] = j - shift;
  }
  // 10^-k = 2^-k / 5^k: F = ceil(2^(127 + b) / 5^k) with 2^(b-1) < 5^k < 2^b
  // (5^38 < 2^89).
  uint128 divisor = 1;
  for (int k = 1; k <= kMaxK; ++k) {
    divisor *= 5;
    const int b = bitLength(divisor);
    table.mantissa[k - kMinK] = ceilPowerOfTwoOver(127 + b, divisor);
    table.exponent[k - kMinK] = -k - 127 - b;
  }
  return table;
}

constexpr PowerOfTenTable kPowersOfTen = makePowerOfTenTable();

// The decimal exponents of finite floats: 1.4e-45 to 3.4e38.
constexpr int kMinDecade = -45;
constexpr int kMaxDecade = 39;

// For each n, the bit pattern of the smallest float >= 10^n, so that a
// positive float x is >= 10^n exactly when its bits are >= the entry.
// 10^39 is beyond FLT_MAX: its entry is infinity's bits.
struct DecadeTable {
  uint32_t smallestAtLeast[kMaxDecade - kMinDecade + 1];
};

constexpr DecadeTable makeDecadeTable() {
  DecadeTable table{};
  for (int n = kMinDecade; n <= kMaxDecade; ++n) {
    uint32_t bits = 0x7F800000;
    if (n < kMaxDecade) {
      // 10^n = 2^n * 5^n; with 5^|n| (below 2^105) find floor(log2(10^n)),
      // then the float c * 2^e >= 10^n with c as small as its binade (or
      // the subnormals) allow.
      uint128 fivePower = 1;
      for (int i = 0; i < (n < 0 ? -n : n); ++i) fivePower *= 5;
      const int floorLog2 = n >= 0 ? n + bitLength(fivePower) - 1 : n - bitLength(fivePower);
      int e = floorLog2 - 23 < -149 ? -149 : floorLog2 - 23;
      uint128 c = 0;
      if (n >= 0) {
        uint128 power = fivePower << n;  // 10^n < 2^127
        c = e <= 0 ? power << -e : (power + (uint128{1} << e) - 1) >> e;
      } else {
        c = ceilPowerOfTwoOver(-e + n, fivePower);  // 2^-e / 10^-n
      }
      if (c == (uint128{1} << 24)) {
        c >>= 1;
        ++e;
      }
      bits = c < (uint128{1} << 23)
                 ? static_cast<uint32_t>(c)
                 : (static_cast<uint32_t>(e + 150) << 23) | (static_cast<uint32_t>(c) & 0x7FFFFF);
    }
    table.smallestAtLeast[n - kMinDecade] = bits;
  }
  return table;
}

constexpr DecadeTable kDecades = makeDecadeTable();

// floor(e * log10(2)) and floor(e * log10(2) + log10(3/4)).  The factors
// are floor(2^20 * log10(2)), floor(2^22 * log10(2)) and
// floor(2^22 * -log10(3/4)); both results were checked exact for
// |e| <= 400, beyond any float's binary exponent.  The added power of two
// keeps the shifted number positive and adds exactly 2^20 or 2^22 to the
// quotient, taken off again.
constexpr int floorLog10Pow2(int e) {
  return static_cast<int>(((int64_t{e} * 315653 + (INT64_C(1) << 40)) >> 20) - (1 << 20));
}
constexpr int floorLog10ThreeQuartersPow2(int e) {
  return static_cast<int>(((int64_t{e} * 1262611 - 524031 + (INT64_C(1) << 44)) >> 22) -
                          (1 << 22));
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
// Digits are made eight at a time in a 64-bit word, one digit a byte, and
// the text is written with stores of fixed size, which may run past its
// end (hence kFloatTextSize).  Nothing written is read back: a read that
// spans several smaller stores would wait for them.

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint32_t kPowersOfTen32[] = {1,      10,      100,      1000,      10000,
                                       100000, 1000000, 10000000, 100000000, 1000000000};

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

// The n digits of v, 10^(n-1) <= v < 10^n, 1 <= n <= 9.
inline DigitText digitText(uint32_t v, int n) {
  DigitText text;
  if (n == 9) {
    const uint32_t top = v / 100000000;
    const uint64_t raw = eightDigits(v - top * 100000000);
    text.first = static_cast<char>('0' + top);
    text.rest = raw + kAsciiZeros;
    text.trailingZeros = raw == 0 ? 8 : __builtin_clzll(raw) / 8;
  } else {
    const uint64_t raw = eightDigits(v);  // not 0, as v >= 1
    const uint64_t digits = raw >> (8 * (8 - n));
    text.first = static_cast<char>('0' + (digits & 0xFF));
    text.rest = (digits >> 8) + kAsciiZeros;
    text.trailingZeros = __builtin_clzll(raw) / 8;
  }
  return text;
}

inline int bitLength32(uint32_t v) { return v == 0 ? 0 : 32 - __builtin_clz(v); }

// The number of decimal digits of v ("0" has one).  With L bits,
// 2^(L-1) <= v < 2^L, v has t or t + 1 digits for t = floor(L * log10(2)),
// and 1233 / 2^12 gives that floor for L <= 64.
inline int decimalLength(uint32_t v) {
  const int t = (bitLength32(v | 1) * 1233) >> 12;
  return t + ((v | 1) >= kPowersOfTen32[t] ? 1 : 0);
}

// The first n digits of text times 10^(decimalExponent - n + 1) (n >= 1,
// no trailing zero among them), as "d.ddde+XX" or in plain form, at out;
// writes at most 17 bytes.  |decimalExponent| < 100 for floats; plain form
// for -4 <= decimalExponent <= 8 only.
inline __attribute__((always_inline)) char *layOut(const DigitText &text, int n,
                                                   int decimalExponent, bool plain,
                                                   char *out) {
  if (!plain) {
    out[0] = text.first;
    out[1] = '.';
    store8(out + 2, text.rest);
    out += n > 1 ? n + 1 : 1;
    out[0] = 'e';
    out[1] = decimalExponent < 0 ? '-' : '+';
    const int magnitude = decimalExponent < 0 ? -decimalExponent : decimalExponent;
    std::memcpy(out + 2, kDigitPairs + 2 * magnitude, 2);
    return out + 4;
  }
  if (decimalExponent < 0) {
    // "0.", -decimalExponent - 1 zeros, the digits.
    store8(out, kAsciiZeros);
    out[1] = '.';
    char *digits = out + 1 - decimalExponent;
    digits[0] = text.first;
    store8(digits + 1, text.rest);
    return digits + n;
  }
  // The digits and their '0' padding make the integer part when there are
  // no more digits than it has; else the point goes in.
  out[0] = text.first;
  store8(out + 1, text.rest);
  const int integerDigits = decimalExponent + 1;
  if (n <= integerDigits) return out + integerDigits;
  out[integerDigits] = '.';
  store8(out + integerDigits + 1, text.rest >> (8 * decimalExponent));
  return out + n + 1;
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

// 10^n as the nearest double, n from -40 to 55: for any float and
// precision, value * 10^(precision - 1 - decimal exponent) is in range.
constexpr int kMinTenPower = -40;
constexpr double kTenPowers[] = {
    1e-40, 1e-39, 1e-38, 1e-37, 1e-36, 1e-35, 1e-34, 1e-33, 1e-32, 1e-31, 1e-30, 1e-29, 1e-28,
    1e-27, 1e-26, 1e-25, 1e-24, 1e-23, 1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15,
    1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,
    1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,
    1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22,  1e23,  1e24,
    1e25,  1e26,  1e27,  1e28,  1e29,  1e30,  1e31,  1e32,  1e33,  1e34,  1e35,  1e36,  1e37,
    1e38,  1e39,  1e40,  1e41,  1e42,  1e43,  1e44,  1e45,  1e46,  1e47,  1e48,  1e49,  1e50,
    1e51,  1e52,  1e53,  1e54,  1e55};

// "%.*g" for precision 1..9; inlined so that formatFloatG's constant
// precision folds into its divisions.
inline __attribute__((always_inline)) char *formatWithPrecision(float value, int precision,
                                                                char *out) {
  const FloatParts parts = split(value);
  if (!parts.finite || parts.c == 0) return writeSpecial(parts, out);
  *out = '-';
  out += parts.negative ? 1 : 0;
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  // With 2^b <= value < 2^(b+1), 10^estimate <= value < 10^(estimate+2)
  // for estimate = floor(b * log10(2)); the table of decades decides.
  // (Written as a choice of two loads, this compiles to a branch, and the
  // loads start before the decade is known: faster than loading at an
  // index computed from it, or choosing by masks.)
  const int estimate = floorLog10Pow2(parts.e + 31 - __builtin_clz(parts.c));
  const bool nextDecade =
      (bits & 0x7FFFFFFF) >= kDecades.smallestAtLeast[estimate + 1 - kMinDecade];
  int decimalExponent = estimate + (nextDecade ? 1 : 0);
  const int k = estimate - precision + 1;
  const uint128 f = nextDecade ? kPowersOfTen.mantissa[k + 1 - kMinK]
                               : kPowersOfTen.mantissa[k - kMinK];
  const int exponent = nextDecade ? kPowersOfTen.exponent[k + 1 - kMinK]
                                  : kPowersOfTen.exponent[k - kMinK];
  // The digits kept are value * 10^(precision - 1 - decimalExponent),
  // rounded to nearest, ties to even, as glibc's printf rounds the exact
  // value.  In double precision the product is off by at most two
  // roundings of 2^-53 each, so unless its fraction lies that close to
  // 1/2 the rounding is already decided; only then is the exact product
  // worked out.  (Whole numbers can be off too, but either way they round
  // to the same integer.)
  const double scaledFast = static_cast<double>(std::fabs(value)) *
                            kTenPowers[precision - 1 - decimalExponent - kMinTenPower];
  uint64_t kept = static_cast<uint64_t>(scaledFast);
  const double fraction = scaledFast - static_cast<double>(kept);
  if (std::fabs(fraction - 0.5) > scaledFast * 0x1p-50) {
    kept += fraction > 0.5 ? 1 : 0;
  } else {
    // 10^(precision-1) <= value = c * 2^e * 10^-(k or k+1) < 10^precision.
    const Scaled scaled = scaleBy(parts.c, parts.e, f, exponent, k + (nextDecade ? 1 : 0) > 0);
    kept = scaled.floor;
    kept += scaled.above | (scaled.tie & (kept & 1));
  }
  if (kept == kPowersOfTen32[precision]) {
    kept = kPowersOfTen32[precision - 1];
    ++decimalExponent;
  }
  const DigitText text = digitText(static_cast<uint32_t>(kept), precision);
  const bool plain = decimalExponent >= -4 && decimalExponent < precision;
  return layOut(text, precision - text.trailingZeros, decimalExponent, plain, out);
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

}  // namespace

// A whole number of at most `precision` digits (other than 0, whose sign
// counts) is its integer text in "%.*g": the common 1, -1 and 360 of RIB
// requests take this short way.
inline bool smallWhole(float value, int precision, int32_t *whole) {
  if (!(std::fabs(value) < static_cast<float>(kPowersOfTen32[precision]))) return false;
  *whole = static_cast<int32_t>(value);
  return static_cast<float>(*whole) == value && *whole != 0;
}

char *formatFloatDigits(float value, int digits, char *out) {
  digits = digits < 1 ? 1 : (digits > 9 ? 9 : digits);
  int32_t whole;
  if (smallWhole(value, digits, &whole)) return writeInt32(whole, out);
  return formatWithPrecision(value, digits, out);
}

char *formatFloatG(float value, char *out) {
  int32_t whole;
  if (smallWhole(value, 6, &whole)) return writeInt32(whole, out);
  return formatWithPrecision(value, 6, out);
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
  const Scaled v = scale(centre, parts.e - 2, k);
  const Scaled low = scale(lower, parts.e - 2, k);
  const Scaled high = scale(upper, parts.e - 2, k);
  // Round-to-nearest-even reading takes the halfway points themselves
  // back to an even c.
  const bool inclusive = (parts.c & 1) == 0;
  auto aboveLow = [&](uint64_t n) {
    return n > low.floor || (n == low.floor && low.integer && inclusive);
  };
  auto belowHigh = [&](uint64_t n) {
    return n < high.floor || (n == high.floor && (!high.integer || inclusive));
  };

  const uint64_t s = v.floor;
  uint64_t chosen;
  int exponent = k;
  const uint64_t tens = s / 10;
  const bool tensDownIn = aboveLow(tens * 10);
  const bool tensUpIn = belowHigh(tens * 10 + 10);
  if (tensDownIn != tensUpIn) {
    chosen = tensDownIn ? tens : tens + 1;
    exponent = k + 1;
  } else {
    const bool downIn = aboveLow(s);
    const bool upIn = belowHigh(s + 1);
    if (downIn != upIn)
      chosen = downIn ? s : s + 1;
    else
      chosen = v.above || (v.tie && (s & 1) != 0) ? s + 1 : s;
  }
  // 0 < chosen <= v + 1 < 2^28.
  const int length = decimalLength(static_cast<uint32_t>(chosen));
  const DigitText text = digitText(static_cast<uint32_t>(chosen), length);
  const int n = length - text.trailingZeros;
  const int decimalExponent = exponent + length - 1;

  const bool plainAllowed = decimalExponent >= -4 && decimalExponent <= 8;
  const bool exponentAllowed = decimalExponent < -4 || decimalExponent >= n;
  bool plain = !exponentAllowed;
  if (plainAllowed && exponentAllowed) {
    const int exponentLength = n + (n > 1 ? 1 : 0) + 4;
    const int plainLength = decimalExponent < 0 ? n + 1 - decimalExponent
                            : n <= decimalExponent + 1 ? decimalExponent + 1
                                                       : n + 1;
    plain = plainLength <= exponentLength;
  }
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

// Index arrays hold runs of numbers of the same length, so here the
// length is found by comparisons that predict well, and the digits are
// written two at a time from the end.
char *formatIntsSpaced(const int32_t *values, size_t count, char *out) {
  for (size_t i = 0; i < count; ++i) {
    const int32_t value = values[i];
    uint32_t v = static_cast<uint32_t>(value);
    *out = '-';
    out += value < 0 ? 1 : 0;
    v = value < 0 ? 0 - v : v;
    const int n = v < 100000 ? (v < 100 ? (v < 10 ? 1 : 2) : v < 1000 ? 3 : v < 10000 ? 4 : 5)
                             : v < 10000000 ? (v < 1000000 ? 6 : 7)
                                            : v < 100000000 ? 8 : v < 1000000000 ? 9 : 10;
    char *end = out + n, *p = end;
    while (v >= 100) {
      const uint32_t q = v / 100;
      p -= 2;
      std::memcpy(p, kDigitPairs + 2 * (v - 100 * q), 2);
      v = q;
    }
    if (v >= 10) {
      std::memcpy(p - 2, kDigitPairs + 2 * v, 2);
    } else {
      p[-1] = static_cast<char>('0' + v);
    }
    *end = ' ';
    out = end + 1;
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
