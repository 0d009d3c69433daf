// What the system tells the running program, delivered as Windows delivers
// it: a wake while a break is on screen ends the break quietly, with its
// points paid once; a locked session is time away.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

// The system tells every top-level window of the program, not the hidden main
// window, and a wake by the user comes twice: each of them, sent and posted.
class Resume : public ProgramTest, public ::testing::WithParamInterface<Program::Delivery> {};

TEST_P(Resume, AWakeEndsTheRunningBreakWithoutANoticeAndPaysItOnce) {
    const Program::Delivery delivery = GetParam();
    // A long break after 3 seconds whose notice would stay up for a minute.
    Set("Micropause", 0);
    Set("Pause", 3);
    Set("Pause_length", 60);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND popup = SettledPopup();
    ASSERT_NE(popup, nullptr);

    // Notices that change nothing here leave the notice where it is.
    RECT before{};
    ::GetWindowRect(popup, &before);
    m_program.Broadcast(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, delivery);
    m_program.Broadcast(WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 800), delivery);
    m_program.Broadcast(WM_TIMECHANGE, 0, 0, delivery);
    EXPECT_TRUE(HoldsFor(300, [&] {
        RECT now{};
        return Popup() == popup && ::GetWindowRect(popup, &now) && ::EqualRect(&before, &now);
    })) << "the notice moved";

    m_program.Broadcast(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, delivery);
    m_program.Broadcast(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0, delivery);
    // The notice goes back into the taskbar and the break is paid.
    EXPECT_TRUE(WaitFor(5000, [&] { return Popup() == nullptr; }));
    EXPECT_TRUE(WaitFor(5000, [&] { return Bonus() == 110u; })) << "Bonus " << Bonus();
    // Told many times; the break was paid once.
    EXPECT_TRUE(HoldsFor(1000, [&] { return Bonus() == 110u; })) << "Bonus " << Bonus();
}

INSTANTIATE_TEST_SUITE_P(Deliveries, Resume,
                         ::testing::Values(Program::Delivery::kSendThenPost,
                                           Program::Delivery::kPostThenSend));

// Input that goes on behind a locked screen (a program that keeps the
// computer awake) keeps a break open; the lock itself ends it.
using SessionLock = ProgramTest;

TEST_F(SessionLock, ALockedSessionLetsTheBreakEndWhateverTheInput) {
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    KeepWorking(8000);  // a break began at 3 s and stays open
    EXPECT_LE(Bonus(), 100u);
    const std::uint32_t atLock = Bonus();
    m_program.Broadcast(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0,
                        Program::Delivery::kSendThenPost);
    KeepWorking(5000);
    EXPECT_GE(Bonus(), atLock + 2);
}

}  // namespace
}  // namespace pausora::test
