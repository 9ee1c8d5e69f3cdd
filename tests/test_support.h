// Test helpers: running code in a child process to see its exit status and
// exact output, and capturing what a RibWriter writes.
#ifndef VELLUM_TESTS_TEST_SUPPORT_H
#define VELLUM_TESTS_TEST_SUPPORT_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vellum {
class RibWriter;
}

namespace vellum_test {

struct ChildResult {
  int exitStatus = -1;    // 0..255 when the child exited, -1 otherwise
  int signal = 0;         // the signal that ended it, or 0
  std::string out;        // everything it wrote to standard output
  std::string err;        // everything it wrote to standard error
};

// Runs `body` in a forked child whose standard output and error go to
// files; the child exits with status 0 when `body` returns.
ChildResult runInChild(const std::function<void()> &body);

// Runs a program with arguments and optional standard input.
ChildResult runProgram(const std::string &commandLine, const std::string &input = "");

// A fresh path in a private temporary directory.
std::string tempPath(const std::string &name);
std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &content);

// The RIB streams of the project's own files, by name: the scenes of
// bench/scenes and the seeds of the reader's fuzz target that are RIB
// (their mode byte taken off and their parts joined), each as plain bytes.
std::vector<std::pair<std::string, std::string>> projectRibFiles();

// A string literal as the interface's non-const token type.
inline char *tok(const char *text) { return const_cast<char *>(text); }

// The header that starts every stream.
inline const std::string kHeader = "##RenderMan RIB-Structure 1.0\nversion 3.03\n";

// The bytes of the test scene's RIB.
extern const std::string kTestSceneRib;

// Everything that a context writes to a file between RiBegin and RiEnd,
// with `body` making the calls; `binary` sets the "rib" option first.
std::string ribOf(const std::function<void()> &body, bool binary = false);
// The same without the header and the final newline of RiEnd.
std::string requestsOf(const std::function<void()> &body, bool binary = false);

// What `body` writes through the current context's RibWriter operations
// (encoders and list writers), without header and final newline.
std::string writtenBy(const std::function<void(vellum::RibWriter &)> &body, bool binary = false);

// A request group's expected lines: what `calls` writes in ASCII and in
// binary mode (kSame where both are the same).
struct LineCase {
  const char *what;
  std::function<void()> calls;
  std::string ascii;
  std::string binary;
};
inline const std::string kSame = "(same as ASCII)";
void expectLines(const LineCase *cases, size_t count);

// The number a light or object handle carries.
long handleNumber(void *handle);

// What gzip data decompresses to.  Data that stops before the end of the
// gzip stream gets kCutShort after what it gave, data that is not gzip or
// fails its check kNotGzip, and bytes after the stream kTrailingBytes.
std::string gunzip(const std::string &compressed);
inline const std::string kCutShort = "<cut short>";
inline const std::string kNotGzip = "<not gzip>";
inline const std::string kTrailingBytes = "<trailing bytes>";

// Bytes written as a string, from a list of byte values.
std::string bytes(std::initializer_list<int> values);

}  // namespace vellum_test

#endif
