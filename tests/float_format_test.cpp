// formatFloatG, formatFloatDigits, formatFloatShortest, formatFixed and
// formatInt on the values where number-to-text conversions go wrong: zeros,
// subnormals, the float limits, the points where "%g" changes form,
// rounding ties (real ones, of the exact binary value, and decimal ones
// that the float's value is not), carries into the next decade.  Each
// expected text is also checked against the C library, so the tables
// cannot drift from what printf writes.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/number_format.h"

namespace {

constexpr float kDenormMin = 0x1p-149f;             // 1.4e-45
constexpr float kLargestSubnormal = 0x1.fffffcp-127f;  // 1.17549421e-38

std::string printfText(const char *format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string printfDigits(int digits, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
  return buffer;
}

std::string general(float value) {
  char buffer[vellum::kFloatTextSize];
  return std::string(buffer, vellum::formatFloatG(value, buffer));
}

std::string digits(float value, int count) {
  char buffer[vellum::kFloatTextSize];
  return std::string(buffer, vellum::formatFloatDigits(value, count, buffer));
}

std::string shortest(float value) {
  char buffer[vellum::kFloatTextSize];
  return std::string(buffer, vellum::formatFloatShortest(value, buffer));
}

std::string fixed(float value) {
  char buffer[vellum::kFixedFloatTextSize];
  return std::string(buffer, vellum::formatFixed(value, buffer));
}

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A number's text as its sign, its decimal significand's digits without
// leading or trailing zeros, and the exponent of the first digit:
// "0.0015", "1500e-6" and "1.5e-03" are all "15e-3".
std::string digitsAndExponent(const std::string &text) {
  const size_t e = text.find('e');
  const bool negative = text[0] == '-';
  const std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  const size_t point = mantissa.find('.');
  int exponent = (e == std::string::npos ? 0 : std::atoi(text.c_str() + e + 1)) +
                 static_cast<int>(point == std::string::npos ? mantissa.size() : point) - 1;
  std::string digits;
  for (char c : mantissa) {
    if (c == '.') continue;
    if (c == '0' && digits.empty()) {
      --exponent;
      continue;
    }
    digits += c;
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return negative ? "-0" : "0";
  return (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
}

struct GeneralCase {
  float value;
  const char *expected;
};

TEST(FloatFormat, GeneralIsPrintfG) {
  const GeneralCase cases[] = {
      {0.0f, "0"}, {-0.0f, "-0"}, {1.0f, "1"}, {-2.5f, "-2.5"}, {0.1f, "0.1"}, {100.0f, "100"},
      {1.0f / 3, "0.333333"},
      // Subnormals and limits.
      {kDenormMin, "1.4013e-45"}, {2 * kDenormMin, "2.8026e-45"},
      {kLargestSubnormal, "1.17549e-38"}, {FLT_MIN, "1.17549e-38"},
      {FLT_MAX, "3.40282e+38"}, {-FLT_MAX, "-3.40282e+38"},
      // Where the exponent form starts and stops.
      {1e-5f, "1e-05"}, {9.99999e-05f, "9.99999e-05"}, {9.9999949e-5f, "9.99999e-05"},
      {0.0001f, "0.0001"}, {0.00012345f, "0.00012345"}, {999999.4f, "999999"},
      {1e6f, "1e+06"}, {16777216.0f, "1.67772e+07"},
      // Exact ties at the sixth digit round to even.
      {999999.5f, "1e+06"}, {999998.5f, "999998"}, {123456.5f, "123456"},
      {123457.5f, "123458"}, {1234565.0f, "1.23456e+06"}, {1234575.0f, "1.23458e+06"},
      {12345.25f, "12345.2"}, {12345.75f, "12345.8"},
      // Decimal ties that the float is not: its exact value decides.
      {1.234555e-5f, "1.23456e-05"},  // 1.2345550203e-05
      {1.234565e-5f, "1.23457e-05"},  // 1.2345650248e-05, not to even
      {1.0000005f, "1"},              // 1.0000004768
      {2.000005f, "2.00001"},         // 2.0000050068
      // 9.999995e+XX carrying into the next decade, or not.
      {9.999995f, "10"}, {0.9999995f, "1"}, {99999.95f, "100000"}, {999999.94f, "1e+06"},
      {9.999995e+10f, "9.99999e+10"}, {9.999995e+20f, "1e+21"}, {9.999995e-20f, "1e-19"},
      {9.9999995e+30f, "1e+31"}, {1e38f, "1e+38"}};
  for (const GeneralCase &c : cases) {
    EXPECT_EQ(general(c.value), c.expected) << std::hexfloat << c.value;
    EXPECT_EQ(printfText("%g", c.value), c.expected) << std::hexfloat << c.value;
  }
}

struct DigitsCase {
  float value;
  int digits;
  const char *expected;
};

TEST(FloatFormat, DigitsArePrintfPrecision) {
  const DigitsCase cases[] = {
      {2.5f, 1, "2"}, {3.5f, 1, "4"}, {8.5f, 1, "8"}, {0.125f, 2, "0.12"}, {0.375f, 2, "0.38"},
      {0.45f, 1, "0.4"},  // 0.449999988
      {0.95f, 1, "0.9"}, {95.0f, 1, "1e+02"}, {9.5f, 1, "1e+01"}, {0.05f, 1, "0.05"},
      {1e10f, 1, "1e+10"}, {99999.95f, 6, "100000"}, {9999999.0f, 7, "9999999"},
      {1.0f, 9, "1"}, {0.1f, 9, "0.100000001"}, {3.14159274f, 9, "3.14159274"},
      {123456789.0f, 9, "123456792"}, {1e9f, 9, "1e+09"}, {1234567.25f, 9, "1234567.25"},
      {-1234567.25f, 9, "-1234567.25"}, {-0.000123456789f, 9, "-0.00012345679"},
      {FLT_MAX, 9, "3.40282347e+38"}, {kDenormMin, 9, "1.40129846e-45"},
      {kLargestSubnormal, 8, "1.1754942e-38"},
      // Ties where the power of ten (here 10^-1) is not exact in 64 bits.
      {15.0f, 1, "2e+01"}, {25.0f, 1, "2e+01"}, {35.0f, 1, "4e+01"},
      // Within 2^-32 of a tie, not on it: the 64-bit product cannot tell
      // (the first with an inexact power, the second with an exact one).
      {6.24585065e+23f, 8, "6.2458507e+23"}, {3.07213267e-18f, 9, "3.07213267e-18"}};
  for (const DigitsCase &c : cases) {
    EXPECT_EQ(digits(c.value, c.digits), c.expected) << c.digits << " " << std::hexfloat << c.value;
    EXPECT_EQ(printfDigits(c.digits, c.value), c.expected) << c.digits << " " << c.value;
  }
}

// An array takes the precision it is given, each value as it alone would
// be written, for every precision there is.
TEST(FloatFormat, ArraysAreWrittenAtEveryPrecision) {
  const float values[] = {0.1234567f, -98765.43f, 1e-7f, 0.0f, 123456789.0f, 3.0f};
  const size_t count = sizeof values / sizeof values[0];
  for (int digits = -1; digits <= 10; ++digits) {
    std::string expected;
    for (float value : values) {
      char one[vellum::kFloatTextSize];
      const char *end = digits <= 0    ? vellum::formatFloatShortest(value, one)
                        : digits == 6 ? vellum::formatFloatG(value, one)
                                       : vellum::formatFloatDigits(value, digits, one);
      expected += std::string(static_cast<const char *>(one), end) + " ";
    }
    char all[vellum::kFloatSpacedSize * count + vellum::kFloatTextSize];
    const char *end = vellum::formatFloatsSpaced(values, count, digits, all);
    EXPECT_EQ(std::string(static_cast<const char *>(all), end), expected) << digits;
  }
}

TEST(FloatFormat, DigitCountsOutsideOneToNineAreClamped) {
  for (float value : {1.5f, 0.000123456789f, 987654.3f}) {
    EXPECT_EQ(digits(value, 0), printfDigits(0, value)) << value;  // printf takes 0 as 1
    EXPECT_EQ(digits(value, -3), digits(value, 1)) << value;
    EXPECT_EQ(digits(value, 17), digits(value, 9)) << value;
  }
}

TEST(FloatFormat, ShortestReadsBackAndIsNoLongerThanNineDigits) {
  const GeneralCase cases[] = {
      {0.0f, "0"}, {-0.0f, "-0"}, {0.1f, "0.1"}, {-0.5f, "-0.5"}, {1.0f / 3, "0.33333334"},
      {3.14159274f, "3.1415927"}, {1.0000001f, "1.0000001"},
      {kDenormMin, "1e-45"}, {2 * kDenormMin, "3e-45"}, {kLargestSubnormal, "1.1754942e-38"},
      {FLT_MIN, "1.1754944e-38"}, {FLT_MAX, "3.4028235e+38"},
      // Plain or exponent form: the shorter, as "%.Pg" would lay it out.
      {100.0f, "100"}, {123456.0f, "123456"}, {1234567.0f, "1234567"},
      {16777216.0f, "16777216"}, {1e5f, "1e+05"}, {1e6f, "1e+06"}, {1e7f, "1e+07"},
      {123456792.0f, "123456790"}, {1e-5f, "1e-05"}, {0.0001f, "0.0001"},
      {0.001f, "0.001"}, {0.00012345f, "0.00012345"}, {9.999995e-05f, "9.999995e-05"},
      {999999.5f, "999999.5"}, {1e38f, "1e+38"},
      // Both layouts as long: the plain one.
      {1.2e6f, "1200000"},
      // Of the digit strings as short, the nearer, and the even one on a tie.
      {1.00000036f, "1.0000004"},  // 1.0000003576
      {2097152.75f, "2097152.8"}, {2097152.25f, "2097152.2"}};
  for (const GeneralCase &c : cases) {
    const std::string text = shortest(c.value);
    EXPECT_EQ(text, c.expected) << std::hexfloat << c.value;
    EXPECT_EQ(bitsOf(std::strtof(text.c_str(), nullptr)), bitsOf(c.value)) << text;
    float parsed = 0;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    EXPECT_EQ(bitsOf(parsed), bitsOf(c.value)) << text;
    EXPECT_LE(text.size(), printfText("%.9g", c.value).size()) << text;
  }
}

TEST(FloatFormat, FixedIsPrintfF) {
  const GeneralCase cases[] = {
      {0.0f, "0.000000"}, {-0.0f, "-0.000000"}, {0.5f, "0.500000"}, {0.1f, "0.100000"},
      {kDenormMin, "0.000000"}, {-kDenormMin, "-0.000000"},
      {5e-7f, "0.000000"},          // 4.99999999e-07
      {5.0000006e-7f, "0.000001"},  // 5.00000058e-07
      {1234.5678f, "1234.567749"}, {16777216.0f, "16777216.000000"},
      {0x1p100f, "1267650600228229401496703205376.000000"},
      {FLT_MAX, "340282346638528859811704183484516925440.000000"}};
  for (const GeneralCase &c : cases) {
    EXPECT_EQ(fixed(c.value), c.expected) << std::hexfloat << c.value;
    EXPECT_EQ(printfText("%f", c.value), c.expected) << std::hexfloat << c.value;
  }
}

TEST(FloatFormat, NonFiniteValuesAsPrintfWritesThem) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float value : {inf, -inf, nan, -nan}) {
    const std::string expected = printfText("%g", value);
    EXPECT_EQ(general(value), expected);
    EXPECT_EQ(digits(value, 9), expected);
    EXPECT_EQ(shortest(value), expected);
    EXPECT_EQ(fixed(value), printfText("%f", value));
  }
}

TEST(FloatFormat, RandomBitPatternsMatchTheCLibrary) {
  std::mt19937 random(4099);
  std::uniform_int_distribution<uint32_t> patterns;
  for (int i = 0; i < 50000; ++i) {
    const uint32_t bits = patterns(random);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(general(value), printfText("%g", value)) << std::hex << bits;
    const int count = 1 + i % 9;
    ASSERT_EQ(digits(value, count), printfDigits(count, value)) << count << " " << std::hex << bits;
    const std::string text = shortest(value);
    ASSERT_EQ(bitsOf(std::strtof(text.c_str(), nullptr)), bits) << text;
    // The same digits as the C++ library's shortest form; the layout may
    // differ.  (Its plain form writes an integer's every digit.)
    char chars[32];
    const std::string library(
        chars, std::to_chars(chars, chars + sizeof chars, value, std::chars_format::scientific).ptr);
    ASSERT_EQ(digitsAndExponent(text), digitsAndExponent(library)) << text << " " << library;
    ASSERT_EQ(fixed(value), printfText("%f", value)) << std::hex << bits;
  }
}

// formatFloatsSpaced writes each value as the single-value function its
// digits name, and a blank.
TEST(FloatFormat, SpacedArraysAreEachValueAndABlank) {
  const float values[] = {0.0f, -0.0f, 1.0f, -2.5f, 0.0001f, 1e-5f, 999999.5f, 123456.5f,
                          -0.000123456789f, 16777216.0f, kDenormMin, -FLT_MAX, 1e38f, 15.0f};
  for (int count : {-1, 0, 1, 2, 6, 8, 9, 12}) {
    std::string expected;
    for (float value : values)
      expected += (count <= 0 ? shortest(value) : digits(value, count)) + " ";
    std::vector<char> buffer(vellum::kFloatSpacedSize * std::size(values) + vellum::kFloatTextSize);
    char *end = vellum::formatFloatsSpaced(values, std::size(values), count, buffer.data());
    EXPECT_EQ(std::string(buffer.data(), end), expected) << count;
  }
  char buffer[vellum::kFloatTextSize];
  EXPECT_EQ(vellum::formatFloatsSpaced(values, 0, 6, buffer), buffer);
}

// The formatters write blocks of fixed size past the end of their text,
// but never past the documented buffer sizes.
TEST(FloatFormat, WritesStayWithinTheDocumentedBuffer) {
  constexpr char kSentinel = '#';
  auto check = [&](int size, auto format) {
    char buffer[96];
    std::memset(buffer, kSentinel, sizeof buffer);
    const char *end = format(buffer);
    for (size_t i = size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], kSentinel) << i;
    ASSERT_LE(end - buffer, size);
  };
  for (float value : {-1234567.25f, -0.000123456789f, -kLargestSubnormal, -FLT_MAX, -12345678.0f,
                      -0.00012345f, -1.17549435e-38f, -99999.95f}) {
    for (int count = 1; count <= 9; ++count)
      check(vellum::kFloatTextSize,
            [&](char *out) { return vellum::formatFloatDigits(value, count, out); });
    check(vellum::kFloatTextSize, [&](char *out) { return vellum::formatFloatG(value, out); });
    check(vellum::kFloatTextSize, [&](char *out) { return vellum::formatFloatShortest(value, out); });
    check(vellum::kFixedFloatTextSize, [&](char *out) { return vellum::formatFixed(value, out); });
    const float pair[] = {value, value};
    for (int count : {0, 6, 9})
      check(2 * vellum::kFloatSpacedSize + vellum::kFloatTextSize,
            [&](char *out) { return vellum::formatFloatsSpaced(pair, 2, count, out); });
  }
  const int32_t ints[] = {INT32_MIN, -100000, -99999999, -1};
  for (size_t count = 1; count <= std::size(ints); ++count)
    check(12 * static_cast<int>(count) + vellum::kIntTextSize,
          [&](char *out) { return vellum::formatIntsSpaced(ints, count, out); });
  for (long value : {LONG_MIN, LONG_MAX, -1000000000000000000L, -99999999L, -1L})
    check(vellum::kIntTextSize, [&](char *out) { return vellum::formatInt(value, out); });
  check(vellum::kIntTextSize, [](char *out) { return vellum::formatInt(INT32_MIN, out); });
}

TEST(IntFormat, IsPrintfD) {
  const int32_t ints[] = {0,         1,         -1,        9,         10,         -10,
                          99,        100,       9999999,   10000000,  99999999,   100000000,
                          123456789, 999999999, 1000000000, INT32_MAX, INT32_MIN, -123456789};
  std::string spaced;
  for (int32_t value : ints) {
    char buffer[vellum::kIntTextSize], expected[32];
    std::snprintf(expected, sizeof expected, "%d", value);
    EXPECT_EQ(std::string(buffer, vellum::formatInt(value, buffer)), expected);
    spaced += std::string(expected) + " ";
  }
  // The array form: each value and a blank, within 12 bytes a value.
  const size_t count = sizeof ints / sizeof *ints;
  std::vector<char> buffer(12 * count + vellum::kIntTextSize);
  EXPECT_EQ(std::string(buffer.data(), vellum::formatIntsSpaced(ints, count, buffer.data())), spaced);
  // Runs of one length (as index arrays hold) and the places where the
  // length changes, with negative numbers inside a run.
  const std::vector<int32_t> runs[] = {
      {0, 1, 2, 9, 10, 11, 99, 100, 101, 999, 1000, 9999, 10000},
      {99998, 99999, 100000, 100001, 100002, 999998, 999999, 1000000, 1000001},
      {5, -5, 5, 6, -100000, 100000, 100001, -7, 0, 0, 10},
      {123456, 654321, 99999999, 100000000, 123456, 999999999, 1000000000, INT32_MAX, 7}};
  for (const std::vector<int32_t> &run : runs) {
    std::string text;
    for (int32_t value : run) text += std::to_string(value) + " ";
    std::vector<char> out(12 * run.size() + vellum::kIntTextSize);
    EXPECT_EQ(std::string(out.data(), vellum::formatIntsSpaced(run.data(), run.size(), out.data())),
              text);
  }
  const long longs[] = {0L,
                        -7L,
                        4294967295L,
                        4294967296L,
                        9999999999999999L,
                        10000000000000000L,
                        -1234567890123456789L,
                        LONG_MAX,
                        LONG_MIN};
  for (long value : longs) {
    char buffer[vellum::kIntTextSize], expected[32];
    std::snprintf(expected, sizeof expected, "%ld", value);
    EXPECT_EQ(std::string(buffer, vellum::formatInt(value, buffer)), expected);
  }
}

// appendG takes the float path only for doubles that are exactly floats;
// the others, including those past FLT_MAX, keep the double text.
TEST(NumberFormat, AppendGMatchesPrintfOnEitherPath) {
  for (double value : {0.1, static_cast<double>(0.1f), 1e-310, 5e-324,
                       static_cast<double>(FLT_MAX), 3.4028235677973366e38, 1e39, -1e300,
                       static_cast<double>(kDenormMin), static_cast<double>(kDenormMin) / 2,
                       999999.5, 999999.50000001, 16777217.0}) {
    std::string out;
    vellum::appendG(out, value);
    EXPECT_EQ(out, printfText("%g", value)) << std::hexfloat << value;
  }
}

}  // namespace
