// The break history: the record the engine's own events fill, the CSV file
// and what the recorder writes, keeps and refuses.
#include "core/engine_sim.h"
#include "history/history_chart.h"
#include "history/history_recorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pausora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// history.csv in memory.
class MemoryStorage final : public IHistoryStorage {
  public:
    ReadResult Read(std::string& out, std::size_t limit) override {
        if (readFails || text.size() > limit) {
            return ReadResult::kFailed;
        }
        if (!exists) {
            return ReadResult::kMissing;
        }
        out = text;
        return ReadResult::kRead;
    }
    bool Write(std::string_view content) override {
        ++writes;
        if (writeFails) {
            return false;
        }
        text = content;
        exists = true;
        return true;
    }
    bool Remove() override {
        exists = false;
        text.clear();
        return true;
    }
    std::string text;
    bool exists = false;
    bool readFails = false;
    bool writeFails = false;
    int writes = 0;
};

// The engine simulation with a recorder listening to it.
struct HistorySim {
    HistorySim() : recorder(storage, sim.presenter) { sim.history.to = &recorder; }
    void Start() {
        recorder.SetKeeping(true);
        sim.Start();
    }
    // The written file, parsed.
    DayRecord Line(Date date) const {
        const HistoryFile file = HistoryFile::Parse(storage.text);
        const DayRecord* r = file.Find(date);
        return r != nullptr ? *r : DayRecord{};
    }
    EngineSim sim;
    MemoryStorage storage;
    HistoryRecorder recorder;
};

std::size_t CountBetween(const std::vector<std::uint64_t>& times, std::uint64_t from,
                         std::uint64_t to) {
    return static_cast<std::size_t>(std::count_if(
        times.begin(), times.end(), [&](std::uint64_t t) { return t >= from && t < to; }));
}

TEST(History, AWeekOfTheEnginesOwnEventsAddsUpDayByDay) {
    HistorySim h;
    h.sim.calendar.start = {2026, 12, 7, 8, 0, 0};  // a Monday
    // Breaks skipped while away: the nights bring none.
    h.sim.settings.UseTimeReset = 1;
    h.Start();
    for (std::uint32_t day = 0; day < 7; ++day) {
        const std::uint64_t from = h.sim.NowMs() / 1000;
        const std::uint32_t bonusBefore = h.sim.Bonus();
        // Mornings of 45-minute stretches with 15 minutes away, then a long
        // afternoon at the keyboard; the weekend is shorter.
        std::vector<Stretch> script;
        for (int i = 0; i < (day < 5 ? 4 : 1); ++i) {
            script.push_back({45 * 60, true});
            script.push_back({15 * 60, false});
        }
        script.push_back({std::uint64_t{day < 5 ? 4u : 1u} * 3600 + 17 * 60, true});
        h.sim.Run(script);
        const std::uint32_t dayTotal = h.sim.engine.FullWorkTime();
        // On to 08:00 of the next day, idle.
        h.sim.AdvanceTo(from + 24 * 3600);
        const std::uint32_t earned = h.sim.Bonus() - bonusBefore;  // never below 0 here
        const std::uint64_t to = h.sim.NowMs() / 1000;

        const DayRecord r = h.Line(Date{2026, 12, 7 + day});
        SCOPED_TRACE(IsoDate(r.date));
        EXPECT_EQ(r.minutes, dayTotal);
        EXPECT_GT(r.minutes, 0u);
        const auto notices = [&](std::string_view title) {
            return CountBetween(h.sim.NoticeTimes(title), from, to);
        };
        const auto sounds = [&](SoundEvent event) {
            return CountBetween(h.sim.SoundTimes(event), from, to);
        };
        EXPECT_EQ(r.shortBreaks.due, notices("Short break time"));
        EXPECT_EQ(r.longBreaks.due, notices("Long break time"));
        EXPECT_EQ(r.shortBreaks.taken, sounds(SoundEvent::kShortBreakEnd));
        EXPECT_EQ(r.longBreaks.taken, sounds(SoundEvent::kLongBreakEnd));
        EXPECT_GT(r.shortBreaks.due, 0u);
        EXPECT_GT(r.longBreaks.due, 0u);
        // Each break worked through had at least one firmer reminder.
        EXPECT_LE(r.shortBreaks.workedThrough + r.longBreaks.workedThrough,
                  notices("Have a rest!"));
        EXPECT_GT(r.shortBreaks.workedThrough + r.longBreaks.workedThrough, 0u);
        EXPECT_EQ(r.pointsEarned - r.pointsLost, earned);
        EXPECT_EQ(r.pointsEarned, 2 * r.shortBreaks.taken + 10 * r.longBreaks.taken);
        EXPECT_EQ(r.firstActive, 8 * 60 + 1);  // the minute step that counted it
        EXPECT_GT(r.lastActive, day < 5 ? 12 * 60 : 9 * 60);
    }
    EXPECT_EQ(HistoryFile::Parse(h.storage.text).Records().size(), 7u);
    EXPECT_THAT(h.sim.presenter.troubles, IsEmpty());
}

