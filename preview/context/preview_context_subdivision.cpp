// Catmull-Clark subdivision meshes, plain and hierarchical.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/catmull_clark.h"

namespace vellum::preview {

namespace {

// Faces after subdividing are kept near this many.
constexpr size_t kFaceBudget = 200000;
constexpr int kMaxLevels = 3;

bool perVertex(const ColorParam &param) {
  return param.present() && (param.storageClass == kClassVertex || param.storageClass == kClassVarying);
}

// Reads the tags into the surface: "hole" faces, "crease" edges (a chain
// of vertices, one sharpness for all its edges or one each) and "corner"
// vertices (one sharpness for all or one each).  Gives whether the
// boundary is interpolated, and names the tags it does not know.
bool readTags(SubdivisionSurface &surface, int64_t vertexCount, RtInt ntags, const RtToken tags[], const RtInt nargs[],
              const RtInt intargs[], const RtFloat floatargs[], std::vector<std::string> &unknown) {
  bool interpolate = false;
  int64_t intOffset = 0, floatOffset = 0;
  for (RtInt t = 0; tags != nullptr && nargs != nullptr && t < ntags; ++t) {
    const RtInt ints = nargs[2 * t], floats = nargs[2 * t + 1];
    if (ints < 0 || floats < 0 || (ints > 0 && intargs == nullptr) || (floats > 0 && floatargs == nullptr)) break;
    const RtInt *i = intargs + intOffset;
    const RtFloat *x = floatargs + floatOffset;
    intOffset += ints, floatOffset += floats;
    if (tags[t] == nullptr) continue;
    const std::string tag = tags[t];
    // The sharpness of the k-th of `count` elements.
    auto sharpness = [&](RtInt k, RtInt count) { return floats == count ? x[k] : x[0]; };
    if (tag == "hole") {
      for (RtInt k = 0; k < ints; ++k)
        if (i[k] >= 0 && size_t(i[k]) < surface.holes.size()) surface.holes[size_t(i[k])] = 1;
    } else if (tag == "interpolateboundary") {
      // An integer argument of 0 turns it off and 2 keeps corners smooth.
      const RtInt mode = ints > 0 ? i[0] : 1;
      interpolate = mode != 0;
      surface.sharpCorners = mode != 2;
    } else if (tag == "crease") {
      for (RtInt k = 0; floats > 0 && k + 1 < ints; ++k) {
        const float s = sharpness(k, ints - 1);
        if (!(s > 0) || i[k] < 0 || i[k + 1] < 0) continue;
        float &edge = surface.creases[edgeKey(i[k], i[k + 1])];
        edge = std::max(edge, s);
      }
    } else if (tag == "corner") {
      for (RtInt k = 0; floats > 0 && k < ints; ++k) {
        const float s = sharpness(k, ints);
        if (!(s > 0) || i[k] < 0 || i[k] >= vertexCount) continue;
        surface.corners.resize(size_t(vertexCount), 0.0f);
        surface.corners[size_t(i[k])] = std::max(surface.corners[size_t(i[k])], s);
      }
    } else {
      unknown.push_back(tag);
    }
  }
  return interpolate;
}

}  // namespace

RtVoid PreviewContext::SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                                        RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                                        RtFloat floatargs[], RtInt n, RtToken tokens[], RtPointer parms[]) {
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
  std::vector<std::string> unknownTags;
  const bool interpolateBoundary =
      readTags(surface, counts.vertex, ntags, tags, nargs, intargs, floatargs, unknownTags);
  for (const std::string &tag : unknownTags)
    warnOnce("subdivision tag " + tag, "subdivision tag \"" + tag + "\" ignored");
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
  if (!interpolateBoundary) dropBoundaryFaces(surface);
  if (std::find(surface.holes.begin(), surface.holes.end(), 0) == surface.holes.end()) return;
  for (int level = 0; level < kMaxLevels; ++level) {
    size_t next = 0;
    for (const auto &face : surface.faces) next += face.size();
    if (next > kFaceBudget) break;
    surface = subdivide(surface);
  }

  // A vertex is drawn once for each group of faces around it that share a
  // normal: sharp edges and corners part them.
  std::vector<int32_t> groupVertex;
  const std::vector<int32_t> group = smoothingGroups(surface, groupVertex);
  Mesh mesh;
  const int d = surface.dimension;
  for (int32_t v : groupVertex) {
    const float *p = &surface.vertices[size_t(v) * size_t(d)];
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
  std::vector<Vec3> normals(groupVertex.size());
  auto position = [&](int32_t g) { return Vec3{mesh.P[3 * size_t(g)], mesh.P[3 * size_t(g) + 1], mesh.P[3 * size_t(g) + 2]}; };
  size_t firstCorner = 0;
  for (size_t f = 0; f < surface.faces.size(); firstCorner += surface.faces[f].size(), ++f) {
    if (surface.holes[f]) continue;
    const int32_t *face = &group[firstCorner];
    for (size_t k = 1; k + 1 < surface.faces[f].size(); ++k) {
      mesh.addTriangle(face[0], face[k], face[k + 1]);
      const Vec3 normal = cross(position(face[k]) - position(face[0]), position(face[k + 1]) - position(face[0]));
      for (int32_t g : {face[0], face[k], face[k + 1]}) normals[size_t(g)] = normals[size_t(g)] + normal;
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
