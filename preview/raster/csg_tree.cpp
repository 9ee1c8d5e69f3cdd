#include "preview/raster/csg_tree.h"

namespace vellum::preview {

uint32_t CsgTree::add(Operation operation, uint32_t parent) {
  Node node;
  node.operation = operation;
  node.parent = parent;
  node.depth = parent == kNone ? 0 : nodes_[parent].depth + 1;
  node.first = parent == kNone || nodes_[parent].children == 0;
  if (parent != kNone) ++nodes_[parent].children;
  nodes_.push_back(node);
  return uint32_t(nodes_.size() - 1);
}

void CsgTree::clear() {
  nodes_.clear();
  touched_.clear();
}

bool CsgTree::insideOf(const Node &node) {
  switch (node.operation) {
    case Operation::kPrimitive: return node.shells > 0;
    case Operation::kUnion: return node.insideChildren > 0;
    case Operation::kIntersection: return node.children > 0 && node.insideChildren == int32_t(node.children);
    case Operation::kDifference: return node.firstInside && node.insideChildren == 0;
  }
  return false;
}

void CsgTree::touch(uint32_t node) {
  if (nodes_[node].touched) return;
  nodes_[node].touched = true;
  touched_.push_back(node);
}

bool CsgTree::cross(uint32_t primitive, int step) {
  touch(primitive);
  Node *child = &nodes_[primitive];
  child->shells += step;
  bool was = child->inside;
  child->inside = insideOf(*child);
  // Only the nodes on the way up can change, and only while their
  // children do.
  while (child->inside != was) {
    if (child->parent == kNone) return true;
    touch(child->parent);
    Node &parent = nodes_[child->parent];
    if (parent.operation == Operation::kDifference && child->first) parent.firstInside = child->inside;
    else parent.insideChildren += child->inside ? 1 : -1;
    was = parent.inside;
    parent.inside = insideOf(parent);
    child = &parent;
  }
  return false;
}

void CsgTree::clearRay() {
  for (uint32_t node : touched_) {
    Node &n = nodes_[node];
    n.inside = n.touched = n.firstInside = false;
    n.shells = n.insideChildren = 0;
  }
  touched_.clear();
}

}  // namespace vellum::preview
