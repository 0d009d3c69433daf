// The fifteen stretch exercises: which pictures each one shows, how fast they
// change, which text explains it, and how one is picked. Plain data and rules,
// shared by the exercises dialog and its tests.
#pragma once

#include "tips/random_range.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pausora {

struct Exercise {
    int number;                   // 1..15
    int textId;                   // string resource with the instructions
    std::span<const int> frames;  // bitmap resources, in the order they are loaded
    std::uint32_t periodMs;       // the animation timer's period
};

inline constexpr int kExerciseCount = 15;
// A period this long keeps a single picture for as long as anyone looks.
inline constexpr std::uint32_t kStillPeriodMs = 1000000;

// Exercise n (1..15); numbers outside the range give exercise 1.
const Exercise& ExerciseNumber(int n);

// A new exercise, 1..15, drawn from the clock: the same one may come twice.
int ChooseExercise(IRandomEnvironment& env);

// The animation over a frame list. The list's last entry only closes the
// loop and is never shown: a list of k frames shows frames 0 to k - 2 in
// turn, and a list of two keeps showing its first frame.
class FrameCycle {
  public:
    // Called once the first frame is already on screen; false for an empty
    // list, which has nothing to animate.
    bool Start(std::size_t frameCount);
    // The frame to show on the next timer tick; none when nothing was started.
    std::optional<std::size_t> Tick();

  private:
    std::size_t m_count = 0;
    std::size_t m_next = 0;
};

}  // namespace pausora
