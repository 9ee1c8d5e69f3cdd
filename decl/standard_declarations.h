// The standard declarations and the Declare echo switch.
#ifndef VELLUM_DECL_STANDARD_DECLARATIONS_H
#define VELLUM_DECL_STANDARD_DECLARATIONS_H

#include "ri/render_context.h"

namespace vellum {

// While non-zero, the Declare request writes its "Declare" line.  Off at
// process start; every new RibWriter turns it on.  Process-wide.
int &declareEchoSwitch();

// Declares the standard parameter names through `context`'s own Declare
// operation, writing nothing, and points the predefined tokens at the
// interned names.
void loadStandardDeclarations(RenderContext &context);
// The same without a context, for readers of RIB: nothing can be written.
void loadStandardDeclarations();

// Calls `visit` with each (name, declaration string or null) that
// loadStandardDeclarations passes to Declare, in order.
void forEachStandardDeclaration(void (*visit)(const char *name, const char *declaration,
                                              void *user),
                                void *user);

}  // namespace vellum

#endif
