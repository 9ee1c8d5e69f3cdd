// What ribcat and qview share: opening the inputs named on the command
// line, printing diagnostics, and checking standard output before exit.
#ifndef VELLUM_TOOLS_RIB_INPUT_H
#define VELLUM_TOOLS_RIB_INPUT_H

#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/rib_reader.h"

namespace vellum {

// Opens an input ("-" is standard input, shown as "<stdin>"); on failure
// prints "NAME: reason" on standard error and returns false.
bool openRibInput(const std::string &name, RibInput *input);

// Prints a diagnostic on standard error as "file:line: message".
void printDiagnostic(const Diagnostic &diagnostic);

// "NAME (vellum VERSION)", for --version.
void printVersion(const char *program);

// Flushes standard output.  When anything written to it was lost, prints
// "PROGRAM: writing standard output failed: reason" on standard error and
// returns false.
bool standardOutputFlushed(const char *program);

}  // namespace vellum

#endif
