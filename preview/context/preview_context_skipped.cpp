// The requests that the request list says the preview skips: each draws
// one warning, "Name skipped", and nothing else.
#include <string>

#include "preview/preview_context.h"

namespace vellum::preview {

void PreviewContext::warnSkipped(const char *name) {
  warnOnce(std::string("skipped ") + name, std::string(name) + " skipped");
}

#define VELLUM_SKIPPED_PLAIN(Name, R, Params, Args) \
  R PreviewContext::Name Params {                   \
    ignoreArguments Args;                           \
    warnSkipped(#Name);                             \
    return defaultResult<R>();                      \
  }
#define VELLUM_SKIPPED_LIST(Name, R, Params, Args)        \
  R PreviewContext::Name##V VELLUM_LIST_PARAMS(Params) {  \
    ignoreArguments VELLUM_LIST_ARGS(Args);               \
    warnSkipped(#Name);                                   \
    return defaultResult<R>();                            \
  }
#define VELLUM_SKIPPED_LIST_V_FIRST VELLUM_SKIPPED_LIST
#define VELLUM_SKIPPED_ROW_SKIPS(Name, form, R, Params, Args) VELLUM_SKIPPED_##form(Name, R, Params, Args)
#define VELLUM_SKIPPED_ROW_ACTS(...)
#define VELLUM_SKIPPED_ROW_IGNORES(...)
#define VELLUM_SKIPPED_ROW(Name, form, R, Params, Args, operands, counts, check, flags, entry, text, replay, \
                           preview)                                                                       \
  VELLUM_SKIPPED_ROW_##preview(Name, form, R, Params, Args)

VELLUM_REQUESTS(VELLUM_SKIPPED_ROW)

}  // namespace vellum::preview
