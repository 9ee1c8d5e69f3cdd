#include "common/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

std::string viaPrintf(const char *format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string viaAppendG(double value) {
  std::string out;
  vellum::appendG(out, value);
  return out;
}

std::string viaFormatFixed(float value) {
  char buffer[vellum::kFixedFloatTextSize];
  return std::string(buffer, vellum::formatFixed(value, buffer));
}

const std::vector<double> &interestingValues() {
  static const std::vector<double> values = {
      0.0, -0.0, 1.0, -1.0, 0.5, 0.1, 0.2f, 0.3f, 0.9f, 1.5, 2.5, 45, 90, 360, 1e-07,
      1e-05, 0.0001, 0.00001234567, 999999.5, 999999.4, 1e+06, 123456, 1234567, 12345678,
      1.0 / 3.0, 2.0 / 3.0, 100000, 999999, 9999995, 0.000123456789, 5e-324,
      std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min() / 3,
      FLT_MIN, FLT_MAX, -FLT_MAX, DBL_MAX, DBL_MIN, 1e38, 3.4028235e38, 1.17549435e-38,
      0.15990399999999999, 1.25, 1.2, 16777216, 16777217, -123.456, 65535.5, 1e+15, 1e16,
      std::ldexp(1.0, 100), 0.05, 0.015, 0.0005, 9.5, 99.5, 0.95, 0.995, 12.345};
  return values;
}

TEST(NumberFormat, GeneralMatchesPrintfInTheCLocale) {
  for (double value : interestingValues())
    EXPECT_EQ(viaAppendG(value), viaPrintf("%g", value)) << value;
}

TEST(NumberFormat, FixedMatchesPrintfInTheCLocale) {
  for (double value : interestingValues())
    EXPECT_EQ(viaFormatFixed(static_cast<float>(value)), viaPrintf("%f", static_cast<float>(value))) << value;
}

TEST(NumberFormat, RandomFloatsMatchPrintf) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<uint32_t> bits;
  for (int i = 0; i < 200000; ++i) {
    uint32_t pattern = bits(random);
    float value;
    std::memcpy(&value, &pattern, sizeof value);
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(viaAppendG(value), viaPrintf("%g", value)) << value;
    if (std::fabs(value) < 1e20f) {
      ASSERT_EQ(viaFormatFixed(value), viaPrintf("%f", value)) << value;
    }
  }
}

TEST(NumberFormat, IntegersMatchPrintf) {
  for (long value : {0L, 1L, -1L, 42L, 2147483647L, -2147483647L - 1, 1000000L}) {
    std::string out;
    vellum::appendInt(out, value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", value);
    EXPECT_EQ(out, buffer);
  }
}

TEST(NumberFormat, NonFiniteValuesReadAsPrintfWritesThem) {
  EXPECT_EQ(viaAppendG(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(viaAppendG(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(viaAppendG(std::numeric_limits<double>::quiet_NaN()), "nan");
}

}  // namespace
