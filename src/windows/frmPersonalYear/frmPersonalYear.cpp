#include "windows/frmPersonalYear/frmPersonalYear.h"

#include "core/web/modHelp.h"
#include "forms/caption_fit.h"
#include "windows/banners.h"

namespace annuvia {

namespace {

using K = ControlKind;
using F = frmPersonalYear;

// Created in this order, which is also the order of the z-order and of Tab:
// Back first, so it holds the focus when the window opens; the text box after
// the hidden label that names it for a screen reader; the links last.
constexpr ControlSpec kControls[] = {
    {F::cmdprint, 0, K::Button, L"&Print", 4065, 3750, 1095, 375, kVerdana825, false},
    {F::cmdback, 0, K::Button, L"&Back", 5243, 3750, 1095, 375},
    {F::lblForDisplay, 0, K::Label, L"Personal Year Number", 38, 720, 6300, 2955, kVerdana825, false},
    {F::txtDisplay, 0, K::LockedText, L"", 38, 720, 6300, 2955},
    {F::Frame2, 0, K::Frame, L"", 38, 45, 6300, 615},
    {F::Label61, F::Frame2, K::LinkLabel, kPromotionCaption, 120, 120, 6060, 420, kPromotionFont, true,
     kWhite, kInherit, true},
    {F::fraFullBrand, 0, K::Frame, L"", 38, 4230, 6300, 855},
    {F::lblFullBrand, F::fraFullBrand, K::Banner, kFullBrandCaption, 120, 165, 6060, 615, kBannerFont, true,
     kBannerBlue, kButtonFace, true},
    {F::lblCobrand, F::fraFullBrand, K::Banner, kCoBrandCaption, 120, 165, 6060, 615, kBannerFont, true,
     kBannerBlue, kButtonFace, true},
};

}  // namespace

frmPersonalYear::frmPersonalYear(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms,
           FormDesign{L"Annuvia_frmPersonalYear", kWindowTitle, 6375, 5220, kFormBlue, kControls}),
      platform_(platform),
      program_(program) {}

void frmPersonalYear::Form_Load() {
    // Everything the window shows is in its design or put in by ShowReading;
    // the text box only needs its mouse messages routed here, the promotion its type fitted.
    SubclassControl(txtDisplay);
    FitWrappedCaption(Control(Label61), kPromotionFont, Dpi());
}

void frmPersonalYear::Form_Unload() {
    IgnoringErrors([&] { program_.ExitHandOver(*this); });
}

void frmPersonalYear::cmdback_Click() {
    // Each step runs even when one before it failed. Unloading runs the exit
    // hand-over, which shows the exit screen; the last step hides it again.
    IgnoringErrors([&] { Unload(); });
    IgnoringErrors([&] { program_.ShowMainWindow(); });
}

void frmPersonalYear::ShowReading(PersonalYear number) {
    HWND display = Control(txtDisplay);
    for (const std::wstring& block : ResultBlocks(number)) {
        SendMessageW(display, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(block.c_str()));
    }
    SendMessageW(display, EM_SETSEL, 0, 0);
    SendMessageW(display, EM_SCROLLCARET, 0, 0);
}

void frmPersonalYear::OnCommand(int id, int code) {
    switch (id) {
        case cmdback:
            if (code == BN_CLICKED) cmdback_Click();
            break;
        case txtDisplay:
            if (code == EN_CHANGE) ClearClipboard();  // txtDisplay_Change
            break;
        case Label61:
            if (code == STN_CLICKED) OpenHomePage(platform_);
            break;
        case lblFullBrand:
            if (code == STN_CLICKED) OpenFullyBrandedPage(platform_);
            break;
        case lblCobrand:
            if (code == STN_CLICKED) OpenCoBrandPage(platform_);
            break;
        default:
            break;  // the Print button has no action
    }
}

bool frmPersonalYear::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) {
    if (msg == WM_DPICHANGED) PostMessageW(Hwnd(), kRefitCaptionsMessage, 0, 0);  // once laid out anew
    if (msg != kRefitCaptionsMessage) return false;
    FitWrappedCaption(Control(Label61), kPromotionFont, Dpi());
    *result = 0;
    return true;
}

bool frmPersonalYear::OnControlMessage(int id, UINT msg, WPARAM&, LPARAM, LRESULT*) {
    if (id != txtDisplay) return false;
    switch (msg) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            ClearClipboard();  // txtDisplay_MouseDown
            break;
        case WM_LBUTTONUP:
            ClearClipboard();  // txtDisplay_MouseUp
            ClearClipboard();  // txtDisplay_Click
            break;
        case WM_RBUTTONUP: case WM_MBUTTONUP:
            ClearClipboard();  // txtDisplay_MouseUp
            break;
        case WM_MOUSEMOVE:
            ClearClipboard();  // txtDisplay_MouseMove
            break;
        default:
            break;
    }
    return false;
}

}  // namespace annuvia
