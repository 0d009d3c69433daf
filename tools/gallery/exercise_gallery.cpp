// Shows one exercise in the exercises dialog, for a person to look at:
// scripts/screenshots-exercises.sh runs it once per exercise.
//
//   exercise_gallery <exercise 1..15> <ready-file> [ticks]
//
// With ticks, the animation is moved on that many pictures first.
// Once the exercise is on screen it writes the dialog's window rectangle
// ("WxH+X+Y") to <ready-file> and keeps the dialog open until
// <ready-file>.done appears.
#include "exercises/exercise_dlg.h"
#include "gallery/ready_file.h"
#include "resource.h"

#include <cstdlib>
#include <string>

namespace {

using namespace pausora;

std::string g_ready;
int g_ticks = 0;
int g_settled = 0;
bool g_told = false;

// The dialog of this thread, whatever its caption's language.
BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    if (::GetDlgItem(window, IDC_EXERCISE_TEXT) == nullptr) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || ::GetWindowTextLengthA(::GetDlgItem(dialog, IDC_EXERCISE_TEXT)) == 0) {
        return;
    }
    if (!g_told) {
        if (++g_settled < 4) {
            return;  // a few ticks for the painting to reach the screen
        }
        for (; g_ticks > 0; --g_ticks) {
            ::SendMessageA(dialog, WM_TIMER, CExerciseDlg::kAnimationTimer, 0);
        }
        ::UpdateWindow(dialog);
        gallery::TellReady(g_ready, dialog);
        g_told = true;
        return;
    }
    if (gallery::ScriptIsDone(g_ready)) {
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    const int exercise = std::atoi(argv[1]);
    g_ready = argv[2];
    g_ticks = argc > 3 ? std::atoi(argv[3]) : 0;
    ::SetTimer(nullptr, 0, 100, &Watch);
    CExerciseDlg dialog([exercise] { return exercise; });
    dialog.DoModal();
    return 0;
}
