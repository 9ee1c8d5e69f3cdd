#include "preview/raster/mesh_drawer.h"

#include <algorithm>
#include <cmath>

namespace vellum::preview {

namespace {

constexpr uint8_t kInvalid = 0x80;  // a vertex that did not transform to a finite point

Vec3 at(const float *values, size_t index) {
  return {values[3 * index], values[3 * index + 1], values[3 * index + 2]};
}

Vec3 colorAt(const ColorView &view, Vec3 attribute, size_t triangle, size_t vertex, int corner) {
  switch (view.source) {
    case ColorSource::kPerVertex: return at(view.values, vertex);
    case ColorSource::kPerTriangle: return at(view.values, triangle);
    case ColorSource::kPerCorner: return at(view.values, 3 * triangle + corner);
    default: return attribute;
  }
}

bool isProjective(const Mat4 &m) {
  return m.m[0][3] != 0 || m.m[1][3] != 0 || m.m[2][3] != 0 || m.m[3][3] != 1;
}

}  // namespace

size_t MeshDrawer::draw(const MeshView &mesh, const DrawState &state, const Projection &projection,
                        SampleBuffer &buffer) {
  const size_t n = mesh.vertices;
  added_ = 0;
  if (n == 0 || mesh.P == nullptr || mesh.triangles == nullptr || mesh.triangleCount == 0) return 0;
  camera_.resize(n);
  outcode_.resize(n);
  grid_.resize(n);
  const Mat4 &toCamera = state.objectToCamera;
  const bool projective = isProjective(toCamera);
  const ClipPlane *planes = state.clipPlanes != nullptr ? state.clipPlanes->data() : nullptr;
  const size_t planeCount = planes != nullptr ? std::min(state.clipPlanes->size(), kMostClippingPlanes) : 0;
  if (planeCount != 0) outside_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    double w = 1;
    const Vec3 p = transformPoint(toCamera, at(mesh.P, i), &w);
    if (!isFinite(p) || (projective && !(w > 0))) {
      outcode_[i] = kInvalid;
      continue;
    }
    camera_[i] = p;
    if (planeCount != 0) {
      uint32_t outside = 0;
      for (size_t k = 0; k < planeCount; ++k)
        if (!(planes[k].at(p) >= 0)) outside |= 1u << k;
      outside_[i] = outside;
    }
    const unsigned code = projection.outcode(p);
    outcode_[i] = uint8_t(code);
    if (code == 0)
      grid_[i] = {projection.sampleX(p), projection.sampleY(p), projection.depth(p), projection.inverseW(p),
                  0, 0, 0, {}};
  }

  const std::vector<Light> noLights;
  const std::vector<Light> &lights = state.lights != nullptr ? *state.lights : noLights;
  const bool constant = state.surface.kind == SurfaceModel::kConstant;
  // Smooth shading: normals through the inverse transpose of the linear part.
  Mat4 normalMatrix, linear = toCamera;
  linear.m[3][0] = linear.m[3][1] = linear.m[3][2] = 0;
  const bool smooth = !constant && mesh.N != nullptr && invert(linear, normalMatrix);
  const bool fine = state.splitAllowance > 0 && state.lights != nullptr && FineLighting::wanted(state.surface, lights);
  if (fine) fine_.begin(projection);
  if (smooth) {
    lighting_.resize(n);
    if (fine) normal_.resize(n);
    for (size_t i = 0; i < n; ++i) {
      if (outcode_[i] & kInvalid) continue;
      // Row-vector normals go through the transpose of the inverse.
      const Vec3 objectNormal = at(mesh.N, i);
      const auto &m = normalMatrix.m;
      Vec3 normal = normalize({float(m[0][0] * objectNormal.x + m[0][1] * objectNormal.y + m[0][2] * objectNormal.z),
                               float(m[1][0] * objectNormal.x + m[1][1] * objectNormal.y + m[1][2] * objectNormal.z),
                               float(m[2][0] * objectNormal.x + m[2][1] * objectNormal.y + m[2][2] * objectNormal.z)});
      const Vec3 toEye = normalize(-projection.viewDirection(camera_[i]));
      if (dot(normal, toEye) < 0) normal = -normal;
      lighting_[i] = shade(state.surface, lights, camera_[i], normal, toEye);
      if (fine) normal_[i] = normal;
    }
  }
  // When colour depends on the vertex alone, it is worked out once per vertex.
  const bool perVertexColor = (constant || smooth) &&
                              (mesh.Cs.source == ColorSource::kAttribute || mesh.Cs.source == ColorSource::kPerVertex) &&
                              (mesh.Os.source == ColorSource::kAttribute || mesh.Os.source == ColorSource::kPerVertex);
  if (perVertexColor) {
    for (size_t i = 0; i < n; ++i) {
      if (outcode_[i] & kInvalid) continue;
      const Vec3 cs = colorAt(mesh.Cs, state.color, 0, i, 0), os = colorAt(mesh.Os, state.opacity, 0, i, 0);
      const Lighting light = constant ? Lighting{{1, 1, 1}, {}} : lighting_[i];
      const Vec3 c = mul(os, mul(cs, light.scale) + light.offset);
      GridVertex &g = grid_[i];
      g.r = c.x, g.g = c.y, g.b = c.z;
      g.opacity[0] = os.x, g.opacity[1] = os.y, g.opacity[2] = os.z;
    }
  }

