// A compact form of checked requests, for what the reader keeps of an
// inline archive: each request as RIB tokens (its keyword as text, every
// value as a binary token), which RibParser reads back as the very same
// request.  It takes about as many bytes as the values themselves: four a
// float of an array, at most nine a loose number, the bytes of a string
// and a few more, so that what is kept stays in proportion to what was
// read whatever the encoding the stream used.
#ifndef VELLUM_READER_REQUEST_ENCODING_H
#define VELLUM_READER_REQUEST_ENCODING_H

#include <string>

#include "reader/rib_request.h"

namespace vellum {

// Appends `request` (not a comment): its keyword first, so that what comes
// before it must end the token before (a blank or a line end will do).
void appendEncodedRequest(const RibRequest &request, std::string &out);

}  // namespace vellum

#endif
