// Where an archive that a stream names is found: the one function that
// turns a name into the path to open, for every request that reads
// archives.
#ifndef VELLUM_READER_ARCHIVE_SEARCH_H
#define VELLUM_READER_ARCHIVE_SEARCH_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vellum {

// The path to open for an archive's name: an absolute name as it is, a
// relative one in the first directory of `path` (see ReadingOptions)
// where `exists` finds it.  None when nothing of the name is there.
std::optional<std::string> resolveArchive(const std::string &name,
                                          const std::vector<std::string> &path,
                                          const std::function<bool(const std::string &)> &exists);

// The path as text for diagnostics: "dir1:dir2:.", the current directory
// as ".".
std::string archivePathText(const std::vector<std::string> &path);

}  // namespace vellum

#endif
