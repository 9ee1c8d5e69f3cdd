// The Ri object's context (Begin, End) and the library's diagnostics as
// Python warnings or exceptions.
#include <cerrno>
#include <cstring>
#include <string>

#include "binding.h"
#include "decl/string_table.h"
#include "error/writer_diagnostics.h"
#include "ri/current_context.h"
#include "rib/rib_writer.h"

namespace vellum::python {

namespace {

// The reports made during the current call of a Ri method; null between
// calls, when they go to standard error as in any other program.
std::vector<std::string> *collected = nullptr;

void collect(const char *text, size_t size, void *) {
  if (collected != nullptr) {
    collected->emplace_back(text, size);
    return;
  }
  std::fwrite(text, 1, size, stderr);
}

py::object vellumAttribute(const char *name) { return py::module_::import("vellum").attr(name); }

}  // namespace

void installDiagnosticSink() { setDiagnosticSink(collect, nullptr); }

DiagnosticScope::DiagnosticScope(DiagnosticMode mode) : mode_(mode), outer_(collected == nullptr) {
  if (outer_) collected = new std::vector<std::string>();
}

DiagnosticScope::~DiagnosticScope() {
  if (!outer_) return;
  delete collected;
  collected = nullptr;
}

void DiagnosticScope::deliver() {
  if (!outer_ || collected->empty()) return;
  std::vector<std::string> reports;
  reports.swap(*collected);
  if (mode_ == DiagnosticMode::kIgnore) return;
  for (std::string &report : reports) {
    while (!report.empty() && report.back() == '\n') report.pop_back();
    if (mode_ == DiagnosticMode::kRaise) {
      PyErr_SetObject(vellumAttribute("RibError").ptr(), py::str(report).ptr());
      throw py::error_already_set();
    }
    if (PyErr_WarnEx(vellumAttribute("RibWarning").ptr(), report.c_str(), 1) != 0)
      throw py::error_already_set();
  }
}

PyRi::~PyRi() {
  if (writer == nullptr) return;
  DiagnosticScope scope(DiagnosticMode::kIgnore);
  delete writer;
}

namespace {

[[noreturn]] void noContext(const char *request) {
  PyErr_SetString(PyExc_RuntimeError,
                  (std::string(request) + ": no context: call Begin first (or use the Ri in a with statement)").c_str());
  throw py::error_already_set();
}

}  // namespace

RibWriter &PyRi::context(const char *request) {
  if (writer == nullptr) noContext(request);
  return *writer;
}

namespace {

void begin(PyRi &self, py::handle name, py::handle binary, py::handle precision, py::handle compression) {
  if (self.writer != nullptr) {
    PyErr_SetString(PyExc_RuntimeError, "Begin: this Ri already has a context: End it first, or use another Ri");
    throw py::error_already_set();
  }
  // The "rib" option in force, and this context's own settings over it.
  OutputFormat format = outputFormatSetting();
  if (!binary.is_none()) format.binary = toBoolean(binary, {"Begin", "binary"}) != 0;
  if (!precision.is_none()) {
    format.precision = toInt(precision, {"Begin", "precision"});
    if (format.precision < 0 || format.precision > 9)
      valueError("Begin: precision must be 0 to 9, not " + std::to_string(format.precision));
  }
  std::string compressionName = format.gzip ? "gzip" : "none";
  if (!compression.is_none()) {
    compressionName = toString(compression, {"Begin", "compression"});
    if (compressionName != "gzip" && compressionName != "none")
      valueError("Begin: compression must be \"gzip\" or \"none\", not \"" + compressionName + "\"");
  }
  const char *destination = name.is_none() ? nullptr : internString(toString(name, {"Begin", "name"}));
  std::unique_ptr<OutputSink> sink = openDestination(destination);
  if (sink == nullptr) {
    const int error = errno;
    PyErr_SetObject(PyExc_OSError, py::make_tuple(error, std::strerror(error), name).ptr());
    throw py::error_already_set();
  }
  RtInt binaryFlag = format.binary, digits = format.precision;
  RtString compressed = const_cast<char *>(compressionName.c_str());
  RtToken settings[] = {const_cast<char *>("binary"), const_cast<char *>("precision"),
                        const_cast<char *>("compression")};
  RtPointer values[] = {&binaryFlag, &digits, &compressed};
  DiagnosticScope scope(self.mode);
  self.writer = new RibWriter(std::move(sink), destination, 3, settings, values);
  scope.deliver();
}

void end(PyRi &self) {
  if (self.writer == nullptr) noContext("End");
  DiagnosticScope scope(self.mode);
  RibWriter *writer = self.writer;
  self.writer = nullptr;
  delete writer;
  scope.deliver();
}

}  // namespace

void bindContextMethods(RiClass &cls) {
  cls.def("Begin", &begin, py::arg("name") = py::none(), py::kw_only(), py::arg("binary") = py::none(),
          py::arg("precision") = py::none(), py::arg("compression") = py::none(),
          stubDoc({"Begin",
                   "name: str | None = None, *, binary: bool | None = None, precision: int | None = None, "
                   "compression: str | None = None",
                   "None",
                   "Begins this Ri's context, writing to `name`: None for standard output, "
                   "\"qview\" (or another renderer program) for a pipe into it, \"|command\" for a pipe "
                   "into a shell command, any other name a file.  `binary`, `precision` (0 to 9 "
                   "significant digits, 0 the shortest exact text) and `compression` (\"gzip\" or "
                   "\"none\") override the \"rib\" option for this context.  OSError when the "
                   "destination cannot be opened."}));
  cls.def("End", &end,
          stubDoc({"End", "", "None",
                   "Ends this Ri's context: the stream is completed and its file or pipe closed."}));
  cls.def_property_readonly(
      "has_context", [](const PyRi &self) { return self.writer != nullptr; },
      "Whether Begin has made a context that End has not ended.");
}

}  // namespace vellum::python
