#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ri.h"
#include "rib/output_buffer.h"
#include "tests/test_support.h"

namespace {

RtToken tok(const std::string &text) { return const_cast<char *>(text.c_str()); }

const std::string kEmptyStream = vellum_test::kHeader + "\n";

// A directory holding a fake renderer program of the given name that copies
// its standard input to `copyPath` and records its arguments.
std::string fakeRendererDirectory(const std::string &program, const std::string &copyPath) {
  const std::string dir = vellum_test::tempPath("bin");
  mkdir(dir.c_str(), 0755);
  const std::string script = dir + "/" + program;
  vellum_test::writeFile(script, "#!/bin/sh\necho \"$#\" > '" + copyPath + ".args'\ncat > '" +
                                     copyPath + "'\n");
  chmod(script.c_str(), 0755);
  return dir;
}

TEST(RibStream, FileDestination) {
  const std::string path = vellum_test::tempPath("out.rib");
  vellum_test::writeFile(path, "old content that is longer than the new stream, to be truncated");
  RiBegin(tok(path));
  RiWorldBegin();
  RiEnd();
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "WorldBegin\n\n");
  // Names that only resemble renderer programs are files.
  for (const char *name : {"QVIEW", "qview.rib"}) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      const std::string dir = vellum_test::tempPath("cwd");
      if (mkdir(dir.c_str(), 0755) != 0 || chdir(dir.c_str()) != 0) return;
      RiBegin(const_cast<char *>(name));
      RiEnd();
      std::fputs(vellum_test::readFile(name).c_str(), stdout);
    });
    EXPECT_EQ(child.out, kEmptyStream) << name;
  }
}

TEST(RibStream, StandardOutputStaysOpen) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    RiBegin(RI_NULL);
    RiWorldBegin();
    RiWorldEnd();
    RiEnd();
    std::fputs("after\n", stdout);
  });
  EXPECT_EQ(child.out, vellum_test::kHeader + "WorldBegin\nWorldEnd\n\nafter\n");
  EXPECT_EQ(child.err, "");
}

TEST(RibStream, ShellCommandDestination) {
  const std::string path = vellum_test::tempPath("piped.rib");
  RiBegin(tok("|cat > '" + path + "'"));
  RiWorldBegin();
  RiEnd();  // waits for the command, so the file is complete
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "WorldBegin\n\n");
}

TEST(RibStream, RendererProgramsAreFoundOnPathAndRunWithoutShell) {
  for (const char *program : {"raylume", "qview", "zbrend"}) {
    const std::string copy = vellum_test::tempPath("renderer.rib");
    const std::string dir = fakeRendererDirectory(program, copy);
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      setenv("PATH", (dir + ":/usr/bin:/bin").c_str(), 1);
      RiBegin(const_cast<char *>(program));
      RiFrameBegin(1);
      RiEnd();
    });
    EXPECT_EQ(child.exitStatus, 0) << program;
    EXPECT_EQ(vellum_test::readFile(copy), vellum_test::kHeader + "FrameBegin 1\n\n") << program;
    EXPECT_EQ(vellum_test::readFile(copy + ".args"), "0\n") << program;
  }
}

TEST(RibStream, DestinationsThatCannotBeOpenedEndTheProcess) {
  struct Case {
    std::string name;
    std::string stderrText;
  } cases[] = {
      {"zbrend", "Error opening pipe to zbrend\n"},
      {"", "Error making RIB file: bad filename\n"},
      {"/no/such/directory/out.rib", "Error making RIB file: bad filename\n"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      setenv("PATH", vellum_test::tempPath("empty").c_str(), 1);  // no programs at all
      RiBegin(tok(c.name));
      std::fputs("returned", stdout);
    });
    EXPECT_EQ(child.exitStatus, 1) << c.name;
    EXPECT_EQ(child.err, c.stderrText) << c.name;
    EXPECT_EQ(child.out, "") << c.name;
  }
}

// Enough RIB to fill any pipe buffer.
void writeALot() {
  for (int i = 0; i < 20000; ++i)
    RiArchiveRecord(RI_COMMENT, const_cast<char *>("line %d of a long stream of comments"), i);
  RiWorldEnd();
}

