// Creation and teardown of a RibWriter.
#include "rib/rib_writer.h"

#include <cstring>

#include "decl/standard_declarations.h"
#include "decl/string_table.h"
#include "ri/param_pairs.h"

namespace vellum {

namespace {

const char *internedOrNull(const char *name) {
  return name != nullptr ? internString(name) : nullptr;
}

}  // namespace

RibWriter::RibWriter(RtToken name, ...)
    : stream_(internedOrNull(name)), out_(stream_.buffer()), outputName_(stream_.name()) {
  VELLUM_COLLECT_PAIRS(settings, name);
  for (RtInt i = 0; i < settings.n; ++i) {
    const char *token = settings.tokens[i];
    if (settings.parms[i] == nullptr) continue;
    if (std::strcmp(token, "format") == 0) {
      const char *format = *static_cast<RtString *>(settings.parms[i]);
      binary_ = format != nullptr && std::strcmp(format, "binary") == 0;
    } else if (std::strcmp(token, "binary") == 0) {
      binary_ = *static_cast<RtInt *>(settings.parms[i]);
    }
    // "compression" and "gzip" are accepted: output is never compressed.
  }
  declareEchoSwitch() = 1;
  // A binary stream starts with the same two text lines.
  text("##RenderMan RIB-Structure 1.0\nversion 3.03\n");
  done();
  loadStandardDeclarations(*this);
}

RibWriter::~RibWriter() {
  // The stream always ends with an empty line after the last request.
  character('\n');
  stream_.close();
}

}  // namespace vellum