TEST(History, HeldAndPausedBreaksAreNotDue) {
    HistorySim h;
    h.Start();
    h.sim.busy.busy = true;
    h.sim.Advance(30 * 60, true);  // four short breaks fall due and are held
    ASSERT_EQ(h.recorder.File().Records().size(), 1u);
    EXPECT_EQ(h.recorder.File().Records()[0].shortBreaks.due, 0u);
    h.sim.busy.busy = false;
    h.sim.Advance(20, true);  // the held one comes once, when the user is free
    EXPECT_EQ(h.recorder.File().Records()[0].shortBreaks.due, 1u);
    EXPECT_EQ(h.sim.NoticeTimes("Short break time").size(), 1u);
    h.sim.engine.Pause(PauseLength::kHours2);
    h.sim.Advance(90 * 60, true);
    EXPECT_EQ(h.recorder.File().Records()[0].shortBreaks.due, 1u);
    EXPECT_EQ(h.recorder.File().Records()[0].longBreaks.due, 0u);
    EXPECT_EQ(h.recorder.File().Records()[0].minutes, 120u);  // a pause counts the time
}

TEST(History, RunningOverMidnightStartsTheNextDaysLine) {
    HistorySim h;
    h.sim.calendar.start = {2026, 12, 7, 23, 30, 0};
    h.Start();
    h.sim.AdvanceTo(40 * 60, true);
    EXPECT_EQ(h.Line({2026, 12, 7}).minutes, 29u);
    EXPECT_EQ(h.Line({2026, 12, 7}).lastActive, 23 * 60 + 59);
    EXPECT_EQ(h.Line({2026, 12, 8}).minutes, 11u);
    EXPECT_EQ(h.Line({2026, 12, 8}).firstActive, 0);
}

TEST(History, AClockSetBackOverMidnightGoesOnWithThatDaysLine) {
    HistorySim h;
    h.sim.calendar.start = {2026, 12, 7, 23, 30, 0};
    h.Start();
    h.sim.AdvanceTo(40 * 60, true);
    h.sim.calendar.shiftSeconds = -20 * 60;  // the evening of the 7th again
    h.sim.AdvanceTo(45 * 60, true);
    EXPECT_EQ(h.Line({2026, 12, 7}).minutes, 34u);
    EXPECT_EQ(h.Line({2026, 12, 7}).minutes, h.sim.engine.FullWorkTime());
    EXPECT_EQ(h.Line({2026, 12, 8}).minutes, 11u);
    h.sim.AdvanceTo(50 * 60, true);  // past midnight once more
    EXPECT_EQ(h.Line({2026, 12, 8}).minutes, 12u);
    EXPECT_EQ(HistoryFile::Parse(h.storage.text).Records().size(), 2u);
}

