// A short run of the clock campaign with a fixed seed: sleeps, clock and
// daylight-saving changes, tick wraps, settings changes and restarts, with
// every rule checked after every step. scripts/bench.sh runs the long one.
#include "core/clock_campaign.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pausora::sim {
namespace {

TEST(ClockCampaign, NoRuleIsBrokenOverAFewMonthsOfRandomDays) {
    const CampaignReport report = RunClockCampaign(20261208, 90);
    std::ostringstream text;
    PrintReport(text, report);
    EXPECT_EQ(report.TotalViolations(), 0u) << text.str();
    // The run did what it is for.
    EXPECT_GT(report.counts.sleepsSeen, 50u) << text.str();
    EXPECT_GT(report.counts.sleepsInBreaks, 20u) << text.str();
    EXPECT_GT(report.counts.clockChangesBackOverMidnight, 10u) << text.str();
    EXPECT_GT(report.counts.tickWraps, 5u) << text.str();
    EXPECT_GT(report.counts.activeMinutes, 1000u) << text.str();
    EXPECT_GT(report.counts.heldBreaksShown, 10u) << text.str();
    EXPECT_GT(report.counts.fullScreenDays, 3u) << text.str();
}

}  // namespace
}  // namespace pausora::sim
