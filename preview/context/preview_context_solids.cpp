// Solids: SolidBegin and SolidEnd, drawn as the boolean of their parts by
// SolidDrawing.
#include <string>

#include "preview/preview_context.h"

namespace vellum::preview {

namespace {

// Whether a triangle whose corners wind positively on the sample grid
// faces the eye: the grid's y runs down, unless the screen window turns
// the picture over.
bool positiveFacesEye(const Projection &projection) {
  const Vec3 o{0, 0, 1}, x{1, 0, 1}, y{0, 1, 1};
  return (projection.sampleX(x) - projection.sampleX(o)) * (projection.sampleY(y) - projection.sampleY(o)) < 0;
}

const std::string kTooLarge =
    "a solid is too large to combine (more than " + std::to_string(SolidFragments::kPerSample) +
    " samples of surface a sample of the picture, " + std::to_string(SolidFragments::kMostFragments) + " in all, " +
    std::to_string(SolidFragments::kMostPerSample) + " at one sample, " + std::to_string(SolidDrawing::kMostParts) +
    " parts or " + std::to_string(SolidDrawing::kMostDepth) + " levels): it is drawn as a union";

}  // namespace

RtVoid PreviewContext::SolidBegin(RtToken operation) {
  if (recording_ != 0) {
    warnOnce("solid in object", "SolidBegin inside an object definition: its parts are drawn as a union");
    if (solid_.open()) solid_.nest();
    return;
  }
  if (!solid_.open()) {
    // A solid that will not be drawn is not followed.
    if (!(inWorld_ && drawing_ && projection_) || meter().spent()) return;
    // The first of a world clears a list head for every sample of the grid.
    if (!solidGridCleared_ && !charge(WorkMeter::kSamples, buffer_.sampleCount())) return;
    solidGridCleared_ = true;
  }
  const std::string name = operation != nullptr ? operation : "";
  CsgTree::Operation kind = CsgTree::Operation::kUnion;
  if (name == "primitive") kind = CsgTree::Operation::kPrimitive;
  else if (name == "intersection") kind = CsgTree::Operation::kIntersection;
  else if (name == "difference") kind = CsgTree::Operation::kDifference;
  else if (name != "union")
    warnOnce("solid operation " + name, "SolidBegin \"" + name + "\" is not an operation: drawn as \"union\"");
  if (!solid_.begin(kind, buffer_, positiveFacesEye(*projection_)))
    warnOnce("solid in primitive", "SolidBegin inside a \"primitive\" solid: its surfaces are part of the primitive");
  if (solid_.overBudget()) warnOnce("solid budget", kTooLarge);
}

RtVoid PreviewContext::SolidEnd() {
  if (solid_.end()) finishSolid();
}

uint64_t PreviewContext::drawSolidSurface(const MeshView &mesh, const DrawState &state) {
  const bool cut = mesh.P != nullptr &&
                   meshIsCut(mesh.P, mesh.vertices, state.objectToCamera, *projection_, state.clipPlanes);
  const auto name = [this] { return placeOfRequest_ ? placeOfRequest_() : std::string(); };
  if (SolidFragments *fragments = solid_.beginSurface(buffer_, state.leftHanded, state.twoSided, cut, name)) {
    // Which side of it shows is known only once the solid is whole.
    DrawState bothSides = state;
    bothSides.twoSided = true;
    buffer_.collectInto(fragments);
    const uint64_t drawn = drawer_.draw(mesh, bothSides, *projection_, buffer_);
    buffer_.collectInto(nullptr);
    if (solid_.endSurface(buffer_)) return drawn;
  }
  warnOnce("solid budget", kTooLarge);
  return drawer_.draw(mesh, state, *projection_, buffer_);
}

void PreviewContext::finishSolid() {
  if (solid_.finish(buffer_) != SolidDrawing::Outcome::kOpenPart) return;
  const std::string &part = solid_.openPartName();
  warnOnce("solid open part " + part, "a part of a solid does not close a volume" +
                                          (part.empty() ? std::string() : " (" + part + ")") +
                                          ": the solid is drawn as a union");
}

}  // namespace vellum::preview
