// The gzip engines behind compressed output (rib/gzip_encoder.h), each the
// build has at each level: standard gzip that zlib reads back, everything
// before a sync flush readable at once, nothing after the end.
#include <gtest/gtest.h>

#include <string>

#include "rib/gzip_encoder.h"
#include "tests/test_support.h"

namespace {

class Collect : public vellum::GzipEncoder::Output {
 public:
  std::string bytes;
  void take(const char *data, size_t size) override { bytes.append(data, size); }
};

TEST(GzipEncoder, EveryEngineAndLevelWritesStandardGzip) {
  std::string first, second;
  for (int i = 0; i < 3000; ++i) first += "Translate " + std::to_string(i % 17) + " 0 1\n";
  // Numbers of no pattern, several output buffers' worth.
  unsigned state = 7;
  for (int i = 0; i < 400000; ++i) second += static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  using Flush = vellum::GzipEncoder::Flush;
  int engines = 0;
  for (vellum::GzipEngine engine : {vellum::GzipEngine::kIsal, vellum::GzipEngine::kZlib}) {
    if (vellum::makeGzipEncoder(1, engine) == nullptr) continue;
    ++engines;
    for (int level = vellum::kFastestGzipLevel; level <= vellum::kSmallestGzipLevel; ++level) {
      const std::string what = std::string(engine == vellum::GzipEngine::kIsal ? "ISA-L" : "zlib") +
                               " at level " + std::to_string(level);
      std::unique_ptr<vellum::GzipEncoder> encoder = vellum::makeGzipEncoder(level, engine);
      ASSERT_NE(encoder, nullptr) << what;
      Collect out;
      for (size_t at = 0; at < first.size(); at += 1000)
        encoder->compress(first.data() + at, std::min<size_t>(1000, first.size() - at), Flush::kNone, out);
      encoder->compress(nullptr, 0, Flush::kSync, out);
      // What was written so far decompresses at once; the stream goes on.
      EXPECT_EQ(vellum_test::gunzip(out.bytes), first + vellum_test::kCutShort) << what;
      encoder->compress(second.data(), second.size(), Flush::kFinish, out);
      EXPECT_TRUE(vellum_test::gunzip(out.bytes) == first + second) << what;
      const size_t ended = out.bytes.size();
      encoder->compress(first.data(), first.size(), Flush::kSync, out);
      EXPECT_EQ(out.bytes.size(), ended) << what << ": written after the end";
    }
  }
  EXPECT_GE(engines, 1);
}

}  // namespace
