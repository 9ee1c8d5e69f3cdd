// PreviewContext: a rendering context that draws what its requests
// describe into an RGBA picture with a z-buffer, so that a RIB stream can
// be looked at without a renderer.  Geometry is tessellated into
// triangles, shaded per vertex (or per facet without normals) by simple
// forms of the standard surfaces and lights, and sampled max(2, PixelSamples)
// times per axis.  Where light changes across a large facet (a point or
// spot light, a highlight) the facet is split into pieces a few pixels
// across, each corner shaded.  A picture is finished at every WorldEnd;
// see setOutput() and Display for where it goes.
//
// Drawn: all polygons, patches and patch meshes (bilinear and bicubic, any
// basis), NuPatch cut by the trim curve in force (trimmed_grid.h), the
// seven quadrics, subdivision meshes as their limit surface by OpenSubdiv
// (Catmull-Clark, Loop, bilinear, with their tags; edits of finer levels
// are not made), or as their control polygons in a build without it,
// blobbies (their surface at field 0.5, polygonized), volumes (box,
// ellipsoid, cylinder, cone: their surface), curves (ribbons), points
// (discs) and the teapot (Geometry "teapot"), and object instances with
// the attributes their definitions set, all cut by the clipping planes in
// force.  Solids are drawn as the
// boolean of their parts, sample by sample (solid_drawing.h); one with a
// part that is not closed, or too large to keep, as their union, with a
// warning.  Of a model's levels of detail (Detail, DetailRange) one is
// drawn.  Lights shine by the words in their names, in any case
// (light_names.h): LightSource's as ambient, distant, point or spot
// lights, plug-in lights (Light) as ambient, distant or point lights that
// light the rest of their world whatever block they are in (Illuminate
// switches any light within a block); a Bxdf shades as matte in the
// colour it names.  Scoped coordinate systems
// and saved attributes (Resource) are followed.  Skipped, with one
// warning each: other Geometry, plug-in volumes, procedurals and archives
// (a reader that follows archives hands on their requests instead),
// LightSources whose names say none of those words.
//
// Drawing is bounded whatever the stream: all it costs is charged to a
// work meter (common/work_meter.h), the caller's (setWorkMeter) or the
// context's own.  Its drawing account takes triangles drawn, each counted
// once per light, and triangles kept in object definitions, plus a little
// per primitive and per instance, a blobby's field evaluations and a
// trimmed patch's trim tests; splitting facets spends at most half of the
// account.  Its samples account takes each picture's samples, for clearing
// and resolving it, when its world begins, and each triangle the samples
// it covers on the grid (the box the rasterizer walks, cut to the grid)
// before it is drawn, a solid's surfaces too.  Once the meter is spent
// nothing more is tessellated or drawn, and the picture is finished at
// WorldEnd (or finishOpenWorld) with what was drawn; a picture the meter
// cannot pay for is neither drawn nor written.  Object definitions besides
// keep at most kObjectBudget triangles in all (with the attributes they
// set), and a solid keeps what it needs of its surfaces within a budget of
// its own.  A deep stack of blocks costs a pointer a level: levels share
// what they do not change.
#ifndef VELLUM_PREVIEW_PREVIEW_CONTEXT_H
#define VELLUM_PREVIEW_PREVIEW_CONTEXT_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/work_meter.h"
#include "decl/declaration_dictionary.h"
#include "preview/context/copy_on_write.h"
#include "preview/context/graphics_state.h"
#include "preview/image/image.h"
#include "preview/raster/camera.h"
#include "preview/raster/facing_geometry.h"
#include "preview/raster/mesh_drawer.h"
#include "preview/raster/sample_buffer.h"
#include "preview/raster/solid_drawing.h"
#include "preview/surfaces/mesh.h"
#include "ri/null_context.h"

namespace vellum::preview {

class Parameters;

class PreviewContext : public NullContext {
 public:
  using WarningHandler = std::function<void(const std::string &message)>;

  PreviewContext();
  ~PreviewContext() override;

  // Where finished pictures go as PNG files.  A "%d" in the pattern is
  // replaced by the frame number (FrameBegin's, or the count of pictures
  // without frames) and every picture is written; without "%d" only the
  // first picture is.  Empty (the default): no file but Display's.
  void setOutput(const std::string &pattern) { output_ = pattern; }

