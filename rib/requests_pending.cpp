// Requests whose RIB lines are not written yet: they accept their
// arguments and write nothing.
#include "rib/rib_writer.h"

namespace vellum {
RtVoid RibWriter::Format(RtInt, RtInt, RtFloat) {}
RtVoid RibWriter::FrameAspectRatio(RtFloat) {}
RtVoid RibWriter::ScreenWindow(RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::CropWindow(RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::ProjectionV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::Clipping(RtFloat, RtFloat) {}
RtVoid RibWriter::DepthOfField(RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::Shutter(RtFloat, RtFloat) {}
RtVoid RibWriter::PixelVariance(RtFloat) {}
RtVoid RibWriter::PixelSamples(RtFloat, RtFloat) {}
RtVoid RibWriter::PixelFilter(RtFilterFunc, RtFloat, RtFloat) {}
RtVoid RibWriter::Exposure(RtFloat, RtFloat) {}
RtVoid RibWriter::Quantize(RtToken, RtInt, RtInt, RtInt, RtFloat) {}
RtVoid RibWriter::DisplayV(char *, RtToken, RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::HiderV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::ColorSamples(RtInt, RtFloat *, RtFloat *) {}
RtVoid RibWriter::RelativeDetail(RtFloat) {}
RtVoid RibWriter::OptionV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::Color(RtColor) {}
RtVoid RibWriter::Opacity(RtColor) {}
RtVoid RibWriter::TextureCoordinates(RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::ShadingRate(RtFloat) {}
RtVoid RibWriter::ShadingInterpolation(RtToken) {}
RtVoid RibWriter::Matte(RtBoolean) {}
RtVoid RibWriter::Bound(RtBound) {}
RtVoid RibWriter::Detail(RtBound) {}
RtVoid RibWriter::DetailRange(RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::GeometricApproximation(RtToken, RtFloat) {}
RtVoid RibWriter::GeometricRepresentation(RtToken) {}
RtVoid RibWriter::Sides(RtInt) {}
RtVoid RibWriter::Orientation(RtToken) {}
RtVoid RibWriter::ReverseOrientation() {}
RtVoid RibWriter::AttributeV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::Identity() {}
RtVoid RibWriter::ConcatTransform(RtMatrix) {}
RtVoid RibWriter::Transform(RtMatrix) {}
RtVoid RibWriter::Perspective(RtFloat) {}
RtVoid RibWriter::Translate(RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::Rotate(RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::Scale(RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::Skew(RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtFloat) {}
RtVoid RibWriter::CoordinateSystem(RtToken) {}
RtVoid RibWriter::CoordSysTransform(RtToken) {}
RtVoid RibWriter::TransformBegin() {}
RtVoid RibWriter::TransformEnd() {}
RtVoid RibWriter::MotionBeginV(RtInt, RtFloat *) {}
RtVoid RibWriter::MotionEnd() {}
RtVoid RibWriter::SurfaceV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::DisplacementV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::AtmosphereV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::InteriorV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::ExteriorV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::ImagerV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtLightHandle RibWriter::LightSourceV(RtToken, RtInt, RtToken *, RtPointer *) { return nullptr; }
RtLightHandle RibWriter::AreaLightSourceV(RtToken, RtInt, RtToken *, RtPointer *) { return nullptr; }
RtVoid RibWriter::Illuminate(RtLightHandle, RtBoolean) {}
RtVoid RibWriter::ConeV(RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::CylinderV(RtFloat, RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::DiskV(RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::HyperboloidV(RtPoint, RtPoint, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::ParaboloidV(RtFloat, RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::SphereV(RtFloat, RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::TorusV(RtFloat, RtFloat, RtFloat, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::PolygonV(RtInt, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::GeneralPolygonV(RtInt, RtInt *, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::PointsPolygonsV(RtInt, RtInt *, RtInt *, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::PointsGeneralPolygonsV(RtInt, RtInt *, RtInt *, RtInt *, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::Basis(RtBasis, RtInt, RtBasis, RtInt) {}
RtVoid RibWriter::PatchV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::PatchMeshV(RtToken, RtInt, RtToken, RtInt, RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::TrimCurve(RtInt, RtInt *, RtInt *, RtFloat *, RtFloat *, RtFloat *, RtInt *, RtFloat *, RtFloat *, RtFloat *) {}
RtVoid RibWriter::NuPatchV(RtInt, RtInt, RtFloat *, RtFloat, RtFloat, RtInt, RtInt, RtFloat *, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::CurvesV(RtToken, RtInt, RtInt *, RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::PointsV(RtInt, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::SubdivisionMeshV(RtToken, RtInt, RtInt *, RtInt *, RtInt, RtToken *, RtInt *, RtInt *, RtFloat *, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::BlobbyV(RtInt, RtInt, RtInt *, RtInt, RtFloat *, RtInt, RtToken *, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::Procedural(RtPointer, RtBound, RtProcSubdivFunc, RtProcFreeFunc) {}
RtVoid RibWriter::GeometryV(RtToken, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::SolidBegin(RtToken) {}
RtVoid RibWriter::SolidEnd() {}
RtObjectHandle RibWriter::ObjectBegin() { return nullptr; }
RtVoid RibWriter::ObjectEnd() {}
RtVoid RibWriter::ObjectInstance(RtObjectHandle) {}
RtVoid RibWriter::MakeTextureV(char *, char *, RtToken, RtToken, RtFilterFunc, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::MakeLatLongEnvironmentV(char *, char *, RtFilterFunc, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::MakeCubeFaceEnvironmentV(char *, char *, char *, char *, char *, char *, char *, RtFloat, RtFilterFunc, RtFloat, RtFloat, RtInt, RtToken *, RtPointer *) {}
RtVoid RibWriter::MakeShadowV(char *, char *, RtInt, RtToken *, RtPointer *) {}

RtPoint *RibWriter::TransformPoints(RtToken, RtToken, RtInt, RtPoint[]) { return nullptr; }

}  // namespace vellum
