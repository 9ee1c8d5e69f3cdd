// The alignment of two sequences of keys, as ribdiff aligns two streams'
// requests.
#include "reader/sequence_alignment.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using vellum::AlignedRun;

std::vector<uint64_t> keys(const std::string &text) { return {text.begin(), text.end()}; }

// The runs as text: "=ab" kept, "-c" removed, "+d" added.
std::string describe(const std::string &a, const std::string &b, const std::vector<AlignedRun> &runs) {
  std::string text;
  for (const AlignedRun &run : runs) {
    if (!text.empty()) text += ' ';
    if (run.kind == AlignedRun::kKept) text += "=" + a.substr(run.a, run.count);
    if (run.kind == AlignedRun::kRemoved) text += "-" + a.substr(run.a, run.count);
    if (run.kind == AlignedRun::kAdded) text += "+" + b.substr(run.b, run.count);
  }
  return text;
}

// Every element in one run, in order, kept ones equal.
void expectValid(const std::vector<uint64_t> &a, const std::vector<uint64_t> &b, const std::vector<AlignedRun> &runs,
                 const std::string &what) {
  size_t i = 0, j = 0;
  for (const AlignedRun &run : runs) {
    ASSERT_EQ(run.a, i) << what;
    ASSERT_EQ(run.b, j) << what;
    ASSERT_GT(run.count, 0u) << what;
    if (run.kind != AlignedRun::kAdded) i += run.count;
    if (run.kind != AlignedRun::kRemoved) j += run.count;
    if (run.kind == AlignedRun::kKept) {
      for (size_t k = 0; k < run.count; ++k) ASSERT_EQ(a[run.a + k], b[run.b + k]) << what;
    }
  }
  EXPECT_EQ(i, a.size()) << what;
  EXPECT_EQ(j, b.size()) << what;
}

TEST(SequenceAlignment, AlignsAsADiffDoes) {
  const struct {
    std::string a, b, runs;
  } cases[] = {
      {"", "", ""},
      {"abc", "abc", "=abc"},
      {"", "ab", "+ab"},
      {"ab", "", "-ab"},
      {"abcd", "abXcd", "=ab +X =cd"},
      {"abXcd", "abcd", "=ab -X =cd"},
      {"abcd", "abYd", "=ab -c +Y =d"},
      {"xabc", "abcy", "-x =abc +y"},
      // Repeated keys, no unique anchor: Myers' shortest script.
      {"aaab", "aab", "=aa -a =b"},
      {"abab", "baba", "-a =bab +a"},
      // Unique keys anchor the parts between them.
      {"pAqBr", "sAtBu", "-p +s =A -q +t =B -r +u"},
      {"ABCDE", "AXCYE", "=A -B +X =C -D +Y =E"},
  };
  for (const auto &c : cases) {
    const std::vector<AlignedRun> runs = vellum::alignSequences(keys(c.a), keys(c.b));
    EXPECT_EQ(describe(c.a, c.b, runs), c.runs) << c.a << " / " << c.b;
    expectValid(keys(c.a), keys(c.b), runs, c.a + " / " + c.b);
  }
}

TEST(SequenceAlignment, OneChangeInALongSequenceIsOneRun) {
  std::vector<uint64_t> a(100000), b;
  for (size_t i = 0; i < a.size(); ++i) a[i] = i % 7;  // few distinct keys: no anchors
  b = a;
  b.insert(b.begin() + 50000, 99);
  const std::vector<AlignedRun> runs = vellum::alignSequences(a, b);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].kind, AlignedRun::kAdded);
  EXPECT_EQ(runs[1].b, 50000u);
  // Nothing in common past the search's bound: replaced, in linear time.
  std::vector<uint64_t> c(200000, 1), d(200000, 2);
  for (size_t i = 0; i < c.size(); i += 2) c[i] = 3;
  const std::vector<AlignedRun> replaced = vellum::alignSequences(c, d);
  ASSERT_EQ(replaced.size(), 2u);
  EXPECT_EQ(replaced[0].kind, AlignedRun::kRemoved);
  EXPECT_EQ(replaced[1].kind, AlignedRun::kAdded);
}

TEST(SequenceAlignment, RandomSequencesAlignValidly) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const int alphabet = 2 + round % 10;
    std::vector<uint64_t> a(random() % 60), b;
    for (uint64_t &key : a) key = random() % alphabet;
    // b is a with some edits, or something else altogether.
    for (uint64_t key : a) {
      if (random() % 5 == 0) continue;
      b.push_back(key);
      if (random() % 6 == 0) b.push_back(random() % alphabet);
    }
    expectValid(a, b, vellum::alignSequences(a, b), "round " + std::to_string(round));
  }
}

}  // namespace
