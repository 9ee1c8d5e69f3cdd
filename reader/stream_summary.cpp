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

StreamSummary::Entry &StreamSummary::entryOf(const RequestRow &row, const RibRequest &request) {
  // A row is one name; a request whose row does not name it is found by
  // its name (every entry is there too, so a name has one entry).
  const bool rowNamesIt = row.name != nullptr && request.name == row.name;
  if (rowNamesIt) {
    const auto found = byRow_.find(&row);
    if (found != byRow_.end()) return entries_[found->second];
  }
  const auto found = byName_.find(request.name);
  if (found != byName_.end()) {
    if (rowNamesIt) byRow_.emplace(&row, found->second);
    return entries_[found->second];
  }
  const std::string &name = request.name;
  Entry entry;
  entry.name = name;
  entry.primitive = (row.flags & kPrimitive) != 0;
  entry.shape = static_cast<int>(shapeOf(name));
  if (name == "FrameBegin") entry.structure = &StreamSummary::frames_;
  if (name == "WorldBegin") entry.structure = &StreamSummary::worlds_;
  if (name == "LightSource" || name == "AreaLightSource" || name == "Light") entry.structure = &StreamSummary::lights_;
  if (name == "ObjectBegin") entry.structure = &StreamSummary::objects_;
  if (name == "ObjectInstance") entry.structure = &StreamSummary::instances_;
  entries_.push_back(std::move(entry));
  byName_.emplace(name, entries_.size() - 1);
  if (rowNamesIt) byRow_.emplace(&row, entries_.size() - 1);
  return entries_.back();
}

void StreamSummary::request(const RequestRow &row, const RibRequest &request, const PrimitiveCounts *counts) {
  ++requests_;
  bytes_ += request.bytes;
  Entry &entry = entryOf(row, request);
  ++entry.byName.count;
  entry.byName.bytes += request.bytes;
  if (entry.structure != nullptr) ++(this->*entry.structure);

  if (entry.primitive) {
    Primitives &kind = entry.primitives;
    ++kind.count;
    const Shape shape = static_cast<Shape>(entry.shape);
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
  Large large{request.name, request.line, request.bytes};
  largest_.insert(std::upper_bound(largest_.begin(), largest_.end(), large, larger), std::move(large));
  if (largest_.size() > kLargestShown) largest_.pop_back();
}

void StreamSummary::archive(const std::string &path, uint64_t bytes) {
  Archive &archive = archives_[path];
  ++archive.reads;
  archive.bytes += bytes;
}

std::vector<std::pair<std::string, StreamSummary::ByName>> StreamSummary::byName() const {
  std::vector<std::pair<std::string, ByName>> rows;
  for (const Entry &entry : entries_) rows.emplace_back(entry.name, entry.byName);
  std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
    return a.second.bytes != b.second.bytes ? a.second.bytes > b.second.bytes : a.first < b.first;
  });
  return rows;
}

std::map<std::string, StreamSummary::Primitives> StreamSummary::primitives() const {
  std::map<std::string, Primitives> kinds;
  for (const Entry &entry : entries_)
    if (entry.primitive) kinds.emplace(entry.name, entry.primitives);
  return kinds;
}

}  // namespace vellum
