#include "preview/surfaces/catmull_clark.h"

#include <algorithm>
#include <numeric>

namespace vellum::preview {

namespace {

struct Edge {
  int32_t a, b;
  int faces = 0;
  int32_t faceA = -1, faceB = -1;
  float sharpness = 0;
};

float weaken(float sharpness) { return sharpness >= kInfinitelySharp ? sharpness : std::max(0.0f, sharpness - 1); }

enum class Rule { kSmooth, kCrease, kCorner };

Rule ruleFor(float vertexSharpness, int sharpEdges) {
  if (vertexSharpness > 0 || sharpEdges > 2) return Rule::kCorner;
  return sharpEdges == 2 ? Rule::kCrease : Rule::kSmooth;
}

// What the vertex rules need of the edges around a vertex.
struct VertexRing {
  int faces = 0, edges = 0;
  int sharp = 0, sharpNext = 0;         // edges sharp now, and after this step
  float wearing = 0;                    // sharpness that wears off in this step
  int wearingCount = 0;
};

}  // namespace

uint64_t edgeKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

SubdivisionSurface subdivide(const SubdivisionSurface &in) {
  const int d = in.dimension;
  const size_t D = size_t(d);
  const size_t vertexCount = in.vertices.size() / D;
  auto vertex = [&](int32_t v) { return &in.vertices[size_t(v) * D]; };

  std::vector<float> facePoints(in.faces.size() * D, 0.0f);
  std::unordered_map<uint64_t, int32_t> edgeIndex;
  std::vector<Edge> edges;
  for (size_t f = 0; f < in.faces.size(); ++f) {
    const auto &face = in.faces[f];
    for (size_t k = 0; k < face.size(); ++k) {
      const float *p = vertex(face[k]);
      for (int c = 0; c < d; ++c) facePoints[f * D + size_t(c)] += p[c] / float(face.size());
      const int32_t a = face[k], b = face[(k + 1) % face.size()];
      auto [it, added] = edgeIndex.emplace(edgeKey(a, b), int32_t(edges.size()));
      if (added) edges.push_back({a, b});
      Edge &e = edges[size_t(it->second)];
      if (e.faces == 0) e.faceA = int32_t(f);
      else if (e.faces == 1) e.faceB = int32_t(f);
      ++e.faces;
    }
  }
  for (Edge &edge : edges) {
    if (edge.faces != 2) {
      edge.sharpness = kInfinitelySharp;
    } else if (!in.creases.empty()) {
      const auto crease = in.creases.find(edgeKey(edge.a, edge.b));
      if (crease != in.creases.end()) edge.sharpness = crease->second;
    }
  }

  // Edge points: the average of ends and faces inside, the midpoint on a
  // sharp edge, a blend of the two on a semi-sharp one.
  std::vector<float> edgePoints(edges.size() * D);
  for (size_t e = 0; e < edges.size(); ++e) {
    const Edge &edge = edges[e];
    const float *a = vertex(edge.a), *b = vertex(edge.b);
    const float sharp = std::min(edge.sharpness, 1.0f);
    for (int c = 0; c < d; ++c) {
      const float middle = (a[c] + b[c]) / 2;
      float value = middle;
      if (sharp < 1) {
        const float smooth = (a[c] + b[c] + facePoints[size_t(edge.faceA) * D + size_t(c)] +
                              facePoints[size_t(edge.faceB) * D + size_t(c)]) / 4;
        value = smooth + (middle - smooth) * sharp;
      }
      edgePoints[e * D + size_t(c)] = value;
    }
  }

  // Vertex points, from the faces and edges around each vertex.
  std::vector<VertexRing> rings(vertexCount);
  std::vector<float> faceSum(vertexCount * D, 0.0f), edgeSum(vertexCount * D, 0.0f),
      sharpEnds(vertexCount * D, 0.0f), sharpEndsNext(vertexCount * D, 0.0f);
  for (size_t f = 0; f < in.faces.size(); ++f)
    for (int32_t v : in.faces[f]) {
      ++rings[size_t(v)].faces;
      for (int c = 0; c < d; ++c) faceSum[size_t(v) * D + size_t(c)] += facePoints[f * D + size_t(c)];
    }
  for (const Edge &edge : edges) {
    const float *a = vertex(edge.a), *b = vertex(edge.b);
    const float next = weaken(edge.sharpness);
    for (int32_t v : {edge.a, edge.b}) {
      VertexRing &ring = rings[size_t(v)];
      const float *other = v == edge.a ? b : a;
      float *sum = &edgeSum[size_t(v) * D], *ends = &sharpEnds[size_t(v) * D], *endsNext = &sharpEndsNext[size_t(v) * D];
      ++ring.edges;
      for (int c = 0; c < d; ++c) sum[c] += (a[c] + b[c]) / 2;
      if (edge.sharpness <= 0) continue;
      ++ring.sharp;
      for (int c = 0; c < d; ++c) ends[c] += other[c];
      if (next > 0) {
        ++ring.sharpNext;
        for (int c = 0; c < d; ++c) endsNext[c] += other[c];
      } else {
        ring.wearing += edge.sharpness;
        ++ring.wearingCount;
      }
    }
  }
  SubdivisionSurface out;
  out.dimension = d;
  out.sharpCorners = in.sharpCorners;
  out.vertices.resize((vertexCount + edges.size() + in.faces.size()) * D);
  for (size_t v = 0; v < vertexCount; ++v) {
    const float *s = vertex(int32_t(v));
    float *o = &out.vertices[v * D];
    VertexRing ring = rings[v];
    float corner = v < in.corners.size() ? in.corners[v] : 0;
    if (in.sharpCorners && ring.faces == 1) corner = kInfinitelySharp;
    const float cornerNext = weaken(corner);
    if (corner > 0 && cornerNext <= 0) {
      ring.wearing += corner;
      ++ring.wearingCount;
    }
    const Rule now = ruleFor(corner, ring.sharp), next = ruleFor(cornerNext, ring.sharpNext);
    // An interior vertex of fewer than three edges has no smooth rule.
    const bool smoothable = ring.faces > 0 && ring.edges >= 3;
    auto apply = [&](Rule rule, const float *ends, int c) {
      const size_t i = v * D + size_t(c);
      if (rule == Rule::kCrease) return (ends[c] + 6 * s[c]) / 8;
      if (rule == Rule::kCorner || !smoothable) return s[c];
      const float n = float(ring.edges);
      return (faceSum[i] / float(ring.faces) + 2 * edgeSum[i] / n + (n - 3) * s[c]) / n;
    };
    const float *ends = &sharpEnds[v * D], *endsNext = &sharpEndsNext[v * D];
    const float weight =
        now == next || ring.wearingCount == 0 ? 1 : std::clamp(ring.wearing / float(ring.wearingCount), 0.0f, 1.0f);
    for (int c = 0; c < d; ++c) {
      const float sharp = apply(now, ends, c);
      o[c] = weight >= 1 ? sharp : sharp * weight + apply(next, endsNext, c) * (1 - weight);
    }
  }
  const size_t edgeBase = vertexCount, faceBase = vertexCount + edges.size();
  std::copy(edgePoints.begin(), edgePoints.end(), out.vertices.begin() + long(edgeBase * D));
  std::copy(facePoints.begin(), facePoints.end(), out.vertices.begin() + long(faceBase * D));

  // Each half of a crease keeps what is left of its sharpness; the new
  // edges inside a face are smooth.
  for (size_t e = 0; e < edges.size(); ++e) {
    const Edge &edge = edges[e];
    if (edge.faces != 2 || edge.sharpness <= 0) continue;
    const float next = weaken(edge.sharpness);
    if (next <= 0) continue;
    const int32_t middle = int32_t(edgeBase + e);
    out.creases[edgeKey(edge.a, middle)] = next;
    out.creases[edgeKey(middle, edge.b)] = next;
  }
  if (!in.corners.empty()) {
    out.corners.assign(vertexCount, 0.0f);
    for (size_t v = 0; v < vertexCount && v < in.corners.size(); ++v) out.corners[v] = weaken(in.corners[v]);
  }

  for (size_t f = 0; f < in.faces.size(); ++f) {
    const auto &face = in.faces[f];
    const size_t k = face.size();
    for (size_t i = 0; i < k; ++i) {
      const int32_t next = int32_t(edgeBase) + edgeIndex[edgeKey(face[i], face[(i + 1) % k])];
      const int32_t prev = int32_t(edgeBase) + edgeIndex[edgeKey(face[(i + k - 1) % k], face[i])];
      out.faces.push_back({face[i], next, int32_t(faceBase + f), prev});
      out.holes.push_back(in.holes[f]);
      out.parent.push_back(in.parent[f]);
    }
  }
  return out;
}

void dropBoundaryFaces(SubdivisionSurface &mesh) {
  std::unordered_map<uint64_t, int> faces;
  for (const auto &face : mesh.faces)
    for (size_t k = 0; k < face.size(); ++k) ++faces[edgeKey(face[k], face[(k + 1) % face.size()])];
  std::vector<uint8_t> boundary(mesh.vertices.size() / size_t(mesh.dimension), 0);
  for (const auto &[key, count] : faces)
    if (count == 1) boundary[size_t(key >> 32)] = boundary[size_t(key & 0xffffffffu)] = 1;
  for (size_t f = 0; f < mesh.faces.size(); ++f)
    for (int32_t v : mesh.faces[f])
      if (boundary[size_t(v)]) mesh.holes[f] = 1;
}

std::vector<int32_t> smoothingGroups(const SubdivisionSurface &mesh, std::vector<int32_t> &groupVertex) {
  std::vector<size_t> first(mesh.faces.size() + 1, 0);
  for (size_t f = 0; f < mesh.faces.size(); ++f) first[f + 1] = first[f] + mesh.faces[f].size();
  std::vector<int32_t> link(first.back());
  std::iota(link.begin(), link.end(), 0);
  auto root = [&](int32_t c) {
    while (link[size_t(c)] != c) c = link[size_t(c)] = link[size_t(link[size_t(c)])];
    return c;
  };
  auto sharpCorner = [&](int32_t v) { return size_t(v) < mesh.corners.size() && mesh.corners[size_t(v)] >= 1; };

  // The corners on each side of every edge, by the edge's key: (corner at
  // the lower vertex, corner at the higher), then how many faces share it.
  struct Sides {
    int32_t lowA = -1, highA = -1, lowB = -1, highB = -1;
    int faces = 0;
  };
  std::unordered_map<uint64_t, Sides> sides;
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const auto &face = mesh.faces[f];
    for (size_t k = 0; k < face.size(); ++k) {
      const size_t j = (k + 1) % face.size();
      const bool ascending = face[k] < face[j];
      const int32_t low = int32_t(first[f] + (ascending ? k : j)), high = int32_t(first[f] + (ascending ? j : k));
      Sides &s = sides[edgeKey(face[k], face[j])];
      if (s.faces == 0) s.lowA = low, s.highA = high;
      else if (s.faces == 1) s.lowB = low, s.highB = high;
      ++s.faces;
    }
  }
  for (const auto &[key, s] : sides) {
    if (s.faces != 2) continue;
    const auto crease = mesh.creases.find(key);
    if (crease != mesh.creases.end() && crease->second >= 1) continue;
    if (!sharpCorner(int32_t(key >> 32))) link[size_t(root(s.lowA))] = root(s.lowB);
    if (!sharpCorner(int32_t(key & 0xffffffffu))) link[size_t(root(s.highA))] = root(s.highB);
  }

  std::vector<int32_t> group(link.size(), -1), number(link.size(), -1);
  groupVertex.clear();
  for (size_t f = 0; f < mesh.faces.size(); ++f)
    for (size_t k = 0; k < mesh.faces[f].size(); ++k) {
      const size_t corner = first[f] + k;
      int32_t &n = number[size_t(root(int32_t(corner)))];
      if (n < 0) {
        n = int32_t(groupVertex.size());
        groupVertex.push_back(mesh.faces[f][k]);
      }
      group[corner] = n;
    }
  return group;
}

}  // namespace vellum::preview
