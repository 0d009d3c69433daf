#include "wizards/page_times.h"

#include <gtest/gtest.h>

namespace pausora {
namespace {

constexpr auto kHm = PickerFormat::kHoursMinutes;
constexpr auto kMs = PickerFormat::kMinutesSeconds;

// Shown and read back without the user touching the picker.
std::uint32_t RoundTrip(PickerFormat format, std::uint32_t seconds) {
    return ReadSeconds(format, ShowSeconds(format, seconds), seconds);
}

TEST(PageTimes, HoursAndMinutesShowTheWholeMinutesAndDropTheRest) {
    EXPECT_EQ(FormatText(kHm), "HH:mm");
    EXPECT_EQ(ShowSeconds(kHm, 21600), (PickerTime{6, 0, 0}));
    EXPECT_EQ(ShowSeconds(kHm, 3600 + 25 * 60 + 59), (PickerTime{1, 25, 0}));
    EXPECT_EQ(ShowSeconds(kHm, 0), (PickerTime{0, 0, 0}));
    // A long break of 10 minutes 30 seconds comes back as 10 minutes.
    EXPECT_EQ(RoundTrip(kHm, 630), 600u);
    EXPECT_EQ(RoundTrip(kHm, 86399), 86340u);
    EXPECT_EQ(RoundTrip(kHm, 3600), 3600u);
    // A seconds field the picker does not show never counts.
    EXPECT_EQ(ReadSeconds(kHm, {2, 5, 42}, 0), 2u * 3600 + 5 * 60);
}

TEST(PageTimes, MinutesAndSecondsKeepEverySecondBelowAnHour) {
    EXPECT_EQ(FormatText(kMs), "mm:ss");
    EXPECT_EQ(ShowSeconds(kMs, 420), (PickerTime{0, 7, 0}));
    EXPECT_EQ(ShowSeconds(kMs, 11), (PickerTime{0, 0, 11}));
    EXPECT_EQ(ShowSeconds(kMs, 3599), (PickerTime{0, 59, 59}));
    for (const std::uint32_t seconds : {0u, 1u, 59u, 60u, 61u, 420u, 3599u}) {
        EXPECT_EQ(RoundTrip(kMs, seconds), seconds) << seconds;
    }
    EXPECT_EQ(ReadSeconds(kMs, {0, 12, 34}, 420), 12u * 60 + 34);
}

TEST(PageTimes, LengthsThePickerCannotShowSurviveUntilTheUserChangesThem) {
    // An hour and more as "mm:ss", a day and more as "HH:mm": shown as the
    // longest the picker has, kept while that is what it shows.
    EXPECT_EQ(ShowSeconds(kMs, 3600), (PickerTime{0, 59, 59}));
    EXPECT_EQ(ShowSeconds(kMs, 4000000000u), (PickerTime{0, 59, 59}));
    EXPECT_EQ(RoundTrip(kMs, 3600), 3600u);
    EXPECT_EQ(RoundTrip(kMs, 4000000000u), 4000000000u);
    EXPECT_EQ(ReadSeconds(kMs, {0, 30, 0}, 7200), 1800u);

    EXPECT_EQ(ShowSeconds(kHm, 86400), (PickerTime{23, 59, 0}));
    EXPECT_EQ(RoundTrip(kHm, 90000), 90000u);
    EXPECT_EQ(ReadSeconds(kHm, {23, 58, 0}, 90000), 86280u);
    // The same picture from a showable value is just that value.
    EXPECT_EQ(ReadSeconds(kHm, {23, 59, 0}, 86340), 86340u);
    EXPECT_EQ(ReadSeconds(kMs, {0, 59, 59}, 10), 3599u);
}

TEST(PageTimes, WorkingDayClockTimes) {
    std::uint32_t hours = 9;
    std::uint32_t minutes = 0;
    EXPECT_EQ(ShowClock(hours, minutes), (PickerTime{9, 0, 0}));
    ReadClock({8, 30, 0}, hours, minutes);
    EXPECT_EQ(hours, 8u);
    EXPECT_EQ(minutes, 30u);
    ReadClock({17, 15, 45}, hours, minutes);
    EXPECT_EQ(hours, 17u);
    EXPECT_EQ(minutes, 15u);

    // Hand-written nonsense shows as 23:59 and is left alone unless changed.
    hours = 30;
    minutes = 75;
    EXPECT_EQ(ShowClock(hours, minutes), (PickerTime{23, 59, 0}));
    ReadClock(ShowClock(hours, minutes), hours, minutes);
    EXPECT_EQ(hours, 30u);
    EXPECT_EQ(minutes, 75u);
    ReadClock({7, 45, 0}, hours, minutes);
    EXPECT_EQ(hours, 7u);
    EXPECT_EQ(minutes, 45u);
}

}  // namespace
}  // namespace pausora
