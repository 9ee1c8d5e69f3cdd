// NullContext: a rendering context that takes every request and does
// nothing with it.  Contexts that care about a few requests only (a
// checker, a recorder, a previewer) derive from it and override those.
#ifndef VELLUM_RI_NULL_CONTEXT_H
#define VELLUM_RI_NULL_CONTEXT_H

#include "ri/render_context.h"

namespace vellum {

class NullContext : public RenderContext {
 public:
#define VELLUM_NOTHING_OP(R, Name, Params, Args) \
  R Name Params override {                      \
    ignoreArguments Args;                       \
    return defaultResult<R>();                  \
  }
#define VELLUM_NOTHING_LIST_OP(R, Name, Fixed, FixedArgs) \
  R Name VELLUM_LIST_PARAMS(Fixed) override {            \
    ignoreArguments VELLUM_LIST_ARGS(FixedArgs);         \
    return defaultResult<R>();                           \
  }
#define VELLUM_NOTHING_SLOTS(Name, form, R, Params, Args, ...) \
  VELLUM_SLOTS(form, VELLUM_NOTHING_OP, VELLUM_NOTHING_LIST_OP, VELLUM_INHERITED_OP, VELLUM_INHERITED_OP, R, \
               Name, Params, Args)
  VELLUM_REQUESTS(VELLUM_NOTHING_SLOTS)
#undef VELLUM_NOTHING_SLOTS
#undef VELLUM_NOTHING_OP
#undef VELLUM_NOTHING_LIST_OP
};

}  // namespace vellum

#endif
