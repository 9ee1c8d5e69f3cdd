#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

namespace {

using vellum_test::tok;

// A sink that keeps every piece it is handed.
class PieceSink : public vellum::OutputSink {
 public:
  explicit PieceSink(std::vector<std::string> *pieces) : pieces_(pieces) {}
  void write(const char *data, size_t size) override { pieces_->emplace_back(data, size); }

 private:
  std::vector<std::string> *pieces_;
};

std::string joined(const std::vector<std::string> &pieces) {
  std::string all;
  for (const std::string &piece : pieces) all += piece;
  return all;
}

// A request larger than the buffer reaches the sink in pieces no larger
// than the buffer, the first of them before the request ends, and the
// pieces add up to exactly the bytes of the request, in ASCII and binary.
TEST(OutputBuffer, LargeRequestsReachTheSinkInBoundedPieces) {
  std::vector<RtFloat> times(50000);
  std::string ascii = "MotionBegin [", binary = "MotionBegin " + vellum_test::bytes({0xC9, 0xC3, 0x50});
  for (size_t i = 0; i < times.size(); ++i) {
    times[i] = static_cast<RtFloat>(i) * 0.25f - 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%s%g", i > 0 ? " " : "", times[i]);
    ascii += text;
    uint32_t bits;
    std::memcpy(&bits, &times[i], 4);
    for (int shift = 24; shift >= 0; shift -= 8) binary.push_back(static_cast<char>(bits >> shift));
  }
  ascii += "]\n";
  binary += "\n";
  for (bool isBinary : {false, true}) {
    std::vector<std::string> pieces;
    RtInt flag = isBinary;
    RtToken settings[] = {tok("binary")};
    RtPointer values[] = {&flag};
    {
      vellum::WriterSettings format;
      vellum::applyFormatPairs(format, 1, settings, values);
      vellum::RibWriter writer(std::make_unique<PieceSink>(&pieces), "pieces", format,
                               vellum::processWideEnvironment());
      const size_t before = pieces.size();
      writer.MotionBeginV(static_cast<RtInt>(times.size()), times.data());
      EXPECT_GT(pieces.size(), before + 1) << isBinary;  // handed on mid-request
    }
    for (const std::string &piece : pieces) EXPECT_LE(piece.size(), vellum::OutputBuffer::kCapacity);
    // Compared whole, without printing 300 KB on a failure.
    const std::string expected = vellum_test::kHeader + (isBinary ? binary : ascii) + "\n";
    EXPECT_EQ(joined(pieces).size(), expected.size()) << isBinary;
    EXPECT_TRUE(joined(pieces) == expected) << isBinary;
  }
}

// A binary float whose place in the stream falls 0 to 8 bytes before the
// end of the buffer, as a loose token (Translate) and inside an array
// (Color): the buffer is handed on in the middle of the request and the
// bytes come out exactly as written in one piece.
TEST(OutputBuffer, BinaryFloatsAcrossTheEndOfTheBuffer) {
  const RtFloat values[] = {1.5f, -0.1f, 3e-20f};
  auto bits = [](RtFloat value) {
    uint32_t word;
    std::memcpy(&word, &value, 4);
    return vellum_test::bytes({int(word >> 24), int(word >> 16 & 0xFF), int(word >> 8 & 0xFF), int(word & 0xFF)});
  };
  struct Request {
    const char *what;
    std::string before;  // the request's bytes before its first float
    std::string between;  // before each later float
    void (*write)(vellum::RibWriter &, const RtFloat *);
  } requests[] = {
      {"Translate", "Translate \xA4", "\xA4",
       [](vellum::RibWriter &w, const RtFloat *v) { w.Translate(v[0], v[1], v[2]); }},
      {"Color", "Color \xC8\x03", "",
       [](vellum::RibWriter &w, const RtFloat *v) { w.Color(const_cast<RtFloat *>(v)); }},
  };
  RtInt binary = 1;
  RtToken settings[] = {tok("binary")};
  RtPointer settingValues[] = {&binary};
  for (const Request &request : requests) {
    std::string floats;
    for (RtFloat value : values) floats += (floats.empty() ? "" : request.between) + bits(value);
    for (size_t room = 0; room <= 8; ++room) {
      const size_t fill = vellum::OutputBuffer::kCapacity - room - vellum_test::kHeader.size() -
                          request.before.size();
      const std::string filler(fill - 1, 'x');
      std::vector<std::string> pieces;
      {
        vellum::WriterSettings format;
        vellum::applyFormatPairs(format, 1, settings, settingValues);
        vellum::RibWriter writer(std::make_unique<PieceSink>(&pieces), "pieces", format,
                                 vellum::processWideEnvironment());
        writer.ArchiveRecord(tok("verbatim"), tok("%s\n"), filler.c_str());
        request.write(writer, values);
      }
      const std::string what = std::string(request.what) + ", room " + std::to_string(room);
      EXPECT_EQ(pieces.size(), 2u) << what;  // handed on once in the middle, once at the end
      EXPECT_TRUE(joined(pieces) == vellum_test::kHeader + filler + "\n" + request.before + floats + "\n\n")
          << what;
    }
  }
}

// A memory sink holds exactly what a file would.
TEST(OutputBuffer, MemorySinkHoldsTheStream) {
  auto sink = std::make_unique<vellum::MemorySink>();
  vellum::MemorySink &memory = *sink;
  std::string fromMemory;
  {
    vellum::RibWriter writer(std::move(sink), "memory", {}, vellum::processWideEnvironment());
    writer.WorldBegin();
    writer.Sphere(1, -1, 1, 360, RI_NULL);
    writer.WorldEnd();
    fromMemory = memory.bytes();  // WorldEnd delivered everything so far
  }
  EXPECT_EQ(fromMemory, vellum_test::kHeader + "WorldBegin\nSphere 1 -1 1 360\nWorldEnd\n");
}

// The "rib" option's precision: significant digits of floats written as
// text, for contexts created later; 0 is the shortest exact text.  At the
// default, NURBS ranges keep their six decimals.
TEST(OutputBuffer, PrecisionOfFloatsWrittenAsText) {
  struct Case {
    RtInt precision;
    std::string text;
  } cases[] = {
      {6, "Translate 0.333333 1e-07 1.23457e+08 \nNuPatch 2 2 [0.333333 0 1 1] 0.333333 1.000000 2 2 "
          "[0 0 1 1] 0.000000 1.000000 \n"},
      {0, "Translate 0.33333334 1e-07 123456790 \nNuPatch 2 2 [0.33333334 0 1 1] 0.33333334 1 2 2 "
          "[0 0 1 1] 0 1 \n"},
      {3, "Translate 0.333 1e-07 1.23e+08 \nNuPatch 2 2 [0.333 0 1 1] 0.333 1 2 2 [0 0 1 1] 0 1 \n"},
      {9, "Translate 0.333333343 1.00000001e-07 123456792 \nNuPatch 2 2 [0.333333343 0 1 1] "
          "0.333333343 1 2 2 [0 0 1 1] 0 1 \n"},
  };
  for (const Case &c : cases) {
    RiOption(tok("rib"), "precision", &c.precision, RI_NULL);
    std::string written = vellum_test::requestsOf([&] {
      RtFloat knots[] = {1.0f / 3, 0, 1, 1}, plain[] = {0, 0, 1, 1};
      RiTranslate(1.0f / 3, 1e-7f, 123456789.0f);
      RiNuPatch(2, 2, knots, 1.0f / 3, 1, 2, 2, plain, 0, 1, RI_NULL);
    });
    RtInt defaults = 6;
    RiOption(tok("rib"), "precision", &defaults, RI_NULL);
    EXPECT_EQ(written, c.text) << c.precision;
  }
  // Values outside 0 to 9 are reported and change nothing.
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    RtInt digits = 10;
    RiOption(tok("rib"), "precision", &digits, RI_NULL);
    RiBegin(RI_NULL);
    RiTranslate(1.0f / 3, 0, 0);
    RiEnd();
  });
  EXPECT_EQ(child.err, "ERROR: Parameter out of range\n    --> the \"rib\" option's precision must be 0 to 9\n");
  EXPECT_EQ(child.out, vellum_test::kHeader + "Translate 0.333333 0 0 \n\n");
}

}  // namespace
