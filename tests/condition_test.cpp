// The expressions of IfBegin and ElseIf, evaluated over Option "user"
// values.
#include "reader/condition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Status = vellum::ConditionResult::Status;
constexpr Status kTrue = vellum::ConditionResult::kTrue;
constexpr Status kFalse = vellum::ConditionResult::kFalse;
constexpr Status kCannot = vellum::ConditionResult::kCannotEvaluate;
constexpr Status kTooLarge = vellum::ConditionResult::kTooLarge;
constexpr uint64_t kPlenty = uint64_t{1} << 30;

const std::map<std::string, std::string> &userValues() {
  static const std::map<std::string, std::string> values = {
      {"shot", "s01"}, {"frame", "12"}, {"empty", ""}, {"x", "abc"}, {"half", "0.5"},
      {"pattern", "s0[0-9]"}, {"big", std::string(1000, 'a')}};
  return values;
}

vellum::ConditionResult evaluate(const std::string &expression, uint64_t mostWork = kPlenty) {
  return vellum::evaluateCondition(
      expression,
      [](const std::string &name) -> const std::string * {
        auto found = userValues().find(name);
        return found == userValues().end() ? nullptr : &found->second;
      },
      mostWork);
}

struct Case {
  std::string expression;
  Status status;
};

void expectStatuses(const Case *first, const Case *last) {
  for (const Case *c = first; c != last; ++c)
    EXPECT_EQ(evaluate(c->expression).status, c->status) << c->expression;
}

TEST(Condition, EvaluatesComparisonsOfVariables) {
  const Case cases[] = {
      {"$shot == 's01'", kTrue},
      {"$shot != \"s01\"", kFalse},
      {"${shot} == s01", kTrue},
      {"$(shot) == s01", kTrue},
      {"$user:shot == 's01'", kTrue},
      {"$(user:shot) == 's01'", kTrue},
      {"$frame < 9", kFalse},  // numbers, not texts: "12" < "9" as text
      {"$frame >= 12 && $frame <= 12", kTrue},
      {"$frame > 11.5 && $frame < 12.5", kTrue},
      {"$half == .5 && $half == 5e-1", kTrue},
      {"5. == 5 && '5.' == 5", kTrue},
      {"'+5' == 5", kTrue},          // a text reads as a number with its sign
      {"$x == 0", kFalse},           // a word with a number compares as text
      {"$x != 0", kTrue},
      {"$x > 0", kTrue},             // "abc" after "0"
      {"'abc' < 5", kFalse},
      {"'12' < '9'", kFalse},        // texts that read as numbers compare as numbers
      {"'12a' < '9'", kTrue},        // as texts
      {"$shot =~ 's0*'", kTrue},
      {"$shot =~ 's1?'", kFalse},
      {"$shot =~ $pattern", kTrue},
      {"!($shot == 's02') || $frame > 100", kTrue},
      {"!$shot == 's02'", kTrue},    // ! takes the whole comparison
      {"defined(shot) && !defined(take)", kTrue},
      {"defined($take)", kFalse},
      // The side that cannot change the result is read, not evaluated.
      {"defined(take) && $take == 1", kFalse},
      {"$frame == 12 || $take / 0", kTrue},
      {"$frame == 12 && $take", kCannot},
      {"0 && ($take", kCannot},
      {"concat($shot, '_', $frame) == 's01_12'", kTrue},
      {"concat($frame + 1, '-', $shot) == '13-s01'", kTrue},
      {"concat() == ''", kTrue},
      {"$empty", kFalse},
      {"$frame", kTrue},
      {"0", kFalse},
      {"'0'", kFalse},
      {"0.0", kFalse},
      {"'word'", kTrue},
      {"$take == 1", kCannot},  // a variable not set
      {"$shot ==", kCannot},
      {"($shot == 's01'", kCannot},
      {"unknown($shot)", kCannot},
      {"$shot == 's01' extra", kCannot},
      {"$shot == 's01' == 1", kCannot},  // comparisons do not chain
      {"$shot == 's01", kCannot},
      {"${shot == 's01'", kCannot},
      {"$(shot == 's01'", kCannot},
      {"$() == ''", kCannot},
      {"$", kCannot},
      {"$shot & 1", kCannot},
      {"", kCannot},
  };
  expectStatuses(std::begin(cases), std::end(cases));
}

