#include "ri/current_context.h"

#include <cstdlib>
#include <cstring>

namespace vellum {

namespace {
RenderContext *current = nullptr;
OutputFormat outputFormat;

}  // namespace

RenderContext *currentContext() { return current; }
void setCurrentContext(RenderContext *context) { current = context; }

RenderContext &requireContext(const char *callName) {
  if (current == nullptr) {
    RiErrorPrint(RIE_NOTSTARTED, RIE_SEVERE, const_cast<char *>(callName));
    // A severe report that repeats the previous one is folded and returns;
    // the call still cannot go on without a context.
    std::exit(-1);
  }
  return *current;
}

OutputFormat &outputFormatSetting() { return outputFormat; }

void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]) {
  applyFormatPairs(outputFormat, n, tokens, parms, true);
}

}  // namespace vellum
