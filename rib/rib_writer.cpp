// Creation and teardown of a RibWriter.
#include "rib/rib_writer.h"

#include "decl/standard_declarations.h"
#include "decl/string_table.h"
#include "ri/current_context.h"
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
  // "compression" and "gzip" are accepted and ignored: output is never
  // compressed.
  applyFormatPairs(binary_, settings.n, settings.tokens, settings.parms);
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
