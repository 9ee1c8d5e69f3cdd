// What ribcat and qview share: the inputs named on the command line (or
// standard input), each read through the RIB parser.
#ifndef VELLUM_TOOLS_RIB_INPUT_H
#define VELLUM_TOOLS_RIB_INPUT_H

#include <functional>
#include <string>
#include <vector>

#include "reader/rib_request.h"

namespace vellum {

// Reads every input in turn ("-" is standard input) and hands each valid
// request to `visit`; diagnostics go to standard error as "file:line: ...".
// Returns the number of errors, unreadable inputs included.
int readRibInputs(const std::vector<std::string> &inputs,
                  const std::function<void(const RibRequest &)> &visit);

}  // namespace vellum

#endif
