#include "rib/output_sink.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

namespace vellum {

namespace {

// Blocks SIGPIPE while a write to a pipe is under way, so a renderer that
// has gone away gives EPIPE instead of killing the client.  A SIGPIPE that
// the write raises is taken off the pending set before the mask is
// restored; one that was already pending is left for the client.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigprocmask(SIG_BLOCK, &pipeOnly, &saved_);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigpipeGuard() {
    if (!wasPending_) {
      sigset_t pending;
      sigpending(&pending);
      if (sigismember(&pending, SIGPIPE) == 1) {
        sigset_t pipeOnly;
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        const timespec immediately = {0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &immediately) == -1 && errno == EINTR) {
        }
      }
    }
    sigprocmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard &) = delete;
  SigpipeGuard &operator=(const SigpipeGuard &) = delete;

 private:
  sigset_t saved_;
  bool wasPending_ = false;
};

void reportOnce(bool &failed, const char *what, const char *name, int error) {
  if (failed) return;
  failed = true;
  std::fprintf(stderr, "libvellum error: %s %s failed: %s\n", what,
               name != nullptr ? name : "standard output", std::strerror(error));
}

}  // namespace

DescriptorSink::DescriptorSink(int fd, pid_t child, const char *name)
    : fd_(fd), child_(child), name_(name) {
  struct stat status;
  mayRaiseSigpipe_ = fstat(fd, &status) != 0 || !S_ISREG(status.st_mode);
}

void DescriptorSink::write(const char *data, size_t size) {
  if (fd_ < 0) return;
  std::optional<SigpipeGuard> guard;
  if (mayRaiseSigpipe_) guard.emplace();
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      report("writing RIB to", errno);
      return;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void DescriptorSink::close() {
  if (fd_ < 0) return;
  if (::close(fd_) != 0 && errno != EINTR) report("closing RIB output", errno);
  fd_ = -1;
  if (child_ > 0) {
    int status;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
  }
}

void DescriptorSink::report(const char *what, int error) { reportOnce(failed_, what, name_, error); }

void StandardOutputSink::write(const char *data, size_t size) {
  if (std::fwrite(data, 1, size, stdout) != size) reportOnce(failed_, "writing RIB to", nullptr, errno);
}

void StandardOutputSink::flush() {
  if (std::fflush(stdout) != 0) reportOnce(failed_, "writing RIB to", nullptr, errno);
}

}  // namespace vellum
