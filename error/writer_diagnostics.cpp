#include "error/writer_diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace vellum {

namespace {
DiagnosticSink sink = nullptr;
void *sinkData = nullptr;
}  // namespace

void setDiagnosticSink(DiagnosticSink newSink, void *data) {
  sink = newSink;
  sinkData = data;
}

void emitDiagnostic(const char *text, size_t size) {
  if (sink != nullptr) {
    sink(text, size, sinkData);
    return;
  }
  std::fwrite(text, 1, size, stderr);
}

void reportWriterProblem(const char *format, ...) {
  va_list args;
  va_start(args, format);
  if (sink == nullptr) {
    std::vfprintf(stderr, format, args);
    va_end(args);
    return;
  }
  va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  sink(text.data(), text.size(), sinkData);
}

}  // namespace vellum
