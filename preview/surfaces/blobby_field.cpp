#include "preview/surfaces/blobby_field.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

float softObject(float r2) {
  if (!(r2 < 1)) return 0;
  return 1 + r2 * (-22.0f / 9 + r2 * (17.0f / 9 - r2 * (4.0f / 9)));
}

// p · m with the homogeneous divide, or false where w is not positive.
bool throughMatrix(const float m[4][4], Vec3 p, Vec3 &out) {
  const float w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
  if (!(w > 0)) return false;
  out = {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0], p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
         p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
  if (w != 1) out = out * (1 / w);
  return true;
}

}  // namespace

BlobbyField::BlobbyField(int64_t ncode, const int32_t *code, int64_t nflt, const float *flt) {
  if (code == nullptr || ncode <= 0) return;
  if (flt == nullptr) nflt = 0;
  auto operand = [&](int64_t at) {
    const int32_t i = code[at];
    return i >= 0 && i < int32_t(instructions_.size()) ? i : -1;
  };
  int64_t i = 0;
  while (i < ncode) {
    const int32_t op = code[i];
    Instruction instruction{op, -1};
    instruction.first = uint32_t(operands_.size());
    int64_t size = 1;  // code entries it takes
    if (op >= 0 && op <= 3) {
      if (i + 1 >= ncode || code[i + 1] < 0 || code[i + 1] > ncode - i - 2) break;
      size = 2 + code[i + 1];
      for (int64_t k = i + 2; k < i + size; ++k) operands_.push_back(operand(k));
    } else if (op >= 4 && op <= 7) {
      size = op <= 5 ? 3 : 2;
      if (i + size > ncode) break;
      for (int64_t k = i + 1; k < i + size; ++k) operands_.push_back(operand(k));
    } else if (op >= 1000 && op <= 1004) {
      size = op <= 1002 ? 2 : op == 1003 ? 3 : 6;
      if (i + size > ncode) break;
      instruction.leaf = int32_t(leaves_.size());
      Leaf leaf;
      leaf.instruction = int32_t(instructions_.size());
      if (op <= 1002) readLeaf(leaf, op, code[i + 1], nflt, flt);
      repellers_ = repellers_ || op == 1003;
      plugins_ = plugins_ || op == 1004;
      if (leaf.kind == 1000) constants_.push_back(instruction.leaf);
      leaves_.push_back(leaf);
    } else {
      ++i;
      continue;
    }
    instruction.count = uint32_t(operands_.size()) - instruction.first;
    instructions_.push_back(instruction);
    i += size;
  }

  userFirst_.assign(instructions_.size() + 1, 0);
  for (int32_t o : operands_)
    if (o >= 0) ++userFirst_[size_t(o) + 1];
  for (size_t k = 0; k < instructions_.size(); ++k) userFirst_[k + 1] += userFirst_[k];
  users_.resize(userFirst_.back());
  std::vector<uint32_t> next(userFirst_.begin(), userFirst_.end() - 1);
  for (size_t k = 0; k < instructions_.size(); ++k) {
    const Instruction &instruction = instructions_[k];
    for (uint32_t j = 0; j < instruction.count; ++j) {
      const int32_t o = operands_[instruction.first + j];
      if (o >= 0) users_[next[size_t(o)]++] = int32_t(k);
    }
  }
}

