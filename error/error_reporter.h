// ErrorReporter: the reporting state of the standard error handlers (what
// the last printed report said, so that repeats fold into a count, and the
// last error code).  The C interface keeps one for the process, behind
// RiErrorPrint, RiErrorAbort, RiErrorIgnore and RiLastError; each object of
// the C++ interface keeps its own, so that two objects in two threads
// report side by side.
#ifndef VELLUM_ERROR_ERROR_REPORTER_H
#define VELLUM_ERROR_ERROR_REPORTER_H

#include <cstddef>
#include <functional>
#include <string>

#include "ri.h"

namespace vellum {

class ErrorReporter {
 public:
  // Where whole reports go, each with its line ends.
  using Emit = std::function<void(const std::string &text)>;

  // `lastError` is where the last error code is kept (RiLastError for the
  // process's reporter).
  explicit ErrorReporter(RtInt &lastError) : lastError_(lastError) {}
  ErrorReporter(const ErrorReporter &) = delete;
  ErrorReporter &operator=(const ErrorReporter &) = delete;

  // RiErrorPrint: a report that repeats the last printed one (same code
  // and detail) is only counted; otherwise the count of repeats, if any,
  // and the report go to `emit`: "SEVERITY: message", then "    --> detail"
  // when there is a detail.  A severe one ends the process with status -1.
  void print(RtInt code, RtInt severity, const char *detail, const Emit &emit);
  // RiErrorAbort: print, then end the process for an error or worse.
  void abort(RtInt code, RtInt severity, const char *detail, const Emit &emit);
  // RiErrorIgnore: the code is kept, nothing is printed.
  void ignore(RtInt code) { lastError_ = code; }
  RtInt lastError() const { return lastError_; }

 private:
  // Longest detail text that is remembered for folding repeats; a longer
  // one is printed but never folded.
  static constexpr size_t kRememberedDetailMax = 1022;
  enum class LastDetail {
    kNone,        // no report printed yet
    kAbsent,      // the report had no detail text
    kText,        // the report's detail text is in rememberedDetail_
    kUnfoldable,  // the detail text was too long to remember
  };
  bool repeatsLastReport(RtInt code, const char *detail) const;
  void rememberDetail(const char *detail);

  RtInt &lastError_;
  LastDetail lastDetail_ = LastDetail::kNone;
  std::string rememberedDetail_;
  int repeatCount_ = 0;
};

}  // namespace vellum

#endif
