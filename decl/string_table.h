// Process-wide string interning: every distinct text gets one permanent copy,
// so names can be kept, compared by pointer and handed back to callers.
#ifndef VELLUM_DECL_STRING_TABLE_H
#define VELLUM_DECL_STRING_TABLE_H

#include <cstddef>
#include <cstdint>

#include "decl/symbol_table.h"

namespace vellum {

// The process-wide copy of `text` (not null): the same pointer for equal
// texts (exact, case-sensitive comparison), valid until the process ends.
char *internString(const char *text);

// The table that internString keys by the interned copies; 12289 buckets.
SymbolTable &stringTable();

// Fixed-size blocks that short strings are packed into, newest first.  Space
// handed out is never reclaimed while the list exists.
class StringBlockList {
 public:
  static constexpr int32_t kBlockBytes = 1024;
  // Strings up to this size, terminator included, are packed into blocks;
  // longer ones get an allocation of their own.
  static constexpr size_t kMaxPackedSize = 16;

  StringBlockList() = default;
  ~StringBlockList();
  StringBlockList(const StringBlockList &) = delete;
  StringBlockList &operator=(const StringBlockList &) = delete;

  // `size` bytes in the newest block whose used count + size + 1 is below
  // kBlockBytes, or at the start of a new block.  size <= kMaxPackedSize.
  char *reserve(size_t size);
  // Whether `p` points into one of the blocks.
  bool contains(const char *p) const;
  int blockCount() const;

 private:
  struct Block {
    char text[kBlockBytes];
    int32_t used;
    Block *next;  // the next older block
  };
  Block *newest_ = nullptr;
};

// The blocks behind internString.
const StringBlockList &internedStringBlocks();

}  // namespace vellum

#endif
