#include "tools/rib_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vellum {

bool openRibInput(const std::string &name, RibInput *input) {
  input->name = name == "-" ? "<stdin>" : name;
  std::string error;
  const int fd = name == "-" ? dup(STDIN_FILENO) : open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    input->identity = fileIdentity(fd);
    input->source = openByteSource(fd, &error);
  } else {
    error = std::strerror(errno);
  }
  if (input->source != nullptr) return true;
  std::fprintf(stderr, "%s: %s\n", input->name.c_str(), error.c_str());
  return false;
}

void printDiagnostic(const Diagnostic &diagnostic) {
  std::fprintf(stderr, "%s\n", diagnostic.text().c_str());
}

void printVersion(const char *program) { std::printf("%s (vellum %s)\n", program, VELLUM_VERSION); }

bool standardOutputFlushed(const char *program) {
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && std::ferror(stdout) == 0) return true;
  // A write that failed earlier left the error flag, but its reason is gone.
  if (flushed) std::fprintf(stderr, "%s: writing standard output failed\n", program);
  else std::fprintf(stderr, "%s: writing standard output failed: %s\n", program, std::strerror(errno));
  return false;
}

}  // namespace vellum
