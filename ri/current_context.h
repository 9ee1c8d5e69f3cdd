// The process-wide state of the front end: the current context and the
// binary output setting that the "rib" option changes.
#ifndef VELLUM_RI_CURRENT_CONTEXT_H
#define VELLUM_RI_CURRENT_CONTEXT_H

#include "ri.h"
#include "ri/render_context.h"

namespace vellum {

RenderContext *currentContext();
void setCurrentContext(RenderContext *context);

// The current context of a call named `callName`; without one, reports
// "RiBegin not called" as a severe error, which ends the process.  A null
// name reports without a call name (the handle-returning calls do that).
RenderContext &requireContext(const char *callName);

// 0: contexts created from now on write ASCII; otherwise binary.
RtInt &binaryOutputSetting();

// True for the option names "rib" and "RIB", which set the binary output
// setting instead of reaching a context.
bool isRibOption(RtToken name);
// Applies "format" (a string: "binary" or not) and "binary" (an RtInt)
// pairs, in order, to a binary flag; other tokens are ignored.  The "rib"
// option and a RibWriter's creation settings share this rule.
void applyFormatPairs(RtInt &binary, RtInt n, const RtToken tokens[], RtPointer const parms[]);
// Applies the pairs of a "rib" option to the binary output setting.
void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]);

}  // namespace vellum

#endif
