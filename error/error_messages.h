// The interface's error codes and severities, and the text printed for each.
#ifndef VELLUM_ERROR_ERROR_MESSAGES_H
#define VELLUM_ERROR_ERROR_MESSAGES_H

namespace vellum {

// Message of an error code, or null for a code without one (0 included).
const char *errorMessage(int code);

// Name printed for a severity: "INFO", "WARNING", "ERROR", "SEVERE ERROR".
// Severities outside 0..3 have no name; null tells the caller to print the
// number instead.
const char *severityName(int severity);

}  // namespace vellum

#endif
