// The picture made of the samples: each pixel the mean of its samples (a
// box filter), exposure applied, quantized to 8 bits.
#ifndef VELLUM_PREVIEW_IMAGE_RESOLVE_H
#define VELLUM_PREVIEW_IMAGE_RESOLVE_H

#include "preview/image/image.h"
#include "preview/raster/sample_buffer.h"

namespace vellum::preview {

// Exposure is (gain · c)^(1/gamma) on unpremultiplied colour; a gain or
// gamma that is not a finite positive number counts as 1.
Image resolve(const SampleBuffer &buffer, float gain, float gamma);

}  // namespace vellum::preview

#endif
