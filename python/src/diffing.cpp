// vellum.diff: two RIB streams compared as ribdiff compares them, the
// differences handed to Python as pairs of Request objects.
//
// The streams are read and aligned without the interpreter lock; it is
// taken back only to make the Request objects of the requests that
// differ, so memory is that of the differences, not of the streams.
#include <deque>
#include <optional>

#include "binding.h"
#include "reader/byte_source.h"
#include "reader/gzip_source.h"
#include "reader/stream_diff.h"
#include "request_objects.h"

namespace vellum::python {

namespace {

// One of the two streams: a file by its path, opened afresh for each
// pass, or bytes read in place (the caller keeps them alive).
struct DiffSide {
  std::string name;
  std::string path;  // empty for bytes
  const char *data = nullptr;
  size_t size = 0;

  std::vector<RibInput> open() const {
    std::vector<RibInput> inputs;
    if (data != nullptr) {
      inputs.emplace_back(name, decompressing(std::make_unique<MemorySource>(data, size)));
      return inputs;
    }
    std::string error;
    std::unique_ptr<ByteSource> opened = openByteSource(path, &error);
    // A file that went away between the passes reads as empty; the first
    // pass has made sure it opens.
    if (opened == nullptr) opened = std::make_unique<MemorySource>(nullptr, 0);
    inputs.emplace_back(name, std::move(opened));
    return inputs;
  }
};

DiffSide sideOf(const py::object &source, const std::string &name, bool isPath) {
  DiffSide side;
  side.name = name;
  if (isPath) {
    side.path = source.cast<std::string>();
    std::string error;
    if (openByteSource(side.path, &error) == nullptr) {
      PyErr_SetObject(PyExc_OSError, py::make_tuple(py::none(), side.path + ": " + error).ptr());
      throw py::error_already_set();
    }
  } else {
    side.data = PyBytes_AsString(source.ptr());
    if (side.data == nullptr) throw py::error_already_set();
    side.size = static_cast<size_t>(PyBytes_Size(source.ptr()));
  }
  return side;
}

// The requests of a block of changes, removed and added, paired in order
// once the block ends: a changed request is the pair (A, B), one left
// over is (A, None) or (None, B).
class Pairing {
 public:
  Pairing(py::object requestType, const DiffSide &a, const DiffSide &b, py::list &pairs)
      : makerA_(requestType, text(a.name)), makerB_(requestType, text(b.name)), pairs_(pairs) {}

  void removed(const RibReader::Pulled &pulled) { removed_.push_back(takeRequest(pulled)); }
  void added(const RibReader::Pulled &pulled) { added_.push_back(takeRequest(pulled)); }

  // Makes the pairs of the block; needs the interpreter lock.
  void endBlock() {
    while (!removed_.empty() || !added_.empty()) {
      py::object a = py::none(), b = py::none();
      if (!removed_.empty()) {
        a = makerA_.make(removed_.front());
        removed_.pop_front();
      }
      if (!added_.empty()) {
        b = makerB_.make(added_.front());
        added_.pop_front();
      }
      pairs_.append(py::make_tuple(a, b));
    }
  }
  bool inBlock() const { return !removed_.empty() || !added_.empty(); }

 private:
  RequestMaker makerA_, makerB_;
  py::list &pairs_;
  std::deque<ReadRequest> removed_, added_;
};

// The differences of two streams as a list of pairs; raises RibError
// (through the package, which is given the error as a tuple) for the first
// error of either stream.
py::object diff(py::object a, const std::string &nameA, bool aIsPath, py::object b, const std::string &nameB,
                bool bIsPath, double relative, double absolute, bool comments, py::object requestType) {
  if (relative < 0 || absolute < 0) throw py::value_error("a tolerance is not below 0");
  const DiffSide sideA = sideOf(a, nameA, aIsPath), sideB = sideOf(b, nameB, bIsPath);
  StreamDiffOptions options;
  options.tolerance.relative = relative;
  options.tolerance.absolute = absolute;
  options.comments = comments;
  std::optional<Diagnostic> firstError;
  StreamDiff streams([&] { return sideA.open(); }, [&] { return sideB.open(); }, options,
                     [&](const Diagnostic &diagnostic) {
                       if (!diagnostic.warning && !firstError) firstError = diagnostic;
                     });
  py::list pairs;
  Pairing pairing(requestType, sideA, sideB, pairs);
  bool same;
  {
    py::gil_scoped_release unlocked;
    same = streams.align();
    if (streams.errors() == 0 && (!same || !options.tolerance.exact())) {
      streams.walk([&](StreamDiff::Step step, const RibReader::Pulled *pa, const RibReader::Pulled *pb) {
        if (step == StreamDiff::Step::kRemoved) {
          pairing.removed(*pa);
        } else if (step == StreamDiff::Step::kAdded) {
          pairing.added(*pb);
        } else if (pairing.inBlock()) {
          py::gil_scoped_acquire locked;
          pairing.endBlock();
        }
      });
    }
  }
  if (firstError)
    return py::make_tuple(text(firstError->message), text(firstError->input), firstError->line);
  pairing.endBlock();
  return std::move(pairs);
}

}  // namespace

void bindDiff(py::module_ &module) {
  module.def("_diff", &diff, py::arg("a"), py::arg("name_a"), py::arg("a_is_path"), py::arg("b"),
             py::arg("name_b"), py::arg("b_is_path"), py::arg("rel"), py::arg("abs"), py::arg("comments"),
             py::arg("request_type"),
             "The differences of two RIB streams as a list of (Request or None, Request or None) pairs, "
             "or the first error as (message, file, line) (used by vellum.diff).");
}

}  // namespace vellum::python
