#include <gtest/gtest.h>

#include <vector>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

using vellum::RibWriter;
using vellum_test::bytes;
using vellum_test::writtenBy;

namespace {

using vellum_test::tok;

// Floats 1, 2, 3, ... enough for any case below.
std::vector<RtFloat> ramp(size_t n) {
  std::vector<RtFloat> values(n);
  for (size_t i = 0; i < n; ++i) values[i] = static_cast<RtFloat>(i + 1);
  return values;
}

std::string numbers(int count) {
  std::string text = "[";
  for (int i = 1; i <= count; ++i) text += (i > 1 ? " " : "") + std::to_string(i);
  return text + "]";
}

// One token on two cubic curves of 4 vertices, whose counts are vertex 8,
// varying 4, uniform 2: the number of values written shows the count rule.
TEST(ParamList, PrimitiveValueCountFollowsClassTypeAndLength) {
  struct Case {
    const char *token;
    int values;
  } cases[] = {
      {"P", 24},                            // vertex point
      {"Pw", 32},                           // vertex hpoint
      {"Cs", 12},                           // varying color
      {"st", 8},                            // varying float[2]
      {"constantwidth", 1},                 // constant float
      {"Kd", 2},                            // uniform float
      {"uniform color ucolor", 6},          // inline
      {"constant float[3] c3", 3},          // constant ignores the counts
      {"vertex matrix vm", 128},            // 16 per element
      {"uniform mpoint mp", 32},            // an mpoint is stored as 16 floats
      {"varying float[0] empty", 0},
      {"transform", 32},                    // uniform matrix
  };
  std::vector<RtFloat> values = ramp(128);
  RtInt nvertices[] = {4, 4};
  for (const Case &c : cases) {
    RtToken tokens[] = {tok(c.token)};
    RtPointer parms[] = {values.data()};
    EXPECT_EQ(vellum_test::requestsOf([&] {
                RiCurvesV(RI_CUBIC, 2, nvertices, RI_NONPERIODIC, 1, tokens, parms);
              }),
              std::string("Curves \"cubic\"[4 4 ] \"nonperiodic\"  \"") + c.token + "\" " +
                  numbers(c.values) + "\n")
        << c.token;
  }
}

TEST(ParamList, PlainListIgnoresStorageClass) {
  std::vector<RtFloat> values = ramp(10);
  RtToken tokens[] = {tok("P"), tok("st"), tok("Kd")};
  RtPointer parms[] = {values.data(), values.data(), values.data()};
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList("plastic", 0, 3, tokens, parms); }),
            " \"plastic\" \"P\" [1 2 3] \"st\" [1 2] \"Kd\" [1]\n");
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList("spot", 4, 0, tokens, parms); }),
            " \"spot\" 4\n");
  // A null name is written as the empty string: the request needs it.
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList(nullptr, -2, 0, nullptr, nullptr); }),
            " \"\"\n");
}

TEST(ParamList, IntegerAndStringValues) {
  RtInt ints[] = {7, 8};
  RtToken strings[] = {tok("a\"b"), nullptr};
  RtToken tokens[] = {tok("origin"), tok("uniform string[2] names")};
  RtPointer parms[] = {ints, strings};
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList("n", 0, 2, tokens, parms); }),
            " \"n\" \"origin\" [7 8 ] \"uniform string[2] names\" [\"a\\\"b\" \"\"]\n");
}

TEST(ParamList, BinaryModeEncodesOnlyFloatValues) {
  RtFloat kd = 0.5f;
  RtInt origin[] = {1, 2};
  RtToken tokens[] = {tok("Kd"), tok("origin")};
  RtPointer parms[] = {&kd, origin};
  EXPECT_EQ(
      writtenBy([&](RibWriter &w) { w.writeParamList("plastic", 0, 2, tokens, parms); }, true),
      " \"plastic\" \"Kd\" " + bytes({0xC8, 0x01, 0x3F, 0x00, 0x00, 0x00}) +
          " \"origin\" [1 2 ]\n");
}

TEST(ParamList, UnusableTokensAreReportedAndLeftOut) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    RtFloat values[16] = {1};
    RiBegin(RI_NULL);
    RiDeclare(tok("notype"), tok("uniform bool"));
    RiDeclare(tok("huge"), tok("float[40000]"));
    RiDeclare(tok("wraps"), tok("float[70000]"));
    RtToken tokens[] = {tok("nosuch"), tok("Kd"), tok("notype"), tok("huge"), tok("wraps"),
                        tok("other")};
    RtPointer parms[] = {values, values, values, values, values, values};
    static_cast<RibWriter *>(RiGetContext())->writeParamList("s", 0, 6, tokens, parms);
    RiEnd();
  });
  EXPECT_EQ(child.out, vellum_test::kHeader +
                           "Declare \"notype\" \"uniform bool\"\n"
                           "Declare \"huge\" \"float[40000]\"\n"
                           "Declare \"wraps\" \"float[70000]\"\n"
                           " \"s\" \"Kd\" [1]\n\n");
  EXPECT_EQ(child.err,
            "libvellum error: undeclared parameter \"nosuch\"\n"
            "libvellum error: parameter \"notype\" has no recognised type\n"
            "libvellum error: parameter \"huge\" has an array length outside 0 to 32767\n"
            "libvellum error: parameter \"wraps\" has an array length outside 0 to 32767\n"
            "libvellum error: undeclared parameter \"other\"\n");
}

TEST(ParamList, BadListsNeverCrash) {
  RtFloat kd = 1;
  RtToken tokens[] = {tok("Kd"), nullptr, tok("Kd")};
  RtPointer parms[] = {&kd, &kd, &kd};
  // A null token ends the list.
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList("n", 0, 3, tokens, parms); }),
            " \"n\" \"Kd\" [1]\n");
  // Negative counts write no values and no tokens.
  EXPECT_EQ(writtenBy([&](RibWriter &w) { w.writeParamList("n", 0, -5, tokens, parms); }),
            " \"n\"\n");
}

}  // namespace
