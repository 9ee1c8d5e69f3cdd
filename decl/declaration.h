// Type model and declaration table: the storage class, base type and array
// length of every parameter name, from which the number of values that
// follow a token is worked out.
#ifndef VELLUM_DECL_DECLARATION_H
#define VELLUM_DECL_DECLARATION_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/param_counts.h"
#include "common/param_types.h"
#include "decl/symbol_table.h"
#include "ri.h"

namespace vellum {

// Stored in place of an array length outside 0..32767, which 16 bits cannot
// hold faithfully; such declarations have no usable value count.
constexpr int16_t kUnsupportedArrayLength = -1;

// What a declaration string says.  Parsing never fails: no class keyword
// gives uniform, no type keyword kTypeNone, no array part length 1.
struct ParsedDeclaration {
  int8_t storageClass = kClassUniform;
  int8_t type = kTypeNone;
  int16_t arrayLength = 1;
};

// Parses "class type[length]", each part optional; null reads as "".  Blanks
// are spaces only, and text after the array part is ignored.
ParsedDeclaration parseDeclaration(const char *declaration);

// An entry of the declaration table.  Its key is the text it is found by:
// the bare name, or the whole token text of an inline declaration.
struct Declaration : Symbol {
  // `key` and `name` must be interned.
  Declaration(const char *key, RtToken name) : Symbol(key), name(name) {}

  // Bytes per element times the array length; a string element is one
  // RtString.  0 for kTypeNone and for an unsupported array length.
  size_t byteSize() const;
  std::string format() const;

  ValueShape shape() const { return {storageClass, type, arrayLength}; }

  RtToken name;
  int8_t type = kTypeNone;
  int8_t storageClass = kClassUniform;
  int16_t arrayLength = 1;
};

// Parses `declaration` and makes or updates the Declaration of `name`;
// returns its interned name.  Unless skipLookup, an existing declaration
// found by lookupDeclaration(name) is overwritten in place.  Otherwise a new
// one is made, keyed by `key` when given (interned) and by the name when not.
RtToken declare(const char *name, const char *declaration, const char *key, bool skipLookup);

// The Declaration of `token` (leading blanks ignored), or null.  A token
// that starts with declaration keywords ("uniform float[2] foo") is declared
// on first use, keyed by its whole text; the bare name stays as it was.
Declaration *lookupDeclaration(const char *token);

// Length of the leading declaration keywords of `text` with their bracket
// parts and trailing blanks; 0 when it does not start with one.  Each
// keyword counts only when a blank or "[" follows it.
size_t inlinePrefixLength(const char *text);

// Keywords of the codes; "" for any other code.
const char *typeName(int type);
const char *storageClassName(int storageClass);

// "class type", then "[n]" for lengths above 1 and "[]" for negative ones.
std::string formatDeclaration(int storageClass, int type, int arrayLength);

// byteSize of the Declaration that lookupDeclaration finds, 0 if none.
size_t declaredByteSize(const char *name);

// The process-wide declaration table, 5003 buckets.
SymbolTable &declarationTable();

// Forgets every declaration, so that a test or a fuzz target can start
// from the state of a new process: the next RibWriter declares the
// standard names again.  Interned names stay.  Nothing may hold a
// Declaration across the call.
void forgetAllDeclarations();

}  // namespace vellum

#endif
