// ribdiff: two RIB streams compared request by request (reader/stream_diff.h),
// shown as a unified diff over requests.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "reader/gzip_source.h"
#include "reader/request_text.h"
#include "reader/stream_diff.h"
#include "tools/rib_input.h"

namespace {

const char kUsage[] =
    "usage: ribdiff [-q] [--stat] [-U N] [--rel R] [--abs A] [--comments] A B\n"
    "\n"
    "Reads two RIB streams (ASCII or binary, plain or gzip-compressed; \"-\" is\n"
    "standard input) and compares them request by request: numbers as floats,\n"
    "parameters by their declaration and name, strings exactly; comments,\n"
    "line breaks, number formatting and the order of parameters do not count.\n"
    "Prints the requests that differ as a unified diff over requests.\n"
    "\n"
    "  -U N        N requests of context around each change (3 by default)\n"
    "  -q          say only whether the streams differ (also --brief)\n"
    "  --stat      print the requests that differ counted by name\n"
    "  --rel R     numbers within R of the larger one's magnitude are equal\n"
    "  --abs A     numbers within A of each other are equal\n"
    "  --comments  comments and the version line count as requests\n"
    "  --version   show the version\n"
    "  --help      show this text\n"
    "\n"
    "Exit status: 0 when the streams are the same, 1 when they differ, 2 when\n"
    "one cannot be read or has errors (each told with its file and line), or\n"
    "for a usage error.\n";

int usageError(const std::string &message) {
  std::fprintf(stderr, "ribdiff: %s\n%s", message.c_str(), kUsage);
  return 2;
}

bool parseNumber(const char *text, double *value) {
  char *end = nullptr;
  *value = std::strtod(text, &end);
  return end != text && *end == '\0' && *value >= 0;
}

// A stream that can be opened again for each pass: a file by its name, or
// standard input kept in memory once read.
class Stream {
 public:
  explicit Stream(std::string name) : name_(std::move(name)) {}
  // Reads standard input, or makes sure the file opens; false after
  // telling why not.
  bool prepare() {
    if (name_ != "-") {
      vellum::RibInput input;
      return vellum::openRibInput(name_, &input);
    }
    char buffer[1 << 16];
    for (ssize_t got; (got = ::read(STDIN_FILENO, buffer, sizeof buffer)) != 0;) {
      if (got < 0) {
        std::fprintf(stderr, "ribdiff: reading standard input failed\n");
        return false;
      }
      bytes_.append(buffer, static_cast<size_t>(got));
    }
    return true;
  }
  std::vector<vellum::RibInput> open() const {
    std::vector<vellum::RibInput> inputs(1);
    if (name_ == "-") {
      inputs[0] = {"<stdin>", vellum::decompressing(std::make_unique<vellum::MemorySource>(bytes_))};
    } else if (!vellum::openRibInput(name_, &inputs[0])) {
      inputs.clear();
    }
    return inputs;
  }
  const std::string &name() const { return name_; }

 private:
  std::string name_;
  std::string bytes_;
};

// A request's text for the diff: as it was read, floats in their shortest
// form, on one line; arrays of more than kMostShown values shortened in
// the middle.
constexpr size_t kMostShown = 10;

std::string shortened(const std::string &text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    if (text[at] == '"') {  // a string, escapes and all
      size_t end = at + 1;
      while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
      end = std::min(end + 1, text.size());
      out.append(text, at, end - at);
      at = end;
      continue;
    }
    if (text[at] != '[') {
      out.push_back(text[at++]);
      continue;
    }
    // The values of an array, each a number or a string.
    std::vector<std::string> values;
    size_t end = at + 1;
    while (end < text.size() && text[end] != ']') {
      if (text[end] == ' ') {
        ++end;
        continue;
      }
      size_t valueEnd = end;
      if (text[end] == '"') {
        ++valueEnd;
        while (valueEnd < text.size() && text[valueEnd] != '"') valueEnd += text[valueEnd] == '\\' ? 2 : 1;
        valueEnd = std::min(valueEnd + 1, text.size());
      } else {
        while (valueEnd < text.size() && text[valueEnd] != ' ' && text[valueEnd] != ']') ++valueEnd;
      }
      values.push_back(text.substr(end, valueEnd - end));
      end = valueEnd;
    }
    out.push_back('[');
    for (size_t i = 0; i < values.size(); ++i) {
      if (values.size() > kMostShown && i == kMostShown - 3) {
        out += "... ";
        i = values.size() - 3;
      }
      out += values[i];
      if (i + 1 < values.size()) out.push_back(' ');
    }
    out.push_back(']');
    at = std::min(end + 1, text.size());
  }
  return out;
}

