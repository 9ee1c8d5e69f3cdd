// Catmull-Clark subdivision meshes, plain and hierarchical.
#include <cstring>
#include <vector>

#include "common/primitive_counts.h"
#include "preview/catmull_clark.h"
#include "preview/parameters.h"
#include "preview/preview_context.h"
#include "preview/primitive_colors.h"

namespace vellum::preview {

namespace {

// Faces after subdividing are kept near this many.
constexpr size_t kFaceBudget = 200000;
constexpr int kMaxLevels = 3;

bool perVertex(const ColorParam &param) {
  return param.present() && (param.storageClass == kClassVertex || param.storageClass == kClassVarying);
}

}  // namespace

RtVoid PreviewContext::SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                                        RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat[],
                                        RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || nfaces <= 0 || nvertices == nullptr || vertices == nullptr) return;
  if (scheme == nullptr || std::strcmp(scheme, "catmull-clark") != 0)
    warnOnce("subdivision scheme", "subdivision schemes other than catmull-clark are drawn as catmull-clark");
  const PrimitiveCounts counts = subdivisionMeshCounts(nfaces, nvertices, vertices);
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  std::vector<float> scratch;
  const float *positions = positionsOrSkip(parameters, scratch);
  if (positions == nullptr) return;
  const ColorParam cs = colorParam(parameters, "Cs"), os = colorParam(parameters, "Os");
  SubdivisionSurface surface;
  surface.dimension = 3 + (perVertex(cs) ? 3 : 0) + (perVertex(os) ? 3 : 0);
  for (int64_t v = 0; v < counts.vertex; ++v) {
    surface.vertices.insert(surface.vertices.end(), positions + 3 * v, positions + 3 * v + 3);
    for (const ColorParam *param : {&cs, &os})
      if (perVertex(*param)) {
        const Vec3 c = param->at(v);
        surface.vertices.insert(surface.vertices.end(), {c.x, c.y, c.z});
      }
  }
  int64_t corner = 0;
  for (RtInt f = 0; f < nfaces && corner < counts.faceVarying; ++f) {
    std::vector<int32_t> face;
    bool usable = nvertices[f] >= 3;
    for (RtInt k = 0; k < nvertices[f] && corner < counts.faceVarying; ++k) {
      const RtInt v = vertices[corner++];
      usable = usable && v >= 0 && v < counts.vertex;
      face.push_back(v);
    }
    surface.faces.push_back(usable ? face : std::vector<int32_t>{});
    surface.holes.push_back(!usable);
    surface.parent.push_back(f);
  }
  // Faces named by "hole" tags are subdivided but not drawn.
  int64_t intOffset = 0;
  for (RtInt t = 0; tags != nullptr && nargs != nullptr && t < ntags; ++t) {
    const RtInt ints = nargs[2 * t];
    if (ints < 0) break;
    if (tags[t] != nullptr && std::strcmp(tags[t], "hole") == 0 && intargs != nullptr)
      for (RtInt k = 0; k < ints; ++k) {
        const RtInt face = intargs[intOffset + k];
        if (face >= 0 && size_t(face) < surface.holes.size()) surface.holes[size_t(face)] = 1;
      }
    else if (tags[t] != nullptr && std::strcmp(tags[t], "hole") != 0 && std::strcmp(tags[t], "interpolateboundary") != 0)
      warnOnce(std::string("subdivision tag ") + tags[t], std::string("subdivision tag \"") + tags[t] + "\" ignored");
    intOffset += ints;
  }
  // Unusable faces are dropped before subdividing.
  {
    SubdivisionSurface kept = surface;
    kept.faces.clear(), kept.holes.clear(), kept.parent.clear();
    for (size_t f = 0; f < surface.faces.size(); ++f)
      if (!surface.faces[f].empty()) {
        kept.faces.push_back(surface.faces[f]);
        kept.holes.push_back(surface.holes[f]);
        kept.parent.push_back(surface.parent[f]);
      }
    surface = std::move(kept);
  }
  for (int level = 0; level < kMaxLevels && !surface.faces.empty(); ++level) {
    size_t next = 0;
    for (const auto &face : surface.faces) next += face.size();
    if (next > kFaceBudget) break;
    surface = subdivide(surface);
  }

  Mesh mesh;
  const int d = surface.dimension;
  const size_t count = surface.vertices.size() / size_t(d);
  for (size_t v = 0; v < count; ++v) {
    const float *p = &surface.vertices[v * size_t(d)];
    mesh.addVertex(p[0], p[1], p[2]);
    int at = 3;
    for (auto [param, target] : {std::pair{&cs, &mesh.Cs}, std::pair{&os, &mesh.Os}})
      if (perVertex(*param)) {
        target->insert(target->end(), p + at, p + at + 3);
        at += 3;
      }
  }
  const bool faceColors[2] = {cs.present() && !perVertex(cs), os.present() && !perVertex(os)};
  mesh.csSource = faceColors[0] ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  mesh.osSource = faceColors[1] ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  std::vector<Vec3> normals(count);
  auto position = [&](int32_t v) { return Vec3{mesh.P[3 * size_t(v)], mesh.P[3 * size_t(v) + 1], mesh.P[3 * size_t(v) + 2]}; };
  for (size_t f = 0; f < surface.faces.size(); ++f) {
    if (surface.holes[f]) continue;
    const auto &face = surface.faces[f];
    for (size_t k = 1; k + 1 < face.size(); ++k) {
      mesh.addTriangle(face[0], face[k], face[k + 1]);
      const Vec3 normal = cross(position(face[k]) - position(face[0]), position(face[k + 1]) - position(face[0]));
      for (int32_t v : {face[0], face[k], face[k + 1]}) normals[size_t(v)] = normals[size_t(v)] + normal;
      for (int c = 0; c < 2; ++c) {
        if (!faceColors[c]) continue;
        const ColorParam &param = c == 0 ? cs : os;
        // Uniform values per original face; a facevarying colour is not
        // interpolated: its first value stands for all.
        const int64_t index = param.storageClass == kClassUniform ? surface.parent[f] : 0;
        const Vec3 value = param.at(index);
        (c == 0 ? mesh.Cs : mesh.Os).insert((c == 0 ? mesh.Cs : mesh.Os).end(), {value.x, value.y, value.z});
      }
    }
  }
  for (const Vec3 &normal : normals) {
    const Vec3 unit = normalize(normal);
    mesh.N.insert(mesh.N.end(), {unit.x, unit.y, unit.z});
  }
  emit(std::move(mesh));
}

// The hierarchical form's tags also count strings (edits of finer levels,
// which the preview does not make); the rest is a subdivision mesh's.
RtVoid PreviewContext::HierarchicalSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                                    RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[],
                                                    RtInt intargs[], RtFloat floatargs[], RtToken[], RtInt n,
                                                    RtToken tokens[], RtPointer parms[]) {
  std::vector<RtInt> counts;
  for (RtInt t = 0; nargs != nullptr && t < ntags; ++t) counts.insert(counts.end(), {nargs[3 * t], nargs[3 * t + 1]});
  SubdivisionMeshV(scheme, nfaces, nvertices, vertices, ntags, tags, counts.empty() ? nullptr : counts.data(), intargs,
                   floatargs, n, tokens, parms);
}

}  // namespace vellum::preview
