#include "windows/frmNagScreen2/frmNagScreen2.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "windows/frmNagScreen/frmNagScreen.h"
#include "core/web/modHelp.h"

namespace annuvia {

namespace {

using K = ControlKind;
using N = frmNagScreen2;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr FontSpec kTitleFont{L"MS Sans Serif", 1800, false, false};
constexpr FontSpec kSupportFont{L"Verdana", 975, true, false};
constexpr FontSpec kVisitFont{L"Verdana", 1425, false, false};
constexpr FontSpec kFrameFont{L"Verdana", 975, true, false};
constexpr FontSpec kOtherSoftwaresFont{L"Verdana", 900, false, false};
constexpr FontSpec kGoToHomeFont{L"Verdana", 900, true, true};

// After a change of DPI: the caption sizes itself again and the texts fit themselves anew.
constexpr UINT kFitTextsMessage = WM_APP + 1;

constexpr ControlSpec kControls[] = {
    // Exit comes first in the tab order, so it holds the focus when the screen opens.
    {.id = N::cmdClose, .kind = K::Button, .caption = L"E&xit", .at = {6000, 2760, 1245, 375},
     .textColor = kBlack, .backColor = kButtonFace},
    {.id = N::picNagscreen2Icon, .kind = K::Icon, .at = {360, 120, 540, 540}},  // the start-up window's icon
    {.id = N::lblNagScreen2Caption, .kind = K::Label, .at = {1080, 240, 0, 0}, .font = kTitleFont,
     .textColor = kBlack},
    {.id = N::Label2, .kind = K::Label, .at = {120, 840, 6975, 1095}, .font = kSupportFont, .textColor = kBlack},
    {.id = N::Check1, .kind = K::PushCheckBox, .caption = kVisitCaption, .at = {30, 2040, 7185, 555},
     .font = kVisitFont, .textColor = kBlack, .backColor = kButtonFace, .handPointer = true},
    // The link comes before the refer-a-friend form in the tab order.
    {.id = N::Frame6, .kind = K::Frame, .caption = L"Download Corvane Softwares", .at = {7320, 120, 3735, 4575},
     .font = kFrameFont, .backColor = kNavy},
    {.id = N::Label3, .parent = N::Frame6, .kind = K::Label, .caption = kOtherSoftwaresText,
     .at = {120, 360, 3495, 3855}, .font = kOtherSoftwaresFont},
    {.id = N::lblGoToHome, .parent = N::Frame6, .kind = K::LinkLabel, .caption = kGoToHomeCaption,
     .at = {75, 4250, 3585, 210}, .font = kGoToHomeFont, .textColor = kYellow},
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

// Texts in boxes of a fixed size: each keeps its designed type wherever it fits.
struct Fitted {
    int id;
    bool oneLine;
    int margin;  // pixels at 96 DPI the control keeps for itself on each side
};
constexpr Fitted kFitted[] = {
    {N::Label2, false, 0},
    {N::Check1, true, 4},
    {N::Label3, false, 0},
    {N::lblGoToHome, false, 0},
};

const ControlSpec& DesignOf(int id) {
    for (const ControlSpec& design : kControls) {
        if (design.id == id) return design;
    }
    return kControls[0];
}

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

frmNagScreen2::frmNagScreen2(AppContext& context)
    : Form(context.forms,
           FormDesign{L"Annuvia_frmNagScreen2", kWindowTitle, 11115, 4725, kWhite, kControls, false}),
      context_(context) {}

frmNagScreen2::~frmNagScreen2() {
    // The window shows the icon and the fonts: they go once it is gone.
    DestroyFormWindow();
    if (icon_) DestroyIcon(icon_);
    for (HFONT font : fittedFonts_) DeleteObject(font);
}

void frmNagScreen2::Form_Load() {
    Platform& platform = context_.platform;
    // 1. Title and caption.
    SetWindowTextW(Hwnd(), kWindowTitle);
    SetWindowTextW(Control(lblNagScreen2Caption), kWindowTitle);
    FitCaption();
    // 2. The program icon, image 1 of the start-up window's image list.
    if (!icon_ && context_.nagScreen) {
        if (HIMAGELIST images = context_.nagScreen->IMGIcon()) icon_ = ImageList_GetIcon(images, 0, ILD_NORMAL);
    }
    if (icon_) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    SetIcon(picNagscreen2Icon, icon_);
    // 3. A fresh seed, and one draw for the support text.
    platform.SeedRandomFromTimer();
    SetWindowTextW(Control(Label2), kSupportTexts[SupportTextIndex(platform.NextRandom())]);
    FitTexts();
    // The address boxes filter typed keys.
    SubclassControl(txtEmail);
    SubclassControl(txtFriendEmail);
    // 4. Above every window that is not itself topmost, shown without being activated.
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void frmNagScreen2::Form_Unload() { context_.unloadAllAndEnd(); }

void frmNagScreen2::cmdClose_Click() { context_.unloadAllAndEnd(); }

void frmNagScreen2::Check1_Click() {
    HWND box = Control(Check1);
    if (SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) return;
    // Clearing the box by message raises no click of its own: one tick, one page.
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    OpenHomePage(context_.platform);
}

void frmNagScreen2::lblGoToHome_Click() { OpenSoftwaresPage(context_.platform); }

void frmNagScreen2::cmdSubmit_Click() {
    const TellAFriendFields fields{WindowText(Control(txtName)), WindowText(Control(txtEmail)),
                                   WindowText(Control(txtMessage)), WindowText(Control(txtFriendName)),
                                   WindowText(Control(txtFriendEmail))};
    Platform& platform = context_.platform;
    if (const wchar_t* message = SubmitTellAFriend(platform, fields, tellAFriend_))
        platform.ShowMessage(Hwnd(), message, MsgButtons::OK, MsgIcon::Critical);
}

void frmNagScreen2::PromptOnFocus(int id, bool gained) {
    for (const Prompt& prompt : kPrompts) {
        if (prompt.id != id) continue;
        HWND box = Control(id);
        const std::wstring text = WindowText(box);
        const auto replacement = gained ? TextOnGotFocus(text, prompt.text) : TextOnLostFocus(text, prompt.text);
        if (replacement) SetWindowTextW(box, replacement->c_str());
        return;
    }
}

void frmNagScreen2::OnCommand(int id, int code) {
    switch (id) {
        case cmdClose:
            if (code == BN_CLICKED) cmdClose_Click();
            break;
        case Check1:
            if (code == BN_CLICKED) Check1_Click();
            break;
        case lblGoToHome:
            if (code == STN_CLICKED) lblGoToHome_Click();
            break;
        case cmdSubmit:
            if (code == BN_CLICKED) cmdSubmit_Click();
            break;
        case txtName: case txtEmail: case txtFriendEmail: case txtFriendName: case txtMessage:
            if (code == EN_SETFOCUS || code == EN_KILLFOCUS) PromptOnFocus(id, code == EN_SETFOCUS);
            break;
        default:
            break;  // Enter elsewhere and Esc arrive as IDOK and IDCANCEL: there is no cancel button
    }
}

bool frmNagScreen2::OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM, LRESULT* result) {
    // A typed space in an address box is refused; pasted text passes.
    if (msg == WM_CHAR && (id == txtEmail || id == txtFriendEmail) &&
        IsRefusedAddressKey(static_cast<wchar_t>(wp))) {
        context_.platform.ShowMessage(Hwnd(), kMsgAddressSpace, MsgButtons::OK, MsgIcon::Critical);
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
        case WM_DPICHANGED:
            // The form lays its controls out again from the table, in the designed type.
            PostMessageW(Hwnd(), kFitTextsMessage, 0, 0);
            return false;
        case kFitTextsMessage:
            FitCaption();
            FitTexts();
            *result = 0;
            return true;
        default:
            return false;
    }
}

void frmNagScreen2::FitCaption() {
    HWND label = Control(lblNagScreen2Caption);
    if (!label) return;
    const std::wstring text = WindowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT rc{};
    DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmNagScreen2::FitTexts() {
    // A face other than the designed one (a substitute for it, say) or the
    // rounding at some DPI can make a text run past its box. Such a text
    // steps down a quarter point at a time until it fits.
    std::vector<HFONT> previous = std::move(fittedFonts_);
    fittedFonts_.clear();
    auto isPrevious = [&](HFONT font) { return std::find(previous.begin(), previous.end(), font) != previous.end(); };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Fitted& fitted : kFitted) {
        HWND control = Control(fitted.id);
        if (!control) continue;
        const std::wstring text = WindowText(control);
        const int margin = MulDiv(fitted.margin, static_cast<int>(Dpi()), 96);
        RECT box;
        GetClientRect(control, &box);
        const int width = box.right - 2 * margin, height = box.bottom - 2 * margin;
        auto fits = [&](HFONT font) {
            HGDIOBJ old = SelectObject(dc, font);
            RECT rc{0, 0, width, 0};
            DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | (fitted.oneLine ? DT_SINGLELINE : DT_WORDBREAK));
            SelectObject(dc, old);
            return rc.right <= width && rc.bottom <= height;
        };
        // The form's own font is the designed type; one of ours is left from an earlier fit.
        HFONT current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const bool designed = !isPrevious(current);
        if (designed && fits(current)) continue;
        FontSpec smaller = DesignOf(fitted.id).font;
        const int smallest = smaller.hundredthsOfPoint / 2;
        for (int size = smaller.hundredthsOfPoint - (designed ? 25 : 0); size >= smallest; size -= 25) {
            smaller.hundredthsOfPoint = size;
            HFONT font = CreateFontAt(smaller, Dpi());
            if (!font) break;
            if (fits(font) || size - 25 < smallest) {
                SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
                fittedFonts_.push_back(font);
                break;
            }
            DeleteObject(font);
        }
    }
    DeleteDC(dc);
    for (HFONT font : previous) {
        bool inUse = false;
        for (const Fitted& fitted : kFitted) {
            inUse = inUse || reinterpret_cast<HFONT>(SendMessageW(Control(fitted.id), WM_GETFONT, 0, 0)) == font;
        }
        if (inUse) {
            fittedFonts_.push_back(font);
        } else {
            DeleteObject(font);
        }
    }
}

}  // namespace annuvia
