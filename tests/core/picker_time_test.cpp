// What a time picker shows for a stored value and what it gives back, for
// the settings pages and the first-run wizard alike.
#include "ui/picker_time.h"

#include <gtest/gtest.h>

#include <vector>

namespace pausora {
namespace {

constexpr auto kHm = PickerFormat::kHoursMinutes;
constexpr auto kMs = PickerFormat::kMinutesSeconds;

TEST(PickerTime, FormatsAreTheCustomPatternsOfThePickers) {
    EXPECT_EQ(FormatText(kHm), "HH:mm");
    EXPECT_EQ(FormatText(kMs), "mm:ss");
}

// Each stored length: what the picker shows, and what it gives back when the
// user leaves it alone.
TEST(PickerTime, LengthsShownAndReadBackUntouched) {
    struct Case {
        PickerFormat format;
        std::uint32_t stored;
        PickerTime shown;
        std::uint32_t readBack;
    };
    const std::vector<Case> cases = {
        {kMs, 0, {0, 0, 0}, 0},
        {kMs, 1, {0, 0, 1}, 1},
        {kMs, 11, {0, 0, 11}, 11},
        {kMs, 59, {0, 0, 59}, 59},
        {kMs, 60, {0, 1, 0}, 60},
        {kMs, 61, {0, 1, 1}, 61},
        {kMs, 330, {0, 5, 30}, 330},
        {kMs, 420, {0, 7, 0}, 420},
        {kMs, 3599, {0, 59, 59}, 3599},
        {kHm, 0, {0, 0, 0}, 0},
        {kHm, 600, {0, 10, 0}, 600},
        // Seconds below a whole minute are lost: 10:30 comes back as 10:00.
        {kHm, 630, {0, 10, 0}, 600},
        {kHm, 3600, {1, 0, 0}, 3600},
        {kHm, 3600 + 25 * 60 + 59, {1, 25, 0}, 3600 + 25 * 60},
        {kHm, 21600, {6, 0, 0}, 21600},
        {kHm, 86340, {23, 59, 0}, 86340},
        {kHm, 86399, {23, 59, 0}, 86340},
        // Only a hand-edited registry holds these: an hour and more as
        // "mm:ss", a day and more as "HH:mm". They show as the longest the
        // picker has and are kept while that is what it shows.
        {kMs, 3600, {0, 59, 59}, 3600},
        {kMs, 5000, {0, 59, 59}, 5000},
        {kMs, 4000000000u, {0, 59, 59}, 4000000000u},
        {kHm, 86400, {23, 59, 0}, 86400},
        {kHm, 90000, {23, 59, 0}, 90000},
        {kHm, 4294967295u, {23, 59, 0}, 4294967295u},
    };
    for (const Case& c : cases) {
        const char* name = c.format == kHm ? "HH:mm " : "mm:ss ";
        EXPECT_EQ(ShowSeconds(c.format, c.stored), c.shown) << name << c.stored;
        EXPECT_EQ(ReadSeconds(c.format, c.shown, c.stored), c.readBack) << name << c.stored;
    }
}

// What the user set, whatever was stored before.
TEST(PickerTime, LengthsReadBackAfterAnEdit) {
    struct Case {
        PickerFormat format;
        PickerTime shown;
        std::uint32_t stored;
        std::uint32_t readBack;
    };
    const std::vector<Case> cases = {
        {kMs, {0, 12, 34}, 420, 12 * 60 + 34},
        // The hour is not part of a "mm:ss" value.
        {kMs, {5, 1, 2}, 0, 62},
        // A seconds field the "HH:mm" picker does not show never counts.
        {kHm, {2, 5, 42}, 0, 2 * 3600 + 5 * 60},
        // A value no picker could show gives way once the picker is changed.
        {kMs, {0, 30, 0}, 7200, 1800},
        {kHm, {23, 58, 0}, 90000, 86280},
        // The longest picture, from a value that it shows exactly or that
        // was shorter, is just what it says.
        {kHm, {23, 59, 0}, 86340, 86340},
        {kMs, {0, 59, 59}, 10, 3599},
        {kHm, {23, 59, 0}, 600, 86340},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadSeconds(c.format, c.shown, c.stored), c.readBack) << c.stored;
    }
}

TEST(PickerTime, ClockTimesOfTheWorkingDay) {
    struct Case {
        std::uint32_t hours;
        std::uint32_t minutes;
        PickerTime shown;
    };
    // Each part is held to its range on its own.
    const std::vector<Case> cases = {
        {9, 0, {9, 0, 0}},
        {8, 30, {8, 30, 0}},
        {23, 59, {23, 59, 0}},
        {24, 0, {23, 0, 0}},
        {9, 60, {9, 59, 0}},
        {30, 75, {23, 59, 0}},
        {4294967295u, 4294967295u, {23, 59, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowClock(c.hours, c.minutes), c.shown) << c.hours << ":" << c.minutes;
        // Left alone, it comes back as it was, in range or not.
        std::uint32_t hours = c.hours;
        std::uint32_t minutes = c.minutes;
        ReadClock(c.shown, hours, minutes);
        EXPECT_EQ(hours, c.hours);
        EXPECT_EQ(minutes, c.minutes);
    }

    // Changed, both parts take what the picker shows, seconds dropped.
    std::uint32_t hours = 9;
    std::uint32_t minutes = 0;
    ReadClock({8, 30, 0}, hours, minutes);
    EXPECT_EQ(hours, 8u);
    EXPECT_EQ(minutes, 30u);
    hours = 30;
    minutes = 75;
    ReadClock({7, 45, 0}, hours, minutes);
    EXPECT_EQ(hours, 7u);
    EXPECT_EQ(minutes, 45u);
}

}  // namespace
}  // namespace pausora
