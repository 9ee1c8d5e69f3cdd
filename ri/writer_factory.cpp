// The context that RiBegin creates: a RibWriter of the process-wide
// environment.
#include <new>

#include "ri/context_factory.h"
#include "rib/rib_writer.h"

namespace vellum {

RenderContext *newRibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  return new (std::nothrow) RibWriter(name, n, tokens, parms);
}

}  // namespace vellum
