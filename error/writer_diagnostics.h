// The library's diagnostics: the RIB writer's own (problems with what a
// client asked it to write: an undeclared parameter, a failed write, ...)
// and the reports of the standard error handlers.  They go to standard
// error unless a program that embeds the library routes them elsewhere;
// the writer's never pass through the error handlers nor stop the client.
#ifndef VELLUM_ERROR_WRITER_DIAGNOSTICS_H
#define VELLUM_ERROR_WRITER_DIAGNOSTICS_H

#include <cstdarg>
#include <cstddef>
#include <optional>
#include <string>

namespace vellum {

// What printf would print for `format` and `args` (which stay unused, for
// the caller to end), of any length; nothing when the format cannot be
// printed.
std::optional<std::string> formattedText(const char *format, va_list args);

// Prints one diagnostic, formatted as printf formats: the text carries its
// own prefix ("libvellum error: ...") and line end.
void reportWriterProblem(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Where diagnostics go instead of standard error: a function that gets
// each whole report, line ends included, with the data it was set with.
// Process-wide; null (the default) is standard error.  A binding to another
// language uses it to turn them into that language's warnings.
using DiagnosticSink = void (*)(const char *text, size_t size, void *data);
void setDiagnosticSink(DiagnosticSink sink, void *data);
// Hands one whole report to the sink, or writes it to standard error.
void emitDiagnostic(const char *text, size_t size);

}  // namespace vellum

#endif
