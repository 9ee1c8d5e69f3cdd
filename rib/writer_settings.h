// How a RibWriter writes RIB, chosen when it is made: the binary flag (0
// ASCII, otherwise binary), the significant digits of floats written as
// text (1 to 9, or 0 for the shortest text that reads back as the same
// float), whether the stream is gzip-compressed, and how hard (1 fastest
// to 9 smallest).  The C interface's
// "rib" option and a writer's creation pairs say them the same way.
#ifndef VELLUM_RIB_WRITER_SETTINGS_H
#define VELLUM_RIB_WRITER_SETTINGS_H

#include "common/number_format.h"
#include "ri.h"

namespace vellum {

struct WriterSettings {
  RtInt binary = 0;
  RtInt precision = kDefaultPrecision;
  bool gzip = false;
  RtInt gzipLevel = 1;
};

// True for the option names "rib" and "RIB".
bool isRibOption(RtToken name);

// Applies "format" (a string: "binary" or not), "binary" (an RtInt),
// "precision" (an RtInt from 0 to 9), "compression" (a string: "gzip" or
// "none") and "compressionlevel" (an RtInt from 1 to 9) pairs, in order;
// other tokens are ignored.  A value out of
// range, an unknown compression, and "gzip" in a build without zlib are
// left out and, when `report` is set, reported through RiErrorPrint.
void applyFormatPairs(WriterSettings &settings, RtInt n, const RtToken tokens[],
                      RtPointer const parms[], bool report = false);

}  // namespace vellum

#endif
