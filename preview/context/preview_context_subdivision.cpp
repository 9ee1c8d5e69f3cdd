// Subdivision meshes, plain and hierarchical, drawn as their limit
// surface (surfaces/subdivision_surface.h).
#include <cstring>
#include <string>
#include <vector>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/subdivision_surface.h"

namespace vellum::preview {

void PreviewContext::subdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags,
                                     RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[],
                                     RtToken stringargs[], bool hierarchical, RtInt n, RtToken tokens[],
                                     RtPointer parms[]) {
  if (!takesGeometry() || nfaces <= 0 || nvertices == nullptr || vertices == nullptr) return;
  if (!kLimitSurfaces)
    warnOnce("subdivision control polygons",
             "built without OpenSubdiv: subdivision meshes are drawn as their control polygons");
  ControlMesh mesh;
  const std::string name = scheme != nullptr ? scheme : "";
  if (name == "loop") {
    mesh.scheme = SubdivisionScheme::kLoop;
  } else if (name == "bilinear") {
    mesh.scheme = SubdivisionScheme::kBilinear;
  } else if (name != "catmull-clark") {
    warnOnce("subdivision scheme " + name, "subdivision scheme \"" + name + "\" is drawn as catmull-clark");
  }
  const PrimitiveCounts counts = subdivisionMeshCounts(nfaces, nvertices, vertices);
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  std::vector<float> scratch;
  mesh.positions = positionsOrSkip(parameters, scratch);
  if (mesh.positions == nullptr) return;
  mesh.vertexCount = counts.vertex;
  mesh.cs = colorParam(parameters, "Cs");
  mesh.os = colorParam(parameters, "Os");
  // Faces of fewer than three vertices, or with a vertex the mesh does
  // not have, are left out.
  int64_t corner = 0;
  for (RtInt f = 0; f < nfaces && corner < counts.faceVarying; ++f) {
    const int64_t start = corner;
    bool usable = nvertices[f] >= 3;
    for (RtInt k = 0; k < nvertices[f] && corner < counts.faceVarying; ++k, ++corner)
      usable = usable && vertices[corner] >= 0 && vertices[corner] < counts.vertex;
    if (!usable || corner - start != nvertices[f]) continue;
    mesh.faceSizes.push_back(nvertices[f]);
    mesh.faceOrigin.push_back(f);
    for (int64_t c = start; c < corner; ++c) {
      mesh.faceVertices.push_back(vertices[c]);
      mesh.cornerOrigin.push_back(c);
    }
  }
  if (mesh.faceSizes.empty()) return;
  mesh.tags = readSubdivisionTags(ntags, tags, nargs, intargs, floatargs, stringargs, hierarchical, counts.vertex,
                                  nfaces);
  for (const std::string &tag : mesh.tags.ignored)
    warnOnce("subdivision tag " + tag, "subdivision tag \"" + tag + "\" ignored");
  // Refining is paid for before it is done, as far as it is planned.
  const SubdivisionPlan plan = planSubdivision(mesh);
  if (!charge(WorkMeter::kDrawing, plan.work)) return;
  std::vector<std::string> notes;
  Mesh surface = subdivisionSurface(mesh, plan, notes);
  for (const std::string &note : notes) warnOnce(note, note);
  emit(std::move(surface));
}

RtVoid PreviewContext::SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                                        RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                                        RtFloat floatargs[], RtInt n, RtToken tokens[], RtPointer parms[]) {
  subdivisionMesh(scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs, nullptr, false, n,
                  tokens, parms);
}

// The hierarchical form's tags also count strings: "creasemethod" names
// its rule by one; edits of finer levels are not made (the tags are named
// as ignored).
RtVoid PreviewContext::HierarchicalSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                                    RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[],
                                                    RtInt intargs[], RtFloat floatargs[], RtToken stringargs[],
                                                    RtInt n, RtToken tokens[], RtPointer parms[]) {
  subdivisionMesh(scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs, stringargs, true, n,
                  tokens, parms);
}

}  // namespace vellum::preview
