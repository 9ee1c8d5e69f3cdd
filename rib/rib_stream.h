// RibStream: the destination of one RibWriter (standard output, a pipe into
// a renderer program or a command, or a file) and the buffer in front of it.
//
// Requests are formatted straight into buffer(); the bytes reach the
// destination in large pieces.  Failed writes are reported once per stream
// and otherwise ignored, so a broken renderer never takes the client down.
#ifndef VELLUM_RIB_RIB_STREAM_H
#define VELLUM_RIB_RIB_STREAM_H

#include <sys/types.h>

#include <string>

namespace vellum {

class RibStream {
 public:
  // Opens the destination an output name selects: null for standard
  // output, "raylume", "qview" or "zbrend" for a pipe into that program
  // (looked up on PATH, no shell), "|command" for a pipe into a shell
  // command, anything else for a file.  When the destination cannot be
  // opened it prints the reason and ends the process with status 1.
  explicit RibStream(const char *name);
  ~RibStream();  // close()
  RibStream(const RibStream &) = delete;
  RibStream &operator=(const RibStream &) = delete;

  std::string &buffer() { return buffer_; }
  // Hands the buffer on once it has grown large (for standard output, at
  // once, so the bytes keep their order with the client's own output).
  void requestDone() {
    if (buffer_.size() >= threshold_) drain();
  }
  // Hands on everything and flushes the destination.
  void flush();
  // Hands on everything and closes a file or pipe (waiting for the child
  // to exit, its status ignored); standard output stays open.
  void close();

  bool isPipe() const { return child_ > 0; }
  // The destination's name: the output name, or the command after "|".
  const char *name() const { return name_; }

  // Writes every open stream's buffered bytes; runs at process exit so a
  // process that ends without RiEnd still delivers what it wrote.
  static void drainAllAtExit();

 private:
  void drain();
  void writeToFd(const char *data, size_t size);
  void reportFailure(const char *what, int error);

  std::string buffer_;
  size_t threshold_ = 0;
  const char *name_ = nullptr;  // interned, or null for standard output
  int fd_ = -1;                 // -1 for standard output (written through stdio)
  pid_t child_ = -1;
  bool failed_ = false;
  bool closed_ = false;
  RibStream *nextOpen_ = nullptr;  // the process-wide list of open streams
  RibStream *prevOpen_ = nullptr;
};

}  // namespace vellum

#endif
