#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ri.h"
#include "tests/test_support.h"

namespace {

char *text(const char *s) { return const_cast<char *>(s); }

struct Case {
  const char *what;
  std::function<void()> calls;
  std::string stderrText;
  int exitStatus;
};

TEST(ErrorHandlers, ReportsFoldingAndExitStatus) {
  const std::string longDetail(2000, 'x');
  // The longest detail text that is remembered, and one more.
  const std::string longest(1022, 'y'), tooLong(1023, 'z');
  const Case cases[] = {
      {"severe report ends the process",
       [] { RiErrorPrint(23, 3, text("RiWorldBegin")); },
       "SEVERE ERROR: RiBegin not called\n    --> RiWorldBegin\n", 255},
      {"repeats fold into a count printed before the next report",
       [] {
         RiErrorPrint(42, 1, text("x"));
         RiErrorPrint(42, 1, text("x"));
         RiErrorPrint(43, 1, text("y"));
       },
       "WARNING: Parameter out of range\n    --> x\n    (last message repeated 1 times)\n"
       "WARNING: Parameters inconsistent\n    --> y\n",
       0},
      {"the first report is printed even after RiErrorIgnore of its code",
       [] {
         RiErrorIgnore(42, 1, text(""));
         RiErrorPrint(42, 1, text(""));
       },
       "WARNING: Parameter out of range\n    --> \n", 0},
      {"invalid-token reports never fold",
       [] {
         RiErrorPrint(41, 2, text("Cs"));
         RiErrorPrint(41, 2, text("Cs"));
       },
       "ERROR: Invalid token\n    --> Cs\nERROR: Invalid token\n    --> Cs\n", 0},
      {"code 0 prints no message and never folds",
       [] {
         RiErrorPrint(0, 0, nullptr);
         RiErrorPrint(0, 0, nullptr);
       },
       "INFO: \nINFO: \n", 0},
      {"missing data has its own text", [] { RiErrorPrint(46, 2, text("RiNuPatch")); },
       "ERROR: Required parameters not provided\n    --> RiNuPatch\n", 0},
      {"codes without a message print their number",
       [] { RiErrorPrint(5, 1, text("f")); }, "WARNING: code 5\n    --> f\n", 0},
      {"a detail text too long to remember is never folded",
       [&] {
         RiErrorPrint(42, 1, text(longDetail.c_str()));
         RiErrorPrint(42, 1, text(longDetail.c_str()));
       },
       "WARNING: Parameter out of range\n    --> " + longDetail +
           "\nWARNING: Parameter out of range\n    --> " + longDetail + "\n",
       0},
      {"the longest remembered detail text folds",
       [&] {
         RiErrorPrint(42, 1, text(longest.c_str()));
         RiErrorPrint(42, 1, text(longest.c_str()));
         RiErrorPrint(43, 1, nullptr);
       },
       "WARNING: Parameter out of range\n    --> " + longest +
           "\n    (last message repeated 1 times)\nWARNING: Parameters inconsistent\n",
       0},
      {"one character more is not remembered, and never folds",
       [&] {
         RiErrorPrint(42, 1, text(tooLong.c_str()));
         RiErrorPrint(42, 1, text(tooLong.c_str()));
       },
       "WARNING: Parameter out of range\n    --> " + tooLong +
           "\nWARNING: Parameter out of range\n    --> " + tooLong + "\n",
       0},
      {"a folded severe report does not end the process",
       [] {
         RiErrorPrint(42, 1, text("x"));
         RiErrorPrint(42, 3, text("x"));
       },
       "WARNING: Parameter out of range\n    --> x\n", 0},
      {"RiErrorIgnore of another code breaks the repeat",
       [] {
         RiErrorPrint(42, 1, text("x"));
         RiErrorIgnore(7, 0, text("x"));
         RiErrorPrint(42, 1, text("x"));
       },
       "WARNING: Parameter out of range\n    --> x\nWARNING: Parameter out of range\n    --> x\n",
       0},
      {"RiErrorIgnore of the same code keeps the repeat",
       [] {
         RiErrorPrint(42, 1, text("x"));
         RiErrorIgnore(42, 0, text("x"));
         RiErrorPrint(42, 1, text("x"));
       },
       "WARNING: Parameter out of range\n    --> x\n", 0},
      {"reports without a detail fold only with reports without one",
       [] {
         RiErrorPrint(42, 1, nullptr);
         RiErrorPrint(42, 1, nullptr);
         RiErrorPrint(42, 1, text(""));
         RiErrorPrint(42, 1, nullptr);
       },
       "WARNING: Parameter out of range\n    (last message repeated 1 times)\n"
       "WARNING: Parameter out of range\n    --> \n"
       "WARNING: Parameter out of range\n",
       0},
      {"severities outside 0 to 3 print their number",
       [] {
         RiErrorPrint(42, 7, text("x"));
       },
       "SEVERITY 7: Parameter out of range\n    --> x\n", 255},
      {"negative severities print their number and go on",
       [] {
         RiErrorPrint(42, -1, text("x"));
         RiErrorPrint(43, 1, nullptr);
       },
       "SEVERITY -1: Parameter out of range\n    --> x\nWARNING: Parameters inconsistent\n", 0},
      {"RiErrorAbort ends the process on errors",
       [] { RiErrorAbort(42, 2, text("x")); }, "ERROR: Parameter out of range\n    --> x\n", 255},
      {"RiErrorAbort returns on warnings",
       [] {
         RiErrorAbort(42, 1, text("x"));
         RiErrorAbort(42, 1, text("x"));
       },
       "WARNING: Parameter out of range\n    --> x\n", 0},
      {"RiErrorAbort ends the process on a folded error",
       [] {
         RiErrorPrint(42, 1, text("x"));
         RiErrorAbort(42, 2, text("x"));
       },
       "WARNING: Parameter out of range\n    --> x\n", 255},
      {"RiErrorIgnore prints nothing",
       [] { RiErrorIgnore(42, 3, text("x")); }, "", 0},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild(c.calls);
    EXPECT_EQ(child.err, c.stderrText) << c.what;
    EXPECT_EQ(child.exitStatus, c.exitStatus) << c.what;
  }
}

TEST(ErrorHandlers, LastErrorRecordsPrintedAndIgnoredCodes) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    std::printf("%d ", RiLastError);
    RiErrorIgnore(42, 3, text("x"));
    std::printf("%d ", RiLastError);
    RiErrorPrint(43, 0, text("y"));
    std::printf("%d ", RiLastError);
    RiErrorPrint(43, 0, text("y"));  // folded: unchanged
    std::printf("%d", RiLastError);
  });
  EXPECT_EQ(child.out, "0 42 43 43");
}

}  // namespace
