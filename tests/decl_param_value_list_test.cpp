#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "decl/declaration.h"
#include "decl/param_value_list.h"
#include "decl/string_table.h"

namespace vellum {
namespace {

// The counters are process-wide; every test starts them from 0 and leaves no
// entry outstanding.
class ParamValueTest : public ::testing::Test {
 protected:
  void SetUp() override { resetParamValueStats(); }
};

using PoolTest = ParamValueTest;
using ParamValueEntryTest = ParamValueTest;
using ParamValueListTest = ParamValueTest;
using ParamValueStatsTest = ParamValueTest;

std::vector<std::string> tokensOf(const ParamValueList &list) {
  std::vector<std::string> tokens;
  for (const ParamValueEntry *entry = list.head(); entry != nullptr; entry = entry->next) tokens.emplace_back(entry->token);
  return tokens;
}

ParamValueEntry *floatEntry(const char *token, std::vector<RtFloat> values) {
  return createEntry(internString(token), kTypeFloat, kClassUniform, static_cast<int>(values.size()), values.data(),
                     static_cast<int>(values.size()));
}

std::string statsText() {
  std::ostringstream out;
  printParamValueStats(out);
  return out.str();
}

TEST_F(PoolTest, CountersAfter33AllocationsAnd3Releases) {
  std::vector<void *> held;
  for (int i = 0; i < 33; ++i) held.push_back(allocateEntry());
  for (int i = 0; i < 3; ++i) {
    releaseEntry(static_cast<ParamValueEntry *>(held.back()));
    held.pop_back();
  }
  const ParamValueStats stats = paramValueStats();
  EXPECT_EQ(stats.entriesRequested, 33);
  EXPECT_EQ(stats.entriesOutstanding, 30);
  EXPECT_EQ(stats.entriesPeak, 33);
  // 33 entries of 32 bytes (20 where pointers are 4 bytes) are 1056 (660)
  // bytes: the kb figure truncates.
  const char *kb = sizeof(ParamValueEntry) == 32 ? "1" : "0";
  EXPECT_EQ(statsText(), std::string("Param/value list stats:\n"
                                     "    param/value entries: 33 requested, 30 outstanding, 33 peak (") +
                             kb +
                             " kb)\n"
                             "    param/value data memory: 0k requested, 0k outstanding,  0k peak\n");
  for (void *entry : held) releaseEntry(static_cast<ParamValueEntry *>(entry));
  EXPECT_EQ(paramValueStats().entriesOutstanding, 0);
  EXPECT_EQ(paramValueStats().entriesPeak, 33);
}

TEST_F(ParamValueEntryTest, CopiesValuesAndCountsThem) {
  ParamValueList list;
  RtFloat values[] = {1.5f, 2.5f, 3.5f};
  list.append(createEntry(internString("pv_copy"), kTypeColor, kClassVarying, 1, values, 3));
  const ParamValueEntry *entry = list.head();
  values[0] = 0;
  EXPECT_EQ(entry->type, kTypeColor);
  EXPECT_EQ(entry->storageClass, kClassVarying);
  EXPECT_EQ(entry->count, 1);
  EXPECT_EQ(entry->next, nullptr);
  EXPECT_EQ(static_cast<const RtFloat *>(entry->data)[0], 1.5f);
  EXPECT_EQ(static_cast<const RtFloat *>(entry->data)[2], 3.5f);
  EXPECT_EQ(paramValueStats().dataRequested, 12);
  EXPECT_EQ(paramValueStats().dataPeak, 12);
}

TEST_F(ParamValueEntryTest, StringValuesAreInterned) {
  char first[] = "pv-string-one";
  char second[] = "pv-string-two";
  RtString values[] = {first, nullptr, second};
  ParamValueList list;
  list.append(createEntry(internString("pv_strings"), kTypeString, kClassUniform, 3, values, 3));
  RtString *copied = static_cast<RtString *>(list.head()->data);
  EXPECT_EQ(copied[0], internString("pv-string-one"));
  EXPECT_NE(copied[0], first);
  EXPECT_EQ(copied[1], nullptr);
  EXPECT_EQ(copied[2], internString("pv-string-two"));
}

TEST_F(ParamValueEntryTest, StringCountBeyondSlotsReadsOnlyTheSlots) {
  RtString values[] = {const_cast<char *>("pv-only")};
  ParamValueList list;
  list.append(createEntry(internString("pv_short"), kTypeString, kClassUniform, 4, values, 1));
  EXPECT_EQ(static_cast<RtString *>(list.head()->data)[0], internString("pv-only"));
}

TEST_F(ParamValueEntryTest, WithoutValuesTheCopyIsZeroedAndCounted) {
  ParamValueList list;
  list.append(createEntry(internString("pv_unset"), kTypeString, kClassUniform, 2, nullptr, 2));
  list.append(createEntry(internString("pv_unset_f"), kTypeFloat, kClassUniform, 2, nullptr, 2));
  const RtString *strings = static_cast<const RtString *>(list.head()->data);
  EXPECT_EQ(strings[0], nullptr);
  EXPECT_EQ(strings[1], nullptr);
  const RtFloat *floats = static_cast<const RtFloat *>(list.head()->next->data);
  EXPECT_EQ(floats[0], 0.0f);
  const int32_t size = static_cast<int32_t>(2 * sizeof(RtString)) + 8;
  EXPECT_EQ(paramValueStats().dataRequested, size);
  EXPECT_EQ(paramValueStats().dataOutstanding, size);
  list.clear();
  EXPECT_EQ(paramValueStats().dataOutstanding, 0);
  EXPECT_EQ(paramValueStats().dataPeak, size);
}

TEST_F(ParamValueEntryTest, CloneOfStringEntryKeepsTheInternedPointers) {
  RtString values[] = {internString("pv-clone-a"), internString("pv-clone-b")};
  ParamValueList list;
  list.append(createEntry(internString("pv_clone"), kTypeString, kClassConstant, 2, values, 2));
  ParamValueEntry *copy = clone(list.head());
  ASSERT_NE(copy, nullptr);
  list.append(copy);
  EXPECT_EQ(copy->token, list.head()->token);
  EXPECT_EQ(copy->type, kTypeString);
  EXPECT_EQ(copy->storageClass, kClassConstant);
  EXPECT_EQ(copy->count, 2);
  EXPECT_EQ(copy->size, list.head()->size);
  EXPECT_NE(copy->data, list.head()->data);
  EXPECT_EQ(static_cast<RtString *>(copy->data)[0], values[0]);
  EXPECT_EQ(static_cast<RtString *>(copy->data)[1], values[1]);
  EXPECT_EQ(paramValueStats().dataRequested, 2 * copy->size);
  EXPECT_EQ(paramValueStats().entriesOutstanding, 2);
}

TEST_F(ParamValueListTest, AppendKeepsOrderAndFindComparesPointers) {
  ParamValueList list;
  list.append(floatEntry("pv_a", {1}));
  list.append(floatEntry("pv_b", {2, 3}));
  list.append(floatEntry("pv_c", {4}));
  EXPECT_EQ(tokensOf(list), (std::vector<std::string>{"pv_a", "pv_b", "pv_c"}));

  ParamValueEntry *b = list.find(internString("pv_b"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->size, 8);
  EXPECT_EQ(list.valueOf(internString("pv_b")), b->data);
  char otherCopy[] = "pv_b";
  EXPECT_EQ(list.find(otherCopy), nullptr);
  EXPECT_EQ(list.valueOf(otherCopy), nullptr);
  EXPECT_EQ(list.find(internString("pv_missing")), nullptr);
}

TEST_F(ParamValueListTest, TakeHandsOverTheValues) {
  ParamValueList list;
  list.append(floatEntry("pv_t1", {1}));
  list.append(floatEntry("pv_t2", {2, 3}));
  list.append(floatEntry("pv_t3", {4}));
  const ParamValueStats before = paramValueStats();

  void *values = list.take(internString("pv_t2"));
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(static_cast<RtFloat *>(values)[1], 3.0f);
  const ParamValueStats after = paramValueStats();
  EXPECT_EQ(after.dataOutstanding, before.dataOutstanding - 8);
  EXPECT_EQ(after.entriesOutstanding, before.entriesOutstanding - 1);
  EXPECT_EQ(tokensOf(list), (std::vector<std::string>{"pv_t1", "pv_t3"}));
  EXPECT_EQ(list.take(internString("pv_t2")), nullptr);
  ::operator delete(values);

  // The first and the last entry.
  ::operator delete(list.take(internString("pv_t1")));
  ::operator delete(list.take(internString("pv_t3")));
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(paramValueStats().dataOutstanding, 0);
  EXPECT_EQ(paramValueStats().entriesOutstanding, 0);
}

TEST_F(ParamValueListTest, ClearAndDestructorGiveEverythingBack) {
  {
    ParamValueList list;
    list.append(floatEntry("pv_d1", {1}));
    list.append(floatEntry("pv_d2", {1, 2}));
    list.clear();
    EXPECT_EQ(list.head(), nullptr);
    EXPECT_EQ(paramValueStats().entriesOutstanding, 0);
    EXPECT_EQ(paramValueStats().dataOutstanding, 0);
    list.append(floatEntry("pv_d3", {1}));
  }
  EXPECT_EQ(paramValueStats().entriesOutstanding, 0);
  EXPECT_EQ(paramValueStats().dataOutstanding, 0);
  EXPECT_EQ(paramValueStats().entriesRequested, 3);
}

TEST_F(ParamValueListTest, CopyFromReplacesTheDestination) {
  ParamValueList source;
  source.append(floatEntry("pv_s1", {1}));
  source.append(floatEntry("pv_s2", {2, 3}));
  source.append(floatEntry("pv_s3", {4}));
  ParamValueList destination;
  destination.append(floatEntry("pv_old1", {9}));
  destination.append(floatEntry("pv_old2", {9}));

  source.copyFrom(destination);
  EXPECT_EQ(tokensOf(destination), (std::vector<std::string>{"pv_s1", "pv_s2", "pv_s3"}));
  EXPECT_EQ(tokensOf(source), (std::vector<std::string>{"pv_s1", "pv_s2", "pv_s3"}));
  EXPECT_EQ(paramValueStats().entriesOutstanding, 6);
  EXPECT_EQ(paramValueStats().dataOutstanding, 2 * 16);
  for (const ParamValueEntry *s = source.head(), *d = destination.head(); s != nullptr; s = s->next, d = d->next) {
    EXPECT_NE(d->data, s->data);
    EXPECT_EQ(d->size, s->size);
    EXPECT_EQ(std::memcmp(d->data, s->data, static_cast<size_t>(s->size)), 0);
  }
}

TEST_F(ParamValueListTest, AssignmentAndCopyConstructionAreDeep) {
  ParamValueList source;
  source.append(floatEntry("pv_e1", {1}));
  source.append(floatEntry("pv_e2", {2}));
  ParamValueList assigned;
  assigned.append(floatEntry("pv_old", {9}));
  assigned = source;
  ParamValueList constructed(source);
  EXPECT_EQ(tokensOf(assigned), tokensOf(source));
  EXPECT_EQ(tokensOf(constructed), tokensOf(source));
  EXPECT_NE(assigned.head()->data, source.head()->data);
  EXPECT_NE(constructed.head()->data, source.head()->data);
  EXPECT_EQ(paramValueStats().entriesOutstanding, 6);

  ParamValueList &alias = assigned;
  assigned = alias;
  EXPECT_EQ(tokensOf(assigned), tokensOf(source));
  EXPECT_EQ(paramValueStats().entriesOutstanding, 6);
}

TEST_F(ParamValueListTest, MoveToHandsOverTheEntries) {
  ParamValueList source;
  source.append(floatEntry("pv_m1", {1}));
  source.append(floatEntry("pv_m2", {2}));
  ParamValueEntry *first = source.head();
  ParamValueList destination;
  destination.append(floatEntry("pv_old", {9}));

  source.moveTo(destination);
  EXPECT_EQ(source.head(), nullptr);
  EXPECT_EQ(destination.head(), first);
  EXPECT_EQ(tokensOf(destination), (std::vector<std::string>{"pv_m1", "pv_m2"}));
  EXPECT_EQ(paramValueStats().entriesOutstanding, 2);

  destination.moveTo(destination);
  EXPECT_EQ(tokensOf(destination), (std::vector<std::string>{"pv_m1", "pv_m2"}));
}

TEST_F(ParamValueListTest, Print) {
  ParamValueList list;
  std::ostringstream empty;
  list.print(empty);
  EXPECT_EQ(empty.str(), "Param/value list:\n\n");

  list.append(floatEntry("pv_P", {1, 2, 3}));
  list.append(floatEntry("pv_Kd", {1}));
  const char *expected =
      "Param/value list:\n"
      "  Item: pv_P, size = 12\n"
      "  Item: pv_Kd, size = 4\n"
      "\n";
  std::ostringstream out;
  list.print(out);
  EXPECT_EQ(out.str(), expected);

  testing::internal::CaptureStdout();
  list.print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}

TEST_F(ParamValueStatsTest, DataInKilobytes) {
  ParamValueList list;
  const std::vector<RtFloat> values(750, 1.0f);  // 3000 bytes
  list.append(createEntry(internString("pv_big"), kTypeFloat, kClassUniform, 750, values.data(), 750));
  EXPECT_EQ(statsText(),
            "Param/value list stats:\n"
            "    param/value entries: 1 requested, 1 outstanding, 1 peak (0 kb)\n"
            "    param/value data memory: 2k requested, 2k outstanding,  2k peak\n");
  list.clear();
  EXPECT_EQ(statsText(),
            "Param/value list stats:\n"
            "    param/value entries: 1 requested, 0 outstanding, 1 peak (0 kb)\n"
            "    param/value data memory: 2k requested, 0k outstanding,  2k peak\n");
}

TEST_F(ParamValueStatsTest, NegativeFiguresTruncateTowardsZero) {
  ParamValueList list;
  const std::vector<RtFloat> values(750, 1.0f);
  list.append(createEntry(internString("pv_big"), kTypeFloat, kClassUniform, 750, values.data(), 750));
  resetParamValueStats();
  list.clear();
  EXPECT_EQ(statsText(),
            "Param/value list stats:\n"
            "    param/value entries: 0 requested, -1 outstanding, 0 peak (0 kb)\n"
            "    param/value data memory: 0k requested, -2k outstanding,  0k peak\n");
}

}  // namespace
}  // namespace vellum
