// Level of detail: Detail and DetailRange choose which representation of
// a model is drawn.
#include "preview/context/level_of_detail.h"
#include "preview/preview_context.h"

namespace vellum::preview {

RtVoid PreviewContext::Detail(RtBound bound) {
  if (bound == nullptr || !firstInMotion()) return;
  Attributes &attributes = editAttributes(kSetDetail);
  attributes.hasDetailBound = true;
  for (int k = 0; k < 8; ++k)
    attributes.detailBound[k] =
        transformPoint(transform(), {bound[k & 1], bound[2 + ((k >> 1) & 1)], bound[4 + ((k >> 2) & 1)]});
}

RtVoid PreviewContext::DetailRange(RtFloat minvisible, RtFloat lowertransition, RtFloat uppertransition,
                                   RtFloat maxvisible) {
  if (!firstInMotion()) return;
  float *range = editAttributes(kSetDetailRange).detailRange;
  range[0] = minvisible, range[1] = lowertransition, range[2] = uppertransition, range[3] = maxvisible;
}

bool PreviewContext::detailShows(const Attributes &attributes) const {
  const float *range = attributes.detailRange;
  // Nothing to work out while every detail is in range.
  if (range[0] <= 0 && range[1] <= 0 && range[2] == INFINITY && range[3] == INFINITY) return true;
  const float detail =
      attributes.hasDetailBound && projection_ ? rasterDetail(attributes.detailBound, *projection_) : kLargestDetail;
  return drawnAtDetail(range, detail);
}

}  // namespace vellum::preview
