// Entry points of the structure, archive and declaration requests.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiFrameBegin(RtInt frame) { VELLUM_CONTEXT().FrameBegin(frame); }
RtVoid RiFrameEnd(void) { VELLUM_CONTEXT().FrameEnd(); }
RtVoid RiWorldBegin(void) { VELLUM_CONTEXT().WorldBegin(); }
RtVoid RiWorldEnd(void) { VELLUM_CONTEXT().WorldEnd(); }
RtVoid RiErrorHandler(RtErrorHandler handler) { VELLUM_CONTEXT().ErrorHandler(handler); }

RtVoid RiArchiveRecord(RtToken type, char *format, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  va_list args;
  va_start(args, format);
  context.ArchiveRecordV(type, format, args);
  va_end(args);
}

RtVoid RiVArchiveRecord(RtToken type, char *format, va_list args) {
  VELLUM_CONTEXT().ArchiveRecordV(type, format, args);
}

RtVoid RiReadArchive(RtToken name, RtArchiveCallback callback, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  VELLUM_COLLECT_PAIRS(pairs, callback);
  context.ReadArchiveV(name, callback, VELLUM_PAIR_ARGS(pairs));
}

RtVoid RiReadArchiveV(RtToken name, RtArchiveCallback callback, RtInt n, RtToken tokens[],
                      RtPointer parms[]) {
  VELLUM_CONTEXT().ReadArchiveV(name, callback, n, tokens, parms);
}

RtToken RiDeclare(char *name, char *declaration) {
  return VELLUM_CONTEXT_UNNAMED().Declare(name, declaration);
}

}  // extern "C"
