// RibStream: the destination of one RibWriter (standard output, a pipe into
// a renderer program or a command, a file, or memory) and the bounded
// buffer in front of it.
#ifndef VELLUM_RIB_RIB_STREAM_H
#define VELLUM_RIB_RIB_STREAM_H

#include <pthread.h>

#include <memory>

#include "rib/output_buffer.h"
#include "rib/output_sink.h"

namespace vellum {

// Opens the destination an output name selects, as RibStream(name) does,
// but returns null when it cannot be opened (errno says why) instead of
// ending the process.  `name` becomes the destination's name: the command
// after "|".  Not interned: it must outlive the sink.
std::unique_ptr<OutputSink> openDestination(const char *&name);

class RibStream {
 public:
  // Opens the destination an output name selects: null for standard
  // output, "raylume", "qview" or "zbrend" for a pipe into that program
  // (looked up on PATH, no shell), "|command" for a pipe into a shell
  // command, anything else for a file.  When the destination cannot be
  // opened it prints the reason and ends the process with status 1.
  explicit RibStream(const char *name);
  // Writes into `sink`; `name` names it in reports (null: standard
  // output, whose bytes are handed on request by request), and the sink's
  // failures go to `report`.
  RibStream(std::unique_ptr<OutputSink> sink, const char *name, OutputSink::Reporter report);
  ~RibStream();  // close()
  RibStream(const RibStream &) = delete;
  RibStream &operator=(const RibStream &) = delete;

  // Compresses everything written from now on as gzip, to whatever the
  // destination is, at `level` (1 fastest to 9 smallest); called before
  // anything is written.  A build without gzip writes on uncompressed.
  void compress(int level = 1);

  OutputBuffer &buffer() { return buffer_; }
  // Ends a request: on standard output its bytes are handed to stdio at
  // once, so they keep their order with the client's own output.
  void requestDone() {
    if (handOnEachRequest_) buffer_.drain();
  }
  // Hands on everything and flushes the destination.
  void flush();
  // Hands on everything and closes a file or pipe, or flushes standard
  // output, which stays open.
  void close();
  bool closed() const { return closed_; }
  // Whether any of the stream's bytes could not be written (the failure
  // was reported on standard error).
  bool failed() const { return sink_->failed(); }

  // The destination's name: the output name, or the command after "|";
  // null for standard output.
  const char *name() const { return name_; }

  // Hands every open stream's buffered bytes to its destination, ends a
  // compressed stream's gzip data, and flushes standard output; runs at
  // process exit so a process that ends without RiEnd still delivers what
  // it wrote, and as data that decompresses.
  static void drainAllAtExit();
  // Run around fork().  Before it, every stream opened by the forking
  // thread hands on what it holds, standard output's stdio buffer
  // included, so no byte is buffered in two processes (a stream of another
  // thread is left alone: that thread may be writing to it).  In the
  // child, every inherited stream lets go of its destination and writes
  // nothing more: only the process that opened a stream writes to it,
  // closes it or waits for its renderer, and a child that lives on does
  // not hold a renderer's pipe open.
  static void handOnAllBeforeFork();
  static void afterForkInParent();
  static void releaseAllInForkedChild();

 private:
  void joinOpenStreams();

  const char *name_ = nullptr;  // interned, or null for standard output
  std::unique_ptr<OutputSink> sink_;
  OutputBuffer buffer_;
  bool handOnEachRequest_ = false;
  OutputSink::Reporter report_;  // empty: the process's diagnostics
  bool closed_ = false;
  pthread_t opener_ = pthread_self();
  RibStream *nextOpen_ = nullptr;  // the process-wide list of open streams
  RibStream *prevOpen_ = nullptr;
};

}  // namespace vellum

#endif
