// OwnEnvironment: a writer environment of one object's own, for the C++
// interface's objects and the Python package's: declarations (the standard
// ones known from the start, what the object declares seen by it alone),
// the Declare echo, kept strings, the error handler with its reporting
// state, and where the diagnostics go.  Nothing of it is process-wide, so
// writers with environments of their own can be used from different
// threads at once; one environment serves one thread at a time.
#ifndef VELLUM_RIB_OWN_ENVIRONMENT_H
#define VELLUM_RIB_OWN_ENVIRONMENT_H

#include <functional>
#include <string>
#include <unordered_set>

#include "decl/declaration_dictionary.h"
#include "error/error_reporter.h"
#include "rib/writer_environment.h"

namespace vellum {

class OwnEnvironment : public WriterEnvironment {
 public:
  // Where diagnostics go instead of standard error: each whole report.
  using Sink = std::function<void(const std::string &text)>;

  // `name` is what the object's reports call its destination.
  explicit OwnEnvironment(std::string name) : name_(std::move(name)), reporter_(lastError_) {}
  void setName(std::string name) { name_ = std::move(name); }

  bool lookup(const char *token, ParameterDeclaration *found) override;
  RtToken declare(const char *name, const char *declaration) override;
  RtToken keep(const char *text) override;
  bool echoesDeclarations() override { return echo_; }
  void setEchoesDeclarations(bool echo) override { echo_ = echo; }
  // A new writer starts from the standard declarations, as the C
  // interface's do: standard names this environment redeclared are
  // standard again, its other declarations stay.
  void loadStandardDeclarations(const std::function<RtToken(char *, char *)> &) override {
    declarations_.restoreStandard();
  }
  void error(RtInt code, RtInt severity, const char *detail) override;
  void diagnostic(const std::string &text) override;

  // The handler of the object's errors: RiErrorPrint (the default),
  // RiErrorAbort and RiErrorIgnore act as those do, with this object's own
  // reporting state; any other function is called as it is.
  void setErrorHandler(RtErrorHandler handler) { handler_ = handler != nullptr ? handler : RiErrorPrint; }
  RtErrorHandler errorHandler() const { return handler_; }
  // The code of the last error the object's handler printed or ignored.
  RtInt lastError() const { return reporter_.lastError(); }
  // Diagnostics and printed errors go to `sink` (empty: standard error).
  void setSink(Sink sink) { sink_ = std::move(sink); }

 private:
  // A whole report, with the object's destination in front of it.
  void emit(const std::string &text);

  std::string name_;
  DeclarationDictionary declarations_;
  std::unordered_set<std::string> kept_;
  bool echo_ = true;
  RtErrorHandler handler_ = RiErrorPrint;
  RtInt lastError_ = RIE_NOERROR;
  ErrorReporter reporter_;
  Sink sink_;
};

}  // namespace vellum

#endif
