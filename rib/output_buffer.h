// OutputBuffer: the fixed buffer in front of a sink.  Requests are
// formatted straight into it; when it fills, its bytes go to the sink, in
// the middle of a request if need be, so memory stays bounded whatever the
// size of a request.  Appending is one comparison on the fast path.
#ifndef VELLUM_RIB_OUTPUT_BUFFER_H
#define VELLUM_RIB_OUTPUT_BUFFER_H

#include <cstddef>
#include <cstring>
#include <memory>

#include "rib/output_sink.h"

namespace vellum {

class OutputBuffer {
 public:
  static constexpr size_t kCapacity = 64 * 1024;

  explicit OutputBuffer(OutputSink &sink)
      : data_(new char[kCapacity]), cursor_(data_.get()), end_(data_.get() + kCapacity),
        sink_(&sink) {}
  OutputBuffer(const OutputBuffer &) = delete;
  OutputBuffer &operator=(const OutputBuffer &) = delete;

  void push_back(char c) {
    if (cursor_ == end_) drain();
    *cursor_++ = c;
  }
  void append(const char *data, size_t size) {
    if (size <= space()) {
      std::memcpy(cursor_, data, size);
      cursor_ += size;
    } else {
      appendLong(data, size);
    }
  }
  void append(const char *first, const char *last) {
    append(first, static_cast<size_t>(last - first));
  }
  void append(const char *text) { append(text, std::strlen(text)); }
  void append(const std::string &text) { append(text.data(), text.size()); }

  // Room for `size` bytes (at most kCapacity) at the returned place; the
  // caller writes there and hands the end of what it wrote to commit().
  char *reserve(size_t size) {
    if (size > space()) drain();
    return cursor_;
  }
  void commit(char *end) { cursor_ = end; }

  size_t space() const { return static_cast<size_t>(end_ - cursor_); }
  bool empty() const { return cursor_ == data_.get(); }
  // Hands everything held to the sink.
  void drain();
  // Hands what comes from now on to another sink (what is held included).
  void redirect(OutputSink &sink) { sink_ = &sink; }

 private:
  void appendLong(const char *data, size_t size);

  std::unique_ptr<char[]> data_;
  char *cursor_;
  char *end_;
  OutputSink *sink_;
};

}  // namespace vellum

#endif
