#include "tests/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ri.h"
#include "rib/rib_writer.h"

namespace vellum_test {

namespace {

// The test process's own temporary directory, removed with everything in
// it when that process exits (children that exit run the hook too, and
// leave it alone).
const std::string &tempDirectory() {
  static const pid_t owner = getpid();
  static const std::string dir = [] {
    char pattern[] = "/tmp/vellum-test-XXXXXX";
    const char *made = mkdtemp(pattern);
    if (made == nullptr) std::abort();
    return std::string(made);
  }();
  // Registered once `dir` is made, so it runs before `dir` is destroyed.
  static const bool removedAtExit = std::atexit([] {
    std::error_code ignored;
    if (getpid() == owner) std::filesystem::remove_all(dir, ignored);
  }) == 0;
  (void)removedAtExit;
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

std::string gunzip(const std::string &compressed) {
  z_stream stream = {};
  if (inflateInit2(&stream, 15 + 16) != Z_OK) return kNotGzip;  // gzip only
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  char chunk[16384];
  int result;
  do {
    stream.next_out = reinterpret_cast<Bytef *>(chunk);
    stream.avail_out = sizeof chunk;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - stream.avail_out);
  } while (result == Z_OK);
  const uInt left = stream.avail_in;
  inflateEnd(&stream);
  if (result == Z_STREAM_END) return left == 0 ? out : out + kTrailingBytes;
  return result == Z_BUF_ERROR ? out + kCutShort : kNotGzip;
}

std::vector<std::pair<std::string, std::string>> projectRibFiles() {
  std::vector<std::pair<std::string, std::string>> files;
  const std::string source = VELLUM_SOURCE_DIR;
  for (const char *directory : {"/bench/scenes", "/fuzz/corpus"}) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(source + directory))
      if (entry.path().extension() == ".rib") names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    for (const std::string &name : names) {
      std::string bytes = readFile(name);
      if (std::string(directory) == "/fuzz/corpus" && !bytes.empty()) {
        if (bytes[0] & 0x40) continue;  // the order of a bomb, not RIB
        bytes.erase(0, 1);
        bytes.erase(std::remove(bytes.begin(), bytes.end(), '\x1e'), bytes.end());
      }
      files.emplace_back(name.substr(source.size() + 1), std::move(bytes));
    }
  }
  return files;
}

}  // namespace vellum_test
