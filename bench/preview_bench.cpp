// Drawing the 1,000,000-triangle PointsPolygons mesh with "P" and "N" into
// a 640 × 480 picture with the preview renderer, lit by one distant light,
// seen straight on through an orthographic and a perspective camera.
#include <benchmark/benchmark.h>

#include <vector>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/bench_mesh.h"
#include "preview/preview_context.h"
#include "reader/rib_reader.h"
#include "ri.h"

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

namespace {

// The mesh as a RIB stream framed by a camera, as qview reads it.
void writeFramedMesh() {
  const vellum_bench::Mesh &m = vellum_bench::millionTriangles();
  RiScreenWindow(-4.93f, 4.93f, -3.7f, 3.7f);
  RiTranslate(-3.25f, -3.5f, 8);
  RiWorldBegin();
  RiLightSource(token("distantlight"), RI_NULL);
  RiSurface(token("matte"), RI_NULL);
  RiPointsPolygons(m.polygons(), const_cast<RtInt *>(m.nvertices.data()),
                   const_cast<RtInt *>(m.vertices.data()), RI_P, const_cast<RtFloat *>(m.positions.data()),
                   RI_N, const_cast<RtFloat *>(m.normals.data()), RI_NULL);
  RiWorldEnd();
}

const std::string &framedMesh() {
  static const std::string rib = vellum_bench::ribOf(writeFramedMesh, false);
  return rib;
}

// What qview does with the stream: check it into a preview context, and
// draw and write the picture only when asked for one.
void qview(benchmark::State &state, bool draw) {
  const std::string &rib = framedMesh();
  const std::string picture = "/dev/shm/vellum-bench-" + std::to_string(getpid()) + ".png";
  for (auto _ : state) {
    vellum::preview::PreviewContext preview;
    preview.setDrawOnlyWithDestination(true);
    preview.setWarningHandler([](const std::string &) {});
    if (draw) preview.setOutput(picture);
    vellum::RibReader reader(preview, nullptr);
    std::vector<vellum::RibInput> inputs(1);
    inputs[0] = {"mesh", std::make_unique<vellum::MemorySource>(rib)};
    reader.read(std::move(inputs));
    if (reader.errors() != 0 || (draw && preview.writtenFiles().size() != 1))
      state.SkipWithError("the mesh did not read or draw");
  }
  std::remove(picture.c_str());
}

void BM_QviewCheckMesh(benchmark::State &state) { qview(state, false); }
void BM_QviewDrawMesh(benchmark::State &state) { qview(state, true); }

BENCHMARK(BM_QviewCheckMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QviewDrawMesh)->Unit(benchmark::kMillisecond);

}  // namespace
