#include "forms/control_kinds.h"

#include <cstddef>

#include "forms/program_icon.h"
#include "resource.h"

namespace annuvia {

namespace {

using K = ControlKind;

// In the order of ControlKind.
constexpr KindRow kKinds[] = {
    {.kind = K::Frame, .className = nullptr, .style = WS_CLIPCHILDREN, .exStyle = WS_EX_CONTROLPARENT,
     .transparent = true},
    {.kind = K::Label, .alignsText = true, .transparent = true},
    {.kind = K::LinkLabel,
     .style = SS_NOTIFY | WS_TABSTOP,
     .alignsText = true,
     .highContrastText = COLOR_HOTLIGHT,
     .transparent = true,
     .link = true,
     .subclassed = true},
    {.kind = K::Banner,
     .style = SS_NOTIFY | WS_TABSTOP,
     .alignsText = true,
     .highContrastText = COLOR_HOTLIGHT,
     .link = true,
     .stacked = true,
     .subclassed = true},
    {.kind = K::TextBox,
     .className = L"EDIT",
     .style = WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT,
     .exStyle = WS_EX_CLIENTEDGE,
     .subclassed = true,
     .unlimitedText = true,
     .repaintsFromPicture = true},
    {.kind = K::LockedText,
     .className = L"EDIT",
     .style = WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | ES_LEFT,
     .exStyle = WS_EX_CLIENTEDGE,
     .keys = KeyRule::ReadOnly,
     .subclassed = true},
    // Lines are not wrapped: wrapping a long pasted line costs the edit time
    // for every line it makes (minutes for 100,000 characters).
    {.kind = K::MultiLineText,
     .className = L"EDIT",
     .style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | ES_LEFT,
     .exStyle = WS_EX_CLIENTEDGE,
     .keys = KeyRule::MultiLine,
     .subclassed = true,
     .unlimitedText = true},
    {.kind = K::DropList,
     .className = L"COMBOBOX",
     .style = WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
     .systemColours = true,
     .openListHeight = true},
    {.kind = K::Button,
     .className = L"BUTTON",
     .style = WS_TABSTOP | BS_OWNERDRAW,
     .highContrastText = COLOR_BTNTEXT,
     .highContrastBack = COLOR_BTNFACE,
     .ownerDrawn = true},
    {.kind = K::PushCheckBox,
     .className = L"BUTTON",
     .style = WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
     .highContrastText = COLOR_BTNTEXT,
     .highContrastBack = COLOR_BTNFACE},
    {.kind = K::Line, .highContrastBack = COLOR_WINDOWTEXT},
    {.kind = K::Icon, .transparent = true, .subclassed = true, .programIcon = true},
};

constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
    }
    return std::size(kKinds) == static_cast<std::size_t>(ControlKind::Icon) + 1;
}
static_assert(InKindOrder(), "one row for each control kind, in the order of ControlKind");

// What a kind does in place of the control (its keys, its painting) reaches
// the control only through its subclassing.
constexpr bool SubclassedWhereNeeded() {
    for (const KindRow& kind : kKinds) {
        if ((kind.link || kind.keys != KeyRule::Own || kind.repaintsFromPicture || kind.programIcon) &&
            !kind.subclassed)
            return false;
    }
    return true;
}
static_assert(SubclassedWhereNeeded(), "every kind that answers its controls' own messages is subclassed");

// Tells the control's parent what a click tells it (a frame passes it on to the form).
void Notify(HWND control, int notification) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), notification),
                 reinterpret_cast<LPARAM>(control));
}

// The pointer over links and whatever acts as one: the program's hand, or the system's.
HCURSOR HandPointer() {
    static const HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    return own ? own : LoadCursorW(nullptr, IDC_HAND);
}

bool LinkMessage(HWND link, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own, LRESULT* result) {
    // A link behaves as the system's link control does: Enter and Space open it.
    const auto opens = [](WPARAM key) { return key == VK_RETURN || key == VK_SPACE; };
    switch (msg) {
        case WM_GETDLGCODE: {
            // Otherwise the dialog manager takes Enter for the default button.
            *result = CallWindowProcW(own, link, msg, wp, lp);
            const auto* key = reinterpret_cast<const MSG*>(lp);
            if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && opens(key->wParam))
                *result |= DLGC_WANTMESSAGE;
            return true;
        }
        case WM_KEYDOWN:
            if (!opens(wp)) return false;
            // As a click does, and once however long the key is held.
            if (!(lp & (LPARAM{1} << 30))) Notify(link, STN_CLICKED);
            *result = 0;
            return true;
        case WM_CHAR:
            if (!opens(wp)) return false;
            *result = 0;
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
            *result = CallWindowProcW(own, link, msg, wp, lp);
            InvalidateRect(link, nullptr, TRUE);
            return true;
        case WM_PRINTCLIENT:
            // The link as it paints itself and, while focused, the focus rectangle around it.
            *result = CallWindowProcW(own, link, msg, wp, lp);
            if (GetFocus() == link && !(SendMessageW(link, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
                RECT rc;
                GetClientRect(link, &rc);
                DrawFocusRect(reinterpret_cast<HDC>(wp), &rc);
            }
            return true;
        case WM_PAINT: {
            if (wp || GetFocus() != link) return false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(link, &ps);
            LinkMessage(link, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT, own, result);
            EndPaint(link, &ps);
            *result = 0;
            return true;
        }
        default:
            return false;
    }
}

bool MultiLineMessage(bool readOnly, HWND edit, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own, LRESULT* result) {
    // A multi-line edit asks for every key. Tab and Shift+Tab must still move
    // on, so it gives them up to the dialog manager, and a read-only one gives
    // up Enter and Esc as well. Esc reaching the edit itself would close the
    // window (the edit turns it into WM_CLOSE of its parent): it is dropped.
    if (msg == WM_GETDLGCODE) {
        LRESULT code = CallWindowProcW(own, edit, msg, wp, lp) & ~static_cast<LRESULT>(DLGC_WANTTAB);
        const auto* key = reinterpret_cast<const MSG*>(lp);
        const bool tabOrEsc = key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                              (key->wParam == VK_TAB || key->wParam == VK_ESCAPE);
        if (tabOrEsc || readOnly) code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        *result = code;
        return true;
    }
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wp == VK_ESCAPE) {
        *result = 0;
        return true;
    }
    return false;
}

