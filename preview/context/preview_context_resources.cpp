// Resources: attributes saved under a handle and restored later, kept to
// the end of the ResourceBegin block they were saved in whatever attribute
// blocks end meanwhile.
#include <string>

#include "preview/context/parameters.h"
#include "preview/preview_context.h"

namespace vellum::preview {

RtVoid PreviewContext::ResourceBegin() { resources_.emplace_back(); }

RtVoid PreviewContext::ResourceEnd() {
  if (resources_.size() > 1) resources_.pop_back();
}

RtVoid PreviewContext::ResourceV(RtToken handle, RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const std::string kind = type != nullptr ? type : "";
  if (kind != "attributes") {
    warnOnce("resource type " + kind, "Resource type \"" + kind + "\" skipped");
    return;
  }
  Parameters parameters(declarations_, n, tokens, parms, nullptr);
  noteUndeclared(parameters);
  const Parameter *given = parameters.find("operation");
  const bool named = given != nullptr && given->type == kTypeString && given->count > 0 && given->strings()[0];
  const std::string operation = named ? given->strings()[0] : "";
  const std::string name = handle != nullptr ? handle : "";
  if (operation == "save") {
    resources_.back()[name] = attributes();
  } else if (operation == "restore") {
    for (auto scope = resources_.rbegin(); scope != resources_.rend(); ++scope) {
      const auto found = scope->find(name);
      if (found == scope->end()) continue;
      editAttributes(0) = found->second;
      // In an object definition they are all its own, but for clipping
      // planes, which were saved where the definition cannot place them.
      editAttributes(kSetAll & ~kSetClipping);
      return;
    }
    warnOnce("resource " + name, "resource \"" + name + "\" is not known: the attributes are unchanged");
  } else {
    warnOnce("resource operation " + operation, "Resource operation \"" + operation + "\" skipped");
  }
}

}  // namespace vellum::preview
