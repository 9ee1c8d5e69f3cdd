#include "rib/gzip_sink.h"

#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)
#include <cerrno>

#include "rib/gzip_encoder.h"
#endif

namespace vellum {

#if defined(VELLUM_HAVE_ZLIB) || defined(VELLUM_HAVE_ISAL)

namespace {

// The fastest level by default: RIB is written while a program runs and
// read once.
class GzipSink : public OutputSink, private GzipEncoder::Output {
 public:
  GzipSink(std::unique_ptr<OutputSink> destination, const char *name, int level)
      : destination_(std::move(destination)), encoder_(makeGzipEncoder(level)) {
    if (encoder_ == nullptr) reportFailure("compressing RIB to", name, ENOMEM);
  }
  ~GzipSink() override { close(); }

  void write(const char *data, size_t size) override {
    if (compressing()) encoder_->compress(data, size, GzipEncoder::Flush::kNone, *this);
  }
  void flush() override {
    if (!compressing()) return;
    encoder_->compress(nullptr, 0, GzipEncoder::Flush::kSync, *this);
    destination_->flush();
  }
  void close() override {
    if (closed_) return;
    closed_ = true;
    if (!released_) {
      finish();
      destination_->close();
    }
    encoder_ = nullptr;
  }
  void release() override {
    released_ = true;
    destination_->release();
    encoder_ = nullptr;
  }
  void finishAtExit() override {
    if (released_ || closed_) return;
    finish();
    destination_->finishAtExit();
  }
  bool failed() const override { return OutputSink::failed() || destination_->failed(); }

 private:
  void take(const char *data, size_t size) override { destination_->write(data, size); }
  bool compressing() const {
    return encoder_ != nullptr && !finished_ && !released_ && !destination_->failed();
  }
  // Ends the gzip stream: the last block and the trailer.  Nothing can be
  // written after it.
  void finish() {
    if (!compressing()) return;
    encoder_->compress(nullptr, 0, GzipEncoder::Flush::kFinish, *this);
    finished_ = true;
  }

  std::unique_ptr<OutputSink> destination_;
  std::unique_ptr<GzipEncoder> encoder_;
  bool finished_ = false;
  bool released_ = false;
  bool closed_ = false;
};

}  // namespace

bool gzipAvailable() { return true; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *name, int level) {
  return std::make_unique<GzipSink>(std::move(destination), name, level);
}

#else

bool gzipAvailable() { return false; }

std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *, int) {
  return destination;
}

#endif

}  // namespace vellum
