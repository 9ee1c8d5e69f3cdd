// Creation and teardown of a RibWriter.
#include "rib/rib_writer.h"

#include <new>

#include "decl/standard_declarations.h"
#include "decl/string_table.h"
#include "ri/context_factory.h"
#include "ri/current_context.h"
#include "ri/param_pairs.h"

namespace vellum {

namespace {

const char *internedOrNull(const char *name) {
  return name != nullptr ? internString(name) : nullptr;
}

}  // namespace

RenderContext *newRibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  return new (std::nothrow) RibWriter(name, n, tokens, parms);
}

RibWriter::RibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[])
    : stream_(internedOrNull(name)), out_(stream_.buffer()), outputName_(stream_.name()) {
  start(n, tokens, parms);
}

RibWriter::RibWriter(std::unique_ptr<OutputSink> sink, const char *name, RtInt n,
                     RtToken tokens[], RtPointer parms[])
    : stream_(std::move(sink), internedOrNull(name)), out_(stream_.buffer()),
      outputName_(stream_.name()) {
  start(n, tokens, parms);
}

RibWriter::RibWriter(RtToken name, ...)
    : stream_(internedOrNull(name)), out_(stream_.buffer()), outputName_(stream_.name()) {
  VELLUM_COLLECT_PAIRS(settings, name);
  start(settings.n, settings.tokens, settings.parms);
}

void RibWriter::start(RtInt n, RtToken tokens[], RtPointer parms[]) {
  // "gzip" is accepted and ignored: "compression" says it.
  OutputFormat format;
  applyFormatPairs(format, n, tokens, parms);
  if (format.gzip) stream_.compress(format.gzipLevel);
  binary_ = format.binary;
  precision_ = format.precision;
  if (precision_ == kDefaultPrecision)
    formatNumber_ = [](float value, int, char *out) { return formatFloatG(value, out); };
  else if (precision_ == 0)
    formatNumber_ = [](float value, int, char *out) { return formatFloatShortest(value, out); };
  else
    formatNumber_ = formatFloatDigits;
  declareEchoSwitch() = 1;
  // A binary stream starts with the same two text lines.
  text("##RenderMan RIB-Structure 1.0\nversion 3.03\n");
  done();
  loadStandardDeclarations(
      [this](char *declared, char *declaration) { return Declare(declared, declaration); });
}

RibWriter::~RibWriter() { close(); }

void RibWriter::close() {
  if (stream_.closed()) return;
  // The stream always ends with an empty line after the last request.
  character('\n');
  stream_.close();
}

}  // namespace vellum
