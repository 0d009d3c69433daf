/* The input-watch library: the tick count of the user's last keyboard or
 * mouse input anywhere on the desktop, on the GetTickCount clock. */
#ifndef PAUSORA_INPUTWATCH_H
#define PAUSORA_INPUTWATCH_H

#ifdef INPUTWATCH_BUILD
#define INPUTWATCH_API __declspec(dllexport)
#else
#define INPUTWATCH_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Starts tracking (again); harmless while tracking runs. Returns 1. */
INPUTWATCH_API int InputWatchStart(void);
/* Milliseconds since the system started, at the most recent input. */
INPUTWATCH_API unsigned int InputWatchLastTick(void);
/* Stops tracking; the last value stays readable. */
INPUTWATCH_API void InputWatchStop(void);

#ifdef __cplusplus
}
#endif

#endif
