#include "forms/layout.h"

#include <commctrl.h>

#include "forms/control_kinds.h"
#include "win32/bench_marks.h"

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

HWND MakeControl(const ControlSpec& layout, HWND parent, UINT dpi, [[maybe_unused]] const wchar_t* form) {
    const ControlKindTraits& kind = TraitsOf(layout.kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (layout.visible ? WS_VISIBLE : 0u) | kind.style;
    if (kind.alignsText) style |= layout.centred ? SS_CENTER : layout.singleLine ? SS_LEFTNOWORDWRAP : SS_LEFT;
    const Twips& at = layout.at;
    HWND control = CreateWindowExW(kind.exStyle, kind.className ? kind.className : FrameClassName(),
                                   layout.caption ? layout.caption : L"", style, TwipsToPixels(at.left, dpi),
                                   TwipsToPixels(at.top, dpi), TwipsToPixels(at.width, dpi),
                                   TwipsToPixels(at.height, dpi), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (kind.openListHeight) ANNUVIA_MARK("drop-down list made", form);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(layout.font, dpi)), FALSE);
    if (kind.openListHeight) {
        ANNUVIA_MARK("its font set", form);
        FitOpenList(control, TwipsToPixels(at.height, dpi));
    }
    if (kind.unlimitedText) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

void PlaceControl(HWND control, const ControlSpec& layout, UINT dpi) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(layout.font, dpi)), FALSE);
    const Twips& at = layout.at;
    SetWindowPos(control, nullptr, TwipsToPixels(at.left, dpi), TwipsToPixels(at.top, dpi),
                 TwipsToPixels(at.width, dpi), TwipsToPixels(at.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    if (TraitsOf(layout.kind).openListHeight) FitOpenList(control, TwipsToPixels(at.height, dpi));
}

}  // namespace

DWORD FormStyle(bool minButton) { return minButton ? kFormStyle : kFormStyle & ~DWORD{WS_MINIMIZEBOX}; }

SIZE FrameSize(SIZE clientTwips, DWORD style, bool hasMenu, UINT dpi) {
    return WindowSizeForClient(TwipsToPixels(clientTwips.cx, dpi), TwipsToPixels(clientTwips.cy, dpi), style,
                               kFormExStyle, hasMenu, dpi);
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

PlacedControls MakeControls(std::span<const ControlSpec> design, HWND window, COLORREF windowBack, UINT dpi,
                            const wchar_t* form) {
    PlacedControls controls;
    for (const ControlSpec& layout : design) {
        HWND parent = window;
        COLORREF parentBack = windowBack;
        if (layout.parent != 0) {
            auto it = controls.find(layout.parent);
            if (it != controls.end()) {
                parent = it->second.hwnd;
                parentBack = it->second.back;
            }
        }
        const COLORREF back = layout.backColor == kInherit ? parentBack : layout.backColor;
        controls[layout.id] = PlacedControl{&layout, MakeControl(layout, parent, dpi, form), back};
    }
    return controls;
}

void ApplyLayout(HWND window, SIZE clientTwips, DWORD style, const PlacedControls& controls, UINT dpi) {
    const SIZE size = FrameSize(clientTwips, style, GetMenu(window) != nullptr, dpi);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [id, control] : controls) PlaceControl(control.hwnd, *control.layout, dpi);
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
        if (!TraitsOf(control.layout->kind).stacked) continue;
        bool behind = false;
        for (HWND above = GetWindow(control.hwnd, GW_HWNDPREV); above && !behind;
             above = GetWindow(above, GW_HWNDPREV)) {
            const PlacedControl* other = Find(controls, above);
            behind = other && other->layout->kind == control.layout->kind;
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
