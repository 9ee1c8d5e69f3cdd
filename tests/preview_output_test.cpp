// Where the preview renderer's pictures go: PNG files through setOutput and
// Display, read back with libpng, and failures reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "preview/image/png_file.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum::preview::readPng;
using vellum_test::tempPath;
using vellum_test::tok;

void drawFrame(PreviewContext &ctx, int frame) {
  ctx.FrameBegin(frame);
  ctx.Format(32, 24, 1);
  ctx.WorldBegin();
  RtColor color{1, 0.5f, 0};
  ctx.Color(color);
  ctx.Surface(tok("constant"), RI_NULL);
  ctx.Translate(0, 0, 1);
  ctx.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
  ctx.WorldEnd();
  ctx.FrameEnd();
}

bool exists(const std::string &path) {
  FILE *f = std::fopen(path.c_str(), "rb");
  if (f != nullptr) std::fclose(f);
  return f != nullptr;
}

TEST(PreviewOutput, PngReadsBackWithTheSameSizeAndPixels) {
  const std::string path = tempPath("picture.png");
  PreviewContext ctx;
  ctx.setOutput(path);
  drawFrame(ctx, 1);
  Image read;
  ASSERT_EQ(readPng(path, read), "");
  EXPECT_EQ(read.width, 32);
  EXPECT_EQ(read.height, 24);
  EXPECT_EQ(read.rgba, ctx.lastPicture().rgba);
  const uint8_t *centre = read.pixel(16, 12);
  EXPECT_EQ(centre[0], 255);
  EXPECT_EQ(centre[1], 128);
  EXPECT_EQ(centre[3], 255);
  EXPECT_EQ(read.pixel(0, 0)[3], 0);
  std::remove(path.c_str());
}

TEST(PreviewOutput, PatternWithFrameNumberWritesEveryFrame) {
  const std::string pattern = tempPath("frame%d.png");
  PreviewContext ctx;
  ctx.setOutput(pattern);
  drawFrame(ctx, 7);
  drawFrame(ctx, 8);
  const size_t mark = pattern.find("%d");
  const std::string seven = pattern.substr(0, mark) + "7.png", eight = pattern.substr(0, mark) + "8.png";
  EXPECT_TRUE(exists(seven));
  EXPECT_TRUE(exists(eight));
  EXPECT_EQ(ctx.writtenFiles().size(), 2u);
  std::remove(seven.c_str());
  std::remove(eight.c_str());
}

TEST(PreviewOutput, PatternWithoutFrameNumberWritesTheFirstFrameOnly) {
  const std::string path = tempPath("only.png");
  PreviewContext ctx;
  ctx.setOutput(path);
  drawFrame(ctx, 1);
  drawFrame(ctx, 2);
  EXPECT_EQ(ctx.writtenFiles(), std::vector<std::string>{path});
  EXPECT_EQ(ctx.picturesFinished(), 2);
  std::remove(path.c_str());
}

struct DisplayCase {
  const char *type;
  const char *name;
  bool asked;
  bool written;
};

// Only when its user asks: a stream does not choose where files go.
TEST(PreviewOutput, DisplayOfAPngFileWritesThePictureWhenAsked) {
  const DisplayCase cases[] = {
      {"file", "shown.png", true, true},
      {"png", "shown.png", true, true},
      {"file", "shown.png", false, false},
      {"framebuffer", "shown.png", true, false},
      {"file", "shown.tif", true, false},
  };
  for (const DisplayCase &c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.name + (c.asked ? " asked" : ""));
    const std::string path = tempPath(c.name);
    PreviewContext ctx;
    ctx.setWriteDisplays(c.asked);
    ctx.Display(const_cast<char *>(path.c_str()), tok(c.type), tok("rgba"), RI_NULL);
    drawFrame(ctx, 1);
    EXPECT_EQ(exists(path), c.written);
    std::remove(path.c_str());
  }
}

TEST(PreviewOutput, AFailedWriteIsReportedAndDrawingGoesOn) {
  std::vector<std::string> warnings;
  PreviewContext ctx;
  ctx.setWarningHandler([&](const std::string &m) { warnings.push_back(m); });
  ctx.setOutput(tempPath("no-such-directory/picture%d.png"));
  drawFrame(ctx, 1);
  drawFrame(ctx, 2);
  EXPECT_EQ(ctx.picturesFinished(), 2);
  EXPECT_TRUE(ctx.writtenFiles().empty());
  EXPECT_NE(ctx.lastWriteError().find("cannot write"), std::string::npos);
  EXPECT_EQ(warnings.size(), 2u);
}

TEST(PreviewOutput, ReadingAMissingPngFails) {
  Image image;
  EXPECT_NE(readPng(tempPath("missing.png"), image), "");
}

}  // namespace
