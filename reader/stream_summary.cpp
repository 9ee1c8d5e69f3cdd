#include "reader/stream_summary.h"

#include <algorithm>
#include <cstring>

namespace vellum {

namespace {

// What a primitive's counts say of it: one face per value of uniform class
// (a polygon, a mesh's face, a patch), one curve per uniform value, one
// point per vertex.
enum class Shape { kOther, kFaces, kCurves, kPoints };

Shape shapeOf(const std::string &name) {
  static const char *const kFaced[] = {"Polygon",     "GeneralPolygon", "PointsPolygons",
                                       "PointsGeneralPolygons", "Patch", "PatchMesh",
                                       "NuPatch",     "SubdivisionMesh", "HierarchicalSubdivisionMesh"};
  for (const char *faced : kFaced)
    if (name == faced) return Shape::kFaces;
  if (name == "Curves") return Shape::kCurves;
  if (name == "Points") return Shape::kPoints;
  return Shape::kOther;
}

}  // namespace

void StreamSummary::request(const RequestRow &row, const RibRequest &request, const PrimitiveCounts *counts) {
  ++requests_;
  bytes_ += request.bytes;
  ByName &byName = byName_[request.name];
  ++byName.count;
  byName.bytes += request.bytes;

  const std::string &name = request.name;
  frames_ += name == "FrameBegin";
  worlds_ += name == "WorldBegin";
  lights_ += name == "LightSource" || name == "AreaLightSource" || name == "Light";
  objects_ += name == "ObjectBegin";
  instances_ += name == "ObjectInstance";

  if (row.flags & kPrimitive) {
    Primitives &kind = primitives_[name];
    ++kind.count;
    const Shape shape = shapeOf(name);
    if (counts != nullptr && shape != Shape::kOther) {
      kind.vertices += counts->vertex;
      if (shape == Shape::kFaces) kind.faces += counts->uniform;
      if (shape == Shape::kCurves) kind.curves += counts->uniform;
      if (shape == Shape::kPoints) kind.points += counts->vertex;
    }
  }

  // The earlier of two of the same size stays ahead.
  const auto larger = [](const Large &a, const Large &b) { return a.bytes > b.bytes; };
  if (largest_.size() == kLargestShown && request.bytes <= largest_.back().bytes) return;
  Large large{name, request.line, request.bytes};
  largest_.insert(std::upper_bound(largest_.begin(), largest_.end(), large, larger), std::move(large));
  if (largest_.size() > kLargestShown) largest_.pop_back();
}

void StreamSummary::archive(const std::string &path, uint64_t bytes) {
  Archive &archive = archives_[path];
  ++archive.reads;
  archive.bytes += bytes;
}

std::vector<std::pair<std::string, StreamSummary::ByName>> StreamSummary::byName() const {
  std::vector<std::pair<std::string, ByName>> rows(byName_.begin(), byName_.end());
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto &a, const auto &b) { return a.second.bytes > b.second.bytes; });
  return rows;
}

}  // namespace vellum
