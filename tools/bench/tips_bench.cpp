// What one break notice costs to get its saying from the shipped tips file:
// read from disk, decode, draw, compose; then as the program does it, with
// the decoded lines kept while the file is unchanged. Also the parts on their
// own.
#include "shared/memory_registry.h"
#include "shared/posix_file_stamps.h"
#include "tips/random_range.h"
#include "tips/line_file.h"
#include "tips/tips.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace pausora {
namespace {

// The machine's own clock and calendar, as the program uses them.
class SystemRandom final : public IRandomEnvironment {
  public:
    std::int64_t NowSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
    LocalDate LocalCalendar(std::int64_t now) override {
        const std::time_t t = static_cast<std::time_t>(now);
        std::tm local{};
        localtime_r(&t, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    }
    std::int64_t PerformanceCounter() override {
        return std::chrono::steady_clock::now().time_since_epoch().count();
    }
    void ShowMessage(std::string_view) override {}
};

// A registry whose "InstallDir" is the folder of the shipped file.
void PointAtShippedFile(MemoryRegistry& registry) {
    const std::string folder =
        std::filesystem::path(PAUSORA_TIPS_FILE).parent_path().string() + "/";
    registry.CreateKeyPath(reg::kAppKey);
    registry.SetRaw(reg::kAppKey, reg::kInstallDir, MemoryRegistry::Type::kString,
                    {folder.begin(), folder.end()});
}

template <class Pick>
void CountPicks(benchmark::State& state, Pick pick) {
    std::size_t empty = 0;
    for (auto _ : state) {
        const std::string tip = pick();
        empty += tip.empty() ? 1u : 0u;
        benchmark::DoNotOptimize(tip.data());
    }
    if (empty != 0) {
        state.SkipWithError("the shipped file gave an empty text");
    }
}

// Read and decoded at every call.
void PickTipFromShippedFile(benchmark::State& state) {
    MemoryRegistry registry;
    PointAtShippedFile(registry);
    CLineFile files;
    PosixFileStamps stamps;
    SystemRandom random;
    CountPicks(state, [&] {
        CTipsFile fresh(files, stamps);
        return PickTip(registry, fresh, random);
    });
}
BENCHMARK(PickTipFromShippedFile)->Unit(benchmark::kMicrosecond);

// As the program picks: the file's stamp looked at, its lines kept.
void PickTipFromUnchangedFile(benchmark::State& state) {
    MemoryRegistry registry;
    PointAtShippedFile(registry);
    CLineFile files;
    PosixFileStamps stamps;
    CTipsFile tips(files, stamps);
    SystemRandom random;
    CountPicks(state, [&] { return PickTip(registry, tips, random); });
}
BENCHMARK(PickTipFromUnchangedFile)->Unit(benchmark::kMicrosecond);

void ReadShippedFile(benchmark::State& state) {
    CLineFile files;
    std::vector<std::string> lines;
    for (auto _ : state) {
        files.ReadLines(PAUSORA_TIPS_FILE, lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(ReadShippedFile)->Unit(benchmark::kMicrosecond);

void DecodeShippedFile(benchmark::State& state) {
    CLineFile files;
    std::vector<std::string> stored;
    files.ReadLines(PAUSORA_TIPS_FILE, stored);
    for (auto _ : state) {
        std::vector<std::string> lines = stored;
        for (std::string& line : lines) {
            DecodeTipLine(line);
        }
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(DecodeShippedFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pausora

BENCHMARK_MAIN();
