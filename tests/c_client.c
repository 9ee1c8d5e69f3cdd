/* A C99 client of the public header: writes a small stream to standard
 * output. */
#include <ri.h>

int main(void) {
  RiBegin(RI_NULL);
  RiWorldBegin();
  RiWorldEnd();
  RiEnd();
  return 0;
}
