// Drawing a 1,000,000-triangle PointsPolygons mesh with "P" and "N" into a
// 640 × 480 picture with the preview renderer, lit by one distant light:
// seen straight on through an orthographic camera, the mesh fills 60% of
// the picture; through a perspective camera its heights (up to 1.6 where
// the mesh is 0.013 apart) turn every triangle into a long sliver, and the
// picture is drawn over many times.
#include <benchmark/benchmark.h>

#include <vector>

#include "preview/preview_context.h"

namespace {

// 500 × 1000 quads, two triangles each, as in the reader's benchmark.
constexpr int kColumns = 500, kRows = 1000;

struct Mesh {
  std::vector<RtInt> nvertices, vertices;
  std::vector<RtFloat> positions, normals;
};

const Mesh &mesh() {
  static const Mesh built = [] {
    Mesh m;
    const int across = kColumns + 1;
    for (int row = 0; row <= kRows; ++row) {
      for (int column = 0; column <= kColumns; ++column) {
        m.positions.insert(m.positions.end(), {column * 0.013f, row * 0.007f, (row * column % 17) * 0.1f});
        m.normals.insert(m.normals.end(), {0.0f, 0.6f, 0.8f});
      }
    }
    for (int row = 0; row < kRows; ++row) {
      for (int column = 0; column < kColumns; ++column) {
        const int corner = row * across + column;
        m.vertices.insert(m.vertices.end(), {corner, corner + 1, corner + across + 1});
        m.vertices.insert(m.vertices.end(), {corner, corner + across + 1, corner + across});
        m.nvertices.insert(m.nvertices.end(), {3, 3});
      }
    }
    return m;
  }();
  return built;
}

char *token(const char *text) { return const_cast<char *>(text); }

void draw(benchmark::State &state, bool perspective) {
  const Mesh &m = mesh();
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
