#include "forms/controls.h"

#include <cwchar>
#include <string>
#include <vector>

#include "resource.h"
#include "win32/system_function.h"

namespace annuvia {

namespace {

template <typename Fn>
Fn User32Function(const char* name) {
    return LoadedFunction<Fn>(L"user32.dll", name);
}

// A frame's border and caption, in the colours its form gives it through WM_CTLCOLORSTATIC.
void PaintFrame(HWND hwnd, HDC dc) {
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, brush);
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd, caption, 256);
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT border = rc;
    if (caption[0]) border.top += tm.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (caption[0]) {
        RECT text{rc.left + 6, rc.top, rc.right - 6, rc.top + tm.tmHeight};
        DrawTextW(dc, caption, -1, &text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        RECT gap{text.left - 2, text.top, text.right + 2, text.bottom};
        FillRect(dc, &gap, brush);
        DrawTextW(dc, caption, -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (oldFont) SelectObject(dc, oldFont);
}

// Frames hold controls; a button's window procedure would swallow their
// notifications, so a frame is a small window of our own that paints the
// border and caption and passes every notification on to its parent.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), msg, wp, lp);
        case WM_SETFONT:
            SetWindowLongPtrW(hwnd, 0, static_cast<LONG_PTR>(wp));
            if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(hwnd, 0);
        case WM_ERASEBKGND:
            return 1;
        case WM_PRINTCLIENT:
            PaintFrame(hwnd, reinterpret_cast<HDC>(wp));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            PaintFrame(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

UINT DpiOfWindow(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi) return dpi;
    }
    // The system's DPI without a device context of the screen, where there is the call for it.
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    if (!hwnd && getDpiForSystem) {
        const UINT dpi = getDpiForSystem();
        if (dpi) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         bool hasMenu, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rc{0, 0, clientWidth, clientHeight};
    if (adjustForDpi) {
        adjustForDpi(&rc, style, hasMenu, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&rc, style, hasMenu, exStyle);
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

HFONT CreateFontAt(const FontSpec& layout, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(layout.hundredthsOfPoint, static_cast<int>(dpi), 7200);
    lf.lfWeight = layout.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = layout.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, layout.face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

HFONT SharedFont(const FontSpec& layout, UINT dpi) {
    struct Shared {
        wchar_t face[LF_FACESIZE];
        int hundredthsOfPoint;
        bool bold, underline;
        UINT dpi;
        HFONT font;
    };
    static std::vector<Shared> fonts;
    for (const Shared& known : fonts) {
        if (known.dpi == dpi && known.hundredthsOfPoint == layout.hundredthsOfPoint && known.bold == layout.bold &&
            known.underline == layout.underline && std::wcsncmp(known.face, layout.face, LF_FACESIZE - 1) == 0)
            return known.font;
    }
    HFONT font = CreateFontAt(layout, dpi);
    if (!font) return nullptr;
    Shared made{{}, layout.hundredthsOfPoint, layout.bold, layout.underline, dpi, font};
    lstrcpynW(made.face, layout.face, LF_FACESIZE);
    fonts.push_back(made);
    return font;
}

const wchar_t* FrameClassName() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FrameProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"AnnuviaFrame";
        RegisterClassExW(&wc);
        return L"AnnuviaFrame";
    }();
    return name;
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void PaintButton(const DRAWITEMSTRUCT& item, COLORREF back) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    wchar_t text[128] = {};
    GetWindowTextW(item.hwndItem, text, 128);
    RECT textRect = rc;
    if (pressed) OffsetRect(&textRect, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    DrawTextW(dc, text, -1, &textRect, format);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = rc;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

HCURSOR HandPointer() {
    static const HCURSOR hand = [] {
        HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
        return own ? own : LoadCursorW(nullptr, IDC_HAND);
    }();
    return hand;
}

HICON ProgramIcon() {
    static const auto icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ANNUVIA), IMAGE_ICON, 32, 32, LR_SHARED));
    return icon;
}

void PaintIconBox(HWND box, HICON icon, COLORREF back, UINT dpi) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT rc;
    GetClientRect(box, &rc);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    if (icon) {
        const int size = MulDiv(32, static_cast<int>(dpi), 96);
        DrawIconEx(dc, rc.left + (rc.right - rc.left - size) / 2, rc.top + (rc.bottom - rc.top - size) / 2, icon,
                   size, size, 0, nullptr, DI_NORMAL);
    }
    EndPaint(box, &ps);
}

}  // namespace annuvia