TEST(History, AnUnwritableFileIsReportedOnceAndTheScheduleGoesOn) {
    HistorySim h;
    h.storage.writeFails = true;
    h.Start();
    for (int i = 0; i < 18; ++i) {
        h.sim.Run({{9 * 60, true}, {60, false}});
    }
    EXPECT_THAT(h.sim.presenter.troubles, ElementsAre(Trouble::kHistoryNotSaved));
    EXPECT_GT(h.storage.writes, 100);  // tried at every step
    EXPECT_GT(h.sim.NoticeTimes("Short break time").size(), 3u);
    // Once it can be written again, everything so far is there.
    h.storage.writeFails = false;
    h.sim.Advance(60, true);
    EXPECT_EQ(h.Line({2026, 12, 7}).minutes, h.sim.engine.FullWorkTime());
}

TEST(History, AFileThatCannotBeReadIsNeverWrittenOver) {
    HistorySim h;
    h.storage.text = "2026-12-01,5,0,0,0,0,0,0,0,0,600,605\r\n";
    h.storage.exists = true;
    h.storage.readFails = true;
    h.Start();
    h.sim.Advance(600, true);
    EXPECT_EQ(h.storage.writes, 0);
    EXPECT_TRUE(h.recorder.Blocked());
    EXPECT_THAT(h.sim.presenter.troubles, ElementsAre(Trouble::kHistoryNotSaved));
}

TEST(History, NothingIsKeptWhileItIsOff) {
    HistorySim h;
    h.sim.Start();  // keeping is off until told
    h.sim.Advance(3600, true);
    EXPECT_EQ(h.storage.writes, 0);
    EXPECT_TRUE(h.recorder.File().Empty());
    h.recorder.SetKeeping(true);
    h.sim.Advance(120, true);
    EXPECT_EQ(h.Line({2026, 12, 7}).minutes, 62u);  // the day total, as it counts
    h.recorder.SetKeeping(false);
    const int writes = h.storage.writes;
    h.sim.Advance(3600, true);
    EXPECT_EQ(h.storage.writes, writes);
}

TEST(History, IdleMinutesWriteNothing) {
    HistorySim h;
    h.sim.settings.UseTimeReset = 1;  // no breaks while away
    h.Start();
    h.sim.Advance(120, true);
    const int writes = h.storage.writes;
    ASSERT_GT(writes, 0);  // counted minutes are written
    h.sim.AdvanceTo(10 * 3600);
    EXPECT_LE(h.storage.writes - writes, 1);  // the break running at the last step
}

// --- the file ---

DayRecord Sample(Date date, std::uint32_t seed) {
    return DayRecord{date,
                     300 + seed,
                     {40, 35 + seed % 5, 2},
                     {6, 5, 1},
                     120,
                     7,
                     8 * 60 + static_cast<std::int32_t>(seed % 60),
                     17 * 60};
}

TEST(HistoryFile, RoundTrip) {
    HistoryFile file;
    for (std::uint32_t i = 0; i < 30; ++i) {
        file.Day(DateOfDayNumber(DayNumber({2026, 11, 10}) + i)) =
            Sample(DateOfDayNumber(DayNumber({2026, 11, 10}) + i), i);
    }
    file.Day({2026, 12, 10}).firstActive = -1;
    const std::string text = file.Serialise();
    EXPECT_TRUE(text.starts_with(std::string(kHistoryHeader) + "\r\n"));
    EXPECT_NE(text.find("\r\n2026-11-10,300,40,35,2,6,5,1,120,7,480,1020\r\n"), std::string::npos);
    const HistoryFile back = HistoryFile::Parse(text);
    EXPECT_EQ(back.Records(), file.Records());
    EXPECT_EQ(back.Serialise(), text);
}

