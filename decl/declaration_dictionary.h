// DeclarationDictionary: the declarations in force for one reader of a RIB
// stream, or for one context that keeps its own: the standard
// declarations, what has been declared since, and inline declarations as
// they are met.  Grammar and lookup follow the process-wide declaration
// table exactly, but nothing here touches that table, so what one stream
// declares never changes how another reads.
#ifndef VELLUM_DECL_DECLARATION_DICTIONARY_H
#define VELLUM_DECL_DECLARATION_DICTIONARY_H

#include <string>
#include <unordered_map>

#include "common/param_counts.h"
#include "decl/declaration.h"

namespace vellum {

class DeclarationDictionary {
 public:
  struct Entry {
    std::string name;  // the bare parameter name
    ParsedDeclaration declaration;
    ValueShape shape() const {
      return {declaration.storageClass, declaration.type, declaration.arrayLength};
    }
  };

  // Starts with the standard declarations.
  DeclarationDictionary();

  // A Declare request: makes or updates the declaration of `name`.  An
  // empty declaration declares nothing, as for the Declare request itself.
  void declare(const char *name, const char *declaration);

  // The declaration of `token` (leading blanks ignored), or null.  A token
  // that starts with declaration keywords ("uniform float[2] foo") is
  // declared on first use, keyed by its whole text.  The pointer stays
  // valid until the next declare().
  const Entry *lookup(const char *token);

  // What declare(name, ...) would change, as it is now, so that a
  // declaration made for a while can be taken back with restore().
  struct Saved {
    std::string key;
    bool existed = false;
    Entry entry;
  };
  Saved save(const char *name);
  void restore(Saved saved);
  // The standard names declared as the standard declarations say again.
  void restoreStandard();

 private:
  Entry *find(const char *token);

  // What this dictionary declared; the standard declarations are shared by
  // all and copied here only when redeclared.
  std::unordered_map<std::string, Entry> own_;
};

}  // namespace vellum

#endif
