// Attributes and transforms of the preview context.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "preview/preview_context.h"

namespace vellum::preview {

RtVoid PreviewContext::AttributeBegin() {
  attributeStack_.push_back({state_, lightChanges_.size(), spaceChanges_.size()});
}

RtVoid PreviewContext::AttributeEnd() {
  if (attributeStack_.empty()) return;
  state_ = attributeStack_.back().state;
  // The lights go back as they were, change by change.
  for (size_t mark = attributeStack_.back().lightChanges; lightChanges_.size() > mark;) {
    const auto [number, wasOn] = lightChanges_.back();
    lightChanges_.pop_back();
    if (wasOn) lightsOn_.insert(number);
    else lightsOn_.erase(number);
  }
  for (size_t mark = attributeStack_.back().spaceChanges; spaceChanges_.size() > mark;) {
    auto &[name, was] = spaceChanges_.back();
    if (was) scopedSystems_[name] = *was;
    else scopedSystems_.erase(name);
    spaceChanges_.pop_back();
  }
  attributeStack_.pop_back();
}

void PreviewContext::setLight(uint32_t number, bool on) {
  const bool wasOn = lightsOn_.count(number) != 0;
  if (wasOn == on) return;
  // Outside every block there is nothing to undo to.
  if (!attributeStack_.empty()) lightChanges_.emplace_back(number, wasOn);
  if (on) lightsOn_.insert(number);
  else lightsOn_.erase(number);
}

RtVoid PreviewContext::Color(RtColor Cs) {
  if (Cs != nullptr && firstInMotion()) editAttributes(kSetColor).color = {Cs[0], Cs[1], Cs[2]};
}

RtVoid PreviewContext::Opacity(RtColor Os) {
  if (Os != nullptr && firstInMotion()) editAttributes(kSetOpacity).opacity = {Os[0], Os[1], Os[2]};
}

RtVoid PreviewContext::Sides(RtInt sides) { editAttributes(kSetSides).twoSided = sides != 1; }

RtVoid PreviewContext::Orientation(RtToken orientation) {
  if (orientation == nullptr) return;
  // "outside" and "inside" stay relative to the handedness of the space
  // each primitive is given in (graphics_state.h).
  SurfaceOrientation chosen;
  if (std::strcmp(orientation, "lh") == 0) chosen = SurfaceOrientation::kLeftHanded;
  else if (std::strcmp(orientation, "rh") == 0) chosen = SurfaceOrientation::kRightHanded;
  else if (std::strcmp(orientation, "outside") == 0) chosen = SurfaceOrientation::kOutside;
  else if (std::strcmp(orientation, "inside") == 0) chosen = SurfaceOrientation::kInside;
  else return;
  editAttributes(kSetOrientation).orientation = chosen;
}

RtVoid PreviewContext::ReverseOrientation() {
  Attributes &attributes = editAttributes(kSetOrientation);
  attributes.orientation = reversed(attributes.orientation);
}

RtVoid PreviewContext::Basis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep) {
  // The basis shapes patches as they are made: instances need none of it.
  Attributes &attributes = editAttributes(0);
  if (ubasis != nullptr) std::memcpy(attributes.uBasis, ubasis, sizeof attributes.uBasis);
  if (vbasis != nullptr) std::memcpy(attributes.vBasis, vbasis, sizeof attributes.vBasis);
  attributes.uStep = ustep;
  attributes.vStep = vstep;
}

void PreviewContext::concat(const Mat4 &m) {
  if (firstInMotion()) setTransform(m * transform());
}

RtVoid PreviewContext::Identity() {
  if (firstInMotion()) setTransform(inWorld_ ? worldToCamera_ : Mat4());
}

RtVoid PreviewContext::ConcatTransform(RtMatrix transform) {
  if (transform != nullptr) concat(Mat4::fromRi(transform));
}

RtVoid PreviewContext::Transform(RtMatrix transform) {
  if (transform == nullptr || !firstInMotion()) return;
  setTransform(Mat4::fromRi(transform) * (inWorld_ ? worldToCamera_ : Mat4()));
}

RtVoid PreviewContext::Perspective(RtFloat fov) { concat(Mat4::perspective(fov)); }

