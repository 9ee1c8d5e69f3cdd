// Bilinear and bicubic patches and patch meshes, in the current basis.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/param_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"
#include "preview/surfaces/grid_surface.h"

namespace vellum::preview {

namespace {

// Tessellated vertices of one patch mesh are kept near this many.
constexpr double kGridBudget = 300000;

// The weights of the four control points at t: [t³ t² t 1] · basis.
void basisWeights(const float basis[4][4], float t, float w[4]) {
  const float powers[4] = {t * t * t, t * t, t, 1};
  for (int k = 0; k < 4; ++k) w[k] = powers[0] * basis[0][k] + powers[1] * basis[1][k] + powers[2] * basis[2][k] + powers[3] * basis[3][k];
}

// Control points as positions: "P" or "Pw" as given, or "Pz" heights over
// a unit square spanned by the mesh.
bool controlPoints(const Parameters &parameters, int64_t nu, int64_t nv, std::vector<Vec3> &out) {
  std::vector<float> scratch;
  const size_t count = size_t(nu * nv);
  out.resize(count);
  if (const float *p = parameters.positions(scratch)) {
    for (size_t i = 0; i < count; ++i) out[i] = {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
    return true;
  }
  const Parameter *pz = parameters.findFloats("Pz", kTypeFloat);
  if (pz == nullptr) return false;
  for (int64_t j = 0; j < nv; ++j)
    for (int64_t i = 0; i < nu; ++i)
      out[size_t(j * nu + i)] = {nu > 1 ? float(i) / float(nu - 1) : 0.0f, nv > 1 ? float(j) / float(nv - 1) : 0.0f,
                                 pz->floats()[j * nu + i]};
  return true;
}

struct MeshShape {
  bool bicubic;
  int64_t nu, nv;
  bool uPeriodic, vPeriodic;
  int uStep, vStep;
  int64_t uPatches, vPatches;
};

CornerColors patchColors(const ColorParam &param, const MeshShape &s, int64_t pu, int64_t pv) {
  if (!param.present()) return {};
  switch (param.storageClass) {
    case kClassConstant: return CornerColors::uniform(param.at(0));
    case kClassUniform: return CornerColors::uniform(param.at(pv * s.uPatches + pu));
    case kClassVertex: {
      // Blended between the patch's corner control points.
      const int64_t u0 = s.bicubic ? pu * s.uStep : pu, v0 = s.bicubic ? pv * s.vStep : pv;
      const int64_t u1 = (u0 + (s.bicubic ? 3 : 1)) % s.nu, v1 = (v0 + (s.bicubic ? 3 : 1)) % s.nv;
      return {true, {param.at(v0 * s.nu + u0), param.at(v0 * s.nu + u1), param.at(v1 * s.nu + u0), param.at(v1 * s.nu + u1)}};
    }
    default: {  // varying and facevarying: a value at every patch corner
      const int64_t uv = s.uPatches + (s.uPeriodic ? 0 : 1), vv = s.vPatches + (s.vPeriodic ? 0 : 1);
      const int64_t u1 = (pu + 1) % uv, v1 = (pv + 1) % vv;
      return {true, {param.at(pv * uv + pu), param.at(pv * uv + u1), param.at(v1 * uv + pu), param.at(v1 * uv + u1)}};
    }
  }
}

}  // namespace

RtVoid PreviewContext::PatchV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const bool bicubic = type != nullptr && std::strcmp(type, "bicubic") == 0;
  const int size = bicubic ? 4 : 2;
  if (type == nullptr || (!bicubic && std::strcmp(type, "bilinear") != 0)) {
    warnOnce("patch type", "a patch type other than bilinear or bicubic is skipped");
    return;
  }
  // A single patch is a mesh of one, whatever the basis steps.
  patchMesh(type, size, const_cast<char *>("nonperiodic"), size, const_cast<char *>("nonperiodic"), 1, 1, n, tokens,
            parms);
}

RtVoid PreviewContext::PatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, RtInt n,
                                  RtToken tokens[], RtPointer parms[]) {
  patchMesh(type, nu, uwrap, nv, vwrap, attributes().uStep, attributes().vStep, n, tokens, parms);
}

