// What the history window costs before it draws: two years of history.csv
// read, and the chart laid out with every tooltip text; and a 10 MB file
// (mostly lines that are not ours) read and written back.
#include "history/history_chart.h"
#include "history/history_file.h"

#include <benchmark/benchmark.h>

#include <string>

namespace pausora {
namespace {

const Date kToday{2026, 12, 7};

std::string TwoYears() {
    HistoryFile file;
    for (std::int64_t n = DayNumber(kToday) - 730; n <= DayNumber(kToday); ++n) {
        DayRecord& r = file.Day(DateOfDayNumber(n));
        r.minutes = 200 + static_cast<std::uint32_t>(n % 300);
        r.shortBreaks.due = 40;
        r.shortBreaks.taken = 30 + static_cast<std::uint32_t>(n % 10);
        r.longBreaks.due = 6;
        r.longBreaks.taken = 5;
        r.pointsEarned = 120;
        r.pointsLost = 3;
        r.firstActive = 480;
        r.lastActive = 1020;
    }
    return file.Serialise();
}

std::string TenMegabytes() {
    std::string text = TwoYears();
    while (text.size() < 10 * 1024 * 1024) {
        text += "a line that is not a day of ours,1,2,3,4,5,6,7,8,9,10,11\r\n";
    }
    return text;
}

void BM_HistoryReadAndLayOutTwoYears(benchmark::State& state) {
    const std::string text = TwoYears();
    for (auto _ : state) {
        const HistoryFile file = HistoryFile::Parse(text);
        const ChartLayout layout =
            LayoutHistoryChart(file.Records(), kToday, 360, true, {1200, 700, 144, 24, 10});
        std::size_t tips = 0;
        for (const ChartBar& bar : layout.bars) {
            tips += DayTooltip(bar).size();
        }
        benchmark::DoNotOptimize(tips);
    }
    state.SetLabel(std::to_string(text.size()) + " bytes");
}
BENCHMARK(BM_HistoryReadAndLayOutTwoYears)->Unit(benchmark::kMillisecond);

void BM_HistoryMinuteWriteTwoYears(benchmark::State& state) {
    HistoryFile file = HistoryFile::Parse(TwoYears());
    for (auto _ : state) {
        file.Day(kToday).minutes += 1;
        const std::string out = file.Serialise();
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_HistoryMinuteWriteTwoYears)->Unit(benchmark::kMillisecond);

void BM_HistoryReadAndWriteTenMegabytes(benchmark::State& state) {
    const std::string text = TenMegabytes();
    for (auto _ : state) {
        HistoryFile file = HistoryFile::Parse(text);
        file.Day(kToday).minutes += 1;
        const std::string out = file.Serialise();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(std::to_string(text.size()) + " bytes");
}
BENCHMARK(BM_HistoryReadAndWriteTenMegabytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pausora

BENCHMARK_MAIN();
