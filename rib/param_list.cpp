// Parameter lists: every token with as many values as its declaration and,
// on primitives, its storage class and the primitive's counts give.
#include <cstdio>

#include "decl/declaration.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

// Values per element of a type; 0 for types that have no value rule.
int valuesPerElement(int type) {
  switch (type) {
    case kTypeFloat:
    case kTypeInteger:
    case kTypeString: return 1;
    case kTypePoint:
    case kTypeColor:
    case kTypeVector:
    case kTypeNormal: return 3;
    case kTypeHPoint: return 4;
    case kTypeMatrix:
    case kTypeMPoint: return 16;  // an mpoint is stored as a matrix
    default: return 0;
  }
}

// The declaration of a token that can be written, or null after telling
// the client why the token is left out.
const Declaration *writableDeclaration(const char *token) {
  const Declaration *declaration = lookupDeclaration(token);
  if (declaration == nullptr) {
    std::fprintf(stderr, "libvellum error: undeclared parameter \"%s\"\n", token);
  } else if (valuesPerElement(declaration->type) == 0) {
    std::fprintf(stderr, "libvellum error: parameter \"%s\" has no recognised type\n", token);
    return nullptr;
  } else if (declaration->arrayLength < 0) {
    std::fprintf(stderr,
                 "libvellum error: parameter \"%s\" has an array length outside 0 to 32767\n",
                 token);
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
        quoted(strings[i]);
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
void RibWriter::writeParams(const RtInt *counts, RtInt n, RtToken tokens[], RtPointer parms[]) {
  for (RtInt i = 0; i < n && tokens != nullptr; ++i) {
    const char *token = tokens[i];
    if (token == nullptr) break;
    const Declaration *declaration = writableDeclaration(token);
    if (declaration == nullptr) continue;
    int64_t elements = 1;
    if (counts != nullptr) {
      switch (declaration->storageClass) {
        case kClassVertex: elements = counts[0]; break;
        case kClassVarying: elements = counts[1]; break;
        case kClassUniform: elements = counts[2]; break;
        default: elements = 1; break;
      }
    }
    int64_t count = elements * declaration->arrayLength * valuesPerElement(declaration->type);
    text(" ");
    quoted(token);
    character(' ');
    writeValues(declaration->type, parms != nullptr ? parms[i] : nullptr, count);
  }
  character('\n');
  done();
}

void RibWriter::writeParamList(const char *name, RtInt number, RtInt n, RtToken tokens[],
                               RtPointer parms[]) {
  if (name != nullptr) {
    character(' ');
    quoted(name);
  }
  if (number > 0) {
    character(' ');
    integer(number);
  }
  writeParams(nullptr, n, tokens, parms);
}

void RibWriter::writePrimitiveParamList(RtInt vertexCount, RtInt varyingCount,
                                        RtInt uniformCount, RtInt n, RtToken tokens[],
                                        RtPointer parms[]) {
  const RtInt counts[3] = {vertexCount, varyingCount, uniformCount};
  writeParams(counts, n, tokens, parms);
}

}  // namespace vellum
