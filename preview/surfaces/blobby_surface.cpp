#include "preview/surfaces/blobby_surface.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

#include "preview/surfaces/marching_tetrahedra.h"

namespace vellum::preview {

namespace {

constexpr int kBlock = 8;               // samples along a side of a block
constexpr int kFewestCells = 8;
constexpr int64_t kMostBinned = 4'000'000;  // (leaf, block) pairs

// The sample grid, cut into blocks that each evaluate only the leaves
// that reach into them.
struct Lattice {
  SampleGrid grid;
  Vec3 origin;
  double spacing = 1;
  int64_t blocks[3] = {0, 0, 0};
  std::vector<int64_t> blockFirst;  // leaves of each block, in blockLeaves
  std::vector<int32_t> blockLeaves;

  int64_t samplesAlong(int axis) const { return int64_t(axis == 0 ? grid.nx : axis == 1 ? grid.ny : grid.nz) + 1; }
  void coordinates(int64_t s, int64_t c[3]) const {
    c[0] = s % samplesAlong(0), c[1] = s / samplesAlong(0) % samplesAlong(1), c[2] = s / samplesAlong(0) / samplesAlong(1);
  }
  Vec3 position(int64_t s) const {
    int64_t c[3];
    coordinates(s, c);
    return origin + Vec3{float(double(c[0]) * spacing), float(double(c[1]) * spacing), float(double(c[2]) * spacing)};
  }
  int64_t blockOf(int64_t s) const {
    int64_t c[3];
    coordinates(s, c);
    return (c[2] / kBlock * blocks[1] + c[1] / kBlock) * blocks[0] + c[0] / kBlock;
  }
  std::vector<int32_t> leavesOf(int64_t block) const {
    return {blockLeaves.begin() + blockFirst[size_t(block)], blockLeaves.begin() + blockFirst[size_t(block) + 1]};
  }
};

// The samples whose coordinate along an axis lies in [lo, hi].
bool sampleRange(double lo, double hi, double origin, double spacing, int64_t count, int64_t &first, int64_t &last) {
  first = std::max<int64_t>(0, int64_t(std::ceil((lo - origin) / spacing)));
  last = std::min<int64_t>(count - 1, int64_t(std::floor((hi - origin) / spacing)));
  return first <= last;
}

// Sizes the lattice and sorts the leaves into its blocks; false when the
// leaves alone would take more than the work allowed.
bool layOut(const BlobbyField &field, Vec3 lo, Vec3 hi, double spacing, Lattice &lattice) {
  lattice.spacing = spacing;
  lattice.origin = lo - Vec3{float(spacing), float(spacing), float(spacing)};
  const float extent[3] = {hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
  int cells[3];
  for (int axis = 0; axis < 3; ++axis) {
    cells[axis] = int(std::ceil(double(extent[axis]) / spacing)) + 2;
    lattice.blocks[axis] = (int64_t(cells[axis]) + kBlock) / kBlock;
  }
  lattice.grid.nx = cells[0], lattice.grid.ny = cells[1], lattice.grid.nz = cells[2];
  const Vec3 origin = lattice.origin;
  const double originAt[3] = {origin.x, origin.y, origin.z};
  // Each leaf costs at least one evaluation at each sample in its box.
  uint64_t leastWork = 0;
  int64_t binned = 0;
  std::vector<int64_t> range(6 * size_t(field.leafCount()), -1);
  for (int64_t leaf = 0; leaf < field.leafCount(); ++leaf) {
    Vec3 l, h;
    if (!field.leafBound(leaf, l, h)) continue;
    const double low[3] = {l.x, l.y, l.z}, high[3] = {h.x, h.y, h.z};
    int64_t *r = &range[6 * size_t(leaf)];
    uint64_t samples = 1;
    int64_t blocks = 1;
    bool inside = true;
    for (int axis = 0; axis < 3 && inside; ++axis) {
      inside = sampleRange(low[axis], high[axis], originAt[axis], spacing, lattice.samplesAlong(axis), r[2 * axis],
                           r[2 * axis + 1]);
      samples *= uint64_t(r[2 * axis + 1] - r[2 * axis] + 1);
      blocks *= r[2 * axis + 1] / kBlock - r[2 * axis] / kBlock + 1;
    }
    if (!inside) {
      r[0] = -1;
      continue;
    }
    leastWork += samples;
    binned += blocks;
    if (leastWork > kMostWork || binned > kMostBinned) return false;
  }
  const int64_t blockCount = lattice.blocks[0] * lattice.blocks[1] * lattice.blocks[2];
  lattice.blockFirst.assign(size_t(blockCount) + 1, 0);
  lattice.blockLeaves.assign(size_t(binned), 0);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<int64_t> next(lattice.blockFirst.begin(), lattice.blockFirst.end() - 1);
    for (int64_t leaf = 0; leaf < field.leafCount(); ++leaf) {
      const int64_t *r = &range[6 * size_t(leaf)];
      if (r[0] < 0) continue;
      for (int64_t bz = r[4] / kBlock; bz <= r[5] / kBlock; ++bz)
        for (int64_t by = r[2] / kBlock; by <= r[3] / kBlock; ++by)
          for (int64_t bx = r[0] / kBlock; bx <= r[1] / kBlock; ++bx) {
            const int64_t block = (bz * lattice.blocks[1] + by) * lattice.blocks[0] + bx;
            if (pass == 0) ++lattice.blockFirst[size_t(block) + 1];
            else lattice.blockLeaves[size_t(next[size_t(block)]++)] = int32_t(leaf);
          }
    }
    if (pass == 0) std::partial_sum(lattice.blockFirst.begin(), lattice.blockFirst.end(), lattice.blockFirst.begin());
  }
  return true;
}

// Samples the field block by block, once it is known that this takes at
// most kMostWork evaluations; false if it would take more.
bool sample(const BlobbyField &field, Lattice &lattice, uint64_t &work) {
  SampleGrid &grid = lattice.grid;
  BlobbyField::Region region;
  auto eachBlock = [&](const std::function<bool(const int64_t begin[3], const int64_t end[3])> &visit) {
    for (int64_t bz = 0; bz < lattice.blocks[2]; ++bz)
      for (int64_t by = 0; by < lattice.blocks[1]; ++by)
        for (int64_t bx = 0; bx < lattice.blocks[0]; ++bx) {
          field.restrict(region, lattice.leavesOf((bz * lattice.blocks[1] + by) * lattice.blocks[0] + bx));
          const int64_t begin[3] = {bx * kBlock, by * kBlock, bz * kBlock};
          const int64_t end[3] = {std::min(lattice.samplesAlong(0), begin[0] + kBlock),
                                  std::min(lattice.samplesAlong(1), begin[1] + kBlock),
                                  std::min(lattice.samplesAlong(2), begin[2] + kBlock)};
          if (!visit(begin, end)) return false;
        }
    return true;
  };
  uint64_t planned = 0;
  if (!eachBlock([&](const int64_t begin[3], const int64_t end[3]) {
        planned += region.cost() * uint64_t((end[0] - begin[0]) * (end[1] - begin[1]) * (end[2] - begin[2]));
        return planned <= kMostWork;
      }))
    return false;
  work += planned;
  grid.values.assign(size_t(lattice.samplesAlong(0) * lattice.samplesAlong(1) * lattice.samplesAlong(2)), 0.0f);
  eachBlock([&](const int64_t begin[3], const int64_t end[3]) {
    if (region.cost() == 0) return true;
    for (int64_t k = begin[2]; k < end[2]; ++k)
      for (int64_t j = begin[1]; j < end[1]; ++j)
        for (int64_t i = begin[0]; i < end[0]; ++i) {
          const int64_t s = grid.index(i, j, k);
          grid.values[size_t(s)] = field.value(region, lattice.position(s));
        }
    return true;
  });
  return true;
}

// The field's gradient at a sample, from its neighbours.
Vec3 gradient(const Lattice &lattice, int64_t s) {
  int64_t c[3];
  lattice.coordinates(s, c);
  float g[3];
  for (int axis = 0; axis < 3; ++axis) {
    int64_t lo[3] = {c[0], c[1], c[2]}, hi[3] = {c[0], c[1], c[2]};
    lo[axis] = std::max<int64_t>(0, c[axis] - 1);
    hi[axis] = std::min(lattice.samplesAlong(axis) - 1, c[axis] + 1);
    const float span = float(hi[axis] - lo[axis]);
    const std::vector<float> &v = lattice.grid.values;
    g[axis] = span > 0 ? (v[size_t(lattice.grid.index(hi[0], hi[1], hi[2]))] -
                          v[size_t(lattice.grid.index(lo[0], lo[1], lo[2]))]) / span
                       : 0;
  }
  return {g[0], g[1], g[2]};
}

bool perLeaf(const ColorParam &param) {
  return param.present() && param.storageClass != kClassConstant && param.storageClass != kClassUniform;
}

// Colours each vertex, from the leaves of the block its inside sample is in.
void colour(const BlobbyField &field, const Lattice &lattice, const Isosurface &iso, const ColorParam &cs,
            const ColorParam &os, Mesh &mesh, uint64_t &work) {
  const ColorParam *params[2] = {&cs, &os};
  std::vector<float> *targets[2] = {&mesh.Cs, &mesh.Os};
  const size_t count = iso.vertices.size();
  for (int c = 0; c < 2; ++c) {
    if (!params[c]->present()) continue;
    targets[c]->resize(3 * count);
    if (perLeaf(*params[c])) continue;
    const Vec3 value = params[c]->at(0);
    for (size_t v = 0; v < count; ++v) std::copy(&value.x, &value.x + 3, &(*targets[c])[3 * v]);
  }
  if (!perLeaf(cs) && !perLeaf(os)) return;
  std::vector<int64_t> block(count);
  for (size_t v = 0; v < count; ++v) block[v] = lattice.blockOf(iso.vertices[v].inside);
  std::vector<size_t> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return block[a] < block[b]; });
  BlobbyField::Region region;
  std::vector<std::pair<int32_t, float>> leaves;
  for (size_t at = 0; at < count; ++at) {
    const size_t v = order[at];
    if (at == 0 || block[v] != block[order[at - 1]]) field.restrict(region, lattice.leavesOf(block[v]));
    work += region.cost();
    field.leafValues(region, {mesh.P[3 * v], mesh.P[3 * v + 1], mesh.P[3 * v + 2]}, leaves);
    for (int c = 0; c < 2; ++c) {
      if (!perLeaf(*params[c])) continue;
      Vec3 sum;
      float weight = 0;
      for (auto [leaf, value] : leaves)
        if (value > 0) sum = sum + params[c]->at(leaf) * value, weight += value;
      const Vec3 blended = weight > 0 ? sum * (1 / weight) : params[c]->at(leaves.empty() ? 0 : leaves[0].first);
      std::copy(&blended.x, &blended.x + 3, &(*targets[c])[3 * v]);
    }
  }
}

}  // namespace

