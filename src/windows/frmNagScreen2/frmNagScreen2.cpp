#include "windows/frmNagScreen2/frmNagScreen2.h"

#include <string>

#include "core/web/modHelp.h"
#include "forms/window_text.h"

namespace annuvia {

namespace {

using K = ControlKind;
using N = frmNagScreen2;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr FontRow kTitleFont{L"MS Sans Serif", 1800, false, false};
constexpr FontRow kSupportFont{L"Verdana", 975, true, false};
constexpr FontRow kVisitFont{L"Verdana", 1425, false, false};
constexpr FontRow kFrameFont{L"Verdana", 975, true, false};
constexpr FontRow kOtherSoftwaresFont{L"Verdana", 900, false, false};
constexpr FontRow kGoToHomeFont{L"Verdana", 900, true, true};

constexpr ControlRow kControls[] = {
    // Exit comes first in the tab order, so it holds the focus when the screen opens.
    {.id = N::cmdClose, .kind = K::Button, .caption = L"E&xit", .at = {6000, 2760, 1245, 375},
     .textColor = kBlack, .backColor = kButtonFace},
    {.id = N::picNagscreen2Icon, .kind = K::Icon, .at = {360, 120, 540, 540}},  // the start-up window's icon
    {.id = N::lblNagScreen2Caption, .kind = K::Label, .at = {1080, 240, 0, 0}, .font = kTitleFont,
     .textColor = kBlack, .fit = TextFit::SizeToText},
    {.id = N::Label2, .kind = K::Label, .at = {120, 840, 6975, 1095}, .font = kSupportFont, .textColor = kBlack,
     .fit = TextFit::Wrapped},
    {.id = N::Check1, .kind = K::PushCheckBox, .caption = kVisitCaption, .at = {30, 2040, 7185, 555},
     .font = kVisitFont, .textColor = kBlack, .backColor = kButtonFace, .handPointer = true,
     .fit = TextFit::OneLine, .fitMargin = 4},
    // The link comes before the refer-a-friend form in the tab order.
    {.id = N::Frame6, .kind = K::Frame, .caption = L"Download Corvane Softwares", .at = {7320, 120, 3735, 4575},
     .font = kFrameFont, .backColor = kNavy},
    {.id = N::Label3, .parent = N::Frame6, .kind = K::Label, .caption = kOtherSoftwaresText,
     .at = {120, 360, 3495, 3855}, .font = kOtherSoftwaresFont, .fit = TextFit::Wrapped},
    {.id = N::lblGoToHome, .parent = N::Frame6, .kind = K::LinkLabel, .caption = kGoToHomeCaption,
     .at = {75, 4250, 3585, 210}, .font = kGoToHomeFont, .textColor = kYellow, .fit = TextFit::Wrapped},
    // Each field comes after a hidden label that names it for a screen reader
    // (its prompt goes when it takes the focus).
    {.id = N::Frame2, .kind = K::Frame, .caption = L"Refer A Friend", .at = {120, 3240, 7065, 1455},
     .font = kFrameFont, .backColor = kNavy},
    {.id = N::lblForName, .parent = N::Frame2, .kind = K::Label, .caption = kPromptName,
     .at = {85, 360, 3375, 285}, .visible = false},
    {.id = N::txtName, .parent = N::Frame2, .kind = K::TextBox, .caption = kPromptName,
     .at = {85, 360, 3375, 285}, .textColor = kBlack, .backColor = kWhite},
    {.id = N::cmdSubmit, .parent = N::Frame2, .kind = K::Button, .caption = L"Refer A Friend &Now",
     .at = {1920, 1080, 3375, 285}, .font = kVerdana825Bold, .textColor = kBlack, .backColor = kButtonFace},
    {.id = N::lblForEmail, .parent = N::Frame2, .kind = K::Label, .caption = kPromptEmail,
     .at = {3600, 360, 3375, 285}, .visible = false},
    {.id = N::txtEmail, .parent = N::Frame2, .kind = K::TextBox, .caption = kPromptEmail,
     .at = {3600, 360, 3375, 285}, .textColor = kBlack, .backColor = kWhite},
    {.id = N::lblForFriendEmail, .parent = N::Frame2, .kind = K::Label, .caption = kPromptFriendEmail,
     .at = {3600, 720, 3375, 285}, .visible = false},
    {.id = N::txtFriendEmail, .parent = N::Frame2, .kind = K::TextBox, .caption = kPromptFriendEmail,
     .at = {3600, 720, 3375, 285}, .textColor = kBlack, .backColor = kWhite},
    {.id = N::lblForFriendName, .parent = N::Frame2, .kind = K::Label, .caption = kPromptFriendName,
     .at = {85, 720, 3375, 285}, .visible = false},
    {.id = N::txtFriendName, .parent = N::Frame2, .kind = K::TextBox, .caption = kPromptFriendName,
     .at = {85, 720, 3375, 285}, .textColor = kBlack, .backColor = kWhite},
    // Below the frame's edge, so never seen; still enabled and last in the tab order.
    {.id = N::lblForMessage, .parent = N::Frame2, .kind = K::Label, .caption = kPromptMessage,
     .at = {4800, 3600, 1815, 495}, .visible = false},
    {.id = N::txtMessage, .parent = N::Frame2, .kind = K::MultiLineText, .caption = kInitialMessageText,
     .at = {4800, 3600, 1815, 495}, .textColor = kBlack, .backColor = kWhite},
};

struct Prompt {
    int id;
    const wchar_t* text;
};
constexpr Prompt kPrompts[] = {
    {N::txtName, kPromptName},
    {N::txtEmail, kPromptEmail},
    {N::txtFriendEmail, kPromptFriendEmail},
    {N::txtFriendName, kPromptFriendName},
    {N::txtMessage, kPromptMessage},
};

}  // namespace

// Enter elsewhere than on a button and Esc arrive as IDOK and IDCANCEL: there is no cancel button.
const ControlEvent frmNagScreen2::kEvents[] = {
    {cmdClose, BN_CLICKED, Handler<&N::cmdClose_Click>},
    {Check1, BN_CLICKED, Handler<&N::Check1_Click>},
    {lblGoToHome, STN_CLICKED, Handler<&N::lblGoToHome_Click>},
    {cmdSubmit, BN_CLICKED, Handler<&N::cmdSubmit_Click>},
    // Each box's GotFocus and LostFocus: its prompt goes and comes back.
    {txtName, EN_SETFOCUS, Handler<&N::PromptOnFocus>},
    {txtName, EN_KILLFOCUS, Handler<&N::PromptOnFocus>},
    {txtEmail, EN_SETFOCUS, Handler<&N::PromptOnFocus>},
    {txtEmail, EN_KILLFOCUS, Handler<&N::PromptOnFocus>},
    {txtFriendEmail, EN_SETFOCUS, Handler<&N::PromptOnFocus>},
    {txtFriendEmail, EN_KILLFOCUS, Handler<&N::PromptOnFocus>},
    {txtFriendName, EN_SETFOCUS, Handler<&N::PromptOnFocus>},
    {txtFriendName, EN_KILLFOCUS, Handler<&N::PromptOnFocus>},
    {txtMessage, EN_SETFOCUS, Handler<&N::PromptOnFocus>},
    {txtMessage, EN_KILLFOCUS, Handler<&N::PromptOnFocus>},
};

frmNagScreen2::frmNagScreen2(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms, FormDesign{L"Annuvia_frmNagScreen2", kWindowTitle, 11115, 4725, kWhite, kControls, false, true,
                             kEvents}),
      platform_(platform),
      program_(program) {}

frmNagScreen2::~frmNagScreen2() {
    // The window shows the icon: it goes once the window is gone.
    DestroyFormWindow();
    if (icon_) DestroyIcon(icon_);
}

void frmNagScreen2::Form_Load() {
    // 1. Title and caption.
    SetWindowTextW(Hwnd(), kWindowTitle);
    SetWindowTextW(Control(lblNagScreen2Caption), kWindowTitle);
    // 2. The program icon, image 1 of the start-up window's image list.
    if (!icon_) icon_ = program_.StartUpWindowIcon();
    if (icon_) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    SetIcon(picNagscreen2Icon, icon_);
    // 3. A fresh seed, and one draw for the support text.
    platform_.SeedRandomFromTimer();
    SetWindowTextW(Control(Label2), kSupportTexts[SupportTextIndex(platform_.NextRandom())]);
    FitTexts();  // the caption and the texts, now that they are in
    // 4. Above every window that is not itself topmost, shown without being activated.
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void frmNagScreen2::Form_Unload() { program_.UnloadAllAndEnd(); }

void frmNagScreen2::cmdClose_Click() { program_.UnloadAllAndEnd(); }

void frmNagScreen2::Check1_Click() {
    HWND box = Control(Check1);
    if (SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) return;
    // Clearing the box by message raises no click of its own: one tick, one page.
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    OpenHomePage(platform_);
}

void frmNagScreen2::lblGoToHome_Click() { OpenSoftwaresPage(platform_); }

void frmNagScreen2::cmdSubmit_Click() {
    const TellAFriendFields fields{WindowText(Control(txtName)), WindowText(Control(txtEmail)),
                                   WindowText(Control(txtMessage)), WindowText(Control(txtFriendName)),
                                   WindowText(Control(txtFriendEmail))};
    if (const wchar_t* message = SubmitTellAFriend(platform_, fields, tellAFriend_))
        platform_.ShowMessage(Hwnd(), message, MsgButtons::OK, MsgIcon::Critical);
}

void frmNagScreen2::PromptOnFocus(int id, int notification) {
    const bool gained = notification == EN_SETFOCUS;
    for (const Prompt& prompt : kPrompts) {
        if (prompt.id != id) continue;
        HWND box = Control(id);
        const std::wstring text = WindowText(box);
        const auto replacement = gained ? TextOnGotFocus(text, prompt.text) : TextOnLostFocus(text, prompt.text);
        if (replacement) SetWindowTextW(box, replacement->c_str());
        return;
    }
}

bool frmNagScreen2::OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM, LRESULT* result) {
    // A typed space in an address box is refused; pasted text passes.
    if (msg == WM_CHAR && (id == txtEmail || id == txtFriendEmail) &&
        IsRefusedAddressKey(static_cast<wchar_t>(wp))) {
        platform_.ShowMessage(Hwnd(), kMsgAddressSpace, MsgButtons::OK, MsgIcon::Critical);
        SetFocus(Control(id));
        *result = 0;
        return true;
    }
    return false;
}

bool frmNagScreen2::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
        case WM_WINDOWPOSCHANGED:
            // Each time the screen shows, Exit takes the focus once it is active.
            if (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) {
                focusExitOnActivate_ = true;
                if (GetActiveWindow() == Hwnd()) {
                    focusExitOnActivate_ = false;
                    SetFocus(Control(cmdClose));
                }
            }
            return false;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp) && focusExitOnActivate_ && IsWindowEnabled(Hwnd())) {
                focusExitOnActivate_ = false;
                SetFocus(Control(cmdClose));
                *result = 0;
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace annuvia
