// gzip-compressed RIB: the "rib" option's "compression".
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ri.h"
#include "tests/test_support.h"

namespace {

using vellum_test::gunzip;
using vellum_test::kHeader;
using vellum_test::tok;

RtToken tok(const std::string &text) { return const_cast<char *>(text.c_str()); }

void setCompression(const char *name) {
  RtString value = const_cast<char *>(name);
  RiOption(tok("rib"), "compression", &value, RI_NULL);
}

void setBinary(bool binary) {
  RtInt flag = binary;
  RiOption(tok("rib"), "binary", &flag, RI_NULL);
}

// Several buffers' worth of RIB, with float arrays that binary RIB writes
// as binary tokens.
void scene() {
  RiWorldBegin();
  for (int i = 0; i < 4000; ++i) {
    const RtFloat x = i * 0.37f, y = i * 0.011f;
    RtFloat square[] = {x, y, 0, x + 1, y, 0.5f, x + 1, y + 1, 0.25f, x, y + 1, 1.0f / (i + 1)};
    RiPolygon(4, RI_P, square, RI_NULL);
  }
  RiWorldEnd();
}

enum Destination { kFile, kStandardOutput, kPipe };

TEST(RibCompression, GzipDecompressesToThePlainBytes) {
  const char *kNames[] = {"file", "standard output", "pipe into gzip -dc"};
  for (Destination destination : {kFile, kStandardOutput, kPipe}) {
    for (bool binary : {false, true}) {
      const std::string what = std::string(kNames[destination]) + (binary ? ", binary" : ", ASCII");
      const std::string plain = vellum_test::ribOf(scene, binary);
      const std::string path = vellum_test::tempPath("out.rib");
      const std::string name = destination == kPipe ? "|gzip -dc > '" + path + "'" : path;
      vellum_test::ChildResult child = vellum_test::runInChild([&] {
        setBinary(binary);
        setCompression("gzip");
        RiBegin(destination == kStandardOutput ? RI_NULL : tok(name));
        scene();
        RiEnd();
      });
      EXPECT_EQ(child.exitStatus, 0) << what;
      EXPECT_EQ(child.err, "") << what;
      // The pipe's command has decompressed it already.
      const std::string arrived = destination == kPipe ? vellum_test::readFile(path)
                                  : destination == kFile ? gunzip(vellum_test::readFile(path))
                                                         : gunzip(child.out);
      EXPECT_GT(plain.size(), 2u * 64 * 1024) << what;
      EXPECT_EQ(arrived.size(), plain.size()) << what;
      EXPECT_TRUE(arrived == plain) << what;  // compared whole, without printing it
    }
  }
}

// WorldEnd makes everything so far decompressible at the other end; RiEnd,
// and an exit without RiEnd, end the gzip stream.  (_exit runs no exit
// hook, so what it leaves is what was delivered before it.)
TEST(RibCompression, EachFlushPointDeliversEverythingSoFar) {
  struct Case {
    const char *what;
    void (*calls)();
    int exitStatus;
    std::string rib;
  } cases[] = {
      {"WorldEnd", [] { RiWorldBegin(); RiWorldEnd(); _exit(0); }, 0,
       kHeader + "WorldBegin\nWorldEnd\n" + vellum_test::kCutShort},
      {"RiEnd", [] { RiWorldBegin(); RiWorldEnd(); RiEnd(); _exit(0); }, 0,
       kHeader + "WorldBegin\nWorldEnd\n\n"},
      {"exit without RiEnd", [] { RiFrameBegin(7); std::exit(3); }, 3, kHeader + "FrameBegin 7\n"},
  };
  for (const Case &c : cases) {
    for (bool toFile : {true, false}) {
      const std::string path = vellum_test::tempPath("flushed.rib");
      vellum_test::ChildResult child = vellum_test::runInChild([&] {
        setCompression("gzip");
        RiBegin(toFile ? tok(path) : RI_NULL);
        c.calls();
      });
      const std::string what = std::string(c.what) + (toFile ? ", file" : ", standard output");
      EXPECT_EQ(child.exitStatus, c.exitStatus) << what;
      EXPECT_EQ(gunzip(toFile ? vellum_test::readFile(path) : child.out), c.rib) << what;
    }
  }
}

// Names are compared exactly; an unknown one is reported and leaves the
// setting as it was.
TEST(RibCompression, NamesOfTheRibOption) {
  const std::string unknown =
      "ERROR: Invalid token\n    --> the \"rib\" option's compression must be \"gzip\" or \"none\"\n";
  struct Case {
    std::vector<const char *> names;  // one "rib" option each, in order
    bool compressed;
    std::string err;
  } cases[] = {
      {{"gzip"}, true, ""},
      {{"gzip", "none"}, false, ""},
      {{"none"}, false, ""},
      {{"gzip", "zip"}, true, unknown},
      {{"GZIP"}, false, unknown},
      {{"gzip", ""}, true, unknown},
      {{nullptr}, false, unknown},
  };
  const std::string plain = kHeader + "WorldBegin\n\n";
  for (const Case &c : cases) {
    std::string what;
    for (const char *name : c.names) what += std::string(name != nullptr ? name : "(null)") + " ";
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      for (const char *name : c.names) setCompression(name);
      RiBegin(RI_NULL);
      RiWorldBegin();
      RiEnd();
    });
    EXPECT_EQ(child.err, c.err) << what;
    EXPECT_EQ(c.compressed ? gunzip(child.out) : child.out, plain) << what;
  }
}

