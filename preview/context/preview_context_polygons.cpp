// Polygons and polygon meshes.
#include <algorithm>
#include <tuple>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/polygon_triangulator.h"

namespace vellum::preview {

namespace {

// Where a polygon list's colour comes from once it is split into triangles
// whose corners are numbered as in the list.
struct TriangleColors {
  ColorParam param;
  ColorSource source() const {
    switch (param.storageClass) {
      case kClassUniform: return ColorSource::kPerTriangle;
      case kClassFaceVarying: return ColorSource::kPerCorner;
      case kClassVarying:
      case kClassVertex: return ColorSource::kPerVertex;
      default: return ColorSource::kPerVertex;  // constant: filled in per vertex
    }
  }
};

// Appends the colour of a triangle of face `face` with the corner numbers
// given, or of the vertices, to `out` as the source needs.
void addTriangleColor(const ColorParam &param, int64_t face, const int64_t corners[3], std::vector<float> &out) {
  if (param.storageClass == kClassUniform) {
    const Vec3 c = param.at(face);
    out.insert(out.end(), {c.x, c.y, c.z});
  } else if (param.storageClass == kClassFaceVarying) {
    for (int k = 0; k < 3; ++k) {
      const Vec3 c = param.at(corners[k]);
      out.insert(out.end(), {c.x, c.y, c.z});
    }
  }
}

}  // namespace

RtVoid PreviewContext::PolygonV(RtInt nvertices, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const RtInt loops = 1;
  polygonMesh(1, &loops, &nvertices, nullptr, polygonCounts(nvertices), n, tokens, parms);
}

RtVoid PreviewContext::GeneralPolygonV(RtInt nloops, RtInt nvertices[], RtInt n, RtToken tokens[],
                                       RtPointer parms[]) {
  polygonMesh(1, &nloops, nvertices, nullptr, generalPolygonCounts(nloops, nvertices), n, tokens, parms);
}

RtVoid PreviewContext::PointsPolygonsV(RtInt npolys, RtInt nvertices[], RtInt vertices[], RtInt n,
                                       RtToken tokens[], RtPointer parms[]) {
  polygonMesh(npolys, nullptr, nvertices, vertices, pointsPolygonsCounts(npolys, nvertices, vertices), n, tokens,
              parms);
}

RtVoid PreviewContext::PointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nvertices[], RtInt vertices[],
                                              RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (nloops == nullptr) return;
  polygonMesh(npolys, nloops, nvertices, vertices, pointsGeneralPolygonsCounts(npolys, nloops, nvertices, vertices),
              n, tokens, parms);
}

// `nloops` null: one loop a face; `vertices` null: the corners are the
// vertices in order.
void PreviewContext::polygonMesh(RtInt npolys, const RtInt *nloops, const RtInt *nvertices, const RtInt *vertices,
                                 const PrimitiveCounts &counts, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || npolys <= 0 || nvertices == nullptr || counts.vertex <= 0) return;
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  std::vector<float> scratch;
  const float *positions = positionsOrSkip(parameters, scratch);
  if (positions == nullptr) return;
  const Parameter *normals = parameters.findFloats("N", kTypeNormal);
  const bool smooth = normals != nullptr && (normals->storageClass == kClassVertex || normals->storageClass == kClassVarying);
  const ColorParam cs = colorParam(parameters, "Cs"), os = colorParam(parameters, "Os");
  const int64_t vertexCount = counts.vertex;
  auto vertexOf = [&](int64_t corner) -> int64_t { return vertices != nullptr ? vertices[corner] : corner; };

  // A mesh of triangles only, with colours of any class, is drawn from the
  // caller's arrays as they are.
  bool triangles = nloops == nullptr && vertices != nullptr;
  for (RtInt i = 0; triangles && i < npolys; ++i) triangles = nvertices[i] == 3;
  const bool constantColors = (cs.present() && cs.storageClass == kClassConstant) ||
                              (os.present() && os.storageClass == kClassConstant);
  if (triangles && !constantColors && recording_ == 0) {
    MeshView view;
    view.P = positions;
    view.vertices = size_t(vertexCount);
    view.N = smooth ? normals->floats() : nullptr;
    view.triangles = vertices;
    view.triangleCount = size_t(npolys);
    for (auto [param, target] : {std::pair{&cs, &view.Cs}, std::pair{&os, &view.Os}})
      if (param->present()) *target = {TriangleColors{*param}.source(), param->values};
    draw(view, transform(), attributes());
    return;
  }

  Mesh mesh;
  mesh.P.assign(positions, positions + 3 * vertexCount);
  if (smooth) mesh.N.assign(normals->floats(), normals->floats() + 3 * vertexCount);
  for (auto [param, target, source] : {std::tuple{&cs, &mesh.Cs, &mesh.csSource}, std::tuple{&os, &mesh.Os, &mesh.osSource}}) {
    if (!param->present()) continue;
    *source = TriangleColors{*param}.source();
    if (*source == ColorSource::kPerVertex) {
      for (int64_t v = 0; v < vertexCount; ++v) {
        const Vec3 c = param->storageClass == kClassConstant ? param->at(0) : param->at(v);
        target->insert(target->end(), {c.x, c.y, c.z});
      }
    }
  }
  // Loop sizes and corners are read no further than the counts say the
  // arrays reach, whatever negative sizes there are.
  const int64_t totalLoops = nloops != nullptr ? sumOf(nloops, npolys) : npolys;
  const int64_t totalCorners = counts.faceVarying;
  std::vector<std::vector<int32_t>> loops;
  std::vector<float> local;
  std::vector<int32_t> localTriangles;
  std::vector<int64_t> cornerOf;
  int64_t loopIndex = 0, corner = 0;
  for (RtInt face = 0; face < npolys && loopIndex < totalLoops; ++face) {
    const RtInt faceLoops = nloops != nullptr ? nloops[face] : 1;
    if (faceLoops <= 0) continue;
    loops.assign(size_t(faceLoops), {});
    local.clear();
    cornerOf.clear();
    bool usable = true;
    for (RtInt l = 0; l < faceLoops && loopIndex < totalLoops; ++l) {
      const RtInt count = nvertices[loopIndex++];
      for (RtInt k = 0; k < count && corner < totalCorners; ++k) {
        const int64_t c = corner++, v = vertexOf(c);
        if (v < 0 || v >= vertexCount) {
          usable = false;
          continue;
        }
        loops[size_t(l)].push_back(int32_t(cornerOf.size()));
        cornerOf.push_back(c);
        local.insert(local.end(), positions + 3 * v, positions + 3 * v + 3);
      }
    }
    if (!usable) continue;
    localTriangles.clear();
    triangulatePolygon(local.data(), loops, localTriangles);
    for (size_t t = 0; t + 2 < localTriangles.size(); t += 3) {
      const int64_t corners[3] = {cornerOf[size_t(localTriangles[t])], cornerOf[size_t(localTriangles[t + 1])],
                                  cornerOf[size_t(localTriangles[t + 2])]};
      mesh.addTriangle(int32_t(vertexOf(corners[0])), int32_t(vertexOf(corners[1])), int32_t(vertexOf(corners[2])));
      if (cs.present()) addTriangleColor(cs, face, corners, mesh.Cs);
      if (os.present()) addTriangleColor(os, face, corners, mesh.Os);
    }
  }
  emit(std::move(mesh));
}

}  // namespace vellum::preview
