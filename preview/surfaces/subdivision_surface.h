// Subdivision meshes (SubdivisionMesh, HierarchicalSubdivisionMesh) drawn
// as their limit surface, which OpenSubdiv computes with RenderMan's tags
// as it defines them.  The mesh is refined uniformly a few levels, as far
// as kMostFaces faces allow (planSubdivision), and each vertex of the last
// level is moved to the limit; its faces are drawn as triangles, with
// normals shared within the faces that no crease or sharp corner parts.
//
// A build without OpenSubdiv draws the control polygons instead (the
// faces as given, flat), and says so once (`approximate`).
#ifndef VELLUM_PREVIEW_SURFACES_SUBDIVISION_SURFACE_H
#define VELLUM_PREVIEW_SURFACES_SUBDIVISION_SURFACE_H

#include <cstdint>
#include <string>
#include <vector>

#include "preview/surfaces/mesh.h"
#include "preview/surfaces/primitive_colors.h"

namespace vellum::preview {

// Whether subdivision meshes are drawn as their limit surface (built with
// OpenSubdiv), or as their control polygons.
extern const bool kLimitSurfaces;

enum class SubdivisionScheme : uint8_t { kCatmullClark, kLoop, kBilinear };

// What the tags ask for, as OpenSubdiv takes it.
struct SubdivisionTags {
  // "interpolateboundary": 0 (also without the tag) leaves the faces on
  // the boundary undrawn, their vertices shaping the faces inside; 1
  // interpolates the boundary edges and keeps corners sharp; 2 the edges
  // only.
  int interpolateBoundary = 0;
  // "facevaryinginterpolateboundary": 0 bilinear, 1 (the default) sharp
  // corners and the corners of boundaries, 2 smooth everywhere, 3 sharp
  // boundaries; "facevaryingpropagatecorners" 1 with 1 sharpens more.
  int faceVaryingBoundary = 1;
  bool propagateCorners = false;
  bool smoothTriangles = false;  // "smoothtriangles" 1
  bool chaikin = false;          // "creasemethod" "chaikin"
  // "crease" edges as vertex pairs, "corner" vertices, each with its
  // sharpness (10 or more: infinitely sharp); "hole" faces.
  std::vector<int32_t> creases;
  std::vector<float> creaseSharpness;
  std::vector<int32_t> corners;
  std::vector<float> cornerSharpness;
  std::vector<int32_t> holes;
  // Tags not taken (unknown, or edits of finer levels that are not
  // applied), each named once.
  std::vector<std::string> ignored;
};

// Reads the tags of a SubdivisionMesh (`nargs` two counts a tag, integers
// then floats) or, when `hierarchical`, of a HierarchicalSubdivisionMesh
// (three counts a tag, the third its strings).  A negative count, or one
// whose arguments are missing, ends the reading.  Elements that a mesh of
// `vertexCount` vertices and `faceCount` faces does not have are left out.
SubdivisionTags readSubdivisionTags(int ntags, const char *const tags[], const int32_t nargs[],
                                    const int32_t intargs[], const float floatargs[],
                                    const char *const stringargs[], bool hierarchical, int64_t vertexCount,
                                    int64_t faceCount);

// A mesh ready to subdivide: faces of three or more vertices that all
// exist (the caller drops the others), positions, colours and tags.
struct ControlMesh {
  SubdivisionScheme scheme = SubdivisionScheme::kCatmullClark;
  std::vector<int32_t> faceSizes, faceVertices;
  std::vector<int32_t> faceOrigin;  // the face of the request each face is
  const float *positions = nullptr;  // 3 floats a vertex
  int64_t vertexCount = 0;
  // Colours of class constant, uniform (a value a face of the request),
  // varying, vertex (a value a vertex) or facevarying (a value a corner of
  // the request's faces, `cornerOrigin` naming it for each kept corner).
  ColorParam cs, os;
  std::vector<int64_t> cornerOrigin;
  SubdivisionTags tags;
};

// How far a mesh is refined, and what that costs: `work` grows with the
// faces, edges and vertices of every level made, with the limit
// evaluation, and with the square of the faces around each vertex (and of
// the sides of each face), so that it can be charged before anything is
// made.
struct SubdivisionPlan {
  int levels = 0;
  uint64_t work = 0;
};
constexpr uint64_t kMostFaces = 200000;
constexpr int kMostLevels = 5;
SubdivisionPlan planSubdivision(const ControlMesh &mesh);

// The surface, refined as planned.  `notes` receives what could not be
// done as asked (a Loop mesh with faces that are not triangles is drawn
// by Catmull-Clark; a topology OpenSubdiv refuses is not drawn).
Mesh subdivisionSurface(const ControlMesh &mesh, const SubdivisionPlan &plan, std::vector<std::string> &notes);

}  // namespace vellum::preview

#endif
