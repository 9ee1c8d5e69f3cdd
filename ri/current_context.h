// The process-wide state of the front end: the current context and the
// binary output setting that the "rib" option changes.
#ifndef VELLUM_RI_CURRENT_CONTEXT_H
#define VELLUM_RI_CURRENT_CONTEXT_H

#include "ri.h"
#include "ri/render_context.h"
#include "rib/writer_settings.h"

namespace vellum {

RenderContext *currentContext();
void setCurrentContext(RenderContext *context);

// The current context of a call named `callName`; without one, reports
// "RiBegin not called" as a severe error, which ends the process.  A null
// name reports without a call name (the handle-returning calls do that).
RenderContext &requireContext(const char *callName);

// How contexts created from now on write RIB.
using OutputFormat = WriterSettings;
OutputFormat &outputFormatSetting();

// Applies the pairs of a "rib" option to the binary output setting.
void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]);

}  // namespace vellum

#endif
