// The C entry points written by hand: the varargs forms that are not
// parameter lists (motion times, printf arguments).  RiOption, which needs
// no context for the "rib" option, is with the context entry points.
#include "ri/entry_point.h"

using vellum::RenderContext;

extern "C" {

RtVoid RiMotionBegin(RtInt n, ...) {
  RenderContext &context = VELLUM_CONTEXT();
  va_list args;
  va_start(args, n);
  vellum::MotionTimes times(n, args);
  va_end(args);
  context.MotionBeginV(n, times.data());
}
RtVoid RiMotionBeginV(RtInt n, RtFloat times[]) { VELLUM_CONTEXT().MotionBeginV(n, times); }

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

}  // extern "C"
