// Where the bytes of a RIB stream go: a file or pipe descriptor, standard
// output through stdio, or memory.  A sink reports its first failure on
// standard error and ignores the rest, so a broken renderer never takes
// the client down; failed() tells whether anything was lost.
#ifndef VELLUM_RIB_OUTPUT_SINK_H
#define VELLUM_RIB_OUTPUT_SINK_H

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

namespace vellum {

class OutputSink {
 public:
  // Where a failure is told, a whole report with its line end.
  using Reporter = std::function<void(const std::string &text)>;

  virtual ~OutputSink() = default;
  // Failures go to `report` instead of the process's diagnostics.
  void setReporter(Reporter report) { report_ = std::move(report); }
  // Hands on all `size` bytes (or reports why it could not).
  virtual void write(const char *data, size_t size) = 0;
  // Pushes what the sink itself holds back to its destination.
  virtual void flush() {}
  // Closes a file or pipe (waiting for the child to exit, its status
  // ignored); standard output is flushed and stays open, memory stays.
  virtual void close() {}
  // Lets go of the destination without writing to it again: in a forked
  // child, whose copy of a stream must not write into its parent's.
  virtual void release() {}
  // Hands on what the sink still holds as at close(), so that what was
  // written makes a complete stream, but keeps the destination open:
  // for a process that exits without closing it.
  virtual void finishAtExit() { flush(); }
  // Whether a write, flush or close failed: some bytes were lost.
  virtual bool failed() const { return failed_; }

 protected:
  // Reports the first failure as "libvellum error: WHAT NAME failed:
  // reason" (a null name is standard output); later ones are ignored.
  void reportFailure(const char *what, const char *name, int error);

 private:
  bool failed_ = false;
  Reporter report_;
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
  // Closes this process's copy of the descriptor and does not wait for
  // the child, which is not this process's.
  void release() override;

 private:
  int fd_;
  pid_t child_;
  const char *name_;
  bool mayRaiseSigpipe_ = true;  // a pipe, a FIFO or a socket
};

// Standard output, through stdio, so that the RIB keeps its order with
// what the client prints itself.  Never closed; close() flushes it.  When
// it is a pipe or a socket, stdio's writes block SIGPIPE as a
// DescriptorSink's do.
class StandardOutputSink : public OutputSink {
 public:
  StandardOutputSink();
  void write(const char *data, size_t size) override;
  void flush() override;
  void close() override { flush(); }
  void release() override { released_ = true; }

 private:
  bool mayRaiseSigpipe_ = true;
  bool released_ = false;
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
