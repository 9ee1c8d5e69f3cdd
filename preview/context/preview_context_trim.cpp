// Trim curves: TrimCurve and Attribute "trimcurve" "sense" set them, and
// NuPatches are cut by them as they are tessellated.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "preview/context/parameters.h"
#include "preview/preview_context.h"
#include "preview/surfaces/trimmed_grid.h"

namespace vellum::preview {

namespace {

// The most triangles a trimmed patch becomes, its pieces staying larger
// past this.
constexpr uint64_t kMaxTrimTriangles = 1 << 19;
// Edges looked at by the trim tests that cost one unit of drawing work.
constexpr uint64_t kTrimTestsPerUnit = 64;
// How fine splitting goes: pieces of this fraction of the patch's
// parameter range, unless they are a sample across first (or, in an
// object definition, where there are no samples, at most).
constexpr int kFinestOnScreen = 4096, kFinestInObject = 512;

int depthFor(int finest, int cells) {
  int depth = 0;
  while (depth < 16 && (int64_t(cells) << depth) < finest) ++depth;
  return depth;
}

}  // namespace

RtVoid PreviewContext::TrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat min[],
                                 RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[], RtFloat w[]) {
  if (!firstInMotion()) return;
  TrimRegion::Built built = TrimRegion::build({nloops, ncurves, order, knot, min, max, n, u, v, w});
  if (!built.warning.empty()) warnOnce(built.warningKind, built.warning);
  editAttributes(0).trim = std::move(built.region);
}

RtVoid PreviewContext::AttributeV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  // Of the attributes renderers define, only the trim curves' sense changes
  // what the preview draws; the others pass quietly.
  if (name == nullptr || std::strcmp(name, "trimcurve") != 0 || !firstInMotion()) return;
  const Parameters parameters(declarations_, n, tokens, parms, nullptr);
  const Parameter *sense = parameters.find("sense");
  if (sense == nullptr || sense->type != kTypeString || sense->count < 1 || sense->strings()[0] == nullptr) return;
  const std::string value = sense->strings()[0];
  if (value == "inside" || value == "outside") editAttributes(0).trimKeepsOutside = value == "outside";
  else warnOnce("trim sense " + value, "Attribute \"trimcurve\" \"sense\" \"" + value + "\" is not \"inside\" or \"outside\": ignored");
}

void PreviewContext::trimNuPatch(Mesh &mesh, int nu, int nv, float u0, float du, float v0, float dv) {
  // (Held where the tests it allows, and one more, can still be counted.)
  uint64_t left = std::min(meter().left(WorkMeter::kDrawing), UINT64_MAX / kTrimTestsPerUnit - 1);
  if (recording_ != 0) left = std::min(left, objectBudget_ - std::min(objectBudget_, recordedTriangles_));
  GridTrim trim{attributes().trim.get(), u0, du, v0, dv, attributes().trimKeepsOutside, 0,
                std::min(kMaxTrimTriangles, left), left * kTrimTestsPerUnit, {}};
  trim.maxDepth = depthFor(recording_ != 0 ? kFinestInObject : kFinestOnScreen, std::min(nu, nv));
  if (recording_ == 0 && projection_) {
    // A sample across rather than a pixel: pieces kept or dropped whole
    // then leave the edge as smooth as sampling makes it.
    trim.smallEnough = [toCamera = transform(), &projection = *projection_](Vec3 a, Vec3 b, Vec3 c) {
      float x[3], y[3];
      int k = 0;
      for (Vec3 p : {a, b, c}) {
        const Vec3 q = transformPoint(toCamera, p);
        if (projection.perspective() && !(q.z > projection.hither())) return false;
        x[k] = projection.sampleX(q);
        y[k++] = projection.sampleY(q);
      }
      return std::max({x[0], x[1], x[2]}) - std::min({x[0], x[1], x[2]}) <= 1 &&
             std::max({y[0], y[1], y[2]}) - std::min({y[0], y[1], y[2]}) <= 1;
    };
  }
  const TrimOutcome outcome = trimGrid(mesh, nu, nv, trim);
  // The tests are paid for as drawing is; past what was left the rest of
  // the patch was left undecided, and charging more than was left says so.
  const uint64_t cost = outcome.cutShort ? left + 1 : outcome.work / kTrimTestsPerUnit;
  if (recording_ != 0) record(cost);
  else charge(WorkMeter::kDrawing, cost);
}

}  // namespace vellum::preview
