// Fixed-size chained hash table of named entries, with nesting levels and
// scopes and usage counters.  The string table and the declaration table are
// both instances of it.
#ifndef VELLUM_DECL_SYMBOL_TABLE_H
#define VELLUM_DECL_SYMBOL_TABLE_H

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>

namespace vellum {

// PJW hash in its ELF symbol-table form over the unsigned bytes of `name`;
// always below 2^28.  0 for a null pointer and for the empty string.
uint32_t hashName(const char *name);

// Base of every table entry.  The table destroys entries only through the
// virtual destructor, so derived entries are destroyed whole.
struct Symbol {
  // `key` is not owned and must outlive the entry.
  explicit Symbol(const char *key);
  virtual ~Symbol() = default;
  Symbol(const Symbol &) = delete;
  Symbol &operator=(const Symbol &) = delete;

  const char *key;
  uint32_t hash;  // hashName(key), computed once
  int32_t level = 0;
  int32_t scope = 0;
  Symbol *next = nullptr;  // following entry of the same bucket chain
};

class SymbolTable {
 public:
  static constexpr int kMaxScopeDepth = 255;

  // bucketCount >= 1.  The count never changes: chains simply grow.
  explicit SymbolTable(uint32_t bucketCount);
  // Destroys the entries still linked; never frees the strings keys point to.
  ~SymbolTable();
  // Destroys every entry; the counters, level and scopes stay.
  void clear();
  SymbolTable(const SymbolTable &) = delete;
  SymbolTable &operator=(const SymbolTable &) = delete;

  // Links `entry` at the head of its chain, stamped with the current level
  // and scope, and takes ownership of it.  When allowDuplicate is 0 and an
  // entry of the same name is already in the chain, nothing changes and the
  // entry stays the caller's.  Returns 1 if a same-name entry was found.
  int insert(Symbol *entry, int allowDuplicate);
  // The newest visible entry named `name` (not null), or null.
  Symbol *lookup(const char *name);
  // The next visible entry down `entry`'s chain with an equal key, judging
  // visibility by `entry`'s own scope.  Leaves the counters alone.
  Symbol *lookupNext(const Symbol *entry) const;

  // At most kMaxScopeDepth scopes may be open at once.
  void pushScope();
  // Closes the innermost scope.  With unlinkEntries != 0 the entries of that
  // scope are unlinked (not destroyed: they become the caller's).
  void popScope(int unlinkEntries);
  // Destroys every entry stamped with `level`; the current level becomes
  // level - 1.
  void removeLevel(int32_t level);

  // Bucket order, each chain from its head.  `visit` must not unlink or
  // destroy the entry it is given.
  void forEach(const std::function<void(Symbol *)> &visit) const;

  // Writes the counters as five lines of text and flushes `out`.
  void printStatistics(std::ostream &out) const;

  uint32_t bucketCount() const { return bucketCount_; }
  int32_t level() const { return level_; }
  int32_t scope() const { return scope_; }
  int32_t depth() const { return depth_; }
  int64_t lookups() const { return lookups_; }
  int64_t found() const { return found_; }
  int64_t misses() const { return misses_; }
  int64_t extraSteps() const { return extraSteps_; }
  int64_t entriesAdded() const { return entriesAdded_; }
  int64_t bucketsUsed() const { return bucketsUsed_; }

 private:
  bool isVisible(int32_t entryScope, int32_t currentScope) const;
  Symbol *&bucketOf(uint32_t hash) const { return buckets_[hash % bucketCount_]; }

  std::unique_ptr<Symbol *[]> buckets_;
  uint32_t bucketCount_;
  int32_t level_ = 0;
  int32_t scope_ = 0;
  int32_t nextScope_ = 1;
  // Ids of the enclosing scopes; element depth_ is the innermost.  A
  // negative depth_ hides every entry.
  int32_t scopeStack_[kMaxScopeDepth + 1] = {0};
  int32_t depth_ = 0;
  // The counters are 64-bit: a long-running client makes more than 2^31
  // lookups, and a 32-bit count would overflow.
  int64_t lookups_ = 0;
  int64_t found_ = 0;
  int64_t misses_ = 0;
  int64_t extraSteps_ = 0;  // chain entries examined by lookup, not returned
  int64_t entriesAdded_ = 0;
  int64_t bucketsUsed_ = 0;  // insertions into an empty bucket
};

}  // namespace vellum

#endif
