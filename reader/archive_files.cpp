#include "reader/archive_files.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vellum {

bool DirectoryArchives::exists(const std::string &name) {
  struct stat status;
  return ::stat(name.c_str(), &status) == 0 || errno != ENOENT;
}

namespace {

// File systems whose files are made up by the kernel as they are read
// (/proc, /sys and their kin): their sizes say nothing, some block, and
// some hold secrets of the process (its environment).  None is a scene.
bool madeUpByTheSystem(int fd) {
  struct statfs system;
  if (fstatfs(fd, &system) != 0) return true;
  switch (static_cast<unsigned long>(system.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<ByteSource> DirectoryArchives::open(const std::string &name, std::string *identity,
                                                    std::string *error) {
  // O_NONBLOCK: opening a FIFO without a writer returns at once instead of
  // waiting, and a read of anything that could wait fails instead (a
  // regular file never waits).
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  *identity = fileIdentity(fd);
  if (identity->empty() || madeUpByTheSystem(fd)) {
    ::close(fd);
    *error = "not a regular file";
    return nullptr;
  }
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
