// Reading RIB into Python: the RIB reader checks every request as qview
// does, and each request that passes becomes a Request: the arguments of
// the Ri method of its name, its parameter list a dict keyed by declared
// names.
//
// The stream is read as it is iterated, a batch of requests at a time:
// the reader runs without the interpreter lock and hands out each request
// once checked (RibReader::next), whose values move into the batch; the
// batch then becomes Python objects, the arrays numpy arrays that take
// over the reader's vectors.  Memory stays that of one batch, whatever the
// stream's length.
#include <cstring>
#include <unordered_map>

#include "binding.h"
#include "reading_sources.h"
#include "reader/gzip_source.h"
#include "request_objects.h"
#include "reader/rib_reader.h"
#include "ri/null_context.h"

namespace vellum::python {

namespace {

// A batch ends after this many requests, or once its values pass this
// many bytes (a single larger request makes a batch of its own).
constexpr size_t kBatchRequests = 256;
constexpr size_t kBatchBytes = size_t{1} << 20;
// One event of a batch: a diagnostic, or a request.
struct Event {
  bool isDiagnostic = false;
  Diagnostic diagnostic;
  ReadRequest read;
};

size_t valueBytes(const RibValue &value) {
  return value.ints.size() * sizeof(RtInt) + value.floats.size() * sizeof(float) + value.string.size() +
         value.strings.size() * 16;
}

size_t requestBytes(const RibRequest &request) {
  size_t bytes = 64;
  for (const RibValue &value : request.operands) bytes += valueBytes(value);
  for (const RibParameter &parameter : request.parameters) bytes += valueBytes(parameter.value);
  return bytes;
}

// The reading of one stream: a reader into a context that does nothing,
// and the Request class the requests are made as.
class Reading {
 public:
  Reading(py::object source, const std::string &name, bool isPath, bool strictWarnings, py::object requestType)
      : maker_(std::move(requestType), text(name)) {
    std::vector<RibInput> inputs;
    if (isPath) {
      std::string error;
      const std::string path = source.cast<std::string>();
      std::unique_ptr<ByteSource> opened = openByteSource(path, &error);
      if (opened == nullptr) {
        PyErr_SetObject(PyExc_OSError, py::make_tuple(py::none(), path + ": " + error).ptr());
        throw py::error_already_set();
      }
      inputs.emplace_back(name, std::move(opened));
    } else if (PyBytes_Check(source.ptr())) {
      inputs.emplace_back(name, decompressing(std::make_unique<BytesSource>(source)));
    } else {
      inputs.emplace_back(name, decompressing(std::make_unique<FileObjectSource>(source, fileFailure_)));
    }
    RibReader::Options options;
    options.strict = strictWarnings;
    reader_ = std::make_unique<RibReader>(
        target_,
        [this](const Diagnostic &diagnostic) {
          Event &event = batch_.emplace_back();
          event.isDiagnostic = true;
          event.diagnostic = diagnostic;
        },
        options);
    reader_->start(std::move(inputs));
  }

  // The next events: Request objects, and ("error" | "warning", message,
  // file, line, text) tuples for diagnostics, in the order they were met;
  // empty at the end of the stream.
  py::list nextBatch() {
    if (busy_) throw std::runtime_error("the stream is already being read (by another thread, or by its file's read())");
    batch_.clear();
    {
      struct Busy {
        bool &flag;
        ~Busy() { flag = false; }
      } busy{busy_ = true};
      py::gil_scoped_release unlocked;
      fill();
    }
    if (fileFailure_ != nullptr) {
      // The file's own exception, in place of the read error it made.
      std::unique_ptr<py::error_already_set> failure = std::move(fileFailure_);
      failure->restore();
      throw py::error_already_set();
    }
    py::list events(batch_.size());
    for (size_t i = 0; i < batch_.size(); ++i) events[i] = convert(batch_[i]);
    batch_.clear();
    return events;
  }

 private:
  // Reads on until the batch is full or the stream ends.
  void fill() {
    size_t requests = 0, bytes = 0;
    RibReader::Pulled pulled;
    while (requests < kBatchRequests && bytes < kBatchBytes && !ended_) {
      if (!reader_->next(pulled)) {
        ended_ = true;
        break;
      }
      Event &event = batch_.emplace_back();
      event.read = takeRequest(pulled);
      ++requests;
      bytes += requestBytes(event.read.request);
    }
  }

  py::object convert(Event &event) {
    if (event.isDiagnostic) {
      const Diagnostic &diagnostic = event.diagnostic;
      return py::make_tuple(diagnostic.warning ? "warning" : "error", text(diagnostic.message),
                            text(diagnostic.input), diagnostic.line, text(diagnostic.text()));
    }
    return maker_.make(event.read);
  }

  NullContext target_;
  RequestMaker maker_;
  // What a file object's read() raised; it outlives the reader.
  std::unique_ptr<py::error_already_set> fileFailure_;
  std::unique_ptr<RibReader> reader_;
  std::vector<Event> batch_;
  bool busy_ = false;
  bool ended_ = false;
};

}  // namespace

void bindReading(py::module_ &module) {
  py::class_<Reading>(module, "_Reading", "The reading of a RIB stream (used by vellum.read).")
      .def(py::init<py::object, const std::string &, bool, bool, py::object>(), py::arg("source"),
           py::arg("name"), py::arg("is_path"), py::arg("strict_warnings"), py::arg("request_type"))
      .def("next_batch", &Reading::nextBatch,
           "The next Request objects and diagnostics of the stream; empty at its end.");
}

}  // namespace vellum::python
