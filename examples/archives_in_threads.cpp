// An exporter's pattern: a scene written as one RIB archive per object by a
// pool of threads, each object a stream of its own (vellum::Ri, ri.hpp),
// and a master file that reads them.  Every thread declares what its
// objects need and nothing it declares reaches another's stream.
//
//   archives_in_threads [OBJECTS [THREADS]]
//
// writes object0.rib ... and scene.rib (the master) in the current
// directory; `qview -o scene.png scene.rib` draws it.
#include <ri.hpp>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// Object `k`: a ring of bumps, a mesh of triangles with a colour per
// vertex, binary so that its floats are written exactly.
void writeObject(int k) {
  const std::string name = "object" + std::to_string(k) + ".rib";
  vellum::Ri ri(name.c_str(), {true, 6, false, 1});
  constexpr int kAround = 64, kAcross = 16;
  std::vector<RtFloat> points, colours;
  for (int j = 0; j <= kAcross; ++j)
    for (int i = 0; i < kAround; ++i) {
      const float angle = 6.2831853f * static_cast<float>(i) / kAround;
      const float radius = 0.5f + 0.1f * std::sin(angle * static_cast<float>(3 + k % 4));
      points.insert(points.end(),
                    {radius * std::cos(angle), radius * std::sin(angle), 0.05f * static_cast<float>(j)});
      colours.insert(colours.end(), {static_cast<float>(k % 3) * 0.4f + 0.2f, static_cast<float>(j) / kAcross,
                                     0.5f});
    }
  std::vector<RtInt> nverts, verts;
  for (int j = 0; j < kAcross; ++j)
    for (int i = 0; i < kAround; ++i) {
      const int a = j * kAround + i, b = j * kAround + (i + 1) % kAround;
      nverts.insert(nverts.end(), {3, 3});
      verts.insert(verts.end(), {a, b, b + kAround, a, b + kAround, a + kAround});
    }
  // A name of this object's own: another thread's object declares it
  // otherwise, in its own stream.
  ri.Declare("bumps", k % 2 == 0 ? "constant float" : "constant float[2]");
  RtFloat bumps[2] = {static_cast<RtFloat>(3 + k % 4), 0};
  ri.AttributeBegin();
  ri.Attribute("user", {{"bumps", bumps}});
  ri.PointsPolygons(static_cast<RtInt>(nverts.size()), nverts.data(), verts.data(),
                    {{RI_P, points.data()}, {"varying color Cs", colours.data()}});
  ri.AttributeEnd();
}

}  // namespace

int main(int argc, char **argv) {
  const int objects = argc > 1 ? std::atoi(argv[1]) : 12;
  const int threads = argc > 2 ? std::atoi(argv[2]) : 4;
  if (objects < 1 || threads < 1) {
    std::fprintf(stderr, "usage: archives_in_threads [OBJECTS [THREADS]]\n");
    return 2;
  }
  // The pool: each thread takes the next object not yet written.
  std::atomic<int> next{0};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&] {
      for (int k; (k = next++) < objects;) writeObject(k);
    });
  for (std::thread &thread : pool) thread.join();

  // The master file places each object on a grid over a floor, and reads
  // its archive there.
  vellum::Ri ri("scene.rib");
  RtFloat fov = 40, from[3] = {-1, -2, 3}, ambient = 0.25f;
  ri.Format(320, 240, 1);
  ri.Projection("perspective", {{"fov", &fov}});
  ri.Translate(0, 0, 8);
  ri.Rotate(-130, 1, 0, 0);  // the floor's +z up, toward the camera
  ri.WorldBegin();
  ri.LightSource("ambientlight", {{"intensity", &ambient}});
  ri.LightSource("distantlight", {{"from", from}});
  ri.Surface("plastic");
  const int across = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(objects))));
  const float half = 0.6f * static_cast<float>(across);
  RtFloat floor[12] = {-half, -half, 0, half, -half, 0, half, half, 0, -half, half, 0};
  RtColor grey = {0.6f, 0.6f, 0.6f};
  ri.AttributeBegin();
  ri.Color(grey);
  ri.Polygon(4, {{RI_P, floor}});
  ri.AttributeEnd();
  for (int k = 0; k < objects; ++k) {
    ri.AttributeBegin();
    ri.Translate(1.2f * (static_cast<float>(k % across) - 0.5f * static_cast<float>(across - 1)),
                 1.2f * (static_cast<float>(k / across) - 0.5f * static_cast<float>(across - 1)), 0);
    ri.ReadArchive(("object" + std::to_string(k) + ".rib").c_str(), nullptr);
    ri.AttributeEnd();
  }
  ri.WorldEnd();
  return 0;
}
