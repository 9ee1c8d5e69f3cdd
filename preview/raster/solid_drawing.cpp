#include "preview/raster/solid_drawing.h"

#include <algorithm>

namespace vellum::preview {

namespace {

using Fragment = SolidFragments::Fragment;

// A closed surface may still show a sample through a crack of a seam, or
// cover one twice, where its pieces meet at corners that round apart on
// the grid: that many unbalanced samples, and one in kStrayShare of those
// a primitive covers, are forgiven.
constexpr uint32_t kStraySamples = 4;
constexpr uint32_t kStrayShare = 256;

bool facesOut(const Fragment &f) { return (f.flags & SolidFragments::kFacesOut) != 0; }

// A primitive along one ray: how many of its surfaces the ray crosses,
// and whether it is inside it, so far.
struct PartOnRay {
  uint32_t part;
  int crossings = 0;
  bool inside = false;
};

PartOnRay &partOnRay(std::vector<PartOnRay> &parts, uint32_t part) {
  for (PartOnRay &p : parts)
    if (p.part == part) return p;
  parts.push_back({part});
  return parts.back();
}

}  // namespace

bool SolidDrawing::begin(CsgTree::Operation operation, SampleBuffer &buffer, bool positiveFacesEye) {
  if (!open()) {
    tree_.clear();
    cut_.clear();
    fragments_.reset(buffer.sampleCount());
    surfaceStart_ = 0;
    asUnion_ = false;
    positiveFacesEye_ = positiveFacesEye;
    open_.push_back(tree_.add(operation, CsgTree::kNone));
    cut_.push_back(false);
    names_.assign(1, std::string());
    return true;
  }
  const uint32_t current = open_.back();
  if (asUnion_ || tree_.operation(current) == CsgTree::Operation::kPrimitive) {
    open_.push_back(current);
    return asUnion_;
  }
  if (tree_.size() >= kMostParts || tree_.depth(current) + 1 >= kMostDepth) {
    giveUp(buffer, fragments_.size());
    open_.push_back(current);
    return true;
  }
  open_.push_back(tree_.add(operation, current));
  cut_.push_back(false);
  names_.emplace_back();
  return true;
}

bool SolidDrawing::end() {
  if (!open()) return false;
  open_.pop_back();
  return open_.empty();
}

SolidFragments *SolidDrawing::beginSurface(SampleBuffer &buffer, bool leftHanded, bool twoSided, bool cut,
                                           const std::function<std::string()> &name) {
  if (!collecting()) return nullptr;
  uint32_t part = open_.back();
  if (tree_.operation(part) != CsgTree::Operation::kPrimitive) {
    if (tree_.size() >= kMostParts || tree_.depth(part) + 1 >= kMostDepth) {
      giveUp(buffer, fragments_.size());
      return nullptr;
    }
    part = tree_.add(CsgTree::Operation::kPrimitive, part);
    cut_.push_back(false);
    names_.emplace_back();
  }
  if (names_[part].empty() && name) names_[part] = name();
  if (cut) cut_[part] = true;
  fragments_.setSurface(uint16_t(part), leftHanded, twoSided, positiveFacesEye_);
  surfaceStart_ = fragments_.size();
  return &fragments_;
}

bool SolidDrawing::endSurface(SampleBuffer &buffer) {
  if (!fragments_.overflowed()) return true;
  giveUp(buffer, surfaceStart_);
  return false;
}

void SolidDrawing::giveUp(SampleBuffer &buffer, size_t keep) {
  drawUnion(buffer, keep);
  fragments_.reset(buffer.sampleCount());
  asUnion_ = true;
}

SolidDrawing::Outcome SolidDrawing::finish(SampleBuffer &buffer) {
  open_.clear();
  Outcome outcome = Outcome::kSolid;
  openPartName_.clear();
  uint32_t open = kNoPart;
  if (asUnion_) {
    outcome = Outcome::kOverBudget;
  } else if ((open = openPart()) != kNoPart) {
    drawUnion(buffer, fragments_.size());
    outcome = Outcome::kOpenPart;
    openPartName_ = names_[open];
  } else {
    drawBoolean(buffer);
  }
  fragments_.reset(buffer.sampleCount());
  tree_.clear();
  cut_.clear();
  names_.clear();
  asUnion_ = false;
  return outcome;
}

void SolidDrawing::release() {
  open_.clear();
  tree_.clear();
  cut_ = {};
  names_ = {};
  fragments_.release();
  asUnion_ = false;
}

void SolidDrawing::gather(uint32_t sample, std::vector<uint32_t> &out) const {
  out.clear();
  for (uint32_t f = fragments_.head(sample); f != SolidFragments::kNone; f = fragments_[f].next) out.push_back(f);
  std::reverse(out.begin(), out.end());
}

uint32_t SolidDrawing::openPart() {
  std::vector<uint32_t> covered(tree_.size()), odd(tree_.size());
  std::vector<uint32_t> ray;
  std::vector<PartOnRay> parts;
  for (uint32_t sample : fragments_.samples()) {
    gather(sample, ray);
    parts.clear();
    for (uint32_t f : ray) ++partOnRay(parts, fragments_[f].part).crossings;
    for (const PartOnRay &p : parts) {
      ++covered[p.part];
      odd[p.part] += p.crossings % 2;
    }
  }
  for (uint32_t part = 0; part < tree_.size(); ++part)
    if (!cut_[part] && odd[part] > kStraySamples + covered[part] / kStrayShare) return part;
  return kNoPart;
}

void SolidDrawing::draw(SampleBuffer &buffer, uint32_t sample, uint32_t index) const {
  const Fragment &f = fragments_[index];
  buffer.drawSample(sample, f.depth, f.color, fragments_.opacity(index), (f.flags & SolidFragments::kOpaque) != 0);
}

void SolidDrawing::drawBoolean(SampleBuffer &buffer) {
  std::vector<uint32_t> ray, shown;
  std::vector<PartOnRay> parts;
  for (uint32_t sample : fragments_.samples()) {
    gather(sample, ray);
    // Front to back; of surfaces at one depth, the first drawn first.  The
    // lists are short (kMostPerSample at most) and often in order.
    for (size_t i = 1; i < ray.size(); ++i)
      for (size_t j = i; j > 0 && fragments_[ray[j]].depth < fragments_[ray[j - 1]].depth; --j)
        std::swap(ray[j], ray[j - 1]);
    // A part crossed an odd number of times was cut open: the ray starts
    // inside it.
    parts.clear();
    for (uint32_t f : ray) ++partOnRay(parts, fragments_[f].part).crossings;
    for (PartOnRay &p : parts)
      if (p.crossings % 2 != 0) {
        p.inside = true;
        tree_.cross(p.part, 1);
      }
    bool inside = tree_.rootInside();
    shown.clear();
    for (uint32_t index : ray) {
      const Fragment &f = fragments_[index];
      PartOnRay &p = partOnRay(parts, f.part);
      p.inside = !p.inside;
      if (!tree_.cross(f.part, p.inside ? 1 : -1)) continue;
      inside = !inside;
      // Where the solid ends, its inside shows: only on a two-sided surface.
      if (!inside && !(f.flags & SolidFragments::kTwoSided)) continue;
      shown.push_back(index);
      if (f.flags & SolidFragments::kOpaque) break;
    }
    tree_.clearRay();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) draw(buffer, sample, *it);
  }
}

