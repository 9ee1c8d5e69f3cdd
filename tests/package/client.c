/* The client of the package tests: a C99 program that writes one polygon
 * to the file named by its first argument, or to standard output when
 * there is none or it is "-", with the "rib" option's "compression" set to
 * its second argument when there is one. */
#include <ri.h>
#include <string.h>

int main(int argc, char *argv[]) {
  RtFloat square[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  if (argc > 2) {
    RtString compression = argv[2];
    RiOption("rib", "compression", (RtPointer)&compression, RI_NULL);
  }
  RiBegin(argc > 1 && strcmp(argv[1], "-") != 0 ? argv[1] : RI_NULL);
  RiWorldBegin();
  RiPolygon(4, RI_P, (RtPointer)square, RI_NULL);
  RiWorldEnd();
  RiEnd();
  return 0;
}
