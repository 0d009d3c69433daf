#include "inputwatch/inputwatch.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

void MoveMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 3;
    input.mi.dy = 2;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    ASSERT_EQ(::SendInput(1, &input, sizeof input), 1u);
}

void PressShift() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, keys, sizeof keys[0]), 2u);
}

// The idle time as every caller computes it.
unsigned IdleMs() {
    return ::GetTickCount() - InputWatchLastTick();
}

TEST(InputWatch, MouseAndKeyboardInputMoveTheLastInputTick) {
    InputWatchStart();
    MoveMouse();
    EXPECT_LT(IdleMs(), 1000u);

    ::Sleep(1200);
    EXPECT_GE(IdleMs(), 1000u);
    PressShift();
    EXPECT_LT(IdleMs(), 1000u);
}

TEST(InputWatch, StopThenStartLeavesTrackingRunning) {
    InputWatchStart();
    InputWatchStop();
    EXPECT_EQ(InputWatchStart(), 1);
    ::Sleep(1200);
    MoveMouse();
    EXPECT_LT(IdleMs(), 1000u);
}

TEST(InputWatch, TheValueStaysReadableWhileStopped) {
    InputWatchStart();
    MoveMouse();
    InputWatchStop();
    const unsigned frozen = InputWatchLastTick();
    ::Sleep(50);
    MoveMouse();
    EXPECT_EQ(InputWatchLastTick(), frozen);
    InputWatchStart();
}

}  // namespace