// Standard output as well as the pipes RiBegin opens.
TEST(RibStream, ARendererThatGoesAwayDoesNotKillTheClient) {
  struct Case {
    const char *name;  // null: standard output, a pipe whose reader is gone
    std::string destination;
  } cases[] = {
      {"|true", "true"},
      {"|no-such-command-for-vellum-tests 2>/dev/null", "no-such-command-for-vellum-tests 2>/dev/null"},
      {nullptr, "standard output"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      int fds[2];
      if (c.name == nullptr && (pipe(fds) != 0 || dup2(fds[1], STDOUT_FILENO) < 0)) return;
      if (c.name == nullptr) close(fds[0]);
      struct sigaction before, after;
      sigaction(SIGPIPE, nullptr, &before);
      RiBegin(const_cast<char *>(c.name));
      writeALot();
      RiEnd();
      sigaction(SIGPIPE, nullptr, &after);
      sigset_t pending;
      sigpending(&pending);
      std::fprintf(stderr, "survived %d %d", before.sa_handler == after.sa_handler,
                   sigismember(&pending, SIGPIPE));
    });
    const std::string what = c.name != nullptr ? c.name : "standard output";
    EXPECT_EQ(child.signal, 0) << what;
    EXPECT_EQ(child.exitStatus, 0) << what;
    EXPECT_EQ(child.err, "libvellum error: writing RIB to " + c.destination +
                             " failed: Broken pipe\nsurvived 1 0")
        << what;
  }
}

// Writes blocked on a full pipe and interrupted by a signal whose handler
// does not restart system calls go on where they stopped.
TEST(RibStream, WritesInterruptedBySignalsLoseNothing) {
  const std::string expected = vellum_test::ribOf(writeALot);
  const std::string path = vellum_test::tempPath("interrupted.rib");
  vellum_test::ChildResult child = vellum_test::runInChild([&] {
    struct sigaction action = {};
    action.sa_handler = [](int) {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART
    sigaction(SIGALRM, &action, nullptr);
    const itimerval everyMillisecond = {{0, 1000}, {0, 1000}};
    setitimer(ITIMER_REAL, &everyMillisecond, nullptr);
    // The reader starts late, so the writes block on the full pipe.
    RiBegin(tok("|sleep 0.2; cat > '" + path + "'"));
    writeALot();
    RiEnd();
    const itimerval off = {};
    setitimer(ITIMER_REAL, &off, nullptr);
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.err, "");
  const std::string arrived = vellum_test::readFile(path);
  EXPECT_EQ(arrived.size(), expected.size());
  EXPECT_TRUE(arrived == expected);  // compared whole, without printing 800 KB
}

TEST(RibStream, ClientsOwnSigpipeHandlingIsKept) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    signal(SIGPIPE, SIG_DFL);
    RiBegin(const_cast<char *>("|true"));
    writeALot();
    RiEnd();
    // The client's own broken pipe still raises SIGPIPE as it always did.
    int fds[2];
    if (pipe(fds) != 0) return;
    close(fds[0]);
    std::fputs("before", stdout);
    std::fflush(stdout);
    ssize_t ignored = write(fds[1], "x", 1);
    (void)ignored;
    std::fputs("not reached", stdout);
  });
  EXPECT_EQ(child.signal, SIGPIPE);
  EXPECT_EQ(child.out, "before");
}

TEST(RibStream, AFullDiskIsReportedOnce) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    RiBegin(const_cast<char *>("/dev/full"));
    writeALot();
    writeALot();
    RiEnd();
    std::fputs("carried on", stdout);
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.out, "carried on");
  EXPECT_EQ(child.err, "libvellum error: writing RIB to /dev/full failed: No space left on device\n");
}

