#include "windows/frmMain/frmMain.h"

#include <string>
#include <utility>

#include "core/numerology/numerology.h"
#include "win32/bench_marks.h"
#include "forms/caption_fit.h"
#include "windows/banners.h"
#include "core/web/modHelp.h"

namespace annuvia {

namespace {

using K = ControlKind;

// Created in this order, which is also the order of the z-order and of Tab.
// Each text box and list comes right after the label that names it for a
// screen reader (the lists' labels are hidden); the links come last.
constexpr ControlSpec kControls[] = {
    // id, container, kind, caption, left, top, width, height (twips), font, ...
    {frmMain::fraName, 0, K::Frame, L"Please Fill In The Below Details:", 75, 705, 6255, 1605,
     kVerdana825Bold},
    {frmMain::Label1, frmMain::fraName, K::Label, L"First Name", 120, 300, 1905, 225, kSansSerif825},
    {frmMain::txtFirstName, frmMain::fraName, K::TextBox, L"", 120, 525, 1905, 285},
    {frmMain::Label4, frmMain::fraName, K::Label, L"Middle Name", 2145, 300, 1965, 225, kSansSerif825},
    {frmMain::txtMiddleName, frmMain::fraName, K::TextBox, L"", 2145, 525, 1965, 285},
    {frmMain::Label5, frmMain::fraName, K::Label, L"Last Name", 4230, 300, 1935, 225, kSansSerif825},
    {frmMain::txtLastName, frmMain::fraName, K::TextBox, L"", 4230, 525, 1935, 285},
    {frmMain::fraBirthDay, frmMain::fraName, K::Frame, L"Date Of Birth", 105, 885, 6045, 645,
     kVerdana825Bold},
    // A drop-down list's height is that of its open list; the closed box takes the font's.
    {frmMain::lblForMonth, frmMain::fraBirthDay, K::Label, L"Month of Birth", 120, 240, 1455, 315, kVerdana825,
     false},
    {frmMain::cboMonth, frmMain::fraBirthDay, K::DropList, L"", 120, 240, 1455, 2700},
    {frmMain::lblForDate, frmMain::fraBirthDay, K::Label, L"Day of Birth", 1695, 240, 855, 315, kVerdana825,
     false},
    {frmMain::cboDate, frmMain::fraBirthDay, K::DropList, L"", 1695, 240, 855, 2700},
    {frmMain::lblForYear, frmMain::fraBirthDay, K::Label, L"Year of Birth", 2670, 240, 975, 315, kVerdana825,
     false},
    {frmMain::cboYear, frmMain::fraBirthDay, K::DropList, L"", 2670, 240, 975, 2700},
    {frmMain::cmdNext, frmMain::fraBirthDay, K::Button, L"&Next", 3885, 240, 1965, 315},
    {frmMain::Frame2, 0, K::Frame, L"", 75, 45, 6255, 615},
    {frmMain::Label61, frmMain::Frame2, K::LinkLabel, kPromotionCaption, 120, 120, 6015, 420,
     kPromotionFont, true, kWhite, kInherit, true},
    {frmMain::fraFullBrand, 0, K::Frame, L"", 75, 2385, 6255, 855},
    // The banner created first lies in front. Both fill the frame's inside, so
    // their centred text wraps within what is seen.
    {frmMain::lblFullBrand, frmMain::fraFullBrand, K::Banner, kFullBrandCaption, 120, 165, 6015, 615,
     kBannerFont, true, kBannerBlue, kButtonFace, true},
    {frmMain::lblCobrand, frmMain::fraFullBrand, K::Banner, kCoBrandCaption, 120, 165, 6015, 615,
     kBannerFont, true, kBannerBlue, kButtonFace, true},
    // Never visible, below the client area: reached only through File, Exit.
    {frmMain::cmdExit, 0, K::Button, L"E&xit", 75, 3600, 1095, 375, kVerdana825, false},
};

constexpr const wchar_t* kMonthNames[12] = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December",
};

void AddEntry(HWND list, const std::wstring& text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

frmMain::frmMain(FormRegistry& forms, Platform& platform, Program& program)
    : Form(forms, FormDesign{L"Annuvia_frmMain", kWindowTitle, 6405, 3450, kFormBlue, kControls}),
      platform_(platform),
      program_(program) {}

HMENU frmMain::CreateFormMenu() {
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
    const std::pair<HWND, int> lists[] = {{days, 31}, {months, 12}, {years, 151}};
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
    for (int box : {txtFirstName, txtMiddleName, txtLastName}) SubclassControl(box);
    FitWrappedCaption(Control(Label61), kPromotionFont, Dpi());
}

void frmMain::Form_Unload() { program_.ExitHandOver(*this); }

void frmMain::OnCommand(int id, int code) {
    Platform& platform = platform_;
    switch (id) {
        case cmdNext:
            if (code == BN_CLICKED) cmdNext_Click();
            break;
        case cmdExit:
            if (code == BN_CLICKED) cmdExit_Click();
            break;
        case Label61:
            if (code == STN_CLICKED) OpenHomePage(platform);
            break;
        case lblFullBrand:
            if (code == STN_CLICKED) OpenFullyBrandedPage(platform);
            break;
        case lblCobrand:
            if (code == STN_CLICKED) OpenCoBrandPage(platform);
            break;
        case mnuNext: cmdNext_Click(); break;
        case mnuExit: cmdExit_Click(); break;
        case mnuOnline: OpenHelpPage(platform); break;
        case mnuVisit: OpenHomePage(platform); break;
        case mnuUpdate: OpenDownloadPage(platform); break;
        case mnuAbout: mnuAbout_Click(); break;
        case mnuDonate: OpenDonatePage(platform); break;
        case mkmoney: OpenFullyBrandedPage(platform); break;
        default: break;  // Enter and Esc arrive as IDOK and IDCANCEL: the window has no default button
    }
}

bool frmMain::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) {
    if (msg == WM_DPICHANGED) PostMessageW(Hwnd(), kRefitCaptionsMessage, 0, 0);  // once laid out anew
    if (msg != kRefitCaptionsMessage) return false;
    FitWrappedCaption(Control(Label61), kPromotionFont, Dpi());
    *result = 0;
    return true;
}

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

void frmMain::cmdExit_Click() { program_.ExitHandOver(*this); }

void frmMain::mnuAbout_Click() {
    // Modal: this window takes no input until About closes.
    program_.ShowAbout();
}

void frmMain::BringBannerToFront(FrontBanner banner) {
    switch (banner) {
        case FrontBanner::CoBrand: BringToFront(lblCobrand); break;
        case FrontBanner::FullBrand: BringToFront(lblFullBrand); break;
        case FrontBanner::AsCreated: break;
    }
}

}  // namespace annuvia
