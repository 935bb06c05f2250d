// The whole program driven by the keyboard alone: real key input through
// SendInput, which reaches the program because this test runs in the same
// Wine desktop. After every key the focus is read from the program's thread.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "e2e/driver.h"
#include "core/web/gateway.h"

namespace e2e {
namespace {

INPUT KeyInput(WORD vk, bool up, wchar_t unicode = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    if (unicode) {
        input.ki.wScan = unicode;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    } else {
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        const bool extended = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
        input.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
    return input;
}

// A key, with Alt or Shift held when given.
bool Press(WORD vk, WORD held = 0) {
    std::vector<INPUT> inputs;
    if (held) inputs.push_back(KeyInput(held, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    if (held) inputs.push_back(KeyInput(held, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// Letters, digits and spaces as the keys that make them; anything else as the
// character itself, the way an input method sends it.
bool Type(std::wstring_view text) {
    for (wchar_t c : text) {
        bool sent = false;
        if (c >= L'a' && c <= L'z') {
            sent = Press(static_cast<WORD>(L'A' + (c - L'a')));
        } else if (c >= L'A' && c <= L'Z') {
            sent = Press(static_cast<WORD>(c), VK_SHIFT);
        } else if (c == L' ') {
            sent = Press(VK_SPACE);
        } else {
            INPUT inputs[] = {KeyInput(0, false, c), KeyInput(0, true, c)};
            sent = SendInput(2, inputs, sizeof(INPUT)) == 2;
        }
        if (!sent) return false;
    }
    return true;
}

GUITHREADINFO ThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

// Waits until the program's thread has the focus on the control, and is idle.
::testing::AssertionResult FocusComesTo(HWND control, const char* name) {
    HWND seen = nullptr;
    const bool came = WaitUntil([&] { return (seen = ThreadOf(control).hwndFocus) == control; }, 5000);
    if (!came) {
        wchar_t className[64] = {};
        GetClassNameW(seen, className, 64);
        return ::testing::AssertionFailure() << "the focus is on " << GetDlgCtrlID(seen) << " ("
                                             << Narrow(className) << "), not on " << name;
    }
    if (!WaitUntilIdle(control)) return ::testing::AssertionFailure() << "the program did not become idle";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult TextBecomes(HWND control, const std::wstring& expected) {
    if (WaitUntil([&] { return ReadText(control) == expected; }, 5000)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << Narrow(ReadText(control)) << "\", not \"" << Narrow(expected)
                                         << "\"";
}

::testing::AssertionResult MenuOpens(HWND window) {
    if (WaitUntil([&] { return (ThreadOf(window).flags & GUI_INMENUMODE) != 0; }, 5000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no menu opened";
}

int CurrentYear() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wYear;
}

TEST(KeyboardOnly, TheWholeProgramWithoutTheMouse) {
    BrowserRecorder browser;
    std::wstring error;
    ASSERT_TRUE(browser.Install(&error)) << Narrow(error);
    SetStoredReminder(L"annuvia", ShortDateFromToday(0));
    ProgramRun program;
    ASSERT_TRUE(program.Start()) << Narrow(program.Error());
    HWND main = WaitForTopWindow(kMainClass, kWindowTitle, program.Pid());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntilIdle(main));
    // Keys go to the foreground window's thread.
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000)) << "the program is not in front";
    const auto in = [](HWND window, int id) { return FindControl(window, id); };
    // Every link is reached with Tab and opened with Enter or Space.
    const std::string page = Narrow(ANNUVIA_GATEWAY_BASE) + "/annuvia/ssd.php?page=";
    std::vector<std::string> opened;
    const auto tabToLinkAndOpen = [&](HWND link, const char* name, WORD key, const char* pageKey) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Press(VK_TAB));
        ASSERT_TRUE(FocusComesTo(link, name));
        ASSERT_TRUE(Press(key));
        opened.push_back(page + pageKey);
        ASSERT_TRUE(browser.WaitForCount(opened.size())) << "nothing reached the browser";
        ASSERT_TRUE(FocusComesTo(link, name));
    };

    // The names, typed; each box takes capitals.
    ASSERT_TRUE(FocusComesTo(in(main, ids::txtFirstName), "the first name"));
    ASSERT_TRUE(Type(L"ann"));
    ASSERT_TRUE(TextBecomes(in(main, ids::txtFirstName), L"ANN"));
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(FocusComesTo(in(main, ids::txtMiddleName), "the middle name"));
    ASSERT_TRUE(Type(L"b"));
    ASSERT_TRUE(TextBecomes(in(main, ids::txtMiddleName), L"B"));
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(FocusComesTo(in(main, ids::txtLastName), "the last name"));
    ASSERT_TRUE(Type(L"lee"));
    ASSERT_TRUE(TextBecomes(in(main, ids::txtLastName), L"LEE"));

    // The date of birth, chosen in each list with the arrow keys: 29 March 1976.
    struct Pick { int id; const char* name; int downs; const wchar_t* shown; };
    for (const Pick& pick : {Pick{ids::cboMonth, "the month", 2, L"March"}, Pick{ids::cboDate, "the day", 28, L"29"},
                             Pick{ids::cboYear, "the year", 76, L"1976"}}) {
        ASSERT_TRUE(Press(VK_TAB));
        ASSERT_TRUE(FocusComesTo(in(main, pick.id), pick.name));
        for (int i = 0; i < pick.downs; ++i) ASSERT_TRUE(Press(VK_DOWN));
        ASSERT_TRUE(TextBecomes(in(main, pick.id), pick.shown)) << pick.name;
    }
    ASSERT_TRUE(Press(VK_TAB, VK_SHIFT));
    ASSERT_TRUE(FocusComesTo(in(main, ids::cboDate), "the day, back"));
    ASSERT_TRUE(Press(VK_UP));
    ASSERT_TRUE(Press(VK_DOWN));
    ASSERT_TRUE(TextBecomes(in(main, ids::cboDate), L"29"));

    // After Next come the links: the promotion, then the banner in front; then the first name again.
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(FocusComesTo(in(main, ids::cmdNext), "Next"));
    ASSERT_NO_FATAL_FAILURE(tabToLinkAndOpen(in(main, ids::Label61), "the promotion", VK_RETURN, "home-page"));
    HWND front = GetWindow(in(main, ids::fraFullBrand), GW_CHILD);
    const bool coBrand = GetDlgCtrlID(front) == ids::lblCobrand;
    ASSERT_NO_FATAL_FAILURE(
        tabToLinkAndOpen(front, "the banner in front", VK_SPACE, coBrand ? "co-brand" : "fully-branded"));
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_TRUE(FocusComesTo(in(main, ids::txtFirstName), "the first name, round again"));

    // Alt+N: the result, with Back holding the focus.
    ASSERT_TRUE(Press('N', VK_MENU));
    HWND result = WaitForTopWindow(kResultClass, kWindowTitle, program.Pid());
    ASSERT_NE(result, nullptr) << "Alt+N showed no result";
    ASSERT_TRUE(FocusComesTo(in(result, ids::Result::cmdback), "Back"));
    const std::wstring text = ReadText(in(result, ids::Result::txtDisplay));
    EXPECT_EQ(Narrow(text.substr(0, text.find(L"\r\n"))),
              "Your Personal Year Number is: " + std::to_string(1 + (29 + 3 + CurrentYear() - 1) % 9));
    const struct { WORD held; int id; const char* name; } round[] = {
        {0, ids::Result::txtDisplay, "the result text"}, {0, ids::Result::Label61, "the promotion"},
        {0, ids::Result::lblFullBrand, "the banner"}, {0, ids::Result::cmdback, "Back"},
        {VK_SHIFT, ids::Result::lblFullBrand, "the banner"}, {VK_SHIFT, ids::Result::Label61, "the promotion"},
        {VK_SHIFT, ids::Result::txtDisplay, "the result text"}, {VK_SHIFT, ids::Result::cmdback, "Back"}};
    for (const auto& step : round) {
        ASSERT_TRUE(Press(VK_TAB, step.held));
        ASSERT_TRUE(FocusComesTo(in(result, step.id), step.name));
    }
    EXPECT_TRUE(TextBecomes(in(result, ids::Result::txtDisplay), text)) << "Tab changed the result";
    ASSERT_TRUE(Press(VK_TAB));
    ASSERT_NO_FATAL_FAILURE(tabToLinkAndOpen(in(result, ids::Result::Label61), "the promotion", VK_SPACE, "home-page"));
    ASSERT_NO_FATAL_FAILURE(
        tabToLinkAndOpen(in(result, ids::Result::lblFullBrand), "the banner", VK_RETURN, "fully-branded"));

    // Alt+B: back to the entries as they were, the focus on Next, where it was.
    ASSERT_TRUE(Press('B', VK_MENU));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(result) && IsWindowVisible(main); }));
    ASSERT_TRUE(FocusComesTo(in(main, ids::cmdNext), "Next"));
    EXPECT_EQ(Narrow(ReadText(in(main, ids::txtFirstName)) + ReadText(in(main, ids::txtMiddleName)) +
                     ReadText(in(main, ids::txtLastName))),
              "ANNBLEE");
    EXPECT_EQ(Narrow(ReadText(in(main, ids::cboDate)) + L" " + ReadText(in(main, ids::cboMonth)) + L" " +
                     ReadText(in(main, ids::cboYear))),
              "29 March 1976");

    // Help, About Software: Alt+H, then A; OK takes Enter the first time and Esc the second.
    for (WORD close : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(close == VK_RETURN ? "Enter" : "Esc");
        ASSERT_TRUE(Press('H', VK_MENU));
        ASSERT_TRUE(MenuOpens(main));
        ASSERT_TRUE(Press('A'));
        HWND about = WaitForTopWindow(kAboutClass, kWindowTitle, program.Pid());
        ASSERT_NE(about, nullptr) << "no About window";
        ASSERT_TRUE(FocusComesTo(in(about, ids::About::cmdOK), "OK"));
        EXPECT_FALSE(IsWindowEnabled(main));
        if (close == VK_RETURN) {  // its links, then OK again
            ASSERT_NO_FATAL_FAILURE(
                tabToLinkAndOpen(in(about, ids::About::lblHomePage), "the site", VK_RETURN, "home-page"));
            ASSERT_NO_FATAL_FAILURE(
                tabToLinkAndOpen(in(about, ids::About::lblCobrand), "the details", VK_SPACE, "fully-branded"));
            ASSERT_TRUE(Press(VK_TAB));
            ASSERT_TRUE(FocusComesTo(in(about, ids::About::cmdOK), "OK, round again"));
        }
        ASSERT_TRUE(Press(close));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); })) << "the About window stayed";
        ASSERT_TRUE(FocusComesTo(in(main, ids::cmdNext), "Next"));
        EXPECT_TRUE(IsWindowEnabled(main));
    }

    // File, Exit: Alt+F, then X; the exit screen with Exit holding the focus.
    ASSERT_TRUE(Press('F', VK_MENU));
    ASSERT_TRUE(MenuOpens(main));
    ASSERT_TRUE(Press('X'));
    HWND screen = WaitForTopWindow(kExitClass, kWindowTitle, program.Pid());
    ASSERT_NE(screen, nullptr) << "no exit screen";
    ASSERT_TRUE(FocusComesTo(in(screen, ids::Exit::cmdClose), "Exit"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(main); })) << "the main window stayed";

    // Tab through the refer-a-friend form in its order, typing as it goes;
    // a space in an address brings up its box, which Enter dismisses.
    constexpr int txtMessage = 416;
    struct Field { int id; const char* name; const wchar_t* typed; const wchar_t* after; };
    const Field fields[] = {
        {ids::Exit::Check1, "the visit box", nullptr, nullptr},
        {ids::Exit::lblGoToHome, "the software catalogue", nullptr, nullptr},
        {ids::Exit::txtName, "your name", L"Ann Lee", L"Ann Lee"},
        {ids::Exit::cmdSubmit, "Refer A Friend Now", nullptr, nullptr},
        {ids::Exit::txtEmail, "your address", L"ann@x.com", L"ann@x.com"},
        {ids::Exit::txtFriendEmail, "the friend's address", L"bo@y.org", L"bo@y.org"},
        {ids::Exit::txtFriendName, "the friend's name", L"Bo", L"Bo"},
        {txtMessage, "the hidden message", nullptr, L"Your Message\r\n"},
        {ids::Exit::cmdClose, "Exit", nullptr, nullptr},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        HWND control = in(screen, f.id);
        if (f.id == ids::Exit::lblGoToHome) {
            ASSERT_NO_FATAL_FAILURE(tabToLinkAndOpen(control, f.name, VK_RETURN, "corvanesoftwares"));
            continue;
        }
        ASSERT_TRUE(Press(VK_TAB));
        ASSERT_TRUE(FocusComesTo(control, f.name));
        if (f.typed) {
            ASSERT_TRUE(Type(f.typed));
            ASSERT_TRUE(TextBecomes(control, f.after));
        } else if (f.after) {
            EXPECT_TRUE(TextBecomes(control, f.after));
        }
        if (f.id != ids::Exit::txtEmail) continue;
        ASSERT_TRUE(Press(VK_SPACE));
        HWND box = WaitForMessageBox(program.Pid(), 5000);
        ASSERT_NE(box, nullptr) << "a space in the address brought up no box";
        EXPECT_EQ(Narrow(MessageBoxText(box)), "Email Address Cannot Contain Space");
        ASSERT_TRUE(FocusComesTo(GetDlgItem(box, IDOK), "the box's OK"));
        ASSERT_TRUE(Press(VK_RETURN));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "Enter left the box up";
        ASSERT_TRUE(FocusComesTo(control, "your address, again"));
        ASSERT_TRUE(TextBecomes(control, f.after)) << "the space went in";
    }

    // Alt+N sends the referral to the browser; Alt+X ends the program.
    ASSERT_TRUE(Press('N', VK_MENU));
    const std::string base = Narrow(ANNUVIA_GATEWAY_BASE);
    opened.push_back(page + "kzvx-refer-a-friend&taf1=Ann%20Lee&taf2=ann%40x.com&taf3=Your%20Message%0D%0A&taf4=Bo"
                            "&taf5=bo%40y.org&taf6=" + base + "/annuvia/");
    ASSERT_TRUE(browser.WaitForCount(opened.size())) << "nothing reached the browser";
    EXPECT_EQ(browser.Addresses(), opened);
    ASSERT_TRUE(FocusComesTo(in(screen, ids::Exit::cmdSubmit), "Refer A Friend Now"));
    EXPECT_EQ(FindMessageBox(program.Pid()), nullptr);
    ASSERT_TRUE(Press('X', VK_MENU));
    ASSERT_TRUE(program.WaitForExit(10000)) << Narrow(program.Error());
    EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
