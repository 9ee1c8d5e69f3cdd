// Attributes and transforms of the preview context.
#include <algorithm>
#include <cstring>

#include "preview/preview_context.h"

namespace vellum::preview {

RtVoid PreviewContext::AttributeBegin() { attributeStack_.emplace_back(attributes_, current_); }

RtVoid PreviewContext::AttributeEnd() {
  if (attributeStack_.empty()) return;
  attributes_ = attributeStack_.back().first;
  current_ = attributeStack_.back().second;
  attributeStack_.pop_back();
}

RtVoid PreviewContext::Color(RtColor Cs) {
  if (Cs != nullptr && firstInMotion()) attributes_.color = {Cs[0], Cs[1], Cs[2]};
}

RtVoid PreviewContext::Opacity(RtColor Os) {
  if (Os != nullptr && firstInMotion()) attributes_.opacity = {Os[0], Os[1], Os[2]};
}

RtVoid PreviewContext::Sides(RtInt sides) { attributes_.twoSided = sides != 1; }

RtVoid PreviewContext::Orientation(RtToken orientation) {
  if (orientation == nullptr) return;
  // "outside" and "inside" are relative to the handedness of the current
  // coordinate system, which camera space (left-handed) and a transform
  // with negative determinant flip.
  const bool currentLeft = determinant3(current_) >= 0;
  if (std::strcmp(orientation, "lh") == 0) attributes_.leftHanded = true;
  else if (std::strcmp(orientation, "rh") == 0) attributes_.leftHanded = false;
  else if (std::strcmp(orientation, "outside") == 0) attributes_.leftHanded = currentLeft;
  else if (std::strcmp(orientation, "inside") == 0) attributes_.leftHanded = !currentLeft;
}

RtVoid PreviewContext::ReverseOrientation() { attributes_.leftHanded = !attributes_.leftHanded; }

RtVoid PreviewContext::Basis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep) {
  if (ubasis != nullptr) std::memcpy(attributes_.uBasis, ubasis, sizeof attributes_.uBasis);
  if (vbasis != nullptr) std::memcpy(attributes_.vBasis, vbasis, sizeof attributes_.vBasis);
  attributes_.uStep = ustep;
  attributes_.vStep = vstep;
}

void PreviewContext::concat(const Mat4 &m) {
  if (firstInMotion()) current_ = m * current_;
}

RtVoid PreviewContext::Identity() {
  if (firstInMotion()) current_ = inWorld_ ? worldToCamera_ : Mat4();
}

RtVoid PreviewContext::ConcatTransform(RtMatrix transform) {
  if (transform != nullptr) concat(Mat4::fromRi(transform));
}

RtVoid PreviewContext::Transform(RtMatrix transform) {
  if (transform == nullptr || !firstInMotion()) return;
  current_ = Mat4::fromRi(transform) * (inWorld_ ? worldToCamera_ : Mat4());
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

RtVoid PreviewContext::CoordinateSystem(RtToken space) {
  if (space != nullptr) coordinateSystems_[space] = current_;
}

RtVoid PreviewContext::CoordSysTransform(RtToken space) {
  if (space == nullptr) return;
  auto found = coordinateSystems_.find(space);
  if (found != coordinateSystems_.end()) {
    current_ = found->second;
  } else if (std::strcmp(space, "camera") == 0) {
    current_ = Mat4();
  } else if (std::strcmp(space, "world") == 0) {
    current_ = inWorld_ ? worldToCamera_ : Mat4();
  } else {
    warnOnce(std::string("coordinate system ") + space,
             std::string("coordinate system \"") + space + "\" is not known: the transform is unchanged");
  }
}

RtVoid PreviewContext::TransformBegin() { transformStack_.push_back(current_); }

RtVoid PreviewContext::TransformEnd() {
  if (transformStack_.empty()) return;
  current_ = transformStack_.back();
  transformStack_.pop_back();
}

}  // namespace vellum::preview
