// Many streams at once: objects of the C++ interface made, written, ended
// and destroyed by several threads together (declarations of their own,
// errors through handlers of their own, gzip and binary output), while the
// C interface writes in the main thread.  Every stream must come out with
// the very bytes it has when written alone.  Built with ThreadSanitizer in
// CI, where any access of shared state without order is a failure, and
// with AddressSanitizer in the suite.
#include <ri.hpp>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 6;
constexpr int kStreamsEach = 12;

char *tok(const char *text) { return const_cast<char *>(text); }

std::string scratchPath(const std::string &name) {
  const char *directory = std::getenv("TMPDIR");
  return std::string(directory != nullptr ? directory : "/tmp") + "/vellum-threads-" + std::to_string(getpid()) +
         "-" + name;
}

// A file's bytes, decompressed when it is gzip.
std::string contentOf(const std::string &path) {
  gzFile file = gzopen(path.c_str(), "rb");
  std::string bytes;
  char buffer[65536];
  for (int got; file != nullptr && (got = gzread(file, buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  if (file != nullptr) gzclose(file);
  return bytes;
}

// Each thread's own error handler counts what it hears.
thread_local int errorsHeard = 0;
void countError(RtInt, RtInt, char *) { ++errorsHeard; }

// Stream `k` of thread `t`: its own declaration of "foo" (a type that
// depends on the thread), a mesh, an error its handler hears, and a format
// that depends on the stream (a quarter of them compressed).
void writeStream(int t, int k, const std::string &path) {
  const vellum::RibSettings settings{k % 2 == 1, k % 3 == 0 ? 0 : 6, k % 4 == 2, 1 + k % 9};
  vellum::Ri ri(path.c_str(), settings);
  ri.ErrorHandler(countError);
  const bool floats = t % 2 == 0;
  ri.Declare("foo", floats ? "uniform float[2]" : "uniform string");
  RtFloat pair[2] = {static_cast<RtFloat>(t), static_cast<RtFloat>(k)};
  const char *text = "text";
  ri.WorldBegin();
  ri.Surface("plastic", {{"foo", floats ? static_cast<const void *>(pair) : static_cast<const void *>(&text)}});
  std::vector<RtInt> nverts(100, 3), verts;
  std::vector<RtFloat> points;
  for (int i = 0; i < 300; ++i) {
    verts.push_back(i);
    for (int c = 0; c < 3; ++c) points.push_back(static_cast<RtFloat>(i * 3 + c) / 7 + static_cast<RtFloat>(t));
  }
  // A compressed stream writes enough (over 1 MiB) to be compressed on a
  // thread of its own.
  for (int copies = settings.gzip ? 100 : 1; copies > 0; --copies)
    ri.PointsPolygons(100, nverts.data(), verts.data(), {{RI_P, points.data()}});
  RtInt huge[3] = {2147483647, 2147483647, 2147483647};
  RtBound unit = {0, 1, 0, 1, 0, 1};
  ri.Volume("box", unit, huge);  // refused: heard by the handler, nothing written
  ri.WorldEnd();
}

TEST(ObjectsInThreads, EveryStreamIsWhatItIsAlone) {
  // The C interface's first context sets the predefined tokens (RI_P) the
  // threads read.
  RiBegin(tok(scratchPath("warm.rib").c_str()));
  RiEnd();
  std::remove(scratchPath("warm.rib").c_str());

  std::vector<std::vector<std::string>> expected(kThreads, std::vector<std::string>(kStreamsEach));
  for (int t = 0; t < kThreads; ++t)
    for (int k = 0; k < kStreamsEach; ++k) {
      const std::string path = scratchPath("alone-" + std::to_string(t) + "-" + std::to_string(k));
      writeStream(t, k, path);
      expected[t][k] = contentOf(path);
      std::remove(path.c_str());
    }

  std::atomic<int> wrong{0}, errors{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      errorsHeard = 0;
      for (int k = 0; k < kStreamsEach; ++k) {
        const std::string path = scratchPath("thread-" + std::to_string(t) + "-" + std::to_string(k));
        writeStream(t, k, path);
        if (contentOf(path) != expected[t][k]) ++wrong;
        std::remove(path.c_str());
      }
      errors += errorsHeard;
    });
  // Meanwhile the C interface, with a declaration of "foo" of its own.
  const std::string cPath = scratchPath("c.rib");
  for (int k = 0; k < kStreamsEach; ++k) {
    RiBegin(tok(cPath.c_str()));
    RiDeclare(tok("foo"), tok("uniform color"));
    RtColor white = {1, 1, 1};
    RiSurface(tok("matte"), "foo", white, RI_NULL);
    RiEnd();
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(contentOf(cPath), "##RenderMan RIB-Structure 1.0\nversion 3.03\nDeclare \"foo\" \"uniform color\"\n"
                              "Surface \"matte\" \"foo\" [1 1 1]\n\n");
  std::remove(cPath.c_str());
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(errors.load(), kThreads * kStreamsEach);
  EXPECT_NE(expected[0][0], expected[1][0]);  // the threads' declarations differ
}

}  // namespace
