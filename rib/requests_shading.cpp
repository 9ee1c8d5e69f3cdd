// Light requests and Illuminate (the shaders are written generically).
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

// A plug-in light is known by the handle its stream gave it; its handle
// here is that name, interned, so that Illuminate can write it back.
RtLightHandle RibWriter::LightV(RtToken name, RtToken handle, RtInt n, RtToken tokens[],
                                RtPointer parms[]) {
  text("Light ");
  quotedText(name);
  character(' ');
  quotedText(handle);
  writeParams(nullptr, n, tokens, parms);
  RtLightHandle light = const_cast<char *>(environment_.keep(handle != nullptr ? handle : ""));
  namedLights_.insert(light);
  return light;
}

RtVoid RibWriter::Illuminate(RtLightHandle light, RtBoolean onoff) {
  text("Illuminate ");
  if (namedLights_.count(light) != 0)
    quotedText(static_cast<const char *>(light));
  else
    integerText(static_cast<long>(reinterpret_cast<intptr_t>(light)));
  character(' ');
  integerText(onoff);
  endLine();
}

}  // namespace vellum