// WorldEnd and RiEnd flush standard output, so its failure is reported
// there, not lost at exit.
TEST(RibStream, AFullDiskBehindStandardOutputIsReportedWhereItIsFlushed) {
  struct Case {
    const char *what;
    void (*calls)();
  } cases[] = {
      {"WorldEnd", [] { RiWorldBegin(); RiWorldEnd(); }},
      {"RiEnd", [] { RiFrameBegin(1); RiEnd(); }},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      if (freopen("/dev/full", "w", stdout) == nullptr) return;
      RiBegin(RI_NULL);
      c.calls();
      std::fputs("reported by now\n", stderr);
    });
    EXPECT_EQ(child.err,
              "libvellum error: writing RIB to standard output failed: No space left on device\n"
              "reported by now\n")
        << c.what;
  }
}

// A renderer reading the client's standard output gets the whole stream at
// RiEnd, while the client goes on working.
TEST(RibStream, RiEndHandsStandardOutputOnWhileTheClientGoesOn) {
  int rib[2], ended[2], finish[2];
  ASSERT_EQ(pipe(rib) | pipe(ended) | pipe(finish), 0);
  std::fflush(nullptr);
  const pid_t client = fork();
  if (client == 0) {
    dup2(rib[1], STDOUT_FILENO);
    RiBegin(RI_NULL);
    RiFrameBegin(1);
    RiSphere(1, -1, 1, 360, RI_NULL);
    RiFrameEnd();
    RiEnd();
    if (write(ended[1], "e", 1) != 1) _exit(1);
    close(finish[1]);
    char byte;
    while (read(finish[0], &byte, 1) > 0) {
    }
    _exit(0);
  }
  for (int fd : {rib[1], ended[1], finish[0]}) close(fd);
  char byte;
  EXPECT_EQ(read(ended[0], &byte, 1), 1);  // the client has returned from RiEnd
  fcntl(rib[0], F_SETFL, O_NONBLOCK);
  std::string seen;
  char chunk[4096];
  for (ssize_t got; (got = read(rib[0], chunk, sizeof chunk)) > 0;) seen.append(chunk, got);
  close(finish[1]);
  int status;
  waitpid(client, &status, 0);
  for (int fd : {rib[0], ended[0]}) close(fd);
  EXPECT_EQ(seen, vellum_test::kHeader + "FrameBegin 1\nSphere 1 -1 1 360\nFrameEnd\n\n");
}

TEST(RibStream, WorldEndDeliversEverythingWrittenSoFar) {
  const std::string path = vellum_test::tempPath("flushed.rib");
  RiBegin(tok(path));
  RiWorldBegin();
  EXPECT_EQ(vellum_test::readFile(path), "");  // still buffered
  RiWorldEnd();
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "WorldBegin\nWorldEnd\n");
  RiEnd();
}

TEST(RibStream, ExitWithoutRiEndStillDeliversTheStream) {
  const std::string path = vellum_test::tempPath("exit.rib");
  vellum_test::ChildResult child = vellum_test::runInChild([&] {
    RiBegin(tok(path));
    RiFrameBegin(7);
    std::exit(3);
  });
  EXPECT_EQ(child.exitStatus, 3);
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "FrameBegin 7\n");
}

