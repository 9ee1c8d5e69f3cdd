// Small scenes drawn by the preview renderer and compared with the pictures
// kept in tests/pictures/, allowing one level of difference per channel.
// After a deliberate change to drawing, rewrite the pictures, then look at
// each one before committing it:
//   VELLUM_UPDATE_PICTURES=1 build/bin/vellum_tests --gtest_filter='PreviewPictures.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "preview/image/png_file.h"
#include "tests/preview_test_support.h"
#include "tests/test_support.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;
using vellum::preview::readPng;
using vellum::preview::writePng;
using vellum_test::drawScene;
using vellum_test::tempPath;
using vellum_test::tok;

using Scene = std::function<void(PreviewContext &)>;

struct PictureCase {
  const char *name;  // tests/pictures/NAME.png
  Scene camera, world;
  // Display names, each replacing the one before: only the last is written.
  std::vector<std::string> displays;
  std::vector<std::string> warnings = {};
};

// A flat rectangle at depth z facing the camera: a bicubic patch, finely
// tessellated and smoothly shaded, so that light can vary across it.
void plane(PreviewContext &c, float x0, float x1, float y0, float y1, float z) {
  RtFloat p[48];
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      RtFloat *point = p + 3 * (4 * j + i);
      point[0] = x0 + (x1 - x0) * float(i) / 3, point[1] = y1 + (y0 - y1) * float(j) / 3, point[2] = z;
    }
  c.Patch(tok("bicubic"), tok("P"), p, RI_NULL);
}

void color(PreviewContext &c, float r, float g, float b) {
  RtColor value{r, g, b};
  c.Color(value);
}

// A distant light shining from (x, y, z) toward the origin.
void distantLight(PreviewContext &c, float x, float y, float z) {
  RtPoint from{x, y, z}, to{0, 0, 0};
  c.LightSource(tok("distantlight"), tok("from"), from, tok("to"), to, RI_NULL);
}

// A cube of side 1.2 at depth 2, turned to show three faces, as a
// subdivision mesh with the given tags; vertex 4 is the nearest corner.
void subdivisionCube(PreviewContext &c, RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                     RtFloat floatargs[]) {
  RtInt nv[] = {4, 4, 4, 4, 4, 4}, v[] = {0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4};
  RtFloat p[24];
  for (int k = 0; k < 8; ++k)
    p[3 * k] = k & 1 ? 0.6f : -0.6f, p[3 * k + 1] = (k + 2) & 4 ? 0.6f : -0.6f, p[3 * k + 2] = k < 4 ? 0.6f : -0.6f;
  distantLight(c, -1, 1, -1);
  c.Surface(tok("matte"), RI_NULL);
  c.Translate(0, 0, 2);
  c.Rotate(-25, 1, 0, 0);
  c.Rotate(35, 0, 1, 0);
  c.SubdivisionMesh(tok("catmull-clark"), 6, nv, v, ntags, tags, nargs, intargs, floatargs, tok("P"), p, RI_NULL);
}

// The cube with all twelve edges creased alike.
void creasedCube(PreviewContext &c, float sharpness) {
  RtToken crease = tok("crease");
  RtToken tags[] = {crease, crease, crease, crease, crease, crease};
  RtInt nargs[] = {5, 1, 5, 1, 2, 1, 2, 1, 2, 1, 2, 1};
  RtInt chains[] = {0, 1, 3, 2, 0, 6, 7, 5, 4, 6, 0, 6, 1, 7, 2, 4, 3, 5};
  RtFloat s[] = {sharpness, sharpness, sharpness, sharpness, sharpness, sharpness};
  subdivisionCube(c, 6, tags, nargs, chains, s);
}