TEST(Condition, WorksOutArithmetic) {
  const Case cases[] = {
      {" 1 + 4 * 7.0 == '29' && false", kFalse},
      {"1 + 4 * 7.0 == '29'", kTrue},
      {"2 + 3 * 4 == 14", kTrue},
      {"2 * 3 + 4 == 10", kTrue},
      {"(1 + 4) * 7 == 35", kTrue},
      {"10 - 4 - 3 == 3", kTrue},  // from the left
      {"16 / 4 / 2 == 2", kTrue},
      {"3 * 7 % 5 == 1", kTrue},   // * and % alike, from the left
      {"7 % 4 == 3", kTrue},
      {"-7 % 4 == -3", kTrue},
      {"7.5 % 2 == 1.5", kTrue},
      {"1 / 2 == 0.5", kTrue},
      {"-3 + 5 == 2", kTrue},
      {"- -3 == 3", kTrue},
      {"-(2 + 3) == -5", kTrue},
      {"2 * -3 == -6", kTrue},
      {"+4 == 4", kTrue},
      {"$frame + 1 == 13", kTrue},
      {"$frame+1 == 13", kTrue},
      {"$frame-1 == 11", kTrue},
      {"'29' + 1 == 30", kTrue},
      {"$half * 4 == 2", kTrue},
      {"12-3 == 9", kTrue},              // after a number, - is an operator
      {"1e2+1 == 101", kTrue},
      {"shot-2 == 'shot-2'", kTrue},     // in a word, - is a part of it
      {"2nd-pass == '2nd-pass'", kTrue},
      {"1.2.3 == '1.2.3'", kTrue},
      {"2e == '2e'", kTrue},
      {"'12-3' == 9", kFalse},
      // Results print as numbers do.
      {"concat(1 + 4 * 7.0) == '29'", kTrue},
      {"concat(1 / 2) == '0.5'", kTrue},
      {"concat('x', 0 * -1) == 'x0'", kTrue},  // -0 prints as 0
      {"concat(1e10 * 1e10) == '1e+20'", kTrue},
      {"concat(-$half) == '-0.5'", kTrue},
      {"concat(007) == '007'", kTrue},   // a literal keeps its text
      {"concat($frame * 1) == '12'", kTrue},
      {"($frame == 12) + ($shot == 's01') == 2", kTrue},
      // true and false are numbers.
      {"true", kTrue},
      {"false", kFalse},
      {"true && !false", kTrue},
      {"true + true == 2", kTrue},
      {"false == 0", kTrue},
      {"concat(true, false) == '10'", kTrue},
      {"true == 'true'", kFalse},
      {"truer == 'truer'", kTrue},
      // Arithmetic without a result.
      {"1 / 0", kCannot},
      {"1 % 0", kCannot},
      {"1 / (2 - 2)", kCannot},
      {"$shot + 1", kCannot},
      {"1 - $x", kCannot},
      {"-$shot", kCannot},
      {"-'abc' == 1", kCannot},
      {"$empty * 2", kCannot},
      {"1e308 * 10 > 0", kCannot},
      {"1 +", kCannot},
      {"* 2", kCannot},
      {"1 + !0", kCannot},
  };
  expectStatuses(std::begin(cases), std::end(cases));
}

