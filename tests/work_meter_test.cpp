// The work meter: limits that grow with the input, and a meter that stays
// spent once any account passes its limit.
#include "common/work_meter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/test_support.h"

namespace {

using vellum::WorkMeter;

WorkMeter::Limits smallLimits() {
  WorkMeter::Limits limits{};
  limits[WorkMeter::kRequests] = {10, 2};
  limits[WorkMeter::kSamples] = {100, 0};
  return limits;
}

TEST(WorkMeter, LimitsGrowWithTheInputRead) {
  WorkMeter meter(smallLimits());
  EXPECT_EQ(meter.limit(WorkMeter::kRequests), 10u);
  meter.setInputBytes(5);
  EXPECT_EQ(meter.limit(WorkMeter::kRequests), 20u);
  EXPECT_EQ(meter.limit(WorkMeter::kSamples), 100u);
  // A limit that would not fit stays the largest there is.
  meter.setInputBytes(UINT64_MAX / 2 + 1);
  EXPECT_EQ(meter.limit(WorkMeter::kRequests), UINT64_MAX);
}

TEST(WorkMeter, TheChargePastALimitSpendsEveryAccount) {
  struct Case {
    const char *what;
    uint64_t first, second;
    bool secondTaken;
  };
  const Case cases[] = {
      {"up to the limit exactly", 4, 6, true},
      {"one past it", 4, 7, false},
      {"a charge larger than any limit", 0, UINT64_MAX, false},
  };
  for (const Case &c : cases) {
    WorkMeter meter(smallLimits());
    EXPECT_TRUE(meter.charge(WorkMeter::kRequests, c.first)) << c.what;
    EXPECT_EQ(meter.charge(WorkMeter::kRequests, c.second), c.secondTaken) << c.what;
    EXPECT_EQ(meter.spent(), !c.secondTaken) << c.what;
    EXPECT_EQ(meter.charge(WorkMeter::kSamples, 1), c.secondTaken) << c.what;
    EXPECT_EQ(meter.left(WorkMeter::kSamples), c.secondTaken ? 99u : 0u) << c.what;
  }
}

TEST(WorkMeter, MemoryGivenBackMayBeChargedAgain) {
  WorkMeter meter(smallLimits());
  EXPECT_TRUE(meter.charge(WorkMeter::kRequests, 10));
  meter.refund(WorkMeter::kRequests, 4);
  EXPECT_EQ(meter.used(WorkMeter::kRequests), 6u);
  EXPECT_TRUE(meter.charge(WorkMeter::kRequests, 4));
  meter.refund(WorkMeter::kRequests, 100);  // never below nothing
  EXPECT_EQ(meter.used(WorkMeter::kRequests), 0u);
  EXPECT_FALSE(meter.spent());
}

TEST(WorkMeter, SaysWhichLimitWasPassedUntilReset) {
  WorkMeter meter(smallLimits());
  EXPECT_EQ(meter.spentMessage(), "");
  meter.setInputBytes(1);
  EXPECT_FALSE(meter.charge(WorkMeter::kSamples, 101));
  EXPECT_FALSE(meter.charge(WorkMeter::kRequests, 1));
  EXPECT_EQ(meter.spentMessage(), "more than 100 samples drawn");
  meter.reset();
  EXPECT_FALSE(meter.spent());
  EXPECT_EQ(meter.used(WorkMeter::kSamples), 0u);
  EXPECT_EQ(meter.limit(WorkMeter::kRequests), 10u);
  EXPECT_TRUE(meter.charge(WorkMeter::kRequests, 10));
}

// qview(1) lists each account with its limit, as ".It NAME" and a line
// "BASE, and PER for each byte".
TEST(WorkMeter, TheManualPageGivesTheDefaultLimits) {
  const std::string page = vellum_test::readFile(std::string(VELLUM_SOURCE_DIR) + "/doc/qview.1");
  for (int account = 0; account < WorkMeter::kAccounts; ++account) {
    const auto a = static_cast<WorkMeter::Account>(account);
    const WorkMeter::Limit &limit = WorkMeter::kDefaultLimits[account];
    const std::string row = ".It " + std::string(WorkMeter::accountName(a)) + "\n" +
                            std::to_string(limit.base) + ", and " + std::to_string(limit.perInputByte) +
                            " for each byte\n";
    EXPECT_NE(page.find(row), std::string::npos) << row;
  }
}

}  // namespace
