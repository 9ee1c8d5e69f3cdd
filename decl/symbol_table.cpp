#include "decl/symbol_table.h"

#include <cassert>
#include <cstring>
#include <ostream>
#include <string>

#include "common/number_format.h"

namespace vellum {

namespace {

bool sameName(const char *a, const char *b) { return a == b || std::strcmp(a, b) == 0; }

}  // namespace

uint32_t hashName(const char *name) {
  if (name == nullptr) return 0;
  uint32_t h = 0;
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(name); *p != 0; ++p) {
    h = (h << 4) + *p;
    uint32_t g = h & 0xF0000000u;
    if (g != 0) h = h ^ (g >> 24) ^ g;
  }
  return h;
}

Symbol::Symbol(const char *key) : key(key), hash(hashName(key)) {}

SymbolTable::SymbolTable(uint32_t bucketCount)
    : buckets_(new Symbol *[bucketCount]()), bucketCount_(bucketCount) {
  assert(bucketCount >= 1);
}

SymbolTable::~SymbolTable() { clear(); }

void SymbolTable::clear() {
  for (uint32_t i = 0; i < bucketCount_; ++i) {
    while (Symbol *entry = buckets_[i]) {
      buckets_[i] = entry->next;
      delete entry;
    }
  }
}

bool SymbolTable::isVisible(int32_t entryScope, int32_t currentScope) const {
  if (depth_ < 0) return false;
  if (entryScope == currentScope) return true;
  for (int32_t d = depth_; d >= 0; --d) {
    if (scopeStack_[d] == entryScope) return true;
  }
  return false;
}

int SymbolTable::insert(Symbol *entry, int allowDuplicate) {
  Symbol *&head = bucketOf(entry->hash);
  bool duplicate = false;
  for (Symbol *s = head; s != nullptr; s = s->next) {
    if (s->hash == entry->hash && sameName(s->key, entry->key)) {
      if (allowDuplicate == 0) return 1;
      duplicate = true;
    }
  }
  if (head == nullptr) ++bucketsUsed_;
  entry->next = head;
  entry->level = level_;
  entry->scope = scope_;
  head = entry;
  ++entriesAdded_;
  return duplicate ? 1 : 0;
}

Symbol *SymbolTable::lookup(const char *name) {
  uint32_t h = hashName(name);
  ++lookups_;
  for (Symbol *s = bucketOf(h); s != nullptr; s = s->next) {
    if (s->hash == h && sameName(s->key, name) && isVisible(s->scope, scope_)) {
      ++found_;
      return s;
    }
    ++extraSteps_;
  }
  ++misses_;
  return nullptr;
}

Symbol *SymbolTable::lookupNext(const Symbol *entry) const {
  for (Symbol *s = entry->next; s != nullptr; s = s->next) {
    if (std::strcmp(s->key, entry->key) == 0 && isVisible(s->scope, entry->scope)) return s;
  }
  return nullptr;
}

void SymbolTable::pushScope() {
  assert(depth_ < kMaxScopeDepth);
  ++depth_;
  scopeStack_[depth_] = scope_;
  scope_ = nextScope_++;
}

void SymbolTable::popScope(int unlinkEntries) {
  assert(depth_ >= 0);
  if (unlinkEntries != 0) {
    for (uint32_t i = 0; i < bucketCount_; ++i) {
      for (Symbol **link = &buckets_[i]; *link != nullptr;) {
        Symbol *entry = *link;
        if (entry->scope == scope_) {
          *link = entry->next;
          entry->next = nullptr;
        } else {
          link = &entry->next;
        }
      }
    }
  }
  scope_ = scopeStack_[depth_];
  --depth_;
}

void SymbolTable::removeLevel(int32_t level) {
  for (uint32_t i = 0; i < bucketCount_; ++i) {
    for (Symbol **link = &buckets_[i]; *link != nullptr;) {
      Symbol *entry = *link;
      if (entry->level == level) {
        *link = entry->next;
        delete entry;
      } else {
        link = &entry->next;
      }
    }
  }
  level_ = level - 1;
}

void SymbolTable::forEach(const std::function<void(Symbol *)> &visit) const {
  for (uint32_t i = 0; i < bucketCount_; ++i) {
    for (Symbol *s = buckets_[i]; s != nullptr; s = s->next) visit(s);
  }
}

void SymbolTable::printStatistics(std::ostream &out) const {
  // A table without used buckets or lookups divides zero by zero; the ratio
  // then prints as printf prints a not-a-number value.
  double usedPercent = 100.0 * bucketsUsed_ / static_cast<double>(bucketCount_);
  double perBucket = static_cast<double>(entriesAdded_) / static_cast<double>(bucketsUsed_);
  double probes = static_cast<double>(extraSteps_) / static_cast<double>(lookups_) + 1.0;

  std::string text = "Symbol table statistics:\n  ";
  appendInt(text, entriesAdded_);
  text += " entries added to table in ";
  appendInt(text, bucketsUsed_);
  text += " distinct buckets\n  ";
  appendG(text, usedPercent);
  text += "% of buckets used, avg. ";
  appendG(text, perBucket);
  text += " entries per bucket.\n  ";
  appendInt(text, lookups_);
  text += " total lookups, ";
  appendInt(text, found_);
  text += " found, ";
  appendInt(text, misses_);
  text += " misses.\n  ";
  appendInt(text, extraSteps_);
  text += " extra chain walking steps (";
  appendG(text, probes);
  text += " probes per lookup)\n";
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
}

}  // namespace vellum
