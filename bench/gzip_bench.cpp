// gzip, ISA-L's igzip beside zlib in one run, at levels 1 and 6, over the
// 1,000,000-triangle mesh in ASCII and in binary and over 1,000,000 small
// requests: the processor time of compressing each (with the bytes it
// leaves, and what they are of the plain bytes) and of decompressing what
// the engine wrote, as the reader does, into a buffer of the lexer's size.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/bench_mesh.h"
#include "reader/gzip_source.h"
#include "ri.h"
#include "rib/gzip_encoder.h"

namespace {

void writeMesh() {
  const vellum_bench::Mesh &m = vellum_bench::millionTriangles();
  RiPointsPolygons(m.polygons(), const_cast<RtInt *>(m.nvertices.data()),
                   const_cast<RtInt *>(m.vertices.data()), RI_P, const_cast<RtFloat *>(m.positions.data()),
                   RI_N, const_cast<RtFloat *>(m.normals.data()), RI_NULL);
}

// 200,000 small primitives of five requests each, in ASCII.
void writeSmallRequests() {
  RtColor colour = {0.25f, 0.5f, 1};
  for (int i = 0; i < 200000; ++i) {
    RiAttributeBegin();
    RiTranslate(static_cast<RtFloat>(i % 97) * 0.25f, static_cast<RtFloat>(i % 89) * 0.5f, -3);
    colour[0] = static_cast<RtFloat>(i % 9) * 0.125f;
    RiColor(colour);
    RiSphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
    RiAttributeEnd();
  }
}

enum Input { kMeshAscii, kMeshBinary, kSmallRequests };

const std::string &input(Input which) {
  static const std::string ascii = vellum_bench::ribOf(writeMesh, false);
  static const std::string binary = vellum_bench::ribOf(writeMesh, true);
  static const std::string small = vellum_bench::ribOf(writeSmallRequests, false);
  return which == kMeshAscii ? ascii : which == kMeshBinary ? binary : small;
}

struct Count : vellum::GzipEncoder::Output {
  size_t bytes = 0;
  std::string *keep = nullptr;
  void take(const char *data, size_t size) override {
    bytes += size;
    if (keep != nullptr) keep->append(data, size);
  }
};

// What the writer hands its sink at a time.
constexpr size_t kPiece = 64 * 1024;

size_t compress(const std::string &plain, vellum::GzipEngine engine, int level, std::string *keep) {
  std::unique_ptr<vellum::GzipEncoder> encoder = vellum::makeGzipEncoder(level, engine);
  Count out;
  out.keep = keep;
  for (size_t at = 0; at < plain.size(); at += kPiece)
    encoder->compress(plain.data() + at, std::min(kPiece, plain.size() - at), vellum::GzipEncoder::Flush::kNone, out);
  encoder->compress(nullptr, 0, vellum::GzipEncoder::Flush::kFinish, out);
  return out.bytes;
}

void deflate(benchmark::State &state, Input which, vellum::GzipEngine engine, int level) {
  if (vellum::makeGzipEncoder(level, engine) == nullptr) return state.SkipWithError("not in this build");
  const std::string &plain = input(which);
  size_t bytes = 0;
  for (auto _ : state) bytes = compress(plain, engine, level, nullptr);
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["of_plain"] = static_cast<double>(bytes) / static_cast<double>(plain.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * plain.size()));
}

void inflate(benchmark::State &state, Input which, vellum::GzipEngine engine) {
  const vellum::GunzipEngine reader =
      engine == vellum::GzipEngine::kIsal ? vellum::GunzipEngine::kIsal : vellum::GunzipEngine::kZlib;
  if (vellum::makeGzipEncoder(1, engine) == nullptr) return state.SkipWithError("not in this build");
  std::string compressed;
  compress(input(which), engine, 1, &compressed);
  std::string buffer(64 * 1024, '\0');
  size_t total = 0;
  for (auto _ : state) {
    std::unique_ptr<vellum::ByteSource> source =
        vellum::decompressing(std::make_unique<vellum::MemorySource>(compressed), reader);
    total = 0;
    for (size_t got; (got = source->read(buffer.data(), buffer.size())) != 0;) total += got;
  }
  if (total != input(which).size()) state.SkipWithError("decompressed to other bytes");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}

const char *kInputNames[] = {"mesh_ascii", "mesh_binary", "small_requests"};

const bool registered = [] {
  for (Input which : {kMeshAscii, kMeshBinary, kSmallRequests}) {
    for (vellum::GzipEngine engine : {vellum::GzipEngine::kIsal, vellum::GzipEngine::kZlib}) {
      const std::string engineName = engine == vellum::GzipEngine::kIsal ? "isal" : "zlib";
      for (int level : {1, 6})
        benchmark::RegisterBenchmark(
            ("BM_Deflate/" + std::string(kInputNames[which]) + "/" + engineName + "/" + std::to_string(level))
                .c_str(),
            [=](benchmark::State &state) { deflate(state, which, engine, level); })
            ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("BM_Inflate/" + std::string(kInputNames[which]) + "/" + engineName).c_str(),
                                   [=](benchmark::State &state) { inflate(state, which, engine); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
