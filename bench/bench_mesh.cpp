#include "bench/bench_mesh.h"

#include <cmath>
#include <memory>

#include "rib/rib_writer.h"

namespace vellum_bench {

namespace {

// A fixed sequence of fractions in [0, 1), the same on every run.
class Jitter {
 public:
  float next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<float>(state_ >> 40) / static_cast<float>(1u << 24);
  }

 private:
  unsigned long long state_ = 12345;
};

}  // namespace

Mesh makeMesh(int columns, int rows) {
  Mesh m;
  Jitter jitter;
  const int across = columns + 1;
  m.positions.reserve(static_cast<size_t>(across) * (rows + 1) * 3);
  m.normals.reserve(m.positions.capacity());
  for (int row = 0; row <= rows; ++row) {
    for (int column = 0; column <= columns; ++column) {
      const float x = column * 0.013f + jitter.next() * 1e-3f;
      const float y = row * 0.007f + jitter.next() * 1e-3f;
      const float z = 0.25f * std::sin(3 * x) * std::cos(2 * y);
      // The surface's normal: (-dz/dx, -dz/dy, 1), made unit length.
      const float dx = 0.75f * std::cos(3 * x) * std::cos(2 * y);
      const float dy = -0.5f * std::sin(3 * x) * std::sin(2 * y);
      const float length = std::sqrt(dx * dx + dy * dy + 1);
      m.positions.insert(m.positions.end(), {x, y, z});
      m.normals.insert(m.normals.end(), {-dx / length, -dy / length, 1 / length});
    }
  }
  m.nvertices.assign(static_cast<size_t>(columns) * rows * 2, 3);
  m.vertices.reserve(m.nvertices.size() * 3);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const int corner = row * across + column;
      m.vertices.insert(m.vertices.end(), {corner, corner + 1, corner + across + 1});
      m.vertices.insert(m.vertices.end(), {corner, corner + across + 1, corner + across});
    }
  }
  return m;
}

const Mesh &millionTriangles() {
  static const Mesh mesh = makeMesh(500, 1000);
  return mesh;
}

CurveSet makeCurves(int count) {
  CurveSet c;
  Jitter jitter;
  c.nvertices.assign(static_cast<size_t>(count), 10);
  for (int curve = 0; curve < count; ++curve) {
    const float x = jitter.next() * 10, y = jitter.next() * 10;
    for (int i = 0; i < 10; ++i)
      c.positions.insert(c.positions.end(),
                         {x + jitter.next() * 0.01f, y + jitter.next() * 0.01f, i * 0.1f + jitter.next() * 1e-3f});
    for (int i = 0; i < 4; ++i) c.widths.push_back(0.01f * (1 - i * 0.2f) + jitter.next() * 1e-4f);
  }
  return c;
}

namespace {

// Appends everything to a string of the caller's.
class StringSink : public vellum::OutputSink {
 public:
  explicit StringSink(std::string *out) : out_(out) {}
  void write(const char *data, size_t size) override { out_->append(data, size); }

 private:
  std::string *out_;
};

}  // namespace

std::string ribOf(void (*calls)(), bool binary) {
  std::string bytes;
  vellum::WriterSettings settings;
  settings.binary = binary;
  auto writer = std::make_unique<vellum::RibWriter>(std::make_unique<StringSink>(&bytes), "memory",
                                                    settings, vellum::processWideEnvironment());
  const RtContextHandle saved = RiGetContext();
  RiContext(writer.get());
  calls();
  RiContext(saved);
  writer.reset();  // hands everything to the string
  return bytes;
}

}  // namespace vellum_bench
