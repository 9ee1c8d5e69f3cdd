#include "reader/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "reader/gzip_source.h"

namespace vellum {

namespace {

// A descriptor read as it is, in the pieces asked for.
class DescriptorSource : public ByteSource {
 public:
  explicit DescriptorSource(int fd) : fd_(fd) {}
  ~DescriptorSource() override { close(fd_); }
  size_t read(char *buffer, size_t size) override {
    if (!error_.empty()) return 0;
    if (size > kMostAtOnce) size = kMostAtOnce;
    for (;;) {
      const ssize_t got = ::read(fd_, buffer, size);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno == EINTR) continue;
      error_ = std::strerror(errno);
      return 0;
    }
  }

 private:
  static constexpr size_t kMostAtOnce = size_t{1} << 30;
  int fd_;
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

std::unique_ptr<ByteSource> openByteSource(int fd, std::string *) {
  return decompressing(std::make_unique<DescriptorSource>(fd));
}

size_t MemorySource::read(char *buffer, size_t size) {
  size_t count = size_ - offset_ < size ? size_ - offset_ : size;
  std::memcpy(buffer, data_ + offset_, count);
  offset_ += count;
  return count;
}

}  // namespace vellum