  for (size_t t = 0; t < mesh.triangleCount; ++t) {
    // Once the buffer's meter refuses a triangle, none after it is drawn.
    if (buffer.stopped()) break;
    const int32_t *tri = mesh.triangles + 3 * t;
    if (tri[0] < 0 || tri[1] < 0 || tri[2] < 0 || size_t(tri[0]) >= n || size_t(tri[1]) >= n ||
        size_t(tri[2]) >= n)
      continue;
    const size_t i0 = size_t(tri[0]), i1 = size_t(tri[1]), i2 = size_t(tri[2]);
    const unsigned c0 = outcode_[i0], c1 = outcode_[i1], c2 = outcode_[i2];
    const unsigned any = c0 | c1 | c2;
    if ((any & kInvalid) || (c0 & c1 & c2)) continue;
    uint32_t crossed = 0;
    if (planeCount != 0) {
      const uint32_t o0 = outside_[i0], o1 = outside_[i1], o2 = outside_[i2];
      if (o0 & o1 & o2) continue;
      crossed = o0 | o1 | o2;
    }
    const Vec3 p0 = camera_[i0], p1 = camera_[i1], p2 = camera_[i2];
    const Vec3 facet = cross(p1 - p0, p2 - p0);
    if (!state.twoSided) {
      const bool facesEye = dot(facet, projection.viewDirection(p0)) < 0;
      if (facesEye != state.leftHanded) continue;
    }
    const bool large = fine && any == 0 && (fine_.splits(grid_[i0].x, grid_[i0].y, grid_[i1].x, grid_[i1].y) ||
                                            fine_.splits(grid_[i1].x, grid_[i1].y, grid_[i2].x, grid_[i2].y) ||
                                            fine_.splits(grid_[i2].x, grid_[i2].y, grid_[i0].x, grid_[i0].y));
    if (perVertexColor && any == 0 && crossed == 0 && !large) {
      buffer.drawTriangle(grid_[i0], grid_[i1], grid_[i2]);
      continue;
    }
    const size_t index[3] = {i0, i1, i2};
    Corner corners[3];
    Lighting flat;
    if (!smooth && !constant) {
      const Vec3 centre = (p0 + p1 + p2) * (1.0f / 3);
      const Vec3 toEye = normalize(-projection.viewDirection(centre));
      Vec3 normal = normalize(facet);
      if (dot(normal, toEye) < 0) normal = -normal;
      flat = shade(state.surface, lights, centre, normal, toEye);
    }
    for (int k = 0; k < 3; ++k) {
      corners[k].p = camera_[index[k]];
      if (fine) {
        corners[k].normal = smooth ? normal_[index[k]] : facet;
        corners[k].cs = colorAt(mesh.Cs, state.color, t, index[k], k);
      }
      if (perVertexColor) {
        const GridVertex &g = grid_[index[k]];
        corners[k].color = {g.r, g.g, g.b};
        corners[k].opacity = {g.opacity[0], g.opacity[1], g.opacity[2]};
        continue;
      }
      const Lighting light = constant ? Lighting{{1, 1, 1}, {}} : smooth ? lighting_[index[k]] : flat;
      const Vec3 cs = colorAt(mesh.Cs, state.color, t, index[k], k);
      const Vec3 os = colorAt(mesh.Os, state.opacity, t, index[k], k);
      corners[k].color = mul(os, mul(cs, light.scale) + light.offset);
      corners[k].opacity = os;
    }
    // Triangles crossing the guard band are measured once clipped.
    drawClipped(corners, any, crossed, planes, projection, buffer, fine && (large || any != 0) ? &state : nullptr);
  }
  return added_;
}

