/* frames.c: an animation, one frame per loop pass, with the parts that do
 * not move written once to an archive that every frame reads.
 *
 * Two files: set.rib holds the set (lights, floor); frames.rib holds the
 * frames, each a FrameBegin/FrameEnd block with its own picture name and a
 * ReadArchive of set.rib, and a ball that bounces across.
 *
 *     cc -std=c99 frames.c $(pkg-config --cflags --libs vellum) -o frames
 *     ./frames && qview set.rib frames.rib
 */
#include <stdio.h>

#include <ri.h>

#define FRAMES 24

static void writeSet(const char *fileName) {
  RtPoint floor[4] = {{-4, 0, -4}, {-4, 0, 4}, {4, 0, 4}, {4, 0, -4}};
  RtPoint from = {1, 3, -2};

  /* An archive is a RIB file of its own, made by its own context. */
  RiBegin((RtToken)fileName);
  RiArchiveRecord(RI_COMMENT, "the set: lights and floor, read by every frame");
  RiLightSource(RI_AMBIENTLIGHT, RI_NULL);
  RiLightSource(RI_DISTANTLIGHT, RI_FROM, (RtPointer)from, RI_NULL);
  RiAttributeBegin();
  RiSurface(RI_MATTE, RI_NULL);
  RiPolygon(4, RI_P, (RtPointer)floor, RI_NULL);
  RiAttributeEnd();
  RiEnd();
}

int main(void) {
  const char *setFile = "set.rib";
  RtColor red = {0.8f, 0.1f, 0.1f};
  int frame;

  writeSet(setFile);

  RiBegin("frames.rib");
  /* Options that hold for every frame come before the first FrameBegin. */
  RiFormat(320, 240, 1);
  RiPixelSamples(2, 2);
  for (frame = 1; frame <= FRAMES; ++frame) {
    char picture[64];
    RtFloat time = (RtFloat)(frame - 1) / (FRAMES - 1);
    RtFloat x = -3 + 6 * time;
    RtFloat phase = 2 * time - (int)(2 * time); /* two bounces */
    RtFloat height = 4 * phase * (1 - phase);

    snprintf(picture, sizeof picture, "ball.%03d.tif", frame);
    RiFrameBegin(frame);
    RiDisplay(picture, RI_FILE, RI_RGBA, RI_NULL);
    RiProjection(RI_PERSPECTIVE, RI_NULL);
    RiTranslate(0, -1, 8);
    RiWorldBegin();
    /* Only the name goes into the RIB: the renderer reads the archive when
     * it renders the frame.  vellum writes the request and never opens the
     * file; the callback argument is not used. */
    RiReadArchive((RtToken)setFile, NULL, RI_NULL);
    RiAttributeBegin();
    RiColor(red);
    RiTranslate(x, 0.5f + height, 0);
    RiSphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
    RiAttributeEnd();
    RiWorldEnd();
    RiFrameEnd();
  }
  RiEnd();
  printf("frames.rib: %d frames reading %s\n", FRAMES, setFile);
  return 0;
}
