#include "decl/param_value_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <type_traits>

#include "decl/declaration.h"
#include "decl/string_table.h"
#include "common/number_format.h"

namespace vellum {

namespace {

constexpr size_t kEntriesPerChunk = 32;
constexpr size_t kEntryBytes = sizeof(ParamValueEntry);
constexpr size_t kValueSlotBytes = 4;

static_assert(std::is_trivially_destructible<ParamValueEntry>::value,
              "pool storage is reused without a destructor call");

// What a released entry's storage holds while on the free list.
struct FreeSlot {
  FreeSlot *next;
};

struct PoolState {
  FreeSlot *freeList = nullptr;
  size_t chunks = 0;
  ParamValueStats stats;
};

// Trivially destructible and constant-initialised, so usable from any static
// initialiser or destructor of the process.
PoolState &poolState() {
  static PoolState state;
  return state;
}

void addData(int64_t size) {
  ParamValueStats &stats = poolState().stats;
  stats.dataRequested += size;
  stats.dataOutstanding += size;
  if (stats.dataOutstanding > stats.dataPeak) stats.dataPeak = stats.dataOutstanding;
}

}  // namespace

size_t ParamValueEntry::slotBytes(int type) {
  return type == kTypeString ? sizeof(RtString) : kValueSlotBytes;
}

ParamValueEntry::ParamValueEntry(RtToken token, int type, int storageClass, int count,
                                 const void *values, int slots)
    : next(nullptr),
      token(token),
      size(static_cast<int32_t>(static_cast<size_t>(std::max(slots, 0)) * slotBytes(type))),
      type(static_cast<int8_t>(type)),
      storageClass(static_cast<int8_t>(storageClass)),
      count(static_cast<int16_t>(count)),
      data(::operator new(static_cast<size_t>(size))) {
  if (values != nullptr) {
    std::memcpy(data, values, static_cast<size_t>(size));
  } else {
    std::memset(data, 0, static_cast<size_t>(size));
  }
  addData(size);
  if (type == kTypeString) {
    char **strings = static_cast<char **>(data);
    const int interned = std::min(count, std::max(slots, 0));
    for (int i = 0; i < interned; ++i) {
      if (strings[i] != nullptr) strings[i] = internString(strings[i]);
    }
  }
}

void *allocateEntry() {
  PoolState &pool = poolState();
  void *storage;
  if (pool.freeList != nullptr) {
    storage = pool.freeList;
    pool.freeList = pool.freeList->next;
  } else {
    auto *chunk = static_cast<unsigned char *>(std::malloc(kEntriesPerChunk * kEntryBytes));
    if (chunk == nullptr) return nullptr;
    ++pool.chunks;
    // Entry 0 is handed out; entries 1 to 31 become the free list, in
    // address order.
    for (size_t i = kEntriesPerChunk - 1; i >= 1; --i) {
      pool.freeList = new (chunk + i * kEntryBytes) FreeSlot{pool.freeList};
    }
    storage = chunk;
  }
  ParamValueStats &stats = pool.stats;
  ++stats.entriesRequested;
  ++stats.entriesOutstanding;
  if (stats.entriesOutstanding > stats.entriesPeak) stats.entriesPeak = stats.entriesOutstanding;
  return storage;
}

void releaseEntry(ParamValueEntry *entry) {
  PoolState &pool = poolState();
  pool.freeList = new (static_cast<void *>(entry)) FreeSlot{pool.freeList};
  --pool.stats.entriesOutstanding;
}

void releaseData(ParamValueEntry *entry) {
  if (entry->data == nullptr) return;
  poolState().stats.dataOutstanding -= entry->size;
  ::operator delete(entry->data);
  entry->data = nullptr;
}

ParamValueEntry *createEntry(RtToken token, int type, int storageClass, int count,
                             const void *values, int slots) {
  void *storage = allocateEntry();
  if (storage == nullptr) return nullptr;
  return new (storage) ParamValueEntry(token, type, storageClass, count, values, slots);
}

ParamValueEntry *clone(const ParamValueEntry *entry) {
  const size_t slots = static_cast<uint32_t>(entry->size) / ParamValueEntry::slotBytes(entry->type);
  return createEntry(entry->token, entry->type, entry->storageClass, entry->count, entry->data,
                     static_cast<int>(slots));
}

size_t freeEntryCount() {
  size_t count = 0;
  for (const FreeSlot *slot = poolState().freeList; slot != nullptr; slot = slot->next) ++count;
  return count;
}

size_t chunkCount() { return poolState().chunks; }

ParamValueList::ParamValueList(const ParamValueList &other) { other.copyFrom(*this); }

ParamValueList &ParamValueList::operator=(const ParamValueList &other) {
  other.copyFrom(*this);
  return *this;
}

ParamValueList::~ParamValueList() { clear(); }

ParamValueEntry *ParamValueList::find(const char *token) const {
  for (ParamValueEntry *entry = head_; entry != nullptr; entry = entry->next) {
    if (entry->token == token) return entry;
  }
  return nullptr;
}

void *ParamValueList::valueOf(const char *token) const {
  ParamValueEntry *entry = find(token);
  return entry != nullptr ? entry->data : nullptr;
}

void *ParamValueList::take(const char *token) {
  for (ParamValueEntry **link = &head_; *link != nullptr; link = &(*link)->next) {
    ParamValueEntry *entry = *link;
    if (entry->token != token) continue;
    poolState().stats.dataOutstanding -= entry->size;
    *link = entry->next;
    void *values = entry->data;
    entry->data = nullptr;
    entry->size = 0;
    releaseEntry(entry);
    return values;
  }
  return nullptr;
}

void ParamValueList::append(ParamValueEntry *entry) {
  entry->next = nullptr;
  ParamValueEntry **link = &head_;
  while (*link != nullptr) link = &(*link)->next;
  *link = entry;
}

void ParamValueList::clear() {
  while (ParamValueEntry *entry = head_) {
    head_ = entry->next;
    releaseData(entry);
    releaseEntry(entry);
  }
}

void ParamValueList::copyFrom(ParamValueList &destination) const {
  if (&destination == this) return;
  destination.clear();
  ParamValueEntry **tail = &destination.head_;
  for (const ParamValueEntry *entry = head_; entry != nullptr; entry = entry->next) {
    ParamValueEntry *copy = clone(entry);
    if (copy == nullptr) continue;
    *tail = copy;
    tail = &copy->next;
  }
}

void ParamValueList::moveTo(ParamValueList &destination) {
  if (&destination == this) return;
  destination.clear();
  destination.head_ = head_;
  head_ = nullptr;
}

void ParamValueList::print() const { print(std::cout); }

void ParamValueList::print(std::ostream &out) const {
  std::string text = "Param/value list:\n";
  for (const ParamValueEntry *entry = head_; entry != nullptr; entry = entry->next) {
    text += "  Item: ";
    text += entry->token;
    text += ", size = ";
    appendInt(text, entry->size);
    text += '\n';
  }
  text += '\n';
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

ParamValueStats paramValueStats() { return poolState().stats; }

void resetParamValueStats() { poolState().stats = ParamValueStats(); }

void printParamValueStats(std::ostream &out) {
  const ParamValueStats &stats = poolState().stats;
  const unsigned long peakKb = static_cast<unsigned long>(stats.entriesPeak) * kEntryBytes / 1024;
  std::string text = "Param/value list stats:\n    param/value entries: ";
  appendInt(text, stats.entriesRequested);
  text += " requested, ";
  appendInt(text, stats.entriesOutstanding);
  text += " outstanding, ";
  appendInt(text, stats.entriesPeak);
  text += " peak (";
  appendInt(text, static_cast<long>(peakKb));
  text += " kb)\n    param/value data memory: ";
  appendInt(text, stats.dataRequested / 1024);
  text += "k requested, ";
  appendInt(text, stats.dataOutstanding / 1024);
  text += "k outstanding,  ";
  appendInt(text, stats.dataPeak / 1024);
  text += "k peak\n";
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
}

}  // namespace vellum
