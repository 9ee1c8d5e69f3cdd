// Where tessellated geometry goes (the picture or an object being
// defined), object instances, archives, procedurals, and the requests the
// preview skips.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/name_tables.h"
#include "preview/context/object_attributes.h"
#include "preview/preview_context.h"

namespace vellum::preview {

namespace {

// Instances of instances nested beyond this are cut off.
constexpr int kMaxInstanceDepth = 16;
// What a primitive costs to draw beyond its triangles, and an instance.
constexpr uint64_t kPrimitiveWork = 16;
constexpr uint64_t kInstanceWork = 1;
// What keeping a set of attributes in an object costs, in triangles.
constexpr uint64_t kAttributesCost = 8;

void *handleOf(size_t number) { return reinterpret_cast<void *>(static_cast<uintptr_t>(number)); }

}  // namespace

bool PreviewContext::takesGeometry(bool ofDetail) {
  // Nothing is tessellated that could not be drawn or kept.
  if (meter().spent()) return false;
  if (recording_ == 0) {
    if (!inWorld_ || !drawing_) return false;
    if (ofDetail && !detailShows(attributes())) return false;
  } else if (recordedTriangles_ >= objectBudget_) {
    return false;
  }
  return firstInMotion();
}

// Objects keep what they hold for the rest of the stream, so what they may
// hold in all is bounded apart from the meter, which pays for making it.
bool PreviewContext::record(uint64_t triangles) {
  if (recordedTriangles_ + triangles > objectBudget_) {
    recordedTriangles_ = objectBudget_;
    warnOnce("object budget", "objects hold more than " + std::to_string(objectBudget_) +
                                  " triangles: the rest of their definitions is left out");
    return false;
  }
  if (!charge(WorkMeter::kDrawing, triangles)) return false;
  recordedTriangles_ += triangles;
  return true;
}

bool PreviewContext::charge(WorkMeter::Account account, uint64_t amount) {
  if (meter().charge(account, amount)) return true;
  noteSpent();
  return false;
}

// A caller's meter is the caller's to report: it knows the input.
void PreviewContext::noteSpent() {
  if (givenMeter_ == nullptr && ownMeter_.spent())
    warnOnce("work meter", ownMeter_.spentMessage() + ": the rest is not drawn");
}

void PreviewContext::emit(Mesh &&mesh) {
  if (mesh.triangles.empty()) return;
  if (recording_ != 0) {
    if (record(mesh.triangles.size() / 3))
      recordItem({transform(), std::make_shared<const Mesh>(std::move(mesh)), nullptr, 0, nullptr});
    return;
  }
  draw(mesh.view(), transform(), attributes());
}

void PreviewContext::emitFacing(FacingGeometry &&geometry) {
  if (geometry.centres.empty()) return;
  if (recording_ != 0) {
    if (record(2 * geometry.centres.size()))
      recordItem({transform(), nullptr, std::make_shared<const FacingGeometry>(std::move(geometry)), 0, nullptr});
    return;
  }
  drawFacing(geometry, transform(), attributes());
}

// Pieces recorded under the same attributes share one copy of them.
void PreviewContext::recordItem(RecordedItem &&item) {
  const Attributes &current = attributes();
  if (current.setInObject != 0) {
    if (!recordedAttributes_ || recordedAttributes_->edit != current.edit) {
      if (!record(kAttributesCost + current.clipPlanes.size())) return;
      recordedAttributes_ = std::make_shared<const Attributes>(current);
    }
    item.attributes = recordedAttributes_;
  }
  objects_[recording_ - 1].push_back(std::move(item));
}

void PreviewContext::draw(const MeshView &mesh, const Mat4 &toCamera, const Attributes &attributes) {
  if (!inWorld_ || !projection_) return;
  const uint64_t lights = std::max<uint64_t>(1, lightsOn_.size());
  if (!charge(WorkMeter::kDrawing, kPrimitiveWork + mesh.triangleCount * lights)) return;
  active_.clear();
  for (uint32_t number : lightsOn_)
    if (number >= 1 && number <= lights_.size()) active_.push_back(lights_[number - 1]);
  if (active_.empty() && !worldHasLights_) {
    preview::Light headlight;  // from the eye along the view
    headlight.direction = {0, 0, 1};
    active_.push_back(headlight);
  }
  DrawState state;
  state.objectToCamera = toCamera;
  state.surface = attributes.surface;
  state.lights = &active_;
  state.color = attributes.ownColor ? attributes.surfaceColor : attributes.color;
  state.opacity = attributes.opacity;
  state.twoSided = attributes.twoSided;
  state.leftHanded = outsideIsLeftHanded(attributes.orientation, toCamera);
  state.clipPlanes = &attributes.clipPlanes;
  // Splitting large facets may spend up to half the drawing account in
  // all, each piece counted once per light, so that it never leaves later
  // geometry out.  (Less used than split means the meter began afresh.)
  WorkMeter &meter = this->meter();
  if (meter.used(WorkMeter::kDrawing) < splitWork_) splitWork_ = 0;
  const uint64_t half = meter.limit(WorkMeter::kDrawing) / 2;
  const uint64_t splitWork = std::min(meter.left(WorkMeter::kDrawing), half - std::min(half, splitWork_));
  state.splitAllowance = splitWork / lights;
  MeshView view = mesh;
  if (attributes.ownColor) view.Cs = {};
  buffer_.setMeter(&meter);
  const uint64_t drawn = solid_.collecting() ? drawSolidSurface(view, state)
                                              : drawer_.draw(view, state, *projection_, buffer_);
  const uint64_t added = drawn * lights;
  splitWork_ += added;
  // Within what was left: only the samples drawn can have spent the meter.
  charge(WorkMeter::kDrawing, added);
  if (meter.spent()) noteSpent();
}

void PreviewContext::drawFacing(const FacingGeometry &geometry, const Mat4 &toCamera, const Attributes &attributes) {
  if (!inWorld_ || !projection_) return;
  // Checked before the ribbons and discs are made: more than is left is
  // refused, and spends the meter.
  const uint64_t triangles = 2 * uint64_t(geometry.centres.size());
  if (triangles > meter().left(WorkMeter::kDrawing)) {
    charge(WorkMeter::kDrawing, triangles);
    return;
  }
  const Mesh mesh = expandFacing(geometry, toCamera, *projection_);
  draw(mesh.view(), Mat4(), attributes);
}

RtObjectHandle PreviewContext::ObjectBegin() {
  if (recording_ != 0) {
    warnOnce("nested object", "ObjectBegin inside an object definition: ignored");
    return nullptr;
  }
  AttributeBegin();
  objects_.emplace_back();
  recording_ = objects_.size();
  // What the object holds is placed relative to where it is instanced,
  // and so are the clipping planes it sets; what it sets of the rest is
  // noted from here.  Its NuPatches are trimmed as they are defined, by
  // the trim curves it sets.
  setTransform(Mat4());
  Attributes &attributes = editAttributes(0);
  attributes.setInObject = 0;
  attributes.clipPlanes.clear();
  attributes.trim = nullptr;
  return handleOf(recording_);
}

RtVoid PreviewContext::ObjectEnd() {
  if (recording_ == 0) return;
  recording_ = 0;
  AttributeEnd();
}

RtVoid PreviewContext::ObjectInstance(RtObjectHandle handle) {
  const uintptr_t number = reinterpret_cast<uintptr_t>(handle);
  // Only objects already complete can be used, so instances never loop.
  if (number == 0 || number > objects_.size() || number == recording_) {
    warnOnce("object handle", "ObjectInstance with an object handle this context did not give: ignored");
    return;
  }
  // Each piece of the object is drawn by its own level of detail.
  if (!takesGeometry(false)) return;
  if (recording_ != 0) {
    if (!objects_[number - 1].empty() && record(1)) recordItem({transform(), nullptr, nullptr, size_t(number), nullptr});
    return;
  }
  drawObject(number, transform(), attributes(), 0);
}

void PreviewContext::drawObject(size_t object, const Mat4 &toCamera, const Attributes &placedAt, int depth) {
  if (depth > kMaxInstanceDepth) {
    warnOnce("instance depth", "object instances nested too deeply: cut off");
    return;
  }
  Attributes merged;
  const Attributes *mergedFrom = nullptr;
  for (const RecordedItem &item : objects_[object - 1]) {
    if (!charge(WorkMeter::kDrawing, kInstanceWork)) return;
    if (item.attributes && item.attributes.get() != mergedFrom) {
      merged = placedAttributes(placedAt, *item.attributes, toCamera);
      mergedFrom = item.attributes.get();
    }
    const Attributes &attributes = item.attributes ? merged : placedAt;
    const Mat4 placed = item.transform * toCamera;
    if ((item.mesh || item.facing) && !detailShows(attributes)) continue;
    if (item.mesh) draw(item.mesh->view(), placed, attributes);
    else if (item.facing) drawFacing(*item.facing, placed, attributes);
    else if (item.instanceOf != 0) drawObject(item.instanceOf, placed, attributes, depth + 1);
  }
}

RtVoid PreviewContext::ReadArchiveV(RtToken name, RtArchiveCallback, RtInt, RtToken[], RtPointer[]) {
  const std::string what = name != nullptr ? name : "";
  warnOnce("archive", "archives are not read here: \"" + what + "\" skipped");
}

RtVoid PreviewContext::Procedural(RtPointer data, RtBound, RtProcSubdivFunc subdivfunc, RtProcFreeFunc freefunc) {
  const ProceduralKind *kind = proceduralByFunction(subdivfunc);
  const std::string what = kind != nullptr ? kind->name : "an unknown";
  warnOnce("procedural " + what, what + " procedural skipped");
  if (freefunc != nullptr) freefunc(data);
}

}  // namespace vellum::preview
