#include "rib/writer_settings.h"

#include <cstring>

namespace vellum {

namespace {

void applyCompression(WriterSettings &settings, const char *name, bool report) {
  if (name != nullptr && std::strcmp(name, "none") == 0) {
    settings.gzip = false;
  } else if (name != nullptr && std::strcmp(name, "gzip") == 0) {
#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)
    settings.gzip = true;
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

bool isRibOption(RtToken name) {
  return name != nullptr && (std::strcmp(name, "rib") == 0 || std::strcmp(name, "RIB") == 0);
}

void applyFormatPairs(WriterSettings &settings, RtInt n, const RtToken tokens[],
                      RtPointer const parms[], bool report) {
  if (tokens == nullptr || parms == nullptr) return;
  for (RtInt i = 0; i < n; ++i) {
    const char *token = tokens[i];
    if (token == nullptr) break;
    if (parms[i] == nullptr) continue;
    if (std::strcmp(token, "format") == 0) {
      const char *name = *static_cast<RtString *>(parms[i]);
      settings.binary = name != nullptr && std::strcmp(name, "binary") == 0;
    } else if (std::strcmp(token, "binary") == 0) {
      settings.binary = *static_cast<RtInt *>(parms[i]);
    } else if (std::strcmp(token, "precision") == 0) {
      const RtInt digits = *static_cast<RtInt *>(parms[i]);
      if (digits >= 0 && digits <= 9)
        settings.precision = digits;
      else if (report)
        RiErrorPrint(RIE_RANGE, RIE_ERROR,
                     const_cast<char *>("the \"rib\" option's precision must be 0 to 9"));
    } else if (std::strcmp(token, "compression") == 0) {
      applyCompression(settings, *static_cast<RtString *>(parms[i]), report);
    } else if (std::strcmp(token, "compressionlevel") == 0) {
      const RtInt level = *static_cast<RtInt *>(parms[i]);
      if (level >= 1 && level <= 9)
        settings.gzipLevel = level;
      else if (report)
        RiErrorPrint(RIE_RANGE, RIE_ERROR,
                     const_cast<char *>("the \"rib\" option's compressionlevel must be 1 to 9"));
    }
  }
}

}  // namespace vellum
