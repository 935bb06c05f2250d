// The yardstick of the start-up figures: a blank window and nothing else,
// built with the same compiler and flags as annuvia.exe. It registers its
// class, creates one overlapped window, shows it and runs the message loop.
// In the bench build it takes the same start-up marks as the program.
//
// Two more yardsticks come from this file. ANNUVIA_BLANK_THEMED: the program's
// manifest and common controls 6 loaded, the fixed price of the themed look.
// ANNUVIA_BLANK_CXX_RUNTIME: the C++ runtime linked in as every C++ program of
// ours has it (exceptions and the standard strings), for the size only.

#include <windows.h>

#ifdef ANNUVIA_BLANK_THEMED
#include <commctrl.h>
#endif
#ifdef ANNUVIA_BLANK_CXX_RUNTIME
#include <stdexcept>
#include <string>
#endif

#include "message_loop.h"
#include "win32/bench_marks.h"

namespace {

constexpr wchar_t kClassName[] = L"AnnuviaBenchBlank";

LRESULT CALLBACK BlankProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    ANNUVIA_MARK("wWinMain");
#ifdef ANNUVIA_BLANK_THEMED
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ANNUVIA_MARK("common controls");
#endif
#ifdef ANNUVIA_BLANK_CXX_RUNTIME
    std::wstring title = L"Blank";
    try {
        if (show < 0) throw std::runtime_error("never");
    } catch (const std::exception&) {
        title += L"!";
    }
#else
    const wchar_t* const title = L"Blank";
#endif
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BlankProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    ANNUVIA_MARK("class registered", kClassName);
    HWND window = CreateWindowExW(0, kClassName, &title[0], WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 440,
                                  300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ANNUVIA_MARK("window created", kClassName);
    ShowWindow(window, show);
    ANNUVIA_MARK("shown", kClassName);
    UpdateWindow(window);
    ANNUVIA_MARK("painted", kClassName);
    return RunMessageLoop();
}