void PreviewContext::patchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, int uStep, int vStep,
                               RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || type == nullptr) return;
  Mesh mesh;
  if (appendPatchMesh(mesh, type, nu, uwrap, nv, vwrap, uStep, vStep, attributes().uBasis, attributes().vBasis, n,
                      tokens, parms))
    emit(std::move(mesh));
}

bool PreviewContext::appendPatchMesh(Mesh &mesh, RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap,
                                     int uStep, int vStep, const float uBasis[4][4], const float vBasis[4][4], RtInt n,
                                     RtToken tokens[], RtPointer parms[]) {
  const bool bicubic = std::strcmp(type, "bicubic") == 0;
  if (!bicubic && std::strcmp(type, "bilinear") != 0) {
    warnOnce("patch type", "a patch type other than bilinear or bicubic is skipped");
    return false;
  }
  MeshShape s{bicubic, nu, nv, uwrap != nullptr && std::strcmp(uwrap, "periodic") == 0,
              vwrap != nullptr && std::strcmp(vwrap, "periodic") == 0, uStep, vStep, 0, 0};
  bool stepUsable = false;
  const PrimitiveCounts counts = patchMeshCounts(bicubic, nu, s.uPeriodic, nv, s.vPeriodic, s.uStep, s.vStep, &stepUsable);
  if (!stepUsable || counts.uniform <= 0 || nu <= 0 || nv <= 0) return false;
  s.uPatches = bicubic ? (s.uPeriodic ? nu / s.uStep : (nu - 4) / s.uStep + 1) : (s.uPeriodic ? nu : nu - 1);
  s.vPatches = bicubic ? (s.vPeriodic ? nv / s.vStep : (nv - 4) / s.vStep + 1) : (s.vPeriodic ? nv : nv - 1);
  if (s.uPatches <= 0 || s.vPatches <= 0) return false;
  // Sizes are checked before anything is allocated for them.
  const double patches = double(s.uPatches) * double(s.vPatches);
  if (patches > 1e6 || tooManyValues(counts)) {
    warnOnce("huge patch mesh", "a patch mesh too large to preview is skipped");
    return false;
  }
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  noteUndeclared(parameters);
  std::vector<Vec3> points;
  if (!controlPoints(parameters, nu, nv, points)) {
    warnNoPositions();
    return false;
  }
  const ColorParam cs = colorParam(parameters, "Cs"), os = colorParam(parameters, "Os");
  const int segments = std::clamp(int(std::sqrt(kGridBudget / patches)) - 1, 1, bicubic ? 12 : 4);
  for (int64_t pv = 0; pv < s.vPatches; ++pv)
    for (int64_t pu = 0; pu < s.uPatches; ++pu) {
      auto eval = [&](float u, float v) {
        if (!bicubic) {
          const int64_t u1 = (pu + 1) % nu, v1 = (pv + 1) % nv;
          const Vec3 a = points[size_t(pv * nu + pu)], b = points[size_t(pv * nu + u1)];
          const Vec3 c = points[size_t(v1 * nu + pu)], d = points[size_t(v1 * nu + u1)];
          return (a * (1 - u) + b * u) * (1 - v) + (c * (1 - u) + d * u) * v;
        }
        float wu[4], wv[4];
        basisWeights(uBasis, u, wu);
        basisWeights(vBasis, v, wv);
        Vec3 sum;
        for (int j = 0; j < 4; ++j) {
          const int64_t row = (pv * s.vStep + j) % nv;
          for (int i = 0; i < 4; ++i) sum = sum + points[size_t(row * nu + (pu * s.uStep + i) % nu)] * (wu[i] * wv[j]);
        }
        return sum;
      };
      appendGrid(mesh, segments, segments, eval, patchColors(cs, s, pu, pv), patchColors(os, s, pu, pv));
    }
  return true;
}

}  // namespace vellum::preview
