#include "tests/test_support.h"

#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ri.h"
#include "rib/rib_writer.h"

namespace vellum_test {

namespace {

// The directory and the process that made it, which removes it at exit
// (children forked by the tests exit too, and must leave it).
char madeDirectory[] = "/tmp/vellum-test-XXXXXX";
pid_t directoryOwner = 0;

int removeEntry(const char *path, const struct stat *, int, struct FTW *) {
  std::remove(path);
  return 0;
}

void removeTempDirectory() {
  if (getpid() == directoryOwner) nftw(madeDirectory, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

const std::string &tempDirectory() {
  static const std::string dir = [] {
    if (mkdtemp(madeDirectory) == nullptr) std::abort();
    directoryOwner = getpid();
    std::atexit(removeTempDirectory);
    return std::string(madeDirectory);
  }();
  return dir;
}

ChildResult collect(pid_t pid, const std::string &outPath, const std::string &errPath) {
  ChildResult result;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = readFile(outPath);
  result.err = readFile(errPath);
  return result;
}

void redirect(int fd, const std::string &path) {
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(file, fd);
  close(file);
}

}  // namespace

const std::string kTestSceneRib =
    "##RenderMan RIB-Structure 1.0\n"
    "version 3.03\n"
    "LightSource \"distantlight\" 1\n"
    "Projection \"perspective\"\n"
    "WorldBegin\n"
    "AttributeBegin\n"
    "Color [0.2 0.3 0.9]\n"
    "Surface \"matte\"\n"
    "Polygon \"P\" [0.2 1.5 2.5 -0.2 1.5 2.5 -0.2 0 2.5 0.2 0 2.5]\n"
    "AttributeEnd\n"
    "AttributeBegin\n"
    "Skew 45   0 1 0   1 0 0\n"
    "Color [0.9 0.3 0.2]\n"
    "Surface \"matte\"\n"
    "Polygon \"P\" [0.2 1.5 2.5 -0.2 1.5 2.5 -0.2 0 2.5 0.2 0 2.5]\n"
    "AttributeEnd\n"
    "WorldEnd\n"
    "\n";

std::string tempPath(const std::string &name) {
  static int counter = 0;
  return tempDirectory() + "/" + std::to_string(getpid()) + "-" + std::to_string(++counter) +
         "-" + name;
}

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string &path, const std::string &content) {
  std::ofstream(path, std::ios::binary) << content;
}

ChildResult runInChild(const std::function<void()> &body) {
  const std::string outPath = tempPath("out"), errPath = tempPath("err");
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    redirect(STDOUT_FILENO, outPath);
    redirect(STDERR_FILENO, errPath);
    body();
    std::exit(0);
  }
  return collect(pid, outPath, errPath);
}

ChildResult runProgram(const std::string &commandLine, const std::string &input) {
  const std::string inPath = tempPath("in"), outPath = tempPath("out"), errPath = tempPath("err");
  writeFile(inPath, input);
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    dup2(in, STDIN_FILENO);
    close(in);
    redirect(STDOUT_FILENO, outPath);
    redirect(STDERR_FILENO, errPath);
    execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char *>(nullptr));
    _exit(127);
  }
  return collect(pid, outPath, errPath);
}

std::string ribOf(const std::function<void()> &body, bool binary) {
  const std::string path = tempPath("out.rib");
  RtInt mode = binary ? 1 : 0;
  RiOption(const_cast<char *>("rib"), "binary", &mode, RI_NULL);
  RiBegin(const_cast<char *>(path.c_str()));
  body();
  RiEnd();
  RtInt ascii = 0;
  RiOption(const_cast<char *>("rib"), "binary", &ascii, RI_NULL);
  return readFile(path);
}

std::string requestsOf(const std::function<void()> &body, bool binary) {
  std::string rib = ribOf(body, binary);
  if (rib.compare(0, kHeader.size(), kHeader) != 0 || rib.empty() || rib.back() != '\n')
    return "unexpected stream: " + rib;
  return rib.substr(kHeader.size(), rib.size() - kHeader.size() - 1);
}

std::string writtenBy(const std::function<void(vellum::RibWriter &)> &body, bool binary) {
  return requestsOf([&] { body(*static_cast<vellum::RibWriter *>(RiGetContext())); }, binary);
}

void expectLines(const LineCase *cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const LineCase &c = cases[i];
    EXPECT_EQ(requestsOf(c.calls), c.ascii) << c.what;
    EXPECT_EQ(requestsOf(c.calls, true), c.binary == kSame ? c.ascii : c.binary)
        << c.what << " (binary)";
  }
}

long handleNumber(void *handle) { return static_cast<long>(reinterpret_cast<intptr_t>(handle)); }

std::string bytes(std::initializer_list<int> values) {
  std::string result;
  for (int value : values) result.push_back(static_cast<char>(value));
  return result;
}

}  // namespace vellum_test
