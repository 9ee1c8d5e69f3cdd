#include "tools/summary_report.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

namespace vellum {

namespace {

std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *pattern, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, pattern);
  std::vsnprintf(text, sizeof text, pattern, arguments);
  va_end(arguments);
  return text;
}

// A JSON string of `text`: RIB names and paths are bytes, so a byte that
// is not part of UTF-8 becomes U+FFFD, and control characters are escaped.
std::string jsonString(const std::string &text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
      else if (c < 0x20 || c == 0x7f) out += format("\\u%04x", c);
      else out += static_cast<char>(c);
      ++i;
      continue;
    }
    // The length a lead byte announces, and the least code point of that
    // length (shorter forms and surrogates are not UTF-8).
    const size_t length = c >= 0xf0 && c <= 0xf4 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 && c < 0xe0 ? 2 : 0;
    uint32_t point = length == 4 ? c & 0x07 : length == 3 ? c & 0x0f : c & 0x1f;
    bool valid = length != 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xc0) == 0x80;
      point = point << 6 | (next & 0x3f);
    }
    if (valid && length == 3) valid = point >= 0x800 && (point < 0xd800 || point > 0xdfff);
    if (valid && length == 4) valid = point >= 0x10000 && point <= 0x10ffff;
    if (!valid) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    out.append(text, i, length);
    i += length;
  }
  return out + "\"";
}

// A JSON array of `items`, each an object made by `object`.
template <typename Items, typename Object>
std::string jsonArray(const Items &items, const Object &object) {
  std::string out = "[";
  const char *comma = "";
  for (const auto &item : items) {
    out += comma + object(item);
    comma = ", ";
  }
  return out + "]";
}

std::string fileJson(const FileSummary &file) {
  const StreamSummary &s = file.summary;
  using Named = std::pair<std::string, StreamSummary::ByName>;
  using Kind = std::pair<const std::string, StreamSummary::Primitives>;
  using Archive = std::pair<const std::string, StreamSummary::Archive>;
  return "{\"file\": " + jsonString(file.file) +
         format(", \"requests\": %" PRId64 ", \"bytes\": %" PRIu64 ", \"by_request\": ", s.requests(), s.bytes()) +
         jsonArray(s.byName(),
                   [](const Named &row) {
                     return "{\"name\": " + jsonString(row.first) +
                            format(", \"count\": %" PRId64 ", \"bytes\": %" PRIu64 "}", row.second.count,
                                   row.second.bytes);
                   }) +
         ", \"primitives\": " +
         jsonArray(s.primitives(),
                   [](const Kind &kind) {
                     const StreamSummary::Primitives &p = kind.second;
                     return "{\"kind\": " + jsonString(kind.first) +
                            format(", \"count\": %" PRId64 ", \"vertices\": %" PRId64 ", \"faces\": %" PRId64
                                   ", \"curves\": %" PRId64 ", \"points\": %" PRId64 "}",
                                   p.count, p.vertices, p.faces, p.curves, p.points);
                   }) +
         format(", \"frames\": %" PRId64 ", \"worlds\": %" PRId64 ", \"lights\": %" PRId64
                ", \"objects\": %" PRId64 ", \"instances\": %" PRId64 ", \"archives\": ",
                s.frames(), s.worlds(), s.lights(), s.objects(), s.instances()) +
         jsonArray(s.archives(),
                   [](const Archive &archive) {
                     return "{\"path\": " + jsonString(archive.first) +
                            format(", \"reads\": %" PRId64 ", \"bytes\": %" PRIu64 "}", archive.second.reads,
                                   archive.second.bytes);
                   }) +
         ", \"largest\": " +
         jsonArray(s.largest(),
                   [](const StreamSummary::Large &large) {
                     return "{\"name\": " + jsonString(large.name) +
                            format(", \"line\": %d, \"bytes\": %" PRIu64 "}", large.line, large.bytes);
                   }) +
         "}";
}

}  // namespace

std::string summaryText(const FileSummary &file) {
  const StreamSummary &s = file.summary;
  std::string out = format("%s: %" PRId64 " request%s, %" PRIu64 " bytes\n", file.file.c_str(), s.requests(),
                           s.requests() == 1 ? "" : "s", s.bytes());
  out += "  requests by bytes:\n";
  out += format("  %12s %14s  %s\n", "count", "bytes", "request");
  for (const auto &[name, row] : s.byName())
    out += format("  %12" PRId64 " %14" PRIu64 "  ", row.count, row.bytes) + name + "\n";
  out += "  primitives:\n";
  if (s.primitives().empty()) {
    out += "    none\n";
  } else {
    out += format("  %12s %14s %12s %12s %12s  %s\n", "count", "vertices", "faces", "curves", "points", "kind");
    for (const auto &[name, p] : s.primitives())
      out += format("  %12" PRId64 " %14" PRId64 " %12" PRId64 " %12" PRId64 " %12" PRId64 "  ", p.count,
                    p.vertices, p.faces, p.curves, p.points) + name + "\n";
  }
  out += format("  frames %" PRId64 ", worlds %" PRId64 ", lights %" PRId64 ", objects %" PRId64
                ", instances %" PRId64 "\n",
                s.frames(), s.worlds(), s.lights(), s.objects(), s.instances());
  out += "  archives read:\n";
  if (s.archives().empty()) {
    out += "    none\n";
  } else {
    out += format("  %12s %14s  %s\n", "reads", "bytes", "path");
    for (const auto &[path, archive] : s.archives())
      out += format("  %12" PRId64 " %14" PRIu64 "  ", archive.reads, archive.bytes) + path + "\n";
  }
  out += "  largest requests:\n";
  for (const StreamSummary::Large &large : s.largest())
    out += format("  %12" PRIu64 " bytes  ", large.bytes) + large.name + " at " + file.file + ":" +
           std::to_string(large.line) + "\n";
  return out;
}

std::string summariesJson(const std::vector<FileSummary> &files) {
  return "{\"files\": " + jsonArray(files, fileJson) + "}\n";
}

}  // namespace vellum
