#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "decl/string_table.h"
#include "decl/symbol_table.h"

namespace vellum {
namespace {

// Counts its destructions, to tell destroyed entries from unlinked ones.
struct CountedSymbol : Symbol {
  CountedSymbol(const char *key, int *destroyed) : Symbol(key), destroyed(destroyed) {}
  ~CountedSymbol() override { ++*destroyed; }
  int *destroyed;
};

std::vector<std::string> keysInOrder(const SymbolTable &table) {
  std::vector<std::string> keys;
  table.forEach([&keys](Symbol *entry) { keys.emplace_back(entry->key); });
  return keys;
}

TEST(HashNameTest, KnownValues) {
  struct Case {
    const char *name;
    uint32_t hash;
  };
  const Case cases[] = {
      {nullptr, 0},
      {"", 0},
      {"a", 0x61},
      {"ab", 0x672},
      {"printf", 0x077905a6},
      // Bytes count as unsigned.
      {"\xff", 0xff},
      // Long enough for the top bits to be folded back in.
      {"abcdefghijklmnop", 0x0bb9a310},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(hashName(c.name), c.hash) << (c.name ? c.name : "(null)");
  }
}

TEST(SymbolTableTest, InsertWithoutDuplicatesRejectsSameName) {
  SymbolTable table(1);
  Symbol *first = new Symbol("name");
  EXPECT_EQ(table.insert(first, 0), 0);
  EXPECT_EQ(table.entriesAdded(), 1);
  EXPECT_EQ(table.bucketsUsed(), 1);

  // An equal text at another address counts as the same name.
  char copy[] = "name";
  Symbol second(copy);
  EXPECT_EQ(table.insert(&second, 0), 1);
  EXPECT_EQ(second.next, nullptr);
  EXPECT_EQ(table.entriesAdded(), 1);
  EXPECT_EQ(table.bucketsUsed(), 1);
  EXPECT_EQ(table.lookup("name"), first);
  EXPECT_EQ(keysInOrder(table).size(), 1u);
}

TEST(SymbolTableTest, InsertWithDuplicatesShadowsOlderEntry) {
  SymbolTable table(7);
  Symbol *older = new Symbol("name");
  Symbol *newer = new Symbol("name");
  EXPECT_EQ(table.insert(older, 1), 0);
  EXPECT_EQ(table.insert(newer, 1), 1);
  EXPECT_EQ(table.entriesAdded(), 2);
  EXPECT_EQ(table.bucketsUsed(), 1);
  EXPECT_EQ(table.lookup("name"), newer);
  EXPECT_EQ(table.lookupNext(newer), older);
  EXPECT_EQ(table.lookupNext(older), nullptr);
}

TEST(SymbolTableTest, EqualHashesAreToldApartByName) {
  SymbolTable table(3);
  ASSERT_EQ(hashName("ab"), hashName("bR"));
  Symbol *ab = new Symbol("ab");
  Symbol *bR = new Symbol("bR");
  EXPECT_EQ(table.insert(ab, 0), 0);
  EXPECT_EQ(table.insert(bR, 0), 0);
  EXPECT_EQ(table.lookup("ab"), ab);
  EXPECT_EQ(table.lookup("bR"), bR);
  EXPECT_EQ(table.lookup("AB"), nullptr);
}

TEST(SymbolTableTest, LookupCountsExtraStepsFoundAndMisses) {
  SymbolTable table(1);
  table.insert(new Symbol("x"), 0);
  table.insert(new Symbol("y"), 0);
  Symbol *z = new Symbol("z");
  table.insert(z, 0);

  struct Step {
    const char *name;
    bool found;
    int32_t extraSteps, lookups, found_, misses;
  };
  // The chain reads z, y, x.
  const Step steps[] = {
      {"x", true, 2, 1, 1, 0},
      {"w", false, 5, 2, 1, 1},
      {"z", true, 5, 3, 2, 1},
      {"y", true, 6, 4, 3, 1},
  };
  for (const Step &s : steps) {
    Symbol *entry = table.lookup(s.name);
    EXPECT_EQ(entry != nullptr, s.found) << s.name;
    if (entry != nullptr) {
      EXPECT_STREQ(entry->key, s.name);
    }
    EXPECT_EQ(table.extraSteps(), s.extraSteps) << s.name;
    EXPECT_EQ(table.lookups(), s.lookups) << s.name;
    EXPECT_EQ(table.found(), s.found_) << s.name;
    EXPECT_EQ(table.misses(), s.misses) << s.name;
  }
  // lookupNext leaves the counters alone.
  EXPECT_EQ(table.lookupNext(z), nullptr);
  EXPECT_EQ(table.lookups(), 4);
  EXPECT_EQ(table.extraSteps(), 6);
}

TEST(SymbolTableTest, ClosedScopeHidesItsEntries) {
  SymbolTable table(11);
  Symbol *outer = new Symbol("outer");
  table.insert(outer, 0);
  table.pushScope();
  EXPECT_EQ(table.depth(), 1);
  Symbol *inner = new Symbol("inner");
  table.insert(inner, 0);
  EXPECT_NE(inner->scope, 0);
  EXPECT_EQ(table.lookup("inner"), inner);
  EXPECT_EQ(table.lookup("outer"), outer);  // enclosing scopes stay visible

  table.popScope(0);
  EXPECT_EQ(table.depth(), 0);
  EXPECT_EQ(table.scope(), 0);
  EXPECT_EQ(table.lookup("inner"), nullptr);
  EXPECT_EQ(keysInOrder(table).size(), 2u);  // still linked

  // A new scope gets a new id, so the closed scope's entries stay hidden.
  table.pushScope();
  EXPECT_NE(table.scope(), inner->scope);
  EXPECT_EQ(table.lookup("inner"), nullptr);
  table.popScope(0);
}

TEST(SymbolTableTest, PopScopeCanUnlinkWithoutDestroying) {
  int destroyed = 0;
  {
    // One chain: second, first, kept.
    SymbolTable table(1);
    table.insert(new CountedSymbol("kept", &destroyed), 0);
    table.pushScope();
    auto *first = new CountedSymbol("first", &destroyed);
    auto *second = new CountedSymbol("second", &destroyed);
    table.insert(first, 0);
    table.insert(second, 0);
    table.popScope(1);
    EXPECT_EQ(keysInOrder(table), std::vector<std::string>{"kept"});
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(second->next, nullptr);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(table.entriesAdded(), 3);
    delete first;
    delete second;
  }
  EXPECT_EQ(destroyed, 3);
}

TEST(SymbolTableTest, NestedScopesSeeEveryEnclosingScope) {
  SymbolTable table(11);
  table.pushScope();
  Symbol *a = new Symbol("a");
  table.insert(a, 0);
  table.pushScope();
  Symbol *b = new Symbol("b");
  table.insert(b, 0);
  table.pushScope();
  EXPECT_EQ(table.depth(), 3);
  EXPECT_EQ(table.lookup("a"), a);
  EXPECT_EQ(table.lookup("b"), b);
  table.popScope(0);
  table.popScope(0);
  EXPECT_EQ(table.lookup("a"), a);
  EXPECT_EQ(table.lookup("b"), nullptr);
  table.popScope(0);
}

TEST(SymbolTableTest, NegativeDepthHidesEverything) {
  SymbolTable table(11);
  table.insert(new Symbol("name"), 0);
  table.popScope(0);
  EXPECT_EQ(table.depth(), -1);
  EXPECT_EQ(table.lookup("name"), nullptr);
}

TEST(SymbolTableTest, LookupNextJudgesByTheGivenEntrysScope) {
  SymbolTable table(11);
  Symbol *outer = new Symbol("name");
  table.insert(outer, 1);
  table.pushScope();
  Symbol *older = new Symbol("name");
  Symbol *newer = new Symbol("name");
  table.insert(older, 1);
  table.insert(newer, 1);
  EXPECT_EQ(table.lookupNext(newer), older);
  table.popScope(0);
  // The closed scope is hidden from lookup, but its entries still see each
  // other through lookupNext.
  EXPECT_EQ(table.lookup("name"), outer);
  EXPECT_EQ(table.lookupNext(newer), older);
  EXPECT_EQ(table.lookupNext(older), outer);
}

TEST(SymbolTableTest, RemoveLevelDestroysOnlyThatLevel) {
  int destroyed = 0;
  SymbolTable table(5);
  table.insert(new CountedSymbol("a", &destroyed), 0);
  table.insert(new CountedSymbol("f", &destroyed), 0);  // same bucket as "a"
  table.removeLevel(5);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(table.level(), 4);
  table.insert(new CountedSymbol("b", &destroyed), 0);  // stamped level 4
  table.removeLevel(0);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(table.level(), -1);
  EXPECT_EQ(keysInOrder(table), std::vector<std::string>{"b"});
  EXPECT_EQ(table.lookup("a"), nullptr);
  EXPECT_EQ(table.entriesAdded(), 3);
  EXPECT_EQ(table.bucketsUsed(), 2);
}

TEST(SymbolTableTest, DestructorDestroysLinkedEntriesWhole) {
  int destroyed = 0;
  {
    SymbolTable table(3);
    for (const char *key : {"a", "b", "c", "d", "e"}) table.insert(new CountedSymbol(key, &destroyed), 1);
  }
  EXPECT_EQ(destroyed, 5);
}

TEST(SymbolTableTest, ForEachWalksBucketsInOrderAndChainsFromTheHead) {
  SymbolTable table(7);
  // Buckets: "a" 6, "b" 0, "c" 1, "i" 0.
  for (const char *key : {"a", "b", "c", "i"}) table.insert(new Symbol(key), 0);
  EXPECT_EQ(keysInOrder(table), (std::vector<std::string>{"i", "b", "c", "a"}));
}

// 10 entries in 8 buckets of 5003, 20 lookups (15 found, 5 missed) and 4
// extra steps.
void fillForStatistics(SymbolTable &table) {
  const char *names[] = {"a", "b", "c", "d", "e", "f", "g", "h",
                         "\x13\x0e\x0c",   // same bucket as "a"
                         "\x13\x0e\x0d"};  // same bucket as "b"
  for (const char *name : names) ASSERT_EQ(table.insert(new Symbol(name), 0), 0);
  // "a" and "b" are each one step down their chain: 2 extra steps.
  for (const char *name : {"a", "b", "c", "d", "e", "f", "g", "h", "\x13\x0e\x0c", "\x13\x0e\x0d", "c", "d", "e",
                           "f", "g"}) {
    ASSERT_NE(table.lookup(name), nullptr) << name;
  }
  // The first misses in the two-entry chain of "a": 2 extra steps.
  for (const char *name : {"'\x07\x07", "w", "x", "y", "z"}) ASSERT_EQ(table.lookup(name), nullptr) << name;
}

TEST(SymbolTableStatisticsTest, PrintsCounters) {
  SymbolTable table(5003);
  fillForStatistics(table);
  ASSERT_EQ(table.extraSteps(), 4);
  std::ostringstream out;
  table.printStatistics(out);
  EXPECT_EQ(out.str(),
            "Symbol table statistics:\n"
            "  10 entries added to table in 8 distinct buckets\n"
            "  0.159904% of buckets used, avg. 1.25 entries per bucket.\n"
            "  20 total lookups, 15 found, 5 misses.\n"
            "  4 extra chain walking steps (1.2 probes per lookup)\n");
}

struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  std::string do_grouping() const override { return "\1"; }
  char do_thousands_sep() const override { return '.'; }
};

TEST(SymbolTableStatisticsTest, TextDoesNotDependOnTheStreamsLocale) {
  SymbolTable table(5003);
  fillForStatistics(table);
  std::ostringstream out;
  out.imbue(std::locale(out.getloc(), new CommaDecimal));
  table.printStatistics(out);
  EXPECT_NE(out.str().find("  0.159904% of buckets used, avg. 1.25 entries per bucket.\n"), std::string::npos);
  EXPECT_NE(out.str().find("  10 entries added"), std::string::npos);
}

TEST(SymbolTableStatisticsTest, EmptyTablePrintsNotANumber) {
  SymbolTable table(5003);
  std::ostringstream out;
  table.printStatistics(out);
  // Printed as printf prints the quotient 0/0 on this machine.
  volatile double zero = 0.0;
  char nan[32];
  std::snprintf(nan, sizeof nan, "%g", zero / zero);
  char probes[32];
  std::snprintf(probes, sizeof probes, "%g", zero / zero + 1.0);
  EXPECT_EQ(out.str(), std::string("Symbol table statistics:\n"
                                   "  0 entries added to table in 0 distinct buckets\n"
                                   "  0% of buckets used, avg. ") +
                           nan +
                           " entries per bucket.\n"
                           "  0 total lookups, 0 found, 0 misses.\n"
                           "  0 extra chain walking steps (" +
                           probes + " probes per lookup)\n");
  EXPECT_NE(std::string(nan).find("nan"), std::string::npos);
}

TEST(StringTableTest, SameTextGivesSamePointerAndCountsOneFoundLookup) {
  char text[] = "intern-same-text";
  char *first = internString(text);
  ASSERT_NE(first, text);
  EXPECT_STREQ(first, "intern-same-text");

  const SymbolTable &table = stringTable();
  const int32_t lookups = table.lookups(), found = table.found(), added = table.entriesAdded();
  char again[] = "intern-same-text";
  EXPECT_EQ(internString(again), first);
  EXPECT_EQ(table.lookups(), lookups + 1);
  EXPECT_EQ(table.found(), found + 1);
  EXPECT_EQ(table.entriesAdded(), added);

  // The copy does not depend on the caller's buffer.
  std::memset(text, 'x', sizeof text - 1);
  EXPECT_STREQ(first, "intern-same-text");
}

TEST(StringTableTest, NewTextAddsOneEntry) {
  // Not interned by an earlier run of this test either.
  static int run = 0;
  const std::string text = "intern-new-text-" + std::to_string(++run);
  const int32_t added = stringTable().entriesAdded();
  const int32_t misses = stringTable().misses();
  internString(text.c_str());
  EXPECT_EQ(stringTable().entriesAdded(), added + 1);
  EXPECT_EQ(stringTable().misses(), misses + 1);
}

TEST(StringTableTest, LetterCaseMatters) {
  EXPECT_NE(internString("Intern-Case"), internString("intern-case"));
}

TEST(StringTableTest, EmptyStringIsInterned) {
  char *empty = internString("");
  EXPECT_STREQ(empty, "");
  EXPECT_EQ(internString(""), empty);
}

}  // namespace
}  // namespace vellum
