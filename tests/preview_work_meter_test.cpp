// What the preview charges to its work meter, and what it does once the
// meter is spent: the drawing account, the samples account, the end of an
// unfinished world and who reports a spent meter.
//
// The pictures are 8 × 8 pixels at 2 × 2 samples: a grid of 16 × 16 = 256
// samples, so that a picture costs 512 samples (cleared and resolved), and
// a square over the whole picture, two triangles whose boxes each cover the
// grid, 512 more.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/work_meter.h"
#include "preview/image/png_file.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::WorkMeter;
using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum_test::drawScene;
using vellum_test::tok;

constexpr uint64_t kPicture = 2 * 16 * 16;  // cleared and resolved
constexpr uint64_t kSquare = 2 * 16 * 16;   // a square over the picture
// Unspent: a drawing account and a samples account far beyond the scenes.
constexpr uint64_t kAmple = 1'000'000;

WorkMeter::Limits limits(uint64_t drawing, uint64_t samples) {
  WorkMeter::Limits l = WorkMeter::kDefaultLimits;
  l[WorkMeter::kDrawing] = {drawing, 0};
  l[WorkMeter::kSamples] = {samples, 0};
  return l;
}

// A square from (x0, y0) to (x1, y1) at depth z; the picture spans -1 to 1.
void square(PreviewContext &c, float x0, float y0, float x1, float y1, float z) {
  RtFloat p[] = {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
  c.Polygon(4, tok("P"), p, RI_NULL);
}
void wholeSquare(PreviewContext &c, float z) { square(c, -2, -2, 2, 2, z); }

void color(PreviewContext &c, float r, float g, float b) {
  RtColor rgb{r, g, b};
  c.Color(rgb);
}

// The centre pixel's colour as 0xRRGGBB, 0 where nothing was drawn.
uint32_t centre(const Image &picture) {
  if (picture.width == 0) return 0xdead;  // no picture at all
  const uint8_t *p = picture.pixel(picture.width / 2, picture.height / 2);
  return p[3] == 0 ? 0 : uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

struct Scene {
  const char *what;
  std::function<void(PreviewContext &)> beforeWorld;  // may be null
  std::function<void(PreviewContext &)> world;
};

vellum_test::Drawn draw(WorkMeter &meter, const Scene &scene) {
  return drawScene(
      8, 8,
      [&](PreviewContext &c) {
        c.setWorkMeter(&meter);
        if (scene.beforeWorld) scene.beforeWorld(c);
      },
      [&](PreviewContext &c) {
        c.Surface(tok("constant"), RI_NULL);
        scene.world(c);
      });
}

// An object of one square over the picture.
RtObjectHandle squareObject(PreviewContext &c) {
  RtObjectHandle object = c.ObjectBegin();
  wholeSquare(c, 1);
  c.ObjectEnd();
  return object;
}

// A red square over the picture, then `count` green ones instanced.
void redThenGreenInstances(PreviewContext &c, int count) {
  RtObjectHandle object = squareObject(c);
  color(c, 1, 0, 0);
  c.ObjectInstance(object);
  color(c, 0, 1, 0);
  for (int i = 0; i < count; ++i) c.ObjectInstance(object);
}

// 100 × 100 × 100 green squares over the picture in three levels of
// instances, after a red one.
void redThenAMillionGreen(PreviewContext &c) {
  RtObjectHandle object = squareObject(c);
  color(c, 1, 0, 0);
  c.ObjectInstance(object);
  for (int level = 0; level < 3; ++level) {
    RtObjectHandle next = c.ObjectBegin();
    for (int i = 0; i < 100; ++i) c.ObjectInstance(object);
    c.ObjectEnd();
    object = next;
  }
  color(c, 0, 1, 0);
  c.ObjectInstance(object);
}

// With an ample meter, each picture's samples are charged when it begins
// and each triangle's box on the grid, cut to the grid.
TEST(PreviewWorkMeter, ChargesThePictureAndTheBoxesOfItsTriangles) {
  const struct {
    Scene scene;
    uint64_t samples;
  } cases[] = {
      {{"an empty picture", nullptr, [](PreviewContext &) {}}, kPicture},
      {{"10 × 6 pixels at 3 × 3 samples",
        [](PreviewContext &c) {
          c.Format(10, 6, 1);
          c.PixelSamples(3, 3);
        },
        [](PreviewContext &) {}},
       2 * 10 * 6 * 9},
      {{"a square over the picture", nullptr, [](PreviewContext &c) { wholeSquare(c, 1); }}, kPicture + kSquare},
      // x from 0 to 2: samples 8 to 15 of each row of 16, in each triangle.
      {{"a square half off the picture", nullptr, [](PreviewContext &c) { square(c, 0, -2, 2, 2, 1); }},
       kPicture + 2 * 8 * 16},
      // Samples 8 to 11 across and down, in each triangle.
      {{"a small square", nullptr, [](PreviewContext &c) { square(c, 0, 0, 0.5f, 0.5f, 1); }}, kPicture + 2 * 4 * 4},
      {{"a square beside the picture", nullptr, [](PreviewContext &c) { square(c, 3, 3, 4, 4, 1); }}, kPicture},
      {{"three instances of a square", nullptr, [](PreviewContext &c) { redThenGreenInstances(c, 2); }},
       kPicture + 3 * kSquare},
      // Its surfaces' samples kept, then a list head for each sample.
      {{"a solid of a square",
        nullptr,
        [](PreviewContext &c) {
          c.SolidBegin(tok("primitive"));
          wholeSquare(c, 1);
          c.SolidEnd();
        }},
       kPicture + 16 * 16 + kSquare},
  };
  for (const auto &c : cases) {
    WorkMeter meter(limits(kAmple, kAmple));
    draw(meter, c.scene);
    EXPECT_EQ(meter.used(WorkMeter::kSamples), c.samples) << c.scene.what;
    EXPECT_FALSE(meter.spent()) << c.scene.what;
  }
}

// A meter that runs out of samples stops the drawing at the triangle it
// refuses, never charging past its limit; the picture keeps what was drawn
// before and is still finished.
TEST(PreviewWorkMeter, SamplesStopDrawingAtTheLimit) {
  constexpr uint32_t kRed = 0xff0000;
  const struct {
    Scene scene;
    uint64_t samples;  // the limit
    uint32_t centre;
  } cases[] = {
      // The red square fits; the first green triangle (256) does not.
      {{"1000 instanced squares over the picture", nullptr,
        [](PreviewContext &c) { redThenGreenInstances(c, 1000); }},
       kPicture + kSquare + 200, kRed},
      {{"a million squares in three levels of instances", nullptr, redThenAMillionGreen}, kPicture + kSquare + 200,
       kRed},
      {{"a thousand squares, one by one", nullptr,
        [](PreviewContext &c) {
          color(c, 1, 0, 0);
          wholeSquare(c, 1);
          color(c, 0, 1, 0);
          for (int i = 0; i < 1000; ++i) wholeSquare(c, 0.5f);
        }},
       kPicture + kSquare + 200, kRed},
      // The solid's list heads fit; its first triangle does not.
      {{"solids of squares",
        nullptr,
        [](PreviewContext &c) {
          color(c, 1, 0, 0);
          wholeSquare(c, 1);
          color(c, 0, 1, 0);
          for (int i = 0; i < 1000; ++i) {
            c.SolidBegin(tok("primitive"));
            wholeSquare(c, 0.5f);
            c.SolidEnd();
          }
        }},
       kPicture + kSquare + 16 * 16 + 200, kRed},
      // Not even the picture: it is neither drawn nor finished.
      {{"a picture beyond the limit", nullptr, [](PreviewContext &c) { wholeSquare(c, 1); }}, kPicture - 1,
       0xdead},
  };
  for (const auto &c : cases) {
    WorkMeter meter(limits(kAmple, c.samples));
    const auto drawn = draw(meter, c.scene);
    EXPECT_LE(meter.used(WorkMeter::kSamples), meter.limit(WorkMeter::kSamples)) << c.scene.what;
    EXPECT_EQ(meter.spentMessage(), "more than " + std::to_string(c.samples) + " samples drawn") << c.scene.what;
    EXPECT_EQ(centre(drawn.picture), c.centre) << c.scene.what;
    EXPECT_EQ(drawn.warnings, std::vector<std::string>{}) << c.scene.what;
  }
}

// Red, green and blue squares that fill the picture, each nearer.
void threeSquares(PreviewContext &c) {
  color(c, 1, 0, 0);
  wholeSquare(c, 3);
  color(c, 0, 1, 0);
  wholeSquare(c, 2);
  color(c, 0, 0, 1);
  wholeSquare(c, 1);
}

// The drawing account takes a primitive's 16 units and its triangles, each
// object instance 1 and the triangles objects keep; what it refuses is not
// drawn, and neither is anything after it.
TEST(PreviewWorkMeter, DrawingUnitsStopDrawingAtTheLimit) {
  const struct {
    Scene scene;
    uint64_t drawing;  // the limit
    uint32_t centre;
    bool spent;
  } cases[] = {
      // 18 units a square, under the headlight: the third passes 40.
      {{"three squares, each nearer", nullptr, threeSquares}, 40, 0x00ff00, true},
      {{"three squares within the limit", nullptr, threeSquares}, 54, 0x0000ff, false},
      // 16 + 2 · 3: two lights count each triangle twice.
      {{"a square under two lights", nullptr,
        [](PreviewContext &c) {
          c.LightSource(tok("ambientlight"), RI_NULL);
          c.LightSource(tok("ambientlight"), RI_NULL);
          color(c, 1, 0, 0);
          wholeSquare(c, 1);
        }},
       19, 0, true},
      // The object keeps 2 triangles, its instance costs 1 and drawing it 18.
      {{"an instance of a kept square", nullptr,
        [](PreviewContext &c) {
          color(c, 1, 0, 0);
          c.ObjectInstance(squareObject(c));
        }},
       20, 0, true},
      {{"an instance of a kept square within the limit", nullptr,
        [](PreviewContext &c) {
          color(c, 1, 0, 0);
          c.ObjectInstance(squareObject(c));
        }},
       21, 0xff0000, false},
  };
  for (const auto &c : cases) {
    WorkMeter meter(limits(c.drawing, kAmple));
    const auto drawn = draw(meter, c.scene);
    EXPECT_LE(meter.used(WorkMeter::kDrawing), c.drawing) << c.scene.what;
    EXPECT_EQ(meter.used(WorkMeter::kDrawing), c.drawing) << c.scene.what;  // spent, or all of it used
    EXPECT_EQ(meter.spent(), c.spent) << c.scene.what;
    EXPECT_EQ(centre(drawn.picture), c.centre) << c.scene.what;
  }
}

// A spent meter is reported once: by the context when the meter is its
// own, by the caller (not the context) when the caller gave it.
TEST(PreviewWorkMeter, OnlyTheContextsOwnMeterWarns) {
  const auto threeSquares = [](PreviewContext &c) {
    for (float z : {3.0f, 2.0f, 1.0f}) wholeSquare(c, z);
  };
  const struct {
    const char *what;
    bool given;
    uint64_t drawing, samples;
    std::vector<std::string> warnings;
  } cases[] = {
      {"its own meter, out of drawing work", false, 40, 0,
       {"more than 40 units of drawing work: the rest is not drawn"}},
      {"its own meter, not spent", false, 54, 0, {}},
      {"a given meter, out of drawing work", true, 40, kAmple, {}},
      {"a given meter, out of samples", true, kAmple, kPicture + kSquare, {}},
  };
  for (const auto &c : cases) {
    WorkMeter meter(limits(c.drawing, c.samples));
    const auto drawn = drawScene(
        8, 8,
        [&](PreviewContext &ctx) {
          if (c.given) ctx.setWorkMeter(&meter);
          else ctx.setDrawingBudget(c.drawing);
        },
        threeSquares);
    EXPECT_EQ(drawn.warnings, c.warnings) << c.what;
    if (c.given) {
      EXPECT_TRUE(meter.spent()) << c.what;
    }
  }
}

// finishOpenWorld ends the picture of a world the stream left open, with
// what was drawn, where WorldEnd would have put it; without an open world
// it does nothing.
TEST(PreviewWorkMeter, FinishOpenWorldWritesTheUnendedPicture) {
  const struct {
    const char *what;
    std::function<void(PreviewContext &)> stream;
    uint64_t samples;     // the meter's limit
    const char *written;  // the frame's file, or null: none
    int pictures;         // finished in all
    uint32_t centre;      // of the last picture
  } cases[] = {
      {"a world left open in a frame, inside blocks",
       [](PreviewContext &c) {
         c.FrameBegin(5);
         c.WorldBegin();
         c.Surface(tok("constant"), RI_NULL);
         c.AttributeBegin();
         color(c, 1, 0, 0);
         c.TransformBegin();
         wholeSquare(c, 2);
         c.ObjectBegin();
         c.AttributeBegin();
       },
       kAmple, "5", 1, 0xff0000},
      {"a world ended by its spent meter",
       [](PreviewContext &c) {
         c.FrameBegin(6);
         c.WorldBegin();
         c.Surface(tok("constant"), RI_NULL);
         color(c, 1, 0, 0);
         wholeSquare(c, 2);
         color(c, 0, 1, 0);
         for (int i = 0; i < 100; ++i) wholeSquare(c, 1);
       },
       kPicture + kSquare + 200, "6", 1, 0xff0000},
      {"a world ended as it should be",
       [](PreviewContext &c) {
         c.FrameBegin(7);
         c.WorldBegin();
         c.WorldEnd();
         c.FrameEnd();
       },
       kAmple, "7", 1, 0},
      {"no world", [](PreviewContext &c) { c.FrameBegin(8); }, kAmple, nullptr, 0, 0xdead},
  };
  for (const auto &c : cases) {
    const std::string pattern = vellum_test::tempPath("meter%d.png");
    const std::string stem = pattern.substr(0, pattern.find("%d"));
    WorkMeter meter(limits(kAmple, c.samples));
    PreviewContext ctx;
    std::vector<std::string> warnings;
    ctx.setWarningHandler([&](const std::string &message) { warnings.push_back(message); });
    ctx.setWorkMeter(&meter);
    ctx.setOutput(pattern);
    ctx.Format(8, 8, 1);
    c.stream(ctx);
    ctx.finishOpenWorld();
    ctx.finishOpenWorld();  // a second time: nothing is left open
    std::vector<std::string> expected;
    if (c.written != nullptr) expected.push_back(stem + c.written + ".png");
    EXPECT_EQ(ctx.writtenFiles(), expected) << c.what;
    EXPECT_EQ(ctx.picturesFinished(), c.pictures) << c.what;
    EXPECT_EQ(centre(ctx.lastPicture()), c.centre) << c.what;
    if (c.written != nullptr) {
      vellum::preview::Image read;
      EXPECT_EQ(vellum::preview::readPng(expected[0], read), "") << c.what;
      EXPECT_EQ(read.rgba, ctx.lastPicture().rgba) << c.what;
      std::remove(expected[0].c_str());
    }
    EXPECT_EQ(warnings, std::vector<std::string>{}) << c.what;
    EXPECT_LE(meter.used(WorkMeter::kSamples), c.samples) << c.what;
  }
}

}  // namespace
