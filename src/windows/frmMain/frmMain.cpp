#include "windows/frmMain/frmMain.h"

#include <string>
#include <utility>

#include "core/numerology/numerology.h"
#include "forms/window_text.h"
#include "win32/bench_marks.h"
#include "windows/banners.h"
#include "core/web/modHelp.h"

namespace annuvia {

namespace {

using K = ControlKind;
using M = frmMain;

// Created in this order, which is also the order of the z-order and of Tab.
// Each text box and list comes right after the label that names it for a
// screen reader (the lists' labels are hidden); the links come last.
constexpr ControlRow kControls[] = {
    {.id = M::fraName, .kind = K::Frame, .caption = L"Please Fill In The Below Details:",
     .at = {75, 705, 6255, 1605}, .font = kVerdana825Bold},
    {.id = M::Label1, .parent = M::fraName, .kind = K::Label, .caption = L"First Name",
     .at = {120, 300, 1905, 225}, .font = kSansSerif825},
    {.id = M::txtFirstName, .parent = M::fraName, .kind = K::TextBox, .at = {120, 525, 1905, 285}},
    {.id = M::Label4, .parent = M::fraName, .kind = K::Label, .caption = L"Middle Name",
     .at = {2145, 300, 1965, 225}, .font = kSansSerif825},
    {.id = M::txtMiddleName, .parent = M::fraName, .kind = K::TextBox, .at = {2145, 525, 1965, 285}},
    {.id = M::Label5, .parent = M::fraName, .kind = K::Label, .caption = L"Last Name",
     .at = {4230, 300, 1935, 225}, .font = kSansSerif825},
    {.id = M::txtLastName, .parent = M::fraName, .kind = K::TextBox, .at = {4230, 525, 1935, 285}},
    {.id = M::fraBirthDay, .parent = M::fraName, .kind = K::Frame, .caption = L"Date Of Birth",
     .at = {105, 885, 6045, 645}, .font = kVerdana825Bold},
    // A drop-down list's height is that of its open list; the closed box takes the font's.
    {.id = M::lblForMonth, .parent = M::fraBirthDay, .kind = K::Label, .caption = L"Month of Birth",
     .at = {120, 240, 1455, 315}, .visible = false},
    {.id = M::cboMonth, .parent = M::fraBirthDay, .kind = K::DropList, .at = {120, 240, 1455, 2700}},
    {.id = M::lblForDate, .parent = M::fraBirthDay, .kind = K::Label, .caption = L"Day of Birth",
     .at = {1695, 240, 855, 315}, .visible = false},
    {.id = M::cboDate, .parent = M::fraBirthDay, .kind = K::DropList, .at = {1695, 240, 855, 2700}},
    {.id = M::lblForYear, .parent = M::fraBirthDay, .kind = K::Label, .caption = L"Year of Birth",
     .at = {2670, 240, 975, 315}, .visible = false},
    {.id = M::cboYear, .parent = M::fraBirthDay, .kind = K::DropList, .at = {2670, 240, 975, 2700}},
    {.id = M::cmdNext, .parent = M::fraBirthDay, .kind = K::Button, .caption = L"&Next",
     .at = {3885, 240, 1965, 315}},
    {.id = M::Frame2, .kind = K::Frame, .at = {75, 45, 6255, 615}},
    {.id = M::Label61, .parent = M::Frame2, .kind = K::LinkLabel, .caption = kPromotionCaption,
     .at = {120, 120, 6015, 420}, .font = kPromotionFont, .centred = true, .fit = TextFit::Wrapped},
    {.id = M::fraFullBrand, .kind = K::Frame, .at = {75, 2385, 6255, 855}},
    // The banner created first lies in front. Both fill the frame's inside, so
    // their centred text wraps within what is seen.
    {.id = M::lblFullBrand, .parent = M::fraFullBrand, .kind = K::Banner,
     .caption = kFullBrandCaption, .at = {120, 165, 6015, 615}, .font = kBannerFont, .textColor = kBannerBlue,
     .backColor = kButtonFace, .centred = true},
    {.id = M::lblCobrand, .parent = M::fraFullBrand, .kind = K::Banner, .caption = kCoBrandCaption,
     .at = {120, 165, 6015, 615}, .font = kBannerFont, .textColor = kBannerBlue, .backColor = kButtonFace,
     .centred = true},
    // Never visible, below the client area: reached only through File, Exit.
    {.id = M::cmdExit, .kind = K::Button, .caption = L"E&xit", .at = {75, 3600, 1095, 375}, .visible = false},
};

void AddEntry(HWND list, const std::wstring& text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

// Enter and Esc arrive as IDOK and IDCANCEL: the window has no default button.
const ControlEvent frmMain::kEvents[] = {
    {cmdNext, BN_CLICKED, Handler<&M::cmdNext_Click>},
    {cmdExit, BN_CLICKED, Handler<&M::cmdExit_Click>},
    {Label61, STN_CLICKED, Handler<&M::Label61_Click>},
    {lblFullBrand, STN_CLICKED, Handler<&M::lblFullBrand_Click>},
    {lblCobrand, STN_CLICKED, Handler<&M::lblCobrand_Click>},
    {mnuNext, kAnyNotification, Handler<&M::cmdNext_Click>},  // mnuNext_Click
    {mnuExit, kAnyNotification, Handler<&M::cmdExit_Click>},  // mnuExit_Click
    {mnuOnline, kAnyNotification, Handler<&M::mnuOnline_Click>},
    {mnuVisit, kAnyNotification, Handler<&M::mnuVisit_Click>},
    {mnuUpdate, kAnyNotification, Handler<&M::mnuUpdate_Click>},
    {mnuAbout, kAnyNotification, Handler<&M::mnuAbout_Click>},
    {mnuDonate, kAnyNotification, Handler<&M::mnuDonate_Click>},
    {mkmoney, kAnyNotification, Handler<&M::mkmoney_Click>},
};

const FormDesign frmMain::kDesign{L"Annuvia_frmMain", kWindowTitle, 6405, 3450, kFormBlue, kControls, true, true,
                                 kEvents};

frmMain::frmMain(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms, kDesign), platform_(platform), program_(program) {}

HMENU frmMain::CreateFormMenu() { return MenuBar(); }

HMENU frmMain::MenuBar() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, mnuNext, L"&Next");
    AppendMenuW(file, MF_STRING, mnuExit, L"E&xit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, mnuOnline, L"&Online Help");
    AppendMenuW(help, MF_STRING, mnuVisit, L"&Visit Us Online");
    AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(help, MF_STRING, mnuUpdate, L"&Check for Software Update");
    AppendMenuW(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(help, MF_STRING, mnuAbout, L"&About Software");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    AppendMenuW(bar, MF_STRING, mnuDonate, L"&Donate");
    // "Make Money &Online" (mkmoney) is designed switched off: hidden, and nothing shows it.
    return bar;
}

void frmMain::Form_Load() {
    // The reminder comes first and never stops the window from loading.
    IgnoringErrors([&] { program_.CheckUpdateReminder(); });
    ANNUVIA_MARK("reminder (main)");
    HWND days = Control(cboDate), months = Control(cboMonth), years = Control(cboYear);
    // Filled with their drawing off and room made for every entry at once:
    // otherwise each entry added redraws its list and grows its storage.
    const std::pair<HWND, int> lists[] = {{days, 31}, {months, static_cast<int>(kMonthNames.size())}, {years, 151}};
    for (const auto& [list, entries] : lists) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, CB_INITSTORAGE, static_cast<WPARAM>(entries),
                     static_cast<LPARAM>(entries * 10 * sizeof(wchar_t)));  // ten characters an entry at most
    }
    for (int day = 1; day <= 31; ++day) AddEntry(days, std::to_wstring(day));
    for (const wchar_t* month : kMonthNames) AddEntry(months, month);
    for (int year = 1900; year <= 2050; ++year) AddEntry(years, std::to_wstring(year));
    for (HWND list : {days, months, years}) SendMessageW(list, CB_SETCURSEL, 0, 0);
    for (HWND list : {days, months, years}) SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ANNUVIA_MARK("lists filled");
    FitTexts();
}

void frmMain::Form_Unload() { program_.ExitHandOver(*this); }

bool frmMain::OnControlMessage(int id, UINT msg, WPARAM& wp, LPARAM, LRESULT*) {
    // Typed a to z become capitals; everything else, pasted text included, passes unchanged.
    if (msg == WM_CHAR && (id == txtFirstName || id == txtMiddleName || id == txtLastName)) {
        if (wp >= 97 && wp <= 122) wp -= 32;
    }
    return false;
}

std::wstring frmMain::ChosenText(int listId) const {
    HWND list = Control(listId);
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

MainEntries frmMain::ReadEntries() const {
    MainEntries e;
    e.firstName = WindowText(Control(txtFirstName));
    e.lastName = WindowText(Control(txtLastName));
    e.dayText = ChosenText(cboDate);
    e.monthText = ChosenText(cboMonth);
    e.yearText = ChosenText(cboYear);
    e.dayIndex = static_cast<int>(SendMessageW(Control(cboDate), CB_GETCURSEL, 0, 0));
    e.monthIndex = static_cast<int>(SendMessageW(Control(cboMonth), CB_GETCURSEL, 0, 0));
    return e;
}

bool frmMain::ValidateInput() {
    const EntryCheck check = CheckEntries(ReadEntries());
    if (check.Passed()) return true;
    platform_.ShowMessage(Hwnd(), check.message, MsgButtons::OK, MsgIcon::Information);
    int focusId = 0;
    switch (check.focus) {
        case EntryFocus::FirstName: focusId = txtFirstName; break;
        case EntryFocus::LastName: focusId = txtLastName; break;
        case EntryFocus::Date: focusId = cboDate; break;
        case EntryFocus::Month: focusId = cboMonth; break;
        case EntryFocus::Year: focusId = cboYear; break;
        case EntryFocus::Unchanged: break;
    }
    if (focusId) SetFocus(Control(focusId));
    return false;
}

void frmMain::cmdNext_Click() {
    if (!ValidateInput()) return;
    Hide();
    program_.ShowResult(CalcPersonalYear(ChosenText(cboDate), ChosenText(cboMonth), platform_));
}

void frmMain::cmdExit_Click() {
    // The hand-over, then this window goes: its unload runs the hand-over
    // once more, which finds its work done.
    program_.ExitHandOver(*this);
    Unload();
}

void frmMain::mnuAbout_Click() {
    // Modal: this window takes no input until About closes.
    program_.ShowAbout();
}

void frmMain::Label61_Click() { OpenHomePage(platform_); }
void frmMain::lblFullBrand_Click() { OpenFullyBrandedPage(platform_); }
void frmMain::lblCobrand_Click() { OpenCoBrandPage(platform_); }
void frmMain::mnuOnline_Click() { OpenHelpPage(platform_); }
void frmMain::mnuVisit_Click() { OpenHomePage(platform_); }
void frmMain::mnuUpdate_Click() { OpenDownloadPage(platform_); }
void frmMain::mnuDonate_Click() { OpenDonatePage(platform_); }
void frmMain::mkmoney_Click() { OpenFullyBrandedPage(platform_); }

void frmMain::BringBannerToFront(FrontBanner banner) {
    switch (banner) {
        case FrontBanner::CoBrand: BringToFront(lblCobrand); break;
        case FrontBanner::FullBrand: BringToFront(lblFullBrand); break;
        case FrontBanner::AsCreated: break;
    }
}

}  // namespace annuvia
