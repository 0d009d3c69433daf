// Drives a wizard the way a user does, from another thread or process: it
// finds the shown sheet, reads its pages and buttons and presses only buttons
// that are there to press.
#pragma once

#include "shared/wait.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace pausora::test {

// The sheet's own buttons.
inline constexpr int kBackButton = 0x3023;
inline constexpr int kNextButton = 0x3024;
inline constexpr int kFinishButton = 0x3025;

struct WizardButtons {
    bool back = false;
    bool next = false;
    bool finish = false;
    bool operator==(const WizardButtons&) const = default;
};

// Asked of the window itself: GetWindowText would not ask a control of
// another process.
inline std::string WindowText(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

class WizardDriver {
  public:
    // The shown wizard sheet of process `pid` other than `not`, waiting up to `ms`.
    static HWND WaitForSheet(DWORD pid, DWORD ms, HWND not_ = nullptr) {
        const DWORD until = ::GetTickCount() + ms;
        do {
            struct Search {
                DWORD pid;
                HWND not_;
                HWND found;
            } search{pid, not_, nullptr};
            ::EnumWindows(
                [](HWND hwnd, LPARAM param) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(param);
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(hwnd, &owner);
                    if (owner == s->pid && hwnd != s->not_ && ::IsWindowVisible(hwnd) &&
                        ::GetDlgItem(hwnd, kNextButton) != nullptr) {
                        s->found = hwnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                return search.found;
            }
            ::Sleep(30);
        } while (static_cast<int>(until - ::GetTickCount()) > 0);
        return nullptr;
    }

    explicit WizardDriver(HWND sheet) : m_sheet(sheet) {}

    HWND Sheet() const { return m_sheet; }
    bool Open() const { return ::IsWindow(m_sheet) && ::IsWindowVisible(m_sheet); }
    HWND Page() const {
        return reinterpret_cast<HWND>(::SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    int PageIndex() const {
        return static_cast<int>(
            ::SendMessageA(m_sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0));
    }
    HWND Control(int id) const { return ::GetDlgItem(Page(), id); }
    std::string Text(int id) const { return WindowText(Control(id)); }

    WizardButtons Buttons() const {
        return {Usable(kBackButton), Usable(kNextButton), Usable(kFinishButton)};
    }
    // The buttons settle a moment after the page changes: they are posted.
    bool WaitForButtons(WizardButtons expected, DWORD ms = 3000) const {
        return WaitFor(ms, [&] { return Buttons() == expected; });
    }
    bool WaitForPage(int index, DWORD ms = 3000) const {
        return WaitFor(ms, [&] { return PageIndex() == index; });
    }

    // A click on one of the sheet's buttons; false when it is not there to
    // click. Posted, as a click arrives: the sheet's loop wakes for it.
    bool Press(int id) const {
        if (!Usable(id)) {
            return false;
        }
        ::PostMessageA(m_sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_sheet, id)));
        return true;
    }
    bool Next() const { return Press(kNextButton); }
    bool Back() const { return Press(kBackButton); }
    bool Finish() const { return Press(kFinishButton); }
    void Cancel() const {
        ::PostMessageA(m_sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_sheet, IDCANCEL)));
    }
    bool WaitForClose(DWORD ms = 5000) const {
        return WaitFor(ms, [&] { return !::IsWindow(m_sheet); });
    }

  private:
    bool Usable(int id) const {
        const HWND button = ::GetDlgItem(m_sheet, id);
        return button != nullptr && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
    }

    HWND m_sheet;
};

}  // namespace pausora::test