// Binary floats of no pattern: more compressed bytes than a pipe holds.
void noise() {
  std::vector<RtFloat> values(600000);
  unsigned state = 1;
  for (RtFloat &value : values) value = static_cast<RtFloat>((state = state * 1103515245u + 12345u) >> 8);
  RiPoints(static_cast<RtInt>(values.size() / 3), RI_P, values.data(), RI_NULL);
  RiWorldEnd();
}

// A failed write is reported once, as for plain RIB, and the client goes
// on; a renderer that goes away raises no SIGPIPE.
TEST(RibCompression, FailedWritesAreReportedOnce) {
  const std::string failed = "libvellum error: writing RIB to ";
  struct Case {
    const char *name;  // null: standard output, into /dev/full
    std::string err;
  } cases[] = {
      {"/dev/full", failed + "/dev/full failed: No space left on device\n"},
      {"|true", failed + "true failed: Broken pipe\n"},
      {nullptr, failed + "standard output failed: No space left on device\n"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      if (c.name == nullptr && std::freopen("/dev/full", "w", stdout) == nullptr) return;
      setBinary(true);
      setCompression("gzip");
      RiBegin(tok(c.name));
      noise();
      noise();
      RiEnd();
      std::fputs("carried on\n", stderr);
    });
    const char *what = c.name != nullptr ? c.name : "standard output";
    EXPECT_EQ(child.signal, 0) << what;
    EXPECT_EQ(child.exitStatus, 0) << what;
    EXPECT_EQ(child.err, c.err + "carried on\n") << what;
  }
}

}  // namespace

