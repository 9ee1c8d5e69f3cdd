// Surfaces and lights of the preview context.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "preview/context/parameters.h"
#include "preview/preview_context.h"
#include "preview/shading/light_names.h"

namespace vellum::preview {

namespace {

constexpr float kRadians = 3.14159265f / 180;

void *handleOf(size_t number) { return reinterpret_cast<void *>(static_cast<uintptr_t>(number)); }

}  // namespace

RtVoid PreviewContext::SurfaceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!firstInMotion()) return;
  const std::string shader = name != nullptr ? name : "";
  Parameters parameters(declarations_, n, tokens, parms, nullptr);
  noteUndeclared(parameters);
  SurfaceModel surface;
  if (shader == "constant") {
    surface.kind = SurfaceModel::kConstant;
  } else if (shader == "defaultsurface") {
    surface = Attributes().surface;
  } else if (shader == "plastic" || shader == "paintedplastic") {
    surface = {SurfaceModel::kPlastic, 1, 0.5f, 0.5f, 0.1f, {1, 1, 1}};
  } else if (shader == "metal" || shader == "shinymetal") {
    // shinymetal's reflection map is left out.
    surface = {SurfaceModel::kMetal, 1, 0, 1, 0.1f, {1, 1, 1}};
  } else {
    if (shader != "matte") warnOnce("surface " + shader, "surface \"" + shader + "\" drawn as matte");
    surface = {SurfaceModel::kMatte, 1, 1, 0, 0.1f, {1, 1, 1}};
  }
  surface.Ka = parameters.floatOr("Ka", surface.Ka);
  surface.Kd = parameters.floatOr("Kd", surface.Kd);
  surface.Ks = parameters.floatOr("Ks", surface.Ks);
  surface.roughness = parameters.floatOr("roughness", surface.roughness);
  surface.specularColor = parameters.tripleOr("specularcolor", kTypeColor, surface.specularColor);
  Attributes &attributes = editAttributes(kSetSurface);
  attributes.surface = surface;
  attributes.ownColor = false;
}

RtLightHandle PreviewContext::LightSourceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!firstInMotion()) return lights_.empty() ? nullptr : handleOf(lights_.size());
  const std::string shader = name != nullptr ? name : "";
  Parameters parameters(declarations_, n, tokens, parms, nullptr);
  noteUndeclared(parameters);
  preview::Light light;
  const std::optional<preview::Light::Kind> kind = lightKindByName(shader);
  const bool known = kind.has_value();
  if (known) light.kind = *kind;
  else warnOnce("light " + shader, "light \"" + shader + "\" is not known: skipped");
  light.color = light.color * parameters.floatOr("intensity", 1);
  light.color = mul(light.color, parameters.tripleOr("lightcolor", kTypeColor, {1, 1, 1}));
  const Vec3 from = parameters.tripleOr("from", kTypePoint, {0, 0, 0});
  const Vec3 to = parameters.tripleOr("to", kTypePoint, {0, 0, 1});
  light.from = transformPoint(transform(), from);
  light.direction = normalize(transformPoint(transform(), to) - light.from);
  const float cone = parameters.floatOr("coneangle", 30 * kRadians);
  const float delta = parameters.floatOr("conedeltaangle", 5 * kRadians);
  light.cosOuter = std::cos(cone);
  light.cosInner = std::cos(std::max(0.0f, cone - delta));
  light.beamDistribution = parameters.floatOr("beamdistribution", 2);
  return addLight(light, known);
}

RtLightHandle PreviewContext::addLight(const preview::Light &light, bool known, bool worldwide) {
  lights_.push_back(light);
  preview::Light &kept = lights_.back();
  if (!known || !isFinite(kept.color) || !isFinite(kept.from) || !isFinite(kept.direction)) kept.color = {};
  const uint32_t number = uint32_t(lights_.size());
  if (worldwide && inWorld_) {
    // Not logged, so that no AttributeEnd turns it off; WorldEnd does.
    lightsOn_.insert(number);
    worldLights_.push_back(number);
  } else {
    setLight(number, true);
  }
  worldHasLights_ = worldHasLights_ || known;
  return handleOf(number);
}

// A plug-in light is told apart by its name alone (light_names.h): an
// environment or dome lights from everywhere, a distant light along its
// +z, and any other (a sphere, a rectangle, a mesh, a spot, whose cone
// its own parameters would shape...) from its origin.  Unlike
// LightSource's, it lights the rest of its world from wherever its block
// is: streams for renderers that take Light give each light a block of its
// own, for its transform.
RtLightHandle PreviewContext::LightV(RtToken name, RtToken, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!firstInMotion()) return lights_.empty() ? nullptr : handleOf(lights_.size());
  const std::string plugin = name != nullptr ? name : "";
  Parameters parameters(declarations_, n, tokens, parms, nullptr);
  noteUndeclared(parameters);
  preview::Light light;
  const std::optional<preview::Light::Kind> kind = lightKindByName(plugin);
  if (kind == preview::Light::kAmbient) {
    light.kind = preview::Light::kAmbient;
  } else if (kind == preview::Light::kDistant) {
    light.kind = preview::Light::kDistant;
    light.direction = normalize(transformVector(transform(), {0, 0, 1}));
  } else {
    light.kind = preview::Light::kPoint;
    light.from = transformPoint(transform(), {0, 0, 0});
  }
  const float intensity = parameters.floatOr("intensity", 1) * std::exp2(parameters.floatOr("exposure", 0));
  light.color = parameters.tripleOr("lightColor", kTypeColor, {1, 1, 1}) * intensity;
  return addLight(light, true, true);
}

RtVoid PreviewContext::BxdfV(RtToken, RtToken, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (!firstInMotion()) return;
  Parameters parameters(declarations_, n, tokens, parms, nullptr);
  noteUndeclared(parameters);
  // The colour that most plug-ins scatter diffusely: the first colour named
  // for it, else the first colour of all.
  const Parameter *chosen = nullptr;
  for (const Parameter &p : parameters.all()) {
    if (p.type != kTypeColor || p.count < 3) continue;
    std::string lower = p.name;
    for (char &ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (lower.find("diffuse") != std::string::npos || lower.find("base") != std::string::npos) {
      chosen = &p;
      break;
    }
    if (chosen == nullptr) chosen = &p;
  }
  Attributes &attributes = editAttributes(kSetSurface);
  attributes.surface = {SurfaceModel::kMatte, 1, 1, 0, 0.1f, {1, 1, 1}};
  attributes.ownColor = chosen != nullptr;
  if (chosen != nullptr) attributes.surfaceColor = {chosen->floats()[0], chosen->floats()[1], chosen->floats()[2]};
}

RtLightHandle PreviewContext::AreaLightSourceV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  warnOnce("area light", "area lights are drawn as point lights at their origin");
  const std::string shader = name != nullptr && std::strcmp(name, "arealight") != 0 ? name : "pointlight";
  return LightSourceV(const_cast<char *>(shader.c_str()), n, tokens, parms);
}

RtVoid PreviewContext::Illuminate(RtLightHandle light, RtBoolean onoff) {
  const uintptr_t number = reinterpret_cast<uintptr_t>(light);
  if (number == 0 || number > lights_.size()) {
    warnOnce("light handle", "Illuminate with a light handle this context did not give: ignored");
    return;
  }
  setLight(uint32_t(number), onoff != 0);
}

}  // namespace vellum::preview
