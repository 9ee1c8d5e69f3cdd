// RibReader: reads a RIB stream and drives a RenderContext with it.
//
// Every request is checked before the target sees it: its operands, the
// handles it refers to, and every parameter's values against the
// declarations in force in the stream and the primitive's count rules, by
// the rules the writer uses.  A bad request is reported with file:line and
// left out; reading carries on with the next one.  What the target receives
// can therefore be written without reading past any array.
//
// Legitimate RIB that the library cannot express exactly is kept: requests
// it has no operation for, and names and handles it has no function for,
// reach the target as verbatim text (a warning says so); a parameter that
// the stream never declared, on a request whose renderer types it itself,
// is declared to the target quietly (with the type its values show) just
// before the request.  Warnings are errors in strict mode.
//
// One reader is one stream: what it declares, its basis steps and its
// handles are its own.
#ifndef VELLUM_READER_RIB_READER_H
#define VELLUM_READER_RIB_READER_H

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "reader/byte_source.h"
#include "reader/request_table.h"
#include "reader/rib_request.h"
#include "reader/stream_state.h"
#include "ri/render_context.h"

namespace vellum {

class RibParser;

struct Diagnostic {
  bool warning = false;
  std::string input;  // the name of the input
  int line = 0;
  std::string message;
  // "input:line: message", with "warning: " before a warning's message.
  std::string text() const;
};

class RibReader {
 public:
  using DiagnosticSink = std::function<void(const Diagnostic &)>;
  // Sees every request that reaches the target, comments excepted.
  using Observer = std::function<void(const RequestRow &, const RibRequest &)>;

  struct Options {
    bool strict = false;  // warnings are errors, and their requests are left out
  };

  RibReader(RenderContext &target, DiagnosticSink sink, Options options);
  RibReader(RenderContext &target, DiagnosticSink sink) : RibReader(target, std::move(sink), {}) {}
  void setObserver(Observer observer) { observer_ = std::move(observer); }

  // Reads the inputs, in order, as one stream.
  void read(std::vector<RibInput> inputs);

  int errors() const { return errors_; }
  int warnings() const { return warnings_; }

 private:
  void comment(const RibRequest &request);
  void request(const RequestRow &row, RibRequest &request);
  void malformed(const RequestRow *row, const RibRequest &request, const std::string &error);
  // Checks the parameter list; unknown names on loose requests are noted in
  // undeclared_.
  void checkParameters(const RequestRow &row, const PrimitiveCounts *counts, RibRequest &request,
                       RequestChecker &checker);
  void replay(const RequestRow &row, RibRequest &request);
  void passThrough(const RibRequest &request);
  // A rejected request that defined a light or an object: references to its
  // handle are refused, and the object's definition is skipped.
  void rejected(const RequestRow &row, const RibRequest &request);
  void report(bool warning, const RibRequest &request, const std::string &message);

  RenderContext &target_;
  DiagnosticSink sink_;
  Options options_;
  Observer observer_;
  StreamState state_;
  const RibParser *parser_ = nullptr;  // while reading
  int errors_ = 0;
  int warnings_ = 0;
  bool sawRequest_ = false;
  std::unordered_set<std::string> warned_;  // each warning is shown once
  // Per request: parameters the stream never declared, with the type their
  // values show, and the list operations' arrays.
  std::vector<std::pair<size_t, std::string>> undeclared_;
  std::vector<RtToken> tokens_;
  std::vector<RtPointer> parms_;
  std::vector<std::vector<char *>> strings_;
};

}  // namespace vellum

#endif
