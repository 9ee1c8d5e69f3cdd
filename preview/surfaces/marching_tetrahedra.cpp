#include "preview/surfaces/marching_tetrahedra.h"

#include <unordered_map>

#include "preview/math/vec_math.h"

namespace vellum::preview {

namespace {

// Corner c of a cell lies at (c & 1, c >> 1 & 1, c >> 2 & 1); the six
// tetrahedra share the diagonal from corner 0 to corner 7.
constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7},
                                   {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

Vec3 cornerAt(int c) { return {float(c & 1), float(c >> 1 & 1), float(c >> 2 & 1)}; }

}  // namespace

Isosurface marchTetrahedra(const SampleGrid &grid, float threshold) {
  Isosurface out;
  // Grids are far smaller than 2^32 samples, so a pair of them makes a key.
  std::unordered_map<uint64_t, int32_t> known;
  const std::vector<float> &v = grid.values;
  for (int k = 0; k < grid.nz; ++k)
    for (int j = 0; j < grid.ny; ++j)
      for (int i = 0; i < grid.nx; ++i) {
        int64_t sample[8];
        int inside = 0;
        for (int c = 0; c < 8; ++c) {
          sample[c] = grid.index(i + (c & 1), j + (c >> 1 & 1), k + (c >> 2 & 1));
          inside += v[size_t(sample[c])] > threshold;
        }
        if (inside == 0 || inside == 8) continue;
        // The vertex where the surface crosses the edge between corners.
        struct Point {
          int32_t index;
          Vec3 at;  // in the cell
        };
        auto crossing = [&](int in, int away) {
          const int64_t a = sample[in], b = sample[away];
          const float t = (threshold - v[size_t(a)]) / (v[size_t(b)] - v[size_t(a)]);
          auto [it, added] = known.emplace((uint64_t(a) << 32) | uint64_t(b), int32_t(out.vertices.size()));
          if (added) out.vertices.push_back({a, b, t});
          return Point{it->second, cornerAt(in) + (cornerAt(away) - cornerAt(in)) * t};
        };
        auto triangle = [&](Point p0, Point p1, Point p2, Vec3 falling) {
          if (dot(cross(p1.at - p0.at, p2.at - p0.at), falling) < 0) std::swap(p1, p2);
          out.triangles.insert(out.triangles.end(), {p0.index, p1.index, p2.index});
        };
        for (const auto &tetrahedron : kTetrahedra) {
          int in[4], away[4], ins = 0, aways = 0;
          Vec3 inMean, awayMean;
          for (int c : tetrahedron) {
            if (v[size_t(sample[c])] > threshold) {
              in[ins++] = c;
              inMean = inMean + cornerAt(c);
            } else {
              away[aways++] = c;
              awayMean = awayMean + cornerAt(c);
            }
          }
          if (ins == 0 || aways == 0) continue;
          // The surface is a plane between the corners in and away.
          const Vec3 falling = awayMean * (1.0f / float(aways)) - inMean * (1.0f / float(ins));
          if (ins == 1) {
            triangle(crossing(in[0], away[0]), crossing(in[0], away[1]), crossing(in[0], away[2]), falling);
          } else if (ins == 3) {
            triangle(crossing(in[0], away[0]), crossing(in[1], away[0]), crossing(in[2], away[0]), falling);
          } else if (ins == 2) {
            const Point a = crossing(in[0], away[0]), b = crossing(in[0], away[1]);
            const Point c = crossing(in[1], away[1]), d = crossing(in[1], away[0]);
            triangle(a, b, c, falling);
            triangle(a, c, d, falling);
          }
        }
      }
  return out;
}

}  // namespace vellum::preview
