#include "rib/output_buffer.h"

namespace vellum {

void OutputBuffer::drain() {
  if (empty()) return;
  sink_->write(data_.get(), static_cast<size_t>(cursor_ - data_.get()));
  cursor_ = data_.get();
}

void OutputBuffer::appendLong(const char *data, size_t size) {
  while (size > 0) {
    if (cursor_ == end_) drain();
    const size_t piece = size < space() ? size : space();
    std::memcpy(cursor_, data, piece);
    cursor_ += piece;
    data += piece;
    size -= piece;
  }
}

}  // namespace vellum
