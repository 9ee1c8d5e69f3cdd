#include "error/error_messages.h"

#include "ri.h"

namespace vellum {

namespace {

struct CodeMessage {
  int code;
  const char *message;
};

// Codes without a row here (the interface's RIE_VERSION and RIE_DISKFULL
// among them) are printed by number.
constexpr CodeMessage kMessages[] = {
    {RIE_NOMEM, "Memory allocation error"},
    {RIE_SYSTEM, "System error"},
    {RIE_NOFILE, "File not found"},
    {RIE_BADFILE, "Bad file"},
    {RIE_INCAPABLE, "Optional RI feature not implemented"},
    {RIE_UNIMPLEMENT, "Unimplemented feature"},
    {RIE_LIMIT, "Program limit"},
    {RIE_BUG, "Probable bug in renderer"},
    {RIE_NOTSTARTED, "RiBegin not called"},
    {RIE_NESTING, "Nesting error"},
    {RIE_NOTOPTIONS, "Invalid state for declaring options"},
    {RIE_NOTATTRIBS, "Invalid state for declaring attributes"},
    {RIE_NOTPRIMS, "Invalid state for declaring primitives"},
    {RIE_ILLSTATE, "Invalid state"},
    {RIE_BADMOTION, "Bad Motion block"},
    {RIE_BADSOLID, "Bad Solid block"},
    {RIE_BADTOKEN, "Invalid token"},
    {RIE_RANGE, "Parameter out of range"},
    {RIE_CONSISTENCY, "Parameters inconsistent"},
    {RIE_BADHANDLE, "Bad handle"},
    {RIE_NOSHADER, "Cannot load requested shader"},
    {RIE_MISSINGDATA, "Required parameters not provided"},
    {RIE_SYNTAX, "Syntax error"},
    {RIE_MATH, "Math error"},
};

constexpr const char *kSeverityNames[] = {"INFO", "WARNING", "ERROR", "SEVERE ERROR"};

}  // namespace

const char *errorMessage(int code) {
  for (const CodeMessage &row : kMessages)
    if (row.code == code) return row.message;
  return nullptr;
}

const char *severityName(int severity) {
  if (severity < RIE_INFO || severity > RIE_SEVERE) return nullptr;
  return kSeverityNames[severity];
}

}  // namespace vellum
