#pragma once
// The yardsticks' message loop, marking the first idle in the bench build.
// A dialog window, if given, gets Tab and access keys as the program's windows do.

#include <windows.h>

#include "win32/bench_marks.h"

inline int RunMessageLoop(HWND dialog = nullptr) {
    MSG msg;
    for (;;) {
#ifdef ANNUVIA_BENCH_MARKS
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) ANNUVIA_MARK_FIRST_IDLE();
#endif
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return 0;
        if (dialog && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
