#include "tips/random_range.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace pausora {
namespace {

class FakeRandomEnvironment final : public IRandomEnvironment {
  public:
    std::int64_t now = 1'700'000'000;
    std::int64_t counter = 0;
    std::vector<std::string> messages;

    std::int64_t NowSeconds() override { return now; }
    LocalDate LocalCalendar(std::int64_t) override { return {2026, 12, 7}; }
    std::int64_t PerformanceCounter() override { return counter += 7919; }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
};

TEST(RandomRange, AReversedRangeIsReportedAndReplacedByZeroToOne) {
    FakeRandomEnvironment env;
    RandomRange range(env, 5, 4);
    ASSERT_EQ(env.messages.size(), 1u);
    EXPECT_EQ(env.messages[0],
              "Error: HIGH value cannot be less than LOW value!\n"
              "Using defaults: High = 1, Low = 0");
    EXPECT_EQ(range.Low(), 0);
    EXPECT_EQ(range.High(), 1);

    range.SetRange(3, 3);  // a single value is a valid range
    EXPECT_EQ(env.messages.size(), 1u);
    EXPECT_EQ(range.Next(), 3);
}

TEST(RandomRange, DrawsStayInsideTheRangeAndReachBothEnds) {
    FakeRandomEnvironment env;
    RandomRange range(env, 1, 15);
    range.Seed();
    std::set<std::int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::int32_t n = range.Next();
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 15);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 15u);
}

TEST(RandomRange, TheWidestRangeDoesNotOverflow) {
    FakeRandomEnvironment env;
    RandomRange range(env, INT_MIN, INT_MAX);
    for (int i = 0; i < 100; ++i) {
        range.Next();  // undefined behaviour would stop the sanitized build here
    }
    RandomRange negative(env, -10, -5);
    for (int i = 0; i < 100; ++i) {
        const std::int32_t n = negative.Next();
        ASSERT_GE(n, -10);
        ASSERT_LE(n, -5);
    }
}

TEST(RandomRange, EachDrawIsSeededFromTheClockDateAndCounter) {
    FakeRandomEnvironment a;
    FakeRandomEnvironment b;
    RandomRange first(a, 1, 2131);
    RandomRange second(b, 1, 2131);
    EXPECT_EQ(first.Next(), second.Next());  // same clock, same counter
    b.now += 1;
    b.counter = a.counter;
    EXPECT_NE(first.Next(), second.Next());
}

}  // namespace
}  // namespace pausora
