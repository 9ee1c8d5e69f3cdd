// What kind of light a light's name makes it in the preview.  Lights are
// named freely (LightSource's "distantlight", Light's "PxrDistantLight",
// a studio's "keySpotLight"), so the name is searched for the words that
// say how a light shines, in any case and anywhere in it.
#ifndef VELLUM_PREVIEW_SHADING_LIGHT_NAMES_H
#define VELLUM_PREVIEW_SHADING_LIGHT_NAMES_H

#include <optional>
#include <string_view>

#include "preview/shading/shading.h"

namespace vellum::preview {

// "ambient", "dome" and "env" (an environment) light from everywhere,
// "distant" along a direction, "spot" in a cone, "point" from a point;
// the first of these found in that order decides.  None: not known.
std::optional<Light::Kind> lightKindByName(std::string_view name);

}  // namespace vellum::preview

#endif
