#include "forms/control_kinds.h"

#include <cstddef>

namespace annuvia {

namespace {

using K = ControlKind;

// In the order of ControlKind.
constexpr ControlKindTraits kKinds[] = {
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

// What the form does for a kind in place of the control (its keys, its
// painting) reaches the control only through its subclassing.
constexpr bool SubclassedWhereNeeded() {
    for (const ControlKindTraits& kind : kKinds) {
        if ((kind.link || kind.keys != KeyRule::Own || kind.repaintsFromPicture || kind.programIcon) &&
            !kind.subclassed)
            return false;
    }
    return true;
}
static_assert(SubclassedWhereNeeded(), "every kind the form handles messages for is subclassed");

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
            if (!(lp & (LPARAM{1} << 30)))
                SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                             reinterpret_cast<LPARAM>(link));
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

}  // namespace

const ControlKindTraits& TraitsOf(ControlKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

bool KindMessage(const ControlKindTraits& kind, HWND control, UINT msg, WPARAM wp, LPARAM lp, WNDPROC own,
                 LRESULT* result) {
    if (kind.link) return LinkMessage(control, msg, wp, lp, own, result);
    if (kind.keys != KeyRule::Own)
        return MultiLineMessage(kind.keys == KeyRule::ReadOnly, control, msg, wp, lp, own, result);
    return false;
}

}  // namespace annuvia
