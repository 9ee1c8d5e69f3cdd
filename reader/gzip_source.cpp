#include "reader/gzip_source.h"

#include <zlib.h>
#ifdef VELLUM_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <cstdint>
#include <cstring>
#include <vector>

namespace vellum {

namespace {

constexpr size_t kInputSize = 128 * 1024;

// One gzip member at a time: inflate() makes output from the input it is
// given and says whether the member ended.
class Inflater {
 public:
  enum class Status { kMore, kMemberEnd, kError };
  virtual ~Inflater() = default;
  // Decompresses from `in` (advanced past what was used) into `out`
  // (advanced past what was made).
  virtual Status inflate(const uint8_t *&in, size_t &inSize, char *&out, size_t &outSize) = 0;
  // Ready for the next member.
  virtual void restart() = 0;
  const char *error() const { return error_; }

 protected:
  const char *error_ = "";
};

#ifdef VELLUM_HAVE_ISAL

class IsalInflater : public Inflater {
 public:
  IsalInflater() {
    // isal_inflate_init leaves the history window and the staging buffer
    // as they were, and a corrupt member that reaches back before its
    // first byte is copied from them instead of refused: cleared once, such
    // a stream gives the same (wrong) bytes every time, never what memory
    // held before (a later member can only reach this stream's own bytes).
    std::memset(&state_, 0, sizeof state_);
    restart();
  }
  void restart() override {
    isal_inflate_init(&state_);
    state_.crc_flag = ISAL_GZIP;
  }
  Status inflate(const uint8_t *&in, size_t &inSize, char *&out, size_t &outSize) override {
    state_.next_in = const_cast<uint8_t *>(in);
    state_.avail_in = static_cast<uint32_t>(inSize < UINT32_MAX ? inSize : UINT32_MAX);
    const uint32_t inGiven = state_.avail_in;
    state_.next_out = reinterpret_cast<uint8_t *>(out);
    state_.avail_out = static_cast<uint32_t>(outSize < UINT32_MAX ? outSize : UINT32_MAX);
    const uint32_t outGiven = state_.avail_out;
    const int result = isal_inflate(&state_);
    in += inGiven - state_.avail_in;
    inSize -= inGiven - state_.avail_in;
    out += outGiven - state_.avail_out;
    outSize -= outGiven - state_.avail_out;
    switch (result) {
      case ISAL_DECOMP_OK:
      case ISAL_END_INPUT:
      case ISAL_OUT_OVERFLOW:
        return state_.block_state == ISAL_BLOCK_FINISH ? Status::kMemberEnd : Status::kMore;
      case ISAL_INCORRECT_CHECKSUM:
        error_ = "incorrect data check";
        return Status::kError;
      case ISAL_INVALID_WRAPPER:
        error_ = "incorrect header check";
        return Status::kError;
      case ISAL_UNSUPPORTED_METHOD:
        error_ = "unknown compression method";
        return Status::kError;
      default:
        error_ = "invalid compressed data";
        return Status::kError;
    }
  }

 private:
  inflate_state state_;
};

#endif

class ZlibInflater : public Inflater {
 public:
  ZlibInflater() { live_ = inflateInit2(&stream_, 15 + 16) == Z_OK; }
  ~ZlibInflater() override {
    if (live_) inflateEnd(&stream_);
  }
  void restart() override {
    if (live_) inflateReset(&stream_);
  }
  Status inflate(const uint8_t *&in, size_t &inSize, char *&out, size_t &outSize) override {
    if (!live_) {
      error_ = "out of memory";
      return Status::kError;
    }
    stream_.next_in = const_cast<Bytef *>(in);
    stream_.avail_in = static_cast<uInt>(inSize < UINT32_MAX ? inSize : UINT32_MAX);
    const uInt inGiven = stream_.avail_in;
    stream_.next_out = reinterpret_cast<Bytef *>(out);
    stream_.avail_out = static_cast<uInt>(outSize < UINT32_MAX ? outSize : UINT32_MAX);
    const uInt outGiven = stream_.avail_out;
    const int result = ::inflate(&stream_, Z_NO_FLUSH);
    in += inGiven - stream_.avail_in;
    inSize -= inGiven - stream_.avail_in;
    out += outGiven - stream_.avail_out;
    outSize -= outGiven - stream_.avail_out;
    switch (result) {
      case Z_STREAM_END: return Status::kMemberEnd;
      case Z_OK:
      case Z_BUF_ERROR: return Status::kMore;
      case Z_MEM_ERROR: error_ = "out of memory"; return Status::kError;
      default:
        error_ = stream_.msg != nullptr ? stream_.msg : "invalid compressed data";
        return Status::kError;
    }
  }

