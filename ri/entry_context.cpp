// Entry points that manage contexts, and the "rib" option.
#include <cstdlib>

#include "ri/context_factory.h"
#include "ri/current_context.h"
#include "ri/param_pairs.h"

using vellum::RenderContext;

namespace {

// "rib" options change the output format of later contexts, with or
// without a context; every other option goes to the current context.
void option(const char *callName, RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (vellum::isRibOption(name)) {
    vellum::applyRibOption(n, tokens, parms);
    return;
  }
  vellum::requireContext(callName).OptionV(name, n, tokens, parms);
}

}  // namespace

extern "C" {

RtVoid RiBegin(RtToken name) {
  vellum::OutputFormat &format = vellum::outputFormatSetting();
  RtString compression = const_cast<char *>(format.gzip ? "gzip" : "none");
  RtToken settings[] = {const_cast<char *>("binary"), const_cast<char *>("precision"),
                        const_cast<char *>("compression"), const_cast<char *>("compressionlevel")};
  RtPointer values[] = {&format.binary, &format.precision, &compression, &format.gzipLevel};
  vellum::setCurrentContext(vellum::newRibWriter(name, 4, settings, values));
}

RtVoid RiEnd(void) {
  RenderContext *context = vellum::currentContext();
  if (context == nullptr) {
    RiErrorPrint(RIE_NESTING, RIE_SEVERE, const_cast<char *>("RiEnd called at inappropriate level"));
    std::exit(-1);  // even when the report was folded into a repeat
  }
  delete context;
  vellum::setCurrentContext(nullptr);
}

RtVoid RiContext(RtContextHandle handle) {
  vellum::setCurrentContext(static_cast<RenderContext *>(handle));
}

RtContextHandle RiGetContext(void) { return vellum::currentContext(); }

RtVoid RiOption(RtToken name, ...) {
  VELLUM_COLLECT_PAIRS(pairs, name);
  option("RiOption", name, pairs.n, pairs.tokens, pairs.parms);
}

RtVoid RiOptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  option("RiOptionV", name, n, tokens, parms);
}

}  // extern "C"
