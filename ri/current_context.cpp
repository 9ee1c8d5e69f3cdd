#include "ri/current_context.h"

#include <cstdlib>
#include <cstring>

namespace vellum {

namespace {
RenderContext *current = nullptr;
OutputFormat outputFormat;

void applyCompression(OutputFormat &format, const char *name, bool report) {
  if (name != nullptr && std::strcmp(name, "none") == 0) {
    format.gzip = false;
  } else if (name != nullptr && std::strcmp(name, "gzip") == 0) {
#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)
    format.gzip = true;
#else
    if (report)
      RiErrorPrint(RIE_INCAPABLE, RIE_ERROR,
                   const_cast<char *>("\"compression\" not available: vellum was built without zlib"));
#endif
  } else if (report) {
    RiErrorPrint(RIE_BADTOKEN, RIE_ERROR,
                 const_cast<char *>("the \"rib\" option's compression must be \"gzip\" or \"none\""));
  }
}

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

bool isRibOption(RtToken name) {
  return name != nullptr && (std::strcmp(name, "rib") == 0 || std::strcmp(name, "RIB") == 0);
}

void applyFormatPairs(OutputFormat &format, RtInt n, const RtToken tokens[],
                      RtPointer const parms[], bool report) {
  if (tokens == nullptr || parms == nullptr) return;
  for (RtInt i = 0; i < n; ++i) {
    const char *token = tokens[i];
    if (token == nullptr) break;
    if (parms[i] == nullptr) continue;
    if (std::strcmp(token, "format") == 0) {
      const char *name = *static_cast<RtString *>(parms[i]);
      format.binary = name != nullptr && std::strcmp(name, "binary") == 0;
    } else if (std::strcmp(token, "binary") == 0) {
      format.binary = *static_cast<RtInt *>(parms[i]);
    } else if (std::strcmp(token, "precision") == 0) {
      const RtInt digits = *static_cast<RtInt *>(parms[i]);
      if (digits >= 0 && digits <= 9)
        format.precision = digits;
      else if (report)
        RiErrorPrint(RIE_RANGE, RIE_ERROR,
                     const_cast<char *>("the \"rib\" option's precision must be 0 to 9"));
    } else if (std::strcmp(token, "compression") == 0) {
      applyCompression(format, *static_cast<RtString *>(parms[i]), report);
    } else if (std::strcmp(token, "compressionlevel") == 0) {
      const RtInt level = *static_cast<RtInt *>(parms[i]);
      if (level >= 1 && level <= 9)
        format.gzipLevel = level;
      else if (report)
        RiErrorPrint(RIE_RANGE, RIE_ERROR,
                     const_cast<char *>("the \"rib\" option's compressionlevel must be 1 to 9"));
    }
  }
}

void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]) {
  applyFormatPairs(outputFormat, n, tokens, parms, true);
}

}  // namespace vellum
