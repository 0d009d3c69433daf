// What the history window shows, worked out without drawing: which days,
// where each bar and mark goes, the texts. The window only paints this.
#pragma once

#include "history/history_file.h"
#include "ui/screen_geometry.h"

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

// The days shown: 14, or 28 when each of them still gets this much room.
inline constexpr int kNarrowDays = 14;
inline constexpr int kWideDays = 28;
inline constexpr int kWideColumnPixels = 22;  // at 96 DPI

// `records` in any order; `today` is the last day shown; `limitMinutes` the
// daily limit, 0 for none; `keeping` whether the history is on.
ChartLayout LayoutHistoryChart(const std::vector<DayRecord>& records, const Date& today,
                               std::uint32_t limitMinutes, bool keeping, const ChartMetrics& m);

// The bar under the point, or -1.
int ChartBarAt(const ChartLayout& layout, int x, int y);

// The day's numbers, for the tooltip: several lines.
std::string DayTooltip(const ChartBar& bar);
// "7 h 42 min".
std::string HoursAndMinutes(std::uint32_t minutes);
// The totals of the shown days, one line.
std::string TotalsLine(const std::vector<ChartBar>& bars);

}  // namespace pausora
