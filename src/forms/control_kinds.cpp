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

}  // namespace

const ControlKindTraits& TraitsOf(ControlKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

}  // namespace annuvia
