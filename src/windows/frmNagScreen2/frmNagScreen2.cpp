#include "windows/frmNagScreen2/frmNagScreen2.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resource.h"
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
    // id, container, kind, caption, left, top, width, height (twips), font, visible, text, back.
    // Exit comes first in the tab order, so it holds the focus when the screen opens.
    {N::cmdClose, 0, K::Button, L"E&xit", 6000, 2760, 1245, 375, kVerdana825, true, kBlack, kButtonFace},
    {N::picNagscreen2Icon, 0, K::Label, L"", 360, 120, 540, 540},  // painted with the program icon
    {N::lblNagScreen2Caption, 0, K::Label, L"", 1080, 240, 0, 0, kTitleFont, true, kBlack},
    {N::Label2, 0, K::Label, L"", 120, 840, 6975, 1095, kSupportFont, true, kBlack},
    {N::Check1, 0, K::PushCheckBox, kVisitCaption, 30, 2040, 7185, 555, kVisitFont, true, kBlack,
     kButtonFace},
    // The link comes before the refer-a-friend form in the tab order.
    {N::Frame6, 0, K::Frame, L"Download Corvane Softwares", 7320, 120, 3735, 4575, kFrameFont, true, kWhite,
     kNavy},
    {N::Label3, N::Frame6, K::Label, kOtherSoftwaresText, 120, 360, 3495, 3855, kOtherSoftwaresFont},
    {N::lblGoToHome, N::Frame6, K::LinkLabel, kGoToHomeCaption, 75, 4250, 3585, 210, kGoToHomeFont, true,
     kYellow},
    // Each field comes after a hidden label that names it for a screen reader
    // (its prompt goes when it takes the focus).
    {N::Frame2, 0, K::Frame, L"Refer A Friend", 120, 3240, 7065, 1455, kFrameFont, true, kWhite, kNavy},
    {N::lblForName, N::Frame2, K::Label, kPromptName, 85, 360, 3375, 285, kVerdana825, false},
    {N::txtName, N::Frame2, K::TextBox, kPromptName, 85, 360, 3375, 285, kVerdana825, true, kBlack, kWhite},
    {N::cmdSubmit, N::Frame2, K::Button, L"Refer A Friend &Now", 1920, 1080, 3375, 285, kVerdana825Bold, true,
     kBlack, kButtonFace},
    {N::lblForEmail, N::Frame2, K::Label, kPromptEmail, 3600, 360, 3375, 285, kVerdana825, false},
    {N::txtEmail, N::Frame2, K::TextBox, kPromptEmail, 3600, 360, 3375, 285, kVerdana825, true, kBlack,
     kWhite},
    {N::lblForFriendEmail, N::Frame2, K::Label, kPromptFriendEmail, 3600, 720, 3375, 285, kVerdana825, false},
    {N::txtFriendEmail, N::Frame2, K::TextBox, kPromptFriendEmail, 3600, 720, 3375, 285, kVerdana825, true,
     kBlack, kWhite},
    {N::lblForFriendName, N::Frame2, K::Label, kPromptFriendName, 85, 720, 3375, 285, kVerdana825, false},
    {N::txtFriendName, N::Frame2, K::TextBox, kPromptFriendName, 85, 720, 3375, 285, kVerdana825, true, kBlack,
     kWhite},
    // Below the frame's edge, so never seen; still enabled and last in the tab order.
    {N::lblForMessage, N::Frame2, K::Label, kPromptMessage, 4800, 3600, 1815, 495, kVerdana825, false},
    {N::txtMessage, N::Frame2, K::MultiLineText, kInitialMessageText, 4800, 3600, 1815, 495, kVerdana825,
     true, kBlack, kWhite},
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

HCURSOR HandPointer() {
    HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    return own ? own : LoadCursorW(nullptr, IDC_HAND);
}

}  // namespace

frmNagScreen2::frmNagScreen2(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms,
           FormDesign{L"Annuvia_frmNagScreen2", kWindowTitle, 11115, 4725, kWhite, kControls, false}),
      platform_(platform),
      program_(program) {}

frmNagScreen2::~frmNagScreen2() {
    // The window shows the icon and the fonts: they go once it is gone.
    DestroyFormWindow();
    if (icon_) DestroyIcon(icon_);
    for (HFONT font : fittedFonts_) DeleteObject(font);
}

void frmNagScreen2::Form_Load() {
    Platform& platform = platform_;
    // 1. Title and caption.
    SetWindowTextW(Hwnd(), kWindowTitle);
    SetWindowTextW(Control(lblNagScreen2Caption), kWindowTitle);
    FitCaption();
    // 2. The program icon, image 1 of the start-up window's image list.
    if (!icon_) {
        if (HIMAGELIST images = program_.ProgramIcons()) icon_ = ImageList_GetIcon(images, 0, ILD_NORMAL);
    }
    if (icon_) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    SubclassControl(picNagscreen2Icon);
    InvalidateRect(Control(picNagscreen2Icon), nullptr, TRUE);
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
    Platform& platform = platform_;
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
    if (id == picNagscreen2Icon && msg == WM_PAINT) {
        PaintIcon();
        *result = 0;
        return true;
    }
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
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) == Control(Check1)) {
                SetCursor(HandPointer());
                *result = TRUE;
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

void frmNagScreen2::PaintIcon() {
    HWND box = Control(picNagscreen2Icon);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT rc;
    GetClientRect(box, &rc);
    HBRUSH back = CreateSolidBrush(BackColour());
    FillRect(dc, &rc, back);
    DeleteObject(back);
    // The 32 x 32 picture in the middle of its box, scaled with the DPI.
    if (icon_) {
        const int size = MulDiv(32, static_cast<int>(Dpi()), 96);
        DrawIconEx(dc, (rc.right - size) / 2, (rc.bottom - size) / 2, icon_, size, size, 0, nullptr, DI_NORMAL);
    }
    EndPaint(box, &ps);
}

}  // namespace annuvia
