// Entry points of the shader and light requests.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiSurface(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.SurfaceV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiSurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().SurfaceV(name, n, tokens, parms);
}

RtVoid RiDisplacement(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.DisplacementV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiDisplacementV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().DisplacementV(name, n, tokens, parms);
}

RtVoid RiAtmosphere(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.AtmosphereV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiAtmosphereV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().AtmosphereV(name, n, tokens, parms);
}

RtVoid RiInterior(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.InteriorV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiInteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().InteriorV(name, n, tokens, parms);
}

RtVoid RiExterior(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.ExteriorV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiExteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().ExteriorV(name, n, tokens, parms);
}

RtVoid RiImager(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.ImagerV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiImagerV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().ImagerV(name, n, tokens, parms);
}

RtLightHandle RiLightSource(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT_UNNAMED();
  VELLUM_COLLECT_PAIRS(pairs, name);
  return context.LightSourceV(name, VELLUM_PAIR_ARGS(pairs));
}
RtLightHandle RiLightSourceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  return VELLUM_CONTEXT_UNNAMED().LightSourceV(name, n, tokens, parms);
}

RtLightHandle RiAreaLightSource(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT_UNNAMED();
  VELLUM_COLLECT_PAIRS(pairs, name);
  return context.AreaLightSourceV(name, VELLUM_PAIR_ARGS(pairs));
}
RtLightHandle RiAreaLightSourceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  return VELLUM_CONTEXT_UNNAMED().AreaLightSourceV(name, n, tokens, parms);
}

RtVoid RiIlluminate(RtLightHandle light, RtBoolean onoff) {
  VELLUM_CONTEXT().Illuminate(light, onoff);
}

}  // extern "C"
