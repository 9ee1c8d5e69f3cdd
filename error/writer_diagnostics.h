// The RIB writer's own diagnostics: problems with what a client asked it to
// write (an undeclared parameter, a failed write, ...).  They go to
// standard error as they are, do not pass through the error handlers, and
// never stop the client.
#ifndef VELLUM_ERROR_WRITER_DIAGNOSTICS_H
#define VELLUM_ERROR_WRITER_DIAGNOSTICS_H

namespace vellum {

// Prints one diagnostic, formatted as printf formats: the text carries its
// own prefix ("libvellum error: ...") and line end.
void reportWriterProblem(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vellum

#endif
