#include "reader/variables.h"

#include <cstring>

namespace vellum {

namespace {

bool startsName(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool inName(char c) { return startsName(c) || (c >= '0' && c <= '9'); }

// The end of a plain name starting at `at`, or `at` when none starts there.
size_t nameEnd(const std::string &text, size_t at) {
  if (at >= text.size() || !startsName(text[at])) return at;
  while (at < text.size() && inName(text[at])) ++at;
  return at;
}

}  // namespace

Substitution substituteVariables(const std::string &text, const VariableValue &value,
                                 const std::function<void(const std::string &)> &unset,
                                 size_t mostLength, std::string *out) {
  out->clear();
  size_t done = 0;  // text before this is in `out`
  // Appends text[from, from + count) or `found`, unless that makes `out`
  // too long.
  auto fits = [&](size_t more) { return more <= mostLength && out->size() <= mostLength - more; };
  for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 1)) {
    std::string name;
    size_t end;  // one past the reference
    if (at + 1 < text.size() && text[at + 1] == '{') {
      const size_t close = text.find('}', at + 2);
      if (close == std::string::npos) break;
      name = text.substr(at + 2, close - at - 2);
      end = close + 1;
    } else {
      end = nameEnd(text, at + 1);
      if (end == at + 1) continue;
      const bool user = text.compare(at + 1, end - at - 1, "user") == 0;
      if (user && end < text.size() && text[end] == ':' && nameEnd(text, end + 1) > end + 1)
        end = nameEnd(text, end + 1);
      name = text.substr(at + 1, end - at - 1);
    }
    const bool userOnly = name.compare(0, 5, "user:") == 0;
    const char *found = value(userOnly ? name.substr(5) : name, userOnly);
    if (found == nullptr) {
      unset(text.substr(at, end - at));
    } else {
      const size_t length = std::strlen(found);
      if (!fits(at - done) || !fits(at - done + length)) return Substitution::kTooLong;
      out->append(text, done, at - done);
      out->append(found, length);
      done = end;
    }
    at = end - 1;
  }
  if (done == 0) return Substitution::kNone;
  if (!fits(text.size() - done)) return Substitution::kTooLong;
  out->append(text, done, std::string::npos);
  return Substitution::kMade;
}

}  // namespace vellum
