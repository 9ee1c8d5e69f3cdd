// The C++ client of the package tests: writes what client.c writes, to
// standard output, through an object of ri.hpp.
#include <ri.hpp>

int main() {
  RtFloat square[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  vellum::Ri ri(nullptr);
  ri.WorldBegin();
  ri.Polygon(4, {{RI_P, square}});
  ri.WorldEnd();
  return 0;
}
