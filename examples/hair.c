/* hair.c: a patch of hair as cubic curves, each strand thinner at its tip.
 *
 * Many strands go into one RiCurves call.  Each strand here has 7 control
 * points on a B-spline basis; "width" gives one width per segment end, so
 * it thins from root to tip, and "Cs" one colour per strand.
 *
 *     cc -std=c99 hair.c $(pkg-config --cflags --libs vellum) -o hair
 *     ./hair hair.rib && qview hair.rib
 */
#include <stdio.h>

#include <ri.h>

#define ROWS 12
#define COLUMNS 12
#define STRANDS (ROWS * COLUMNS)
#define POINTS 7 /* control points per strand */
/* A nonperiodic cubic curve of n points on a basis with step 1 has n - 3
 * segments and n - 2 segment ends: the "varying" values of a strand. */
#define ENDS (POINTS - 2)

/* A small deterministic generator, so that every run writes the same RIB. */
static unsigned long seed = 12345;
static RtFloat jitter(void) {
  seed = (seed * 1103515245UL + 12345UL) % 2147483648UL;
  return (RtFloat)seed / 2147483648.0f - 0.5f; /* in [-0.5, 0.5) */
}

int main(int argc, char *argv[]) {
  const char *fileName = argc > 1 ? argv[1] : "hair.rib";
  static RtPoint points[STRANDS * POINTS];
  static RtFloat widths[STRANDS * ENDS];
  static RtColor colours[STRANDS];
  RtInt pointsPerStrand[STRANDS];
  int strand, i;

  for (strand = 0; strand < STRANDS; ++strand) {
    RtFloat rootX = (RtFloat)(strand % COLUMNS) / (COLUMNS - 1) - 0.5f + 0.05f * jitter();
    RtFloat rootZ = (RtFloat)(strand / COLUMNS) / (ROWS - 1) - 0.5f + 0.05f * jitter();
    RtFloat lean = 0.3f + 0.2f * jitter();
    RtFloat length = 1.0f + 0.3f * jitter();
    pointsPerStrand[strand] = POINTS;
    for (i = 0; i < POINTS; ++i) {
      RtFloat along = (RtFloat)i / (POINTS - 1); /* 0 at the root, 1 at the tip */
      RtFloat *p = points[strand * POINTS + i];
      p[0] = rootX + lean * along * along; /* bends over as it rises */
      p[1] = length * along;
      p[2] = rootZ + 0.02f * jitter() * along; /* a little wave */
    }
    for (i = 0; i < ENDS; ++i)
      widths[strand * ENDS + i] = 0.02f * (1.0f - (RtFloat)i / ENDS) + 0.002f;
    colours[strand][0] = 0.45f + 0.1f * jitter();
    colours[strand][1] = 0.3f;
    colours[strand][2] = 0.15f;
  }

  RiBegin((RtToken)fileName);
  RiFormat(400, 400, 1);
  RiProjection(RI_PERSPECTIVE, RI_NULL);
  RiTranslate(0, -0.5f, 3);
  RiWorldBegin();
  RiLightSource(RI_AMBIENTLIGHT, RI_NULL);
  RiLightSource(RI_DISTANTLIGHT, RI_NULL);
  /* The basis sets how many points a segment takes and how far the next
   * one moves along (the step).  The writer counts "varying" values with
   * the step given here; the default basis is Bezier with step 3. */
  RiBasis(RiBSplineBasis, RI_BSPLINESTEP, RiBSplineBasis, RI_BSPLINESTEP);
  RiSurface("hair", RI_NULL);
  /* "width" is a varying float (ENDS per strand) and "Cs" is declared
   * varying too; declaring it "uniform color" inline makes it one colour
   * per strand. */
  RiCurves(RI_CUBIC, STRANDS, pointsPerStrand, RI_NONPERIODIC, RI_P, (RtPointer)points, RI_WIDTH,
           (RtPointer)widths, "uniform color Cs", (RtPointer)colours, RI_NULL);
  RiWorldEnd();
  RiEnd();
  printf("%s: %d strands of %d points\n", fileName, STRANDS, POINTS);
  return 0;
}