// The frame container, a window class of our own: it paints an etched border
// and its caption in the colours its form gives it, and passes every
// notification of the controls inside it on to its parent (a button's window
// procedure, a group box's, would swallow them).
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

// An owner-drawn push button in its background, with its access key
// underlined and the focus rectangle when it has the focus.
void PaintButton(const DRAWITEMSTRUCT& item, HBRUSH back) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    FillRect(dc, &rc, back);
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

// An icon box (its WM_PAINT): its background and, in its middle, the icon its
// form gave (if any) or else the program's, at the icon's size for the DPI.
void PaintIconBox(const PlacedControl& box, const KindSurroundings& form) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box.hwnd, &ps);
    RECT rc;
    GetClientRect(box.hwnd, &rc);
    FillRect(dc, &rc, form.palette.Brush(form.palette.Of(box).back));
    const int size = ProgramIconPixels(form.dpi);
    if (const HICON icon = box.icon ? *box.icon : ProgramIcon(size))
        DrawIconEx(dc, (rc.right - size) / 2, (rc.bottom - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
    EndPaint(box.hwnd, &ps);
}

}  // namespace

const KindRow& RowOf(ControlKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

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

bool ControlMessage(const PlacedControl& control, const KindSurroundings& form, UINT msg, WPARAM wp, LPARAM lp,
                    WNDPROC own, LRESULT* result) {
    const KindRow& kind = RowOf(control.row->kind);
    if (kind.link) return LinkMessage(control.hwnd, msg, wp, lp, own, result);
    if (kind.keys != KeyRule::Own)
        return MultiLineMessage(kind.keys == KeyRule::ReadOnly, control.hwnd, msg, wp, lp, own, result);
    if (msg != WM_PAINT || wp != 0) return false;
    if (kind.programIcon) {
        PaintIconBox(control, form);
    } else if (!kind.repaintsFromPicture || !form.pictures.Paint(control.hwnd)) {
        return false;
    }
    *result = 0;
    return true;
}

bool MessageAboutControl(const PlacedControls& controls, Palette& palette, UINT msg, WPARAM wp, LPARAM lp,
                         LRESULT* result) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    const bool colours = msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORBTN;
    // Enter on a focused push button presses it: owner-drawn buttons are
    // never default buttons, so the dialog manager sends IDOK.
    const bool enter = msg == WM_COMMAND && wp == MAKEWPARAM(IDOK, BN_CLICKED);
    HWND named = nullptr;
    if (colours) named = reinterpret_cast<HWND>(lp);
    if (msg == WM_DRAWITEM) named = item->hwndItem;
    if (msg == WM_SETCURSOR) named = reinterpret_cast<HWND>(wp);
    if (enter) named = GetFocus();
    const PlacedControl* control = named ? Find(controls, named) : nullptr;
    if (!control) return false;
    const KindRow& kind = RowOf(control->row->kind);
    const Palette::Colours colour = palette.Of(*control);
    if (colours && !kind.systemColours) {
        const auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, colour.text);
        SetBkColor(dc, colour.back);
        SetBkMode(dc, kind.transparent ? TRANSPARENT : OPAQUE);
        *result = reinterpret_cast<LRESULT>(palette.Brush(colour.back));
    } else if (msg == WM_DRAWITEM && kind.ownerDrawn) {
        PaintButton(*item, palette.Brush(colour.back));
        *result = TRUE;
    } else if (msg == WM_SETCURSOR && (kind.link || control->row->handPointer)) {
        SetCursor(HandPointer());
        *result = TRUE;
    } else if (enter && kind.ownerDrawn && IsWindowEnabled(named)) {
        Notify(named, BN_CLICKED);
        *result = 0;
    } else {
        return false;
    }
    return true;
}

}  // namespace annuvia
