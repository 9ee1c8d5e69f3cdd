#include "reader/rib_replayer.h"

#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>

#include "decl/declaration.h"
#include "reader/rib_parser.h"
#include "ri/current_context.h"
#include "ri/render_context.h"

namespace vellum {

namespace {

char *text(const RibValue &value) { return const_cast<char *>(value.string.c_str()); }
RtFloat number(const RibValue &value) { return static_cast<RtFloat>(value.number); }
RtInt integer(const RibValue &value) { return static_cast<RtInt>(value.number); }
RtFloat *floats(const RibValue &value) { return const_cast<RtFloat *>(value.floats.data()); }
RtInt *ints(const RibValue &value) { return const_cast<RtInt *>(value.ints.data()); }
RtInt sizeOf(const RibValue &value) { return static_cast<RtInt>(value.size()); }

void pointersTo(const RibValue &value, std::vector<char *> &out) {
  out.clear();
  for (const std::string &s : value.strings) out.push_back(const_cast<char *>(s.c_str()));
}

RtFilterFunc filterByName(const std::string &name) {
  if (name == "gaussian") return RiGaussianFilter;
  if (name == "box") return RiBoxFilter;
  if (name == "triangle") return RiTriangleFilter;
  if (name == "catmull-rom") return RiCatmullRomFilter;
  if (name == "sinc") return RiSincFilter;
  return nullptr;
}

RtErrorHandler handlerByName(const std::string &name) {
  if (name == "ignore") return RiErrorIgnore;
  if (name == "abort") return RiErrorAbort;
  return RiErrorPrint;
}

RtFloat (*basisByName(const std::string &name))[4] {
  if (name == "bezier") return RiBezierBasis;
  if (name == "b-spline") return RiBSplineBasis;
  if (name == "catmull-rom") return RiCatmullRomBasis;
  if (name == "hermite") return RiHermiteBasis;
  return RiPowerBasis;
}

RtFloat (*basisOf(const RibValue &value))[4] {
  if (value.kind == RibValue::kString) return basisByName(value.string);
  return reinterpret_cast<RtFloat(*)[4]>(floats(value));
}

RenderContext &context(const char *request) { return requireContext(request); }

}  // namespace

RtInt RibReplayer::parameterList(const RibRequest &request) {
  const size_t n = request.parameters.size();
  tokens_.resize(n);
  parms_.resize(n);
  stringValues_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const RibParameter &parameter = request.parameters[i];
    tokens_[i] = const_cast<char *>(parameter.token.c_str());
    const Declaration *declaration = lookupDeclaration(parameter.token.c_str());
    const int type = declaration != nullptr ? declaration->type : int{kTypeFloat};
    if (type == kTypeString) {
      pointersTo(parameter.value, stringValues_[i]);
      parms_[i] = stringValues_[i].data();
    } else if (type == kTypeInteger) {
      parms_[i] = ints(parameter.value);
    } else {
      parms_[i] = floats(parameter.value);
    }
  }
  return static_cast<RtInt>(n);
}

