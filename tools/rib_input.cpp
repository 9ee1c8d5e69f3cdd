#include "tools/rib_input.h"

#include <cstdio>

namespace vellum {

bool openRibInput(const std::string &name, RibInput *input) {
  input->name = name == "-" ? "<stdin>" : name;
  std::string error;
  input->source = openByteSource(name, &error);
  if (input->source != nullptr) return true;
  std::fprintf(stderr, "%s: %s\n", input->name.c_str(), error.c_str());
  return false;
}

void printDiagnostic(const Diagnostic &diagnostic) {
  std::fprintf(stderr, "%s\n", diagnostic.text().c_str());
}

void printVersion(const char *program) { std::printf("%s (vellum %s)\n", program, VELLUM_VERSION); }

}  // namespace vellum
