// What a RibWriter needs from whoever makes it: where the declarations of
// its parameters live, whether Declare is echoed, where strings that
// outlive a call are kept, and where its errors and diagnostics go.
//
// The C interface hands every writer the process-wide environment (the
// process-wide tables, the Declare echo switch, RiErrorPrint and standard
// error), which is what its clients rely on.  A writer made by an object
// of the C++ interface or of the Python package gets an environment of its
// own: it then touches no process-wide state at all, so that writers of
// different threads never meet.
#ifndef VELLUM_RIB_WRITER_ENVIRONMENT_H
#define VELLUM_RIB_WRITER_ENVIRONMENT_H

#include <functional>
#include <string>

#include "common/param_counts.h"
#include "ri.h"

namespace vellum {

// A parameter's declaration as the writer uses it: the bare name, which
// lives as long as the environment, and the shape of its values.
struct ParameterDeclaration {
  const char *name = nullptr;
  ValueShape shape;
};

class WriterEnvironment {
 public:
  virtual ~WriterEnvironment() = default;

  // The declaration of `token` (leading blanks ignored; a token that
  // starts with declaration keywords is declared on first use): false when
  // there is none.
  virtual bool lookup(const char *token, ParameterDeclaration *found) = 0;
  // Makes or changes the declaration of `name` (a non-empty declaration);
  // returns the token the interface returns for it.
  virtual RtToken declare(const char *name, const char *declaration) = 0;
  // A copy of `text` that lives as long as the environment: the same
  // pointer for equal texts.
  virtual RtToken keep(const char *text) = 0;

  // The Declare echo: whether Declare writes its line.
  virtual bool echoesDeclarations() = 0;
  virtual void setEchoesDeclarations(bool echo) = 0;
  // A new writer's standard declarations, made through `declare` (its own
  // Declare operation) with the echo off where the environment keeps them
  // in tables that every writer loads; an environment whose declarations
  // start out standard does nothing.
  virtual void loadStandardDeclarations(const std::function<RtToken(char *name, char *declaration)> &declare) = 0;

  // An error of the interface (a code, a severity and the detail), through
  // the error handler in force.
  virtual void error(RtInt code, RtInt severity, const char *detail) = 0;
  // One of the writer's own diagnostics, whole, with its line end: these
  // never pass through the error handler nor stop the client.
  virtual void diagnostic(const std::string &text) = 0;
};

// The environment of the C interface: the process-wide tables and switch,
// RiErrorPrint, and standard error (or the process-wide diagnostic sink).
WriterEnvironment &processWideEnvironment();

}  // namespace vellum

#endif
