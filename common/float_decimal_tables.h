// Tables for turning floats into decimal text, all computed at compile
// time: powers of ten (128-bit exact or rounded up, and 64-bit for the fast
// path), where each binade of floats crosses a power of ten, and the texts
// of decimal exponents and digit pairs.  Only common/number_format.cpp
// includes this.
#ifndef VELLUM_COMMON_FLOAT_DECIMAL_TABLES_H
#define VELLUM_COMMON_FLOAT_DECIMAL_TABLES_H

#include <cstdint>

namespace vellum {
namespace float_decimal {

__extension__ typedef unsigned __int128 uint128;

// ---------------------------------------------------------------------------
// Powers of ten, 10^-k for k from kMinK to kMaxK.  "%.9g" of the smallest
// subnormal, 1.4e-45, scales by 10^(45+8); "%.1g" of FLT_MAX, 3.4e38, by
// 10^-38.  The shortest-digits search stays inside.
constexpr int kMinK = -53;
constexpr int kMaxK = 38;

// 10^-k = F * 2^exponent with F in [2^127, 2^128): exactly when k <= 0
// (F is 5^-k shifted left), and 10^-k < F * 2^exponent < 10^-k * (1 + 2^-127)
// when k > 0 (F rounded up).
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

// The same powers to 64 bits: 10^-k <= mantissa * 2^exponent, with
// mantissa in [2^63, 2^64) the upper half of the 128-bit F rounded up.  That
// is exact where F's lower half is 0, which is for k from -27 to 0 (5^27 <
// 2^63 < 5^28); elsewhere mantissa * 2^exponent exceeds 10^-k by less than
// 2^exponent.
struct FastPowerTable {
  uint64_t mantissa[kMaxK - kMinK + 1];
  int32_t exponent[kMaxK - kMinK + 1];
  bool exact[kMaxK - kMinK + 1];  // mantissa * 2^exponent is 10^-k
};

constexpr FastPowerTable makeFastPowerTable() {
  FastPowerTable table{};
  for (int i = 0; i <= kMaxK - kMinK; ++i) {
    const uint128 f = kPowersOfTen.mantissa[i];
    const bool exact = static_cast<uint64_t>(f) == 0;
    // The upper half is below 2^64 - 1 for every entry, so rounding up
    // cannot carry out of it (checked below).
    table.mantissa[i] = static_cast<uint64_t>(f >> 64) + (exact ? 0 : 1);
    table.exponent[i] = kPowersOfTen.exponent[i] + 64;
    table.exact[i] = exact;
  }
  return table;
}

constexpr FastPowerTable kFastPowers = makeFastPowerTable();

constexpr bool fastPowersAreAsDocumented() {
  for (int k = kMinK; k <= kMaxK; ++k) {
    if (kFastPowers.mantissa[k - kMinK] < (UINT64_C(1) << 63)) return false;  // no carry out
    if (kFastPowers.exact[k - kMinK] != (k >= -27 && k <= 0)) return false;
  }
  return true;
}
static_assert(fastPowersAreAsDocumented(), "64-bit powers of ten");

// ---------------------------------------------------------------------------
// Decades.  The decimal exponents of finite floats: 1.4e-45 to 3.4e38.
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

// The decade of each binade of normal floats, by exponent field f (1 to
// 254, value in [2^(f-127), 2^(f-126))): the decimal exponent of the
// binade's smallest value, floor((f - 127) * log10(2)), and the bits from
// which on the values reach the next power of ten (kDecades' entry, which
// lies above the binade when the binade reaches no power of ten).  Entries
// 0 and 255 are unused.
struct BinadeTable {
  int8_t decade[256];
  uint32_t nextDecadeFrom[256];
};

constexpr BinadeTable makeBinadeTable() {
  BinadeTable table{};
  for (int f = 1; f <= 254; ++f) {
    const int decade = floorLog10Pow2(f - 127);
    table.decade[f] = static_cast<int8_t>(decade);
    table.nextDecadeFrom[f] = kDecades.smallestAtLeast[decade + 1 - kMinDecade];
  }
  return table;
}

constexpr BinadeTable kBinades = makeBinadeTable();

// A binade holds at most one power of ten (2 < 10), and its smallest value
// is not below the power of ten of the decade entry.
constexpr bool binadesAreAsDocumented() {
  for (int f = 1; f <= 254; ++f) {
    const uint32_t start = static_cast<uint32_t>(f) << 23;
    const int decade = kBinades.decade[f];
    if (start < kDecades.smallestAtLeast[decade - kMinDecade]) return false;
    if (f < 254 && start + (UINT32_C(1) << 23) >= kDecades.smallestAtLeast[decade + 2 - kMinDecade])
      return false;
  }
  return true;
}
static_assert(binadesAreAsDocumented(), "binade table");

// ---------------------------------------------------------------------------
// Texts.

// "e-45" to "e+39", the exponent suffixes of "%e" as four bytes, by
// decimal exponent.
struct ExponentTexts {
  char text[kMaxDecade - kMinDecade + 1][4];
};

constexpr ExponentTexts makeExponentTexts() {
  ExponentTexts table{};
  for (int n = kMinDecade; n <= kMaxDecade; ++n) {
    const int magnitude = n < 0 ? -n : n;
    char *text = table.text[n - kMinDecade];
    text[0] = 'e';
    text[1] = n < 0 ? '-' : '+';
    text[2] = static_cast<char>('0' + magnitude / 10);
    text[3] = static_cast<char>('0' + magnitude % 10);
  }
  return table;
}

constexpr ExponentTexts kExponentTexts = makeExponentTexts();

// Where the digits, the point and the exponent go in "%.Ng" text for
// N <= 7, whose digits and point fit in eight bytes, by decimal exponent
// (decade) of the rounded value: see layOutWord in number_format.cpp.
// Plain form for -4 <= decade < N, as printf chooses.  The point's place
// among the digits is 1 in exponent form, decade + 1 in plain form, and 7
// (beyond the last digit) for "0.000ddd", where the digits have none.
struct WordLayout {
  uint64_t keep;          // the bytes of the digit word before the point's place
  uint64_t point;         // '.' in the byte at the point's place
  char suffix[4];         // "e-05", the exponent form's
  uint8_t start;          // where the digits start: after "0.000" in "0.000ddd", else 0
  uint8_t digitsEnd[7];   // by n - 1 for n digits: where the digits (and point) end
  uint8_t textEnd[7];     // the same plus 4 in exponent form
};

struct WordLayoutTable {
  WordLayout layout[kMaxDecade - kMinDecade + 1];
};

constexpr WordLayoutTable makeWordLayoutTable(int digits) {
  WordLayoutTable table{};
  for (int x = kMinDecade; x <= kMaxDecade; ++x) {
    WordLayout &layout = table.layout[x - kMinDecade];
    const bool plain = x >= -4 && x < digits;
    const int start = plain && x < 0 ? 1 - x : 0;
    const int point = !plain ? 1 : x >= 0 ? x + 1 : 7;
    const int integerDigits = !plain ? 1 : x >= 0 ? x + 1 : 0;
    layout.keep = (UINT64_C(1) << (8 * point)) - 1;
    layout.point = uint64_t{'.'} << (8 * point);
    for (int i = 0; i < 4; ++i) layout.suffix[i] = kExponentTexts.text[x - kMinDecade][i];
    layout.start = static_cast<uint8_t>(start);
    for (int n = 1; n <= 7; ++n) {
      const int withPoint = n > point ? n + 1 : n;
      const int end = start + (withPoint > integerDigits ? withPoint : integerDigits);
      layout.digitsEnd[n - 1] = static_cast<uint8_t>(end);
      layout.textEnd[n - 1] = static_cast<uint8_t>(end + (plain ? 0 : 4));
    }
  }
  return table;
}

// Indexed by N; entry 0 is unused.
constexpr WordLayoutTable kWordLayouts[8] = {
    makeWordLayoutTable(1), makeWordLayoutTable(1), makeWordLayoutTable(2),
    makeWordLayoutTable(3), makeWordLayoutTable(4), makeWordLayoutTable(5),
    makeWordLayoutTable(6), makeWordLayoutTable(7)};

// The two digits of i < 100 as a 16-bit value, the tens' character in the
// low byte: 200 bytes.
struct DigitPairTable {
  uint16_t pair[100];
};

constexpr DigitPairTable makeDigitPairTable() {
  DigitPairTable table{};
  for (int i = 0; i < 100; ++i)
    table.pair[i] = static_cast<uint16_t>(('0' + i / 10) | ('0' + i % 10) << 8);
  return table;
}

constexpr DigitPairTable kDigitPairWords = makeDigitPairTable();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint32_t kPowersOfTen32[] = {1,      10,      100,      1000,      10000,
                                       100000, 1000000, 10000000, 100000000, 1000000000};

}  // namespace float_decimal
}  // namespace vellum

#endif
