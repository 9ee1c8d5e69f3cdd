// qview: a stand-in renderer program.  It reads RIB from standard input or
// from the files named on its command line, checks every request, and says
// on standard error what it found.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/rib_input.h"

namespace {

const char kUsage[] =
    "usage: qview [-v] [FILE...]\n"
    "\n"
    "Reads RIB (ASCII or binary, plain or gzip-compressed) from the files, or\n"
    "from standard input, checks every request and prints a summary on\n"
    "standard error.  -v lists every request read.  Exit status: 0 when the\n"
    "input was valid, 1 when it had errors, 2 for a usage error.\n";

}  // namespace

int main(int argc, char **argv) {
  bool verbose = false;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "-v") {
      verbose = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "qview: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) inputs.push_back("-");

  long requests = 0, worlds = 0, primitives = 0;
  const std::map<std::string, bool> kPrimitives = {
      {"Polygon", true}, {"GeneralPolygon", true}, {"PointsPolygons", true},
      {"PointsGeneralPolygons", true}, {"Patch", true}, {"PatchMesh", true}, {"NuPatch", true},
      {"Cone", true}, {"Cylinder", true}, {"Disk", true}, {"Hyperboloid", true},
      {"Paraboloid", true}, {"Sphere", true}, {"Torus", true}, {"Curves", true},
      {"Points", true}, {"SubdivisionMesh", true}, {"Blobby", true}, {"Procedural", true},
      {"Geometry", true}};
  int errors = vellum::readRibInputs(inputs, [&](const vellum::RibRequest &request) {
    if (request.isComment) return;
    ++requests;
    worlds += request.name == "WorldBegin";
    primitives += kPrimitives.count(request.name) != 0;
    if (verbose) std::fprintf(stderr, "%d: %s\n", request.line, request.name.c_str());
  });
  std::fprintf(stderr, "qview: %ld requests, %ld world%s, %ld primitive%s, %d error%s\n", requests,
               worlds, worlds == 1 ? "" : "s", primitives, primitives == 1 ? "" : "s", errors,
               errors == 1 ? "" : "s");
  return errors == 0 ? 0 : 1;
}
