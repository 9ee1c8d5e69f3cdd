#include "reader/stream_diff.h"

#include <memory>

#include "ri/null_context.h"

namespace vellum {

namespace {

// One stream read a request at a time, into nothing.
class PulledStream {
 public:
  PulledStream(std::vector<RibInput> inputs, RibReader::DiagnosticSink sink)
      : reader_(target_, std::move(sink)) {
    reader_.start(std::move(inputs));
  }
  bool next(RibReader::Pulled &pulled) { return reader_.next(pulled); }

 private:
  NullContext target_;
  RibReader reader_;
};

}  // namespace

StreamDiff::StreamDiff(Open a, Open b, StreamDiffOptions options, RibReader::DiagnosticSink errors)
    : openA_(std::move(a)), openB_(std::move(b)), options_(options), errorSink_(std::move(errors)) {}

// The stream's header line ("version 3.03") is not a part of the scene: a
// stream without one is the same as one with it, unless comments count.
// Nor is a Declare: what it declares is in the declarations its
// parameters are compared by.
bool StreamDiff::counts(const RibReader::Pulled &pulled) const {
  if (pulled.made || pulled.request->name == "Declare") return false;
  if (pulled.request->isComment || pulled.request->name == "version") return options_.comments;
  return true;
}

RequestDigest StreamDiff::digestOf(const RibReader::Pulled &pulled) const {
  if (pulled.request->isComment) return digestOfComment(*pulled.request);
  return vellum::digestOf(*pulled.request, [&](size_t i) { return pulled.declaration(i); });
}

void StreamDiff::digest(const Open &open, Side &side) {
  PulledStream stream(open(), [this](const Diagnostic &diagnostic) {
    if (diagnostic.warning) return;
    ++errors_;
    if (errorSink_) errorSink_(diagnostic);
  });
  const bool approximate = !options_.tolerance.exact();
  RibReader::Pulled pulled;
  while (stream.next(pulled)) {
    if (!counts(pulled)) continue;
    const RequestDigest digest = digestOf(pulled);
    side.keys.push_back(approximate ? digest.shapeKey : digest.key);
    side.lines.push_back(pulled.request->line);
  }
}

bool StreamDiff::align() {
  digest(openA_, a_);
  digest(openB_, b_);
  runs_ = alignSequences(a_.keys, b_.keys);
  return runs_.empty() || (runs_.size() == 1 && runs_[0].kind == AlignedRun::kKept);
}

bool StreamDiff::walk(const std::function<void(Step, const RibReader::Pulled *, const RibReader::Pulled *)> &visit) {
  // What the first pass told is not told again.
  PulledStream a(openA_(), nullptr), b(openB_(), nullptr);
  RibReader::Pulled pulledA, pulledB;
  auto nextOf = [this](PulledStream &stream, RibReader::Pulled &pulled) {
    while (stream.next(pulled))
      if (counts(pulled)) return true;
    return false;
  };
  bool same = true;
  for (const AlignedRun &run : runs_) {
    for (size_t k = 0; k < run.count; ++k) {
      const bool fromA = run.kind != AlignedRun::kAdded, fromB = run.kind != AlignedRun::kRemoved;
      // A stream that changed between the passes (standard input read
      // twice, a file rewritten) ends the walk where it runs out.
      if ((fromA && !nextOf(a, pulledA)) || (fromB && !nextOf(b, pulledB))) return false;
      if (run.kind == AlignedRun::kKept && sameRequest(digestOf(pulledA), digestOf(pulledB), options_.tolerance)) {
        visit(Step::kKept, &pulledA, &pulledB);
        continue;
      }
      same = false;
      if (fromA) visit(Step::kRemoved, &pulledA, nullptr);
      if (fromB) visit(Step::kAdded, nullptr, &pulledB);
    }
  }
  return same;
}

}  // namespace vellum
