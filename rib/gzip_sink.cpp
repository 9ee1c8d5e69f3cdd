#include "rib/gzip_sink.h"

#ifdef VELLUM_HAVE_ZLIB
#include <zlib.h>

#include <cerrno>
#endif

namespace vellum {

#ifdef VELLUM_HAVE_ZLIB

namespace {

// The fastest level: RIB is written while a program runs and read once.
// On the binary 1,000,000-triangle mesh of bench/ it leaves 47% of the
// bytes; level 4 leaves 41% in 1.2 times the time, zlib's default (6) 40%
// in 3 times the time.
constexpr int kLevel = 1;
// A 32 KiB window, and 16 more for a gzip header and trailer instead of
// zlib's.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr size_t kOutputSize = 64 * 1024;

class GzipSink : public OutputSink {
 public:
  GzipSink(std::unique_ptr<OutputSink> destination, const char *name)
      : destination_(std::move(destination)), name_(name) {
    live_ = deflateInit2(&stream_, kLevel, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                         Z_DEFAULT_STRATEGY) == Z_OK;
    if (!live_) reportFailure("compressing RIB to", name_, ENOMEM);
    restartOutput();
  }
  ~GzipSink() override { close(); }

  void write(const char *data, size_t size) override {
    if (!compressing()) return;
    stream_.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    while (size > 0) {
      const uInt piece = size < kMaxPiece ? static_cast<uInt>(size) : kMaxPiece;
      stream_.avail_in = piece;
      deflateAll(Z_NO_FLUSH);
      size -= piece;
    }
  }
  void flush() override {
    if (!compressing()) return;
    deflateAll(Z_SYNC_FLUSH);
    handOn();
    destination_->flush();
  }
  void close() override {
    if (closed_) return;
    closed_ = true;
    if (!released_) {
      finish();
      destination_->close();
    }
    end();
  }
  void release() override {
    released_ = true;
    destination_->release();
    end();
  }
  void finishAtExit() override {
    if (released_ || closed_) return;
    finish();
    destination_->finishAtExit();
  }
  bool failed() const override { return OutputSink::failed() || destination_->failed(); }

 private:
  static constexpr uInt kMaxPiece = 1u << 30;

  bool compressing() const {
    return live_ && !finished_ && !released_ && !destination_->failed();
  }
  // Deflates all of the input, handing on each full buffer.  deflate()
  // leaves room in the buffer only once it has taken all the input and
  // done all that `flush` asks.
  void deflateAll(int flush) {
    for (;;) {
      deflate(&stream_, flush);
      if (stream_.avail_out != 0) return;
      handOn();
    }
  }
  void handOn() {
    const size_t produced = kOutputSize - stream_.avail_out;
    if (produced > 0) destination_->write(output_, produced);
    restartOutput();
  }
  void restartOutput() {
    stream_.next_out = reinterpret_cast<Bytef *>(output_);
    stream_.avail_out = kOutputSize;
  }
  // Ends the gzip stream: the last block and the trailer.  Nothing can be
  // written after it.
  void finish() {
    if (!compressing()) return;
    deflateAll(Z_FINISH);
    handOn();
    finished_ = true;
  }
  void end() {
    if (live_) deflateEnd(&stream_);
    live_ = false;
  }

  std::unique_ptr<OutputSink> destination_;
  const char *name_;
  z_stream stream_ = {};
  bool live_ = false;  // stream_ holds zlib's state
  bool finished_ = false;
  bool released_ = false;
  bool closed_ = false;
  char output_[kOutputSize];
};

}  // namespace

bool gzipAvailable() { return true; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *name) {
  return std::make_unique<GzipSink>(std::move(destination), name);
}

#else

bool gzipAvailable() { return false; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *) {
  return destination;
}

#endif

}  // namespace vellum
