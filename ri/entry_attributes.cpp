// Entry points of the attribute requests.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiAttributeBegin(void) { VELLUM_CONTEXT().AttributeBegin(); }
RtVoid RiAttributeEnd(void) { VELLUM_CONTEXT().AttributeEnd(); }
RtVoid RiColor(RtColor Cs) { VELLUM_CONTEXT().Color(Cs); }
RtVoid RiOpacity(RtColor Os) { VELLUM_CONTEXT().Opacity(Os); }
RtVoid RiTextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3,
                            RtFloat t3, RtFloat s4, RtFloat t4) {
  VELLUM_CONTEXT().TextureCoordinates(s1, t1, s2, t2, s3, t3, s4, t4);
}
RtVoid RiShadingRate(RtFloat size) { VELLUM_CONTEXT().ShadingRate(size); }
RtVoid RiShadingInterpolation(RtToken type) { VELLUM_CONTEXT().ShadingInterpolation(type); }
RtVoid RiMatte(RtBoolean onoff) { VELLUM_CONTEXT().Matte(onoff); }
RtVoid RiBound(RtBound bound) { VELLUM_CONTEXT().Bound(bound); }
RtVoid RiDetail(RtBound bound) { VELLUM_CONTEXT().Detail(bound); }
RtVoid RiDetailRange(RtFloat minvisible, RtFloat lowertransition, RtFloat uppertransition,
                     RtFloat maxvisible) {
  VELLUM_CONTEXT().DetailRange(minvisible, lowertransition, uppertransition, maxvisible);
}
RtVoid RiGeometricApproximation(RtToken type, RtFloat value) {
  VELLUM_CONTEXT().GeometricApproximation(type, value);
}
RtVoid RiGeometricRepresentation(RtToken type) {
  VELLUM_CONTEXT().GeometricRepresentation(type);
}
RtVoid RiSides(RtInt sides) { VELLUM_CONTEXT().Sides(sides); }
RtVoid RiOrientation(RtToken orientation) { VELLUM_CONTEXT().Orientation(orientation); }
RtVoid RiReverseOrientation(void) { VELLUM_CONTEXT().ReverseOrientation(); }

RtVoid RiAttribute(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.AttributeV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiAttributeV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().AttributeV(name, n, tokens, parms);
}

}  // extern "C"
