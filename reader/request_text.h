// A request as RIB text, for requests handed on to a context as they were
// read (those the library has no operation for, and names and handles it
// cannot express): its values unchanged, floats in the shortest form that
// reads back as the same float.
#ifndef VELLUM_READER_REQUEST_TEXT_H
#define VELLUM_READER_REQUEST_TEXT_H

#include <string>

#include "reader/rib_request.h"

namespace vellum {

// One line of ASCII RIB, ending with a line end.
std::string requestText(const RibRequest &request);

}  // namespace vellum

#endif
