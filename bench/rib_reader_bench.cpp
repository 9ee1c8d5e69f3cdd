// Throughput of the RIB reader (parsing and checking, into a context that
// does nothing) on the 1,000,000-triangle PointsPolygons mesh with "P" and
// "N", in ASCII and in binary, beside a plain read of the same bytes from
// memory as the floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri/null_context.h"
#include "ri.h"

namespace {

void writeMillionTriangles() {
  const vellum_bench::Mesh &m = vellum_bench::millionTriangles();
  RiPointsPolygons(m.polygons(), const_cast<RtInt *>(m.nvertices.data()),
                   const_cast<RtInt *>(m.vertices.data()), RI_P, const_cast<RtFloat *>(m.positions.data()),
                   RI_N, const_cast<RtFloat *>(m.normals.data()), RI_NULL);
}

const std::string &asciiRib() {
  static const std::string rib = vellum_bench::ribOf(writeMillionTriangles, false);
  return rib;
}
const std::string &binaryRib() {
  static const std::string rib = vellum_bench::ribOf(writeMillionTriangles, true);
  return rib;
}

void parse(benchmark::State &state, const std::string &rib) {
  for (auto _ : state) {
    std::vector<vellum::RibInput> inputs(1);
    inputs[0] = {"mesh", std::make_unique<vellum::MemorySource>(rib)};
    vellum::NullContext target;
    vellum::RibReader reader(target, nullptr);
    size_t requests = 0;
    reader.setObserver(
        [&](const vellum::RequestRow &, const vellum::RibRequest &, const vellum::PrimitiveCounts *) { ++requests; });
    reader.read(std::move(inputs));
    if (requests != 2 || reader.errors() != 0) state.SkipWithError("the mesh did not read");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rib.size()));
}

// The floor: the same bytes read from memory in the reader's piece size and
// touched once.
void readOnly(benchmark::State &state, const std::string &rib) {
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    vellum::MemorySource source(rib);
    unsigned sum = 0;
    for (size_t got; (got = source.read(buffer.data(), buffer.size())) != 0;)
      for (size_t i = 0; i < got; ++i) sum += static_cast<unsigned char>(buffer[i]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rib.size()));
}

void BM_ParseAscii(benchmark::State &state) { parse(state, asciiRib()); }
void BM_ParseBinary(benchmark::State &state) { parse(state, binaryRib()); }
void BM_ReadAsciiBytes(benchmark::State &state) { readOnly(state, asciiRib()); }
void BM_ReadBinaryBytes(benchmark::State &state) { readOnly(state, binaryRib()); }

BENCHMARK(BM_ReadAsciiBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinaryBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseBinary)->Unit(benchmark::kMillisecond);

}  // namespace
