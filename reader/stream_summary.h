// StreamSummary: what a RIB stream holds and what makes it big, gathered
// from what a reader sees (its Observer and ArchiveObserver) as qview
// --stats prints it.
//
// It keeps one entry per request name and per primitive kind (as many as
// the request table has rows), one per archive path read and the five
// largest requests: its memory does not grow with the stream.
#ifndef VELLUM_READER_STREAM_SUMMARY_H
#define VELLUM_READER_STREAM_SUMMARY_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/primitive_counts.h"
#include "reader/request_table.h"
#include "reader/rib_request.h"

namespace vellum {

class StreamSummary {
 public:
  static constexpr size_t kLargestShown = 5;

  struct ByName {
    int64_t count = 0;
    uint64_t bytes = 0;
  };
  // A kind of primitive: how many, and its totals.  Faces count polygons,
  // the faces of meshes and subdivision meshes, and patches; vertices the
  // control points of all of those, of curves and of points; a quadric,
  // blob, volume or procedural counts only itself.
  struct Primitives {
    int64_t count = 0;
    int64_t vertices = 0, faces = 0, curves = 0, points = 0;
  };
  struct Archive {
    int64_t reads = 0;
    uint64_t bytes = 0;  // of all its readings
  };
  struct Large {
    std::string name;
    int line = 0;
    uint64_t bytes = 0;
  };

  // A request of the stream that passed its checks, as an Observer sees it.
  void request(const RequestRow &row, const RibRequest &request, const PrimitiveCounts *counts);
  // An archive file read, as an ArchiveObserver sees it.
  void archive(const std::string &path, uint64_t bytes);

  int64_t requests() const { return requests_; }
  uint64_t bytes() const { return bytes_; }
  // Request names by the bytes they take, most first (then by name).
  std::vector<std::pair<std::string, ByName>> byName() const;
  // Primitive kinds by name.
  std::map<std::string, Primitives> primitives() const;
  int64_t frames() const { return frames_; }
  int64_t worlds() const { return worlds_; }
  int64_t lights() const { return lights_; }
  int64_t objects() const { return objects_; }
  int64_t instances() const { return instances_; }
  const std::map<std::string, Archive> &archives() const { return archives_; }
  // The largest requests, most bytes first (the earlier of equals first).
  const std::vector<Large> &largest() const { return largest_; }

 private:
  // What is kept of a request name, and what its requests count as (found
  // once a name, not once a request).
  struct Entry {
    std::string name;
    ByName byName;
    Primitives primitives;
    bool primitive = false;
    int shape = 0;
    int64_t StreamSummary::*structure = nullptr;  // the structure count it adds to, if any
  };
  Entry &entryOf(const RequestRow &row, const RibRequest &request);

  int64_t requests_ = 0;
  uint64_t bytes_ = 0;
  // Entries by name, and by request row to find them without comparing
  // names.
  std::vector<Entry> entries_;
  std::map<std::string, size_t> byName_;
  std::unordered_map<const RequestRow *, size_t> byRow_;
  int64_t frames_ = 0, worlds_ = 0, lights_ = 0, objects_ = 0, instances_ = 0;
  std::map<std::string, Archive> archives_;
  std::vector<Large> largest_;
};

}  // namespace vellum

#endif
