// RibReplayer: turns requests read from RIB back into calls of the Ri entry
// points on the current context, so that a stream can be rewritten (ASCII
// or binary) or checked by writing it again.
#ifndef VELLUM_READER_RIB_REPLAYER_H
#define VELLUM_READER_RIB_REPLAYER_H

#include <unordered_map>
#include <vector>

#include "reader/rib_request.h"
#include "ri.h"

namespace vellum {

class RibReplayer {
 public:
  // Replays one request that RibParser accepted.  The stream's own header
  // (its first structure comment and "version") is not replayed: the
  // current context wrote its own.  Light and object numbers are mapped to
  // the handles that the current context returns.
  void replay(const RibRequest &request);

 private:
  // The parameter list of a request as the list forms take it.  Pointers
  // stay valid until the next request.
  RtInt parameterList(const RibRequest &request);

  std::unordered_map<RtInt, RtLightHandle> lights_;
  std::unordered_map<RtInt, RtObjectHandle> objects_;
  bool sawRequest_ = false;
  std::vector<RtToken> tokens_;
  std::vector<RtPointer> parms_;
  std::vector<std::vector<char *>> stringValues_;
  std::vector<char *> strings_[3];  // string-array operands
};

}  // namespace vellum

#endif
