// Non-uniform rational B-spline patches.
#include <algorithm>
#include <cmath>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/grid_surface.h"
#include "preview/surfaces/knot_vector.h"

namespace vellum::preview {

namespace {

CornerColors nurbsColors(const ColorParam &param, int64_t across, int64_t down) {
  if (!param.present()) return {};
  if (param.storageClass == kClassConstant || param.storageClass == kClassUniform)
    return CornerColors::uniform(param.at(0));
  // The whole patch blends between the corner values (a preview's
  // shortcut: inner values are not used).
  return {true, {param.at(0), param.at(across - 1), param.at((down - 1) * across), param.at(down * across - 1)}};
}

}  // namespace

RtVoid PreviewContext::NuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                                RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, RtInt n, RtToken tokens[],
                                RtPointer parms[]) {
  if (!takesGeometry()) return;
  KnotVector u{nu, uorder, uknot, umin, umax}, v{nv, vorder, vknot, vmin, vmax};
  if (!u.usable() || !v.usable()) {
    warnOnce("nupatch knots", "a NuPatch with unusable orders or knots is skipped");
    return;
  }
  const PrimitiveCounts counts = nuPatchCounts(nu, uorder, nv, vorder);
  if (double(nu) * nv > 4e7) return;
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  noteUndeclared(parameters);
  const Parameter *pw = parameters.findFloats("Pw", kTypeHPoint);
  const Parameter *p = pw == nullptr ? parameters.findFloats("P", kTypePoint) : nullptr;
  if (pw == nullptr && p == nullptr) {
    warnNoPositions();
    return;
  }
  const int stride = pw != nullptr ? 4 : 3;
  const float *points = pw != nullptr ? pw->floats() : p->floats();
  const int su = std::clamp((nu - uorder + 1) * 4, 4, 96), sv = std::clamp((nv - vorder + 1) * 4, 4, 96);
  auto eval = [&](float s, float t) {
    float bu[kMaxOrder], bv[kMaxOrder];
    const int iu = u.evaluate(u.lo + s * (u.hi - u.lo), bu), iv = v.evaluate(v.lo + t * (v.hi - v.lo), bv);
    double sum[4] = {0, 0, 0, 0};
    for (int j = 0; j < vorder; ++j)
      for (int i = 0; i < uorder; ++i) {
        const float *c = points + (size_t(iv + j) * size_t(nu) + size_t(iu + i)) * size_t(stride);
        const double weight = double(bu[i]) * bv[j];
        for (int k = 0; k < 3; ++k) sum[k] += weight * c[k];
        sum[3] += weight * (stride == 4 ? c[3] : 1.0f);
      }
    return Vec3{float(sum[0] / sum[3]), float(sum[1] / sum[3]), float(sum[2] / sum[3])};
  };
  const int64_t across = nu - uorder + 2, down = nv - vorder + 2;
  Mesh mesh;
  appendGrid(mesh, su, sv, eval, nurbsColors(colorParam(parameters, "Cs"), across, down),
             nurbsColors(colorParam(parameters, "Os"), across, down));
  if (attributes().trim) trimNuPatch(mesh, su, sv, u.lo, u.hi - u.lo, v.lo, v.hi - v.lo);
  emit(std::move(mesh));
}

}  // namespace vellum::preview
