// Shader and light requests.
#include <cstdint>

#include "rib/rib_writer.h"

namespace vellum {

RtVoid RibWriter::SurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Surface", name, 0, n, tokens, parms);
}

RtVoid RibWriter::DisplacementV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Displacement", name, 0, n, tokens, parms);
}

RtVoid RibWriter::AtmosphereV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Atmosphere", name, 0, n, tokens, parms);
}

RtVoid RibWriter::InteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Interior", name, 0, n, tokens, parms);
}

RtVoid RibWriter::ExteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Exterior", name, 0, n, tokens, parms);
}

RtVoid RibWriter::ImagerV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  shaderRequest("Imager", name, 0, n, tokens, parms);
}

void RibWriter::shaderRequest(const char *keyword, RtToken name, RtInt number, RtInt n,
                              RtToken tokens[], RtPointer parms[]) {
  text(keyword);
  writeParamList(name, number, n, tokens, parms);
}

// Light handles are the lights' sequence numbers within the context: one
// counter for both kinds, never reset, so Illuminate can write the number
// of the LightSource line back.
RtLightHandle RibWriter::lightRequest(const char *keyword, RtToken name, RtInt n,
                                      RtToken tokens[], RtPointer parms[]) {
  const RtInt handle = nextLightHandle_;
  shaderRequest(keyword, name, handle, n, tokens, parms);
  nextLightHandle_ = handle + 1;
  return reinterpret_cast<RtLightHandle>(static_cast<intptr_t>(handle));
}

RtLightHandle RibWriter::LightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                      RtPointer parms[]) {
  return lightRequest("LightSource", name, n, tokens, parms);
}

RtLightHandle RibWriter::AreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                          RtPointer parms[]) {
  return lightRequest("AreaLightSource", name, n, tokens, parms);
}

RtVoid RibWriter::Illuminate(RtLightHandle light, RtBoolean onoff) {
  text("Illuminate ");
  integer(static_cast<long>(reinterpret_cast<intptr_t>(light)));
  character(' ');
  integer(onoff);
  endLine();
}

}  // namespace vellum
