// A working week on the virtual clock: how much the break engine costs per
// simulated day, and how many timer messages a day brings.
#include "core/engine_sim.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace pausora::sim {
namespace {

constexpr std::uint64_t kHour = 3600;
constexpr std::uint64_t kDay = 24 * kHour;
constexpr int kDays = 7;
constexpr LocalTime kMonday{2026, 12, 7, 8, 30, 0};

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

// What the engine saw at one timer step of the simulated week: enough to hand
// it the same step again without the simulation around it.
struct Step {
    std::uint32_t id;  // a timer id, or kMorning for a fresh start of the program
    std::uint32_t tick;
    std::uint32_t lastInputTick;
};
constexpr std::uint32_t kMorning = 0;

struct WeekFigures {
    std::uint64_t timerEvents = 0;
    std::size_t shortBreaks = 0;
    std::size_t longBreaks = 0;
    std::size_t reminders = 0;
    std::size_t dayNotices = 0;
    std::uint32_t bonus = 0;
    std::uint32_t minutes = 0;
};

// The week on the simulation; `steps`, when given, receives every step.
WeekFigures SimulateWeek(const std::vector<Day>& week, bool timeReset, std::vector<Step>* steps) {
    EngineSim sim;
    WeekFigures figures;
    sim.presenter.keepLog = false;
    sim.settings.UseTimeReset = timeReset ? 1 : 0;
    sim.calendar.start = kMonday;
    if (steps != nullptr) {
        sim.afterStep = [&](std::uint32_t id) {
            steps->push_back({id, sim.input.TickCount(), sim.input.LastTick()});
        };
    }
    bool running = false;
    for (const Day& day : week) {
        if (day.workday) {
            // The computer is switched on in the morning: the program
            // starts and checks the day.
            if (steps != nullptr) {
                steps->push_back({kMorning, sim.input.TickCount(), sim.input.LastTick()});
            }
            if (running) {
                // A fresh program has no timers left from the night.
                sim.engine.StopScheduler();
                sim.engine.Initialise();
            } else {
                sim.Start();
                running = true;
            }
            sim.Run(day.script);
            figures.minutes += sim.engine.FullWorkTime();
            // Left running overnight, idle, until the next morning.
            sim.Advance(kDay - (9 * kHour + 30 * 60));
        } else {
            sim.Advance(kDay);
        }
    }
    figures.timerEvents = sim.timers.fired;
    figures.shortBreaks = sim.NoticeTimes("Short break time").size();
    figures.longBreaks = sim.NoticeTimes("Long break time").size();
    figures.reminders = sim.NoticeTimes("Have a rest!").size();
    figures.dayNotices =
        sim.presenter.notices.size() - figures.shortBreaks - figures.longBreaks - figures.reminders;
    figures.bonus = sim.Bonus();
    return figures;
}

void ReportWeek(benchmark::State& state, const WeekFigures& figures) {
    state.counters["s_per_day"] = benchmark::Counter(
        kDays, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["timer_events_per_day"] = static_cast<double>(figures.timerEvents) / kDays;
    state.counters["short_breaks"] = static_cast<double>(figures.shortBreaks);
    state.counters["long_breaks"] = static_cast<double>(figures.longBreaks);
    state.counters["reminders"] = static_cast<double>(figures.reminders);
    state.counters["day_notices"] = static_cast<double>(figures.dayNotices);
    state.counters["bonus"] = figures.bonus;
    state.counters["minutes_per_week"] = figures.minutes;
}

// The whole simulation: virtual timers, scripted user, recording presenter,
// in-memory registry and the engine between them.
void RunWeek(benchmark::State& state, bool timeReset) {
    const std::vector<Day> week = WeekOfWork();
    WeekFigures figures;
    for (auto _ : state) {
        figures = SimulateWeek(week, timeReset, nullptr);
        benchmark::DoNotOptimize(figures);
    }
    ReportWeek(state, figures);
}

// Ports that cost next to nothing, fed from the recorded steps: what is left
// is the engine's own work (and one virtual call per port call).
class ReplayPorts final : public ITimerHost,
                          public ITickClock,
                          public IIdleSource,
                          public ILocalClock,
                          public IPresenter,
                          public ITipSource,
                          public IRegistry,
                          public IWallClock,
                          public IBusySource,
                          public IHistorySink {
  public:
    bool Arm(std::uint32_t, std::uint32_t) override {
        ++calls;
        return true;
    }
    void Kill(std::uint32_t) override { ++calls; }
    std::uint32_t TickCount() override { return step->tick; }
    void Start() override {}
    std::uint32_t LastTick() override { return step->lastInputTick; }
    void Stop() override {}
    LocalTime Now() override { return AddSeconds(kMonday, (step->tick - firstTick) / 1000); }
    void ShowNotice(const pausora::Notice&, std::uint32_t, NoticeEntry, int) override { ++calls; }
    void HideNotice() override { ++calls; }
    void SetIcon(int) override { ++calls; }
    void SetTooltipText(std::string_view) override { ++calls; }
    void SetIconList(int, int) override { ++calls; }
    void Animate(std::uint32_t, std::uint32_t) override { ++calls; }
    void StopAnimation() override { ++calls; }
    void SetStartStopCaption(std::string_view) override { ++calls; }
    void SetCountdown(std::uint32_t) override { ++calls; }
    void PlaySound(SoundEvent, std::string_view) override { ++calls; }
    void ReportTrouble(Trouble) override { ++calls; }
    std::string PickTip() override { return "A saying"; }
    UtcTime UtcNow() override { return 0; }
    std::optional<LocalTime> ToLocal(UtcTime) override { return std::nullopt; }
    std::optional<UtcTime> FromLocal(const LocalTime&) override { return std::nullopt; }
    Busy Query() override { return Busy::kNo; }
    void OnBreak(const LocalTime&, BreakKind, BreakOutcome) override {}
    void OnPoints(const LocalTime&, std::int64_t) override {}
    void OnMinuteStep(const LocalTime&, const LocalTime&, std::uint32_t, bool) override {}
    std::unique_ptr<IRegistryKey> NewKey() override { return std::make_unique<Key>(*this); }

    const Step* step = nullptr;
    std::uint32_t firstTick = 0;
    std::uint64_t calls = 0;
    std::uint64_t writes = 0;

  private:
    class Key final : public IRegistryKey {
      public:
        explicit Key(ReplayPorts& ports) : m_ports(ports) {}
        bool Open(std::string_view) override { return true; }
        bool Create(std::string_view) override { return true; }
        bool IsOpen() const override { return true; }
        bool ReadString(std::string_view, std::string&) override { return false; }
        bool ReadDword(std::string_view, std::uint32_t&) override { return false; }
        bool WriteString(std::string_view, std::string_view) override { return true; }
        bool WriteDword(std::string_view, std::uint32_t) override {
            ++m_ports.writes;
            return true;
        }
        bool ReadQword(std::string_view, std::uint64_t&) override { return false; }
        bool WriteQword(std::string_view, std::uint64_t) override { return true; }
        bool ReadMultiString(std::string_view, std::vector<std::string>&) override { return false; }
        bool WriteMultiString(std::string_view, const std::vector<std::string>&) override {
            return true;
        }
        bool DeleteValue(std::string_view) override { return true; }
        RegistryType TypeOf(std::string_view) override { return RegistryType::kMissing; }
        void Close() override {}

      private:
        ReplayPorts& m_ports;
    };
};

// The engine alone: the week's recorded steps handed to it again, in order,
// through ports that do nothing. The simulation's own bookkeeping (the timer
// queue, the script, the recording presenter, the in-memory registry) is
// left out; the result is checked against the simulation's.
void ReplayWeek(benchmark::State& state, bool timeReset) {
    const std::vector<Day> week = WeekOfWork();
    std::vector<Step> steps;
    const WeekFigures figures = SimulateWeek(week, timeReset, &steps);
    std::uint32_t bonus = 0;
    std::uint64_t calls = 0;
    std::uint64_t writes = 0;
    for (auto _ : state) {
        ReplayPorts ports;
        STimeSettings settings;
        settings.UseTimeReset = timeReset ? 1 : 0;
        ports.firstTick = steps.front().tick;
        BreakEngine engine(settings, BreakEngine::Ports{ports, ports, ports, ports, ports, ports,
                                                        ports, ports, ports, ports});
        bool running = false;
        for (const Step& step : steps) {
            ports.step = &step;
            if (step.id != kMorning) {
                engine.OnTimer(step.id);
            } else if (running) {
                engine.StopScheduler();
                engine.Initialise();
            } else {
                engine.Initialise();
                running = true;
            }
        }
        bonus = settings.Bonus;
        calls = ports.calls;
        writes = ports.writes;
        benchmark::DoNotOptimize(bonus);
    }
    if (bonus != figures.bonus) {
        state.SkipWithError("the replay earned other points than the simulation");
    }
    state.counters["s_per_day"] = benchmark::Counter(
        kDays, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["steps_per_day"] = static_cast<double>(steps.size()) / kDays;
    state.counters["port_calls_per_day"] = static_cast<double>(calls) / kDays;
    state.counters["registry_writes_per_day"] = static_cast<double>(writes) / kDays;
    state.counters["bonus"] = bonus;
}

void BM_WeekOfWork(benchmark::State& state) {
    RunWeek(state, false);
}
void BM_WeekOfWorkWithTimeReset(benchmark::State& state) {
    RunWeek(state, true);
}

void BM_EngineAloneWeekOfWork(benchmark::State& state) {
    ReplayWeek(state, false);
}
void BM_EngineAloneWeekOfWorkWithTimeReset(benchmark::State& state) {
    ReplayWeek(state, true);
}

BENCHMARK(BM_WeekOfWork)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekOfWorkWithTimeReset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineAloneWeekOfWork)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineAloneWeekOfWorkWithTimeReset)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pausora::sim

BENCHMARK_MAIN();
