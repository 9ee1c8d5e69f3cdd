// The choice of gzip engine: ISA-L where the build has it, zlib otherwise.
#include "rib/gzip_encoder.h"

namespace vellum {

#ifndef VELLUM_HAVE_ISAL
std::unique_ptr<GzipEncoder> makeIsalEncoder(int) { return nullptr; }
#endif
#ifndef VELLUM_HAVE_ZLIB
std::unique_ptr<GzipEncoder> makeZlibEncoder(int) { return nullptr; }
#endif

std::unique_ptr<GzipEncoder> makeGzipEncoder(int level, GzipEngine engine) {
  return engine == GzipEngine::kIsal ? makeIsalEncoder(level) : makeZlibEncoder(level);
}

std::unique_ptr<GzipEncoder> makeGzipEncoder(int level) {
#ifdef VELLUM_HAVE_ISAL
  return makeIsalEncoder(level);
#else
  return makeZlibEncoder(level);
#endif
}

}  // namespace vellum
