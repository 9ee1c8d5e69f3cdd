// Without OpenSubdiv, a subdivision mesh is drawn as its control polygons:
// each face that is not a hole, flat, in the colours given.
#include <vector>

#include "preview/surfaces/subdivision_surface.h"

namespace vellum::preview {

const bool kLimitSurfaces = false;

Mesh subdivisionSurface(const ControlMesh &mesh, const SubdivisionPlan &, std::vector<std::string> &) {
  Mesh out;
  for (int64_t v = 0; v < mesh.vertexCount; ++v)
    out.addVertex(mesh.positions[3 * v], mesh.positions[3 * v + 1], mesh.positions[3 * v + 2]);
  std::vector<bool> hole(mesh.faceOrigin.empty() ? 0 : size_t(mesh.faceOrigin.back()) + 1);
  for (int32_t face : mesh.tags.holes)
    if (size_t(face) < hole.size()) hole[size_t(face)] = true;
  const ColorParam *params[2] = {&mesh.cs, &mesh.os};
  std::vector<float> *colors[2] = {&out.Cs, &out.Os};
  ColorSource *sources[2] = {&out.csSource, &out.osSource};
  for (int c = 0; c < 2; ++c) {
    const ColorParam &param = *params[c];
    if (!param.present()) continue;
    if (param.storageClass == kClassVertex || param.storageClass == kClassVarying) {
      *sources[c] = ColorSource::kPerVertex;
      for (int64_t v = 0; v < mesh.vertexCount; ++v) {
        const Vec3 value = param.at(v);
        colors[c]->insert(colors[c]->end(), {value.x, value.y, value.z});
      }
    } else {
      *sources[c] = param.storageClass == kClassFaceVarying ? ColorSource::kPerCorner : ColorSource::kPerTriangle;
    }
  }
  size_t first = 0;
  for (size_t f = 0; f < mesh.faceSizes.size(); first += size_t(mesh.faceSizes[f]), ++f) {
    if (hole[size_t(mesh.faceOrigin[f])]) continue;
    const int32_t *corners = &mesh.faceVertices[first];
    for (int32_t k = 1; k + 1 < mesh.faceSizes[f]; ++k) {
      out.addTriangle(corners[0], corners[k], corners[k + 1]);
      for (int c = 0; c < 2; ++c) {
        const ColorParam &param = *params[c];
        if (*sources[c] == ColorSource::kPerTriangle) {
          const Vec3 value = param.at(param.storageClass == kClassUniform ? mesh.faceOrigin[f] : 0);
          colors[c]->insert(colors[c]->end(), {value.x, value.y, value.z});
        } else if (*sources[c] == ColorSource::kPerCorner) {
          for (size_t j : {first, first + size_t(k), first + size_t(k) + 1}) {
            const Vec3 value = param.at(mesh.cornerOrigin[j]);
            colors[c]->insert(colors[c]->end(), {value.x, value.y, value.z});
          }
        }
      }
    }
  }
  return out;
}

}  // namespace vellum::preview
