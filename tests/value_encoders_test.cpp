#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <vector>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

using vellum::RibWriter;
using vellum_test::bytes;
using vellum_test::writtenBy;

namespace {

std::string floatArray(std::vector<RtFloat> values, bool binary) {
  return writtenBy([&](RibWriter &w) { w.writeFloatArray(values.data(), values.size()); },
                   binary);
}

TEST(ValueEncoders, AsciiForms) {
  const RtFloat floats[] = {1, 0.5f, 2};
  const RtInt ints[] = {3, 4};
  RtToken strings[] = {const_cast<char *>("a"), const_cast<char *>("b")};
  struct Case {
    const char *what;
    std::function<void(RibWriter &)> write;
    std::string expected;
  } cases[] = {
      {"floats", [&](RibWriter &w) { w.writeFloatArray(floats, 3); }, "[1 0.5 2]"},
      {"one float", [&](RibWriter &w) { w.writeFloatArray(floats, 1); }, "[1]"},
      {"no floats", [&](RibWriter &w) { w.writeFloatArray(floats, 0); }, "[]"},
      {"negative float count", [&](RibWriter &w) { w.writeFloatArray(floats, -3); }, "[]"},
      {"null float array", [&](RibWriter &w) { w.writeFloatArray(nullptr, 3); }, "[]"},
      {"loose floats",
       [&](RibWriter &w) {
         w.writeFloat(1);
         w.writeFloat(0);
         w.writeFloat(-0.25f);
       },
       "1 0 -0.25 "},
      {"ints", [&](RibWriter &w) { w.writeIntArray(ints, 2); }, "[3 4 ]"},
      {"no ints", [&](RibWriter &w) { w.writeIntArray(ints, 0); }, "[]"},
      {"negative int count", [&](RibWriter &w) { w.writeIntArray(ints, -1); }, "[]"},
      {"strings", [&](RibWriter &w) { w.writeStringArray(strings, 2); }, "[\"a\" \"b\" ]"},
      {"no strings", [&](RibWriter &w) { w.writeStringArray(strings, 0); }, "[]"},
      {"null string", [&](RibWriter &w) {
         RtToken none[] = {nullptr};
         w.writeStringArray(none, 1);
       }, "[\"\" ]"},
  };
  for (const Case &c : cases) EXPECT_EQ(writtenBy(c.write), c.expected) << c.what;
}

TEST(ValueEncoders, BinaryFloatsAreMostSignificantByteFirst) {
  EXPECT_EQ(writtenBy([](RibWriter &w) { w.writeFloat(0.5f); }, true),
            bytes({0xA4, 0x3F, 0x00, 0x00, 0x00}));
  EXPECT_EQ(floatArray({1.0f, 2.0f}, true),
            bytes({0xC8, 0x02, 0x3F, 0x80, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00}));
  EXPECT_EQ(floatArray({}, true), bytes({0xC8, 0x00}));
  EXPECT_EQ(floatArray({-2.0f}, true), bytes({0xC8, 0x01, 0xC0, 0x00, 0x00, 0x00}));
  // The IEEE bits are written unchanged, non-finite ones included.
  EXPECT_EQ(floatArray({std::numeric_limits<float>::infinity()}, true),
            bytes({0xC8, 0x01, 0x7F, 0x80, 0x00, 0x00}));
}

TEST(ValueEncoders, BinaryArrayHeaderUsesFewestCountBytes) {
  struct Case {
    size_t count;
    std::string header;
  } cases[] = {
      {255, bytes({0xC8, 0xFF})},
      {256, bytes({0xC9, 0x01, 0x00})},
      {300, bytes({0xC9, 0x01, 0x2C})},
      {65535, bytes({0xC9, 0xFF, 0xFF})},
      {65536, bytes({0xCA, 0x01, 0x00, 0x00})},
      {16777216, bytes({0xCB, 0x01, 0x00, 0x00, 0x00})},
  };
  for (const Case &c : cases) {
    std::vector<RtFloat> values(c.count, 1.0f);
    std::string written = floatArray(values, true);
    ASSERT_EQ(written.size(), c.header.size() + 4 * c.count) << c.count;
    EXPECT_EQ(written.substr(0, c.header.size()), c.header) << c.count;
    EXPECT_EQ(written.substr(written.size() - 4), bytes({0x3F, 0x80, 0x00, 0x00}));
  }
}

TEST(ValueEncoders, BinaryModeLeavesIntegersAndStringsText) {
  const RtInt ints[] = {7};
  RtToken strings[] = {const_cast<char *>("x")};
  EXPECT_EQ(writtenBy(
                [&](RibWriter &w) {
                  w.writeIntArray(ints, 1);
                  w.writeStringArray(strings, 1);
                },
                true),
            "[7 ][\"x\" ]");
}

TEST(ValueEncoders, NonFiniteFloatsBecomeNumbersWithOneDiagnostic) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::string path = vellum_test::tempPath("nonfinite.rib");
  vellum_test::ChildResult child = vellum_test::runInChild([&] {
    RiBegin(const_cast<char *>(path.c_str()));
    RtFloat values[] = {inf, -inf, nan, 1};
    RibWriter &w = *static_cast<RibWriter *>(RiGetContext());
    w.writeFloatArray(values, 4);
    w.writeFloat(nan);
    RiEnd();
    RiBegin(const_cast<char *>(path.c_str()));
    static_cast<RibWriter *>(RiGetContext())->writeFloat(inf);
    RiEnd();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "1e+38 \n");
  const std::string diagnostic = "libvellum error: non-finite float written to " + path +
                                 " as 1e+38, -1e+38 or 0\n";
  // Once for each of the two contexts.
  EXPECT_EQ(child.err, diagnostic + diagnostic);
}

TEST(ValueEncoders, NonFiniteFloatsInAsciiArrays) {
  const float inf = std::numeric_limits<float>::infinity();
  vellum_test::ChildResult child = vellum_test::runInChild([&] {
    std::string written = floatArray({inf, -inf, std::numeric_limits<float>::quiet_NaN(), 2}, false);
    std::fputs(written.c_str(), stdout);
  });
  EXPECT_EQ(child.out, "[1e+38 -1e+38 0 2]");
}

TEST(ValueEncoders, NumbersIgnoreTheClientsLocale) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    setenv("LOCPATH", VELLUM_TEST_LOCALES, 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
      std::fputs("no locale", stdout);
      return;
    }
    char check[16];
    std::snprintf(check, sizeof check, "%g", 0.5);
    std::string written = floatArray({0.5f, 1234.5f, 1e-7f}, false) +
                          writtenBy([](RibWriter &w) { w.writeFloat(-2.5f); }) +
                          vellum_test::requestsOf([] {
                            RiArchiveRecord(RI_VERBATIM, const_cast<char *>("|%g|"), 0.25);
                          });
    std::printf("%s|%s", check, written.c_str());
  });
  // The locale is really in force (printf writes a comma), yet RIB is not.
  EXPECT_EQ(child.out, "0,5|[0.5 1234.5 1e-07]-2.5 |0.25|");
}

}  // namespace
