// What a request's checks report to, and what they decide.
#ifndef VELLUM_READER_REQUEST_CHECKER_H
#define VELLUM_READER_REQUEST_CHECKER_H

#include <string>
#include <vector>

#include "reader/stream_state.h"

namespace vellum {

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

}  // namespace vellum

#endif
