// Many streams at once: threads that each write their own stream through an
// object of the C++ interface (ri.hpp), beside the C interface writing the
// same stream in one thread.  Each stream goes to a file of its own in
// /dev/shm (memory, where there is one), so that the disk does not set the
// pace.  Run with --benchmark_filter=Threads and compare items_per_second:
// two threads should write about twice what one writes, and one object
// what the C interface writes.
#include <benchmark/benchmark.h>
#include <ri.hpp>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "bench/bench_mesh.h"

namespace {

std::string streamPath() {
  static std::atomic<int> counter{0};
  const char *directory = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(directory) + "/vellum-threads-bench-" + std::to_string(getpid()) + "-" +
         std::to_string(counter++) + ".rib";
}

char *tok(const char *text) { return const_cast<char *>(text); }

// The 1M-triangle mesh with its normals, binary.
void BM_Threads_Mesh_Object(benchmark::State &state) {
  const vellum_bench::Mesh &mesh = vellum_bench::millionTriangles();
  const std::string path = streamPath();
  for (auto _ : state) {
    vellum::Ri ri(path.c_str(), {true, 6, false, 1});
    ri.PointsPolygons(mesh.polygons(), mesh.nvertices.data(), mesh.vertices.data(),
                      {{"P", mesh.positions.data()}, {"N", mesh.normals.data()}});
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * 1000000);
}

void BM_Threads_Mesh_CInterface(benchmark::State &state) {
  const vellum_bench::Mesh &mesh = vellum_bench::millionTriangles();
  const std::string path = streamPath();
  RtInt binary = 1;
  RiOption(tok("rib"), "binary", &binary, RI_NULL);
  for (auto _ : state) {
    RiBegin(tok(path.c_str()));
    RiPointsPolygons(mesh.polygons(), const_cast<RtInt *>(mesh.nvertices.data()),
                     const_cast<RtInt *>(mesh.vertices.data()), "P", mesh.positions.data(), "N",
                     mesh.normals.data(), RI_NULL);
    RiEnd();
  }
  RtInt ascii = 0;
  RiOption(tok("rib"), "binary", &ascii, RI_NULL);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * 1000000);
}

// 1M small requests, ASCII: an attribute block with a colour, a transform
// and a sphere, 250,000 times.
constexpr int kBlocks = 250000;

void BM_Threads_SmallRequests_Object(benchmark::State &state) {
  const std::string path = streamPath();
  RtColor red = {1, 0.25f, 0.125f};
  for (auto _ : state) {
    vellum::Ri ri(path.c_str());
    for (int i = 0; i < kBlocks; ++i) {
      ri.AttributeBegin();
      ri.Color(red);
      ri.Translate(static_cast<RtFloat>(i) * 0.001f, 1.5f, 2);
      ri.Sphere(1, -1, 1, 360);
    }
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kBlocks * 4);
}

void BM_Threads_SmallRequests_CInterface(benchmark::State &state) {
  const std::string path = streamPath();
  RtColor red = {1, 0.25f, 0.125f};
  for (auto _ : state) {
    RiBegin(tok(path.c_str()));
    for (int i = 0; i < kBlocks; ++i) {
      RiAttributeBegin();
      RiColor(red);
      RiTranslate(static_cast<RtFloat>(i) * 0.001f, 1.5f, 2);
      RiSphere(1, -1, 1, 360, RI_NULL);
    }
    RiEnd();
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kBlocks * 4);
}

}  // namespace

BENCHMARK(BM_Threads_Mesh_CInterface)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Threads_Mesh_Object)->Unit(benchmark::kMillisecond)->UseRealTime()->Threads(1)->Threads(2);
BENCHMARK(BM_Threads_SmallRequests_CInterface)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Threads_SmallRequests_Object)->Unit(benchmark::kMillisecond)->UseRealTime()->Threads(1)->Threads(2);
