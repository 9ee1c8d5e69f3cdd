/* The test scene: one square drawn twice, the second time in another colour
 * and sheared, sent as RIB into the renderer program qview. */
#include <ri.h>

static RtFloat square[4][3] = {
    {0.2f, 1.5f, 2.5f}, {-0.2f, 1.5f, 2.5f}, {-0.2f, 0.0f, 2.5f}, {0.2f, 0.0f, 2.5f}};
static RtColor blue = {0.2f, 0.3f, 0.9f};
static RtColor red = {0.9f, 0.3f, 0.2f};

int main(void) {
  RiBegin("qview");
  RiLightSource("distantlight", RI_NULL);
  RiProjection("perspective", RI_NULL);
  RiWorldBegin();

  RiAttributeBegin();
  RiColor(blue);
  RiSurface("matte", RI_NULL);
  RiPolygon(4, RI_P, (RtPointer)square, RI_NULL);
  RiAttributeEnd();

  RiAttributeBegin();
  RiSkew(45, 0, 1, 0, 1, 0, 0);
  RiColor(red);
  RiSurface("matte", RI_NULL);
  RiPolygon(4, RI_P, (RtPointer)square, RI_NULL);
  RiAttributeEnd();

  RiWorldEnd();
  RiEnd();
  return 0;
}