TEST(Condition, MatchesGlobPatterns) {
  const Case cases[] = {
      {"'abc' =~ 'abc'", kTrue},
      {"'abc' =~ 'ab'", kFalse},
      {"'ab' =~ 'abc'", kFalse},
      {"'' =~ ''", kTrue},
      {"'' =~ '*'", kTrue},
      {"'a' =~ ''", kFalse},
      {"'a' =~ '?'", kTrue},
      {"'ab' =~ '?'", kFalse},
      {"'a' =~ '?\?'", kFalse},
      {"'abc' =~ '*b*'", kTrue},
      {"'abc' =~ '*d*'", kFalse},
      {"'abc' =~ 'a*c'", kTrue},
      {"'abc' =~ 'a*b*c'", kTrue},
      {"'ac' =~ 'a*b*c'", kFalse},
      {"'aab' =~ 'a*ab'", kTrue},
      {"'ab' =~ 'a*ab'", kFalse},        // the first and last pieces may not overlap
      {"'aXbXb' =~ '*Xb'", kTrue},       // the last piece at the end, not leftmost
      {"'abcbd' =~ 'a*c?d'", kTrue},
      {"'abcbd' =~ 'a*b?d'", kFalse},
      {"'abXcdXef' =~ '*X*X*'", kTrue},
      {"'abXcd' =~ '*X*X*'", kFalse},
      {"'s01' =~ 's**1'", kTrue},
      {"'abc' =~ 'a[b-d]c'", kTrue},
      {"'aec' =~ 'a[b-d]c'", kFalse},
      {"'aec' =~ 'a[!b-d]c'", kTrue},
      {"'acc' =~ 'a[!b-d]c'", kFalse},
      {"'abc' =~ 'a[^b]c'", kFalse},
      {"'a]c' =~ 'a[]]c'", kTrue},
      {"'a]c' =~ 'a[!]]c'", kFalse},
      {"'a-c' =~ 'a[b-]c'", kTrue},
      {"'a-c' =~ 'a[-b]c'", kTrue},
      {"'b' =~ '[c-a]'", kFalse},        // reversed: empty
      {"'b' =~ '[a\\-c]'", kFalse},      // an escaped - is no range
      {"'-' =~ '[a\\-c]'", kTrue},
      {"'a]' =~ 'a[\\]]'", kTrue},
      {"'a*c' =~ 'a\\*c'", kTrue},
      {"'abc' =~ 'a\\*c'", kFalse},
      {"'a?' =~ '*\\?'", kTrue},
      {"'ab' =~ '*\\?'", kFalse},
      {"'a\\' =~ 'a\\'", kTrue},         // a \ that ends the pattern
      {"'a[' =~ 'a['", kTrue},           // a [ that nothing closes
      {"'a[b' =~ 'a[?'", kTrue},
      {"'[[x' =~ '[[x'", kTrue},
      {"'\xe9t\xe9' =~ '[\xe0-\xff]t?'", kTrue},  // bytes past 127
      {"'\xe9' =~ '[a-z]'", kFalse},
      {"$frame =~ '1?'", kTrue},
      {"concat(2 * 6) =~ '12'", kTrue},
      // Pieces longer than 64 bytes, searched across several words.
      {"'" + std::string(200, 'a') + "b' =~ '*" + std::string(70, 'a') + "b*'", kTrue},
      {"'" + std::string(200, 'a') + "' =~ '*" + std::string(70, 'a') + "b*'", kFalse},
      {"'x" + std::string(64, 'a') + "y' =~ '*" + std::string(64, 'a') + "*'", kTrue},
      {"'x" + std::string(63, 'a') + "y' =~ '*" + std::string(64, 'a') + "*'", kFalse},
      {"'x" + std::string(65, 'a') + "y' =~ '*" + std::string(65, '?') + "*'", kTrue},
      {"'x" + std::string(63, 'a') + "y' =~ '*?" + std::string(64, 'a') + "*'", kFalse},
      {"'" + std::string(130, 'a') + "b" + std::string(10, 'a') + "' =~ '*" + std::string(129, 'a') + "b*'",
       kTrue},
  };
  expectStatuses(std::begin(cases), std::end(cases));
}

