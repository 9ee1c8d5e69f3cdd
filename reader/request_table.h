// The requests the reader knows, one row each: keyword, operand shape,
// count rule, check and replay.  Everything that lists requests (the
// parser, the checks, the replay into a context, qview's counts) comes
// from this one table.
#ifndef VELLUM_READER_REQUEST_TABLE_H
#define VELLUM_READER_REQUEST_TABLE_H

#include <string>
#include <vector>

#include "common/primitive_counts.h"
#include "reader/rib_request.h"
#include "reader/stream_state.h"
#include "ri/render_context.h"

namespace vellum {

enum RequestFlag : unsigned {
  kParameters = 1u << 0,       // a parameter list follows the operands
  kPrimitive = 1u << 1,        // a piece of geometry
  kLooseParameters = 1u << 2,  // parameters need no declaration: the renderer types them
                               // (from a compiled shader, or its own tables)
  kNotReplayed = 1u << 3,      // the stream's own "version": every writer writes its own
  kNoEntryPoint = 1u << 4,     // a request this library has no operation for; it is
                               // checked and handed on as text
  kOpensBlock = 1u << 5,       // begins a block that the request named alike with
  kClosesBlock = 1u << 6,      // "End" for "Begin" ends
};

// What becomes of a request that passed its checks.
enum class Verdict {
  kReplay,       // through the target's operation
  kPassThrough,  // as text: a name the library has no function for, a
                 // handle the stream never defined
  kReject,
};

// Where a check reports what it finds.
class RequestChecker {
 public:
  explicit RequestChecker(StreamState &state) : state(state) {}
  Verdict fail(std::string message) {
    errors.push_back(std::move(message));
    return Verdict::kReject;
  }
  void warn(std::string message) { warnings.push_back(std::move(message)); }

  StreamState &state;
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
};

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
  const char *name;
  // One letter per operand: i integer, b boolean (16 bits), f float, s
  // string, H a light or object handle (integer or string), I integer
  // array, F float array, S string array, B basis (a name or 16 numbers),
  // T the optional tag arrays of a subdivision mesh.  Runs of i, b and f
  // may also be given as one array of numbers.
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
