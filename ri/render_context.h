// RenderContext: one virtual operation per request, in a fixed slot order.
// The RibWriter implements it; the entry points of ri.h reach the current
// context only through it, and the RIB reader drives any implementation.
//
// A request with a parameter list has two operations in adjacent slots: the
// varargs form (token/value pairs ending with RI_NULL, at most 512 used),
// which collects its pairs and calls the list form ("V"), which takes the
// count and the two arrays.  The varargs forms are implemented here once,
// for every context; the entry points call the list forms only.
//
// The slots follow the request list (ri/requests.h), in its order.  A user
// of the slots writes a row macro that hands each row's form to
// VELLUM_SLOTS with four macros of its own:
//   OP(result, Name, (params), (args))            an operation
//   LIST_OP(result, Name, (fixed params), (fixed args))
//       a list form: the fixed parameters, then RtInt n, RtToken tokens[],
//       RtPointer parms[]
//   PAIRS_OP(result, Name, (fixed params), (fixed args), last)
//       a varargs form whose pairs follow `last`; it calls Name##V
//   VARARGS_OP(result, Name, (fixed params))
//       a varargs form of another kind (motion times, printf arguments)
// From the list come the declarations of RenderContext, the overrides of
// every implementation, and the contexts that do nothing or record.
#ifndef VELLUM_RI_RENDER_CONTEXT_H
#define VELLUM_RI_RENDER_CONTEXT_H

#include <cstdarg>

#include "ri.h"
#include "ri/requests.h"

#define VELLUM_LIST_PARAMS(fixed) (VELLUM_UNPAREN fixed, RtInt n, RtToken tokens[], RtPointer parms[])
#define VELLUM_LIST_ARGS(fixed) (VELLUM_UNPAREN fixed, n, tokens, parms)

// The slots of one row: slot 0 is the virtual destructor, then the rows'
// slots in list order.
#define VELLUM_SLOTS(form, OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args) \
  VELLUM_SLOTS_##form(OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args)
#define VELLUM_SLOTS_PLAIN(OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args) \
  OP(R, Name, Params, Args)
#define VELLUM_SLOTS_LIST(OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args) \
  PAIRS_OP(R, Name, Params, Args, VELLUM_LAST Args) LIST_OP(R, Name##V, Params, Args)
#define VELLUM_SLOTS_LIST_V_FIRST(OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args) \
  LIST_OP(R, Name##V, Params, Args) PAIRS_OP(R, Name, Params, Args, VELLUM_LAST Args)
#define VELLUM_SLOTS_VARARGS(OP, LIST_OP, PAIRS_OP, VARARGS_OP, R, Name, Params, Args) \
  VARARGS_OP(R, Name, VELLUM_ALL_BUT_LAST Params) OP(R, Name##V, Params, Args)
#define VELLUM_SLOTS_RIB_ONLY(...)

namespace vellum {

// The value an operation returns when it has nothing to say: none, or a
// null handle, token or point array.
template <typename Result>
Result defaultResult() {
  return Result();
}

// Swallows the arguments of an operation that does not look at them.
template <typename... Args>
void ignoreArguments(const Args &...) {}

class RenderContext {
 public:
  virtual ~RenderContext() = default;  // 0

#define VELLUM_PURE(R, Name, Params, Args) virtual R Name Params = 0;
#define VELLUM_PURE_LIST(R, Name, Fixed, FixedArgs) virtual R Name VELLUM_LIST_PARAMS(Fixed) = 0;
#define VELLUM_COLLECTING(R, Name, Fixed, FixedArgs, Last) virtual R Name(VELLUM_UNPAREN Fixed, ...);
#define VELLUM_VARIADIC(R, Name, Fixed) virtual R Name(VELLUM_UNPAREN Fixed, ...);
#define VELLUM_DECLARE_SLOTS(Name, form, R, Params, Args, ...) \
  VELLUM_SLOTS(form, VELLUM_PURE, VELLUM_PURE_LIST, VELLUM_COLLECTING, VELLUM_VARIADIC, R, Name, Params, Args)
  VELLUM_REQUESTS(VELLUM_DECLARE_SLOTS)
#undef VELLUM_DECLARE_SLOTS
#undef VELLUM_PURE
#undef VELLUM_PURE_LIST
#undef VELLUM_COLLECTING
#undef VELLUM_VARIADIC

  // Not a request, after every slot of the list: declares `name` as Declare
  // does but writes nothing of it, for a reader that hands a context the
  // declaration of a parameter its stream never declared.  By default,
  // Declare: a context that writes overrides it.
  virtual RtToken declareQuietly(char *name, char *declaration);
};

// Declares, inside a class derived from RenderContext, an override of every
// operation that the base does not implement itself.
#define VELLUM_OVERRIDE_OP(R, Name, Params, Args) R Name Params override;
#define VELLUM_OVERRIDE_LIST_OP(R, Name, Fixed, FixedArgs) R Name VELLUM_LIST_PARAMS(Fixed) override;
#define VELLUM_INHERITED_OP(...)
#define VELLUM_OVERRIDE_SLOTS(Name, form, R, Params, Args, ...)                                   \
  VELLUM_SLOTS(form, VELLUM_OVERRIDE_OP, VELLUM_OVERRIDE_LIST_OP, VELLUM_INHERITED_OP, VELLUM_INHERITED_OP, \
               R, Name, Params, Args)
#define VELLUM_OVERRIDE_ALL_OPERATIONS VELLUM_REQUESTS(VELLUM_OVERRIDE_SLOTS)

}  // namespace vellum

#endif
