// GzipEncoder: the deflate engine behind GzipSink, ISA-L's igzip where the
// build has it (several times faster than zlib at the fast levels) and zlib
// otherwise.  Both write standard gzip: one member with a plain header, the
// data, and the CRC-32 and length trailer.
#ifndef VELLUM_RIB_GZIP_ENCODER_H
#define VELLUM_RIB_GZIP_ENCODER_H

#include <cstddef>
#include <memory>

namespace vellum {

class GzipEncoder {
 public:
  enum class Flush {
    kNone,    // compress as it suits the engine
    kSync,    // everything so far decompressible, on a byte boundary
    kFinish,  // the last block and the trailer: nothing may follow
  };
  // What compressed bytes go to, a piece at a time.
  class Output {
   public:
    virtual void take(const char *data, size_t size) = 0;

   protected:
    ~Output() = default;
  };

  virtual ~GzipEncoder() = default;
  // Compresses `size` bytes and does what `flush` asks, handing every
  // compressed piece to `output`.
  virtual void compress(const char *data, size_t size, Flush flush, Output &output) = 0;
};

// The gzip levels the "rib" option takes: 1 (fastest) to 9 (smallest).
constexpr int kFastestGzipLevel = 1;
constexpr int kSmallestGzipLevel = 9;

enum class GzipEngine { kIsal, kZlib };

// An encoder at `level` (1 to 9) of the build's engine (ISA-L where it
// has it), or null when the engine cannot start (out of memory).  ISA-L
// has four levels of its own, 0 to 3: 1 and 2 take its level 1, 3 to 5
// its level 2, 6 to 9 its level 3.
std::unique_ptr<GzipEncoder> makeGzipEncoder(int level);
// The same of a given engine (to measure one beside the other), or null
// when the build has not got it.
std::unique_ptr<GzipEncoder> makeGzipEncoder(int level, GzipEngine engine);
std::unique_ptr<GzipEncoder> makeIsalEncoder(int level);
std::unique_ptr<GzipEncoder> makeZlibEncoder(int level);

}  // namespace vellum

#endif
