// Small vector and matrix types for the preview renderer.  Matrices follow
// the interface's convention: points are row vectors and p' = p * M, so a
// transform that applies to an object first stands on the left.
#ifndef VELLUM_PREVIEW_MATH_VEC_MATH_H
#define VELLUM_PREVIEW_MATH_VEC_MATH_H

#include <cmath>

namespace vellum::preview {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return a * s; }
inline Vec3 mul(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
// The unit vector along `a`, or zero for a vector too short to have one.
inline Vec3 normalize(Vec3 a) {
  const float len = length(a);
  return len > 1e-30f && std::isfinite(len) ? a * (1.0f / len) : Vec3{};
}
inline bool isFinite(Vec3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

struct Mat4 {
  double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

  static Mat4 identity() { return {}; }
  static Mat4 fromRi(const float rm[4][4]);
  static Mat4 translate(double dx, double dy, double dz);
  static Mat4 scale(double sx, double sy, double sz);
  // A rotation by `degrees` about the axis, turning +x toward +y about +z.
  static Mat4 rotate(double degrees, double ax, double ay, double az);
  // Shears so that the direction d1 turns by `degrees` toward d2.
  static Mat4 skew(double degrees, Vec3 d1, Vec3 d2);
  // A projection with its eye at the origin looking down +z; x and y are
  // divided by z·tan(fov/2).
  static Mat4 perspective(double fovDegrees);
};

// a * b: first a, then b.
Mat4 operator*(const Mat4 &a, const Mat4 &b);
// The inverse, or false (and `out` untouched) for a singular matrix.
bool invert(const Mat4 &a, Mat4 &out);
double determinant3(const Mat4 &a);

// A point through the full matrix, with the homogeneous divide; `w` gets
// the divisor.
Vec3 transformPoint(const Mat4 &a, Vec3 p, double *w = nullptr);
Vec3 transformVector(const Mat4 &a, Vec3 v);

}  // namespace vellum::preview

#endif
