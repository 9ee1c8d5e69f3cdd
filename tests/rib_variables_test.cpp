// Variables in the strings of a stream, replaced when the stream asks for
// it and the reader acts on what it reads (qview): what a RIB writer
// behind such a reader writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "reader/rib_reader.h"
#include "ri.h"
#include "tests/test_support.h"

namespace {

struct Case {
  const char *what;
  std::string rib;
  std::string written;      // what the writer writes
  std::string diagnostics;  // exactly, one per line
  bool strict = false;
};

const std::string kOn = "Option \"ribparse\" \"string varsubst\" [\"$\"]\n";
const std::string kShot = "Option \"user\" \"string shot\" [\"s01\"]\n";

// What the reader hands a writer, within the limits of `limits`.
std::string written(const Case &c, std::string *diagnostics,
                    const vellum::WorkMeter::Limits &limits = vellum::WorkMeter::kDefaultLimits) {
  return vellum_test::requestsOf([&] {
    vellum::WorkMeter meter(limits);
    vellum::RibReader::Options options;
    options.meter = &meter;
    options.substituteVariables = true;
    options.strict = c.strict;
    std::vector<vellum::RibInput> inputs;
    inputs.push_back({"t.rib", std::make_unique<vellum::MemorySource>(c.rib)});
    vellum::RibReader(*static_cast<vellum::RenderContext *>(RiGetContext()),
                      [&](const vellum::Diagnostic &d) { *diagnostics += d.text() + "\n"; }, options)
        .read(std::move(inputs));
  });
}

TEST(RibVariables, ReferencesAreReplacedOnceTheStreamAsks) {
  setenv("VELLUM_TEST_DIR", "/data", 1);
  const Case cases[] = {
      {"not before the stream asks", kShot + "Surface \"$shot\"\n", kShot + "Surface \"$shot\"\n", ""},
      {"both forms, in operands and parameter values",
       kShot + kOn + "Surface \"${shot}_v$shot\" \"string tex\" [\"$user:shot.tx\"]\n",
       kShot + kOn + "Surface \"s01_vs01\" \"string tex\" [\"s01.tx\"]\n", ""},
      {"the environment", kOn + "Display \"$VELLUM_TEST_DIR/out.tif\" \"file\" \"rgba\"\n",
       kOn + "Display \"/data/out.tif\" \"file\" \"rgba\"\n", ""},
      {"a user value before the environment",
       kOn + "Option \"user\" \"string VELLUM_TEST_DIR\" [\"/u\"]\nSurface \"$VELLUM_TEST_DIR\"\n",
       kOn + "Option \"user\" \"string VELLUM_TEST_DIR\" [\"/u\"]\nSurface \"/u\"\n", ""},
      {"numbers", kOn + "Option \"user\" \"float f\" [12] \"float g\" [0.5]\nSurface \"$f.${g}\"\n",
       kOn + "Option \"user\" \"float f\" [12] \"float g\" [0.5]\nSurface \"12.0.5\"\n", ""},
      {"references side by side",
       kOn + "Option \"user\" \"string a\" [\"con\"] \"string b\" [\"stant\"]\nSurface \"$a$b\" \"string s\" [\"${a}$b$a\"]\n",
       kOn + "Option \"user\" \"string a\" [\"con\"] \"string b\" [\"stant\"]\nSurface \"constant\" \"string s\" "
             "[\"constantcon\"]\n",
       ""},
      {"a $ that begins no reference", kOn + "Surface \"$5 ${x $\"\n", kOn + "Surface \"$5 ${x $\"\n", ""},
      {"a variable not set, said once",
       kOn + "Surface \"$nosuch\"\nSurface \"$nosuch\"\nSurface \"$user:VELLUM_TEST_DIR\"\n",
       kOn + "Surface \"$nosuch\"\nSurface \"$nosuch\"\nSurface \"$user:VELLUM_TEST_DIR\"\n",
       "t.rib:2: warning: Surface: variable \"$nosuch\" is not set; it is left as written\n"
       "t.rib:4: warning: Surface: variable \"$user:VELLUM_TEST_DIR\" is not set; it is left as "
       "written\n"},
      {"a variable not set, strict", kOn + "Surface \"$nosuch\"\nSurface \"$nosuch\"\n", kOn,
       "t.rib:2: Surface: variable \"$nosuch\" is not set; it is left as written\n"
       "t.rib:3: Surface: variable \"$nosuch\" is not set; it is left as written\n",
       true},
      {"turned off again", kShot + kOn + "Option \"ribparse\" \"string varsubst\" [\"\"]\nSurface \"$shot\"\n",
       kShot + kOn + "Option \"ribparse\" \"string varsubst\" [\"\"]\nSurface \"$shot\"\n", ""},
      {"values are not searched again",
       "Option \"user\" \"string loop\" [\"$loop\"]\n" + kOn + "Surface \"$loop\"\n",
       "Option \"user\" \"string loop\" [\"$loop\"]\n" + kOn + "Surface \"$loop\"\n", ""},
      {"FrameEnd restores the values",
       kShot + kOn + "FrameBegin 1\nOption \"user\" \"string shot\" [\"s02\"]\nSurface \"$shot\"\nFrameEnd\n"
                     "Surface \"$shot\"\n",
       kShot + kOn + "FrameBegin 1\nOption \"user\" \"string shot\" [\"s02\"]\nSurface \"s02\"\nFrameEnd\n"
                     "Surface \"s01\"\n",
       ""},
  };
  for (const Case &c : cases) {
    std::string diagnostics;
    EXPECT_EQ(written(c, &diagnostics), c.written) << c.what;
    EXPECT_EQ(diagnostics, c.diagnostics) << c.what;
  }
  unsetenv("VELLUM_TEST_DIR");
}

// Each substitution builds 10 bytes: the 7th passes a limit of 64, and
// the input ends there.  A string longer than kMostSubstitutedString is
// never built, and its request is left out.
TEST(RibVariables, WhatSubstitutionBuildsIsBounded) {
  const std::string big = kOn + "Option \"user\" \"string big\" [\"0123456789\"]\n";
  std::string surfaces, expected = big;
  for (int i = 0; i < 12; ++i) surfaces += "Surface \"$big\"\n";
  for (int i = 0; i < 6; ++i) expected += "Surface \"0123456789\"\n";
  std::string diagnostics;
  EXPECT_EQ(written({"", big + surfaces, "", ""}, &diagnostics,
                    vellum::WorkMeter::defaultLimitsWith(vellum::WorkMeter::kText, {64, 0})),
            expected);
  EXPECT_EQ(diagnostics,
            "t.rib:9: work limit: more than 64 bytes of text built by expressions and variables; the "
            "rest of the input is not read\n");

  const std::string mebibyte = kOn + "Option \"user\" \"string m\" [\"" + std::string(1 << 20, 'x') + "\"]\n";
  diagnostics.clear();
  EXPECT_EQ(written({"", mebibyte + "Surface \"$m$m$m$m\"\nSurface \"$m$m$m$m!\"\n", "", ""}, &diagnostics),
            mebibyte + "Surface \"" + std::string(4 << 20, 'x') + "\"\n");
  EXPECT_EQ(diagnostics, "t.rib:4: Surface: variables make a string longer than 4194304 bytes\n");
}

}  // namespace
