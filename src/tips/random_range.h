// A pseudo-random integer from an inclusive range, reseeded from the clock on
// every draw so that two draws a moment apart are still unrelated.
#pragma once

#include <cstdint>
#include <string_view>

namespace pausora {

// What RandomRange needs from the machine: the time, the local calendar, a
// fast-moving counter, and a way to tell the user about a bad range.
class IRandomEnvironment {
  public:
    virtual ~IRandomEnvironment() = default;
    // Seconds since 1970.
    virtual std::int64_t NowSeconds() = 0;
    struct LocalDate {
        int year;   // four digits
        int month;  // 1..12
        int day;    // 1..31
    };
    virtual LocalDate LocalCalendar(std::int64_t nowSeconds) = 0;
    // The high-resolution performance counter.
    virtual std::int64_t PerformanceCounter() = 0;
    virtual void ShowMessage(std::string_view text) = 0;
};

class RandomRange {
  public:
    RandomRange(IRandomEnvironment& env, std::int32_t low, std::int32_t high);

    // Stores the range; a reversed range is reported and replaced by 0..1.
    void SetRange(std::int32_t low, std::int32_t high);
    void Seed();
    // A value in [low, high].
    std::int32_t Next();

    std::int32_t Low() const { return m_low; }
    std::int32_t High() const { return m_high; }

    static constexpr std::string_view kBadRangeMessage =
        "Error: HIGH value cannot be less than LOW value!\nUsing defaults: High = 1, Low = 0";

  private:
    std::uint32_t ClockSeed();

    IRandomEnvironment& m_env;
    std::int32_t m_low = 0;
    std::int32_t m_high = 1;
};

}  // namespace pausora
