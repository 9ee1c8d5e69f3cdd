// Parameter lists: every token with as many values as its declaration and,
// on primitives, its storage class and the primitive's counts give; and
// the most values a primitive's request can hold.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/param_counts.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

// The values that follow a token of this declaration.  On a primitive the
// positions are one per vertex whatever their declared class.
int64_t valueCount(const ParameterDeclaration &declaration, const PrimitiveCounts *counts) {
  ValueShape shape = declaration.shape;
  if (counts != nullptr && isPositionName(declaration.name)) shape.storageClass = kClassVertex;
  return parameterValueCount(shape, counts);
}

// The most values one element of a parameter can have: a matrix array of
// the longest length a declaration stores.
constexpr int64_t kMostValuesPerElement = 16 * int64_t{INT16_MAX};

}  // namespace

bool RibWriter::writableDeclaration(const char *token, ParameterDeclaration *declaration) {
  if (!environment_.lookup(token, declaration)) {
    problem("libvellum error: undeclared parameter \"%s\"\n", token);
    return false;
  }
  if (const char *reason = unusableDeclarationReason(declaration->shape)) {
    problem("libvellum error: parameter \"%s\" %s\n", token, reason);
    return false;
  }
  return true;
}

std::string RibWriter::valuesPastLimit(const PrimitiveCounts &counts, RtInt n, RtToken tokens[]) {
  if (tooManyValues(counts))
    return "too many values (more than " + std::to_string(kMostValues) + " in one storage class)";
  // With no count above this, no parameter can have too many values: the
  // small primitives are spared the lookups.
  const int64_t largest = std::max({counts.vertex, counts.varying, counts.uniform, counts.faceVarying});
  if (largest <= kMostValues / kMostValuesPerElement) return {};
  for (RtInt i = 0; i < n && tokens != nullptr && tokens[i] != nullptr; ++i) {
    ParameterDeclaration declaration;
    // A token without a usable declaration is left out when written.
    if (!environment_.lookup(tokens[i], &declaration) || unusableDeclarationReason(declaration.shape) != nullptr)
      continue;
    if (valueCount(declaration, &counts) > kMostValues)
      return "parameter \"" + std::string(tokens[i]) + "\" too many values (more than " +
             std::to_string(kMostValues) + ")";
  }
  return {};
}

std::string RibWriter::verticesOperands(int64_t vertices) {
  return "nvertices adding up to " + std::to_string(vertices);
}

std::string RibWriter::meshOperands(const PrimitiveCounts &counts) {
  return verticesOperands(counts.faceVarying) + " and vertex indices up to " +
         std::to_string(counts.vertex - 1);
}

void RibWriter::reportTooManyValues(const char *request, const std::string &operands,
                                    const std::string &excess) {
  const std::string detail =
      std::string(request) + ": " + operands + " give " + excess + "; the request is not written";
  environment_.error(RIE_RANGE, RIE_ERROR, detail.c_str());
}

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
    ParameterDeclaration declaration;
    if (!writableDeclaration(token, &declaration)) continue;
    character(' ');
    quotedText(token);
    character(' ');
    writeValues(declaration.shape.type, parms != nullptr ? parms[i] : nullptr, valueCount(declaration, counts));
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
