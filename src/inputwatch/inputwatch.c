/* The system already keeps the time of the session's last input, whichever
 * window had the focus; reading it needs no hook, no thread and no DLL
 * injection into other programs. */
#include <windows.h>

#define INPUTWATCH_BUILD
#include "inputwatch.h"

static LONG g_running;
static LONG g_lastTick;

static DWORD ReadLastInput(void) {
    LASTINPUTINFO info;
    info.cbSize = sizeof info;
    info.dwTime = 0;
    if (!GetLastInputInfo(&info)) {
        return (DWORD)InterlockedCompareExchange(&g_lastTick, 0, 0);
    }
    return info.dwTime;
}

int InputWatchStart(void) {
    InterlockedExchange(&g_lastTick, (LONG)ReadLastInput());
    InterlockedExchange(&g_running, 1);
    return 1;
}

unsigned int InputWatchLastTick(void) {
    if (InterlockedCompareExchange(&g_running, 0, 0)) {
        InterlockedExchange(&g_lastTick, (LONG)ReadLastInput());
    }
    return (unsigned int)InterlockedCompareExchange(&g_lastTick, 0, 0);
}

void InputWatchStop(void) {
    InterlockedExchange(&g_lastTick, (LONG)ReadLastInput());
    InterlockedExchange(&g_running, 0);
}
