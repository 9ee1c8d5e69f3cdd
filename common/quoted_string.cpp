#include "common/quoted_string.h"

#include <cstring>

namespace vellum {

void appendQuoted(std::string &out, const char *text) {
  out.push_back('"');
  if (text != nullptr) {
    const char *run = text;
    for (const char *p = text; *p != '\0'; ++p) {
      const char *escape = nullptr;
      switch (*p) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        default: continue;
      }
      out.append(run, p);
      out.append(escape);
      run = p + 1;
    }
    out.append(run);
  }
  out.push_back('"');
}

void appendCommentText(std::string &out, const char *prefix, const std::string &text) {
  out.append(prefix);
  const size_t size = text.size();
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    const char c = text[i];
    if (c != '\n' && c != '\r') continue;
    // "\r\n" is one line end.
    if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
    out.append(text, start, i + 1 - start);
    start = i + 1;
    if (start < size) out.append(prefix);
  }
  out.append(text, start, size - start);
}

}  // namespace vellum
