// The process-wide state of the front end: the current context and the
// binary output setting that the "rib" option changes.
#ifndef VELLUM_RI_CURRENT_CONTEXT_H
#define VELLUM_RI_CURRENT_CONTEXT_H

#include "common/number_format.h"
#include "ri.h"
#include "ri/render_context.h"

namespace vellum {

RenderContext *currentContext();
void setCurrentContext(RenderContext *context);

// The current context of a call named `callName`; without one, reports
// "RiBegin not called" as a severe error, which ends the process.  A null
// name reports without a call name (the handle-returning calls do that).
RenderContext &requireContext(const char *callName);

// How contexts created from now on write RIB: the binary flag (0 ASCII,
// otherwise binary), the significant digits of floats written as text
// (1 to 9, or 0 for the shortest text that reads back as the same float),
// whether the stream is gzip-compressed, and how hard (1 fastest to 9
// smallest).
struct OutputFormat {
  RtInt binary = 0;
  RtInt precision = kDefaultPrecision;
  bool gzip = false;
  RtInt gzipLevel = 1;
};
OutputFormat &outputFormatSetting();

// True for the option names "rib" and "RIB", which set the binary output
// setting instead of reaching a context.
bool isRibOption(RtToken name);
// Applies "format" (a string: "binary" or not), "binary" (an RtInt),
// "precision" (an RtInt from 0 to 9), "compression" (a string: "gzip"
// or "none") and "compressionlevel" (an RtInt from 1 to 9) pairs, in
// order, to a format; other tokens are ignored.  A
// value out of range, an unknown compression, and "gzip" in a build
// without zlib are left out and, when `report` is set, reported.  The
// "rib" option and a RibWriter's creation settings share this rule.
void applyFormatPairs(OutputFormat &format, RtInt n, const RtToken tokens[],
                      RtPointer const parms[], bool report = false);
// Applies the pairs of a "rib" option to the binary output setting.
void applyRibOption(RtInt n, RtToken tokens[], RtPointer parms[]);

}  // namespace vellum

#endif
