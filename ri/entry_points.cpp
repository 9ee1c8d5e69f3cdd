// The C entry points of every request whose row says ENTRY: each reports a
// missing context under its own name (those that return a handle or token,
// without a name), then forwards to the current context; a varargs form
// first collects its pairs.  The others are in entry_own.cpp.
#include <type_traits>

#include "ri/entry_point.h"

namespace {

template <typename Result>
vellum::RenderContext &contextFor(const char *callName) {
  return vellum::requireContext(std::is_void_v<Result> ? callName : nullptr);
}

}  // namespace

#define VELLUM_ENTRY_PLAIN(Name, R, Params, Args) \
  R Ri##Name Params { return contextFor<R>("Ri" #Name).Name Args; }
#define VELLUM_ENTRY_LIST(Name, R, Params, Args)                                    \
  R Ri##Name(VELLUM_UNPAREN Params, ...) {                                          \
    vellum::RenderContext &context = contextFor<R>("Ri" #Name);                    \
    VELLUM_COLLECT_PAIRS(pairs, VELLUM_LAST Args);                                   \
    return context.Name##V(VELLUM_UNPAREN Args, VELLUM_PAIR_ARGS(pairs));           \
  }                                                                                  \
  R Ri##Name##V VELLUM_LIST_PARAMS(Params) {                                        \
    return contextFor<R>("Ri" #Name "V").Name##V VELLUM_LIST_ARGS(Args);            \
  }
#define VELLUM_ENTRY_LIST_V_FIRST VELLUM_ENTRY_LIST
#define VELLUM_ENTRY_ROW_ENTRY(Name, form, R, Params, Args) VELLUM_ENTRY_##form(Name, R, Params, Args)
#define VELLUM_ENTRY_ROW_OWN_ENTRY(...)
#define VELLUM_ENTRY_ROW_NONE(...)
#define VELLUM_ENTRY_ROW(Name, form, R, Params, Args, operands, counts, check, flags, entry, ...) \
  VELLUM_ENTRY_ROW_##entry(Name, form, R, Params, Args)

extern "C" {
VELLUM_REQUESTS(VELLUM_ENTRY_ROW)
}  // extern "C"
