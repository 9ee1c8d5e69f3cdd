// CountingContext: a context that takes every request, does nothing with
// it and counts it, for tests that bound how much a stream makes a reader
// hand on.
#ifndef VELLUM_TESTS_COUNTING_CONTEXT_H
#define VELLUM_TESTS_COUNTING_CONTEXT_H

#include <cstdint>

#include "ri/render_context.h"

namespace vellum_test {

class CountingContext : public vellum::RenderContext {
 public:
  uint64_t calls = 0;

#define VELLUM_COUNT_OP(R, Name, Params, Args) \
  R Name Params override {                    \
    vellum::ignoreArguments Args;             \
    ++calls;                                  \
    return vellum::defaultResult<R>();        \
  }
#define VELLUM_COUNT_LIST_OP(R, Name, Fixed, FixedArgs) \
  R Name VELLUM_LIST_PARAMS(Fixed) override {          \
    vellum::ignoreArguments VELLUM_LIST_ARGS(FixedArgs); \
    ++calls;                                           \
    return vellum::defaultResult<R>();                 \
  }
#define VELLUM_COUNT_SLOTS(Name, form, R, Params, Args, ...) \
  VELLUM_SLOTS(form, VELLUM_COUNT_OP, VELLUM_COUNT_LIST_OP, VELLUM_INHERITED_OP, VELLUM_INHERITED_OP, R, Name, \
               Params, Args)
  VELLUM_REQUESTS(VELLUM_COUNT_SLOTS)
#undef VELLUM_COUNT_SLOTS
#undef VELLUM_COUNT_OP
#undef VELLUM_COUNT_LIST_OP
};

}  // namespace vellum_test

#endif
