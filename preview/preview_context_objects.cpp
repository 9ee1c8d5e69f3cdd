// Where tessellated geometry goes (the picture or an object being
// defined), object instances, archives, procedurals, and the requests the
// preview skips.
#include <cstdint>
#include <cstring>

#include "common/name_tables.h"
#include "preview/preview_context.h"

namespace vellum::preview {

namespace {

// Nesting beyond this (an archive that reads itself, instances of
// instances) is cut off.
constexpr int kMaxArchiveDepth = 16;
constexpr int kMaxInstanceDepth = 16;

void *handleOf(size_t number) { return reinterpret_cast<void *>(static_cast<uintptr_t>(number)); }

}  // namespace

bool PreviewContext::takesGeometry() {
  if (!inWorld_ && recording_ == 0) return false;
  if (!drawing_ && recording_ == 0) return false;
  return firstInMotion();
}

void PreviewContext::emit(Mesh &&mesh) {
  if (mesh.triangles.empty()) return;
  if (recording_ != 0) {
    objects_[recording_ - 1].push_back({current_, std::make_shared<const Mesh>(std::move(mesh)), nullptr, 0});
    return;
  }
  draw(mesh.view(), current_);
}

void PreviewContext::emitFacing(FacingGeometry &&geometry) {
  if (geometry.centres.empty()) return;
  if (recording_ != 0) {
    objects_[recording_ - 1].push_back(
        {current_, nullptr, std::make_shared<const FacingGeometry>(std::move(geometry)), 0});
    return;
  }
  drawFacing(geometry, current_);
}

void PreviewContext::draw(const MeshView &mesh, const Mat4 &toCamera) {
  if (!inWorld_ || !projection_) return;
  active_.clear();
  for (uint32_t number : attributes_.lightsOn)
    if (number >= 1 && number <= lights_.size()) active_.push_back(lights_[number - 1]);
  if (active_.empty() && !worldHasLights_) {
    Light headlight;  // from the eye along the view
    headlight.direction = {0, 0, 1};
    active_.push_back(headlight);
  }
  DrawState state;
  state.objectToCamera = toCamera;
  state.surface = attributes_.surface;
  state.lights = &active_;
  state.color = attributes_.color;
  state.opacity = attributes_.opacity;
  state.twoSided = attributes_.twoSided;
  state.leftHanded = attributes_.leftHanded;
  drawer_.draw(mesh, state, *projection_, buffer_);
}

void PreviewContext::drawFacing(const FacingGeometry &geometry, const Mat4 &toCamera) {
  if (!inWorld_ || !projection_) return;
  const Mesh mesh = expandFacing(geometry, toCamera, *projection_);
  draw(mesh.view(), Mat4());
}

RtObjectHandle PreviewContext::ObjectBegin() {
  if (recording_ != 0) {
    warnOnce("nested object", "ObjectBegin inside an object definition: ignored");
    return nullptr;
  }
  AttributeBegin();
  objects_.emplace_back();
  recording_ = objects_.size();
  // What the object holds is placed relative to where it is instanced.
  current_ = Mat4();
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
  if (!takesGeometry()) return;
  if (recording_ != 0) {
    objects_[recording_ - 1].push_back({current_, nullptr, nullptr, size_t(number)});
    return;
  }
  drawObject(number, current_, 0);
}

void PreviewContext::drawObject(size_t object, const Mat4 &toCamera, int depth) {
  if (depth > kMaxInstanceDepth) {
    warnOnce("instance depth", "object instances nested too deeply: cut off");
    return;
  }
  for (const RecordedItem &item : objects_[object - 1]) {
    const Mat4 placed = item.transform * toCamera;
    if (item.mesh) draw(item.mesh->view(), placed);
    else if (item.facing) drawFacing(*item.facing, placed);
    else if (item.instanceOf != 0) drawObject(item.instanceOf, placed, depth + 1);
  }
}

void PreviewContext::readArchiveFile(const std::string &name) {
  if (!readArchive_) {
    warnOnce("no archive reader", "archives are skipped: no archive reader is set");
    return;
  }
  if (archiveDepth_ >= kMaxArchiveDepth) {
    warnOnce("archive depth", "archives nested too deeply: " + name + " skipped");
    return;
  }
  const bool relative = !name.empty() && name[0] != '/';
  const std::string path = relative && !searchDirectory_.empty() ? searchDirectory_ + "/" + name : name;
  ++archiveDepth_;
  readArchive_(path, *this);
  --archiveDepth_;
}

RtVoid PreviewContext::ReadArchiveV(RtToken name, RtArchiveCallback, RtInt, RtToken[], RtPointer[]) {
  if (name != nullptr) readArchiveFile(name);
}

RtVoid PreviewContext::Procedural(RtPointer data, RtBound, RtProcSubdivFunc subdivfunc, RtProcFreeFunc freefunc) {
  const ProceduralKind *kind = proceduralByFunction(subdivfunc);
  if (kind != nullptr && std::strcmp(kind->name, "DelayedReadArchive") == 0) {
    const char *const *strings = static_cast<const char *const *>(data);
    if (takesGeometry() && strings != nullptr && strings[0] != nullptr) {
      // The archive sees the attributes of the procedural and changes none.
      AttributeBegin();
      readArchiveFile(strings[0]);
      AttributeEnd();
    }
  } else {
    const std::string what = kind != nullptr ? kind->name : "an unknown";
    warnOnce("procedural " + what, what + " procedural skipped");
  }
  if (freefunc != nullptr) freefunc(data);
}

RtVoid PreviewContext::BlobbyV(RtInt, RtInt, RtInt[], RtInt, RtFloat[], RtInt, RtToken[], RtInt, RtToken[],
                               RtPointer[]) {
  warnOnce("blobby", "Blobby skipped");
}

RtVoid PreviewContext::TrimCurve(RtInt, RtInt[], RtInt[], RtFloat[], RtFloat[], RtFloat[], RtInt[], RtFloat[],
                                 RtFloat[], RtFloat[]) {
  warnOnce("trim curve", "TrimCurve skipped: NuPatches are drawn untrimmed");
}

RtVoid PreviewContext::GeometryV(RtToken type, RtInt, RtToken[], RtPointer[]) {
  const std::string what = type != nullptr ? type : "";
  warnOnce("geometry " + what, "Geometry \"" + what + "\" skipped");
}

}  // namespace vellum::preview
