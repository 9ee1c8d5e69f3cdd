// The bytes vellum.read reads that are not a file of its own: a bytes
// object, read in place, and a Python file object, read in blocks.  The
// reader reads them without the interpreter lock; a file object's read()
// takes it back for each block.
#ifndef VELLUM_PYTHON_READING_SOURCES_H
#define VELLUM_PYTHON_READING_SOURCES_H

#include <memory>

#include "binding.h"
#include "reader/byte_source.h"

namespace vellum::python {

// A bytes object, which it keeps alive (bytes do not change).
class BytesSource : public ByteSource {
 public:
  explicit BytesSource(py::object bytes);
  ~BytesSource() override;
  size_t read(char *buffer, size_t size) override;

 private:
  py::object bytes_;
  MemorySource memory_;
};

// A file object opened for reading: its read(n) gives bytes, or text,
// which is taken as UTF-8 (surrogates back as the bytes they stand for).
// An exception of read() ends the input as a read error and is kept in
// `failure`, which outlives the source (the reader lets go of an input
// once it ended), to be raised again.
class FileObjectSource : public ByteSource {
 public:
  FileObjectSource(py::object file, std::unique_ptr<py::error_already_set> &failure);
  ~FileObjectSource() override;
  size_t read(char *buffer, size_t size) override;

 private:
  py::object file_;
  std::unique_ptr<py::error_already_set> &failure_;
  // What a read gave that did not fit the buffer asked to fill.
  std::string left_;
  size_t leftAt_ = 0;
};

}  // namespace vellum::python

#endif
