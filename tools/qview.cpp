// qview: a stand-in renderer program.  It reads RIB from its standard input
// to the end, copies the bytes unchanged to its standard output and says on
// standard error how much it received.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

bool writeAll(const char *data, size_t size) {
  while (size > 0) {
    ssize_t written = ::write(STDOUT_FILENO, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

int main() {
  char buffer[1 << 16];
  unsigned long long bytes = 0, lines = 0;
  bool echo = true;
  for (;;) {
    ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      std::perror("qview: read");
      return 1;
    }
    if (got == 0) break;
    bytes += static_cast<unsigned long long>(got);
    for (ssize_t i = 0; i < got; ++i) lines += buffer[i] == '\n';
    // Keep reading to the end even when nobody takes the copy any more.
    if (echo && !writeAll(buffer, static_cast<size_t>(got))) echo = false;
  }
  std::fprintf(stderr, "qview: %llu bytes, %llu lines\n", bytes, lines);
  return 0;
}
