/* error_handler.c: an exporter that reports its own problems through an
 * error handler, a standard one or one of its own, and tells the renderer
 * which standard handler to use.
 *
 * What vellum does with error handlers:
 * - RiErrorHandler(h) writes a request for the renderer: ErrorHandler
 *   "ignore", "print" or "abort" for RiErrorIgnore, RiErrorPrint and
 *   RiErrorAbort.  A handler of the client's own has no name in RIB, so
 *   nothing is written for it.  RiErrorHandler changes nothing in vellum.
 * - vellum reports its own failures itself: a call before RiBegin goes to
 *   RiErrorPrint as a severe error and ends the program with status 255;
 *   a problem with the RIB (an undeclared parameter, a failed write) is a
 *   "libvellum error: ..." line on standard error, and the program goes on.
 * - A client may call the handlers itself, with the interface's codes and
 *   severities (ri.h): RiErrorPrint prints "ERROR: <message of the code>"
 *   and the detail text, folds immediate repeats, and sets RiLastError.
 *
 * This exporter checks each mesh before writing it: a mesh with a vertex
 * index out of range is reported and left out.
 *
 *     cc -std=c99 error_handler.c $(pkg-config --cflags --libs vellum) -o error_handler
 *     ./error_handler > scene.rib       # reports with RiErrorPrint
 *     ./error_handler -q > scene.rib    # RiErrorIgnore: quiet
 *     ./error_handler -x > scene.rib    # RiErrorAbort: the first error ends it (status 255)
 *     ./error_handler -c > scene.rib    # a handler of its own that counts
 */
#include <stdio.h>
#include <string.h>

#include <ri.h>

typedef struct {
  const char *name;
  RtInt nfaces;
  RtInt nvertices[2];
  RtInt vertices[6];
  RtInt npoints;
  RtFloat points[5][3];
} Mesh;

static const Mesh meshes[] = {
    {"floor", 2, {3, 3}, {0, 1, 2, 0, 2, 3}, 4, {{-1, 0, -1}, {-1, 0, 1}, {1, 0, 1}, {1, 0, -1}}},
    {"broken", 1, {3}, {0, 1, 4}, 3, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}}, /* index 4 of 3 */
    {"wall", 1, {3}, {0, 1, 2}, 3, {{-1, 0, 1}, {1, 0, 1}, {0, 2, 1}}},
};

static int problems = 0;

/* A handler of the exporter's own: the same signature as the standard
 * ones.  It prefixes the program's name and counts. */
static RtVoid countingHandler(RtInt code, RtInt severity, char *message) {
  ++problems;
  fprintf(stderr, "error_handler: %s (code %d, severity %d)\n", message, (int)code,
          (int)severity);
}

/* Returns 1 when every index of the mesh names one of its points. */
static int checkMesh(const Mesh *mesh, RtErrorHandler report) {
  int face, corner, next = 0;
  char detail[128];
  for (face = 0; face < mesh->nfaces; ++face) {
    for (corner = 0; corner < mesh->nvertices[face]; ++corner, ++next) {
      if (mesh->vertices[next] < 0 || mesh->vertices[next] >= mesh->npoints) {
        snprintf(detail, sizeof detail, "mesh \"%s\": vertex index %d, but %d points", mesh->name,
                 (int)mesh->vertices[next], (int)mesh->npoints);
        report(RIE_RANGE, RIE_ERROR, detail);
        return 0;
      }
    }
  }
  return 1;
}

int main(int argc, char *argv[]) {
  RtErrorHandler report = RiErrorPrint;
  size_t i;
  int written = 0;

  if (argc > 1 && strcmp(argv[1], "-q") == 0) report = RiErrorIgnore;
  if (argc > 1 && strcmp(argv[1], "-x") == 0) report = RiErrorAbort;
  if (argc > 1 && strcmp(argv[1], "-c") == 0) report = countingHandler;

  RiBegin(RI_NULL); /* standard output */
  /* The renderer handles the errors it finds in this RIB as the exporter
   * handles its own (nothing is written for countingHandler). */
  RiErrorHandler(report);
  RiWorldBegin();
  for (i = 0; i < sizeof meshes / sizeof meshes[0]; ++i) {
    const Mesh *mesh = &meshes[i];
    if (!checkMesh(mesh, report)) continue;
    RiAttributeBegin();
    RiAttribute("identifier", RI_NAME, (RtPointer)&mesh->name, RI_NULL);
    RiPointsPolygons(mesh->nfaces, (RtInt *)mesh->nvertices, (RtInt *)mesh->vertices, RI_P,
                     (RtPointer)mesh->points, RI_NULL);
    RiAttributeEnd();
    ++written;
  }
  RiWorldEnd();
  RiEnd();
  /* RiErrorPrint and RiErrorIgnore keep the code of the last report in
   * RiLastError; a handler of one's own keeps its own record. */
  fprintf(stderr, "error_handler: %d meshes written, last error code %d, %d counted\n", written,
          (int)RiLastError, problems);
  return 0;
}
