#include "tools/rib_input.h"

#include <cstdio>

#include "reader/byte_source.h"
#include "reader/rib_parser.h"

namespace vellum {

int readRibInputs(const std::vector<std::string> &inputs,
                  const std::function<void(const RibRequest &)> &visit) {
  int errors = 0;
  for (const std::string &input : inputs) {
    const std::string shownName = input == "-" ? "<stdin>" : input;
    std::string error;
    std::unique_ptr<ByteSource> source = openByteSource(input, &error);
    if (source == nullptr) {
      std::fprintf(stderr, "%s: %s\n", shownName.c_str(), error.c_str());
      ++errors;
      continue;
    }
    RibParser parser(*source, shownName, [](const std::string &message) {
      std::fprintf(stderr, "%s\n", message.c_str());
    });
    RibRequest request;
    while (parser.next(request)) visit(request);
    errors += parser.errorCount();
  }
  return errors;
}

}  // namespace vellum
