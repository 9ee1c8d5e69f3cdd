// qview: a stand-in renderer program.  It reads RIB from standard input or
// from the files named on its command line, checks every request, and says
// on standard error what it found.  Each file is checked on its own.
#include <cstdio>
#include <string>
#include <vector>

#include "ri/null_context.h"
#include "tools/rib_input.h"

namespace {

const char kUsage[] =
    "usage: qview [-v] [--strict] [FILE...]\n"
    "\n"
    "Reads RIB (ASCII or binary, plain or gzip-compressed) from the files, or\n"
    "from standard input, checks every request and prints a summary on\n"
    "standard error.  Each file is checked on its own.\n"
    "\n"
    "  -v         list every request read on standard output\n"
    "  --strict   count warnings as errors\n"
    "  --version  show the version\n"
    "  --help     show this text\n"
    "\n"
    "Exit status: 0 when the input was valid, 1 when it had errors (or, with\n"
    "--strict, warnings), 2 for a usage error.\n";

}  // namespace

int main(int argc, char **argv) {
  bool verbose = false;
  vellum::RibReader::Options options;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      vellum::printVersion("qview");
      return 0;
    } else if (arg == "-v") {
      verbose = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "qview: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      names.push_back(arg);
    }
  }
  if (names.empty()) names.push_back("-");

  long requests = 0, worlds = 0, primitives = 0, errors = 0, warnings = 0;
  for (const std::string &name : names) {
    vellum::RibInput input;
    if (!vellum::openRibInput(name, &input)) {
      ++errors;
      continue;
    }
    const std::string shownName = input.name;
    vellum::NullContext checker;
    vellum::RibReader reader(checker, vellum::printDiagnostic, options);
    reader.setObserver([&](const vellum::RequestRow &row, const vellum::RibRequest &request) {
      ++requests;
      worlds += request.name == "WorldBegin";
      primitives += (row.flags & vellum::kPrimitive) != 0;
      if (verbose) std::printf("%s:%d: %s\n", shownName.c_str(), request.line, request.name.c_str());
    });
    std::vector<vellum::RibInput> inputs;
    inputs.push_back(std::move(input));
    reader.read(std::move(inputs));
    errors += reader.errors();
    warnings += reader.warnings();
  }
  std::fprintf(stderr, "qview: %ld requests, %ld world%s, %ld primitive%s, %ld error%s", requests,
               worlds, worlds == 1 ? "" : "s", primitives, primitives == 1 ? "" : "s", errors,
               errors == 1 ? "" : "s");
  if (warnings > 0) std::fprintf(stderr, ", %ld warning%s", warnings, warnings == 1 ? "" : "s");
  std::fputc('\n', stderr);
  return errors == 0 ? 0 : 1;
}