std::string textOf(const vellum::RibReader::Pulled &pulled) {
  const vellum::RibRequest &request = *pulled.request;
  if (request.isComment) return (request.structure ? "##" : "#") + request.comment;
  std::string text = vellum::requestText(request);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return shortened(text);
}

// Hunks written as the walk goes: context before a change is kept in a
// ring, after one until 2 x context requests pass without another; the
// removed and added requests of a change come out removed first.
class UnifiedPrinter {
 public:
  UnifiedPrinter(const std::string &nameA, const std::string &nameB, size_t context)
      : nameA_(nameA), nameB_(nameB), context_(context) {}

  void kept(const vellum::RibReader::Pulled &a, const vellum::RibReader::Pulled &b) {
    flushChange();
    if (open_ && context_ == 0) closeHunk();
    lastLineA_ = a.request->line;
    lastLineB_ = b.request->line;
    Line line{' ', textOf(a), a.request->line, b.request->line};
    if (!open_) {
      if (context_ == 0) return;
      leading_.push_back(std::move(line));
      if (leading_.size() > context_) leading_.pop_front();
      return;
    }
    hunk_.push_back(std::move(line));
    if (++trailing_ == 2 * context_) {
      // The last `context_` of them may lead the next hunk.
      std::deque<Line> next(hunk_.end() - static_cast<long>(context_), hunk_.end());
      hunk_.resize(hunk_.size() - context_);
      closeHunk();
      leading_ = std::move(next);
    }
  }
  void removed(const vellum::RibReader::Pulled &a) {
    openHunk();
    removed_.push_back({'-', textOf(a), a.request->line, 0});
  }
  void added(const vellum::RibReader::Pulled &b) {
    openHunk();
    added_.push_back({'+', textOf(b), 0, b.request->line});
  }
  void finish() {
    flushChange();
    if (!open_) return;
    while (trailing_ > context_) {
      hunk_.pop_back();
      --trailing_;
    }
    closeHunk();
  }

 private:
  struct Line {
    char mark;
    std::string text;
    int lineA, lineB;  // 0 where the request is not of that stream
  };

  void openHunk() {
    if (!headerDone_) {
      std::printf("--- %s\n+++ %s\n", nameA_.c_str(), nameB_.c_str());
      headerDone_ = true;
    }
    if (open_) {
      trailing_ = 0;
      return;
    }
    open_ = true;
    trailing_ = 0;
    hunk_.assign(leading_.begin(), leading_.end());
    leading_.clear();
  }
  void flushChange() {
    for (Line &line : removed_) hunk_.push_back(std::move(line));
    for (Line &line : added_) hunk_.push_back(std::move(line));
    removed_.clear();
    added_.clear();
  }
  // "@@ A:LINE B:LINE @@": each stream's line of its first request in the
  // hunk, or, without one, of the request before it.
  void closeHunk() {
    int firstA = 0, firstB = 0;
    for (const Line &line : hunk_) {
      if (firstA == 0 && line.lineA != 0) firstA = line.lineA;
      if (firstB == 0 && line.lineB != 0) firstB = line.lineB;
    }
    std::printf("@@ %s:%d %s:%d @@\n", nameA_.c_str(), firstA != 0 ? firstA : lastLineA_, nameB_.c_str(),
                firstB != 0 ? firstB : lastLineB_);
    for (const Line &line : hunk_) std::printf("%c %s\n", line.mark, line.text.c_str());
    hunk_.clear();
    open_ = false;
  }

