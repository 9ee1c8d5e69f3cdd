#include "reading_sources.h"

#include <algorithm>
#include <cstring>

namespace vellum::python {

namespace {

// What one call of a file object's read() asks for: big enough that the
// interpreter lock is taken rarely.
constexpr size_t kBlockSize = 256 * 1024;

}  // namespace

BytesSource::BytesSource(py::object bytes)
    : bytes_(std::move(bytes)),
      memory_(PyBytes_AS_STRING(bytes_.ptr()), static_cast<size_t>(PyBytes_GET_SIZE(bytes_.ptr()))) {}

// The reader may be let go of anywhere; Python objects only with the lock.
BytesSource::~BytesSource() {
  py::gil_scoped_acquire locked;
  bytes_ = py::object();
}

size_t BytesSource::read(char *buffer, size_t size) { return memory_.read(buffer, size); }

FileObjectSource::FileObjectSource(py::object file, std::unique_ptr<py::error_already_set> &failure)
    : file_(std::move(file)), failure_(failure) {}

FileObjectSource::~FileObjectSource() {
  py::gil_scoped_acquire locked;
  file_ = py::object();
}

size_t FileObjectSource::read(char *buffer, size_t size) {
  if (!error_.empty()) return 0;
  if (leftAt_ == left_.size()) {
    left_.clear();
    leftAt_ = 0;
    py::gil_scoped_acquire locked;
    try {
      py::object block = file_.attr("read")(std::max(size, kBlockSize));
      if (PyUnicode_Check(block.ptr())) block = block.attr("encode")("utf-8", "surrogateescape");
      if (!PyBytes_Check(block.ptr())) block = py::bytes(block);  // a bytearray, a memoryview
      char *data = nullptr;
      Py_ssize_t length = 0;
      if (PyBytes_AsStringAndSize(block.ptr(), &data, &length) != 0) throw py::error_already_set();
      left_.assign(data, static_cast<size_t>(length));
    } catch (py::error_already_set &failure) {
      error_ = failure.what();
      failure_ = std::make_unique<py::error_already_set>(std::move(failure));
      return 0;
    }
  }
  const size_t count = std::min(size, left_.size() - leftAt_);
  std::memcpy(buffer, left_.data() + leftAt_, count);
  leftAt_ += count;
  return count;
}

}  // namespace vellum::python
