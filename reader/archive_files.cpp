#include "reader/archive_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vellum {

bool DirectoryArchives::exists(const std::string &name) {
  struct stat status;
  return ::stat(name.c_str(), &status) == 0 || errno != ENOENT;
}

std::unique_ptr<ByteSource> DirectoryArchives::open(const std::string &name, std::string *identity,
                                                    std::string *error) {
  // O_NONBLOCK: opening a FIFO without a writer returns at once instead of
  // waiting; the file is refused below anyway.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  *identity = fileIdentity(fd);
  if (identity->empty()) {
    ::close(fd);
    *error = "not a regular file";
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return openByteSource(fd, error);
}

std::unique_ptr<ByteSource> MemoryArchives::open(const std::string &name, std::string *identity,
                                                 std::string *error) {
  auto found = files_.find(name);
  if (found == files_.end()) {
    *error = std::strerror(ENOENT);
    return nullptr;
  }
  *identity = name;
  return std::make_unique<MemorySource>(found->second);
}

}  // namespace vellum
