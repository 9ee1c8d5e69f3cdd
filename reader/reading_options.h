// ReadingOptions: what a stream's options say of how the rest of it is
// read.
//   Option "searchpath" "archive" ["dir1:dir2:@"]  where the archives it
//       reads are looked for;
//   Option "ribparse" "string varsubst" ["$"]  whether $name and ${name}
//       in its strings are replaced (see substituteVariables);
//   Option "user" "string name" ["value"]  the values of the variables.
// Like every option they hold until changed or until the end of the frame
// they were set in.  An archive starts with those of the stream that reads
// it, and what it sets stays its own.
#ifndef VELLUM_READER_READING_OPTIONS_H
#define VELLUM_READER_READING_OPTIONS_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "decl/declaration_dictionary.h"
#include "reader/rib_request.h"

namespace vellum {

// The directories that relative archive names are looked for in, in order;
// "" is the current directory (a name is opened as it is given).
using ArchivePath = std::vector<std::string>;

// The archive path that a value of Option "searchpath" "archive" sets:
// entries separated by ":", "@" the default (the current directory), "&"
// the path before; empty entries and repeated directories are left out,
// and a value that names no directory sets the default.
ArchivePath archivePathOf(const std::string &value, const ArchivePath &previous);

class ReadingOptions {
 public:
  ReadingOptions();
  ReadingOptions(const ReadingOptions &) = delete;
  ReadingOptions &operator=(const ReadingOptions &) = delete;
  // Starts from the options of the stream that reads this one, which
  // outlive it.
  void inherit(const ReadingOptions &reader);

  const ArchivePath &archivePath() const { return *path_; }
  bool isDefaultArchivePath() const;
  bool substitutesVariables() const { return substitute_; }
  // The value of Option "user" `name` in force, or null.
  const std::string *userValue(const std::string &name) const;

  // What an accepted Option request says; `paths` and `variables` choose
  // what is taken in.  Returns the bytes of the archive path it set (0
  // when none), which count as archive bytes read.
  uint64_t apply(DeclarationDictionary &declarations, const RibRequest &request, bool paths,
                 bool variables);
  // FrameEnd restores what the options were at FrameBegin.
  void frameBegin();
  void frameEnd();

 private:
  void setUserValue(const std::string &name, std::string value);

  std::shared_ptr<const ArchivePath> path_;
  bool substitute_ = false;
  std::unordered_map<std::string, std::string> user_;  // set by this stream
  const ReadingOptions *inherited_ = nullptr;
  // While a frame is open: the options at its FrameBegin, and the user
  // values it changed with what they were before.
  struct Frame {
    std::shared_ptr<const ArchivePath> path;
    bool substitute;
    std::vector<std::pair<std::string, std::optional<std::string>>> changed;
  };
  std::optional<Frame> frame_;
};

}  // namespace vellum

#endif
