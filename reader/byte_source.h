// Where RIB is read from: files (plain or gzip-compressed), standard input,
// or memory.
#ifndef VELLUM_READER_BYTE_SOURCE_H
#define VELLUM_READER_BYTE_SOURCE_H

#include <cstddef>
#include <memory>
#include <string>

namespace vellum {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes into `buffer`; 0 at the end.  A read error sets
  // error() and reads as the end.
  virtual size_t read(char *buffer, size_t size) = 0;
  const std::string &error() const { return error_; }

 protected:
  std::string error_;
};

// A file, or standard input for "-"; gzip-compressed data is recognised by
// its magic bytes and decompressed, anything else is read as it is.  A
// gzip stream that is cut short or fails its check is a read error.
// Returns null with `error` set when the file cannot be opened.
std::unique_ptr<ByteSource> openByteSource(const std::string &path, std::string *error);
// The same over a descriptor opened for reading, which the source then owns
// (it is closed on failure too).
std::unique_ptr<ByteSource> openByteSource(int fd, std::string *error);

// What tells one file from another whatever name it is opened by: its
// device and inode, or "" when it has none (a pipe, a terminal).
std::string fileIdentity(int fd);

// One input of a RIB stream: its bytes, the name diagnostics give it, and
// the identity of the file it comes from ("" if unknown), by which an
// archive that reads the file again is recognised.
struct RibInput {
  RibInput() = default;
  RibInput(std::string name, std::unique_ptr<ByteSource> source, std::string identity = "")
      : name(std::move(name)), source(std::move(source)), identity(std::move(identity)) {}
  std::string name;
  std::unique_ptr<ByteSource> source;
  std::string identity;
};

// Bytes in memory; the caller keeps them alive while reading.
class MemorySource : public ByteSource {
 public:
  MemorySource(const char *data, size_t size) : data_(data), size_(size) {}
  explicit MemorySource(const std::string &text) : MemorySource(text.data(), text.size()) {}
  explicit MemorySource(std::string &&) = delete;  // would not outlive the reading
  size_t read(char *buffer, size_t size) override;

 private:
  const char *data_;
  size_t size_;
  size_t offset_ = 0;
};

}  // namespace vellum

#endif
