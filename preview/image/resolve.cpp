#include "preview/image/resolve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vellum::preview {

Image resolve(const SampleBuffer &buffer, float gain, float gamma) {
  Image image;
  image.width = buffer.width();
  image.height = buffer.height();
  image.rgba.assign(size_t(image.width) * size_t(image.height) * 4, 0);
  if (!std::isfinite(gain) || gain < 0) gain = 1;
  const float inverseGamma = std::isfinite(gamma) && gamma > 0 ? 1 / gamma : 1;
  const float perSample = 1.0f / float(buffer.samplesPerPixel());
  auto quantize = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  for (int py = 0; py < image.height; ++py)
    for (int px = 0; px < image.width; ++px) {
      float sum[4];
      buffer.pixelSum(px, py, sum);
      const float a = sum[3] * perSample;
      uint8_t *out = &image.rgba[(size_t(py) * size_t(image.width) + size_t(px)) * 4];
      if (!(a > 1e-6f)) continue;
      const float unpremultiply = perSample / a;
      const float c[3] = {sum[0] * unpremultiply, sum[1] * unpremultiply, sum[2] * unpremultiply};
      for (int k = 0; k < 3; ++k) {
        float v = gain * c[k];
        if (inverseGamma != 1) v = std::pow(std::max(v, 0.0f), inverseGamma);
        out[k] = quantize(v);
      }
      out[3] = quantize(a);
    }
  return image;
}

}  // namespace vellum::preview
