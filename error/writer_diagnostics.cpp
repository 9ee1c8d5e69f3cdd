#include "error/writer_diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace vellum {

void reportWriterProblem(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

}  // namespace vellum
