// Throughput of the RIB reader (parsing and checking, into a context that
// does nothing) on a 1,000,000-triangle PointsPolygons mesh
// with "P" and "N", in ASCII and in binary, beside a plain read of the same
// bytes from memory as the floor; and of the writer producing that mesh.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri/null_context.h"
#include "ri.h"

namespace {

// 500 × 1000 quads, two triangles each.
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

void writeMesh(const char *path) {
  const Mesh &m = mesh();
  RiBegin(const_cast<char *>(path));
  RiPointsPolygons(static_cast<RtInt>(m.nvertices.size()), const_cast<RtInt *>(m.nvertices.data()),
                   const_cast<RtInt *>(m.vertices.data()), RI_P, m.positions.data(), RI_N,
                   m.normals.data(), RI_NULL);
  RiEnd();
}

std::string meshRib(bool binary) {
  char path[] = "/tmp/vellum-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  RtInt format = binary ? 1 : 0;
  RiOption(const_cast<char *>("rib"), "binary", &format, RI_NULL);
  writeMesh(path);
  RtInt ascii = 0;
  RiOption(const_cast<char *>("rib"), "binary", &ascii, RI_NULL);
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  std::remove(path);
  return content.str();
}

const std::string &asciiRib() {
  static const std::string rib = meshRib(false);
  return rib;
}
const std::string &binaryRib() {
  static const std::string rib = meshRib(true);
  return rib;
}

void parse(benchmark::State &state, const std::string &rib) {
  for (auto _ : state) {
    std::vector<vellum::RibInput> inputs(1);
    inputs[0] = {"mesh", std::make_unique<vellum::MemorySource>(rib)};
    vellum::NullContext target;
    vellum::RibReader reader(target, nullptr);
    size_t requests = 0;
    reader.setObserver([&](const vellum::RequestRow &, const vellum::RibRequest &) { ++requests; });
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

void write(benchmark::State &state, bool binary) {
  RtInt format = binary ? 1 : 0;
  RiOption(const_cast<char *>("rib"), "binary", &format, RI_NULL);
  mesh();
  for (auto _ : state) writeMesh("/dev/null");
  RtInt ascii = 0;
  RiOption(const_cast<char *>("rib"), "binary", &ascii, RI_NULL);
  const std::string &rib = binary ? binaryRib() : asciiRib();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rib.size()));
}

void BM_WriteAscii(benchmark::State &state) { write(state, false); }
void BM_WriteBinary(benchmark::State &state) { write(state, true); }

BENCHMARK(BM_ReadAsciiBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinaryBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBinary)->Unit(benchmark::kMillisecond);

}  // namespace
