// The context that RiBegin creates.  The writer's own code makes it, so
// that the front end depends on the RenderContext interface only.
#ifndef VELLUM_RI_CONTEXT_FACTORY_H
#define VELLUM_RI_CONTEXT_FACTORY_H

#include "ri/render_context.h"

namespace vellum {

// A new RibWriter for the output `name` with the creation settings
// (token, value) pairs, or null when no storage could be had.  Ends the
// process when the output cannot be opened.
RenderContext *newRibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);

}  // namespace vellum

#endif
