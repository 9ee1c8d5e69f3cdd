// Entry points of the camera and option requests ("rib" options and
// RiOption itself are with the context entry points).
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiFormat(RtInt xresolution, RtInt yresolution, RtFloat pixelaspectratio) {
  VELLUM_CONTEXT().Format(xresolution, yresolution, pixelaspectratio);
}
RtVoid RiFrameAspectRatio(RtFloat frameaspectratio) {
  VELLUM_CONTEXT().FrameAspectRatio(frameaspectratio);
}
RtVoid RiScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top) {
  VELLUM_CONTEXT().ScreenWindow(left, right, bottom, top);
}
RtVoid RiCropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax) {
  VELLUM_CONTEXT().CropWindow(xmin, xmax, ymin, ymax);
}

RtVoid RiProjection(RtToken name, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, name);
  context.ProjectionV(name, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiProjectionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().ProjectionV(name, n, tokens, parms);
}

RtVoid RiClipping(RtFloat hither, RtFloat yon) { VELLUM_CONTEXT().Clipping(hither, yon); }
RtVoid RiDepthOfField(RtFloat fstop, RtFloat focallength, RtFloat focaldistance) {
  VELLUM_CONTEXT().DepthOfField(fstop, focallength, focaldistance);
}
RtVoid RiShutter(RtFloat min, RtFloat max) { VELLUM_CONTEXT().Shutter(min, max); }
RtVoid RiPixelVariance(RtFloat variation) { VELLUM_CONTEXT().PixelVariance(variation); }
RtVoid RiPixelSamples(RtFloat xsamples, RtFloat ysamples) {
  VELLUM_CONTEXT().PixelSamples(xsamples, ysamples);
}
RtVoid RiPixelFilter(RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth) {
  VELLUM_CONTEXT().PixelFilter(filterfunc, xwidth, ywidth);
}
RtVoid RiExposure(RtFloat gain, RtFloat gamma) { VELLUM_CONTEXT().Exposure(gain, gamma); }
RtVoid RiQuantize(RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl) {
  VELLUM_CONTEXT().Quantize(type, one, min, max, ampl);
}

RtVoid RiDisplay(char *name, RtToken type, RtToken mode, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, mode);
  context.DisplayV(name, type, mode, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiDisplayV(char *name, RtToken type, RtToken mode, RtInt n, RtToken tokens[],
                  RtPointer parms[]) {
  VELLUM_CONTEXT().DisplayV(name, type, mode, n, tokens, parms);
}

RtVoid RiHider(RtToken type, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, type);
  context.HiderV(type, VELLUM_PAIR_ARGS(pairs));
}
RtVoid RiHiderV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  VELLUM_CONTEXT().HiderV(type, n, tokens, parms);
}

RtVoid RiColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[]) {
  VELLUM_CONTEXT().ColorSamples(n, nRGB, RGBn);
}
RtVoid RiRelativeDetail(RtFloat relativedetail) {
  VELLUM_CONTEXT().RelativeDetail(relativedetail);
}

}  // extern "C"
