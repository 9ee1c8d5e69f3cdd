// ribcat: reads RIB and writes it again through vellum.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "reader/rib_replayer.h"
#include "ri.h"
#include "tools/rib_input.h"

namespace {

const char kUsage[] =
    "usage: ribcat [-b] [-o FILE] [FILE...]\n"
    "\n"
    "Reads RIB (ASCII or binary, plain or gzip-compressed) from the files, or\n"
    "from standard input when none is named or a name is \"-\", checks every\n"
    "request, and writes the valid ones again through the vellum library.\n"
    "\n"
    "  -b        write binary RIB (floats as binary tokens) instead of ASCII\n"
    "  -o FILE   write to FILE instead of standard output\n"
    "  --help    show this text\n"
    "\n"
    "Errors go to standard error as FILE:LINE: message; a bad request is left\n"
    "out and reading goes on.  Exit status: 0 when the input was valid, 1 when\n"
    "it had errors, 2 for a usage error.\n";

int usageError(const char *message) {
  std::fprintf(stderr, "ribcat: %s\n%s", message, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  bool binary = false;
  std::string output;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "-b") {
      binary = true;
    } else if (arg == "-o") {
      if (++i == argc) return usageError("-o needs a file name");
      output = argv[i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError(("unknown option " + arg).c_str());
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) inputs.push_back("-");

  RtInt format = binary ? 1 : 0;
  RiOption(const_cast<char *>("rib"), "binary", &format, RI_NULL);
  // The output is a file even when its name looks like a renderer program
  // or a command.
  if (!output.empty() && output.find('/') == std::string::npos) output = "./" + output;
  RiBegin(output.empty() ? RI_NULL : const_cast<char *>(output.c_str()));
  vellum::RibReplayer replayer;
  int errors = vellum::readRibInputs(inputs, [&](const vellum::RibRequest &request) {
    replayer.replay(request);
  });
  RiEnd();
  return errors == 0 ? 0 : 1;
}
