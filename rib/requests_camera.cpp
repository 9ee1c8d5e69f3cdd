// Camera and option requests.  Numbers in a request's own text are ASCII in
// both modes; only parameter lists follow the binary flag.
#include <cstring>

#include "common/name_tables.h"
#include "rib/rib_writer.h"

namespace vellum {

// RIB carries no ColorSamples request: colours are always three floats.
RtVoid RibWriter::ColorSamples(RtInt, RtFloat[], RtFloat[]) {}

// The "rib" option changes this context's own format and writes nothing;
// later float values follow the new flag.
RtVoid RibWriter::OptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (isRibOption(name)) {
    for (RtInt i = 0; i < n && tokens != nullptr && tokens[i] != nullptr; ++i)
      if (std::strcmp(tokens[i], "binary") == 0 && parms != nullptr && parms[i] != nullptr)
        binary_ = *static_cast<RtInt *>(parms[i]);
    return;
  }
  text("Option");
  writeParamList(name, 0, n, tokens, parms);
}

}  // namespace vellum