// A forked child writes none of its parent's stream: not at exit, not at
// RiEnd, and one that lives on does not hold a renderer's pipe open, so
// the parent's RiEnd returns.  A compressed stream stays one gzip stream.
TEST(RibStream, AForkedChildWritesNoneOfItsParentsStream) {
  enum ChildDoes { kExits, kEndsAndExits, kLivesOn };
  for (const char *destination : {"file", "standard output", "pipe"}) {
    for (bool gzip : {false, true}) {
      for (ChildDoes childDoes : {kExits, kEndsAndExits, kLivesOn}) {
        const std::string path = vellum_test::tempPath("forked.rib");
        const std::string name = destination[0] == 'f' ? path : "|cat > '" + path + "'";
        vellum_test::ChildResult client = vellum_test::runInChild([&] {
          RtString compression = const_cast<char *>(gzip ? "gzip" : "none");
          RiOption(tok("rib"), "compression", &compression, RI_NULL);
          RiBegin(destination[0] == 's' ? RI_NULL : tok(name));
          RiWorldBegin();
          RiSphere(1, -1, 1, 360, RI_NULL);
          int release[2];
          if (pipe(release) != 0) return;
          const pid_t child = fork();
          if (child == 0) {
            alarm(60);  // ends the test should the parent's RiEnd never return
            if (childDoes == kEndsAndExits) RiEnd();
            close(release[1]);
            char byte;
            while (childDoes == kLivesOn && read(release[0], &byte, 1) > 0) {
            }
            std::exit(0);
          }
          close(release[0]);
          int status;
          if (childDoes != kLivesOn) waitpid(child, &status, 0);
          RiWorldEnd();
          RiEnd();
          const bool alive = waitpid(child, &status, WNOHANG) == 0;
          close(release[1]);
          waitpid(child, &status, 0);
          std::fprintf(stderr, "child alive after RiEnd: %d\n", alive);
        });
        const char *kDoes[] = {"exits", "calls RiEnd and exits", "lives on"};
        const std::string what = std::string(destination) + (gzip ? ", gzip" : "") + ", the child " +
                                 kDoes[childDoes];
        const std::string rib = destination[0] == 's' ? client.out : vellum_test::readFile(path);
        EXPECT_EQ(gzip ? vellum_test::gunzip(rib) : rib,
                  vellum_test::kHeader + "WorldBegin\nSphere 1 -1 1 360\nWorldEnd\n\n")
            << what;
        EXPECT_EQ(client.err, "child alive after RiEnd: " + std::to_string(childDoes == kLivesOn) + "\n")
            << what;
      }
    }
  }
}

// RIB on standard output keeps its place among what the client prints.
TEST(RibStream, StandardOutputKeepsItsOrderWithTheClientsOwnOutput) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    std::printf("before\n");
    RiBegin(RI_NULL);
    RiWorldBegin();
    std::printf("inside\n");
    RiWorldEnd();
    std::printf("after\n");
    RiEnd();
    std::printf("end\n");
  });
  EXPECT_EQ(child.out, "before\n" + vellum_test::kHeader + "WorldBegin\ninside\nWorldEnd\nafter\n\nend\n");
}

// Contexts ended in every order, the last one left open: each delivers
// all of its own stream, more than a buffer's worth written in turns with
// the others (the sanitizer build checks that the exit hook uses nothing
// freed).
TEST(RibStream, ContextsEndedOutOfOrderAndOneLeftOpen) {
  auto line = [](int context, int i) {
    RiArchiveRecord(RI_COMMENT, const_cast<char *>("context %d, line %d of a long stream"), context, i);
  };
  constexpr int kLines = 2000;
  int order[] = {0, 1, 2};
  do {
    const std::string paths[] = {vellum_test::tempPath("c1.rib"), vellum_test::tempPath("c2.rib"),
                                 vellum_test::tempPath("c3.rib")};
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      RtContextHandle handles[3];
      for (int c = 0; c < 3; ++c) {
        RiBegin(tok(paths[c]));
        RiFrameBegin(c + 1);
        handles[c] = RiGetContext();
      }
      for (int i = 0; i < kLines; ++i)
        for (int c = 0; c < 3; ++c) {
          RiContext(handles[c]);
          line(c, i);
        }
      for (int c : order) {
        RiContext(handles[c]);
        RiFrameEnd();
        if (c != order[2]) RiEnd();
      }
    });
    const std::string what = std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]);
    EXPECT_EQ(child.exitStatus, 0) << what;
    for (int c = 0; c < 3; ++c) {
      std::string expected = vellum_test::ribOf([&] {
        RiFrameBegin(c + 1);
        for (int i = 0; i < kLines; ++i) line(c, i);
        RiFrameEnd();
      });
      if (c == order[2]) expected.pop_back();  // no RiEnd, no final line end
      const std::string arrived = vellum_test::readFile(paths[c]);
      EXPECT_GT(arrived.size(), vellum::OutputBuffer::kCapacity) << what << " context " << c;
      EXPECT_TRUE(arrived == expected) << what << " context " << c;
    }
  } while (std::next_permutation(order, order + 3));
}

TEST(RibStream, BinaryStreamsStartWithTheTextHeader) {
  std::string rib = vellum_test::ribOf([] {}, true);
  EXPECT_EQ(rib, kEmptyStream);
}

}  // namespace
