// Drawing a solid (SolidBegin ... SolidEnd) as the boolean of its parts.
//
// While a solid is open its surfaces are not drawn but kept sample by
// sample (SolidFragments), each sample knowing which primitive solid it
// belongs to.  When the outermost solid ends, each sample's surfaces are
// walked front to back through the solid's tree (CsgTree), and a surface
// is drawn where the whole solid begins, or, seen from within it, where it
// ends if that surface is two-sided; a transparent one lets the next show
// through.
//
// Inside and outside are told by parity, as a ray tracer counts
// crossings: along a ray, each surface of a primitive takes the ray into
// it or out of it, whichever way the surface faces, so that the pieces of
// a primitive (a cylinder and the disks that cap it) need not face
// alike.  With the eye outside every primitive, a closed one is crossed an
// even number of times along the whole ray; where it is crossed an odd
// number of times the near plane or a clipping plane has cut it open, the
// ray starts inside it, and the solid shows its inside as a surface would.
// A primitive that is crossed an odd number of times although nothing
// cuts it (a few samples on seams aside) does not close a volume: the
// whole solid is then drawn as a union.  So is a solid too large to keep
// (SolidFragments' budget, more than kMostParts primitives or a nesting
// deeper than kMostDepth), from the surface that breaks the budget on.
#ifndef VELLUM_PREVIEW_RASTER_SOLID_DRAWING_H
#define VELLUM_PREVIEW_RASTER_SOLID_DRAWING_H

#include <cstdint>
#include <functional>
#include <string>
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
  // surface faces the eye when it winds positively if `positiveFacesEye`
  // (which only a solid drawn as a union needs).  Inside a primitive, an
  // operation adds nothing: its surfaces belong to the primitive (returns
  // false).
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
  // `name` tells what the surface is and where it was given, for a part
  // it begins.
  SolidFragments *beginSurface(SampleBuffer &buffer, bool leftHanded, bool twoSided, bool cut,
                               const std::function<std::string()> &name);
  // After it: false when the surface broke the budget; the solid is then
  // drawn as a union, without that surface, which must be drawn again.
  bool endSurface(SampleBuffer &buffer);

  // Draws the solid into `buffer` and forgets it.
  Outcome finish(SampleBuffer &buffer);
  // After finish() gave kOpenPart: the name of the first part that is not
  // closed, as beginSurface() was told it ("" if none was).
  const std::string &openPartName() const { return openPartName_; }
  // Forgets the solid and gives back the memory.
  void release();

 private:
  // The fragments of one sample in the order they were added.
  void gather(uint32_t sample, std::vector<uint32_t> &out) const;
  // The first part crossed an odd number of times along too many rays,
  // or kNoPart.
  uint32_t openPart();
  static constexpr uint32_t kNoPart = UINT32_MAX;
  void draw(SampleBuffer &buffer, uint32_t sample, uint32_t fragment) const;
  void drawBoolean(SampleBuffer &buffer);
  void drawUnion(SampleBuffer &buffer, size_t before);
  void giveUp(SampleBuffer &buffer, size_t keep);

  CsgTree tree_;
  std::vector<bool> cut_;        // by node
  std::vector<std::string> names_;  // by node: a part's first surface
  std::string openPartName_;
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
