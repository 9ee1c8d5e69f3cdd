// The Ri object's context (Begin, End) and the library's diagnostics as
// Python warnings or exceptions.
#include <cerrno>
#include <cstring>
#include <string>

#include "binding.h"
#include "rib/gzip_sink.h"
#include "rib/rib_writer.h"

namespace vellum::python {

namespace {

py::object vellumAttribute(const char *name) { return py::module_::import("vellum").attr(name); }

[[noreturn]] void runtimeError(const std::string &message) {
  PyErr_SetString(PyExc_RuntimeError, message.c_str());
  throw py::error_already_set();
}

}  // namespace

PyRi::PyRi() : environment("standard output") {
  environment.setSink([this](const std::string &text) { reports.push_back(text); });
}

PyRi::~PyRi() {
  // What ending the stream reports now has nobody to go to.
  environment.setSink({});
  writer.reset();
}

DiagnosticScope::DiagnosticScope(PyRi &self) : self_(self) {
  if (self.busy.exchange(true))
    runtimeError("this Ri is being used by another thread: use one Ri in each thread");
  self.reports.clear();
}

DiagnosticScope::~DiagnosticScope() { self_.busy = false; }

void DiagnosticScope::deliver() {
  if (self_.reports.empty()) return;
  std::vector<std::string> reports;
  reports.swap(self_.reports);
  if (self_.mode == DiagnosticMode::kIgnore) return;
  for (std::string &report : reports) {
    while (!report.empty() && report.back() == '\n') report.pop_back();
    if (self_.mode == DiagnosticMode::kRaise) {
      PyErr_SetObject(vellumAttribute("RibError").ptr(), py::str(report).ptr());
      throw py::error_already_set();
    }
    if (PyErr_WarnEx(vellumAttribute("RibWarning").ptr(), report.c_str(), 1) != 0)
      throw py::error_already_set();
  }
}

RibWriter &PyRi::context(const char *request) {
  if (writer == nullptr)
    runtimeError(std::string(request) + ": no context: call Begin first (or use the Ri in a with statement)");
  return *writer;
}

namespace {

void begin(PyRi &self, py::handle name, py::handle binary, py::handle precision, py::handle compression) {
  if (self.writer != nullptr) runtimeError("Begin: this Ri already has a context: End it first, or use another Ri");
  // This Ri's "rib" option, and this context's own settings over it.
  WriterSettings format = self.ribOption;
  if (!binary.is_none()) format.binary = toBoolean(binary, {"Begin", "binary"}) != 0;
  if (!precision.is_none()) {
    format.precision = toInt(precision, {"Begin", "precision"});
    if (format.precision < 0 || format.precision > 9)
      valueError("Begin: precision must be 0 to 9, not " + std::to_string(format.precision));
  }
  if (!compression.is_none()) {
    const std::string compressionName = toString(compression, {"Begin", "compression"});
    if (compressionName != "gzip" && compressionName != "none")
      valueError("Begin: compression must be \"gzip\" or \"none\", not \"" + compressionName + "\"");
    format.gzip = compressionName == "gzip";
  }
  const char *destination = nullptr;
  if (!name.is_none()) destination = self.environment.keep(toString(name, {"Begin", "name"}));
  const char *opened = destination;
  std::unique_ptr<OutputSink> sink = openDestination(opened);
  if (sink == nullptr) {
    const int error = errno;
    PyErr_SetObject(PyExc_OSError, py::make_tuple(error, std::strerror(error), name).ptr());
    throw py::error_already_set();
  }
  DiagnosticScope scope(self);
  self.environment.setName(opened != nullptr ? opened : "standard output");
  if (format.gzip && !gzipAvailable()) {
    self.environment.error(RIE_INCAPABLE, RIE_ERROR, "\"compression\" not available: vellum was built without zlib");
    format.gzip = false;
  }
  self.writer = std::make_unique<RibWriter>(std::move(sink), opened, format, self.environment);
  scope.deliver();
}

void end(PyRi &self) {
  self.context("End");
  DiagnosticScope scope(self);
  std::unique_ptr<RibWriter> writer = std::move(self.writer);
  withoutGil([&] { writer.reset(); });
  scope.deliver();
}

}  // namespace

// The token that writes a parameter read as `original` and named by its
// declaration `key` ("varying color Cs"): the token as it was read where
// this Ri declares it alike, the declaration itself otherwise.
std::string writableToken(PyRi &self, const std::string &key, const std::string &original) {
  ParameterDeclaration declared, read;
  if (!self.environment.lookup(key.c_str(), &declared)) return key;
  const std::string declaredName = declared.name;  // a lookup may move it
  if (self.environment.lookup(original.c_str(), &read) && declaredName == read.name &&
      read.shape.storageClass == declared.shape.storageClass && read.shape.type == declared.shape.type &&
      read.shape.arrayLength == declared.shape.arrayLength)
    return original;
  return key;
}

void bindContextMethods(RiClass &cls) {
  cls.def("_writable_token", &writableToken, py::arg("key"), py::arg("original"),
          "The token that writes a parameter read as `original` and declared as `key`.");
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