TEST(HistoryFile, DamagedAndForeignLinesAreSkippedButKeptInTheirPlace) {
    const std::string text = "\xEF\xBB\xBF" + std::string(kHistoryHeader) +
                             "\n2026-12-01,5,1,1,0,0,0,0,2,0,600,605\n"
                             "2026-12-02,5,1,1,0\n"                          // cut short by a crash
                             "2026-13-02,5,1,1,0,0,0,0,2,0,600,605\n"        // no such month
                             "2026-12-03, 5,1,1,0,0,0,0,2,0,600,605\n"       // a space
                             "2026-12-04,5,1,1,0,0,0,0,2,0,1440,605\n"       // no such minute
                             "2026-12-05,99999999999,1,1,0,0,0,0,2,0,1,2\n"  // too large
                             "note: written by hand,\xC3\xA4\n"
                             "2026-12-01,7,0,0,0,0,0,0,0,0,-1,-1\n"  // a second line for the 1st
                             "\n"
                             "2026-12-06,5,1,1,0,0,0,0,2,0,600,605,9\r\n";  // a column too many
    HistoryFile file = HistoryFile::Parse(text);
    ASSERT_EQ(file.Records().size(), 1u);
    EXPECT_EQ(file.KeptLineCount(), 9u);
    file.Day({2026, 12, 7}).minutes = 3;
    const std::string out = file.Serialise();
    EXPECT_EQ(out, std::string(kHistoryHeader) +
                       "\r\n2026-12-01,5,1,1,0,0,0,0,2,0,600,605\r\n"
                       "2026-12-02,5,1,1,0\r\n"
                       "2026-13-02,5,1,1,0,0,0,0,2,0,600,605\r\n"
                       "2026-12-03, 5,1,1,0,0,0,0,2,0,600,605\r\n"
                       "2026-12-04,5,1,1,0,0,0,0,2,0,1440,605\r\n"
                       "2026-12-05,99999999999,1,1,0,0,0,0,2,0,1,2\r\n"
                       "note: written by hand,\xC3\xA4\r\n"
                       "2026-12-01,7,0,0,0,0,0,0,0,0,-1,-1\r\n"
                       "\r\n"
                       "2026-12-06,5,1,1,0,0,0,0,2,0,600,605,9\r\n"
                       "2026-12-07,3,0,0,0,0,0,0,0,0,-1,-1\r\n");
    EXPECT_EQ(HistoryFile::Parse(out).Serialise(), out);  // and kept again
}

TEST(HistoryFile, TrimsDaysOlderThanTwoYearsAndKeepsForeignLines) {
    std::string text(kHistoryHeader);
    text += "\r\nsomething else\r\n";
    for (std::int64_t n = DayNumber({2023, 1, 1}); n <= DayNumber({2026, 12, 7}); ++n) {
        text += FormatDayLine(Sample(DateOfDayNumber(n), 1)) + "\r\n";
    }
    HistoryFile file = HistoryFile::Parse(text);
    file.Trim({2026, 12, 7});
    ASSERT_FALSE(file.Records().empty());
    EXPECT_EQ(file.Records().front().date, (Date{2024, 12, 7}));
    EXPECT_EQ(file.Records().back().date, (Date{2026, 12, 7}));
    EXPECT_EQ(file.Records().size(), 731u);
    EXPECT_EQ(file.KeptLineCount(), 1u);
    EXPECT_EQ(file.Find({2024, 12, 6}), nullptr);
    EXPECT_NE(file.Find({2025, 6, 1}), nullptr);
    EXPECT_EQ(file.Trim({2026, 12, 7}), 0u);
    // The 29th of February keeps until the 1st of March two years on.
    HistoryFile leap;
    leap.Day({2024, 2, 29}).minutes = 1;
    EXPECT_EQ(leap.Trim({2026, 2, 28}), 0u);
    EXPECT_EQ(leap.Trim({2026, 3, 1}), 1u);
}