void BlobbyField::readLeaf(Leaf &leaf, int32_t kind, int64_t index, int64_t nflt, const float *flt) {
  const int64_t size = kind == 1000 ? 1 : kind == 1001 ? 16 : 23;
  if (index < 0 || index > nflt - size) return;
  const float *f = flt + index;
  for (int64_t k = 0; k < size; ++k)
    if (!std::isfinite(f[k])) return;
  if (kind == 1000) {
    leaf.kind = kind;
    leaf.constant = f[0];
    return;
  }
  // The leaf's own box: the unit sphere's, or the segment's grown by its
  // radius.
  Vec3 lo{-1, -1, -1}, hi{1, 1, 1};
  if (kind == 1002) {
    leaf.a = {f[0], f[1], f[2]};
    leaf.b = {f[3], f[4], f[5]};
    const float radius = std::fabs(f[6]);
    if (!(radius > 0)) return;
    leaf.inverseRadius2 = 1 / (radius * radius);
    if (!std::isfinite(leaf.inverseRadius2)) return;
    lo = Vec3{std::min(leaf.a.x, leaf.b.x), std::min(leaf.a.y, leaf.b.y), std::min(leaf.a.z, leaf.b.z)} -
         Vec3{radius, radius, radius};
    hi = Vec3{std::max(leaf.a.x, leaf.b.x), std::max(leaf.a.y, leaf.b.y), std::max(leaf.a.z, leaf.b.z)} +
         Vec3{radius, radius, radius};
    f += 7;
  }
  float m[4][4];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = f[4 * r + c];
  Mat4 inverse;
  if (!invert(Mat4::fromRi(m), inverse)) return;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) leaf.toLeaf[r][c] = float(inverse.m[r][c]);
  for (int k = 0; k < 8; ++k) {
    Vec3 corner;
    if (!throughMatrix(m, {k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z}, corner) || !isFinite(corner))
      return;
    leaf.lo = k == 0 ? corner : Vec3{std::min(leaf.lo.x, corner.x), std::min(leaf.lo.y, corner.y), std::min(leaf.lo.z, corner.z)};
    leaf.hi = k == 0 ? corner : Vec3{std::max(leaf.hi.x, corner.x), std::max(leaf.hi.y, corner.y), std::max(leaf.hi.z, corner.z)};
  }
  leaf.kind = kind;
}

bool BlobbyField::leafBound(int64_t leaf, Vec3 &lo, Vec3 &hi) const {
  if (leaf < 0 || leaf >= leafCount()) return false;
  const Leaf &l = leaves_[size_t(leaf)];
  if (l.kind != 1001 && l.kind != 1002) return false;
  lo = l.lo, hi = l.hi;
  return true;
}

bool BlobbyField::bound(Vec3 &lo, Vec3 &hi) const {
  bool any = false;
  for (int64_t k = 0; k < leafCount(); ++k) {
    Vec3 l, h;
    if (!leafBound(k, l, h)) continue;
    lo = any ? Vec3{std::min(lo.x, l.x), std::min(lo.y, l.y), std::min(lo.z, l.z)} : l;
    hi = any ? Vec3{std::max(hi.x, h.x), std::max(hi.y, h.y), std::max(hi.z, h.z)} : h;
    any = true;
  }
  return any;
}

float BlobbyField::leafValue(const Leaf &leaf, Vec3 p) const {
  if (leaf.kind == 1000) return leaf.constant;
  if (leaf.kind != 1001 && leaf.kind != 1002) return 0;
  Vec3 q;
  if (!throughMatrix(leaf.toLeaf, p, q)) return 0;
  if (leaf.kind == 1001) return softObject(dot(q, q));
  const Vec3 along = leaf.b - leaf.a, from = q - leaf.a;
  const float length2 = dot(along, along);
  const float t = length2 > 0 ? std::clamp(dot(from, along) / length2, 0.0f, 1.0f) : 0.0f;
  const Vec3 off = from - along * t;
  return softObject(dot(off, off) * leaf.inverseRadius2);
}