  // Receives warnings (skipped requests, clamped options, failed writes),
  // each kind once; failed writes every time.  Default: standard error.
  void setWarningHandler(WarningHandler handler) { warn_ = std::move(handler); }
  // Tells what the request being given is and where it was read, such as
  // "Disk at scene.rib:12", for the warnings that name a part of the
  // scene (a part of a solid that does not close a volume).  Asked only
  // when such a warning may come.
  using PlaceOfRequest = std::function<std::string()>;
  void setPlaceOfRequest(PlaceOfRequest place) { placeOfRequest_ = std::move(place); }

  // Whether the pictures that Display requests of type "file" or "png"
  // name (ending in ".png") are written too.  Off by default: a stream
  // does not choose where files are written unless its user says so.
  void setWriteDisplays(bool on) { writeDisplays_ = on; }

  // The meter that drawing is charged to (see above), kept alive by the
  // caller, who reports it once it is spent: the context then says nothing
  // of it.  Give it again when it is reset.  Null, or never given: the
  // context's own meter, with WorkMeter's default limits, for all that the
  // context is given; it warns once when it is spent.
  void setWorkMeter(WorkMeter *meter);
  // Starts the context's own meter afresh, its drawing account limited to
  // `units` (its other limits the default ones).
  void setDrawingBudget(uint64_t units);
  // The most triangles that object definitions keep in all.
  static constexpr uint64_t kObjectBudget = 10'000'000;
  void setObjectBudget(uint64_t triangles) { objectBudget_ = triangles; }

  // When on, a world whose picture would go nowhere (no output file for
  // it and no PNG Display) is not drawn: the context then only follows
  // the stream, at little cost.
  void setDrawOnlyWithDestination(bool on) { drawOnlyWithDestination_ = on; }
  // The most pixels a picture may have (a larger Format is scaled down
  // whole); by default 4096 × 4096.
  void setPictureLimit(double pixels) { options_.largestPicture = pixels; }

  // When a world is still open (the stream ended inside it, or was ended
  // there when its meter was spent), finishes its picture as WorldEnd
  // would, with what was drawn, and writes it where WorldEnd would;
  // nothing otherwise.  For the end of each input.
  void finishOpenWorld();

  // The most recent finished picture (empty before the first WorldEnd).
  const Image &lastPicture() const { return picture_; }
  int picturesFinished() const { return pictures_; }
  // Files written so far, and the last write failure ("" if none).
  const std::vector<std::string> &writtenFiles() const { return written_; }
  const std::string &lastWriteError() const { return writeError_; }

  // The operations the request list says the preview acts on or skips.
#define VELLUM_PREVIEW_OVERRIDES_ACTS(Name, form, R, Params, Args)                                          \
  VELLUM_SLOTS(form, VELLUM_OVERRIDE_OP, VELLUM_OVERRIDE_LIST_OP, VELLUM_INHERITED_OP, VELLUM_INHERITED_OP, R, \
               Name, Params, Args)
#define VELLUM_PREVIEW_OVERRIDES_SKIPS VELLUM_PREVIEW_OVERRIDES_ACTS
#define VELLUM_PREVIEW_OVERRIDES_IGNORES(...)
#define VELLUM_PREVIEW_OVERRIDES(Name, form, R, Params, Args, operands, counts, check, flags, entry, text, \
                                 replay, preview)                                                           \
  VELLUM_PREVIEW_OVERRIDES_##preview(Name, form, R, Params, Args)
  VELLUM_REQUESTS(VELLUM_PREVIEW_OVERRIDES)
#undef VELLUM_PREVIEW_OVERRIDES

