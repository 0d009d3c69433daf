#include "history/history_chart.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

namespace pausora {
namespace {

template <typename Count>
std::string Number(const HistoryTexts& texts, Count value) {
    return texts.formats.number(static_cast<std::uint64_t>(value));
}

std::string Clock(const HistoryTexts& texts, std::int32_t minuteOfDay) {
    const auto minute = static_cast<std::uint32_t>(minuteOfDay);
    return texts.formats.timeOfDay(minute / 60, minute % 60);
}

std::string LongDate(const Date& date, const HistoryTexts& texts) {
    if (texts.formats.longDate) {
        return texts.formats.longDate(date.year, date.month, date.day);
    }
    return Fill(texts.longDate,
                {texts.weekdays[static_cast<std::size_t>(Weekday(date))], std::to_string(date.day),
                 texts.monthNames[date.month - 1], std::to_string(date.year)});
}

std::string BreakLine(std::string_view pattern, const BreakTally& breaks,
                      const HistoryTexts& texts) {
    return Fill(pattern, {Number(texts, breaks.due), Number(texts, breaks.taken),
                          Number(texts, breaks.workedThrough)});
}

}  // namespace

std::string HoursAndMinutes(std::uint32_t minutes, const HistoryTexts& texts) {
    const std::uint32_t hours = minutes / 60;
    minutes %= 60;
    if (hours == 0) {
        return Fill(texts.minutes, {Number(texts, minutes)});
    }
    return Fill(texts.hours, {Number(texts, hours)}) +
           (minutes > 0 ? " " + Fill(texts.minutes, {Number(texts, minutes)}) : "");
}

std::string DayTooltip(const ChartBar& bar, const HistoryTexts& texts) {
    std::string tip = LongDate(bar.record.date, texts);
    if (bar.today) {
        tip += texts.today;
    }
    const DayRecord& r = bar.record;
    if (!bar.hasRecord) {
        return tip + "\n" + texts.noTime;
    }
    tip += "\n" + Fill(texts.atComputer, {HoursAndMinutes(r.minutes, texts)});
    if (r.firstActive >= 0 && r.lastActive >= 0) {
        tip += Fill(texts.fromTo, {Clock(texts, r.firstActive), Clock(texts, r.lastActive)});
    }
    tip += "\n" + BreakLine(texts.shortBreaks, r.shortBreaks, texts);
    tip += "\n" + BreakLine(texts.longBreaks, r.longBreaks, texts);
    tip += "\n" + Fill(texts.points, {Number(texts, r.pointsEarned), Number(texts, r.pointsLost)});
    return tip;
}

std::string TotalsLine(const std::vector<ChartBar>& bars, const HistoryTexts& texts) {
    std::uint64_t minutes = 0, due = 0, taken = 0, earned = 0, lost = 0;
    std::size_t days = 0;
    for (const ChartBar& bar : bars) {
        const DayRecord& r = bar.record;
        minutes += r.minutes;
        due += r.BreaksDue();
        taken += r.BreaksTaken();
        earned += r.pointsEarned;
        lost += r.pointsLost;
        days += r.minutes > 0 ? 1 : 0;
    }
    std::string line =
        Fill(texts.totals,
             {Number(texts, bars.size()),
              HoursAndMinutes(
                  static_cast<std::uint32_t>(std::min<std::uint64_t>(minutes, 0xFFFFFFFFu)), texts),
              days == 1 ? texts.oneDay : Fill(texts.days, {Number(texts, days)}),
              Number(texts, taken), Number(texts, due)});
    if (due > 0) {
        line += Fill(texts.percent, {Number(texts, (taken * 100 + due / 2) / due)});
    }
    line += Fill(texts.totalPoints, {Number(texts, earned), Number(texts, lost)});
    return line;
}

namespace {

// The last `days` days up to `today`, each with its record if there is one;
// the most minutes among them.
std::uint32_t FillDays(const std::vector<DayRecord>& records, const Date& today, int days,
                       ChartLayout& out) {
    const std::int64_t first = DayNumber(today) - (days - 1);
    out.bars.resize(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) {
        ChartBar& bar = out.bars[static_cast<std::size_t>(i)];
        bar.today = i == days - 1;
        bar.record.date = DateOfDayNumber(first + i);
    }
    for (const DayRecord& r : records) {
        const std::int64_t i = DayNumber(r.date) - first;
        if (i >= 0 && i < days) {
            out.bars[static_cast<std::size_t>(i)].hasRecord = true;
            out.bars[static_cast<std::size_t>(i)].record = r;
        }
    }
    std::uint32_t most = 0;
    for (const ChartBar& bar : out.bars) {
        most = std::max(most, bar.record.minutes);
    }
    return most;
}

// Each day's column, bar, mark of breaks taken and labels, left to right.
template <typename YOf>
void PlaceBars(const ScreenRect& area, int shareHeight, const YOf& yOf, const HistoryTexts& texts,
               ChartLayout& out) {
    const int days = static_cast<int>(out.bars.size());
    const int columnWidth = out.plot.Width() / days;
    const int barWidth = std::max(1, columnWidth * 3 / 5);
    for (int i = 0; i < days; ++i) {
        ChartBar& bar = out.bars[static_cast<std::size_t>(i)];
        const int left = out.plot.left + i * columnWidth;
        bar.column = {left, out.plot.top, left + columnWidth, area.bottom};
        const int barLeft = left + (columnWidth - barWidth) / 2;
        bar.bar = {barLeft, yOf(bar.record.minutes), barLeft + barWidth, out.plot.bottom};
        bar.share = {barLeft, out.shareRow.top, barLeft + barWidth, out.shareRow.bottom};
        const std::uint64_t due = bar.record.BreaksDue();
        const int fill = due == 0 ? 0
                                  : static_cast<int>(static_cast<std::uint64_t>(shareHeight) *
                                                     bar.record.BreaksTaken() / due);
        bar.shareFill = {barLeft, out.shareRow.bottom - fill, barLeft + barWidth,
                         out.shareRow.bottom};
        const Date& date = bar.record.date;
        bar.label = std::to_string(date.day);
        if (i == 0 || date.day == 1) {
            bar.monthLabel = texts.shortMonthNames[date.month - 1];  // "Dec"
        }
    }
}

}  // namespace

ChartLayout LayoutHistoryChart(const std::vector<DayRecord>& records, const Date& today,
                               std::uint32_t limitMinutes, bool keeping, const ChartMetrics& m,
                               const HistoryTexts& texts) {
    ChartLayout out;
    const auto px = [&m](int pixels) { return ScaleLength(pixels, m.dpi); };
    const int margin = px(12);
    const int gap = px(8);

    // The buttons, bottom right, as the system's dialogs place them; wider
    // where a language's words need it.
    const int buttonWidth = std::max(px(75), m.buttonText + px(16));
    const int buttonHeight = px(23);
    const int buttonTop = m.height - margin - buttonHeight;
    out.closeButton = {m.width - margin - buttonWidth, buttonTop, m.width - margin,
                       buttonTop + buttonHeight};
    out.exportButton = {out.closeButton.left - gap - buttonWidth, buttonTop,
                        out.closeButton.left - gap, buttonTop + buttonHeight};
    // Two lines: a narrow window wraps the totals.
    out.totalsRect = {margin, buttonTop - gap - 2 * m.lineHeight, m.width - margin,
                      buttonTop - gap};
    const ScreenRect area{margin, margin, m.width - margin, out.totalsRect.top - gap};

    // The days: the last 14, or 28 when the window is wide enough.
    const int axisWidth = m.charWidth * 5 + gap;
    const int plotWidth = std::max(0, area.Width() - axisWidth);
    const int days = plotWidth >= kWideDays * px(kWideColumnPixels) ? kWideDays : kNarrowDays;
    const std::uint32_t most = FillDays(records, today, days, out);
    out.totals = TotalsLine(out.bars, texts);
    out.empty = std::none_of(out.bars.begin(), out.bars.end(),
                             [](const ChartBar& bar) { return bar.hasRecord; });
    if (out.empty) {
        out.message = keeping ? texts.noHistory : texts.historyOff;
        out.messageRect = area;
        return out;
    }

    // From the bottom: two rows of day labels, the row of marks, the plot.
    const int labelsHeight = 2 * m.lineHeight;
    const int shareHeight = px(14);
    out.labelsTop = area.bottom - labelsHeight;
    out.shareRow = {area.left + axisWidth, out.labelsTop - gap / 2 - shareHeight, area.right,
                    out.labelsTop - gap / 2};
    out.plot = {area.left + axisWidth, area.top + m.lineHeight / 2, area.right,
                out.shareRow.top - gap};
    if (out.plot.Height() < px(20)) {
        out.plot.top = out.plot.bottom - px(20);  // a tiny window: squeezed, never inverted
    }

    // The scale: whole hours, at least one, the limit always on it.
    std::uint32_t top = std::max<std::uint32_t>({most, limitMinutes, 60});
    const std::uint32_t stepHours = top <= 8 * 60 ? 1 : top <= 16 * 60 ? 2 : 4;
    const std::uint32_t step = stepHours * 60;
    top = (top + step - 1) / step * step;
    const auto yOf = [&](std::uint32_t minutes) {
        return out.plot.bottom -
               static_cast<int>(static_cast<long long>(out.plot.Height()) * minutes / top);
    };
    for (std::uint32_t at = step; at <= top; at += step) {
        out.grid.push_back({yOf(at), Fill(texts.hours, {Number(texts, at / 60)})});
    }
    if (limitMinutes > 0) {
        out.limitY = yOf(limitMinutes);
    }

    PlaceBars(area, shareHeight, yOf, texts, out);
    return out;
}

int ChartBarAt(const ChartLayout& layout, int x, int y) {
    if (layout.empty) {
        return -1;
    }
    for (std::size_t i = 0; i < layout.bars.size(); ++i) {
        if (layout.bars[i].column.Contains(x, y)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace pausora
