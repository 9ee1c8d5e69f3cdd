// The gzip engine of ISA-L (igzip).
#ifdef VELLUM_HAVE_ISAL
#include <isa-l/igzip_lib.h>

#include <new>
#include <vector>

#include "rib/gzip_encoder.h"

namespace vellum {

namespace {

constexpr size_t kOutputSize = 64 * 1024;

// The rib option's levels on igzip's: its level 1 already compresses
// RIB about as well as zlib's level 1 at a tenth of the time; its levels 2
// and 3 come near zlib's 4 and 6.
unsigned isalLevel(int level) { return level <= 2 ? 1 : level <= 5 ? 2 : 3; }

size_t levelBufferSize(unsigned level) {
  switch (level) {
    case 1: return ISAL_DEF_LVL1_DEFAULT;
    case 2: return ISAL_DEF_LVL2_DEFAULT;
    default: return ISAL_DEF_LVL3_DEFAULT;
  }
}

class IsalEncoder : public GzipEncoder {
 public:
  explicit IsalEncoder(unsigned level)
      : levelBuffer_(levelBufferSize(level)), output_(kOutputSize) {
    isal_deflate_init(&stream_);
    stream_.level = level;
    stream_.level_buf = levelBuffer_.data();
    stream_.level_buf_size = static_cast<uint32_t>(levelBuffer_.size());
    stream_.gzip_flag = IGZIP_GZIP;
  }

  void compress(const char *data, size_t size, Flush flush, Output &output) override {
    if (finished_) return;
    stream_.next_in = reinterpret_cast<uint8_t *>(const_cast<char *>(data));
    // igzip counts its input in 32 bits: more goes in as several pieces,
    // the flush with the last.
    do {
      const uint32_t piece = size < kMaxPiece ? static_cast<uint32_t>(size) : kMaxPiece;
      size -= piece;
      stream_.avail_in = piece;
      const bool last = size == 0;
      stream_.flush = last && flush == Flush::kSync ? SYNC_FLUSH : NO_FLUSH;
      stream_.end_of_stream = last && flush == Flush::kFinish;
      deflatePiece(last ? flush : Flush::kNone, output);
    } while (size > 0);
    if (flush == Flush::kFinish) finished_ = true;
  }

 private:
  static constexpr uint32_t kMaxPiece = 1u << 30;

  // Deflates the piece given, handing on each full buffer.  igzip leaves
  // room in the buffer once it has taken all the input; a flush is done
  // when it is back at a block's start (ZSTATE_NEW_HDR), the end of the
  // stream when it reaches ZSTATE_END.
  void deflatePiece(Flush flush, Output &output) {
    for (;;) {
      stream_.next_out = reinterpret_cast<uint8_t *>(output_.data());
      stream_.avail_out = static_cast<uint32_t>(output_.size());
      if (isal_deflate(&stream_) != COMP_OK) return;  // the settings are fixed and valid
      const size_t produced = output_.size() - stream_.avail_out;
      if (produced > 0) output.take(output_.data(), produced);
      if (stream_.avail_out == 0 || stream_.avail_in > 0) continue;
      const isal_zstate_state state = stream_.internal_state.state;
      if (flush == Flush::kNone) return;
      if (flush == Flush::kSync && (state == ZSTATE_NEW_HDR || state == ZSTATE_TMP_NEW_HDR)) return;
      if (flush == Flush::kFinish && (state == ZSTATE_END || state == ZSTATE_TMP_END)) return;
    }
  }

  isal_zstream stream_;
  std::vector<uint8_t> levelBuffer_;
  std::vector<char> output_;
  bool finished_ = false;
};

}  // namespace

std::unique_ptr<GzipEncoder> makeIsalEncoder(int level) {
  return std::unique_ptr<GzipEncoder>(new (std::nothrow) IsalEncoder(isalLevel(level)));
}

}  // namespace vellum

#endif
