// Where the archives that a stream reads (ReadArchive, the DelayedReadArchive
// procedural) come from when the reader follows them: the file system, or
// a set of files in memory.
#ifndef VELLUM_READER_ARCHIVE_FILES_H
#define VELLUM_READER_ARCHIVE_FILES_H

#include <map>
#include <memory>
#include <string>

#include "reader/byte_source.h"

namespace vellum {

class ArchiveFiles {
 public:
  virtual ~ArchiveFiles() = default;
  // False when there is nothing of that name; true when there is, even
  // if it cannot be read (open then says why).
  virtual bool exists(const std::string &name) = 0;
  // Opens the archive of a name; null with `error` set when there is none
  // to read.  `identity` tells the file apart from every other, whatever
  // name it is reached by.
  virtual std::unique_ptr<ByteSource> open(const std::string &name, std::string *identity,
                                           std::string *error) = 0;
};

// Files of the file system, relative names from the current directory.
// Only regular files of a disk are archives: a device, a FIFO, a directory
// or a file of /proc or /sys named by a stream is refused before a byte of
// it is read (opening it blocks on nothing, and reading never waits, runs
// without end or shows what the kernel knows of the process).
class DirectoryArchives : public ArchiveFiles {
 public:
  bool exists(const std::string &name) override;
  std::unique_ptr<ByteSource> open(const std::string &name, std::string *identity,
                                   std::string *error) override;
};

// Files in memory, by name; the caller keeps the map alive while reading.
class MemoryArchives : public ArchiveFiles {
 public:
  explicit MemoryArchives(const std::map<std::string, std::string> &files) : files_(files) {}
  bool exists(const std::string &name) override { return files_.count(name) != 0; }
  std::unique_ptr<ByteSource> open(const std::string &name, std::string *identity,
                                   std::string *error) override;

 private:
  const std::map<std::string, std::string> &files_;
};

}  // namespace vellum

#endif