 private:
  const Attributes &attributes() const { return state_->attributes; }
  // The attributes to change, noting the groups that the change sets.
  Attributes &editAttributes(uint32_t groups) {
    Attributes &attributes = state_.edit().attributes;
    attributes.setInObject |= groups;
    attributes.edit = ++attributeEdits_;
    return attributes;
  }
  const Mat4 &transform() const { return state_->transform; }
  void setTransform(const Mat4 &m) { state_.edit().transform = m; }
  // Turns a light on or off, noting the change so that AttributeEnd can
  // undo it.
  void setLight(uint32_t number, bool on);
  // Keeps a new light, on; `known` lights take the headlight's place.
  // A `worldwide` one made in a world stays on to the world's end,
  // whatever blocks end before (Illuminate still switches it in a block).
  RtLightHandle addLight(const preview::Light &light, bool known, bool worldwide = false);
  WorkMeter &meter() { return givenMeter_ != nullptr ? *givenMeter_ : ownMeter_; }
  // Charges `amount` to an account of the meter; false, once the meter is
  // spent.
  bool charge(WorkMeter::Account account, uint64_t amount);
  // Warns, once, that the context's own meter is spent.
  void noteSpent();

  // One piece of a recorded object: a mesh, a facing set or an instance
  // of an earlier object, with the transform it had inside the object and
  // the attributes the definition set (null: none).
  struct RecordedItem {
    Mat4 transform;
    std::shared_ptr<const Mesh> mesh;
    std::shared_ptr<const FacingGeometry> facing;
    size_t instanceOf = 0;
    std::shared_ptr<const Attributes> attributes;
  };
  struct DisplayTarget {
    std::string name, type;
  };

  void warnOnce(const std::string &kind, const std::string &message);
  // "Name skipped", once: a request the preview cannot draw.
  void warnSkipped(const char *name);
  // False, for a request that draws or changes state, when it is not the
  // first of a motion block (only the first time sample is used).
  bool firstInMotion();
  // True when geometry can go somewhere: inside a world or an object, and
  // in a world, unless `ofDetail` is false, at a level of detail drawn.
  bool takesGeometry(bool ofDetail = true);
  // Whether the level of detail of these attributes is drawn.
  bool detailShows(const Attributes &attributes) const;
  bool mayDraw() const;
  void emit(Mesh &&mesh);
  void emitFacing(FacingGeometry &&geometry);
  void draw(const MeshView &mesh, const Mat4 &toCamera, const Attributes &attributes);
  void drawFacing(const FacingGeometry &geometry, const Mat4 &toCamera, const Attributes &attributes);
  // `placedAt`: the attributes where the object is placed.
  void drawObject(size_t object, const Mat4 &toCamera, const Attributes &placedAt, int depth);
  // Keeps a piece of the object being defined, with what it needs of the
  // attributes.
  void recordItem(RecordedItem &&item);
  // A surface of the solid being drawn, giving the triangles drawn; the
  // solid once it is whole.
  uint64_t drawSolidSurface(const MeshView &mesh, const DrawState &state);
  void finishSolid();
  void finishPicture();
  // Whether the picture of the world now beginning will be written.
  bool pictureHasDestination() const;
  void writePicture(const std::string &path);
  void concat(const Mat4 &m);
  void noteUndeclared(const Parameters &parameters);
  void warnNoPositions();
  // Notes undeclared names, then gives the primitive's points as xyz
  // triples, or warns and gives null when it has none to draw.
  const float *positionsOrSkip(const Parameters &parameters, std::vector<float> &scratch);

