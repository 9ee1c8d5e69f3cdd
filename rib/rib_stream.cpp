#include "rib/rib_stream.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "error/writer_diagnostics.h"
#include "rib/gzip_sink.h"

extern char **environ;

namespace vellum {

namespace {

// Programs that receive the RIB through a pipe when named alone.
constexpr const char *kRendererPrograms[] = {"raylume", "qview", "zbrend"};

bool isRendererProgram(const char *name) {
  for (const char *program : kRendererPrograms)
    if (std::strcmp(name, program) == 0) return true;
  return false;
}

// Every open stream, of every thread, for exit and fork; guarded by
// openStreamsLock, which only opening and closing a stream take (and fork,
// around which it is held so the child gets the list whole).
RibStream *openStreams = nullptr;
std::mutex openStreamsLock;

// Starts `argv` with a new pipe as its standard input and returns the
// pipe's write end, or -1 with errno set.  The write end is close-on-exec,
// so no child (this one or one of a later context) keeps it open and hides
// the end of the RIB.
int startChild(const char *path, char *const argv[], bool searchPath, pid_t *child) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  int error = searchPath ? posix_spawnp(child, path, &actions, nullptr, argv, environ)
                         : posix_spawn(child, path, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  if (error != 0) {
    ::close(fds[1]);
    errno = error;
    return -1;
  }
  return fds[1];
}

// The destination of RibStream(name), which cannot go on without one.
std::unique_ptr<OutputSink> openDestinationOrExit(const char *&name) {
  const char *const asked = name;
  std::unique_ptr<OutputSink> sink = openDestination(name);
  if (sink != nullptr) return sink;
  if (isRendererProgram(asked) || asked[0] == '|')
    reportWriterProblem("Error opening pipe to %s\n", name);
  else
    reportWriterProblem("Error making RIB file: bad filename\n");
  std::exit(1);
}

}  // namespace

std::unique_ptr<OutputSink> openDestination(const char *&name) {
  if (name == nullptr) return std::make_unique<StandardOutputSink>();
  pid_t child = -1;
  if (isRendererProgram(name)) {
    char *argv[] = {const_cast<char *>(name), nullptr};
    const int fd = startChild(name, argv, true, &child);
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorSink>(fd, child, name);
  }
  if (name[0] == '|') {
    name = name + 1;
    char *argv[] = {const_cast<char *>("sh"), const_cast<char *>("-c"), const_cast<char *>(name),
                    nullptr};
    const int fd = startChild("/bin/sh", argv, false, &child);
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorSink>(fd, child, name);
  }
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return std::make_unique<DescriptorSink>(fd, -1, name);
}

RibStream::RibStream(const char *name)
    : name_(name), sink_(openDestinationOrExit(name_)), buffer_(*sink_),
      handOnEachRequest_(name == nullptr) {
  joinOpenStreams();
}

RibStream::RibStream(std::unique_ptr<OutputSink> sink, const char *name, OutputSink::Reporter report)
    : name_(name), sink_(std::move(sink)), buffer_(*sink_), handOnEachRequest_(name == nullptr),
      report_(std::move(report)) {
  sink_->setReporter(report_);
  joinOpenStreams();
}

void RibStream::joinOpenStreams() {
  static std::once_flag hooksInstalled;
  std::call_once(hooksInstalled, [] {
    std::atexit(drainAllAtExit);
    pthread_atfork(handOnAllBeforeFork, afterForkInParent, releaseAllInForkedChild);
  });
  const std::lock_guard<std::mutex> lock(openStreamsLock);
  nextOpen_ = openStreams;
  if (openStreams != nullptr) openStreams->prevOpen_ = this;
  openStreams = this;
}

RibStream::~RibStream() { close(); }

void RibStream::compress(int level) {
  if (!gzipAvailable()) return;
  sink_ = gzipSink(std::move(sink_), name_, level);
  sink_->setReporter(report_);
  buffer_.redirect(*sink_);
  // Compressed bytes cannot keep an order with the client's own output,
  // and deflating each request on its own would only cost time.
  handOnEachRequest_ = false;
}

void RibStream::drainAllAtExit() {
  const std::lock_guard<std::mutex> lock(openStreamsLock);
  for (RibStream *stream = openStreams; stream != nullptr; stream = stream->nextOpen_) {
    stream->buffer_.drain();
    stream->sink_->finishAtExit();
  }
}

// The lock is taken before fork and given back after it in both
// processes.
void RibStream::handOnAllBeforeFork() {
  openStreamsLock.lock();
  for (RibStream *stream = openStreams; stream != nullptr; stream = stream->nextOpen_)
    if (pthread_equal(stream->opener_, pthread_self()) != 0) stream->flush();
}

void RibStream::afterForkInParent() { openStreamsLock.unlock(); }

void RibStream::releaseAllInForkedChild() {
  for (RibStream *stream = openStreams; stream != nullptr; stream = stream->nextOpen_)
    stream->sink_->release();
  openStreamsLock.unlock();
}

void RibStream::flush() {
  buffer_.drain();
  sink_->flush();
}

void RibStream::close() {
  if (closed_) return;
  buffer_.drain();
  closed_ = true;
  sink_->close();
  const std::lock_guard<std::mutex> lock(openStreamsLock);
  if (prevOpen_ != nullptr) prevOpen_->nextOpen_ = nextOpen_;
  else openStreams = nextOpen_;
  if (nextOpen_ != nullptr) nextOpen_->prevOpen_ = prevOpen_;
}

}  // namespace vellum
