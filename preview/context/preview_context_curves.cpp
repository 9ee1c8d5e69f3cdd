// Curves as ribbons and points as discs, both facing the camera.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/primitive_counts.h"
#include "preview/context/parameters.h"
#include "preview/context/primitive_colors.h"
#include "preview/preview_context.h"

namespace vellum::preview {

namespace {

constexpr int kSamplesPerSegment = 8;

// A per-curve quantity: `elements` values from `offset`, read at f in
// [0, 1] along the curve, blended linearly.
struct AlongCurve {
  const float *values;
  int stride;
  int64_t offset, elements;
  bool periodic;
  float at(double f, int component) const {
    if (elements <= 1) return values[offset * stride + component];
    const double x = periodic ? f * double(elements) : f * double(elements - 1);
    const int64_t i0 = std::clamp<int64_t>(int64_t(std::floor(x)), 0, elements - 1);
    const int64_t i1 = periodic ? (i0 + 1) % elements : std::min(i0 + 1, elements - 1);
    const float s = float(x - double(i0));
    return values[(offset + i0) * stride + component] * (1 - s) + values[(offset + i1) * stride + component] * s;
  }
};

}  // namespace

RtVoid PreviewContext::CurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n,
                               RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || type == nullptr || nvertices == nullptr || ncurves <= 0) return;
  const bool cubic = std::strcmp(type, "cubic") == 0;
  const bool periodic = wrap != nullptr && std::strcmp(wrap, "periodic") == 0;
  const int step = attributes().vStep;
  bool usable = false;
  const PrimitiveCounts counts = curvesCounts(cubic, periodic, ncurves, nvertices, step, &usable);
  if (!usable || counts.vertex <= 0) return;
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  std::vector<float> scratch;
  const float *positions = positionsOrSkip(parameters, scratch);
  if (positions == nullptr) return;
  const Parameter *width = parameters.findFloats("width", kTypeFloat);
  const float constantWidth = parameters.floatOr("constantwidth", 1);
  const ColorParam colors[2] = {colorParam(parameters, "Cs"), colorParam(parameters, "Os")};

  FacingGeometry g;
  for (int k = 0; k < 2; ++k) {
    const int cls = colors[k].storageClass;
    ColorSource &source = k == 0 ? g.csSource : g.osSource;
    if (colors[k].present())
      source = cls == kClassUniform ? ColorSource::kPerTriangle : ColorSource::kPerVertex;
  }
  int64_t vertexOffset = 0, varyingOffset = 0;
  for (RtInt c = 0; c < ncurves; ++c) {
    const int64_t nv = std::max<RtInt>(nvertices[c], 0);
    int64_t segments = 0, varying = nv;
    if (cubic) {
      segments = periodic ? nv / step : (nv >= 4 ? (nv - 4) / step + 1 : 0);
      varying = periodic ? segments : std::max<int64_t>((nv - 4) / step + 2, 0);
    } else {
      segments = periodic ? nv : nv - 1;
    }
    const size_t start = g.centres.size();
    auto addPoint = [&](Vec3 p, double f) {
      g.centres.push_back(p);
      auto read = [&](const Parameter *param, int cls, int stride, int component) {
        const bool vertexClass = cls == kClassVertex;
        AlongCurve along{param->floats(), stride, vertexClass ? vertexOffset : varyingOffset, vertexClass ? nv : varying,
                         periodic};
        return along.at(f, component);
      };
      g.widths.push_back(width != nullptr && width->storageClass != kClassConstant && width->storageClass != kClassUniform
                             ? read(width, width->storageClass, 1, 0)
                             : width != nullptr ? width->floats()[width->storageClass == kClassUniform ? c : 0]
                                                : constantWidth);
      for (int k = 0; k < 2; ++k) {
        if (!colors[k].present()) continue;
        std::vector<Vec3> &target = k == 0 ? g.cs : g.os;
        const int cls = colors[k].storageClass;
        if (cls == kClassUniform) continue;
        if (cls == kClassConstant) {
          target.push_back(colors[k].at(0));
        } else {
          const bool vertexClass = cls == kClassVertex;
          AlongCurve along{colors[k].values, 3, vertexClass ? vertexOffset : varyingOffset,
                           vertexClass ? nv : varying, periodic};
          target.push_back({along.at(f, 0), along.at(f, 1), along.at(f, 2)});
        }
      }
    };
    auto point = [&](int64_t i) {
      const float *p = positions + 3 * (vertexOffset + i % nv);
      return Vec3{p[0], p[1], p[2]};
    };
    if (segments > 0) {
      if (!cubic) {
        for (int64_t i = 0; i <= segments; ++i) addPoint(point(i), double(i) / double(segments));
      } else {
        const auto &basis = attributes().vBasis;
        for (int64_t s = 0; s < segments; ++s)
          for (int k = s == 0 ? 0 : 1; k <= kSamplesPerSegment; ++k) {
            const float t = float(k) / kSamplesPerSegment;
            const float powers[4] = {t * t * t, t * t, t, 1};
            Vec3 sum;
            for (int i = 0; i < 4; ++i) {
              const float w = powers[0] * basis[0][i] + powers[1] * basis[1][i] + powers[2] * basis[2][i] + basis[3][i];
              sum = sum + point(s * step + i) * w;
            }
            addPoint(sum, (double(s) + t) / double(segments));
          }
      }
      g.lineLengths.push_back(uint32_t(g.centres.size() - start));
      for (int k = 0; k < 2; ++k)
        if (colors[k].present() && colors[k].storageClass == kClassUniform) (k == 0 ? g.cs : g.os).push_back(colors[k].at(c));
    }
    vertexOffset += nv;
    varyingOffset += varying;
  }
  // Uniform colours are listed per drawn line, so curves without segments
  // are already left out of them.
  emitFacing(std::move(g));
}

RtVoid PreviewContext::PointsV(RtInt npoints, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!takesGeometry() || npoints <= 0) return;
  const PrimitiveCounts counts = polygonCounts(npoints);
  Parameters parameters(declarations_, n, tokens, parms, &counts);
  std::vector<float> scratch;
  const float *positions = positionsOrSkip(parameters, scratch);
  if (positions == nullptr) return;
  const Parameter *width = parameters.findFloats("width", kTypeFloat);
  const bool widthPerPoint = width != nullptr && (width->storageClass == kClassVarying || width->storageClass == kClassVertex);
  const float constantWidth = width != nullptr && !widthPerPoint ? width->floats()[0] : parameters.floatOr("constantwidth", 1);
  const ColorParam cs = colorParam(parameters, "Cs"), os = colorParam(parameters, "Os");
  FacingGeometry g;
  g.discs = true;
  if (cs.present()) g.csSource = ColorSource::kPerVertex;
  if (os.present()) g.osSource = ColorSource::kPerVertex;
  auto perPoint = [](const ColorParam &param, int64_t i) {
    return param.storageClass == kClassVarying || param.storageClass == kClassVertex ||
                   param.storageClass == kClassFaceVarying
               ? param.at(i)
               : param.at(0);
  };
  for (int64_t i = 0; i < npoints; ++i) {
    g.centres.push_back({positions[3 * i], positions[3 * i + 1], positions[3 * i + 2]});
    g.widths.push_back(widthPerPoint ? width->floats()[i] : constantWidth);
    if (cs.present()) g.cs.push_back(perPoint(cs, i));
    if (os.present()) g.os.push_back(perPoint(os, i));
  }
  emitFacing(std::move(g));
}

}  // namespace vellum::preview
