// The interface's three standard error handlers and the process-wide
// reporting state they share.
#include "error/error_reporter.h"
#include "error/writer_diagnostics.h"
#include "ri.h"

RtInt RiLastError = RIE_NOERROR;

namespace {

vellum::ErrorReporter &processReporter() {
  static vellum::ErrorReporter reporter(RiLastError);
  return reporter;
}

void toDiagnostics(const std::string &text) { vellum::emitDiagnostic(text.data(), text.size()); }

}  // namespace

extern "C" {

RtVoid RiErrorIgnore(RtInt code, RtInt, char *) { processReporter().ignore(code); }

RtVoid RiErrorPrint(RtInt code, RtInt severity, char *detail) {
  processReporter().print(code, severity, detail, toDiagnostics);
}

RtVoid RiErrorAbort(RtInt code, RtInt severity, char *detail) {
  processReporter().abort(code, severity, detail, toDiagnostics);
}

}  // extern "C"
