#include "reader/archive_search.h"

namespace vellum {

std::optional<std::string> resolveArchive(const std::string &name,
                                          const std::vector<std::string> &path,
                                          const std::function<bool(const std::string &)> &exists) {
  if (!name.empty() && name[0] == '/') {
    if (exists(name)) return name;
    return std::nullopt;
  }
  for (const std::string &directory : path) {
    const std::string candidate =
        directory.empty() ? name : directory + (directory.back() == '/' ? "" : "/") + name;
    if (exists(candidate)) return candidate;
  }
  return std::nullopt;
}

std::string archivePathText(const std::vector<std::string> &path) {
  std::string text;
  for (const std::string &directory : path)
    text += (text.empty() ? "" : ":") + (directory.empty() ? std::string(".") : directory);
  return text;
}

}  // namespace vellum
