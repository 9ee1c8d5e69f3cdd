// libFuzzer target: any bytes through the RIB reader, and every request it
// accepts replayed into a context that writes to /dev/null, so that a
// request the reader lets through can never make the writer read past the
// arrays it was given.  Run it with -close_fd_mask=2: the writer's own
// diagnostics are expected here.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri/context_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<vellum::RibInput> inputs(1);
  inputs[0] = {"fuzz", std::make_unique<vellum::MemorySource>(reinterpret_cast<const char *>(data), size)};
  std::unique_ptr<vellum::RenderContext> writer(
      vellum::newRibWriter(const_cast<char *>("/dev/null"), 0, nullptr, nullptr));
  vellum::RibReader reader(*writer, nullptr);
  reader.read(std::move(inputs));
  return 0;
}
