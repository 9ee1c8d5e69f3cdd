#include "preview/shading/light_names.h"

#include <cctype>
#include <string>

namespace vellum::preview {

std::optional<Light::Kind> lightKindByName(std::string_view name) {
  std::string lower(name);
  for (char &ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  const auto has = [&lower](const char *word) { return lower.find(word) != std::string::npos; };
  if (has("ambient") || has("dome") || has("env")) return Light::kAmbient;
  if (has("distant")) return Light::kDistant;
  if (has("spot")) return Light::kSpot;
  if (has("point")) return Light::kPoint;
  return std::nullopt;
}

}  // namespace vellum::preview
