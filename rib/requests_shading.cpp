// Shader and light requests.
#include <cstdint>

#include "rib/rib_writer.h"

namespace vellum {

RtVoid RibWriter::SurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Surface");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::DisplacementV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Displacement");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::AtmosphereV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Atmosphere");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::InteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Interior");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::ExteriorV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Exterior");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::ImagerV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Imager");
  writeParamList(name, 0, n, tokens, parms);
}

// Light handles are the lights' sequence numbers within the context: one
// counter for both kinds, never reset, so Illuminate can write the number
// of the LightSource line back.
RtLightHandle RibWriter::LightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                      RtPointer parms[]) {
  const RtInt handle = nextLightHandle_;
  text("LightSource");
  writeParamList(name, handle, n, tokens, parms);
  nextLightHandle_ = handle + 1;
  return reinterpret_cast<RtLightHandle>(static_cast<intptr_t>(handle));
}

RtLightHandle RibWriter::AreaLightSourceV(RtToken name, RtInt n, RtToken tokens[],
                                          RtPointer parms[]) {
  const RtInt handle = nextLightHandle_;
  text("AreaLightSource");
  writeParamList(name, handle, n, tokens, parms);
  nextLightHandle_ = handle + 1;
  return reinterpret_cast<RtLightHandle>(static_cast<intptr_t>(handle));
}

RtVoid RibWriter::Illuminate(RtLightHandle light, RtBoolean onoff) {
  text("Illuminate ");
  integer(static_cast<long>(reinterpret_cast<intptr_t>(light)));
  character(' ');
  integer(onoff);
  endLine();
}

}  // namespace vellum