BlobbySurface blobbySurface(const BlobbyField &field, const ColorParam &cs, const ColorParam &os) {
  BlobbySurface result;
  Vec3 lo, hi;
  if (!field.bound(lo, hi) || !isFinite(lo) || !isFinite(hi)) return result;
  const double extent[3] = {double(hi.x) - lo.x, double(hi.y) - lo.y, double(hi.z) - lo.z};
  const double longest = std::max({extent[0], extent[1], extent[2]});
  if (!(longest > 0) || !std::isfinite(longest)) return result;
  // The finest even spacing that the samples allow.
  auto samples = [&](double spacing) {
    double product = 1;
    for (double e : extent) product *= std::ceil(e / spacing) + 3;
    return product;
  };
  double spacing = longest / 1024;
  while (samples(spacing) > kGridSamples) spacing *= 1.05;

  Lattice lattice;
  bool sampled = false;
  // Coarser than kFewestCells along the longest side, it would hardly be
  // the shape.
  for (; !sampled && std::ceil(longest / spacing) + 2 >= kFewestCells; spacing *= 1.5)
    sampled = layOut(field, lo, hi, spacing, lattice) && sample(field, lattice, result.work);
  if (!sampled) {
    result.tooComplex = true;
    return result;
  }

  const Isosurface iso = marchTetrahedra(lattice.grid, BlobbyField::kThreshold);
  Mesh &mesh = result.mesh;
  std::vector<Vec3> normals(iso.vertices.size());
  for (size_t v = 0; v < iso.vertices.size(); ++v) {
    const Isosurface::Crossing &x = iso.vertices[v];
    const Vec3 a = lattice.position(x.inside), b = lattice.position(x.outside);
    const Vec3 p = a + (b - a) * x.t;
    mesh.addVertex(p.x, p.y, p.z);
    const Vec3 ga = gradient(lattice, x.inside), gb = gradient(lattice, x.outside);
    normals[v] = -normalize(ga + (gb - ga) * x.t);
  }
  mesh.triangles = iso.triangles;
  // Where the gradient vanishes, the faces around stand in.
  std::vector<Vec3> facets(normals.size());
  for (size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
    const size_t i[3] = {size_t(mesh.triangles[t]), size_t(mesh.triangles[t + 1]), size_t(mesh.triangles[t + 2])};
    Vec3 p[3];
    for (int k = 0; k < 3; ++k) p[k] = {mesh.P[3 * i[k]], mesh.P[3 * i[k] + 1], mesh.P[3 * i[k] + 2]};
    for (size_t k : i) facets[k] = facets[k] + cross(p[1] - p[0], p[2] - p[0]);
  }
  for (size_t v = 0; v < normals.size(); ++v)
    if (dot(normals[v], normals[v]) == 0) normals[v] = normalize(facets[v]);
  for (const Vec3 &n : normals) mesh.N.insert(mesh.N.end(), {n.x, n.y, n.z});
  mesh.csSource = mesh.osSource = ColorSource::kPerVertex;
  colour(field, lattice, iso, cs, os, mesh, result.work);
  return result;
}

}  // namespace vellum::preview
