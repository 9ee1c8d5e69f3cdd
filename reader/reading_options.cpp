#include "reader/reading_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

namespace vellum {

namespace {

// The parameter's name, without an inline declaration's keywords.
std::string bareName(DeclarationDictionary &declarations, const std::string &token) {
  const DeclarationDictionary::Entry *entry = declarations.lookup(token.c_str());
  if (entry != nullptr) return entry->name;
  return token.substr(std::min(token.find_first_not_of(' '), token.size()));
}

// A user option's single value as text: a string, or a number as written
// back (an integer's digits, a float's shortest text).
std::optional<std::string> valueText(const RibValue &value) {
  if (value.size() != 1) return std::nullopt;
  if (value.kind == RibValue::kStrings) return value.strings[0];
  if (value.kind != RibValue::kNumbers) return std::nullopt;
  char text[32];
  const double number = value.numberAt(0);
  if (value.allIntegers && !(number == 0 && std::signbit(number)))
    return std::string(text, std::to_chars(text, text + sizeof text, value.ints[0]).ptr);
  return std::string(text,
                     std::to_chars(text, text + sizeof text, static_cast<float>(number)).ptr);
}

}  // namespace

ArchivePath archivePathOf(const std::string &value, const ArchivePath &previous) {
  ArchivePath path;
  // A directory already searched finds nothing new; leaving it out keeps a
  // path that refers to itself ("&:&") from growing.
  std::unordered_set<std::string> seen;
  auto add = [&](const std::string &directory) {
    if (seen.insert(directory).second) path.push_back(directory);
  };
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(value.find(':', start), value.size());
    const std::string entry = value.substr(start, end - start);
    if (entry == "@") {
      add("");
    } else if (entry == "&") {
      for (const std::string &directory : previous) add(directory);
    } else if (!entry.empty()) {
      add(entry);
    }
    if (end == value.size()) break;
    start = end + 1;
  }
  if (path.empty()) path.push_back("");  // nothing named: the default
  return path;
}

ReadingOptions::ReadingOptions() : path_(std::make_shared<const ArchivePath>(ArchivePath{""})) {}

void ReadingOptions::inherit(const ReadingOptions &reader) {
  path_ = reader.path_;
  substitute_ = reader.substitute_;
  inherited_ = &reader;
}

bool ReadingOptions::isDefaultArchivePath() const {
  return path_->size() == 1 && path_->front().empty();
}

const std::string *ReadingOptions::userValue(const std::string &name) const {
  for (const ReadingOptions *options = this; options != nullptr; options = options->inherited_) {
    auto found = options->user_.find(name);
    if (found != options->user_.end()) return &found->second;
  }
  return nullptr;
}

void ReadingOptions::setUserValue(const std::string &name, std::string value) {
  auto found = user_.find(name);
  if (frame_) {
    frame_->changed.emplace_back(name, found != user_.end()
                                           ? std::optional<std::string>(found->second)
                                           : std::nullopt);
  }
  user_[name] = std::move(value);
}

uint64_t ReadingOptions::apply(DeclarationDictionary &declarations, const RibRequest &request,
                               bool paths, bool variables) {
  const std::string &option = request.operands[0].string;
  uint64_t pathBytes = 0;
  for (const RibParameter &parameter : request.parameters) {
    const RibValue &value = parameter.value;
    if (option == "user" && variables) {
      if (std::optional<std::string> text = valueText(value))
        setUserValue(bareName(declarations, parameter.token), std::move(*text));
      continue;
    }
    if (value.kind != RibValue::kStrings || value.strings.size() != 1) continue;
    const std::string name = bareName(declarations, parameter.token);
    if (option == "searchpath" && name == "archive" && paths) {
      auto path = std::make_shared<const ArchivePath>(archivePathOf(value.strings[0], *path_));
      for (const std::string &directory : *path) pathBytes += directory.size() + 1;
      path_ = std::move(path);
    } else if (option == "ribparse" && name == "varsubst" && variables) {
      substitute_ = value.strings[0] == "$";
    }
  }
  return pathBytes;
}

void ReadingOptions::frameBegin() { frame_ = Frame{path_, substitute_, {}}; }

void ReadingOptions::frameEnd() {
  if (!frame_) return;
  path_ = std::move(frame_->path);
  substitute_ = frame_->substitute;
  for (auto change = frame_->changed.rbegin(); change != frame_->changed.rend(); ++change) {
    if (change->second) user_[change->first] = std::move(*change->second);
    else user_.erase(change->first);
  }
  frame_.reset();
}

}  // namespace vellum
