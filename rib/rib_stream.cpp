#include "rib/rib_stream.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char **environ;

namespace vellum {

namespace {

// Bytes gathered before they are handed to a file or pipe.
constexpr size_t kChunkSize = 64 * 1024;

// Programs that receive the RIB through a pipe when named alone.
constexpr const char *kRendererPrograms[] = {"raylume", "qview", "zbrend"};

bool isRendererProgram(const char *name) {
  for (const char *program : kRendererPrograms)
    if (std::strcmp(name, program) == 0) return true;
  return false;
}

RibStream *openStreams = nullptr;

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

[[noreturn]] void failToOpenPipe(const char *name) {
  std::fprintf(stderr, "Error opening pipe to %s\n", name);
  std::exit(1);
}

// Starts `argv` with a new pipe as its standard input and returns the
// pipe's write end.  The write end is close-on-exec, so no child (this one
// or one of a later context) keeps it open and hides the end of the RIB.
int startChild(const char *path, char *const argv[], bool searchPath, pid_t *child,
               const char *name) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) failToOpenPipe(name);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  int error = searchPath ? posix_spawnp(child, path, &actions, nullptr, argv, environ)
                         : posix_spawn(child, path, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  if (error != 0) {
    ::close(fds[1]);
    failToOpenPipe(name);
  }
  return fds[1];
}

}  // namespace

RibStream::RibStream(const char *name) {
  if (name == nullptr) {
    threshold_ = 0;
    return;
  }
  threshold_ = kChunkSize;
  buffer_.reserve(kChunkSize + kChunkSize / 4);
  if (isRendererProgram(name)) {
    name_ = name;
    char *argv[] = {const_cast<char *>(name), nullptr};
    fd_ = startChild(name, argv, true, &child_, name);
  } else if (name[0] == '|') {
    name_ = name + 1;
    char *argv[] = {const_cast<char *>("sh"), const_cast<char *>("-c"),
                    const_cast<char *>(name_), nullptr};
    fd_ = startChild("/bin/sh", argv, false, &child_, name_);
  } else {
    name_ = name;
    fd_ = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      std::fputs("Error making RIB file: bad filename\n", stderr);
      std::exit(1);
    }
  }
  static bool exitHookInstalled = false;
  if (!exitHookInstalled) {
    std::atexit(drainAllAtExit);
    exitHookInstalled = true;
  }
  nextOpen_ = openStreams;
  if (openStreams != nullptr) openStreams->prevOpen_ = this;
  openStreams = this;
}

RibStream::~RibStream() { close(); }

void RibStream::drainAllAtExit() {
  for (RibStream *stream = openStreams; stream != nullptr; stream = stream->nextOpen_)
    stream->drain();
}

void RibStream::drain() {
  if (buffer_.empty()) return;
  if (fd_ >= 0) {
    writeToFd(buffer_.data(), buffer_.size());
  } else if (!closed_) {
    size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    if (written != buffer_.size()) reportFailure("writing RIB to", errno);
  }
  buffer_.clear();
}

void RibStream::writeToFd(const char *data, size_t size) {
  SigpipeGuard guard;
  while (size > 0) {
    ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      reportFailure("writing RIB to", errno);
      return;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void RibStream::flush() {
  drain();
  if (fd_ < 0 && !closed_ && std::fflush(stdout) != 0) reportFailure("writing RIB to", errno);
}

void RibStream::close() {
  if (closed_) return;
  drain();
  closed_ = true;
  if (fd_ < 0) return;  // standard output stays open and unflushed
  if (::close(fd_) != 0 && errno != EINTR) reportFailure("closing RIB output", errno);
  fd_ = -1;
  if (child_ > 0) {
    int status;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
  }
  if (prevOpen_ != nullptr) prevOpen_->nextOpen_ = nextOpen_;
  else openStreams = nextOpen_;
  if (nextOpen_ != nullptr) nextOpen_->prevOpen_ = prevOpen_;
}

void RibStream::reportFailure(const char *what, int error) {
  if (failed_) return;
  failed_ = true;
  std::fprintf(stderr, "libvellum error: %s %s failed: %s\n", what,
               name_ != nullptr ? name_ : "standard output", std::strerror(error));
}

}  // namespace vellum
