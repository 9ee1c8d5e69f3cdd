// Blobbies: the surface where their field is 0.5, polygonized.
#include "common/param_counts.h"
#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/blobby_field.h"
#include "preview/surfaces/blobby_surface.h"

namespace vellum::preview {

namespace {

// Evaluating the field is far cheaper than drawing a triangle: this many
// evaluations cost one unit of drawing work.
constexpr uint64_t kEvaluationsPerUnit = 64;

}  // namespace

RtVoid PreviewContext::BlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt, RtToken[],
                               RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || nleaf < 0 || ncode <= 0 || code == nullptr) return;
  const BlobbyField field(ncode, code, nflt, flt);
  if (field.hasRepellers()) warnOnce("blobby repellers", "Blobby repelling planes skipped");
  if (field.hasPlugins()) warnOnce("blobby plug-ins", "Blobby plug-in fields skipped");
  const PrimitiveCounts counts = blobbyPrimitiveCounts(nleaf);
  if (tooManyValues(counts)) return;
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  noteUndeclared(parameters);
  BlobbySurface surface = blobbySurface(field, colorParam(parameters, "Cs"), colorParam(parameters, "Os"));
  if (surface.tooComplex) warnOnce("complex blobby", "a blobby too complex to preview is skipped");
  // The field's work is paid for as drawing is, and inside an object from
  // what objects may hold too.
  const uint64_t units = surface.work / kEvaluationsPerUnit;
  if (recording_ != 0 ? !record(units) : !charge(WorkMeter::kDrawing, units)) return;
  emit(std::move(surface.mesh));
}

}  // namespace vellum::preview
