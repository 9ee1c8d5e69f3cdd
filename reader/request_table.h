// The requests the reader knows, one row each, made from the request list
// (ri/requests.h): keyword, operand shape, flags, count rule, check and
// replay.  The parser, the checks, the replay into a context and qview's
// counts all read this one table.
#ifndef VELLUM_READER_REQUEST_TABLE_H
#define VELLUM_READER_REQUEST_TABLE_H

#include <string>
#include <vector>

#include "common/primitive_counts.h"
#include "reader/request_checker.h"
#include "reader/rib_request.h"
#include "reader/stream_state.h"
#include "ri/render_context.h"

namespace vellum {

// A request on its way into a target: the target, the request, and its
// parameter list in the form the list operations take.
struct Replay {
  RenderContext &target;
  StreamState &state;
  RibRequest &request;
  RtInt n = 0;
  RtToken *tokens = nullptr;
  RtPointer *parms = nullptr;
  // Pointer arrays for string-array operands, alive until the next request.
  std::vector<std::vector<char *>> &stringOperands;

  RibValue &op(size_t i) { return request.operands[i]; }
  char *s(size_t i) { return const_cast<char *>(op(i).string.c_str()); }
  RtFloat f(size_t i) { return static_cast<RtFloat>(op(i).number); }
  RtInt i(size_t k) { return static_cast<RtInt>(op(k).number); }
  RtInt size(size_t i) { return static_cast<RtInt>(op(i).size()); }
  RtFloat *floats(size_t i) { return const_cast<RtFloat *>(op(i).toFloats().data()); }
  RtInt *ints(size_t i) { return op(i).ints.data(); }
  char **strings(size_t i);
};

struct RequestRow {
  const char *name;  // null for an operation without a RIB request
  // One letter per operand, as the request list describes them.
  const char *operands;
  unsigned flags;
  // A primitive's vertex, varying, uniform and facevarying counts from its
  // operands (and, for polygons and points, its positions); false after a
  // check reported why there are none.  Null where the parameter list
  // ignores storage classes.
  bool (*counts)(RequestChecker &, const RibRequest &, PrimitiveCounts *);
  // Checks beyond the operand shapes; null when there are none.
  Verdict (*check)(RequestChecker &, RibRequest &);
  // Calls the target; null for requests without an entry point.
  void (*replay)(Replay &);
};

// The row of a keyword, or null for an unknown request.
const RequestRow *findRequest(const std::string &name);

}  // namespace vellum

#endif