// As the surfaces would have been drawn had they not been kept: in the
// order drawn, a one-sided surface only where it shows its outside.
void SolidDrawing::drawUnion(SampleBuffer &buffer, size_t before) {
  std::vector<uint32_t> ray;
  for (uint32_t sample : fragments_.samples()) {
    gather(sample, ray);
    for (uint32_t index : ray) {
      const Fragment &f = fragments_[index];
      if (index < before && (facesOut(f) || (f.flags & SolidFragments::kTwoSided))) draw(buffer, sample, index);
    }
  }
}

bool meshIsCut(const float *P, size_t vertices, const Mat4 &toCamera, const Projection &projection,
               const std::vector<ClipPlane> *clipPlanes) {
  const ClipPlane *view = projection.planes();  // near, then far
  for (size_t i = 0; i < vertices; ++i) {
    double w = 1;
    const Vec3 p = transformPoint(toCamera, {P[3 * i], P[3 * i + 1], P[3 * i + 2]}, &w);
    if (!isFinite(p) || !(w > 0) || !(view[0].at(p) >= 0) || !(view[1].at(p) >= 0)) return true;
    if (clipPlanes != nullptr)
      for (const ClipPlane &plane : *clipPlanes)
        if (!(plane.at(p) >= 0)) return true;
  }
  return false;
}

}  // namespace vellum::preview
