#include "error/error_reporter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "error/error_messages.h"

namespace vellum {

// A report repeats the last printed one when code and detail text agree.  A
// report without a detail text repeats only a report that had none either:
// an absent text is not the same as an empty one.  Code 0 and invalid-token
// reports (each names another token) are always printed.
bool ErrorReporter::repeatsLastReport(RtInt code, const char *detail) const {
  if (lastDetail_ == LastDetail::kNone) return false;
  if (code != lastError_ || code == RIE_NOERROR || code == RIE_BADTOKEN) return false;
  if (detail == nullptr) return lastDetail_ == LastDetail::kAbsent;
  return lastDetail_ == LastDetail::kText && rememberedDetail_ == detail;
}

void ErrorReporter::rememberDetail(const char *detail) {
  rememberedDetail_.clear();
  if (detail == nullptr) {
    lastDetail_ = LastDetail::kAbsent;
  } else if (std::strlen(detail) <= kRememberedDetailMax) {
    rememberedDetail_ = detail;
    lastDetail_ = LastDetail::kText;
  } else {
    lastDetail_ = LastDetail::kUnfoldable;
  }
}

void ErrorReporter::print(RtInt code, RtInt severity, const char *detail, const Emit &emit) {
  if (repeatsLastReport(code, detail)) {
    ++repeatCount_;
    return;
  }
  // One whole report at a time, so that a diagnostic sink gets it whole.
  std::string text;
  if (repeatCount_ != 0) {
    text += "    (last message repeated " + std::to_string(repeatCount_) + " times)\n";
    repeatCount_ = 0;
  }
  if (const char *name = severityName(severity))
    text += std::string(name) + ": ";
  else
    text += "SEVERITY " + std::to_string(severity) + ": ";
  if (const char *message = errorMessage(code))
    text += message;
  else if (code != RIE_NOERROR)
    text += "code " + std::to_string(code);
  if (detail != nullptr) text += std::string("\n    --> ") + detail;
  text += '\n';
  emit(text);
  std::fflush(stderr);
  if (severity >= RIE_SEVERE) std::exit(-1);
  rememberDetail(detail);
  lastError_ = code;
}

void ErrorReporter::abort(RtInt code, RtInt severity, const char *detail, const Emit &emit) {
  print(code, severity, detail, emit);
  if (severity >= RIE_ERROR) std::exit(-1);
}

}  // namespace vellum
