#include "rib/output_sink.h"

#include <signal.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "error/writer_diagnostics.h"

namespace vellum {

namespace {

// Blocks SIGPIPE while a write to a pipe is under way, so a renderer that
// has gone away gives EPIPE instead of killing the client.  A SIGPIPE that
// the write raises is taken off the pending set before the mask is
// restored; one that was already pending is left for the client.  Only a
// write that fails raises one, so a guard around writes that succeed
// costs two system calls.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigset_t pipeOnly = onlySigpipe();
    sigprocmask(SIG_BLOCK, &pipeOnly, &saved_);
    // Unblocked, a pending SIGPIPE would have been delivered already.
    if (sigismember(&saved_, SIGPIPE) == 1) {
      sigset_t pending;
      sigpending(&pending);
      wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    }
  }
  ~SigpipeGuard() {
    if (writeFailed_ && !wasPending_) {
      const sigset_t pipeOnly = onlySigpipe();
      const timespec immediately = {0, 0};
      while (sigtimedwait(&pipeOnly, nullptr, &immediately) == -1 && errno == EINTR) {
      }
    }
    sigprocmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard &) = delete;
  SigpipeGuard &operator=(const SigpipeGuard &) = delete;

  void writeFailed() { writeFailed_ = true; }

 private:
  static sigset_t onlySigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
  }
  sigset_t saved_;
  bool wasPending_ = false;
  bool writeFailed_ = false;
};

// Only pipes, FIFOs and sockets raise SIGPIPE.
bool mayRaiseSigpipe(int fd) {
  struct stat status;
  return fstat(fd, &status) != 0 || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode);
}

// Whether handing `size` more bytes to stdio may make it write to standard
// output.  Most requests only fill stdio's buffer, and blocking SIGPIPE
// costs system calls that would make each of them many times slower.
bool stdioMayWrite(size_t size) {
  return __flbf(stdout) != 0 || __fpending(stdout) + size >= __fbufsize(stdout);
}

}  // namespace

void OutputSink::reportFailure(const char *what, const char *name, int error) {
  if (failed_) return;
  failed_ = true;
  const std::string text = std::string("libvellum error: ") + what + " " +
                           (name != nullptr ? name : "standard output") + " failed: " + std::strerror(error) + "\n";
  if (report_) report_(text);
  else emitDiagnostic(text.data(), text.size());
}

DescriptorSink::DescriptorSink(int fd, pid_t child, const char *name)
    : fd_(fd), child_(child), name_(name), mayRaiseSigpipe_(mayRaiseSigpipe(fd)) {}

void DescriptorSink::write(const char *data, size_t size) {
  if (fd_ < 0) return;
  std::optional<SigpipeGuard> guard;
  if (mayRaiseSigpipe_) guard.emplace();
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      if (guard) guard->writeFailed();
      reportFailure("writing RIB to", name_, errno);
      return;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void DescriptorSink::close() {
  if (fd_ < 0) return;
  if (::close(fd_) != 0 && errno != EINTR) reportFailure("closing RIB output", name_, errno);
  fd_ = -1;
  if (child_ > 0) {
    int status;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
  }
}

void DescriptorSink::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  child_ = -1;
}

StandardOutputSink::StandardOutputSink() : mayRaiseSigpipe_(mayRaiseSigpipe(fileno(stdout))) {}

void StandardOutputSink::write(const char *data, size_t size) {
  if (released_) return;
  std::optional<SigpipeGuard> guard;
  if (mayRaiseSigpipe_ && stdioMayWrite(size)) guard.emplace();
  if (std::fwrite(data, 1, size, stdout) != size) {
    if (guard) guard->writeFailed();
    reportFailure("writing RIB to", nullptr, errno);
  }
}

void StandardOutputSink::flush() {
  if (released_) return;
  std::optional<SigpipeGuard> guard;
  if (mayRaiseSigpipe_) guard.emplace();
  if (std::fflush(stdout) != 0) {
    if (guard) guard->writeFailed();
    reportFailure("writing RIB to", nullptr, errno);
  }
}

}  // namespace vellum