TEST(HistoryFile, ATenMegabyteFileIsReadAndWrittenWhole) {
    std::string text(kHistoryHeader);
    text += "\r\n";
    std::vector<std::string> days;
    for (std::int64_t n = 0; n < 700; ++n) {
        days.push_back(FormatDayLine(Sample(DateOfDayNumber(n + DayNumber({2025, 1, 1})), 3)));
    }
    std::size_t lines = 0;
    text.reserve(10 * 1024 * 1024 + 100);
    while (text.size() < 10 * 1024 * 1024) {
        text += days[lines % days.size()];
        text += lines % 3 == 0 ? ",junk\r\n" : "\r\n";  // a third damaged, most duplicates
        ++lines;
    }
    // Whole, and once per day; the time is the bench's (scripts/bench.sh engine).
    HistoryFile file = HistoryFile::Parse(text);
    file.Day({2026, 12, 7}).minutes = 1;
    const std::string out = file.Serialise();
    EXPECT_EQ(file.Records().size(), 701u);
    EXPECT_EQ(file.KeptLineCount(), lines - 700);
    EXPECT_EQ(out.size(), text.size() + FormatDayLine(file.Records().back()).size() + 2);
}

TEST(HistoryFile, DatesAndWeekdays) {
    EXPECT_EQ(DayNumber({1970, 1, 1}), 0);
    EXPECT_EQ(DateOfDayNumber(DayNumber({2024, 2, 29})), (Date{2024, 2, 29}));
    EXPECT_EQ(Weekday({2026, 12, 7}), 0);  // a Monday
    EXPECT_EQ(Weekday({2026, 12, 13}), 6);
    EXPECT_FALSE(IsValidDate({2026, 2, 29}));
    EXPECT_TRUE(IsValidDate({2028, 2, 29}));
    EXPECT_EQ(IsoDate({2026, 1, 5}), "2026-01-05");
}

}  // namespace
}  // namespace pausora::sim

