#include "preview/math/vec_math.h"

namespace vellum::preview {

namespace {
constexpr double kDegrees = 3.14159265358979323846 / 180.0;
}

Mat4 Mat4::fromRi(const float rm[4][4]) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = rm[i][j];
  return r;
}

Mat4 Mat4::translate(double dx, double dy, double dz) {
  Mat4 r;
  r.m[3][0] = dx;
  r.m[3][1] = dy;
  r.m[3][2] = dz;
  return r;
}

Mat4 Mat4::scale(double sx, double sy, double sz) {
  Mat4 r;
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  return r;
}

Mat4 Mat4::rotate(double degrees, double ax, double ay, double az) {
  Mat4 r;
  const double len = std::sqrt(ax * ax + ay * ay + az * az);
  if (!(len > 0) || !std::isfinite(len)) return r;
  ax /= len;
  ay /= len;
  az /= len;
  const double c = std::cos(degrees * kDegrees), s = std::sin(degrees * kDegrees), t = 1 - c;
  // The usual column-vector rotation, transposed for row vectors.
  const double col[3][3] = {{t * ax * ax + c, t * ax * ay - s * az, t * ax * az + s * ay},
                            {t * ax * ay + s * az, t * ay * ay + c, t * ay * az - s * ax},
                            {t * ax * az - s * ay, t * ay * az + s * ax, t * az * az + c}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = col[j][i];
  return r;
}

Mat4 Mat4::skew(double degrees, Vec3 d1, Vec3 d2) {
  Mat4 r;
  const Vec3 e2 = normalize(d2);
  const Vec3 perpendicular = d1 - e2 * dot(d1, e2);
  const Vec3 e1 = normalize(perpendicular);
  if (dot(e1, e1) == 0 || dot(e2, e2) == 0) return r;
  // d1 lies at angle alpha from e1 toward e2; the shear p + k (p·e1) e2
  // turns it to alpha + angle.
  const double alpha = std::atan2(dot(d1, e2), dot(d1, e1));
  const double turned = alpha + degrees * kDegrees;
  if (!(std::fabs(turned) < 1.5707)) return r;
  const double k = std::tan(turned) - std::tan(alpha);
  const float a[3] = {e1.x, e1.y, e1.z}, b[3] = {e2.x, e2.y, e2.z};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] += k * a[i] * b[j];
  return r;
}

Mat4 Mat4::perspective(double fovDegrees) {
  Mat4 r;
  const double t = std::tan(fovDegrees * kDegrees / 2);
  if (!(t > 0) || !std::isfinite(t)) return r;
  r.m[0][0] = 1 / t;
  r.m[1][1] = 1 / t;
  // z' / w = 1 - 1/z keeps depth order.
  r.m[2][3] = 1;
  r.m[3][2] = -1;
  r.m[3][3] = 0;
  return r;
}

Mat4 operator*(const Mat4 &a, const Mat4 &b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  return r;
}

double determinant3(const Mat4 &a) {
  const auto &m = a.m;
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

bool invert(const Mat4 &a, Mat4 &out) {
  double work[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      work[i][j] = a.m[i][j];
      work[i][j + 4] = i == j ? 1 : 0;
    }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int row = col + 1; row < 4; ++row)
      if (std::fabs(work[row][col]) > std::fabs(work[pivot][col])) pivot = row;
    const double p = work[pivot][col];
    if (!(std::fabs(p) > 1e-300) || !std::isfinite(p)) return false;
    if (pivot != col)
      for (int j = 0; j < 8; ++j) std::swap(work[pivot][j], work[col][j]);
    for (int j = 0; j < 8; ++j) work[col][j] /= p;
    for (int row = 0; row < 4; ++row) {
      if (row == col) continue;
      const double f = work[row][col];
      for (int j = 0; j < 8; ++j) work[row][j] -= f * work[col][j];
    }
  }
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out.m[i][j] = work[i][j + 4];
  return true;
}

Vec3 transformPoint(const Mat4 &a, Vec3 p, double *wOut) {
  const auto &m = a.m;
  const double x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
  const double y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
  const double z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
  const double w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
  if (wOut != nullptr) *wOut = w;
  if (w == 1) return {float(x), float(y), float(z)};
  return {float(x / w), float(y / w), float(z / w)};
}

Vec3 transformVector(const Mat4 &a, Vec3 v) {
  const auto &m = a.m;
  return {float(v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0]),
          float(v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1]),
          float(v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2])};
}

}  // namespace vellum::preview
