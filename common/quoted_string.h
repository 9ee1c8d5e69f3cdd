// Strings in RIB text: quoted strings and comment lines.  `Out` is any
// byte sink with push_back(char) and append(first, last): a std::string,
// or the writer's output buffer.
#ifndef VELLUM_COMMON_QUOTED_STRING_H
#define VELLUM_COMMON_QUOTED_STRING_H

#include <string>

namespace vellum {

// Appends `text` between double quotes, escaping the bytes that could end
// the string or the line early: \" \\ \n \r.  Every other byte is written as
// it is.  A null text is the empty string.
template <typename Out>
void appendQuoted(Out &out, const char *text) {
  out.push_back('"');
  if (text != nullptr) {
    const char *run = text;
    const char *p = text;
    for (; *p != '\0'; ++p) {
      const char *escape;
      switch (*p) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        default: continue;
      }
      out.append(run, p);
      out.append(escape, escape + 2);
      run = p + 1;
    }
    out.append(run, p);
  }
  out.push_back('"');
}

// Appends `text` as comment lines that each start with `prefix` ("# " or
// "##"): after every line end inside the text the prefix is repeated, so
// the text cannot leave the comment.  A line end at the very end of the
// text starts no further line.  No line end is added.
template <typename Out>
void appendCommentText(Out &out, const char *prefix, const std::string &text) {
  const std::string start(prefix);
  out.append(start.data(), start.data() + start.size());
  const char *data = text.data();
  const size_t size = text.size();
  size_t from = 0;
  for (size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (c != '\n' && c != '\r') continue;
    // "\r\n" is one line end.
    if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    out.append(data + from, data + i + 1);
    from = i + 1;
    if (from < size) out.append(start.data(), start.data() + start.size());
  }
  out.append(data + from, data + size);
}

}  // namespace vellum

#endif
