#include "reader/request_shapes.h"

#include <string_view>
#include <unordered_map>

namespace vellum {

namespace {

const RequestShape kShapes[] = {
    // Structure, archives and declarations.
    {"version", "f", false, CountRule::kNone},
    {"FrameBegin", "i", false, CountRule::kNone},
    {"FrameEnd", "", false, CountRule::kNone},
    {"WorldBegin", "", false, CountRule::kNone},
    {"WorldEnd", "", false, CountRule::kNone},
    {"AttributeBegin", "", false, CountRule::kNone},
    {"AttributeEnd", "", false, CountRule::kNone},
    {"TransformBegin", "", false, CountRule::kNone},
    {"TransformEnd", "", false, CountRule::kNone},
    {"SolidBegin", "s", false, CountRule::kNone},
    {"SolidEnd", "", false, CountRule::kNone},
    {"ObjectBegin", "i", false, CountRule::kNone},
    {"ObjectEnd", "", false, CountRule::kNone},
    {"ObjectInstance", "i", false, CountRule::kNone},
    {"MotionBegin", "F", false, CountRule::kNone},
    {"MotionEnd", "", false, CountRule::kNone},
    {"Declare", "ss", false, CountRule::kNone},
    {"ErrorHandler", "s", false, CountRule::kNone},
    {"ReadArchive", "s", true, CountRule::kNone},
    // Camera and options.
    {"Format", "iif", false, CountRule::kNone},
    {"FrameAspectRatio", "f", false, CountRule::kNone},
    {"ScreenWindow", "ffff", false, CountRule::kNone},
    {"CropWindow", "ffff", false, CountRule::kNone},
    {"Projection", "s", true, CountRule::kNone},
    {"Clipping", "ff", false, CountRule::kNone},
    {"DepthOfField", "fff", false, CountRule::kNone},
    {"Shutter", "ff", false, CountRule::kNone},
    {"PixelVariance", "f", false, CountRule::kNone},
    {"PixelSamples", "ff", false, CountRule::kNone},
    {"PixelFilter", "sff", false, CountRule::kNone},
    {"Exposure", "ff", false, CountRule::kNone},
    {"Quantize", "siiif", false, CountRule::kNone},
    {"Display", "sss", true, CountRule::kNone},
    {"Hider", "s", true, CountRule::kNone},
    {"ColorSamples", "FF", false, CountRule::kNone},
    {"RelativeDetail", "f", false, CountRule::kNone},
    {"Option", "s", true, CountRule::kNone},
    // Attributes.
    {"Color", "fff", false, CountRule::kNone},
    {"Opacity", "fff", false, CountRule::kNone},
    {"TextureCoordinates", "ffffffff", false, CountRule::kNone},
    {"ShadingRate", "f", false, CountRule::kNone},
    {"ShadingInterpolation", "s", false, CountRule::kNone},
    {"Matte", "i", false, CountRule::kNone},
    {"Bound", "ffffff", false, CountRule::kNone},
    {"Detail", "ffffff", false, CountRule::kNone},
    {"DetailRange", "ffff", false, CountRule::kNone},
    {"GeometricApproximation", "sf", false, CountRule::kNone},
    {"GeometricRepresentation", "s", false, CountRule::kNone},
    {"Sides", "i", false, CountRule::kNone},
    {"Orientation", "s", false, CountRule::kNone},
    {"ReverseOrientation", "", false, CountRule::kNone},
    {"Attribute", "s", true, CountRule::kNone},
    // Transformations.
    {"Identity", "", false, CountRule::kNone},
    {"ConcatTransform", "ffffffffffffffff", false, CountRule::kNone},
    {"Transform", "ffffffffffffffff", false, CountRule::kNone},
    {"Perspective", "f", false, CountRule::kNone},
    {"Translate", "fff", false, CountRule::kNone},
    {"Rotate", "ffff", false, CountRule::kNone},
    {"Scale", "fff", false, CountRule::kNone},
    {"Skew", "fffffff", false, CountRule::kNone},
    {"CoordinateSystem", "s", false, CountRule::kNone},
    {"CoordSysTransform", "s", false, CountRule::kNone},
    // Shaders and lights.
    {"Surface", "s", true, CountRule::kNone},
    {"Displacement", "s", true, CountRule::kNone},
    {"Atmosphere", "s", true, CountRule::kNone},
    {"Interior", "s", true, CountRule::kNone},
    {"Exterior", "s", true, CountRule::kNone},
    {"Imager", "s", true, CountRule::kNone},
    {"LightSource", "si", true, CountRule::kNone},
    {"AreaLightSource", "si", true, CountRule::kNone},
    {"Illuminate", "ii", false, CountRule::kNone},
    // Geometry.
    {"Basis", "BiBi", false, CountRule::kNone},
    {"TrimCurve", "IIFFFIFFF", false, CountRule::kNone},
    {"Patch", "s", true, CountRule::kPatch},
    {"PatchMesh", "sisis", true, CountRule::kPatchMesh},
    {"NuPatch", "iiFffiiFff", true, CountRule::kNuPatch},
    {"Cone", "fff", true, CountRule::kQuadric},
    {"Cylinder", "ffff", true, CountRule::kQuadric},
    {"Disk", "fff", true, CountRule::kQuadric},
    {"Hyperboloid", "fffffff", true, CountRule::kQuadric},
    {"Paraboloid", "ffff", true, CountRule::kQuadric},
    {"Sphere", "ffff", true, CountRule::kQuadric},
    {"Torus", "fffff", true, CountRule::kQuadric},
    {"Polygon", "", true, CountRule::kPolygon},
    {"GeneralPolygon", "I", true, CountRule::kGeneralPolygon},
    {"PointsPolygons", "II", true, CountRule::kPointsPolygons},
    {"PointsGeneralPolygons", "III", true, CountRule::kPointsGeneralPolygons},
    {"Curves", "sIs", true, CountRule::kCurves},
    {"Points", "", true, CountRule::kPoints},
    {"SubdivisionMesh", "sIIT", true, CountRule::kSubdivisionMesh},
    {"Blobby", "iIFS", true, CountRule::kBlobby},
    {"Procedural", "sSF", false, CountRule::kNone},
    {"Geometry", "s", true, CountRule::kNone},
    // Texture making.
    {"MakeTexture", "sssssff", true, CountRule::kNone},
    {"MakeLatLongEnvironment", "sssff", true, CountRule::kNone},
    {"MakeCubeFaceEnvironment", "sssssssfsff", true, CountRule::kNone},
    {"MakeShadow", "ss", true, CountRule::kNone},
};

}  // namespace

const RequestShape *findRequestShape(const std::string &name) {
  static const std::unordered_map<std::string_view, const RequestShape *> byName = [] {
    std::unordered_map<std::string_view, const RequestShape *> map;
    for (const RequestShape &shape : kShapes) map.emplace(shape.name, &shape);
    return map;
  }();
  auto found = byName.find(name);
  return found != byName.end() ? found->second : nullptr;
}

}  // namespace vellum
