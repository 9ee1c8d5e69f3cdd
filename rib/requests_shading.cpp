// Light requests (the shaders are written generically).
#include <cstdint>

#include "rib/rib_writer.h"

namespace vellum {

// Light handles are the lights' sequence numbers within the context: one
// counter for both kinds, never reset, so Illuminate can write the number
// of the LightSource line back.
RtLightHandle RibWriter::lightRequest(const char *keyword, RtToken name, RtInt n,
                                      RtToken tokens[], RtPointer parms[]) {
  const RtInt handle = nextLightHandle_;
  text(keyword);
  writeParamList(name, handle, n, tokens, parms);
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
  integerText(static_cast<long>(reinterpret_cast<intptr_t>(light)));
  character(' ');
  integerText(onoff);
  endLine();
}

}  // namespace vellum
