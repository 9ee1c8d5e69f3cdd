/* The C interface's RIB for the calls that the Python tests make through
 * vellum.Ri (test_methods.py, the same case names): one representative
 * call of each shape of request.  Usage: python_reference_calls CASE FILE */
#include <ri.h>
#include <stdio.h>
#include <string.h>

static RtFloat square[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};

static void plain(void) {
  RiFrameBegin(1);
  RiFormat(640, 480, 1);
  RiWorldBegin();
  RiTranslate(1, 2, 3);
  RiShadingInterpolation("smooth");
  RiMatte(1);
  RiMatte(32767);
  RiMatte(-32768);
  RiWorldEnd();
  RiFrameEnd();
}
static void pixel_filter(void) { RiPixelFilter(RiCatmullRomFilter, 2, 3); }
static void shader(void) {
  RtFloat kd = 0.5f;
  RtString map = "grid.tex";
  RiSurface("plastic", "Kd", &kd, "texturename", &map, RI_NULL);
}
static void sphere(void) {
  RtFloat red[] = {1, 0, 0};
  RiSphere(1, -1, 1, 360, "constant color Cs", red, RI_NULL);
}
static void arrays(void) {
  RtColor c = {0.2f, 0.4f, 0.6f};
  RtBound b = {-1, 1, -2, 2, -3, 3};
  RtMatrix m = {{1, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 3, 0}, {1, 2, 3, 1}};
  RtPoint p1 = {1, 0, -1}, p2 = {0, 1, 1};
  RiColor(c);
  RiOpacity(c);
  RiBound(b);
  RiDetail(b);
  RiConcatTransform(m);
  RiTransform(m);
  RiHyperboloid(p1, p2, 270, RI_NULL);
  RiTextureCoordinates(0, 0, 1, 0, 0, 1, 1, 1);
}
static void polygons(void) {
  RtInt nloops[] = {2}, holes[] = {4, 3};
  RtFloat holed[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, .2f, .2f, 0, .5f, .2f, 0, .2f, .5f, 0};
  RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
  RtFloat st[] = {0, 0, 1, 0, 1, 1, 0, 1};
  RiPolygon(4, RI_P, square, RI_NULL);
  RiGeneralPolygon(2, holes, RI_P, holed, RI_NULL);
  RiPointsPolygons(2, nverts, verts, RI_P, square, "st", st, RI_NULL);
  RiPointsGeneralPolygons(1, nloops, holes, (RtInt[]){0, 1, 2, 3, 4, 5, 6}, RI_P, holed, RI_NULL);
  RiPoints(4, RI_P, square, "constantwidth", (RtFloat[]){0.1f}, RI_NULL);
}
static void patches(void) {
  RtFloat grid[48];
  RtFloat knots[] = {0, 0, 1, 1};
  for (int i = 0; i < 48; ++i) grid[i] = (RtFloat)i / 4;
  RiBasis(RiBezierBasis, RI_BEZIERSTEP, RiBSplineBasis, RI_BSPLINESTEP);
  RiPatch("bilinear", RI_P, square, RI_NULL);
  RiPatchMesh("bicubic", 4, "nonperiodic", 4, "periodic", RI_P, grid, RI_NULL);
  RiNuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0, 1, RI_P, square, RI_NULL);
  RiTrimCurve(1, (RtInt[]){1}, (RtInt[]){2}, (RtFloat[]){0, 0, 1, 1}, (RtFloat[]){0}, (RtFloat[]){1},
              (RtInt[]){2}, (RtFloat[]){0, 1}, (RtFloat[]){0, 1}, (RtFloat[]){1, 1});
}
static void curves(void) {
  RtFloat cv[] = {0, 0, 0, 1, 1, 0, 2, 1, 0, 3, 0, 0, 0, 0, 1, 1, 0, 1};
  RtFloat width[] = {0.1f, 0.2f};
  RiCurves("cubic", 1, (RtInt[]){4}, "nonperiodic", RI_P, cv, "width", width, RI_NULL);
  RtBasis copy;
  memcpy(copy, RiCatmullRomBasis, sizeof copy);
  RiBasis(RiCatmullRomBasis, RI_CATMULLROMSTEP, copy, RI_CATMULLROMSTEP);
  RiCurves("linear", 2, (RtInt[]){4, 2}, "nonperiodic", RI_P, cv, RI_NULL);
}
static void subdivision(void) {
  RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3};
  RtToken tags[] = {"crease", "interpolateboundary"};
  RtInt nargs[] = {2, 1, 0, 0}, nargs3[] = {2, 1, 0, 0, 0, 1};
  RtInt intargs[] = {0, 1};
  RtFloat floatargs[] = {2.5f};
  RtToken stringargs[] = {"all"};
  RiSubdivisionMesh("catmull-clark", 1, nverts, verts, 2, tags, nargs, intargs, floatargs, RI_P, square,
                    RI_NULL);
  RiHierarchicalSubdivisionMesh("catmull-clark", 1, nverts, verts, 2, tags, nargs3, intargs, floatargs,
                                stringargs, RI_P, square, RI_NULL);
}
static void others(void) {
  RtToken data[] = {"hat.rib"};
  RtBound bound = {-1, 1, -1, 1, -1, 1};
  RtInt dims[] = {2, 2, 2};
  RtFloat density[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  RtString file = "cloud.rib";
  RiBlobby(1, 4, (RtInt[]){1001, 0, 0, 1}, 16,
           (RtFloat[]){1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0, NULL, RI_NULL);
  RiProcedural(data, bound, RiProcDelayedReadArchive, NULL);
  RiProcedural2(RiProc2DelayedReadArchive, RiSimpleBound, "string filename", &file, "float[6] bound", bound,
                RI_NULL);
  RiVolume("box", bound, dims, "vertex float density", density, RI_NULL);
  RiMotionBegin(2, 0.0, 1.0);
  RiTranslate(0, 0, 0);
  RiTranslate(1, 0, 0);
  RiMotionEnd();
  RiMakeBrickMap(2, (RtString[]){"a.ptc", "b.ptc"}, "out.bkm", RI_NULL);
  RiColorSamples(1, (RtFloat[]){1, 1, 1}, (RtFloat[]){1, 1, 1});
}
static void handles(void) {
  RtFloat intensity = 2;
  RtLightHandle point = RiLightSource("pointlight", "intensity", &intensity, RI_NULL);
  RtLightHandle dome = RiLight("PxrDomeLight", "dome", RI_NULL);
  RiIlluminate(point, 0);
  RiIlluminate(dome, 1);
  RtObjectHandle object = RiObjectBegin();
  RiSphere(1, -1, 1, 360, RI_NULL);
  RiObjectEnd();
  RiObjectInstance(object);
  RtArchiveHandle archive = RiArchiveBegin("inline", RI_NULL);
  RiArchiveEnd();
  RiReadArchive((RtToken)archive, NULL, RI_NULL);
}
static void declarations(void) {
  RtFloat two[] = {1, 2};
  RtColor diffuse = {0.8f, 0.2f, 0.1f};
  RtInt buckets[] = {16, 16};
  RiDeclare("pair", "uniform float[2]");
  RiAttribute("user", "pair", two, RI_NULL);
  RiBxdf("PxrDiffuse", "d1", "color diffuseColor", diffuse, RI_NULL);
  RiOption("limits", "integer[2] bucketsize", buckets, RI_NULL);
  RiArchiveRecord(RI_COMMENT, "a comment");
  RiArchiveRecord(RI_STRUCTURE, "Frames 1");
  RiErrorHandler(RiErrorAbort);
  RiMakeBump("bump.tif", "bump.tex", "periodic", "clamp", RiBoxFilter, 1, 1, RI_NULL);
}
static void binary_mesh(void) {
  RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
  RiPointsPolygons(2, nverts, verts, RI_P, square, RI_NULL);
  RiTranslate(1.5f, 2, 3);
}

static const struct {
  const char *name;
  void (*calls)(void);
} kCases[] = {{"plain", plain},       {"pixel_filter", pixel_filter}, {"shader", shader},
              {"sphere", sphere},     {"arrays", arrays},             {"polygons", polygons},
              {"patches", patches},   {"curves", curves},             {"subdivision", subdivision},
              {"others", others},     {"handles", handles},           {"declarations", declarations},
              {"binary_mesh", binary_mesh}};

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: python_reference_calls CASE FILE\n");
    return 2;
  }
  for (size_t i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    if (strcmp(argv[1], kCases[i].name) != 0) continue;
    if (strcmp(argv[1], "binary_mesh") == 0) {
      RtString format = "binary";
      RiOption("rib", "format", &format, RI_NULL);
    }
    RiBegin(argv[2]);
    kCases[i].calls();
    RiEnd();
    return 0;
  }
  fprintf(stderr, "python_reference_calls: no case %s\n", argv[1]);
  return 2;
}
