// The yardstick of the start-up figures: a blank window and nothing else,
// built with the same compiler and flags as annuvia.exe. It registers its
// class, creates one overlapped window, shows it and runs the message loop.

#include <windows.h>

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
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BlankProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    HWND window = CreateWindowExW(0, kClassName, L"Blank", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 440,
                                  300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