  // Keeps `triangles` more in object definitions, charging them to the
  // drawing account; false, after one warning, once they hold
  // kObjectBudget, or once the meter is spent.
  bool record(uint64_t triangles);
  // A patch mesh with the given basis steps (1 and 1 for a single patch).
  void patchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, int uStep, int vStep, RtInt n,
                 RtToken tokens[], RtPointer parms[]);
  // Its tessellation in the bases given, added to `mesh`; false when it
  // has nothing to draw.
  bool appendPatchMesh(Mesh &mesh, RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, int uStep,
                       int vStep, const float uBasis[4][4], const float vBasis[4][4], RtInt n, RtToken tokens[],
                       RtPointer parms[]);

  // The NuPatch grid `mesh` (nu × nv cells of appendGrid over s, t in
  // [0, 1], which are u0 + s·du, v0 + t·dv of the patch) cut by the trim
  // curve in force.
  void trimNuPatch(Mesh &mesh, int nu, int nv, float u0, float du, float v0, float dv);

  // SubdivisionMesh, and HierarchicalSubdivisionMesh with its strings.
  void subdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[], RtInt ntags,
                       RtToken tags[], RtInt nargs[], RtInt intargs[], RtFloat floatargs[], RtToken stringargs[],
                       bool hierarchical, RtInt n, RtToken tokens[], RtPointer parms[]);

  // Tessellation helpers shared by the geometry requests.
  void quadric(const std::function<Vec3(float u, float v)> &eval, float thetamax, int nv, RtInt n,
               RtToken tokens[], RtPointer parms[]);
  void polygonMesh(RtInt npolys, const RtInt *nloops, const RtInt *nvertices, const RtInt *vertices,
                   const PrimitiveCounts &counts, RtInt n, RtToken tokens[], RtPointer parms[]);

  DeclarationDictionary declarations_;
  WarningHandler warn_;
  PlaceOfRequest placeOfRequest_;
  std::string output_;
  bool writeDisplays_ = false;
  bool drawOnlyWithDestination_ = false;
  bool drawing_ = true;  // this world's picture goes somewhere
  std::set<std::string> warned_;

  CameraOptions options_;
  std::vector<CameraOptions> frameOptions_;
  std::vector<DisplayTarget> displays_;
  std::vector<std::vector<DisplayTarget>> frameDisplays_;
  int frameNumber_ = 0;
  bool inFrame_ = false;

  CopyOnWrite<GraphicsState> state_;
  Mat4 worldToCamera_;
  struct SavedState {
    CopyOnWrite<GraphicsState> state;
    size_t lightChanges, spaceChanges;  // the undo logs' lengths when saved
  };
  std::vector<SavedState> attributeStack_;
  std::vector<CopyOnWrite<GraphicsState>> transformStack_;
  // Named spaces: CoordinateSystem's for good, ScopedCoordinateSystem's to
  // the end of their block.  Of the two of a name, the later stands.
  struct NamedSpace {
    Mat4 toCamera;
    uint64_t order = 0;
  };
  void defineSpace(std::map<std::string, NamedSpace> &spaces, const std::string &name, const Mat4 &toCamera);
  const Mat4 *namedSpace(const std::string &name) const;  // or null
  std::map<std::string, NamedSpace> coordinateSystems_, scopedSystems_;
  std::vector<std::pair<std::string, std::optional<NamedSpace>>> spaceChanges_;  // (name, was), to undo
  uint64_t spacesNamed_ = 0;
  // Attributes saved by Resource, by handle: the stream's, then one map a
  // ResourceBegin level.
  std::vector<std::map<std::string, Attributes>> resources_;
  bool inMotion_ = false, motionUsed_ = false;

  std::vector<preview::Light> lights_;  // by handle number - 1
  std::set<uint32_t> lightsOn_;  // numbers
  std::vector<std::pair<uint32_t, bool>> lightChanges_;  // (number, was on), to undo
  std::vector<uint32_t> worldLights_;  // numbers of the worldwide lights of this world
  std::vector<preview::Light> active_;
  bool worldHasLights_ = false;

  std::vector<std::vector<RecordedItem>> objects_;  // by handle number - 1
  size_t recording_ = 0;                            // the object being defined, or 0
  uint64_t recordedTriangles_ = 0;
  uint64_t objectBudget_ = kObjectBudget;
  uint64_t attributeEdits_ = 0;
  std::shared_ptr<const Attributes> recordedAttributes_;  // the last kept, shared while unchanged

  WorkMeter ownMeter_;
  WorkMeter *givenMeter_ = nullptr;
  uint64_t splitWork_ = 0;  // of the meter's drawing account, by splitting facets to light them finely

  bool inWorld_ = false;
  size_t worldDepth_ = 0;        // the attribute levels outside the world
  bool solidGridCleared_ = false;  // this world's, for a solid
  std::unique_ptr<preview::Projection> projection_;
  SampleBuffer buffer_;
  MeshDrawer drawer_;
  SolidDrawing solid_;
  Image picture_;
  int pictures_ = 0;
  std::vector<std::string> written_;
  std::string writeError_;
};

}  // namespace vellum::preview

#endif
