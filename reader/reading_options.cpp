#include "reader/reading_options.h"

#include <algorithm>

namespace vellum {

namespace {

void addDirectory(std::vector<std::string> &path, const std::string &directory) {
  // A directory already searched finds nothing new; leaving it out keeps a
  // path that refers to itself ("&:&") from growing without end.
  if (std::find(path.begin(), path.end(), directory) == path.end()) path.push_back(directory);
}

// The parameter's name, without an inline declaration's keywords.
std::string bareName(DeclarationDictionary &declarations, const std::string &token) {
  const DeclarationDictionary::Entry *entry = declarations.lookup(token.c_str());
  if (entry != nullptr) return entry->name;
  return token.substr(std::min(token.find_first_not_of(' '), token.size()));
}

}  // namespace

std::vector<std::string> archivePathOf(const std::string &value,
                                       const std::vector<std::string> &previous) {
  std::vector<std::string> path;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(value.find(':', start), value.size());
    const std::string entry = value.substr(start, end - start);
    if (entry == "@") {
      addDirectory(path, "");
    } else if (entry == "&") {
      for (const std::string &directory : previous) addDirectory(path, directory);
    } else if (!entry.empty()) {
      addDirectory(path, entry);
    }
    if (end == value.size()) break;
    start = end + 1;
  }
  if (path.empty()) path.push_back("");  // nothing named: the default
  return path;
}

void applyOption(ReadingOptions &options, DeclarationDictionary &declarations,
                 const RibRequest &request) {
  const std::string &name = request.operands[0].string;
  for (const RibParameter &parameter : request.parameters) {
    const RibValue &value = parameter.value;
    if (value.kind != RibValue::kStrings || value.strings.size() != 1) continue;
    if (name == "searchpath" && bareName(declarations, parameter.token) == "archive")
      options.archivePath = archivePathOf(value.strings[0], options.archivePath);
  }
}

}  // namespace vellum
