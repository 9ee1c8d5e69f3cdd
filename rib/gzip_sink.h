// GzipSink: gzip compression in front of another sink.  What is written is
// deflated into a buffer of its own, which goes on to the destination when
// it fills; flush() ends the deflate block so that a reader of the
// destination can decompress everything written so far, and close()
// finishes the gzip stream before closing the destination.
#ifndef VELLUM_RIB_GZIP_SINK_H
#define VELLUM_RIB_GZIP_SINK_H

#include <memory>

#include "rib/output_sink.h"

namespace vellum {

// Whether this build of the library has zlib, and so writes gzip.
bool gzipAvailable();

// A GzipSink around `destination`, or, in a build without zlib, the
// destination itself.  `name` names the destination in reports (not owned;
// it must outlive the sink).
std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *name);

}  // namespace vellum

#endif
