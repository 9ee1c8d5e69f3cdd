// Drawing a solid (SolidBegin ... SolidEnd) as the boolean of its parts.
//
// While a solid is open its surfaces are not drawn but kept sample by
// sample (SolidFragments), each sample knowing which primitive solid it
// belongs to and whether the ray goes into that primitive there (the
// surface shows its outside to the eye, by the orientation) or out of it.
// When the outermost solid ends, each sample's surfaces are walked front
// to back through the solid's tree (CsgTree), and a surface is drawn where
// the whole solid begins, or, seen from within it, where it ends if that
// surface is two-sided; a transparent one lets the next show through.
//
// A primitive is taken to be inside along a ray before its first surface
// when the ray leaves it more often than it enters it: so a solid cut open
// by the near plane or a clipping plane shows its inside, as a surface
// would.  A primitive is closed when, at every sample, the ray enters it as
// often as it leaves it (a few samples on seams aside); one that is not
// closed and not cut makes the whole solid drawn as a union.  So does a
// solid too large to keep (SolidFragments' budget, more than kMostParts
// primitives or a nesting deeper than kMostDepth), from the surface that
// breaks the budget on.
#ifndef VELLUM_PREVIEW_RASTER_SOLID_DRAWING_H
#define VELLUM_PREVIEW_RASTER_SOLID_DRAWING_H

#include <cstdint>
#include <vector>

#include "preview/raster/camera.h"
#include "preview/raster/csg_tree.h"
#include "preview/raster/sample_buffer.h"
#include "preview/raster/solid_fragments.h"

namespace vellum::preview {

class SolidDrawing {
 public:
  static constexpr uint32_t kMostParts = 65536;
  static constexpr uint32_t kMostDepth = 64;

  enum class Outcome {
    kSolid,       // drawn as the boolean says
    kOpenPart,    // drawn as a union: a part is not closed
    kOverBudget,  // drawn as a union: too large
  };

  // Whether a solid is open, and whether its surfaces are being kept
  // (not once it is drawn as a union).
  bool open() const { return !open_.empty(); }
  bool collecting() const { return open() && !asUnion_; }
  // Set once the solid is drawn as a union because it is too large.
  bool overBudget() const { return asUnion_; }

  // SolidBegin.  The first opens a solid over the buffer's grid, where a
  // surface faces the eye when it winds positively if `positiveFacesEye`.
  // Inside a primitive, an operation adds nothing: its surfaces belong to
  // the primitive (returns false).
  bool begin(CsgTree::Operation operation, SampleBuffer &buffer, bool positiveFacesEye);
  // A SolidBegin that adds nothing to the open solid (one inside an
  // object definition), to be ended all the same.
  void nest() { open_.push_back(open_.back()); }
  // SolidEnd; true when it ends the outermost solid (then call finish()).
  bool end();

  // Before a surface of the solid is drawn: where to draw it.  A surface
  // directly inside an operation is a primitive of its own.  Null when
  // the solid is drawn as a union: the surface is drawn as any other.
  // `cut`: the near or far plane or a clipping plane cuts the surface.
  SolidFragments *beginSurface(SampleBuffer &buffer, bool leftHanded, bool twoSided, bool cut);
  // After it: false when the surface broke the budget; the solid is then
  // drawn as a union, without that surface, which must be drawn again.
  bool endSurface(SampleBuffer &buffer);

  // Draws the solid into `buffer` and forgets it.
  Outcome finish(SampleBuffer &buffer);
  // Forgets the solid and gives back the memory.
  void release();

 private:
  // The fragments of one sample in the order they were added.
  void gather(uint32_t sample, std::vector<uint32_t> &out) const;
  bool hasOpenPart();
  void draw(SampleBuffer &buffer, uint32_t sample, uint32_t fragment) const;
  void drawBoolean(SampleBuffer &buffer);
  void drawUnion(SampleBuffer &buffer, size_t before);
  void giveUp(SampleBuffer &buffer, size_t keep);

  CsgTree tree_;
  std::vector<bool> cut_;        // by node
  std::vector<uint32_t> open_;   // the node of each open SolidBegin
  SolidFragments fragments_;
  size_t surfaceStart_ = 0;      // the fragments before the surface being drawn
  bool asUnion_ = false;
  bool positiveFacesEye_ = true;
};

// Whether a mesh reaches past the near or far plane or a clipping plane.
bool meshIsCut(const float *P, size_t vertices, const Mat4 &toCamera, const Projection &projection,
               const std::vector<ClipPlane> *clipPlanes);

}  // namespace vellum::preview

#endif