namespace {

void setLevel(RtInt level) { RiOption(tok("rib"), "compressionlevel", &level, RI_NULL); }

// The "rib" option's compressionlevel: 1 (the fastest) to 9 (the
// smallest), the last one given in range in force; one out of range is
// reported and leaves the level as it was.
TEST(RibCompression, LevelsOfTheRibOption) {
  const std::string range = "ERROR: Parameter out of range\n"
                            "    --> the \"rib\" option's compressionlevel must be 1 to 9\n";
  const std::string plain = vellum_test::ribOf(scene, false);
  auto compressed = [&](const std::vector<RtInt> &levels) {
    return vellum_test::runInChild([&] {
      setCompression("gzip");
      for (RtInt level : levels) setLevel(level);
      RiBegin(RI_NULL);
      scene();
      RiEnd();
    });
  };
  const vellum_test::ChildResult fastest = compressed({1}), smallest = compressed({9});
  EXPECT_EQ(gunzip(fastest.out), plain);
  EXPECT_EQ(gunzip(smallest.out), plain);
  EXPECT_LT(smallest.out.size(), fastest.out.size());
  EXPECT_EQ(compressed({}).out, fastest.out);  // 1 unless asked
  struct Case {
    std::vector<RtInt> levels;
    const std::string &out;
    std::string err;
  } cases[] = {
      {{9, 1}, fastest.out, ""},
      {{1, 9}, smallest.out, ""},
      {{9, 0}, smallest.out, range},
      {{9, 10}, smallest.out, range},
      {{1, -1}, fastest.out, range},
  };
  for (const Case &c : cases) {
    std::string what;
    for (RtInt level : c.levels) what += std::to_string(level) + " ";
    const vellum_test::ChildResult child = compressed(c.levels);
    EXPECT_EQ(child.err, c.err) << what;
    EXPECT_TRUE(child.out == c.out) << what;
  }
  // Every level writes standard gzip of the same bytes.
  for (RtInt level = 2; level <= 8; ++level) EXPECT_EQ(gunzip(compressed({level}).out), plain) << level;
}

}  // namespace

namespace {

// Several blocks' worth of bytes, so that a thread compresses them.
void manyPoints() {
  std::vector<RtFloat> values(3 * 200000);
  unsigned state = 3;
  for (RtFloat &value : values) value = static_cast<RtFloat>((state = state * 1103515245u + 12345u) >> 12);
  RiPoints(static_cast<RtInt>(values.size() / 3), RI_P, values.data(), RI_NULL);
}

// A stream long enough to be compressed on a thread of its own keeps the
// flush points' meaning: everything up to WorldEnd at once, everything at
// RiEnd or at exit, and one gzip stream across a fork whose child writes
// none of it.
TEST(RibCompression, AStreamCompressedOnAThreadKeepsItsFlushPoints) {
  enum Ending { kWorldEndThenDie, kRiEnd, kExit, kForkThenRiEnd };
  const std::string world = vellum_test::ribOf([] {
    RiWorldBegin();
    manyPoints();
    RiWorldEnd();
  }, true);
  // Without the header, and without the empty line RiEnd ends with.
  const std::string body = world.substr(kHeader.size(), world.size() - kHeader.size() - 1);
  struct Case {
    const char *what;
    Ending ending;
    std::string rib;  // decompressed
  } cases[] = {
      {"WorldEnd, then _exit", kWorldEndThenDie, kHeader + body + vellum_test::kCutShort},
      {"RiEnd", kRiEnd, kHeader + body + "Sphere 1 -1 1 360\n\n"},
      {"exit without RiEnd", kExit, kHeader + body + "Sphere 1 -1 1 360\n"},
      {"a fork, then RiEnd", kForkThenRiEnd, kHeader + body + body + "\n"},
  };
  for (const Case &c : cases) {
    for (bool toFile : {true, false}) {
      const std::string path = vellum_test::tempPath("threaded.rib");
      vellum_test::ChildResult child = vellum_test::runInChild([&] {
        setBinary(true);
        setCompression("gzip");
        RiBegin(toFile ? tok(path) : RI_NULL);
        RiWorldBegin();
        manyPoints();
        RiWorldEnd();
        if (c.ending == kWorldEndThenDie) _exit(0);
        if (c.ending == kForkThenRiEnd) {
          const pid_t forked = fork();
          if (forked == 0) {
            RiEnd();
            std::exit(0);
          }
          int status;
          waitpid(forked, &status, 0);
          RiWorldBegin();
          manyPoints();
          RiWorldEnd();
          RiEnd();
          return;
        }
        RiSphere(1, -1, 1, 360, RI_NULL);
        if (c.ending == kExit) std::exit(0);
        RiEnd();
      });
      const std::string what = std::string(c.what) + (toFile ? ", file" : ", standard output");
      EXPECT_EQ(child.exitStatus, 0) << what;
      EXPECT_TRUE(gunzip(toFile ? vellum_test::readFile(path) : child.out) == c.rib) << what;
    }
  }
}

}  // namespace
