// The surfaces of a solid kept sample by sample until the solid is whole:
// at each sample of the grid, the depth, colour and facing of every
// surface that covers it, in a list of its own.  The store is bounded: past
// kPerSample slots for each sample of the grid (kMostFragments at most) or
// kMostPerSample fragments at one sample it takes no more and says it
// overflowed.  A fragment takes a slot, two when it is not opaque.
#ifndef VELLUM_PREVIEW_RASTER_SOLID_FRAGMENTS_H
#define VELLUM_PREVIEW_RASTER_SOLID_FRAGMENTS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum::preview {

class SolidFragments {
 public:
  static constexpr size_t kPerSample = 8;
  static constexpr size_t kMostFragments = 16'000'000;
  static constexpr int kMostPerSample = 64;
  static constexpr uint32_t kNone = UINT32_MAX;

  enum Flags : uint8_t {
    kFacesOut = 1,  // the surface shows the eye its outside (for a solid drawn as a union)
    kOpaque = 2,
    kTwoSided = 4,
  };
  struct Fragment {
    float depth;
    uint32_t next;  // the fragment added before it at the same sample, or kNone
    uint16_t part;  // the primitive's node in the solid's tree
    uint8_t flags;
    uint8_t rank;  // its place at the sample, from 1
    float color[3];  // premultiplied by the opacity
  };

  // Empties the store for a grid of `samples` samples.
  void reset(size_t samples);
  // Gives back the memory.
  void release();

  // What the fragments added next belong to.  A surface faces the eye
  // when its corners wind positively on the grid, if `positiveFacesEye`;
  // its outside is the side that faces the eye when `leftHanded`.
  void setSurface(uint16_t part, bool leftHanded, bool twoSided, bool positiveFacesEye);

  // A sample of a triangle whose corners wind positively (or not) on the
  // grid; what the sample buffer would have drawn there.
  void add(size_t sample, float depth, bool positive, bool opaque, const float color[3], const float opacity[3]);

  bool overflowed() const { return overflowed_; }
  void setOverflowed() { overflowed_ = true; }
  size_t size() const { return fragments_.size(); }
  // The samples that hold fragments, each once, and the fragments of one,
  // the last added first.
  const std::vector<uint32_t> &samples() const { return samples_; }
  uint32_t head(uint32_t sample) const { return heads_[sample]; }
  const Fragment &operator[](uint32_t index) const { return fragments_[index]; }
  // The opacity of each channel, as interpolated.
  const float *opacity(uint32_t index) const;

 private:
  std::vector<uint32_t> heads_;  // by sample
  std::vector<uint32_t> samples_;
  std::vector<Fragment> fragments_;
  size_t budget_ = 0;
  bool overflowed_ = false;
  uint16_t part_ = 0;
  uint8_t surfaceFlags_ = 0;
  bool leftHanded_ = true, positiveFacesEye_ = true;
};

}  // namespace vellum::preview

#endif
