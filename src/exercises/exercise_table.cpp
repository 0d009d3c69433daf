#include "exercises/exercise_table.h"

#include "resource.h"

#include <array>

namespace pausora {

namespace {

// Each list ends with a repeat of an earlier picture: it closes the loop and
// is never shown on its own.
constexpr std::array<int, 2> kArmAcross{IDB_EX01_ARM_ACROSS, IDB_EX01_ARM_ACROSS};
constexpr std::array<int, 2> kShrug{IDB_EX02_SHRUG, IDB_EX02_SHRUG};
constexpr std::array<int, 3> kShoulderRoll{IDB_EX03_ROLL_A, IDB_EX03_ROLL_B, IDB_EX03_ROLL_A_COPY};
constexpr std::array<int, 2> kArmsForward{IDB_EX04_ARMS_FORWARD, IDB_EX04_ARMS_FORWARD};
constexpr std::array<int, 2> kLeanForward{IDB_EX05_LEAN_FORWARD, IDB_EX05_LEAN_FORWARD};
constexpr std::array<int, 2> kFocus{IDB_EX06_FOCUS, IDB_EX06_FOCUS_COPY};
constexpr std::array<int, 3> kBlink{IDB_EX07_BLINK_OPEN, IDB_EX07_BLINK_CLOSED,
                                    IDB_EX07_BLINK_CLOSED};
constexpr std::array<int, 2> kWrists{IDB_EX08_WRISTS, IDB_EX08_WRISTS};
constexpr std::array<int, 3> kFingers{IDB_EX09_FINGERS_WIDE, IDB_EX09_FINGERS_BENT,
                                      IDB_EX09_FINGERS_BENT};
constexpr std::array<int, 3> kHeadTurn{IDB_EX10_TURN_LEFT, IDB_EX10_TURN_RIGHT,
                                       IDB_EX10_TURN_RIGHT};
constexpr std::array<int, 3> kHeadTilt{IDB_EX11_TILT_LEFT, IDB_EX11_TILT_RIGHT,
                                       IDB_EX11_TILT_RIGHT};
constexpr std::array<int, 3> kHeadNod{IDB_EX12_HEAD_DOWN, IDB_EX12_HEAD_BACK, IDB_EX12_HEAD_BACK};
constexpr std::array<int, 2> kElbowsBack{IDB_EX13_ELBOWS_BACK, IDB_EX13_ELBOWS_BACK};
constexpr std::array<int, 2> kBackBend{IDB_EX14_BACK_BEND, IDB_EX14_BACK_BEND};
constexpr std::array<int, 5> kEyes{IDB_EX15_EYES_UP, IDB_EX15_EYES_DOWN, IDB_EX15_EYES_LEFT,
                                   IDB_EX15_EYES_RIGHT, IDB_EX15_EYES_RIGHT};

constexpr std::array<Exercise, kExerciseCount> kExercises{{
    {1, IDS_EXERCISE_1, kArmAcross, kStillPeriodMs},
    {2, IDS_EXERCISE_2, kShrug, kStillPeriodMs},
    {3, IDS_EXERCISE_3, kShoulderRoll, 1000},
    {4, IDS_EXERCISE_4, kArmsForward, kStillPeriodMs},
    {5, IDS_EXERCISE_5, kLeanForward, kStillPeriodMs},
    {6, IDS_EXERCISE_6, kFocus, kStillPeriodMs},
    {7, IDS_EXERCISE_7, kBlink, 500},
    {8, IDS_EXERCISE_8, kWrists, kStillPeriodMs},
    {9, IDS_EXERCISE_9, kFingers, 5000},
    {10, IDS_EXERCISE_10, kHeadTurn, 5000},
    {11, IDS_EXERCISE_11, kHeadTilt, 5000},
    {12, IDS_EXERCISE_12, kHeadNod, 5000},
    {13, IDS_EXERCISE_13, kElbowsBack, kStillPeriodMs},
    {14, IDS_EXERCISE_14, kBackBend, kStillPeriodMs},
    {15, IDS_EXERCISE_15, kEyes, 1000},
}};

}  // namespace

const Exercise& ExerciseNumber(int n) {
    if (n < 1 || n > kExerciseCount) {
        return kExercises[0];
    }
    return kExercises[static_cast<std::size_t>(n - 1)];
}

int ChooseExercise(IRandomEnvironment& env) {
    RandomRange range(env, 1, kExerciseCount);
    range.Seed();
    return range.Next();
}

bool FrameCycle::Start(std::size_t frameCount) {
    if (frameCount == 0) {
        return false;
    }
    m_count = frameCount;
    m_next = 1;  // frame 0 is already showing
    return true;
}

std::optional<std::size_t> FrameCycle::Tick() {
    if (m_count == 0) {
        return std::nullopt;
    }
    // Past the last-but-one entry the loop starts again at the first.
    if (m_next + 2 > m_count) {
        m_next = 0;
    }
    return m_next++;
}

}  // namespace pausora
