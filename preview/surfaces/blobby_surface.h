// A blobby drawn as triangles.  Its field is sampled on a grid over the
// box of its leaves, with a cell more all round so that the surface closes
// inside the grid, and the surface where the field is the threshold is cut
// out of the grid by marching tetrahedra, with normals from the field's
// gradient.  The grid has cells as near cubes as fit in kGridSamples
// samples; where many leaves reach each sample it is made coarser, so
// that sampling takes at most kMostWork evaluations (of one leaf or one
// operation at one sample).
#ifndef VELLUM_PREVIEW_SURFACES_BLOBBY_SURFACE_H
#define VELLUM_PREVIEW_SURFACES_BLOBBY_SURFACE_H

#include <cstdint>

#include "preview/surfaces/blobby_field.h"
#include "preview/surfaces/mesh.h"
#include "preview/surfaces/primitive_colors.h"

namespace vellum::preview {

constexpr double kGridSamples = 110592;  // 48 a side
constexpr uint64_t kMostWork = 64'000'000;

struct BlobbySurface {
  Mesh mesh;
  uint64_t work = 0;        // the evaluations made
  bool tooComplex = false;  // even a coarse grid would take more: nothing drawn
};

// "Cs" and "Os" of class constant or uniform colour the whole surface;
// of the other classes, they hold a value per leaf, blended where the
// surface passes by the leaves' values there.
BlobbySurface blobbySurface(const BlobbyField &field, const ColorParam &cs, const ColorParam &os);

}  // namespace vellum::preview

#endif
