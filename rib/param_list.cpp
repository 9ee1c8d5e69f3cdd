// Parameter lists: every token with as many values as its declaration and,
// on primitives, its storage class and the primitive's counts give.
#include <cstdio>

#include "error/writer_diagnostics.h"
#include "decl/declaration.h"
#include "common/param_counts.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

// The declaration of a token that can be written, or null after telling
// the client why the token is left out.
const Declaration *writableDeclaration(const char *token) {
  const Declaration *declaration = lookupDeclaration(token);
  if (declaration == nullptr) {
    reportWriterProblem("libvellum error: undeclared parameter \"%s\"\n", token);
    return nullptr;
  }
  if (const char *reason = unusableDeclarationReason(declaration->shape())) {
    reportWriterProblem("libvellum error: parameter \"%s\" %s\n", token, reason);
    return nullptr;
  }
  return declaration;
}

}  // namespace

void RibWriter::writeValues(int type, const void *values, int64_t count) {
  switch (type) {
    case kTypeInteger:
      writeIntArray(static_cast<const RtInt *>(values), count);
      break;
    case kTypeString: {
      // Unlike writeStringArray, no blank after the last string.
      const RtToken *strings = static_cast<const RtToken *>(values);
      if (strings == nullptr || count < 0) count = 0;
      character('[');
      for (int64_t i = 0; i < count; ++i) {
        if (i > 0) character(' ');
        quotedText(strings[i]);
      }
      character(']');
      break;
    }
    default:
      writeFloatArray(static_cast<const RtFloat *>(values), count);
      break;
  }
}

// `counts` holds the vertex, varying and uniform counts of a primitive, or
// is null where the storage class plays no part.  A null token ends the
// list early.
void RibWriter::writeParams(const PrimitiveCounts *counts, RtInt n, RtToken tokens[],
                            RtPointer parms[]) {
  for (RtInt i = 0; i < n && tokens != nullptr; ++i) {
    const char *token = tokens[i];
    if (token == nullptr) break;
    const Declaration *declaration = writableDeclaration(token);
    if (declaration == nullptr) continue;
    ValueShape shape = declaration->shape();
    if (counts != nullptr && isPositionName(declaration->name)) shape.storageClass = kClassVertex;
    character(' ');
    quotedText(token);
    character(' ');
    writeValues(declaration->type, parms != nullptr ? parms[i] : nullptr,
                parameterValueCount(shape, counts));
  }
  endLine();
}

// Every request that names something needs that operand, so a null name
// is written as the empty string ("" is still a string a reader accepts;
// nothing at all is not).  Display, whose names come first, calls
// writeParams directly.
void RibWriter::writeParamList(const char *name, RtInt number, RtInt n, RtToken tokens[],
                               RtPointer parms[]) {
  character(' ');
  quotedText(name);
  if (number > 0) {
    character(' ');
    integerText(number);
  }
  writeParams(nullptr, n, tokens, parms);
}

}  // namespace vellum
