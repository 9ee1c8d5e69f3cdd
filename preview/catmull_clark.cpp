#include "preview/catmull_clark.h"

#include <algorithm>
#include <unordered_map>

namespace vellum::preview {

namespace {

uint64_t edgeKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

struct Edge {
  int32_t a, b;
  int faces = 0;
  int32_t faceA = -1, faceB = -1;
};

}  // namespace

SubdivisionSurface subdivide(const SubdivisionSurface &in) {
  const int d = in.dimension;
  const size_t vertexCount = in.vertices.size() / size_t(d);
  auto vertex = [&](int32_t v) { return &in.vertices[size_t(v) * size_t(d)]; };

  std::vector<float> facePoints(in.faces.size() * size_t(d), 0.0f);
  std::unordered_map<uint64_t, int32_t> edgeIndex;
  std::vector<Edge> edges;
  for (size_t f = 0; f < in.faces.size(); ++f) {
    const auto &face = in.faces[f];
    for (size_t k = 0; k < face.size(); ++k) {
      const float *p = vertex(face[k]);
      for (int c = 0; c < d; ++c) facePoints[f * size_t(d) + size_t(c)] += p[c] / float(face.size());
      const int32_t a = face[k], b = face[(k + 1) % face.size()];
      auto [it, added] = edgeIndex.emplace(edgeKey(a, b), int32_t(edges.size()));
      if (added) edges.push_back({a, b});
      Edge &e = edges[size_t(it->second)];
      if (e.faces == 0) e.faceA = int32_t(f);
      else if (e.faces == 1) e.faceB = int32_t(f);
      ++e.faces;
    }
  }

  // Edge points: the average of ends and faces inside, the midpoint on a
  // boundary (or where more than two faces meet).
  std::vector<float> edgePoints(edges.size() * size_t(d));
  for (size_t e = 0; e < edges.size(); ++e) {
    const Edge &edge = edges[e];
    const float *a = vertex(edge.a), *b = vertex(edge.b);
    for (int c = 0; c < d; ++c) {
      float value = (a[c] + b[c]) / 2;
      if (edge.faces == 2)
        value = (a[c] + b[c] + facePoints[size_t(edge.faceA) * size_t(d) + size_t(c)] +
                 facePoints[size_t(edge.faceB) * size_t(d) + size_t(c)]) / 4;
      edgePoints[e * size_t(d) + size_t(c)] = value;
    }
  }

  // Vertex points, from the faces and edges around each vertex.
  std::vector<float> faceSum(vertexCount * size_t(d), 0.0f), edgeSum(vertexCount * size_t(d), 0.0f),
      boundarySum(vertexCount * size_t(d), 0.0f);
  std::vector<int> faceCount(vertexCount, 0), edgeCount(vertexCount, 0), boundaryCount(vertexCount, 0);
  for (size_t f = 0; f < in.faces.size(); ++f)
    for (int32_t v : in.faces[f]) {
      ++faceCount[size_t(v)];
      for (int c = 0; c < d; ++c) faceSum[size_t(v) * size_t(d) + size_t(c)] += facePoints[f * size_t(d) + size_t(c)];
    }
  for (const Edge &edge : edges) {
    const float *a = vertex(edge.a), *b = vertex(edge.b);
    for (int32_t v : {edge.a, edge.b}) {
      ++edgeCount[size_t(v)];
      for (int c = 0; c < d; ++c) edgeSum[size_t(v) * size_t(d) + size_t(c)] += (a[c] + b[c]) / 2;
      if (edge.faces != 2) {
        ++boundaryCount[size_t(v)];
        const float *other = v == edge.a ? b : a;
        for (int c = 0; c < d; ++c) boundarySum[size_t(v) * size_t(d) + size_t(c)] += other[c];
      }
    }
  }
  SubdivisionSurface out;
  out.dimension = d;
  out.vertices.resize((vertexCount + edges.size() + in.faces.size()) * size_t(d));
  for (size_t v = 0; v < vertexCount; ++v) {
    const float *s = vertex(int32_t(v));
    float *o = &out.vertices[v * size_t(d)];
    const float n = float(edgeCount[v]);
    for (int c = 0; c < d; ++c) {
      const size_t i = v * size_t(d) + size_t(c);
      // A corner of a single face (two edges) stays put, as the other ends
      // of boundaries do; the rest of a boundary is a curve of its own.
      if (boundaryCount[v] == 2 && edgeCount[v] >= 3) o[c] = (boundarySum[i] + 6 * s[c]) / 8;
      else if (boundaryCount[v] > 0 || faceCount[v] == 0 || edgeCount[v] < 3) o[c] = s[c];
      else o[c] = (faceSum[i] / float(faceCount[v]) + 2 * edgeSum[i] / n + (n - 3) * s[c]) / n;
    }
  }
  const size_t edgeBase = vertexCount, faceBase = vertexCount + edges.size();
  std::copy(edgePoints.begin(), edgePoints.end(), out.vertices.begin() + long(edgeBase * size_t(d)));
  std::copy(facePoints.begin(), facePoints.end(), out.vertices.begin() + long(faceBase * size_t(d)));

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

}  // namespace vellum::preview
