#include "preview/raster/solid_fragments.h"

#include <algorithm>

namespace vellum::preview {

void SolidFragments::reset(size_t samples) {
  // Only the samples used are cleared, so that a small solid in a large
  // picture costs its own samples.
  if (heads_.size() != samples) heads_.assign(samples, kNone);
  for (uint32_t sample : samples_) heads_[sample] = kNone;
  samples_.clear();
  fragments_.clear();
  budget_ = std::min(kMostFragments, kPerSample * samples);
  overflowed_ = false;
}

void SolidFragments::release() {
  heads_ = {};
  samples_ = {};
  fragments_ = {};
  overflowed_ = false;
}

void SolidFragments::setSurface(uint16_t part, bool leftHanded, bool twoSided, bool positiveFacesEye) {
  part_ = part;
  leftHanded_ = leftHanded;
  positiveFacesEye_ = positiveFacesEye;
  surfaceFlags_ = twoSided ? kTwoSided : 0;
}

void SolidFragments::add(size_t sample, float depth, bool positive, bool opaque, const float color[3],
                         const float opacity[3]) {
  if (overflowed_ || sample >= heads_.size()) return;
  uint32_t &head = heads_[sample];
  const int rank = head == kNone ? 1 : fragments_[head].rank + 1;
  const size_t slots = opaque ? 1 : 2;
  if (fragments_.size() + slots > budget_ || rank > kMostPerSample) {
    overflowed_ = true;
    return;
  }
  // Grown by doubling, but never past the budget.
  if (fragments_.size() + slots > fragments_.capacity())
    fragments_.reserve(std::min(budget_, std::max<size_t>(1024, 2 * fragments_.capacity())));
  if (head == kNone) samples_.push_back(uint32_t(sample));
  const bool facesEye = positive == positiveFacesEye_;
  Fragment f;
  f.depth = depth;
  f.next = head;
  f.part = part_;
  f.flags = uint8_t(surfaceFlags_ | (facesEye == leftHanded_ ? kFacesOut : 0) | (opaque ? kOpaque : 0));
  f.rank = uint8_t(rank);
  for (int k = 0; k < 3; ++k) f.color[k] = color[k];
  head = uint32_t(fragments_.size());
  fragments_.push_back(f);
  // The opacities of one that is not opaque take the slot after it.
  if (!opaque) fragments_.push_back({0, kNone, 0, 0, 0, {opacity[0], opacity[1], opacity[2]}});
}

const float *SolidFragments::opacity(uint32_t index) const {
  static const float kWhole[3] = {1, 1, 1};
  return fragments_[index].flags & kOpaque ? kWhole : fragments_[index + 1].color;
}

}  // namespace vellum::preview
