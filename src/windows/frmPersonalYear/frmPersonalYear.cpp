#include "windows/frmPersonalYear/frmPersonalYear.h"

#include "core/web/modHelp.h"
#include "windows/banners.h"

namespace annuvia {

namespace {

using K = ControlKind;
using F = frmPersonalYear;

// Created in this order, which is also the order of the z-order and of Tab:
// Back first, so it holds the focus when the window opens; the text box after
// the hidden label that names it for a screen reader; the links last.
constexpr ControlRow kControls[] = {
    {.id = F::cmdprint, .kind = K::Button, .caption = L"&Print", .at = {4065, 3750, 1095, 375}, .visible = false},
    {.id = F::cmdback, .kind = K::Button, .caption = L"&Back", .at = {5243, 3750, 1095, 375}},
    {.id = F::lblForDisplay, .kind = K::Label, .caption = L"Personal Year Number", .at = {38, 720, 6300, 2955},
     .visible = false},
    {.id = F::txtDisplay, .kind = K::LockedText, .at = {38, 720, 6300, 2955}},
    {.id = F::Frame2, .kind = K::Frame, .at = {38, 45, 6300, 615}},
    {.id = F::Label61, .parent = F::Frame2, .kind = K::LinkLabel, .caption = kPromotionCaption,
     .at = {120, 120, 6060, 420}, .font = kPromotionFont, .centred = true, .fit = TextFit::Wrapped},
    {.id = F::fraFullBrand, .kind = K::Frame, .at = {38, 4230, 6300, 855}},
    {.id = F::lblFullBrand, .parent = F::fraFullBrand, .kind = K::Banner, .caption = kFullBrandCaption,
     .at = {120, 165, 6060, 615}, .font = kBannerFont, .textColor = kBannerBlue, .backColor = kButtonFace,
     .centred = true},
    {.id = F::lblCobrand, .parent = F::fraFullBrand, .kind = K::Banner, .caption = kCoBrandCaption,
     .at = {120, 165, 6060, 615}, .font = kBannerFont, .textColor = kBannerBlue, .backColor = kButtonFace,
     .centred = true},
};

}  // namespace

// The Print button has no action.
const ControlEvent frmPersonalYear::kEvents[] = {
    {cmdback, BN_CLICKED, Handler<&F::cmdback_Click>},
    {txtDisplay, EN_CHANGE, Handler<&F::ClearClipboard>},  // txtDisplay_Change
    {Label61, STN_CLICKED, Handler<&F::Label61_Click>},
    {lblFullBrand, STN_CLICKED, Handler<&F::lblFullBrand_Click>},
    {lblCobrand, STN_CLICKED, Handler<&F::lblCobrand_Click>},
};

frmPersonalYear::frmPersonalYear(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms, FormDesign{L"Annuvia_frmPersonalYear", kWindowTitle, 6375, 5220, kFormBlue, kControls, true, true,
                             kEvents}),
      platform_(platform),
      program_(program) {}

void frmPersonalYear::Form_Load() {
    // Everything the window shows is in its design or put in by ShowReading;
    // only the promotion's type is fitted.
    FitTexts();
}

void frmPersonalYear::Form_Unload() {
    IgnoringErrors([&] { program_.ExitHandOver(*this); });
}

void frmPersonalYear::cmdback_Click() {
    // Unloading runs the exit hand-over, which shows the exit screen; the
    // second step hides it again.
    EachStep([&] { Unload(); }, [&] { program_.ShowMainWindow(); });
}

void frmPersonalYear::ShowReading(PersonalYear number) {
    HWND display = Control(txtDisplay);
    for (const std::wstring& block : ResultBlocks(number)) {
        SendMessageW(display, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(block.c_str()));
    }
    SendMessageW(display, EM_SETSEL, 0, 0);
    SendMessageW(display, EM_SCROLLCARET, 0, 0);
}

void frmPersonalYear::Label61_Click() { OpenHomePage(platform_); }
void frmPersonalYear::lblFullBrand_Click() { OpenFullyBrandedPage(platform_); }
void frmPersonalYear::lblCobrand_Click() { OpenCoBrandPage(platform_); }

bool frmPersonalYear::OnControlMessage(int id, UINT msg, WPARAM&, LPARAM, LRESULT*) {
    if (id != txtDisplay) return false;
    switch (msg) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            ClearClipboard();  // txtDisplay_MouseDown
            break;
        case WM_LBUTTONUP:
            // A left click raises the box's MouseUp and then its Click, and
            // each of the two clears what was copied: twice, not once by mistake.
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
