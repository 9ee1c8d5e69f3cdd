#include "ri/current_context.h"

#include <cstdlib>
#include <cstring>

namespace vellum {

namespace {
RenderContext *current = nullptr;
RtInt binaryOutput = 0;
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

RtInt &binaryOutputSetting() { return binaryOutput; }

bool isRibOption(RtToken name) {
  return name != nullptr && (std::strcmp(name, "rib") == 0 || std::strcmp(name, "RIB") == 0);
}

void applyFormatPairs(RtInt &binary, RtInt n, const RtToken tokens[], RtPointer const parms[]) {
  if (tokens == nullptr || parms == nullptr) return;
  for (RtInt i = 0; i < n; ++i) {
    const char *token = tokens[i];
    if (token == nullptr) break;
    if (parms[i] == nullptr) continue;
    if (std::strcmp(token, "format") == 0) {
      const char *format = *static_cast<RtString *>(parms[i]);
      binary = format != nullptr && std::strcmp(format, "binary") == 0;
    } else if (std::strcmp(token, "binary") == 0) {
      binary = *static_cast<RtInt *>(parms[i]);
    }
  }
}

void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]) {
  applyFormatPairs(binaryOutput, n, tokens, parms);
}

}  // namespace vellum
