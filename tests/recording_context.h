// RecordingContext: a context that records every call it receives as one
// line of text, for tests that check what a reader hands a context (calls,
// not bytes).  A line reads `Name(arg, arg, ...)`: numbers as numbers,
// strings quoted, the predefined functions and matrices by name, arrays of
// a size fixed by their type as their values, other arrays as `[..]`, and
// a parameter list as its tokens after a semicolon.
#ifndef VELLUM_TESTS_RECORDING_CONTEXT_H
#define VELLUM_TESTS_RECORDING_CONTEXT_H

#include <charconv>
#include <cstdio>
#include <type_traits>
#include <cstdint>
#include <string>
#include <vector>

#include "common/name_tables.h"
#include "ri/render_context.h"

namespace vellum_test {

// Records every operation generically; RecordingContext below records the
// arrays whose sizes their types fix.
class RecordingBase : public vellum::RenderContext {
 public:
  std::vector<std::string> calls;
  // All calls, one per line.
  std::string text() const {
    std::string all;
    for (const std::string &call : calls) all += call + "\n";
    return all;
  }

#define VELLUM_RECORD_OP(R, Name, Params, Args) \
  R Name Params override {                      \
    record(#Name, {describeAll Args});          \
    return result<R>();                         \
  }
#define VELLUM_RECORD_LIST_OP(R, Name, Fixed, FixedArgs)  \
  R Name VELLUM_LIST_PARAMS(Fixed) override {            \
    static_cast<void>(parms); /* the names are recorded, not the values */ \
    record(#Name, {describeAll FixedArgs}, n, tokens);   \
    return result<R>();                                  \
  }
#define VELLUM_RECORD_SLOTS(Name, form, R, Params, Args, ...) \
  VELLUM_SLOTS(form, VELLUM_RECORD_OP, VELLUM_RECORD_LIST_OP, VELLUM_INHERITED_OP, VELLUM_INHERITED_OP, R, Name, \
               Params, Args)
  VELLUM_REQUESTS(VELLUM_RECORD_SLOTS)
#undef VELLUM_RECORD_SLOTS
#undef VELLUM_RECORD_OP
#undef VELLUM_RECORD_LIST_OP

 protected:
  template <typename... Args>
  static std::vector<std::string> describeAll(const Args &...args) {
    return {describe(args)...};
  }
  static std::string describe(RtInt value) { return std::to_string(value); }
  static std::string describe(RtBoolean value) { return std::to_string(value); }
  static std::string describe(RtFloat value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
  }
  static std::string describe(const char *text) {
    return text != nullptr ? "\"" + std::string(text) + "\"" : "null";
  }
  static std::string describe(char *text) { return describe(static_cast<const char *>(text)); }
  static std::string describe(RtFilterFunc filter) {
    const char *name = vellum::filterName(filter);
    return name != nullptr ? name : "filter?";
  }
  static std::string describe(RtFloat (*basis)[4]) {
    if (basis == nullptr) return "null";
    const char *name = vellum::basisName(basis);
    return name != nullptr ? name : floats(basis[0], 16);
  }
  static std::string describe(RtErrorHandler handler) {
    const char *name = vellum::errorHandlerName(handler);
    return name != nullptr ? name : "handler?";
  }
  static std::string describe(RtProcSubdivFunc function) {
    const vellum::ProceduralKind *kind = vellum::proceduralByFunction(function);
    return kind != nullptr ? kind->name : "procedural?";
  }
  // A light or object handle: the number this context gave it.
  static std::string describe(void *handle) {
    return "#" + std::to_string(reinterpret_cast<intptr_t>(handle));
  }
  template <typename T>
  static std::string describe(const T &) {
    return "[..]";
  }
  static std::string floats(const RtFloat *values, int count) {
    std::string text = "[";
    for (int i = 0; i < count; ++i) text += (i > 0 ? " " : "") + describe(values[i]);
    return text + "]";
  }

  void record(const char *name, const std::vector<std::string> &args) {
    std::string call = std::string(name) + "(";
    for (size_t i = 0; i < args.size(); ++i) call += (i > 0 ? ", " : "") + args[i];
    calls.push_back(call + ")");
  }
  void record(const char *name, const std::vector<std::string> &args, RtInt n, RtToken tokens[]) {
    record(name, args);
    std::string &call = calls.back();
    call.pop_back();
    call += ";";
    for (RtInt i = 0; i < n; ++i) call += " \"" + std::string(tokens[i]) + "\"";
    call += ")";
  }

  // Handles are numbered in the order this context gives them out.
  template <typename R>
  R result() {
    if constexpr (std::is_same_v<R, RtLightHandle>) {
      return reinterpret_cast<R>(static_cast<intptr_t>(++handles_));
    } else {
      return vellum::defaultResult<R>();
    }
  }
  int handles_ = 0;

};

class RecordingContext : public RecordingBase {
 public:
  // The sizes of these arrays are fixed by their type: record the values.
  RtVoid Color(RtColor c) override { calls.push_back("Color(" + floats(c, 3) + ")"); }
  RtVoid Opacity(RtColor c) override { calls.push_back("Opacity(" + floats(c, 3) + ")"); }
  RtVoid Bound(RtBound b) override { calls.push_back("Bound(" + floats(b, 6) + ")"); }
  RtVoid Detail(RtBound b) override { calls.push_back("Detail(" + floats(b, 6) + ")"); }
  RtVoid ConcatTransform(RtMatrix m) override {
    calls.push_back("ConcatTransform(" + floats(m[0], 16) + ")");
  }
  RtVoid Transform(RtMatrix m) override { calls.push_back("Transform(" + floats(m[0], 16) + ")"); }
  RtVoid MotionBeginV(RtInt n, RtFloat times[]) override {
    calls.push_back("MotionBeginV(" + floats(times, n) + ")");
  }
  RtVoid ArchiveRecordV(RtToken type, char *format, va_list args) override {
    char text[4096];
    std::vsnprintf(text, sizeof text, format, args);
    calls.push_back("ArchiveRecord(" + describe(type) + ", " + describe(text) + ")");
  }
  RtVoid Procedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                    RtProcFreeFunc) override {
    const vellum::ProceduralKind *kind = vellum::proceduralByFunction(subdivfunc);
    std::string call = "Procedural(" + describe(subdivfunc) + ", [";
    for (int i = 0; kind != nullptr && i < kind->strings; ++i)
      call += (i > 0 ? " " : "") + describe(static_cast<char **>(data)[i]);
    calls.push_back(call + "], " + floats(bound, 6) + ")");
  }
};

}  // namespace vellum_test

#endif