 private:
  z_stream stream_ = {};
  bool live_ = false;
};

std::unique_ptr<Inflater> makeInflater(GunzipEngine engine) {
#ifdef VELLUM_HAVE_ISAL
  if (engine == GunzipEngine::kIsal) return std::make_unique<IsalInflater>();
#endif
  static_cast<void>(engine);
  return std::make_unique<ZlibInflater>();
}

class DecompressingSource : public ByteSource {
 public:
  DecompressingSource(std::unique_ptr<ByteSource> raw, GunzipEngine engine)
      : raw_(std::move(raw)), input_(kInputSize), engine_(engine) {}

  size_t read(char *buffer, size_t size) override {
    if (!error_.empty() || size == 0) return 0;
    if (!started_) start();
    if (plain_) return readPlain(buffer, size);
    char *out = buffer;
    size_t room = size;
    while (room == size && !ended_ && error_.empty()) {
      if (at_ == end_ && !fill()) {
        if (error_.empty()) error_ = "unexpected end of file";
        break;
      }
      const uint8_t *in = input_.data() + at_;
      size_t inSize = end_ - at_;
      const Inflater::Status status = inflater_->inflate(in, inSize, out, room);
      at_ = static_cast<size_t>(in - input_.data());
      if (status == Inflater::Status::kError) error_ = inflater_->error();
      if (status == Inflater::Status::kMemberEnd) nextMember();
    }
    return size - room;
  }

 private:
  // Whether the input begins as gzip.
  void start() {
    started_ = true;
    while (end_ < 2 && readRaw()) {
    }
    plain_ = !(end_ >= 2 && input_[0] == 0x1f && input_[1] == 0x8b);
    if (!plain_) inflater_ = makeInflater(engine_);
  }
  size_t readPlain(char *buffer, size_t size) {
    if (at_ < end_) {
      const size_t count = end_ - at_ < size ? end_ - at_ : size;
      std::memcpy(buffer, input_.data() + at_, count);
      at_ += count;
      return count;
    }
    const size_t got = raw_->read(buffer, size);
    if (got == 0) error_ = raw_->error();
    return got;
  }
  // Appends what `raw_` gives to the input; false at its end.
  bool readRaw() {
    if (rawEnded_) return false;
    const size_t got = raw_->read(reinterpret_cast<char *>(input_.data()) + end_, input_.size() - end_);
    if (got == 0) {
      rawEnded_ = true;
      error_ = raw_->error();
    }
    end_ += got;
    return got > 0;
  }
  // Refills the input, once used up; false at the end of `raw_`.
  bool fill() {
    at_ = end_ = 0;
    return readRaw();
  }
  // After a member: another one, or the end (bytes that do not begin a
  // member are left unread).
  void nextMember() {
    if (end_ - at_ < 2) {
      std::memmove(input_.data(), input_.data() + at_, end_ - at_);
      end_ -= at_;
      at_ = 0;
      while (end_ < 2 && readRaw()) {
      }
    }
    if (end_ - at_ >= 2 && input_[at_] == 0x1f && input_[at_ + 1] == 0x8b)
      inflater_->restart();
    else
      ended_ = true;
  }

  std::unique_ptr<ByteSource> raw_;
  std::vector<uint8_t> input_;
  size_t at_ = 0, end_ = 0;  // the input not yet used
  bool started_ = false, plain_ = false, rawEnded_ = false, ended_ = false;
  GunzipEngine engine_;
  std::unique_ptr<Inflater> inflater_;
};

}  // namespace

std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> raw, GunzipEngine engine) {
#ifndef VELLUM_HAVE_ISAL
  if (engine == GunzipEngine::kIsal) return nullptr;
#endif
  return std::make_unique<DecompressingSource>(std::move(raw), engine);
}

std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> raw) {
#ifdef VELLUM_HAVE_ISAL
  return decompressing(std::move(raw), GunzipEngine::kIsal);
#else
  return decompressing(std::move(raw), GunzipEngine::kZlib);
#endif
}

}  // namespace vellum
