// The field of a blobby: its leaves combined by the operations of its
// code, as renderers evaluate it.
//
// Leaves: a constant (code 1000, one float); an ellipsoid (1001, 16
// floats: the matrix that maps the unit sphere onto it); a segment (1002,
// 23 floats: its two ends, its radius, then a matrix applied to it).  The
// two shapes have Wyvill's soft-object field of r², the squared distance
// in the leaf's own space from the centre, or from the segment in radii:
//   f = 1 - 22/9 r² + 17/9 r⁴ - 4/9 r⁶ below r = 1, else 0:
// 1 at the centre, 0.5 at r = 0.5, falling smoothly to 0 at r = 1.
// Repelling planes (1003: a float and a string index) and plug-in fields
// (1004: a name, a count and index of floats, a count and index of
// strings) are leaves of value 0 here.  Operations refer to earlier
// instructions by number, leaves and operations numbered alike from 0:
// add (0), multiply (1), maximum (2) and minimum (3) take a count and as
// many operands; subtract (4) and divide (5) two, the first less or over
// the second; negate (6) and identity (7) one.  The value of the last
// instruction is the field; the surface is where it is kThreshold.  A code
// entry that begins no instruction is passed over, as the count rules
// pass over it, and the code ends where an instruction runs past it.
#ifndef VELLUM_PREVIEW_SURFACES_BLOBBY_FIELD_H
#define VELLUM_PREVIEW_SURFACES_BLOBBY_FIELD_H

#include <cstdint>
#include <utility>
#include <vector>

#include "preview/math/vec_math.h"

namespace vellum::preview {

class BlobbyField {
 public:
  static constexpr float kThreshold = 0.5f;

  BlobbyField(int64_t ncode, const int32_t *code, int64_t nflt, const float *flt);

  bool hasRepellers() const { return repellers_; }
  bool hasPlugins() const { return plugins_; }
  int64_t leafCount() const { return int64_t(leaves_.size()); }
  // The box outside which the leaf is 0; false for a constant, or a leaf
  // that is 0 everywhere.
  bool leafBound(int64_t leaf, Vec3 &lo, Vec3 &hi) const;
  // The box of all the leaves that have one; false without any.
  bool bound(Vec3 &lo, Vec3 &hi) const;

  // The field within a box: only the leaves that reach into it, the
  // constants and the operations they feed are evaluated there (every
  // other instruction is 0 in it).
  class Region {
   public:
    // Evaluations that one value takes.
    uint64_t cost() const { return active_.size() + operands_.size(); }

   private:
    friend class BlobbyField;
    std::vector<int32_t> active_;  // instructions, in order
    std::vector<uint32_t> first_, count_;  // each active operation's active operands
    std::vector<int32_t> operands_;
    std::vector<uint8_t> partial_;  // some operand is not active
    std::vector<float> values_;     // by instruction
    std::vector<int32_t> slot_;     // by instruction: place in active_, or -1
  };
  // `leaves`: the leaves that reach into the box (by leaf number).
  void restrict(Region &region, const std::vector<int32_t> &leaves) const;
  float value(Region &region, Vec3 p) const;
  // The value at p of each leaf of the region, with its leaf number.
  void leafValues(const Region &region, Vec3 p, std::vector<std::pair<int32_t, float>> &out) const;

 private:
  struct Instruction {
    int32_t code;
    int32_t leaf;  // leaf number, or -1
    uint32_t first = 0, count = 0;  // operands: instruction numbers, -1 for none
  };
  struct Leaf {
    int32_t kind = 0;  // 1000, 1001, 1002, or 0: zero everywhere
    int32_t instruction = 0;
    float constant = 0;
    float toLeaf[4][4] = {};  // object space to the leaf's own
    Vec3 a, b;                // a segment's ends
    float inverseRadius2 = 0;
    Vec3 lo, hi;
  };
  void readLeaf(Leaf &leaf, int32_t kind, int64_t index, int64_t nflt, const float *flt);
  float leafValue(const Leaf &leaf, Vec3 p) const;

  std::vector<Instruction> instructions_;
  std::vector<int32_t> operands_;
  std::vector<Leaf> leaves_;
  std::vector<int32_t> constants_;  // leaf numbers
  // The operations that use each instruction, once per use.
  std::vector<uint32_t> userFirst_;
  std::vector<int32_t> users_;
  bool repellers_ = false, plugins_ = false;
};

}  // namespace vellum::preview

#endif
