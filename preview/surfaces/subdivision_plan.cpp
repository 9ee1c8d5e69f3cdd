// How far a subdivision mesh is refined, and what it costs, built with or
// without OpenSubdiv alike.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "preview/surfaces/subdivision_surface.h"

namespace vellum::preview {

namespace {

// Meshes are refined at least this far where the face budget allows, and
// small ones further, until they have this many faces.
constexpr int kUsualLevels = 3;
constexpr uint64_t kSmallMesh = 4096;
// The work of a face of a level made (its edges, vertices and values), and
// of a vertex of the last level moved to the limit (its mask).
constexpr uint64_t kWorkPerFace = 4;
constexpr uint64_t kWorkPerLimit = 8;

// OpenSubdiv orders the faces and edges around a vertex in time that grows
// with the square of their number: a vertex of the mesh with many faces,
// and the middle of a face with many sides (which the first level makes a
// vertex of as many faces), cost that square.
uint64_t crowding(const ControlMesh &mesh) {
  uint64_t work = 0;
  std::vector<uint32_t> faces(size_t(std::max<int64_t>(mesh.vertexCount, 0)));
  for (int32_t v : mesh.faceVertices)
    if (v >= 0 && size_t(v) < faces.size()) ++faces[size_t(v)];
  for (uint64_t n : faces) work += n * n;
  for (uint64_t n : mesh.faceSizes) work += n * n;
  return work;
}

bool allTriangles(const ControlMesh &mesh) {
  return std::all_of(mesh.faceSizes.begin(), mesh.faceSizes.end(), [](int32_t n) { return n == 3; });
}

}  // namespace

SubdivisionPlan planSubdivision(const ControlMesh &mesh) {
  SubdivisionPlan plan;
  const uint64_t faces = mesh.faceSizes.size(), corners = mesh.faceVertices.size();
  if (!kLimitSurfaces) {
    // The control polygons: a triangle a corner at most.
    plan.work = corners;
    return plan;
  }
  // A level splits a quadrilateral of Catmull-Clark or a triangle of Loop
  // into four; the first turns an n-sided face of Catmull-Clark into n
  // quadrilaterals.
  const bool loop = mesh.scheme == SubdivisionScheme::kLoop && allTriangles(mesh);
  auto facesAt = [&](int level) -> uint64_t {
    if (level == 0) return faces;
    return loop ? faces << (2 * level) : corners << (2 * (level - 1));
  };
  uint64_t made = 0;
  while (plan.levels < kMostLevels && facesAt(plan.levels + 1) <= kMostFaces &&
         (plan.levels < kUsualLevels || facesAt(plan.levels) < kSmallMesh)) {
    ++plan.levels;
    made += facesAt(plan.levels);
  }
  plan.work = kWorkPerFace * (faces + made) + kWorkPerLimit * facesAt(plan.levels) + crowding(mesh);
  return plan;
}

}  // namespace vellum::preview
