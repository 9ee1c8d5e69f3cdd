// The expressions of IfBegin and ElseIf, evaluated over Option "user"
// values.
#include "reader/condition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(Condition, EvaluatesTheExpressionLanguage) {
  const std::map<std::string, std::string> user = {{"shot", "s01"}, {"frame", "12"}, {"empty", ""}};
  const auto lookup = [&](const std::string &name) -> std::optional<std::string> {
    auto found = user.find(name);
    if (found == user.end()) return std::nullopt;
    return found->second;
  };
  const std::string deep(200, '(');
  const struct {
    std::string expression;
    std::optional<bool> truth;
  } cases[] = {
      {"$shot == 's01'", true},
      {"$shot != \"s01\"", false},
      {"${shot} == s01", true},
      {"$user:shot == 's01'", true},
      {"$frame < 9", false},  // numbers, not texts: "12" < "9" as text
      {"$frame >= 12 && $frame <= 12", true},
      {"$shot =~ 's0*'", true},
      {"$shot =~ 's1?'", false},
      {"!($shot == 's02') || $frame > 100", true},
      {"defined(shot) && !defined(take)", true},
      {"defined($take)", false},
      {"concat($shot, '_', $frame) == 's01_12'", true},
      {"$empty", false},
      {"$frame", true},
      {"0", false},
      {"$take == 1", std::nullopt},  // a variable not set
      {"$shot ==", std::nullopt},
      {"($shot == 's01'", std::nullopt},
      {"unknown($shot)", std::nullopt},
      {"$shot == 's01' extra", std::nullopt},
      {deep, std::nullopt},  // nested past the bound
  };
  for (const auto &c : cases) EXPECT_EQ(vellum::evaluateCondition(c.expression, lookup), c.truth) << c.expression;
}

}  // namespace
