// The main window driven through its real controls: lists, menus, the
// capital-letter filter, the entry checks and Next.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/numerology/numerology.h"
#include "resource.h"
#include "support/build_values.h"
#include "windows/banners.h"
#include "in_process/recording_platform.h"

namespace annuvia::test {
namespace {

using M = frmMain;

class MainWindow : public testing::Test {
public:
    void SetUp() override {
        SetCursorPos(0, 0);  // keep the real pointer off the windows
        app.Start();
        Pump(app);
        ASSERT_TRUE(main().IsVisible());
    }
    frmMain& main() { return app.Main(); }
    HWND C(int id) { return main().Control(id); }
    void FillNames() {
        SetWindowTextW(C(M::txtFirstName), L"ANN");
        SetWindowTextW(C(M::txtLastName), L"LEE");
    }
    void Choose(int list, int index) { SendMessageW(C(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

    RecordingPlatform platform;
    App app{platform};
};

TEST_F(MainWindow, ListsAreFilledAndOpenOnTheFirstEntries) {
    struct Case { int id; int count; const wchar_t* first; const wchar_t* last; };
    for (const Case& c : {Case{M::cboDate, 31, L"1", L"31"}, Case{M::cboMonth, 12, L"January", L"December"},
                          Case{M::cboYear, 151, L"1900", L"2050"}}) {
        HWND list = C(c.id);
        EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), c.count);
        EXPECT_EQ(ListText(list), c.first);
        wchar_t last[32] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(c.count - 1), reinterpret_cast<LPARAM>(last));
        EXPECT_STREQ(last, c.last);
        // A strict list: no edit part to type into.
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    }
    wchar_t entry[32] = {};
    SendMessageW(C(M::cboMonth), CB_GETLBTEXT, 8, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"September");
    SendMessageW(C(M::cboYear), CB_GETLBTEXT, 76, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"1976");
}

TEST_F(MainWindow, OpenListsAreTheirDesignedHeight) {
    for (int id : {int(M::cboMonth), int(M::cboDate), int(M::cboYear)}) {
        HWND list = C(id);
        SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(list, &info));
        RECT box{}, open{};
        GetWindowRect(list, &box);
        GetWindowRect(info.hwndList, &open);
        SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
        // 2700 twips is 180 pixels for the box and its open list together,
        // give or take one entry's height.
        const int item = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
        const int total = (box.bottom - box.top) + (open.bottom - open.top);
        EXPECT_LE(total, 180 + 2) << id;
        EXPECT_GT(total, 180 - item - 2) << id;
    }
}

// Where each control stands and its font: the layout table (layout_test.cpp).
TEST_F(MainWindow, WindowAndControlsHaveTheirTexts) {
    EXPECT_EQ(WindowText(main().Hwnd()), kTitle);
    struct Case { int id; const wchar_t* text; };
    const Case cases[] = {
        {M::Frame2, L""},
        {M::fraName, L"Please Fill In The Below Details:"},
        {M::fraBirthDay, L"Date Of Birth"},
        {M::txtFirstName, L""},
        {M::txtMiddleName, L""},
        {M::txtLastName, L""},
        {M::Label1, L"First Name"},
        {M::Label4, L"Middle Name"},
        {M::Label5, L"Last Name"},
        {M::cmdNext, L"&Next"},
        {M::fraFullBrand, L""},
        {M::lblFullBrand, kFullBrandCaption},
        {M::lblCobrand, kCoBrandCaption},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowText(C(c.id)), c.text) << c.id;
    // The banner created first lies in front.
    EXPECT_EQ(GetWindow(C(M::fraFullBrand), GW_CHILD), C(M::lblFullBrand));
    EXPECT_FALSE(IsWindowVisible(C(M::cmdExit)));
    // No length limit on the names.
    EXPECT_GT(SendMessageW(C(M::txtFirstName), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE - 1);
}

TEST_F(MainWindow, MenuBarOffersFileHelpAndDonate) {
    HMENU bar = GetMenu(main().Hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    auto caption = [](HMENU menu, int pos) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(pos), text, 64, MF_BYPOSITION);
        return std::wstring(text);
    };
    EXPECT_EQ(caption(bar, 0), L"&File");
    EXPECT_EQ(caption(bar, 1), L"&Help");
    EXPECT_EQ(caption(bar, 2), L"&Donate");
    EXPECT_EQ(GetSubMenu(bar, 2), nullptr);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 2);
    EXPECT_EQ(caption(file, 0), L"&Next");
    EXPECT_EQ(caption(file, 1), L"E&xit");
    HMENU help = GetSubMenu(bar, 1);
    const std::vector<std::wstring> expected{L"&Online Help", L"&Visit Us Online", L"",
                                             L"&Check for Software Update", L"", L"&About Software"};
    ASSERT_EQ(GetMenuItemCount(help), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(caption(help, i), expected[static_cast<std::size_t>(i)]);
        const bool separator = expected[static_cast<std::size_t>(i)].empty();
        EXPECT_EQ((GetMenuState(help, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0, separator);
    }
}

TEST_F(MainWindow, EveryLinkOpensItsOwnPageOnceAndNothingElse) {
    struct Case { int id; bool label; const wchar_t* key; };
    const Case cases[] = {
        {M::Label61, true, L"home-page"},      {M::lblFullBrand, true, L"fully-branded"},
        {M::mnuOnline, false, L"help-web-page"}, {M::mnuVisit, false, L"home-page"},
        {M::mnuUpdate, false, L"download-web-page"}, {M::mnuDonate, false, L"donate"},
        {M::mkmoney, false, L"fully-branded"},
    };
    for (const Case& c : cases) {
        platform.pages.clear();
        if (c.label) {
            SendMessageW(C(c.id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(C(c.id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        } else {
            SendMessageW(main().Hwnd(), WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        }
        Pump(app);
        EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kPage + c.key})) << c.id;
        EXPECT_TRUE(main().IsVisible());
    }
    // The co-brand banner lies behind; it still opens its own page when clicked.
    platform.pages.clear();
    SendMessageW(C(M::lblCobrand), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(platform.pages, (std::vector<std::wstring>{kPage + L"co-brand"}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindow, LinksShowTheHandPointer) {
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    ASSERT_NE(hand, nullptr);
    for (int id : {int(M::Label61), int(M::lblFullBrand), int(M::lblCobrand)}) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        SendMessageW(C(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(C(id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hand) << id;
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(C(M::Label1), WM_SETCURSOR, reinterpret_cast<WPARAM>(C(M::Label1)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), hand);
}

TEST_F(MainWindow, TypedLowerCaseLettersBecomeCapitals) {
    for (int id : {int(M::txtFirstName), int(M::txtMiddleName), int(M::txtLastName)}) {
        Type(C(id), L"az AZ 09-\u00e9\u00fc!");
        EXPECT_EQ(WindowText(C(id)), L"AZ AZ 09-\u00e9\u00fc!");
        SendMessageW(C(id), WM_CHAR, VK_BACK, 1);
        EXPECT_EQ(WindowText(C(id)), L"AZ AZ 09-\u00e9\u00fc");
    }
    // Pasted text is not typed and keeps its case.
    SetWindowTextW(C(M::txtFirstName), L"");
    ASSERT_TRUE(PutClipboardText(L"pasted"));
    SendMessageW(C(M::txtFirstName), WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(C(M::txtFirstName)), L"pasted");
}

TEST_F(MainWindow, TabOrderAndFocus) {
    EXPECT_EQ(GetFocus(), C(M::txtFirstName));
    // The links after the designed controls: the promotion, then the banner in front.
    const int order[] = {M::txtFirstName, M::txtMiddleName, M::txtLastName, M::cboMonth,     M::cboDate,
                         M::cboYear,      M::cmdNext,       M::Label61,     M::lblFullBrand, M::txtFirstName};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(main().Hwnd(), C(order[i]), FALSE), C(order[i + 1])) << i;
    }
    Key(app, C(M::txtFirstName), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), C(M::txtMiddleName));
}

TEST_F(MainWindow, AltNPressesNextWhileEnterAndAltXDoNothing) {
    // Enter in a name box: no default button, so nothing happens.
    Key(app, C(M::txtFirstName), WM_KEYDOWN, VK_RETURN);
    Key(app, C(M::txtFirstName), WM_CHAR, VK_RETURN);
    // Alt+X: the Exit button is hidden and not reachable.
    Key(app, C(M::txtFirstName), WM_SYSCHAR, 'x', 1 << 29);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(main().IsVisible());
    EXPECT_TRUE(platform.ends.empty());
    // Alt+N presses Next, which finds the first name empty.
    Key(app, C(M::txtFirstName), WM_SYSCHAR, 'n', 1 << 29);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, L"Please Enter Your First Name");
}

TEST_F(MainWindow, EachFailedCheckShowsItsMessageAndMovesTheFocus) {
    struct Case {
        const char* what;
        std::function<void(MainWindow&)> arrange;
        const wchar_t* message;
        int focus;  // 0: stays on Next
    };
    const Case cases[] = {
        {"first name", [](MainWindow&) {}, L"Please Enter Your First Name", M::txtFirstName},
        {"last name", [](MainWindow& t) { SetWindowTextW(t.C(M::txtFirstName), L" "); },
         L"Please Enter Your Last Name", M::txtLastName},
        {"day", [](MainWindow& t) { t.FillNames(); t.Choose(M::cboDate, -1); },
         L"Please Specify Your Birth Date", M::cboDate},
        {"month", [](MainWindow& t) { t.FillNames(); t.Choose(M::cboMonth, -1); },
         L"Please Specify Your Birth Month", M::cboMonth},
        {"year", [](MainWindow& t) { t.FillNames(); t.Choose(M::cboYear, -1); },
         L"Please Specify Your Birth Year", M::cboYear},
        {"29 February 1900", [](MainWindow& t) { t.FillNames(); t.Choose(M::cboMonth, 1); t.Choose(M::cboDate, 28); },
         L"Please Enter Correct Date Or Month!", 0},
        {"31 June", [](MainWindow& t) { t.FillNames(); t.Choose(M::cboMonth, 5); t.Choose(M::cboDate, 30); },
         L"Please Enter Correct Date Or Month !", 0},
    };
    for (const Case& c : cases) {
        SetWindowTextW(C(M::txtFirstName), L"");
        SetWindowTextW(C(M::txtLastName), L"");
        for (int list : {int(M::cboDate), int(M::cboMonth), int(M::cboYear)}) Choose(list, 0);
        c.arrange(*this);
        platform.messages.clear();
        SetFocus(C(M::cmdNext));
        Click(C(M::cmdNext));
        Pump(app);
        ASSERT_EQ(platform.messages.size(), 1u) << c.what;
        EXPECT_EQ(platform.messages[0].text, c.message) << c.what;
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
        EXPECT_EQ(platform.messages[0].buttons, MsgButtons::OK);
        EXPECT_EQ(platform.messages[0].title, L"Annuvia");
        EXPECT_EQ(GetFocus(), C(c.focus ? c.focus : int(M::cmdNext))) << c.what;
        EXPECT_TRUE(main().IsVisible()) << c.what;
        EXPECT_FALSE(app.PersonalYear().IsLoaded()) << c.what;
    }
}

TEST_F(MainWindow, FileNextWithAnEmptyFirstNameActsLikeTheButton) {
    SendMessageW(main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuNext, 0), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, L"Please Enter Your First Name");
    EXPECT_TRUE(main().IsVisible());
}

TEST_F(MainWindow, LeapDayOf2000PassesAndShowsTheResult) {
    FillNames();
    Choose(M::cboMonth, 1);
    Choose(M::cboDate, 28);
    Choose(M::cboYear, 100);
    Click(C(M::cmdNext));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(app.PersonalYear().IsVisible());
    EXPECT_FALSE(main().IsVisible());
}

TEST_F(MainWindow, NextShowsTheResultForTheDayAndMonthOnly) {
    platform.today = {2026, 3, 1};
    struct Case { int day; int month; int year; int number; };
    for (const Case& c : {Case{29, 3, 1976, 6}, Case{19, 12, 2050, 5}, Case{1, 1, 1900, 3}}) {
        FillNames();
        Choose(M::cboDate, c.day - 1);
        Choose(M::cboMonth, c.month - 1);
        Choose(M::cboYear, c.year - 1900);
        platform.clipboardClears = 0;
        Click(C(M::cmdNext));
        Pump(app);
        ASSERT_TRUE(app.PersonalYear().IsVisible());
        EXPECT_FALSE(main().IsVisible());
        HWND display = app.PersonalYear().Control(frmPersonalYear::txtDisplay);
        EXPECT_EQ(WindowText(display), ResultText(static_cast<PersonalYear>(c.number))) << c.day;
        DWORD start = 1, end = 1;
        SendMessageW(display, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 0u);
        EXPECT_EQ(SendMessageW(display, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        EXPECT_EQ(platform.clipboardClears, 4);  // one per inserted block
        app.PersonalYear().cmdback_Click();
        Pump(app);
        ASSERT_TRUE(main().IsVisible());
    }
    EXPECT_TRUE(platform.ends.empty());
}

TEST_F(MainWindow, ClosingTheMainWindowShowsTheExitScreen) {
    SendMessageW(main().Hwnd(), WM_CLOSE, 0, 0);
    Pump(app);
    EXPECT_FALSE(main().IsLoaded());
    EXPECT_TRUE(app.NagScreen2().IsVisible());
    EXPECT_TRUE(platform.ends.empty());
}

TEST_F(MainWindow, FileExitShowsTheExitScreen) {
    SendMessageW(main().Hwnd(), WM_COMMAND, MAKEWPARAM(M::mnuExit, 0), 0);
    Pump(app);
    EXPECT_FALSE(main().IsLoaded());
    EXPECT_TRUE(app.NagScreen2().IsVisible());
    EXPECT_TRUE(platform.ends.empty());
}

}  // namespace
}  // namespace annuvia::test
