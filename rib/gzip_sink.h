// GzipSink: gzip compression in front of another sink.  What is written is
// deflated (by GzipEncoder: ISA-L or zlib) and handed on to the
// destination in pieces; flush() ends the deflate block so that a reader
// of the destination can decompress everything written so far, and close()
// finishes the gzip stream before closing the destination.
#ifndef VELLUM_RIB_GZIP_SINK_H
#define VELLUM_RIB_GZIP_SINK_H

#include <memory>

#include "rib/output_sink.h"

namespace vellum {

// Whether this build of the library writes gzip (it has ISA-L or zlib).
bool gzipAvailable();

// A GzipSink around `destination` compressing at `level` (1 fastest to 9
// smallest), or, in a build without gzip, the destination itself.  `name`
// names the destination in reports (not owned; it must outlive the sink).
std::unique_ptr<OutputSink> gzipSink(std::unique_ptr<OutputSink> destination, const char *name,
                                     int level = 1);

}  // namespace vellum

#endif
