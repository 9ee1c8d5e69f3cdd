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

constexpr uint32_t kPowersOfTen32[] = {1,      10,      100,      1000,      10000,
                                       100000, 1000000, 10000000, 100000000, 1000000000};

// ---------------------------------------------------------------------------
// The tables of the fast "%.Ng" path, in one object so that one base
// address reaches them all.  Decades are kept as indexes d = decade -
// kMinDecade (0 to 84); k = decade - N + 1 then indexes the powers at
// d + kDecadeToK - N + 1.
constexpr int kDecadeToK = kMinDecade - kMinK;
constexpr int kPowers = kMaxK - kMinK + 1;

// Where the digits, the point and the exponent go in "%.Ng" text for
// N <= 7, whose digits and point fit in eight bytes, by decade of the
// rounded value: see layOutWord in number_format.cpp.  Plain form for
// -4 <= decade < N, as printf chooses.  The point's place among the digits
// is 1 in exponent form, decade + 1 in plain form, and 7 (beyond the last
// digit) for "0.000ddd", whose digits have none.
struct WordLayout {
  // By decade index:
  uint64_t keep[kMaxDecade - kMinDecade + 1];   // the digit word's bytes before the point's place
  uint64_t point[kMaxDecade - kMinDecade + 1];  // '.' in the byte at the point's place
  char suffix[kMaxDecade - kMinDecade + 1][4];  // "e-05", the exponent form's
  uint8_t start[kMaxDecade - kMinDecade + 1];   // of the digits: after "0.000" in "0.000ddd", else 0
  // By decade index and n - 1 for n digits: where the digits (and point)
  // end, and where the text ends (4 more in exponent form).
  uint8_t digitsEnd[kMaxDecade - kMinDecade + 1][8];
  uint8_t textEnd[kMaxDecade - kMinDecade + 1][8];
};

struct FastTables {
  // By exponent field f of a normal float (1 to 254; value in
  // [2^(f-127), 2^(f-126))): the decade index of the binade's smallest
  // value, from floor((f - 127) * log10(2)), and the bits from which on the
  // values reach the next power of ten (kDecades' entry, which lies beyond
  // the binade when the binade reaches none).  Entries 0 and 255 unused.
  uint8_t binadeDecade[256];
  uint32_t nextDecadeFrom[256];
  // 10^-k <= mantissa * 2^E for k from kMinK, mantissa in [2^63, 2^64) the
  // upper half of kPowersOfTen's F rounded up: exact where F's lower half
  // is 0, which is for k from -27 to 0 (5^27 < 2^63 < 5^28); elsewhere
  // above 10^-k by less than 2^E.  shift = E + 96 - 150: for a float
  // c * 2^(f-150) the product (c << (f + shift)) * mantissa is
  // c * 2^(f-150) * 10^-k * 2^96, from the rounding up, a little more.
  uint64_t mantissa[kPowers];
  int32_t shift[kPowers];
  bool exact[kPowers];
  // The three decimal digits of i < 1000, zero-padded, as the values 0
  // to 9 (not characters) in bytes 0 (the first) to 2.
  uint32_t digitTriple[1000];
  // By N (entry 0 unused).
  WordLayout layout[8];
};

constexpr FastTables makeFastTables() {
  FastTables t{};
  for (int f = 1; f <= 254; ++f) {
    const int decade = floorLog10Pow2(f - 127);
    t.binadeDecade[f] = static_cast<uint8_t>(decade - kMinDecade);
    t.nextDecadeFrom[f] = kDecades.smallestAtLeast[decade + 1 - kMinDecade];
  }
  for (int i = 0; i < kPowers; ++i) {
    const uint128 f = kPowersOfTen.mantissa[i];
    t.exact[i] = static_cast<uint64_t>(f) == 0;
    // The upper half is below 2^64 - 1 for every entry, so rounding up
    // cannot carry out of it (checked below).
    t.mantissa[i] = static_cast<uint64_t>(f >> 64) + (t.exact[i] ? 0 : 1);
    t.shift[i] = kPowersOfTen.exponent[i] + 64 + 96 - 150;
  }
  for (int i = 0; i < 1000; ++i)
    t.digitTriple[i] = static_cast<uint32_t>(i / 100 | (i / 10 % 10) << 8 | (i % 10) << 16);
  for (int digits = 1; digits <= 7; ++digits) {
    for (int x = kMinDecade; x <= kMaxDecade; ++x) {
      WordLayout &layout = t.layout[digits];
      const int d = x - kMinDecade;
      const bool plain = x >= -4 && x < digits;
      const int start = plain && x < 0 ? 1 - x : 0;
      const int point = !plain ? 1 : x >= 0 ? x + 1 : 7;
      const int integerDigits = !plain ? 1 : x >= 0 ? x + 1 : 0;
      layout.keep[d] = (UINT64_C(1) << (8 * point)) - 1;
      layout.point[d] = uint64_t{'.'} << (8 * point);
      for (int i = 0; i < 4; ++i) layout.suffix[d][i] = kExponentTexts.text[d][i];
      layout.start[d] = static_cast<uint8_t>(start);
      for (int n = 1; n <= 7; ++n) {
        const int withPoint = n > point ? n + 1 : n;
        const int end = start + (withPoint > integerDigits ? withPoint : integerDigits);
        layout.digitsEnd[d][n - 1] = static_cast<uint8_t>(end);
        layout.textEnd[d][n - 1] = static_cast<uint8_t>(end + (plain ? 0 : 4));
      }
    }
  }
  return t;
}

constexpr FastTables kFast = makeFastTables();

constexpr bool fastTablesAreAsDocumented() {
  for (int k = kMinK; k <= kMaxK; ++k) {
    if (kFast.mantissa[k - kMinK] < (UINT64_C(1) << 63)) return false;  // no carry out
    if (kFast.exact[k - kMinK] != (k >= -27 && k <= 0)) return false;
  }
  // A binade holds at most one power of ten (2 < 10), and its smallest
  // value is not below the power of ten of its decade.
  for (int f = 1; f <= 254; ++f) {
    const uint32_t start = static_cast<uint32_t>(f) << 23;
    const int d = kFast.binadeDecade[f];
    if (start < kDecades.smallestAtLeast[d]) return false;
    if (f < 254 && start + (UINT32_C(1) << 23) > kDecades.smallestAtLeast[d + 2]) return false;
  }
  return true;
}
static_assert(fastTablesAreAsDocumented(), "fast float tables");

}  // namespace float_decimal
}  // namespace vellum

#endif