void RibReplayer::replay(const RibRequest &request) {
  if (request.isComment) {
    if (request.structure) {
      if (!sawRequest_ && request.comment.rfind("RenderMan RIB", 0) == 0) return;
      RiArchiveRecord(RI_STRUCTURE, const_cast<char *>("%s"), request.comment.c_str());
    } else {
      // The writer puts one blank after the hash.
      const char *comment = request.comment.c_str();
      RiArchiveRecord(RI_COMMENT, const_cast<char *>("%s"), *comment == ' ' ? comment + 1 : comment);
    }
    return;
  }
  const std::string &name = request.name;
  if (name == "version") return;
  sawRequest_ = true;
  const std::vector<RibValue> &o = request.operands;
  const RtInt n = parameterList(request);
  RtToken *t = tokens_.data();
  RtPointer *p = parms_.data();

  using Replay = std::function<void(RibReplayer &, const std::vector<RibValue> &, RtInt,
                                    RtToken *, RtPointer *)>;
  static const std::unordered_map<std::string, Replay> kReplays = {
      // Structure, archives and declarations.
      {"FrameBegin", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiFrameBegin(integer(o[0])); }},
      {"FrameEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiFrameEnd(); }},
      {"WorldBegin", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiWorldBegin(); }},
      {"WorldEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiWorldEnd(); }},
      {"AttributeBegin", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiAttributeBegin(); }},
      {"AttributeEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiAttributeEnd(); }},
      {"TransformBegin", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiTransformBegin(); }},
      {"TransformEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiTransformEnd(); }},
      {"SolidBegin", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiSolidBegin(text(o[0])); }},
      {"SolidEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiSolidEnd(); }},
      {"ObjectBegin",
       [](RibReplayer &r, auto &o, RtInt, RtToken *, RtPointer *) { r.objects_[integer(o[0])] = RiObjectBegin(); }},
      {"ObjectEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiObjectEnd(); }},
      {"ObjectInstance",
       [](RibReplayer &r, auto &o, RtInt, RtToken *, RtPointer *) { RiObjectInstance(r.objects_[integer(o[0])]); }},
      {"MotionBegin",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiMotionBeginV(sizeOf(o[0]), floats(o[0])); }},
      {"MotionEnd", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiMotionEnd(); }},
      {"Declare", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiDeclare(text(o[0]), text(o[1])); }},
      {"ErrorHandler",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiErrorHandler(handlerByName(o[0].string)); }},
      {"ReadArchive",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiReadArchiveV(text(o[0]), nullptr, n, t, p); }},
      // Camera and options.
      {"Format",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiFormat(integer(o[0]), integer(o[1]), number(o[2])); }},
      {"FrameAspectRatio", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiFrameAspectRatio(number(o[0])); }},
      {"ScreenWindow",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiScreenWindow(number(o[0]), number(o[1]), number(o[2]), number(o[3]));
       }},
      {"CropWindow",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiCropWindow(number(o[0]), number(o[1]), number(o[2]), number(o[3]));
       }},
      {"Projection",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiProjectionV(text(o[0]), n, t, p); }},
      {"Clipping", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiClipping(number(o[0]), number(o[1])); }},
      {"DepthOfField",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiDepthOfField(number(o[0]), number(o[1]), number(o[2]));
       }},
      {"Shutter", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiShutter(number(o[0]), number(o[1])); }},
      {"PixelVariance", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiPixelVariance(number(o[0])); }},
      {"PixelSamples",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiPixelSamples(number(o[0]), number(o[1])); }},
      {"PixelFilter",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiPixelFilter(filterByName(o[0].string), number(o[1]), number(o[2]));
       }},
      {"Exposure", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiExposure(number(o[0]), number(o[1])); }},
      {"Quantize",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiQuantize(text(o[0]), integer(o[1]), integer(o[2]), integer(o[3]), number(o[4]));
       }},
      {"Display",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiDisplayV(text(o[0]), text(o[1]), text(o[2]), n, t, p);
       }},
      {"Hider", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiHiderV(text(o[0]), n, t, p); }},
      {"ColorSamples",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiColorSamples(sizeOf(o[0]) / 3, floats(o[0]), floats(o[1]));
       }},
      {"RelativeDetail", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiRelativeDetail(number(o[0])); }},
      {"Option", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiOptionV(text(o[0]), n, t, p); }},
      // Attributes.
      {"Color",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtColor c = {number(o[0]), number(o[1]), number(o[2])};
         RiColor(c);
       }},
      {"Opacity",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtColor c = {number(o[0]), number(o[1]), number(o[2])};
         RiOpacity(c);
       }},
      {"TextureCoordinates",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiTextureCoordinates(number(o[0]), number(o[1]), number(o[2]), number(o[3]), number(o[4]),
                              number(o[5]), number(o[6]), number(o[7]));
       }},
      {"ShadingRate", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiShadingRate(number(o[0])); }},
      {"ShadingInterpolation",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiShadingInterpolation(text(o[0])); }},
      {"Matte",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiMatte(static_cast<RtBoolean>(integer(o[0]))); }},
      {"Bound",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtBound b = {number(o[0]), number(o[1]), number(o[2]), number(o[3]), number(o[4]), number(o[5])};
         RiBound(b);
       }},
      {"Detail",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtBound b = {number(o[0]), number(o[1]), number(o[2]), number(o[3]), number(o[4]), number(o[5])};
         RiDetail(b);
       }},
      {"DetailRange",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiDetailRange(number(o[0]), number(o[1]), number(o[2]), number(o[3]));
       }},
      {"GeometricApproximation",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiGeometricApproximation(text(o[0]), number(o[1]));
       }},
      {"GeometricRepresentation",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiGeometricRepresentation(text(o[0])); }},
      {"Sides", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiSides(integer(o[0])); }},
      {"Orientation", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiOrientation(text(o[0])); }},
      {"ReverseOrientation", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiReverseOrientation(); }},
      {"Attribute",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiAttributeV(text(o[0]), n, t, p); }},
      // Transformations.
      {"Identity", [](auto &, auto &, RtInt, RtToken *, RtPointer *) { RiIdentity(); }},
      {"ConcatTransform",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtMatrix m;
         for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = number(o[i]);
         RiConcatTransform(m);
       }},
      {"Transform",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RtMatrix m;
         for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = number(o[i]);
         RiTransform(m);
       }},
      {"Perspective", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiPerspective(number(o[0])); }},
      {"Translate",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiTranslate(number(o[0]), number(o[1]), number(o[2])); }},
      {"Rotate",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiRotate(number(o[0]), number(o[1]), number(o[2]), number(o[3]));
       }},
      {"Scale",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiScale(number(o[0]), number(o[1]), number(o[2])); }},
      {"Skew",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiSkew(number(o[0]), number(o[1]), number(o[2]), number(o[3]), number(o[4]), number(o[5]),
                number(o[6]));
       }},
      {"CoordinateSystem", [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiCoordinateSystem(text(o[0])); }},
      {"CoordSysTransform",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) { RiCoordSysTransform(text(o[0])); }},
      // Shaders and lights.
      {"Surface", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiSurfaceV(text(o[0]), n, t, p); }},
      {"Displacement",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiDisplacementV(text(o[0]), n, t, p); }},
      {"Atmosphere",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiAtmosphereV(text(o[0]), n, t, p); }},
      {"Interior", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiInteriorV(text(o[0]), n, t, p); }},
      {"Exterior", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiExteriorV(text(o[0]), n, t, p); }},
      {"Imager", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiImagerV(text(o[0]), n, t, p); }},
      {"LightSource",
       [](RibReplayer &r, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         r.lights_[integer(o[1])] = RiLightSourceV(text(o[0]), n, t, p);
       }},
      {"AreaLightSource",
       [](RibReplayer &r, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         r.lights_[integer(o[1])] = RiAreaLightSourceV(text(o[0]), n, t, p);
       }},
      {"Illuminate",
       [](RibReplayer &r, auto &o, RtInt, RtToken *, RtPointer *) {
         RiIlluminate(r.lights_[integer(o[0])], static_cast<RtBoolean>(integer(o[1])));
       }},
      // Geometry.
      {"Basis",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiBasis(basisOf(o[0]), integer(o[1]), basisOf(o[2]), integer(o[3]));
       }},
      {"TrimCurve",
       [](auto &, auto &o, RtInt, RtToken *, RtPointer *) {
         RiTrimCurve(sizeOf(o[0]), ints(o[0]), ints(o[1]), floats(o[2]), floats(o[3]), floats(o[4]),
                     ints(o[5]), floats(o[6]), floats(o[7]), floats(o[8]));
       }},
      {"Patch", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiPatchV(text(o[0]), n, t, p); }},
      {"PatchMesh",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiPatchMeshV(text(o[0]), integer(o[1]), text(o[2]), integer(o[3]), text(o[4]), n, t, p);
       }},
      {"NuPatch",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiNuPatchV(integer(o[0]), integer(o[1]), floats(o[2]), number(o[3]), number(o[4]), integer(o[5]),
                    integer(o[6]), floats(o[7]), number(o[8]), number(o[9]), n, t, p);
       }},
      {"Cone",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiConeV(number(o[0]), number(o[1]), number(o[2]), n, t, p);
       }},
      {"Cylinder",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiCylinderV(number(o[0]), number(o[1]), number(o[2]), number(o[3]), n, t, p);
       }},
      {"Disk",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiDiskV(number(o[0]), number(o[1]), number(o[2]), n, t, p);
       }},
      {"Hyperboloid",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RtPoint p1 = {number(o[0]), number(o[1]), number(o[2])};
         RtPoint p2 = {number(o[3]), number(o[4]), number(o[5])};
         RiHyperboloidV(p1, p2, number(o[6]), n, t, p);
       }},
      {"Paraboloid",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiParaboloidV(number(o[0]), number(o[1]), number(o[2]), number(o[3]), n, t, p);
       }},
      {"Sphere",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiSphereV(number(o[0]), number(o[1]), number(o[2]), number(o[3]), n, t, p);
       }},
      {"Torus",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiTorusV(number(o[0]), number(o[1]), number(o[2]), number(o[3]), number(o[4]), n, t, p);
       }},
      {"GeneralPolygon",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiGeneralPolygonV(sizeOf(o[0]), ints(o[0]), n, t, p);
       }},
      {"PointsPolygons",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiPointsPolygonsV(sizeOf(o[0]), ints(o[0]), ints(o[1]), n, t, p);
       }},
      {"PointsGeneralPolygons",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiPointsGeneralPolygonsV(sizeOf(o[0]), ints(o[0]), ints(o[1]), ints(o[2]), n, t, p);
       }},
      {"Curves",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         RiCurvesV(text(o[0]), sizeOf(o[1]), ints(o[1]), text(o[2]), n, t, p);
       }},
      {"SubdivisionMesh",
       [](RibReplayer &r, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         pointersTo(o[3], r.strings_[0]);
         RiSubdivisionMeshV(text(o[0]), sizeOf(o[1]), ints(o[1]), ints(o[2]), sizeOf(o[3]),
                            r.strings_[0].data(), ints(o[4]), ints(o[5]), floats(o[6]), n, t, p);
       }},
      {"Blobby",
       [](RibReplayer &r, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         pointersTo(o[3], r.strings_[0]);
         RiBlobbyV(integer(o[0]), sizeOf(o[1]), ints(o[1]), sizeOf(o[2]), floats(o[2]), sizeOf(o[3]),
                   r.strings_[0].data(), n, t, p);
       }},
      {"Procedural",
       [](RibReplayer &r, auto &o, RtInt, RtToken *, RtPointer *) {
         pointersTo(o[1], r.strings_[0]);
         const std::string &kind = o[0].string;
         RtProcSubdivFunc function = kind == "DelayedReadArchive" ? RiProcDelayedReadArchive
                                     : kind == "RunProgram"       ? RiProcRunProgram
                                                                  : RiProcDynamicLoad;
         RiProcedural(r.strings_[0].data(), floats(o[2]), function, nullptr);
       }},
      {"Geometry", [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) { RiGeometryV(text(o[0]), n, t, p); }},
      // Texture making: no entry points, so through the context itself.
      {"MakeTexture",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         context("MakeTexture").MakeTextureV(text(o[0]), text(o[1]), text(o[2]), text(o[3]),
                                             filterByName(o[4].string), number(o[5]), number(o[6]), n, t, p);
       }},
      {"MakeLatLongEnvironment",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         context("MakeLatLongEnvironment")
             .MakeLatLongEnvironmentV(text(o[0]), text(o[1]), filterByName(o[2].string), number(o[3]),
                                      number(o[4]), n, t, p);
       }},
      {"MakeCubeFaceEnvironment",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         context("MakeCubeFaceEnvironment")
             .MakeCubeFaceEnvironmentV(text(o[0]), text(o[1]), text(o[2]), text(o[3]), text(o[4]), text(o[5]),
                                       text(o[6]), number(o[7]), filterByName(o[8].string), number(o[9]),
                                       number(o[10]), n, t, p);
       }},
      {"MakeShadow",
       [](auto &, auto &o, RtInt n, RtToken *t, RtPointer *p) {
         context("MakeShadow").MakeShadowV(text(o[0]), text(o[1]), n, t, p);
       }},
  };

  if (name == "Polygon" || name == "Points") {
    const RtInt vertices = static_cast<RtInt>(positionVertexCount(request));
    if (name == "Polygon") RiPolygonV(vertices, n, t, p);
    else RiPointsV(vertices, n, t, p);
    return;
  }
  auto found = kReplays.find(name);
  if (found != kReplays.end()) found->second(*this, o, n, t, p);
}

}  // namespace vellum
