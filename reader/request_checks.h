// The reader's checks beyond the operands' shapes: names the library has
// no function for, handles the stream never defined, arrays whose sizes
// must agree, wrap modes.  Each returns what becomes of the request (kReplay when it
// passes) after reporting through the checker.  The request list names the
// check of each request (NoCheck: none).
#ifndef VELLUM_READER_REQUEST_CHECKS_H
#define VELLUM_READER_REQUEST_CHECKS_H

#include <cstddef>

#include "reader/request_checker.h"
#include "reader/rib_request.h"

namespace vellum::checks {

constexpr std::nullptr_t NoCheck = nullptr;

// Names the library has no function for (a filter, an error handler) are
// kept as read, never turned into another: unless `known`, a warning and
// kPassThrough.
Verdict knownName(RequestChecker &checker, bool known, const char *what, const RibValue &name);
Verdict KnownBasis(RequestChecker &checker, RibRequest &request);
Verdict Illuminate(RequestChecker &checker, RibRequest &request);
Verdict ObjectInstance(RequestChecker &checker, RibRequest &request);
Verdict ErrorHandler(RequestChecker &checker, RibRequest &request);
Verdict Declare(RequestChecker &checker, RibRequest &request);
Verdict PixelFilter(RequestChecker &checker, RibRequest &request);
Verdict ColorSamples(RequestChecker &checker, RibRequest &request);
Verdict Procedural(RequestChecker &checker, RibRequest &request);
Verdict PatchMesh(RequestChecker &checker, RibRequest &request);
Verdict Curves(RequestChecker &checker, RibRequest &request);
Verdict TrimCurve(RequestChecker &checker, RibRequest &request);
Verdict HierarchicalSubdivisionMesh(RequestChecker &checker, RibRequest &request);
Verdict MakeTexture(RequestChecker &checker, RibRequest &request);
Verdict MakeLatLongEnvironment(RequestChecker &checker, RibRequest &request);
Verdict MakeCubeFaceEnvironment(RequestChecker &checker, RibRequest &request);
Verdict MakeShadow(RequestChecker &checker, RibRequest &request);
Verdict InsideIf(RequestChecker &checker, RibRequest &request);

}  // namespace vellum::checks

#endif
