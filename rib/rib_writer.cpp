// Creation and teardown of a RibWriter.
#include "rib/rib_writer.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "error/writer_diagnostics.h"
#include "ri/param_pairs.h"

namespace vellum {

namespace {

WriterSettings settingsOf(RtInt n, RtToken tokens[], RtPointer parms[]) {
  WriterSettings settings;
  applyFormatPairs(settings, n, tokens, parms);
  return settings;
}

const char *keptOrNull(WriterEnvironment &environment, const char *name) {
  return name != nullptr ? environment.keep(name) : nullptr;
}

}  // namespace

RibWriter::RibWriter(std::unique_ptr<OutputSink> sink, const char *name, const WriterSettings &settings,
                     WriterEnvironment &environment)
    : environment_(environment),
      stream_(std::move(sink), keptOrNull(environment, name),
              [&environment](const std::string &text) { environment.diagnostic(text); }),
      out_(stream_.buffer()), outputName_(stream_.name()) {
  start(settings);
}

RibWriter::RibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[])
    : environment_(processWideEnvironment()), stream_(keptOrNull(environment_, name)),
      out_(stream_.buffer()), outputName_(stream_.name()) {
  start(settingsOf(n, tokens, parms));
}

RibWriter::RibWriter(RtToken name, ...)
    : environment_(processWideEnvironment()), stream_(keptOrNull(environment_, name)),
      out_(stream_.buffer()), outputName_(stream_.name()) {
  VELLUM_COLLECT_PAIRS(settings, name);
  start(settingsOf(settings.n, settings.tokens, settings.parms));
}

void RibWriter::start(const WriterSettings &settings) {
  if (settings.gzip) stream_.compress(settings.gzipLevel);
  binary_ = settings.binary;
  precision_ = settings.precision;
  if (precision_ == kDefaultPrecision)
    formatNumber_ = [](float value, int, char *out) { return formatFloatG(value, out); };
  else if (precision_ == 0)
    formatNumber_ = [](float value, int, char *out) { return formatFloatShortest(value, out); };
  else
    formatNumber_ = formatFloatDigits;
  environment_.setEchoesDeclarations(true);
  // A binary stream starts with the same two text lines.
  text("##RenderMan RIB-Structure 1.0\nversion 3.03\n");
  done();
  environment_.loadStandardDeclarations(
      [this](char *declared, char *declaration) { return Declare(declared, declaration); });
}

void RibWriter::problem(const char *format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = formattedText(format, args).value_or("");
  va_end(args);
  environment_.diagnostic(text);
}

RibWriter::~RibWriter() { close(); }

void RibWriter::close() {
  if (stream_.closed()) return;
  // The stream always ends with an empty line after the last request.
  character('\n');
  stream_.close();
}

}  // namespace vellum
