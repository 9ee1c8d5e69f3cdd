/* The client of the package tests: a C99 program that writes one polygon
 * to the file named by its argument, or to standard output. */
#include <ri.h>

int main(int argc, char *argv[]) {
  RtFloat square[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  RiBegin(argc > 1 ? argv[1] : RI_NULL);
  RiWorldBegin();
  RiPolygon(4, RI_P, (RtPointer)square, RI_NULL);
  RiWorldEnd();
  RiEnd();
  return 0;
}
