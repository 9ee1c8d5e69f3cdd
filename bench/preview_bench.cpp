// Drawing the 1,000,000-triangle PointsPolygons mesh with "P" and "N" into
// a 640 × 480 picture with the preview renderer, lit by one distant light,
// seen straight on through an orthographic and a perspective camera.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "preview/preview_context.h"

namespace {

char *token(const char *text) { return const_cast<char *>(text); }

void draw(benchmark::State &state, bool perspective) {
  const vellum_bench::Mesh &m = vellum_bench::millionTriangles();
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([](const std::string &) {});
  if (perspective) {
    RtFloat fov = 60;
    ctx.Projection(token("perspective"), token("fov"), &fov, RI_NULL);
  } else {
    ctx.ScreenWindow(-4.93f, 4.93f, -3.7f, 3.7f);
  }
  ctx.Translate(-3.25f, -3.5f, 8);
  int covered = 0;
  for (auto _ : state) {
    ctx.WorldBegin();
    ctx.LightSource(token("distantlight"), RI_NULL);
    ctx.Surface(token("matte"), RI_NULL);
    ctx.PointsPolygons(static_cast<RtInt>(m.nvertices.size()), const_cast<RtInt *>(m.nvertices.data()),
                       const_cast<RtInt *>(m.vertices.data()), token("P"), const_cast<RtFloat *>(m.positions.data()),
                       token("N"), const_cast<RtFloat *>(m.normals.data()), RI_NULL);
    ctx.WorldEnd();
    covered = 0;
    const auto &rgba = ctx.lastPicture().rgba;
    for (size_t i = 3; i < rgba.size(); i += 4) covered += rgba[i] != 0;
  }
  state.counters["covered_pixels"] = covered;
}

void BM_PreviewDrawMesh(benchmark::State &state) { draw(state, false); }
void BM_PreviewDrawMeshPerspective(benchmark::State &state) { draw(state, true); }

BENCHMARK(BM_PreviewDrawMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDrawMeshPerspective)->Unit(benchmark::kMillisecond);

}  // namespace
