#include "in_process/recording_platform.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace annuvia::test {

void Pump(App& app) {
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) app.Dispatch(msg);
}

void Key(App& app, HWND target, UINT msg, WPARAM key, LPARAM lp) {
    MSG m{};
    m.hwnd = target;
    m.message = msg;
    m.wParam = key;
    m.lParam = lp;
    app.Dispatch(m);
    Pump(app);
}

void Type(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void FillAndNext(App& app) {
    SetWindowTextW(app.Main().Control(frmMain::txtFirstName), L"ANN");
    SetWindowTextW(app.Main().Control(frmMain::txtLastName), L"LEE");
    Click(app.Main().Control(frmMain::cmdNext));
    Pump(app);
}

std::wstring ListText(HWND list) {
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return L"";
    wchar_t buffer[64] = {};
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

bool PutClipboardText(const std::wstring& text, HWND owner) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory) {
        memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    return memory != nullptr && GetClipboardOwner() == owner;
}

std::vector<DWORD> Pixels(HWND window, const std::function<void(HDC)>& paint) {
    RECT rc;
    GetClientRect(window, &rc);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    paint(memory);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + rc.right * rc.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

}  // namespace annuvia::test

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
