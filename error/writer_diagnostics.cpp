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

std::optional<std::string> formattedText(const char *format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int size = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (size < 0) return std::nullopt;
  std::string text(static_cast<size_t>(size), '\0');
  va_list again;
  va_copy(again, args);
  std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

void reportWriterProblem(const char *format, ...) {
  va_list args;
  va_start(args, format);
  if (sink == nullptr) {
    std::vfprintf(stderr, format, args);
  } else {
    const std::string text = formattedText(format, args).value_or("");
    sink(text.data(), text.size(), sinkData);
  }
  va_end(args);
}

}  // namespace vellum
