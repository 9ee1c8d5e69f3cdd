// The interface's three standard error handlers and the process-wide
// reporting state they share.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "error/error_messages.h"
#include "error/writer_diagnostics.h"
#include "ri.h"

RtInt RiLastError = RIE_NOERROR;

namespace {

// Longest detail text that is remembered for folding repeats; a longer one
// is printed but never folded.
constexpr size_t kRememberedDetailMax = 1022;

// What the last printed report said besides its code, for the repeat test.
enum class LastDetail {
  kNone,        // no report printed yet
  kAbsent,      // the report had no detail text
  kText,        // the report's detail text is in rememberedDetail
  kUnfoldable,  // the detail text was too long to remember
};

struct ReportingState {
  LastDetail lastDetail = LastDetail::kNone;
  char rememberedDetail[kRememberedDetailMax + 2] = "";
  int repeatCount = 0;
};

ReportingState state;

// A report repeats the last printed one when code and detail text agree.  A
// report without a detail text repeats only a report that had none either:
// an absent text is not the same as an empty one.  Code 0 and invalid-token
// reports (each names another token) are always printed.
bool repeatsLastReport(RtInt code, const char *detail) {
  if (state.lastDetail == LastDetail::kNone) return false;
  if (code != RiLastError || code == RIE_NOERROR || code == RIE_BADTOKEN) return false;
  if (detail == nullptr) return state.lastDetail == LastDetail::kAbsent;
  return state.lastDetail == LastDetail::kText && std::strcmp(detail, state.rememberedDetail) == 0;
}

void rememberDetail(const char *detail) {
  state.rememberedDetail[0] = '\0';
  if (detail == nullptr) {
    state.lastDetail = LastDetail::kAbsent;
  } else if (std::strlen(detail) <= kRememberedDetailMax) {
    std::strcpy(state.rememberedDetail, detail);
    state.lastDetail = LastDetail::kText;
  } else {
    state.lastDetail = LastDetail::kUnfoldable;
  }
}

}  // namespace

extern "C" {

RtVoid RiErrorIgnore(RtInt code, RtInt, char *) { RiLastError = code; }

RtVoid RiErrorPrint(RtInt code, RtInt severity, char *detail) {
  if (repeatsLastReport(code, detail)) {
    ++state.repeatCount;
    return;
  }
  // One whole report at a time, so that a diagnostic sink gets it whole.
  std::string text;
  if (state.repeatCount != 0) {
    text += "    (last message repeated " + std::to_string(state.repeatCount) + " times)\n";
    state.repeatCount = 0;
  }
  if (const char *name = vellum::severityName(severity))
    text += std::string(name) + ": ";
  else
    text += "SEVERITY " + std::to_string(severity) + ": ";
  if (const char *message = vellum::errorMessage(code))
    text += message;
  else if (code != RIE_NOERROR)
    text += "code " + std::to_string(code);
  if (detail != nullptr) text += std::string("\n    --> ") + detail;
  text += '\n';
  vellum::emitDiagnostic(text.data(), text.size());
  std::fflush(stderr);
  if (severity >= RIE_SEVERE) std::exit(-1);
  rememberDetail(detail);
  RiLastError = code;
}

RtVoid RiErrorAbort(RtInt code, RtInt severity, char *detail) {
  RiErrorPrint(code, severity, detail);
  if (severity >= RIE_ERROR) std::exit(-1);
}

}  // extern "C"
