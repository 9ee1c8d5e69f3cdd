// Triangles ready to draw, as every primitive is tessellated: positions in
// object space, optional normals, and colour and opacity either from the
// attributes or per vertex, per triangle or per triangle corner.
#ifndef VELLUM_PREVIEW_SURFACES_MESH_H
#define VELLUM_PREVIEW_SURFACES_MESH_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum::preview {

enum class ColorSource : uint8_t { kAttribute, kPerVertex, kPerTriangle, kPerCorner };

struct ColorView {
  ColorSource source = ColorSource::kAttribute;
  const float *values = nullptr;  // 3 floats per element
};

// What the drawer reads: arrays that belong to someone else.
struct MeshView {
  const float *P = nullptr;  // 3 floats per vertex
  size_t vertices = 0;
  const float *N = nullptr;  // 3 floats per vertex, or null: facet normals
  const int32_t *triangles = nullptr;  // 3 vertex indices per triangle
  size_t triangleCount = 0;
  ColorView Cs, Os;
};

// A mesh that owns its arrays.
struct Mesh {
  std::vector<float> P, N;
  std::vector<int32_t> triangles;
  ColorSource csSource = ColorSource::kAttribute, osSource = ColorSource::kAttribute;
  std::vector<float> Cs, Os;

  size_t vertexCount() const { return P.size() / 3; }
  void addVertex(float x, float y, float z) { P.insert(P.end(), {x, y, z}); }
  void addTriangle(int32_t a, int32_t b, int32_t c) { triangles.insert(triangles.end(), {a, b, c}); }

  MeshView view() const {
    MeshView v;
    v.P = P.data();
    v.vertices = vertexCount();
    v.N = N.size() == P.size() && !N.empty() ? N.data() : nullptr;
    v.triangles = triangles.data();
    v.triangleCount = triangles.size() / 3;
    v.Cs = {Cs.empty() ? ColorSource::kAttribute : csSource, Cs.data()};
    v.Os = {Os.empty() ? ColorSource::kAttribute : osSource, Os.data()};
    return v;
  }
};

}  // namespace vellum::preview

#endif
