// The limit surface of a subdivision mesh, by OpenSubdiv: its topology
// refiner refines the mesh uniformly, its primvar refiner carries the
// positions and colours down the levels and moves them to the limit.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include <opensubdiv/far/error.h>
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include "preview/surfaces/subdivision_surface.h"

namespace vellum::preview {

const bool kLimitSurfaces = true;

namespace {

namespace Far = OpenSubdiv::Far;
namespace Sdc = OpenSubdiv::Sdc;

// A value of three floats as the primvar refiner carries it.
struct Triple {
  float v[3];
  void Clear() { v[0] = v[1] = v[2] = 0; }
  void AddWithWeight(const Triple &source, float weight) {
    v[0] += weight * source.v[0], v[1] += weight * source.v[1], v[2] += weight * source.v[2];
  }
  Vec3 vec() const { return {v[0], v[1], v[2]}; }
};

// OpenSubdiv reports through functions of its own; what it says while a
// mesh is made is kept for that mesh.
thread_local std::vector<std::string> *reports = nullptr;
void onError(Far::ErrorType, const char *message) {
  if (reports != nullptr) reports->push_back(message != nullptr ? message : "");
}
void onWarning(const char *message) { onError(Far::FAR_NO_ERROR, message); }

Sdc::Options optionsFor(const SubdivisionTags &tags) {
  Sdc::Options options;
  static const Sdc::Options::VtxBoundaryInterpolation kBoundary[] = {
      Sdc::Options::VTX_BOUNDARY_NONE, Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER,
      Sdc::Options::VTX_BOUNDARY_EDGE_ONLY};
  options.SetVtxBoundaryInterpolation(kBoundary[tags.interpolateBoundary]);
  static const Sdc::Options::FVarLinearInterpolation kFaceVarying[] = {
      Sdc::Options::FVAR_LINEAR_ALL, Sdc::Options::FVAR_LINEAR_CORNERS_PLUS1, Sdc::Options::FVAR_LINEAR_NONE,
      Sdc::Options::FVAR_LINEAR_BOUNDARIES};
  options.SetFVarLinearInterpolation(tags.faceVaryingBoundary == 1 && tags.propagateCorners
                                         ? Sdc::Options::FVAR_LINEAR_CORNERS_PLUS2
                                         : kFaceVarying[tags.faceVaryingBoundary]);
  options.SetCreasingMethod(tags.chaikin ? Sdc::Options::CREASE_CHAIKIN : Sdc::Options::CREASE_UNIFORM);
  options.SetTriangleSubdivision(tags.smoothTriangles ? Sdc::Options::TRI_SUB_SMOOTH : Sdc::Options::TRI_SUB_CATMARK);
  return options;
}

// A facevarying colour as OpenSubdiv takes it: a value for each corner,
// the corners of a vertex that hold the same value sharing one, so that
// the values are smooth across the faces where the colour is.
struct FaceVaryingChannel {
  std::vector<Triple> values;
  std::vector<int32_t> indices;  // a value a kept corner
};

FaceVaryingChannel channelOf(const ControlMesh &mesh, const ColorParam &param) {
  FaceVaryingChannel channel;
  // Values are the same when their bits are (so that a NaN has a key).
  const auto bits = [](float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
  };
  std::map<std::tuple<int32_t, uint32_t, uint32_t, uint32_t>, int32_t> shared;
  channel.indices.reserve(mesh.faceVertices.size());
  for (size_t corner = 0; corner < mesh.faceVertices.size(); ++corner) {
    const Vec3 value = param.at(mesh.cornerOrigin[corner]);
    const auto [at, added] = shared.emplace(
        std::tuple{mesh.faceVertices[corner], bits(value.x), bits(value.y), bits(value.z)},
        int32_t(channel.values.size()));
    if (added) channel.values.push_back({{value.x, value.y, value.z}});
    channel.indices.push_back(at->second);
  }
  return channel;
}

bool perVertex(const ColorParam &param) {
  return param.present() && (param.storageClass == kClassVertex || param.storageClass == kClassVarying);
}

// Positions, or a colour given a vertex, carried to the last level.
std::vector<Triple> refineVertexValues(const Far::TopologyRefiner &refiner, const Far::PrimvarRefiner &primvars,
                                       std::vector<Triple> base, bool varying, bool toLimit) {
  const int levels = refiner.GetMaxLevel();
  std::vector<Triple> from = std::move(base), to;
  for (int level = 1; level <= levels; ++level) {
    to.resize(size_t(refiner.GetLevel(level).GetNumVertices()));
    Triple *target = to.data();
    if (varying) primvars.InterpolateVarying(level, from.data(), target);
    else primvars.Interpolate(level, from.data(), target);
    from.swap(to);
  }
  if (!toLimit) return from;
  to.resize(from.size());
  Triple *target = to.data();
  primvars.Limit(from.data(), target);
  return to;
}

std::vector<Triple> refineFaceVaryingValues(const Far::TopologyRefiner &refiner, const Far::PrimvarRefiner &primvars,
                                            std::vector<Triple> base, int channel) {
  const int levels = refiner.GetMaxLevel();
  std::vector<Triple> from = std::move(base), to;
  for (int level = 1; level <= levels; ++level) {
    to.resize(size_t(refiner.GetLevel(level).GetNumFVarValues(channel)));
    Triple *target = to.data();
    primvars.InterpolateFaceVarying(level, from.data(), target, channel);
    from.swap(to);
  }
  to.resize(from.size());
  Triple *target = to.data();
  primvars.LimitFaceVarying(from.data(), target, channel);
  return to;
}

// Which corners of the last level share a normal: those that meet across
// an edge of two faces that is not sharp, at a vertex that is not sharp.
// Gives a group for each corner, face after face, and the vertex of each
// group.
std::vector<int32_t> smoothingGroups(const Far::TopologyLevel &level, std::vector<int32_t> &groupVertex) {
  const int faces = level.GetNumFaces();
  std::vector<int32_t> first(size_t(faces) + 1, 0);
  for (int f = 0; f < faces; ++f) first[size_t(f) + 1] = first[size_t(f)] + level.GetFaceVertices(f).size();
  std::vector<int32_t> link(size_t(first.back()));
  std::iota(link.begin(), link.end(), 0);
  auto root = [&](int32_t c) {
    while (link[size_t(c)] != c) c = link[size_t(c)] = link[size_t(link[size_t(c)])];
    return c;
  };
  // The corner at vertex v of the i-th face of edge e: the edge's place in
  // the face is known, so a face of many sides costs no search.
  auto cornerAt = [&](int e, int i, int v) {
    const int f = level.GetEdgeFaces(e)[i], k = level.GetEdgeFaceLocalIndices(e)[i];
    const auto vertices = level.GetFaceVertices(f);
    const int next = (k + 1) % vertices.size();
    if (vertices[k] == v) return first[size_t(f)] + k;
    return vertices[next] == v ? first[size_t(f)] + next : -1;
  };
  for (int e = 0; e < level.GetNumEdges(); ++e) {
    const auto edgeFaces = level.GetEdgeFaces(e);
    if (edgeFaces.size() != 2 || level.GetEdgeSharpness(e) > 0 || level.IsEdgeNonManifold(e)) continue;
    const auto ends = level.GetEdgeVertices(e);
    if (ends[0] == ends[1]) continue;
    for (int end = 0; end < 2; ++end) {
      const int v = ends[end];
      if (level.GetVertexSharpness(v) > 0 || level.IsVertexNonManifold(v)) continue;
      const int32_t a = cornerAt(e, 0, v), b = cornerAt(e, 1, v);
      if (a >= 0 && b >= 0) link[size_t(root(a))] = root(b);
    }
  }
  std::vector<int32_t> group(link.size()), number(link.size(), -1);
  groupVertex.clear();
  for (int f = 0; f < faces; ++f) {
    const auto vertices = level.GetFaceVertices(f);
    for (int k = 0; k < vertices.size(); ++k) {
      const int32_t corner = first[size_t(f)] + k;
      int32_t &n = number[size_t(root(corner))];
      if (n < 0) {
        n = int32_t(groupVertex.size());
        groupVertex.push_back(vertices[k]);
      }
      group[size_t(corner)] = n;
    }
  }
  return group;
}

}  // namespace

Mesh subdivisionSurface(const ControlMesh &mesh, const SubdivisionPlan &plan, std::vector<std::string> &notes) {
  Mesh out;
  if (mesh.faceSizes.empty()) return out;
  SubdivisionScheme scheme = mesh.scheme;
  if (scheme == SubdivisionScheme::kLoop &&
      !std::all_of(mesh.faceSizes.begin(), mesh.faceSizes.end(), [](int32_t n) { return n == 3; })) {
    notes.push_back("a Loop subdivision mesh with faces that are not triangles is drawn by Catmull-Clark");
    scheme = SubdivisionScheme::kCatmullClark;
  }
  const Sdc::SchemeType type = scheme == SubdivisionScheme::kLoop       ? Sdc::SCHEME_LOOP
                               : scheme == SubdivisionScheme::kBilinear ? Sdc::SCHEME_BILINEAR
                                                                        : Sdc::SCHEME_CATMARK;
  const SubdivisionTags &tags = mesh.tags;
  Far::TopologyDescriptor descriptor;
  descriptor.numVertices = int(mesh.vertexCount);
  descriptor.numFaces = int(mesh.faceSizes.size());
  descriptor.numVertsPerFace = mesh.faceSizes.data();
  descriptor.vertIndicesPerFace = mesh.faceVertices.data();
  descriptor.numCreases = int(tags.creaseSharpness.size());
  descriptor.creaseVertexIndexPairs = tags.creases.data();
  descriptor.creaseWeights = tags.creaseSharpness.data();
  descriptor.numCorners = int(tags.cornerSharpness.size());
  descriptor.cornerVertexIndices = tags.corners.data();
  descriptor.cornerWeights = tags.cornerSharpness.data();
  // The holes, as faces of the mesh as kept.
  std::vector<int32_t> holes;
  if (!tags.holes.empty()) {
    std::vector<bool> hole(size_t(mesh.faceOrigin.empty() ? 0 : mesh.faceOrigin.back() + 1));
    for (int32_t face : tags.holes)
      if (size_t(face) < hole.size()) hole[size_t(face)] = true;
    for (size_t f = 0; f < mesh.faceOrigin.size(); ++f)
      if (hole[size_t(mesh.faceOrigin[f])]) holes.push_back(int32_t(f));
  }
  descriptor.numHoles = int(holes.size());
  descriptor.holeIndices = holes.data();
  const bool faceVarying[2] = {mesh.cs.present() && mesh.cs.storageClass == kClassFaceVarying,
                               mesh.os.present() && mesh.os.storageClass == kClassFaceVarying};
  FaceVaryingChannel channels[2];
  std::vector<Far::TopologyDescriptor::FVarChannel> described;
  int channelIndex[2] = {-1, -1};
  for (int c = 0; c < 2; ++c) {
    if (!faceVarying[c]) continue;
    channels[c] = channelOf(mesh, c == 0 ? mesh.cs : mesh.os);
    Far::TopologyDescriptor::FVarChannel channel;
    channel.numValues = int(channels[c].values.size());
    channel.valueIndices = channels[c].indices.data();
    channelIndex[c] = int(described.size());
    described.push_back(channel);
  }
  descriptor.numFVarChannels = int(described.size());
  descriptor.fvarChannels = described.data();

  std::vector<std::string> said;
  reports = &said;
  Far::SetErrorCallback(onError);
  Far::SetWarningCallback(onWarning);
  using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
  std::unique_ptr<Far::TopologyRefiner> refiner(
      Factory::Create(descriptor, Factory::Options(type, optionsFor(tags))));
  if (refiner && plan.levels > 0) {
    Far::TopologyRefiner::UniformOptions uniform(plan.levels);
    uniform.fullTopologyInLastLevel = true;
    refiner->RefineUniform(uniform);
  }
  reports = nullptr;
  if (!refiner) {
    notes.push_back("a subdivision mesh whose topology OpenSubdiv refuses is skipped" +
                    (said.empty() ? std::string() : " (" + said.front() + ")"));
    return out;
  }

  const Far::PrimvarRefiner primvars(*refiner);
  std::vector<Triple> base(size_t(mesh.vertexCount));
  std::memcpy(base.data(), mesh.positions, base.size() * sizeof(Triple));
  const std::vector<Triple> positions = refineVertexValues(*refiner, primvars, std::move(base), false, true);
  std::vector<Triple> vertexColors[2];
  for (int c = 0; c < 2; ++c) {
    const ColorParam &param = c == 0 ? mesh.cs : mesh.os;
    if (!perVertex(param)) continue;
    std::vector<Triple> values(size_t(mesh.vertexCount));
    for (size_t v = 0; v < values.size(); ++v) {
      const Vec3 value = param.at(int64_t(v));
      values[v] = {{value.x, value.y, value.z}};
    }
    const bool varying = param.storageClass == kClassVarying;
    vertexColors[c] = refineVertexValues(*refiner, primvars, std::move(values), varying, !varying);
  }
  std::vector<Triple> cornerColors[2];
  for (int c = 0; c < 2; ++c)
    if (faceVarying[c])
      cornerColors[c] = refineFaceVaryingValues(*refiner, primvars, std::move(channels[c].values), channelIndex[c]);

  // The face of the request that each face of the last level comes from.
  const int last = refiner->GetMaxLevel();
  std::vector<int32_t> origin(mesh.faceOrigin);
  for (int level = 1; level <= last; ++level) {
    const Far::TopologyLevel &child = refiner->GetLevel(level);
    std::vector<int32_t> next(size_t(child.GetNumFaces()));
    for (int f = 0; f < child.GetNumFaces(); ++f) next[size_t(f)] = origin[size_t(child.GetFaceParentFace(f))];
    origin.swap(next);
  }

  const Far::TopologyLevel &level = refiner->GetLevel(last);
  std::vector<int32_t> groupVertex;
  const std::vector<int32_t> group = smoothingGroups(level, groupVertex);
  const bool perFace[2] = {mesh.cs.present() && !perVertex(mesh.cs) && !faceVarying[0],
                           mesh.os.present() && !perVertex(mesh.os) && !faceVarying[1]};
  out.csSource = faceVarying[0] ? ColorSource::kPerCorner : perFace[0] ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  out.osSource = faceVarying[1] ? ColorSource::kPerCorner : perFace[1] ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  std::vector<float> *colors[2] = {&out.Cs, &out.Os};
  for (int32_t v : groupVertex) {
    const Triple &p = positions[size_t(v)];
    out.addVertex(p.v[0], p.v[1], p.v[2]);
    for (int c = 0; c < 2; ++c)
      if (!vertexColors[c].empty()) colors[c]->insert(colors[c]->end(), vertexColors[c][size_t(v)].v, vertexColors[c][size_t(v)].v + 3);
  }
  std::vector<Vec3> normals(groupVertex.size());
  auto at = [&](int32_t g) { return positions[size_t(groupVertex[size_t(g)])].vec(); };
  int32_t corner = 0;
  for (int f = 0; f < level.GetNumFaces(); ++f) {
    const int n = level.GetFaceVertices(f).size();
    const int32_t *groups = &group[size_t(corner)];
    corner += n;
    if (level.IsFaceHole(f)) continue;
    for (int k = 1; k + 1 < n; ++k) {
      const int32_t a = groups[0], b = groups[k], c = groups[k + 1];
      out.addTriangle(a, b, c);
      const Vec3 normal = cross(at(b) - at(a), at(c) - at(a));
      for (int32_t g : {a, b, c}) normals[size_t(g)] = normals[size_t(g)] + normal;
      for (int which = 0; which < 2; ++which) {
        const ColorParam &param = which == 0 ? mesh.cs : mesh.os;
        if (perFace[which]) {
          // Constant colours are one value for every face.
          const Vec3 value = param.at(param.storageClass == kClassUniform ? origin[size_t(f)] : 0);
          colors[which]->insert(colors[which]->end(), {value.x, value.y, value.z});
        } else if (faceVarying[which]) {
          const auto channel = level.GetFaceFVarValues(f, channelIndex[which]);
          for (int j : {0, k, k + 1}) {
            const Triple &value = cornerColors[which][size_t(channel[j])];
            colors[which]->insert(colors[which]->end(), value.v, value.v + 3);
          }
        }
      }
    }
  }
  for (const Vec3 &normal : normals) {
    const Vec3 unit = normalize(normal);
    out.N.insert(out.N.end(), {unit.x, unit.y, unit.z});
  }
  return out;
}

}  // namespace vellum::preview
