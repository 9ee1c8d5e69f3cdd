#include "reader/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace vellum {

namespace {

// zlib reads plain data unchanged when it finds no gzip header, so one
// reader serves both.
class GzipSource : public ByteSource {
 public:
  explicit GzipSource(gzFile file) : file_(file) {}
  ~GzipSource() override { gzclose(file_); }
  size_t read(char *buffer, size_t size) override {
    if (!error_.empty()) return 0;
    if (size > INT_MAX) size = INT_MAX;
    const int got = gzread(file_, buffer, static_cast<unsigned>(size));
    if (got > 0) return static_cast<size_t>(got);
    // The end, or an error: a gzip stream cut short ends without one from
    // gzread, so its status is asked for either way.
    int code = Z_OK;
    const char *message = gzerror(file_, &code);
    if (code == Z_ERRNO) {
      error_ = std::strerror(errno);
    } else if (code != Z_OK && code != Z_STREAM_END) {
      // zlib puts the file's name in front; the reader names it itself.
      const char *colon = std::strstr(message, ": ");
      error_ = colon != nullptr ? colon + 2 : message;
    }
    return 0;
  }

 private:
  gzFile file_;
};

}  // namespace

std::unique_ptr<ByteSource> openByteSource(const std::string &path, std::string *error) {
  int fd = path == "-" ? dup(STDIN_FILENO) : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  return openByteSource(fd, error);
}

std::string fileIdentity(int fd) {
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return "";
  return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

std::unique_ptr<ByteSource> openByteSource(int fd, std::string *error) {
  gzFile file = gzdopen(fd, "rb");
  if (file == nullptr) {
    close(fd);
    *error = "out of memory";
    return nullptr;
  }
  gzbuffer(file, 128 * 1024);
  return std::make_unique<GzipSource>(file);
}

size_t MemorySource::read(char *buffer, size_t size) {
  size_t count = size_ - offset_ < size ? size_ - offset_ : size;
  std::memcpy(buffer, data_ + offset_, count);
  offset_ += count;
  return count;
}

}  // namespace vellum
