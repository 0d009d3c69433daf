#include "exercises/exercise_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace pausora {
namespace {

// The pictures a user sees in turn: the first frame at once, then one per
// timer tick, over two full loops.
std::vector<int> PicturesShown(const Exercise& exercise) {
    std::vector<int> shown{exercise.frames.front()};
    FrameCycle cycle;
    EXPECT_TRUE(cycle.Start(exercise.frames.size()));
    for (std::size_t tick = 0; tick < 2 * exercise.frames.size(); ++tick) {
        const std::optional<std::size_t> next = cycle.Tick();
        EXPECT_TRUE(next.has_value());
        shown.push_back(exercise.frames[*next]);
    }
    return shown;
}

// The loop of pictures, taken from the first picture up to its first return.
std::vector<int> Loop(const std::vector<int>& shown) {
    for (std::size_t i = 1; i < shown.size(); ++i) {
        if (shown[i] == shown[0]) {
            return {shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(i)};
        }
    }
    return shown;
}

TEST(Exercises, EachShowsItsPicturesInTurnAndNeverTheListsLastEntry) {
    struct Expected {
        std::vector<int> loop;
        std::uint32_t periodMs;
    };
    const std::map<int, Expected> expected{
        {1, {{308}, 1000000}},    {2, {{321}, 1000000}},    {3, {{322, 323}, 1000}},
        {4, {{324}, 1000000}},    {5, {{326}, 1000000}},    {6, {{325}, 1000000}},
        {7, {{328, 329}, 500}},   {8, {{330}, 1000000}},    {9, {{331, 332}, 5000}},
        {10, {{309, 310}, 5000}}, {11, {{311, 312}, 5000}}, {12, {{313, 314}, 5000}},
        {13, {{315}, 1000000}},   {14, {{316}, 1000000}},   {15, {{317, 318, 319, 320}, 1000}},
    };
    for (const auto& [n, want] : expected) {
        SCOPED_TRACE(n);
        const Exercise& exercise = ExerciseNumber(n);
        EXPECT_EQ(exercise.number, n);
        EXPECT_EQ(exercise.textId, 332 + n);
        EXPECT_EQ(exercise.periodMs, want.periodMs);
        const std::vector<int> shown = PicturesShown(exercise);
        EXPECT_EQ(Loop(shown), want.loop);
        // The loop repeats exactly, and the list's own last entry (a copy of
        // an earlier picture for exercises 3 and 6) never appears.
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i], want.loop[i % want.loop.size()]) << "tick " << i;
        }
        if (exercise.frames.back() != exercise.frames[exercise.frames.size() - 2]) {
            for (const int picture : shown) {
                EXPECT_NE(picture, exercise.frames.back());
            }
        }
    }
}

TEST(Exercises, TheCycleRestartsFromTheSecondFrameAndCopesWithShortLists) {
    FrameCycle cycle;
    EXPECT_FALSE(cycle.Tick().has_value());  // nothing started
    EXPECT_FALSE(cycle.Start(0));
    EXPECT_FALSE(cycle.Tick().has_value());

    ASSERT_TRUE(cycle.Start(1));
    EXPECT_EQ(cycle.Tick(), 0u);
    EXPECT_EQ(cycle.Tick(), 0u);

    ASSERT_TRUE(cycle.Start(5));
    EXPECT_EQ(cycle.Tick(), 1u);
    EXPECT_EQ(cycle.Tick(), 2u);
    // A new start (the next exercise) begins again after the first frame.
    ASSERT_TRUE(cycle.Start(3));
    EXPECT_EQ(cycle.Tick(), 1u);
    EXPECT_EQ(cycle.Tick(), 0u);
    EXPECT_EQ(cycle.Tick(), 1u);
}

TEST(Exercises, OutOfRangeNumbersFallBackToTheFirst) {
    EXPECT_EQ(ExerciseNumber(0).number, 1);
    EXPECT_EQ(ExerciseNumber(16).number, 1);
    EXPECT_EQ(ExerciseNumber(-3).number, 1);
}

class SteppingEnvironment final : public IRandomEnvironment {
  public:
    std::int64_t now = 1'765'000'000;
    std::int64_t counter = 0;
    int messages = 0;

    std::int64_t NowSeconds() override { return now; }
    LocalDate LocalCalendar(std::int64_t) override { return {2026, 12, 7}; }
    std::int64_t PerformanceCounter() override { return counter += 104729; }
    void ShowMessage(std::string_view) override { ++messages; }
};

TEST(Exercises, TheChoiceReachesEveryExerciseAndNothingElse) {
    SteppingEnvironment env;
    std::set<int> seen;
    bool repeated = false;
    int previous = 0;
    for (int i = 0; i < 3000; ++i) {
        env.now += i % 7;  // within a second and across seconds
        const int n = ChooseExercise(env);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, kExerciseCount);
        seen.insert(n);
        repeated = repeated || n == previous;
        previous = n;
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kExerciseCount));
    // Draws are independent: the same exercise may come twice in a row.
    EXPECT_TRUE(repeated);
    EXPECT_EQ(env.messages, 0);
}

}  // namespace
}  // namespace pausora
