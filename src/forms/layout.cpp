#include "forms/layout.h"

#include <commctrl.h>

#include <string>
#include <tuple>

#include "forms/control_kinds.h"
#include "win32/bench_marks.h"
#include "win32/system_function.h"

namespace annuvia {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// A drop-down list's designed height is that of the box with its list open;
// the list shows as many entries as fit in it (never fewer than one).
void FitOpenList(HWND list, int openHeight) {
    RECT closed{};
    GetWindowRect(list, &closed);
    const int item = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    if (item <= 0) return;
    const int entries = (openHeight - (closed.bottom - closed.top) - 2) / item;
    SendMessageW(list, CB_SETMINVISIBLE, static_cast<WPARAM>(entries > 1 ? entries : 1), 0);
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

// Where a window of a size goes to be centred in an area.
POINT CentredOn(const RECT& area, SIZE size) {
    return POINT{area.left + ((area.right - area.left) - size.cx) / 2,
                 area.top + ((area.bottom - area.top) - size.cy) / 2};
}

HWND MakeControl(const ControlRow& row, HWND parent, UINT dpi, [[maybe_unused]] const wchar_t* form) {
    const KindRow& kind = RowOf(row.kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (row.visible ? WS_VISIBLE : 0u) | kind.style;
    if (kind.alignsText) style |= row.centred ? SS_CENTER : row.singleLine ? SS_LEFTNOWORDWRAP : SS_LEFT;
    const Twips& at = row.at;
    HWND control = CreateWindowExW(kind.exStyle, kind.className ? kind.className : FrameClassName(),
                                   row.caption ? row.caption : L"", style, TwipsToPixels(at.left, dpi),
                                   TwipsToPixels(at.top, dpi), TwipsToPixels(at.width, dpi),
                                   TwipsToPixels(at.height, dpi), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (kind.openListHeight) ANNUVIA_MARK("drop-down list made", form);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(row.font, dpi)), FALSE);
    if (kind.openListHeight) {
        ANNUVIA_MARK("its font set", form);
        FitOpenList(control, TwipsToPixels(at.height, dpi));
    }
    if (kind.unlimitedText) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

void PlaceControl(HWND control, const ControlRow& row, UINT dpi) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(row.font, dpi)), FALSE);
    const Twips& at = row.at;
    SetWindowPos(control, nullptr, TwipsToPixels(at.left, dpi), TwipsToPixels(at.top, dpi),
                 TwipsToPixels(at.width, dpi), TwipsToPixels(at.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    if (RowOf(row.kind).openListHeight) FitOpenList(control, TwipsToPixels(at.height, dpi));
}

// The window's outer size for a client size, at a DPI.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, bool hasMenu, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = LoadedFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rc{0, 0, clientWidth, clientHeight};
    if (adjustForDpi) {
        adjustForDpi(&rc, style, hasMenu, kFormExStyle, dpi);
    } else {
        AdjustWindowRectEx(&rc, style, hasMenu, kFormExStyle);
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

UINT DpiOfWindow(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = LoadedFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (hwnd && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi) return dpi;
    }
    // The system's DPI without a device context of the screen, where there is the call for it.
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto getDpiForSystem = LoadedFunction<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    if (!hwnd && getDpiForSystem) {
        const UINT dpi = getDpiForSystem();
        if (dpi) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

HFONT SharedFont(const FontRow& font, UINT dpi) {
    static std::map<std::tuple<std::wstring, int, bool, bool, UINT>, HFONT> fonts;
    HFONT& shared = fonts[{font.face, font.hundredthsOfPoint, font.bold, font.underline, dpi}];
    if (shared) return shared;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.hundredthsOfPoint, static_cast<int>(dpi), 7200);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    shared = CreateFontIndirectW(&lf);
    return shared;
}

DWORD FormStyle(bool minButton) { return minButton ? kFormStyle : kFormStyle & ~DWORD{WS_MINIMIZEBOX}; }

SIZE FrameSize(SIZE clientTwips, DWORD style, bool hasMenu, UINT dpi) {
    return WindowSizeForClient(TwipsToPixels(clientTwips.cx, dpi), TwipsToPixels(clientTwips.cy, dpi), style, hasMenu,
                               dpi);
}

POINT CentredOnPrimaryScreen(SIZE size) {
    return CentredOn(WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)), size);
}

void CentreOnScreen(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    const POINT place = CentredOn(WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)),
                                  SIZE{rc.right - rc.left, rc.bottom - rc.top});
    SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveTo(HWND window, const RECT& place) {
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

PlacedControls MakeControls(ControlTable table, HWND window, COLORREF windowBack, UINT dpi, const wchar_t* form) {
    PlacedControls controls;
    for (const ControlRow& row : table) {
        HWND parent = window;
        COLORREF parentBack = windowBack;
        if (row.parent != 0) {
            auto it = controls.find(row.parent);
            if (it != controls.end()) {
                parent = it->second.hwnd;
                parentBack = it->second.back;
            }
        }
        const COLORREF back = row.backColor == kInherit ? parentBack : row.backColor;
        controls[row.id] = PlacedControl{&row, MakeControl(row, parent, dpi, form), back};
    }
    return controls;
}

void ApplyLayout(HWND window, SIZE clientTwips, DWORD style, const PlacedControls& controls, UINT dpi) {
    const SIZE size = FrameSize(clientTwips, style, GetMenu(window) != nullptr, dpi);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [id, control] : controls) PlaceControl(control.hwnd, *control.row, dpi);
    InvalidateRect(window, nullptr, TRUE);
}

const PlacedControl* Find(const PlacedControls& controls, HWND hwnd) {
    for (const auto& [id, control] : controls) {
        if (control.hwnd == hwnd) return &control;
    }
    return nullptr;
}

void UpdateStackedStops(const PlacedControls& controls) {
    const HWND focus = GetFocus();
    HWND front = nullptr;
    bool focusBehind = false;
    for (const auto& [id, control] : controls) {
        if (!RowOf(control.row->kind).stacked) continue;
        bool behind = false;
        for (HWND above = GetWindow(control.hwnd, GW_HWNDPREV); above && !behind;
             above = GetWindow(above, GW_HWNDPREV)) {
            const PlacedControl* other = Find(controls, above);
            behind = other && other->row->kind == control.row->kind;
        }
        const LONG_PTR style = GetWindowLongPtrW(control.hwnd, GWL_STYLE);
        const LONG_PTR wanted = behind ? (style & ~LONG_PTR{WS_TABSTOP}) : (style | WS_TABSTOP);
        if (wanted != style) SetWindowLongPtrW(control.hwnd, GWL_STYLE, wanted);
        if (!behind) front = control.hwnd;
        focusBehind = focusBehind || (behind && control.hwnd == focus);
    }
    if (focusBehind && front) SetFocus(front);
}

}  // namespace annuvia
