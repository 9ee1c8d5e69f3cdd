// The tree of a solid: primitive solids at the leaves, the operations that
// combine them above, and whether one ray is inside each node as it
// crosses the surfaces of the primitives one by one.
#ifndef VELLUM_PREVIEW_RASTER_CSG_TREE_H
#define VELLUM_PREVIEW_RASTER_CSG_TREE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum::preview {

class CsgTree {
 public:
  enum class Operation : uint8_t { kPrimitive, kUnion, kIntersection, kDifference };
  static constexpr uint32_t kNone = UINT32_MAX;

  // Adds a node as the last child of `parent` (kNone: the root) and
  // returns its number; nodes are numbered from 0 in the order added.
  uint32_t add(Operation operation, uint32_t parent);
  void clear();
  size_t size() const { return nodes_.size(); }
  Operation operation(uint32_t node) const { return nodes_[node].operation; }
  // The root is at depth 0.
  uint32_t depth(uint32_t node) const { return nodes_[node].depth; }

  // Along one ray every node starts outside.  A primitive is inside while
  // the ray is within more of its shells than it has left; `step` is +1
  // where the ray enters one and -1 where it leaves one.  Returns whether
  // the root went in or out.  Costs the primitive's depth at most.
  bool cross(uint32_t primitive, int step);
  bool rootInside() const { return !nodes_.empty() && nodes_[0].inside; }
  // Puts the nodes the ray changed back outside, for the next ray.
  void clearRay();

 private:
  struct Node {
    uint32_t parent;
    uint32_t depth;
    uint32_t children = 0;
    Operation operation;
    bool first;  // the first child of its parent: what a difference subtracts from
    // Along the current ray:
    bool inside = false, touched = false, firstInside = false;
    int32_t shells = 0;          // a primitive's
    int32_t insideChildren = 0;  // (a difference's besides its first)
  };
  void touch(uint32_t node);
  static bool insideOf(const Node &node);

  std::vector<Node> nodes_;
  std::vector<uint32_t> touched_;
};

}  // namespace vellum::preview

#endif
