#include "windows/frmAbout/frmAbout.h"

#include "core/web/modHelp.h"

namespace annuvia {

namespace {

using K = ControlKind;
using A = frmAbout;

constexpr FontRow kTitleFont{L"Verdana", 975, true, false};
constexpr FontRow kLinkFont{L"Verdana", 825, false, true};

// Created first lies in front: the links come before the labels they touch
// (Label1's foot overlaps lblHomePage, Label3's lblCobrand), and cmdOK comes
// first of all, first in the tab order, so it holds the focus when the window
// opens; Tab then goes on to the two links.
constexpr ControlRow kControls[] = {
    {.id = A::cmdOK, .kind = K::Button, .caption = L"OK", .at = {5400, 3240, 1260, 345}},
    {.id = A::Picture1, .kind = K::Icon, .at = {120, 120, 480, 480}},
    {.id = A::Label2, .kind = K::Label, .caption = kWindowTitle, .at = {840, 90, 5295, 255}, .font = kTitleFont},
    // The one-line links never wrap: a box a pixel too narrow cuts a letter instead of dropping a word.
    {.id = A::lblHomePage, .kind = K::LinkLabel, .caption = kAboutHomePageCaption, .at = {2640, 1920, 4050, 195},
     .font = kLinkFont, .singleLine = true},
    {.id = A::Label1, .kind = K::Label, .caption = kAboutDescription, .at = {840, 360, 5775, 1635}},
    {.id = A::lblCobrand, .kind = K::LinkLabel, .caption = kAboutDetailsCaption, .at = {4440, 2760, 2355, 195},
     .font = kLinkFont, .singleLine = true},
    {.id = A::Label3, .kind = K::Label, .caption = kAboutOfferCaption, .at = {840, 2160, 5685, 615},
     .font = kVerdana825Bold},
    // The white line at height 3150 from -60 to 6840: one pixel high at 96 DPI.
    {.id = A::Line1, .kind = K::Line, .at = {-60, 3150, 6900, 15}, .backColor = kWhite},
};

}  // namespace

// cmdOK is the default and the cancel button: Enter and Esc press it,
// wherever the focus is (a focused link takes Enter for itself).
const ControlEvent frmAbout::kEvents[] = {
    {cmdOK, BN_CLICKED, Handler<&A::cmdOK_Click>},
    {IDOK, kAnyNotification, Handler<&A::cmdOK_Click>},
    {IDCANCEL, kAnyNotification, Handler<&A::cmdOK_Click>},
    {lblHomePage, STN_CLICKED, Handler<&A::lblHomePage_Click>},
    {lblCobrand, STN_CLICKED, Handler<&A::lblCobrand_Click>},
};

frmAbout::frmAbout(FormRegistry& forms, Platform& platform)
    : Form(forms,
           FormDesign{L"Annuvia_frmAbout", kWindowTitle, 6825, 3690, kFormBlue, kControls, true, false, kEvents}),
      platform_(platform) {}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::lblHomePage_Click() { OpenHomePage(platform_); }

void frmAbout::lblCobrand_Click() { OpenFullyBrandedPage(platform_); }

}  // namespace annuvia
