#include "tips/random_range.h"

#include <cstdlib>

namespace pausora {

RandomRange::RandomRange(IRandomEnvironment& env, std::int32_t low, std::int32_t high)
    : m_env(env) {
    SetRange(low, high);
}

void RandomRange::SetRange(std::int32_t low, std::int32_t high) {
    if (high < low) {
        m_env.ShowMessage(kBadRangeMessage);
        m_low = 0;
        m_high = 1;
        return;
    }
    m_low = low;
    m_high = high;
}

std::uint32_t RandomRange::ClockSeed() {
    const std::int64_t now = m_env.NowSeconds();
    const IRandomEnvironment::LocalDate date = m_env.LocalCalendar(now);
    // Unsigned arithmetic: the sum is meant to wrap to its low 32 bits.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now)) +
           static_cast<std::uint32_t>(date.day) + static_cast<std::uint32_t>(date.month) +
           static_cast<std::uint32_t>(date.year);
}

void RandomRange::Seed() {
    std::srand(ClockSeed());
}

std::int32_t RandomRange::Next() {
    // The counter's low 32 bits, made non-negative, stir the seed so that two
    // draws within the same second differ.
    std::uint32_t counter = static_cast<std::uint32_t>(m_env.PerformanceCounter());
    counter &= 0x7FFFFFFFu;
    std::srand(ClockSeed() + counter);
    // The width of a full signed range does not fit in 32 bits; do it in 64.
    const std::int64_t width = static_cast<std::int64_t>(m_high) - m_low + 1;
    return static_cast<std::int32_t>(m_low + static_cast<std::int64_t>(std::rand()) % width);
}

}  // namespace pausora
