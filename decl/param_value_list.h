// Parameter lists kept beyond the call that supplied them: ordered lists of
// entries that own a copy of their values.  Entries come from a process-wide
// pool; entries and value memory are counted in process-wide statistics.
#ifndef VELLUM_DECL_PARAM_VALUE_LIST_H
#define VELLUM_DECL_PARAM_VALUE_LIST_H

#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "ri.h"

namespace vellum {

// Value slots are 4 bytes (an RtFloat or an RtInt), except for strings,
// whose slots hold one pointer each, so the copy stays sound where pointers
// are wider than 4 bytes.
struct ParamValueEntry {
  // Copies `slots` slots of the width slotBytes(type) from `values`.  Without
  // values the copy is zero-filled (string slots then hold null).  Non-null
  // string values are replaced by their interned copies, so the entry never
  // points at its creator's strings.  The copy is counted in the data
  // statistics with or without values, so that freeing it never takes
  // dataOutstanding below what was added.  `token` should be interned: lists
  // compare tokens by pointer.
  ParamValueEntry(RtToken token, int type, int storageClass, int count, const void *values,
                  int slots);

  static size_t slotBytes(int type);

  ParamValueEntry *next;
  RtToken token;
  int32_t size;  // bytes of `data`: slots times slotBytes(type)
  int8_t type;
  int8_t storageClass;
  int16_t count;  // number of values
  void *data;     // owned; from ::operator new
};

// Storage for one entry, not constructed: the most recently released one,
// or one of a new chunk of 32 from malloc.  Null if no chunk could be had.
// Chunks are never given back.
void *allocateEntry();
// Puts an entry whose data has been released back on the free list.
void releaseEntry(ParamValueEntry *entry);
// Frees the entry's value copy, if it has one.
void releaseData(ParamValueEntry *entry);
// allocateEntry followed by construction; null if the pool gave no storage.
ParamValueEntry *createEntry(RtToken token, int type, int storageClass, int count,
                             const void *values, int slots);
// A new entry with the same fields and its own copy of the values, or null.
ParamValueEntry *clone(const ParamValueEntry *entry);

// Inspection of the pool.
size_t freeEntryCount();
size_t chunkCount();

class ParamValueList {
 public:
  ParamValueList() = default;
  ParamValueList(const ParamValueList &other);
  ParamValueList &operator=(const ParamValueList &other);
  // Gives every entry back to the pool.
  ~ParamValueList();

  ParamValueEntry *head() const { return head_; }

  // The first entry whose token is the same pointer as `token`.
  ParamValueEntry *find(const char *token) const;
  void *valueOf(const char *token) const;
  // Unlinks the first entry of `token` and returns its value copy, which the
  // caller then owns and frees with ::operator delete; null if absent.
  void *take(const char *token);
  // Takes ownership of `entry`, which must come from the pool.
  void append(ParamValueEntry *entry);
  void clear();
  // Makes `destination` a deep copy of this list.
  void copyFrom(ParamValueList &destination) const;
  // Hands every entry to `destination` (cleared first); this list ends empty.
  void moveTo(ParamValueList &destination);
  // To standard output, or to `out`.
  void print() const;
  void print(std::ostream &out) const;

 private:
  ParamValueEntry *head_ = nullptr;
};

struct ParamValueStats {
  // 64-bit: a long-running client requests more than 2^31 bytes of value
  // copies over its life, which a 32-bit count would overflow.
  int64_t entriesRequested = 0;
  int64_t entriesOutstanding = 0;
  int64_t entriesPeak = 0;
  int64_t dataRequested = 0;  // bytes of value copies made
  int64_t dataOutstanding = 0;
  int64_t dataPeak = 0;
};

ParamValueStats paramValueStats();
// Three lines of text; the stream is flushed.  The kb figure of the entry
// peak counts sizeof(ParamValueEntry) bytes per entry.
void printParamValueStats(std::ostream &out);
void resetParamValueStats();

}  // namespace vellum

#endif
