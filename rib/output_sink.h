// Where the bytes of a RIB stream go: a file or pipe descriptor, standard
// output through stdio, or memory.  A sink reports its first failure on
// standard error and ignores the rest, so a broken renderer never takes
// the client down.
#ifndef VELLUM_RIB_OUTPUT_SINK_H
#define VELLUM_RIB_OUTPUT_SINK_H

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace vellum {

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  // Hands on all `size` bytes (or reports why it could not).
  virtual void write(const char *data, size_t size) = 0;
  // Pushes what the sink itself holds back to its destination.
  virtual void flush() {}
  // Closes a file or pipe (waiting for the child to exit, its status
  // ignored); standard output and memory stay open.
  virtual void close() {}
};

// A file, or the write end of a pipe into `child` (-1 for a file).  Writes
// block SIGPIPE only while they run, so a renderer that has gone away gives
// an error instead of killing the client.
class DescriptorSink : public OutputSink {
 public:
  // `name` is the destination's name for reports (not owned; it must
  // outlive the sink).
  DescriptorSink(int fd, pid_t child, const char *name);
  ~DescriptorSink() override { close(); }
  void write(const char *data, size_t size) override;
  void close() override;

 private:
  void report(const char *what, int error);
  int fd_;
  pid_t child_;
  const char *name_;
  bool failed_ = false;
  bool mayRaiseSigpipe_ = true;  // anything but a regular file: a pipe, a FIFO, a socket
};

// Standard output, through stdio, so that the RIB keeps its order with
// what the client prints itself.  Never closed.
class StandardOutputSink : public OutputSink {
 public:
  void write(const char *data, size_t size) override;
  void flush() override;

 private:
  bool failed_ = false;
};

// A growing byte string, for callers that want RIB in memory.
class MemorySink : public OutputSink {
 public:
  void write(const char *data, size_t size) override { bytes_.append(data, size); }
  const std::string &bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace vellum

#endif
