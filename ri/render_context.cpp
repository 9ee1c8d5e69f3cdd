// The varargs forms of the requests, once for every context: each collects
// its (token, value) pairs (at most 512, up to RI_NULL) and calls its list
// form through the context.
#include "ri/render_context.h"

#include "ri/param_pairs.h"

// Several varargs forms end their fixed arguments with a float, which
// clang's -Wvarargs questions; see param_pairs.h.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wvarargs"
#endif

namespace vellum {

#define VELLUM_NO_BODY(...)
#define VELLUM_COLLECTING_BODY(R, Name, Fixed, FixedArgs, Last)         \
  R RenderContext::Name(VELLUM_UNPAREN Fixed, ...) {                    \
    VELLUM_COLLECT_PAIRS(pairs, Last);                                  \
    return Name##V(VELLUM_UNPAREN FixedArgs, pairs.n, pairs.tokens, pairs.parms); \
  }
#define VELLUM_COLLECTING_SLOTS(Name, form, R, Params, Args, ...) \
  VELLUM_SLOTS(form, VELLUM_NO_BODY, VELLUM_NO_BODY, VELLUM_COLLECTING_BODY, VELLUM_NO_BODY, R, Name, Params, Args)
VELLUM_REQUESTS(VELLUM_COLLECTING_SLOTS)
#undef VELLUM_COLLECTING_SLOTS
#undef VELLUM_COLLECTING_BODY
#undef VELLUM_NO_BODY

RtVoid RenderContext::MotionBegin(RtInt n, ...) {
  va_list args;
  va_start(args, n);
  MotionTimes times(n, args);
  va_end(args);
  MotionBeginV(n, times.data());
}

RtVoid RenderContext::ArchiveRecord(RtToken type, char *format, ...) {
  va_list args;
  va_start(args, format);
  ArchiveRecordV(type, format, args);
  va_end(args);
}

RtToken RenderContext::declareQuietly(char *name, char *declaration) { return Declare(name, declaration); }

}  // namespace vellum