void MeshDrawer::drawClipped(const Corner corners[3], unsigned outcodes, uint32_t crossed, const ClipPlane *planes,
                             const Projection &projection, SampleBuffer &buffer, const DrawState *fine) {
  // Each plane adds at most one corner to the convex polygon.
  constexpr size_t kMostCorners = 3 + Projection::kPlanes + kMostClippingPlanes;
  Corner polygon[2][kMostCorners];
  int count = 3;
  for (int k = 0; k < 3; ++k) polygon[0][k] = corners[k];
  int from = 0;
  for (size_t plane = 0; plane < Projection::kPlanes + kMostClippingPlanes; ++plane) {
    const bool view = plane < Projection::kPlanes;
    if (view ? !(outcodes & (1u << plane)) : !(crossed & (1u << (plane - Projection::kPlanes)))) continue;
    const ClipPlane &clip = view ? projection.planes()[plane] : planes[plane - Projection::kPlanes];
    const Corner *in = polygon[from];
    Corner *out = polygon[1 - from];
    int kept = 0;
    for (int k = 0; k < count; ++k) {
      const Corner &a = in[k], &b = in[(k + 1) % count];
      const float da = clip.at(a.p), db = clip.at(b.p);
      if (da >= 0) out[kept++] = a;
      if ((da >= 0) != (db >= 0)) {
        const float s = da / (da - db);
        Corner &m = out[kept++];
        m.p = a.p + (b.p - a.p) * s;
        m.color = a.color + (b.color - a.color) * s;
        m.opacity = a.opacity + (b.opacity - a.opacity) * s;
        m.normal = a.normal + (b.normal - a.normal) * s;
        m.cs = a.cs + (b.cs - a.cs) * s;
      }
    }
    count = kept;
    from = 1 - from;
    if (count < 3) return;
  }
  GridVertex grid[kMostCorners];
  for (int k = 0; k < count; ++k) {
    const Corner &c = polygon[from][k];
    grid[k] = {projection.sampleX(c.p), projection.sampleY(c.p), projection.depth(c.p), projection.inverseW(c.p),
               c.color.x, c.color.y, c.color.z, {c.opacity.x, c.opacity.y, c.opacity.z}};
  }
  bool large = false;
  for (int k = 0; fine != nullptr && k < count && !large; ++k) {
    const GridVertex &a = grid[k], &b = grid[(k + 1) % count];
    large = fine_.splits(a.x, a.y, b.x, b.y);
  }
  if (large) {
    LitCorner lit[kMostCorners];
    for (int k = 0; k < count; ++k) {
      const Corner &c = polygon[from][k];
      lit[k] = {c.p, c.normal, c.cs, c.opacity};
    }
    added_ += fine_.draw(lit, count, fine->surface, *fine->lights, projection, buffer,
                         fine->splitAllowance - std::min(fine->splitAllowance, added_));
    return;
  }
  for (int k = 1; k + 1 < count; ++k) buffer.drawTriangle(grid[0], grid[k], grid[k + 1]);
}

}  // namespace vellum::preview
