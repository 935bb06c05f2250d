#include "windows/frmAbout/frmAbout.h"

#include "resource.h"
#include "core/web/modHelp.h"

namespace annuvia {

namespace {

using K = ControlKind;
using A = frmAbout;

constexpr FontSpec kTitleFont{L"Verdana", 975, true, false};
constexpr FontSpec kLinkFont{L"Verdana", 825, false, true};

// Created first lies in front: the links come before the labels they touch
// (Label1's foot overlaps lblHomePage, Label3's lblCobrand), and cmdOK comes
// first of all, first in the tab order, so it holds the focus when the window
// opens; Tab then goes on to the two links.
constexpr ControlSpec kControls[] = {
    // id, container, kind, caption, left, top, width, height (twips), font, ...
    {A::cmdOK, 0, K::Button, L"OK", 5400, 3240, 1260, 345},
    {A::Picture1, 0, K::Label, L"", 120, 120, 480, 480},  // painted with the program icon
    {A::Label2, 0, K::Label, kWindowTitle, 840, 90, 5295, 255, kTitleFont},
    // The one-line links never wrap: a box a pixel too narrow cuts a letter instead of dropping a word.
    {A::lblHomePage, 0, K::LinkLabel, kAboutHomePageCaption, 2640, 1920, 4050, 195, kLinkFont, true, kWhite,
     kInherit, false, true},
    {A::Label1, 0, K::Label, kAboutDescription, 840, 360, 5775, 1635},
    {A::lblCobrand, 0, K::LinkLabel, kAboutDetailsCaption, 4440, 2760, 2355, 195, kLinkFont, true, kWhite,
     kInherit, false, true},
    {A::Label3, 0, K::Label, kAboutOfferCaption, 840, 2160, 5685, 615, kVerdana825Bold},
    // The white line at height 3150 from -60 to 6840: one pixel high at 96 DPI.
    {A::Line1, 0, K::Line, L"", -60, 3150, 6900, 15, kVerdana825, true, kWhite, kWhite},
};

}  // namespace

frmAbout::frmAbout(FormRegistry& forms, Platform& platform)
    : Form(forms,
           FormDesign{L"Annuvia_frmAbout", kWindowTitle, 6825, 3690, kFormBlue, kControls, true, false}),
      platform_(platform) {}

void frmAbout::Form_Load() {
    // Every text is in the design; the picture box only needs its painting.
    SubclassControl(Picture1);
}

void frmAbout::ShowModalOwnedBy(HWND owner) {
    owner_ = owner;
    ShowModal();
}

// Owned: no taskbar button of its own.
HWND frmAbout::OwnerWindow() { return owner_; }

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::lblHomePage_Click() { OpenHomePage(platform_); }

void frmAbout::lblCobrand_Click() { OpenFullyBrandedPage(platform_); }

void frmAbout::OnCommand(int id, int code) {
    switch (id) {
        case cmdOK:
            if (code == BN_CLICKED) cmdOK_Click();
            break;
        case lblHomePage:
            if (code == STN_CLICKED) lblHomePage_Click();
            break;
        case lblCobrand:
            if (code == STN_CLICKED) lblCobrand_Click();
            break;
        default:
            break;
    }
}

bool frmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
    // cmdOK is the default and the cancel button: Enter and Esc press it,
    // wherever the focus is (a focused link takes Enter for itself).
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        cmdOK_Click();
        *result = 0;
        return true;
    }
    return false;
}

bool frmAbout::OnControlMessage(int id, UINT msg, WPARAM&, LPARAM, LRESULT* result) {
    if (id != Picture1 || msg != WM_PAINT) return false;
    HWND box = Control(Picture1);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT rc;
    GetClientRect(box, &rc);
    HBRUSH back = CreateSolidBrush(BackColour());
    FillRect(dc, &rc, back);
    DeleteObject(back);
    // The 32 x 32 icon, scaled with the box when the DPI is not 96.
    auto icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ANNUVIA), IMAGE_ICON, 32, 32, LR_SHARED));
    if (icon) DrawIconEx(dc, 0, 0, icon, rc.right, rc.bottom, 0, nullptr, DI_NORMAL);
    EndPaint(box, &ps);
    *result = 0;
    return true;
}

}  // namespace annuvia