  const std::string &nameA_, &nameB_;
  const size_t context_;
  bool headerDone_ = false;
  bool open_ = false;
  size_t trailing_ = 0;  // context lines since the last change
  std::deque<Line> leading_;
  std::vector<Line> hunk_, removed_, added_;
  int lastLineA_ = 0, lastLineB_ = 0;
};

}  // namespace

int main(int argc, char **argv) {
  bool brief = false, stat = false;
  size_t context = 3;
  vellum::StreamDiffOptions options;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char * { return ++i < argc ? argv[i] : nullptr; };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return vellum::standardOutputFlushed("ribdiff") ? 0 : 2;
    } else if (arg == "--version") {
      vellum::printVersion("ribdiff");
      return vellum::standardOutputFlushed("ribdiff") ? 0 : 2;
    } else if (arg == "-q" || arg == "--brief") {
      brief = true;
    } else if (arg == "--stat") {
      stat = true;
    } else if (arg == "--comments") {
      options.comments = true;
    } else if (arg == "-U") {
      const char *text = value();
      double lines;
      if (text == nullptr || !parseNumber(text, &lines) || lines != static_cast<size_t>(lines) || lines > 1e6)
        return usageError("-U needs a number of requests");
      context = static_cast<size_t>(lines);
    } else if (arg == "--rel" || arg == "--abs") {
      const char *text = value();
      double tolerance;
      if (text == nullptr || !parseNumber(text, &tolerance))
        return usageError(arg + " needs a number not below 0");
      (arg == "--rel" ? options.tolerance.relative : options.tolerance.absolute) = tolerance;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option " + arg);
    } else {
      names.push_back(arg);
    }
  }
  if (names.size() != 2) return usageError("two streams are compared, A and B");
  if (names[0] == "-" && names[1] == "-") return usageError("only one of A and B can be standard input");
  Stream a(names[0]), b(names[1]);
  if (!a.prepare() || !b.prepare()) return 2;

  vellum::StreamDiff diff([&] { return a.open(); }, [&] { return b.open(); }, options, vellum::printDiagnostic);
  bool same = diff.align();
  // Exact keys that agree need no second reading to be believed; with a
  // tolerance, or to show what differs, the streams are read again.
  if (!brief || !same || !options.tolerance.exact()) {
    if (stat || brief) {
      std::map<std::string, std::pair<long, long>> counts;  // removed, added
      same = diff.walk([&](vellum::StreamDiff::Step step, const vellum::RibReader::Pulled *pa,
                           const vellum::RibReader::Pulled *pb) {
        if (step == vellum::StreamDiff::Step::kRemoved)
          ++counts[pa->request->isComment ? "#" : pa->request->name].first;
        if (step == vellum::StreamDiff::Step::kAdded)
          ++counts[pb->request->isComment ? "#" : pb->request->name].second;
      });
      if (stat) {
        std::vector<std::pair<std::string, std::pair<long, long>>> rows(counts.begin(), counts.end());
        std::stable_sort(rows.begin(), rows.end(), [](const auto &x, const auto &y) {
          return x.second.first + x.second.second > y.second.first + y.second.second;
        });
        long removed = 0, added = 0;
        for (const auto &[name, count] : rows) {
          std::printf("%s: %ld removed, %ld added\n", name.c_str(), count.first, count.second);
          removed += count.first;
          added += count.second;
        }
        std::printf("%ld request%s removed, %ld added\n", removed, removed == 1 ? "" : "s", added);
      }
    } else {
      UnifiedPrinter printer(a.name(), b.name(), context);
      same = diff.walk([&](vellum::StreamDiff::Step step, const vellum::RibReader::Pulled *pa,
                           const vellum::RibReader::Pulled *pb) {
        if (step == vellum::StreamDiff::Step::kKept) printer.kept(*pa, *pb);
        else if (step == vellum::StreamDiff::Step::kRemoved) printer.removed(*pa);
        else printer.added(*pb);
      });
      printer.finish();
    }
  }
  if (brief && !same) std::printf("Streams %s and %s differ\n", a.name().c_str(), b.name().c_str());
  if (!vellum::standardOutputFlushed("ribdiff") || diff.errors() > 0) return 2;
  return same ? 0 : 1;
}
