// libFuzzer target: any bytes through the RIB reader, and every request it
// accepts replayed into a context that writes to /dev/null, so that a
// request the reader lets through can never make the writer read past the
// arrays it was given.  Run it with -close_fd_mask=2: the writer's own
// diagnostics (undeclared parameters and the like) are expected here.
#include <cstddef>
#include <cstdint>

#include "reader/byte_source.h"
#include "reader/rib_parser.h"
#include "reader/rib_replayer.h"
#include "ri.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  vellum::MemorySource source(reinterpret_cast<const char *>(data), size);
  vellum::RibParser parser(source, "fuzz", nullptr);
  RiBegin(const_cast<char *>("/dev/null"));
  vellum::RibReplayer replayer;
  vellum::RibRequest request;
  while (parser.next(request)) replayer.replay(request);
  RiEnd();
  return 0;
}
