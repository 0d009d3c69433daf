// What every whole-program test starts from: a profile that has been through
// the first-run wizard, with sounds and the update check off and a hundred
// points (level 2); the program started on it; and what the tests look at
// (the notice, the points, the history file, the main window's commands).
#pragma once

#include "artwork_ids.h"
#include "e2e/desktop.h"
#include "e2e/program.h"
#include "history/history_file.h"
#include "menu_ids.h"
#include "shared/wait.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pausora::test {

// The notice is the one window of the program of its skin's size.
constexpr int kPopupWidth = IDB_SKIN_WIDTH;
constexpr int kPopupHeight = IDB_SKIN_HEIGHT;

// The history file of the profile the program runs in.
inline std::wstring HistoryPath() {
    wchar_t local[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    return std::wstring(local) + L"\\Pausora\\history.csv";
}

// The local date, by which the program dates its history.
inline Date Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return Date{now.wYear, now.wMonth, now.wDay};
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_store.Reset();
        m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
        m_store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
        Set("UseSounds", 0);
        Set("CheckForUpdates", 0);
        Set("Bonus", 100);
    }
    void TearDown() override {
        m_program.Kill();
        m_store.Reset();
    }

    void Set(std::string_view name, std::uint32_t value) {
        m_store.SetDword(reg::kSettingsKey, name, value);
    }
    void Set(std::string_view name, std::string_view text) {
        m_store.SetString(reg::kSettingsKey, name, text);
    }
    std::optional<std::uint32_t> Dword(std::string_view name) {
        return m_store.Dword(reg::kSettingsKey, name);
    }
    std::uint32_t Bonus() { return Dword("Bonus").value_or(0); }

    // A short break every `every` seconds, `length` seconds long.
    void ShortBreaks(std::uint32_t every, std::uint32_t length = 2) {
        Set("Micropause", every);
        Set("Micropause_length", length);
    }

    // Starts the program and waits for its hidden main window; call it in
    // ASSERT_NO_FATAL_FAILURE.
    void Start() {
        ASSERT_TRUE(m_program.Start());
        m_main = m_program.WaitForMainWindow(kTimeoutMs);
        ASSERT_NE(m_main, nullptr);
    }
    // The same, and then the icon in the tray, for the tests that click it.
    void StartWithIcon() {
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs)) << "no tray icon";
    }

    // A tray menu command, as the menu sends it (returning once handled) or
    // posts it (for those that end the program or open a window).
    void Command(int id) const { ::SendMessageA(m_main, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void PostCommand(int id) const {
        ::PostMessageA(m_main, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
    // Exit from the tray menu; true once the program has ended.
    bool Exit() {
        PostCommand(ID_TRAY_EXIT);
        return m_program.WaitForExit(kTimeoutMs);
    }

    HWND Popup() const { return m_program.FindVisibleWindowSized(kPopupWidth, kPopupHeight); }
    bool WaitForPopup(DWORD ms = kTimeoutMs) const {
        return WaitFor(ms, [&] { return Popup() != nullptr; });
    }
    // The notice once it has come fully out at the work area's corner (a
    // slide in steps of 10 pixels may end up to 9 pixels past the corner).
    HWND SettledPopup() const {
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        HWND popup = nullptr;
        const bool settled = WaitFor(kTimeoutMs, [&] {
            popup = Popup();
            RECT shown{};
            return popup != nullptr && ::GetWindowRect(popup, &shown) &&
                   shown.right == work.right && shown.bottom <= work.bottom &&
                   work.bottom - shown.bottom < 10;
        });
        return settled ? popup : nullptr;
    }

    WinBackdoor m_store;
    Program m_program;
    HWND m_main = nullptr;
};

}  // namespace pausora::test