// Three by three faces with the middle face raised, seen from above.
void openGrid(PreviewContext &c, bool interpolateBoundary) {
  distantLight(c, -1, 1, -1);
  c.Surface(tok("matte"), RI_NULL);
  c.Translate(0, -0.15f, 3);
  c.Rotate(-130, 1, 0, 0);
  c.Scale(0.55f, 0.55f, 0.55f);
  RtFloat p[48];
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      RtFloat *point = p + 3 * (4 * j + i);
      const bool middle = (i == 1 || i == 2) && (j == 1 || j == 2);
      point[0] = float(i) - 1.5f, point[1] = float(j) - 1.5f, point[2] = middle ? 1.2f : 0;
    }
  RtInt nvertices[9], vertices[36];
  for (int f = 0; f < 9; ++f) {
    const RtInt corner = f / 3 * 4 + f % 3;
    nvertices[f] = 4;
    vertices[4 * f] = corner, vertices[4 * f + 1] = corner + 1;
    vertices[4 * f + 2] = corner + 5, vertices[4 * f + 3] = corner + 4;
  }
  RtToken tags[] = {tok("interpolateboundary")};
  RtInt nargs[] = {0, 0};
  c.SubdivisionMesh(tok("catmull-clark"), 9, nvertices, vertices, interpolateBoundary ? 1 : 0, tags, nargs, nullptr,
                    nullptr, tok("P"), p, RI_NULL);
}

// "" when the pictures have the same size and no channel differs by more
// than one level, otherwise how they differ.
std::string difference(const Image &drawn, const Image &stored) {
  if (drawn.width != stored.width || drawn.height != stored.height) return "the sizes differ";
  auto text = [](const uint8_t *p) {
    return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]) + " " + std::to_string(p[3]);
  };
  int count = 0;
  std::string first;
  for (int y = 0; y < drawn.height; ++y)
    for (int x = 0; x < drawn.width; ++x) {
      const uint8_t *a = drawn.pixel(x, y), *b = stored.pixel(x, y);
      if (std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2]), std::abs(a[3] - b[3])}) <= 1)
        continue;
      if (count++ == 0)
        first = " (first at " + std::to_string(x) + "," + std::to_string(y) + ": " + text(a) + ", stored " +
                text(b) + ")";
    }
  return count == 0 ? "" : std::to_string(count) + " pixels differ" + first;
}

