// The gzip engine of zlib, where the build has no ISA-L.
#ifdef VELLUM_HAVE_ZLIB
#include <zlib.h>

#include <new>
#include <vector>

#include "rib/gzip_encoder.h"

namespace vellum {

namespace {

// A 32 KiB window, and 16 more for a gzip header and trailer instead of
// zlib's.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr size_t kOutputSize = 64 * 1024;

class ZlibEncoder : public GzipEncoder {
 public:
  ~ZlibEncoder() override { deflateEnd(&stream_); }
  bool start(int level) {
    return deflateInit2(&stream_, level, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                        Z_DEFAULT_STRATEGY) == Z_OK;
  }

  void compress(const char *data, size_t size, Flush flush, Output &output) override {
    if (finished_) return;
    const int mode = flush == Flush::kSync ? Z_SYNC_FLUSH : flush == Flush::kFinish ? Z_FINISH : Z_NO_FLUSH;
    stream_.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    // zlib counts its input in 32 bits: more goes in as several pieces.
    do {
      const uInt piece = size < kMaxPiece ? static_cast<uInt>(size) : kMaxPiece;
      size -= piece;
      stream_.avail_in = piece;
      deflateAll(size == 0 ? mode : Z_NO_FLUSH, output);
    } while (size > 0);
    if (flush == Flush::kFinish) finished_ = true;
  }

 private:
  static constexpr uInt kMaxPiece = 1u << 30;

  // deflate() leaves room in the buffer only once it has taken all the
  // input and done all that `mode` asks.
  void deflateAll(int mode, Output &output) {
    for (;;) {
      stream_.next_out = reinterpret_cast<Bytef *>(output_);
      stream_.avail_out = kOutputSize;
      deflate(&stream_, mode);
      const size_t produced = kOutputSize - stream_.avail_out;
      if (produced > 0) output.take(output_, produced);
      if (stream_.avail_out != 0) return;
    }
  }

  z_stream stream_ = {};
  bool finished_ = false;
  char output_[kOutputSize];
};

}  // namespace

std::unique_ptr<GzipEncoder> makeZlibEncoder(int level) {
  std::unique_ptr<ZlibEncoder> encoder(new (std::nothrow) ZlibEncoder);
  if (encoder == nullptr || !encoder->start(level)) return nullptr;
  return encoder;
}

}  // namespace vellum

#endif