// Parentheses, !, unary signs and functions together nest 64 deep at most.
TEST(Condition, NestsAtMost64Deep) {
  const auto repeat = [](const std::string &text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
  };
  const Case cases[] = {
      {repeat("(", 64) + "1" + repeat(")", 64), kTrue},
      {repeat("(", 65) + "1" + repeat(")", 65), kCannot},
      {repeat("(", 200), kCannot},
      {repeat("!", 64) + "1", kTrue},
      {repeat("!", 65) + "1", kCannot},
      {repeat("-", 64) + "1 == 1", kTrue},
      {repeat("- ", 65) + "1 == 1", kCannot},
      {repeat("+", 65) + "1", kCannot},
      {repeat("concat(", 64) + "1" + repeat(")", 64), kTrue},
      {repeat("concat(", 65) + "1" + repeat(")", 65), kCannot},
      {repeat("(-", 32) + "1" + repeat(")", 32) + " == 1", kTrue},
      {repeat("(-", 32) + "-1" + repeat(")", 32), kCannot},
      {repeat("1 + ", 10000) + "1 == 10001", kTrue},  // operators in a row do not nest
  };
  expectStatuses(std::begin(cases), std::end(cases));
}

// The work an expression does is the text it builds plus the steps of its
// matches, and past the most it is given it stops, too large.
TEST(Condition, CountsItsWorkAndStopsAtTheMost) {
  const struct {
    std::string expression;
    uint64_t mostWork;
    Status status;
    uint64_t work;
  } cases[] = {
      {"$shot == 's01'", kPlenty, kTrue, 3 + 1},  // the value taken, the truth printed
      {"'s01' == 's01'", kPlenty, kTrue, 1},      // literals are not built
      {"1 + 4 * 7.0 == '29'", kPlenty, kTrue, 2 + 2 + 1},
      {"1 / 3 > 0", kPlenty, kTrue, 18 + 1},      // "0.3333333333333333"
      {"concat($shot, '_', $frame)", kPlenty, kTrue, 3 + 3 + 1 + 2 + 2},
      {"defined(shot)", kPlenty, kTrue, 1},
      // A concat: the values, then what it joins.
      {"concat($big, $big)", 4000, kTrue, 4000},
      {"concat($big, $big)", 3999, kTooLarge, 3000},
      {"concat($big, $big, $big, $big, $big)", 4000, kTooLarge, 4000},
      {"concat(concat($big, $big), concat($big, $big))", 4000, kTooLarge, 4000},
      {"$big", 999, kTooLarge, 0},
      {"$big == $big", 2000, kTooLarge, 2000},  // the truth would pass it
      {"$big == $big", 2001, kTrue, 2001},
      // A match: the pattern read, the first and last pieces compared, the
      // search's table (256 words), its piece set and cleared, a step a byte.
      {"'abc' =~ 'a?c'", kPlenty, kTrue, 3 + 3 + 1},
      {"'abc' =~ 'a*c'", kPlenty, kTrue, 3 + 1 + 1 + 1},
      {"$big =~ '*b*'", kPlenty, kFalse, 1000 + 3 + 256 + 1 + 1000 + 1 + 1},
      {"$big =~ '*b*'", 2262, kFalse, 2262},
      {"$big =~ '*b*'", 2261, kTooLarge, 2261},  // the match, but not its truth
      {"$big =~ '*b*'", 2260, kTooLarge, 2260},
      {"$big =~ '*b*'", 1500, kTooLarge, 1500},
      // A class: its bytes looked at twice (for its end, then for what it
      // holds), and the 256 bytes of the table set and cleared.
      {"$big =~ '*[ab]*'", kPlenty, kTrue, 1000 + 8 + 256 + 256 + 1 + 256 + 1},
      {"'x' =~ '[z-a]'", kPlenty, kFalse, 5 + 1 + 1},  // an empty range costs nothing
      {"'x' =~ '[a-z]'", kPlenty, kTrue, 5 + 26 + 1 + 1},
      // It stops where it is: what follows is not looked at.
      {"concat($big, $big) && $nosuch", 1500, kTooLarge, 1000},
      {"$nosuch && concat($big, $big)", 1500, kCannot, 0},
      {"1 + $x || concat($big, $big)", 1500, kCannot, 3},
  };
  for (const auto &c : cases) {
    const vellum::ConditionResult result = evaluate(c.expression, c.mostWork);
    EXPECT_EQ(result.status, c.status) << c.expression << " within " << c.mostWork;
    EXPECT_EQ(result.work, c.work) << c.expression << " within " << c.mostWork;
    EXPECT_LE(result.work, c.mostWork) << c.expression;
  }
}

}  // namespace