TEST(PreviewPictures, MatchTheStoredPictures) {
  const char *update = std::getenv("VELLUM_UPDATE_PICTURES");
  const bool updating = update != nullptr && std::string(update) == "1";
  const Scene perspective = [](PreviewContext &c) {
    RtFloat fov = 60;
    c.Projection(tok("perspective"), tok("fov"), &fov, RI_NULL);
  };
  // Lit from the upper left: the outside whole, with no facet of the near
  // side culled; the inside shows the far wall, lit at the lower right.
  const auto oneSidedSphere = [](const char *orientation) -> Scene {
    return [=](PreviewContext &c) {
      distantLight(c, -1, 1, -1);
      c.Surface(tok("matte"), RI_NULL);
      c.Sides(1);
      c.Orientation(tok(orientation));
      c.Translate(0, 0, 2);
      c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
    };
  };
  // A zone of a sphere tilted to show its inside through the top.
  const auto band = [](float zmin, float zmax) -> Scene {
    return [=](PreviewContext &c) {
      distantLight(c, -1, 1, -1);
      c.Surface(tok("matte"), RI_NULL);
      c.Translate(0, 0, 2);
      c.Rotate(-130, 1, 0, 0);
      c.Sphere(0.8f, zmin, zmax, 360, RI_NULL);
    };
  };
  // Two overlapping spheres lit from the upper left: an orange one, and a
  // smaller blue one up to the right and nearer, combined by `operation`.
  // With `disk`, the blue part is a disk facing the eye instead.
  const auto twoSpheres = [](const char *operation, bool disk = false) -> Scene {
    return [=](PreviewContext &c) {
      distantLight(c, -1, 1, -1);
      c.Surface(tok("matte"), RI_NULL);
      c.SolidBegin(tok(operation));
      c.SolidBegin(tok("primitive"));
      c.AttributeBegin();
      color(c, 0.9f, 0.5f, 0.2f);
      c.Translate(-0.15f, -0.1f, 2);
      c.Sphere(0.6f, -0.6f, 0.6f, 360, RI_NULL);
      c.AttributeEnd();
      c.SolidEnd();
      c.SolidBegin(tok("primitive"));
      color(c, 0.3f, 0.6f, 1);
      c.Translate(0.3f, 0.25f, 1.6f);
      if (disk) c.Disk(0, 0.45f, 360, RI_NULL);
      else c.Sphere(0.45f, -0.45f, 0.45f, 360, RI_NULL);
      c.SolidEnd();
      c.SolidEnd();
    };
  };
  const PictureCase cases[] = {
      {"plane_lit_from_front", nullptr, [](PreviewContext &c) {
         // A point light at the eye: inverse-square falloff toward the corners.
         RtFloat intensity = 4;
         c.LightSource(tok("pointlight"), tok("intensity"), &intensity, RI_NULL);
         color(c, 1, 0.6f, 0.2f);
         c.Surface(tok("matte"), RI_NULL);
         plane(c, -0.9f, 0.9f, -0.9f, 0.9f, 2);
       }, {}},
      {"plane_lit_from_behind", nullptr, [](PreviewContext &c) {
         // Only the ambient light reaches a two-sided (left) or one-sided
         // (right) plane lit from behind.
         RtFloat ambient = 0.25f;
         c.LightSource(tok("ambientlight"), tok("intensity"), &ambient, RI_NULL);
         distantLight(c, 0, 0, 5);
         color(c, 1, 0, 0);
         c.Surface(tok("matte"), RI_NULL);
         plane(c, -0.9f, -0.1f, -0.9f, 0.9f, 2);
         c.Sides(1);
         plane(c, 0.1f, 0.9f, -0.9f, 0.9f, 2);
       }, {}},
      {"spotlight_edge", nullptr, [](PreviewContext &c) {
         // Full light within 0.2 radians of the axis, none beyond 0.4.
         RtFloat intensity = 4, cone = 0.4f, delta = 0.2f;
         RtPoint to{0, 0, 1};
         c.LightSource(tok("spotlight"), tok("intensity"), &intensity, tok("to"), to, tok("coneangle"), &cone,
                       tok("conedeltaangle"), &delta, RI_NULL);
         c.Surface(tok("matte"), RI_NULL);
         plane(c, -1, 1, -1, 1, 2);
       }, {}},
      {"point_light_on_one_square", nullptr, [](PreviewContext &c) {
         // One polygon, lit by a point light near its lower left: bright
         // there, falling off with the square of the distance.
         RtFloat intensity = 0.35f;
         RtPoint from{-0.5f, -0.5f, 1.4f};
         c.LightSource(tok("pointlight"), tok("intensity"), &intensity, tok("from"), from, RI_NULL);
         color(c, 1, 0.9f, 0.7f);
         c.Surface(tok("matte"), RI_NULL);
         RtFloat square[] = {-0.9f, -0.9f, 2, -0.9f, 0.9f, 2, 0.9f, 0.9f, 2, 0.9f, -0.9f, 2};
         c.Polygon(4, tok("P"), square, RI_NULL);
       }, {}},
      {"spotlight_on_one_square", nullptr, [](PreviewContext &c) {
         // One polygon, and a spotlight's round pool of light on it, off
         // centre to the upper right, its edge soft over 0.08 radians.
         RtFloat intensity = 4, cone = 0.2f, delta = 0.08f;
         RtPoint from{0, 0, 0}, to{0.2f, 0.15f, 1};
         c.LightSource(tok("spotlight"), tok("intensity"), &intensity, tok("from"), from, tok("to"), to,
                       tok("coneangle"), &cone, tok("conedeltaangle"), &delta, RI_NULL);
         c.Surface(tok("matte"), RI_NULL);
         RtFloat square[] = {-0.9f, -0.9f, 2, -0.9f, 0.9f, 2, 0.9f, 0.9f, 2, 0.9f, -0.9f, 2};
         c.Polygon(4, tok("P"), square, RI_NULL);
       }, {}},
      {"plastic_specularcolor", nullptr, [](PreviewContext &c) {
         // A red sphere with a blue highlight toward the light at the upper left.
         distantLight(c, -1, 1, -1);
         color(c, 0.8f, 0.1f, 0.1f);
         RtColor specular{0.2f, 0.4f, 1};
         RtFloat ks = 1;
         c.Surface(tok("plastic"), tok("Ks"), &ks, tok("specularcolor"), specular, RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"plastic_highlight", nullptr, [](PreviewContext &c) {
         // A blue plastic sphere under a light from the upper left: a small
         // white highlight (the half-angle cosine to the power 8/roughness).
         distantLight(c, -1, 1, -1);
         color(c, 0.1f, 0.2f, 0.8f);
         c.Surface(tok("plastic"), RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.9f, -0.9f, 0.9f, 360, RI_NULL);
       }, {}},
      {"default_surface", nullptr, [](PreviewContext &c) {
         // Facing ratio, the same on every side: the light from the left is
         // not used.
         distantLight(c, -1, 0, 0);
         color(c, 0.4f, 0.7f, 1);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"disk_seen_from_behind", nullptr, [](PreviewContext &c) {
         // Two-sided disks under the headlight, tilted alike: the right one
         // shows its back and is lit as the left one is.
         color(c, 0.3f, 0.8f, 0.3f);
         c.Surface(tok("matte"), RI_NULL);
         c.TransformBegin();
         c.Translate(-0.5f, 0, 2);
         c.Rotate(40, 0, 1, 0);
         c.Disk(0, 0.4f, 360, RI_NULL);
         c.TransformEnd();
         c.Translate(0.5f, 0, 2);
         c.Rotate(180 - 40, 0, 1, 0);
         c.Disk(0, 0.4f, 360, RI_NULL);
       }, {}},
      {"sphere_one_sided", nullptr, oneSidedSphere("outside"), {}},
      {"sphere_inside", nullptr, oneSidedSphere("inside"), {}},
      {"transparent_squares", nullptr, [](PreviewContext &c) {
         // A half-transparent blue square, and nearer (drawn after it: the
         // preview composites in drawing order) a white one opaque to red
         // only: where they overlap, red comes from the white square alone.
         c.Surface(tok("constant"), RI_NULL);
         RtColor half{0.5f, 0.5f, 0.5f}, redOnly{1, 0.2f, 0.2f};
         c.Opacity(half);
         color(c, 0.2f, 0.4f, 1);
         plane(c, -0.3f, 0.8f, -0.8f, 0.3f, 3);
         c.Opacity(redOnly);
         color(c, 1, 1, 1);
         plane(c, -0.8f, 0.3f, -0.3f, 0.8f, 2);
       }, {}},
      {"polygon_through_the_near_plane", perspective, [](PreviewContext &c) {
         // A floor from behind the eye (red) to far ahead (blue), clipped at
         // the near plane: the lower half up to the horizon, its colour true
         // to perspective (still mostly red at the bottom edge).
         c.Surface(tok("constant"), RI_NULL);
         RtFloat floor[] = {-2, -1, -3, -2, -1, 20, 2, -1, 20, 2, -1, -3};
         RtColor cs[] = {{1, 0, 0}, {0, 0, 1}, {0, 0, 1}, {1, 0, 0}};
         c.Polygon(4, tok("P"), floor, tok("Cs"), cs, RI_NULL);
       }, {}},
      // A smooth bump; the boundary is smoothed but reaches the corners.
      {"subdivision_open_grid", nullptr, [](PreviewContext &c) { openGrid(c, true); }, {}},
      // Without "interpolateboundary" the faces on the boundary are not
      // drawn: only the middle patch of the bump is.
      {"subdivision_boundary_not_interpolated", nullptr, [](PreviewContext &c) { openGrid(c, false); }, {}},
      {"subdivision_quad_interpolated", nullptr, [](PreviewContext &c) {
         // One face, with "interpolateboundary": the flat square whole, to
         // its corners.
         c.Surface(tok("constant"), RI_NULL);
         RtFloat p[] = {-0.7f, -0.7f, 2, 0.7f, -0.7f, 2, 0.7f, 0.7f, 2, -0.7f, 0.7f, 2};
         RtInt nv[] = {4}, v[] = {0, 1, 2, 3}, nargs[] = {0, 0};
         RtToken tags[] = {tok("interpolateboundary")};
         c.SubdivisionMesh(tok("catmull-clark"), 1, nv, v, 1, tags, nargs, nullptr, nullptr, tok("P"), p, RI_NULL);
       }, {}},
      // Infinitely sharp edges: the cube itself, its faces flat and shaded
      // apart.
      {"subdivision_creased_cube", nullptr, [](PreviewContext &c) { creasedCube(c, 10); }, {}},
      // Sharpness 1.5: sharp for a step, then half so, then smooth: a
      // cube with rounded edges.
      {"subdivision_semi_sharp_crease", nullptr, [](PreviewContext &c) { creasedCube(c, 1.5f); }, {}},
      {"subdivision_corner", nullptr, [](PreviewContext &c) {
         // A smooth cube (a ball) whose nearest corner stays put: a point
         // toward the upper left.
         RtToken tags[] = {tok("corner")};
         RtInt nargs[] = {1, 1}, vertex[] = {4};
         RtFloat sharpness[] = {10};
         subdivisionCube(c, 1, tags, nargs, vertex, sharpness);
       }, {}},
      {"blobby_two_ellipsoids", nullptr, [](PreviewContext &c) {
         // Two spheres merged by their fields, red on the left blending
         // into blue on the right.
         distantLight(c, -1, 1, -1);
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         RtInt code[] = {1001, 0, 1001, 16, 0, 2, 0, 1};
         RtFloat flt[32] = {};
         for (int leaf = 0; leaf < 2; ++leaf) {
           RtFloat *m = flt + 16 * leaf;
           m[0] = m[5] = m[10] = 0.9f, m[15] = 1;
           m[12] = leaf == 0 ? -0.44f : 0.44f;
         }
         RtColor cs[] = {{1, 0.1f, 0.1f}, {0.1f, 0.1f, 1}};
         c.Blobby(2, 8, code, 32, flt, 0, nullptr, tok("vertex color Cs"), cs, RI_NULL);
       }, {}},
      {"blobby_segment", nullptr, [](PreviewContext &c) {
         // A capsule from the lower left to the upper right, orange all over.
         distantLight(c, -1, 1, -1);
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         RtInt code[] = {1002, 0};
         RtFloat flt[23] = {-0.5f, -0.5f, 0, 0.5f, 0.5f, 0, 0.5f, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
         RtColor orange = {1, 0.5f, 0};
         c.Blobby(1, 2, code, 23, flt, 0, nullptr, tok("uniform color Cs"), orange, RI_NULL);
       }, {}},
      {"sphere_band", nullptr, band(-0.3f, 0.5f), {}},
      {"sphere_band", nullptr, band(0.5f, -0.3f), {}},  // zmin above zmax: the same band
      {"sphere_negative_thetamax", nullptr, [](PreviewContext &c) {
         // Swept clockwise from +x: the missing quarter is between +x and +y.
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, -270, RI_NULL);
       }, {}},
      {"pixel_samples_1_1", [](PreviewContext &c) { c.PixelSamples(1, 1); }, [](PreviewContext &c) {
         // Still two samples a side: edges are smoothed.
         c.Surface(tok("constant"), RI_NULL);
         c.Rotate(20, 0, 0, 1);
         plane(c, -0.6f, 0.6f, -0.6f, 0.6f, 2);
       }, {}},
      {"bxdf_diffuse_color", nullptr, [](PreviewContext &c) {
         // Orange and matte, without the highlight a plastic would show:
         // the diffuse colour, not the first colour nor the green Cs.
         distantLight(c, -1, 1, -1);
         color(c, 0, 1, 0);
         RtColor specular{0, 0, 1}, diffuse{1, 0.5f, 0};
         c.Bxdf(tok("PxrSurface"), tok("orange"), tok("color specularFaceColor"), specular,
                tok("color diffuseColor"), diffuse, RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"light_plugin_distant", nullptr, [](PreviewContext &c) {
         // Along the +z of its space, turned to shine from the upper left;
         // intensity 0.5 · 2^1, pale orange.
         c.TransformBegin();
         c.Rotate(45, 0, 1, 0);
         c.Rotate(45, 1, 0, 0);
         RtFloat intensity = 0.5f, exposure = 1;
         RtColor tint{1, 0.8f, 0.6f};
         c.Light(tok("PxrDistantLight"), tok("sun"), tok("float intensity"), &intensity, tok("float exposure"),
                 &exposure, tok("color lightColor"), tint, RI_NULL);
         c.TransformEnd();
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"light_plugin_dome_and_point", nullptr, [](PreviewContext &c) {
         // A dim blue dome all over, and a sphere light at the left edge
         // whose light falls off with the square of the distance.
         RtFloat dim = 0.3f, bright = 0.15f;
         RtColor blue{0.3f, 0.3f, 1};
         c.Light(tok("PxrDomeLight"), tok("sky"), tok("float intensity"), &dim, tok("color lightColor"), blue, RI_NULL);
         c.TransformBegin();
         c.Translate(-1, 0, 1.5f);
         c.Light(tok("PxrSphereLight"), tok("bulb"), tok("float intensity"), &bright, RI_NULL);
         c.TransformEnd();
         c.Surface(tok("matte"), RI_NULL);
         plane(c, -1, 1, -1, 1, 2);
       }, {}},
      {"light_plugin_in_its_block", nullptr, [](PreviewContext &c) {
         // Written as for renderers that take Light: each light in a block
         // of its own, for its transform, lighting the whole world: a dim
         // dome all over and a distant light from the upper left on an
         // orange Bxdf sphere.
         RtFloat dim = 0.2f;
         c.AttributeBegin();
         c.Light(tok("PxrDomeLight"), tok("sky"), tok("float intensity"), &dim, RI_NULL);
         c.AttributeEnd();
         c.AttributeBegin();
         c.Rotate(45, 0, 1, 0);
         c.Rotate(45, 1, 0, 0);
         c.Light(tok("PxrDistantLight"), tok("sun"), RI_NULL);
         c.AttributeEnd();
         RtColor orange{1, 0.5f, 0};
         c.Bxdf(tok("PxrDiffuse"), tok("paint"), tok("color diffuseColor"), orange, RI_NULL);
         c.Translate(0, 0, 2);
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"clipping_plane_sphere", nullptr, [](PreviewContext &c) {
         // The near upper right cut away by a plane through the centre that
         // faces the eye half-way (it is given in a turned space): the
         // inside of the far wall shows through the cut.
         distantLight(c, -1, 1, -1);
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         c.TransformBegin();
         c.Rotate(45, 0, 0, 1);
         c.ClippingPlane(0, 0, 0, 1, 0, -1);
         c.TransformEnd();
         c.Sphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
       }, {}},
      {"object_attributes", nullptr, [](PreviewContext &c) {
         // Two instances of a teal, 0.8-opaque square that its definition
         // colours, the lower right one over the other; the discs on them
         // have no colour of their own: orange and blue as instanced.
         c.Surface(tok("constant"), RI_NULL);
         RtObjectHandle object = c.ObjectBegin();
         c.AttributeBegin();
         color(c, 0, 0.5f, 0.5f);
         RtColor opacity{0.8f, 0.8f, 0.8f};
         c.Opacity(opacity);
         RtFloat square[] = {-0.45f, -0.45f, 0, -0.45f, 0.45f, 0, 0.45f, 0.45f, 0, 0.45f, -0.45f, 0};
         c.Polygon(4, tok("P"), square, RI_NULL);
         c.AttributeEnd();
         c.Disk(-0.1f, 0.2f, 360, RI_NULL);
         c.ObjectEnd();
         color(c, 1, 0.5f, 0);
         c.TransformBegin();
         c.Translate(-0.3f, 0.3f, 2);
         c.ObjectInstance(object);
         c.TransformEnd();
         color(c, 0.2f, 0.3f, 1);
         c.Translate(0.3f, -0.3f, 1.5f);
         c.ObjectInstance(object);
       }, {}},
      {"detail_range", nullptr, [](PreviewContext &c) {
         // A bound 16 pixels across (a detail of 256) is in the transition
         // from a red square (to 200-400) to a green sphere, below its
         // middle: only the square.
         c.Surface(tok("matte"), RI_NULL);
         c.Translate(0, 0, 2);
         RtBound bound = {-0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f};
         c.Detail(bound);
         c.AttributeBegin();
         c.DetailRange(0, 0, 200, 400);
         color(c, 1, 0.2f, 0.2f);
         RtFloat square[] = {-0.5f, -0.5f, 0, -0.5f, 0.5f, 0, 0.5f, 0.5f, 0, 0.5f, -0.5f, 0};
         c.Polygon(4, tok("P"), square, RI_NULL);
         c.AttributeEnd();
         c.AttributeBegin();
         c.DetailRange(200, 400, 1e38f, 1e38f);
         color(c, 0.2f, 1, 0.2f);
         c.Sphere(0.5f, -0.5f, 0.5f, 360, RI_NULL);
         c.AttributeEnd();
       }, {}},
      {"teapot", nullptr, [](PreviewContext &c) {
         // Geometry "teapot", plastic, seen from a little above, lit from
         // the upper left: spout to the right, handle to the left.
         distantLight(c, -1, 1, -1);
         color(c, 0.9f, 0.6f, 0.3f);
         c.Surface(tok("plastic"), RI_NULL);
         c.Translate(0, -0.35f, 3);
         c.Rotate(-100, 1, 0, 0);
         c.Scale(0.28f, 0.28f, 0.28f);
         c.Geometry(tok("teapot"), RI_NULL);
       }, {}},
      {"display_replaced", nullptr, [](PreviewContext &c) {
         // Drawn with a Display replaced by a later one.
         color(c, 1, 0.5f, 0);
         c.Translate(0, 0, 2);
         c.Sphere(0.6f, -0.6f, 0.6f, 360, RI_NULL);
       }, {tempPath("first.png"), tempPath("second.png")}},
      // The blue sphere in front where they overlap; only the lens where
      // both are, orange in front; the orange one carved where the blue one
      // was, its hollow blue and lit at the lower right.
      {"csg_union", nullptr, twoSpheres("union"), {}},
      {"csg_intersection", nullptr, twoSpheres("intersection"), {}},
      {"csg_difference", nullptr, twoSpheres("difference"), {}},
      // The square NuPatch cut to a ring by two trim loops, and to a square
      // with a round hole by one loop of sense "outside".
      {"nupatch_trimmed_ring", nullptr, [](PreviewContext &c) {
         color(c, 0.3f, 0.8f, 1);
         vellum_test::TrimLoops().circle(0.5f, 0.5f, 0.45f).circle(0.5f, 0.5f, 0.2f).apply(c);
         vellum_test::squareNuPatch(c, 2);
       }, {}},
      {"nupatch_trimmed_outside", nullptr, [](PreviewContext &c) {
         RtToken outside[] = {tok("outside")};
         c.Attribute(tok("trimcurve"), tok("sense"), outside, RI_NULL);
         vellum_test::TrimLoops().circle(0.4f, 0.6f, 0.25f).apply(c);
         vellum_test::squareNuPatch(c, 2);
       }, {}},
      // A disk closes no volume: both drawn whole, as a union.
      {"csg_open_part", nullptr, twoSpheres("difference", true), {},
       {"a part of a solid does not close a volume: the solid is drawn as a union"}},
  };
  for (const PictureCase &c : cases) {
    SCOPED_TRACE(c.name);
    const auto drawn = drawScene(32, 32, [&](PreviewContext &ctx) {
      ctx.setWriteDisplays(true);
      for (const std::string &name : c.displays) ctx.Display(tok(name.c_str()), tok("file"), tok("rgba"), RI_NULL);
      if (c.camera) c.camera(ctx);
    }, c.world);
    EXPECT_EQ(drawn.warnings, c.warnings);
    Image picture = drawn.picture;
    for (const std::string &name : c.displays) {
      const bool last = &name == &c.displays.back();
      if (last) {
        EXPECT_EQ(readPng(name, picture), "");
      }
      EXPECT_EQ(std::remove(name.c_str()) == 0, last) << name << " written";
    }
    const std::string stored = std::string(VELLUM_TEST_PICTURES) + "/" + c.name + ".png";
    if (updating) {
      EXPECT_EQ(writePng(stored, picture), "");
      continue;
    }
    Image expected;
    EXPECT_EQ(readPng(stored, expected), "");
    EXPECT_EQ(difference(picture, expected), "");
  }
}

}  // namespace
