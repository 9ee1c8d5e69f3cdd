/* mesh_export.c: a mesh exporter.  Writes a polygon mesh with positions,
 * normals and texture coordinates to a file, as binary RIB.
 *
 * A modeller holds a mesh as arrays: one position, normal and (s,t) pair
 * per vertex, and each face as a list of vertex indices.
 * RiPointsPolygons takes exactly those arrays; nothing is copied into
 * another form.
 *
 *     cc -std=c99 mesh_export.c $(pkg-config --cflags --libs vellum) -o mesh_export
 *     ./mesh_export cube.rib && qview cube.rib
 */
#include <stdio.h>

#include <ri.h>

#define FACES 6
#define CORNERS 4 /* every face is a quadrilateral */
#define VERTICES (FACES * CORNERS)

/* Each face of a unit cube as its outward normal and two edge directions.
 * Faces do not share vertices: a corner has another normal on each of its
 * three faces, so it is three vertices of the mesh. */
static const RtFloat faceFrames[FACES][3][3] = {
    /* normal         edge u         edge v */
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
};
/* The (s,t) of the four corners of a face, in order around it. */
static const RtFloat cornerST[CORNERS][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

int main(int argc, char *argv[]) {
  const char *fileName = argc > 1 ? argv[1] : "cube.rib";
  RtPoint positions[VERTICES];
  RtPoint normals[VERTICES]; /* RtPoint: three floats, as a normal is */
  RtFloat st[VERTICES][2];
  RtInt verticesPerFace[FACES];
  RtInt faceVertices[VERTICES]; /* indices into the arrays above */
  RtString binary = "binary";
  RtFloat fieldOfView = 40;
  RtString texture = "grid.tx";
  int face, corner, axis;

  for (face = 0; face < FACES; ++face) {
    const RtFloat(*frame)[3] = faceFrames[face];
    verticesPerFace[face] = CORNERS;
    for (corner = 0; corner < CORNERS; ++corner) {
      int vertex = face * CORNERS + corner;
      RtFloat s = cornerST[corner][0], t = cornerST[corner][1];
      for (axis = 0; axis < 3; ++axis) {
        positions[vertex][axis] =
            0.5f * frame[0][axis] + (s - 0.5f) * frame[1][axis] + (t - 0.5f) * frame[2][axis];
        normals[vertex][axis] = frame[0][axis];
      }
      st[vertex][0] = s;
      st[vertex][1] = t;
      faceVertices[vertex] = vertex;
    }
  }

  /* Binary RIB: floats as 4-byte tokens, smaller and exact.  The "rib"
   * option is read when a context is made, so it comes before RiBegin. */
  RiOption("rib", "format", (RtPointer)&binary, RI_NULL);
  /* A file name: the file is created or truncated.  If it cannot be made,
   * RiBegin prints "Error making RIB file: bad filename" and the program
   * ends with status 1. */
  RiBegin((RtToken)fileName);

  RiFormat(640, 480, 1);
  RiProjection(RI_PERSPECTIVE, RI_FOV, (RtPointer)&fieldOfView, RI_NULL);
  RiTranslate(0, 0, 4);
  RiRotate(30, 1, 0, 0);
  RiRotate(35, 0, 1, 0);
  RiWorldBegin();
  RiLightSource(RI_DISTANTLIGHT, RI_NULL);
  RiSurface(RI_PAINTEDPLASTIC, RI_TEXTURENAME, (RtPointer)&texture, RI_NULL);
  /* The value count of each parameter follows from its declaration:
   * "P" is a vertex point and "N" a varying normal (3 floats per vertex),
   * "st" a varying float[2] (2 per vertex); here both classes mean one
   * value per vertex of the mesh, 24. */
  RiPointsPolygons(FACES, verticesPerFace, faceVertices, RI_P, (RtPointer)positions, RI_N,
                   (RtPointer)normals, RI_ST, (RtPointer)st, RI_NULL);
  RiWorldEnd();
  /* RiEnd writes the last line end and closes the file. */
  RiEnd();
  printf("%s: %d faces, %d vertices\n", fileName, FACES, VERTICES);
  return 0;
}
