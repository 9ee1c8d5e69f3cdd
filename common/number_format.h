// Locale-independent number text: exactly the bytes that C's "%g", "%f",
// "%d" and "%ld" give in the "C" locale, whatever locale the client chose.
#ifndef VELLUM_COMMON_NUMBER_FORMAT_H
#define VELLUM_COMMON_NUMBER_FORMAT_H

#include <string>

namespace vellum {

// "%g": six significant digits.  Non-finite values come out as printf
// writes them ("inf", "-nan", ...); callers that write RIB replace them
// first, since no RIB reader takes those for numbers.
void appendG(std::string &out, double value);
// "%f": six digits after the point.
void appendFixed(std::string &out, double value);
// "%d" and "%ld".
void appendInt(std::string &out, long value);

}  // namespace vellum

#endif
