// Drawing the 1,000,000-triangle PointsPolygons mesh with "P" and "N" into
// a 640 × 480 picture with the preview renderer, lit by one distant light,
// seen straight on through an orthographic and a perspective camera, and by
// a point light in perspective; and a floor of one square filling the
// picture under a spotlight, where a light's shape shows across one facet;
// and squares over the picture drawn until the work meter's samples run out;
// and a subdivision mesh refined by OpenSubdiv.
#include <benchmark/benchmark.h>

#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/bench_mesh.h"
#include "common/work_meter.h"
#include "preview/preview_context.h"
#include "ri.h"
#include "rib/gzip_encoder.h"

namespace {

char *token(const char *text) { return const_cast<char *>(text); }

enum class Lamp { kDistant, kPoint };

void draw(benchmark::State &state, bool perspective, Lamp lamp) {
  const vellum_bench::Mesh &m = vellum_bench::millionTriangles();
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([](const std::string &) {});
  // Each picture is an input of its own: its meter begins afresh.
  vellum::WorkMeter meter;
  ctx.setWorkMeter(&meter);
  if (perspective) {
    RtFloat fov = 60;
    ctx.Projection(token("perspective"), token("fov"), &fov, RI_NULL);
  } else {
    ctx.ScreenWindow(-4.93f, 4.93f, -3.7f, 3.7f);
  }
  ctx.Translate(-3.25f, -3.5f, 8);
  int covered = 0;
  for (auto _ : state) {
    meter.reset();
    ctx.WorldBegin();
    if (lamp == Lamp::kPoint) {
      RtPoint from{3.25f, 3.5f, -2};
      RtFloat intensity = 100;
      ctx.LightSource(token("pointlight"), token("from"), from, token("intensity"), &intensity, RI_NULL);
    } else {
      ctx.LightSource(token("distantlight"), RI_NULL);
    }
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

void BM_PreviewDrawMesh(benchmark::State &state) { draw(state, false, Lamp::kDistant); }
void BM_PreviewDrawMeshPerspective(benchmark::State &state) { draw(state, true, Lamp::kDistant); }
void BM_PreviewDrawMeshPointLight(benchmark::State &state) { draw(state, true, Lamp::kPoint); }

// A plastic floor seen from above at a slant, running past the edges of
// the picture, under a spotlight whose cone lies within it.
void BM_PreviewDrawFloorSpotlight(benchmark::State &state) {
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([](const std::string &) {});
  vellum::WorkMeter meter;
  ctx.setWorkMeter(&meter);
  RtFloat fov = 60;
  ctx.Projection(token("perspective"), token("fov"), &fov, RI_NULL);
  ctx.Translate(0, 0, 6);
  ctx.Rotate(-120, 1, 0, 0);
  RtFloat floor[] = {-20, -20, 0, 20, -20, 0, 20, 20, 0, -20, 20, 0};
  RtPoint from{0, 0, 4}, to{0, 0, 0};
  RtFloat intensity = 20, cone = 0.5f;
  for (auto _ : state) {
    meter.reset();
    ctx.WorldBegin();
    ctx.LightSource(token("spotlight"), token("from"), from, token("to"), to, token("intensity"), &intensity,
                    token("coneangle"), &cone, RI_NULL);
    ctx.Surface(token("plastic"), RI_NULL);
    ctx.Polygon(4, token("P"), floor, RI_NULL);
    ctx.WorldEnd();
  }
}

// Squares over the whole picture, a million of them in three levels of
// instances, drawn until the meter's 2^28 samples are spent: what a sample
// costs, against which the meter's default limit is set (items: samples).
void BM_PreviewSquaresToTheSampleLimit(benchmark::State &state) {
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([](const std::string &) {});
  vellum::WorkMeter::Limits limits = vellum::WorkMeter::kDefaultLimits;
  limits[vellum::WorkMeter::kSamples] = {uint64_t{1} << 28, 0};
  vellum::WorkMeter meter(limits);
  ctx.setWorkMeter(&meter);
  ctx.Format(1024, 1024, 1);
  RtFloat square[] = {-2, -2, 1, 2, -2, 1, 2, 2, 1, -2, 2, 1};
  uint64_t samples = 0;
  for (auto _ : state) {
    meter.reset();
    ctx.WorldBegin();
    ctx.Surface(token("constant"), RI_NULL);
    RtObjectHandle object = ctx.ObjectBegin();
    ctx.Polygon(4, token("P"), square, RI_NULL);
    ctx.ObjectEnd();
    for (int level = 0; level < 3; ++level) {
      RtObjectHandle next = ctx.ObjectBegin();
      for (int i = 0; i < 100; ++i) ctx.ObjectInstance(object);
      ctx.ObjectEnd();
      object = next;
    }
    ctx.ObjectInstance(object);
    ctx.WorldEnd();
    samples += meter.used(vellum::WorkMeter::kSamples);
  }
  state.SetItemsProcessed(int64_t(samples));
}

// A wavy grid of 100 × 100 quadrilaterals as a subdivision mesh with
// "interpolateboundary", refined twice to 160,000 faces and moved to the
// limit by OpenSubdiv, drawn into a 640 × 480 picture: what a unit of the
// drawing work charged for it costs (items: units charged).
void BM_PreviewSubdivisionGrid(benchmark::State &state) {
  constexpr int kSide = 100;
  std::vector<RtInt> nvertices(kSide * kSide, 4), vertices;
  std::vector<RtFloat> points;
  for (int j = 0; j <= kSide; ++j)
    for (int i = 0; i <= kSide; ++i) {
      const float x = 2.0f * float(i) / kSide - 1, y = 2.0f * float(j) / kSide - 1;
      points.insert(points.end(), {x, y, 0.1f * std::sin(12 * x) * std::cos(9 * y)});
    }
  for (int j = 0; j < kSide; ++j)
    for (int i = 0; i < kSide; ++i) {
      const RtInt corner = j * (kSide + 1) + i;
      vertices.insert(vertices.end(), {corner, corner + 1, corner + kSide + 2, corner + kSide + 1});
    }
  vellum::preview::PreviewContext ctx;
  ctx.setWarningHandler([](const std::string &) {});
  vellum::WorkMeter meter;
  ctx.setWorkMeter(&meter);
  ctx.Format(640, 480, 1);
  RtToken tags[] = {token("interpolateboundary")};
  RtInt nargs[] = {0, 0};
  uint64_t units = 0;
  for (auto _ : state) {
    meter.reset();
    ctx.WorldBegin();
    ctx.LightSource(token("distantlight"), RI_NULL);
    ctx.Surface(token("plastic"), RI_NULL);
    ctx.Translate(0, 0, 2);
    ctx.Rotate(-30, 1, 0, 0);
    ctx.SubdivisionMesh(token("catmull-clark"), kSide * kSide, nvertices.data(), vertices.data(), 1, tags, nargs,
                        nullptr, nullptr, token("P"), points.data(), RI_NULL);
    ctx.WorldEnd();
    units += meter.used(vellum::WorkMeter::kDrawing);
  }
  state.SetItemsProcessed(int64_t(units));
}

BENCHMARK(BM_PreviewDrawMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewSubdivisionGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDrawMeshPerspective)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDrawMeshPointLight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDrawFloorSpotlight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewSquaresToTheSampleLimit)->Unit(benchmark::kMillisecond);

}  // namespace

#ifdef VELLUM_QVIEW
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

const std::string &framedMesh(bool binary = false) {
  static const std::string ascii = vellum_bench::ribOf(writeFramedMesh, false);
  static const std::string binaryRib = vellum_bench::ribOf(writeFramedMesh, true);
  return binary ? binaryRib : ascii;
}

// The bytes gzip-compressed as the library writes them (level 1).
std::string gzipped(const std::string &plain) {
  struct Collect : vellum::GzipEncoder::Output {
    std::string bytes;
    void take(const char *data, size_t size) override { bytes.append(data, size); }
  } out;
  std::unique_ptr<vellum::GzipEncoder> encoder = vellum::makeGzipEncoder(1);
  if (encoder != nullptr) encoder->compress(plain.data(), plain.size(), vellum::GzipEncoder::Flush::kFinish, out);
  return out.bytes;
}

// qview on the mesh's file, alone and with -o: the program as a user
// runs it, timed by the processor time of the child (reading the file,
// allocating, freeing and exiting included).  The file ASCII or binary,
// plain or gzip-compressed.
void qviewProgram(benchmark::State &state, bool draw, bool binary = false, bool gzip = false) {
  const std::string stem = "/dev/shm/vellum-bench-qview-" + std::to_string(getpid());
  const std::string rib = stem + ".rib", picture = stem + ".png";
  if (FILE *file = std::fopen(rib.c_str(), "wb")) {
    const std::string bytes = gzip ? gzipped(framedMesh(binary)) : framedMesh(binary);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  std::vector<std::string> args = {VELLUM_QVIEW};
  if (draw) args.insert(args.end(), {"-o", picture});
  args.push_back(rib);
  std::vector<char *> argv;
  for (std::string &arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      state.SkipWithError("qview failed");
      break;
    }
    state.SetIterationTime(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                           1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec));
  }
  std::remove(rib.c_str());
  std::remove(picture.c_str());
}

void BM_QviewCheckMesh(benchmark::State &state) { qviewProgram(state, false); }
void BM_QviewCheckMeshGzip(benchmark::State &state) { qviewProgram(state, false, false, true); }
void BM_QviewCheckMeshBinary(benchmark::State &state) { qviewProgram(state, false, true); }
void BM_QviewCheckMeshBinaryGzip(benchmark::State &state) { qviewProgram(state, false, true, true); }
void BM_QviewDrawMesh(benchmark::State &state) { qviewProgram(state, true); }

BENCHMARK(BM_QviewCheckMesh)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QviewCheckMeshGzip)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QviewCheckMeshBinary)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QviewCheckMeshBinaryGzip)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QviewDrawMesh)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

}  // namespace
