#include <gtest/gtest.h>

#include <vector>

#include "ri.h"
#include "ri/current_context.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

namespace {

using vellum_test::tok;

// A writer that also records what its list forms receive.
class RecordingWriter : public vellum::RibWriter {
 public:
  explicit RecordingWriter(const std::string &path)
      : RibWriter(const_cast<char *>(path.c_str()), RI_NULL) {}
  RtVoid SurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) override {
    surfaceCount = n;
    surfaceTokens.assign(tokens, tokens + n);
    surfaceParms.assign(parms, parms + n);
    RibWriter::SurfaceV(name, n, tokens, parms);
  }
  RtVoid MotionBeginV(RtInt n, RtFloat times[]) override {
    motionTimes.assign(times, times + n);
  }
  RtInt surfaceCount = -1;
  std::vector<RtToken> surfaceTokens;
  std::vector<RtPointer> surfaceParms;
  std::vector<RtFloat> motionTimes;
};

TEST(FrontEnd, CallsWithoutAContextAreSevereErrors) {
  struct Case {
    const char *what;
    std::function<void()> call;
    std::string stderrText;
  } cases[] = {
      {"RiWorldBegin", [] { RiWorldBegin(); },
       "SEVERE ERROR: RiBegin not called\n    --> RiWorldBegin\n"},
      {"RiFrameBegin", [] { RiFrameBegin(1); },
       "SEVERE ERROR: RiBegin not called\n    --> RiFrameBegin\n"},
      {"RiProjectionV", [] { RiProjectionV(tok("perspective"), 0, nullptr, nullptr); },
       "SEVERE ERROR: RiBegin not called\n    --> RiProjectionV\n"},
      {"RiSurface", [] { RiSurface(tok("matte"), RI_NULL); },
       "SEVERE ERROR: RiBegin not called\n    --> RiSurface\n"},
      {"RiOption", [] { RiOption(tok("Rib"), RI_NULL); },
       "SEVERE ERROR: RiBegin not called\n    --> RiOption\n"},
      {"RiOptionV", [] { RiOptionV(tok("limits"), 0, nullptr, nullptr); },
       "SEVERE ERROR: RiBegin not called\n    --> RiOptionV\n"},
      {"RiMotionBegin", [] { RiMotionBegin(2, 0.0, 1.0); },
       "SEVERE ERROR: RiBegin not called\n    --> RiMotionBegin\n"},
      {"RiArchiveRecord", [] { RiArchiveRecord(tok("comment"), tok("x")); },
       "SEVERE ERROR: RiBegin not called\n    --> RiArchiveRecord\n"},
      {"RiLightSource", [] { RiLightSource(tok("spotlight"), RI_NULL); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiLightSourceV", [] { RiLightSourceV(tok("spotlight"), 0, nullptr, nullptr); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiAreaLightSource", [] { RiAreaLightSource(tok("arealight"), RI_NULL); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiAreaLightSourceV", [] { RiAreaLightSourceV(tok("arealight"), 0, nullptr, nullptr); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiDeclare", [] { RiDeclare(tok("x"), tok("float")); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiObjectBegin", [] { RiObjectBegin(); }, "SEVERE ERROR: RiBegin not called\n"},
      {"RiTransformPoints", [] { RiTransformPoints(tok("a"), tok("b"), 0, nullptr); },
       "SEVERE ERROR: RiBegin not called\n"},
      {"RiEnd", [] { RiEnd(); },
       "SEVERE ERROR: Nesting error\n    --> RiEnd called at inappropriate level\n"},
      {"after RiEnd", [] {
         RiBegin(tok("/dev/null"));
         RiEnd();
         RiAttributeBegin();
       },
       "SEVERE ERROR: RiBegin not called\n    --> RiAttributeBegin\n"},
      {"after RiContext(null)", [] {
         RiBegin(tok("/dev/null"));
         RiContext(nullptr);
         RiSphere(1, -1, 1, 360, RI_NULL);
       },
       "SEVERE ERROR: RiBegin not called\n    --> RiSphere\n"},
      // The same report printed just before would fold; the call still
      // cannot go on.
      {"folded report", [] {
         RiErrorPrint(RIE_NOTSTARTED, RIE_WARNING, tok("RiWorldEnd"));
         RiWorldEnd();
       },
       "WARNING: RiBegin not called\n    --> RiWorldEnd\n"},
      {"RiEnd after a folded report", [] {
         RiErrorPrint(RIE_NESTING, RIE_WARNING, tok("RiEnd called at inappropriate level"));
         RiEnd();
       },
       "WARNING: Nesting error\n    --> RiEnd called at inappropriate level\n"},
  };
  for (const auto &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild(c.call);
    EXPECT_EQ(child.exitStatus, 255) << c.what;
    EXPECT_EQ(child.err, c.stderrText) << c.what;
    EXPECT_EQ(child.out, "") << c.what;
  }
}

TEST(FrontEnd, RibOptionSetsTheFormatOfLaterContexts) {
  RtString binary = tok("binary"), ascii = tok("ascii");
  RtInt one = 1, zero = 0;
  struct Case {
    const char *what;
    std::function<void()> option;
    bool binaryAfter;
  } cases[] = {
      {"format binary", [&] { RiOption(tok("rib"), "format", &binary, RI_NULL); }, true},
      {"binary 1", [&] { RiOption(tok("rib"), "binary", &one, RI_NULL); }, true},
      {"RIB", [&] { RiOption(tok("RIB"), "binary", &one, RI_NULL); }, true},
      {"later pair wins",
       [&] { RiOption(tok("rib"), "binary", &one, "format", &ascii, RI_NULL); }, false},
      {"list form", [&] {
         RtToken tokens[] = {tok("format")};
         RtPointer parms[] = {&binary};
         RiOptionV(tok("rib"), 1, tokens, parms);
       }, true},
      {"other tokens ignored", [&] { RiOption(tok("rib"), "Format", &binary, RI_NULL); },
       false},
      {"null arrays", [&] { RiOptionV(tok("rib"), 1, nullptr, nullptr); }, false},
      {"binary 0", [&] { RiOption(tok("rib"), "binary", &zero, RI_NULL); }, false},
  };
  for (const auto &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      c.option();
      RiBegin(tok("/dev/null"));
      std::printf("%d", static_cast<vellum::RibWriter *>(RiGetContext())->binaryFlag());
      RiEnd();
    });
    EXPECT_EQ(child.out, c.binaryAfter ? "1" : "0") << c.what;
  }
}

TEST(FrontEnd, RibOptionDoesNotTouchTheCurrentContext) {
  RtString binary = tok("binary");
  RtInt flagAfter = -1, settingAfter = -1;
  std::string rib = vellum_test::requestsOf([&] {
    RiOption(tok("rib"), "format", &binary, RI_NULL);
    flagAfter = static_cast<vellum::RibWriter *>(RiGetContext())->binaryFlag();
    settingAfter = vellum::outputFormatSetting().binary;
    RiWorldBegin();
  });
  EXPECT_EQ(rib, "WorldBegin\n");
  EXPECT_EQ(flagAfter, 0);
  EXPECT_EQ(settingAfter, 1);
}

TEST(FrontEnd, VarargsCollectAtMost512Pairs) {
  const std::string path = vellum_test::tempPath("pairs.rib");
  auto *writer = new RecordingWriter(path);
  RiContext(writer);
  RtFloat kd = 0.5f;
  RiSurface(tok("matte"), RI_NULL);
  EXPECT_EQ(writer->surfaceCount, 0);
  RiSurface(tok("plastic"), "Kd", &kd, "Ks", &kd, RI_NULL);
  EXPECT_EQ(writer->surfaceCount, 2);
  EXPECT_STREQ(writer->surfaceTokens[1], "Ks");
  EXPECT_EQ(writer->surfaceParms[0], &kd);
  // 600 pairs reach the list form as the first 512.
#define P8 "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd
#define P64 P8, P8, P8, P8, P8, P8, P8, P8
  RtFloat last = 2;
  RiSurface(tok("many"), P64, P64, P64, P64, P64, P64, P64, P64, P64, "Ks", &last, RI_NULL);
#undef P64
#undef P8
  EXPECT_EQ(writer->surfaceCount, 512);
  EXPECT_EQ(writer->surfaceParms[511], &kd);
  RiEnd();
}

TEST(FrontEnd, MotionTimesAreAllPassedOn) {
  const std::string path = vellum_test::tempPath("motion.rib");
  auto *writer = new RecordingWriter(path);
  RiContext(writer);
  RiMotionBegin(2, 0.0, 1.0);
  EXPECT_EQ(writer->motionTimes, (std::vector<RtFloat>{0, 1}));
  RiMotionBegin(0);
  EXPECT_TRUE(writer->motionTimes.empty());
#define T10 0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0
  RiMotionBegin(120, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10);
  ASSERT_EQ(writer->motionTimes.size(), 120u);
  EXPECT_EQ(writer->motionTimes[119], 9.0f);
  EXPECT_EQ(writer->motionTimes[100], 0.0f);
  // The local array holds exactly 100; the 101st goes elsewhere.
  RiMotionBegin(100, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10);
  ASSERT_EQ(writer->motionTimes.size(), 100u);
  EXPECT_EQ(writer->motionTimes[99], 9.0f);
  RiMotionBegin(101, T10, T10, T10, T10, T10, T10, T10, T10, T10, T10, 7.0);
  ASSERT_EQ(writer->motionTimes.size(), 101u);
  EXPECT_EQ(writer->motionTimes[99], 9.0f);
  EXPECT_EQ(writer->motionTimes[100], 7.0f);
#undef T10
  RiEnd();
}

TEST(FrontEnd, ContextsStayAliveUntilEnded) {
  const std::string first = vellum_test::tempPath("first.rib");
  const std::string second = vellum_test::tempPath("second.rib");
  EXPECT_EQ(RiGetContext(), nullptr);
  RiBegin(tok(first.c_str()));
  RtContextHandle firstHandle = RiGetContext();
  RiBegin(tok(second.c_str()));
  EXPECT_NE(RiGetContext(), firstHandle);
  RiFrameBegin(2);
  RiEnd();
  EXPECT_EQ(RiGetContext(), nullptr);
  RiContext(firstHandle);
  RiFrameBegin(1);
  RiEnd();
  EXPECT_EQ(vellum_test::readFile(first), vellum_test::kHeader + "FrameBegin 1\n\n");
  EXPECT_EQ(vellum_test::readFile(second), vellum_test::kHeader + "FrameBegin 2\n\n");
}

}  // namespace
