// Entry points of the transformation and motion requests.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiIdentity(void) { VELLUM_CONTEXT().Identity(); }
RtVoid RiConcatTransform(RtMatrix transform) { VELLUM_CONTEXT().ConcatTransform(transform); }
RtVoid RiTransform(RtMatrix transform) { VELLUM_CONTEXT().Transform(transform); }
RtVoid RiPerspective(RtFloat fov) { VELLUM_CONTEXT().Perspective(fov); }
RtVoid RiTranslate(RtFloat dx, RtFloat dy, RtFloat dz) { VELLUM_CONTEXT().Translate(dx, dy, dz); }
RtVoid RiRotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz) {
  VELLUM_CONTEXT().Rotate(angle, dx, dy, dz);
}
RtVoid RiScale(RtFloat sx, RtFloat sy, RtFloat sz) { VELLUM_CONTEXT().Scale(sx, sy, sz); }
RtVoid RiSkew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2,
              RtFloat dz2) {
  VELLUM_CONTEXT().Skew(angle, dx1, dy1, dz1, dx2, dy2, dz2);
}
RtVoid RiCoordinateSystem(RtToken space) { VELLUM_CONTEXT().CoordinateSystem(space); }
RtVoid RiCoordSysTransform(RtToken space) { VELLUM_CONTEXT().CoordSysTransform(space); }
RtPoint *RiTransformPoints(RtToken fromspace, RtToken tospace, RtInt n, RtPoint points[]) {
  return VELLUM_CONTEXT_UNNAMED().TransformPoints(fromspace, tospace, n, points);
}
RtVoid RiTransformBegin(void) { VELLUM_CONTEXT().TransformBegin(); }
RtVoid RiTransformEnd(void) { VELLUM_CONTEXT().TransformEnd(); }

RtVoid RiMotionBegin(RtInt n, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  va_list args;
  va_start(args, n);
  vellum::MotionTimes times(n, args);
  va_end(args);
  context.MotionBeginV(n, times.data());
}
RtVoid RiMotionBeginV(RtInt n, RtFloat times[]) { VELLUM_CONTEXT().MotionBeginV(n, times); }
RtVoid RiMotionEnd(void) { VELLUM_CONTEXT().MotionEnd(); }

}  // extern "C"
