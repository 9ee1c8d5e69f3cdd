// The standard declarations and the Declare echo switch.
#ifndef VELLUM_DECL_STANDARD_DECLARATIONS_H
#define VELLUM_DECL_STANDARD_DECLARATIONS_H

#include <functional>

#include "ri.h"

namespace vellum {

// While non-zero, the Declare request writes its "Declare" line.  Off at
// process start; every new RibWriter turns it on.  Process-wide.
int &declareEchoSwitch();

// Holds the Declare echo switch off for its lifetime, so that declarations
// made meanwhile write nothing.
class QuietDeclarations {
 public:
  QuietDeclarations() : saved_(declareEchoSwitch()) { declareEchoSwitch() = 0; }
  ~QuietDeclarations() { declareEchoSwitch() = saved_; }
  QuietDeclarations(const QuietDeclarations &) = delete;
  QuietDeclarations &operator=(const QuietDeclarations &) = delete;

 private:
  int saved_;
};

// Declares the 247 standard parameter names, in their fixed order, through
// `declare` (a context's own Declare operation, which gets a null
// declaration for the names that are only interned), with the echo switch
// held off; the predefined tokens take the names that `declare` returns.
void loadStandardDeclarations(const std::function<RtToken(char *name, char *declaration)> &declare);

// Calls `visit` with each (name, declaration string or null) that
// loadStandardDeclarations passes on, in order.
void forEachStandardDeclaration(
    const std::function<void(const char *name, const char *declaration)> &visit);

}  // namespace vellum

#endif