RtVoid PreviewContext::Translate(RtFloat dx, RtFloat dy, RtFloat dz) { concat(Mat4::translate(dx, dy, dz)); }

RtVoid PreviewContext::Rotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz) {
  concat(Mat4::rotate(angle, dx, dy, dz));
}

RtVoid PreviewContext::Scale(RtFloat sx, RtFloat sy, RtFloat sz) { concat(Mat4::scale(sx, sy, sz)); }

RtVoid PreviewContext::Skew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2,
                            RtFloat dz2) {
  concat(Mat4::skew(angle, {dx1, dy1, dz1}, {dx2, dy2, dz2}));
}

RtVoid PreviewContext::ClippingPlane(RtFloat x, RtFloat y, RtFloat z, RtFloat nx, RtFloat ny, RtFloat nz) {
  if (!firstInMotion()) return;
  if (attributes().clipPlanes.size() >= kMostClippingPlanes) {
    warnOnce("clipping planes", "more than " + std::to_string(kMostClippingPlanes) +
                                    " clipping planes: the rest are ignored");
    return;
  }
  // The plane n·(p − point) = 0 of the current space, cutting away where
  // it is positive.  A camera point q is q·M⁻¹ in the current space, so in
  // camera space the plane's coefficients are M⁻¹ times them as a column.
  const double plane[4] = {nx, ny, nz, -(double(nx) * x + double(ny) * y + double(nz) * z)};
  Mat4 toCurrent;
  double c[4] = {0, 0, 0, 0};
  if (invert(transform(), toCurrent))
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) c[i] += toCurrent.m[i][j] * plane[j];
  const double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
  if (!(length > 0) || !std::isfinite(length) || !std::isfinite(c[3])) {
    warnOnce("clipping plane", "ClippingPlane without a usable normal or in a flat coordinate system: ignored");
    return;
  }
  editAttributes(kSetClipping).clipPlanes.push_back(
      {float(-c[0] / length), float(-c[1] / length), float(-c[2] / length), float(-c[3] / length)});
}

void PreviewContext::defineSpace(std::map<std::string, NamedSpace> &spaces, const std::string &name,
                               const Mat4 &toCamera) {
  spaces[name] = {toCamera, ++spacesNamed_};
}

const Mat4 *PreviewContext::namedSpace(const std::string &name) const {
  const auto lasting = coordinateSystems_.find(name), scoped = scopedSystems_.find(name);
  const NamedSpace *found = lasting != coordinateSystems_.end() ? &lasting->second : nullptr;
  if (scoped != scopedSystems_.end() && (found == nullptr || scoped->second.order > found->order))
    found = &scoped->second;
  return found != nullptr ? &found->toCamera : nullptr;
}

RtVoid PreviewContext::CoordinateSystem(RtToken space) {
  if (space != nullptr) defineSpace(coordinateSystems_, space, transform());
}

RtVoid PreviewContext::ScopedCoordinateSystem(RtToken space) {
  if (space == nullptr) return;
  // Outside every block there is nothing to undo to.
  if (!attributeStack_.empty()) {
    const auto found = scopedSystems_.find(space);
    spaceChanges_.emplace_back(space, found != scopedSystems_.end() ? std::optional(found->second) : std::nullopt);
  }
  defineSpace(scopedSystems_, space, transform());
}

RtVoid PreviewContext::CoordSysTransform(RtToken space) {
  if (space == nullptr) return;
  if (const Mat4 *found = namedSpace(space)) {
    setTransform(*found);
  } else if (std::strcmp(space, "camera") == 0) {
    setTransform(Mat4());
  } else if (std::strcmp(space, "world") == 0) {
    setTransform(inWorld_ ? worldToCamera_ : Mat4());
  } else {
    warnOnce(std::string("coordinate system ") + space,
             std::string("coordinate system \"") + space + "\" is not known: the transform is unchanged");
  }
}

RtVoid PreviewContext::TransformBegin() { transformStack_.push_back(state_); }

RtVoid PreviewContext::TransformEnd() {
  if (transformStack_.empty()) return;
  setTransform(transformStack_.back()->transform);
  transformStack_.pop_back();
}

}  // namespace vellum::preview
