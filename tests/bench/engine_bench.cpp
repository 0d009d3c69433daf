// A working week on the virtual clock: how much the break engine costs per
// simulated day, and how many timer messages a day brings.
#include "core/engine_sim.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace pausora::sim {
namespace {

constexpr std::uint64_t kHour = 3600;
constexpr std::uint64_t kDay = 24 * kHour;
constexpr int kDays = 7;

// One day of the user: typing in bursts with short pauses, a coffee now and
// then, lunch away from the desk. Weekends the computer stays off.
struct Day {
    bool workday;
    std::vector<Stretch> script;  // from 08:30 to 18:00
};

std::vector<Day> WeekOfWork() {
    std::minstd_rand random(20261207);
    auto between = [&random](std::uint64_t low, std::uint64_t high) {
        return low + random() % (high - low + 1);
    };
    auto work = [&](std::vector<Stretch>& script, std::uint64_t seconds) {
        std::uint64_t done = 0;
        while (done < seconds) {
            const std::uint64_t burst = std::min(between(5, 90), seconds - done);
            script.push_back({burst, true});
            done += burst;
            if (done >= seconds) {
                break;
            }
            // Mostly reading for a few seconds; once in a while away for minutes.
            std::uint64_t pause = random() % 20 == 0 ? between(120, 900) : between(1, 25);
            pause = std::min(pause, seconds - done);
            script.push_back({pause, false});
            done += pause;
        }
    };
    std::vector<Day> week;
    for (int day = 0; day < kDays; ++day) {
        Day today{day < 5, {}};
        if (today.workday) {
            work(today.script, 3 * kHour + 30 * 60);  // until 12:00
            today.script.push_back({kHour, false});   // lunch
            work(today.script, 5 * kHour);            // until 18:00
        }
        week.push_back(std::move(today));
    }
    return week;
}

void RunWeek(benchmark::State& state, bool timeReset) {
    const std::vector<Day> week = WeekOfWork();
    std::uint64_t timerEvents = 0;
    std::size_t shortBreaks = 0;
    std::size_t longBreaks = 0;
    std::size_t reminders = 0;
    std::size_t dayNotices = 0;
    std::uint32_t bonus = 0;
    std::uint32_t minutes = 0;
    for (auto _ : state) {
        EngineSim sim;
        sim.presenter.keepLog = false;
        sim.settings.UseTimeReset = timeReset ? 1 : 0;
        sim.calendar.start = {2026, 12, 7, 8, 30, 0};  // a Monday
        bool running = false;
        for (const Day& day : week) {
            if (day.workday) {
                // The computer is switched on in the morning: the program
                // starts and checks the day.
                if (running) {
                    // A fresh program has no timers left from the night.
                    sim.engine.StopScheduler();
                    sim.engine.Initialise();
                } else {
                    sim.Start();
                    running = true;
                }
                sim.Run(day.script);
                minutes += sim.engine.FullWorkTime();
                // Left running overnight, idle, until the next morning.
                sim.Advance(kDay - (9 * kHour + 30 * 60));
            } else {
                sim.Advance(kDay);
            }
        }
        timerEvents = sim.timers.fired;
        shortBreaks = sim.NoticeTimes("Short break time").size();
        longBreaks = sim.NoticeTimes("Long break time").size();
        reminders = sim.NoticeTimes("Have a rest!").size();
        dayNotices = sim.presenter.notices.size() - shortBreaks - longBreaks - reminders;
        bonus = sim.Bonus();
        benchmark::DoNotOptimize(timerEvents);
    }
    const auto perIteration = static_cast<double>(state.iterations());
    state.counters["s_per_day"] = benchmark::Counter(
        kDays, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["timer_events_per_day"] = static_cast<double>(timerEvents) / kDays;
    state.counters["short_breaks"] = static_cast<double>(shortBreaks);
    state.counters["long_breaks"] = static_cast<double>(longBreaks);
    state.counters["reminders"] = static_cast<double>(reminders);
    state.counters["day_notices"] = static_cast<double>(dayNotices);
    state.counters["bonus"] = bonus;
    state.counters["minutes_per_week"] = static_cast<double>(minutes) / perIteration;
}

void BM_WeekOfWork(benchmark::State& state) {
    RunWeek(state, false);
}
void BM_WeekOfWorkWithTimeReset(benchmark::State& state) {
    RunWeek(state, true);
}

BENCHMARK(BM_WeekOfWork)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekOfWorkWithTimeReset)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pausora::sim

BENCHMARK_MAIN();
