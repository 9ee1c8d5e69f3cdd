// The writer against its floors, side by side in one run: each scene is
// written by vellum, by a plain stdio writer of the very same bytes (one
// fprintf per value or per request), and, for the big arrays, by a raw
// fwrite of the values.  The mesh is also written gzip-compressed (at
// levels 1 and 6, by the build's engine), beside the plain one; the binary
// ones count the bytes they leave in the file.  Everything goes to a file on tmpfs (/dev/shm), so
// that the bytes are really copied somewhere.  The peak memory of writing a
// mesh as one request is measured in a child process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_mesh.h"
#include "ri.h"

namespace {

using vellum_bench::CurveSet;
using vellum_bench::Mesh;

char *token(const char *text) { return const_cast<char *>(text); }

// A scratch file on tmpfs, removed at exit.
const char *scratchPath() {
  static const std::string path = [] {
    std::string made = "/dev/shm/vellum-bench-" + std::to_string(getpid()) + ".rib";
    std::atexit([] { std::remove(scratchPath()); });
    return made;
  }();
  return path.c_str();
}

void setBinary(bool binary) {
  RtInt flag = binary;
  RiOption(token("rib"), "binary", &flag, RI_NULL);
}

void setCompression(const char *name) {
  RtString value = token(name);
  RiOption(token("rib"), "compression", &value, RI_NULL);
}

// The size of what the last iteration left in the scratch file.
void countBytesWritten(benchmark::State &state) {
  struct stat status;
  if (stat(scratchPath(), &status) == 0) state.counters["bytes"] = static_cast<double>(status.st_size);
}

// ------------------------------------------------------------ scenes

void writeMesh(const Mesh &m) {
  RiPointsPolygons(m.polygons(), const_cast<RtInt *>(m.nvertices.data()),
                   const_cast<RtInt *>(m.vertices.data()), RI_P, const_cast<RtFloat *>(m.positions.data()),
                   RI_N, const_cast<RtFloat *>(m.normals.data()), RI_NULL);
}

const CurveSet &hair() {
  static const CurveSet curves = vellum_bench::makeCurves(100000);
  return curves;
}

void writeCurves(const CurveSet &c) {
  RiCurves(token("cubic"), c.curves(), const_cast<RtInt *>(c.nvertices.data()), token("nonperiodic"), RI_P,
           const_cast<RtFloat *>(c.positions.data()), RI_WIDTH, const_cast<RtFloat *>(c.widths.data()),
           RI_NULL);
}

constexpr int kSmallRequests = 1000000;  // 200,000 groups of five

void writeSmallRequests() {
  RtColor red = {0.9f, 0.2f, 0.1f};
  for (int i = 0; i < kSmallRequests / 5; ++i) {
    RiAttributeBegin();
    RiTranslate(static_cast<RtFloat>(i % 100), 1, static_cast<RtFloat>(i % 7));
    RiColor(red);
    RiSphere(1, -1, 1, 360, RI_NULL);
    RiAttributeEnd();
  }
}

// ------------------------------------------------------------ stdio floors

void printFloats(FILE *out, const RtFloat *values, size_t count) {
  std::fputc('[', out);
  for (size_t i = 0; i < count; ++i) std::fprintf(out, i == 0 ? "%g" : " %g", values[i]);
  std::fputc(']', out);
}

void printInts(FILE *out, const RtInt *values, size_t count) {
  std::fputc('[', out);
  for (size_t i = 0; i < count; ++i) std::fprintf(out, "%d ", values[i]);
  std::fputc(']', out);
}

void printHeader(FILE *out) { std::fputs("##RenderMan RIB-Structure 1.0\nversion 3.03\n", out); }

void printMesh(FILE *out, const Mesh &m) {
  printHeader(out);
  std::fputs("PointsPolygons", out);
  printInts(out, m.nvertices.data(), m.nvertices.size());
  std::fputc(' ', out);
  printInts(out, m.vertices.data(), m.vertices.size());
  std::fputs("  \"P\" ", out);
  printFloats(out, m.positions.data(), m.positions.size());
  std::fputs(" \"N\" ", out);
  printFloats(out, m.normals.data(), m.normals.size());
  std::fputs("\n\n", out);
}

void printCurves(FILE *out, const CurveSet &c) {
  printHeader(out);
  std::fputs("Curves \"cubic\"", out);
  printInts(out, c.nvertices.data(), c.nvertices.size());
  std::fputs(" \"nonperiodic\"  \"P\" ", out);
  printFloats(out, c.positions.data(), c.positions.size());
  std::fputs(" \"width\" ", out);
  printFloats(out, c.widths.data(), c.widths.size());
  std::fputs("\n\n", out);
}

void printSmallRequests(FILE *out) {
  printHeader(out);
  for (int i = 0; i < kSmallRequests / 5; ++i) {
    std::fprintf(out, "AttributeBegin\n");
    std::fprintf(out, "Translate %g %g %g \n", static_cast<double>(i % 100), 1.0, static_cast<double>(i % 7));
    std::fprintf(out, "Color [%g %g %g]\n", 0.9f, 0.2f, 0.1f);
    std::fprintf(out, "Sphere %g %g %g %g\n", 1.0, -1.0, 1.0, 360.0);
    std::fprintf(out, "AttributeEnd\n");
  }
  std::fputc('\n', out);
}

// The floor of any writer: the values' own bytes.
void fwriteMesh(FILE *out, const Mesh &m) {
  std::fwrite(m.nvertices.data(), sizeof(RtInt), m.nvertices.size(), out);
  std::fwrite(m.vertices.data(), sizeof(RtInt), m.vertices.size(), out);
  std::fwrite(m.positions.data(), sizeof(RtFloat), m.positions.size(), out);
  std::fwrite(m.normals.data(), sizeof(RtFloat), m.normals.size(), out);
}

void fwriteCurves(FILE *out, const CurveSet &c) {
  std::fwrite(c.nvertices.data(), sizeof(RtInt), c.nvertices.size(), out);
  std::fwrite(c.positions.data(), sizeof(RtFloat), c.positions.size(), out);
  std::fwrite(c.widths.data(), sizeof(RtFloat), c.widths.size(), out);
}

// The stdio writers must write exactly what vellum writes, or the
// comparison means nothing.
template <typename Print>
bool sameBytes(void (*calls)(), Print print) {
  char *text = nullptr;
  size_t size = 0;
  FILE *memory = open_memstream(&text, &size);
  print(memory);
  std::fclose(memory);
  const std::string printed(text, size), written = vellum_bench::ribOf(calls, false);
  std::free(text);
  if (printed == written) return true;
  size_t at = 0;
  while (at < printed.size() && at < written.size() && printed[at] == written[at]) ++at;
  std::fprintf(stderr, "differ at %zu: stdio \"%s\" vellum \"%s\"\n", at,
               printed.substr(at > 20 ? at - 20 : 0, 40).c_str(),
               written.substr(at > 20 ? at - 20 : 0, 40).c_str());
  return false;
}

// ------------------------------------------------------------ benchmarks

template <typename Write>
void vellumWrites(benchmark::State &state, bool binary, Write write) {
  setBinary(binary);
  for (auto _ : state) {
    RiBegin(token(scratchPath()));
    write();
    RiEnd();
  }
  setBinary(false);
}

template <typename Print>
void stdioWrites(benchmark::State &state, Print print) {
  for (auto _ : state) {
    FILE *out = std::fopen(scratchPath(), "wb");
    print(out);
    std::fclose(out);
  }
}

void BM_Mesh_Ascii_Vellum(benchmark::State &state) {
  vellumWrites(state, false, [] { writeMesh(vellum_bench::millionTriangles()); });
  countBytesWritten(state);
}
void BM_Mesh_Ascii_Fprintf(benchmark::State &state) {
  const Mesh &m = vellum_bench::millionTriangles();
  if (!sameBytes([] { writeMesh(vellum_bench::millionTriangles()); }, [&](FILE *out) { printMesh(out, m); }))
    state.SkipWithError("the stdio writer writes other bytes");
  stdioWrites(state, [&](FILE *out) { printMesh(out, m); });
}
void BM_Mesh_Binary_Vellum(benchmark::State &state) {
  vellumWrites(state, true, [] { writeMesh(vellum_bench::millionTriangles()); });
  countBytesWritten(state);
}
void setLevel(RtInt level) { RiOption(token("rib"), "compressionlevel", &level, RI_NULL); }

// The mesh gzip-compressed at the level the benchmark's argument gives.
void meshGzip(benchmark::State &state, bool binary) {
  setCompression("gzip");
  setLevel(static_cast<RtInt>(state.range(0)));
  vellumWrites(state, binary, [] { writeMesh(vellum_bench::millionTriangles()); });
  setCompression("none");
  setLevel(1);
  countBytesWritten(state);
}
void BM_Mesh_Ascii_Gzip_Vellum(benchmark::State &state) { meshGzip(state, false); }
void BM_Mesh_Binary_Gzip_Vellum(benchmark::State &state) { meshGzip(state, true); }
void BM_Mesh_Fwrite(benchmark::State &state) {
  const Mesh &m = vellum_bench::millionTriangles();
  stdioWrites(state, [&](FILE *out) { fwriteMesh(out, m); });
}

void BM_Curves_Ascii_Vellum(benchmark::State &state) {
  vellumWrites(state, false, [] { writeCurves(hair()); });
}
void BM_Curves_Ascii_Fprintf(benchmark::State &state) {
  if (!sameBytes([] { writeCurves(hair()); }, [&](FILE *out) { printCurves(out, hair()); }))
    state.SkipWithError("the stdio writer writes other bytes");
  stdioWrites(state, [&](FILE *out) { printCurves(out, hair()); });
}
void BM_Curves_Binary_Vellum(benchmark::State &state) {
  vellumWrites(state, true, [] { writeCurves(hair()); });
}
void BM_Curves_Fwrite(benchmark::State &state) {
  stdioWrites(state, [&](FILE *out) { fwriteCurves(out, hair()); });
}

void BM_SmallRequests_Ascii_Vellum(benchmark::State &state) {
  vellumWrites(state, false, writeSmallRequests);
  state.SetItemsProcessed(state.iterations() * kSmallRequests);
}
void BM_SmallRequests_Ascii_Fprintf(benchmark::State &state) {
  if (!sameBytes(writeSmallRequests, printSmallRequests))
    state.SkipWithError("the stdio writer writes other bytes");
  stdioWrites(state, printSmallRequests);
  state.SetItemsProcessed(state.iterations() * kSmallRequests);
}

// How far writing a mesh as one request raises the peak memory of a
// process beyond the client's own arrays, in KiB, measured in a child.
long peakGrowthKiB(int columns, int rows, bool binary) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const Mesh m = vellum_bench::makeMesh(columns, rows);
    rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    setBinary(binary);
    RiBegin(token("/dev/null"));
    writeMesh(m);
    RiEnd();
    getrusage(RUSAGE_SELF, &after);
    const long growth = after.ru_maxrss - before.ru_maxrss;
    if (write(channel[1], &growth, sizeof growth) != sizeof growth) _exit(1);
    _exit(0);
  }
  long growth = -1;
  close(channel[1]);
  if (read(channel[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return growth;
}

void BM_PeakMemoryOfOneMeshRequest(benchmark::State &state) {
  const int columns = static_cast<int>(state.range(0)), rows = static_cast<int>(state.range(1));
  long ascii = 0, binary = 0;
  for (auto _ : state) {
    ascii = peakGrowthKiB(columns, rows, false);
    binary = peakGrowthKiB(columns, rows, true);
  }
  state.counters["triangles"] = 2.0 * columns * rows;
  state.counters["ascii_growth_KiB"] = static_cast<double>(ascii);
  state.counters["binary_growth_KiB"] = static_cast<double>(binary);
}

// One small request into an open context: the cost of a call, which the
// Python binding's (bench/python_bench.py) is measured against.
void BM_Translate_Vellum(benchmark::State &state) {
  RiBegin(token(scratchPath()));
  for (auto _ : state) RiTranslate(1, 2, 3);
  RiEnd();
}

// The processor time of the whole process: a compressed stream's thread
// counts too.
BENCHMARK(BM_Mesh_Ascii_Vellum)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mesh_Ascii_Gzip_Vellum)->Arg(1)->Arg(6)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mesh_Ascii_Fprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mesh_Binary_Vellum)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mesh_Binary_Gzip_Vellum)->Arg(1)->Arg(6)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mesh_Fwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curves_Ascii_Vellum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curves_Ascii_Fprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curves_Binary_Vellum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curves_Fwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallRequests_Ascii_Vellum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallRequests_Ascii_Fprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Translate_Vellum);
BENCHMARK(BM_PeakMemoryOfOneMeshRequest)
    ->Args({500, 1000})
    ->Args({1000, 2000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
