#include "decl/string_table.h"

#include <cassert>
#include <cstring>
#include <functional>

namespace vellum {

namespace {

constexpr uint32_t kStringTableBuckets = 12289;  // prime

struct InternState {
  SymbolTable table{kStringTableBuckets};
  StringBlockList blocks;
};

// Created on first use, so that no static initialiser of another translation
// unit can run ahead of it, and never destroyed: a client's static
// destructors may still call the library at exit, and interned strings must
// stay valid until the process ends.
InternState &internState() {
  static InternState *const state = new InternState;
  return *state;
}

}  // namespace

StringBlockList::~StringBlockList() {
  while (Block *block = newest_) {
    newest_ = block->next;
    delete block;
  }
}

char *StringBlockList::reserve(size_t size) {
  assert(size <= kMaxPackedSize);
  const int32_t needed = static_cast<int32_t>(size);
  Block *block = newest_;
  while (block != nullptr && block->used + needed + 1 >= kBlockBytes) block = block->next;
  if (block == nullptr) {
    block = new Block;
    block->used = 0;
    block->next = newest_;
    newest_ = block;
  }
  char *place = block->text + block->used;
  block->used += needed;
  return place;
}

bool StringBlockList::contains(const char *p) const {
  for (const Block *block = newest_; block != nullptr; block = block->next) {
    // std::less orders pointers into different objects too.
    const std::less<const char *> before;
    if (!before(p, block->text) && before(p, block->text + kBlockBytes)) return true;
  }
  return false;
}

int StringBlockList::blockCount() const {
  int count = 0;
  for (const Block *block = newest_; block != nullptr; block = block->next) ++count;
  return count;
}

SymbolTable &stringTable() { return internState().table; }

const StringBlockList &internedStringBlocks() { return internState().blocks; }

char *internString(const char *text) {
  InternState &state = internState();
  // Keys of the string table are the interned copies, which are writable.
  if (Symbol *entry = state.table.lookup(text)) return const_cast<char *>(entry->key);
  const size_t size = std::strlen(text) + 1;
  char *copy = size > StringBlockList::kMaxPackedSize ? new char[size] : state.blocks.reserve(size);
  std::memcpy(copy, text, size);
  state.table.insert(new Symbol(copy), 0);
  return copy;
}

}  // namespace vellum