namespace pausora {
namespace {

std::vector<DayRecord> Month(const Date& today) {
    std::vector<DayRecord> days;
    for (int i = 0; i < 31; ++i) {
        DayRecord r;
        r.date = DateOfDayNumber(DayNumber(today) - 30 + i);
        if (Weekday(r.date) >= 5) {
            continue;  // no work at the weekend
        }
        r.minutes = 240 + static_cast<std::uint32_t>(i * 7 % 200);
        r.shortBreaks.due = 30;
        r.shortBreaks.taken = 15 + static_cast<std::uint32_t>(i % 16);
        r.longBreaks.due = 5;
        r.longBreaks.taken = 5;
        r.pointsEarned = 2 * r.shortBreaks.taken + 50;
        r.firstActive = 8 * 60;
        r.lastActive = 17 * 60 + i;
        days.push_back(r);
    }
    return days;
}

TEST(HistoryChart, FourteenDaysEndingTodayOrTwentyEightWhenWide) {
    const Date today{2026, 12, 7};
    const ChartLayout narrow =
        LayoutHistoryChart(Month(today), today, 360, true, {560, 380, 96, 16, 7});
    ASSERT_FALSE(narrow.empty);
    ASSERT_EQ(narrow.bars.size(), 14u);
    EXPECT_EQ(narrow.bars.back().record.date, today);
    EXPECT_TRUE(narrow.bars.back().today);
    EXPECT_EQ(std::count_if(narrow.bars.begin(), narrow.bars.end(),
                            [](const ChartBar& b) { return b.today; }),
              1);
    EXPECT_EQ(narrow.bars.front().record.date, (Date{2026, 11, 24}));
    EXPECT_EQ(narrow.bars.front().monthLabel, "Nov");
    EXPECT_EQ(narrow.bars[7].label, "1");
    EXPECT_EQ(narrow.bars[7].monthLabel, "Dec");
    const ChartLayout wide =
        LayoutHistoryChart(Month(today), today, 360, true, {900, 380, 96, 16, 7});
    EXPECT_EQ(wide.bars.size(), 28u);
    // The same width at 150 % shows fewer days, for the columns grow with it.
    EXPECT_EQ(
        LayoutHistoryChart(Month(today), today, 360, true, {900, 380, 144, 24, 10}).bars.size(),
        14u);
}

TEST(HistoryChart, BarsStandOnOneLineInProportionWithTheLimitAbove) {
    const Date today{2026, 12, 7};
    const ChartLayout layout =
        LayoutHistoryChart(Month(today), today, 360, true, {560, 380, 96, 16, 7});
    int previousRight = 0;
    for (const ChartBar& bar : layout.bars) {
        EXPECT_EQ(bar.bar.bottom, layout.plot.bottom);
        EXPECT_GE(bar.bar.top, layout.plot.top);
        EXPECT_GT(bar.bar.left, previousRight);  // apart
        previousRight = bar.bar.right;
        EXPECT_EQ(bar.hasRecord, Weekday(bar.record.date) < 5);
        EXPECT_EQ(bar.bar.Height() == 0, !bar.hasRecord);
        EXPECT_GE(bar.share.top, layout.plot.bottom);
        EXPECT_LT(bar.share.bottom, layout.totalsRect.top);
        EXPECT_LE(bar.shareFill.Height(), bar.share.Height());
    }
    EXPECT_LE(previousRight, 560 - 12);
    // 8 h 20 min at most: a scale to 9 h in steps of 2 h... the limit of 6 h on it.
    EXPECT_GT(layout.limitY, layout.plot.top);
    EXPECT_LT(layout.limitY, layout.plot.bottom);
    const int sixHours = layout.plot.bottom - layout.limitY;
    const ChartBar& today_ = layout.bars.back();
    EXPECT_NEAR(today_.bar.Height(), sixHours * static_cast<int>(today_.record.minutes) / 360, 1);
    EXPECT_LE(layout.exportButton.right, layout.closeButton.left);
    EXPECT_LT(layout.totalsRect.bottom, layout.closeButton.top);
}

TEST(HistoryChart, ThePointerFindsTheDayAndItsNumbers) {
    const Date today{2026, 12, 7};
    const ChartLayout layout =
        LayoutHistoryChart(Month(today), today, 360, true, {560, 380, 96, 16, 7});
    const ChartBar& last = layout.bars.back();
    EXPECT_EQ(ChartBarAt(layout, last.bar.left + 1, last.bar.bottom - 1), 13);
    EXPECT_EQ(ChartBarAt(layout, 1, 1), -1);
    EXPECT_EQ(DayTooltip(last),
              "Monday 7 December 2026 (today)\n"
              "At the computer: 4 h 10 min (08:00 to 17:30)\n"
              "Short breaks: 30 due, 29 taken, 0 worked through\n"
              "Long breaks: 5 due, 5 taken, 0 worked through\n"
              "Points: 108 earned, 0 lost");
    EXPECT_EQ(DayTooltip(layout.bars[12]), "Sunday 6 December 2026\nNo computer time counted");
    EXPECT_EQ(layout.totals,
              "Last 14 days: 63 h 23 min at the computer on 10 days, 269 of 350 breaks taken "
              "(77 %), 938 points earned, 0 lost");
}

// Another language's patterns put the numbers where it wants them, and the
// names are the ones given.
TEST(HistoryChart, TheTextsOfAnotherLanguageTakeTheNumbersInTheirOrder) {
    HistoryTexts german;
    german.monthNames[11] = "Dezember";
    german.shortMonthNames[10] = "Nov";
    german.shortMonthNames[11] = "Dez";
    german.weekdays[0] = "Montag";
    german.longDate = "%1, %2. %3 %4";
    german.today = " (heute)";
    german.atComputer = "Am Computer: %1";
    german.fromTo = " (%1 bis %2 Uhr)";
    german.shortBreaks = "Kurze Pausen: %3 durchgearbeitet, %2 von %1";
    german.longBreaks = "Lange Pausen: %1/%2/%3";
    german.points = "Punkte: %2 verloren, %1 erhalten";
    german.hours = "%1 Std.";
    german.minutes = "%1 Min.";
    german.totals = "%5 Pausen, %4 eingelegt; %2 an %3 in %1 Tagen";
    german.days = "%1 Tagen";
    german.percent = " (%1 %)";
    german.totalPoints = "; %1 Punkte erhalten, %2 verloren";
    german.noHistory = "Noch kein Verlauf.";
    const Date today{2026, 12, 7};
    const ChartLayout layout =
        LayoutHistoryChart(Month(today), today, 360, true, {560, 380, 96, 16, 7}, german);
    EXPECT_EQ(DayTooltip(layout.bars.back(), german),
              "Montag, 7. Dezember 2026 (heute)\n"
              "Am Computer: 4 Std. 10 Min. (08:00 bis 17:30 Uhr)\n"
              "Kurze Pausen: 0 durchgearbeitet, 29 von 30\n"
              "Lange Pausen: 5/5/0\n"
              "Punkte: 0 verloren, 108 erhalten");
    EXPECT_EQ(layout.totals,
              "350 Pausen, 269 eingelegt; 63 Std. 23 Min. an 10 Tagen in 14 Tagen (77 %); 938 "
              "Punkte erhalten, 0 verloren");
    EXPECT_EQ(layout.bars.front().monthLabel, "Nov");
    EXPECT_EQ(layout.grid.front().label.substr(layout.grid.front().label.size() - 4), "Std.");
    EXPECT_EQ(LayoutHistoryChart({}, today, 360, true, {560, 380, 96, 16, 7}, german).message,
              "Noch kein Verlauf.");
}

// Counts near the top of their range (a file edited by hand) add up without
// wrapping round: every break taken still fills its share mark.
TEST(HistoryChart, HugeCountsFillTheShareMarkAsSmallOnesDo) {
    const Date today{2026, 12, 7};
    DayRecord r;
    r.date = today;
    r.minutes = 60;
    r.shortBreaks = {0xFFFFFFFFu, 0xFFFFFFFFu, 0};
    r.longBreaks = {1, 1, 0};
    const ChartLayout layout = LayoutHistoryChart({r}, today, 360, true, {560, 380, 96, 16, 7});
    const ChartBar& bar = layout.bars.back();
    EXPECT_GT(bar.share.Height(), 0);
    EXPECT_EQ(bar.shareFill.Height(), bar.share.Height());
    EXPECT_NE(layout.totals.find("4294967296 of 4294967296 breaks taken (100 %)"),
              std::string::npos)
        << layout.totals;
}

TEST(HistoryChart, NoHistorySaysSoInsteadOfEmptyAxes) {
    const ChartLayout layout =
        LayoutHistoryChart({}, {2026, 12, 7}, 360, true, {560, 380, 96, 16, 7});
    EXPECT_TRUE(layout.empty);
    EXPECT_TRUE(layout.message.starts_with("No history yet."));
    EXPECT_EQ(ChartBarAt(layout, 200, 200), -1);
    const ChartLayout off =
        LayoutHistoryChart({}, {2026, 12, 7}, 360, false, {560, 380, 96, 16, 7});
    EXPECT_TRUE(off.message.starts_with("The history is switched off."));
    // Only days long gone: as good as none.
    std::vector<DayRecord> old{DayRecord{{2025, 1, 1}, 100}};
    EXPECT_TRUE(LayoutHistoryChart(old, {2026, 12, 7}, 360, true, {560, 380, 96, 16, 7}).empty);
}

TEST(HistoryChart, ATinyWindowIsSqueezedNeverInverted) {
    const Date today{2026, 12, 7};
    const ChartLayout layout =
        LayoutHistoryChart(Month(today), today, 360, true, {40, 30, 96, 16, 7});
    ASSERT_EQ(layout.bars.size(), 14u);
    EXPECT_LE(layout.plot.top, layout.plot.bottom);
    for (const ChartBar& bar : layout.bars) {
        EXPECT_LE(bar.bar.top, bar.bar.bottom);
        EXPECT_LE(bar.bar.left, bar.bar.right);
    }
}

}  // namespace
}  // namespace pausora
