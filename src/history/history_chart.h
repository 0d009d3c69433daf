// What the history window shows, worked out without drawing: which days,
// where each bar and mark goes, the texts. The window only paints this.
#pragma once

#include "history/history_file.h"
#include "store/locale_formats.h"
#include "ui/screen_geometry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pausora {

// The window's client area and its type, in pixels at its DPI.
struct ChartMetrics {
    int width = 0;
    int height = 0;
    int dpi = kBaseDpi;
    int lineHeight = 16;  // of the window's font
    int charWidth = 7;    // its average character
    int buttonText = 0;   // the wider of the two buttons' texts
};

struct ChartBar {
    bool today = false;
    bool hasRecord = false;
    DayRecord record;   // the date, and all zero without a record
    ScreenRect column;  // the day's whole column: where the pointer finds it
    ScreenRect bar;     // computer time; no height for none
    ScreenRect share;   // the box of the breaks-taken mark
    ScreenRect shareFill;
    std::string label;       // the day of the month
    std::string monthLabel;  // under the first day and each 1st: "Dec"
};

struct ChartGridLine {
    int y = 0;
    std::string label;  // "2 h"
};

struct ChartLayout {
    // No day of the shown ones has a line: the message instead of the chart.
    bool empty = true;
    std::string message;
    ScreenRect messageRect;

    ScreenRect plot;  // the bars' area, its bottom the zero line
    std::vector<ChartBar> bars;
    std::vector<ChartGridLine> grid;
    int limitY = -1;  // the daily limit's line; -1 above the chart or none
    ScreenRect shareRow;
    int labelsTop = 0;
    std::string totals;
    ScreenRect totalsRect;
    ScreenRect exportButton;
    ScreenRect closeButton;
};

// The chart's texts in the user's language; the Windows layer loads them, the
// core and its tests keep these English ones. %1, %2... are numbers or texts
// filled in.
struct HistoryTexts {
    std::array<std::string, 12> monthNames = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 7> weekdays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                           "Friday", "Saturday", "Sunday"};
    // Weekday, day, month, year; where `formats` has no long date.
    std::string longDate = "%1 %2 %3 %4";
    std::string today = " (today)";
    std::string noTime = "No computer time counted";
    std::string atComputer = "At the computer: %1";
    std::string fromTo = " (%1 to %2)";
    std::string shortBreaks = "Short breaks: %1 due, %2 taken, %3 worked through";
    std::string longBreaks = "Long breaks: %1 due, %2 taken, %3 worked through";
    std::string points = "Points: %1 earned, %2 lost";
    std::string hours = "%1 h";
    std::string minutes = "%1 min";
    std::string totals = "Last %1 days: %2 at the computer on %3, %4 of %5 breaks taken";
    std::string oneDay = "1 day";
    std::string days = "%1 days";
    std::string percent = " (%1 %)";
    std::string totalPoints = ", %1 points earned, %2 lost";
    std::string noHistory =
        "No history yet.\n\nPausora keeps a line for each day you spend at the computer: your "
        "breaks, your computer time and your points. Come back after a while at work to see them "
        "here.";
    std::string historyOff =
        "The history is switched off.\n\nTo keep one, tick \"Keep a history of my breaks\" on "
        "the Startup page of the settings (Customize).";
    LocaleFormats formats;
};

// The days shown: 14, or 28 when each of them still gets this much room.
inline constexpr int kNarrowDays = 14;
inline constexpr int kWideDays = 28;
inline constexpr int kWideColumnPixels = 22;  // at 96 DPI

// `records` in any order; `today` is the last day shown; `limitMinutes` the
// daily limit, 0 for none; `keeping` whether the history is on.
ChartLayout LayoutHistoryChart(const std::vector<DayRecord>& records, const Date& today,
                               std::uint32_t limitMinutes, bool keeping, const ChartMetrics& m,
                               const HistoryTexts& texts = {});

// The bar under the point, or -1.
int ChartBarAt(const ChartLayout& layout, int x, int y);

// The day's numbers, for the tooltip: several lines.
std::string DayTooltip(const ChartBar& bar, const HistoryTexts& texts = {});
// "7 h 42 min".
std::string HoursAndMinutes(std::uint32_t minutes, const HistoryTexts& texts = {});
// The totals of the shown days, one line.
std::string TotalsLine(const std::vector<ChartBar>& bars, const HistoryTexts& texts = {});

}  // namespace pausora
