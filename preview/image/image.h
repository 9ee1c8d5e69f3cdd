// A finished picture: 8-bit RGBA, rows from the top.  Colour is not
// premultiplied by alpha, as PNG stores it; a pixel that nothing covered
// is 0,0,0,0.
#ifndef VELLUM_PREVIEW_IMAGE_IMAGE_H
#define VELLUM_PREVIEW_IMAGE_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum::preview {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width × height × 4

  const uint8_t *pixel(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

}  // namespace vellum::preview

#endif