void BlobbyField::restrict(Region &r, const std::vector<int32_t> &leaves) const {
  for (int32_t k : r.active_) r.values_[size_t(k)] = 0, r.slot_[size_t(k)] = -1;
  r.values_.resize(instructions_.size(), 0.0f);
  r.slot_.resize(instructions_.size(), -1);
  r.active_.clear();
  std::vector<std::pair<int32_t, int32_t>> uses;  // (operation, operand)
  for (const std::vector<int32_t> *list : {&leaves, &constants_})
    for (int32_t leaf : *list)
      if (leaf >= 0 && leaf < leafCount() && leaves_[size_t(leaf)].kind != 0) {
        const int32_t k = leaves_[size_t(leaf)].instruction;
        if (r.slot_[size_t(k)] < 0) r.slot_[size_t(k)] = 0, r.active_.push_back(k);
      }
  // What the active leaves feed, through every operation above them.
  for (size_t next = 0; next < r.active_.size(); ++next) {
    const int32_t k = r.active_[next];
    for (uint32_t u = userFirst_[size_t(k)]; u < userFirst_[size_t(k) + 1]; ++u) {
      const int32_t user = users_[u];
      uses.push_back({user, k});
      if (r.slot_[size_t(user)] < 0) r.slot_[size_t(user)] = 0, r.active_.push_back(user);
    }
  }
  std::sort(r.active_.begin(), r.active_.end());
  std::sort(uses.begin(), uses.end());
  r.first_.assign(r.active_.size(), 0);
  r.count_.assign(r.active_.size(), 0);
  r.partial_.assign(r.active_.size(), 0);
  r.operands_.clear();
  size_t u = 0;
  for (size_t s = 0; s < r.active_.size(); ++s) {
    const int32_t k = r.active_[s];
    r.slot_[size_t(k)] = int32_t(s);
    r.first_[s] = uint32_t(r.operands_.size());
    for (; u < uses.size() && uses[u].first == k; ++u) r.operands_.push_back(uses[u].second);
    r.count_[s] = uint32_t(r.operands_.size()) - r.first_[s];
    r.partial_[s] = r.count_[s] < instructions_[size_t(k)].count;
  }
}

float BlobbyField::value(Region &r, Vec3 p) const {
  for (size_t s = 0; s < r.active_.size(); ++s) {
    const int32_t k = r.active_[s];
    const Instruction &instruction = instructions_[size_t(k)];
    const int32_t *in = r.operands_.data() + r.first_[s];
    const uint32_t n = r.count_[s];
    // Operands by position, for the operations of fixed arity.
    auto at = [&](uint32_t j) {
      const int32_t o = j < instruction.count ? operands_[instruction.first + j] : -1;
      return o >= 0 ? r.values_[size_t(o)] : 0.0f;
    };
    float x = 0;
    if (instruction.leaf >= 0) {
      x = leafValue(leaves_[size_t(instruction.leaf)], p);
    } else {
      switch (instruction.code) {
        case 0:
          for (uint32_t j = 0; j < n; ++j) x += r.values_[size_t(in[j])];
          break;
        case 1:
          x = r.partial_[s] ? 0 : 1;
          for (uint32_t j = 0; j < n && x != 0; ++j) x *= r.values_[size_t(in[j])];
          break;
        case 2:
        case 3: {
          // An operand that is not active is 0, and counts as such.
          const bool most = instruction.code == 2;
          bool any = r.partial_[s];
          for (uint32_t j = 0; j < n; ++j) {
            const float y = r.values_[size_t(in[j])];
            x = !any ? y : most ? std::max(x, y) : std::min(x, y);
            any = true;
          }
          break;
        }
        case 4: x = at(0) - at(1); break;
        case 5: x = at(1) != 0 ? at(0) / at(1) : 0; break;
        case 6: x = -at(0); break;
        default: x = at(0); break;
      }
    }
    r.values_[size_t(k)] = std::isfinite(x) ? x : x > 0 ? 1e30f : x < 0 ? -1e30f : 0;
  }
  if (instructions_.empty()) return 0;
  return r.values_[instructions_.size() - 1];
}

void BlobbyField::leafValues(const Region &r, Vec3 p, std::vector<std::pair<int32_t, float>> &out) const {
  out.clear();
  for (int32_t k : r.active_) {
    const int32_t leaf = instructions_[size_t(k)].leaf;
    if (leaf >= 0) out.push_back({leaf, leafValue(leaves_[size_t(leaf)], p)});
  }
}

}  // namespace vellum::preview
